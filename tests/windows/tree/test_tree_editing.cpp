// The Tree window's editing: 追加 and the placeholder's life, 設定 with its
// checks and kind rules, 削除 with its cascade, every refusal leaving the
// tables as they were (full tables included), and hand-edited designs the
// tree cannot build from the root. Records are compared as their design file
// lines, which name every field at once.
#include "sampledesign.h"
#include "tableops.h"
#include "treefixture.h"

#include <algorithm>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Placeholder = u"新たなオブジェクト"_s;
const QString Changed = u"オブジェクトを変更しました。"_s;
const QString SelectFromList = u"リストからオブジェクトを選択してください。"_s;
const QString SelectFromTree = u"ツリーからオブジェクトを選択してください。"_s;
const QString NotUnder = u"このオブジェクトの下に新たなオブジェクトは追加できません。"_s;
const QString Freed = u"0,,,0,0,0"_s;

// Marks every slot of `table` in use from `from` on, owned by no object, so
// that only the slots below `from` stay free.
template <typename Record>
void fillFrom(std::array<Record, SlotCount> &table, int from)
{
    for (int slot = from; slot < StoredSlotCount; ++slot) {
        table[slot].InUse = 1;
        table[slot].Owner = SlotCount;
    }
}

template <>
void fillFrom(std::array<MibTree, SlotCount> &table, int from)
{
    for (int slot = from; slot < StoredSlotCount; ++slot) {
        table[slot].InUse = 1;
        table[slot].Name = u"f%1"_s.arg(slot);
        table[slot].NameLength = static_cast<int32_t>(table[slot].Name.size());
        table[slot].ObjectId = slot == from ? 255 : 1;
        table[slot].Parent = slot == from ? RootSlot : from;
        table[slot].Kind = ObjectKind::Node;
    }
}

} // namespace

class TreeEditingTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;

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

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

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

    void thePlaceholderBecomesATableWithItsEntry()
    {
        addNode(*f.state, u"top"_s, 1);
        QVERIFY(f.show());
        addPlaceholder();
        f.textArea("Text7")->setPlainText(u"Foo rows"_s);
        f.textArea("Text3")->setPlainText(u"One foo"_s);
        f.apply(1, u"fooX"_s, u"2"_s);
        // The records are the model's (ChangeFromPanel); here the panel's
        // two description boxes reach them.
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(attribute(2), u"2,0,0,3,One foo,7,0,1"_s);
        QCOMPARE(counters(), u"3 2 0 0"_s);
        QCOMPARE(f.levelOrder(), words(u"enterprise top(1) fooXTable(2) fooXEntry(1)"_s));
        QCOMPARE(f.looks(u"fooXTable(2)"_s), u"fooXTable blue blue2"_s);

        // Under the table nothing; under its entry a column.
        f.clickText(u"fooXTable(2)"_s);
        f.click("Command12");
        QCOMPARE(f.services->lastMessage().text, NotUnder);
        addPlaceholder(u"fooXEntry(1)"_s);
        QCOMPARE(f.levelOrder().last(), Placeholder);
        QCOMPARE(f.item(Placeholder)->parent(), f.item(u"fooXEntry(1)"_s));
        QCOMPARE(tree(3), u"新たなオブジェクト,9,0,2,4,1"_s);
        QCOMPARE(attribute(3), u"3,0,0,1,,0,0,1"_s);
    }

    void applyAnswersEveryFieldAndKindRule()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QString keepsKind = u"テーブルのタイプは変更できません。"_s;
        const QString notToTable = u"テーブルのタイプへは変更できません。"_s;
        // item|option|name|object ID|range|key position, a box ticked when
        // its field is not empty. The refusals change nothing, so the rows
        // run one after the other; the two that apply come last. The checks
        // and kind rules are the model's own tests; here a few show through.
        const QList<QPair<QString, QString>> rows{
            {u"sysTemperature(1)|2|n|0||"_s, u"オブジェクトIDは1～2147483647です。"_s},
            {u"portTable(2)|0|portTable|2||"_s, keepsKind},
            {u"sysInfo(1)|1|sysInfo|1||"_s, notToTable},
            {u"sysTemperature(1)|2|n|7|0..4294967295|1000"_s, Changed},
            {u"n(7)|2|n|3||"_s, Changed}};
        for (const auto &[input, message] : rows) {
            const QStringList field = input.split(u'|');
            f.services->messages.clear();
            f.clickText(field[0]);
            f.check("Check4")->setChecked(!field[4].isEmpty());
            f.type("Text9", field[4].section(u".."_s, 0, 0));
            f.type("Text10", field[4].section(u".."_s, 1, 1));
            f.check("Check1")->setChecked(!field[5].isEmpty());
            f.type("Text2", field[5]);
            f.apply(field[1].toInt(), field[2], field[3]);
            // The row goes into both sides, so that a failure names it.
            QCOMPARE(input + u": "_s + f.services->texts().join(u'/'), input + u": "_s + message);
            if (message != Changed) {
                f.verifyRefused(message);
                QVERIFY(f.item(field[0]));
            }
        }
        QVERIFY(f.item(u"n(3)"_s));
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

    void addFindsItsSlotsBeforeWriting()
    {
        // A leaf needs a free attribute slot as well.
        const int table = addTable(*f.state, u"t"_s, 1);
        fillFrom(f.state->tables.attribute, 2);
        rebuildCounters(f.state->tables, f.state->ObjectLimit);
        QVERIFY(f.show());
        addPlaceholder(u"tEntry(1)"_s);
        f.verifyRefused(u"これ以上登録できません。"_s, MessageKind::Notice);
        QVERIFY(!f.item(Placeholder));
        QCOMPARE(f.state->EditTarget, entryOf(*f.state, table));

        // A full tree table takes no placeholder at all.
        fillFrom(f.state->tables.tree, 2);
        rebuildCounters(f.state->tables, f.state->ObjectLimit);
        f.window->BuildTree();
        f.services->messages.clear();
        f.before = designFileImage(*f.state);
        addPlaceholder();
        f.verifyRefused(u"これ以上登録できません。"_s, MessageKind::Notice);
        QCOMPARE(f.state->tables.MibTreeCount, 1000);
        QCOMPARE(f.state->tables.tree[1000].InUse, 0);
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

    void aHandEditedDesignIsMendedObjectByObject()
    {
        openBrokenDesign();
        // 設定 on the second dup renames the second; the name must not clash.
        f.clickText(u"dup(9)"_s);
        QCOMPARE(f.state->EditTarget, 10);
        f.click("Command4");
        f.type("Text5", u"dup2"_s);
        f.click("Command4");
        QCOMPARE(f.services->texts(), (QStringList{u"オブジェクト名が重複しています。"_s, Changed}));
        QCOMPARE(tree(8), u"dup,3,7,-1,1,1"_s);
        QCOMPARE(tree(10), u"dup2,4,9,9,1,1"_s);

        // 削除 in the cycle takes all of it and ends; its parent item went
        // too, so the root is shown.
        f.clickText(u"b(1)"_s);
        QCOMPARE(f.shown(), u"13 6 enterprise.a(6).b(1)"_s);
        f.remove();
        QCOMPARE(f.state->tables.MibTreeCount, 13);
        QVERIFY(f.root()->isSelected());
        QCOMPARE(f.shown(), u"1 6 enterprise"_s);
        // 削除 of the second dup takes its own child, not the first's.
        f.clickText(u"dup2(9)"_s);
        f.remove();
        QCOMPARE(f.state->tables.MibTreeCount, 11);
        QCOMPARE(f.state->tables.tree[8].InUse, 1);
        // A leaf without its attribute stops the delete with the error.
        f.clickText(u"lost(11)"_s);
        f.remove();
        QCOMPARE(f.services->lastMessage().text, u"削除に失敗しました"_s);
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.state->tables.MibTreeCount, 11);
        QVERIFY(f.item(u"noattr(1)"_s));
        verifyEveryObjectHasOneItem();
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

QTEST_MAIN(TreeEditingTest)
#include "test_tree_editing.moc"
