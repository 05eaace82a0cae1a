#include "commandsupport.h"

#include "designfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvel::cli {

namespace {

constexpr int StandardOutput = 1;

#ifdef _WIN32
int duplicate(int fd) { return _dup(fd); }
int duplicateTo(int fd, int to) { return _dup2(fd, to); }
int closeFd(int fd) { return _close(fd); }
int descriptorOf(std::FILE *file) { return _fileno(file); }
#else
int duplicate(int fd) { return dup(fd); }
int duplicateTo(int fd, int to) { return dup2(fd, to); }
int closeFd(int fd) { return close(fd); }
int descriptorOf(std::FILE *file) { return fileno(file); }
#endif

std::filesystem::path nativePath(const QString &path)
{
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

void writeLine(const QString &line)
{
    QString text = line;
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextStream(stderr) << text << '\n';
}

// The non-empty lines of text the library wrote, in the platform's text
// encoding.
QStringList linesOf(const QByteArray &text)
{
    QStringList lines;
    for (const QByteArray &line : text.split('\n')) {
        const QString decoded = QString::fromLocal8Bit(line).trimmed();
        if (!decoded.isEmpty())
            lines << decoded;
    }
    return lines;
}

QStringList linesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? linesOf(file.readAll()) : QStringList();
}

// Standard output goes to a file without a name while it lives, and back
// where it went before when it ends; text() is what was written meanwhile.
class CapturedOutput
{
public:
    CapturedOutput() : m_file(std::tmpfile())
    {
        std::fflush(stdout);
        m_saved = duplicate(StandardOutput);
        if (m_saved >= 0 && m_file != nullptr)
            m_captured = duplicateTo(descriptorOf(m_file), StandardOutput) >= 0;
    }

    ~CapturedOutput()
    {
        restore();
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    QByteArray text()
    {
        restore();
        QByteArray bytes;
        if (m_file == nullptr)
            return bytes;
        std::rewind(m_file);
        char block[4096];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, m_file)) > 0;)
            bytes.append(block, static_cast<qsizetype>(got));
        return bytes;
    }

private:
    void restore()
    {
        std::fflush(stdout);
        if (m_captured)
            duplicateTo(m_saved, StandardOutput);
        m_captured = false;
        if (m_saved >= 0)
            closeFd(m_saved);
        m_saved = -1;
    }

    std::FILE *m_file;
    int m_saved = -1;
    bool m_captured = false;
};

class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &folder) : m_previous(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~CurrentFolder() { QDir::setCurrent(m_previous); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_previous;
};

constexpr int MaxLinkDepth = 40;

// What a new file's permissions are: readable and writable as the umask lets.
QFileDevice::Permissions newFilePermissions()
{
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
        | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
        | QFileDevice::WriteOther;
#ifndef _WIN32
    const mode_t mask = umask(0);
    umask(mask);
    if (mask & S_IWGRP)
        permissions &= ~QFileDevice::WriteGroup;
    if (mask & S_IRGRP)
        permissions &= ~QFileDevice::ReadGroup;
    if (mask & S_IWOTH)
        permissions &= ~QFileDevice::WriteOther;
    if (mask & S_IROTH)
        permissions &= ~QFileDevice::ReadOther;
#endif
    return permissions;
}

// Puts `from` in the place of `to` in one step, replacing what was there.
// The file is not forced to disk first: like a compiler's output, it is as
// durable as the file system makes a renamed file.
bool renameOver(const QString &from, const QString &to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t *>(from.utf16()), reinterpret_cast<const wchar_t *>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING)
        != 0;
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// Where the workspace goes: $TMPDIR when the user set it; else a folder held
// in memory when there is one (the user's runtime folder, /dev/shm), where
// making and removing the library's working files costs no disk journal;
// else the system's temporary folder.
QString workspaceParent()
{
    if (!qEnvironmentVariableIsEmpty("TMPDIR"))
        return QDir::tempPath();
    for (const QString &folder : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")}) {
        const QFileInfo info(folder);
        if (!folder.isEmpty() && info.isDir() && info.isWritable())
            return folder;
    }
    return QDir::tempPath();
}

} // namespace

int fail(const QString &file, const QString &text)
{
    writeLine(QStringLiteral("korvelc: %1: %2").arg(QDir::toNativeSeparators(file), text));
    return 1;
}

void note(const QString &file, const QString &text)
{
    writeLine(QStringLiteral("korvelc: %1: %2").arg(QDir::toNativeSeparators(file), text));
}

int usageError(const QString &text)
{
    writeLine(QStringLiteral("korvelc: %1 (korvelc --help shows the usage)").arg(text));
    return 1;
}

bool readInput(const QString &path, QByteArray &bytes, QString &error)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        error = QStringLiteral("no such file");
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("is a folder, not a file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

std::unique_ptr<AppState> readDesignInput(const QString &path)
{
    QByteArray text;
    QString error;
    if (!readInput(path, text, error)) {
        fail(path, error);
        return nullptr;
    }
    if (!hasDesignSection(text)) {
        fail(path, QStringLiteral("is not a Korvel design file (no <MibTree> or other section)"));
        return nullptr;
    }
    auto state = std::make_unique<AppState>();
    if (!readDesignText(*state, text, &error)) {
        fail(path, error);
        return nullptr;
    }
    return state;
}

bool sameFile(const QString &first, const QString &second)
{
    std::error_code error;
    return std::filesystem::equivalent(nativePath(first), nativePath(second), error) && !error;
}

QString outputProblem(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("is a folder, not a file");
    // Renamed over, a device, pipe or socket would be replaced by a file.
    std::error_code error;
    const auto status = std::filesystem::status(nativePath(path), error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return QStringLiteral("is not a regular file (a device, pipe or socket)");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("may not be written (it is read-only)");
    return QString();
}

bool replaceFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QFileInfo target(path);
    for (int depth = 0; target.isSymLink() && depth < MaxLinkDepth; ++depth)
        target.setFile(target.symLinkTarget());
    const bool existed = target.exists();
    QTemporaryFile file(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!file.open()) {
        error = file.errorString();
        return false;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    // The new file gets the old one's permissions, or a new file's.
    const bool permitted = file.setPermissions(existed ? target.permissions() : newFilePermissions());
    file.close();
    if (!written || !permitted || file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    if (!renameOver(file.fileName(), target.absoluteFilePath())) {
        error = QStringLiteral("cannot replace the file: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

Workspace::Workspace()
{
    for (const QString &parent : {workspaceParent(), QDir::tempPath()}) {
        m_folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/korvelc-XXXXXX"));
        if (m_folder->isValid())
            return;
    }
}

QStringList Workspace::run(const std::function<void()> &call)
{
    CapturedOutput output;
    {
        const CurrentFolder folder(m_folder->path());
        call();
    }
    return linesOf(output.text());
}

QString Workspace::filePath(const QString &name) const
{
    return m_folder->filePath(name);
}

QStringList Workspace::errorLog() const
{
    return linesOf(filePath(QStringLiteral("error.log")));
}

QString withLibraryReasons(const QString &reason, const QStringList &printed, const QStringList &logged,
                           const QString &otherwise)
{
    QStringList reasons;
    for (const QString &line : printed + logged) {
        if (!reasons.contains(line))
            reasons << line;
    }
    return reason + QStringLiteral(": ") + (reasons.isEmpty() ? otherwise : reasons.join(QStringLiteral("; ")));
}

} // namespace korvel::cli
