#include "cp932.h"
#include "designfile.h"
#include "mibbridge.h"
#include "mibimage.h"
#include "sampledesign.h"
#include "tableops.h"
#include "workedexample.h"

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

// Everything a bridge may change: texts and numbers (through the design file
// image), counters and ListLevel.
struct Snapshot {
    QByteArray image;
    int counters[4];
    int listLevel;

    explicit Snapshot(const AppState &s)
        : image(designFileImage(s)),
          counters{s.tables.MibTreeCount, s.tables.MibAttributeCount, s.tables.MibRangeCount,
                   s.tables.MibListCount},
          listLevel(s.ListLevel)
    {
    }

    bool operator==(const Snapshot &other) const
    {
        return image == other.image && std::equal(counters, counters + 4, other.counters)
            && listLevel == other.listLevel;
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

TEST_F(MibBridge, CreateWritesTheWorkedExample)
{
    buildWorkedExample(*m_state);
    const Snapshot before(*m_state);
    ASSERT_EQ(createMibFile(*m_state, path(QStringLiteral("example.mib"))), BridgeResult::Success);
    EXPECT_EQ(readBytes(path(QStringLiteral("example.mib"))),
              readBytes(QStringLiteral(KORVEL_TEST_DATA "/writer/worked_example.mib")));
    EXPECT_TRUE(Snapshot(*m_state) == before);
}

TEST_F(MibBridge, CreateLeavesTheTextsAsTheyReadAfterTheCodePage)
{
    buildSampleDesign(*m_state);
    auto &node = m_state->tables.tree[0];
    storeText(node.Name, QStringLiteral("caf\u00e9Info"), NameWidth); // é is not in code page 932
    node.NameLength = 8;
    auto &attribute = m_state->tables.attribute[0];
    storeText(attribute.Description, QStringLiteral("温度 and more"), NameWidth);
    attribute.DescriptionLength = 2; // only "温度" counts
    const QString file = path(QStringLiteral("sample.mib"));

    ASSERT_EQ(createMibFile(*m_state, file), BridgeResult::Success);
    const QByteArray written = readBytes(file);
    EXPECT_TRUE(written.contains("\tcaf?Info    \t\tOBJECT IDENTIFIER ::= { enterprise 1 }\r\n"));
    EXPECT_TRUE(written.contains("\t\t\t\"" + cp932::encode(QStringLiteral("温度")) + "\"\r\n"));
    EXPECT_TRUE(written.contains(cp932::encode(QStringLiteral("ポート名"))));

    EXPECT_EQ(displayedName(*m_state, 0), QStringLiteral("caf?Info"));
    EXPECT_EQ(node.Name.size(), NameWidth);
    EXPECT_EQ(node.NameLength, 8);
    EXPECT_EQ(attribute.Description, QStringLiteral("温度 and more").leftJustified(NameWidth));
    EXPECT_EQ(m_state->tables.MibTreeCount, 8);

    // Nothing changes the second time: the same file, the same tables.
    const Snapshot after(*m_state);
    ASSERT_EQ(createMibFile(*m_state, file), BridgeResult::Success);
    EXPECT_EQ(readBytes(file), written);
    EXPECT_TRUE(Snapshot(*m_state) == after);
}

TEST_F(MibBridge, CreateFailureKeepsTheTables)
{
    buildSampleDesign(*m_state);
    const Snapshot before(*m_state);
    EXPECT_EQ(createMibFile(*m_state, path(QStringLiteral("missing/x.mib"))), BridgeResult::Failure);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("missing"))));
    EXPECT_TRUE(Snapshot(*m_state) == before);
}

TEST_F(MibBridge, ALoadThatFailsLeavesTheTablesAndClearsTheOldLog)
{
    buildSampleDesign(*m_state);
    m_state->ListLevel = 3;
    const Snapshot before(*m_state);
    QFile log(QStringLiteral("error.log"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("from an earlier read\n");
    log.close();

    EXPECT_EQ(loadMibFile(*m_state, path(QStringLiteral("missing.mib"))), BridgeResult::Failure);
    EXPECT_FALSE(QFile::exists(QStringLiteral("error.log")));
    EXPECT_TRUE(Snapshot(*m_state) == before);
}

TEST_F(MibBridge, WithoutTheLibraryNothingIsCalledOrChanged)
{
    buildSampleDesign(*m_state);
    const Snapshot before(*m_state);
    setMibLibraryPath(path(QStringLiteral("nowhere/libkorvel.so")));
    EXPECT_EQ(createMibFile(*m_state, path(QStringLiteral("x.mib"))), BridgeResult::Unavailable);
    EXPECT_EQ(loadMibFile(*m_state, path(QStringLiteral("x.mib"))), BridgeResult::Unavailable);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.mib"))));
    EXPECT_TRUE(Snapshot(*m_state) == before);
}

TEST_F(MibBridge, LoadTakesTheLibrarysTablesWithLengthsInCharacters)
{
    setMibLibraryPath(QStringLiteral(KORVEL_FAKE_LIBRARY));
    buildSampleDesign(*m_state);
    m_state->ListLevel = 4;
    auto &last = m_state->tables.tree[1000];
    storeText(last.Name, QStringLiteral("beyond"), NameWidth);
    last.NameLength = 6;

    // The stand-in has no MIBCreateProc.
    EXPECT_EQ(createMibFile(*m_state, path(QStringLiteral("x.mib"))), BridgeResult::Unavailable);

    const Snapshot before(*m_state);
    EXPECT_EQ(loadMibFile(*m_state, path(QStringLiteral("bad.mib"))), BridgeResult::Failure);
    EXPECT_TRUE(Snapshot(*m_state) == before);

    ASSERT_EQ(loadMibFile(*m_state, path(QStringLiteral("good.mib"))), BridgeResult::Success);
    const DefinitionTables &t = m_state->tables;
    EXPECT_EQ(displayedName(*m_state, 0), QStringLiteral("ポート"));
    EXPECT_EQ(t.tree[0].NameLength, 3);
    EXPECT_EQ(t.tree[1].NameLength, NameWidth);
    EXPECT_EQ(displayedName(*m_state, 1), QString(NameWidth, QChar(0xFF71)));
    EXPECT_EQ(t.tree[1].Parent, 0);
    EXPECT_EQ(t.tree[1].Kind, ObjectKind::Leaf);
    EXPECT_EQ(displayedText(t.attribute[0].Description, t.attribute[0].DescriptionLength),
              QStringLiteral("line one\n状態"));
    EXPECT_EQ(t.attribute[0].Syntax, Syntax::ObjectIdentifier);
    EXPECT_EQ(t.attribute[1].Owner, 7);
    EXPECT_EQ(t.attribute[1].InUse, 0);
    EXPECT_EQ(t.range[0].InUse, 0);
    EXPECT_EQ(t.range[0].MinimumLength, 0);
    EXPECT_EQ(t.list[0].InUse, 0);
    EXPECT_EQ(displayedName(*m_state, 1000), QStringLiteral("beyond"));
    EXPECT_EQ(t.MibTreeCount, 2);
    EXPECT_EQ(t.MibAttributeCount, 1);
    EXPECT_EQ(t.MibRangeCount, 0);
    EXPECT_EQ(t.MibListCount, 0);
    EXPECT_EQ(m_state->ListLevel, -1);
}

TEST(RecordImage, FieldsHoldCodePageBytesAndAZeroByte)
{
    struct Row {
        QString text;
        int size;
        QByteArray field;
    };
    const QByteArray a = cp932::encode(QStringLiteral("あ"));
    const Row rows[] = {
        {QString(), 32, QByteArray()},
        {QStringLiteral("-40"), 32, "-40"},
        {QStringLiteral("ポート"), 512, cp932::encode(QStringLiteral("ポート"))},
        {QString(15, u'あ'), 32, a.repeated(15)},
        // No room for the zero byte: cut after the last whole character.
        {QString(16, u'あ'), 32, a.repeated(15)},
        {QStringLiteral("x") + QString(16, u'あ'), 32, "x" + a.repeated(15)},
        {QString(40, u'9'), 32, QByteArray(31, '9')},
        {QString(300, u'ｱ'), 512, QByteArray(300, '\xb1')},
        {QString(600, u'ｱ'), 512, QByteArray(511, '\xb1')},
    };
    for (const Row &row : rows) {
        QByteArray field(row.size, '\x55');
        encodeField(field.data(), std::size_t(row.size), row.text);
        EXPECT_EQ(field.left(row.field.size()), row.field) << row.text.toStdString();
        EXPECT_EQ(field.mid(row.field.size()), QByteArray(row.size - row.field.size(), '\0'))
            << row.text.toStdString();
        EXPECT_EQ(decodeField(field.constData(), std::size_t(row.size)), cp932::decode(row.field));
    }
}

TEST(RecordImage, FieldsWithoutZeroByteEndAtTheirLastWholeCharacter)
{
    const QByteArray whole = cp932::encode(QString(16, u'あ'));
    EXPECT_EQ(decodeField(whole.constData(), 32), QString(16, u'あ'));
    const QByteArray cut = QByteArray(31, 'a') + '\x82';
    EXPECT_EQ(decodeField(cut.constData(), 32), QString(31, u'a'));
}

TEST(RecordImage, TakesDisplayedTextsAndCopiesNumbers)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    auto &node = state->tables.tree[0];
    storeText(node.Name, QStringLiteral("sysInfoAndSoOn"), NameWidth);
    node.NameLength = 7;
    auto image = std::make_unique<RecordImage>();
    buildRecordImage(state->tables, 1000, *image);
    EXPECT_STREQ(image->tree[0].Name, "sysInfo");
    EXPECT_EQ(image->tree[0].NameLength, 7);
    EXPECT_EQ(image->tree[3].Kind, ObjectKind::Table);
    EXPECT_STREQ(image->range[0].Minimum, "-40");
    EXPECT_EQ(image->list[2].ItemValue, 0);

    auto back = std::make_unique<AppState>();
    takeRecordImage(back->tables, *image, 1000);
    rebuildCounters(back->tables, 1000);
    EXPECT_EQ(designFileImage(*back), designFileImage(*state));

    auto partial = std::make_unique<RecordImage>();
    buildRecordImage(state->tables, 4, *partial);
    EXPECT_EQ(partial->tree[4].InUse, 1);
    EXPECT_EQ(partial->tree[5].InUse, 0); // beyond the limit
}
