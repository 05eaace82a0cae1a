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

class LimitedTextEdit;

class TreePanel : public QFrame
{
    Q_OBJECT

public:
    TreePanel(AppState &state, Services &services, QWidget *parent = nullptr);

    // What BuildTree resets: the syntax list on "INTEGER", the item list
    // with its one empty entry, the kind option "ツリー".
    void resetForBuild();

    // What ShowItem resets before it shows an object: every box empty (the
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
    void AddPanelListItem();
    // "ﾘｽﾄから削除".
    void removeListItem();

    // The button 設定 (Command4) at the bottom of the panel; the window
    // connects it to ApplyPanel.
    QPushButton *applyButton() const { return m_command4; }

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

    void setRangeBoundsEnabled(bool enabled);
    void setItemControlsEnabled(bool enabled);
    void setKeyPositionEnabled(bool enabled);
    // The box's own enabled state, whatever its frame's.
    bool ownEnabled(const QWidget *box) const;

    // Shows the item list's entries in Combo6 with no entry chosen, then
    // chooses `select` (running the choice's handler) unless it is -1.
    void showItemList(int select);

    AppState &m_state;
    Services &m_services;
    EnumItemList m_itemList;

    QGroupBox *m_kindFrame = nullptr;
    QRadioButton *m_option[3] = {};
    QLabel *m_label11 = nullptr;
    QLineEdit *m_text5 = nullptr;
    QLabel *m_label10 = nullptr;
    QLineEdit *m_text4 = nullptr;
    QGroupBox *m_descriptionFrame = nullptr;
    LimitedTextEdit *m_text7 = nullptr;
    QLabel *m_label5 = nullptr;
    LimitedTextEdit *m_text3 = nullptr;
    QGroupBox *m_typeFrame = nullptr;
    QComboBox *m_combo7 = nullptr;
    QCheckBox *m_check4 = nullptr;
    QLineEdit *m_text9 = nullptr;
    QLabel *m_label9 = nullptr;
    QLineEdit *m_text10 = nullptr;
    QCheckBox *m_check3 = nullptr;
    QLabel *m_label8 = nullptr;
    QComboBox *m_combo6 = nullptr;
    QLabel *m_label4 = nullptr;
    QLineEdit *m_text8 = nullptr;
    QPushButton *m_command3 = nullptr;
    QPushButton *m_command2 = nullptr;
    QLabel *m_label3 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QPushButton *m_command4 = nullptr;
};

} // namespace korvel
