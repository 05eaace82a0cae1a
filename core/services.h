// What the windows need from the windowing toolkit, without naming it.
//
// Every window reaches the user through one Services object handed to it at
// construction: message boxes (show), modal dialogs (openDialog), the switch
// between the two main windows (switchWindow) and the help page (showHelp).
// The program's implementation is korvel::QtServices (core/ui); tests use a
// recording one that answers from a script and never blocks. Services is also
// the MessageSink through which the editor's rules reach the user.
//
// This header links Qt Core only: dialogs and windows are named by the enums
// below, and the implementation keeps the factories that build them.
#pragma once

#include "designchanges.h"
#include "messages.h"

#include <QString>

#include <memory>

class QObject;

namespace korvel {

class MibLibrary;

// The application title: the caption of notices and questions without one.
inline constexpr auto ApplicationTitle = "Korvel";

enum class MessageIcon {
    None,
    Information,
    Exclamation,
    Critical,
};

// A message box as it is shown, the conventions of its kind applied.
struct Message {
    QString text;
    MessageKind kind = MessageKind::Notice;
    QString caption;
    MessageIcon icon = MessageIcon::None;

    // Yes and No for a question, and Cancel for one with Cancel; OK for
    // everything else.
    bool asksYesNo() const { return kind == MessageKind::Question || asksCancel(); }
    bool asksCancel() const { return kind == MessageKind::QuestionWithCancel; }
};

// Applies the conventions: a warning has the exclamation icon and the caption
// "注意メッセージ", an error the critical icon and "警告メッセージ", a notice
// and a question no icon and the application title. A non-empty `caption`
// replaces the kind's caption.
Message makeMessage(const QString &text, MessageKind kind, const QString &caption = QString());

// The modal dialogs the windows open.
enum class ModalDialog {
    FileOpe, // the file dialog; its answer is left in AppState::Selected*
    Version, // the about box
    Design,  // the object editor; EditTarget says what it edits
    ModuleInfo, // the module information; it stores what it accepts in AppState
    Find,       // 検索's question; it leaves the text in AppState::FindText
};

enum class DialogOutcome {
    Accepted,
    Rejected, // closed by Cancel, Esc or the close box
    Refused,  // the dialog closed itself while opening, after telling the user why
    Missing,  // this program has no such dialog
};

enum class MainWindow {
    List,
    Tree,
};

// The windows that stay beside the main windows, one of each at most.
enum class ToolWindow {
    Check, // the design check's findings
};

class Services : public MessageSink
{
public:
    // Shows a modal message box and returns the button pressed: Yes or No for
    // a question (or Cancel), Ok otherwise.
    MessageButton show(const QString &text, MessageKind kind, const QString &caption = QString());

    // A notice with the information icon (the few messages that carry one).
    void showInformation(const QString &text, const QString &caption = QString());

    // A question; true when the user answered Yes.
    bool ask(const QString &text, const QString &caption = QString());

    // The rules' messages: shown with the kind's caption.
    void report(const QString &text, MessageKind kind) override;

    // Opens `dialog` modally over `owner` (the window asking) and returns once
    // it has closed. An exception raised while building or running the dialog
    // propagates to the caller, whose command reports its own failure.
    virtual DialogOutcome openDialog(ModalDialog dialog, QObject *owner) = 0;
    virtual bool hasDialog(ModalDialog dialog) const = 0;

    // Opens `target`, not modal, and only then closes `current`, so the
    // program never finds itself without a window on the way. False, with
    // nothing changed, when the program has no such window.
    virtual bool switchWindow(MainWindow target, QObject *current) = 0;
    virtual bool hasWindow(MainWindow target) const = 0;

    // Opens `window` beside the main windows, not modal, or brings the one
    // already open to the front. It outlasts the switch between the main
    // windows. False when the program has no such window.
    virtual bool showToolWindow(ToolWindow window) = 0;

    // Tells every listener that the design changed (see DesignChanges).
    void designChanged() { m_designChanges.notify(); }
    DesignChanges &designChanges() { return m_designChanges; }

    // Asks the desktop to open help/index.html beside the program. The result
    // is not reported.
    virtual void showHelp() = 0;

    // The folder that holds "help" and "icon": the program's own, or the
    // installed data folder when the program runs from an installation.
    virtual QString programFolder() const = 0;

    // The library the file commands create and read MIB files through: the
    // one handed to useMibLibrary (which must outlive these services), or
    // else libkorvel bound by name at the first call.
    MibLibrary &mibLibrary();
    void useMibLibrary(MibLibrary &library);

protected:
    virtual MessageButton present(const Message &message) = 0;

private:
    DesignChanges m_designChanges;
    MibLibrary *m_library = nullptr;
    std::shared_ptr<MibLibrary> m_ownLibrary;
};

} // namespace korvel
