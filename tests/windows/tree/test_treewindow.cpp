// The Tree window: its captions and limits, the items built from the tables,
// the path box, the panel filled by a click with its enabled states and item
// controls, and 追加, 設定 and 削除 reaching the tables, every refusal
// leaving them as they were, also on designs edited by hand.
#include "balls.h"
#include "cp932.h"
#include "designfile.h"
#include "guidriver.h"
#include "limitedboxes.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treeitems.h"
#include "treewindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTreeWidget>

#include <algorithm>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString Placeholder = u"新たなオブジェクト"_s;
const QString Changed = u"オブジェクトを変更しました。"_s;
const QString SelectFromList = u"リストからオブジェクトを選択してください。"_s;
const QString SelectFromTree = u"ツリーからオブジェクトを選択してください。"_s;
const QString Freed = u"0,,,0,0,0"_s;

// "a b c" as {"a", "b", "c"}: lists of names and item texts.
QStringList words(const QString &spaced)
{
    return spaced.split(u' ');
}

// Line `slot` of section `tag` ("MibTree", "MibAttribute", ...) of the
// design's file image: a record with every field named at once.
QString designLine(const AppState &state, const QString &tag, int slot)
{
    const QStringList lines = cp932::decode(designFileImage(state)).split(u"\r\n"_s);
    return lines.value(lines.indexOf(u'<' + tag + u'>') + 1 + slot);
}

// A file of tests/data/tree/.
QString dataFile(const char *name)
{
    return QString::fromUtf8(KORVEL_TEST_DATA "/tree/") + QLatin1String(name);
}

// Writes object `name` into MibTree slot `slot` as a design file would hold
// it, whatever that slot held, and counts it. For designs whose slot order
// matters.
void placeObject(AppState &state, int slot, const QString &name, int objectId, int parent,
                        int kind = ObjectKind::Node)
{
    MibTree &record = state.tables.tree[slot];
    if (record.InUse != 1)
        ++state.tables.MibTreeCount;
    record.Name = name.leftJustified(NameWidth, QLatin1Char(' '), true);
    record.NameLength = static_cast<int32_t>(qMin<qsizetype>(name.size(), NameWidth));
    record.ObjectId = objectId;
    record.Parent = parent;
    record.Kind = kind;
    record.InUse = 1;
}

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

// The controls whose enabled state depends on the kind option and the ticks.
const QStringList Dependent = words(u"DescriptionFrame Text7 Label5 Text3 TypeFrame Combo7 Check4 Text9 Label9 "
                                    u"Text10 Check3 Label8 Combo6 Label4 Text8 Command3 Command2 Label3 Combo1 "
                                    u"Check1 Label1 Text2"_s);

class TreeDriver : public GuiDriver
{
public:
    // Shows the window on the design as it stands and remembers the design's
    // image for verifyRefused.
    TreeWindow *show()
    {
        before = designFileImage(*state);
        return GuiDriver::show(new TreeWindow(*state, *services));
    }
    TreeWindow *tree() const { return qobject_cast<TreeWindow *>(window); }

    // The only message was `message` of `kind`, and the design is unchanged.
    void verifyRefused(const QString &message, MessageKind kind = MessageKind::Warning) const
    {
        QCOMPARE(services->texts(), QStringList{message});
        QCOMPARE(services->lastMessage().kind, kind);
        QCOMPARE(designFileImage(*state), before);
    }

    QTreeWidget *view() const { return get<QTreeWidget>("TreeView1"); }
    QTreeWidgetItem *root() const { return view()->topLevelItem(0); }

    // The item with `text`, anywhere in the tree (the first in display order).
    QTreeWidgetItem *item(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found = view()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.constFirst();
    }

    // Every item, the root first, then level by level.
    QList<QTreeWidgetItem *> items() const
    {
        QList<QTreeWidgetItem *> all{root()};
        for (qsizetype i = 0; i < all.size(); ++i) {
            for (int child = 0; child < all[i]->childCount(); ++child)
                all.append(all[i]->child(child));
        }
        return all;
    }

    QStringList levelOrder() const
    {
        QStringList texts;
        for (const QTreeWidgetItem *next : items())
            texts.append(next->text(0));
        return texts;
    }

    // ShownItemIndex, EditTarget and the path box.
    QString shown() const
    {
        return u"%1 %2 %3"_s.arg(state->ShownItemIndex).arg(state->EditTarget).arg(text("Text1"));
    }

    // The key, image and selected image of the item with `text`.
    QString looks(const QString &text) const
    {
        const QTreeWidgetItem *found = item(text);
        if (!found)
            return u"(no item)"_s;
        return QStringList{found->data(0, TreeItems::KeyRole).toString(), found->data(0, TreeItems::ImageRole).toString(),
                           found->data(0, TreeItems::SelectedImageRole).toString()}
            .join(u' ');
    }

    // A click on `target`, its ancestors expanded first so it can be seen.
    void clickItem(QTreeWidgetItem *target) const
    {
        QVERIFY(target);
        for (QTreeWidgetItem *above = target->parent(); above; above = above->parent())
            above->setExpanded(true);
        view()->scrollToItem(target);
        const QRect rect = view()->visualItemRect(target);
        QVERIFY(rect.isValid());
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void clickText(const QString &text) const { clickItem(item(text)); }

    // Fills the panel's name and object ID, chooses kind `option` and applies.
    void apply(int option, const QString &name, const QString &objectId) const
    {
        this->option(option)->click();
        type("Text5", name);
        type("Text4", objectId);
        click("Command4");
    }

    // Answers 削除's question with `answer`.
    void remove(MessageButton answer = MessageButton::Yes) const
    {
        services->queueAnswer(answer);
        click("Command11");
    }

    QLineEdit *box(const char *name) const { return get<QLineEdit>(name); }
    QPlainTextEdit *textArea(const char *name) const { return get<QPlainTextEdit>(name); }
    QCheckBox *check(const char *name) const { return get<QCheckBox>(name); }
    QComboBox *combo(const char *name) const { return get<QComboBox>(name); }
    QRadioButton *option(int index) const { return get<QRadioButton>(qPrintable(u"Option1_%1"_s.arg(index))); }
    // The chosen kind option: 0 ツリー, 1 テーブル, 2 オブジェクト, -1 none.
    int chosenOption() const
    {
        for (int i = 0; i < 3; ++i) {
            if (option(i)->isChecked())
                return i;
        }
        return -1;
    }

    // The panel as one line: kind option, name, object ID, description,
    // entry description, syntax, range, enumeration items, access and key
    // position; a box's values only while it is ticked.
    QString panel() const
    {
        const auto ticked = [this](const char *box, const QString &shown) {
            return check(box)->isChecked() ? shown : QString();
        };
        return QStringList{QString::number(chosenOption()), text("Text5"), text("Text4"),
                           textArea("Text7")->toPlainText(), textArea("Text3")->toPlainText(),
                           combo("Combo7")->currentText(), ticked("Check4", text("Text9") + u".."_s + text("Text10")),
                           ticked("Check3", entries("Combo6").join(u',')), combo("Combo1")->currentText(),
                           ticked("Check1", text("Text2"))}
            .join(u'|');
    }

    // Types the enumeration item `name` into the item list, moves on to the
    // value and adds the item with ﾘｽﾄへ追加.
    void addItem(const QString &name, const QString &value) const
    {
        QLineEdit *itemName = combo("Combo6")->lineEdit();
        QTest::mouseClick(itemName, Qt::LeftButton);
        QTest::keyClick(itemName, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(itemName, name);
        QTest::mouseClick(box("Text8"), Qt::LeftButton);
        type("Text8", value);
        QTest::mouseClick(get<QPushButton>("Command3"), Qt::LeftButton);
    }



    QByteArray before;
};

} // namespace

class TreeWindowTest : public QObject
{
    Q_OBJECT

private:
    TreeDriver f;

    QString tree(int slot) const { return designLine(*f.state, u"MibTree"_s, slot); }
    // The attribute line of object `slot`.
    QString attribute(int slot) const { return designLine(*f.state, u"MibAttribute"_s, attributeOf(*f.state, slot)); }
    // The four counters, and a recount of the records in use where they differ.
    QString counters() const
    {
        const auto line = [](const DefinitionTables &t) {
            return u"%1 %2 %3 %4"_s.arg(t.MibTreeCount).arg(t.MibAttributeCount).arg(t.MibRangeCount).arg(t.MibListCount);
        };
        DefinitionTables recount = f.state->tables;
        rebuildCounters(recount, f.state->ObjectLimit);
        const QString stored = line(f.state->tables);
        return stored == line(recount) ? stored : stored + u" (recount "_s + line(recount) + u')';
    }

    // A placeholder added under the item `parentText` (the root when empty).
    void addPlaceholder(const QString &parentText = QString())
    {
        f.clickItem(parentText.isEmpty() ? f.root() : f.item(parentText));
        f.click("Command12");
    }

    // Every object in use has one item and every item but the root one
    // object in use.
    void verifyEveryObjectHasOneItem() const
    {
        QList<int> objects;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (f.state->tables.tree[slot].InUse == 1)
                objects.append(slot);
        }
        QList<int> shown;
        for (const QTreeWidgetItem *item : f.items().mid(1))
            shown.append(item->data(0, TreeItems::SlotRole).toInt());
        std::sort(shown.begin(), shown.end());
        QCOMPARE(shown, objects);
    }

    // Opens tests/data/tree/broken.mdf through the window's menu: a design
    // edited by hand into objects whose parent is gone (a free slot, a slot
    // beyond the tables, below -1, itself), parents in a cycle (a, b, c), two
    // objects named dup (the second with a child), an object without a name,
    // an unknown kind and a leaf without its attribute.
    void openBrokenDesign()
    {
        QVERIFY(f.show());
        QVERIFY(QFile::copy(dataFile("broken.mdf"), f.path(u"broken.mdf"_s)));
        f.services->answerFileDialog(*f.state, f.path(u"broken.mdf"_s));
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{u"変数に読み込みました。"_s});
        f.services->messages.clear();
        QCOMPARE(f.state->tables.MibTreeCount, 16);
    }

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
        QCOMPARE(f.get<QLabel>("OidLabel")->text(), u"1.3.6.1.4.1.1"_s);
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Captions, menus and limits as tests/data/tree/window.txt has them; an
    // empty design shows the green root alone and an empty panel. The bounds
    // with "～" between them, and "順位" with its box, read as one row each.
    void theWindowReadsAsDesigned()
    {
        QVERIFY(f.show());
        f.compareWithFile(dataFile("window.txt"));
        QCOMPARE(f.levelOrder(), QStringList{u"enterprise"_s});
        QCOMPARE(f.looks(u"enterprise"_s), u"enterprise green green"_s);
        QVERIFY(!f.root()->isExpanded());
        QCOMPARE(f.panel(), u"0|||||INTEGER|||read-only|"_s);
        QCOMPARE(enabledControls(), QStringList());
        const std::pair<const char *, const char *> neighbours[] = {
            {"Text9", "Label9"}, {"Label9", "Text10"}, {"Label1", "Text2"}};
        for (const auto &[left, right] : neighbours) {
            // A label's text ends where its size hint does, whatever room it is given.
            const QWidget *shown = f.get(left);
            const QRect l(shown->pos(), QSize(qMin(shown->width(), shown->sizeHint().width()), shown->height()));
            const QRect r = f.get(right)->geometry();
            const int gap = r.left() - l.right();
            QVERIFY2(qAbs(l.center().y() - r.center().y()) <= 3 && gap > 0 && gap <= 12, left);
        }
        QCOMPARE(f.view()->iconSize(), QSize(15, 15));
        QVERIFY(f.services->messages.isEmpty());
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
        f.tree()->buildTree();
        QCOMPARE(f.shown(), shown);
        QCOMPARE(f.panel(), u"0|portName|2|ポート名||INTEGER|||read-write|"_s);
        f.window->close();
        QTRY_VERIFY(!f.window);
        QVERIFY(f.show());
        QCOMPARE(f.state->ShownItemIndex, 8);
        QCOMPARE(f.state->EditTarget, 6);
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

    // Typing into a full description drops what is typed, not its end.
    void aFullDescriptionKeepsItsEnd()
    {
        showLeaf();
        auto *box = f.get<LimitedTextEdit>("Text7");
        box->setText(QString(255, u'x') + u"cut"_s);
        QCOMPARE(box->text(), QString(255, u'x'));
        box->moveCursor(QTextCursor::Start);
        QTest::keyClicks(box, u"ab"_s);
        QCOMPARE(box->text(), QString(255, u'x'));
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
        QCOMPARE(f.entries("Combo6"), (QStringList{u"up"_s, u"max"_s, u"u"_s, u"MAX"_s, QString()}));
        QVERIFY(f.state->EnumValues == (std::array<int16_t, SlotCount>{1, 1000, 2, 3}));
        // Choosing an entry shows its value.
        f.combo("Combo6")->setCurrentIndex(0);
        QCOMPARE(f.text("Text8"), u"1"_s);
        // ﾘｽﾄから削除 takes the chosen entry out.
        f.click("Command2");
        QCOMPARE(f.entries("Combo6"), (QStringList{u"max"_s, u"u"_s, u"MAX"_s, QString()}));
    }

    void commandsWithoutAnObjectAreRefused()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        // Nothing shown yet, then the root shown.
        f.click("Command12");
        f.click("Command11");
        f.click("Command4");
        f.clickItem(f.root());
        f.click("Command11");
        f.click("Command4");
        QCOMPARE(f.services->texts(),
                 (QStringList{SelectFromList, SelectFromList, SelectFromTree, SelectFromList, SelectFromTree}));
        QCOMPARE(f.services->unansweredQuestions, 0);
        QCOMPARE(designFileImage(*f.state), f.before);
    }

    void thePlaceholderIsAddedNamedAndAddedAgain()
    {
        QVERIFY(f.show());
        addPlaceholder();
        QCOMPARE(f.levelOrder(), QStringList({u"enterprise"_s, Placeholder}));
        QVERIFY(f.item(Placeholder)->isSelected());
        QCOMPARE(tree(0), u"新たなオブジェクト,9,0,-1,1,1"_s);
        QCOMPARE(f.shown(), u"2 0 enterprise.新たなオブジェクト"_s);

        // A second one waits until the first has a name.
        addPlaceholder();
        QCOMPARE(f.services->texts(), QStringList{u"「新たなオブジェクト」は既に追加されています。"_s});
        QCOMPARE(counters(), u"1 0 0 0"_s);
        f.clickText(Placeholder);
        f.apply(0, u"system"_s, u"1"_s);
        QCOMPARE(f.services->lastMessage().text, Changed);
        QCOMPARE(f.services->lastMessage().caption, u"Korvel"_s);
        QCOMPARE(tree(0), u"system,6,1,-1,1,1"_s);

        // Now a node under the node, which becomes a leaf.
        addPlaceholder(u"system(1)"_s);
        QCOMPARE(f.levelOrder(), QStringList({u"enterprise"_s, u"system(1)"_s, Placeholder}));
        QVERIFY(f.item(u"system(1)"_s)->isExpanded());
        QCOMPARE(tree(1), u"新たなオブジェクト,9,0,0,1,1"_s);
        f.combo("Combo1")->setCurrentIndex(1);
        f.textArea("Text7")->setPlainText(u"Up time"_s);
        f.combo("Combo7")->setCurrentIndex(6);
        f.apply(2, u"sysUpTime"_s, u"3"_s);
        QCOMPARE(f.looks(u"sysUpTime(3)"_s), u"sysUpTime orange orange2"_s);
        QCOMPARE(tree(1), u"sysUpTime,9,3,0,4,1"_s);
        QCOMPARE(attribute(1), u"1,67,0,2,Up time,7,0,1"_s);
        QCOMPARE(counters(), u"2 1 0 0"_s);
    }

    void deletingRemovesTheSubtreeAndShowsTheParent()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString question = u"このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"_s;
        // An entry is refused after the question; No keeps the table.
        f.clickText(u"portEntry(1)"_s);
        f.remove();
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        f.clickText(u"portTable(2)"_s);
        f.remove(MessageButton::No);
        QCOMPARE(f.services->texts(),
                 (QStringList{question, u"エントリは削除できません。テーブルから指定してください。"_s, question}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Question);
        QCOMPARE(designFileImage(*f.state), f.before);

        // A table goes with its entry and columns; the root is shown.
        const int range = rangeOf(*f.state, 5);
        f.remove();
        QCOMPARE(f.services->messages.size(), 4);
        QCOMPARE(f.levelOrder(), words(u"enterprise sysInfo(1) sysTemperature(1) sysMode(2)"_s));
        QCOMPARE(counters(), u"3 2 1 3"_s);
        QCOMPARE(designLine(*f.state, u"MibRange"_s, range), Freed);
        QVERIFY(f.root()->isSelected());
        QCOMPARE(f.shown(), u"1 3 enterprise"_s);

        // A node made a leaf still takes its children along: no object is
        // left whose parent is gone.
        f.clickText(u"sysInfo(1)"_s);
        f.apply(2, u"sysInfo"_s, u"1"_s);
        QCOMPARE(tree(0), u"sysInfo,7,1,-1,4,1"_s);
        f.remove();
        QCOMPARE(counters(), u"0 0 0 0"_s);
        QCOMPARE(f.levelOrder(), QStringList{u"enterprise"_s});
    }

    void aHandEditedDesignShowsEveryObjectOnce()
    {
        openBrokenDesign();
        // What the walk from the root cannot place hangs under the root after
        // the rest, lowest slot first: a cycle by its lowest slot, the second
        // dup with its child, the nameless object away from its parent.
        QCOMPARE(f.levelOrder(), words(u"enterprise top(1) dup(7) holder(8) lost(11) orphan(2) far(3) under(4) "
                                       u"self(5) a(6) dup(9) (10) odd(2) noattr(1) b(1) child(1) c(1)"_s));
        verifyEveryObjectHasOneItem();
        QCOMPARE(f.looks(u"odd(2)"_s), u"odd orange orange2"_s);
        // Each item shows its own object.
        for (QTreeWidgetItem *item : f.items().mid(1)) {
            f.clickItem(item);
            const int object = item->data(0, TreeItems::SlotRole).toInt();
            QCOMPARE(f.state->EditTarget, object);
            QCOMPARE(f.text("Text5"), displayedName(*f.state, object));
            QCOMPARE(f.text("Text1").section(u'.', -1), item->text(0));
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void aThousandLevelsDeepAreShownAndDeleted()
    {
        placeObject(*f.state, 0, u"n0"_s, 1, RootSlot);
        for (int slot = 1; slot < StoredSlotCount; ++slot)
            placeObject(*f.state, slot, u"n%1"_s.arg(slot), 1, slot - 1);
        QVERIFY(f.show());
        QCOMPARE(f.items().size(), 1001);
        verifyEveryObjectHasOneItem();
        // Too deep to click: chosen as the keyboard would.
        f.view()->setCurrentItem(f.item(u"n999(1)"_s));
        QVERIFY(f.shown().startsWith(u"1001 999 enterprise.n0(1).n1(1)."_s));
        QVERIFY(f.shown().endsWith(u".n998(1).n999(1)"_s));
        f.clickText(u"n0(1)"_s);
        f.remove();
        QCOMPARE(f.state->tables.MibTreeCount, 0);
        QCOMPARE(f.items().size(), 1);
    }
};

QTEST_MAIN(TreeWindowTest)
#include "test_treewindow.moc"
