// The Tree window's editing panel: the fields of the object editor in one
// frame beside the tree, with the handlers that keep them consistent.
//
// The panel shows one object (loadObject), hands its fields to the window as
// an EditorInput (input) for 設定, and edits its enumeration items in an
// EnumItemList over AppState::EnumValues. The kind options, the range,
// enumeration and key boxes, the syntax list and the item list run their
// handlers whenever they change, also when the program changes them, so the
// enabled states always follow the table of controlstates.h.
#pragma once

#include "appstate.h"
#include "editorinput.h"
#include "enumitemlist.h"
#include "fieldform.h"
#include "services.h"

#include <QFrame>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvel {

class TreePanel : public QFrame
{
    Q_OBJECT

public:
    TreePanel(AppState &state, Services &services, QWidget *parent = nullptr);

    // What buildTree resets: the syntax list on "INTEGER", the item list
    // with its one empty entry, the kind option "ツリー".
    void resetForBuild();

    // What showItem resets before it shows an object: every box empty (the
    // object ID "0"), nothing ticked, the item list without entries, the
    // access list on "read-only", the kind option "ツリー". The syntax list
    // keeps its position.
    void reset();

    // Shows object `slot` on the reset panel. Rewrites the DescriptionLength
    // of its attribute to the length of its Description without the blanks
    // that pad it. Stops where
    // a record the object needs (its attribute, its range) is missing,
    // leaving the kind option "ツリー" when the attribute is missing.
    void loadObject(int slot);

    // The panel's fields as the rules take them.
    EditorInput input() const;

    KindOption kindOption() const;
    void chooseKind(KindOption option);

    // "ﾘｽﾄへ追加": the panel's own checks (the value at most ObjectLimit;
    // names and values may repeat), then the item joins the list.
    void addPanelListItem();
    // "ﾘｽﾄから削除".
    void removeListItem();

    // The button 設定 (Command4) at the bottom of the panel; the window
    // connects it to applyPanel.
    QPushButton *applyButton() const { return m_applyButton; }

private:
    void buildControls();

    // One handler per control event.
    void kindChosen();                  // Option1
    void rangeBoxToggled(bool ticked);  // Check4
    void listBoxToggled(bool ticked);   // Check3
    void keyBoxToggled(bool ticked);    // Check1
    void syntaxChosen(int index);       // Combo7
    void itemChosen(int index);         // Combo6, an entry chosen
    void itemEdited(const QString &text); // Combo6, its text typed

    // The box's own enabled state, whatever its frame's.
    bool ownEnabled(const QWidget *box) const;

    // Shows the item list's entries in Combo6 with no entry chosen, then
    // chooses `select` (running the choice's handler) unless it is -1.
    void showItemList(int select);

    AppState &m_state;
    Services &m_services;
    EnumItemList m_itemList;
    FieldForm m_form;

    QLabel *m_nameLabel = nullptr;
    QLineEdit *m_nameBox = nullptr;
    QLabel *m_objectIdLabel = nullptr;
    QPushButton *m_applyButton = nullptr;
};

} // namespace korvel
