#include "editorrules.h"
#include "rulestesting.h"

#include <gtest/gtest.h>

#include <functional>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

TEST(ValidateInput, FirstFailingCheckGivesItsMessage)
{
    using Change = std::function<void(EditorInput &)>;
    const auto name = [](const QString &t) -> Change { return [t](EditorInput &in) { in.NameText = t; }; };
    const auto id = [](const QString &t) -> Change { return [t](EditorInput &in) { in.ObjectIdText = t; }; };
    const auto range = [](const QString &minimum, const QString &maximum) -> Change {
        return [=](EditorInput &in) { in = withRange(in, minimum, maximum); };
    };
    const auto key = [](const QString &t, bool ticked = true) -> Change {
        return [=](EditorInput &in) {
            in.KeyTicked = ticked;
            in.KeyOrderText = t;
        };
    };
    const auto both = [](Change a, Change b) -> Change {
        return [=](EditorInput &in) {
            a(in);
            b(in);
        };
    };
    const Change list = [](EditorInput &in) { in.ListTicked = true; };
    const auto option = [](KindOption kind) -> Change { return [kind](EditorInput &in) { in.KindOption = kind; }; };
    struct Row {
        const char *what;
        Change change;
        QString expected; // empty: the input passes
        EditMode mode = EditMode::Add;
    };
    const Row rows[] = {
        {"name empty", name(QString()), text::NameEmpty},
        {"name of 255", name(QString(255, u'n')), {}},
        {"name of 256", name(QString(256, u'n')), text::NameTooLong},
        {"object ID empty", id(QString()), text::IdNotNumeric},
        {"object ID 0", id(u"0"_s), text::IdOutOfRange},
        {"object ID 2147483647", id(u"2147483647"_s), {}},
        {"object ID 2147483648", id(u"2147483648"_s), text::IdOutOfRange},
        {"object ID 01", id(u"01"_s), {}},
        {"object ID -1", id(u"-1"_s), text::IdNotNumeric},
        {"object ID 1.5", id(u"1.5"_s), text::IdNotNumeric},
        {"object ID in full-width digits", id(u"１２"_s), text::IdNotNumeric},
        {"object ID beyond 64 bits", id(u"99999999999999999999999"_s), text::IdOutOfRange},
        {"bounds 0 to 4294967295", range(u"0"_s, u"4294967295"_s), {}},
        {"upper bound 4294967296", range(u"0"_s, u"4294967296"_s), text::RangeTooLarge},
        {"lower bound negative", range(u"-1"_s, u"1"_s), text::RangeNotNumeric},
        {"key order 0", key(u"0"_s), text::KeyOutOfRange},
        {"key order 1", key(u"1"_s), {}},
        {"key order 1000", key(u"1000"_s), {}},
        {"key order 1001", key(u"1001"_s), text::KeyOutOfRange},
        {"key order in letters", key(u"x"_s), text::KeyNotNumeric},
        {"name before object ID", both(name(QString()), id(u"x"_s)), text::NameEmpty},
        {"object ID before range", both(id(u"0"_s), range(u"x"_s, u"1"_s)), text::IdOutOfRange},
        {"range before key", both(range(u"x"_s, u"1"_s), key(u"0"_s)), text::RangeNotNumeric},
        {"key before the items", both(key(u"0"_s), list), text::KeyOutOfRange},
        // Faults mended over the plain checks.
        {"enumeration without items", list, text::NoItems},
        {"no items but a range wins", both(range(u"1"_s, u"2"_s), list), {}},
        {"no items on a node", both(list, option(KindOption::Node)), {}},
        {"table base of 250", both(option(KindOption::Table), name(QString(250, u't'))), {}},
        {"table base of 251", both(option(KindOption::Table), name(QString(251, u't'))), text::TableNameTooLong},
        {"table of 251 renamed in place", both(option(KindOption::Table), name(QString(251, u't'))), {},
         EditMode::Change},
    };
    for (const Row &row : rows) {
        EditorInput in = input(KindOption::Leaf, u"abc"_s, u"1"_s);
        row.change(in);
        EXPECT_EQ(ValidateInput(in, row.mode).value_or(QString()), row.expected) << row.what;
    }
}
