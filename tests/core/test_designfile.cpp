#include "cp932.h"
#include "designfile.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include "oid.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

class DesignFile : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("design.mdf")); }

    static QByteArray readBytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void writeBytes(const QByteArray &bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }

    // Writes `state` and reads it back into `back`: the same bytes and counters.
    QByteArray roundTrip(const AppState &state, AppState &back)
    {
        EXPECT_TRUE(writeDesignFile(state, path()));
        EXPECT_TRUE(readDesignFile(back, path()));
        const QByteArray bytes = readBytes(path());
        EXPECT_EQ(designFileImage(state), bytes);
        EXPECT_EQ(designFileImage(back), bytes);
        EXPECT_EQ(counters(back), counters(state));
        return bytes;
    }

    static std::array<int16_t, 4> counters(const AppState &s)
    {
        return {s.tables.MibTreeCount, s.tables.MibAttributeCount, s.tables.MibRangeCount, s.tables.MibListCount};
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(DesignFile, FreshDesignIs4008NeverUsedLines)
{
    auto state = std::make_unique<AppState>();
    const QByteArray bytes = roundTrip(*state, *std::make_unique<AppState>());
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 4008);
    EXPECT_EQ(bytes.count('\n'), 4008);
    const QList<QByteArray> lines = bytes.split('\n');
    const std::pair<int, QByteArray> expected[] = {
        {0, "<MibTree>\r"},       {1, ",0,0,0,0,0\r"},    {1000, ",0,0,0,0,0\r"}, {1001, "</MibTree>\r"},
        {1002, "<MibAttribute>\r"}, {1003, "0,0,0,0,,0,0,0\r"}, {2005, "0,,,0,0,0\r"}, {3007, "0,,0,0,0\r"},
        {4007, "</MibList>\r"}};
    for (const auto &[line, text] : expected)
        EXPECT_EQ(lines[line], text) << line;
}

TEST_F(DesignFile, WriteReadWriteGivesTheSameBytes)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const QString description = QStringLiteral("line one\nline \"two\", with comma\n\"quoted\" start");
    addLeaf(*state, {QStringLiteral("odd,name"), 9, RootSlot, 4, 2, description, 0, {}, {},
                     {{QStringLiteral("\"a,b\""), -1}, {QStringLiteral("日本語ｶﾅ"), 32767}, {QStringLiteral("\"x"), 0}}});
    ASSERT_TRUE(deleteSubtree(*state, 1)); // a freed range slot among used ones
    auto back = std::make_unique<AppState>();
    const QByteArray bytes = roundTrip(*state, *back);
    ASSERT_FALSE(HasFailure());
    const int leaf = childrenOf(*back, RootSlot).last();
    EXPECT_EQ(displayedName(*back, leaf), QStringLiteral("odd,name"));
    const MibAttribute &a = back->tables.attribute[attributeOf(*back, leaf)];
    EXPECT_EQ(displayedText(a.Description, a.DescriptionLength), description);
    QStringList items;
    for (int item : itemsOf(*back, leaf))
        items << displayedText(back->tables.list[item].ItemName, back->tables.list[item].ItemNameLength);
    EXPECT_EQ(items, (QStringList{"\"a,b\"", "日本語ｶﾅ", "\"x"}));
    // The line break is CR LF inside the quotes, like every other line end;
    // the file is in the code page.
    EXPECT_TRUE(bytes.contains("\"line one\r\nline \"\"two\"\", with comma\r\n\"\"quoted\"\" start\""));
    EXPECT_TRUE(bytes.contains("," + cp932::encode(QStringLiteral("日本語ｶﾅ")) + ",5,32767,1\r\n"));
}

// Each file is read over the sample design: slots the file does not reach
// keep their content but only the lines read are counted.
TEST_F(DesignFile, ReadingRules)
{
    QList<QByteArray> fresh = designFileImage(*std::make_unique<AppState>()).split('\n');
    fresh.removeLast();
    fresh[1] = "sysInfo,7,1,-1,1,1,extra,fields\r";
    fresh.insert(0, "a line before the first tag\r");
    fresh.insert(1003, "between sections\r");
    fresh.append("after the last tag\r");
    struct Row {
        const char *what;
        QByteArray image;
        QList<std::pair<int, QString>> names;
        int treeCount;
    };
    const Row rows[] = {
        {"LF only, lines outside sections, extra fields", fresh.join("\n").replace("\r", "") + "\n",
         {{0, "sysInfo"}, {2, ""}}, 1},
        {"short section, the others missing", "<MibTree>\r\nnewName,7,5,-1,1,1\r\n,0,0,0,0,0\r\n</MibTree>\r\n",
         {{0, "newName"}, {1, ""}, {2, "sysMode"}}, 1},
        {"repeated section continues in the next slots",
         "<MibTree>\r\na,1,1,-1,1,1\r\n</MibTree>\r\n<MibTree>\r\nb,1,2,-1,1,1\r\n</MibTree>\r\n",
         {{0, "a"}, {1, "b"}}, 2},
        {"lengths from the file", "<MibTree>\r\nabcdef,3,1,-1,1,1\r\n</MibTree>\r\n", {{0, "abc"}}, 1},
        {"negative length", "<MibTree>\r\nabc,-3,1,-1,1,1\r\n</MibTree>\r\n", {{0, ""}}, 1},
        {"1001 lines fill slot 1000",
         "<MibTree>\r\n" + QByteArray(",0,0,0,0,0\r\n").repeated(1000) + "last,4,1,-1,1,1\r\n</MibTree>\r\n",
         {{1000, "last"}}, 1},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto state = std::make_unique<AppState>();
        buildSampleDesign(*state);
        const MibList firstItem = state->tables.list[0];
        writeBytes(row.image);
        ASSERT_TRUE(readDesignFile(*state, path()));
        for (const auto &[slot, name] : row.names)
            EXPECT_EQ(displayedName(*state, slot), name) << slot;
        EXPECT_EQ(state->tables.MibTreeCount, row.treeCount);
        EXPECT_EQ(state->tables.MibListCount, 0);
        EXPECT_EQ(state->tables.list[0].ItemName == firstItem.ItemName, !row.image.contains("<MibList>"));
    }
}

TEST_F(DesignFile, EachFailureLeavesTablesAndCountersUntouched)
{
    const QByteArray head = "<MibTree>\r\nnewName,7,5,-1,1,1\r\n";
    const std::pair<const char *, QByteArray> rows[] = {
        {"too few fields", head + "x,1,1,-1,1\r\n</MibTree>\r\n"},
        {"not a number", head + "x,1,1a,-1,1,1\r\n</MibTree>\r\n"},
        {"beyond int32", head + "x,1,4294967296,-1,1,1\r\n</MibTree>\r\n"},
        {"no closing tag", head},
        {"tag with trailing blank", head + "</MibTree> \r\n</MibTree>\r\n"},
        {"unterminated quote", head + "\"x,1,1,-1,1,1\r\n</MibTree>\r\n"},
        {"more lines than slots", "<MibTree>\r\n" + QByteArray(",0,0,0,0,0\r\n").repeated(1002) + "</MibTree>\r\n"},
        {"no such file", QByteArray()},
    };
    for (const auto &[what, image] : rows) {
        auto state = std::make_unique<AppState>();
        buildSampleDesign(*state);
        const QByteArray before = designFileImage(*state);
        if (image.isEmpty())
            QFile::remove(path());
        else
            writeBytes(image);
        QString error;
        EXPECT_FALSE(readDesignFile(*state, path(), &error)) << what;
        EXPECT_FALSE(error.isEmpty()) << what;
        EXPECT_EQ(designFileImage(*state), before) << what;
        EXPECT_EQ(counters(*state), (std::array<int16_t, 4>{8, 7, 2, 5})) << what;
    }
}

TEST_F(DesignFile, FailedWriteKeepsTheOldFile)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    ASSERT_TRUE(writeDesignFile(*state, path()));
    const QByteArray good = readBytes(path());
    addNode(*state, QStringLiteral("more"), 9);
    // A folder cannot be written: the write fails and nothing else changes.
    EXPECT_FALSE(writeDesignFile(*state, m_dir.path()));
    EXPECT_FALSE(writeDesignFile(*state, m_dir.filePath(QStringLiteral("no/such/folder.mdf"))));
    EXPECT_EQ(readBytes(path()), good);
}

TEST(DottedOid, FollowsTheParentsUpToEnterprise)
{
    auto state = std::make_unique<AppState>();
    const int acme = addNode(*state, QStringLiteral("acme"), 99999);
    const int system = addNode(*state, QStringLiteral("system"), 1, acme);
    const int mode = addNode(*state, QStringLiteral("mode"), 2147483647, system);
    const int unused = addNode(*state, QStringLiteral("unused"), 3);
    state->tables.tree[unused].InUse = 0;
    EXPECT_EQ(dottedOid(*state, RootSlot), QStringLiteral("1.3.6.1.4.1"));
    EXPECT_EQ(dottedOid(*state, mode), QStringLiteral("1.3.6.1.4.1.99999.1.2147483647"));
    // A free slot, slots out of range, a parent that is gone, a chain that loops.
    for (int slot : {unused, -2, SlotCount})
        EXPECT_EQ(dottedOid(*state, slot), QString()) << slot;
    for (int parent : {unused, mode}) {
        state->tables.tree[system].Parent = parent;
        EXPECT_EQ(dottedOid(*state, mode), QString()) << parent;
    }
}
