// The design file, the library bridge, the code page and the program's
// files: what core reads and writes.
#include "cp932.h"
#include "designfile.h"
#include "mibbridge.h"
#include "miblibrary.h"
#include "oid.h"
#include "programfiles.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

class DesignFile : public ::testing::Test
{
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("design.mdf")); }

    // Writes `state` and reads it back into `back`: the same bytes and counters.
    QByteArray roundTrip(const AppState &state, AppState &back)
    {
        EXPECT_TRUE(writeDesignFile(state, path()));
        EXPECT_TRUE(readDesignFile(back, path()));
        const QByteArray bytes = fileBytes(path());
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
    const korvel::MibAttribute &a = back->tables.attribute[attributeOf(*back, leaf)];
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
        const korvel::MibList firstItem = state->tables.list[0];
        writeFile(path(), row.image);
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
            writeFile(path(), image);
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
    const QByteArray good = fileBytes(path());
    addNode(*state, QStringLiteral("more"), 9);
    // A folder cannot be written: the write fails and nothing else changes.
    EXPECT_FALSE(writeDesignFile(*state, m_dir.path()));
    EXPECT_FALSE(writeDesignFile(*state, m_dir.filePath(QStringLiteral("no/such/folder.mdf"))));
    EXPECT_EQ(fileBytes(path()), good);
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

namespace {

// Everything a bridge may change: an edit's snapshot and ListLevel.
QByteArray bridgeSnapshot(const AppState &s)
{
    return snapshot(s) + ',' + QByteArray::number(s.ListLevel);
}

// A stand-in for libkorvel with MIBAnalysisProc only. A path ending in
// "good.mib" reads as a fixed design; any other path fails after scribbling
// over the records, which the bridge must ignore.
class StandIn : public MibLibrary
{
public:
    std::optional<int32_t> create(RecordImage &, const QByteArray &) override { return std::nullopt; }

    std::optional<int32_t> analyse(RecordImage &image, const QByteArray &path) override
    {
        if (!path.endsWith("good.mib")) {
            std::memset(static_cast<void *>(image.tree.data()), 'A', 10 * sizeof(::MibTree));
            return -1;
        }
        // The library's arrays end before slot 1000.
        std::memset(static_cast<void *>(image.tree.data()), 0, KORVEL_MIB_RECORDS * sizeof(::MibTree));
        std::memset(static_cast<void *>(image.attribute.data()), 0, KORVEL_MIB_RECORDS * sizeof(::MibAttribute));
        std::memset(static_cast<void *>(image.range.data()), 0, KORVEL_MIB_RECORDS * sizeof(::MibRange));
        std::memset(static_cast<void *>(image.list.data()), 0, KORVEL_MIB_RECORDS * sizeof(::MibList));
        // Lengths as the library gives them: in bytes. ポート, then a name of
        // half-width ｱ without a zero byte, a description ending in 状態 and a
        // free record, which keeps its numbers.
        image.tree[0] = {"\x83\x7c\x81\x5b\x83\x67", 6, 1, -1, 1, 1};
        image.tree[1] = {{}, 512, 2, 0, 4, 1};
        std::memset(image.tree[1].Name, 0xB1, sizeof image.tree[1].Name);
        image.attribute[0] = {1, 6, 0, 2, "line one\n\x8f\xf3\x91\xd4", 13, 0, 1};
        image.attribute[1].Owner = 7;
        return 0;
    }
};

class MibBridge : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path()); // error.log lives in the working folder
        m_state = std::make_unique<AppState>();
    }

    void TearDown() override
    {
        QDir::setCurrent(m_previous);
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_previous;
    std::unique_ptr<AppState> m_state;
    SharedMibLibrary m_library{QStringLiteral(KORVEL_LIBRARY)};
    StandIn m_standIn;
};

} // namespace

TEST_F(MibBridge, CreateLeavesTheTextsAsTheyReadAfterTheCodePage)
{
    buildSampleDesign(*m_state);
    auto &node = m_state->tables.tree[0];
    // An emoji is not in code page 932 and comes back as one "?".
    storeText(node.Name, QStringLiteral("caf\U0001F600Info"), NameWidth);
    node.NameLength = 9;
    auto &attribute = m_state->tables.attribute[0];
    storeText(attribute.Description, QStringLiteral("温度 and more"), NameWidth);
    attribute.DescriptionLength = 2; // only "温度" counts
    // A full field of double-byte characters and its zero byte fit the record.
    auto &full = m_state->tables.attribute[5];
    storeText(full.Description, QString(NameWidth, u'あ'), NameWidth);
    full.DescriptionLength = NameWidth;
    const QString file = path(QStringLiteral("sample.mib"));

    ASSERT_EQ(createMibFile(m_library, *m_state, file), BridgeResult::Success);
    const QByteArray written = fileBytes(file);
    EXPECT_TRUE(written.contains("\tcaf?Info    \t\tOBJECT IDENTIFIER ::= { enterprise 1 }\r\n"));
    EXPECT_TRUE(written.contains("\t\t\t\"" + cp932::encode(QStringLiteral("温度")) + "\"\r\n"));
    EXPECT_TRUE(written.contains("\t\t\t\"" + cp932::encode(QString(NameWidth, u'あ')) + "\"\r\n"));

    EXPECT_EQ(node.Name, QStringLiteral("caf?Info").leftJustified(NameWidth));
    EXPECT_EQ(node.NameLength, 8);
    EXPECT_EQ(attribute.Description, QStringLiteral("温度 and more").leftJustified(NameWidth));
    EXPECT_EQ(m_state->tables.MibTreeCount, 8);

    // Nothing changes the second time: the same file, the same tables.
    const QByteArray after = bridgeSnapshot(*m_state);
    ASSERT_EQ(createMibFile(m_library, *m_state, file), BridgeResult::Success);
    EXPECT_EQ(fileBytes(file), written);
    EXPECT_EQ(bridgeSnapshot(*m_state), after);
}

TEST_F(MibBridge, FailuresAndAMissingLibraryKeepTheTables)
{
    struct Row {
        const char *what;
        MibLibrary *library;
        bool load;
        const char *file;
        BridgeResult result;
    };
    SharedMibLibrary nowhere(path(QStringLiteral("nowhere/libkorvel.so")));
    const Row rows[] = {
        {"create in a missing folder", &m_library, false, "missing/x.mib", BridgeResult::Failure},
        {"load a missing file", &m_library, true, "x.mib", BridgeResult::Failure},
        {"create without the library", &nowhere, false, "x.mib", BridgeResult::Unavailable},
        {"load without the library", &nowhere, true, "x.mib", BridgeResult::Unavailable},
        {"create without the export", &m_standIn, false, "x.mib", BridgeResult::Unavailable},
        // The stand-in scribbles over the arrays before it fails.
        {"load that fails", &m_standIn, true, "bad.mib", BridgeResult::Failure},
    };
    buildSampleDesign(*m_state);
    m_state->ListLevel = 3;
    const QByteArray before = bridgeSnapshot(*m_state);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QFile log(QStringLiteral("error.log"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("from an earlier read\n");
        log.close();
        const QString file = path(QString::fromLatin1(row.file));
        EXPECT_EQ(row.load ? loadMibFile(*row.library, *m_state, file) : createMibFile(*row.library, *m_state, file),
                  row.result);
        EXPECT_EQ(bridgeSnapshot(*m_state), before);
        EXPECT_FALSE(QFile::exists(file));
        // A load clears the log of an earlier one, whatever its outcome.
        EXPECT_EQ(QFile::exists(QStringLiteral("error.log")), !row.load);
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing"))));
}

TEST_F(MibBridge, LoadTakesTheLibrarysTablesWithLengthsInCharacters)
{
    buildSampleDesign(*m_state);
    m_state->ListLevel = 4;
    auto &last = m_state->tables.tree[1000];
    storeText(last.Name, QStringLiteral("beyond"), NameWidth);
    last.NameLength = 6;

    ASSERT_EQ(loadMibFile(m_standIn, *m_state, path(QStringLiteral("good.mib"))), BridgeResult::Success);
    // What the stand-in gives, in bytes and without a zero byte in one name;
    // a free record keeps its numbers, slot 1000 is not touched.
    auto expected = std::make_unique<AppState>();
    const int node = addNode(*expected, QStringLiteral("ポート"), 1);
    addLeaf(*expected, {QString(NameWidth, QChar(0xFF71)), 2, node, Syntax::ObjectIdentifier, Access::ReadWrite,
                        QStringLiteral("line one\n状態"), 0, {}, {}, {}});
    expected->tables.attribute[1].Owner = 7;
    expected->ListLevel = -1;
    EXPECT_EQ(bridgeSnapshot(*m_state), bridgeSnapshot(*expected));
    EXPECT_EQ(displayedName(*m_state, 1000), QStringLiteral("beyond"));
}

// The program's files beside it (the build folder), or where an installation
// puts them, relative to the program's folder.
TEST(ProgramFiles, HelpAndIconsBesideTheProgramOrInstalled)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = dir.filePath(QStringLiteral("bin"));
    const QString data = QDir::cleanPath(bin + QStringLiteral("/" KORVEL_DATA_FROM_BIN));
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(dataFolder(bin), bin) << "neither: the program's own folder";
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/icon")));
    EXPECT_EQ(dataFolder(bin), data);
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/help")));
    EXPECT_EQ(dataFolder(bin), bin) << "beside the program comes first";
    EXPECT_EQ(libraryCandidates(bin),
              (QStringList{bin + QStringLiteral("/libkorvel"),
                           QDir::cleanPath(bin + QStringLiteral("/" KORVEL_LIBRARY_FROM_BIN)) + QStringLiteral("/libkorvel")}));
}

TEST(Cp932, EncodesAndDecodes)
{
    struct Row {
        QString text;
        QByteArray bytes;
        bool decodesBack;
    };
    const Row rows[] = {
        {QString(), QByteArray(), true},
        {QStringLiteral("abc,1"), "abc,1", true},
        {QStringLiteral("注意"), "\x92\x8d\x88\xd3", true},
        {QStringLiteral("ﾂﾘｰ"), "\xc2\xd8\xb0", true},
        // The code page, not JIS Shift_JIS: the full-width tilde, not the
        // wave dash, and the NEC special characters.
        {QString(QChar(0xFF5E)), "\x81\x60", true},
        {QString(QChar(0x2460)), "\x87\x40", true},
        // What it cannot represent is one substitute, even outside the basic plane.
        {QStringLiteral("a\u00e9b"), "a?b", false},
        {QStringLiteral("x\U0001F600y"), "x?y", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(cp932::encode(row.text), row.bytes);
        EXPECT_EQ(cp932::decode(row.bytes) == row.text, row.decodesBack);
    }
    EXPECT_EQ(cp932::roundTrip(QStringLiteral("é注")), QStringLiteral("?注"));
    // Bytes that are no character, and a lead byte cut off at the end.
    const QChar substitute(cp932::SubstituteChar);
    EXPECT_EQ(cp932::decode("a\xff" "b"), QStringLiteral("a") + substitute + u'b');
    EXPECT_EQ(cp932::decode("ok\x82"), QStringLiteral("ok") + substitute);
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += QStringLiteral("テキスト%1,").arg(i);
    EXPECT_EQ(cp932::roundTrip(text), text);
}
