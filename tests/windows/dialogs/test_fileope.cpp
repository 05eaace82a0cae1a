// The file dialog: its four modes, the lists and the path box, the OK
// splitting, Cancel and the close box, and its messages.
#include "fileope.h"
#include "filelists.h"
#include "recordingservices.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList items(const QListWidget *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all.append(list->item(i)->text().trimmed());
    return all;
}

} // namespace

class FileOpeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FileOpe> m_dialog;
    QString m_startFolder;

    FileOpe *open(int mode)
    {
        m_state->FileDialogMode = static_cast<int16_t>(mode);
        m_dialog = std::make_unique<FileOpe>(*m_state, *m_services);
        m_dialog->show();
        return m_dialog.get();
    }

    template <typename T>
    T *child(const char *name) const
    {
        return m_dialog->findChild<T *>(QLatin1String(name));
    }

    QLineEdit *text1() const { return child<QLineEdit>("Text1"); }
    QString folder() const { return m_dir->path(); }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<AppState>();
        m_services = std::make_unique<RecordingServices>();
        m_dir = std::make_unique<QTemporaryDir>();
        touch(m_dir->filePath(QStringLiteral("a.mdf")));
        touch(m_dir->filePath(QStringLiteral("b.mib")));
        touch(m_dir->filePath(QStringLiteral("c.txt")));
        QVERIFY(QDir(folder()).mkdir(QStringLiteral("sub")));
        touch(m_dir->filePath(QStringLiteral("sub/d.mdf")));
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder()));
    }

    void cleanup()
    {
        if (m_dialog)
            m_dialog->close();
        m_dialog.reset();
        QDir::setCurrent(m_startFolder);
        QVERIFY(visibleTopLevelWindows().isEmpty());
        m_dir.reset();
        m_services.reset();
        m_state.reset();
    }

    void theFourModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("designed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("pathBox");
        const QStringList mdf{QStringLiteral("a.mdf")};
        const QStringList mib{QStringLiteral("b.mib")};
        QTest::newRow("1 open") << 1 << true << QStringLiteral("開く") << mdf << QString();
        QTest::newRow("2 save, nothing saved yet") << 2 << false << QStringLiteral("保存") << mdf << QString();
        QTest::newRow("2 save") << 2 << true << QStringLiteral("保存") << mdf << QStringLiteral("/sub/last.mdf");
        QTest::newRow("3 create, nothing saved yet") << 3 << false << QStringLiteral("MIB作成") << mib << QString();
        QTest::newRow("3 create") << 3 << true << QStringLiteral("MIB作成") << QStringList() << QStringLiteral("/sub/");
        QTest::newRow("4 load") << 4 << true << QStringLiteral("開く") << mib << QString();
    }

    void theFourModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, designed);
        QFETCH(QString, caption);
        QFETCH(QStringList, files);
        QFETCH(QString, pathBox);
        if (designed) {
            // A design file was saved as <folder>/sub/last.mdf.
            m_state->CurrentDrive = QStringLiteral("/");
            m_state->CurrentFolder = folder() + QStringLiteral("/sub");
            m_state->CurrentFile = QStringLiteral("last.mdf");
        }
        open(mode);
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Korvel （ファイル）"));
        QCOMPARE(child<QLabel>("Label1")->text(), QStringLiteral("ファイル名"));
        QCOMPARE(child<QPushButton>("Command1")->text(), caption);
        QCOMPARE(child<QPushButton>("Command2")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
        QCOMPARE(child<DriveList>("Drive1")->drive(), QStringLiteral("/"));

        const bool movesToTheDesign = designed && (mode == 2 || mode == 3);
        const QString expectedFolder = movesToTheDesign ? folder() + QStringLiteral("/sub") : folder();
        QCOMPARE(child<FolderList>("Dir1")->path(), expectedFolder);
        QCOMPARE(items(child<FileList>("File1")),
                 movesToTheDesign && mode == 2 ? QStringList{QStringLiteral("d.mdf")} : files);
        const QString expectedBox = pathBox.isEmpty() ? QString() : folder() + pathBox;
        QCOMPARE(text1()->text(), expectedBox);
        QCOMPARE(text1()->cursorPosition(), int(expectedBox.size()));
        QVERIFY(m_services->messages.isEmpty());
    }

    void okSplitsThePathBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("full path") << "/home/user/a.mdf" << true << "/" << "/home/user" << "a.mdf" << QString();
        QTest::newRow("file in the root") << "/a.mdf" << true << "/" << "" << "a.mdf" << QString();
        QTest::newRow("ends in a separator") << "/home/user/" << true << "/" << "/home/user" << "" << QString();
        QTest::newRow("relative") << "work/a.mdf" << true << "work" << "work" << "a.mdf" << QString();
        QTest::newRow("no separator") << "a.mdf" << false << "a.mdf" << "old" << "old.mdf"
                                      << QStringLiteral("ファイル操作に失敗しました。");
        QTest::newRow("empty") << "" << false << "oldDrive" << "old" << "old.mdf"
                               << QStringLiteral("ファイルを選択してください。");
    }

    void okSplitsThePathBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, closes);
        QFETCH(QString, drive);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, message);
        m_state->SelectedDrive = QStringLiteral("oldDrive");
        m_state->SelectedFolder = QStringLiteral("old");
        m_state->SelectedFile = QStringLiteral("old.mdf");
        open(1);
        text1()->setText(text);
        child<QPushButton>("Command1")->click();

        QCOMPARE(m_dialog->isVisible(), !closes);
        if (closes)
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(m_state->SelectedDrive, drive);
        QCOMPARE(m_state->SelectedFolder, folder);
        QCOMPARE(m_state->SelectedFile, file);
        if (message.isEmpty()) {
            QVERIFY(m_services->messages.isEmpty());
        } else {
            QCOMPARE(m_services->texts(), QStringList{message});
        }
    }

    void theOkMessagesCarryTheirIcons()
    {
        open(1);
        child<QPushButton>("Command1")->click();
        text1()->setText(QStringLiteral("nofolder.mdf"));
        child<QPushButton>("Command1")->click();
        QCOMPARE(m_services->messages.size(), 2);
        QCOMPARE(m_services->messages[0].icon, MessageIcon::Information);
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Korvel"));
        QCOMPARE(m_services->messages[1].kind, MessageKind::Error);
        QCOMPARE(m_services->messages[1].icon, MessageIcon::Critical);
        QCOMPARE(m_services->messages[1].caption, QStringLiteral("警告メッセージ"));
        QVERIFY(m_dialog->isVisible());
    }

    void cancelAndTheCloseBoxClearTheAnswer_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Esc") << 2;
    }

    void cancelAndTheCloseBoxClearTheAnswer()
    {
        QFETCH(int, how);
        // An earlier choice is still there when the dialog opens.
        m_state->SelectedDrive = QStringLiteral("/");
        m_state->SelectedFolder = folder();
        m_state->SelectedFile = QStringLiteral("a.mdf");
        open(2);
        text1()->setText(folder() + QStringLiteral("/b.mdf"));
        if (how == 0)
            child<QPushButton>("Command2")->click();
        else if (how == 1)
            m_dialog->close();
        else
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(m_state->SelectedDrive, QString());
        QCOMPARE(m_state->SelectedFolder, QString());
        QCOMPARE(m_state->SelectedFile, QString());
        QVERIFY(m_services->messages.isEmpty());
    }

    void theFolderListOpensAClickedFolderAtOnce()
    {
        open(1);
        auto *dir1 = child<FolderList>("Dir1");
        QListWidgetItem *sub = dir1->findItems(QStringLiteral("sub"), Qt::MatchEndsWith).value(0);
        QVERIFY(sub);
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(sub).center());
        QCOMPARE(dir1->path(), folder() + QStringLiteral("/sub"));
        QCOMPARE(items(child<FileList>("File1")), QStringList{QStringLiteral("d.mdf")});
        QCOMPARE(text1()->text(), folder() + QStringLiteral("/sub/"));

        // Setting the folder from code runs the same handler; an ancestor
        // entry goes back up.
        QVERIFY(dir1->setPath(folder()));
        QCOMPARE(text1()->text(), folder() + QStringLiteral("/"));
        QCOMPARE(items(child<FileList>("File1")), QStringList{QStringLiteral("a.mdf")});
        QListWidgetItem *root = dir1->item(0);
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(root).center());
        QCOMPARE(dir1->path(), QStringLiteral("/"));
        QCOMPARE(text1()->text(), QStringLiteral("/"));
    }

    void aFolderThatIsGoneChangesNothing()
    {
        open(1);
        auto *dir1 = child<FolderList>("Dir1");
        QListWidgetItem *sub = dir1->findItems(QStringLiteral("sub"), Qt::MatchEndsWith).value(0);
        QVERIFY(QDir(folder() + QStringLiteral("/sub")).removeRecursively());
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(sub).center());
        QCOMPARE(dir1->path(), folder());
        QVERIFY(!dir1->setPath(folder() + QStringLiteral("/never")));
        QCOMPARE(dir1->path(), folder());
        QVERIFY(m_services->messages.isEmpty());
    }

    void aFileClickFillsThePathBox()
    {
        open(1);
        auto *file1 = child<FileList>("File1");
        QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualItemRect(file1->item(0)).center());
        QCOMPARE(text1()->text(), folder() + QStringLiteral("/a.mdf"));
        QCOMPARE(text1()->cursorPosition(), int(text1()->text().size()));
        QVERIFY(m_services->messages.isEmpty());
    }

    void aLongPathIsWarnedOfButStillAccepted()
    {
        // Folders deep enough that a file in them has a path of 256 or more.
        QString deep = folder();
        while (deep.size() < 256)
            deep += QLatin1Char('/') + QString(60, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        touch(deep + QStringLiteral("/x.mdf"));
        open(1);
        QVERIFY(child<FolderList>("Dir1")->setPath(deep));
        auto *file1 = child<FileList>("File1");
        QCOMPARE(file1->count(), 1);
        QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualItemRect(file1->item(0)).center());
        const QString path = deep + QStringLiteral("/x.mdf");
        QCOMPARE(text1()->text(), path);
        QCOMPARE(m_services->texts(), QStringList{QStringLiteral("ファイル名（パス名も含む）は255文字までです。")});
        QCOMPARE(m_services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(m_services->lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(m_services->lastMessage().caption, QStringLiteral("警告メッセージ"));

        child<QPushButton>("Command1")->click();
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_state->SelectedFolder, deep);
        QCOMPARE(m_state->SelectedFile, QStringLiteral("x.mdf"));
    }

    void aDriveThatCannotBeUsedFallsBackToTheRoot()
    {
        // The design was saved on a drive that is gone.
        m_state->CurrentDrive = QStringLiteral("Q:");
        m_state->CurrentFolder = QStringLiteral("Q:/work");
        m_state->CurrentFile = QStringLiteral("a.mdf");
        open(2);
        QCOMPARE(m_services->texts(), QStringList{QStringLiteral("ドライブが選択できません。")});
        QCOMPARE(m_services->lastMessage().icon, MessageIcon::Information);
        QCOMPARE(m_services->lastMessage().caption, QStringLiteral("Korvel"));
        QCOMPARE(child<DriveList>("Drive1")->drive(), QStringLiteral("/"));
        QCOMPARE(child<FolderList>("Dir1")->path(), folder());
        QCOMPARE(text1()->text(), QStringLiteral("Q:/work/a.mdf"));
    }

    void choosingADriveMovesTheFolderList()
    {
        open(1);
        auto *drive1 = child<DriveList>("Drive1");
        QVERIFY(drive1->count() >= 1);
        // Choosing the listed drive from code runs the drive handler.
        drive1->setCurrentIndex(-1);
        QVERIFY(drive1->setDrive(QStringLiteral("/")));
        QCOMPARE(text1()->text(), QStringLiteral("/"));
        QCOMPARE(child<FolderList>("Dir1")->path(), folder());
        QVERIFY(DriveList::usable(QStringLiteral("/")));
        QVERIFY(!DriveList::usable(QStringLiteral("Q:")));
        QVERIFY(!DriveList::usable(QString()));
    }
};

QTEST_MAIN(FileOpeTest)
#include "test_fileope.moc"
