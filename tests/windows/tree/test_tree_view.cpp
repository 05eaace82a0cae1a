// The Tree window as it shows a design: its layout and menus, the six balls,
// the items built from the tables, the path box, the panel filled by a click
// with its enabled states, and the panel's range, enumeration and key boxes.
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

// The colour of a picture, read from its middle pixel, named as the balls are.
QString colourOf(const QImage &image)
{
    const int hue = image.pixelColor(image.width() / 2, image.height() / 2).hslHue();
    if (hue >= 90 && hue <= 150)
        return u"green"_s;
    if (hue >= 190 && hue <= 250)
        return u"blue"_s;
    return hue >= 15 && hue <= 45 ? u"orange"_s : u"none"_s;
}

int lightness(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2).lightness();
}

QImage iconImage(const QTreeWidgetItem *item, QIcon::Mode mode)
{
    return item->icon(0).pixmap(BallImages::Size, BallImages::Size, mode).toImage();
}

// The caption of a label, button, action, frame or menu.
QString captionOf(const QObject *control)
{
    if (!control)
        return u"(no such control)"_s;
    return control->property(control->inherits("QGroupBox") || control->inherits("QMenu") ? "title" : "text")
        .toString();
}

// The controls whose enabled state depends on the kind option and the ticks.
const QStringList Dependent = words(u"DescriptionFrame Text7 Label5 Text3 TypeFrame Combo7 Check4 Text9 Label9 "
                                    u"Text10 Check3 Label8 Combo6 Label4 Text8 Command3 Command2 Label3 Combo1 "
                                    u"Check1 Label1 Text2"_s);

} // namespace

class TreeViewTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;

    QStringList enabledControls() const
    {
        QStringList enabled;
        for (const QString &name : Dependent) {
            if (f.window->findChild<QWidget *>(name)->isEnabled())
                enabled.append(name);
        }
        return enabled;
    }

    // A plain INTEGER leaf shown in the panel.
    void showLeaf()
    {
        LeafDefinition def;
        def.name = u"leaf"_s;
        addLeaf(*f.state, def);
        QVERIFY(f.show());
        f.clickText(u"leaf(1)"_s);
        QCOMPARE(f.chosenOption(), 2);
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void theWindowReadsAsDesigned()
    {
        QVERIFY(f.show());
        QCOMPARE(f.window->windowTitle(), u"Korvel （ツリー）"_s);
        // An empty design shows the green root alone, collapsed.
        QCOMPARE(f.levelOrder(), QStringList{u"enterprise"_s});
        QCOMPARE(f.looks(u"enterprise"_s), u"enterprise green green"_s);
        QCOMPARE(colourOf(iconImage(f.root(), QIcon::Normal)), u"green"_s);
        QVERIFY(!f.root()->isExpanded());
        QVERIFY(f.view()->selectedItems().isEmpty());
        // The panel as the window opens: the node option, empty boxes, one
        // empty entry in the item list, the attribute controls disabled.
        QCOMPARE(f.panel(), u"0|||||INTEGER|||read-only|"_s);
        QCOMPARE(f.text("Text1") + f.text("Text9") + f.text("Text10") + f.text("Text8") + f.text("Text2"), QString());
        QCOMPARE(f.comboEntries("Combo6"), QStringList{QString()});
        QCOMPARE(enabledControls(), QStringList());
        QVERIFY(f.services->messages.isEmpty());
        // object name|caption, for controls, frames, menus and menu items.
        const QStringList captions{
            u"Label2|Object ID"_s, u"Command12|     追加"_s, u"Command11|     削除"_s,
            u"Command1|        MIBﾌｧｲﾙ 作成"_s, u"Command4|    設定"_s, u"Command3|ﾘｽﾄへ追加"_s,
            u"Command2|ﾘｽﾄから削除"_s, u"Option1_0|ツリー"_s, u"Option1_1|テーブル"_s, u"Option1_2|オブジェクト"_s,
            u"Label11|名前"_s, u"Label10|オブジェクトID"_s, u"Label5|ｴﾝﾄﾘの説明"_s, u"Label9|～"_s, u"Label8|名前"_s,
            u"Label4|値"_s, u"Label3|アクセス権"_s, u"Label1|順位"_s, u"Check4|範囲の指定"_s, u"Check3|リスト"_s,
            u"Check1|ﾃｰﾌﾞﾙｷｰ"_s, u"DescriptionFrame|説明"_s, u"TypeFrame|タイプ"_s, u"TREE_FILE|ﾌｧｲﾙ(&F)"_s,
            u"TREE_OPEN|ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&O)"_s, u"TREE_SAVE|保存(&S)"_s, u"TREE_LOAD|MIBﾌｧｲﾙをﾛｰﾄﾞ(&L)"_s,
            u"TREE_END|終了(&X)"_s, u"TREE_VIEW|表示(&V)"_s, u"TREE_LIST|ﾘｽﾄ(&L)"_s, u"TREE_HELP|ﾍﾙﾌﾟ(&H)"_s,
            u"TREE_HELP_HELP|ﾍﾙﾌﾟ(&H)"_s, u"TREE_VERSION|ﾊﾞｰｼﾞｮﾝ情報(&A)"_s};
        for (const QString &row : captions) {
            const QString name = row.section(u'|', 0, 0);
            QCOMPARE(name + u'|' + captionOf(f.window->findChild<QObject *>(name)), row);
        }
        QStringList menus;
        for (const QAction *menu : f.window->menuBar()->actions())
            menus.append(menu->text());
        QCOMPARE(menus, words(u"ﾌｧｲﾙ(&F) 表示(&V) ﾍﾙﾌﾟ(&H)"_s));
        QStringList shortcuts;
        for (const QAction *action : f.window->findChildren<QAction *>()) {
            if (!action->shortcut().isEmpty())
                shortcuts.append(action->objectName() + u'=' + action->shortcut().toString());
        }
        shortcuts.sort();
        QCOMPARE(shortcuts, words(u"TREE_LOAD=Ctrl+L TREE_OPEN=Ctrl+O TREE_SAVE=Ctrl+S"_s));
        QVERIFY(f.action("TREE_SEPARATE")->isSeparator() && f.action("TREE_SEPARATE2")->isSeparator());
        QCOMPARE(f.comboEntries("Combo7"),
                 u"INTEGER|OCTET STRING|OBJECT IDENTIFIER|IpAddress|Counter|Gauge|TimeTicks|Opaque"_s.split(u'|'));
        QCOMPARE(f.comboEntries("Combo1"), words(u"read-only read-write not-accessible"_s));
        QVERIFY(f.combo("Combo6")->isEditable());
        // Disabling a frame disables what it holds.
        for (const QString &name : words(u"Combo7 Check4 Text9 Text10 Check3 Combo6 Text8 Command3 Command2 Combo1 "
                                         u"Check1 Text2"_s))
            QCOMPARE(f.window->findChild<QWidget *>(name)->parentWidget(), f.widget<QGroupBox>("TypeFrame"));
        const QString typed(300, u'7');
        for (const char *name : {"Text7", "Text3"}) {
            QCOMPARE(f.textArea(name)->parentWidget(), f.widget<QGroupBox>("DescriptionFrame"));
            f.textArea(name)->insertPlainText(typed);
            QCOMPARE(f.textArea(name)->toPlainText(), typed.left(255));
        }
        const QList<QPair<const char *, int>> limits{{"Text5", 255}, {"Text4", 3}, {"Text9", 10},
                                                     {"Text10", 10}, {"Text8", 4}, {"Text2", 4}};
        for (const auto &[name, limit] : limits)
            QCOMPARE(f.box(name)->maxLength(), limit);
        QCOMPARE(f.view()->iconSize(), QSize(15, 15));
        QVERIFY(!f.view()->isSortingEnabled());
        QCOMPARE(f.view()->editTriggers(), QAbstractItemView::NoEditTriggers);
        // Lines join the items, the root's included.
        QVERIFY(f.view()->rootIsDecorated());
        QCOMPARE(f.view()->style()->name(), u"windows"_s);
    }

    void sixBallsOfFifteenPixels()
    {
        const BallImages images;
        QCOMPARE(BallImages::keys(), words(u"blue blue2 green green2 orange orange2"_s));
        for (const QString &colour : words(u"blue green orange"_s)) {
            const QImage plain = images.image(colour).toImage();
            const QImage pale = images.image(colour + u'2').toImage();
            QCOMPARE(plain.size(), QSize(15, 15));
            QCOMPARE(pale.size(), QSize(15, 15));
            QCOMPARE(colourOf(plain), colour);
            QCOMPARE(colourOf(pale), colour);
            // On white, the selected image is paler.
            QCOMPARE(plain.pixelColor(0, 0), QColor(Qt::white));
            QVERIFY(lightness(pale) > lightness(plain));
        }
        QVERIFY(images.image(u"red"_s).isNull());
    }

    void itemsFollowTheSlotsLevelByLevel()
    {
        buildSampleDesign(*f.state);
        // Siblings follow their slots, not their object IDs; a child in a
        // lower slot than its parent's sibling still comes after the whole
        // level above it.
        placeObject(*f.state, 20, u"late"_s, 1, RootSlot);
        placeObject(*f.state, 15, u"early"_s, 1, 20);
        const int table = addTable(*f.state, u"T"_s, 4);
        QVERIFY(f.show());
        QCOMPARE(f.levelOrder(), words(u"enterprise sysInfo(1) portTable(2) TTable(4) late(1) sysTemperature(1) "
                                       u"sysMode(2) portEntry(1) TEntry(1) early(1) portIndex(1) portName(2) "
                                       u"portStatus(3)"_s));
        QVERIFY(!f.root()->isExpanded());
        for (const QString &row : {u"sysInfo(1)|sysInfo green green2"_s, u"sysMode(2)|sysMode orange orange2"_s,
                                   u"TTable(4)|TTable blue blue2"_s, u"TEntry(1)|TEntry blue blue2"_s}) {
            const QString text = row.section(u'|', 0, 0);
            QCOMPARE(text + u'|' + f.looks(text), row);
            const QString colour = row.section(u' ', 1, 1);
            QCOMPARE(colourOf(iconImage(f.item(text), QIcon::Normal)), colour);
            QCOMPARE(colourOf(iconImage(f.item(text), QIcon::Selected)), colour);
            QVERIFY(lightness(iconImage(f.item(text), QIcon::Selected))
                    > lightness(iconImage(f.item(text), QIcon::Normal)));
        }
        // The path box holds the whole path, the caret at its end.
        f.clickText(u"portEntry(1)"_s);
        QCOMPARE(f.shown(), u"8 4 enterprise.portTable(2).portEntry(1)"_s);
        QCOMPARE(f.box("Text1")->cursorPosition(), f.text("Text1").size());
        f.clickText(u"TEntry(1)"_s);
        QCOMPARE(f.view()->selectedItems(), QList<QTreeWidgetItem *>{f.item(u"TEntry(1)"_s)});
        QCOMPARE(f.shown(), u"9 %1 enterprise.TTable(4).TEntry(1)"_s.arg(entryOf(*f.state, table)));
        QVERIFY(f.services->messages.isEmpty());
    }

    void theShownObjectFillsThePanel()
    {
        buildSampleDesign(*f.state);
        // The entry's own description shows in the entry box.
        MibAttribute &entry = f.state->tables.attribute[attributeOf(*f.state, 4)];
        entry.Description = u"Rows"_s.leftJustified(NameWidth);
        entry.DescriptionLength = 4;
        QVERIFY(f.show());
        // The syntax list keeps its position over objects that have none.
        f.combo("Combo7")->setCurrentIndex(3);
        const QList<QPair<QString, QString>> rows{
            {u"sysInfo(1)"_s, u"0|sysInfo|1|||IpAddress|||read-only|"_s},
            {u"sysTemperature(1)"_s, u"2|sysTemperature|1|Board temperature||INTEGER|-40..125||read-only|"_s},
            {u"sysMode(2)"_s, u"2|sysMode|2|Operating mode||INTEGER||normal,standby,off,|read-write|"_s},
            {u"portTable(2)"_s, u"1|portTable|2|Ports||INTEGER|||read-only|"_s},
            {u"portEntry(1)"_s, u"1|portEntry|1||Rows|INTEGER|||read-only|"_s},
            {u"portIndex(1)"_s, u"2|portIndex|1|Port number||INTEGER|1..64||read-only|1"_s},
            {u"portName(2)"_s, u"2|portName|2|ポート名||OCTET STRING|||read-write|"_s}};
        for (const auto &[item, panel] : rows) {
            f.clickText(item);
            QCOMPARE(f.panel(), panel);
            // The ticks set here enable what they would on a click.
            QCOMPARE(f.box("Text9")->isEnabled(), f.check("Check4")->isChecked());
            QCOMPARE(f.combo("Combo6")->isEnabled(), f.check("Check3")->isChecked());
            QCOMPARE(f.box("Text2")->isEnabled(), f.check("Check1")->isChecked());
            QCOMPARE(f.textArea("Text3")->isEnabled(), f.chosenOption() == 1);
        }
        // The root empties the panel and keeps the edit target.
        f.clickItem(f.root());
        QCOMPARE(f.panel(), u"0||0|||OCTET STRING|||read-only|"_s);
        QCOMPARE(f.shown(), u"1 6 enterprise"_s);
        QCOMPARE(f.text("Text9") + f.text("Text10") + f.text("Text8") + f.text("Text2"), QString());
        QCOMPARE(f.combo("Combo6")->count(), 0);
        // The keyboard shows the item it moves to.
        f.view()->setFocus();
        QTest::keyClick(f.view(), Qt::Key_Down);
        QCOMPARE(f.shown(), u"2 0 enterprise.sysInfo(1)"_s);
        QVERIFY(f.services->messages.isEmpty());

        // A rebuild keeps ShownItemIndex and EditTarget and resets the syntax
        // list, the item list and the kind option; the rest of the panel
        // keeps what it showed. So does a new window.
        f.clickText(u"portName(2)"_s);
        const QString shown = u"8 6 enterprise.portTable(2).portEntry(1).portName(2)"_s;
        QCOMPARE(f.shown(), shown);
        f.window->BuildTree();
        QCOMPARE(f.shown(), shown);
        QVERIFY(f.view()->selectedItems().isEmpty());
        QVERIFY(!f.root()->isExpanded());
        QCOMPARE(f.panel(), u"0|portName|2|ポート名||INTEGER|||read-write|"_s);
        QCOMPARE(f.comboEntries("Combo6"), QStringList{QString()});
        QCOMPARE(enabledControls(), QStringList());
        f.window->close();
        QTRY_VERIFY(!f.window);
        QVERIFY(f.show());
        QCOMPARE(f.state->ShownItemIndex, 8);
        QCOMPARE(f.state->EditTarget, 6);
    }

    void anEnumerationFillsTheItemListAndLosesAnItem()
    {
        LeafDefinition def;
        def.name = u"state"_s;
        def.items = {{u"up"_s, 1}, {u"down"_s, 2}, {u"gone"_s, 3}};
        addLeaf(*f.state, def);
        f.state->EnumValues.fill(9);
        QVERIFY(f.show());
        f.clickText(u"state(1)"_s);
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{u"up"_s, u"down"_s, u"gone"_s, QString()}));
        QCOMPARE(f.combo("Combo6")->currentIndex(), 0);
        QCOMPARE(f.text("Text8"), u"1"_s);
        QVERIFY(f.state->EnumValues == (std::array<int16_t, SlotCount>{1, 2, 3}));

        // Choosing an entry and typing a name show the value that goes with it.
        f.combo("Combo6")->setCurrentIndex(1);
        QCOMPARE(f.text("Text8"), u"2"_s);
        QLineEdit *itemText = f.combo("Combo6")->lineEdit();
        itemText->clear();
        QTest::keyClicks(itemText, u"up"_s);
        QCOMPARE(f.text("Text8"), u"1"_s);
        QTest::keyClicks(itemText, u"x"_s);
        QCOMPARE(f.text("Text8"), QString());

        // ﾘｽﾄから削除: a name with a value it does not have is not removed.
        f.combo("Combo6")->setEditText(u"up"_s);
        f.type("Text8", u"5"_s);
        f.click("Command2");
        QCOMPARE(f.services->texts(), QStringList{u"このエントリは削除できません"_s});
        QCOMPARE(f.comboEntries("Combo6").size(), 4);
        // The user picks the entry already current from the drop-down list,
        // which puts its name back in the box; the values after it move up.
        f.combo("Combo6")->setCurrentIndex(0);
        f.combo("Combo6")->setEditText(u"up"_s);
        Q_EMIT f.combo("Combo6")->activated(0);
        QCOMPARE(f.text("Text8"), u"1"_s);
        f.click("Command2");
        QCOMPARE(f.services->messages.size(), 1);
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{u"down"_s, u"gone"_s, QString()}));
        QCOMPARE(f.text("Text8"), QString());
        QCOMPARE(f.state->EnumValues[0], 2);
        QCOMPARE(f.state->EnumValues[1], 3);
    }

    void theDescriptionLengthIsRewrittenAfterShowing()
    {
        buildSampleDesign(*f.state);
        MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 1)];
        attribute.DescriptionLength = 5;
        QVERIFY(f.show());
        f.clickText(u"sysTemperature(1)"_s);
        QCOMPARE(f.textArea("Text7")->toPlainText(), u"Board"_s);
        QCOMPARE(attribute.DescriptionLength, 17);
        f.clickText(u"sysMode(2)"_s);
        f.clickText(u"sysTemperature(1)"_s);
        QCOMPARE(f.textArea("Text7")->toPlainText(), u"Board temperature"_s);

        // A description that starts with blanks keeps its end however often
        // it is shown.
        MibAttribute &mode = f.state->tables.attribute[attributeOf(*f.state, 2)];
        mode.Description = u"  two blanks first"_s.leftJustified(NameWidth);
        mode.DescriptionLength = 18;
        for (int shown = 0; shown < 2; ++shown) {
            f.clickText(u"sysMode(2)"_s);
            QCOMPARE(f.textArea("Text7")->toPlainText(), u"  two blanks first"_s);
            QCOMPARE(mode.DescriptionLength, 18);
            f.clickItem(f.root());
        }
    }

    void valuesFromTheTablesAreShownWhole()
    {
        // A design file may hold more than a person may type into the boxes.
        LeafDefinition def;
        def.name = u"wide"_s;
        def.objectId = 4096;
        def.keyOrder = 12345;
        def.minimum = u"000000000001"_s;
        def.maximum = u"4294967295"_s;
        addLeaf(*f.state, def);
        QVERIFY(f.show());
        f.clickText(u"wide(4096)"_s);
        QCOMPARE(f.panel(), u"2|wide|4096|||INTEGER|000000000001..4294967295||read-only|12345"_s);
        // 設定 then answers for what is shown instead of storing a cut value.
        f.click("Command4");
        f.verifyRefused(u"オブジェクトIDは1～255です。"_s);
        // Showing another object gives the boxes back their limits.
        f.clickItem(f.root());
        QCOMPARE(f.box("Text4")->maxLength(), 3);
        QCOMPARE(f.box("Text2")->maxLength(), 4);
    }

    void enabledStatesFollowTheOptionAndTheTicks()
    {
        const QString table = u"DescriptionFrame Text7 Label5 Text3"_s;
        const QString leaf = u"DescriptionFrame Text7 TypeFrame Combo7 Check4 Label3 Combo1 Check1"_s;
        const QString bounds = u" Text9 Label9 Text10"_s;
        const QString items = u" Check3 Label8 Combo6 Label4 Text8 Command3 Command2"_s;
        const QString key = u" Label1 Text2"_s;
        struct Row {
            int option;
            int syntax;
            QString ticks;
            QString enabled;
        };
        const QList<Row> rows{{0, 0, {}, {}},
                              {1, 0, {}, table},
                              {2, 0, {}, leaf + u" Check3"_s},
                              {2, 0, u"Check4"_s, leaf + u" Check3"_s + bounds},
                              {2, 0, u"Check3"_s, leaf + items},
                              {2, 0, u"Check1"_s, leaf + u" Check3"_s + key},
                              {2, 0, u"Check4 Check1"_s, leaf + u" Check3"_s + bounds + key},
                              {2, 1, u"Check3"_s, leaf},
                              {2, 7, {}, leaf},
                              // Ticks left from the leaf's options count for nothing under the others.
                              {0, 0, u"Check4 Check1"_s, {}},
                              {1, 0, u"Check3 Check1"_s, table}};
        showLeaf();
        for (const Row &row : rows) {
            // Ticked by clicks while the leaf's options are usable.
            f.clickText(u"leaf(1)"_s);
            for (const QString &box : words(row.ticks)) {
                if (!box.isEmpty())
                    f.check(box.toLatin1().constData())->click();
            }
            f.combo("Combo7")->setCurrentIndex(row.syntax);
            f.option(row.option)->click();
            QStringList expected;
            for (const QString &name : Dependent) {
                if (words(row.enabled).contains(name))
                    expected.append(name);
            }
            // The row goes into both sides, so that a failure names it.
            const QString label = u"option %1, syntax %2, ticks %3: "_s.arg(row.option).arg(row.syntax).arg(row.ticks);
            QCOMPARE(label + enabledControls().join(u' '), label + expected.join(u' '));
            for (const QString &name : words(u"TreeView1 Text1 Text5 Text4 Option1_0 Option1_1 Option1_2 Command12 "
                                             u"Command11 Command1 Command4"_s))
                QVERIFY2(f.window->findChild<QWidget *>(name)->isEnabled(), qPrintable(name));
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void rangeAndListCannotBeTickedTogether()
    {
        showLeaf();
        for (const auto &[first, second] : {std::pair{"Check4", "Check3"}, std::pair{"Check3", "Check4"}}) {
            f.clickText(u"leaf(1)"_s);
            f.services->messages.clear();
            f.check(first)->click();
            f.check(second)->click();
            QCOMPARE(f.services->texts(), QStringList{u"範囲とリストは同時に指定できません。"_s});
            QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
            QVERIFY(f.check(first)->isChecked());
            QVERIFY(!f.check(second)->isChecked());
            // The refused box's controls stay disabled, the other's enabled.
            const bool rangeFirst = qstrcmp(first, "Check4") == 0;
            QCOMPARE(f.box("Text9")->isEnabled(), rangeFirst);
            QCOMPARE(f.combo("Combo6")->isEnabled(), !rangeFirst);
        }
        // A syntax without enumerations disables the list but keeps its tick,
        // and the disabled list does not stop the range box.
        f.combo("Combo7")->setCurrentIndex(1);
        QVERIFY(f.check("Check3")->isChecked() && !f.check("Check3")->isEnabled());
        f.services->messages.clear();
        f.check("Check4")->click();
        QVERIFY(f.check("Check4")->isChecked());
        QVERIFY(f.services->messages.isEmpty());
        f.check("Check4")->click();
        f.combo("Combo7")->setCurrentIndex(0);
        QVERIFY(f.combo("Combo6")->isEnabled());
    }

    void enteringABoxSelectsItsWholeText()
    {
        showLeaf();
        // box:kind option:the tick that enables it
        for (const QString &row : words(u"Text2:2:Check1 Text3:1: Text4:0: Text5:0: Text7:2: Text8:2:Check3 "
                                        u"Text9:2:Check4 Text10:2:Check4"_s)) {
            f.clickText(u"leaf(1)"_s);
            f.option(row.section(u':', 1, 1).toInt())->click();
            if (!row.section(u':', 2).isEmpty())
                f.check(row.section(u':', 2).toLatin1().constData())->click();
            QWidget *box = f.window->findChild<QWidget *>(row.section(u':', 0, 0));
            QVERIFY2(box->isEnabled(), qPrintable(row));
            auto *line = qobject_cast<QLineEdit *>(box);
            auto *area = qobject_cast<QPlainTextEdit *>(box);
            const auto selected = [&] {
                return row + u' ' + (line ? line->selectedText() : area->textCursor().selectedText());
            };
            line ? line->setText(u"123"_s) : area->setPlainText(u"123"_s);
            // By the program (as a Tab does) and by a click.
            f.view()->setFocus();
            box->setFocus(Qt::OtherFocusReason);
            QCOMPARE(selected(), row + u" 123"_s);
            f.view()->setFocus();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            QTRY_COMPARE(selected(), row + u" 123"_s);
        }
    }

    void addingItemsChecksThemAndTakesThemUpToTheLimit()
    {
        showLeaf();
        f.check("Check3")->click();
        const QList<QPair<QString, QString>> refused{{u"|1"_s, u"項目名を入力してください"_s},
                                                     {u"   |1"_s, u"項目名を入力してください"_s},
                                                     {u"a|"_s, u"項目値を入力してください"_s},
                                                     {u"a|-1"_s, u"項目値は数値を入力してください。"_s},
                                                     {u"a|１"_s, u"項目値は数値を入力してください。"_s},
                                                     {u"a|1001"_s, u"項目値は最大1000までです。"_s}};
        for (const auto &[input, message] : refused) {
            f.services->messages.clear();
            f.addItem(input.section(u'|', 0, 0), input.section(u'|', 1));
            QCOMPARE(input + u": "_s + f.services->texts().join(u'/'), input + u": "_s + message);
            QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
            QCOMPARE(f.services->lastMessage().caption, u"注意メッセージ"_s);
            QCOMPARE(f.combo("Combo6")->count(), 0);
        }

        // Repeated names and values are accepted; values up to 1000.
        f.services->messages.clear();
        f.addItem(u"up"_s, u"1"_s);
        f.addItem(u"up"_s, u"1"_s);
        f.addItem(u"max"_s, u"1000"_s);
        f.addItem(u"zero"_s, u"0"_s);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{u"up"_s, u"up"_s, u"max"_s, u"zero"_s, QString()}));
        QCOMPARE(f.combo("Combo6")->currentIndex(), 4);
        QCOMPARE(f.text("Text8"), QString());
        QVERIFY(f.state->EnumValues == (std::array<int16_t, SlotCount>{1, 1, 1000, 0}));

        // The item list holds as many items as EnumValues has places.
        for (int i = 4; i < SlotCount; ++i)
            f.addItem(u"i%1"_s.arg(i), u"5"_s);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.combo("Combo6")->count(), SlotCount + 1);
        f.addItem(u"one more"_s, u"5"_s);
        QCOMPARE(f.services->texts(), QStringList{u"リストの追加に失敗しました"_s});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.combo("Combo6")->count(), SlotCount + 1);
        QCOMPARE(f.combo("Combo6")->itemText(SlotCount), QString());
    }
};

QTEST_MAIN(TreeViewTest)
#include "test_tree_view.moc"
