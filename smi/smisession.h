// libsmi, wrapped in one place. libsmi keeps global state (smiInit and
// smiExit, one search path, one error handler), so at most one SmiSession
// lives at a time; while it does, callers may use libsmi's own API
// (smiGetModule, smiGetNode, ...) on the modules it loaded.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace korvel {

struct SmiDiagnostic {
    QString file;
    int line = 0;
    // libsmi's level, as smilint prints it: 0 to 3 errors, 4 and 5
    // warnings, 6 notes (such as "previous definition of ...")
    int severity = 0;
    QString message;

    bool isError() const { return severity < 4; }
};

class SmiSession
{
public:
    // Starts libsmi with the folders of `path` searched in order for the
    // modules a loaded module imports, reporting diagnostics up to `level`
    // (smilint's -l). Throws nothing; a second live session is a programming
    // error and aborts in debug builds.
    explicit SmiSession(const QStringList &path, int level = 6);
    ~SmiSession();
    SmiSession(const SmiSession &) = delete;
    SmiSession &operator=(const SmiSession &) = delete;

    // Loads a module file (a path) or a module by name from the search path;
    // returns the module's name, or an empty text when libsmi could not.
    // Diagnostics of the modules it imports are not collected.
    QString load(const QString &fileOrName);

    // Every diagnostic since the session started, in the order reported.
    const QList<SmiDiagnostic> &diagnostics() const { return m_diagnostics; }

    // The folder of our own base modules: mibs/ beside the program, or in
    // the installed data folder.
    static QString baseModuleFolder();

private:
    QList<SmiDiagnostic> m_diagnostics;
};

} // namespace korvel
