// What the List and Tree windows share as main windows: the tables and the
// services they work on, the file commands, the menus ﾌｧｲﾙ, 編集, 表示 and
// ﾍﾙﾌﾟ, undo and redo, 検索, the switch to the other window, the design
// check, the language, the about box, the change mark in the title, the
// question before unsaved changes are closed away, and the running of a
// command whose failure is reported as an
// error.
#pragma once

#include "appstate.h"
#include "filecommands.h"
#include "services.h"

#include <QLabel>
#include <QMainWindow>

#include <exception>
#include <functional>
#include <optional>

class QAction;
class QMenu;

namespace korvel {

class MainWindowShell : public QMainWindow
{
public:
    // The object names and captions in which the two windows' menus differ.
    // The menus are PREFIX_FILE, PREFIX_EDIT, PREFIX_VIEW and PREFIX_HELP;
    // the items PREFIX_OPEN, PREFIX_SAVE, `loadItem`, PREFIX_IMPORT,
    // PREFIX_END, PREFIX_UNDO, PREFIX_REDO, PREFIX_FIND, PREFIX_FINDNEXT,
    // `switchItem`, PREFIX_CHECK, PREFIX_HELP_HELP and PREFIX_VERSION; 表示
    // holds the language menu PREFIX_LANG with PREFIX_LANG_JA and PREFIX_LANG_EN.
    struct MenuNames {
        QString prefix;
        const char *loadItem;
        QString loadCaption;
        const char *switchItem;
        QString switchCaption;
        MainWindow switchTarget;
    };

protected:
    MainWindowShell(AppState &state, Services &services, QWidget *parent);

    // Builds the four menus; returns the switch item. A window adds an
    // item of its own afterwards with addMenuItem(fileMenu(), ...).
    QAction *buildMenus(const MenuNames &names);
    QMenu *fileMenu() const { return m_fileMenu; }
    QMenu *editMenu() const { return m_editMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *helpMenu() const { return m_helpMenu; }

    QMenu *addMenu(const QString &name, const QString &caption);
    QAction *addMenuItem(QMenu *menu, const QString &name, const QString &caption, std::function<void()> handler);

    void changeEvent(QEvent *event) override;

    // The status bar's label for the full OID of the chosen object (OidLabel).
    QLabel *addOidLabel();

    // Runs one command; any failure raised on the way ends it with
    // `failure` (nothing when empty), shown as an error. What the steps
    // wrote before stays written.
    template <typename Steps>
    void runCommand(const QString &failure, Steps steps)
    {
        try {
            steps();
        } catch (const std::exception &) {
            if (!failure.isEmpty())
                m_services.show(failure, MessageKind::Error);
        }
    }

    // What differs between the windows in undo and 検索: showing the design
    // an undo or redo has put into the tables, the object the window has
    // chosen (for 次を検索 to go on from), and going to an object found.
    virtual void showRestoredDesign() = 0;
    virtual std::optional<int> chosenObject() const = 0;
    virtual void goToObject(int slot) = 0;

    // The close box and 終了 ask before unsaved changes are lost; the switch
    // to the other window does not.
    void closeEvent(QCloseEvent *event) override;

    AppState &m_state;
    Services &m_services;
    // 開く, 保存, MIBﾌｧｲﾙのﾛｰﾄﾞ and MIBﾌｧｲﾙ 作成.
    FileCommands m_files;

private:
    void buildEditMenu(const QString &prefix);
    // 検索 asks for the text; 次を検索 looks again for the last one, after
    // the chosen object.
    void find(bool again);

    // Set while this window closes for the other one.
    bool m_switching = false;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QAction *m_japaneseItem = nullptr;
    QAction *m_englishItem = nullptr;
};

} // namespace korvel
