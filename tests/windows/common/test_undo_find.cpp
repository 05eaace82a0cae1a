// What the shell gives both main windows: undo across a window switch, the
// question before unsaved changes are lost, and 検索.
#include "designfile.h"
#include "designhistory.h"
#include "guidriver.h"
#include "listwindow.h"
#include "program.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QDialog>
#include <QMainWindow>
#include <QTableWidget>
#include <QTreeWidget>

using namespace korvel;
using namespace korvel::testing;

class UndoFindTest : public QObject
{
    Q_OBJECT

    GuiDriver f;

    void showList()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        QVERIFY(f.show(new ListWindow(*f.state, *f.services)));
    }
    // 表示's switch; the driver follows to the window shown instead.
    void switchTo(const char *item)
    {
        f.trigger(item);
        for (QWidget *widget : QApplication::topLevelWidgets())
            f.window = widget->isVisible() && qobject_cast<QMainWindow *>(widget) ? widget : f.window.data();
        QApplication::setActiveWindow(f.window);
        QVERIFY(QTest::qWaitForWindowActive(f.window));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) { QTest::keyClick(f.window, key, modifiers); }
    // Ctrl+F, `text` typed into its box and Enter, or F3 when `text` is empty;
    // then the status bar's OID.
    QString find(const QString &text)
    {
        if (!text.isEmpty())
            f.services->drive(ModalDialog::Find, [text](QDialog &dialog) {
                QTest::keyClicks(dialog.findChild<QLineEdit *>(), text);
                QTest::keyClick(dialog.findChild<QLineEdit *>(), Qt::Key_Return);
            });
        text.isEmpty() ? key(Qt::Key_F3, Qt::NoModifier) : key(Qt::Key_F);
        return f.text("OidLabel");
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // A delete in the List window, undone and redone in the Tree window with
    // Ctrl+Z and Ctrl+Y; the menu items and the change mark follow.
    void undoesAcrossTheWindowSwitch()
    {
        showList();
        const QByteArray saved = designFileImage(*f.state);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.shownTitle(), QStringLiteral("File* - Korvel （リスト）"));
        switchTo("MIB_TREE");
        QVERIFY(f.window->isWindowModified() && !f.get<QAction>("TREE_REDO")->isEnabled());
        key(Qt::Key_Z);
        QVERIFY(designFileImage(*f.state) == saved && !f.window->isWindowModified());
        QVERIFY(!f.get<QAction>("TREE_UNDO")->isEnabled());
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 2);
        key(Qt::Key_Y);
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 1);
        switchTo("TREE_LIST");
        key(Qt::Key_Z);
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->rowCount(), 2);
    }

    // Each way out of a changed design with each answer. Yes saves through
    // the save command's dialog; a save cancelled there stops, as Cancel does.
    void asksBeforeUnsavedChangesAreLost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("answer");
        for (const char *way : {"close box", "end", "open", "load", "import"})
            for (const char *answer : {"yes", "yes, save cancelled", "no", "cancel"})
                QTest::addRow("%s %s", way, answer) << way << answer;
    }
    void asksBeforeUnsavedChangesAreLost()
    {
        QFETCH(QString, way);
        QFETCH(QString, answer);
        const bool yes = answer.startsWith(u'y');
        const bool goesOn = answer == QLatin1String("no") || answer == QLatin1String("yes");
        showList();
        { const RecordedChange change(*f.state); deleteSubtree(*f.state, 0); }
        f.services->queueAnswer(yes ? MessageButton::Yes : goesOn ? MessageButton::No : MessageButton::Cancel);
        const QString file = f.path(QStringLiteral("kept.mdf"));
        if (yes)
            goesOn ? f.services->answerFileDialog(*f.state, file) : f.services->cancelFileDialog(*f.state);
        f.services->cancelFileDialog(*f.state); // the command's own file dialog
        if (way == QLatin1String("close box"))
            f.window->close();
        else if (way == QLatin1String("end") || way == QLatin1String("import"))
            f.trigger(way == QLatin1String("end") ? "MIB_END" : "MIB_IMPORT");
        else
            key(way == QLatin1String("open") ? Qt::Key_O : Qt::Key_L);

        QCOMPARE(f.services->texts().value(0), QStringLiteral("変更が保存されていません。保存しますか？"));
        QCOMPARE(QFile::exists(file), goesOn && yes);
        QCOMPARE(designHistory(*f.state).isModified(), !(goesOn && yes));
        if (way.endsWith(QLatin1String("box")) || way == QLatin1String("end"))
            QTRY_COMPARE(f.window.isNull(), goesOn);
        else
            QCOMPARE(f.state->FileDialogMode, goesOn ? (way == QLatin1String("open") ? 1 : 4) : yes ? 2 : 0);
    }

    // Ctrl+F, F3 for the next and a text found nowhere, in both windows:
    // the window shows what the search (tested on the tables) finds.
    void findsInBothWindows()
    {
        showList();
        addNode(*f.state, QStringLiteral("portal"), 3, 0);
        QCOMPARE(find(QStringLiteral("PORT")), QStringLiteral("1.3.6.1.4.1.1.3"));
        QCOMPARE(f.text("Text1"), QStringLiteral("sysInfo"));
        QCOMPARE(find(QString()), QStringLiteral("1.3.6.1.4.1.2"));
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->currentRow(), 1);

        switchTo("MIB_TREE");
        QCOMPARE(find(QStringLiteral("1.3.6.1.4.1.2.1")), QStringLiteral("1.3.6.1.4.1.2.1"));
        QCOMPARE(find(QStringLiteral("fan")), QStringLiteral("1.3.6.1.4.1.2.1"));
        QCOMPARE(f.services->texts().constLast(), QStringLiteral("見つかりません。"));
    }
};

QTEST_MAIN(UndoFindTest)
#include "test_undo_find.moc"
