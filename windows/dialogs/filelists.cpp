#include "filelists.h"

#include "filechoice.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStyle>

namespace korvel {

namespace {

QString nativeDriveName(const QFileInfo &root)
{
    QString name = QDir::toNativeSeparators(root.absoluteFilePath());
    // "C:\" is listed as "C:"; the root "/" stays as it is.
    if (name.size() > 1 && name.endsWith(QDir::separator()))
        name.chop(1);
    return name;
}

bool sameFolder(const QString &a, const QString &b)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(a)) == QDir::cleanPath(QDir::fromNativeSeparators(b));
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    for (const QFileInfo &root : QDir::drives())
        addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), nativeDriveName(root));
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            Q_EMIT driveChosen(itemText(index));
    });
}

QString DriveList::drive() const
{
    return currentText();
}

int DriveList::indexOfDrive(const QString &name) const
{
    for (int i = 0; i < count(); ++i) {
        const QString listed = itemText(i);
        if (listed.compare(name, Qt::CaseInsensitive) == 0)
            return i;
        // A bare letter names its drive, as "c" names "C:".
        if (name.size() == 1 && listed.size() == 2 && listed.at(1) == QLatin1Char(':')
            && listed.at(0).toLower() == name.at(0).toLower())
            return i;
    }
    return -1;
}

bool DriveList::setDrive(const QString &name)
{
    const int index = indexOfDrive(name);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

void DriveList::setDriveQuietly(const QString &name)
{
    const QSignalBlocker quiet(this);
    const int index = indexOfDrive(name);
    if (index >= 0)
        setCurrentIndex(index);
}

bool DriveList::usable(const QString &name)
{
    if (name.isEmpty())
        return false;
    QString root = QDir::fromNativeSeparators(name);
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    const QFileInfo info(root);
    if (!info.isAbsolute() || !info.isDir())
        return false;
    const QStorageInfo storage(root);
    return storage.isValid() && storage.isReady();
}

QString DriveList::fallbackDrive()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:");
#else
    return QStringLiteral("/");
#endif
}

QString DriveList::startFolder(const QString &name)
{
    const QString current = QDir::toNativeSeparators(QDir::currentPath());
    if (driveOfPath(current).compare(name, Qt::CaseInsensitive) == 0)
        return current;
    return withSeparator(name);
}

FolderList::FolderList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item)
            setPath(item->data(Qt::UserRole).toString());
    });
}

QString FolderList::path() const
{
    return m_path;
}

bool FolderList::setPath(const QString &folder)
{
    const QFileInfo info(QDir::fromNativeSeparators(folder));
    if (folder.isEmpty() || !info.isDir())
        return false;
    const QString opened = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!m_path.isEmpty() && sameFolder(opened, m_path))
        return true;
    m_path = opened;
    fill();
    Q_EMIT pathChanged(m_path);
    return true;
}

void FolderList::fill()
{
    clear();
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);

    QStringList chain;
    QDir dir(QDir::fromNativeSeparators(m_path));
    chain.prepend(dir.absolutePath());
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());

    int depth = 0;
    for (const QString &folder : std::as_const(chain)) {
        const QString name = depth == 0 ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto *item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, QDir::toNativeSeparators(folder));
        ++depth;
    }
    setCurrentRow(count() - 1);

    const QDir current(QDir::fromNativeSeparators(m_path));
    const QStringList subfolders =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, QDir::toNativeSeparators(current.absoluteFilePath(name)));
    }
}

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (item)
            Q_EMIT fileClicked(item->text());
    });
}

QString FileList::path() const
{
    return m_path;
}

void FileList::setPath(const QString &folder)
{
    m_path = folder;
    fill();
}

void FileList::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    fill();
}

void FileList::fill()
{
    clear();
    if (m_path.isEmpty())
        return;
    const QDir dir(QDir::fromNativeSeparators(m_path));
    addItems(dir.entryList({m_pattern}, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

} // namespace korvel
