#include "cp932.h"
#include "designfile.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

class DesignFile : public ::testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("design.mdf")) const { return m_dir.filePath(name); }

    QByteArray readBytes(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeBytes(const QString &file, const QByteArray &bytes) const
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // A file image of a fresh design with `edit` applied to its lines.
    QByteArray freshImageWith(const std::function<void(QList<QByteArray> &)> &edit) const
    {
        auto fresh = std::make_unique<AppState>();
        QList<QByteArray> lines = designFileImage(*fresh).split('\n');
        lines.removeLast(); // after the final line end
        for (QByteArray &line : lines)
            line.chop(1); // CR
        edit(lines);
        return lines.join("\r\n") + "\r\n";
    }

    QTemporaryDir m_dir;
};

bool sameTables(const AppState &a, const AppState &b)
{
    const DefinitionTables &x = a.tables;
    const DefinitionTables &y = b.tables;
    return designFileImage(a) == designFileImage(b) && x.MibTreeCount == y.MibTreeCount
        && x.MibAttributeCount == y.MibAttributeCount && x.MibRangeCount == y.MibRangeCount
        && x.MibListCount == y.MibListCount;
}

} // namespace

TEST_F(DesignFile, FreshDesignIs4008NeverUsedLines)
{
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(writeDesignFile(*state, path()));
    const QByteArray bytes = readBytes(path());
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4008);
    EXPECT_EQ(bytes.count('\n'), 4008);
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_EQ(lines[0], "<MibTree>\r");
    EXPECT_EQ(lines[1], ",0,0,0,0,0\r");
    EXPECT_EQ(lines[1001], "</MibTree>\r");
    EXPECT_EQ(lines[1002], "<MibAttribute>\r");
    EXPECT_EQ(lines[1003], "0,0,0,0,,0,0,0\r");
    EXPECT_EQ(lines[2005], "0,,,0,0,0\r");
    EXPECT_EQ(lines[3007], "0,,0,0,0\r");
    EXPECT_EQ(lines[4007], "</MibList>\r");

    auto back = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*back, path()));
    EXPECT_TRUE(sameTables(*state, *back));
}

TEST_F(DesignFile, RecordLinesAsWritten)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const QList<QByteArray> lines = designFileImage(*state).split('\n');
    EXPECT_EQ(lines[1], "sysInfo,7,1,-1,1,1\r");
    EXPECT_EQ(lines[2], "sysTemperature,14,1,0,4,1\r");
    EXPECT_EQ(lines[1003], "1,2,1,1,Board temperature,17,0,1\r");
    EXPECT_EQ(lines[2005], "1,-40,125,3,3,1\r");
    EXPECT_EQ(lines[3007], "2,normal,6,1,1\r");
}

TEST_F(DesignFile, WriteReadWriteGivesTheSameBytes)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    addLeaf(*state, {QStringLiteral("odd,name"), 9, RootSlot, 4, 2,
                     QStringLiteral("line one\nline \"two\", with comma\n\"quoted\" start"), 0, {}, {},
                     {{QStringLiteral("\"a,b\""), -1}, {QStringLiteral("日本語ｶﾅ"), 32767}}});
    ASSERT_TRUE(deleteSubtree(*state, 1)); // a freed range slot among used ones
    ASSERT_TRUE(writeDesignFile(*state, path()));
    const QByteArray first = readBytes(path());

    auto back = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*back, path()));
    EXPECT_TRUE(sameTables(*state, *back));
    ASSERT_TRUE(writeDesignFile(*back, path(QStringLiteral("again.mdf"))));
    EXPECT_EQ(readBytes(path(QStringLiteral("again.mdf"))), first);

    const int leaf = childrenOf(*back, RootSlot).last();
    EXPECT_EQ(displayedName(*back, leaf), QStringLiteral("odd,name"));
    const MibAttribute &a = back->tables.attribute[attributeOf(*back, leaf)];
    EXPECT_EQ(displayedText(a.Description, a.DescriptionLength),
              QStringLiteral("line one\nline \"two\", with comma\n\"quoted\" start"));
    const QList<int> items = itemsOf(*back, leaf);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(displayedText(back->tables.list[items[0]].ItemName, back->tables.list[items[0]].ItemNameLength),
              QStringLiteral("\"a,b\""));
    EXPECT_EQ(displayedText(back->tables.list[items[1]].ItemName, back->tables.list[items[1]].ItemNameLength),
              QStringLiteral("日本語ｶﾅ"));
    // The line break is CR LF inside the quotes, like every other line end.
    EXPECT_TRUE(first.contains("\"line one\r\nline \"\"two\"\", with comma\r\n\"\"quoted\"\" start\""));
}

TEST_F(DesignFile, ReadsLfOnlyFilesAndIgnoresLinesOutsideSections)
{
    QByteArray image = freshImageWith([](QList<QByteArray> &lines) {
        lines[1] = "sysInfo,7,1,-1,1,1,extra,fields";
        lines.insert(0, "a line before the first tag");
        lines.insert(1003, "between sections");
        lines.append("after the last tag");
    });
    image.replace("\r\n", "\n");
    writeBytes(path(), image);
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*state, path()));
    EXPECT_EQ(displayedName(*state, 0), QStringLiteral("sysInfo"));
    EXPECT_EQ(state->tables.MibTreeCount, 1);
}

TEST_F(DesignFile, MissingAndShortSectionsLeaveTheRestAsItWas)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const MibList keptItem = state->tables.list[0];
    // Only two MibTree lines and no MibList section at all.
    writeBytes(path(), "<MibTree>\r\nnewName,7,5,-1,1,1\r\n,0,0,0,0,0\r\n</MibTree>\r\n");
    ASSERT_TRUE(readDesignFile(*state, path()));
    EXPECT_EQ(displayedName(*state, 0), QStringLiteral("newName"));
    EXPECT_EQ(state->tables.tree[1].InUse, 0);
    // Slot 2 was not reached: it keeps its record but is no longer counted.
    EXPECT_EQ(displayedName(*state, 2), QStringLiteral("sysMode"));
    EXPECT_EQ(state->tables.MibTreeCount, 1);
    EXPECT_EQ(state->tables.MibListCount, 0);
    EXPECT_EQ(state->tables.list[0].ItemName, keptItem.ItemName);
}

TEST_F(DesignFile, RepeatedSectionContinuesInTheNextSlots)
{
    writeBytes(path(), "<MibTree>\r\na,1,1,-1,1,1\r\n</MibTree>\r\n<MibTree>\r\nb,1,2,-1,1,1\r\n</MibTree>\r\n");
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*state, path()));
    EXPECT_EQ(displayedName(*state, 0), QStringLiteral("a"));
    EXPECT_EQ(displayedName(*state, 1), QStringLiteral("b"));
    EXPECT_EQ(state->tables.MibTreeCount, 2);
}

TEST_F(DesignFile, LengthsAreTakenFromTheFile)
{
    writeBytes(path(), "<MibTree>\r\nabcdef,3,1,-1,1,1\r\n</MibTree>\r\n");
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*state, path()));
    EXPECT_EQ(displayedName(*state, 0), QStringLiteral("abc"));
}

TEST_F(DesignFile, EachFailureLeavesTablesAndCountersUntouched)
{
    struct Row {
        const char *what;
        QByteArray image;
    };
    const QByteArray head = "<MibTree>\r\nnewName,7,5,-1,1,1\r\n";
    const QList<Row> rows = {
        {"too few fields", head + "x,1,1,-1,1\r\n</MibTree>\r\n"},
        {"empty number", head + "x,1,,-1,1,1\r\n</MibTree>\r\n"},
        {"not a number", head + "x,1,1a,-1,1,1\r\n</MibTree>\r\n"},
        {"beyond int32", head + "x,1,4294967296,-1,1,1\r\n</MibTree>\r\n"},
        {"no closing tag", head},
        {"tag with trailing blank", head + "</MibTree> \r\n</MibTree>\r\n"},
        {"unterminated quote", head + "\"x,1,1,-1,1,1\r\n</MibTree>\r\n"},
        {"more lines than slots", "<MibTree>\r\n" + QByteArray(",0,0,0,0,0\r\n").repeated(1002) + "</MibTree>\r\n"},
    };
    for (const Row &row : rows) {
        auto state = std::make_unique<AppState>();
        buildSampleDesign(*state);
        const QByteArray before = designFileImage(*state);
        const int16_t count = state->tables.MibTreeCount;
        writeBytes(path(), row.image);
        QString error;
        EXPECT_FALSE(readDesignFile(*state, path(), &error)) << row.what;
        EXPECT_FALSE(error.isEmpty()) << row.what;
        EXPECT_EQ(designFileImage(*state), before) << row.what;
        EXPECT_EQ(state->tables.MibTreeCount, count) << row.what;
    }
    auto state = std::make_unique<AppState>();
    EXPECT_FALSE(readDesignFile(*state, path(QStringLiteral("missing.mdf"))));
}

TEST_F(DesignFile, SectionOf1001LinesFillsSlot1000)
{
    writeBytes(path(), "<MibTree>\r\n" + QByteArray(",0,0,0,0,0\r\n").repeated(1000) + "last,4,1,-1,1,1\r\n</MibTree>\r\n");
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*state, path()));
    EXPECT_EQ(displayedName(*state, 1000), QStringLiteral("last"));
}

TEST_F(DesignFile, FailedWriteKeepsTheOldFile)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    ASSERT_TRUE(writeDesignFile(*state, path()));
    const QByteArray good = readBytes(path());
    // A folder cannot be written: the write fails and nothing else changes.
    EXPECT_FALSE(writeDesignFile(*state, m_dir.path()));
    EXPECT_FALSE(writeDesignFile(*state, m_dir.filePath(QStringLiteral("no/such/folder.mdf"))));
    EXPECT_EQ(readBytes(path()), good);
}

TEST_F(DesignFile, TextsOutsideTheCodePageBecomeTheSubstitute)
{
    auto state = std::make_unique<AppState>();
    addNode(*state, QStringLiteral("caf\u00e9"), 1);
    ASSERT_TRUE(writeDesignFile(*state, path()));
    auto back = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*back, path()));
    EXPECT_EQ(displayedName(*back, 0), QStringLiteral("caf?"));
}
