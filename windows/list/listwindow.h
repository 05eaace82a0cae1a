// The List window: the program's main window.
//
// It shows one level of the object tree (the children of ListLevel) in the
// grid MSFlexGrid1, whose hidden third column holds each row's slot; every
// command on "the selected object" reads that cell of the current row. The
// window keeps no data of its own: refresh() rebuilds title, grid and Text1
// from the tables after every command. Dialogs (file dialog, object editor,
// about box) and the switch to the Tree window go through the Services;
// the file commands are the FileCommands both main windows share. The status
// bar shows the full OID of the current row's object. Every change the
// window makes to the design is one step of the undo history.
#pragma once

#include "mainwindowshell.h"

#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace korvel {

class ListWindow : public MainWindowShell
{
    Q_OBJECT

public:
    explicit ListWindow(AppState &state, Services &services, QWidget *parent = nullptr);

    // Rebuilds the title, the grid and Text1 from the tables.
    void refresh();

protected:
    void showRestoredDesign() override;
    std::optional<int> chosenObject() const override;
    void goToObject(int slot) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildMenus();

    // The slot in the hidden column of the current row, or none when the
    // current row is the blank first row. `keyColumn` is the cell the
    // command tests for blankness (the name for 削除, the ID otherwise).
    std::optional<int> selectedSlot(int keyColumn) const;
    // selectedSlot for a command: none is answered with the request to
    // choose an object first.
    std::optional<int> chosenSlot(int keyColumn);
    void updateTitle();
    // The name and ID columns fill the grid's visible width.
    void fitColumns();
    // The highlight always shows the current row, the one the commands act on.
    void keepCurrentRowSelected();
    // The status bar shows the OID of the current row's object.
    void currentRowChanged();

    // The object editor for EditTarget; true when it ran (the caller then
    // refreshes). An editor that refused to open, or none at all, fails the
    // command with `failure`.
    bool openEditor(const QString &failure);

    // One handler per control event.
    void goUp();             // Command1 上へ
    void addObject();        // Command12 追加
    void changeObject();     // Command7 変更
    void deleteObject();     // Command11 削除
    void gridDoubleClicked(); // MSFlexGrid1

    QLabel *m_levelLabel = nullptr;
    QLineEdit *m_levelBox = nullptr;
    QPushButton *m_upButton = nullptr;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_changeButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_trapButton = nullptr;
    QPushButton *m_createMibButton = nullptr;
    QLabel *m_oidLabel = nullptr;
};

} // namespace korvel
