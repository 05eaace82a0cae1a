// The Tree window as it shows a design: its layout, the six balls, the items
// built from the tables, the path box and the panel filled by a click.
#include "balls.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treefixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>

using namespace korvel;
using namespace korvel::testing;

namespace {

QImage iconImage(const QTreeWidgetItem *item, QIcon::Mode mode)
{
    return item->icon(0).pixmap(BallImages::Size, BallImages::Size, mode).toImage();
}

// Pixels that are not white: how much of the picture the ball covers.
int ballArea(const QImage &image)
{
    int area = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            area += image.pixelColor(x, y) != QColor(Qt::white);
    }
    return area;
}

int lightness(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2).lightness();
}

} // namespace

class TreeDisplayTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void theWindowReadsAsDesigned()
    {
        QVERIFY(f.show());
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
        QCOMPARE(f.widget<QLabel>("Label2")->text(), QStringLiteral("Object ID"));
        QCOMPARE(f.widget<QPushButton>("Command12")->text(), QStringLiteral("     追加"));
        QCOMPARE(f.widget<QPushButton>("Command11")->text(), QStringLiteral("     削除"));
        QCOMPARE(f.widget<QPushButton>("Command1")->text(), QStringLiteral("        MIBﾌｧｲﾙ 作成"));
        QCOMPARE(f.widget<QPushButton>("Command4")->text(), QStringLiteral("    設定"));
        QCOMPARE(f.widget<QPushButton>("Command3")->text(), QStringLiteral("ﾘｽﾄへ追加"));
        QCOMPARE(f.widget<QPushButton>("Command2")->text(), QStringLiteral("ﾘｽﾄから削除"));
        QCOMPARE(f.option(0)->text(), QStringLiteral("ツリー"));
        QCOMPARE(f.option(1)->text(), QStringLiteral("テーブル"));
        QCOMPARE(f.option(2)->text(), QStringLiteral("オブジェクト"));
        const QList<QPair<const char *, QString>> labels{
            {"Label11", QStringLiteral("名前")},       {"Label10", QStringLiteral("オブジェクトID")},
            {"Label5", QStringLiteral("ｴﾝﾄﾘの説明")}, {"Label9", QStringLiteral("～")},
            {"Label8", QStringLiteral("名前")},        {"Label4", QStringLiteral("値")},
            {"Label3", QStringLiteral("アクセス権")},  {"Label1", QStringLiteral("順位")}};
        for (const auto &[name, caption] : labels)
            QCOMPARE(f.widget<QLabel>(name)->text(), caption);
        QCOMPARE(f.check("Check4")->text(), QStringLiteral("範囲の指定"));
        QCOMPARE(f.check("Check3")->text(), QStringLiteral("リスト"));
        QCOMPARE(f.check("Check1")->text(), QStringLiteral("ﾃｰﾌﾞﾙｷｰ"));
        QCOMPARE(f.widget<QGroupBox>("DescriptionFrame")->title(), QStringLiteral("説明"));
        QCOMPARE(f.widget<QGroupBox>("TypeFrame")->title(), QStringLiteral("タイプ"));
        QCOMPARE(f.comboEntries("Combo7"),
                 (QStringList{QStringLiteral("INTEGER"), QStringLiteral("OCTET STRING"),
                              QStringLiteral("OBJECT IDENTIFIER"), QStringLiteral("IpAddress"),
                              QStringLiteral("Counter"), QStringLiteral("Gauge"), QStringLiteral("TimeTicks"),
                              QStringLiteral("Opaque")}));
        QCOMPARE(f.comboEntries("Combo1"), (QStringList{QStringLiteral("read-only"), QStringLiteral("read-write"),
                                                        QStringLiteral("not-accessible")}));
        QVERIFY(f.combo("Combo6")->isEditable());
        // The panel's frames hold what they should, so that disabling a
        // frame disables its controls.
        const auto *type = f.widget<QGroupBox>("TypeFrame");
        for (const char *name : {"Combo7", "Check4", "Text9", "Text10", "Check3", "Combo6", "Text8", "Command3",
                                 "Command2", "Combo1", "Check1", "Text2"})
            QVERIFY2(f.window->findChild<QWidget *>(QLatin1String(name))->parentWidget() == type, name);
        const auto *description = f.widget<QGroupBox>("DescriptionFrame");
        QCOMPARE(f.textArea("Text7")->parentWidget(), description);
        QCOMPARE(f.textArea("Text3")->parentWidget(), description);
        QCOMPARE(f.view()->iconSize(), QSize(15, 15));
        QVERIFY(!f.view()->isSortingEnabled());
        QCOMPARE(f.view()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(f.view()->rootIsDecorated());
        QCOMPARE(f.view()->style()->name(), QStringLiteral("windows"));
    }

    void menusCarryTheirCaptionsNamesAndShortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::newRow("open") << "TREE_OPEN" << QStringLiteral("ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&O)") << QKeySequence(QStringLiteral("Ctrl+O"));
        QTest::newRow("save") << "TREE_SAVE" << QStringLiteral("保存(&S)") << QKeySequence(QStringLiteral("Ctrl+S"));
        QTest::newRow("load") << "TREE_LOAD" << QStringLiteral("MIBﾌｧｲﾙをﾛｰﾄﾞ(&L)") << QKeySequence(QStringLiteral("Ctrl+L"));
        QTest::newRow("end") << "TREE_END" << QStringLiteral("終了(&X)") << QKeySequence();
        QTest::newRow("list") << "TREE_LIST" << QStringLiteral("ﾘｽﾄ(&L)") << QKeySequence();
        QTest::newRow("help") << "TREE_HELP_HELP" << QStringLiteral("ﾍﾙﾌﾟ(&H)") << QKeySequence();
        QTest::newRow("version") << "TREE_VERSION" << QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)") << QKeySequence();
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

    void theMenuBarHoldsThreeMenus()
    {
        QVERIFY(f.show());
        QStringList menus;
        for (QAction *menu : f.window->menuBar()->actions())
            menus.append(menu->text());
        QCOMPARE(menus, (QStringList{QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("表示(&V)"), QStringLiteral("ﾍﾙﾌﾟ(&H)")}));
        for (const char *name : {"TREE_FILE", "TREE_VIEW", "TREE_HELP"})
            QVERIFY2(f.window->findChild<QMenu *>(QLatin1String(name)), name);
        QVERIFY(f.action("TREE_SEPARATE")->isSeparator());
        QVERIFY(f.action("TREE_SEPARATE2")->isSeparator());
    }

    void boxesHoldTheirMaximumLengths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::newRow("name") << "Text5" << 255;
        QTest::newRow("object ID") << "Text4" << 3;
        QTest::newRow("lower bound") << "Text9" << 10;
        QTest::newRow("upper bound") << "Text10" << 10;
        QTest::newRow("item value") << "Text8" << 4;
        QTest::newRow("key position") << "Text2" << 4;
        QTest::newRow("description") << "Text7" << 255;
        QTest::newRow("entry description") << "Text3" << 255;
    }

    void boxesHoldTheirMaximumLengths()
    {
        QFETCH(QString, name);
        QFETCH(int, limit);
        QVERIFY(f.show());
        const QString typed(limit + 20, QLatin1Char('7'));
        if (auto *line = f.box(name.toLatin1().constData())) {
            QCOMPARE(line->maxLength(), limit);
            // Typed into as if its frame and the box were usable.
            line->parentWidget()->setEnabled(true);
            line->setEnabled(true);
            line->setFocus();
            QTest::keyClicks(line, typed);
            QCOMPARE(line->text().size(), limit);
        } else {
            QPlainTextEdit *area = f.textArea(name.toLatin1().constData());
            QVERIFY(area);
            area->insertPlainText(typed);
            QCOMPARE(area->toPlainText(), typed.left(limit));
        }
    }

    void sixBallsOfFifteenPixels()
    {
        const BallImages images;
        QCOMPARE(BallImages::keys(), (QStringList{QStringLiteral("blue"), QStringLiteral("blue2"),
                                                  QStringLiteral("green"), QStringLiteral("green2"),
                                                  QStringLiteral("orange"), QStringLiteral("orange2")}));
        const QList<QPair<QString, Colour>> colours{
            {QStringLiteral("blue"), Colour::Blue}, {QStringLiteral("green"), Colour::Green},
            {QStringLiteral("orange"), Colour::Orange}};
        for (const auto &[key, colour] : colours) {
            const QImage plain = images.image(key).toImage();
            const QImage pale = images.image(key + QLatin1Char('2')).toImage();
            QCOMPARE(plain.size(), QSize(15, 15));
            QCOMPARE(pale.size(), QSize(15, 15));
            QCOMPARE(colourOf(plain), colour);
            QCOMPARE(colourOf(pale), colour);
            // On white, the selected image is smaller and paler.
            QCOMPARE(plain.pixelColor(0, 0), QColor(Qt::white));
            QVERIFY(ballArea(pale) < ballArea(plain));
            QVERIFY(lightness(pale) > lightness(plain));
        }
        QVERIFY(images.image(QStringLiteral("red")).isNull());
    }

    void anEmptyDesignShowsOnlyTheGreenRoot()
    {
        QVERIFY(f.show());
        QCOMPARE(f.view()->topLevelItemCount(), 1);
        QTreeWidgetItem *root = f.root();
        QCOMPARE(root->text(0), QStringLiteral("enterprise"));
        QCOMPARE(root->data(0, TreeItems::KeyRole).toString(), QStringLiteral("enterprise"));
        QCOMPARE(root->data(0, TreeItems::ImageRole).toString(), QStringLiteral("green"));
        QCOMPARE(root->data(0, TreeItems::SelectedImageRole).toString(), QStringLiteral("green"));
        QCOMPARE(colourOf(iconImage(root, QIcon::Normal)), Colour::Green);
        QCOMPARE(root->childCount(), 0);
        QVERIFY(!root->isExpanded());
        QVERIFY(f.view()->selectedItems().isEmpty());
        // The panel as the window opens: the node option, empty boxes, one
        // empty entry in the item list, the attribute controls disabled.
        QCOMPARE(f.chosenOption(), 0);
        for (const char *name : {"Text1", "Text5", "Text4", "Text9", "Text10", "Text8", "Text2"})
            QVERIFY2(f.text(name).isEmpty(), name);
        QCOMPARE(f.comboEntries("Combo6"), QStringList{QString()});
        QCOMPARE(f.combo("Combo7")->currentIndex(), 0);
        QVERIFY(!f.widget<QGroupBox>("TypeFrame")->isEnabled());
        QVERIFY(!f.textArea("Text7")->isEnabled());
        QVERIFY(f.services->messages.isEmpty());
    }

    void topLevelObjectsFollowTheirSlots()
    {
        placeObject(*f.state, 5, QStringLiteral("a"), 3, RootSlot);
        placeObject(*f.state, 2, QStringLiteral("b"), 1, RootSlot);
        placeObject(*f.state, 9, QStringLiteral("c"), 2, RootSlot);
        QVERIFY(f.show());
        QCOMPARE(TreeFixture::childTexts(f.root()),
                 (QStringList{QStringLiteral("b(1)"), QStringLiteral("a(3)"), QStringLiteral("c(2)")}));
    }

    void levelsAreAddedBreadthFirstInSlotOrder()
    {
        buildSampleDesign(*f.state);
        // A child in a lower slot than its parent's sibling still comes after
        // the whole level above it.
        placeObject(*f.state, 20, QStringLiteral("late"), 9, RootSlot);
        placeObject(*f.state, 15, QStringLiteral("early"), 1, 20);
        QVERIFY(f.show());
        QCOMPARE(f.levelOrder(),
                 (QStringList{QStringLiteral("enterprise"), QStringLiteral("sysInfo(1)"), QStringLiteral("portTable(2)"),
                              QStringLiteral("late(9)"), QStringLiteral("sysTemperature(1)"),
                              QStringLiteral("sysMode(2)"), QStringLiteral("portEntry(1)"), QStringLiteral("early(1)"),
                              QStringLiteral("portIndex(1)"), QStringLiteral("portName(2)"),
                              QStringLiteral("portStatus(3)")}));
        QVERIFY(!f.root()->isExpanded());
        // Positions count in that order: portEntry is the seventh item.
        f.clickText(QStringLiteral("portEntry(1)"));
        QCOMPARE(f.state->ShownItemIndex, 7);
        QCOMPARE(f.state->EditTarget, 4);
        f.clickText(QStringLiteral("early(1)"));
        QCOMPARE(f.state->ShownItemIndex, 8);
        QCOMPARE(f.state->EditTarget, 15);
    }

    void itemsCarryKeysTextsAndBallsByKind()
    {
        buildSampleDesign(*f.state);
        const int table = addTable(*f.state, QStringLiteral("T"), 4);
        QVERIFY(f.show());
        struct Row {
            QString text;
            QString key;
            QString image;
            Colour colour;
        };
        const QList<Row> rows{
            {QStringLiteral("sysInfo(1)"), QStringLiteral("sysInfo"), QStringLiteral("green"), Colour::Green},
            {QStringLiteral("sysMode(2)"), QStringLiteral("sysMode"), QStringLiteral("orange"), Colour::Orange},
            {QStringLiteral("TTable(4)"), QStringLiteral("TTable"), QStringLiteral("blue"), Colour::Blue},
            {QStringLiteral("TEntry(1)"), QStringLiteral("TEntry"), QStringLiteral("blue"), Colour::Blue},
        };
        for (const Row &row : rows) {
            QTreeWidgetItem *item = f.item(row.text);
            QVERIFY2(item, qPrintable(row.text));
            QCOMPARE(item->data(0, TreeItems::KeyRole).toString(), row.key);
            QCOMPARE(item->data(0, TreeItems::ImageRole).toString(), row.image);
            QCOMPARE(item->data(0, TreeItems::SelectedImageRole).toString(), row.image + QLatin1Char('2'));
            QCOMPARE(colourOf(iconImage(item, QIcon::Normal)), row.colour);
            QCOMPARE(colourOf(iconImage(item, QIcon::Selected)), row.colour);
            QVERIFY(lightness(iconImage(item, QIcon::Selected)) > lightness(iconImage(item, QIcon::Normal)));
        }
        QCOMPARE(TreeFixture::childTexts(f.item(QStringLiteral("TTable(4)"))), QStringList{QStringLiteral("TEntry(1)")});

        // Selecting the entry selects it alone; its icon then shows the pale ball.
        f.clickText(QStringLiteral("TEntry(1)"));
        QCOMPARE(f.view()->selectedItems(), QList<QTreeWidgetItem *>{f.item(QStringLiteral("TEntry(1)"))});
        QCOMPARE(f.state->EditTarget, entryOf(*f.state, table));
    }

    void thePathBoxShowsTheWholePath()
    {
        const int a = addNode(*f.state, QStringLiteral("a"), 1);
        const int b = addNode(*f.state, QStringLiteral("b"), 2, a);
        addNode(*f.state, QStringLiteral("c"), 3, b);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("c(3)"));
        QLineEdit *path = f.box("Text1");
        QCOMPARE(path->text(), QStringLiteral("enterprise.a(1).b(2).c(3)"));
        QCOMPARE(path->cursorPosition(), path->text().size());
        QVERIFY(f.services->messages.isEmpty());
    }

    void theRootEmptiesThePanelAndKeepsEditTarget()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysTemperature(1)"));
        QCOMPARE(f.state->EditTarget, 1);
        QCOMPARE(f.text("Text5"), QStringLiteral("sysTemperature"));

        f.clickItem(f.root());
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(f.state->ShownItemIndex, 1);
        QCOMPARE(f.state->EditTarget, 1);
        QCOMPARE(f.text("Text5"), QString());
        QCOMPARE(f.text("Text4"), QStringLiteral("0"));
        QCOMPARE(f.textArea("Text7")->toPlainText(), QString());
        QVERIFY(!f.check("Check4")->isChecked());
        QCOMPARE(f.text("Text9"), QString());
        QCOMPARE(f.chosenOption(), 0);
        QCOMPARE(f.combo("Combo6")->count(), 0);
        QCOMPARE(f.combo("Combo1")->currentIndex(), 0);
    }

    void theShownObjectFillsThePanel_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("objectId");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("entryDescription");
        QTest::addColumn<int>("syntax");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("access");
        QTest::addColumn<QString>("keyPosition");
        QTest::newRow("node") << "sysInfo(1)" << 0 << "sysInfo" << "1" << "" << "" << 0 << "" << 0 << "";
        QTest::newRow("range") << "sysTemperature(1)" << 2 << "sysTemperature" << "1" << "Board temperature" << ""
                               << 0 << "-40..125" << 0 << "";
        QTest::newRow("table") << "portTable(2)" << 1 << "portTable" << "2" << "Ports" << "" << 0 << "" << 0 << "";
        QTest::newRow("entry") << "portEntry(1)" << 1 << "portEntry" << "1" << "" << "Rows" << 0 << "" << 0 << "";
        QTest::newRow("key") << "portIndex(1)" << 2 << "portIndex" << "1" << "Port number" << "" << 0 << "1..64"
                             << 0 << "1";
        QTest::newRow("octet string") << "portName(2)" << 2 << "portName" << "2" << "ポート名" << "" << 1 << "" << 1
                                      << "";
    }

    void theShownObjectFillsThePanel()
    {
        QFETCH(QString, item);
        QFETCH(int, option);
        buildSampleDesign(*f.state);
        // The entry's own description shows in the entry box.
        MibAttribute &entry = f.state->tables.attribute[attributeOf(*f.state, 4)];
        entry.Description = QStringLiteral("Rows").leftJustified(NameWidth);
        entry.DescriptionLength = 4;
        QVERIFY(f.show());
        // The syntax list keeps its position over objects that have none.
        f.combo("Combo7")->setCurrentIndex(3);

        f.clickText(item);
        QCOMPARE(f.chosenOption(), option);
        QTEST(f.text("Text5"), "name");
        QTEST(f.text("Text4"), "objectId");
        QTEST(f.textArea("Text7")->toPlainText(), "description");
        QTEST(f.textArea("Text3")->toPlainText(), "entryDescription");
        if (option == 2)
            QTEST(f.combo("Combo7")->currentIndex(), "syntax");
        else
            QCOMPARE(f.combo("Combo7")->currentIndex(), 3);
        QFETCH(QString, range);
        QCOMPARE(f.check("Check4")->isChecked(), !range.isEmpty());
        QCOMPARE(range.isEmpty() ? QString() : f.text("Text9") + QStringLiteral("..") + f.text("Text10"), range);
        QTEST(f.combo("Combo1")->currentIndex(), "access");
        QFETCH(QString, keyPosition);
        QCOMPARE(f.check("Check1")->isChecked(), !keyPosition.isEmpty());
        QCOMPARE(f.text("Text2"), keyPosition);
        QVERIFY(!f.check("Check3")->isChecked());
        QVERIFY(f.services->messages.isEmpty());
    }

    void anEnumerationFillsTheItemListAndEnumValues()
    {
        LeafDefinition def;
        def.name = QStringLiteral("state");
        def.items = {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}};
        addLeaf(*f.state, def);
        f.state->EnumValues.fill(9);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("state(1)"));
        QVERIFY(f.check("Check3")->isChecked());
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{QStringLiteral("up"), QStringLiteral("down"), QString()}));
        QCOMPARE(f.combo("Combo6")->currentIndex(), 0);
        QCOMPARE(f.text("Text8"), QStringLiteral("1"));
        QCOMPARE(f.state->EnumValues[0], 1);
        QCOMPARE(f.state->EnumValues[1], 2);
        for (int i = 2; i < SlotCount; ++i)
            QCOMPARE(f.state->EnumValues[i], 0);
        QVERIFY(f.combo("Combo6")->isEnabled());

        // Choosing an entry and typing a name show the value that goes with it.
        f.combo("Combo6")->setCurrentIndex(1);
        QCOMPARE(f.text("Text8"), QStringLiteral("2"));
        QLineEdit *itemText = f.combo("Combo6")->lineEdit();
        itemText->clear();
        QTest::keyClicks(itemText, QStringLiteral("up"));
        QCOMPARE(f.text("Text8"), QStringLiteral("1"));
        QTest::keyClicks(itemText, QStringLiteral("x"));
        QCOMPARE(f.text("Text8"), QString());
    }

    void theDescriptionLengthIsRewrittenAfterShowing()
    {
        buildSampleDesign(*f.state);
        MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 1)];
        attribute.DescriptionLength = 5;
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysTemperature(1)"));
        QCOMPARE(f.textArea("Text7")->toPlainText(), QStringLiteral("Board"));
        QCOMPARE(attribute.DescriptionLength, 17);
        f.clickText(QStringLiteral("sysMode(2)"));
        f.clickText(QStringLiteral("sysTemperature(1)"));
        QCOMPARE(f.textArea("Text7")->toPlainText(), QStringLiteral("Board temperature"));

        // A description that starts with blanks keeps its end however often
        // it is shown.
        MibAttribute &mode = f.state->tables.attribute[attributeOf(*f.state, 2)];
        mode.Description = QStringLiteral("  two blanks first").leftJustified(NameWidth);
        mode.DescriptionLength = 18;
        for (int shown = 0; shown < 2; ++shown) {
            f.clickText(QStringLiteral("sysMode(2)"));
            QCOMPARE(f.textArea("Text7")->toPlainText(), QStringLiteral("  two blanks first"));
            QCOMPARE(mode.DescriptionLength, 18);
            f.clickItem(f.root());
        }
    }

    void valuesFromTheTablesAreShownWhole()
    {
        // A design file may hold more than a person may type into the boxes.
        LeafDefinition def;
        def.name = QStringLiteral("wide");
        def.keyOrder = 12345;
        def.minimum = QStringLiteral("000000000001");
        def.maximum = QStringLiteral("4294967295");
        const int leaf = addLeaf(*f.state, def);
        f.state->tables.tree[leaf].ObjectId = 4096;
        QVERIFY(f.show());
        f.clickText(QStringLiteral("wide(4096)"));
        QCOMPARE(f.text("Text4"), QStringLiteral("4096"));
        QCOMPARE(f.text("Text9"), QStringLiteral("000000000001"));
        QCOMPARE(f.text("Text2"), QStringLiteral("12345"));
        // 設定 then answers for what is shown instead of storing a cut value.
        f.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("オブジェクトIDは1～255です。")});
        QCOMPARE(f.state->tables.tree[leaf].ObjectId, 4096);
        // Showing another object gives the boxes back their limits.
        f.clickItem(f.root());
        QCOMPARE(f.box("Text4")->maxLength(), 3);
        QCOMPARE(f.box("Text2")->maxLength(), 4);
    }

    void rebuildingKeepsShownItemIndexAndEditTarget()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("portName(2)"));
        const int16_t shown = f.state->ShownItemIndex;
        QCOMPARE(f.state->EditTarget, 6);
        QCOMPARE(f.combo("Combo7")->currentIndex(), 1);

        f.window->BuildTree();
        QCOMPARE(f.state->ShownItemIndex, shown);
        QCOMPARE(f.state->EditTarget, 6);
        QVERIFY(f.view()->selectedItems().isEmpty());
        QVERIFY(!f.root()->isExpanded());
        // The rebuild resets the syntax list, the item list and the kind
        // option; the rest of the panel keeps what it showed.
        QCOMPARE(f.combo("Combo7")->currentIndex(), 0);
        QCOMPARE(f.comboEntries("Combo6"), QStringList{QString()});
        QCOMPARE(f.chosenOption(), 0);
        QCOMPARE(f.text("Text5"), QStringLiteral("portName"));
        QVERIFY(!f.widget<QGroupBox>("TypeFrame")->isEnabled());

        // And a new window starts from the same values.
        f.window->close();
        QTRY_VERIFY(!f.window);
        QVERIFY(f.show());
        QCOMPARE(f.state->ShownItemIndex, shown);
        QCOMPARE(f.state->EditTarget, 6);
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Korvel （ツリー）"));
    }

    void theKeyboardShowsTheItemItMovesTo()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickItem(f.root());
        f.view()->setFocus();
        QTest::keyClick(f.view(), Qt::Key_Right);
        QTest::keyClick(f.view(), Qt::Key_Down);
        QCOMPARE(f.state->ShownItemIndex, 2);
        QCOMPARE(f.text("Text5"), QStringLiteral("sysInfo"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.sysInfo(1)"));
    }
};

QTEST_MAIN(TreeDisplayTest)
#include "test_tree_display.moc"
