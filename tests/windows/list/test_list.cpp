// The List window: the grid and its level navigation, 削除, the editor's
// hook, menus, help, the about box and the switch to the Tree window.
#include "listfixture.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The hue of the middle of a cell's picture, or -1 without one.
int iconHue(const QTableWidgetItem *item)
{
    const QIcon icon = item ? item->icon() : QIcon();
    if (icon.isNull())
        return -1;
    const QImage image = icon.pixmap(15, 15).toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2).hslHue();
}

enum class Colour { None, Green, Blue, Orange };

Colour colourOf(const QTableWidgetItem *item)
{
    const int hue = iconHue(item);
    if (hue < 0)
        return Colour::None;
    if (hue >= 90 && hue <= 150)
        return Colour::Green;
    if (hue >= 190 && hue <= 250)
        return Colour::Blue;
    if (hue >= 15 && hue <= 45)
        return Colour::Orange;
    return Colour::None;
}

} // namespace

class ListWindowTest : public QObject
{
    Q_OBJECT

private:
    ListFixture f;

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void startsAtTheTopLevelInSlotOrder()
    {
        buildSampleDesign(*f.state);
        // A top-level object in a lower slot than the others comes first.
        const int late = addNode(*f.state, QStringLiteral("late"), 9);
        QVERIFY(f.show());

        QCOMPARE(f.window->windowTitle(), QStringLiteral("File - Korvel （リスト）"));
        QCOMPARE(f.text1(), QStringLiteral("enterprise"));
        QTableWidget *grid = f.grid();
        QCOMPARE(grid->columnCount(), 3);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("オブジェクト名"));
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("オブジェクトID"));
        QCOMPARE(grid->columnWidth(0), 200);
        QCOMPARE(grid->columnWidth(1), 100);
        QVERIFY(grid->verticalHeader()->isHidden());
        // The slot column lies beyond the visible width.
        QVERIFY(grid->viewport()->width() <= 300);

        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(f.cell(0, 0), QStringLiteral("    sysInfo"));
        QCOMPARE(f.cell(0, 1), QStringLiteral("1"));
        QCOMPARE(f.cell(0, 2), QStringLiteral("0"));
        QCOMPARE(f.cell(1, 0), QStringLiteral("    portTable"));
        QCOMPARE(f.cell(1, 1), QStringLiteral("2"));
        QCOMPARE(f.cell(2, 0), QStringLiteral("    late"));
        QCOMPARE(f.cell(2, 2), QString::number(late));
        QCOMPARE(colourOf(grid->item(0, 0)), Colour::Green);
        QCOMPARE(colourOf(grid->item(1, 0)), Colour::Blue);
        QVERIFY(f.services->messages.isEmpty());
    }

    void anEmptyDesignShowsOneBlankRow()
    {
        QVERIFY(f.show());
        QCOMPARE(f.grid()->rowCount(), 1);
        for (int column = 0; column < 3; ++column)
            QCOMPARE(f.cell(0, column), QString());
        QCOMPARE(f.text1(), QStringLiteral("enterprise"));
    }

    void navigatesDownThroughATableAndItsEntryAndBackUp()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const int table = 3;
        const int entry = entryOf(*f.state, table);

        f.doubleClickRow(1);
        QCOMPARE(f.state->ListLevel, table);
        QCOMPARE(f.state->EditTarget, table);
        QCOMPARE(f.text1(), QStringLiteral("portTable"));
        QCOMPARE(f.names(), QStringList{QStringLiteral("portEntry")});
        QCOMPARE(f.cell(0, 1), QStringLiteral("1"));
        QCOMPARE(colourOf(f.grid()->item(0, 0)), Colour::Blue);

        f.doubleClickRow(0);
        QCOMPARE(f.state->ListLevel, entry);
        QCOMPARE(f.names(), (QStringList{QStringLiteral("portIndex"), QStringLiteral("portName"),
                                         QStringLiteral("portStatus")}));
        QCOMPARE(colourOf(f.grid()->item(2, 0)), Colour::Orange);

        f.click("Command1");
        QCOMPARE(f.state->ListLevel, table);
        f.click("Command1");
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.text1(), QStringLiteral("enterprise"));
        QCOMPARE(f.names(), (QStringList{QStringLiteral("sysInfo"), QStringLiteral("portTable")}));

        // 上へ at the top level does nothing.
        f.click("Command1");
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.grid()->rowCount(), 2);
        QVERIFY(f.services->messages.isEmpty());
    }

    void commandsOnTheBlankRowAskForASelection_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("削除") << QStringLiteral("Command11");
        QTest::newRow("変更") << QStringLiteral("Command7");
        QTest::newRow("double-click") << QString();
    }

    void commandsOnTheBlankRowAskForASelection()
    {
        QFETCH(QString, command);
        const int node = addNode(*f.state, QStringLiteral("empty"), 1);
        f.state->ListLevel = static_cast<int16_t>(node);
        QVERIFY(f.show());
        QCOMPARE(f.grid()->rowCount(), 1);

        if (command.isEmpty())
            f.doubleClickRow(0);
        else
            f.click(command.toLatin1().constData());

        QCOMPARE(f.services->messages.size(), 1);
        const Message &message = f.services->lastMessage();
        QCOMPARE(message.text, QStringLiteral("リストからオブジェクトを選択してください。"));
        QCOMPARE(message.kind, MessageKind::Warning);
        QCOMPARE(message.caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(f.state->ListLevel, node);
        QVERIFY(f.services->openedDialogs.isEmpty());
    }

    void deleteAsksFirstAndRemovesTheSubtree()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.grid()->setCurrentCell(1, 0);

        // No: nothing happens.
        f.services->queueAnswer(MessageButton::No);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 1);
        const Message &question = f.services->lastMessage();
        QCOMPARE(question.text, QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"));
        QCOMPARE(question.kind, MessageKind::Question);
        QCOMPARE(question.caption, QStringLiteral("Korvel"));
        QCOMPARE(question.icon, MessageIcon::None);
        QCOMPARE(f.state->tables.MibTreeCount, 8);

        // Yes: the table, its entry and its three columns go with their records.
        f.grid()->setCurrentCell(1, 0);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 2);
        QCOMPARE(f.names(), QStringList{QStringLiteral("sysInfo")});
        QCOMPARE(f.state->tables.MibTreeCount, 3);
        QCOMPARE(f.state->tables.MibAttributeCount, 2);
        QCOMPARE(f.state->tables.MibRangeCount, 1);
        QCOMPARE(f.state->tables.MibListCount, 3);
        for (int slot = 3; slot <= 7; ++slot)
            QCOMPARE(f.state->tables.tree[slot].InUse, 0);
    }

    void anEntryIsRefusedOnlyAfterTheQuestion()
    {
        buildSampleDesign(*f.state);
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->texts(),
                 (QStringList{QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"),
                              QStringLiteral("エントリは削除できません。テーブルから指定してください。")}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        QCOMPARE(f.names(), QStringList{QStringLiteral("portEntry")});
    }

    void aFailedDeleteReportsAndShowsWhatIsLeft()
    {
        // A leaf without its attribute cannot be deleted completely.
        const int node = addNode(*f.state, QStringLiteral("top"), 1);
        LeafDefinition def;
        def.name = QStringLiteral("broken");
        def.parent = node;
        const int leaf = addLeaf(*f.state, def);
        const int attribute = attributeOf(*f.state, leaf);
        f.state->tables.attribute[attribute].InUse = 0;
        --f.state->tables.MibAttributeCount;
        QVERIFY(f.show());

        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 2);
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("削除に失敗しました"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("警告メッセージ"));
        QCOMPARE(f.services->lastMessage().icon, MessageIcon::Critical);
        // The grid shows the tables as the failed delete left them.
        QStringList expected;
        for (int slot : childrenOf(*f.state, RootSlot))
            expected.append(displayedName(*f.state, slot));
        if (expected.isEmpty())
            expected.append(QString());
        QCOMPARE(f.names(), expected);
    }

    void addAndChangeFailWithoutAnEditor()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.click("Command12");
        QCOMPARE(f.state->EditTarget, -1);
        f.grid()->setCurrentCell(1, 0);
        f.click("Command7");
        QCOMPARE(f.state->EditTarget, 3);
        QCOMPARE(f.services->texts(),
                 (QStringList{QStringLiteral("追加に失敗しました"), QStringLiteral("変更に失敗しました")}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.services->openedDialogs,
                 (QList<ModalDialog>{ModalDialog::Design, ModalDialog::Design}));
    }

    void theEditorHookOpensTheEditorAndRefreshesAfterIt()
    {
        buildSampleDesign(*f.state);
        AppState &state = *f.state;
        int seenTarget = 0;
        // An editor that adds a node under the level it is opened at.
        f.services->setDialog(ModalDialog::Design, [&state, &seenTarget](QWidget *owner) {
            seenTarget = state.EditTarget;
            auto dialog = std::make_unique<QDialog>(owner);
            dialog->setObjectName(QStringLiteral("Design"));
            QObject::connect(dialog.get(), &QDialog::accepted, [&state] {
                addNode(state, QStringLiteral("added"), 7);
            });
            return dialog;
        });
        f.services->drive(ModalDialog::Design, [](QDialog &dialog) { dialog.accept(); });
        QVERIFY(f.show());

        f.click("Command12");
        QCOMPARE(seenTarget, -1);
        QCOMPARE(f.names(), (QStringList{QStringLiteral("sysInfo"), QStringLiteral("portTable"),
                                         QStringLiteral("added")}));

        // A double-click on a leaf opens the editor on it.
        f.doubleClickRow(0);
        f.doubleClickRow(0);
        QCOMPARE(seenTarget, 1);
        QCOMPARE(f.state->ListLevel, 0);
        QVERIFY(f.services->messages.isEmpty());
    }

    void anEditorThatRefusesToOpenFailsTheCommand()
    {
        buildSampleDesign(*f.state);
        Services &services = *f.services;
        f.services->setDialog(ModalDialog::Design, [&services](QWidget *) -> std::unique_ptr<QDialog> {
            services.show(QStringLiteral("テーブルの下に追加できません。エントリの下に追加してください。"),
                          MessageKind::Warning);
            return nullptr;
        });
        f.state->ListLevel = 3;
        QVERIFY(f.show());
        const int rows = f.grid()->rowCount();

        f.click("Command12");
        QCOMPARE(f.services->texts(),
                 (QStringList{QStringLiteral("テーブルの下に追加できません。エントリの下に追加してください。"),
                              QStringLiteral("追加に失敗しました")}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.grid()->rowCount(), rows);
        QCOMPARE(f.state->tables.MibTreeCount, 8);
    }

    void menusCarryTheirCaptionsNamesAndShortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("open") << "MIB_OPEN" << QStringLiteral("ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&O)") << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("save") << "MIB_SAVE" << QStringLiteral("保存(&S)") << QKeySequence(QStringLiteral("Ctrl+S"));
        QTest::newRow("load") << "MIB_DEF_OPEN" << QStringLiteral("MIBﾌｧｲﾙのﾛｰﾄﾞ(&L)") << QKeySequence(QStringLiteral("Ctrl+L"));
        QTest::newRow("end") << "MIB_END" << QStringLiteral("終了(&X)") << QKeySequence();
        QTest::newRow("tree") << "MIB_TREE" << QStringLiteral("ﾂﾘｰ(&T)") << QKeySequence();
        QTest::newRow("help") << "MIB_HELP_HELP" << QStringLiteral("ﾍﾙﾌﾟ(&H)") << QKeySequence();
        QTest::newRow("version") << "MIB_VERSION" << QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)") << QKeySequence();
    }

    void menusCarryTheirCaptionsNamesAndShortcuts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QKeySequence, shortcut);
        QVERIFY(f.show());
        QAction *action = f.action(name.toLatin1().constData());
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut(), shortcut);
    }

    void theMenuBarAndButtonsReadAsDesigned()
    {
        QVERIFY(f.show());
        QStringList menus;
        for (QAction *menu : f.window->menuBar()->actions())
            menus.append(menu->text());
        QCOMPARE(menus, (QStringList{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("表示(&V)"), QStringLiteral("ﾍﾙﾌﾟ(&H)")}));
        QVERIFY(f.action("MIB_SEPARATE")->isSeparator());
        QVERIFY(f.action("MIB_SEPARATE2")->isSeparator());

        const auto button = [this](const char *name) { return f.window->findChild<QPushButton *>(QLatin1String(name)); };
        QCOMPARE(button("Command1")->text(), QStringLiteral("上へ"));
        QCOMPARE(button("Command12")->text(), QStringLiteral("     追加"));
        QCOMPARE(button("Command7")->text(), QStringLiteral("     変更"));
        QCOMPARE(button("Command11")->text(), QStringLiteral("     削除"));
        QCOMPARE(button("Command3")->text(), QStringLiteral("        MIBﾌｧｲﾙ 作成"));
        QCOMPARE(button("Command8")->text(), QStringLiteral("ﾄﾗｯﾌﾟ追加"));
        QVERIFY(!button("Command8")->isVisible());
        QCOMPARE(f.window->findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("親ｵﾌﾞｼﾞｪｸﾄ"));
    }

    void shortcutsOpenTheFileDialogInTheirModes_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mode");
        QTest::newRow("Ctrl+O") << int(Qt::Key_O) << 1;
        QTest::newRow("Ctrl+S") << int(Qt::Key_S) << 2;
        QTest::newRow("Ctrl+L") << int(Qt::Key_L) << 4;
    }

    void shortcutsOpenTheFileDialogInTheirModes()
    {
        QFETCH(int, key);
        QFETCH(int, mode);
        QVERIFY(f.show());
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        f.services->cancelFileDialog(*f.state);
        QTest::keyClick(f.window, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>{ModalDialog::FileOpe});
        QCOMPARE(f.state->FileDialogMode, mode);
        QVERIFY(f.services->messages.isEmpty());
    }

    void helpVersionAndEnd()
    {
        QVERIFY(f.show());
        f.trigger("MIB_HELP_HELP");
        QCOMPARE(f.services->helpRequests, 1);
        f.trigger("MIB_VERSION");
        QCOMPARE(f.services->openedDialogs, QList<ModalDialog>{ModalDialog::Version});
        f.trigger("MIB_END");
        QTRY_VERIFY(!f.window);
    }

    void theTreeSwitchWaitsForTheTreeWindow()
    {
        QVERIFY(f.show());
        QVERIFY(!f.action("MIB_TREE")->isEnabled());
        f.trigger("MIB_TREE");
        QVERIFY(f.window && f.window->isVisible());
    }

    void switchingWindowsNeverEndsTheProgram()
    {
        buildSampleDesign(*f.state);
        AppState &state = *f.state;
        RecordingServices &services = *f.services;
        f.services->setWindow(MainWindow::List, [&state, &services]() -> QWidget * {
            return new List(state, services);
        });
        // A stand-in Tree window with its way back.
        f.services->setWindow(MainWindow::Tree, [&services]() -> QWidget * {
            auto *tree = new QMainWindow;
            tree->setObjectName(QStringLiteral("Tree"));
            auto *back = tree->menuBar()->addAction(QStringLiteral("ﾘｽﾄ(&L)"));
            back->setObjectName(QStringLiteral("TREE_LIST"));
            QObject::connect(back, &QAction::triggered, tree,
                             [&services, tree] { services.switchWindow(MainWindow::List, tree); });
            return tree;
        });
        QVERIFY(f.show());
        f.doubleClickRow(1);
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
        QString levelAfterReturn;
        int steps = 0;
        QTimer::singleShot(0, this, [&] {
            f.trigger("MIB_TREE");
            ++steps;
        });
        QTimer::singleShot(50, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            visibleWindow("Tree")->findChild<QAction *>(QStringLiteral("TREE_LIST"))->trigger();
            ++steps;
        });
        QTimer::singleShot(100, this, [&] {
            seen.append(visibleTopLevelWindows().join(QLatin1Char(',')));
            QWidget *list = visibleWindow("List");
            levelAfterReturn = list->findChild<QLineEdit *>(QStringLiteral("Text1"))->text();
            ++steps;
            // Closing the last window ends the program.
            list->close();
        });
        QTimer::singleShot(10000, this, [] { QApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QCOMPARE(steps, 3);
        QCOMPARE(seen, (QStringList{QStringLiteral("Tree"), QStringLiteral("List")}));
        // Reopened, the List window showed the level it was left at.
        QCOMPARE(levelAfterReturn, QStringLiteral("portTable"));
        QTRY_VERIFY(visibleTopLevelWindows().isEmpty());
    }

    void missingIconsLeaveTheCellsWithoutAPicture()
    {
        buildSampleDesign(*f.state);
        f.services->setProgramFolder(f.folder->path());
        QVERIFY(f.show());
        QCOMPARE(f.grid()->rowCount(), 2);
        QCOMPARE(colourOf(f.grid()->item(0, 0)), Colour::None);
        QCOMPARE(f.cell(0, 0), QStringLiteral("    sysInfo"));
        QVERIFY(f.services->messages.isEmpty());
    }

    void aLevelWhoseObjectIsGoneShowsTheTopLevel()
    {
        buildSampleDesign(*f.state);
        f.state->ListLevel = 0;
        QVERIFY(deleteSubtree(*f.state, 0));
        QVERIFY(f.show());
        QCOMPARE(f.state->ListLevel, -1);
        QCOMPARE(f.text1(), QStringLiteral("enterprise"));
        QCOMPARE(f.names(), QStringList{QStringLiteral("portTable")});
    }

    void refreshShowsTheLevelOnAFullTable()
    {
        const int node = addNode(*f.state, QStringLiteral("top"), 1);
        for (int i = 0; i < 999; ++i)
            addNode(*f.state, QStringLiteral("n%1").arg(i), 1 + i % 255, node);
        f.state->ListLevel = static_cast<int16_t>(node);
        QVERIFY(f.show());
        QCOMPARE(f.grid()->rowCount(), 999);
        QCOMPARE(f.cell(998, 0), QStringLiteral("    n998"));
        QCOMPARE(f.cell(998, 2), QStringLiteral("999"));
    }
};

QTEST_MAIN(ListWindowTest)
#include "test_list.moc"
