#include "editorrules.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

struct FieldCase {
    const char *label;
    std::function<void(EditorInput &)> change;
    QString expected; // empty: the input passes
    EditMode mode = EditMode::Add;
};

void PrintTo(const FieldCase &c, std::ostream *os)
{
    *os << c.label;
}

const QString NameEmpty = u"オブジェクト名を入力してください。"_s;
const QString NameTooLong = u"名前は最大256文字までです。"_s;
const QString IdNotNumeric = u"オブジェクトIDは数値を入力してください。"_s;
const QString IdOutOfRange = u"オブジェクトIDは1～255です。"_s;
const QString RangeNotNumeric = u"範囲指定は数値を入力してください。"_s;
const QString RangeTooLarge = u"範囲指定は最大4294967295までです。"_s;
const QString KeyNotNumeric = u"テーブルキーの順位は数値を入力してください。"_s;
const QString KeyOutOfRange = u"テーブルキーの順位は1～1000です。"_s;
const QString TableNameTooLong = u"テーブル名は最大250文字までです。"_s;
const QString NoItems = u"リストの項目を追加してください。"_s;

auto name(const QString &text)
{
    return [text](EditorInput &in) { in.NameText = text; };
}
auto objectId(const QString &text)
{
    return [text](EditorInput &in) { in.ObjectIdText = text; };
}
auto range(const QString &minimum, const QString &maximum)
{
    return [=](EditorInput &in) {
        in.RangeTicked = true;
        in.MinimumText = minimum;
        in.MaximumText = maximum;
    };
}
auto key(const QString &text, bool ticked = true)
{
    return [=](EditorInput &in) {
        in.KeyTicked = ticked;
        in.KeyOrderText = text;
    };
}
auto both(std::function<void(EditorInput &)> a, std::function<void(EditorInput &)> b)
{
    return [=](EditorInput &in) {
        a(in);
        b(in);
    };
}

class FieldChecks : public ::testing::TestWithParam<FieldCase>
{
};

} // namespace

TEST_P(FieldChecks, FirstFailingCheckGivesItsMessage)
{
    const FieldCase &c = GetParam();
    EditorInput in = leafInput(u"abc"_s, u"1"_s);
    c.change(in);
    const std::optional<QString> result = ValidateInput(in, c.mode);
    if (c.expected.isEmpty())
        EXPECT_FALSE(result.has_value()) << result->toStdString();
    else
        EXPECT_EQ(result.value_or(u"(passed)"_s), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Name, FieldChecks,
    ::testing::Values(FieldCase{"empty", name(QString()), NameEmpty},
                      FieldCase{"blanks only, stored empty", name(u"   "_s), NameEmpty},
                      FieldCase{"255 characters", name(QString(255, u'n')), {}},
                      FieldCase{"256 characters", name(QString(256, u'n')), NameTooLong},
                      FieldCase{"255 characters within blanks", name(u"  "_s + QString(255, u'n') + u" "_s), {}},
                      FieldCase{"case and blanks kept inside", name(u"a B"_s), {}}));

INSTANTIATE_TEST_SUITE_P(
    ObjectId, FieldChecks,
    ::testing::Values(FieldCase{"empty", objectId(QString()), IdNotNumeric},
                      FieldCase{"0", objectId(u"0"_s), IdOutOfRange}, FieldCase{"1", objectId(u"1"_s), {}},
                      FieldCase{"255", objectId(u"255"_s), {}},
                      FieldCase{"256", objectId(u"256"_s), IdOutOfRange},
                      FieldCase{"999", objectId(u"999"_s), IdOutOfRange}, FieldCase{"01", objectId(u"01"_s), {}},
                      FieldCase{"-1", objectId(u"-1"_s), IdNotNumeric},
                      FieldCase{"1.5", objectId(u"1.5"_s), IdNotNumeric},
                      FieldCase{"leading blank", objectId(u" 1"_s), IdNotNumeric},
                      FieldCase{"full-width digit", objectId(u"１"_s), IdNotNumeric},
                      FieldCase{"many leading zeros", objectId(u"0000000000000000000000001"_s), {}},
                      FieldCase{"beyond 64 bits", objectId(u"99999999999999999999999"_s), IdOutOfRange}));

INSTANTIATE_TEST_SUITE_P(
    Range, FieldChecks,
    ::testing::Values(FieldCase{"0 to 4294967295", range(u"0"_s, u"4294967295"_s), {}},
                      FieldCase{"upper 4294967296", range(u"0"_s, u"4294967296"_s), RangeTooLarge},
                      FieldCase{"lower 4294967296", range(u"4294967296"_s, u"1"_s), RangeTooLarge},
                      FieldCase{"lower above upper", range(u"9"_s, u"1"_s), {}},
                      FieldCase{"lower negative", range(u"-1"_s, u"1"_s), RangeNotNumeric},
                      FieldCase{"upper empty", range(u"1"_s, QString()), RangeNotNumeric},
                      FieldCase{"leading zeros beyond 15 characters", range(u"0000000000000007"_s, u"8"_s), {}},
                      FieldCase{"not ticked, not tested",
                                [](EditorInput &in) { in.MinimumText = u"x"_s; }, {}}));

INSTANTIATE_TEST_SUITE_P(
    KeyOrder, FieldChecks,
    ::testing::Values(FieldCase{"0", key(u"0"_s), KeyOutOfRange}, FieldCase{"1", key(u"1"_s), {}},
                      FieldCase{"1000", key(u"1000"_s), {}}, FieldCase{"1001", key(u"1001"_s), KeyOutOfRange},
                      FieldCase{"letters", key(u"x"_s), KeyNotNumeric},
                      FieldCase{"not ticked, not tested", key(u"x"_s, false), {}}));

INSTANTIATE_TEST_SUITE_P(
    Order, FieldChecks,
    ::testing::Values(FieldCase{"name before object ID", both(name(QString()), objectId(u"x"_s)), NameEmpty},
                      FieldCase{"object ID before range", both(objectId(u"0"_s), range(u"x"_s, u"1"_s)),
                                IdOutOfRange},
                      FieldCase{"range before key", both(range(u"x"_s, u"1"_s), key(u"0"_s)), RangeNotNumeric},
                      FieldCase{"key before the items", both(key(u"0"_s), [](EditorInput &in) { in.ListTicked = true; }),
                                KeyOutOfRange},
                      FieldCase{"checks whatever the kind",
                                both(key(u"0"_s), [](EditorInput &in) { in.KindOption = KindOption::Node; }),
                                KeyOutOfRange}));

// Faults mended over the plain checks, one row each.
INSTANTIATE_TEST_SUITE_P(
    Regression, FieldChecks,
    ::testing::Values(
        FieldCase{"enumeration without items", [](EditorInput &in) { in.ListTicked = true; }, NoItems},
        FieldCase{"no items but a range wins", both(range(u"1"_s, u"2"_s), [](EditorInput &in) { in.ListTicked = true; }),
                  {}},
        FieldCase{"no items on a node", [](EditorInput &in) {
                      in.ListTicked = true;
                      in.KindOption = KindOption::Node;
                  }, {}},
        FieldCase{"table base of 250", [](EditorInput &in) {
                      in.KindOption = KindOption::Table;
                      in.NameText = QString(250, u't');
                  }, {}},
        FieldCase{"table base of 251", [](EditorInput &in) {
                      in.KindOption = KindOption::Table;
                      in.NameText = QString(251, u't');
                  }, TableNameTooLong},
        FieldCase{"table of 251 renamed in place", [](EditorInput &in) {
                      in.KindOption = KindOption::Table;
                      in.NameText = QString(251, u't');
                  }, {}, EditMode::Change},
        FieldCase{"leaf of 251", name(QString(251, u'l')), {}}));

TEST(FieldChecks, SingleChecksMatchTheMessagesForAPanel)
{
    EXPECT_EQ(checkObjectIdText(u"256"_s).value_or(QString()), IdOutOfRange);
    EXPECT_EQ(checkRangeTexts(u"1"_s, u"a"_s).value_or(QString()), RangeNotNumeric);
    EXPECT_EQ(checkKeyOrderText(u"1001"_s).value_or(QString()), KeyOutOfRange);
    EXPECT_FALSE(checkObjectIdText(u"7"_s));
}

TEST(Codes, ListPositionsMapToStoredCodes)
{
    const int codes[] = {2, 4, 6, 64, 65, 66, 67, 68};
    for (int position = 0; position < 8; ++position) {
        EXPECT_EQ(syntaxCode(position), codes[position]);
        EXPECT_EQ(syntaxIndexOf(codes[position]), position);
    }
    EXPECT_EQ(syntaxCode(8), 48);
    EXPECT_EQ(syntaxCode(-1), 48);
    EXPECT_EQ(syntaxIndexOf(48), 0);
    EXPECT_EQ(accessCode(0), 1);
    EXPECT_EQ(accessCode(2), 3);
    EXPECT_EQ(accessCode(7), 1);
    EXPECT_EQ(kindOptionFor(ObjectKind::Entry), KindOption::Table);
    EXPECT_EQ(objectKindOf(KindOption::Leaf), ObjectKind::Leaf);
}
