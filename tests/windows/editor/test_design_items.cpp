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
        for (int i = 1; i <= count; ++i) {
            f.view.type("Combo6", QString(QChar(u'a' + i - 1)));
            f.view.type("Text8", QString::number(i));
            f.view.click("Command1");
        }
        QVERIFY(f.services->messages.isEmpty());
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void aRangeAndAnEnumerationAreNotGivenTogether_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("controls");
        QTest::newRow("enumeration after range") << "Check4" << "Check3" << RangeControls;
        QTest::newRow("range after enumeration") << "Check3" << "Check4" << ItemControls;
    }

    void aRangeAndAnEnumerationAreNotGivenTogether()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, controls);
        openWithItems(0);
        f.view.check("Check3")->setChecked(false);
        QTest::mouseClick(f.view.check(qPrintable(first)), Qt::LeftButton);
        QVERIFY(f.services->messages.isEmpty());
        QTest::mouseClick(f.view.check(qPrintable(second)), Qt::LeftButton);
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::RangeAndList.toString()});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QVERIFY(f.view.check(qPrintable(first))->isChecked());
        QVERIFY(!f.view.check(qPrintable(second))->isChecked());
        QCOMPARE(f.view.usable(), sortedNames(LeafControls + ',' + controls));

        // Unticked, each box only switches its own controls.
        f.view.check(qPrintable(first))->click();
        QCOMPARE(f.view.usable(), sortedNames(LeafControls));
        QCOMPARE(f.services->messages.size(), 1);
    }

    // The cases of tests/data/editor/items.txt, which says how they read.
    void theItemButtons_data()
    {
        QTest::addColumn<QStringList>("fields");
        const QString text = QString::fromUtf8(contents(QStringLiteral(KORVEL_TEST_DATA "/editor/items.txt")));
        QVERIFY(text.contains(u'|'));
        for (const QString &line : text.split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(u'#'))
                QTest::newRow(qPrintable(line.section(u'|', 0, 2))) << line.split(u'|');
        }
    }

    void theItemButtons()
    {
        QFETCH(QStringList, fields);
        QCOMPARE(fields.size(), 6);
        openWithItems();
        f.view.type("Combo6", fields[1]);
        f.view.type("Text8", fields[2]);
        f.view.click(fields[0] == QLatin1String("add") ? "Command1" : "Command2");
        QStringList shown;
        for (const Message &message : std::as_const(f.services->messages))
            shown.append((message.kind == MessageKind::Error ? "error:" : "warning:") + message.text);
        QCOMPARE(shown.join(u'/'), fields[3]);
        if (fields[3].isEmpty()) {
            QCOMPARE(f.view.text("Text8"), QString());
            if (fields[0] == QLatin1String("add"))
                QCOMPARE(f.view.text("Combo6") + u'|' + QString::number(f.view.combo("Combo6")->currentIndex()),
                         QStringLiteral("|4"));
        }
        QCOMPARE(f.view.entries("Combo6").join(u','), fields[4]);
        QStringList values;
        for (int i = 0; i < fields[5].count(u',') + 1; ++i)
            values.append(QString::number(f.state->EnumValues[i]));
        QCOMPARE(values.join(u','), fields[5]);
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
        // The enumeration box is not usable, so a range raises no conflict.
        const QStringList range = rangeToo ? QStringList{"Check4", "Text9=0", "Text10=9"} : QStringList{};
        for (const QString &setting : range + QStringList{"Combo5=portMode", "Text1=9", "Command4"})
            f.view.set(setting);
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::ObjectAdded.toString()});
        QVERIFY(!f.dialog->isVisible());

        const int slot = findObjectByName(*f.state, QStringLiteral("portMode"));
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, slot)];
        QCOMPARE(attribute.Syntax, Syntax::OctetString);
        QCOMPARE(attribute.Constraint, rangeToo ? Constraint::Range : Constraint::Enumeration);
        QCOMPARE(itemsOf(*f.state, slot).size(), rangeToo ? 0 : 2);
        QCOMPARE(rangeOf(*f.state, slot) >= 0, rangeToo);
    }
};

QTEST_MAIN(DesignItemsTest)
#include "test_design_items.moc"
