// Which of the editor's controls are usable, decided from the values of the
// controls alone, so the dialog and the Tree window's panel only apply the
// answer to their widgets.
#pragma once

#include "editorinput.h"
#include "messages.h"

#include <cstdint>

namespace korvel {

// The enabled states set when a kind option is chosen. The parent list, the
// kind options, the name box, the object ID box and the two buttons are
// always enabled and not listed.
struct EditorControlStates {
    // Frame "説明" and the description box.
    bool description = false;
    // The label "ｴﾝﾄﾘの説明" and the entry-description box.
    bool entryDescription = false;
    // Frame "タイプ" and the syntax list.
    bool syntax = false;
    // The range box and, while it is ticked, the two bounds and "～".
    bool rangeBox = false;
    bool rangeBounds = false;
    // The enumeration box (INTEGER leaves only) and, while it is usable and
    // ticked, the item label, item list, value label, value box and the two
    // item buttons.
    bool listBox = false;
    bool itemControls = false;
    // The access label and list.
    bool access = false;
    // The key box and, while it is ticked, "順位" and the key-position box.
    bool keyBox = false;
    bool keyPosition = false;

    bool operator==(const EditorControlStates &) const = default;
};

EditorControlStates editorControlStates(KindOption kind, int syntaxIndex, bool rangeTicked, bool listTicked,
                                        bool keyTicked);

// Whether the enumeration box is usable: only for a leaf whose syntax list
// shows "INTEGER". When the syntax list changes, the box takes this state
// and the item controls are enabled exactly when it is true and the box is
// ticked; the tick itself stays.
bool enumerationEnabled(KindOption kind, int syntaxIndex);

// The description boxes after an object of `objectKind` has been loaded
// under the Table or Leaf option: an Entry's text is in the entry box.
struct DescriptionStates {
    bool description = false;
    bool entryDescription = false;

    bool operator==(const DescriptionStates &) const = default;
};
DescriptionStates loadedDescriptionStates(int32_t objectKind);

// The rule of the range box and the enumeration box, run by the handler of
// the box just clicked: a range and an enumeration cannot be given together.
// When the clicked box is ticked while the other is ticked too and both are
// enabled, the warning is reported and true returned: the handler unticks
// the clicked box again (which runs it once more). Otherwise the clicked
// box's controls follow its tick.
bool refuseRangeWithList(bool clickedTicked, bool otherTicked, bool bothEnabled, MessageSink &sink);

} // namespace korvel
