// Start-up: one running instance per user, the start values, the List window.
//
// main() builds the AppState and the QtServices, registers the program's
// dialogs and windows (registerProgramWindows) and starts a Program; tests do
// the same with their own services and lock path.
#pragma once

#include "appstate.h"
#include "uiservices.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class QLockFile;

namespace korvel {

// The lock that marks a running instance: korvel.lock in the user's runtime
// folder (the temporary folder when there is none).
QString defaultLockPath();

// The object editor, the Tree window and every other dialog and window of the
// program, built on `state` and `services`.
void registerProgramWindows(UiServices &services, AppState &state);

class Program
{
public:
    Program(AppState &state, UiServices &services);
    ~Program();

    // Shows the program in the language of this run (startLanguage: the
    // command line's --lang, else the one chosen last). Then takes the lock at
    // `lockPath`; a lock left by a run that crashed does not
    // count. If another instance holds it, tells the user and returns false:
    // the caller ends without a window. Otherwise sets the start values and
    // shows the List window. A lock that cannot be made at all (an unwritable
    // folder) does not keep the program from starting; a program without a
    // List window does not start.
    bool start(const QString &lockPath);

    // The window shown by start(); null before, or once it has closed.
    QWidget *firstWindow() const;

private:
    AppState &m_state;
    UiServices &m_services;
    std::unique_ptr<QLockFile> m_lock;
    QPointer<QWidget> m_firstWindow;
};

} // namespace korvel
