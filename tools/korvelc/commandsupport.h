// What every korvelc command shares: one-line reports on standard error, the
// checks of its input and output files, output replaced only by a complete
// file, and a private folder in which libkorvel runs.
#pragma once

#include "appstate.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace korvel::cli {

// Writes "korvelc: FILE: TEXT" as one line on standard error (line breaks in
// TEXT become blanks) and returns 1, the exit status of a failure.
int fail(const QString &file, const QString &text);

// The same line for a message that is not a failure.
void note(const QString &file, const QString &text);

// Writes "korvelc: TEXT (korvelc --help shows the usage)" and returns 1.
int usageError(const QString &text);

// Reads a whole input file. False with `error` set when it is missing, a
// folder or cannot be read.
bool readInput(const QString &path, QByteArray &bytes, QString &error);

// Reads the design file at `path` as the program opens it. Null after the
// failure has been reported: missing, unreadable, or not a design file.
std::unique_ptr<AppState> readDesignInput(const QString &path);

// Whether two paths name one file, also through symbolic and hard links.
// False when either of them does not exist.
bool sameFile(const QString &first, const QString &second);

// Why `path` cannot be an output (an existing folder, device, pipe or socket,
// an existing file that may not be written), or empty when nothing speaks
// against it yet.
QString outputProblem(const QString &path);

// Replaces the file at `path` with `bytes`: they go to a temporary file in
// its folder, which takes the file's place only once complete, so a failure
// leaves the old file as it was. The new file keeps the old one's
// permissions; a symbolic link is followed, not replaced.
bool replaceFile(const QString &path, const QByteArray &bytes, QString &error);

// A private temporary folder, removed with everything in it when the
// workspace goes, whatever happened. It is made in $TMPDIR when that is set,
// else in memory when the system offers a folder there, else in the
// system's temporary folder. libkorvel runs in it: its working files
// and ./error.log land there, and what it prints is captured.
class Workspace
{
public:
    Workspace();

    bool isValid() const { return m_folder->isValid(); }
    QString errorString() const { return m_folder->errorString(); }
    QString filePath(const QString &name) const;

    // Runs `call` with the workspace as the current folder and standard
    // output caught. Returns the lines printed meanwhile.
    QStringList run(const std::function<void()> &call);

    // The lines ./error.log holds after a run, or none.
    QStringList errorLog() const;

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

// The library's lines and error.log's lines after a failed run, joined into
// one text that follows `reason`; a default when there are none.
QString withLibraryReasons(const QString &reason, const QStringList &printed, const QStringList &logged,
                           const QString &otherwise);

} // namespace korvel::cli
