// The program's own file chooser. The caller sets FileDialogMode (open or
// save a design file, create or load a MIB file) and opens it modally; the
// answer is left in SelectedDrive, SelectedFolder and SelectedFile, all empty
// after Cancel. It reads and writes no file: the caller checks the name and
// does the work.
#pragma once

#include "appstate.h"
#include "services.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvel {

class DriveList;
class FileList;
class FolderList;

class FileDialog : public QDialog
{
    Q_OBJECT

public:
    // Builds the dialog and sets it up for the current FileDialogMode.
    FileDialog(AppState &state, Services &services, QWidget *parent = nullptr);

    // Cancel, Esc and the close box all clear the answer.
    void reject() override;

    // Shown, the path box has the focus with its caret at the end and nothing
    // selected: a name typed at once goes after the folder.
    void setVisible(bool visible) override;

private:
    void loadMode();
    void setPathBox(const QString &text);

    // One handler per control event.
    void driveChosen(const QString &drive); // Drive1
    void folderChanged(const QString &folder); // Dir1
    void fileClicked(const QString &name); // File1
    void okClicked(); // Command1

    AppState &m_state;
    Services &m_services;

    DriveList *m_driveList = nullptr;
    FolderList *m_folderList = nullptr;
    FileList *m_fileList = nullptr;
    QLabel *m_pathLabel = nullptr;
    QLineEdit *m_pathBox = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

} // namespace korvel
