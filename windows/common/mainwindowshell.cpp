#include "mainwindowshell.h"

#include "designhistory.h"
#include "designsearch.h"
#include "language.h"
#include "messagetexts.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace korvel {

MainWindowShell::MainWindowShell(AppState &state, Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_files(state, services, this)
{
    // The title holds "[*]" where the change mark goes.
    QUndoStack &stack = designHistory(m_state).stack();
    setWindowModified(!stack.isClean());
    connect(&stack, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    connect(&designHistory(m_state), &DesignHistory::restored, this, [this] { showRestoredDesign(); });
}

void MainWindowShell::closeEvent(QCloseEvent *event)
{
    if (!m_switching && !m_files.mayDiscardDesign()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

QMenu *MainWindowShell::addMenu(const QString &name, const QString &caption)
{
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction *MainWindowShell::addMenuItem(QMenu *menu, const QString &name, const QString &caption,
                                      std::function<void()> handler)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return action;
}

QAction *MainWindowShell::buildMenus(const MenuNames &names)
{
    const QString &p = names.prefix;
    const auto separator = [](QMenu *menu, const QString &name) { menu->addSeparator()->setObjectName(name); };

    QMenu *file = m_fileMenu = addMenu(p + QLatin1String("_FILE"), QStringLiteral("ﾌｧｲﾙ(&F)"));
    addMenuItem(file, p + QLatin1String("_OPEN"), QStringLiteral("ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&O)"), [this] {
        m_files.openDesignFile();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addMenuItem(file, p + QLatin1String("_SAVE"), QStringLiteral("保存(&S)"), [this] {
        m_files.saveDesignFile();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addMenuItem(file, p + QLatin1String("_MODULE_INFO"), QStringLiteral("ﾓｼﾞｭｰﾙ情報(&I)"), [this] {
        m_files.editModuleInfo();
    });
    separator(file, p + QLatin1String("_SEPARATE"));
    addMenuItem(file, QLatin1String(names.loadItem), names.loadCaption, [this] {
        m_files.loadMibFile();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addMenuItem(file, p + QLatin1String("_IMPORT"), QStringLiteral("MIBﾓｼﾞｭｰﾙのｲﾝﾎﾟｰﾄ(&P)"), [this] {
        m_files.importMibModule();
    });
    addMenuItem(file, p + QLatin1String("_SMIV2"), QStringLiteral("SMIv2 MIBﾌｧｲﾙ作成(&M)"), [this] {
        m_files.createSmiv2File();
    });
    separator(file, p + QLatin1String("_SEPARATE2"));
    addMenuItem(file, p + QLatin1String("_END"), QStringLiteral("終了(&X)"), [this] { close(); });

    buildEditMenu(p);

    QMenu *view = m_viewMenu = addMenu(p + QLatin1String("_VIEW"), QStringLiteral("表示(&V)"));
    const MainWindow target = names.switchTarget;
    QAction *switchItem = addMenuItem(view, QLatin1String(names.switchItem), names.switchCaption, [this, target] {
        m_switching = true;
        m_services.switchWindow(target, this);
        m_switching = false;
    });
    addMenuItem(view, p + QLatin1String("_CHECK"), QStringLiteral("ﾃﾞｻﾞｲﾝﾁｪｯｸ(&C)"), [this] {
        m_services.showToolWindow(ToolWindow::Check);
    });
    // The language of every window, remembered for the next runs.
    QMenu *languages = view->addMenu(QStringLiteral("言語(&G)"));
    languages->setObjectName(p + QLatin1String("_LANG"));
    auto *choice = new QActionGroup(languages);
    const auto languageItem = [&](const char *name, const QString &caption, Language language) {
        QAction *item = addMenuItem(languages, p + QLatin1String(name), caption, [language] { chooseLanguage(language); });
        item->setCheckable(true);
        item->setActionGroup(choice);
        item->setChecked(currentLanguage() == language);
        return item;
    };
    m_japaneseItem = languageItem("_LANG_JA", QStringLiteral("日本語"), Language::Japanese);
    m_englishItem = languageItem("_LANG_EN", QStringLiteral("English"), Language::English);

    QMenu *help = m_helpMenu = addMenu(p + QLatin1String("_HELP"), QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    addMenuItem(help, p + QLatin1String("_HELP_HELP"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), [this] { m_services.showHelp(); });
    addMenuItem(help, p + QLatin1String("_VERSION"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), [this] {
        m_services.openDialog(ModalDialog::Version, this);
    });
    return switchItem;
}

void MainWindowShell::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // The texts themselves follow through translateWindow.
    if (event->type() == QEvent::LanguageChange && m_japaneseItem) {
        m_japaneseItem->setChecked(currentLanguage() == Language::Japanese);
        m_englishItem->setChecked(currentLanguage() == Language::English);
    }
}

void MainWindowShell::buildEditMenu(const QString &p)
{
    QUndoStack &stack = designHistory(m_state).stack();
    QMenu *edit = m_editMenu = addMenu(p + QLatin1String("_EDIT"), QStringLiteral("編集(&E)"));
    QAction *undo = addMenuItem(edit, p + QLatin1String("_UNDO"), QStringLiteral("元に戻す(&U)"), [this] {
        runCommand(QString(), [this] { designHistory(m_state).undo(); });
    });
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo->setEnabled(stack.canUndo());
    connect(&stack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    QAction *redo = addMenuItem(edit, p + QLatin1String("_REDO"), QStringLiteral("やり直し(&R)"), [this] {
        runCommand(QString(), [this] { designHistory(m_state).redo(); });
    });
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    edit->addSeparator()->setObjectName(p + QLatin1String("_SEPARATE3"));
    addMenuItem(edit, p + QLatin1String("_FIND"), QStringLiteral("検索(&F)..."), [this] {
        find(false);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    addMenuItem(edit, p + QLatin1String("_FINDNEXT"), QStringLiteral("次を検索(&N)"), [this] {
        find(true);
    })->setShortcut(QKeySequence(Qt::Key_F3));
}

void MainWindowShell::find(bool again)
{
    runCommand(QString(), [&] {
        if ((!again || m_state.FindText.trimmed().isEmpty())
            && m_services.openDialog(ModalDialog::Find, this) != DialogOutcome::Accepted)
            return;
        const std::optional<int> chosen = chosenObject();
        const int slot = findObject(m_state, m_state.FindText, again && chosen ? *chosen : -1);
        if (slot < 0) {
            m_services.show(texts::notFound(), MessageKind::Warning);
            return;
        }
        goToObject(slot);
    });
}

QLabel *MainWindowShell::addOidLabel()
{
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("OidLabel"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(label, 1);
    return label;
}

} // namespace korvel
