// The List window: the grid and its level navigation, 削除, the editor's
// hook, menus, help, the about box and the switch to the Tree window.
#include "guidriver.h"
#include "listwindow.h"
#include "program.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The colour of the middle of a cell's picture: 'G'reen, 'B'lue, 'O'range,
// or '-' without a picture.
char colourOf(const QTableWidgetItem *item)
{
    if (!item || item->icon().isNull())
        return '-';
    const QImage image = item->icon().pixmap(15, 15).toImage();
    const int hue = image.pixelColor(image.width() / 2, image.height() / 2).hslHue();
    return hue >= 90 && hue <= 150 ? 'G' : hue >= 190 && hue <= 250 ? 'B' : hue >= 15 && hue <= 45 ? 'O' : '?';
}

const QString DeleteQuestion = QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？");

} // namespace

class ListWindowTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;

    ListWindow *show() { return f.show(new ListWindow(*f.state, *f.services)); }
    QTableWidget *grid() const { return f.get<QTableWidget>("MSFlexGrid1"); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = grid()->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList names() const
    {
        QStringList all;
        for (int row = 0; row < grid()->rowCount(); ++row)
            all.append(cell(row, 0).trimmed());
        return all;
    }
    // Each row's three cells, joined by '|'.
    QStringList rows() const
    {
        QStringList all;
        for (int row = 0; row < grid()->rowCount(); ++row)
            all.append(cell(row, 0) + u'|' + cell(row, 1) + u'|' + cell(row, 2));
        return all;
    }
    // A double-click starts with a click, as a person's does.
    void doubleClickRow(int row) const
    {
        grid()->setCurrentCell(row, 0);
        const QPoint centre = grid()->visualRect(grid()->model()->index(row, 0)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, centre);
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void startsAtTheTopLevelInSlotOrder()
    {
        buildSampleDesign(*f.state);
        addNode(*f.state, QStringLiteral("late"), 9);
        QVERIFY(show());

        QCOMPARE(f.window->windowTitle(), QStringLiteral("File - Korvel （リスト）"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QTableWidget *grid = this->grid();
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("オブジェクト名"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("オブジェクトID"));
        // The name and ID columns fill the visible width, and the slot column
        // lies beyond it, also when the window is enlarged: the grid then
        // takes the room, not the buttons beside it.
        const QPushButton *create = f.window->findChild<QPushButton *>(QStringLiteral("Command3"));
        for (int width : {0, 1000}) {
            f.window->resize(qMax(width, f.window->width()), f.window->height());
            QTRY_COMPARE(grid->columnViewportPosition(2), grid->viewport()->width());
            QCOMPARE(create->width(), create->sizeHint().width());
        }
        QVERIFY(grid->viewport()->width() > 600);
        // Name, sub-identifier and slot, in slot order.
        QCOMPARE(rows(), (QStringList{"    sysInfo|1|0", "    portTable|2|3", "    late|9|8"}));
        QCOMPARE(colourOf(grid->item(0, 0)), 'G');
        QCOMPARE(colourOf(grid->item(1, 0)), 'B');
        QVERIFY(f.services->messages.isEmpty());
    }

    // The highlight and the status bar's OID always show the current row, the
    // one the commands act on; a double-click below the rows acts on it too.
    void theCurrentRowIsShownAndActedOnWhereverTheGridIsClicked()
    {
        buildSampleDesign(*f.state);
        f.state->tables.tree[3].ObjectId = 2147483647;
        QVERIFY(show());
        QTableWidget *grid = this->grid();
        const QLabel *oid = f.window->findChild<QLabel *>(QStringLiteral("OidLabel"));
        QCOMPARE(oid->text(), QStringLiteral("1.3.6.1.4.1.1"));
        const QRect table = grid->visualRect(grid->model()->index(1, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, table.center());
        QCOMPARE(oid->text(), QStringLiteral("1.3.6.1.4.1.2147483647"));
        const QPoint below(table.center().x(), table.bottom() + 40);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(grid->selectionModel()->selectedRows(), QModelIndexList{grid->model()->index(1, 0)});
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(f.state->ListLevel, 3);
        QCOMPARE(oid->text(), QStringLiteral("1.3.6.1.4.1.2147483647.1"));
        QVERIFY(f.services->messages.isEmpty());
    }

    void navigatesDownThroughATableAndItsEntryAndBackUp()
    {
        buildSampleDesign(*f.state);
        QVERIFY(show());
        const int table = 3;
        const int entry = entryOf(*f.state, table);

        doubleClickRow(1);
        QCOMPARE(f.state->ListLevel, table);
        QCOMPARE(f.state->EditTarget, table);
        QCOMPARE(f.text("Text1"), QStringLiteral("portTable"));
        QCOMPARE(rows(), QStringList{"    portEntry|1|4"});
        QCOMPARE(colourOf(grid()->item(0, 0)), 'B');

        doubleClickRow(0);
        QCOMPARE(f.state->ListLevel, entry);
        QCOMPARE(names(), (QStringList{"portIndex", "portName", "portStatus"}));
        QCOMPARE(colourOf(grid()->item(2, 0)), 'O');

        f.click("Command1");
        QCOMPARE(f.state->ListLevel, table);
        f.click("Command1");
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(names(), (QStringList{"sysInfo", "portTable"}));

        // 上へ at the top level does nothing.
        f.click("Command1");
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(grid()->rowCount(), 2);
        QVERIFY(f.services->messages.isEmpty());
    }

    void commandsOnTheBlankRowAskForASelection()
    {
        const int node = addNode(*f.state, QStringLiteral("empty"), 1);
        f.state->ListLevel = static_cast<int16_t>(node);
        QVERIFY(show());
        QCOMPARE(rows(), QStringList{"||"});

        // 削除, 変更 and a double-click.
        f.click("Command11");
        f.click("Command7");
        doubleClickRow(0);
        QCOMPARE(f.services->texts(), QStringList(3, QStringLiteral("リストからオブジェクトを選択してください。")));
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(f.state->ListLevel, node);
        QVERIFY(f.services->openedDialogs.isEmpty());
    }

    void deleteAsksFirstAndRemovesTheSubtree()
    {
        buildSampleDesign(*f.state);
        QVERIFY(show());

        // No: nothing happens.
        grid()->setCurrentCell(1, 0);
        f.services->queueAnswer(MessageButton::No);
        f.click("Command11");
        const Message question = f.services->lastMessage();
        QCOMPARE(question.text, DeleteQuestion);
        QCOMPARE(question.caption, QStringLiteral("Korvel"));
        QCOMPARE(f.state->tables.MibTreeCount, 8);

        // Yes on the entry: refused only after the question.
        doubleClickRow(1);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->texts(),
                 (QStringList{DeleteQuestion, DeleteQuestion,
                              QStringLiteral("エントリは削除できません。テーブルから指定してください。")}));
        QCOMPARE(names(), QStringList{"portEntry"});

        // Yes on the table: it goes with its entry and its three columns.
        f.click("Command1");
        grid()->setCurrentCell(1, 0);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 4);
        QCOMPARE(names(), QStringList{"sysInfo"});
        QCOMPARE(f.state->tables.MibTreeCount, 3);
    }

    void aFailedDeleteReportsAndShowsWhatIsLeft()
    {
        // A leaf without its attribute cannot be deleted completely.
        LeafDefinition def;
        def.name = QStringLiteral("broken");
        def.parent = addNode(*f.state, QStringLiteral("top"), 1);
        f.state->tables.attribute[attributeOf(*f.state, addLeaf(*f.state, def))].InUse = 0;
        --f.state->tables.MibAttributeCount;
        QVERIFY(show());

        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 2);
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("削除に失敗しました"));
        // The grid shows the tables as the failed delete left them.
        QStringList expected;
        for (int slot : childrenOf(*f.state, RootSlot))
            expected.append(displayedName(*f.state, slot));
        QCOMPARE(names(), expected.isEmpty() ? QStringList{QString()} : expected);
    }

    // The editor itself is tested through this window in the editor's tests.
    void addAndChangeFailWithoutAnEditor()
    {
        buildSampleDesign(*f.state);
        QVERIFY(show());
        f.click("Command12");
        QCOMPARE(f.state->EditTarget, -1);
        grid()->setCurrentCell(1, 0);
        f.click("Command7");
        QCOMPARE(f.state->EditTarget, 3);
        QCOMPARE(f.services->texts(),
                 (QStringList{QStringLiteral("追加に失敗しました"), QStringLiteral("変更に失敗しました")}));
        QCOMPARE(f.services->openedDialogs, (QList<ModalDialog>{ModalDialog::Design, ModalDialog::Design}));
    }

    // Captions, menus and tab order as tests/data/list/window.txt has them;
    // the trap button is there, never shown.
    void theWindowIsBuiltAsDesigned()
    {
        QVERIFY(show());
        f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/list/window.txt"));
        QVERIFY(!f.get("Command8")->isVisible());
        QCOMPARE(f.get<QAction>("MIB_OPEN")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    }

    void shortcutsOpenTheFileDialogInTheirModes()
    {
        QVERIFY(show());
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        for (const auto &[key, mode] : {std::pair{Qt::Key_O, 1}, std::pair{Qt::Key_S, 2}, std::pair{Qt::Key_L, 4}}) {
            f.services->cancelFileDialog(*f.state);
            QTest::keyClick(f.window, key, Qt::ControlModifier);
            QCOMPARE(f.state->FileDialogMode, mode);
        }
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>(3, ModalDialog::FileOpe));
        QVERIFY(f.services->messages.isEmpty());
    }

    void helpVersionAndEnd()
    {
        QVERIFY(show());
        // Without a Tree window to switch to, ﾂﾘｰ stays disabled.
        QVERIFY(!f.get<QAction>("MIB_TREE")->isEnabled());
        f.trigger("MIB_HELP_HELP");
        QCOMPARE(f.services->helpRequests, 1);
        f.trigger("MIB_VERSION");
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>{ModalDialog::Version});
        f.trigger("MIB_END");
        QTRY_VERIFY(!f.window);
    }

    void switchingWindowsNeverEndsTheProgram()
    {
        buildSampleDesign(*f.state);
        registerProgramWindows(*f.services, *f.state);
        QVERIFY(show());
        doubleClickRow(1);
        QCOMPARE(f.state->ListLevel, 3);

        // The switches run inside the program's event loop, which would end
        // early if a switch ever left no window open.
        const auto visibleWindow = [](const char *name) -> QWidget * {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (widget->isVisible() && widget->objectName() == QLatin1String(name))
                    return widget;
            }
            return nullptr;
        };
        QStringList seen;
        QTimer::singleShot(0, this, [&] { f.trigger("MIB_TREE"); });
        QTimer::singleShot(50, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            visibleWindow("Tree")->findChild<QAction *>(QStringLiteral("TREE_LIST"))->trigger();
        });
        QTimer::singleShot(100, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            // Reopened, the List window shows the level it was left at.
            QWidget *list = visibleWindow("List");
            seen.append(list->findChild<QLineEdit *>(QStringLiteral("Text1"))->text());
            // Closing the last window ends the program.
            list->close();
        });
        QTimer::singleShot(10000, this, [] { QApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(seen, (QStringList{QStringLiteral("Tree"), QStringLiteral("List"), QStringLiteral("portTable")}));
        QTRY_VERIFY(visibleTopLevelWindows().isEmpty());
    }

    void aVanishedLevelAndMissingIconsAreNoFailure()
    {
        buildSampleDesign(*f.state);
        f.services->setProgramFolder(f.folder->path());
        f.state->ListLevel = 0;
        QVERIFY(deleteSubtree(*f.state, 0));
        QVERIFY(show());
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(names(), QStringList{"portTable"});
        QCOMPARE(colourOf(grid()->item(0, 0)), '-');
        QVERIFY(f.services->messages.isEmpty());
    }
};

QTEST_MAIN(ListWindowTest)
#include "test_listwindow.moc"
