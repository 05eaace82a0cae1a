// The Tree window's editing rules on the tables, without any widget: the
// placeholder that 追加 creates, the cascade that 削除 runs, and the checks
// and the rewrite that 設定 applies from the panel's fields.
//
// The window reads its panel into an EditorInput (editorinput.h), calls
// these, and keeps its tree items in step with what they changed. Every
// refusal comes before the first write and leaves the tables as they were.
#pragma once

#include "appstate.h"
#include "editorinput.h"
#include "messages.h"

#include <QString>

#include <functional>
#include <optional>

namespace korvel {

// Whether object `slot` carries the placeholder name "新たなオブジェクト".
bool isPlaceholder(const AppState &state, int slot);
// Whether any object in use carries it.
bool placeholderExists(const AppState &state);

// What 追加 writes: the placeholder of `kind` (Node or Leaf) under `parent`
// in MibTree slot `slot`, for a leaf with the attribute `attribute` holding
// only read-only access. Both slots must be free; every field of them is
// written afresh.
void writePlaceholder(AppState &state, int slot, int parent, int32_t kind, int attribute);

// Removes object `slot` with everything below it: descendants first, depth
// first in slot order (below any kind of object, so a leaf that was a node
// leaves no orphans), each with its attribute, range and enumeration items.
// A freed range keeps empty bounds of length 0. `removing` is called for
// each object just before its record is cleared. Ends on cycles of Parent
// links. False when `slot` is no object in use, or when a Table, Entry or
// Leaf on the way has no attribute: what was removed before stays removed.
bool RemoveObjectCascade(AppState &state, int slot, const std::function<void(int)> &removing);

// Whether 設定 with `input` turns object `slot` into a table with its entry:
// the table option chosen for the placeholder (which is no table yet).
bool turnsIntoTable(const AppState &state, int slot, const EditorInput &input);

// The checks of 設定 on object `target` in their order (name, object ID,
// range, key position, then names and object IDs of the other objects); the
// first failing message, or nothing.
std::optional<QString> checkPanelInput(const AppState &state, int target, const EditorInput &input);

struct PanelChange {
    bool changed = false;
    // The slot of the entry created when the object became a table, or -1.
    int entry = -1;
};

// Rewrites object `slot` from the panel under the Tree window's kind rules: a
// table or entry keeps its kind, a node and a leaf may turn into each other,
// and only the placeholder may become a table (with its entry). Every slot
// the rewrite needs is found first; a refusal has reported its warning (or,
// for an object whose attribute or range is missing, nothing).
PanelChange changeFromPanel(AppState &state, int slot, const EditorInput &input, MessageSink &sink);

} // namespace korvel
