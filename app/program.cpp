#include "program.h"
#include "messagetexts.h"

#include "objecteditor.h"
#include "checkwindow.h"
#include "filechoice.h"
#include "filedialog.h"
#include "finddialog.h"
#include "listwindow.h"
#include "moduleinfodialog.h"
#include "treewindow.h"
#include "aboutbox.h"
#include "language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QWidget>

namespace korvel {

QString defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/korvel.lock");
}

void registerProgramWindows(UiServices &services, AppState &state)
{
    services.setWindow(MainWindow::List, [&state, &services]() -> QWidget * {
        return new ListWindow(state, services);
    });
    services.setWindow(MainWindow::Tree, [&state, &services]() -> QWidget * {
        return new TreeWindow(state, services);
    });
    services.setToolWindow(ToolWindow::Check, [&state, &services]() -> QWidget * {
        return new CheckWindow(state, services);
    });
    services.setDialog(ModalDialog::FileOpe, [&state, &services](QWidget *owner) {
        return std::make_unique<FileDialog>(state, services, owner);
    });
    services.setDialog(ModalDialog::ModuleInfo, [&state, &services](QWidget *owner) {
        return std::make_unique<ModuleInfoDialog>(state, services, owner);
    });
    services.setDialog(ModalDialog::Find, [&state](QWidget *owner) { return makeFindDialog(state, owner); });
    services.setDialog(ModalDialog::Version, [&services](QWidget *owner) {
        return std::make_unique<AboutBox>(services, owner);
    });
    // Null when the editor refused to open.
    services.setDialog(ModalDialog::Design, [&state, &services](QWidget *owner) -> std::unique_ptr<QDialog> {
        return ObjectEditor::open(state, services, state.EditorLevel, owner);
    });
}

Program::Program(AppState &state, UiServices &services)
    : m_state(state)
    , m_services(services)
{
}

Program::~Program() = default;

bool Program::start(const QString &lockPath)
{
    useLanguage(startLanguage(QCoreApplication::arguments()));

    m_lock = std::make_unique<QLockFile>(lockPath);
    // Only a lock whose process is gone is stale; a long-running instance's
    // lock never goes stale by age.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        m_services.showInformation(texts::alreadyRunning());
        m_lock.reset();
        return false;
    }

    m_state.CurrentFile = QStringLiteral("File");
    m_state.ObjectLimit = 1000;
    m_state.ListLevel = -1;
    m_state.EditTarget = 0;

    m_firstWindow = m_services.openWindow(MainWindow::List);
    if (!m_firstWindow) {
        // Without a window the program would wait for nothing.
        m_lock.reset();
        return false;
    }
    return true;
}

QWidget *Program::firstWindow() const
{
    return m_firstWindow;
}

} // namespace korvel
