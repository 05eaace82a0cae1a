// The List window's file commands: the file dialog's answer, the extension
// and existence checks, the overwrite question, the design file opened and
// saved, MIB files created and loaded through the real libkorvel (found on
// the library path the test sets) with error.log, and each command's failure
// message.
#include "designfile.h"
#include "listfixture.h"
#include "sampledesign.h"

#include <QDir>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Title = QStringLiteral("File - Korvel （リスト）");

// Messages as the tests compare them: caption, then text.
QString warning(const QString &text)
{
    return QStringLiteral("注意メッセージ: ") + text;
}

QString error(const QString &text)
{
    return QStringLiteral("警告メッセージ: ") + text;
}

QStringList shown(const RecordingServices &services)
{
    QStringList all;
    for (const Message &message : services.messages)
        all.append(message.caption + QStringLiteral(": ") + message.text);
    return all;
}

} // namespace

class ListFilesTest : public QObject
{
    Q_OBJECT

private:
    ListFixture f;
    QString m_startFolder;

    // Closes the window and shows a new one on a design of one node, at a
    // level below the top.
    bool showAnotherDesign()
    {
        f.window->close();
        if (!QTest::qWaitFor([this] { return f.window.isNull(); }))
            return false;
        f.state = std::make_unique<AppState>();
        f.services->messages.clear();
        addNode(*f.state, QStringLiteral("other"), 5);
        f.state->ListLevel = 0;
        return f.show();
    }

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

    // Commands that end without changing the design, the level, the current
    // file, the title or a file on disk. `existing` is what the chosen path
    // holds beforehand ("/": a folder with a file inside).
    void commandsThatChangeNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<QStringList>("messages");
        const QString mdf = warning(QStringLiteral("拡張子(.mdf)がついていないか無効です。"));
        const QString mib = warning(QStringLiteral("拡張子(.mib)がついていないか無効です。"));
        const QString missing = warning(QStringLiteral("ファイルがみつかりません。"));
        const QString overwrite = QStringLiteral("保存の確認: 元のファイルが上書きされますが、よろしいですか？");
        const QString saveFailed = error(QStringLiteral("ファイルの保存に失敗しました"));
        const QString createFailed = error(QStringLiteral("MIBファイルの作成に失敗しました"));
        const QByteArray none;
        QTest::newRow("open cancelled") << "MIB_OPEN" << "" << none << QStringList();
        QTest::newRow("save cancelled") << "MIB_SAVE" << "" << none << QStringList();
        // The file exists: the extension is checked before anything else.
        QTest::newRow("open capitals") << "MIB_OPEN" << "design.MDF" << QByteArray("x") << QStringList{mdf};
        QTest::newRow("save none") << "MIB_SAVE" << "design" << QByteArray("x") << QStringList{mdf};
        QTest::newRow("load capitals") << "MIB_DEF_OPEN" << "module.MIB" << QByteArray("x") << QStringList{mib};
        QTest::newRow("create capitals") << "Command3" << "module.MIB" << QByteArray("x") << QStringList{mib};
        QTest::newRow("open missing") << "MIB_OPEN" << "none.mdf" << none << QStringList{missing};
        QTest::newRow("save declined") << "MIB_SAVE" << "old.mdf" << QByteArray("old") << QStringList{overwrite};
        QTest::newRow("create declined") << "Command3" << "old.mib" << QByteArray("old") << QStringList{overwrite};
        // A design file that cannot be read leaves the design as it was.
        QTest::newRow("open broken") << "MIB_OPEN" << "broken.mdf" << QByteArray("<MibTree>\r\nnot a design\r\n")
                                     << QStringList{error(QStringLiteral("ファイルの読み込みに失敗しました"))};
        // A folder cannot be replaced by a file; the user is asked first.
        QTest::newRow("save over a folder") << "MIB_SAVE" << "taken.mdf" << QByteArray("/")
                                            << QStringList{overwrite, saveFailed};
        QTest::newRow("create over a folder") << "Command3" << "taken.mib" << QByteArray("/")
                                              << QStringList{overwrite, createFailed};
    }

    void commandsThatChangeNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QByteArray, existing);
        QFETCH(QStringList, messages);
        buildSampleDesign(*f.state);
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString path = f.path(file);
        const QString kept = existing == "/" ? path + QStringLiteral("/inside") : path;
        QVERIFY(existing != "/" || QDir().mkdir(path));
        QVERIFY(existing.isEmpty() || f.writeBytes(kept, existing == "/" ? "keep" : existing));
        if (file.isEmpty())
            f.services->cancelFileDialog(*f.state);
        else
            f.services->answerFileDialog(*f.state, path);
        // A question is answered No when the file is a file, Yes when it is a
        // folder.
        f.services->queueAnswer(existing == "/" ? MessageButton::Yes : MessageButton::No);
        f.run(command);

        QCOMPARE(f.services->openedDialogs.size(), 1);
        QCOMPARE(shown(*f.services), messages);
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.state->ListLevel, 3);
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(f.window->windowTitle(), Title);
        QCOMPARE(f.contents(kept), existing == "/" ? QByteArray("keep") : existing);
        QCOMPARE(QDir(f.folder->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 existing.isEmpty() ? QStringList() : QStringList{file});
    }

    void saveThenOpenUpdatesTheCurrentFileAndTitle()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("design.mdf"));
        // The title changes only after the notice is closed.
        QString titleDuringNotice;
        f.services->onMessage = [this, &titleDuringNotice](const Message &) {
            titleDuringNotice = f.window->windowTitle();
        };
        f.services->answerFileDialog(*f.state, file);
        f.trigger("MIB_SAVE");
        QCOMPARE(f.state->FileDialogMode, 2);
        QCOMPARE(shown(*f.services), QStringList{QStringLiteral("保存の確認: ファイルに保存しました。")});
        QCOMPARE(titleDuringNotice, Title);
        f.services->onMessage = nullptr;
        const QByteArray saved = designFileImage(*f.state);
        QCOMPARE(f.contents(file), saved);
        QCOMPARE(f.state->CurrentFile, QStringLiteral("design.mdf"));
        QCOMPARE(f.state->CurrentFolder, f.folder->path());
        QCOMPARE(f.state->CurrentDrive, QStringLiteral("/"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("design.mdf - Korvel （リスト）"));

        // Opened into another design, from a level below the top.
        QVERIFY(showAnotherDesign());
        const QString copy = f.path(QStringLiteral("copy.mdf"));
        QVERIFY(QFile::copy(file, copy));
        f.services->answerFileDialog(*f.state, copy);
        f.trigger("MIB_OPEN");
        QCOMPARE(f.state->FileDialogMode, 1);
        QCOMPARE(shown(*f.services), QStringList{QStringLiteral("ファイルオープンの確認: 変数に読み込みました。")});
        QCOMPARE(designFileImage(*f.state), saved);
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.names(), (QStringList{"sysInfo", "portTable"}));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("copy.mdf - Korvel （リスト）"));
    }

    void createsAMibFileAndLoadsItBack()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString mib = f.path(QStringLiteral("sample.mib"));
        f.services->answerFileDialog(*f.state, mib);
        f.click("Command3");
        QCOMPARE(f.state->FileDialogMode, 3);
        QCOMPARE(shown(*f.services), QStringList{QStringLiteral("Korvel: MIBファイルを作成しました。")});
        QVERIFY(f.contents(mib).contains("portTable"));
        // Creating leaves the title and the current file alone.
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));

        // Creating again over it asks first and writes the same bytes.
        const QByteArray first = f.contents(mib);
        f.services->answerFileDialog(*f.state, mib);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command3");
        QCOMPARE(shown(*f.services).mid(1), (QStringList{QStringLiteral("保存の確認: 元のファイルが上書きされますが、よろしいですか？"),
                                                         QStringLiteral("Korvel: MIBファイルを作成しました。")}));
        QCOMPARE(f.contents(mib), first);

        // Loaded into another design; an old error.log is gone afterwards.
        QVERIFY(f.writeBytes(QStringLiteral("error.log"), "from an earlier load\n"));
        QVERIFY(showAnotherDesign());
        f.services->answerFileDialog(*f.state, mib);
        f.trigger("MIB_DEF_OPEN");
        QCOMPARE(f.state->FileDialogMode, 4);
        QCOMPARE(shown(*f.services), QStringList{QStringLiteral("ファイルオープンの確認: 変数に読み込みました。")});
        QVERIFY(!QFile::exists(QStringLiteral("error.log")));
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.names(), (QStringList{"sysInfo", "portTable"}));
        // All four counters are rebuilt: the reader brings objects and
        // attributes, no ranges or enumeration items.
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        QCOMPARE(f.state->tables.MibAttributeCount, 7);
        QCOMPARE(f.state->tables.MibRangeCount, 0);
        QCOMPARE(f.state->tables.MibListCount, 0);
        QCOMPARE(f.window->windowTitle(), Title);
    }

    void aMibFileThatCannotBeReadLeavesTheDesign_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("logged");
        // A folder where the reader's token file should go: the tokenizer
        // cannot create it and says so in error.log.
        QTest::newRow("token file blocked") << QByteArray("TEST-MIB DEFINITIONS ::= BEGIN\r\nEND\r\n") << true;
        // The tokenizer writes no line for a string never closed, and the
        // earlier log is gone.
        QTest::newRow("string never closed")
            << QByteArray("TEST-MIB DEFINITIONS ::= BEGIN\r\nDESCRIPTION \"open\r\nEND\r\n") << false;
    }

    void aMibFileThatCannotBeReadLeavesTheDesign()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, logged);
        buildSampleDesign(*f.state);
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString mib = f.path(QStringLiteral("broken.mib"));
        QVERIFY(f.writeBytes(mib, text));
        QVERIFY(!logged || QDir().mkdir(mib + QStringLiteral("_tmp1_token")));
        QVERIFY(f.writeBytes(QStringLiteral("error.log"), "from an earlier load\n"));

        f.services->answerFileDialog(*f.state, mib);
        f.trigger("MIB_DEF_OPEN");
        QCOMPARE(shown(*f.services),
                 QStringList{warning(QStringLiteral("MIBファイルの読み込みに失敗しました。\r詳細は error.log を参照してください。"))});
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.state->ListLevel, 3);
        QCOMPARE(f.contents(QStringLiteral("error.log")).startsWith("Token_Analysis: "), logged);
        QCOMPARE(QFile::exists(QStringLiteral("error.log")), logged);
    }
};

QTEST_MAIN(ListFilesTest)
#include "test_list_files.moc"
