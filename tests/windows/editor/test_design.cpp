// The object editor's window and opening: its controls, the add and change
// opening sequences, the parent list, the kind options and the name list,
// and how the fields are loaded.
#include "designfixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include <functional>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Parents = QStringLiteral(
    "enterprise,sysInfo,sysTemperature,sysMode,portTable,portEntry,portIndex,portName,portStatus,sysBoard");
const QString LeafControls = QStringLiteral("Frame2,Text7,Frame3,Combo7,Check4,Check3,Label1,Combo1,Check1");
const QString RangeControls = QStringLiteral("Text9,Label9,Text10");
const QString ItemControls = QStringLiteral("Label8,Combo6,Label3,Text8,Command1,Command2");

QString captionOf(const QObject *object)
{
    if (auto *button = qobject_cast<const QAbstractButton *>(object))
        return button->text();
    if (auto *label = qobject_cast<const QLabel *>(object))
        return label->text();
    if (auto *frame = qobject_cast<const QGroupBox *>(object))
        return frame->title();
    if (auto *menu = qobject_cast<const QMenu *>(object))
        return menu->title();
    if (auto *action = qobject_cast<const QAction *>(object))
        return action->text();
    return QStringLiteral("<no caption>");
}

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

    void controlsCarryTheirNamesAndCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        const QList<QPair<QString, QString>> rows{
            {"Label5", "親オブジェクト"},   {"Option1_0", "ツリー"},     {"Option1_1", "テーブル"},
            {"Option1_2", "オブジェクト"},  {"Frame1", ""},              {"Label6", "名前"},
            {"Label7", "オブジェクトID"},   {"Frame2", "説明"},          {"Label4", "ｴﾝﾄﾘの説明"},
            {"Frame3", "タイプ"},           {"Check4", "範囲の指定"},    {"Label9", "～"},
            {"Check3", "リスト"},           {"Label8", "名前"},          {"Label3", "値"},
            {"Command1", "ﾘｽﾄへ追加"},      {"Command2", "ﾘｽﾄから削除"}, {"Label1", "アクセス権"},
            {"Check1", "ﾃｰﾌﾞﾙｷｰ"},          {"Label2", "順位"},          {"Command4", "   追加"},
            {"Command3", "    ｷｬﾝｾﾙ"},      {"DESIGN_HELP", "ﾍﾙﾌﾟ(&H)"}, {"DESIGN_HELP_HELP", "ﾍﾙﾌﾟ(&H)"}};
        for (const auto &[name, caption] : rows)
            QTest::newRow(name.toLatin1().constData()) << name << caption;
    }

    void controlsCarryTheirNamesAndCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QVERIFY(f.openAdd());
        const QObject *control = f.dialog->findChild<QObject *>(name);
        QVERIFY(control);
        QCOMPARE(captionOf(control), caption);
    }

    void theWindowListsLengthsAndTabOrderAreAsDesigned()
    {
        QVERIFY(f.openAdd());
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Korvel （詳細設定）"));
        QCOMPARE(f.view.entries("Combo7"),
                 (QStringList{"INTEGER", "OCTET STRING", "OBJECT IDENTIFIER", "IpAddress", "Counter", "Gauge",
                              "TimeTicks", "Opaque"}));
        QCOMPARE(f.view.entries("Combo1"), (QStringList{"read-only", "read-write", "not-accessible"}));
        QVERIFY(!f.view.combo("Combo8")->isEditable());
        QVERIFY(f.view.combo("Combo5")->isEditable());
        QVERIFY(f.view.combo("Combo6")->isEditable());
        QCOMPARE(f.view.line("Text1")->maxLength(), 3);

        // The two descriptions take 255 characters, typed or pasted.
        f.view.get<QWidget>("Frame2")->setEnabled(true);
        for (const char *name : {"Text7", "Text3"}) {
            QPlainTextEdit *box = f.view.box(name);
            box->setEnabled(true);
            box->setPlainText(QString(254, u'a'));
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, QStringLiteral("bcd"));
            QCOMPARE(box->toPlainText().right(3), QStringLiteral("aab"));
            QCOMPARE(box->toPlainText().size(), 255);
            box->setPlainText(QString(300, u'x'));
            QCOMPARE(box->toPlainText().size(), 255);
        }

        QStringList order;
        const QStringList controls{"Combo8",  "Option1_0", "Option1_1", "Option1_2", "Combo5",   "Text1",
                                   "Text7",   "Text3",     "Combo7",    "Check4",    "Text9",    "Text10",
                                   "Check3",  "Combo6",    "Text8",     "Command1",  "Command2", "Combo1",
                                   "Check1",  "Text2",     "Command4",  "Command3"};
        QWidget *widget = f.view.get<QWidget>("Combo8");
        for (int step = 0; step < 200 && order.size() < controls.size(); ++step) {
            if (controls.contains(widget->objectName()) && !order.contains(widget->objectName()))
                order.append(widget->objectName());
            widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, controls);
    }

    void theFramesDisableWhatTheyHold()
    {
        QVERIFY(f.openAdd());
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
    }

    void theHelpItemOpensTheHelpAndCancelClosesWithoutChanges()
    {
        buildEditorDesign(*f.state);
        const Snapshot before = snapshot(*f.state);
        QVERIFY(f.openChange(QStringLiteral("sysMode")));
        f.view.get<QAction>("DESIGN_HELP_HELP")->trigger();
        QCOMPARE(f.services->helpRequests, 1);

        f.dialog->show();
        f.view.type("Combo5", QStringLiteral("renamed"));
        f.view.check("Check4")->setChecked(false);
        f.view.click("Command3");
        QVERIFY(!f.dialog->isVisible());
        QCOMPARE(f.dialog->result(), int(QDialog::Rejected));
        QVERIFY(snapshot(*f.state) == before);
        QVERIFY(f.services->messages.isEmpty());
    }

    void enteringATextBoxSelectsItsWholeText_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Text1", "Text2", "Text3", "Text7", "Text8", "Text9", "Text10"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void enteringATextBoxSelectsItsWholeText()
    {
        QFETCH(QString, name);
        QVERIFY(f.openAdd());
        const QString text = QStringLiteral("1a2");
        QWidget *box = f.dialog->findChild<QWidget *>(name);
        auto *line = qobject_cast<QLineEdit *>(box);
        auto *multi = qobject_cast<QPlainTextEdit *>(box);
        line ? line->setText(text) : multi->setPlainText(text);
        line ? line->setCursorPosition(2) : multi->moveCursor(QTextCursor::End);

        QFocusEvent entered(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(box, &entered);
        if (line) {
            QCOMPARE(line->selectionStart(), 0);
            QCOMPARE(line->selectedText(), text);
        } else {
            QCOMPARE(multi->textCursor().selectionStart(), 0);
            QCOMPARE(multi->textCursor().selectedText(), text);
        }
    }

    void addModeOpens_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QStringList>("fields");
        const QString parents = QStringLiteral("parents=") + Parents;
        QTest::newRow("top of an empty design") << true << "enterprise" << QStringList{};
        QTest::newRow("top level: its first node is shown")
            << false << "enterprise"
            << QStringList{parents, "names=sysInfo,", "Combo5=sysInfo", "Text1=1"};
        QTest::newRow("a level no object has: the top level")
            << false << "noSuchObject"
            << QStringList{parents, "names=sysInfo,", "Combo5=sysInfo", "Text1=1"};
        QTest::newRow("under a node: Node option, empty name")
            << false << "sysInfo" << QStringList{parents, "Combo8=sysInfo", "names=sysBoard,"};
        QTest::newRow("under an entry: Leaf option, its columns listed")
            << false << "portEntry"
            << QStringList{parents, "Combo8=portEntry", "option=Leaf", "names=portIndex,portName,portStatus,",
                           "enabled=" + LeafControls};
    }

    void addModeOpens()
    {
        QFETCH(bool, empty);
        QFETCH(QString, level);
        QFETCH(QStringList, fields);
        if (!empty)
            buildEditorDesign(*f.state);
        const Snapshot before = snapshot(*f.state);
        QVERIFY(f.openAdd(level));
        compareFields(fields);
        QVERIFY(f.services->messages.isEmpty());
        QVERIFY(snapshot(*f.state) == before);
    }

    void changeModeLoadsTheObject_data()
    {
        QTest::addColumn<bool>("gapped");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("fields");
        const QString parents = QStringLiteral("parents=") + Parents;
        const QString change = QStringLiteral("Command4=   変更");
        const QString leaves = QStringLiteral("names=sysTemperature,sysMode,");
        const QString columns = QStringLiteral("names=portIndex,portName,portStatus,");
        for (const bool gapped : {false, true}) {
            const auto row = [gapped](const char *label) -> QTestData & {
                return QTest::newRow(qPrintable(QString::fromLatin1(label) + (gapped ? " (gapped)" : "")));
            };
            row("node") << gapped << "sysInfo"
                        << QStringList{parents, change, "names=sysInfo,", "Combo5=sysInfo", "Text1=1"};
            row("table: full name and its description, entry description off")
                << gapped << "portTable"
                << QStringList{parents, change, "option=Table", "names=portTable,", "Combo5=portTable", "Text1=2",
                               "Text7=Ports", "Combo1=not-accessible", "enabled=Frame2,Text7"};
            row("entry: its description in the entry box")
                << gapped << "portEntry"
                << QStringList{parents,      change,       "Combo8=portTable", "option=Table", "names=portEntry,",
                               "Combo5=portEntry", "Text1=1", "Text3=Port row", "Combo1=not-accessible",
                               "enabled=Frame2,Label4,Text3"};
            row("leaf with a range")
                << gapped << "sysTemperature"
                << QStringList{parents, change, "Combo8=sysInfo", "option=Leaf", leaves, "Combo5=sysTemperature",
                               "Text1=1", "Text7=Board temperature", "Check4=1", "Text9=-40", "Text10=125",
                               "enabled=" + LeafControls + ',' + RangeControls};
            row("leaf with an enumeration")
                << gapped << "sysMode"
                << QStringList{parents, change, "Combo8=sysInfo", "option=Leaf", leaves, "Combo5=sysMode", "Text1=2",
                               "Text7=Operating mode", "Check3=1", "items=normal,standby,off,", "Combo6=normal",
                               "Text8=1", "Combo1=read-write", "enabled=" + LeafControls + ',' + ItemControls};
            row("key column")
                << gapped << "portIndex"
                << QStringList{parents, change, "Combo8=portEntry", "option=Leaf", columns, "Combo5=portIndex",
                               "Text1=1", "Text7=Port number", "Check4=1", "Text9=1", "Text10=64", "Check1=1",
                               "Text2=1", "enabled=" + LeafControls + ',' + RangeControls + ",Label2,Text2"};
            row("octet string: no enumeration")
                << gapped << "portName"
                << QStringList{parents, change, "Combo8=portEntry", "option=Leaf", columns, "Combo5=portName",
                               "Text1=2", "Text7=ポート名", "Combo7=OCTET STRING", "Combo1=read-write",
                               "enabled=" + QString(LeafControls).remove(QStringLiteral("Check3,"))};
        }
    }

    void changeModeLoadsTheObject()
    {
        QFETCH(bool, gapped);
        QFETCH(QString, name);
        QFETCH(QStringList, fields);
        buildEditorDesign(*f.state, gapped);
        f.state->EnumValues.fill(7);
        QVERIFY(f.openChange(name));
        compareFields(fields);
        if (name == QLatin1String("sysMode")) {
            QCOMPARE(f.state->EnumValues[0], 1);
            QCOMPARE(f.state->EnumValues[1], 2);
            QCOMPARE(f.state->EnumValues[2], 0);
            QCOMPARE(f.state->EnumValues[3], 0);
        }
        QVERIFY(f.services->messages.isEmpty());
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
              "enabled=" + LeafControls + ',' + RangeControls + ",Label2,Text2"}},
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
