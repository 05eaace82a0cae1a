#include "filecommands.h"
#include "messagetexts.h"

#include "designfile.h"
#include "mibbridge.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace korvel {

namespace {

// Runs one command; any failure raised on the way ends it with `failure`
// (nothing when empty), shown as an error.
template <typename Steps>
void runCommand(Services &services, const QString &failure, Steps steps)
{
    try {
        steps();
    } catch (const std::exception &) {
        if (!failure.isEmpty())
            services.show(failure, MessageKind::Error);
    }
}

// The last characters are exactly `extension`: case counts, and a name no
// longer than the extension itself never matches.
bool hasExtension(const QString &file, const QString &extension)
{
    return file.size() >= extension.size() && file.endsWith(extension, Qt::CaseSensitive);
}

bool refuseExtension(Services &services, const QString &file, const QString &extension, const QString &message)
{
    if (hasExtension(file, extension))
        return false;
    services.show(message, MessageKind::Warning);
    return true;
}

const QString &designExtensionMessage()
{
    static const QString text = texts::mdfExtensionInvalid();
    return text;
}

const QString &mibExtensionMessage()
{
    static const QString text = texts::mibExtensionInvalid();
    return text;
}

const QString &notFoundMessage()
{
    static const QString text = texts::fileNotFound();
    return text;
}

bool declinesOverwrite(Services &services, const QString &path)
{
    return QFileInfo::exists(path)
           && !services.ask(texts::confirmOverwrite(), texts::saveCaption());
}

} // namespace

FileCommands::FileCommands(AppState &state, Services &services, QObject *window)
    : m_state(state)
    , m_services(services)
    , m_window(window)
{
}

QString FileCommands::listLoadFailureLine()
{
    return texts::mibReadFailed();
}

QString FileCommands::treeLoadFailureLine()
{
    return texts::mibOpenFailed();
}

QString FileCommands::chooseFile(int16_t mode)
{
    m_state.FileDialogMode = mode;
    const DialogOutcome outcome = m_services.openDialog(ModalDialog::FileOpe, m_window);
    if (outcome == DialogOutcome::Missing || outcome == DialogOutcome::Refused || m_state.SelectedFile.isEmpty())
        return QString();
    return m_state.SelectedFolder + QDir::separator() + m_state.SelectedFile;
}

void FileCommands::openDesignFile()
{
    const QString failure = texts::designReadFailed();
    runCommand(m_services, failure, [&] {
        const QString path = chooseFile(FileDialogPurpose::OpenDesignFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mdf"), designExtensionMessage()))
            return;
        if (!QFileInfo::exists(path)) {
            m_services.show(notFoundMessage(), MessageKind::Warning);
            return;
        }
        // The reader leaves the tables untouched when it fails.
        if (!readDesignFile(m_state, path)) {
            if (clearChoiceWhenOpenFails) {
                m_state.SelectedDrive.clear();
                m_state.SelectedFolder.clear();
                m_state.SelectedFile.clear();
            }
            m_services.show(failure, MessageKind::Error);
            return;
        }
        m_state.ListLevel = RootSlot;
        if (refresh)
            refresh();
        m_services.show(texts::designRead(), MessageKind::Notice,
                        texts::openCaption());
        m_state.CurrentDrive = m_state.SelectedDrive;
        m_state.CurrentFolder = m_state.SelectedFolder;
        m_state.CurrentFile = m_state.SelectedFile;
        if (updateTitle)
            updateTitle();
    });
}

void FileCommands::saveDesignFile()
{
    const QString failure = texts::designSaveFailed();
    runCommand(m_services, failure, [&] {
        const QString path = chooseFile(FileDialogPurpose::SaveDesignFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mdf"), designExtensionMessage())
            || declinesOverwrite(m_services, path))
            return;
        // The writer replaces the file only once the new one is complete.
        if (!writeDesignFile(m_state, path)) {
            m_services.show(failure, MessageKind::Error);
            return;
        }
        m_services.show(texts::designSaved(), MessageKind::Notice, texts::saveCaption());
        m_state.CurrentDrive = m_state.SelectedDrive;
        m_state.CurrentFolder = m_state.SelectedFolder;
        m_state.CurrentFile = m_state.SelectedFile;
        if (updateTitle)
            updateTitle();
    });
}

void FileCommands::createMibFile()
{
    const QString failure = texts::mibCreateFailed();
    runCommand(m_services, failure, [&] {
        const QString path = chooseFile(FileDialogPurpose::CreateMibFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mib"), mibExtensionMessage())
            || declinesOverwrite(m_services, path))
            return;
        switch (korvel::createMibFile(m_services.mibLibrary(), m_state, path)) {
        case BridgeResult::Success:
            m_services.show(texts::mibCreated(), MessageKind::Notice);
            break;
        case BridgeResult::Failure:
            m_services.show(failure, MessageKind::Error);
            break;
        case BridgeResult::Unavailable:
            break;
        }
    });
}

void FileCommands::loadMibFile()
{
    // The load reports its own outcome; an error on the way shows nothing.
    runCommand(m_services, QString(), [&] {
        const QString path = chooseFile(FileDialogPurpose::LoadMibFile);
        if (path.isEmpty() || refuseExtension(m_services, m_state.SelectedFile, QStringLiteral(".mib"), mibExtensionMessage()))
            return;
        if (!QFileInfo::exists(path)) {
            m_services.show(notFoundMessage(), MessageKind::Warning);
            return;
        }
        switch (korvel::loadMibFile(m_services.mibLibrary(), m_state, path)) {
        case BridgeResult::Success:
            if (refresh)
                refresh();
            m_services.show(texts::designRead(), MessageKind::Notice,
                            texts::openCaption());
            break;
        case BridgeResult::Failure:
            m_services.show(loadFailureLine + QLatin1Char('\r') + texts::seeErrorLog(),
                            MessageKind::Warning);
            break;
        case BridgeResult::Unavailable:
            break;
        }
    });
}

} // namespace korvel
