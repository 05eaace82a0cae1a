#include "fileope.h"

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

FileOpe::FileOpe(AppState &state, Services &services, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("FileOpe"));
    setWindowTitle(QStringLiteral("Korvel （ファイル）"));

    m_label1 = new QLabel(QStringLiteral("ファイル名"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_label1->setBuddy(m_text1);
    m_file1 = new FileList(this);
    m_file1->setObjectName(QStringLiteral("File1"));
    m_dir1 = new FolderList(this);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_drive1 = new DriveList(this);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_command1 = new QPushButton(QStringLiteral("開く"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setDefault(true);
    m_command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setAutoDefault(false);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    buttons->addStretch(1);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_label1, 0, 0, 1, 2);
    layout->addWidget(m_text1, 1, 0, 1, 2);
    layout->addLayout(buttons, 1, 2, 3, 1);
    layout->addWidget(m_file1, 2, 0, 2, 1);
    layout->addWidget(m_dir1, 2, 1);
    layout->addWidget(m_drive1, 3, 1);
    layout->setColumnMinimumWidth(0, 200);
    layout->setColumnMinimumWidth(1, 220);
    layout->setRowMinimumHeight(2, 220);

    // The lists start at the process's current drive and folder.
    m_drive1->setDriveQuietly(driveOfPath(QDir::toNativeSeparators(QDir::currentPath())));

    connect(m_drive1, &DriveList::driveChosen, this, &FileOpe::driveChosen);
    connect(m_dir1, &FolderList::pathChanged, this, &FileOpe::folderChanged);
    connect(m_file1, &FileList::fileClicked, this, &FileOpe::fileClicked);
    connect(m_command1, &QPushButton::clicked, this, &FileOpe::okClicked);
    connect(m_command2, &QPushButton::clicked, this, &FileOpe::reject);

    m_dir1->setPath(QDir::toNativeSeparators(QDir::currentPath()));
    loadMode();
    m_text1->setFocus();
}

void FileOpe::loadMode()
{
    const int mode = m_state.FileDialogMode;
    const bool mib = mode == FileDialogPurpose::CreateMibFile || mode == FileDialogPurpose::LoadMibFile;
    m_file1->setPattern(mib ? QStringLiteral("*.mib") : QStringLiteral("*.mdf"));
    m_command1->setText(mode == FileDialogPurpose::SaveDesignFile  ? QStringLiteral("保存")
                        : mode == FileDialogPurpose::CreateMibFile ? QStringLiteral("MIB作成")
                                                                   : QStringLiteral("開く"));

    if (mode != FileDialogPurpose::SaveDesignFile && mode != FileDialogPurpose::CreateMibFile) {
        m_text1->clear();
        return;
    }
    if (m_state.CurrentFolder.isEmpty() || m_state.CurrentDrive.isEmpty()) {
        // Nothing opened or saved yet.
        if (!m_drive1->setDrive(DriveList::fallbackDrive()))
            driveChosen(DriveList::fallbackDrive());
        m_text1->clear();
        return;
    }
    if (!m_drive1->setDrive(m_state.CurrentDrive))
        driveChosen(m_state.CurrentDrive);
    // A folder that has gone since it was last used leaves the lists where
    // they are; the path box still offers the last name.
    m_dir1->setPath(m_state.CurrentFolder);
    const QString separator(QDir::separator());
    setPathBox(mode == FileDialogPurpose::SaveDesignFile
                   ? m_state.CurrentFolder + separator + m_state.CurrentFile
                   : m_state.CurrentFolder + separator);
}

void FileOpe::setPathBox(const QString &text)
{
    m_text1->setText(text);
    m_text1->setCursorPosition(int(text.size()));
}

void FileOpe::driveChosen(const QString &drive)
{
    if (!DriveList::usable(drive)) {
        m_services.showInformation(QStringLiteral("ドライブが選択できません。"));
        const QString fallback = DriveList::fallbackDrive();
        m_drive1->setDriveQuietly(fallback);
        if (DriveList::usable(fallback)) {
            m_dir1->setPath(DriveList::startFolder(fallback));
            setPathBox(withSeparator(fallback));
        }
        return;
    }
    m_dir1->setPath(DriveList::startFolder(drive));
    setPathBox(withSeparator(drive));
}

void FileOpe::folderChanged(const QString &folder)
{
    m_file1->setPath(folder);
    setPathBox(withSeparator(folder));
}

void FileOpe::fileClicked(const QString &name)
{
    const QString text = withSeparator(m_file1->path()) + name;
    m_text1->setText(text);
    if (text.size() <= LongestPath) {
        m_text1->setCursorPosition(int(text.size()));
        return;
    }
    m_services.show(QStringLiteral("ファイル名（パス名も含む）は255文字までです。"), MessageKind::Warning,
                    QStringLiteral("警告メッセージ"));
}

void FileOpe::okClicked()
{
    const QString text = m_text1->text();
    if (text.isEmpty()) {
        m_services.showInformation(QStringLiteral("ファイルを選択してください。"));
        return;
    }
    if (!chooseFilePath(m_state, text)) {
        m_services.show(QStringLiteral("ファイル操作に失敗しました。"), MessageKind::Error);
        return;
    }
    accept();
}

void FileOpe::setVisible(bool visible)
{
    // Showing a dialog enters its focus widget as a Tab would, and a line
    // edit entered by Tab selects its whole text.
    QDialog::setVisible(visible);
    if (visible) {
        m_text1->deselect();
        m_text1->setCursorPosition(int(m_text1->text().size()));
    }
}

void FileOpe::reject()
{
    m_state.SelectedDrive.clear();
    m_state.SelectedFolder.clear();
    m_state.SelectedFile.clear();
    QDialog::reject();
}

} // namespace korvel
