// The editor's range, enumeration and key controls: the rule that keeps a
// range and an enumeration apart, the item list with its value box and
// EnumValues, and the syntax list's effect on them.
#include "designfixture.h"
#include "rulemessages.h"

using namespace korvel;
using namespace korvel::testing;

class DesignItemsTest : public QObject
{
    Q_OBJECT

private:
    EditorFixture f;

    // A new leaf under the entry: the Leaf option with INTEGER, the
    // enumeration box ticked and the items a=1, b=2 (and c=3) added through
    // the item list.
    void openWithItems(int count = 3)
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openAdd(QStringLiteral("portEntry")));
        f.dialog->show();
        QCOMPARE(f.view.kind(), KindOption::Leaf);
        f.view.check("Check3")->click();
        for (int i = 1; i <= count; ++i)
            addItem(QString(QChar(u'a' + i - 1)), QString::number(i));
        QVERIFY(f.services->messages.isEmpty());
    }

    void addItem(const QString &name, const QString &value)
    {
        f.view.type("Combo6", name);
        f.view.type("Text8", value);
        f.view.click("Command1");
    }

    QList<int> values(int count) const
    {
        QList<int> all;
        for (int i = 0; i < count; ++i)
            all.append(f.state->EnumValues[i]);
        return all;
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup()
    {
        if (f.dialog)
            f.dialog->close();
        f.tearDown();
    }

    void aRangeAndAnEnumerationAreNotGivenTogether_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("enumeration after range") << "Check4" << "Check3";
        QTest::newRow("range after enumeration") << "Check3" << "Check4";
    }

    void aRangeAndAnEnumerationAreNotGivenTogether()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        openWithItems(0);
        f.view.check("Check3")->setChecked(false);
        const auto controlsOf = [](const QString &box) {
            return box == QLatin1String("Check4") ? RangeControls : ItemControls;
        };
        QTest::mouseClick(f.view.check(qPrintable(first)), Qt::LeftButton);
        QVERIFY(f.services->messages.isEmpty());
        QTest::mouseClick(f.view.check(qPrintable(second)), Qt::LeftButton);
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::RangeAndList.toString()});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QVERIFY(f.view.check(qPrintable(first))->isChecked());
        QVERIFY(!f.view.check(qPrintable(second))->isChecked());
        QCOMPARE(f.view.usable(), sortedNames(LeafControls + ',' + controlsOf(first)));

        // Unticked, each box only switches its own controls.
        f.view.check(qPrintable(first))->click();
        QCOMPARE(f.view.usable(), sortedNames(LeafControls));
        QCOMPARE(f.services->messages.size(), 1);
    }

    // ﾘｽﾄへ追加 and ﾘｽﾄから削除 on the items a=1, b=2, c=3: a refusal leaves
    // the list and EnumValues as they were.
    void theItemButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QList<int>>("values");
        const auto refused = [](const char *label, const char *button, const char *name, const char *value,
                                QStringView message, bool error = false) {
            QTest::newRow(label) << button << name << value << message.toString() << error
                                 << QStringList{"a", "b", "c", ""} << QList<int>{1, 2, 3};
        };
        QTest::newRow("add: appended")
            << "Command1" << "d" << "4" << QString() << false << QStringList{"a", "b", "c", "d", ""}
            << QList<int>{1, 2, 3, 4};
        QTest::newRow("add: value 0")
            << "Command1" << "zero" << "0" << QString() << false << QStringList{"a", "b", "c", "zero", ""}
            << QList<int>{1, 2, 3, 0};
        QTest::newRow("add: largest value")
            << "Command1" << "top" << "32767" << QString() << false << QStringList{"a", "b", "c", "top", ""}
            << QList<int>{1, 2, 3, 32767};
        refused("add: first item's value clashes before second's name", "Command1", "b", "1",
                RuleMessage::DuplicateItemValue);
        refused("add: name clash", "Command1", "a", "7", RuleMessage::DuplicateItemName);
        refused("add: no name", "Command1", "", "3", RuleMessage::ItemNameEmpty);
        refused("add: no value", "Command1", "d", "", RuleMessage::ItemValueEmpty);
        refused("add: negative", "Command1", "d", "-3", RuleMessage::ItemValueNotNumeric);
        refused("add: decimal point", "Command1", "d", "1.5", RuleMessage::ItemValueNotNumeric);
        refused("add: beyond 16 bits", "Command1", "d", "32768", RuleMessage::ItemAddFailed, true);
        QTest::newRow("remove first: the values move down")
            << "Command2" << "a" << "1" << QString() << false << QStringList{"b", "c", ""} << QList<int>{2, 3};
        QTest::newRow("remove middle")
            << "Command2" << "b" << "2" << QString() << false << QStringList{"a", "c", ""} << QList<int>{1, 3};
        refused("remove: name with another value", "Command2", "a", "5", RuleMessage::ItemNotFound);
        refused("remove: name not in the list", "Command2", "x", "1", RuleMessage::ItemNotFound);
        refused("remove: empty value box", "Command2", "a", "", RuleMessage::ItemRemoveFailed, true);
        refused("remove: no name", "Command2", "", "1", RuleMessage::ItemNameNotChosen);
    }

    void theItemButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(bool, error);
        QFETCH(QStringList, after);
        QFETCH(QList<int>, values);
        openWithItems();
        f.view.type("Combo6", name);
        f.view.type("Text8", value);
        f.view.click(qPrintable(button));
        QCOMPARE(f.services->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.services->lastMessage().kind, error ? MessageKind::Error : MessageKind::Warning);
        else
            QCOMPARE(f.view.text("Text8"), QString());
        if (message.isEmpty() && button == QLatin1String("Command1")) {
            QCOMPARE(f.view.combo("Combo6")->currentIndex(), int(after.size()) - 1);
            QCOMPARE(f.view.text("Combo6"), QString());
        }
        QCOMPARE(f.view.entries("Combo6"), after);
        QCOMPARE(this->values(int(values.size())), values);
    }

    void theValueBoxFollowsTheItemList()
    {
        openWithItems();
        f.view.choose("Combo6", QStringLiteral("b"));
        QCOMPARE(f.view.text("Text8"), QStringLiteral("2"));
        f.view.type("Combo6", QStringLiteral("c"));
        QCOMPARE(f.view.text("Text8"), QStringLiteral("3"));
        f.view.type("Combo6", QStringLiteral("cd"));
        QCOMPARE(f.view.text("Text8"), QString());
        f.view.choose("Combo6", QStringLiteral("a"));
        QCOMPARE(f.view.text("Text8"), QStringLiteral("1"));
        f.view.choose("Combo6", QString());
        QCOMPARE(f.view.text("Text8"), QString());

        // An emptied text matches the empty last entry, whose position holds
        // whatever value it last held.
        f.view.choose("Combo6", QStringLiteral("a"));
        f.state->EnumValues[3] = 9;
        f.view.combo("Combo6")->lineEdit()->clear();
        QCOMPARE(f.view.text("Text8"), QStringLiteral("9"));
    }

    void theSyntaxListDisablesTheItemsButKeepsTheTick_data()
    {
        QTest::addColumn<bool>("rangeToo");
        QTest::newRow("enumeration stored with that syntax") << false;
        QTest::newRow("a range ticked as well wins") << true;
    }

    void theSyntaxListDisablesTheItemsButKeepsTheTick()
    {
        QFETCH(bool, rangeToo);
        openWithItems(2);
        f.view.choose("Combo7", QStringLiteral("OCTET STRING"));
        QVERIFY(f.view.check("Check3")->isChecked());
        QCOMPARE(f.view.usable(), sortedNames(QString(LeafControls).remove(QStringLiteral("Check3,"))));
        f.view.choose("Combo7", QStringLiteral("INTEGER"));
        QCOMPARE(f.view.usable(), sortedNames(LeafControls + ',' + ItemControls));

        f.view.choose("Combo7", QStringLiteral("OCTET STRING"));
        if (rangeToo) {
            // The enumeration box is not usable, so no conflict is reported.
            f.view.check("Check4")->click();
            f.view.type("Text9", QStringLiteral("0"));
            f.view.type("Text10", QStringLiteral("9"));
        }
        f.view.type("Combo5", QStringLiteral("portMode"));
        f.view.type("Text1", QStringLiteral("9"));
        f.view.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::ObjectAdded.toString()});
        QVERIFY(!f.dialog->isVisible());

        const int slot = findObjectByName(*f.state, QStringLiteral("portMode"));
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, slot)];
        QCOMPARE(attribute.Syntax, Syntax::OctetString);
        QCOMPARE(attribute.Constraint, rangeToo ? Constraint::Range : Constraint::Enumeration);
        QCOMPARE(itemsOf(*f.state, slot).size(), rangeToo ? 0 : 2);
        QCOMPARE(rangeOf(*f.state, slot) >= 0, rangeToo);
    }

    void anEnumerationIsLoadedAndCommittedParallelToItsValues()
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openChange(QStringLiteral("sysMode")));
        f.dialog->show();
        QCOMPARE(f.view.entries("Combo6"), (QStringList{"normal", "standby", "off", ""}));
        f.view.choose("Combo6", QStringLiteral("normal"));
        f.view.click("Command2");
        addItem(QStringLiteral("sleep"), QStringLiteral("7"));
        QCOMPARE(values(3), (QList<int>{2, 0, 7}));
        f.view.click("Command4");
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::ObjectChanged.toString()});

        QStringList stored;
        for (int item : itemsOf(*f.state, findObjectByName(*f.state, QStringLiteral("sysMode")))) {
            const MibList &record = f.state->tables.list[item];
            stored.append(displayedText(record.ItemName, record.ItemNameLength) + u'='
                          + QString::number(record.ItemValue));
        }
        QCOMPARE(stored, (QStringList{"standby=2", "off=0", "sleep=7"}));
    }
};

QTEST_MAIN(DesignItemsTest)
#include "test_design_items.moc"
