// User-interface services for tests: every message is recorded and answered
// at once, questions from a queue of answers, dialogs from a script. Nothing
// ever waits for a person.
//
// A dialog can be stood in for (the dialog is never built: the stand-in sets
// what its answer would have set, e.g. answerFileDialog) or driven (the real
// dialog is built through its registered factory, shown without exec(), and
// the driver clicks its buttons). A dialog opened with no script is built,
// shown and closed at once by its close box.
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

    // The answer to the next question; a question with none queued is
    // answered No and counted in unansweredQuestions.
    void queueAnswer(MessageButton answer);
    int unansweredQuestions = 0;

    // Called for every message after it has been recorded.
    std::function<void(const Message &)> onMessage;

    void standIn(ModalDialog dialog, StandIn standIn);
    void drive(ModalDialog dialog, Driver driver);

    // The file dialog's OK with `path` in its path box: sets SelectedDrive,
    // SelectedFolder and SelectedFile as the dialog would. `path` must hold a
    // separator.
    void answerFileDialog(AppState &state, const QString &path);
    // The file dialog's Cancel.
    void cancelFileDialog(AppState &state);

    // Every dialog asked for, in order, scripted or not.
    QList<ModalDialog> openedDialogs;

    int helpRequests = 0;

    // Where icon/ and help/ are looked for; the build folder by default.
    void setProgramFolder(const QString &folder);

    DialogOutcome openDialog(ModalDialog dialog, QObject *owner) override;
    void showHelp() override;
    QString programFolder() const override;

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
