// The module information dialog driven by keys and clicks, and the ﾌｧｲﾙ
// menus of both main windows that reach it and the SMIv2 command.
#include "list.h"
#include "moduleinfo.h"
#include "program.h"
#include "recordingservices.h"
#include "sampledesign.h"
#include "tree.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

void type(QDialog &dialog, const char *box, const QString &text)
{
    auto *line = dialog.findChild<QLineEdit *>(QLatin1String(box));
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_Delete);
    QTest::keyClicks(line, text);
}

void click(QDialog &dialog, const char *button)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
}

QString text(QDialog &dialog, const char *box)
{
    return dialog.findChild<QLineEdit *>(QLatin1String(box))->text();
}

QDateTime utc(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
}

} // namespace

class ModuleInfoTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;

    void openFromMenu(const char *item)
    {
        List window(*m_state, *m_services);
        window.show();
        window.findChild<QAction *>(QLatin1String(item))->trigger();
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<AppState>();
        m_services = std::make_unique<RecordingServices>();
        registerProgramWindows(*m_services, *m_state);
        buildSampleDesign(*m_state);
    }

    void cleanup() { QVERIFY(visibleTopLevelWindows().isEmpty()); }

    void typedValuesAreStoredAndShownAgain()
    {
        m_services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) {
            QCOMPARE(text(dialog, "ModuleName"), QStringLiteral("SYS-INFO-MIB"));
            type(dialog, "ModuleName", QStringLiteral("ACME-WIDGET-MIB"));
            type(dialog, "Identity", QStringLiteral("acmeWidgetMIB"));
            // From sysInfo up to the root "enterprise".
            QTest::keyClick(dialog.findChild<QComboBox *>(QStringLiteral("IdentityParent")), Qt::Key_Up);
            type(dialog, "IdentitySubId", QStringLiteral("2147483647"));
            type(dialog, "LastUpdated", QStringLiteral("2026-12-01 09:30"));
            type(dialog, "Organization", QStringLiteral("ACME Labs"));
            auto *contact = dialog.findChild<QPlainTextEdit *>(QStringLiteral("ContactInfo"));
            QTest::keyClick(contact, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClicks(contact, QStringLiteral("x"));
            for (const auto &[date, what] : {std::pair{"2025-04-01", "First."}, std::pair{"2026-01-15 08:00", "Second."}}) {
                type(dialog, "RevisionDate", QLatin1String(date));
                type(dialog, "RevisionDescription", QLatin1String(what));
                click(dialog, "AddRevision");
            }
            // The second is chosen once added; 削除 takes it away again.
            click(dialog, "RemoveRevision");
            click(dialog, "OkButton");
        });
        openFromMenu("MIB_MODULE_INFO");
        QVERIFY(m_services->messages.isEmpty());
        QVERIFY(m_state->ModuleInformation);
        const ModuleInfo &info = *m_state->ModuleInformation;
        QCOMPARE(info.moduleName, QStringLiteral("ACME-WIDGET-MIB"));
        QCOMPARE(info.identity, QStringLiteral("acmeWidgetMIB"));
        QCOMPARE(info.identityParent, RootSlot);
        QCOMPARE(info.identitySubId, 2147483647);
        QCOMPARE(info.lastUpdated, utc(2026, 12, 1, 9, 30));
        QCOMPARE(info.organization, QStringLiteral("ACME Labs"));
        QCOMPARE(info.contactInfo, QStringLiteral("Not yet given.x"));
        QCOMPARE(info.revisions, (QList<ModuleRevision>{{utc(2025, 4, 1), QStringLiteral("First.")}}));

        // Reopened, it shows them; what Cancel leaves behind is not stored.
        const ModuleInfo stored = info;
        m_services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) {
            QCOMPARE(text(dialog, "ModuleName"), QStringLiteral("ACME-WIDGET-MIB"));
            QCOMPARE(text(dialog, "IdentitySubId"), QStringLiteral("2147483647"));
            QCOMPARE(text(dialog, "LastUpdated"), QStringLiteral("2026-12-01 09:30"));
            QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("IdentityParent"))->currentText(),
                     QStringLiteral("enterprise  (1.3.6.1.4.1)"));
            QCOMPARE(dialog.findChild<QTableWidget *>(QStringLiteral("Revisions"))->item(0, 0)->text(),
                     QStringLiteral("2025-04-01 00:00"));
            type(dialog, "ModuleName", QStringLiteral("OTHER-MIB"));
            click(dialog, "CancelButton");
        });
        openFromMenu("MIB_MODULE_INFO");
        QCOMPARE(*m_state->ModuleInformation, stored);
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QString>("message");
        const QString name = QStringLiteral("モジュール名は英大文字で始まる英数字とハイフンで入力してください。");
        const QString identity = QStringLiteral("識別子は英小文字で始まる英数字とハイフンで入力してください。");
        const QString subId = QStringLiteral("サブ識別子は1～2147483647です。");
        QTest::newRow("no module name") << QByteArray("ModuleName") << QString() << QByteArray("OkButton")
                                        << QStringLiteral("モジュール名を入力してください。");
        QTest::newRow("module name in lower case") << QByteArray("ModuleName") << QStringLiteral("acme-MIB")
                                                   << QByteArray("OkButton") << name;
        QTest::newRow("module name with two hyphens") << QByteArray("ModuleName") << QStringLiteral("ACME--MIB")
                                                      << QByteArray("OkButton") << name;
        QTest::newRow("identity ending in a hyphen") << QByteArray("Identity") << QStringLiteral("acme-")
                                                     << QByteArray("OkButton") << identity;
        QTest::newRow("identity in upper case") << QByteArray("Identity") << QStringLiteral("AcmeMIB")
                                                << QByteArray("OkButton") << identity;
        QTest::newRow("identity named like an object") << QByteArray("Identity") << QStringLiteral("sysMode")
                                                       << QByteArray("OkButton")
                                                       << QStringLiteral("識別子が同じ名前のオブジェクトがあります。");
        QTest::newRow("sub-identifier 0") << QByteArray("IdentitySubId") << QStringLiteral("0")
                                          << QByteArray("OkButton") << subId;
        QTest::newRow("sub-identifier past int32") << QByteArray("IdentitySubId") << QStringLiteral("2147483648")
                                                   << QByteArray("OkButton") << subId;
        QTest::newRow("sub-identifier with a sign") << QByteArray("IdentitySubId") << QStringLiteral("+3")
                                                    << QByteArray("OkButton") << subId;
        QTest::newRow("sub-identifier of sysMode") << QByteArray("IdentitySubId") << QStringLiteral("2")
                                                   << QByteArray("OkButton")
                                                   << QStringLiteral("このサブ識別子は親オブジェクトの下で既に使われています。");
        QTest::newRow("no such day") << QByteArray("LastUpdated") << QStringLiteral("2026-02-30")
                                     << QByteArray("OkButton")
                                     << QStringLiteral("最終更新の日時は「2026-12-07 09:30」の形で入力してください。");
        QTest::newRow("revision without a date") << QByteArray("RevisionDate") << QString()
                                                 << QByteArray("AddRevision")
                                                 << QStringLiteral("改版の日時は「2026-12-07 09:30」の形で入力してください。");
        QTest::newRow("no revision chosen") << QByteArray("RevisionDescription") << QString()
                                            << QByteArray("RemoveRevision")
                                            << QStringLiteral("削除する改版を選択してください。");
    }

    void refusals()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, typed);
        QFETCH(QByteArray, button);
        QFETCH(QString, message);
        bool stayedOpen = false;
        m_services->drive(ModalDialog::ModuleInfo, [&](QDialog &dialog) {
            type(dialog, box.constData(), typed);
            click(dialog, button.constData());
            stayedOpen = dialog.isVisible();
            click(dialog, "CancelButton");
        });
        openFromMenu("MIB_MODULE_INFO");
        QVERIFY(stayedOpen);
        QCOMPARE(m_services->texts(), QStringList{message});
        QCOMPARE(m_services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QVERIFY(!m_state->ModuleInformation);
    }

    void bothFileMenusHoldTheNewItems_data()
    {
        QTest::addColumn<bool>("tree");
        QTest::addColumn<QByteArray>("prefix");
        QTest::newRow("List") << false << QByteArray("MIB_");
        QTest::newRow("Tree") << true << QByteArray("TREE_");
    }

    void bothFileMenusHoldTheNewItems()
    {
        QFETCH(bool, tree);
        QFETCH(QByteArray, prefix);
        std::unique_ptr<QMainWindow> window;
        if (tree)
            window = std::make_unique<Tree>(*m_state, *m_services);
        else
            window = std::make_unique<List>(*m_state, *m_services);
        window->show();
        m_services->standIn(ModalDialog::ModuleInfo, [] { return DialogOutcome::Rejected; });
        m_services->cancelFileDialog(*m_state);
        const QList<std::pair<const char *, const char *>> items{{"MODULE_INFO", "ﾓｼﾞｭｰﾙ情報(&I)"},
                                                                 {"SMIV2", "SMIv2 MIBﾌｧｲﾙ作成(&M)"}};
        for (const auto &[name, caption] : items) {
            auto *action = window->findChild<QAction *>(QString::fromLatin1(prefix + name));
            QVERIFY(action);
            QCOMPARE(action->text(), QString::fromUtf8(caption));
            action->trigger();
        }
        QCOMPARE(m_services->openedDialogs, (QList<ModalDialog>{ModalDialog::ModuleInfo, ModalDialog::FileOpe}));
        QCOMPARE(m_state->FileDialogMode, FileDialogPurpose::CreateMibFile);
        QVERIFY(m_services->messages.isEmpty());
    }
};

QTEST_MAIN(ModuleInfoTest)
#include "test_moduleinfo.moc"
