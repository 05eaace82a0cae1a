// User-interface services for tests: messages are recorded and answered at
// once, questions from a queue, dialogs from a script, never waiting for a
// person. A dialog is stood in for (never built: the stand-in sets what its
// answer would, e.g. answerFileDialog) or driven (built, shown without
// exec(), and the driver clicks it); with no script it is shown and closed.
#pragma once

#include "appstate.h"
#include "uiservices.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <map>

class QDialog;

namespace korvel::testing {

class RecordingServices : public UiServices
{
public:
    using StandIn = std::function<DialogOutcome()>;
    using Driver = std::function<void(QDialog &dialog)>;

    RecordingServices();

    // Every message shown, in order.
    QList<Message> messages;
    QStringList texts() const;
    const Message &lastMessage() const;

    // The next question's answer; with none queued, No.
    void queueAnswer(MessageButton answer) { m_answers.append(answer); }

    // Called for every message after it has been recorded.
    std::function<void(const Message &)> onMessage;

    void standIn(ModalDialog dialog, StandIn standIn);
    void drive(ModalDialog dialog, Driver driver);

    // The file dialog's OK with `path` (holding a separator) in its path box.
    void answerFileDialog(AppState &state, const QString &path);
    // The file dialog's Cancel.
    void cancelFileDialog(AppState &state);

    // Every dialog asked for, in order, scripted or not.
    QList<ModalDialog> openedDialogs;

    int helpRequests = 0;

    // Where icon/ and help/ are looked for; the build folder by default.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    DialogOutcome openDialog(ModalDialog dialog, QObject *owner) override;
    void showHelp() override { ++helpRequests; }
    QString programFolder() const override { return m_programFolder; }

protected:
    MessageButton present(const Message &message) override;
    DialogOutcome runDialog(ModalDialog which, QDialog &dialog) override;

private:
    struct Script {
        StandIn standIn;
        Driver driver;
    };
    std::map<ModalDialog, QList<Script>> m_scripts;
    QList<MessageButton> m_answers;
    Driver m_driver;
    QString m_programFolder;
};

// The visible top-level windows, by object name (a GUI test ends with none).
QStringList visibleTopLevelWindows();

} // namespace korvel::testing
