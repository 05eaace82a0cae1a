// The Tree window: the second main window, the whole design as a tree with
// an editing panel beside it.
//
// The pieces and how data flows between them:
//   treeplan   MibTree table --planTree--> which item goes where (model/)
//   treeitems  the items of TreeView1: keys, texts, ball images, slots and
//              positions in the order they were added (ShownItemIndex)
//   treepanel  the panel's fields and their handlers; input() for 設定
//   treeedits  the editing rules on the tables: placeholder, cascade, the
//              checks and the rewrite of 設定 (model/)
//   Tree       buildTree and showItem (tree.cpp), the commands 追加, 削除
//              and 設定 (treecommands.cpp), menus and file commands.
//
// The window keeps no copy of the design: buildTree makes the items from the
// tables when the window opens and after a load; the editing commands change
// the tables and then the few items concerned. EditTarget and ShownItemIndex
// live in AppState and outlast the window. Messages and dialogs go through
// the Services; the file commands are the FileCommands the List window uses.
// The status bar shows the full OID of the selected item's object. Each
// editing command is one step of the undo history.
#pragma once

#include "mainwindowshell.h"

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvel {

class TreeItems;
class TreePanel;

class TreeWindow : public MainWindowShell
{
    Q_OBJECT

public:
    explicit TreeWindow(AppState &state, Services &services, QWidget *parent = nullptr);
    ~TreeWindow() override;

    // Rebuilds every item from MibTree, collapsed and none selected, and
    // resets the syntax list, the item list and the kind option of the
    // panel. ShownItemIndex and EditTarget keep their values.
    void buildTree();

    // Shows `item` in the path box and its object in the panel; sets
    // ShownItemIndex, and EditTarget for any item but the root.
    void showItem(QTreeWidgetItem *item);

public slots:
    // Selects the item of object `slot`, its ancestors expanded, and shows
    // it as a click would; brings the window to the front. False when the
    // tree has no item for it (an object the tree cannot reach).
    bool selectObject(int slot);

protected:
    // After an undo or redo the tree is built anew, the object chosen
    // before chosen again when it is still there.
    void showRestoredDesign() override;
    std::optional<int> chosenObject() const override;
    void goToObject(int slot) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void setFileTitle();

    // The tree's selected item, or null.
    QTreeWidgetItem *selectedItem() const;
    // Selects `item` from the program, its ancestors expanded, without
    // running the selection's handler.
    void selectQuietly(QTreeWidgetItem *item);
    // Removes the items of `objects` (slots), in that order, each with
    // the items still below it.
    void removeItems(const QList<int> &objects);

    // One handler per control event.
    void itemPressed(QTreeWidgetItem *item); // TreeView1, a click
    void selectionChanged();                 // TreeView1, the keyboard
    void addNewObject();                     // Command12 追加
    void deleteObjectTree();                 // Command11 削除
    void applyPanel();                       // Command4 設定
    void showOid();                          // the status bar

    // 設定's rewrite of object `slot` and of its item; false when refused.
    bool changeFromPanel(int slot);

    QLabel *m_oidCaption = nullptr;
    QLineEdit *m_pathBox = nullptr;
    QTreeWidget *m_treeView = nullptr;
    std::unique_ptr<TreeItems> m_items;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_createMibButton = nullptr;
    TreePanel *m_panel = nullptr;
    QLabel *m_oidLabel = nullptr;

    // Above 0 while the program changes the tree's items or selection: the
    // selection's handler then does nothing.
    int m_quiet = 0;
    // A mouse button is down on the tree: the press shows its item.
    bool m_pressing = false;
};

} // namespace korvel
