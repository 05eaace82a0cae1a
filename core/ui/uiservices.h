// The part of the user-interface services that both the program's and the
// tests' implementations share: the factories that build the modal dialogs
// and the main windows, and the switch between main windows.
//
// Whoever assembles the program (app/program.cpp, or a test) registers a
// factory per dialog and per main window. A window then asks for a dialog by
// its ModalDialog name and never builds one itself, so a test can stand in
// for the file dialog's answer or drive the real dialog without exec().
#pragma once

#include "services.h"

#include <QPointer>

#include <functional>
#include <map>
#include <memory>

class QDialog;
class QWidget;

namespace korvel {

class UiServices : public Services
{
public:
    // Builds the dialog over `owner` and runs its opening sequence. A null
    // result means the dialog refused to open and has told the user why (the
    // object editor asked to add below a table does this).
    using DialogFactory = std::function<std::unique_ptr<QDialog>(QWidget *owner)>;
    // Builds a main window, not yet shown and without a parent.
    using WindowFactory = std::function<QWidget *()>;

    UiServices();
    ~UiServices() override;

    void setDialog(ModalDialog dialog, DialogFactory factory);
    void setWindow(MainWindow window, WindowFactory factory);
    // A tool window is built without a parent and does not keep the program
    // running once the last main window has closed.
    void setToolWindow(ToolWindow window, WindowFactory factory);

    DialogOutcome openDialog(ModalDialog dialog, QObject *owner) override;
    bool hasDialog(ModalDialog dialog) const override;
    bool switchWindow(MainWindow target, QObject *current) override;
    bool hasWindow(MainWindow target) const override;
    bool showToolWindow(ToolWindow window) override;

    // Builds and shows a main window; it deletes itself when closed. Null
    // when the program has no such window.
    QWidget *openWindow(MainWindow target);

protected:
    // Runs a built dialog until it closes; the program's implementation calls
    // exec(), the tests' one a script.
    virtual DialogOutcome runDialog(ModalDialog which, QDialog &dialog) = 0;

private:
    std::map<ModalDialog, DialogFactory> m_dialogs;
    std::map<MainWindow, WindowFactory> m_windows;
    std::map<ToolWindow, WindowFactory> m_toolFactories;
    std::map<ToolWindow, QPointer<QWidget>> m_toolWindows;
};

} // namespace korvel
