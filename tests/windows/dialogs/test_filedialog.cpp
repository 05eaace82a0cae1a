// The file dialog: its four modes, the lists and the path box, the OK
// splitting, Cancel and the close box, and its messages.
#include "filedialog.h"
#include "filelists.h"
#include "guidriver.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
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

void click(QListWidget *list, const QString &entry)
{
    QListWidgetItem *item = list->findItems(entry, Qt::MatchEndsWith).value(0);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QStringList items(const QListWidget *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all.append(list->item(i)->text().trimmed());
    return all;
}

} // namespace

class FileDialogTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;
    std::unique_ptr<FileDialog> m_dialog;
    QString m_startFolder;

    // The dialog in `mode`, shown without exec() so that its answer can be
    // read once it has closed.
    void open(int mode)
    {
        f.state->FileDialogMode = static_cast<int16_t>(mode);
        m_dialog = std::make_unique<FileDialog>(*f.state, *f.services);
        f.window = m_dialog.get();
        m_dialog->show();
    }

    template <typename T>
    T *child(const char *name) const
    {
        return f.get<T>(name);
    }

    QLineEdit *text1() const { return child<QLineEdit>("Text1"); }
    QString folder() const { return f.folder->path(); }

private Q_SLOTS:
    void init()
    {
        f.setUp();
        QVERIFY(QDir(folder()).mkdir(QStringLiteral("sub")));
        for (const char *name : {"a.mdf", "b.mib", "c.txt", "sub/d.mdf"})
            touch(f.path(QLatin1String(name)));
        m_startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder()));
    }

    void cleanup()
    {
        m_dialog.reset();
        QDir::setCurrent(m_startFolder);
        f.tearDown();
    }

    // "designed": a design file was saved as <folder>/sub/last.mdf. Folders
    // and the path box are given below the test's folder.
    void theFourModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("designed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shownFolder");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("pathBox");
        const QStringList mdf{QStringLiteral("a.mdf")};
        const QStringList mib{QStringLiteral("b.mib")};
        const QString open = QStringLiteral("開く");
        const QString create = QStringLiteral("MIB作成");
        QTest::newRow("1 open") << 1 << true << open << "" << mdf << "";
        QTest::newRow("2 save, nothing saved yet") << 2 << false << QStringLiteral("保存") << "" << mdf << "";
        QTest::newRow("2 save") << 2 << true << QStringLiteral("保存") << "/sub" << QStringList{QStringLiteral("d.mdf")}
                                << "/sub/last.mdf";
        QTest::newRow("3 create, nothing saved yet") << 3 << false << create << "" << mib << "";
        QTest::newRow("3 create") << 3 << true << create << "/sub" << QStringList() << "/sub/";
        QTest::newRow("4 load") << 4 << true << open << "" << mib << "";
    }

    void theFourModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, designed);
        QFETCH(QString, caption);
        QFETCH(QString, shownFolder);
        QFETCH(QStringList, files);
        QFETCH(QString, pathBox);
        if (designed) {
            f.state->CurrentDrive = QStringLiteral("/");
            f.state->CurrentFolder = folder() + QStringLiteral("/sub");
            f.state->CurrentFile = QStringLiteral("last.mdf");
        }
        open(mode);
        if (mode == 1)
            f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/dialogs/filedialog.txt"));
        QCOMPARE(f.text("Command1"), caption);
        QCOMPARE(child<DriveList>("Drive1")->drive(), QStringLiteral("/"));
        QCOMPARE(child<FolderList>("Dir1")->path(), folder() + shownFolder);
        QCOMPARE(items(child<FileList>("File1")), files);
        const QString box = pathBox.isEmpty() ? QString() : folder() + pathBox;
        QCOMPARE(text1()->text(), box);
        QCOMPARE(text1()->cursorPosition(), int(box.size()));
        // Nothing is selected: a name typed at once goes after the folder.
        QTest::keyClicks(text1(), QStringLiteral("x.mib"));
        QCOMPARE(text1()->text(), box + QStringLiteral("x.mib"));
        QVERIFY(f.services->messages.isEmpty());
    }

    void okSplitsThePathBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::addColumn<MessageIcon>("icon");
        const auto none = MessageIcon::None;
        QTest::newRow("full path") << "/home/user/a.mdf" << true << "/" << "/home/user" << "a.mdf" << QString() << none;
        QTest::newRow("file in the root") << "/a.mdf" << true << "/" << "" << "a.mdf" << QString() << none;
        QTest::newRow("ends in a separator") << "/home/user/" << true << "/" << "/home/user" << "" << QString() << none;
        QTest::newRow("relative") << "work/a.mdf" << true << "work" << "work" << "a.mdf" << QString() << none;
        QTest::newRow("no separator") << "a.mdf" << false << "a.mdf" << "old" << "old.mdf"
                                      << QStringLiteral("ファイル操作に失敗しました。") << MessageIcon::Critical;
        QTest::newRow("empty") << "" << false << "oldDrive" << "old" << "old.mdf"
                               << QStringLiteral("ファイルを選択してください。") << MessageIcon::Information;
    }

    void okSplitsThePathBox()
    {
        QFETCH(QString, text);
        QFETCH(bool, closes);
        QFETCH(QString, drive);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, message);
        QFETCH(MessageIcon, icon);
        f.state->SelectedDrive = QStringLiteral("oldDrive");
        f.state->SelectedFolder = QStringLiteral("old");
        f.state->SelectedFile = QStringLiteral("old.mdf");
        open(1);
        f.type("Text1", text);
        f.click("Command1");

        QCOMPARE(m_dialog->isVisible(), !closes);
        if (closes)
            QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QCOMPARE(f.state->SelectedDrive, drive);
        QCOMPARE(f.state->SelectedFolder, folder);
        QCOMPARE(f.state->SelectedFile, file);
        QCOMPARE(f.services->texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.services->lastMessage().icon, icon);
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
        f.services->answerFileDialog(*f.state, folder() + QStringLiteral("/a.mdf"));
        open(2);
        text1()->setText(folder() + QStringLiteral("/b.mdf"));
        if (how == 0)
            f.click("Command2");
        else if (how == 1)
            m_dialog->close();
        else
            QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QCOMPARE(f.state->SelectedDrive + f.state->SelectedFolder + f.state->SelectedFile, QString());
        QVERIFY(f.services->messages.isEmpty());
    }

    void theListsFollowClicksAndCode()
    {
        open(1);
        auto *dir1 = child<FolderList>("Dir1");
        auto *file1 = child<FileList>("File1");
        QTest::mouseClick(file1->viewport(), Qt::LeftButton, {}, file1->visualItemRect(file1->item(0)).center());
        QCOMPARE(text1()->text(), folder() + QStringLiteral("/a.mdf"));
        QCOMPARE(text1()->cursorPosition(), int(text1()->text().size()));
        // A clicked folder opens at once.
        click(dir1, QStringLiteral("sub"));
        QCOMPARE(dir1->path(), folder() + QStringLiteral("/sub"));
        QCOMPARE(items(file1), QStringList{QStringLiteral("d.mdf")});
        QCOMPARE(text1()->text(), folder() + QStringLiteral("/sub/"));
        // An ancestor entry goes back up; a folder that is gone changes nothing.
        click(dir1, QFileInfo(folder()).fileName());
        QCOMPARE(items(file1), QStringList{QStringLiteral("a.mdf")});
        QVERIFY(QDir(folder() + QStringLiteral("/sub")).removeRecursively());
        click(dir1, QStringLiteral("sub"));
        QCOMPARE(dir1->path(), folder());
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, dir1->visualItemRect(dir1->item(0)).center());
        QCOMPARE(dir1->path(), QStringLiteral("/"));
        QCOMPARE(text1()->text(), QStringLiteral("/"));
        QVERIFY(f.services->messages.isEmpty());
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
        click(child<FileList>("File1"), QStringLiteral("x.mdf"));
        QCOMPARE(text1()->text(), deep + QStringLiteral("/x.mdf"));
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ファイル名（パス名も含む）は255文字までです。")});
        QCOMPARE(f.services->lastMessage().icon, MessageIcon::Exclamation);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("警告メッセージ"));
        f.click("Command1");
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(f.state->SelectedFolder, deep);
        QCOMPARE(f.state->SelectedFile, QStringLiteral("x.mdf"));
    }

    void drives()
    {
        // The design was saved on a drive that is gone: the root instead.
        f.state->CurrentDrive = QStringLiteral("Q:");
        f.state->CurrentFolder = QStringLiteral("Q:/work");
        f.state->CurrentFile = QStringLiteral("a.mdf");
        open(2);
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("ドライブが選択できません。")});
        QCOMPARE(f.services->lastMessage().icon, MessageIcon::Information);
        auto *drive1 = child<DriveList>("Drive1");
        QCOMPARE(drive1->drive(), QStringLiteral("/"));
        QCOMPARE(child<FolderList>("Dir1")->path(), folder());
        QCOMPARE(text1()->text(), QStringLiteral("Q:/work/a.mdf"));
    }
};

QTEST_MAIN(FileDialogTest)
#include "test_filedialog.moc"
