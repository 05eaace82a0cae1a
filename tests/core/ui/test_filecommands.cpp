// The file commands without any window, as the Tree window runs them: its
// callbacks, its choice forgotten after a failed open, and its first line
// of the failed-load message.
#include "designfile.h"
#include "filecommands.h"
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

    // 作成, then ﾛｰﾄﾞ through libkorvel: the module comes back as objects and
    // attributes (the reader brings no ranges or items). A module that
    // cannot be read leaves the design and points at error.log.
    void createsAMibFileAndLoadsItBack()
    {
        const QString startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        buildSampleDesign(*m_state);
        auto files = commands();
        const QString mib = m_dir->filePath(QStringLiteral("sample.mib"));
        m_services->answerFileDialog(*m_state, mib);
        files->createMibFile();
        QCOMPARE(m_state->FileDialogMode, 3);
        m_services->answerFileDialog(*m_state, mib);
        files->loadMibFile();
        QCOMPARE(m_state->FileDialogMode, 4);
        QCOMPARE(m_events, (QStringList{QStringLiteral("MIBファイルを作成しました。"), QStringLiteral("refresh"),
                                        QStringLiteral("変数に読み込みました。")}));
        const DefinitionTables &t = m_state->tables;
        QCOMPARE((QList<int>{t.MibTreeCount, t.MibAttributeCount, t.MibRangeCount, t.MibListCount}),
                 (QList<int>{8, 7, 0, 0}));

        const QByteArray before = designFileImage(*m_state);
        const QString broken = m_dir->filePath(QStringLiteral("broken.mib"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("TEST-MIB DEFINITIONS ::= BEGIN\r\nDESCRIPTION \"open\r\nEND\r\n");
        file.close();
        m_events.clear();
        m_services->answerFileDialog(*m_state, broken);
        files->loadMibFile();
        QDir::setCurrent(startFolder);
        QCOMPARE(m_events, QStringList{QStringLiteral("MIBファイルの読み込みに失敗しました。\r詳細は error.log を参照してください。")});
        QCOMPARE(designFileImage(*m_state), before);
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
};

QTEST_MAIN(FileCommandsTest)
#include "test_filecommands.moc"
