// The user-interface services: the conventions of the four kinds in the Qt
// message boxes as the user sees them, the help page and dialogs. Window
// switching is tested in the List window's tests.
#include "qtservices.h"
#include "recordingservices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
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

    void kindsCarryTheirCaptionsIconsAndButtons()
    {
        struct Row {
            MessageKind kind;
            QString caption, shownCaption;
            QMessageBox::Icon icon;
            QMessageBox::StandardButton press;
            MessageButton answer;
        };
        const QString korvel = QStringLiteral("Korvel");
        const QString confirm = QStringLiteral("保存の確認");
        const Row rows[] = {
            {MessageKind::Warning, {}, QStringLiteral("注意メッセージ"), QMessageBox::Warning, QMessageBox::Ok, MessageButton::Ok},
            {MessageKind::Error, {}, QStringLiteral("警告メッセージ"), QMessageBox::Critical, QMessageBox::Ok, MessageButton::Ok},
            {MessageKind::Notice, {}, korvel, QMessageBox::NoIcon, QMessageBox::Ok, MessageButton::Ok},
            {MessageKind::Question, {}, korvel, QMessageBox::NoIcon, QMessageBox::Yes, MessageButton::Yes},
            {MessageKind::Question, confirm, confirm, QMessageBox::NoIcon, QMessageBox::No, MessageButton::No}};
        for (const Row &row : rows) {
            QtServices services;
            SeenBox seen;
            answerNextBox(seen, row.press);
            QCOMPARE(services.show(QStringLiteral("本文"), row.kind, row.caption), row.answer);
            QCOMPARE(seen.text, QStringLiteral("本文"));
            QCOMPARE(seen.caption, row.shownCaption);
            QCOMPARE(seen.icon, row.icon);
            QCOMPARE(seen.buttons, row.kind == MessageKind::Question ? QMessageBox::Yes | QMessageBox::No
                                                                     : QMessageBox::StandardButtons(QMessageBox::Ok));
        }
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
};

QTEST_MAIN(ServicesTest)
#include "test_services.moc"
