// The Tree window as it shows a design: its captions and limits, the six
// balls, the items built from the tables, the path box, the panel filled by a
// click with its enabled states, and the panel's item controls.
#include "balls.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treefixture.h"

#include <QLabel>


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
        QCOMPARE(f.widget<QLabel>("OidLabel")->text(), u"1.3.6.1.4.1.1"_s);
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
        QVERIFY(!f.root()->isExpanded());
        QVERIFY(f.view()->selectedItems().isEmpty());
        // The panel as the window opens: the node option, empty boxes, one
        // empty entry in the item list, the attribute controls disabled.
        QCOMPARE(f.panel(), u"0|||||INTEGER|||read-only|"_s);
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
        const QList<QPair<const char *, int>> limits{{"Text5", 255}, {"Text4", 10}, {"Text9", 10},
                                                     {"Text10", 10}, {"Text8", 4}, {"Text2", 4}};
        for (const auto &[name, limit] : limits)
            QCOMPARE(f.box(name)->maxLength(), limit);
        // The bounds with "～" between them, and "順位" with its box, read as
        // one row each: no gap wider than the layout's spacing.
        const std::pair<const char *, const char *> neighbours[] = {
            {"Text9", "Label9"}, {"Label9", "Text10"}, {"Label1", "Text2"}};
        for (const auto &[left, right] : neighbours) {
            // A label's text ends where its size hint does, whatever room it is given.
            const QWidget *shown = f.widget<QWidget>(left);
            const QRect l(shown->pos(), QSize(qMin(shown->width(), shown->sizeHint().width()), shown->height()));
            const QRect r = f.widget<QWidget>(right)->geometry();
            const int gap = r.left() - l.right();
            QVERIFY2(qAbs(l.center().y() - r.center().y()) <= 3 && gap > 0 && gap <= 12, left);
        }
        QCOMPARE(f.view()->iconSize(), QSize(15, 15));
    }

    void sixBallsOfFifteenPixels()
    {
        const BallImages images;
        QCOMPARE(BallImages::keys(), words(u"blue blue2 green green2 orange orange2"_s));
        for (const QString &colour : words(u"blue green orange"_s)) {
            const QImage plain = images.image(colour).toImage();
            const QImage pale = images.image(colour + u'2').toImage();
            QCOMPARE(plain.size(), QSize(15, 15));
            QCOMPARE(colourOf(plain) + colourOf(pale), colour + colour);
            // The selected image is paler.
            QVERIFY(lightness(pale) > lightness(plain));
        }
    }

    void itemsFollowTheSlotsLevelByLevel()
    {
        buildSampleDesign(*f.state);
        // Siblings follow their slots, not their object IDs; a child in a
        // lower slot than its parent's sibling still comes after the whole
        // level above it.
        placeObject(*f.state, 20, u"late"_s, 1, RootSlot);
        placeObject(*f.state, 15, u"early"_s, 1, 20);
        addTable(*f.state, u"T"_s, 4);
        QVERIFY(f.show());
        QCOMPARE(f.levelOrder(), words(u"enterprise sysInfo(1) portTable(2) TTable(4) late(1) sysTemperature(1) "
                                       u"sysMode(2) portEntry(1) TEntry(1) early(1) portIndex(1) portName(2) "
                                       u"portStatus(3)"_s));
        QVERIFY(!f.root()->isExpanded());
        QCOMPARE((QStringList{f.looks(u"sysInfo(1)"_s), f.looks(u"sysMode(2)"_s), f.looks(u"TEntry(1)"_s)}),
                 (QStringList{u"sysInfo green green2"_s, u"sysMode orange orange2"_s, u"TEntry blue blue2"_s}));
        QCOMPARE(colourOf(f.item(u"TEntry(1)"_s)->icon(0).pixmap(BallImages::Size).toImage()), u"blue"_s);
        // The path box holds the whole path.
        f.clickText(u"portEntry(1)"_s);
        QCOMPARE(f.shown(), u"8 4 enterprise.portTable(2).portEntry(1)"_s);
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
        }
        // The root empties the panel and keeps the edit target.
        f.clickItem(f.root());
        QCOMPARE(f.panel(), u"0||0|||OCTET STRING|||read-only|"_s);
        QCOMPARE(f.shown(), u"1 6 enterprise"_s);
        QVERIFY(f.services->messages.isEmpty());

        // A rebuild keeps ShownItemIndex and EditTarget and resets the syntax
        // list, the item list and the kind option; the rest of the panel
        // keeps what it showed. So does a new window.
        f.clickText(u"portName(2)"_s);
        const QString shown = u"8 6 enterprise.portTable(2).portEntry(1).portName(2)"_s;
        QCOMPARE(f.shown(), shown);
        f.window->BuildTree();
        QCOMPARE(f.shown(), shown);
        QCOMPARE(f.panel(), u"0|portName|2|ポート名||INTEGER|||read-write|"_s);
        f.window->close();
        QTRY_VERIFY(!f.window);
        QVERIFY(f.show());
        QCOMPARE(f.state->ShownItemIndex, 8);
        QCOMPARE(f.state->EditTarget, 6);
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
        def.objectId = -2147483647 - 1;
        def.keyOrder = 12345;
        def.minimum = u"000000000001"_s;
        def.maximum = u"4294967295"_s;
        addLeaf(*f.state, def);
        QVERIFY(f.show());
        f.clickText(u"wide(-2147483648)"_s);
        QCOMPARE(f.panel(), u"2|wide|-2147483648|||INTEGER|000000000001..4294967295||read-only|12345"_s);
        // 設定 then answers for what is shown instead of storing a cut value.
        f.click("Command4");
        f.verifyRefused(u"オブジェクトIDは数値を入力してください。"_s);
        // Showing another object gives the boxes back their limits.
        f.clickItem(f.root());
        QCOMPARE(f.box("Text4")->maxLength(), 10);
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
                              {2, 1, u"Check3"_s, leaf},
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
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void theItemControlsCheckAndFillTheList()
    {
        showLeaf();
        f.check("Check3")->click();
        // The item rules are the editor's; one refusal shows through here.
        f.addItem(u"a"_s, u"1001"_s);
        QCOMPARE(f.services->texts(), QStringList{u"項目値は最大1000までです。"_s});
        QCOMPARE(f.services->lastMessage().caption, u"注意メッセージ"_s);
        QCOMPARE(f.combo("Combo6")->count(), 0);
        f.services->messages.clear();
        f.addItem(u"up"_s, u"1"_s);
        f.addItem(u"max"_s, u"1000"_s);
        // Names are taken as typed: "u" is not completed to "up", and "MAX"
        // does not become "max".
        f.addItem(u"u"_s, u"2"_s);
        f.addItem(u"MAX"_s, u"3"_s);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{u"up"_s, u"max"_s, u"u"_s, u"MAX"_s, QString()}));
        QVERIFY(f.state->EnumValues == (std::array<int16_t, SlotCount>{1, 1000, 2, 3}));
        // Choosing an entry shows its value.
        f.combo("Combo6")->setCurrentIndex(0);
        QCOMPARE(f.text("Text8"), u"1"_s);
    }
};

QTEST_MAIN(TreeViewTest)
#include "test_tree_view.moc"
