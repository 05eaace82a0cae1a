#include "recordingservices.h"

#include "filechoice.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace korvel::testing {

RecordingServices::RecordingServices() : m_programFolder(QStringLiteral(KORVEL_PROGRAM_FOLDER)) {}

QStringList RecordingServices::texts() const
{
    QStringList all;
    std::ranges::transform(messages, std::back_inserter(all), &Message::text);
    return all;
}

const Message &RecordingServices::lastMessage() const
{
    static const Message none;
    return messages.isEmpty() ? none : messages.constLast();
}

MessageButton RecordingServices::present(const Message &message)
{
    messages.append(message);
    if (onMessage)
        onMessage(message);
    if (!message.asksYesNo())
        return MessageButton::Ok;
    return m_answers.isEmpty() ? MessageButton::No : m_answers.takeFirst();
}

void RecordingServices::standIn(ModalDialog dialog, StandIn standIn)
{
    m_scripts[dialog].append(Script{std::move(standIn), {}});
}

void RecordingServices::drive(ModalDialog dialog, Driver driver)
{
    m_scripts[dialog].append(Script{{}, std::move(driver)});
}

void RecordingServices::answerFileDialog(AppState &state, const QString &path)
{
    standIn(ModalDialog::FileOpe, [&state, path] {
        chooseFilePath(state, path);
        return DialogOutcome::Accepted;
    });
}

void RecordingServices::cancelFileDialog(AppState &state)
{
    standIn(ModalDialog::FileOpe, [&state] {
        state.SelectedDrive.clear();
        state.SelectedFolder.clear();
        state.SelectedFile.clear();
        return DialogOutcome::Rejected;
    });
}

DialogOutcome RecordingServices::openDialog(ModalDialog dialog, QObject *owner)
{
    openedDialogs.append(dialog);
    m_driver = {};
    auto &queue = m_scripts[dialog];
    if (!queue.isEmpty()) {
        Script script = queue.takeFirst();
        if (script.standIn)
            return script.standIn();
        m_driver = std::move(script.driver);
    }
    return UiServices::openDialog(dialog, owner);
}

DialogOutcome RecordingServices::runDialog(ModalDialog, QDialog &dialog)
{
    // Taken before the driver runs: the driver may open dialogs of its own.
    const Driver driver = std::move(m_driver);
    m_driver = {};
    dialog.show();
    if (driver)
        driver(dialog);
    if (dialog.isVisible())
        dialog.close();
    return dialog.result() == QDialog::Accepted ? DialogOutcome::Accepted : DialogOutcome::Rejected;
}

QStringList visibleTopLevelWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names.append(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                        : widget->objectName());
    }
    return names;
}

} // namespace korvel::testing
