#include "cp932.h"
#include "designfile.h"
#include "mibbridge.h"
#include "miblibrary.h"
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

QByteArray readBytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Everything a bridge may change: texts and numbers of slots 0 to 999,
// counters and ListLevel.
QByteArray snapshot(const AppState &s)
{
    const DefinitionTables &t = s.tables;
    return designFileImage(s) + QStringLiteral("%1,%2,%3,%4,%5")
                                    .arg(t.MibTreeCount).arg(t.MibAttributeCount).arg(t.MibRangeCount)
                                    .arg(t.MibListCount).arg(s.ListLevel).toLatin1();
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
    const QByteArray written = readBytes(file);
    EXPECT_TRUE(written.contains("\tcaf?Info    \t\tOBJECT IDENTIFIER ::= { enterprise 1 }\r\n"));
    EXPECT_TRUE(written.contains("\t\t\t\"" + cp932::encode(QStringLiteral("温度")) + "\"\r\n"));
    EXPECT_TRUE(written.contains("\t\t\t\"" + cp932::encode(QString(NameWidth, u'あ')) + "\"\r\n"));

    EXPECT_EQ(node.Name, QStringLiteral("caf?Info").leftJustified(NameWidth));
    EXPECT_EQ(node.NameLength, 8);
    EXPECT_EQ(attribute.Description, QStringLiteral("温度 and more").leftJustified(NameWidth));
    EXPECT_EQ(m_state->tables.MibTreeCount, 8);

    // Nothing changes the second time: the same file, the same tables.
    const QByteArray after = snapshot(*m_state);
    ASSERT_EQ(createMibFile(m_library, *m_state, file), BridgeResult::Success);
    EXPECT_EQ(readBytes(file), written);
    EXPECT_EQ(snapshot(*m_state), after);
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
    const QByteArray before = snapshot(*m_state);
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QFile log(QStringLiteral("error.log"));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("from an earlier read\n");
        log.close();
        const QString file = path(QString::fromLatin1(row.file));
        EXPECT_EQ(row.load ? loadMibFile(*row.library, *m_state, file) : createMibFile(*row.library, *m_state, file),
                  row.result);
        EXPECT_EQ(snapshot(*m_state), before);
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
    EXPECT_EQ(snapshot(*m_state), snapshot(*expected));
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
