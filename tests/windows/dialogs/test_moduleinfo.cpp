// The module information dialog driven by keys and clicks, and the ﾌｧｲﾙ
// menus of both main windows that reach it and the SMIv2 command.
#include "list.h"
#include "program.h"
#include "recordingservices.h"
#include "sampledesign.h"
#include "tree.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
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

QDateTime utc(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

} // namespace

class ModuleInfoTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;

    void openFromMenu()
    {
        List window(*m_state, *m_services);
        window.show();
        window.findChild<QAction *>(QStringLiteral("MIB_MODULE_INFO"))->trigger();
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
            type(dialog, "ModuleName", QStringLiteral("ACME-WIDGET-MIB"));
            type(dialog, "Identity", QStringLiteral("acmeWidgetMIB"));
            // From sysInfo, the default place, up to the root "enterprise".
            QTest::keyClick(dialog.findChild<QComboBox *>(QStringLiteral("IdentityParent")), Qt::Key_Up);
            type(dialog, "IdentitySubId", QStringLiteral("2147483647"));
            type(dialog, "LastUpdated", QStringLiteral("2026-12-01 09:30"));
            type(dialog, "Organization", QStringLiteral("ACME Labs"));
            for (const char *date : {"2025-04-01", "2026-01-15 08:00"}) {
                type(dialog, "RevisionDate", QLatin1String(date));
                type(dialog, "RevisionDescription", QLatin1String(date).left(4));
                click(dialog, "AddRevision");
            }
            click(dialog, "RemoveRevision"); // the one just added
            click(dialog, "OkButton");
        });
        openFromMenu();
        QVERIFY(m_services->messages.isEmpty());
        ModuleInfo expected = m_state->ModuleInformation.value_or(ModuleInfo());
        expected.moduleName = QStringLiteral("ACME-WIDGET-MIB");
        expected.identity = QStringLiteral("acmeWidgetMIB");
        expected.identityParent = RootSlot;
        expected.identitySubId = 2147483647;
        expected.lastUpdated = utc(2026, 12, 1, 9, 30);
        expected.organization = QStringLiteral("ACME Labs");
        expected.revisions = {{utc(2025, 4, 1), QStringLiteral("2025")}};
        QCOMPARE(m_state->ModuleInformation, std::optional(expected));

        // Reopened, it shows them; what Cancel leaves behind is not stored.
        m_services->drive(ModalDialog::ModuleInfo, [](QDialog &dialog) {
            QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("LastUpdated"))->text(),
                     QStringLiteral("2026-12-01 09:30"));
            QCOMPARE(dialog.findChild<QComboBox *>(QStringLiteral("IdentityParent"))->currentText(),
                     QStringLiteral("enterprise  (1.3.6.1.4.1)"));
            QCOMPARE(dialog.findChild<QTableWidget *>(QStringLiteral("Revisions"))->item(0, 0)->text(),
                     QStringLiteral("2025-04-01 00:00"));
            type(dialog, "ModuleName", QStringLiteral("OTHER-MIB"));
            click(dialog, "CancelButton");
        });
        openFromMenu();
        QCOMPARE(m_state->ModuleInformation, std::optional(expected));
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
        const auto row = [](const char *tag, const char *box, const char *typed, const char *button, const QString &message) {
            QTest::newRow(tag) << QByteArray(box) << QString::fromLatin1(typed) << QByteArray(button) << message;
        };
        row("no module name", "ModuleName", "", "OkButton", QStringLiteral("モジュール名を入力してください。"));
        row("module name in lower case", "ModuleName", "acme-MIB", "OkButton", name);
        row("module name with two hyphens", "ModuleName", "ACME--MIB", "OkButton", name);
        row("identity ending in a hyphen", "Identity", "acme-", "OkButton", identity);
        row("identity in upper case", "Identity", "AcmeMIB", "OkButton", identity);
        row("identity of an object", "Identity", "sysMode", "OkButton", QStringLiteral("識別子が同じ名前のオブジェクトがあります。"));
        row("sub-identifier 0", "IdentitySubId", "0", "OkButton", subId);
        row("sub-identifier past int32", "IdentitySubId", "2147483648", "OkButton", subId);
        row("sub-identifier of sysMode", "IdentitySubId", "2", "OkButton",
            QStringLiteral("このサブ識別子は親オブジェクトの下で既に使われています。"));
        row("no such day", "LastUpdated", "2026-02-30", "OkButton",
            QStringLiteral("最終更新の日時は「2026-12-07 09:30」の形で入力してください。"));
        row("revision without a date", "RevisionDate", "", "AddRevision",
            QStringLiteral("改版の日時は「2026-12-07 09:30」の形で入力してください。"));
        row("no revision chosen", "RevisionDate", "", "RemoveRevision", QStringLiteral("削除する改版を選択してください。"));
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
        openFromMenu();
        QVERIFY(stayedOpen);
        QCOMPARE(m_services->texts(), QStringList{message});
        QCOMPARE(m_services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QVERIFY(!m_state->ModuleInformation);
    }

    void bothFileMenusHoldTheNewItems_data()
    {
        QTest::addColumn<bool>("tree");
        QTest::newRow("MIB_") << false;
        QTest::newRow("TREE_") << true;
    }

    void bothFileMenusHoldTheNewItems()
    {
        QFETCH(bool, tree);
        std::unique_ptr<QMainWindow> window(tree ? static_cast<QMainWindow *>(new Tree(*m_state, *m_services))
                                                 : new List(*m_state, *m_services));
        window->show();
        m_services->standIn(ModalDialog::ModuleInfo, [] { return DialogOutcome::Rejected; });
        m_services->cancelFileDialog(*m_state);
        for (const auto &[name, caption] : {std::pair{"MODULE_INFO", "ﾓｼﾞｭｰﾙ情報(&I)"}, std::pair{"SMIV2", "SMIv2 MIBﾌｧｲﾙ作成(&M)"}}) {
            auto *action = window->findChild<QAction *>(QLatin1String(QTest::currentDataTag()) + QLatin1String(name));
            QVERIFY(action);
            QCOMPARE(action->text(), QString::fromUtf8(caption));
            action->trigger();
        }
        QCOMPARE(m_services->openedDialogs, (QList<ModalDialog>{ModalDialog::ModuleInfo, ModalDialog::FileOpe}));
        QCOMPARE(m_state->FileDialogMode, FileDialogPurpose::CreateMibFile);
    }
};

QTEST_MAIN(ModuleInfoTest)
#include "test_moduleinfo.moc"
