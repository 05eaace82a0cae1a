// The List window's file commands: the file dialog's answer, the extension
// and existence checks, the overwrite question, the design file opened and
// saved, and each command's failure message. MIB files through the library
// are tested in test_list_mib.cpp.
#include "designfile.h"
#include "listfixture.h"
#include "program.h"
#include "sampledesign.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>

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

class ListFilesTest : public QObject
{
    Q_OBJECT

private:
    ListFixture f;

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void cancelDoesNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("open") << QStringLiteral("MIB_OPEN");
        QTest::newRow("save") << QStringLiteral("MIB_SAVE");
        QTest::newRow("load") << QStringLiteral("MIB_DEF_OPEN");
        QTest::newRow("create") << QStringLiteral("Command3");
    }

    void cancelDoesNothing()
    {
        QFETCH(QString, command);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.services->cancelFileDialog(*f.state);
        if (command.startsWith(QLatin1String("MIB_")))
            f.trigger(command.toLatin1().constData());
        else
            f.click(command.toLatin1().constData());
        QCOMPARE(f.services->openedDialogs.size(), 1);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("File - Korvel （リスト）"));
        QVERIFY(QDir(f.folder->path()).isEmpty());
    }

    void wrongExtensionsAreRefused_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        const QString mdf = QStringLiteral("拡張子(.mdf)がついていないか無効です。");
        const QString mib = QStringLiteral("拡張子(.mib)がついていないか無効です。");
        QTest::newRow("open capitals") << "MIB_OPEN" << "design.MDF" << mdf;
        QTest::newRow("open other") << "MIB_OPEN" << "design.mib" << mdf;
        QTest::newRow("open short") << "MIB_OPEN" << "mdf" << mdf;
        QTest::newRow("save capitals") << "MIB_SAVE" << "design.Mdf" << mdf;
        QTest::newRow("save none") << "MIB_SAVE" << "design" << mdf;
        QTest::newRow("load capitals") << "MIB_DEF_OPEN" << "module.MIB" << mib;
        QTest::newRow("load other") << "MIB_DEF_OPEN" << "module.mdf" << mib;
        QTest::newRow("create capitals") << "Command3" << "module.MIB" << mib;
        QTest::newRow("create short") << "Command3" << "mib" << mib;
    }

    void wrongExtensionsAreRefused()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, message);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        // The file exists: the extension is checked before anything else.
        QVERIFY(writeBytes(f.path(file), "x"));
        f.services->answerFileDialog(*f.state, f.path(file));
        if (command.startsWith(QLatin1String("MIB_")))
            f.trigger(command.toLatin1().constData());
        else
            f.click(command.toLatin1().constData());
        QCOMPARE(f.services->texts(), QStringList{message});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(contents(f.path(file)), QByteArray("x"));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
    }

    void missingFilesAreReported_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::newRow("design file") << "MIB_OPEN" << "none.mdf";
        QTest::newRow("MIB file") << "MIB_DEF_OPEN" << "none.mib";
    }

    void missingFilesAreReported()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QVERIFY(f.show());
        f.services->answerFileDialog(*f.state, f.path(file));
        f.trigger(command.toLatin1().constData());
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルがみつかりません。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
    }

    void saveThenOpenUpdatesTheCurrentFileAndTitle()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("design.mdf"));

        f.services->answerFileDialog(*f.state, file);
        f.trigger("MIB_SAVE");
        QCOMPARE(f.state->FileDialogMode, 2);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルに保存しました。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("保存の確認"));
        QCOMPARE(contents(file), designFileImage(*f.state));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("design.mdf"));
        QCOMPARE(f.state->CurrentFolder, f.folder->path());
        QCOMPARE(f.state->CurrentDrive, QStringLiteral("/"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("design.mdf - Korvel （リスト）"));

        // Open it into an empty design, from a level below the top.
        const QByteArray saved = designFileImage(*f.state);
        f.window->close();
        QTRY_VERIFY(!f.window);
        f.state = std::make_unique<AppState>();
        f.services->messages.clear();
        addNode(*f.state, QStringLiteral("other"), 5);
        f.state->ListLevel = 0;
        QVERIFY(f.show());
        const QString copy = f.path(QStringLiteral("copy.mdf"));
        QVERIFY(QFile::copy(file, copy));
        f.services->answerFileDialog(*f.state, copy);
        f.trigger("MIB_OPEN");
        QCOMPARE(f.state->FileDialogMode, 1);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("変数に読み込みました。")});
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("ファイルオープンの確認"));
        QCOMPARE(f.services->lastMessage().icon, MessageIcon::None);
        QCOMPARE(designFileImage(*f.state), saved);
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.names(), (QStringList{QStringLiteral("sysInfo"), QStringLiteral("portTable")}));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("copy.mdf"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("copy.mdf - Korvel （リスト）"));
    }

    void theTitleChangesOnlyAfterTheNoticeIsClosed()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        QString titleDuringNotice;
        f.services->onMessage = [this, &titleDuringNotice](const Message &) {
            titleDuringNotice = f.window->windowTitle();
        };
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("a.mdf")));
        f.trigger("MIB_SAVE");
        QCOMPARE(titleDuringNotice, QStringLiteral("File - Korvel （リスト）"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("a.mdf - Korvel （リスト）"));
    }

    void overwritingAsksFirst_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::newRow("save") << "MIB_SAVE" << "old.mdf";
        QTest::newRow("create") << "Command3" << "old.mib";
    }

    void overwritingAsksFirst()
    {
        QFETCH(QString, command);
        QFETCH(QString, file);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        QVERIFY(writeBytes(f.path(file), "old"));

        f.services->answerFileDialog(*f.state, f.path(file));
        f.services->queueAnswer(MessageButton::No);
        if (command.startsWith(QLatin1String("MIB_")))
            f.trigger(command.toLatin1().constData());
        else
            f.click(command.toLatin1().constData());
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("元のファイルが上書きされますが、よろしいですか？")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Question);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("保存の確認"));
        QCOMPARE(contents(f.path(file)), QByteArray("old"));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
    }

    void aSaveAnsweredYesReplacesTheFile()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("old.mdf"));
        QVERIFY(writeBytes(file, "old"));
        f.services->answerFileDialog(*f.state, file);
        f.services->queueAnswer(MessageButton::Yes);
        f.trigger("MIB_SAVE");
        QCOMPARE(f.services->texts(), (QStringList{QStringLiteral("元のファイルが上書きされますが、よろしいですか？"),
                                                   QStringLiteral("ファイルに保存しました。")}));
        QCOMPARE(contents(file), designFileImage(*f.state));
    }

    void aDesignFileThatCannotBeReadLeavesEverythingAsItWas()
    {
        buildSampleDesign(*f.state);
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("broken.mdf"));
        QVERIFY(writeBytes(file, "<MibTree>\r\nnot a design\r\n"));
        const QByteArray before = designFileImage(*f.state);

        f.services->answerFileDialog(*f.state, file);
        f.trigger("MIB_OPEN");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルの読み込みに失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("警告メッセージ"));
        QCOMPARE(designFileImage(*f.state), before);
        QCOMPARE(f.state->ListLevel, 3);
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("File - Korvel （リスト）"));
    }

    void aSaveThatFailsKeepsWhatWasThere()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        // A folder where the file should go: it exists, so the user is asked,
        // and it cannot be replaced by a file.
        const QString file = f.path(QStringLiteral("taken.mdf"));
        QVERIFY(QDir().mkdir(file));
        QVERIFY(writeBytes(file + QStringLiteral("/inside"), "keep"));
        f.services->answerFileDialog(*f.state, file);
        f.services->queueAnswer(MessageButton::Yes);
        f.trigger("MIB_SAVE");
        QCOMPARE(f.services->texts().last(), QStringLiteral("ファイルの保存に失敗しました"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(contents(file + QStringLiteral("/inside")), QByteArray("keep"));
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));

        // A folder that does not exist: no question, the same failure.
        f.services->messages.clear();
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("gone/a.mdf")));
        f.trigger("MIB_SAVE");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルの保存に失敗しました")});
    }

    void theRealFileDialogAnswersThroughItsPathBox()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        QVERIFY(f.show());
        const QString file = f.path(QStringLiteral("typed.mdf"));
        f.services->drive(ModalDialog::FileOpe, [file](QDialog &dialog) {
            dialog.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(file);
            dialog.findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        });
        f.trigger("MIB_SAVE");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイルに保存しました。")});
        QVERIFY(QFile::exists(file));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("typed.mdf - Korvel （リスト）"));

        // Closed by its close box, the dialog answers nothing: no command runs.
        f.services->messages.clear();
        f.trigger("MIB_OPEN");
        QCOMPARE(f.state->SelectedFile, QString());
        QVERIFY(f.services->messages.isEmpty());
    }
};

QTEST_MAIN(ListFilesTest)
#include "test_list_files.moc"
