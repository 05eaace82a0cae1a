#include "controlstates.h"

#include "appstate.h"
#include "messagetexts.h"

namespace korvel {

namespace {

// The syntax list position of "INTEGER", the only type with named values.
constexpr int IntegerPosition = 0;

} // namespace

bool enumerationEnabled(KindOption kind, int syntaxIndex)
{
    return kind == KindOption::Leaf && syntaxIndex == IntegerPosition;
}

EditorControlStates editorControlStates(KindOption kind, int syntaxIndex, bool rangeTicked, bool listTicked,
                                        bool keyTicked)
{
    EditorControlStates states;
    const bool leaf = kind == KindOption::Leaf;
    states.description = kind != KindOption::Node;
    states.entryDescription = kind == KindOption::Table;
    states.syntax = leaf;
    states.rangeBox = leaf;
    states.rangeBounds = leaf && rangeTicked;
    states.listBox = enumerationEnabled(kind, syntaxIndex);
    states.itemControls = states.listBox && listTicked;
    states.access = leaf;
    states.keyBox = leaf;
    states.keyPosition = leaf && keyTicked;
    return states;
}

DescriptionStates loadedDescriptionStates(int32_t objectKind)
{
    const bool entry = objectKind == ObjectKind::Entry;
    return {!entry, entry};
}

bool refuseRangeWithList(bool clickedTicked, bool otherTicked, bool bothEnabled, MessageSink &sink)
{
    if (!(clickedTicked && otherTicked && bothEnabled))
        return false;
    sink.report(texts::rangeAndList(), MessageKind::Warning);
    return true;
}

} // namespace korvel
