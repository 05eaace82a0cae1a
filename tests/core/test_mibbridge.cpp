#include "cp932.h"
#include "designfile.h"
#include "mibbridge.h"
#include "programfiles.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

class MibBridge : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path()); // error.log lives in the working folder
        setMibLibraryPath(QStringLiteral(KORVEL_LIBRARY));
        m_state = std::make_unique<AppState>();
    }

    void TearDown() override
    {
        QDir::setCurrent(m_previous);
        setMibLibraryPath(QString());
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_previous;
    std::unique_ptr<AppState> m_state;
};

} // namespace

TEST_F(MibBridge, CreateLeavesTheTextsAsTheyReadAfterTheCodePage)
{
    buildSampleDesign(*m_state);
    auto &node = m_state->tables.tree[0];
    storeText(node.Name, QStringLiteral("caf\u00e9Info"), NameWidth); // é is not in code page 932
    node.NameLength = 8;
    auto &attribute = m_state->tables.attribute[0];
    storeText(attribute.Description, QStringLiteral("温度 and more"), NameWidth);
    attribute.DescriptionLength = 2; // only "温度" counts
    // A full field of double-byte characters and its zero byte fit the record.
    auto &full = m_state->tables.attribute[5];
    storeText(full.Description, QString(NameWidth, u'あ'), NameWidth);
    full.DescriptionLength = NameWidth;
    const QString file = path(QStringLiteral("sample.mib"));

    ASSERT_EQ(createMibFile(*m_state, file), BridgeResult::Success);
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
    ASSERT_EQ(createMibFile(*m_state, file), BridgeResult::Success);
    EXPECT_EQ(readBytes(file), written);
    EXPECT_EQ(snapshot(*m_state), after);
}

TEST_F(MibBridge, FailuresAndAMissingLibraryKeepTheTables)
{
    struct Row {
        const char *what;
        QString library;
        bool load;
        const char *file;
        BridgeResult result;
    };
    const QString fake = QStringLiteral(KORVEL_FAKE_LIBRARY);
    const QString nowhere = path(QStringLiteral("nowhere/libkorvel.so"));
    const Row rows[] = {
        {"create in a missing folder", QStringLiteral(KORVEL_LIBRARY), false, "missing/x.mib", BridgeResult::Failure},
        {"load a missing file", QStringLiteral(KORVEL_LIBRARY), true, "x.mib", BridgeResult::Failure},
        {"create without the library", nowhere, false, "x.mib", BridgeResult::Unavailable},
        {"load without the library", nowhere, true, "x.mib", BridgeResult::Unavailable},
        {"create without the export", fake, false, "x.mib", BridgeResult::Unavailable},
        // The stand-in scribbles over the arrays before it fails.
        {"load that fails", fake, true, "bad.mib", BridgeResult::Failure},
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
        setMibLibraryPath(row.library);
        const QString file = path(QString::fromLatin1(row.file));
        EXPECT_EQ(row.load ? loadMibFile(*m_state, file) : createMibFile(*m_state, file), row.result);
        EXPECT_EQ(snapshot(*m_state), before);
        EXPECT_FALSE(QFile::exists(file));
        // A load clears the log of an earlier one, whatever its outcome.
        EXPECT_EQ(QFile::exists(QStringLiteral("error.log")), !row.load);
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing"))));
}

TEST_F(MibBridge, LoadTakesTheLibrarysTablesWithLengthsInCharacters)
{
    setMibLibraryPath(QStringLiteral(KORVEL_FAKE_LIBRARY));
    buildSampleDesign(*m_state);
    m_state->ListLevel = 4;
    auto &last = m_state->tables.tree[1000];
    storeText(last.Name, QStringLiteral("beyond"), NameWidth);
    last.NameLength = 6;

    ASSERT_EQ(loadMibFile(*m_state, path(QStringLiteral("good.mib"))), BridgeResult::Success);
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
