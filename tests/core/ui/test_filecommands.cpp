// The file commands without any window, as the Tree window runs them: its
// callbacks, its choice forgotten after a failed open, and its first line
// of the failed-load message; the module information's side file and the
// SMIv2 module.
#include "designfile.h"
#include "filecommands.h"
#include "miblibrary.h"
#include "moduleinfo.h"
#include "recordingservices.h"
#include "sampledesign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

class FileCommandsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_events;

    std::unique_ptr<FileCommands> commands()
    {
        auto files = std::make_unique<FileCommands>(*m_state, *m_services, nullptr);
        files->refresh = [this] { m_events.append(QStringLiteral("refresh")); };
        files->updateTitle = [this] { m_events.append(QStringLiteral("title ") + m_state->CurrentFile); };
        m_services->onMessage = [this](const Message &message) { m_events.append(message.text); };
        return files;
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static ModuleInfo givenModuleInfo(const AppState &state)
    {
        ModuleInfo info = defaultModuleInfo(state);
        info.moduleName = QStringLiteral("ACME-WIDGET-MIB");
        info.lastUpdated = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        info.revisions = {{QDateTime(QDate(2025, 4, 1), QTime(0, 0), Qt::UTC), QStringLiteral("First.")}};
        return info;
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<AppState>();
        m_services = std::make_unique<RecordingServices>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_events.clear();
    }

    void openRefreshesBeforeTheNoticeAndRetitlesAfterIt()
    {
        buildSampleDesign(*m_state);
        const QString file = m_dir->filePath(QStringLiteral("tree.mdf"));
        QVERIFY(writeDesignFile(*m_state, file));
        m_state->ListLevel = 3;
        auto files = commands();
        m_services->answerFileDialog(*m_state, file);
        files->openDesignFile();
        QCOMPARE(m_events, (QStringList{QStringLiteral("refresh"), QStringLiteral("変数に読み込みました。"),
                                        QStringLiteral("title tree.mdf")}));
        QCOMPARE(m_state->ListLevel, -1);
    }

    void aFailedOpenForgetsTheChoiceForTheTreeWindow()
    {
        const QString file = m_dir->filePath(QStringLiteral("bad.mdf"));
        QFile bad(file);
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("<MibTree>\r\nnot a design\r\n");
        bad.close();
        auto files = commands();
        files->clearChoiceWhenOpenFails = true;
        m_services->answerFileDialog(*m_state, file);
        files->openDesignFile();
        QCOMPARE(m_events, QStringList{QStringLiteral("ファイルの読み込みに失敗しました")});
        QVERIFY(m_state->SelectedFile.isEmpty());
        QCOMPARE(m_state->CurrentFile, QStringLiteral("File"));
        // Each window names a failed MIB load its own way.
        QCOMPARE(files->loadFailureLine, FileCommands::listLoadFailureLine());
        QCOMPARE(FileCommands::listLoadFailureLine(), QStringLiteral("MIBファイルの読み込みに失敗しました。"));
        QCOMPARE(FileCommands::treeLoadFailureLine(), QStringLiteral("MIBファイルのオープンに失敗しました。"));
    }

    void withoutAFileDialogNothingHappens()
    {
        auto files = commands();
        m_state->SelectedFolder = m_dir->path();
        m_state->SelectedFile = QStringLiteral("stale.mdf");
        files->saveDesignFile();
        QVERIFY(m_events.isEmpty());
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("stale.mdf"))));
    }

    void aSaveWritesTheSideFileAndLeavesTheDesignAsItWas()
    {
        buildSampleDesign(*m_state);
        const ModuleInfo info = givenModuleInfo(*m_state);
        m_state->ModuleInformation = info;
        const QString file = m_dir->filePath(QStringLiteral("acme.mdf"));
        auto files = commands();
        m_services->answerFileDialog(*m_state, file);
        files->saveDesignFile();
        QCOMPARE(m_events, (QStringList{QStringLiteral("ファイルに保存しました。"), QStringLiteral("title acme.mdf")}));
        QCOMPARE(contents(m_dir->filePath(QStringLiteral("acme.mdi"))), moduleInfoImage(info));
        QVERIFY(writeDesignFile(*m_state, m_dir->filePath(QStringLiteral("plain.mdf"))));
        QCOMPARE(contents(file), contents(m_dir->filePath(QStringLiteral("plain.mdf"))));

        // A side file that cannot be written fails the save before the design is touched.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("blocked.mdi")));
        m_events.clear();
        m_services->answerFileDialog(*m_state, m_dir->filePath(QStringLiteral("blocked.mdf")));
        files->saveDesignFile();
        QCOMPARE(m_events, QStringList{QStringLiteral("ファイルの保存に失敗しました")});
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("blocked.mdf"))));
        QCOMPARE(m_state->CurrentFile, QStringLiteral("acme.mdf"));
    }

    void openReadsTheSideFile_data()
    {
        QTest::addColumn<QByteArray>("side"); // "given": givenModuleInfo's image
        QTest::addColumn<bool>("kept");
        QTest::addColumn<bool>("warned");
        QTest::newRow("read") << QByteArray("given") << true << false;
        QTest::newRow("missing") << QByteArray() << false << false;
        QTest::newRow("broken") << QByteArray("{\"format\": ") << false << true;
    }

    void openReadsTheSideFile()
    {
        QFETCH(QByteArray, side);
        QFETCH(bool, kept);
        QFETCH(bool, warned);
        buildSampleDesign(*m_state);
        const ModuleInfo info = givenModuleInfo(*m_state);
        const QString file = m_dir->filePath(QStringLiteral("acme.mdf"));
        QVERIFY(writeDesignFile(*m_state, file));
        const QByteArray image = side == "given" ? moduleInfoImage(info) : side;
        QFile sideFile(m_dir->filePath(QStringLiteral("acme.mdi")));
        QVERIFY(image.isEmpty() || (sideFile.open(QIODevice::WriteOnly) && sideFile.write(image) == image.size()));
        sideFile.close();
        // What the design had before goes in every case.
        m_state->ModuleInformation = ModuleInfo();
        m_state->ModuleInformation->moduleName = QStringLiteral("OLD-MIB");
        auto files = commands();
        m_services->answerFileDialog(*m_state, file);
        files->openDesignFile();
        QCOMPARE(m_state->ModuleInformation, kept ? std::optional<ModuleInfo>(info) : std::nullopt);
        QStringList expected{QStringLiteral("refresh"), QStringLiteral("変数に読み込みました。"),
                             QStringLiteral("title acme.mdf")};
        if (warned)
            expected.append(QStringLiteral("モジュール情報を読み込めませんでした。初期値に戻しました。"));
        QCOMPARE(m_events, expected);
        QCOMPARE(m_services->lastMessage().caption, QString(warned ? "注意メッセージ" : "ファイルオープンの確認"));
    }

    void smiv2FileCommand_data()
    {
        QTest::addColumn<int>("rawLeaves"); // leaves without a syntax, which the module leaves out
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QStringList>("messages");
        const QString created = QStringLiteral("MIBファイルを作成しました。");
        QString skipped = QStringLiteral("次のオブジェクトはSMIv2のMIBファイルに含まれていません。");
        for (int i = 0; i < 10; ++i)
            skipped += QStringLiteral("\n・raw%1").arg(i);
        QTest::newRow("written") << 0 << true << QStringList{created};
        QTest::newRow("some left out") << 12 << true << QStringList{created, skipped + QStringLiteral("\nほか2個")};
        QTest::newRow("failed") << 12 << false << QStringList{QStringLiteral("MIBファイルの作成に失敗しました")};
    }

    void smiv2FileCommand()
    {
        QFETCH(int, rawLeaves);
        QFETCH(bool, folderExists);
        QFETCH(QStringList, messages);
        buildSampleDesign(*m_state);
        for (int i = 0; i < rawLeaves; ++i)
            addLeaf(*m_state, {QStringLiteral("raw%1").arg(i), 100 + i, RootSlot, Syntax::NoSyntax, 1, {}, 0, {}, {}, {}});
        m_state->ModuleInformation = givenModuleInfo(*m_state);
        const QString file = m_dir->filePath(folderExists ? QStringLiteral("acme.mib") : QStringLiteral("gone/acme.mib"));
        auto files = commands();
        m_services->answerFileDialog(*m_state, file);
        files->createSmiv2File();
        QCOMPARE(m_events, messages);
        QCOMPARE(contents(file).startsWith("-- ACME-WIDGET-MIB: written by Korvel"), folderExists);
    }

    void aLoadedMibFileGetsTheDefaultModuleInformation()
    {
        SharedMibLibrary library(QStringLiteral(KORVEL_PROGRAM_FOLDER "/libkorvel"));
        m_services->useMibLibrary(library);
        buildSampleDesign(*m_state);
        const QString file = m_dir->filePath(QStringLiteral("acme.mib"));
        auto files = commands();
        m_services->answerFileDialog(*m_state, file);
        files->createMibFile();
        m_state->ModuleInformation = givenModuleInfo(*m_state);
        m_services->answerFileDialog(*m_state, file);
        files->loadMibFile();
        QCOMPARE(m_events.last(), QStringLiteral("変数に読み込みました。"));
        QVERIFY(!m_state->ModuleInformation);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_filecommands.moc"
