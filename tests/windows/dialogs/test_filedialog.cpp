// The file dialog: its four modes, the lists and the path box, the OK
// splitting, Cancel and the close box, and its messages.
#include "filedialog.h"
#include "filelists.h"
#include "guidriver.h"
#include "sampledesign.h"

#include <QDir>
#include <QFileInfo>

#include <memory>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

// A click on the entry of `list` ending in `entry`.
void click(QListWidget *list, const QString &entry)
{
    QListWidgetItem *item = list->findItems(entry, Qt::MatchEndsWith).value(0);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

QString items(const QListWidget *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all.append(list->item(i)->text().trimmed());
    return all.join(u' ');
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

    QLineEdit *pathBox() const { return f.get<QLineEdit>("Text1"); }
    FolderList *folders() const { return f.get<FolderList>("Dir1"); }
    FileList *files() const { return f.get<FileList>("File1"); }
    QString folder() const { return f.folder->path(); }
    QString selected() const
    {
        return f.state->SelectedDrive + u'|' + f.state->SelectedFolder + u'|' + f.state->SelectedFile;
    }

private Q_SLOTS:
    void init()
    {
        f.setUp();
        QVERIFY(QDir(folder()).mkdir(u"sub"_s));
        for (const char *name : {"a.mdf", "b.mib", "c.txt", "sub/d.mdf"})
            QVERIFY(!writeFile(f.path(QLatin1String(name)), {}).isEmpty());
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
    // and the path box are given below the test's folder. The caret ends the
    // path box, so a name typed at once goes after the folder.
    void theFourModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("designed");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shownFolder");
        QTest::addColumn<QString>("files");
        QTest::addColumn<QString>("pathBox");
        QTest::newRow("1 open") << 1 << true << u"開く"_s << "" << "a.mdf" << "";
        QTest::newRow("2 save, nothing saved yet") << 2 << false << u"保存"_s << "" << "a.mdf" << "";
        QTest::newRow("2 save") << 2 << true << u"保存"_s << "/sub" << "d.mdf" << "/sub/last.mdf";
        QTest::newRow("3 create, nothing saved yet") << 3 << false << u"MIB作成"_s << "" << "b.mib" << "";
        QTest::newRow("3 create") << 3 << true << u"MIB作成"_s << "/sub" << "" << "/sub/";
        QTest::newRow("4 load") << 4 << true << u"開く"_s << "" << "b.mib" << "";
    }

    void theFourModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, designed);
        QFETCH(QString, pathBox);
        const QString box = pathBox.isEmpty() ? QString() : folder() + pathBox;
        if (designed) {
            f.state->CurrentDrive = u"/"_s;
            f.state->CurrentFolder = folder() + u"/sub"_s;
            f.state->CurrentFile = u"last.mdf"_s;
        }
        open(mode);
        if (mode == 1)
            f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/dialogs/filedialog.txt"));
        QTEST(f.text("Command1"), "caption");
        QTEST(folders()->path().mid(folder().size()), "shownFolder");
        QTEST(items(files()), "files");
        QTest::keyClicks(this->pathBox(), u"x.mib"_s);
        QCOMPARE(f.text("Text1"), box + u"x.mib"_s);
        QVERIFY(f.services->messages.isEmpty());
    }

    // OK with the path box as typed; a refusal keeps the earlier choice.
    void okSplitsThePathBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("message");
        QTest::newRow("full path") << "/home/user/a.mdf" << "/|/home/user|a.mdf" << "";
        QTest::newRow("file in the root") << "/a.mdf" << "/||a.mdf" << "";
        QTest::newRow("ends in a separator") << "/home/user/" << "/|/home/user|" << "";
        QTest::newRow("relative") << "work/a.mdf" << "work|work|a.mdf" << "";
        QTest::newRow("no separator") << "a.mdf" << "a.mdf|old|old.mdf" << u"ファイル操作に失敗しました。"_s;
        QTest::newRow("empty") << "" << "oldDrive|old|old.mdf" << u"ファイルを選択してください。"_s;
    }

    void okSplitsThePathBox()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        f.state->SelectedDrive = u"oldDrive"_s;
        f.state->SelectedFolder = u"old"_s;
        f.state->SelectedFile = u"old.mdf"_s;
        open(1);
        f.type("Text1", text);
        f.click("Command1");
        QCOMPARE(m_dialog->isVisible(), !message.isEmpty());
        QCOMPARE(m_dialog->result(), int(message.isEmpty() ? QDialog::Accepted : QDialog::Rejected));
        QTEST(selected(), "selected");
        QCOMPARE(f.services->texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Cancel, the close box and Esc clear an earlier choice.
    void cancelAndTheCloseBoxClearTheAnswer()
    {
        for (int how = 0; how < 3; ++how) {
            f.services->answerFileDialog(*f.state, folder() + u"/a.mdf"_s);
            open(2);
            pathBox()->setText(folder() + u"/b.mdf"_s);
            if (how == 0)
                f.click("Command2");
            else if (how == 1)
                m_dialog->close();
            else
                QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
            QVERIFY(!m_dialog->isVisible());
            QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
            QCOMPARE(selected(), u"||"_s);
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void theListsFollowClicks()
    {
        open(1);
        click(files(), u"a.mdf"_s);
        QCOMPARE(pathBox()->text(), folder() + u"/a.mdf"_s);
        QCOMPARE(pathBox()->cursorPosition(), int(pathBox()->text().size()));
        // A clicked folder opens at once.
        click(folders(), u"sub"_s);
        QCOMPARE(items(files()), u"d.mdf"_s);
        QCOMPARE(pathBox()->text(), folder() + u"/sub/"_s);
        // An ancestor entry goes back up; a folder that is gone changes nothing.
        click(folders(), QFileInfo(folder()).fileName());
        QCOMPARE(items(files()), u"a.mdf"_s);
        QVERIFY(QDir(folder() + u"/sub"_s).removeRecursively());
        click(folders(), u"sub"_s);
        QCOMPARE(folders()->path(), folder());
        const QPoint top = folders()->visualItemRect(folders()->item(0)).center();
        QTest::mouseClick(folders()->viewport(), Qt::LeftButton, {}, top);
        QCOMPARE(pathBox()->text(), u"/"_s);
        QVERIFY(f.services->messages.isEmpty());
    }

    // A file whose path has 256 characters, one more than the box takes.
    void aLongPathIsWarnedOfButStillAccepted()
    {
        QString deep = folder();
        while (deep.size() < 190)
            deep += u'/' + QString(60, u'd');
        const QString name = QString(256 - deep.size() - 5, u'x') + u".mdf"_s;
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(!writeFile(deep + u'/' + name, {}).isEmpty());
        open(1);
        QVERIFY(folders()->setPath(deep));
        click(files(), name);
        QCOMPARE(f.services->texts(), QStringList{u"ファイル名（パス名も含む）は255文字までです。"_s});
        QCOMPARE(f.services->lastMessage().caption, u"警告メッセージ"_s);
        f.click("Command1");
        QCOMPARE(selected(), u"/|"_s + deep + u'|' + name);
    }

    // The design was saved on a drive that is gone: the root instead.
    void aDriveThatIsGone()
    {
        f.state->CurrentDrive = u"Q:"_s;
        f.state->CurrentFolder = u"Q:/work"_s;
        f.state->CurrentFile = u"a.mdf"_s;
        open(2);
        QCOMPARE(f.services->texts(), QStringList{u"ドライブが選択できません。"_s});
        QCOMPARE(f.get<DriveList>("Drive1")->drive(), u"/"_s);
        QCOMPARE(folders()->path(), folder());
        QCOMPARE(pathBox()->text(), u"Q:/work/a.mdf"_s);
    }
};

QTEST_MAIN(FileDialogTest)
#include "test_filedialog.moc"
