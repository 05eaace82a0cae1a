// The file commands without any window, as the Tree window runs them: its
// callbacks, its choice forgotten after a failed open, and its first line
// of the failed-load message; the module information's side file, its
// dialog and the SMIv2 module, and where the main windows' menus offer them.
#include "designfile.h"
#include "filecommands.h"
#include "listwindow.h"
#include "moduleinfo.h"
#include "program.h"
#include "recordingservices.h"
#include "sampledesign.h"
#include "treewindow.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

void type(QDialog &dialog, const QString &box, const QString &text)
{
    auto *line = dialog.findChild<QLineEdit *>(box);
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClicks(line, text);
}

void click(QDialog &dialog, const char *button)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

} // namespace

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

    QByteArray contents(const char *name) const
    {
        QFile file(m_dir->filePath(QLatin1String(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        // A module read in is in no file yet: the next load asks first.
        m_events.clear();
        m_services->queueAnswer(MessageButton::No);
        m_services->answerFileDialog(*m_state, broken);
        files->loadMibFile();
        QDir::setCurrent(startFolder);
        QCOMPARE(m_events, (QStringList{QStringLiteral("変更が保存されていません。保存しますか？"),
                                        QStringLiteral("MIBファイルの読み込みに失敗しました。\r詳細は error.log を参照してください。")}));
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

    // Save, change the side file ("-": remove it), open again.
    void theSideFileTravelsWithTheDesign_data()
    {
        QTest::addColumn<QByteArray>("side");
        for (auto [tag, side] : {std::pair{"as saved", ""}, {"missing", "-"}, {"broken", "{\"format\": "}})
            QTest::newRow(tag) << QByteArray(side);
    }

    void theSideFileTravelsWithTheDesign()
    {
        QFETCH(QByteArray, side);
        buildSampleDesign(*m_state);
        ModuleInfo info = defaultModuleInfo(*m_state);
        info.lastUpdated = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        m_state->ModuleInformation = info;
        auto files = commands();
        m_services->answerFileDialog(*m_state, m_dir->filePath(QStringLiteral("acme.mdf")));
        files->saveDesignFile();
        QVERIFY(writeDesignFile(*m_state, m_dir->filePath(QStringLiteral("plain.mdf"))));
        QCOMPARE(contents("acme.mdf"), contents("plain.mdf")); // the design file as it always was
        QFile sideFile(m_dir->filePath(QStringLiteral("acme.mdi")));
        QVERIFY(side.isEmpty() || (side == "-" ? sideFile.remove() : sideFile.open(QIODevice::WriteOnly) && sideFile.write(side) > 0));
        sideFile.close();
        m_state->ModuleInformation->moduleName = QStringLiteral("OLD-MIB");
        m_events.clear();
        m_services->answerFileDialog(*m_state, m_dir->filePath(QStringLiteral("acme.mdf")));
        files->openDesignFile();
        QCOMPARE(m_state->ModuleInformation, side.isEmpty() ? std::optional<ModuleInfo>(info) : std::nullopt);
        QStringList expected{QStringLiteral("refresh"), QStringLiteral("変数に読み込みました。"), QStringLiteral("title acme.mdf")};
        if (side.startsWith('{'))
            expected.append(QStringLiteral("モジュール情報を読み込めませんでした。初期値に戻しました。"));
        QCOMPARE(m_events, expected);
        QCOMPARE(m_services->lastMessage().kind, side.startsWith('{') ? MessageKind::Warning : MessageKind::Notice);

        // A side file that cannot be written fails the save before the design is touched.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("blocked.mdi")));
        m_services->answerFileDialog(*m_state, m_dir->filePath(QStringLiteral("blocked.mdf")));
        files->saveDesignFile();
        QCOMPARE(m_events.last(), QStringLiteral("ファイルの保存に失敗しました"));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("blocked.mdf"))));
    }

    // Leaves without a syntax are left out of the module; "gone/" is no folder.
    void smiv2FileCommand_data()
    {
        QTest::addColumn<int>("rawLeaves");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("messages");
        const QString created = QStringLiteral("MIBファイルを作成しました。");
        QString skipped = QStringLiteral("次のオブジェクトはSMIv2のMIBファイルに含まれていません。");
        for (int i = 0; i < 10; ++i)
            skipped += QStringLiteral("\n・raw%1").arg(i);
        QTest::newRow("written") << 0 << QStringLiteral("a.mib") << QStringList{created};
        QTest::newRow("some left out") << 12 << QStringLiteral("a.mib") << QStringList{created, skipped + QStringLiteral("\nほか2個")};
        QTest::newRow("failed") << 12 << QStringLiteral("gone/a.mib") << QStringList{QStringLiteral("MIBファイルの作成に失敗しました")};
    }

    void smiv2FileCommand()
    {
        QFETCH(int, rawLeaves);
        QFETCH(QString, file);
        QFETCH(QStringList, messages);
        buildSampleDesign(*m_state);
        for (int i = 0; i < rawLeaves; ++i)
            addLeaf(*m_state, {QStringLiteral("raw%1").arg(i), 100 + i, RootSlot, Syntax::NoSyntax, 1, {}, 0, {}, {}, {}});
        m_state->ModuleInformation = defaultModuleInfo(*m_state);
        m_state->ModuleInformation->moduleName = QStringLiteral("ACME-MIB");
        auto files = commands();
        m_services->answerFileDialog(*m_state, m_dir->filePath(file));
        files->createSmiv2File();
        QCOMPARE(m_events, messages);
        QCOMPARE(contents(file.toLatin1().constData()).startsWith("-- ACME-MIB: written by Korvel"), messages.size() > 1 || rawLeaves == 0);
    }

    // From the List window's menu, by keys and clicks: each box first gets a
    // value OK refuses, then a good one.
    void theModuleInformationDialog()
    {
        registerProgramWindows(*m_services, *m_state);
        buildSampleDesign(*m_state);
        auto files = commands(); // for m_events
        const QString name = QStringLiteral("モジュール名は英大文字で始まる英数字とハイフンで入力してください。");
        const QString subId = QStringLiteral("サブ識別子は1～2147483647です。");
        const QList<std::array<QString, 4>> entries{ // box, refused value, why, good value
            {"ModuleName", "", "モジュール名を入力してください。", "ACME-MIB"},
            {"ModuleName", "acme-MIB", name, "ACME-MIB"},
            {"ModuleName", "ACME--MIB", name, "ACME-MIB"},
            {"Identity", "acme-", "識別子は英小文字で始まる英数字とハイフンで入力してください。", "acmeMIB"},
            {"Identity", "sysMode", "識別子が同じ名前のオブジェクトがあります。", "acmeMIB"},
            {"IdentitySubId", "0", subId, "1"},
            {"IdentitySubId", "2147483648", subId, "1"},
            {"IdentitySubId", "2", "このサブ識別子は親オブジェクトの下で既に使われています。", "2147483647"},
            {"LastUpdated", "2026-02-30", "最終更新の日時は「2026-12-07 09:30」の形で入力してください。", "2026-12-01 09:30"},
            {"RevisionDate", "", "改版の日時は「2026-12-07 09:30」の形で入力してください。", "2025-04-01"},
        };
        m_services->drive(ModalDialog::ModuleInfo, [&](QDialog &dialog) {
            for (const auto &[box, refused, why, good] : entries) {
                type(dialog, box, refused);
                click(dialog, box == u"RevisionDate" ? "AddRevision" : "OkButton");
                type(dialog, box, good);
            }
            click(dialog, "AddRevision");
            type(dialog, QStringLiteral("RevisionDate"), QStringLiteral("2026-01-15 08:00"));
            click(dialog, "AddRevision");
            click(dialog, "RemoveRevision"); // the one just added
            // From sysInfo, the default place, up to the root "enterprise".
            QTest::keyClick(dialog.findChild<QComboBox *>(QStringLiteral("IdentityParent")), Qt::Key_Up);
            click(dialog, "OkButton");
        });
        ListWindow window(*m_state, *m_services);
        window.show();
        QAction *menuItem = window.findChild<QAction *>(QStringLiteral("MIB_MODULE_INFO"));
        menuItem->trigger();
        QStringList whys;
        for (const auto &entry : entries)
            whys.append(entry[2]);
        QCOMPARE(m_events, whys);
        QCOMPARE(m_services->lastMessage().kind, MessageKind::Warning);
        ModuleInfo expected = defaultModuleInfo(*m_state);
        expected.moduleName = QStringLiteral("ACME-MIB");
        expected.identity = QStringLiteral("acmeMIB");
        expected.identityParent = RootSlot;
        expected.identitySubId = 2147483647;
        expected.lastUpdated = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        expected.revisions = {{QDateTime(QDate(2025, 4, 1), QTime(0, 0), Qt::UTC), QString()}};
        QCOMPARE(m_state->ModuleInformation, std::optional(expected));

        // Reopened, it shows them and OK keeps them; Cancel keeps what was typed out.
        m_services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) { click(dialog, "OkButton"); });
        menuItem->trigger();
        m_services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) {
            type(dialog, QStringLiteral("ModuleName"), QStringLiteral("OTHER-MIB"));
            click(dialog, "CancelButton");
        });
        menuItem->trigger();
        QCOMPARE(m_state->ModuleInformation, std::optional(expected));
        QCOMPARE(m_events, whys); // the reopened boxes held nothing to refuse
    }

    void bothFileMenusHoldTheNewItems()
    {
        registerProgramWindows(*m_services, *m_state);
        ListWindow list(*m_state, *m_services);
        TreeWindow tree(*m_state, *m_services);
        for (auto [window, prefix] : {std::pair<QWidget *, QString>{&list, "MIB_"}, {&tree, "TREE_"}}) {
            for (auto [name, caption] : {std::pair{"MODULE_INFO", "ﾓｼﾞｭｰﾙ情報(&I)"}, {"SMIV2", "SMIv2 MIBﾌｧｲﾙ作成(&M)"}}) {
                auto *action = window->findChild<QAction *>(prefix + QLatin1String(name));
                QCOMPARE(action ? action->text() : QString(), QString::fromUtf8(caption));
                m_services->openedDialogs.clear();
                action->trigger(); // no script: the dialog closes at once
                QCOMPARE(m_services->openedDialogs.value(0), qstrcmp(name, "SMIV2") ? ModalDialog::ModuleInfo : ModalDialog::FileOpe);
            }
        }
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_filecommands.moc"
