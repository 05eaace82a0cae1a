// Builds designs straight into the tables, the way a loaded file holds them,
// for tests that need a design without going through the editor's rules.
#pragma once

#include "appstate.h"

#include <QList>
#include <QPair>
#include <QString>

namespace korvel::testing {

// Each returns the new MibTree slot (the lowest free one) and keeps the
// counters right.
int addNode(AppState &state, const QString &name, int objectId, int parent = RootSlot);

// Adds a Table named base + "Table" and its Entry base + "Entry" (ObjectId 1);
// returns the Table's slot. The Entry is the next used slot.
int addTable(AppState &state, const QString &base, int objectId, int parent = RootSlot,
             const QString &description = QString(), const QString &entryDescription = QString());

struct LeafDefinition {
    QString name;
    int objectId = 1;
    int parent = RootSlot;
    int syntax = 2;
    int access = 1;
    QString description = {};
    int keyOrder = 0;
    // A range when both are set, otherwise an enumeration when items is not empty.
    QString minimum = {};
    QString maximum = {};
    QList<QPair<QString, int>> items = {};
};
int addLeaf(AppState &state, const LeafDefinition &def);

// Everything an edit may change: every record of slots 0 to 999 and the counters.
QByteArray snapshot(const AppState &state);

// Writes `bytes` as the file `path`; returns the path, or none when it cannot.
QString writeFile(const QString &path, const QByteArray &bytes);
// The bytes of the file `path`, or none.
QByteArray fileBytes(const QString &path);

// The slot of the Entry of a Table added by addTable.
int entryOf(const AppState &state, int table);

// A design with a node, a scalar leaf with a range, a leaf with an
// enumeration and a table with an index column and an enumerated column.
void buildSampleDesign(AppState &state);

} // namespace korvel::testing
