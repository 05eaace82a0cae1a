// MIB files from the Tree window through the real libkorvel: creating one
// from the button below the tree, loading one back with the tree rebuilt,
// and the Tree window's own first line when a load fails. The bridges find
// libkorvel beside the program or on the library path the test sets.
#include "designfile.h"
#include "sampledesign.h"
#include "treefixture.h"

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

} // namespace

class TreeMibTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;
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
        f.click("Command1");
        QCOMPARE(f.state->FileDialogMode, 3);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("MIBファイルを作成しました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("Korvel"));
        QVERIFY(contents(mib).contains("portTable"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));

        // Load it into another design, with an object shown in the panel.
        f.window->close();
        QTRY_VERIFY(!f.window);
        f.state = std::make_unique<AppState>();
        addNode(*f.state, QStringLiteral("other"), 3);
        f.state->ListLevel = 0;
        QVERIFY(f.show());
        f.clickText(QStringLiteral("other(3)"));
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("TREE_LOAD");
        QCOMPARE(f.state->FileDialogMode, 4);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("変数に読み込みました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("ファイルオープンの確認"));
        QCOMPARE(TreeFixture::childTexts(f.root()),
                 (QStringList{QStringLiteral("sysInfo(1)"), QStringLiteral("portTable(2)")}));
        QCOMPARE(TreeFixture::childTexts(f.item(QStringLiteral("portEntry(1)"))),
                 (QStringList{QStringLiteral("portIndex(1)"), QStringLiteral("portName(2)"),
                              QStringLiteral("portStatus(3)")}));
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        // The title and the current file stay; so do the panel's values.
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(f.state->ShownItemIndex, 2);
        QCOMPARE(f.state->EditTarget, 0);
        QCOMPARE(f.text("Text5"), QStringLiteral("other"));
    }

    void aMibFileThatCannotBeReadLeavesTheTree()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString mib = f.path(QStringLiteral("broken.mib"));
        QVERIFY(writeBytes(mib, "TEST-MIB DEFINITIONS ::= BEGIN\r\nEND\r\n"));
        // A folder where the reader's token file should go: the tokenizer
        // cannot create it and says so in error.log.
        QVERIFY(QDir().mkdir(mib + QStringLiteral("_tmp1_token")));
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("TREE_LOAD");
        QCOMPARE(f.services->texts(),
                 QStringList{QStringLiteral("MIBファイルのオープンに失敗しました。\r詳細は error.log を参照してください。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.itemCount(), 9);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
    }

    void aMibFileThatCannotBeWrittenIsReported()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("gone/out.mib")));
        f.click("Command1");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("MIBファイルの作成に失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QVERIFY(!QFile::exists(f.path(QStringLiteral("gone/out.mib"))));
    }
};

QTEST_MAIN(TreeMibTest)
#include "test_tree_mib.moc"
