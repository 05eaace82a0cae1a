// The object editor: the modal dialog "Korvel （詳細設定）" in which one object
// of the design is added (EditTarget -1) or changed (EditTarget = its slot).
//
// The dialog holds no data of its own beyond its controls, the item list of
// the enumeration (an EnumItemList over AppState::EnumValues) and the tables
// it reads. Its behaviour lives in one handler per control event, and every
// handler is connected to the signal that also fires when the control is set
// from code (currentIndexChanged, toggled, editTextChanged): the opening
// sequence is nothing but a series of such settings, each running its
// handler.
//
//   open()  --fillParentList--> parent list  --parentChosen--> kind option
//           --applyKindOption--> name list, enabled states
//           --loadObjectFields--> every field of the chosen object
//   Command4 --> EditorInput --CommitEditor (korvel_model)--> the tables
//
// The checks, the add and change operations, the item list's rules and the
// enabled-state table are the editing model's; this class only reads and sets the
// controls. Messages go through the Services.
#pragma once

#include "appstate.h"
#include "editorinput.h"
#include "enumitemlist.h"
#include "fieldform.h"
#include "services.h"

#include <QDialog>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace korvel {

class ObjectEditor : public QDialog
{
    Q_OBJECT

public:
    ObjectEditor(AppState &state, Services &services, QWidget *parent = nullptr);
    ~ObjectEditor() override;

    // Builds the dialog and runs its opening sequence for EditTarget.
    // `levelText` is the name of the level the List window shows
    // ("enterprise" at the top): the parent a new object is preselected
    // under. Null when the dialog refused to open; the user has been told
    // why, except for a change of a slot that holds no object.
    static std::unique_ptr<ObjectEditor> open(AppState &state, Services &services, const QString &levelText,
                                        QWidget *parent = nullptr);

private:
    void buildControls();
    void buildLayout();
    void buildMenu();
    void connectHandlers();

    // The opening sequences; false when add mode is refused.
    bool openForAdd(const QString &levelText);
    bool openForChange(int slot);

    // Choosing from code, running the handler even when the choice does not
    // change, as the opening sequences need.
    void chooseParentEntry(int index);
    void chooseKindOption(KindOption option);
    void chooseNameEntry(int index);

    // The slot of the object the parent list's entry names, -1 for the root
    // (and for a name no object has).
    int chosenParent() const;
    void setItemEntries(const QString &text);

    // One handler per control event.
    void fillParentList();
    void parentChosen();                       // Combo8
    void applyKindOption(KindOption option);     // Option1
    void loadObjectFields();                     // Combo5
    void syntaxChosen();                         // Combo7
    void rangeBoxClicked();                      // Check4
    void listBoxClicked();                       // Check3
    void keyBoxClicked();                        // Check1
    void addListItem();                          // Command1
    void removeListItem();                       // Command2
    void showItemValue(EnumItemList::ItemEvent event); // Combo6
    void commit();                               // Command4

    void resetFields();
    EditorInput readInput() const;

    AppState &m_state;
    Services &m_services;
    EnumItemList m_items;
    FieldForm m_form;

    QComboBox *m_parentList = nullptr;
    QComboBox *m_nameList = nullptr;
    QPushButton *m_commitButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

} // namespace korvel
