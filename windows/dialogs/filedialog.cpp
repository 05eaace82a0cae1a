#include "filedialog.h"
#include "messagetexts.h"

#include "filechoice.h"
#include "filelists.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvel {

namespace {

// Longest path the path box takes without a warning after a file click.
constexpr int LongestPath = 255;

} // namespace

FileDialog::FileDialog(AppState &state, Services &services, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("FileOpe"));
    setWindowTitle(QStringLiteral("Korvel （ファイル）"));

    m_pathLabel = new QLabel(QStringLiteral("ファイル名"), this);
    m_pathLabel->setObjectName(QStringLiteral("Label1"));
    m_pathBox = new QLineEdit(this);
    m_pathBox->setObjectName(QStringLiteral("Text1"));
    m_pathLabel->setBuddy(m_pathBox);
    m_fileList = new FileList(this);
    m_fileList->setObjectName(QStringLiteral("File1"));
    m_folderList = new FolderList(this);
    m_folderList->setObjectName(QStringLiteral("Dir1"));
    m_driveList = new DriveList(this);
    m_driveList->setObjectName(QStringLiteral("Drive1"));
    m_okButton = new QPushButton(QStringLiteral("開く"), this);
    m_okButton->setObjectName(QStringLiteral("Command1"));
    m_okButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancelButton->setObjectName(QStringLiteral("Command2"));
    m_cancelButton->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_pathLabel, 0, 0, 1, 2);
    layout->addWidget(m_pathBox, 1, 0, 1, 2);
    layout->addLayout(buttons, 1, 2, 3, 1);
    layout->addWidget(m_fileList, 2, 0, 2, 1);
    layout->addWidget(m_folderList, 2, 1);
    layout->addWidget(m_driveList, 3, 1);
    layout->setColumnMinimumWidth(0, 200);
    layout->setColumnMinimumWidth(1, 220);
    layout->setRowMinimumHeight(2, 220);

    // The lists start at the process's current drive and folder.
    m_driveList->setDriveQuietly(driveOfPath(QDir::toNativeSeparators(QDir::currentPath())));

    connect(m_driveList, &DriveList::driveChosen, this, &FileDialog::driveChosen);
    connect(m_folderList, &FolderList::pathChanged, this, &FileDialog::folderChanged);
    connect(m_fileList, &FileList::fileClicked, this, &FileDialog::fileClicked);
    connect(m_okButton, &QPushButton::clicked, this, &FileDialog::okClicked);
    connect(m_cancelButton, &QPushButton::clicked, this, &FileDialog::reject);

    m_folderList->setPath(QDir::toNativeSeparators(QDir::currentPath()));
    loadMode();
    m_pathBox->setFocus();
}

void FileDialog::loadMode()
{
    const int mode = m_state.FileDialogMode;
    const bool mib = mode == FileDialogPurpose::CreateMibFile || mode == FileDialogPurpose::LoadMibFile;
    m_fileList->setPattern(mib ? QStringLiteral("*.mib") : QStringLiteral("*.mdf"));
    m_okButton->setText(mode == FileDialogPurpose::SaveDesignFile  ? translated("保存")
                        : mode == FileDialogPurpose::CreateMibFile ? translated("MIB作成")
                                                                   : translated("開く"));

    if (mode != FileDialogPurpose::SaveDesignFile && mode != FileDialogPurpose::CreateMibFile) {
        m_pathBox->clear();
        return;
    }
    if (m_state.CurrentFolder.isEmpty() || m_state.CurrentDrive.isEmpty()) {
        // Nothing opened or saved yet.
        if (!m_driveList->setDrive(DriveList::fallbackDrive()))
            driveChosen(DriveList::fallbackDrive());
        m_pathBox->clear();
        return;
    }
    if (!m_driveList->setDrive(m_state.CurrentDrive))
        driveChosen(m_state.CurrentDrive);
    // A folder that has gone since it was last used leaves the lists where
    // they are; the path box still offers the last name.
    m_folderList->setPath(m_state.CurrentFolder);
    const QString separator(QDir::separator());
    setPathBox(mode == FileDialogPurpose::SaveDesignFile
                   ? m_state.CurrentFolder + separator + m_state.CurrentFile
                   : m_state.CurrentFolder + separator);
}

void FileDialog::setPathBox(const QString &text)
{
    m_pathBox->setText(text);
    m_pathBox->setCursorPosition(int(text.size()));
}

void FileDialog::driveChosen(const QString &drive)
{
    if (!DriveList::usable(drive)) {
        m_services.showInformation(texts::driveNotUsable());
        const QString fallback = DriveList::fallbackDrive();
        m_driveList->setDriveQuietly(fallback);
        if (DriveList::usable(fallback)) {
            m_folderList->setPath(DriveList::startFolder(fallback));
            setPathBox(withSeparator(fallback));
        }
        return;
    }
    m_folderList->setPath(DriveList::startFolder(drive));
    setPathBox(withSeparator(drive));
}

void FileDialog::folderChanged(const QString &folder)
{
    m_fileList->setPath(folder);
    setPathBox(withSeparator(folder));
}

void FileDialog::fileClicked(const QString &name)
{
    const QString text = withSeparator(m_fileList->path()) + name;
    m_pathBox->setText(text);
    if (text.size() <= LongestPath) {
        m_pathBox->setCursorPosition(int(text.size()));
        return;
    }
    m_services.show(texts::pathTooLong(), MessageKind::Warning,
                    texts::warningCaption());
}

void FileDialog::okClicked()
{
    const QString text = m_pathBox->text();
    if (text.isEmpty()) {
        m_services.showInformation(texts::chooseFile());
        return;
    }
    if (!chooseFilePath(m_state, text)) {
        m_services.show(texts::fileOperationFailed(), MessageKind::Error);
        return;
    }
    accept();
}

void FileDialog::setVisible(bool visible)
{
    // Showing a dialog enters its focus widget as a Tab would, and a line
    // edit entered by Tab selects its whole text.
    QDialog::setVisible(visible);
    if (visible) {
        m_pathBox->deselect();
        m_pathBox->setCursorPosition(int(m_pathBox->text().size()));
    }
}

void FileDialog::reject()
{
    m_state.SelectedDrive.clear();
    m_state.SelectedFolder.clear();
    m_state.SelectedFile.clear();
    QDialog::reject();
}

} // namespace korvel
