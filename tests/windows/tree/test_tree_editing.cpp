// The Tree window's editing: 追加 and the placeholder's life, 設定 with its
// checks and kind rules, 削除 with its cascade, and every refusal leaving the
// tables as they were, full tables included.
#include "designfile.h"
#include "sampledesign.h"
#include "tableops.h"
#include "treefixture.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Placeholder = QStringLiteral("新たなオブジェクト");
const QString Changed = QStringLiteral("オブジェクトを変更しました。");
const QString SelectFromList = QStringLiteral("リストからオブジェクトを選択してください。");
const QString NoRoom = QStringLiteral("これ以上登録できません");

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
        table[slot].Name = QStringLiteral("f%1").arg(slot);
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

    // Fills the panel's name and object ID, chooses `option` and applies.
    void apply(int option, const QString &name, const QString &objectId)
    {
        f.option(option)->click();
        f.type("Text5", name);
        f.type("Text4", objectId);
        f.click("Command4");
    }

    // A placeholder added under the item `parentText` (the root when empty).
    void addPlaceholder(const QString &parentText = QString())
    {
        f.clickItem(parentText.isEmpty() ? f.root() : f.item(parentText));
        f.click("Command12");
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void commandsBeforeAnyItemWasShownAskForOne()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.click("Command12");
        f.click("Command11");
        QCOMPARE(f.services->texts(), (QStringList{SelectFromList, SelectFromList}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        // 削除 with the root shown last asks for an object too.
        f.clickItem(f.root());
        f.click("Command11");
        QCOMPARE(f.services->texts().size(), 3);
        QCOMPARE(f.services->lastMessage().text, SelectFromList);
        QCOMPARE(f.services->unansweredQuestions, 0);
        QCOMPARE(designFileImage(*f.state), before);
    }

    void thePlaceholderIsAddedNamedAndAddedAgain()
    {
        QVERIFY(f.show());
        addPlaceholder();
        QTreeWidgetItem *added = f.item(Placeholder);
        QVERIFY(added);
        QCOMPARE(added->parent(), f.root());
        QCOMPARE(added->data(0, TreeItems::KeyRole).toString(), Placeholder);
        QCOMPARE(added->data(0, TreeItems::ImageRole).toString(), QStringLiteral("green"));
        QVERIFY(added->isSelected());
        QVERIFY(f.view()->hasFocus());
        const MibTree &record = f.state->tables.tree[0];
        QCOMPARE(displayedName(*f.state, 0), Placeholder);
        QCOMPARE(record.NameLength, 9);
        QCOMPARE(record.ObjectId, 0);
        QCOMPARE(record.Parent, RootSlot);
        QCOMPARE(record.Kind, ObjectKind::Node);
        QCOMPARE(f.state->tables.MibTreeCount, 1);
        QCOMPARE(f.state->tables.MibAttributeCount, 0);
        // The panel shows it at once.
        QCOMPARE(f.state->ShownItemIndex, 2);
        QCOMPARE(f.state->EditTarget, 0);
        QCOMPARE(f.text("Text5"), Placeholder);
        QCOMPARE(f.text("Text4"), QStringLiteral("0"));
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.") + Placeholder);
        QCOMPARE(f.chosenOption(), 0);

        // A second one waits until the first has a name.
        f.clickItem(f.root());
        f.click("Command12");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("「新たなオブジェクト」は既に追加されています。")});
        QCOMPARE(f.state->tables.MibTreeCount, 1);

        f.clickItem(added);
        apply(0, QStringLiteral("system"), QStringLiteral("1"));
        QCOMPARE(f.services->lastMessage().text, Changed);
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("Korvel"));
        QCOMPARE(added->text(0), QStringLiteral("system(1)"));
        QCOMPARE(added->data(0, TreeItems::KeyRole).toString(), QStringLiteral("system"));

        // Now a node under the node, which becomes a leaf.
        addPlaceholder(QStringLiteral("system(1)"));
        QTreeWidgetItem *below = f.item(Placeholder);
        QVERIFY(below);
        QCOMPARE(below->parent(), added);
        QVERIFY(added->isExpanded());
        QCOMPARE(f.state->tables.tree[1].Parent, 0);
        QCOMPARE(f.state->tables.tree[1].Kind, ObjectKind::Node);
        f.combo("Combo1")->setCurrentIndex(1);
        f.textArea("Text7")->setPlainText(QStringLiteral("Up time"));
        f.combo("Combo7")->setCurrentIndex(6);
        apply(2, QStringLiteral("sysUpTime"), QStringLiteral("3"));
        QCOMPARE(f.services->lastMessage().text, Changed);
        QCOMPARE(below->text(0), QStringLiteral("sysUpTime(3)"));
        QCOMPARE(below->data(0, TreeItems::ImageRole).toString(), QStringLiteral("orange"));
        QCOMPARE(f.state->tables.tree[1].Kind, ObjectKind::Leaf);
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 1)];
        QCOMPARE(attribute.Access, Access::ReadWrite);
        QCOMPARE(attribute.Syntax, Syntax::TimeTicks);
        QCOMPARE(displayedText(attribute.Description, attribute.DescriptionLength), QStringLiteral("Up time"));
        QCOMPARE(f.state->tables.MibAttributeCount, 1);

        // Nothing goes under a leaf.
        f.clickItem(below);
        f.click("Command12");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("このオブジェクトの下に新たなオブジェクトは追加できません。"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.state->tables.MibTreeCount, 2);
    }

    void thePlaceholderBecomesATableWithItsEntry()
    {
        addNode(*f.state, QStringLiteral("top"), 1);
        QVERIFY(f.show());
        addPlaceholder();
        const int table = 1;
        f.textArea("Text7")->setPlainText(QStringLiteral("Foo rows"));
        f.textArea("Text3")->setPlainText(QStringLiteral("One foo"));
        apply(1, QStringLiteral("fooX"), QStringLiteral("2"));
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(f.state->tables.MibTreeCount, 3);
        QCOMPARE(f.state->tables.MibAttributeCount, 2);

        QTreeWidgetItem *tableItem = f.item(QStringLiteral("fooXTable(2)"));
        QVERIFY(tableItem);
        QCOMPARE(tableItem->data(0, TreeItems::ImageRole).toString(), QStringLiteral("blue"));
        QCOMPARE(TreeFixture::childTexts(tableItem), QStringList{QStringLiteral("fooXEntry(1)")});
        QTreeWidgetItem *entryItem = tableItem->child(0);
        QCOMPARE(entryItem->data(0, TreeItems::KeyRole).toString(), QStringLiteral("fooXEntry"));
        QCOMPARE(entryItem->data(0, TreeItems::SelectedImageRole).toString(), QStringLiteral("blue2"));

        const int entry = entryOf(*f.state, table);
        QCOMPARE(entry, 2);
        QCOMPARE(f.state->tables.tree[table].Kind, ObjectKind::Table);
        QCOMPARE(f.state->tables.tree[entry].Kind, ObjectKind::Entry);
        QCOMPARE(f.state->tables.tree[entry].ObjectId, 1);
        const MibAttribute &tableAttribute = f.state->tables.attribute[attributeOf(*f.state, table)];
        const MibAttribute &entryAttribute = f.state->tables.attribute[attributeOf(*f.state, entry)];
        QCOMPARE(tableAttribute.Access, Access::NotAccessible);
        QCOMPARE(entryAttribute.Access, Access::NotAccessible);
        QCOMPARE(displayedText(tableAttribute.Description, tableAttribute.DescriptionLength), QStringLiteral("Foo rows"));
        QCOMPARE(displayedText(entryAttribute.Description, entryAttribute.DescriptionLength), QStringLiteral("One foo"));
        QCOMPARE(tableAttribute.Syntax, 0);
        QCOMPARE(entryAttribute.Syntax, 0);

        // Under the table nothing; under its entry a column.
        f.clickItem(tableItem);
        f.click("Command12");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("このオブジェクトの下に新たなオブジェクトは追加できません。"));
        addPlaceholder(QStringLiteral("fooXEntry(1)"));
        QTreeWidgetItem *column = f.item(Placeholder);
        QVERIFY(column);
        QCOMPARE(column->parent(), entryItem);
        QCOMPARE(column->data(0, TreeItems::ImageRole).toString(), QStringLiteral("orange"));
        const int leaf = f.state->EditTarget;
        QCOMPARE(f.state->tables.tree[leaf].Kind, ObjectKind::Leaf);
        const MibAttribute &columnAttribute = f.state->tables.attribute[attributeOf(*f.state, leaf)];
        QCOMPARE(columnAttribute.Access, Access::ReadOnly);
        QCOMPARE(columnAttribute.DescriptionLength, 0);
        QCOMPARE(f.state->tables.MibAttributeCount, 3);
        QCOMPARE(f.chosenOption(), 2);
        QCOMPARE(f.combo("Combo7")->currentIndex(), 0);
        QCOMPARE(f.combo("Combo1")->currentIndex(), 0);
        QVERIFY(!f.check("Check4")->isChecked() && !f.check("Check3")->isChecked() && !f.check("Check1")->isChecked());
    }

    void kindRulesRefuseAndChangeNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("message");
        QTest::newRow("table as node") << "portTable(2)" << 0 << "テーブルのタイプは変更できません。";
        QTest::newRow("entry as leaf") << "portEntry(1)" << 2 << "テーブルのタイプは変更できません。";
        QTest::newRow("node as table") << "sysInfo(1)" << 1 << "テーブルのタイプへは変更できません。";
        QTest::newRow("leaf as table") << "sysMode(2)" << 1 << "テーブルのタイプへは変更できません。";
    }

    void kindRulesRefuseAndChangeNothing()
    {
        QFETCH(QString, item);
        QFETCH(int, option);
        QFETCH(QString, message);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.clickText(item);
        f.option(option)->click();
        f.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{message});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(designFileImage(*f.state), before);
        QVERIFY(f.item(item));
    }

    void aTableAndItsEntryKeepTheirKinds()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("portEntry(1)"));
        f.textArea("Text3")->setPlainText(QStringLiteral("A port"));
        apply(1, QStringLiteral("portRow"), QStringLiteral("1"));
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(f.state->tables.tree[4].Kind, ObjectKind::Entry);
        QVERIFY(f.item(QStringLiteral("portRow(1)")));
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 4)];
        QCOMPARE(displayedText(attribute.Description, attribute.DescriptionLength), QStringLiteral("A port"));
        QCOMPARE(attribute.Access, Access::NotAccessible);
        // The columns stay below it.
        QCOMPARE(TreeFixture::childTexts(f.item(QStringLiteral("portRow(1)"))).size(), 3);
        QCOMPARE(f.state->tables.MibTreeCount, 8);
        QCOMPARE(f.state->tables.MibAttributeCount, 7);
    }

    void anEnumeratedLeafTurnedIntoANodeFreesItsRecords()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysMode(2)"));
        apply(0, QStringLiteral("sysMode"), QStringLiteral("2"));
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(f.state->tables.tree[2].Kind, ObjectKind::Node);
        QCOMPARE(attributeOf(*f.state, 2), -1);
        QCOMPARE(itemsOf(*f.state, 2), QList<int>());
        QCOMPARE(f.state->tables.MibAttributeCount, 6);
        QCOMPARE(f.state->tables.MibListCount, 2);
        QCOMPARE(f.item(QStringLiteral("sysMode(2)"))->data(0, TreeItems::ImageRole).toString(),
                 QStringLiteral("green"));
        // And back into a leaf with a range: a new attribute and a range.
        f.clickText(QStringLiteral("sysMode(2)"));
        f.option(2)->click();
        f.check("Check4")->click();
        f.type("Text9", QStringLiteral("007"));
        f.type("Text10", QStringLiteral("4294967295"));
        apply(2, QStringLiteral("sysMode"), QStringLiteral("2"));
        QCOMPARE(f.services->lastMessage().text, Changed);
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 2)];
        QCOMPARE(attribute.Constraint, Constraint::Range);
        const MibRange &range = f.state->tables.range[rangeOf(*f.state, 2)];
        QCOMPARE(displayedText(range.Minimum, range.MinimumLength), QStringLiteral("7"));
        QCOMPARE(displayedText(range.Maximum, range.MaximumLength), QStringLiteral("4294967295"));
        QCOMPARE(f.state->tables.MibRangeCount, 3);
        QCOMPARE(f.state->tables.MibAttributeCount, 7);
    }

    void aLeafIsRewrittenFromEveryField()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysTemperature(1)"));
        const int oldRange = rangeOf(*f.state, 1);
        // From a range to an enumeration: the range is freed with empty bounds.
        f.check("Check4")->click();
        f.check("Check3")->click();
        for (const auto &[name, value] : {std::pair{"cold", "1"}, std::pair{"hot", "2"}}) {
            f.combo("Combo6")->setEditText(QLatin1String(name));
            f.type("Text8", QLatin1String(value));
            f.click("Command3");
        }
        f.check("Check1")->click();
        f.type("Text2", QStringLiteral("0002"));
        f.combo("Combo1")->setCurrentIndex(2);
        f.textArea("Text7")->setPlainText(QStringLiteral("  Heat  "));
        apply(2, QStringLiteral("  sysHeat "), QStringLiteral("9"));
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(displayedName(*f.state, 1), QStringLiteral("sysHeat"));
        QCOMPARE(f.state->tables.tree[1].ObjectId, 9);
        QCOMPARE(f.item(QStringLiteral("sysHeat(9)"))->data(0, TreeItems::KeyRole).toString(),
                 QStringLiteral("sysHeat"));
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, 1)];
        QCOMPARE(attribute.Constraint, Constraint::Enumeration);
        QCOMPARE(attribute.KeyOrder, 2);
        QCOMPARE(attribute.Access, Access::NotAccessible);
        QCOMPARE(displayedText(attribute.Description, attribute.DescriptionLength), QStringLiteral("Heat"));
        const QList<int> items = itemsOf(*f.state, 1);
        QCOMPARE(items.size(), 2);
        QCOMPARE(displayedText(f.state->tables.list[items[1]].ItemName, f.state->tables.list[items[1]].ItemNameLength),
                 QStringLiteral("hot"));
        QCOMPARE(f.state->tables.list[items[1]].ItemValue, 2);
        const MibRange &freed = f.state->tables.range[oldRange];
        QCOMPARE(freed.InUse, 0);
        QCOMPARE(freed.Minimum, QString());
        QCOMPARE(freed.MinimumLength, 0);
        QCOMPARE(freed.Maximum, QString());
        QCOMPARE(freed.MaximumLength, 0);
        QCOMPARE(f.state->tables.MibRangeCount, 1);
        QCOMPARE(f.state->tables.MibListCount, 7);
        // The panel keeps what was typed.
        QCOMPARE(f.text("Text5"), QStringLiteral("  sysHeat "));
    }

    void applyChecksTheFieldsInOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("objectId");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << "" << "x" << "" << "" << "オブジェクト名を入力してください。";
        QTest::newRow("blank name") << "   " << "1" << "" << "" << "オブジェクト名を入力してください。";
        QTest::newRow("ID not digits") << "n" << "-1" << "" << "" << "オブジェクトIDは数値を入力してください。";
        QTest::newRow("ID empty") << "n" << "" << "" << "" << "オブジェクトIDは数値を入力してください。";
        QTest::newRow("ID 0") << "n" << "0" << "" << "" << "オブジェクトIDは1～255です。";
        QTest::newRow("ID 256") << "n" << "256" << "" << "" << "オブジェクトIDは1～255です。";
        QTest::newRow("range not digits") << "n" << "5" << "1..x" << "" << "範囲指定は数値を入力してください。";
        QTest::newRow("range empty") << "n" << "5" << ".." << "" << "範囲指定は数値を入力してください。";
        QTest::newRow("range too large") << "n" << "5" << "0..4294967296" << "" << "範囲指定は最大4294967295までです。";
        QTest::newRow("key not digits") << "n" << "5" << "" << "1a" << "テーブルキーの順位は数値を入力してください。";
        QTest::newRow("key 0") << "n" << "5" << "" << "0" << "テーブルキーの順位は1～1000です。";
        QTest::newRow("key 1001") << "n" << "5" << "" << "1001" << "テーブルキーの順位は1～1000です。";
        QTest::newRow("name taken") << "sysMode" << "5" << "" << "" << "オブジェクト名が重複しています。";
        QTest::newRow("name of a table") << "port" << "5" << "" << "" << "オブジェクト名が重複しています。";
        QTest::newRow("sibling's ID") << "n" << "2" << "" << "" << "オブジェクトIDが重複しています。";
        QTest::newRow("range and key fine") << "n" << "7" << "0..4294967295" << "1000" << "オブジェクトを変更しました。";
        QTest::newRow("ID used elsewhere") << "n" << "3" << "" << "" << "オブジェクトを変更しました。";
    }

    void applyChecksTheFieldsInOrder()
    {
        QFETCH(QString, name);
        QFETCH(QString, objectId);
        QFETCH(QString, range);
        QFETCH(QString, key);
        QFETCH(QString, message);
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.clickText(QStringLiteral("sysTemperature(1)"));
        f.check("Check4")->setChecked(!range.isEmpty());
        if (!range.isEmpty()) {
            f.type("Text9", range.section(QStringLiteral(".."), 0, 0));
            f.type("Text10", range.section(QStringLiteral(".."), 1, 1));
        }
        f.check("Check1")->setChecked(!key.isEmpty());
        f.type("Text2", key);
        apply(2, name, objectId);
        QCOMPARE(f.services->texts(), QStringList{message});
        if (message != Changed) {
            QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
            QCOMPARE(designFileImage(*f.state), before);
            QVERIFY(f.item(QStringLiteral("sysTemperature(1)")));
        }
    }

    void applyWantsAnObjectSelected()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        const QString message = QStringLiteral("ツリーからオブジェクトを選択してください。");
        f.click("Command4");
        f.clickText(QStringLiteral("sysInfo(1)"));
        f.clickItem(f.root());
        f.click("Command4");
        // After a rebuild nothing is selected, whatever the panel shows.
        f.clickText(QStringLiteral("sysInfo(1)"));
        f.window->BuildTree();
        f.click("Command4");
        QCOMPARE(f.services->texts(), (QStringList{message, message, message}));
        QCOMPARE(designFileImage(*f.state), before);
    }

    void deletingATableRemovesItsEntryAndColumns()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("portTable(2)"));
        f.services->queueAnswer(MessageButton::No);
        f.click("Command11");
        QCOMPARE(f.services->texts(),
                 QStringList{QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Question);
        QCOMPARE(f.state->tables.MibTreeCount, 8);

        const int range = rangeOf(*f.state, 5);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 2);
        QCOMPARE(TreeFixture::childTexts(f.root()), QStringList{QStringLiteral("sysInfo(1)")});
        QCOMPARE(f.itemCount(), 4);
        QCOMPARE(f.state->tables.MibTreeCount, 3);
        QCOMPARE(f.state->tables.MibAttributeCount, 2);
        QCOMPARE(f.state->tables.MibRangeCount, 1);
        QCOMPARE(f.state->tables.MibListCount, 3);
        for (int slot = 3; slot <= 7; ++slot)
            QCOMPARE(f.state->tables.tree[slot].InUse, 0);
        QCOMPARE(f.state->tables.range[range].Minimum, QString());
        QCOMPARE(f.state->tables.range[range].MinimumLength, 0);
        // The parent, here the root, is selected and shown.
        QVERIFY(f.root()->isSelected());
        QCOMPARE(f.state->ShownItemIndex, 1);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise"));
        QCOMPARE(f.text("Text5"), QString());
    }

    void deletingALeafShowsItsParent()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysMode(2)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->messages.size(), 1);
        QVERIFY(!f.item(QStringLiteral("sysMode(2)")));
        QVERIFY(f.item(QStringLiteral("sysInfo(1)"))->isSelected());
        QCOMPARE(f.state->EditTarget, 0);
        QCOMPARE(f.state->ShownItemIndex, 2);
        QCOMPARE(f.text("Text1"), QStringLiteral("enterprise.sysInfo(1)"));
        QCOMPARE(f.state->tables.MibListCount, 2);
        // The next item shown counts its position after the removal.
        f.clickText(QStringLiteral("portEntry(1)"));
        QCOMPARE(f.state->ShownItemIndex, 5);
    }

    void anEntryIsRefusedAfterTheQuestion()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        f.clickText(QStringLiteral("portEntry(1)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->texts(),
                 (QStringList{QStringLiteral("このオブジェクト以下のツリーをすべて削除しますが、よろしいですか？"),
                              QStringLiteral("エントリは削除できません。テーブルから指定してください。")}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(designFileImage(*f.state), before);
        QVERIFY(f.item(QStringLiteral("portEntry(1)")));
    }

    void commandsWithNothingSelectedFail()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysMode(2)"));
        f.window->BuildTree();
        const QByteArray before = designFileImage(*f.state);
        f.click("Command12");
        f.click("Command11");
        QCOMPARE(f.services->texts(), (QStringList{QStringLiteral("追加に失敗しました"), QStringLiteral("削除に失敗しました")}));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("警告メッセージ"));
        QCOMPARE(designFileImage(*f.state), before);
    }

    void aDeleteThatFailsOnTheWayReports()
    {
        const int node = addNode(*f.state, QStringLiteral("top"), 1);
        LeafDefinition def;
        def.name = QStringLiteral("broken");
        def.parent = node;
        const int leaf = addLeaf(*f.state, def);
        f.state->tables.attribute[attributeOf(*f.state, leaf)].InUse = 0;
        --f.state->tables.MibAttributeCount;
        QVERIFY(f.show());
        f.clickText(QStringLiteral("top(1)"));
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("削除に失敗しました"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.state->tables.MibTreeCount, 2);
        QVERIFY(f.item(QStringLiteral("broken(1)")));
    }

    void aNodeTurnedLeafTakesItsChildrenAlongWhenDeleted()
    {
        const int node = addNode(*f.state, QStringLiteral("top"), 1);
        addNode(*f.state, QStringLiteral("below"), 1, node);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("top(1)"));
        apply(2, QStringLiteral("top"), QStringLiteral("1"));
        QCOMPARE(f.state->tables.tree[node].Kind, ObjectKind::Leaf);
        f.services->queueAnswer(MessageButton::Yes);
        f.click("Command11");
        // No object is left whose parent is gone.
        QCOMPARE(f.state->tables.MibTreeCount, 0);
        QCOMPARE(f.state->tables.MibAttributeCount, 0);
        QCOMPARE(f.itemCount(), 1);
    }

    void aLeafIsAddedOnlyWithAFreeAttributeSlot()
    {
        const int table = addTable(*f.state, QStringLiteral("t"), 1);
        fillFrom(f.state->tables.attribute, 2);
        rebuildCounters(f.state->tables, f.state->ObjectLimit);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);
        addPlaceholder(QStringLiteral("tEntry(1)"));
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("これ以上登録できません。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);
        QCOMPARE(designFileImage(*f.state), before);
        QVERIFY(!f.item(Placeholder));
        QCOMPARE(f.state->EditTarget, entryOf(*f.state, table));
    }

    void aFullTreeTableTakesNoPlaceholder()
    {
        fillFrom(f.state->tables.tree, 0);
        rebuildCounters(f.state->tables, f.state->ObjectLimit);
        QVERIFY(f.show());
        addPlaceholder();
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("これ以上登録できません。")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Notice);
        QCOMPARE(f.state->tables.MibTreeCount, 1000);
        QCOMPARE(f.state->tables.tree[1000].InUse, 0);
    }

    void applyFindsEverySlotBeforeWriting_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("message");
        QTest::newRow("table, tree full") << "treeFull" << 1 << 0 << "テーブルはこれ以上登録できません";
        QTest::newRow("table, no attribute") << "attributesFull" << 1 << 0 << "テーブルはこれ以上登録できません";
        QTest::newRow("table, one attribute") << "oneAttribute" << 1 << 0 << NoRoom;
        QTest::newRow("leaf, no attribute") << "attributesFull" << 2 << 0 << NoRoom;
        QTest::newRow("leaf, no range") << "rangesFull" << 2 << -1 << NoRoom;
        QTest::newRow("leaf, two items free") << "twoItems" << 2 << 3 << NoRoom;
        QTest::newRow("leaf, three items free") << "threeItems" << 2 << 3 << Changed;
        QTest::newRow("leaf, no items") << "" << 2 << 0 << "リストの項目を追加してください。";
        QTest::newRow("table, long name") << "longName" << 1 << 0 << "テーブル名は最大250文字までです。";
        QTest::newRow("table, entry name taken") << "entryTaken" << 1 << 0 << "オブジェクト名が重複しています。";
    }

    void applyFindsEverySlotBeforeWriting()
    {
        QFETCH(QString, design);
        QFETCH(int, option);
        QFETCH(int, items);
        QFETCH(QString, message);
        DefinitionTables &tables = f.state->tables;
        placeObject(*f.state, 0, Placeholder, 0, RootSlot);
        if (design == QLatin1String("treeFull"))
            fillFrom(tables.tree, 1);
        if (design == QLatin1String("attributesFull"))
            fillFrom(tables.attribute, 0);
        if (design == QLatin1String("oneAttribute"))
            fillFrom(tables.attribute, 1);
        if (design == QLatin1String("rangesFull"))
            fillFrom(tables.range, 0);
        if (design == QLatin1String("twoItems"))
            fillFrom(tables.list, 2);
        if (design == QLatin1String("threeItems"))
            fillFrom(tables.list, 3);
        if (design == QLatin1String("entryTaken"))
            placeObject(*f.state, 1, QStringLiteral("fooEntry"), 9, RootSlot);
        rebuildCounters(tables, f.state->ObjectLimit);
        QVERIFY(f.show());
        const QByteArray before = designFileImage(*f.state);

        // Read from a file, the placeholder shows its object ID like any object.
        const QString placeholderText = Placeholder + QStringLiteral("(0)");
        f.clickText(placeholderText);
        f.option(option)->click();
        if (items < 0) {
            f.check("Check4")->click();
            f.type("Text9", QStringLiteral("1"));
            f.type("Text10", QStringLiteral("2"));
        } else if (option == 2 && items >= 0 && design != QLatin1String("attributesFull")) {
            f.check("Check3")->click();
            for (int i = 0; i < items; ++i) {
                f.combo("Combo6")->setEditText(QStringLiteral("v%1").arg(i));
                f.type("Text8", QString::number(i));
                f.click("Command3");
            }
        }
        const QString name = design == QLatin1String("longName") ? QString(251, QLatin1Char('n')) : QStringLiteral("foo");
        apply(option, name, QStringLiteral("1"));
        QCOMPARE(f.services->texts(), QStringList{message});
        if (message == Changed) {
            QCOMPARE(itemsOf(*f.state, 0).size(), items);
            QCOMPARE(tables.MibListCount, 1000);
            return;
        }
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(designFileImage(*f.state), before);
        QVERIFY(f.item(placeholderText));
        QCOMPARE(f.item(placeholderText)->childCount(), 0);
    }

    void aRewriteMayReuseTheItemsItFrees()
    {
        LeafDefinition def;
        def.name = QStringLiteral("state");
        def.items = {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}};
        addLeaf(*f.state, def);
        fillFrom(f.state->tables.list, 3);
        rebuildCounters(f.state->tables, f.state->ObjectLimit);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("state(1)"));
        f.combo("Combo6")->setEditText(QStringLiteral("c"));
        f.type("Text8", QStringLiteral("3"));
        f.click("Command3");
        apply(2, QStringLiteral("state"), QStringLiteral("1"));
        QCOMPARE(f.services->texts(), QStringList{Changed});
        QCOMPARE(itemsOf(*f.state, 0), (QList<int>{0, 1, 2}));
        QCOMPARE(f.state->tables.MibListCount, 1000);
    }
};

QTEST_MAIN(TreeEditingTest)
#include "test_tree_editing.moc"
