// The Tree window's panel: the enabled states by kind option and ticks, the
// handlers of the range, enumeration and key boxes and of the syntax list,
// the item buttons, and boxes that select their text when entered.
#include "sampledesign.h"
#include "treefixture.h"

#include <QGroupBox>
#include <QLabel>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The controls whose enabled state depends on the kind option and the ticks.
const QStringList &dependentControls()
{
    static const QStringList names{
        QStringLiteral("DescriptionFrame"), QStringLiteral("Text7"), QStringLiteral("Label5"),
        QStringLiteral("Text3"), QStringLiteral("TypeFrame"), QStringLiteral("Combo7"), QStringLiteral("Check4"),
        QStringLiteral("Text9"), QStringLiteral("Label9"), QStringLiteral("Text10"), QStringLiteral("Check3"),
        QStringLiteral("Label8"), QStringLiteral("Combo6"), QStringLiteral("Label4"), QStringLiteral("Text8"),
        QStringLiteral("Command3"), QStringLiteral("Command2"), QStringLiteral("Label3"), QStringLiteral("Combo1"),
        QStringLiteral("Check1"), QStringLiteral("Label1"), QStringLiteral("Text2")};
    return names;
}

const QStringList &alwaysEnabled()
{
    static const QStringList names{
        QStringLiteral("TreeView1"), QStringLiteral("Text1"), QStringLiteral("Text5"), QStringLiteral("Text4"),
        QStringLiteral("Option1_0"), QStringLiteral("Option1_1"), QStringLiteral("Option1_2"),
        QStringLiteral("Command12"), QStringLiteral("Command11"), QStringLiteral("Command1"),
        QStringLiteral("Command4")};
    return names;
}

const QString &rangeWithList()
{
    static const QString text = QStringLiteral("範囲とリストは同時に指定できません。");
    return text;
}

} // namespace

class TreePanelTest : public QObject
{
    Q_OBJECT

private:
    TreeFixture f;

    QStringList enabledControls() const
    {
        QStringList enabled;
        for (const QString &name : dependentControls()) {
            if (f.window->findChild<QWidget *>(name)->isEnabled())
                enabled.append(name);
        }
        return enabled;
    }

    // A plain INTEGER leaf shown in the panel.
    void showLeaf()
    {
        LeafDefinition def;
        def.name = QStringLiteral("leaf");
        addLeaf(*f.state, def);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("leaf(1)"));
        QCOMPARE(f.chosenOption(), 2);
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void enabledStatesFollowTheOptionAndTheTicks_data()
    {
        QTest::addColumn<QString>("ticks");
        QTest::addColumn<int>("syntax");
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("enabled");
        const QStringList description{QStringLiteral("DescriptionFrame"), QStringLiteral("Text7")};
        const QStringList table = description + QStringList{QStringLiteral("Label5"), QStringLiteral("Text3")};
        const QStringList leaf = description
            + QStringList{QStringLiteral("TypeFrame"), QStringLiteral("Combo7"), QStringLiteral("Check4"),
                          QStringLiteral("Check3"), QStringLiteral("Label3"), QStringLiteral("Combo1"),
                          QStringLiteral("Check1")};
        const QStringList bounds{QStringLiteral("Text9"), QStringLiteral("Label9"), QStringLiteral("Text10")};
        const QStringList items{QStringLiteral("Label8"), QStringLiteral("Combo6"), QStringLiteral("Label4"),
                                QStringLiteral("Text8"), QStringLiteral("Command3"), QStringLiteral("Command2")};
        const QStringList key{QStringLiteral("Label1"), QStringLiteral("Text2")};
        QStringList withoutList = leaf;
        withoutList.removeAll(QStringLiteral("Check3"));

        QTest::newRow("node") << "" << 0 << 0 << QStringList();
        QTest::newRow("table") << "" << 0 << 1 << table;
        QTest::newRow("leaf") << "" << 0 << 2 << leaf;
        QTest::newRow("leaf, range") << "range" << 0 << 2 << leaf + bounds;
        QTest::newRow("leaf, list") << "list" << 0 << 2 << leaf + items;
        QTest::newRow("leaf, key") << "key" << 0 << 2 << leaf + key;
        QTest::newRow("leaf, range and key") << "range,key" << 0 << 2 << leaf + bounds + key;
        QTest::newRow("leaf, list, OCTET STRING") << "list" << 1 << 2 << withoutList;
        QTest::newRow("leaf, Opaque") << "" << 7 << 2 << withoutList;
        // Ticks left from the leaf's options count for nothing under the others.
        QTest::newRow("node, ticks left") << "range,key" << 0 << 0 << QStringList();
        QTest::newRow("table, ticks left") << "list,key" << 0 << 1 << table;
    }

    void enabledStatesFollowTheOptionAndTheTicks()
    {
        QFETCH(QString, ticks);
        QFETCH(int, syntax);
        QFETCH(int, option);
        QFETCH(QStringList, enabled);
        showLeaf();
        // Ticked by clicks while the leaf's options are usable.
        if (ticks.contains(QLatin1String("range")))
            f.check("Check4")->click();
        if (ticks.contains(QLatin1String("list")))
            f.check("Check3")->click();
        if (ticks.contains(QLatin1String("key")))
            f.check("Check1")->click();
        f.combo("Combo7")->setCurrentIndex(syntax);
        f.option(option)->click();

        QStringList expected;
        for (const QString &name : dependentControls()) {
            if (enabled.contains(name))
                expected.append(name);
        }
        QCOMPARE(enabledControls(), expected);
        for (const QString &name : alwaysEnabled())
            QVERIFY2(f.window->findChild<QWidget *>(name)->isEnabled(), qPrintable(name));
        QVERIFY(f.services->messages.isEmpty());
    }

    void showingAnObjectSetsTheStatesOfItsKind()
    {
        buildSampleDesign(*f.state);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("sysTemperature(1)"));
        QVERIFY(f.box("Text9")->isEnabled());
        QVERIFY(!f.combo("Combo6")->isEnabled());
        f.clickText(QStringLiteral("sysMode(2)"));
        QVERIFY(!f.box("Text9")->isEnabled());
        QVERIFY(f.combo("Combo6")->isEnabled());
        f.clickText(QStringLiteral("portIndex(1)"));
        QVERIFY(f.box("Text2")->isEnabled());
        f.clickText(QStringLiteral("portEntry(1)"));
        QCOMPARE(enabledControls(), (QStringList{QStringLiteral("DescriptionFrame"), QStringLiteral("Text7"),
                                                 QStringLiteral("Label5"), QStringLiteral("Text3")}));
        f.clickText(QStringLiteral("sysInfo(1)"));
        QCOMPARE(enabledControls(), QStringList());
        QVERIFY(f.services->messages.isEmpty());
    }

    void rangeAndListCannotBeTickedTogether_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("list after range") << "Check4" << "Check3";
        QTest::newRow("range after list") << "Check3" << "Check4";
    }

    void rangeAndListCannotBeTickedTogether()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        showLeaf();
        f.check(first.toLatin1().constData())->click();
        f.check(second.toLatin1().constData())->click();
        QCOMPARE(f.services->texts(), QStringList{rangeWithList()});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QVERIFY(f.check(first.toLatin1().constData())->isChecked());
        QVERIFY(!f.check(second.toLatin1().constData())->isChecked());
        // The refused box's controls stay disabled, the other's enabled.
        const bool rangeFirst = first == QLatin1String("Check4");
        QCOMPARE(f.box("Text9")->isEnabled(), rangeFirst);
        QCOMPARE(f.combo("Combo6")->isEnabled(), !rangeFirst);
    }

    void theSyntaxListDisablesTheEnumerationButKeepsItsTick()
    {
        showLeaf();
        f.check("Check3")->click();
        f.combo("Combo7")->setCurrentIndex(1);
        QVERIFY(f.check("Check3")->isChecked());
        QVERIFY(!f.check("Check3")->isEnabled());
        QVERIFY(!f.combo("Combo6")->isEnabled());
        // A disabled enumeration box does not stop the range box.
        f.check("Check4")->click();
        QVERIFY(f.check("Check4")->isChecked());
        QVERIFY(f.services->messages.isEmpty());
        f.check("Check4")->click();
        f.combo("Combo7")->setCurrentIndex(0);
        QVERIFY(f.check("Check3")->isEnabled());
        QVERIFY(f.combo("Combo6")->isEnabled());
    }

    void theKeyBoxEnablesItsPosition()
    {
        showLeaf();
        QVERIFY(!f.box("Text2")->isEnabled());
        f.check("Check1")->click();
        QVERIFY(f.box("Text2")->isEnabled());
        QVERIFY(f.widget<QLabel>("Label1")->isEnabled());
        f.check("Check1")->click();
        QVERIFY(!f.box("Text2")->isEnabled());
    }

    void enteringABoxSelectsItsWholeText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("tick");
        QTest::newRow("Text2") << "Text2" << 2 << "Check1";
        QTest::newRow("Text3") << "Text3" << 1 << "";
        QTest::newRow("Text4") << "Text4" << 0 << "";
        QTest::newRow("Text5") << "Text5" << 0 << "";
        QTest::newRow("Text7") << "Text7" << 2 << "";
        QTest::newRow("Text8") << "Text8" << 2 << "Check3";
        QTest::newRow("Text9") << "Text9" << 2 << "Check4";
        QTest::newRow("Text10") << "Text10" << 2 << "Check4";
    }

    void enteringABoxSelectsItsWholeText()
    {
        QFETCH(QString, name);
        QFETCH(int, option);
        QFETCH(QString, tick);
        showLeaf();
        f.option(option)->click();
        if (!tick.isEmpty())
            f.check(tick.toLatin1().constData())->click();
        QWidget *box = f.window->findChild<QWidget *>(name);
        QVERIFY(box->isEnabled());
        const auto selected = [box] {
            if (auto *line = qobject_cast<QLineEdit *>(box))
                return line->selectedText();
            return static_cast<QPlainTextEdit *>(box)->textCursor().selectedText();
        };
        if (auto *line = qobject_cast<QLineEdit *>(box))
            line->setText(QStringLiteral("123"));
        else
            static_cast<QPlainTextEdit *>(box)->setPlainText(QStringLiteral("123"));

        // By the program (as a Tab does) and by a click.
        f.view()->setFocus();
        box->setFocus(Qt::OtherFocusReason);
        QCOMPARE(selected(), QStringLiteral("123"));
        f.view()->setFocus();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        QTRY_COMPARE(selected(), QStringLiteral("123"));
    }

    void addingItemsTakesTheirNamesAndValues()
    {
        showLeaf();
        f.check("Check3")->click();
        QComboBox *items = f.combo("Combo6");
        const auto add = [&](const QString &name, const QString &value) {
            items->setEditText(name);
            f.type("Text8", value);
            f.click("Command3");
        };
        add(QStringLiteral("up"), QStringLiteral("1"));
        // Repeated names and values are accepted; the limit is the object limit.
        add(QStringLiteral("up"), QStringLiteral("1"));
        add(QStringLiteral("max"), QStringLiteral("1000"));
        add(QStringLiteral("zero"), QStringLiteral("0"));
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{QStringLiteral("up"), QStringLiteral("up"),
                                                       QStringLiteral("max"), QStringLiteral("zero"), QString()}));
        QCOMPARE(items->currentIndex(), 4);
        QCOMPARE(f.text("Text8"), QString());
        QCOMPARE(f.state->EnumValues[0], 1);
        QCOMPARE(f.state->EnumValues[1], 1);
        QCOMPARE(f.state->EnumValues[2], 1000);
        QCOMPARE(f.state->EnumValues[3], 0);
    }

    void addingAnItemAnswersEveryBadInput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("no name") << "" << "1" << "項目名を入力してください";
        QTest::newRow("blank name") << "   " << "1" << "項目名を入力してください";
        QTest::newRow("no value") << "a" << "" << "項目値を入力してください";
        QTest::newRow("negative") << "a" << "-1" << "項目値は数値を入力してください。";
        QTest::newRow("full-width") << "a" << "１" << "項目値は数値を入力してください。";
        QTest::newRow("above 1000") << "a" << "1001" << "項目値は最大1000までです。";
        QTest::newRow("far above") << "a" << "9999" << "項目値は最大1000までです。";
    }

    void addingAnItemAnswersEveryBadInput()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        showLeaf();
        f.check("Check3")->click();
        f.combo("Combo6")->setEditText(name);
        f.type("Text8", value);
        f.click("Command3");
        QCOMPARE(f.services->texts(), QStringList{message});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Warning);
        QCOMPARE(f.services->lastMessage().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(f.combo("Combo6")->count(), 0);
    }

    void aFullItemListRefusesTheNextItem()
    {
        showLeaf();
        f.check("Check3")->click();
        for (int i = 0; i < SlotCount; ++i) {
            f.combo("Combo6")->setEditText(QStringLiteral("i%1").arg(i));
            f.type("Text8", QStringLiteral("5"));
            f.click("Command3");
        }
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(f.combo("Combo6")->count(), SlotCount + 1);
        f.combo("Combo6")->setEditText(QStringLiteral("one more"));
        f.type("Text8", QStringLiteral("5"));
        f.click("Command3");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("リストの追加に失敗しました")});
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        QCOMPARE(f.combo("Combo6")->count(), SlotCount + 1);
        QCOMPARE(f.combo("Combo6")->itemText(SlotCount), QString());
    }

    void removingAnItemMovesTheValuesAfterIt()
    {
        LeafDefinition def;
        def.name = QStringLiteral("state");
        def.items = {{QStringLiteral("a"), 1}, {QStringLiteral("b"), 2}, {QStringLiteral("c"), 3}};
        addLeaf(*f.state, def);
        QVERIFY(f.show());
        f.clickText(QStringLiteral("state(1)"));
        // A name with a value it does not have is not removed.
        f.combo("Combo6")->setEditText(QStringLiteral("a"));
        f.type("Text8", QStringLiteral("5"));
        f.click("Command2");
        QCOMPARE(f.services->texts(), QStringList{QStringLiteral("このエントリは削除できません")});
        f.type("Text8", QString());
        f.click("Command2");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("リストの削除に失敗しました"));
        QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
        f.combo("Combo6")->setEditText(QString());
        f.click("Command2");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("項目名を選択してください"));
        QCOMPARE(f.comboEntries("Combo6").size(), 4);

        // The user picks the entry already current from the drop-down list,
        // which puts its name back in the box.
        f.combo("Combo6")->setEditText(QStringLiteral("a"));
        Q_EMIT f.combo("Combo6")->activated(0);
        QCOMPARE(f.text("Text8"), QStringLiteral("1"));
        f.click("Command2");
        QCOMPARE(f.services->messages.size(), 3);
        QCOMPARE(f.comboEntries("Combo6"), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QString()}));
        QCOMPARE(f.text("Text8"), QString());
        QCOMPARE(f.state->EnumValues[0], 2);
        QCOMPARE(f.state->EnumValues[1], 3);
    }
};

QTEST_MAIN(TreePanelTest)
#include "test_tree_panel.moc"
