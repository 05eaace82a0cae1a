// The user-interface services: the conventions of the four kinds, the Qt
// message boxes as the user sees them, the help page, dialogs and window
// switching, and the recording services the window tests rely on.
#include "qtservices.h"
#include "recordingservices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Answers the next message box with `button` once it is shown, noting what
// it showed.
void answerNextBox(SeenBox &seen, QMessageBox::StandardButton button)
{
    QTimer::singleShot(0, [&seen, button] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            answerNextBox(seen, button);
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(button)->click();
    });
}

class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

} // namespace

class ServicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QVERIFY(visibleTopLevelWindows().isEmpty()); }

    void kindsCarryTheirCaptionsAndIcons_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expectedCaption");
        QTest::addColumn<MessageIcon>("icon");
        QTest::newRow("warning") << MessageKind::Warning << QString() << QStringLiteral("注意メッセージ") << MessageIcon::Exclamation;
        QTest::newRow("error") << MessageKind::Error << QString() << QStringLiteral("警告メッセージ") << MessageIcon::Critical;
        QTest::newRow("notice") << MessageKind::Notice << QString() << QStringLiteral("Korvel") << MessageIcon::None;
        QTest::newRow("question") << MessageKind::Question << QString() << QStringLiteral("Korvel") << MessageIcon::None;
        QTest::newRow("notice with caption") << MessageKind::Notice << QStringLiteral("保存の確認") << QStringLiteral("保存の確認") << MessageIcon::None;
        QTest::newRow("question with caption") << MessageKind::Question << QStringLiteral("保存の確認") << QStringLiteral("保存の確認") << MessageIcon::None;
        QTest::newRow("warning with caption") << MessageKind::Warning << QStringLiteral("警告メッセージ") << QStringLiteral("警告メッセージ") << MessageIcon::Exclamation;
    }

    void kindsCarryTheirCaptionsAndIcons()
    {
        QFETCH(MessageKind, kind);
        QFETCH(QString, caption);
        QFETCH(QString, expectedCaption);
        QFETCH(MessageIcon, icon);
        const Message message = makeMessage(QStringLiteral("text"), kind, caption);
        QCOMPARE(message.text, QStringLiteral("text"));
        QCOMPARE(message.caption, expectedCaption);
        QCOMPARE(message.icon, icon);
        QCOMPARE(message.asksYesNo(), kind == MessageKind::Question);
    }

    void theQtBoxesShowWhatTheKindsSay_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::newRow("warning") << MessageKind::Warning << QMessageBox::Warning << QMessageBox::StandardButtons(QMessageBox::Ok);
        QTest::newRow("error") << MessageKind::Error << QMessageBox::Critical << QMessageBox::StandardButtons(QMessageBox::Ok);
        QTest::newRow("notice") << MessageKind::Notice << QMessageBox::NoIcon << QMessageBox::StandardButtons(QMessageBox::Ok);
        QTest::newRow("question") << MessageKind::Question << QMessageBox::NoIcon
                                  << QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No);
    }

    void theQtBoxesShowWhatTheKindsSay()
    {
        QFETCH(MessageKind, kind);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QMessageBox::StandardButtons, buttons);
        QtServices services;
        SeenBox seen;
        const bool question = kind == MessageKind::Question;
        answerNextBox(seen, question ? QMessageBox::Yes : QMessageBox::Ok);
        const MessageButton pressed = services.show(QStringLiteral("本文"), kind);
        QCOMPARE(pressed, question ? MessageButton::Yes : MessageButton::Ok);
        QCOMPARE(seen.text, QStringLiteral("本文"));
        QCOMPARE(seen.caption, makeMessage(QString(), kind).caption);
        QCOMPARE(seen.icon, icon);
        QCOMPARE(seen.buttons, buttons);
    }

    void aQuestionAnsweredNo()
    {
        QtServices services;
        SeenBox seen;
        answerNextBox(seen, QMessageBox::No);
        QVERIFY(!services.ask(QStringLiteral("よろしいですか？"), QStringLiteral("保存の確認")));
        QCOMPARE(seen.caption, QStringLiteral("保存の確認"));
    }

    void informationAndTwoLineMessages()
    {
        QtServices services;
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        services.showInformation(QStringLiteral("Korvelは既に起動されています。"));
        QCOMPARE(seen.icon, QMessageBox::Information);
        QCOMPARE(seen.caption, QStringLiteral("Korvel"));

        // A bare CR between the two lines is shown as a line break.
        answerNextBox(seen, QMessageBox::Ok);
        services.show(QStringLiteral("一行目\r二行目"), MessageKind::Warning);
        QCOMPARE(seen.text, QStringLiteral("一行目\n二行目"));
        QCOMPARE(QtServices::displayedMessageText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
    }

    void theRulesMessagesReachTheUser()
    {
        RecordingServices services;
        MessageSink &sink = services;
        sink.report(QStringLiteral("オブジェクト名が重複しています。"), MessageKind::Warning);
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.lastMessage().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(services.lastMessage().icon, MessageIcon::Exclamation);
    }

    void helpOpensThePageBesideTheProgram()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QtServices services;
        services.showHelp();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toLocalFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html"));
        QCOMPARE(helpPagePath(QStringLiteral("/opt/korvel")), QStringLiteral("/opt/korvel/help/index.html"));
    }

    void theQtDialogsRunModally()
    {
        QtServices services;
        services.setDialog(ModalDialog::Version, [](QWidget *owner) {
            auto dialog = std::make_unique<QDialog>(owner);
            dialog->setObjectName(QStringLiteral("Version"));
            return dialog;
        });
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (dialog)
                dialog->accept();
        });
        QCOMPARE(services.openDialog(ModalDialog::Version, nullptr), DialogOutcome::Accepted);
        QCOMPARE(services.openDialog(ModalDialog::Design, nullptr), DialogOutcome::Missing);
        QVERIFY(services.hasDialog(ModalDialog::Version));
        QVERIFY(!services.hasDialog(ModalDialog::Design));
    }

    void aDialogThatRefusesToOpen()
    {
        RecordingServices services;
        services.setDialog(ModalDialog::Design, [](QWidget *) { return std::unique_ptr<QDialog>(); });
        QCOMPARE(services.openDialog(ModalDialog::Design, nullptr), DialogOutcome::Refused);
    }

    void recordingAnswersFromItsScriptAndNeverWaits()
    {
        RecordingServices services;
        services.queueAnswer(MessageButton::Yes);
        QVERIFY(services.ask(QStringLiteral("一つ目")));
        QVERIFY(!services.ask(QStringLiteral("二つ目")));
        QCOMPARE(services.unansweredQuestions, 1);
        QCOMPARE(services.texts(), (QStringList{QStringLiteral("一つ目"), QStringLiteral("二つ目")}));

        // A dialog nobody scripted is built, shown and closed by its close box.
        int built = 0;
        services.setDialog(ModalDialog::Version, [&built](QWidget *owner) {
            ++built;
            return std::make_unique<QDialog>(owner);
        });
        QCOMPARE(services.openDialog(ModalDialog::Version, nullptr), DialogOutcome::Rejected);
        // A stand-in replaces the dialog; a driver works the real one.
        services.standIn(ModalDialog::Version, [] { return DialogOutcome::Accepted; });
        QCOMPARE(services.openDialog(ModalDialog::Version, nullptr), DialogOutcome::Accepted);
        services.drive(ModalDialog::Version, [](QDialog &dialog) {
            QVERIFY(dialog.isVisible());
            dialog.accept();
        });
        QCOMPARE(services.openDialog(ModalDialog::Version, nullptr), DialogOutcome::Accepted);
        QCOMPARE(built, 2);
        QCOMPARE(services.openedDialogs.size(), 3);
    }

    void switchingOpensTheNewWindowBeforeClosingTheOld()
    {
        RecordingServices services;
        QVERIFY(!services.switchWindow(MainWindow::Tree, nullptr));
        QVERIFY(!services.hasWindow(MainWindow::Tree));
        QStringList visibleWhenShown;
        services.setWindow(MainWindow::Tree, [&visibleWhenShown]() -> QWidget * {
            visibleWhenShown = visibleTopLevelWindows();
            auto *window = new QMainWindow;
            window->setObjectName(QStringLiteral("Tree"));
            return window;
        });
        auto *list = new QMainWindow;
        list->setObjectName(QStringLiteral("List"));
        list->setAttribute(Qt::WA_DeleteOnClose);
        list->show();
        QPointer<QMainWindow> watched(list);
        QVERIFY(services.switchWindow(MainWindow::Tree, list));
        QCOMPARE(visibleWhenShown, QStringList{QStringLiteral("List")});
        QTRY_VERIFY(!watched);
        QCOMPARE(visibleTopLevelWindows(), QStringList{QStringLiteral("Tree")});
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(ServicesTest)
#include "test_services.moc"
