// The editor's range, enumeration and key controls: the rule that keeps a
// range and an enumeration apart, the item list with its value box and
// EnumValues, and the syntax list's effect on them.
#include "designfixture.h"
#include "rulemessages.h"

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Item {
    QString name;
    QString value;
};

} // namespace

class DesignItemsTest : public QObject
{
    Q_OBJECT

private:
    EditorFixture f;

    // A new leaf under the entry: the Leaf option with INTEGER, the
    // enumeration box ticked and `items` added through the item list.
    void openWithItems(const QList<Item> &items)
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openAdd(QStringLiteral("portEntry")));
        f.dialog->show();
        QCOMPARE(f.view.kind(), KindOption::Leaf);
        f.view.check("Check3")->click();
        for (const Item &item : items)
            addItem(item.name, item.value);
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
        openWithItems({});
        f.view.check("Check3")->setChecked(false);
        const auto controlsOf = [](const QString &box) {
            return box == QLatin1String("Check4") ? QList<const char *>{"Text9", "Label9", "Text10"}
                                                  : QList<const char *>{"Label8", "Combo6", "Label3", "Text8",
                                                                        "Command1", "Command2"};
        };

        QTest::mouseClick(f.view.check(qPrintable(first)), Qt::LeftButton);
        QVERIFY(f.services->messages.isEmpty());
        QTest::mouseClick(f.view.check(qPrintable(second)), Qt::LeftButton);
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::RangeAndList.toString()});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QVERIFY(f.view.check(qPrintable(first))->isChecked());
        QVERIFY(!f.view.check(qPrintable(second))->isChecked());
        for (const char *control : controlsOf(first))
            QVERIFY2(f.view.enabled(control), control);
        for (const char *control : controlsOf(second))
            QVERIFY2(!f.view.enabled(control), control);

        // Unticked, each box only switches its own controls.
        f.view.check(qPrintable(first))->click();
        for (const char *control : controlsOf(first))
            QVERIFY2(!f.view.enabled(control), control);
        QCOMPARE(f.services->messages.size(), 1);
    }

    void addingAnItem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("error");
        const auto warning = [](QStringView text) { return text.toString(); };
        QTest::newRow("appended") << "c" << "3" << QString() << false;
        QTest::newRow("value 0") << "zero" << "0" << QString() << false;
        QTest::newRow("largest value") << "top" << "32767" << QString() << false;
        QTest::newRow("first item's value clashes before second's name")
            << "b" << "1" << warning(RuleMessage::DuplicateItemValue) << false;
        QTest::newRow("name clash") << "a" << "7" << warning(RuleMessage::DuplicateItemName) << false;
        QTest::newRow("no name") << "" << "3" << warning(RuleMessage::ItemNameEmpty) << false;
        QTest::newRow("no value") << "c" << "" << warning(RuleMessage::ItemValueEmpty) << false;
        QTest::newRow("negative") << "c" << "-3" << warning(RuleMessage::ItemValueNotNumeric) << false;
        QTest::newRow("decimal point") << "c" << "1.5" << warning(RuleMessage::ItemValueNotNumeric) << false;
        QTest::newRow("beyond 16 bits") << "c" << "32768" << warning(RuleMessage::ItemAddFailed) << true;
    }

    void addingAnItem()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(bool, error);
        openWithItems({{"a", "1"}, {"b", "2"}});
        QCOMPARE(f.view.entries("Combo6"), (QStringList{"a", "b", ""}));

        addItem(name, value);
        if (message.isEmpty()) {
            QVERIFY(f.services->messages.isEmpty());
            QCOMPARE(f.view.entries("Combo6"), (QStringList{"a", "b", name, ""}));
            QCOMPARE(values(3), (QList<int>{1, 2, value.toInt()}));
            QCOMPARE(f.view.combo("Combo6")->currentIndex(), 3);
            QCOMPARE(f.view.text("Combo6"), QString());
            QCOMPARE(f.view.text("Text8"), QString());
            return;
        }
        QCOMPARE(f.services->texts(), QStringList{message});
        QCOMPARE(f.services->lastMessage().kind, error ? MessageKind::Error : MessageKind::Warning);
        QCOMPARE(f.view.entries("Combo6"), (QStringList{"a", "b", ""}));
        QCOMPARE(values(2), (QList<int>{1, 2}));
    }

    void removingAnItem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QList<int>>("values");
        const QStringList all{"a", "b", "c", ""};
        const QList<int> allValues{1, 2, 3};
        QTest::newRow("first: the values move down")
            << "a" << "1" << QString() << false << QStringList{"b", "c", ""} << QList<int>{2, 3};
        QTest::newRow("middle") << "b" << "2" << QString() << false << QStringList{"a", "c", ""} << QList<int>{1, 3};
        QTest::newRow("name with another value")
            << "a" << "5" << RuleMessage::ItemNotFound.toString() << false << all << allValues;
        QTest::newRow("name not in the list")
            << "x" << "1" << RuleMessage::ItemNotFound.toString() << false << all << allValues;
        QTest::newRow("empty value box")
            << "a" << "" << RuleMessage::ItemRemoveFailed.toString() << true << all << allValues;
        QTest::newRow("no name") << "" << "1" << RuleMessage::ItemNameNotChosen.toString() << false << all
                                 << allValues;
    }

    void removingAnItem()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(bool, error);
        QFETCH(QStringList, after);
        QFETCH(QList<int>, values);
        openWithItems({{"a", "1"}, {"b", "2"}, {"c", "3"}});

        f.view.type("Combo6", name);
        f.view.type("Text8", value);
        f.view.click("Command2");
        QCOMPARE(f.services->texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.services->lastMessage().kind, error ? MessageKind::Error : MessageKind::Warning);
        else
            QCOMPARE(f.view.text("Text8"), QString());
        QCOMPARE(f.view.entries("Combo6"), after);
        QCOMPARE(this->values(int(values.size())), values);
    }

    void theValueBoxFollowsTheItemList()
    {
        openWithItems({{"a", "1"}, {"b", "2"}, {"c", "3"}});
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
        openWithItems({{"a", "1"}, {"b", "2"}});
        const QList<const char *> items{"Label8", "Combo6", "Label3", "Text8", "Command1", "Command2"};

        f.view.choose("Combo7", QStringLiteral("OCTET STRING"));
        QVERIFY(f.view.check("Check3")->isChecked());
        QVERIFY(!f.view.enabled("Check3"));
        for (const char *control : items)
            QVERIFY2(!f.view.enabled(control), control);
        f.view.choose("Combo7", QStringLiteral("INTEGER"));
        QVERIFY(f.view.enabled("Check3"));
        for (const char *control : items)
            QVERIFY2(f.view.enabled(control), control);

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
