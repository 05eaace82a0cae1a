#include "finddialog.h"

#include "messagetexts.h"

#include <QInputDialog>

namespace korvel {

std::unique_ptr<QDialog> makeFindDialog(AppState &state, QWidget *owner)
{
    auto dialog = std::make_unique<QInputDialog>(owner);
    dialog->setObjectName(QStringLiteral("Find"));
    dialog->setWindowTitle(texts::findCaption());
    dialog->setLabelText(texts::findPrompt());
    dialog->setTextValue(state.FindText);
    QObject::connect(dialog.get(), &QInputDialog::textValueSelected, dialog.get(),
                     [&state](const QString &text) { state.FindText = text; });
    return dialog;
}

} // namespace korvel
