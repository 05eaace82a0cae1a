// Validation and commit of one object of the design, without any window.
//
// The object editor dialog and the Tree window's panel read their controls
// into an EditorInput (editorinput.h) and hand it here:
//
//   EditorInput --ValidateInput--> field error (the dialog stays open)
//               --AddObject / ChangeObject--> AppState tables and counters
//               --CommitEditor--> both steps plus the notice, and whether the
//                                 dialog closes
//
// Everything the user is told goes through a MessageSink (core/messages.h)
// with the texts of messagetexts.h; the windows implement the sink with
// their message boxes, tests with a recorder. The enumeration items are
// edited before the commit in an EnumItemList (enumitemlist.h), and the
// enabled states of the controls follow controlstates.h. Texts are stored by
// the rule of fieldtext.h. Nothing here keeps state between calls: the
// tables and their counters are the state, and every refusal comes before
// the first write.
#pragma once

#include "appstate.h"
#include "editorinput.h"
#include "messages.h"
#include "tableops.h"

#include <QString>

#include <optional>

namespace korvel {

// Whether a commit creates a new object or rewrites one in its slot.
enum class EditMode {
    Add,
    Change,
};

// A table's name is its base name followed by "Table", its entry's the base
// name followed by "Entry"; the table's name must fit NameWidth.
inline const QString TableSuffix = QStringLiteral("Table");
inline const QString EntrySuffix = QStringLiteral("Entry");
inline constexpr int TableBaseWidth = NameWidth - 5;

// The field checks in their order; the first failing message, or nothing.
// Reads no table. In Add mode a Table's base name must leave room for its
// "Table" ending.
std::optional<QString> ValidateInput(const EditorInput &input, EditMode mode);

// The checks of the object ID, the range (when ticked) and the key order
// (when ticked), in that order: the part of ValidateInput the Tree panel,
// with its own name checks, shares.
std::optional<QString> checkNumberTexts(const EditorInput &input);

// The lowest in-use slot among 0..ObjectLimit whose displayed name is `name`
// exactly, or -1.
int findObjectByName(const AppState &state, const QString &name);

// The parent an input chooses: -1 for the root, otherwise the object named
// ParentText. Nothing when no object has that name.
std::optional<int> resolveParent(const AppState &state, const EditorInput &input);

// The warning for a name or object ID another object already has, or
// nothing. Walks the objects in slot order, skipping `skip`; the first whose
// name clashes or which already has `objectId` under `parent` decides. A
// name clashes when it equals `name` or `name` followed by "Table", and for
// a new table also `name` followed by "Entry", the name its entry will get.
std::optional<QString> duplicateRefusal(const AppState &state, const QString &name, bool newTable,
                                            int parent, int32_t objectId, int skip);

enum class OperationResult {
    // The tables hold the new or rewritten object.
    Success,
    // A rule refused; its warning (if any) has been reported, nothing changed.
    Refused,
    // Something that cannot happen through the dialog (an unknown parent, a
    // slot not in use); nothing reported, nothing changed.
    Failed,
};

// Creates the object (a Table together with its Entry) in the lowest free
// slots. The input is checked first as ValidateInput does in Add mode.
OperationResult AddObject(AppState &state, const EditorInput &input, MessageSink &sink);

// Rewrites object `slot` in place: name, object ID, parent, attribute and
// constraint records. It keeps its slot and its kind. Refused silently when
// a Table, Entry or Leaf has no attribute record.
OperationResult ChangeObject(AppState &state, int slot, const EditorInput &input, MessageSink &sink);

enum class CommitOutcome {
    Added,
    Changed,
    // A field check failed; the dialog stays open for correction.
    FieldError,
    // A rule refused the add or change; the dialog closes.
    Refused,
    // An unexpected failure, reported as an error; the dialog stays open.
    Failed,
};

struct CommitResult {
    CommitOutcome outcome;
    bool closeDialog;
};

// The editor's commit button: checks, then adds (EditTarget -1) or changes
// slot EditTarget, then the notice. Every message goes to `sink`.
CommitResult CommitEditor(AppState &state, const EditorInput &input, MessageSink &sink);

// Writes the syntax, the range or enumeration records and the key order of
// leaf `leaf`, whose attribute `attribute` has just been written, into the
// slots reserved for them (found before anything is written). Used by the editor's commit and the Tree panel.
void writeLeafType(DefinitionTables &tables, int leaf, MibAttribute &attribute, const EditorInput &input,
                   const ConstraintSlots &reserved);

} // namespace korvel
