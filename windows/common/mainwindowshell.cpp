#include "mainwindowshell.h"

#include "language.h"

#include <QAction>
#include <QActionGroup>
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

    QMenu *view = m_viewMenu = addMenu(p + QLatin1String("_VIEW"), QStringLiteral("表示(&V)"));
    const MainWindow target = names.switchTarget;
    QAction *switchItem = addMenuItem(view, QLatin1String(names.switchItem), names.switchCaption, [this, target] {
        m_services.switchWindow(target, this);
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

QLabel *MainWindowShell::addOidLabel()
{
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("OidLabel"));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(label, 1);
    return label;
}

} // namespace korvel
