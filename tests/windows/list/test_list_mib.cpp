// MIB files from the List window through the real libkorvel: creating and
// loading with their messages, error.log, and the failures. These need the
// library's two exports; the bridges find libkorvel beside the program or on
// the library path the test sets.
#include "designfile.h"
#include "listfixture.h"
#include "sampledesign.h"

#include <QDir>
#include <QFile>

using namespace korvel;
using namespace korvel::testing;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString &loadFailure()
{
    static const QString text =
        QStringLiteral("MIBファイルの読み込みに失敗しました。\r詳細は error.log を参照してください。");
    return text;
}

} // namespace

class ListMibTest : public QObject
{
    Q_OBJECT

private:
    ListFixture f;
    QString m_startFolder;

private Q_SLOTS:
    void init()
    {
        f.setUp();
        // error.log lives in the current folder: each test has its own.
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(f.folder->path()));
    }

    void cleanup()
    {
        QDir::setCurrent(m_startFolder);
        f.tearDown();
    }

    void createsAMibFileAndLoadsItBack()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString mib = f.path(QStringLiteral("sample.mib"));

        f.services->answerFileDialog(*f.state, mib);
        f.click("Command3");
        QCOMPARE(f.state->FileDialogMode, 3);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("MIBファイルを作成しました。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("Korvel"));
        QVERIFY(contents(mib).contains("portTable"));
        // Creating leaves the title and the current file alone.
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));

        // Creating again over it asks first and writes the same bytes.
        const QByteArray first = contents(mib);
        f.services->answerFileDialog(*f.state, mib);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command3");
        QCOMPARE(f.services->texts().mid(1),
                 (QStringList{QStringLiteral("元のファイルが上書きされますが、よろしいですか？"),
                              QStringLiteral("MIBファイルを作成しました。")}));
        QCOMPARE(contents(mib), first);

        // Load it into an empty design from a level below the top; an old
        // error.log is gone afterwards.
        f.window->close();
        QTRY_VERIFY(!f.window);
        f.state = std::make_unique<AppState>();
        addNode(*f.state, QStringLiteral("other"), 3);
        f.state->ListLevel = 0;
        QVERIFY(writeBytes(QStringLiteral("error.log"), "from an earlier load\n"));
        QVERIFY(f.show());
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("MIB_DEF_OPEN");
        QCOMPARE(f.state->FileDialogMode, 4);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("変数に読み込みました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("ファイルオープンの確認"));
        QVERIFY(!QFile::exists(QStringLiteral("error.log")));
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.names(), (QStringList{QStringLiteral("sysInfo"), QStringLiteral("portTable")}));
        // All four counters are rebuilt: the reader brings objects and
        // attributes, no ranges or enumeration items.
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        QCOMPARE(f.state->tables.MibAttributeCount, 7);
        QCOMPARE(f.state->tables.MibRangeCount, 0);
        QCOMPARE(f.state->tables.MibListCount, 0);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("File - Korvel （リスト）"));
    }

    void aMibFileThatCannotBeReadLeavesTheDesignAndPointsToErrorLog()
    {
        buildSampleDesign(*f.state);
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString mib = f.path(QStringLiteral("broken.mib"));
        QVERIFY(writeBytes(mib, "TEST-MIB DEFINITIONS ::= BEGIN\r\nEND\r\n"));
        // A folder where the reader's token file should go: the tokenizer
        // cannot create it and says so in error.log.
        QVERIFY(QDir().mkdir(mib + QStringLiteral("_tmp1_token")));

        f.services->answerFileDialog(*f.state, mib);
        f.trigger("MIB_DEF_OPEN");
        QCOMPARE(f.services->texts(), QStringList{loadFailure()});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.state->ListLevel, 3);
        QVERIFY(QFile::exists(QStringLiteral("error.log")));
    }

    void aMibTextTheTokenizerRefusesLeavesTheDesign()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString mib = f.path(QStringLiteral("bad.mib"));
        // A description whose string is never closed.
        QVERIFY(writeBytes(mib, "TEST-MIB DEFINITIONS ::= BEGIN\r\nDESCRIPTION \"open\r\nEND\r\n"));
        QVERIFY(writeBytes(QStringLiteral("error.log"), "from an earlier load\n"));
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("MIB_DEF_OPEN");
        QCOMPARE(f.services->texts(), QStringList{loadFailure()});
        QCOMPARE(designFileImage(*f.state), before);
        // The tokenizer writes no line, and the earlier log is gone.
        QVERIFY(!QFile::exists(QStringLiteral("error.log")));
    }

    void aMibFileThatCannotBeWrittenIsReported()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("gone/out.mib")));
        f.click("Command3");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("MIBファイルの作成に失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("警告メッセージ"));
        QVERIFY(!QFile::exists(f.path(QStringLiteral("gone/out.mib"))));
    }
};

QTEST_MAIN(ListMibTest)
#include "test_list_mib.moc"
