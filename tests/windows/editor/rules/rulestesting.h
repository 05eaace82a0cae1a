// A message sink that records, counter checks and ready-made inputs for the
// tests of the editing rules.
#pragma once

#include "appstate.h"
#include "editorrules.h"
#include "messages.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace korvel::testing {

struct Reported {
    QString text;
    MessageKind kind;
    bool operator==(const Reported &) const = default;
};

inline void PrintTo(const Reported &message, std::ostream *os)
{
    *os << '{' << message.text.toStdString() << ", kind " << static_cast<int>(message.kind) << '}';
}

class RecordingSink final : public MessageSink
{
public:
    void report(const QString &text, MessageKind kind) override { m_messages.append({text, kind}); }
    const QList<Reported> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QList<Reported> m_messages;
};

inline QList<Reported> warning(const QString &text)
{
    return {{text, MessageKind::Warning}};
}

struct Counters {
    int tree, attribute, range, list;
    bool operator==(const Counters &) const = default;
};

inline void PrintTo(const Counters &c, std::ostream *os)
{
    *os << '{' << c.tree << ", " << c.attribute << ", " << c.range << ", " << c.list << '}';
}

inline Counters countersOf(const AppState &s)
{
    return {s.tables.MibTreeCount, s.tables.MibAttributeCount, s.tables.MibRangeCount, s.tables.MibListCount};
}

// The counters must always equal the in-use records: scans stop on them.
inline ::testing::AssertionResult countersExact(const AppState &s)
{
    Counters actual{0, 0, 0, 0};
    for (int i = 0; i < SlotCount; ++i) {
        actual.tree += s.tables.tree[i].InUse == 1;
        actual.attribute += s.tables.attribute[i].InUse == 1;
        actual.range += s.tables.range[i].InUse == 1;
        actual.list += s.tables.list[i].InUse == 1;
    }
    if (actual == countersOf(s))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "counters " << ::testing::PrintToString(countersOf(s))
                                         << " but in use " << ::testing::PrintToString(actual);
}

inline std::unique_ptr<AppState> freshState()
{
    auto state = std::make_unique<AppState>();
    state->EditTarget = -1;
    return state;
}

inline EditorInput input(KindOption kind, const QString &name, const QString &objectId,
                         const QString &parent = QString())
{
    EditorInput in;
    in.KindOption = kind;
    in.NameText = name;
    in.ObjectIdText = objectId;
    in.ParentIsRoot = parent.isEmpty();
    in.ParentText = parent.isEmpty() ? QStringLiteral("enterprise") : parent;
    return in;
}

inline EditorInput nodeInput(const QString &name, const QString &objectId, const QString &parent = QString())
{
    return input(KindOption::Node, name, objectId, parent);
}

inline EditorInput tableInput(const QString &base, const QString &objectId, const QString &parent = QString())
{
    return input(KindOption::Table, base, objectId, parent);
}

inline EditorInput leafInput(const QString &name, const QString &objectId, const QString &parent = QString())
{
    return input(KindOption::Leaf, name, objectId, parent);
}

inline EditorInput withRange(EditorInput in, const QString &minimum, const QString &maximum)
{
    in.RangeTicked = true;
    in.MinimumText = minimum;
    in.MaximumText = maximum;
    return in;
}

inline EditorInput withItems(EditorInput in, const QList<EnumItem> &items)
{
    in.ListTicked = true;
    in.Items = items;
    return in;
}

// A leaf without type details, straight into the tables.
inline int addPlainLeaf(AppState &s, const QString &name, int objectId = 1, int parent = RootSlot)
{
    LeafSpec def;
    def.name = name;
    def.objectId = objectId;
    def.parent = parent;
    return addLeaf(s, def);
}

// The MibTree slot of the object named `name`, for readable assertions.
inline int slotOf(const AppState &s, const QString &name)
{
    return findObjectByName(s, name);
}

// The input the editor shows for object `slot`, as if loaded into its fields.
inline EditorInput inputFor(const AppState &s, int slot)
{
    const MibTree &r = s.tables.tree[slot];
    EditorInput in;
    in.KindOption = kindOptionFor(r.Kind);
    in.NameText = displayedName(s, slot);
    in.ObjectIdText = QString::number(r.ObjectId);
    in.ParentIsRoot = r.Parent == RootSlot;
    in.ParentText = in.ParentIsRoot ? QStringLiteral("enterprise") : displayedName(s, r.Parent);
    const int attribute = attributeOf(s, slot);
    if (attribute < 0)
        return in;
    const MibAttribute &a = s.tables.attribute[attribute];
    const QString description = displayedText(a.Description, a.DescriptionLength);
    (r.Kind == ObjectKind::Entry ? in.EntryDescriptionText : in.DescriptionText) = description;
    in.SyntaxIndex = syntaxIndexOf(a.Syntax);
    in.AccessIndex = a.Access - 1;
    if (a.Constraint == Constraint::Range) {
        const MibRange &range = s.tables.range[rangeOf(s, slot)];
        in = withRange(in, displayedText(range.Minimum, range.MinimumLength),
                       displayedText(range.Maximum, range.MaximumLength));
    } else if (a.Constraint == Constraint::Enumeration) {
        in.ListTicked = true;
        for (int item : itemsOf(s, slot)) {
            const MibList &l = s.tables.list[item];
            in.Items.append({displayedText(l.ItemName, l.ItemNameLength), static_cast<int16_t>(l.ItemValue)});
        }
    }
    in.KeyTicked = a.KeyOrder != 0;
    in.KeyOrderText = QString::number(a.KeyOrder);
    return in;
}

} // namespace korvel::testing
