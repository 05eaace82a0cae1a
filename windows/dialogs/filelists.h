// The drive, folder and file lists of the file dialog, over QStorageInfo and
// QDir. Paths are shown and handed out with the platform's separators. Each
// list tells of a change made from code just as of one made by the user.
#pragma once

#include <QComboBox>
#include <QListWidget>

namespace korvel {

// The drives of the machine: the roots of its file systems ("/" on Linux,
// "C:" and so on on Windows).
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    QString drive() const;

    // Chooses the listed drive named `name` (case does not count; "c" names
    // "C:"). Emits driveChosen when the choice changes; false, with nothing
    // changed, when no listed drive has that name.
    bool setDrive(const QString &name);

    // Chooses `name` without telling anyone.
    void setDriveQuietly(const QString &name);

    // Whether a drive can be used now: it exists and is mounted and ready.
    static bool usable(const QString &name);

    // The drive used when a chosen one cannot be: drive C, the root on Linux.
    static QString fallbackDrive();

    // The folder a drive opens at: the current folder when it lies on that
    // drive, otherwise the drive's root.
    static QString startFolder(const QString &name);

Q_SIGNALS:
    void driveChosen(const QString &name);

private:
    int indexOfDrive(const QString &name) const;
};

// The current folder: its ancestors from the root down, then its subfolders.
// A click on an entry opens that folder.
class FolderList : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const;

    // Opens `folder` and emits pathChanged when it differs from the current
    // one. False, with nothing changed, when it is not a folder. A folder
    // that cannot be read shows no subfolders.
    bool setPath(const QString &folder);

Q_SIGNALS:
    void pathChanged(const QString &folder);

private:
    void fill();

    QString m_path;
};

// The files of one folder that match a pattern such as "*.mdf".
class FileList : public QListWidget
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const;
    void setPath(const QString &folder);
    void setPattern(const QString &pattern);

Q_SIGNALS:
    void fileClicked(const QString &name);

private:
    void fill();

    QString m_path;
    QString m_pattern = QStringLiteral("*.mdf");
};

} // namespace korvel
