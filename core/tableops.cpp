#include "tableops.h"

#include <algorithm>

#include <vector>

namespace korvel {

QString displayedText(const QString &field, int32_t length)
{
    return length <= 0 ? QString() : field.left(length);
}

void storeText(QString &field, QStringView text, int width)
{
    // Most fields of a design are empty: they share one blank text of their
    // width instead of each holding a copy.
    static const QString blankName(NameWidth, QLatin1Char(' '));
    static const QString blankBound(BoundWidth, QLatin1Char(' '));
    if (text.isEmpty() && (width == NameWidth || width == BoundWidth)) {
        field = width == NameWidth ? blankName : blankBound;
        return;
    }
    if (width < 0) {
        field = text.toString();
        return;
    }
    QString stored(width, QLatin1Char(' '));
    std::copy_n(text.data(), qMin<qsizetype>(text.size(), width), stored.data());
    field = std::move(stored);
}

void storeText(QString &field, const QString &text, int width)
{
    storeText(field, QStringView(text), width);
}

QString displayedName(const AppState &state, int slot)
{
    if (!isSlot(slot))
        return QString();
    const MibTree &record = state.tables.tree[slot];
    return displayedText(record.Name, record.NameLength);
}

static int scanEnd(const AppState &state)
{
    return qBound(-1, static_cast<int>(state.ObjectLimit), SlotCount - 1);
}

QList<int> childrenOf(const AppState &state, int parent)
{
    QList<int> children;
    const int last = scanEnd(state);
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &record = state.tables.tree[slot];
        if (record.InUse == 1 && record.Parent == parent)
            children.append(slot);
    }
    return children;
}

int attributeOf(const AppState &state, int slot)
{
    const int last = scanEnd(state);
    for (int index = 0; index <= last; ++index) {
        const MibAttribute &record = state.tables.attribute[index];
        if (record.InUse == 1 && record.Owner == slot)
            return index;
    }
    return -1;
}

int rangeOf(const AppState &state, int slot)
{
    const int last = scanEnd(state);
    for (int index = 0; index <= last; ++index) {
        const MibRange &record = state.tables.range[index];
        if (record.InUse == 1 && record.Owner == slot)
            return index;
    }
    return -1;
}

QList<int> itemsOf(const AppState &state, int slot)
{
    QList<int> items;
    const int last = scanEnd(state);
    for (int index = 0; index <= last; ++index) {
        const MibList &record = state.tables.list[index];
        if (record.InUse == 1 && record.Owner == slot)
            items.append(index);
    }
    return items;
}

namespace {

// Clears the attribute of `slot` and the range or items it points to.
bool clearAttribute(AppState &state, int slot, FreedRange freedRange)
{
    DefinitionTables &tables = state.tables;
    const int attribute = attributeOf(state, slot);
    if (attribute < 0)
        return false;
    MibAttribute &record = tables.attribute[attribute];
    if (record.Constraint == Constraint::Range) {
        const int range = rangeOf(state, slot);
        if (range >= 0) {
            MibRange &bounds = tables.range[range];
            if (freedRange == FreedRange::Empty) {
                bounds = MibRange();
            } else {
                bounds.Owner = 0;
                storeText(bounds.Minimum, QStringLiteral("0"), BoundWidth);
                storeText(bounds.Maximum, QStringLiteral("0"), BoundWidth);
                bounds.InUse = 0;
            }
            --tables.MibRangeCount;
        }
    } else if (record.Constraint == Constraint::Enumeration) {
        for (int item : itemsOf(state, slot)) {
            MibList &entry = tables.list[item];
            entry.Owner = 0;
            entry.ItemName.clear();
            entry.ItemNameLength = 0;
            entry.ItemValue = 0;
            entry.InUse = 0;
            --tables.MibListCount;
        }
    }
    record = MibAttribute();
    --tables.MibAttributeCount;
    return true;
}

void clearObject(DefinitionTables &tables, int slot)
{
    tables.tree[slot] = MibTree();
    --tables.MibTreeCount;
}

} // namespace

bool deleteSubtree(AppState &state, int slot, FreedRange freedRange, const std::function<void(int)> &removing)
{
    if (!isSlot(slot) || state.tables.tree[slot].InUse != 1)
        return false;

    // An explicit stack instead of recursion: a hand-edited design can nest a
    // thousand levels deep or link its Parents in a cycle. `entered` marks the
    // objects whose children are being removed, so a cycle ends at the first
    // object met twice.
    struct Frame {
        int slot;
        int next; // the next slot to scan for children
    };
    std::vector<char> entered(SlotCount, 0);
    std::vector<Frame> stack;
    stack.push_back({slot, 0});
    entered[slot] = 1;
    const int last = scanEnd(state);

    while (!stack.empty()) {
        Frame &frame = stack.back();
        bool descended = false;
        for (; frame.next <= last; ++frame.next) {
            const MibTree &child = state.tables.tree[frame.next];
            if (child.InUse == 1 && child.Parent == frame.slot && !entered[frame.next]) {
                entered[frame.next] = 1;
                const int childSlot = frame.next++;
                stack.push_back({childSlot, 0});
                descended = true;
                break;
            }
        }
        if (descended)
            continue;
        const int done = frame.slot;
        stack.pop_back();
        if (state.tables.tree[done].Kind != ObjectKind::Node && !clearAttribute(state, done, freedRange))
            return false;
        if (removing)
            removing(done);
        clearObject(state.tables, done);
    }
    return true;
}

void rebuildCounters(DefinitionTables &tables, int limit)
{
    const int last = qBound(-1, limit, SlotCount - 1);
    tables.MibTreeCount = tables.MibAttributeCount = tables.MibRangeCount = tables.MibListCount = 0;
    for (int slot = 0; slot <= last; ++slot) {
        tables.MibTreeCount += tables.tree[slot].InUse == 1;
        tables.MibAttributeCount += tables.attribute[slot].InUse == 1;
        tables.MibRangeCount += tables.range[slot].InUse == 1;
        tables.MibListCount += tables.list[slot].InUse == 1;
    }
}

bool isAllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

} // namespace korvel
