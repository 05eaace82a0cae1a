// The program's user-interface services: QMessageBox for messages, exec()
// for modal dialogs, the desktop's viewer for the help page.
#pragma once

#include "uiservices.h"

namespace korvel {

class QtServices : public UiServices
{
public:
    void showHelp() override;
    QString programFolder() const override;

    // The text as a message box shows it: a bare CR, which some messages use
    // between their two lines, becomes a line break.
    static QString displayedMessageText(const QString &text);

protected:
    MessageButton present(const Message &message) override;
    DialogOutcome runDialog(ModalDialog which, QDialog &dialog) override;
};

// help/index.html under `programFolder`.
QString helpPagePath(const QString &programFolder);

} // namespace korvel
