// What the main windows' shell gives both windows: undo and redo across a
// window switch, the question before unsaved changes are lost, and 検索.
#include "designfile.h"
#include "designhistory.h"
#include "guidriver.h"
#include "listwindow.h"
#include "program.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treewindow.h"

#include <QDialog>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString UnsavedQuestion = QStringLiteral("変更が保存されていません。保存しますか？");

QWidget *visibleWindow(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->objectName() == QLatin1String(name))
            return widget;
    }
    return nullptr;
}

} // namespace

class UndoFindTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;

    void showList()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        QVERIFY(f.show(new ListWindow(*f.state, *f.services)));
    }
    // Switches through 表示 and drives the window shown instead.
    void switchTo(const char *item, const char *name)
    {
        f.trigger(item);
        f.window = visibleWindow(name);
        QVERIFY(f.window);
        QApplication::setActiveWindow(f.window);
        QVERIFY(QTest::qWaitForWindowActive(f.window));
    }
    void key(const char *control, int key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QTest::keyClick(f.get(control), Qt::Key(key), modifiers);
    }
    // 検索 answered with `text` typed into its box and Enter.
    void answerFind(const QString &text)
    {
        f.services->drive(ModalDialog::Find, [text](QDialog &dialog) {
            auto *box = dialog.findChild<QLineEdit *>();
            QTest::keyClicks(box, text);
            QTest::keyClick(box, Qt::Key_Return);
        });
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // A delete in the List window is undone and redone from the Tree window
    // with Ctrl+Z and Ctrl+Y; the menu items and the change mark follow.
    void undoesAcrossTheWindowSwitch()
    {
        showList();
        const QByteArray saved = designFileImage(*f.state);
        QVERIFY(!f.get<QAction>("MIB_UNDO")->isEnabled());
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.state->tables.MibTreeCount, 5);
        QVERIFY(f.window->isWindowModified());
        QCOMPARE(f.shownTitle(), QStringLiteral("File* - Korvel （リスト）"));

        switchTo("MIB_TREE", "Tree");
        QVERIFY(f.window->isWindowModified());
        QVERIFY(!f.get<QAction>("TREE_REDO")->isEnabled());
        key("TreeView1", Qt::Key_Z);
        QCOMPARE(designFileImage(*f.state), saved);
        QVERIFY(!f.window->isWindowModified());
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 2);
        QVERIFY(!f.get<QAction>("TREE_UNDO")->isEnabled());

        key("TreeView1", Qt::Key_Y);
        QCOMPARE(f.state->tables.MibTreeCount, 5);
        QCOMPARE(f.get<QTreeWidget>("TreeView1")->topLevelItem(0)->childCount(), 1);
        switchTo("TREE_LIST", "List");
        key("MSFlexGrid1", Qt::Key_Z);
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->rowCount(), 2);
        QCOMPARE(f.shownTitle(), QStringLiteral("File - Korvel （リスト）"));
    }

    // Each way out of a changed design, with each answer. Yes saves through
    // the save command's dialog; a save cancelled there stops as Cancel does.
    void asksBeforeUnsavedChangesAreLost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveCancelled");
        QTest::addColumn<bool>("goesOn");
        const QStringList ways{QStringLiteral("close box"), QStringLiteral("end"), QStringLiteral("open"), QStringLiteral("load")};
        for (const QString &way : ways) {
            const QByteArray name = way.toLatin1();
            QTest::newRow(name + " yes") << way << int(MessageButton::Yes) << false << true;
            QTest::newRow(name + " yes, save cancelled") << way << int(MessageButton::Yes) << true << false;
            QTest::newRow(name + " no") << way << int(MessageButton::No) << false << true;
            QTest::newRow(name + " cancel") << way << int(MessageButton::Cancel) << false << false;
        }
    }
    void asksBeforeUnsavedChangesAreLost()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        QFETCH(bool, saveCancelled);
        QFETCH(bool, goesOn);
        showList();
        {
            const RecordedChange change(*f.state);
            deleteSubtree(*f.state, 0);
        }
        f.services->queueAnswer(MessageButton(answer));
        const QString file = f.path(QStringLiteral("kept.mdf"));
        if (answer == int(MessageButton::Yes)) {
            if (saveCancelled)
                f.services->cancelFileDialog(*f.state);
            else
                f.services->answerFileDialog(*f.state, file);
        }
        // What the command goes on with: the file dialog in its own mode.
        f.services->cancelFileDialog(*f.state);

        if (way == QLatin1String("close box"))
            f.window->close();
        else if (way == QLatin1String("end"))
            f.trigger("MIB_END");
        else
            key("MSFlexGrid1", way == QLatin1String("open") ? Qt::Key_O : Qt::Key_L);

        QCOMPARE(f.services->texts().value(0), UnsavedQuestion);
        QCOMPARE(f.services->messages.value(0).asksCancel(), true);
        QCOMPARE(QFile::exists(file), answer == int(MessageButton::Yes) && !saveCancelled);
        const bool closing = way == QLatin1String("close box") || way == QLatin1String("end");
        if (closing)
            QTRY_COMPARE(f.window.isNull(), goesOn);
        else
            QCOMPARE(f.state->FileDialogMode, goesOn ? (way == QLatin1String("open") ? 1 : 4) : answer == int(MessageButton::Yes) ? 2 : 0);
        if (!goesOn)
            QVERIFY(f.window->isVisible());
        // Saved, the design asks no more.
        QCOMPARE(designHistory(*f.state).isModified(), answer != int(MessageButton::Yes) || saveCancelled);
    }

    // Ctrl+F by part of a name and by OID, F3 for the next (round to the
    // first), and a text found nowhere, in both windows.
    void findsByNameAndOidInBothWindows()
    {
        showList();
        addNode(*f.state, QStringLiteral("portal"), 3, 0);
        answerFind(QStringLiteral("PORT"));
        key("MSFlexGrid1", Qt::Key_F);
        QCOMPARE(f.text("Text1"), QStringLiteral("sysInfo"));
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.1.3"));
        key("MSFlexGrid1", Qt::Key_F3, Qt::NoModifier);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.2"));
        answerFind(QStringLiteral("1.3.6.1.4.1.2.1.3"));
        key("MSFlexGrid1", Qt::Key_F);
        QCOMPARE(f.text("Text1"), QStringLiteral("portEntry"));
        QCOMPARE(f.get<QTableWidget>("MSFlexGrid1")->currentRow(), 2);

        switchTo("MIB_TREE", "Tree");
        answerFind(QStringLiteral("mode"));
        key("TreeView1", Qt::Key_F);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.sysInfo(1).sysMode(2)"));
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.1.2"));
        key("TreeView1", Qt::Key_F3, Qt::NoModifier);
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.1.2"));
        answerFind(QStringLiteral("1.3.6.1.4.1.2.1"));
        key("TreeView1", Qt::Key_F);
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.2.1"));
        QCOMPARE(f.state->EditTarget, 4);
        answerFind(QStringLiteral("fan"));
        key("TreeView1", Qt::Key_F);
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("見つかりません。"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.text("OidLabel"), QStringLiteral("1.3.6.1.4.1.2.1"));
    }
};

QTEST_MAIN(UndoFindTest)
#include "test_undo_find.moc"
