// The file commands without any window, as the Tree window runs them: its
// callbacks, its choice forgotten after a failed open, and its first line
// of the failed-load message; the module information's side file, its
// dialog and the SMIv2 module, and where the main windows' menus offer them.
#include "designfile.h"
#include "filecommands.h"
#include "listwindow.h"
#include "guidriver.h"
#include "moduleinfo.h"
#include "program.h"
#include "sampledesign.h"
#include "treewindow.h"

#include <QDialog>
#include <QDir>
#include <QTableWidget>

#include <array>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

class FileCommandsTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;
    QStringList m_events;

    std::unique_ptr<FileCommands> commands()
    {
        auto files = std::make_unique<FileCommands>(*f.state, *f.services, nullptr);
        files->refresh = [this] { m_events.append(QStringLiteral("refresh")); };
        files->updateTitle = [this] { m_events.append(QStringLiteral("title ") + f.state->CurrentFile); };
        f.services->onMessage = [this](const Message &message) { m_events.append(message.text); };
        return files;
    }

    QByteArray contents(const QString &name) const { return GuiDriver::contents(f.path(name)); }

private Q_SLOTS:
    void init()
    {
        f.setUp();
        m_events.clear();
    }
    void cleanup() { f.tearDown(); }

    void aFailedOpenForgetsTheChoiceForTheTreeWindow()
    {
        const QString file = f.path(QStringLiteral("bad.mdf"));
        QVERIFY(!writeFile(file, "<MibTree>\r\nnot a design\r\n").isEmpty());
        auto files = commands();
        files->clearChoiceWhenOpenFails = true;
        f.services->answerFileDialog(*f.state, file);
        files->openDesignFile();
        QCOMPARE(m_events, QStringList{QStringLiteral("ファイルの読み込みに失敗しました")});
        QVERIFY(f.state->SelectedFile.isEmpty());
        QCOMPARE(f.state->CurrentFile, QStringLiteral("File"));
        // Each window names a failed MIB load its own way.
        QCOMPARE(FileCommands::treeLoadFailureLine(), QStringLiteral("MIBファイルのオープンに失敗しました。"));
    }

    // 作成, then ﾛｰﾄﾞ through libkorvel: the module comes back as objects and
    // attributes (the reader brings no ranges or items). A module that
    // cannot be read leaves the design and points at error.log.
    void createsAMibFileAndLoadsItBack()
    {
        const QString startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(f.folder->path()));
        buildSampleDesign(*f.state);
        auto files = commands();
        const QString mib = f.path(QStringLiteral("sample.mib"));
        f.services->answerFileDialog(*f.state, mib);
        files->createMibFile();
        QCOMPARE(f.state->FileDialogMode, 3);
        f.services->answerFileDialog(*f.state, mib);
        files->loadMibFile();
        QCOMPARE(f.state->FileDialogMode, 4);
        QCOMPARE(m_events, (QStringList{QStringLiteral("MIBファイルを作成しました。"), QStringLiteral("refresh"),
                                        QStringLiteral("変数に読み込みました。")}));
        const DefinitionTables &t = f.state->tables;
        QCOMPARE((QList<int>{t.MibTreeCount, t.MibAttributeCount, t.MibRangeCount, t.MibListCount}),
                 (QList<int>{8, 7, 0, 0}));

        const QByteArray before = designFileImage(*f.state);
        const QString broken = f.path(QStringLiteral("broken.mib"));
        QVERIFY(!writeFile(broken, "TEST-MIB DEFINITIONS ::= BEGIN\r\nDESCRIPTION \"open\r\nEND\r\n").isEmpty());
        // A module read in is in no file yet: the next load asks first.
        m_events.clear();
        f.services->queueAnswer(MessageButton::No);
        f.services->answerFileDialog(*f.state, broken);
        files->loadMibFile();
        QDir::setCurrent(startFolder);
        QCOMPARE(m_events, (QStringList{QStringLiteral("変更が保存されていません。保存しますか？"),
                                        QStringLiteral("MIBファイルの読み込みに失敗しました。\r詳細は error.log を参照してください。")}));
        QCOMPARE(designFileImage(*f.state), before);
    }

    void withoutAFileDialogNothingHappens()
    {
        auto files = commands();
        f.state->SelectedFolder = f.folder->path();
        f.state->SelectedFile = QStringLiteral("stale.mdf");
        files->saveDesignFile();
        QVERIFY(m_events.isEmpty());
        QVERIFY(!QFile::exists(f.path(QStringLiteral("stale.mdf"))));
    }

    // Saved beside the design and read back with it; a broken one gives the
    // defaults and a warning; one that cannot be written fails the save
    // before the design is touched.
    void theSideFileTravelsWithTheDesign()
    {
        buildSampleDesign(*f.state);
        ModuleInfo info = defaultModuleInfo(*f.state);
        info.lastUpdated = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        f.state->ModuleInformation = info;
        auto files = commands();
        const QString design = f.path(QStringLiteral("acme.mdf"));
        f.services->answerFileDialog(*f.state, design);
        files->saveDesignFile();
        QVERIFY(writeDesignFile(*f.state, f.path(QStringLiteral("plain.mdf"))));
        QCOMPARE(contents(QStringLiteral("acme.mdf")), contents(QStringLiteral("plain.mdf"))); // the design file as it always was
        const QString loaded = QStringLiteral("変数に読み込みました。");
        for (const QByteArray &side : {QByteArray(), QByteArray("{\"format\": ")}) {
            QVERIFY(side.isEmpty() || !writeFile(f.path(QStringLiteral("acme.mdi")), side).isEmpty());
            f.state->ModuleInformation->moduleName = QStringLiteral("OLD-MIB");
            f.state->ListLevel = 3;
            m_events.clear();
            f.services->answerFileDialog(*f.state, design);
            files->openDesignFile();
            QCOMPARE(f.state->ModuleInformation, side.isEmpty() ? std::optional<ModuleInfo>(info) : std::nullopt);
            QStringList expected{QStringLiteral("refresh"), loaded, QStringLiteral("title acme.mdf")};
            if (!side.isEmpty())
                expected.append(QStringLiteral("モジュール情報を読み込めませんでした。初期値に戻しました。"));
            QCOMPARE(m_events, expected); // refreshed before the notice, retitled after it
            QCOMPARE(f.state->ListLevel, -1);
            f.state->ModuleInformation = info;
        }
        QVERIFY(QDir(f.folder->path()).mkdir(QStringLiteral("blocked.mdi")));
        f.services->answerFileDialog(*f.state, f.path(QStringLiteral("blocked.mdf")));
        files->saveDesignFile();
        QCOMPARE(m_events.last(), QStringLiteral("ファイルの保存に失敗しました"));
        QVERIFY(!QFile::exists(f.path(QStringLiteral("blocked.mdf"))));
    }

    // Leaves without a syntax are left out of the module; "gone/" is no folder.
    void smiv2FileCommand()
    {
        const QString created = QStringLiteral("MIBファイルを作成しました。");
        QString skipped = QStringLiteral("次のオブジェクトはSMIv2のMIBファイルに含まれていません。");
        for (int i = 0; i < 10; ++i)
            skipped += QStringLiteral("\n・raw%1").arg(i);
        buildSampleDesign(*f.state);
        f.state->ModuleInformation = defaultModuleInfo(*f.state);
        f.state->ModuleInformation->moduleName = QStringLiteral("ACME-MIB");
        auto files = commands();
        const std::pair<const char *, QStringList> rows[] = {
            {"a.mib", {created}},
            {"b.mib", {created, skipped + QStringLiteral("\nほか2個")}},
            {"gone/c.mib", {QStringLiteral("MIBファイルの作成に失敗しました")}}};
        for (const auto &[file, messages] : rows) {
            for (int i = 0; file[0] == 'b' && i < 12; ++i)
                addLeaf(*f.state, {.name = QStringLiteral("raw%1").arg(i), .objectId = 100 + i, .syntax = Syntax::NoSyntax});
            m_events.clear();
            f.services->answerFileDialog(*f.state, f.path(QLatin1String(file)));
            files->createSmiv2File();
            QCOMPARE(m_events, messages);
            QCOMPARE(contents(QLatin1String(file)).startsWith("-- ACME-MIB: written by Korvel"), file[0] != 'g');
        }
    }

    // From the List window's menu, by keys and clicks: each box first gets a
    // value OK refuses, then a good one.
    void theModuleInformationDialog()
    {
        registerProgramWindows(*f.services, *f.state);
        buildSampleDesign(*f.state);
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
        f.services->drive(ModalDialog::ModuleInfo, [&](QDialog &dialog) {
            const GuiDriver v = GuiDriver::on(&dialog);
            for (const auto &[box, refused, why, good] : entries) {
                v.type(qPrintable(box), refused);
                v.click(box == u"RevisionDate" ? "AddRevision" : "OkButton");
                v.type(qPrintable(box), good);
            }
            v.click("AddRevision");
            v.type("RevisionDate", QStringLiteral("2026-01-15 08:00"));
            v.click("AddRevision");
            // The first one goes; the one just added stays.
            auto *revisions = v.get<QTableWidget>("Revisions");
            QTest::mouseClick(revisions->viewport(), Qt::LeftButton, {},
                              revisions->visualItemRect(revisions->item(0, 0)).center());
            v.click("RemoveRevision");
            // From sysInfo, the default place, up to the root "enterprise".
            QTest::keyClick(v.get("IdentityParent"), Qt::Key_Up);
            v.click("OkButton");
        });
        ListWindow window(*f.state, *f.services);
        window.show();
        QAction *menuItem = window.findChild<QAction *>(QStringLiteral("MIB_MODULE_INFO"));
        menuItem->trigger();
        QStringList whys;
        for (const auto &entry : entries)
            whys.append(entry[2]);
        QCOMPARE(m_events, whys);
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        ModuleInfo expected = defaultModuleInfo(*f.state);
        expected.moduleName = QStringLiteral("ACME-MIB");
        expected.identity = QStringLiteral("acmeMIB");
        expected.identityParent = RootSlot;
        expected.identitySubId = 2147483647;
        expected.lastUpdated = QDateTime(QDate(2026, 12, 1), QTime(9, 30), Qt::UTC);
        expected.revisions = {{QDateTime(QDate(2026, 1, 15), QTime(8, 0), Qt::UTC), QString()}};
        QCOMPARE(f.state->ModuleInformation, std::optional(expected));

        // Reopened, it shows them and OK keeps them; Cancel keeps what was typed out.
        f.services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) { GuiDriver::on(&dialog).click("OkButton"); });
        menuItem->trigger();
        f.services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) {
            GuiDriver::on(&dialog).type("ModuleName", QStringLiteral("OTHER-MIB"));
            GuiDriver::on(&dialog).click("CancelButton");
        });
        menuItem->trigger();
        QCOMPARE(f.state->ModuleInformation, std::optional(expected));
        QCOMPARE(m_events, whys); // the reopened boxes held nothing to refuse
    }

    // A module replaces the design as a new one, without a file name; what
    // it could not keep is listed; a refusal leaves the design as it was.
    void importsAModuleOrSaysWhyNot_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        const QByteArray scalar = "acmeLevel OBJECT-TYPE SYNTAX Integer32 MAX-ACCESS read-only STATUS current\n"
                                  "    DESCRIPTION \"level\" ::= { acmeMIB 1 }\n";
        QTest::newRow("whole") << scalar << QStringLiteral("MIBモジュールをインポートしました。");
        QTest::newRow("not all") << scalar + "acmeAlarm NOTIFICATION-TYPE STATUS current DESCRIPTION \"a\" ::= { acmeMIB 2 }\n"
                                 << QStringLiteral("MIBモジュールをインポートしました。次の定義は取り込めませんでした。\n・acmeAlarm: 通知は取り込みません");
        QTest::newRow("refused") << QByteArray()
                                 << QStringLiteral("MIBモジュールをインポートできませんでした。\nモジュールにはenterprisesの下の定義がありません。");
    }

    void importsAModuleOrSaysWhyNot()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        const QString module = writeFile(f.path(QStringLiteral("ACME-MIB.txt")),
            "ACME-MIB DEFINITIONS ::= BEGIN\n"
            "IMPORTS MODULE-IDENTITY, OBJECT-TYPE, NOTIFICATION-TYPE, Integer32, enterprises FROM SNMPv2-SMI;\n"
            "acmeMIB MODULE-IDENTITY LAST-UPDATED \"202501010000Z\" ORGANIZATION \"Acme\" CONTACT-INFO \"c\"\n"
            "    DESCRIPTION \"d\" ::= { enterprises 4242 }\n" + body + "END\n");
        QVERIFY(!module.isEmpty());
        buildSampleDesign(*f.state);
        f.state->CurrentFile = QStringLiteral("old.mdf");
        const QByteArray before = designFileImage(*f.state);
        auto files = commands();
        f.services->answerFileDialog(*f.state, module);
        files->importMibModule();
        QCOMPARE(f.state->FileDialogMode, 4);
        const bool imported = !body.isEmpty();
        const QStringList expected = imported ? QStringList{QStringLiteral("refresh"), QStringLiteral("title File"), message}
                                              : QStringList{message};
        QCOMPARE(m_events, expected);
        QCOMPARE(f.services->lastMessage().kind, !imported ? MessageKind::Error
                                                 : message.contains(u'・') ? MessageKind::Warning
                                                                            : MessageKind::Notice);
        QCOMPARE(designFileImage(*f.state) == before, !imported);
        QCOMPARE(f.state->ModuleInformation ? f.state->ModuleInformation->organization : QString(),
                 imported ? QStringLiteral("Acme") : QString());
    }

    // The captions are in each window's file of captions.
    void bothFileMenusOpenTheirDialogs()
    {
        registerProgramWindows(*f.services, *f.state);
        ListWindow list(*f.state, *f.services);
        TreeWindow tree(*f.state, *f.services);
        for (QWidget *window : {static_cast<QWidget *>(&list), static_cast<QWidget *>(&tree)}) {
            const QString prefix = window == &list ? QStringLiteral("MIB_") : QStringLiteral("TREE_");
            f.services->openedDialogs.clear();
            window->findChild<QAction *>(prefix + QStringLiteral("MODULE_INFO"))->trigger();
            window->findChild<QAction *>(prefix + QStringLiteral("SMIV2"))->trigger();
            window->findChild<QAction *>(prefix + QStringLiteral("IMPORT"))->trigger();
            QCOMPARE(f.services->openedDialogs, (QList<ModalDialog>{ModalDialog::ModuleInfo, ModalDialog::FileOpe, ModalDialog::FileOpe}));
        }
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_filecommands.moc"
