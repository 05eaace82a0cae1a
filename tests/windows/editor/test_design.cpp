// The object editor's window and opening: its controls, the add and change
// opening sequences, the parent list, the kind options and the name list,
// and how the fields are loaded.
#include "designfixture.h"

#include <QAction>

#include <functional>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Parents = QStringLiteral(
    "enterprise,sysInfo,sysTemperature,sysMode,portTable,portEntry,portIndex,portName,portStatus,sysBoard");

enum class Start { Empty, Sample, Gapped };

} // namespace

class DesignTest : public QObject
{
    Q_OBJECT

private:
    EditorFixture f;

    void compareFields(const QStringList &changes)
    {
        const QMap<QString, QString> actual = f.view.fields();
        const QMap<QString, QString> expected = EditorView::expectedFields(changes);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(it.key() + u'=' + actual.value(it.key()), it.key() + u'=' + it.value());
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void theWindowIsBuiltAsDesigned()
    {
        QVERIFY(f.openAdd());
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Korvel （詳細設定）"));
        const QStringList captions{
            "Label5=親オブジェクト", "Option1_0=ツリー",      "Option1_1=テーブル",      "Option1_2=オブジェクト",
            "Frame1=",               "Label6=名前",           "Label7=オブジェクトID",   "Frame2=説明",
            "Label4=ｴﾝﾄﾘの説明",     "Frame3=タイプ",         "Check4=範囲の指定",       "Label9=～",
            "Check3=リスト",         "Label8=名前",           "Label3=値",               "Command1=ﾘｽﾄへ追加",
            "Command2=ﾘｽﾄから削除",  "Label1=アクセス権",     "Check1=ﾃｰﾌﾞﾙｷｰ",          "Label2=順位",
            "Command4=   追加",      "Command3=    ｷｬﾝｾﾙ",    "DESIGN_HELP=ﾍﾙﾌﾟ(&H)",    "DESIGN_HELP_HELP=ﾍﾙﾌﾟ(&H)"};
        QStringList shown;
        for (const QString &caption : captions) {
            const QString name = caption.section(u'=', 0, 0);
            const QObject *control = f.dialog->findChild<QObject *>(name);
            QVERIFY2(control, qPrintable(name));
            // Frames and menus have a title, the rest a text.
            shown.append(name + u'=' + control->property(control->property("title").isValid() ? "title" : "text").toString());
        }
        QCOMPARE(shown, captions);
        QCOMPARE(f.view.entries("Combo7"),
                 (QStringList{"INTEGER", "OCTET STRING", "OBJECT IDENTIFIER", "IpAddress", "Counter", "Gauge",
                              "TimeTicks", "Opaque"}));
        QCOMPARE(f.view.entries("Combo1"), (QStringList{"read-only", "read-write", "not-accessible"}));
        QVERIFY(!f.view.combo("Combo8")->isEditable());
        QVERIFY(f.view.combo("Combo5")->isEditable());
        QVERIFY(f.view.combo("Combo6")->isEditable());
        QCOMPARE(f.view.get<QLineEdit>("Text1")->maxLength(), 3);

        QStringList order;
        const QStringList controls{"Combo8", "Option1_0", "Option1_1", "Option1_2", "Combo5",   "Text1",
                                   "Text7",  "Text3",     "Combo7",    "Check4",    "Text9",    "Text10",
                                   "Check3", "Combo6",    "Text8",     "Command1",  "Command2", "Combo1",
                                   "Check1", "Text2",     "Command4",  "Command3"};
        QWidget *widget = f.view.get<QWidget>("Combo8");
        for (int step = 0; step < 200 && order.size() < controls.size(); ++step) {
            if (controls.contains(widget->objectName()) && !order.contains(widget->objectName()))
                order.append(widget->objectName());
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, controls);

        // Under the Node option the two frames are off, and with them every
        // control inside, whatever its own state.
        for (const char *frame : {"Frame2", "Frame3"}) {
            const QList<QWidget *> inside = f.view.get<QWidget>(frame)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            QVERIFY(!inside.isEmpty());
            for (QWidget *control : inside) {
                control->setEnabled(true);
                QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
            }
        }

        // The two descriptions take 255 characters, typed or pasted.
        f.view.get<QWidget>("Frame2")->setEnabled(true);
        for (const char *name : {"Text7", "Text3"}) {
            QPlainTextEdit *box = f.view.get<QPlainTextEdit>(name);
            box->setEnabled(true);
            box->setPlainText(QString(254, u'a'));
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, QStringLiteral("bcd"));
            QCOMPARE(box->toPlainText().right(3), QStringLiteral("aab"));
            QCOMPARE(box->toPlainText().size(), 255);
            box->setPlainText(QString(300, u'x'));
            QCOMPARE(box->toPlainText().size(), 255);
        }

        // Entering a text box selects its whole text.
        for (const char *name : {"Text1", "Text2", "Text3", "Text7", "Text8", "Text9", "Text10"}) {
            QWidget *box = f.view.get<QWidget>(name);
            auto *line = qobject_cast<QLineEdit *>(box);
            auto *multi = qobject_cast<QPlainTextEdit *>(box);
            line ? line->setText(QStringLiteral("1a2")) : multi->setPlainText(QStringLiteral("1a2"));
            line ? line->setCursorPosition(2) : multi->moveCursor(QTextCursor::End);
            QFocusEvent entered(QEvent::FocusIn, Qt::MouseFocusReason);
            QCoreApplication::sendEvent(box, &entered);
            const QString selected = line ? line->selectedText() : multi->textCursor().selectedText();
            const int start = line ? line->selectionStart() : multi->textCursor().selectionStart();
            QCOMPARE(QString::number(start) + u'|' + selected, QStringLiteral("0|1a2"));
        }
    }

    void theHelpItemOpensTheHelpAndCancelClosesWithoutChanges()
    {
        buildEditorDesign(*f.state);
        const QByteArray before = snapshot(*f.state);
        QVERIFY(f.openChange(QStringLiteral("sysMode")));
        f.view.get<QAction>("DESIGN_HELP_HELP")->trigger();
        QCOMPARE(f.services->helpRequests, 1);

        f.dialog->show();
        f.view.type("Combo5", QStringLiteral("renamed"));
        f.view.check("Check4")->setChecked(false);
        f.view.click("Command3");
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QCOMPARE(snapshot(*f.state), before);
        QVERIFY(f.services->messages.isEmpty());
    }

    // Add mode opens at the List window's level (or the name of the object
    // changed); change mode loads the object, also when free slots left by
    // deleted objects lie between the used ones.
    void opening_data()
    {
        QTest::addColumn<Start>("start");
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("add: top of an empty design") << Start::Empty << false << "enterprise" << QStringList{};
        const QStringList top{"names=sysInfo,", "Combo5=sysInfo", "Text1=1"};
        QTest::newRow("add: top level, its first node shown") << Start::Sample << false << "enterprise" << top;
        QTest::newRow("add: a level no object has is the top") << Start::Sample << false << "noSuchObject" << top;
        QTest::newRow("add: under a node, empty name")
            << Start::Sample << false << "sysInfo" << QStringList{"Combo8=sysInfo", "names=sysBoard,"};
        QTest::newRow("add: under an entry, Leaf with its columns")
            << Start::Gapped << false << "portEntry"
            << QStringList{"Combo8=portEntry", "option=Leaf", "names=portIndex,portName,portStatus,",
                           "enabled=" + LeafControls};
        const QString leaves = QStringLiteral("names=sysTemperature,sysMode,");
        const QString columns = QStringLiteral("names=portIndex,portName,portStatus,");
        for (const Start start : {Start::Sample, Start::Gapped}) {
            const auto row = [start](const char *label) -> QTestData & {
                return QTest::newRow(qPrintable(QStringLiteral("change: ") + QString::fromLatin1(label)
                                                + (start == Start::Gapped ? " (gapped)" : "")));
            };
            row("node") << start << true << "sysInfo" << top + QStringList{"names=sysInfo,"};
            row("table: full name and description, entry description off")
                << start << true << "portTable"
                << QStringList{"option=Table", "names=portTable,", "Combo5=portTable", "Text1=2", "Text7=Ports",
                               "Combo1=not-accessible", "enabled=Frame2,Text7"};
            row("entry: its description in the entry box")
                << start << true << "portEntry"
                << QStringList{"Combo8=portTable", "option=Table", "names=portEntry,", "Combo5=portEntry", "Text1=1",
                               "Text3=Port row", "Combo1=not-accessible", "enabled=Frame2,Label4,Text3"};
            row("leaf with a range")
                << start << true << "sysTemperature"
                << QStringList{"Combo8=sysInfo", "option=Leaf", leaves, "Combo5=sysTemperature", "Text1=1",
                               "Text7=Board temperature", "Check4=1", "Text9=-40", "Text10=125",
                               "enabled=" + LeafControls + ',' + RangeControls};
            row("leaf with an enumeration")
                << start << true << "sysMode"
                << QStringList{"Combo8=sysInfo", "option=Leaf", leaves, "Combo5=sysMode", "Text1=2",
                               "Text7=Operating mode", "Check3=1", "items=normal,standby,off,", "Combo6=normal",
                               "Text8=1", "Combo1=read-write", "enabled=" + LeafControls + ',' + ItemControls};
            row("key column")
                << start << true << "portIndex"
                << QStringList{"Combo8=portEntry", "option=Leaf", columns, "Combo5=portIndex", "Text1=1",
                               "Text7=Port number", "Check4=1", "Text9=1", "Text10=64", "Check1=1", "Text2=1",
                               "enabled=" + LeafControls + ',' + RangeControls + ',' + KeyControls};
            row("octet string: no enumeration")
                << start << true << "portName"
                << QStringList{"Combo8=portEntry", "option=Leaf", columns, "Combo5=portName", "Text1=2",
                               "Text7=ポート名", "Combo7=OCTET STRING", "Combo1=read-write",
                               "enabled=" + QString(LeafControls).remove(QStringLiteral("Check3,"))};
        }
    }

    void opening()
    {
        QFETCH(Start, start);
        QFETCH(bool, change);
        QFETCH(QString, name);
        QFETCH(QStringList, fields);
        if (start != Start::Empty) {
            buildEditorDesign(*f.state, start == Start::Gapped);
            fields.prepend(QStringLiteral("parents=") + Parents);
        }
        if (change)
            fields.prepend(QStringLiteral("Command4=   変更"));
        f.state->EnumValues.fill(7);
        const QByteArray before = snapshot(*f.state);
        QVERIFY(change ? f.openChange(name) : f.openAdd(name));
        compareFields(fields);
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(snapshot(*f.state), before);
        // Only loading an enumeration clears the values shared with the tree.
        const QList<int> values = name == QLatin1String("sysMode") ? QList<int>{1, 2, 0, 0} : QList<int>{7, 7, 7, 7};
        QCOMPARE(QList<int>(f.state->EnumValues.begin(), f.state->EnumValues.begin() + 4), values);
    }

    // The parent list presets the kind option from the parent's first child,
    // the kind option refills the name list and loads its first object,
    // picking a name loads it and typing one leaves the fields alone.
    void theListsAndOptionsDriveEachOther()
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openAdd());
        f.dialog->show();
        const auto parent = [this](const char *name) { return [this, name] { f.view.choose("Combo8", name); }; };
        const auto option = [this](KindOption kind) { return [this, kind] { f.view.option(kind)->setChecked(true); }; };
        const auto name = [this](const char *text) { return [this, text] { f.view.choose("Combo5", text); }; };
        const auto typed = [this](const char *text) { return [this, text] { f.view.type("Combo5", text); }; };
        const QStringList status{"Combo8=portEntry", "option=Leaf", "names=portIndex,portName,portStatus,",
                                 "Combo5=portStatus", "Text1=3", "Text7=Link state", "Check3=1", "items=up,down,",
                                 "Combo6=up", "Text8=1", "enabled=" + LeafControls + ',' + ItemControls};
        const QList<QPair<std::function<void()>, QStringList>> steps{
            {parent("sysInfo"),
             {"Combo8=sysInfo", "option=Leaf", "names=sysTemperature,sysMode,", "Combo5=sysTemperature", "Text1=1",
              "Text7=Board temperature", "Check4=1", "Text9=-40", "Text10=125",
              "enabled=" + LeafControls + ',' + RangeControls}},
            {option(KindOption::Node), {"Combo8=sysInfo", "names=sysBoard,", "Combo5=sysBoard", "Text1=3"}},
            {option(KindOption::Table), {"Combo8=sysInfo", "option=Table", "enabled=Frame2,Text7,Label4,Text3"}},
            {parent("portTable"),
             {"Combo8=portTable", "option=Table", "names=portEntry,", "Combo5=portEntry", "Text1=1", "Text3=Port row",
              "Combo1=not-accessible", "enabled=Frame2,Text7,Label4,Text3"}},
            {parent("portEntry"),
             {"Combo8=portEntry", "option=Leaf", "names=portIndex,portName,portStatus,", "Combo5=portIndex", "Text1=1",
              "Text7=Port number", "Check4=1", "Text9=1", "Text10=64", "Check1=1", "Text2=1",
              "enabled=" + LeafControls + ',' + RangeControls + ',' + KeyControls}},
            {name("portStatus"), status},
            {typed("portSpeed"), status + QStringList{"Combo5=portSpeed"}},
            {typed("portName"), status + QStringList{"Combo5=portName"}},
            // Neither Enter nor leaving the name box chooses the entry typed.
            {[this] {
                 f.view.type("Text7", QStringLiteral("Edited"));
                 QLineEdit *nameBox = f.view.combo("Combo5")->lineEdit();
                 QTest::keyClick(nameBox, Qt::Key_Return);
                 QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
                 QCoreApplication::sendEvent(nameBox, &left);
             },
             status + QStringList{"Combo5=portName", "Text7=Edited"}},
            {parent("portIndex"), {"Combo8=portIndex"}},
            {parent("enterprise"), {"names=sysInfo,", "Combo5=sysInfo", "Text1=1"}},
        };
        for (const auto &[act, fields] : steps) {
            act();
            compareFields(QStringList{"parents=" + Parents} + fields);
        }
        f.dialog->close();
    }

    void theEntryDescriptionStaysOffAfterATableUntilAKindIsChosenAgain()
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openChange(QStringLiteral("portTable")));
        f.dialog->show();
        f.view.choose("Combo5", QString());
        QVERIFY(f.view.text("Text7").isEmpty());
        QVERIFY(f.view.enabled("Text7"));
        QVERIFY(!f.view.enabled("Text3"));
        QVERIFY(!f.view.enabled("Label4"));
        // Clicking the option already chosen chooses it again: its enabled
        // states are set after the first table has been loaded.
        QTest::mouseClick(f.view.option(KindOption::Table), Qt::LeftButton);
        QCOMPARE(f.view.text("Combo5"), QStringLiteral("portTable"));
        QCOMPARE(f.view.text("Text7"), QStringLiteral("Ports"));
        QVERIFY(f.view.enabled("Text3"));
        f.dialog->close();
    }

    void userActionsRunTheSameHandlersAsCode()
    {
        buildEditorDesign(*f.state);
        QVERIFY(f.openAdd(QStringLiteral("sysInfo")));
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        QTest::mouseClick(f.view.option(KindOption::Leaf), Qt::LeftButton);
        const QMap<QString, QString> clicked = f.view.fields();
        QCOMPARE(clicked.value("Combo5"), QStringLiteral("sysTemperature"));

        f.view.option(KindOption::Node)->setChecked(true);
        f.view.option(KindOption::Leaf)->setChecked(true);
        QCOMPARE(f.view.fields(), clicked);

        // A box ticked by a click and by code: the same controls follow.
        f.view.choose("Combo5", QStringLiteral("sysMode"));
        QTest::mouseClick(f.view.check("Check1"), Qt::LeftButton);
        QVERIFY(f.view.check("Check1")->isChecked());
        QVERIFY(f.view.enabled("Text2"));
        f.view.check("Check1")->setChecked(false);
        QVERIFY(!f.view.enabled("Text2"));
        QVERIFY(!f.view.enabled("Label2"));
        f.dialog->close();
    }
};

QTEST_MAIN(DesignTest)
#include "test_design.moc"
