// Feeds arbitrary bytes to the design-file reader.
//
// Each run reads the input over a fresh design through readDesignText, the
// reader behind readDesignFile. Besides the sanitizers, each run checks what must hold
// whatever the file says: a failed read gives a reason and leaves the tables
// and counters exactly as they were; a successful one leaves every text field
// empty or exactly its width, counters that match the lines read, and a
// design that the writer writes and the reader reads back to the same bytes.
#include "appstate.h"
#include "designfile.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace korvel;

namespace {

std::unique_ptr<AppState> Start;

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

bool sameCounters(const DefinitionTables &a, const DefinitionTables &b)
{
    return a.MibTreeCount == b.MibTreeCount && a.MibAttributeCount == b.MibAttributeCount
        && a.MibRangeCount == b.MibRangeCount && a.MibListCount == b.MibListCount;
}

// Every field of every slot, 1000 included, and the counters.
bool sameTables(const DefinitionTables &a, const DefinitionTables &b)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        const MibTree &t = a.tree[slot];
        const MibTree &u = b.tree[slot];
        const MibAttribute &c = a.attribute[slot];
        const MibAttribute &d = b.attribute[slot];
        const MibRange &r = a.range[slot];
        const MibRange &s = b.range[slot];
        const MibList &l = a.list[slot];
        const MibList &m = b.list[slot];
        if (t.Name != u.Name || t.NameLength != u.NameLength || t.ObjectId != u.ObjectId || t.Parent != u.Parent
            || t.Kind != u.Kind || t.InUse != u.InUse || c.Owner != d.Owner || c.Syntax != d.Syntax
            || c.Constraint != d.Constraint || c.Access != d.Access || c.Description != d.Description
            || c.DescriptionLength != d.DescriptionLength || c.KeyOrder != d.KeyOrder || c.InUse != d.InUse
            || r.Owner != s.Owner || r.Minimum != s.Minimum || r.MinimumLength != s.MinimumLength
            || r.Maximum != s.Maximum || r.MaximumLength != s.MaximumLength || r.InUse != s.InUse
            || l.Owner != m.Owner || l.ItemName != m.ItemName || l.ItemNameLength != m.ItemNameLength
            || l.ItemValue != m.ItemValue || l.InUse != m.InUse)
            return false;
    }
    return sameCounters(a, b);
}

bool fits(const QString &field, int width)
{
    return field.isEmpty() || field.size() == width;
}

template <typename Record>
int inUse(const std::array<Record, SlotCount> &table)
{
    int count = 0;
    for (int slot = 0; slot < StoredSlotCount; ++slot)
        count += table[slot].InUse == 1;
    return count;
}

void checkRead(const AppState &state)
{
    const DefinitionTables &t = state.tables;
    for (int slot = 0; slot < SlotCount; ++slot) {
        check(fits(t.tree[slot].Name, NameWidth) && fits(t.attribute[slot].Description, NameWidth)
                  && fits(t.range[slot].Minimum, BoundWidth) && fits(t.range[slot].Maximum, BoundWidth)
                  && fits(t.list[slot].ItemName, NameWidth),
              "a text field is empty or exactly its width");
    }
    // The start design is fresh, so every record in use was counted from a
    // line read.
    check(t.MibTreeCount == inUse(t.tree) && t.MibAttributeCount == inUse(t.attribute)
              && t.MibRangeCount == inUse(t.range) && t.MibListCount == inUse(t.list),
          "the counters match the records read");

    const QByteArray image = designFileImage(state);
    auto again = std::make_unique<AppState>();
    QString error;
    check(readDesignText(*again, image, &error), "a written design reads back");
    check(designFileImage(*again) == image, "a written design reads back to the same bytes");
    check(sameCounters(again->tables, t), "a written design reads back to the same counters");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Start = std::make_unique<AppState>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto state = std::make_unique<AppState>(*Start);
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString error;
    if (readDesignText(*state, bytes, &error)) {
        checkRead(*state);
    } else {
        check(!error.isEmpty(), "a failed read says why");
        check(sameTables(state->tables, Start->tables), "a failed read leaves the tables as they were");
    }
    return 0;
}
