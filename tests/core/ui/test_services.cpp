// The user-interface services: the conventions of the four kinds in the Qt
// message boxes as the user sees them, the help page, dialogs and window
// switching.
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

    void kindsCarryTheirCaptionsIconsAndButtons_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shownCaption");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButton>("press");
        const QString korvel = QStringLiteral("Korvel");
        const QString confirm = QStringLiteral("保存の確認");
        QTest::newRow("warning") << MessageKind::Warning << QString() << QStringLiteral("注意メッセージ")
                                 << QMessageBox::Warning << QMessageBox::Ok;
        QTest::newRow("error") << MessageKind::Error << QString() << QStringLiteral("警告メッセージ") << QMessageBox::Critical
                               << QMessageBox::Ok;
        QTest::newRow("notice") << MessageKind::Notice << QString() << korvel << QMessageBox::NoIcon << QMessageBox::Ok;
        QTest::newRow("question, Yes") << MessageKind::Question << QString() << korvel << QMessageBox::NoIcon
                                       << QMessageBox::Yes;
        QTest::newRow("question with caption, No") << MessageKind::Question << confirm << confirm
                                                   << QMessageBox::NoIcon << QMessageBox::No;
    }

    void kindsCarryTheirCaptionsIconsAndButtons()
    {
        QFETCH(MessageKind, kind);
        QFETCH(QString, caption);
        QFETCH(QString, shownCaption);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QMessageBox::StandardButton, press);
        QtServices services;
        SeenBox seen;
        answerNextBox(seen, press);
        const MessageButton pressed = services.show(QStringLiteral("本文"), kind, caption);
        QCOMPARE(pressed, press == QMessageBox::Yes  ? MessageButton::Yes
                          : press == QMessageBox::No ? MessageButton::No
                                                     : MessageButton::Ok);
        QCOMPARE(seen.text, QStringLiteral("本文"));
        QCOMPARE(seen.caption, shownCaption);
        QCOMPARE(seen.icon, icon);
        QCOMPARE(seen.buttons, kind == MessageKind::Question ? QMessageBox::Yes | QMessageBox::No
                                                             : QMessageBox::StandardButtons(QMessageBox::Ok));
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

    void helpOpensThePageBesideTheProgram()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        QtServices().showHelp();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(catcher.urls.first().toLocalFile(), QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html"));
    }

    void theQtDialogsRunModally()
    {
        QtServices services;
        services.setDialog(ModalDialog::Version, [](QWidget *owner) { return std::make_unique<QDialog>(owner); });
        services.setDialog(ModalDialog::Design, [](QWidget *) { return std::unique_ptr<QDialog>(); });
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        QCOMPARE(services.openDialog(ModalDialog::Version, nullptr), DialogOutcome::Accepted);
        QCOMPARE(services.openDialog(ModalDialog::Design, nullptr), DialogOutcome::Refused);
        QCOMPARE(services.openDialog(ModalDialog::FileOpe, nullptr), DialogOutcome::Missing);
        QVERIFY(services.hasDialog(ModalDialog::Version));
        QVERIFY(!services.hasDialog(ModalDialog::FileOpe));
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
