// The six-object design whose MIB module is tests/data/writer/worked_example.mib:
// a node, a table with an index column (range) and an enumerated column,
// and a scalar under the node.
#pragma once

#include "sampledesign.h"
#include "tableops.h"

namespace korvel::testing {

inline void buildWorkedExample(AppState &state)
{
    const int sample = addNode(state, QStringLiteral("sample"), 1);
    const int entry = entryOf(state, addTable(state, QStringLiteral("port"), 2, sample, QStringLiteral("port list"),
                                              QStringLiteral("one port")));
    addLeaf(state, {QStringLiteral("portIndex"), 1, entry, Syntax::Integer, Access::ReadOnly,
                    QStringLiteral("port number"), 1, QStringLiteral("1"), QStringLiteral("64"), {}});
    addLeaf(state, {QStringLiteral("portState"), 2, entry, Syntax::Integer, Access::ReadWrite, QStringLiteral("state"),
                    0, {}, {}, {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}}});
    addLeaf(state, {QStringLiteral("sysLabel"), 1, sample, Syntax::OctetString, Access::ReadWrite,
                    QStringLiteral("label"), 0, {}, {}, {}});
}

} // namespace korvel::testing
