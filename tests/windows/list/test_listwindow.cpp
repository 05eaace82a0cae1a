// The List window: the grid and its level navigation, 削除, the help
// item, and the switch to the Tree window. 追加 and 変更 are tested with
// the object editor.
#include "guidriver.h"
#include "listwindow.h"
#include "program.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString DeleteQuestion = u"このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"_s;

} // namespace

class ListWindowTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;

    ListWindow *show() { return f.show(new ListWindow(*f.state, *f.services)); }
    QTableWidget *grid() const { return f.get<QTableWidget>("MSFlexGrid1"); }

    // Each row's name, sub-identifier and slot, and the colour of the middle
    // of its picture: G(reen), B(lue), O(range), '-' without one.
    QString rows() const
    {
        QStringList all;
        for (int row = 0; row < grid()->rowCount(); ++row) {
            const QTableWidgetItem *name = grid()->item(row, 0);
            QString colour = u"-"_s;
            if (name && !name->icon().isNull()) {
                const QImage image = name->icon().pixmap(15, 15).toImage();
                const int hue = image.pixelColor(7, 7).hslHue();
                colour = hue >= 90 && hue <= 150    ? u"G"_s
                         : hue >= 190 && hue <= 250 ? u"B"_s
                         : hue >= 15 && hue <= 45   ? u"O"_s
                                                    : u"?"_s;
            }
            QStringList cells{colour};
            for (int column = 0; column < 3; ++column)
                cells.append(grid()->item(row, column) ? grid()->item(row, column)->text().trimmed() : QString());
            all.append(cells.join(u' '));
        }
        return all.join(u'|');
    }

    // A double-click starts with a click, as a person's does.
    void doubleClickRow(int row) const
    {
        const QPoint centre = grid()->visualRect(grid()->model()->index(row, 0)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, centre);
    }

    void remove(int row, MessageButton answer)
    {
        grid()->setCurrentCell(row, 0);
        f.services->queueAnswer(answer);
        f.click("Command11");
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Captions, menus and tab order as tests/data/list/window.txt has them;
    // the trap button is never shown; ﾂﾘｰ is disabled without a Tree window.
    void theWindowIsBuiltAsDesigned()
    {
        buildSampleDesign(*f.state);
        addNode(*f.state, u"late"_s, 9);
        QVERIFY(show());
        f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/list/window.txt"));
        QVERIFY(!f.get("Command8")->isVisible());
        QVERIFY(!f.get<QAction>("MIB_TREE")->isEnabled());
        QCOMPARE(grid()->horizontalHeaderItem(0)->text() + grid()->horizontalHeaderItem(1)->text(),
                 u"オブジェクト名オブジェクトID"_s);
        // The name and ID columns fill the visible width and the slot column
        // lies beyond it, also when the window is enlarged: the grid then
        // takes the room, not the buttons beside it.
        const auto *create = f.get<QPushButton>("Command3");
        for (int width : {0, 1000}) {
            f.window->resize(qMax(width, f.window->width()), f.window->height());
            QTRY_COMPARE(grid()->columnViewportPosition(2), grid()->viewport()->width());
            QCOMPARE(create->width(), create->sizeHint().width());
        }
        QCOMPARE(f.text("Text1"), u"enterprise"_s);
        f.trigger("MIB_HELP_HELP");
        QCOMPARE(f.services->helpRequests, 1);
        QCOMPARE(rows(), u"G sysInfo 1 0|B portTable 2 3|G late 9 8"_s);
    }

    // The highlight and the status bar's OID show the current row, the one
    // the commands act on; a double-click below the rows acts on it too.
    void theCurrentRowIsShownAndActedOnWhereverTheGridIsClicked()
    {
        buildSampleDesign(*f.state);
        f.state->tables.tree[3].ObjectId = 2147483647;
        QVERIFY(show());
        const auto *oid = f.get<QLabel>("OidLabel");
        QCOMPARE(oid->text(), u"1.3.6.1.4.1.1"_s);
        const QRect table = grid()->visualRect(grid()->model()->index(1, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, table.center());
        QCOMPARE(oid->text(), u"1.3.6.1.4.1.2147483647"_s);
        const QPoint below(table.center().x(), table.bottom() + 40);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(grid()->selectionModel()->selectedRows(), QModelIndexList{grid()->model()->index(1, 0)});
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(f.state->ListLevel, 3);
        QCOMPARE(oid->text(), u"1.3.6.1.4.1.2147483647.1"_s);
        QVERIFY(f.services->messages.isEmpty());
    }

    void navigatesDownThroughATableAndItsEntryAndBackUp()
    {
        buildSampleDesign(*f.state);
        QVERIFY(show());
        doubleClickRow(1);
        QCOMPARE(f.state->EditTarget, 3);
        QCOMPARE(f.text("Text1"), u"portTable"_s);
        QCOMPARE(rows(), u"B portEntry 1 4"_s);
        doubleClickRow(0);
        QCOMPARE(f.state->ListLevel, 4);
        QCOMPARE(rows(), u"O portIndex 1 5|O portName 2 6|O portStatus 3 7"_s);
        // 上へ, also at the top level, where it does nothing.
        for (int level : {3, -1, -1}) {
            f.click("Command1");
            QCOMPARE(f.state->ListLevel, level);
        }
        QCOMPARE(f.text("Text1"), u"enterprise"_s);
        QCOMPARE(grid()->rowCount(), 2);
        QVERIFY(f.services->messages.isEmpty());
    }

    // 削除, 変更 and a double-click on an empty level's blank row.
    void commandsOnTheBlankRowAskForASelection()
    {
        f.state->ListLevel = static_cast<int16_t>(addNode(*f.state, u"empty"_s, 1));
        QVERIFY(show());
        f.click("Command11");
        f.click("Command7");
        doubleClickRow(0);
        QCOMPARE(f.services->texts(), QStringList(3, u"リストからオブジェクトを選択してください。"_s));
        QCOMPARE(f.services->lastMessage().caption, u"注意メッセージ"_s);
        QCOMPARE(f.state->ListLevel, 0);
        QVERIFY(f.services->openedDialogs.isEmpty());
    }

    void deleteAsksFirstAndRemovesTheSubtree()
    {
        buildSampleDesign(*f.state);
        QVERIFY(show());
        remove(1, MessageButton::No);
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        // The entry is refused only after the question.
        doubleClickRow(1);
        remove(0, MessageButton::Yes);
        QCOMPARE(f.services->texts(), (QStringList{DeleteQuestion, DeleteQuestion,
                                                   u"エントリは削除できません。テーブルから指定してください。"_s}));
        // The table goes with its entry and its three columns.
        f.click("Command1");
        remove(1, MessageButton::Yes);
        QCOMPARE(f.services->messages.size(), 4);
        QCOMPARE(rows(), u"G sysInfo 1 0"_s);
        QCOMPARE(f.state->tables.MibTreeCount, 3);
    }

    // A leaf without its attribute cannot be deleted completely; the grid
    // shows what is left.
    void aFailedDeleteReportsAndShowsWhatIsLeft()
    {
        const int top = addNode(*f.state, u"top"_s, 1);
        const int leaf = addLeaf(*f.state, {.name = u"broken"_s, .parent = top});
        f.state->tables.attribute[attributeOf(*f.state, leaf)].InUse = 0;
        --f.state->tables.MibAttributeCount;
        QVERIFY(show());
        remove(0, MessageButton::Yes);
        QCOMPARE(f.services->lastMessage().text, u"削除に失敗しました"_s);
        QStringList left;
        for (int slot : childrenOf(*f.state, RootSlot))
            left.append(u"G "_s + displayedName(*f.state, slot) + u" 1 0"_s);
        QCOMPARE(rows(), left.isEmpty() ? u"-   "_s : left.join(u'|'));
    }

    // The switches run inside the program's event loop, which would end early
    // if a switch ever left no window open. Reopened, the List window shows
    // the level it was left at; closing the last window ends the program.
    void switchingWindowsNeverEndsTheProgram()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        QVERIFY(show());
        doubleClickRow(1);
        QStringList seen;
        QTimer::singleShot(0, this, [&] { f.trigger("MIB_TREE"); });
        QTimer::singleShot(50, this, [&] {
            seen.append(visibleTopLevelWindows());
            GuiDriver::shownWindow("Tree")->findChild<QAction *>(u"TREE_LIST"_s)->trigger();
        });
        QTimer::singleShot(100, this, [&] {
            seen.append(visibleTopLevelWindows());
            seen.append(GuiDriver::shownWindow("List")->findChild<QLineEdit *>(u"Text1"_s)->text());
            GuiDriver::shownWindow("List")->close();
        });
        QTimer::singleShot(10000, this, [] { QApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(seen, (QStringList{u"Tree"_s, u"List"_s, u"portTable"_s}));
    }

    void aVanishedLevelAndMissingIconsAreNoFailure()
    {
        buildSampleDesign(*f.state);
        f.services->setProgramFolder(f.folder->path());
        f.state->ListLevel = 0;
        QVERIFY(deleteSubtree(*f.state, 0));
        QVERIFY(show());
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(rows(), u"- portTable 2 3"_s);
        QVERIFY(f.services->messages.isEmpty());
    }
};

QTEST_MAIN(ListWindowTest)
#include "test_listwindow.moc"
