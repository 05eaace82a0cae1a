// The Tree window: captions and limits, the items built from the tables, the
// panel a click fills with its enabled states and item controls, and 追加,
// 設定 and 削除 reaching the tables, also on designs edited by hand.
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
#include <QRadioButton>
#include <QTextCursor>
#include <QTreeWidget>

#include <QSet>

using namespace korvel;
using namespace korvel::testing;
using namespace Qt::StringLiterals;

namespace {

const QString Placeholder = u"新たなオブジェクト"_s;

// The controls whose enabled state depends on the kind option and the ticks.
const QStringList Dependent = u"DescriptionFrame Text7 Label5 Text3 TypeFrame Combo7 Check4 Text9 Label9 Text10 "
                              u"Check3 Label8 Combo6 Label4 Text8 Command3 Command2 Label3 Combo1 Check1 Label1 "
                              u"Text2"_s.split(u' ');

class TreeDriver : public GuiDriver
{
public:
    TreeWindow *show()
    {
        before = designFileImage(*state);
        return GuiDriver::show(new TreeWindow(*state, *services));
    }

    QTreeWidget *view() const { return get<QTreeWidget>("TreeView1"); }
    QTreeWidgetItem *root() const { return view()->topLevelItem(0); }
    QTreeWidgetItem *item(const QString &text) const
    {
        return view()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
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
    QString levelOrder() const
    {
        QStringList texts;
        for (const QTreeWidgetItem *next : items())
            texts.append(next->text(0));
        return texts.join(u' ');
    }

    // Every object in use has one item and every item but the root one object.
    void verifyEveryObjectHasOneItem() const
    {
        QSet<int> shown;
        for (const QTreeWidgetItem *next : items().mid(1)) {
            const int slot = next->data(0, TreeItems::SlotRole).toInt();
            shown.insert(state->tables.tree.at(slot).InUse == 1 ? slot : -1);
        }
        QCOMPARE(shown.size() + 1, items().size());
        QVERIFY(!shown.contains(-1) && shown.size() == state->tables.MibTreeCount);
    }

    // ShownItemIndex, EditTarget and the path box.
    QString shown() const { return u"%1 %2 %3"_s.arg(state->ShownItemIndex).arg(state->EditTarget).arg(text("Text1")); }

    QString image(const QString &text) const { return item(text)->data(0, TreeItems::ImageRole).toString(); }

    // A click on `target`, its ancestors expanded first so it can be seen.
    void clickItem(QTreeWidgetItem *target) const
    {
        QVERIFY(target);
        for (QTreeWidgetItem *above = target->parent(); above; above = above->parent())
            above->setExpanded(true);
        view()->scrollToItem(target);
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, view()->visualItemRect(target).center());
    }
    void clickText(const QString &text) const { clickItem(item(text)); }

    QRadioButton *option(int index) const { return get<QRadioButton>(qPrintable(u"Option1_%1"_s.arg(index))); }
    bool ticked(const char *name) const { return get<QCheckBox>(name)->isChecked(); }

    // Chooses kind `option`, fills name and object ID and applies.
    void apply(int option, const QString &name, const QString &objectId) const
    {
        this->option(option)->click();
        type("Text5", name);
        type("Text4", objectId);
        click("Command4");
    }

    void remove(MessageButton answer = MessageButton::Yes) const { services->queueAnswer(answer); click("Command11"); }

    // The panel as one line: kind option (0 ツリー, 1 テーブル, 2 オブジェクト),
    // name, object ID, description, entry description, syntax, range, items,
    // access and key position; a box's values only while it is ticked.
    QString panel() const
    {
        int chosen = 0;
        while (chosen < 3 && !option(chosen)->isChecked())
            ++chosen;
        return QStringList{QString::number(chosen), text("Text5"), text("Text4"), text("Text7"), text("Text3"),
                           text("Combo7"), ticked("Check4") ? text("Text9") + u".."_s + text("Text10") : QString(),
                           ticked("Check3") ? entries("Combo6").join(u',') : QString(), text("Combo1"),
                           ticked("Check1") ? text("Text2") : QString()}
            .join(u'|');
    }

    // Types item `name` into the item list, clicks into the value box, types
    // the value and clicks ﾘｽﾄへ追加.
    void addItem(const QString &name, const QString &value) const
    {
        QLineEdit *itemName = get<QComboBox>("Combo6")->lineEdit();
        QTest::mouseClick(itemName, Qt::LeftButton);
        QTest::keyClick(itemName, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(itemName, name);
        QTest::mouseClick(get("Text8"), Qt::LeftButton);
        type("Text8", value);
        click("Command3");
    }

    // Line `slot` of section `tag` of the design's file image.
    QString line(const QString &tag, int slot) const
    {
        const QStringList lines = cp932::decode(designFileImage(*state)).split(u"\r\n"_s);
        return lines.value(lines.indexOf(u'<' + tag + u'>') + 1 + slot);
    }
    QByteArray before;
};

} // namespace

class TreeWindowTest : public QObject
{
    Q_OBJECT

private:
    TreeDriver f;

    // A plain INTEGER leaf shown in the panel.
    void showLeaf()
    {
        addLeaf(*f.state, {.name = u"leaf"_s});
        QVERIFY(f.show());
        f.clickText(u"leaf(1)"_s);
        QCOMPARE(f.get<QLabel>("OidLabel")->text(), u"1.3.6.1.4.1.1"_s);
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // Captions, menus, limits and tab order as tests/data/tree/window.txt has
    // them; the bounds with "～" between them, and "順位" with its box, read
    // as one row each.
    void theWindowReadsAsDesigned()
    {
        QVERIFY(f.show());
        f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/tree/window.txt"));
        QCOMPARE(f.levelOrder(), u"enterprise"_s);
        QCOMPARE(f.panel(), u"0|||||INTEGER|||read-only|"_s);
        for (const auto &[left, right] : {std::pair{"Text9", "Label9"}, {"Label9", "Text10"}, {"Label1", "Text2"}}) {
            // A label's text ends where its size hint does.
            const QWidget *shown = f.get(left);
            const QRect l(shown->pos(), QSize(qMin(shown->width(), shown->sizeHint().width()), shown->height()));
            const QRect r = f.get(right)->geometry();
            const int gap = r.left() - l.right();
            QVERIFY2(qAbs(l.center().y() - r.center().y()) <= 3 && gap > 0 && gap <= 12, left);
        }
    }

    // Siblings follow their slots, not their object IDs; a child in a lower
    // slot than its parent's sibling still comes after the whole level above.
    void itemsFollowTheSlotsLevelByLevel()
    {
        buildSampleDesign(*f.state);
        writeObject(f.state->tables, 20, u"late"_s, 1, RootSlot, ObjectKind::Node);
        writeObject(f.state->tables, 15, u"early"_s, 1, 20, ObjectKind::Node);
        addTable(*f.state, u"T"_s, 4);
        QVERIFY(f.show());
        QCOMPARE(f.levelOrder(), u"enterprise sysInfo(1) portTable(2) TTable(4) late(1) sysTemperature(1) sysMode(2) "
                                 u"portEntry(1) TEntry(1) early(1) portIndex(1) portName(2) portStatus(3)"_s);
        QCOMPARE(f.image(u"sysInfo(1)"_s) + f.image(u"sysMode(2)"_s) + f.image(u"TEntry(1)"_s), u"greenorangeblue"_s);
        QCOMPARE(f.item(u"TEntry(1)"_s)->data(0, TreeItems::SelectedImageRole), u"blue2"_s);
        f.clickText(u"portEntry(1)"_s);
        QCOMPARE(f.shown(), u"8 4 enterprise.portTable(2).portEntry(1)"_s);
    }

    void theShownObjectFillsThePanel()
    {
        buildSampleDesign(*f.state);
        MibAttribute &entry = f.state->tables.attribute[attributeOf(*f.state, 4)];
        entry.Description = u"Rows"_s.leftJustified(NameWidth);
        entry.DescriptionLength = 4;
        QVERIFY(f.show());
        // The syntax list keeps its position over objects that have none.
        f.get<QComboBox>("Combo7")->setCurrentIndex(3);
        const std::pair<QString, QString> rows[] = {
            {u"sysInfo(1)"_s, u"0|sysInfo|1|||IpAddress|||read-only|"_s},
            {u"sysTemperature(1)"_s, u"2|sysTemperature|1|Board temperature||INTEGER|-40..125||read-only|"_s},
            {u"sysMode(2)"_s, u"2|sysMode|2|Operating mode||INTEGER||normal,standby,off,|read-write|"_s},
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
    }

    // A design file may hold more than a person may type into the boxes.
    void valuesFromTheTablesAreShownWhole()
    {
        addLeaf(*f.state, {.name = u"wide"_s, .objectId = -2147483647 - 1, .keyOrder = 12345,
                           .minimum = u"000000000001"_s, .maximum = u"4294967295"_s});
        QVERIFY(f.show());
        f.clickText(u"wide(-2147483648)"_s);
        QCOMPARE(f.panel(), u"2|wide|-2147483648|||INTEGER|000000000001..4294967295||read-only|12345"_s);
        // 設定 answers for what is shown instead of storing a cut value.
        f.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{u"オブジェクトIDは数値を入力してください。"_s});
        QCOMPARE(designFileImage(*f.state), f.before);
        // Another object gives the boxes back their limits.
        f.clickItem(f.root());
        QCOMPARE(f.get<QLineEdit>("Text4")->maxLength(), 10);
    }

    // Typing into a full description drops what is typed, not its end.
    void aFullDescriptionKeepsItsEnd()
    {
        showLeaf();
        auto *box = f.get<LimitedTextEdit>("Text7");
        box->setText(QString(255, u'x') + u"cut"_s);
        box->moveCursor(QTextCursor::Start);
        QTest::keyClicks(box, u"ab"_s);
        QCOMPARE(box->text(), QString(255, u'x'));
    }

    void enabledStatesFollowTheOptionAndTheTicks()
    {
        const QString table = u"DescriptionFrame Text7 Label5 Text3"_s;
        const QString leaf = u"DescriptionFrame Text7 TypeFrame Combo7 Check4"_s;
        const QString access = u" Label3 Combo1 Check1"_s;
        struct Row {
            int option, syntax;
            QStringList ticks;
            QString enabled;
        };
        const Row rows[] = {
            {0, 0, {}, {}},
            {1, 0, {}, table},
            {2, 0, {u"Check4"_s}, leaf + u" Text9 Label9 Text10 Check3"_s + access},
            {2, 0, {u"Check3"_s}, leaf + u" Check3 Label8 Combo6 Label4 Text8 Command3 Command2"_s + access},
            {2, 0, {u"Check1"_s}, leaf + u" Check3"_s + access + u" Label1 Text2"_s},
            {2, 1, {u"Check3"_s}, leaf + access},
            // Ticks left from the leaf's options count for nothing under the others.
            {1, 0, {u"Check3"_s, u"Check1"_s}, table}};
        showLeaf();
        for (const Row &row : rows) {
            f.clickText(u"leaf(1)"_s);
            for (const QString &box : row.ticks)
                f.click(qPrintable(box));
            f.get<QComboBox>("Combo7")->setCurrentIndex(row.syntax);
            f.option(row.option)->click();
            QStringList expected, enabled;
            for (const QString &name : Dependent) {
                if (row.enabled.split(u' ').contains(name))
                    expected.append(name);
                if (f.get(qPrintable(name))->isEnabled())
                    enabled.append(name);
            }
            const QString label = u"%1 %2 %3: "_s.arg(row.option).arg(row.syntax).arg(row.ticks.join(u','));
            QCOMPARE(label + enabled.join(u' '), label + expected.join(u' '));
        }
        QVERIFY(f.services->messages.isEmpty());
    }

    void theItemControlsCheckAndFillTheList()
    {
        showLeaf();
        f.click("Check3");
        f.addItem(u"a"_s, u"1001"_s);
        QCOMPARE(f.services->texts(), QStringList{u"項目値は最大1000までです。"_s});
        QCOMPARE(f.services->lastMessage().caption, u"注意メッセージ"_s);
        f.services->messages.clear();
        // Names are taken as typed: "u" is not completed to "up", "MAX" stays.
        for (const auto &[name, value] : {std::pair{u"up"_s, u"1"_s}, {u"max"_s, u"1000"_s}, {u"u"_s, u"2"_s},
                                          {u"MAX"_s, u"3"_s}})
            f.addItem(name, value);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.entries("Combo6").join(u','), u"up,max,u,MAX,"_s);
        QVERIFY(f.state->EnumValues == (std::array<int16_t, SlotCount>{1, 1000, 2, 3}));
        f.choose("Combo6", u"up"_s);
        QCOMPARE(f.text("Text8"), u"1"_s);
        f.click("Command2");
        QCOMPARE(f.entries("Combo6").join(u','), u"max,u,MAX,"_s);
    }

    // Nothing shown yet, then the root shown.
    void commandsWithoutAnObjectAreRefused()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString list = u"リストからオブジェクトを選択してください。"_s;
        const QString tree = u"ツリーからオブジェクトを選択してください。"_s;
        for (const char *button : {"Command12", "Command11", "Command4"})
            f.click(button);
        f.clickItem(f.root());
        f.click("Command11");
        f.click("Command4");
        QCOMPARE(f.services->texts(), (QStringList{list, list, tree, list, tree}));
        QCOMPARE(designFileImage(*f.state), f.before);
    }

    void thePlaceholderIsAddedNamedAndAddedAgain()
    {
        QVERIFY(f.show());
        f.clickItem(f.root());
        f.click("Command12");
        QCOMPARE(f.levelOrder(), u"enterprise "_s + Placeholder);
        QVERIFY(f.item(Placeholder)->isSelected());
        QCOMPARE(f.shown(), u"2 0 enterprise.新たなオブジェクト"_s);
        // A second one waits until the first has a name.
        f.clickItem(f.root());
        f.click("Command12");
        QCOMPARE(f.services->texts(), QStringList{u"「新たなオブジェクト」は既に追加されています。"_s});
        f.clickText(Placeholder);
        f.apply(0, u"system"_s, u"1"_s);
        QCOMPARE(f.services->lastMessage().text, u"オブジェクトを変更しました。"_s);
        QCOMPARE(f.line(u"MibTree"_s, 0), u"system,6,1,-1,1,1"_s);

        // A node under the node, made a leaf.
        f.clickText(u"system(1)"_s);
        f.click("Command12");
        QVERIFY(f.item(u"system(1)"_s)->isExpanded());
        f.option(2)->click();
        f.choose("Combo1", u"read-write"_s);
        f.type("Text7", u"Up time"_s);
        f.choose("Combo7", u"TimeTicks"_s);
        f.apply(2, u"sysUpTime"_s, u"3"_s);
        QCOMPARE(f.image(u"sysUpTime(3)"_s), u"orange"_s);
        QCOMPARE(f.line(u"MibTree"_s, 1), u"sysUpTime,9,3,0,4,1"_s);
        QCOMPARE(f.line(u"MibAttribute"_s, 0), u"1,67,0,2,Up time,7,0,1"_s);
    }

    void deletingAsksAndRemovesTheSubtree()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString question = u"このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"_s;
        // An entry is refused after the question; No keeps the table.
        f.clickText(u"portEntry(1)"_s);
        f.remove();
        f.clickText(u"portTable(2)"_s);
        f.remove(MessageButton::No);
        QCOMPARE(f.services->texts(),
                 (QStringList{question, u"エントリは削除できません。テーブルから指定してください。"_s, question}));
        QCOMPARE(designFileImage(*f.state), f.before);
        // A table goes with its entry and columns, its range record emptied;
        // the root is shown.
        const int range = rangeOf(*f.state, 5);
        f.remove();
        QCOMPARE(f.line(u"MibRange"_s, range), u"0,,,0,0,0"_s);
        QCOMPARE(f.levelOrder(), u"enterprise sysInfo(1) sysTemperature(1) sysMode(2)"_s);
        QVERIFY(f.root()->isSelected());
        QCOMPARE(f.shown(), u"1 3 enterprise"_s);
    }

    // tests/data/tree/broken.mdf, opened through the menu: parents that are
    // gone (a free slot, beyond the tables, below -1, itself), a cycle (a, b,
    // c), two objects named dup (the second with a child), a nameless object,
    // an unknown kind and a leaf without its attribute. What the walk from
    // the root cannot place hangs under the root after the rest.
    void aHandEditedDesignShowsEveryObjectOnce()
    {
        QVERIFY(f.show());
        f.services->answerFileDialog(*f.state, QStringLiteral(KORVEL_TEST_DATA "/tree/broken.mdf"));
        f.trigger("TREE_OPEN");
        QCOMPARE(f.services->texts(), QStringList{u"変数に読み込みました。"_s});
        QCOMPARE(f.levelOrder(), u"enterprise top(1) dup(7) holder(8) lost(11) orphan(2) far(3) under(4) self(5) a(6) "
                                 u"dup(9) (10) odd(2) noattr(1) b(1) child(1) c(1)"_s);
        f.verifyEveryObjectHasOneItem();
        QCOMPARE(f.image(u"odd(2)"_s), u"orange"_s);
        for (QTreeWidgetItem *item : f.items().mid(1)) {
            f.clickItem(item);
            const int object = item->data(0, TreeItems::SlotRole).toInt();
            QCOMPARE(f.state->EditTarget, object);
            QCOMPARE(f.text("Text5"), displayedName(*f.state, object));
            QCOMPARE(f.text("Text1").section(u'.', -1), item->text(0));
        }
        QCOMPARE(f.services->messages.size(), 1);
    }

    void aThousandLevelsDeepAreShown()
    {
        for (int slot = 0; slot < StoredSlotCount; ++slot)
            writeObject(f.state->tables, slot, u"n%1"_s.arg(slot), 1, slot - 1, ObjectKind::Node);
        QVERIFY(f.show());
        f.verifyEveryObjectHasOneItem();
        // Too deep to click: chosen as the keyboard would.
        f.view()->setCurrentItem(f.item(u"n999(1)"_s));
        QVERIFY(f.shown().startsWith(u"1001 999 enterprise.n0(1).n1(1)."_s));
        QVERIFY(f.shown().endsWith(u".n998(1).n999(1)"_s));
    }
};

QTEST_MAIN(TreeWindowTest)
#include "test_treewindow.moc"
