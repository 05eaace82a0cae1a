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
//   Tree       BuildTree and ShowItem (tree.cpp), the commands 追加, 削除
//              and 設定 (treecommands.cpp), menus and file commands.
//
// The window keeps no copy of the design: BuildTree makes the items from the
// tables when the window opens and after a load; the editing commands change
// the tables and then the few items concerned. EditTarget and ShownItemIndex
// live in AppState and outlast the window. Messages and dialogs go through
// the Services; the file commands are the FileCommands the List window uses.
// The status bar shows the full OID of the selected item's object.
#pragma once

#include "appstate.h"
#include "filecommands.h"
#include "services.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvel {

class TreeItems;
class TreePanel;

class Tree : public QMainWindow
{
    Q_OBJECT

public:
    explicit Tree(AppState &state, Services &services, QWidget *parent = nullptr);
    ~Tree() override;

    // Rebuilds every item from MibTree, collapsed and none selected, and
    // resets the syntax list, the item list and the kind option of the
    // panel. ShownItemIndex and EditTarget keep their values.
    void BuildTree();

    // Shows `item` in the path box and its object in the panel; sets
    // ShownItemIndex, and EditTarget for any item but the root.
    void ShowItem(QTreeWidgetItem *item);

protected:
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
    void AddNewObject();                     // Command12 追加
    void DeleteObjectTree();                 // Command11 削除
    void ApplyPanel();                       // Command4 設定
    void showOid();                          // the status bar
    void showList();                         // TREE_LIST
    void showVersion();                      // TREE_VERSION

    // 設定's rewrite of object `slot` and of its item; false when refused.
    bool ChangeFromPanel(int slot);

    AppState &m_state;
    Services &m_services;
    // 開く, 保存, MIBﾌｧｲﾙをﾛｰﾄﾞ and MIBﾌｧｲﾙ 作成, shared with the List window.
    FileCommands m_files;

    QLabel *m_label2 = nullptr;
    QLineEdit *m_text1 = nullptr;
    QTreeWidget *m_treeView = nullptr;
    std::unique_ptr<TreeItems> m_items;
    QPushButton *m_command12 = nullptr;
    QPushButton *m_command11 = nullptr;
    QPushButton *m_command1 = nullptr;
    TreePanel *m_panel = nullptr;
    QLabel *m_oid = nullptr;

    // Above 0 while the program changes the tree's items or selection: the
    // selection's handler then does nothing.
    int m_quiet = 0;
    // A mouse button is down on the tree: the press shows its item.
    bool m_pressing = false;
};

} // namespace korvel
