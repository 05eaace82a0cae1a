// The editor's range and enumeration controls as wired to the rules: the
// rules themselves are tested in tests/model/.
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
        if (fields[3].isEmpty())
            QCOMPARE(f.view.text("Text8"), QString());
        QCOMPARE(f.view.entries("Combo6").join(u','), fields[4]);
        QStringList values;
        for (int i = 0; i < fields[5].count(u',') + 1; ++i)
            values.append(QString::number(f.state->EnumValues[i]));
        QCOMPARE(values.join(u','), fields[5]);
    }

    // The value box shows the value of the item chosen or typed, and the
    // syntax list disables the items but keeps the tick, so they are stored.
    void theValueBoxAndTheSyntaxList()
    {
        openWithItems(2);
        f.view.choose("Combo6", QStringLiteral("b"));
        QCOMPARE(f.view.text("Text8"), QStringLiteral("2"));
        f.view.type("Combo6", QStringLiteral("bx"));
        QCOMPARE(f.view.text("Text8"), QString());

        f.view.choose("Combo7", QStringLiteral("OCTET STRING"));
        QVERIFY(f.view.check("Check3")->isChecked());
        QCOMPARE(f.view.usable(), sortedNames(QString(LeafControls).remove(QStringLiteral("Check3,"))));
        for (const char *setting : {"Combo5=portMode", "Text1=9", "Command4"})
            f.view.set(setting);
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::ObjectAdded.toString()});
        const int slot = findObjectByName(*f.state, QStringLiteral("portMode"));
        const MibAttribute &attribute = f.state->tables.attribute[attributeOf(*f.state, slot)];
        QCOMPARE(attribute.Syntax, Syntax::OctetString);
        QCOMPARE(itemsOf(*f.state, slot).size(), 2);
    }
};

QTEST_MAIN(DesignItemsTest)
#include "test_design_items.moc"
