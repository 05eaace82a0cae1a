// The field form the object editor and the Tree panel share: the kind
// options, the object ID, the two descriptions and the type frame with its
// range, item list, access and key controls. Each owner builds and lays out
// the controls under its own object names and captions; the form sets their
// enabled states, reads them as the rules take them and resets them.
#pragma once

#include "controlstates.h"
#include "editorinput.h"
#include "limitedboxes.h"

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace korvel {

class EnumItemList;
struct AppState;
struct MibAttribute;

struct FieldForm {
    QGroupBox *kindFrame = nullptr;
    std::array<QRadioButton *, 3> kindOptions{}; // ツリー, テーブル, オブジェクト
    QLineEdit *objectIdBox = nullptr;
    QGroupBox *descriptionFrame = nullptr;
    LimitedTextEdit *descriptionBox = nullptr;
    QLabel *entryDescriptionLabel = nullptr;
    LimitedTextEdit *entryDescriptionBox = nullptr;
    QGroupBox *typeFrame = nullptr;
    QComboBox *syntaxList = nullptr;
    QCheckBox *rangeBox = nullptr;
    QLineEdit *minimumBox = nullptr;
    QLabel *rangeDash = nullptr;
    QLineEdit *maximumBox = nullptr;
    QCheckBox *listBox = nullptr;
    QLabel *itemNameLabel = nullptr;
    QComboBox *itemBox = nullptr;
    QLabel *itemValueLabel = nullptr;
    QLineEdit *itemValueBox = nullptr;
    QPushButton *addItemButton = nullptr;
    QPushButton *removeItemButton = nullptr;
    QLabel *accessLabel = nullptr;
    QComboBox *accessList = nullptr;
    QCheckBox *keyBox = nullptr;
    QLabel *keyPositionLabel = nullptr;
    QLineEdit *keyPositionBox = nullptr;

    // The object names in which the two forms' type frames differ.
    struct TypeNames {
        const char *itemValueLabel;
        const char *addItemButton;
        const char *accessLabel;
        const char *keyPositionLabel;
    };

    // Builds the controls of typeFrame under their object names and
    // captions, in tab order; entering one of its text boxes selects its text.
    void buildTypeControls(const TypeNames &names);

    // The chosen kind option; Node when none is.
    KindOption kindOption() const;

    // The enabled states of the controls for `option` and the present
    // syntax and ticks.
    void applyStates(KindOption option) const;
    void setRangeBoundsEnabled(bool enabled) const;
    void setItemControlsEnabled(bool enabled) const;
    void setKeyPositionEnabled(bool enabled) const;

    // Puts a text from the tables into one of the form's line boxes.
    using BoxSetter = std::function<void(QLineEdit *box, const QString &text)>;

    // Shows the syntax of leaf `slot` (its attribute `record`) and ticks and
    // fills its range, or ticks its enumeration and runs `loadItems`. False,
    // the bounds left empty, when its range record is missing.
    bool loadSyntaxAndConstraint(const AppState &state, int slot, const MibAttribute &record,
                                 const BoxSetter &setBoxText, const std::function<void()> &loadItems) const;
    // Shows the access of `record` (an access code the list does not offer
    // leaves it on "read-only") and ticks and fills its key position.
    void loadAccessAndKey(const MibAttribute &record, const BoxSetter &setBoxText) const;

    // Every field but the name (and the parent) as the rules take them.
    EditorInput read(const EnumItemList &items) const;
};

} // namespace korvel
