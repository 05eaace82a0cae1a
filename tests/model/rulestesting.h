// A message sink that records, counter checks, the messages' exact texts and
// ready-made inputs for the tests of the editing rules.
#pragma once

#include "appstate.h"
#include "designfile.h"
#include "editorrules.h"
#include "messages.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

namespace korvel::testing {

// The texts several cases expect, as the user reads them.
namespace text {
inline const QString NameEmpty = QStringLiteral("オブジェクト名を入力してください。");
inline const QString TableNameTooLong = QStringLiteral("テーブル名は最大250文字までです。");
inline const QString IdNotNumeric = QStringLiteral("オブジェクトIDは数値を入力してください。");
inline const QString IdOutOfRange = QStringLiteral("オブジェクトIDは1～2147483647です。");
inline const QString RangeNotNumeric = QStringLiteral("範囲指定は数値を入力してください。");
inline const QString KeyOutOfRange = QStringLiteral("テーブルキーの順位は1～1000です。");
inline const QString NoItems = QStringLiteral("リストの項目を追加してください。");
inline const QString ParentIsLeaf = QStringLiteral("オブジェクトの下に追加できません。");
inline const QString ParentIsTable = QStringLiteral("テーブルの下に追加できません。エントリの下に追加してください。");
inline const QString DuplicateName = QStringLiteral("オブジェクト名が重複しています。");
inline const QString DuplicateId = QStringLiteral("オブジェクトIDが重複しています。");
inline const QString TableFull = QStringLiteral("これ以上登録できません");
inline const QString OwnSubtree = QStringLiteral("自分自身または配下のオブジェクトを親にすることはできません。");
inline const QString EntryMoved = QStringLiteral("エントリはテーブルの下から移動できません。");
inline const QString Added = QStringLiteral("オブジェクトを追加しました。");
inline const QString Changed = QStringLiteral("オブジェクトを変更しました。");
inline const QString Failed = QStringLiteral("設定に失敗しました");
inline const QString ItemAddFailed = QStringLiteral("リストの追加に失敗しました");
inline const QString ItemNotFound = QStringLiteral("このエントリは削除できません");
} // namespace text

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
    void report(const QString &text, MessageKind kind) override { messages.append({text, kind}); }
    QList<Reported> messages;
};

inline QList<Reported> warning(const QString &text)
{
    return {{text, MessageKind::Warning}};
}

using Counters = std::array<int, 4>;

inline Counters countersOf(const AppState &s)
{
    return {s.tables.MibTreeCount, s.tables.MibAttributeCount, s.tables.MibRangeCount, s.tables.MibListCount};
}

// The in-use records counted the slow way: the counters must always equal
// them, scans stop on them.
inline Counters countInUse(const AppState &s)
{
    const auto used = [](const auto &records) {
        return int(std::count_if(records.begin(), records.end(), [](const auto &r) { return r.InUse == 1; }));
    };
    return {used(s.tables.tree), used(s.tables.attribute), used(s.tables.range), used(s.tables.list)};
}

// The design file line of record `slot` of table 0 (MibTree) to 3 (MibList),
// without its line end: every field of the record as it is saved.
inline QByteArray record(const AppState &s, int table, int slot)
{
    return designFileImage(s).split('\n').at(1 + table * (StoredSlotCount + 2) + slot).chopped(1);
}

// Runs `operation` with a recording sink: a success without a message when
// `expected` is empty, otherwise a refusal with exactly that warning and
// nothing written. Either way the counters equal the in-use records.
template <typename Operation>
void expectOutcome(AppState &s, const QString &expected, Operation operation)
{
    const QByteArray before = snapshot(s);
    RecordingSink sink;
    EXPECT_EQ(operation(sink), expected.isEmpty() ? OperationResult::Success : OperationResult::Refused);
    EXPECT_EQ(sink.messages, expected.isEmpty() ? QList<Reported>() : warning(expected));
    if (!expected.isEmpty()) {
        EXPECT_EQ(snapshot(s), before);
    }
    EXPECT_EQ(countInUse(s), countersOf(s));
}

// A design change that marks the slots from `first` to 999 of one table in use.
template <typename Table>
std::function<void(AppState &)> fill(Table DefinitionTables::*table, int first)
{
    return [table, first](AppState &s) {
        for (int i = first; i < StoredSlotCount; ++i)
            (s.tables.*table)[i].InUse = 1;
        rebuildCounters(s.tables, s.ObjectLimit);
    };
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

// The input the editor shows for object `slot`, as if loaded into its fields.
inline EditorInput inputFor(const AppState &s, int slot)
{
    const MibTree &r = s.tables.tree[slot];
    EditorInput in = input(kindOptionFor(r.Kind), displayedName(s, slot), QString::number(r.ObjectId),
                           r.Parent == RootSlot ? QString() : displayedName(s, r.Parent));
    const int attribute = attributeOf(s, slot);
    if (attribute < 0)
        return in;
    const MibAttribute &a = s.tables.attribute[attribute];
    (r.Kind == ObjectKind::Entry ? in.EntryDescriptionText : in.DescriptionText)
        = displayedText(a.Description, a.DescriptionLength);
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
