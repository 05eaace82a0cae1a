#include "qtservices.h"

#include "language.h"
#include "programfiles.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMessageBox>
#include <QUrl>

namespace korvel {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString helpPagePath(const QString &programFolder)
{
    return helpPage(programFolder);
}

QString QtServices::displayedMessageText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

MessageButton QtServices::present(const Message &message)
{
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(boxIcon(message.icon), message.caption, displayedMessageText(message.text),
                    message.asksCancel()  ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                    : message.asksYesNo() ? QMessageBox::Yes | QMessageBox::No
                                          : QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("KorvelMessage"));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(message.asksYesNo() ? QMessageBox::Yes : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    const int pressed = box.exec();
    if (!message.asksYesNo())
        return MessageButton::Ok;
    if (message.asksCancel() && pressed == QMessageBox::Cancel)
        return MessageButton::Cancel;
    return pressed == QMessageBox::Yes ? MessageButton::Yes : MessageButton::No;
}

DialogOutcome QtServices::runDialog(ModalDialog, QDialog &dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec() == QDialog::Accepted ? DialogOutcome::Accepted : DialogOutcome::Rejected;
}

void QtServices::showHelp()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpPagePath(programFolder())));
}

QString QtServices::programFolder() const
{
    return dataFolder(QCoreApplication::applicationDirPath());
}

} // namespace korvel
