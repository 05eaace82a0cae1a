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
    void switchTo(const char *item, const char *name)
    {
        f.trigger(item);
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->objectName() == QLatin1String(name))
                f.window = widget;
        QApplication::setActiveWindow(f.window);
        QVERIFY(QTest::qWaitForWindowActive(f.window));
    }
    void key(const char *control, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(f.get(control), key, modifiers);
    }
    // Ctrl+F, `text` typed into its box and Enter, or F3 when `text` is empty;
    // then the status bar's OID.
    QString find(const char *control, const QString &text)
    {
        if (text.isEmpty())
            key(control, Qt::Key_F3, Qt::NoModifier);
        else {
            f.services->drive(ModalDialog::Find, [text](QDialog &dialog) {
                QTest::keyClicks(dialog.findChild<QLineEdit *>(), text);
                QTest::keyClick(dialog.findChild<QLineEdit *>(), Qt::Key_Return);
            });
            key(control, Qt::Key_F);
        }
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
        switchTo("MIB_TREE", "Tree");
        QVERIFY(f.window->isWindowModified() && !f.get<QAction>("TREE_REDO")->isEnabled());
        key("TreeView1", Qt::Key_Z);
        QCOMPARE(designFileImage(*f.state), saved);
        QVERIFY(!f.window->isWindowModified() && !f.get<QAction>("TREE_UNDO")->isEnabled());
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 2);
        key("TreeView1", Qt::Key_Y);
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 1);
        switchTo("TREE_LIST", "List");
        key("MSFlexGrid1", Qt::Key_Z);
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->rowCount(), 2);
        QCOMPARE(f.shownTitle(), QStringLiteral("File - Korvel （リスト）"));
    }

    // Each way out of a changed design with each answer. Yes saves through
    // the save command's dialog; a save cancelled there stops, as Cancel does.
    void asksBeforeUnsavedChangesAreLost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveCancelled");
        for (const char *way : {"close box", "end", "open", "load"}) {
            QTest::addRow("%s yes", way) << way << int(MessageButton::Yes) << false;
            QTest::addRow("%s yes, save cancelled", way) << way << int(MessageButton::Yes) << true;
            QTest::addRow("%s no", way) << way << int(MessageButton::No) << false;
            QTest::addRow("%s cancel", way) << way << int(MessageButton::Cancel) << false;
        }
    }
    void asksBeforeUnsavedChangesAreLost()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        QFETCH(bool, saveCancelled);
        const bool yes = answer == int(MessageButton::Yes);
        const bool goesOn = answer == int(MessageButton::No) || (yes && !saveCancelled);
        showList();
        {
            const RecordedChange change(*f.state);
            deleteSubtree(*f.state, 0);
        }
        f.services->queueAnswer(MessageButton(answer));
        const QString file = f.path(QStringLiteral("kept.mdf"));
        if (yes)
            saveCancelled ? f.services->cancelFileDialog(*f.state) : f.services->answerFileDialog(*f.state, file);
        f.services->cancelFileDialog(*f.state); // the command's own file dialog
        if (way == QLatin1String("close box"))
            f.window->close();
        else if (way == QLatin1String("end"))
            f.trigger("MIB_END");
        else
            key("MSFlexGrid1", way == QLatin1String("open") ? Qt::Key_O : Qt::Key_L);

        QCOMPARE(f.services->texts().value(0), QStringLiteral("変更が保存されていません。保存しますか？"));
        QVERIFY(f.services->messages.value(0).asksCancel());
        QCOMPARE(QFile::exists(file), goesOn && yes);
        QCOMPARE(designHistory(*f.state).isModified(), !(goesOn && yes));
        if (way.endsWith(QLatin1String("box")) || way == QLatin1String("end"))
            QTRY_COMPARE(f.window.isNull(), goesOn);
        else
            QCOMPARE(f.state->FileDialogMode, goesOn ? (way == QLatin1String("open") ? 1 : 4) : yes ? 2 : 0);
    }

    // Ctrl+F by part of a name and by OID, F3 for the next (round to the
    // first), and a text found nowhere, in both windows.
    void findsByNameAndOidInBothWindows()
    {
        showList();
        addNode(*f.state, QStringLiteral("portal"), 3, 0);
        QCOMPARE(find("MSFlexGrid1", QStringLiteral("PORT")), QStringLiteral("1.3.6.1.4.1.1.3"));
        QCOMPARE(f.text("Text1"), QStringLiteral("sysInfo"));
        QCOMPARE(find("MSFlexGrid1", QString()), QStringLiteral("1.3.6.1.4.1.2"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(find("MSFlexGrid1", QStringLiteral("1.3.6.1.4.1.2.1.3")), QStringLiteral("1.3.6.1.4.1.2.1.3"));
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->currentRow(), 2);

        switchTo("MIB_TREE", "Tree");
        QCOMPARE(find("TreeView1", QStringLiteral("mode")), QStringLiteral("1.3.6.1.4.1.1.2"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.sysInfo(1).sysMode(2)"));
        QCOMPARE(find("TreeView1", QString()), QStringLiteral("1.3.6.1.4.1.1.2"));
        QCOMPARE(find("TreeView1", QStringLiteral("1.3.6.1.4.1.2.1")), QStringLiteral("1.3.6.1.4.1.2.1"));
        QCOMPARE(f.state->EditTarget, 4);
        QCOMPARE(find("TreeView1", QStringLiteral("fan")), QStringLiteral("1.3.6.1.4.1.2.1"));
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("見つかりません。"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
    }
};

QTEST_MAIN(UndoFindTest)
#include "test_undo_find.moc"
