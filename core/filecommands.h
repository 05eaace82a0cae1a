// The file commands both main windows share: open and save a design file
// (with the module information in its side file), create a MIB file in the
// seed's form or as an SMIv2 module, load one, and edit the module
// information, and import a real MIB module. Each asks the file dialog (through the
// services) in its mode, checks the extension and the file, asks before
// overwriting, does the work and tells the user the outcome; each catches
// the failures of its own steps and shows at most one failure message.
// Open and load start a new undo history; save marks the design saved.
//
// The window that runs them supplies what differs between windows: how it
// rebuilds itself from the tables, how it sets its title, and the first line
// of the message after a MIB file could not be read.
#pragma once

#include "appstate.h"
#include "services.h"

#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace korvel {

class FileCommands
{
public:
    // `window` is the window running the commands; the dialogs open over it.
    FileCommands(AppState &state, Services &services, QObject *window);

    // Rebuilds the window from the tables.
    std::function<void()> refresh;
    // Sets the window's title from CurrentFile.
    std::function<void()> updateTitle;
    // The first line of the two-line message after a failed MIB load.
    QString loadFailureLine = listLoadFailureLine();
    // Whether a design file that cannot be read also empties the file
    // dialog's answer (the Tree window's open does).
    bool clearChoiceWhenOpenFails = false;

    static QString listLoadFailureLine();
    static QString treeLoadFailureLine();

    void openDesignFile();
    // True when the design was saved.
    bool saveDesignFile();
    void createMibFile();
    void createSmiv2File();
    void loadMibFile();
    // Reads a real MIB module through libsmi (the file dialog's load mode,
    // any file name); the design and its module information are replaced
    // only when the import succeeds, and the design has no file name yet.
    void importMibModule();
    // Opens the module information dialog, which stores what it accepts.
    void editModuleInfo();

    // Before a command throws the design away (open, load, import, the end
    // of the program): when it has changed since it was last opened or
    // saved, asks whether to save it. Yes saves through saveDesignFile, No
    // goes on; false (stop) after Cancel or a save that did not happen.
    bool mayDiscardDesign();

    // The path the file dialog chose in `mode`, or empty when it was
    // cancelled (or the program has no file dialog).
    QString chooseFile(int16_t mode);

private:
    // The path of an existing file chosen in `mode`, its extension checked
    // when `extension` is given; empty, after telling the user why, when
    // there is none.
    QString chooseExistingFile(int16_t mode, const QString &extension = QString(),
                               const QString &extensionMessage = QString());
    // Writes a file chosen in the file dialog's MIB mode with `write`, which
    // returns nothing when the command has nothing more to say (the library
    // could not be bound), and else whether the file was written.
    void createFile(const std::function<std::optional<bool>(const QString &path)> &write);

    AppState &m_state;
    Services &m_services;
    QObject *m_window;
};

} // namespace korvel
