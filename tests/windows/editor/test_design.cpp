// The object editor's window and opening: its controls, the add and change
// opening sequences, the parent list, the kind options and the name list,
// and how the fields are loaded, the last from the cases of
// tests/data/editor/fields.txt.
#include "designfixture.h"

#include <QAction>
#include <QApplication>
#include <QMap>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QString Parents = QStringLiteral(
    "enterprise,sysInfo,sysTemperature,sysMode,portTable,portEntry,portIndex,portName,portStatus,sysBoard");

// What an add at the top of an empty design shows, besides empty texts.
const QStringList Defaults{"option=Node",    "parents=enterprise", "Combo8=enterprise", "Combo7=INTEGER",
                           "Combo1=read-only", "Command4=   追加",  "Check4=0",          "Check3=0",
                           "Check1=0"};

// The groups of controls the expected enabled lists may name.
const QMap<QString, QString> Groups{{QStringLiteral("Leaf"), LeafControls},
                                   {QStringLiteral("Range"), RangeControls},
                                   {QStringLiteral("Items"), ItemControls},
                                   {QStringLiteral("Key"), KeyControls}};

} // namespace

class DesignTest : public QObject
{
    Q_OBJECT

private:
    EditorFixture f;

    // Everything the dialog shows, as "key=value": the kind option, the
    // lists' entries, the texts, the ticks, which controls are usable and the
    // first four EnumValues.
    QMap<QString, QString> shown() const
    {
        const EditorView &v = f.view;
        const char *kinds[] = {"Node", "Table", "Leaf"};
        QMap<QString, QString> all{{QStringLiteral("option"), QLatin1String(kinds[static_cast<int>(v.kind())])},
                                   {QStringLiteral("parents"), v.entries("Combo8").join(u',')},
                                   {QStringLiteral("names"), v.entries("Combo5").join(u',')},
                                   {QStringLiteral("items"), v.entries("Combo6").join(u',')},
                                   {QStringLiteral("enabled"), v.usable()}};
        for (const char *name : {"Combo8", "Combo5", "Text1", "Text7", "Text3", "Combo7", "Text9", "Text10", "Combo6",
                                 "Text8", "Combo1", "Text2", "Command4"})
            all[QLatin1String(name)] = v.text(name);
        for (const char *name : {"Check4", "Check3", "Check1"})
            all[QLatin1String(name)] = v.check(name)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        QStringList values;
        for (int i = 0; i < 4; ++i)
            values.append(QString::number(f.state->EnumValues[i]));
        all[QStringLiteral("values")] = values.join(u',');
        return all;
    }

    // Compares what the dialog shows after `step` with what an add at the
    // top of an empty design shows, changed by `changes`; the values only
    // when given.
    void compareFields(const QString &step, const QStringList &changes)
    {
        const QMap<QString, QString> actual = shown();
        QMap<QString, QString> expected;
        for (const QString &key : actual.keys())
            expected[key] = QString();
        expected.remove(QStringLiteral("values"));
        for (const QString &change : Defaults + changes)
            expected[change.section(u'=', 0, 0)] = change.section(u'=', 1);
        QStringList usable = expected.value(QStringLiteral("enabled")).split(u',');
        for (QString &name : usable)
            name = Groups.value(name, name);
        expected[QStringLiteral("enabled")] = sortedNames(usable.join(u','));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(step + u'|' + it.key() + u'=' + actual.value(it.key()),
                     step + u'|' + it.key() + u'=' + it.value());
    }

    // Runs one step of a case of tests/data/editor/fields.txt.
    void act(const QString &action, const QString &argument)
    {
        if (action == QLatin1String("parent")) {
            f.view.choose("Combo8", argument);
        } else if (action == QLatin1String("name")) {
            f.view.choose("Combo5", argument);
        } else if (action == QLatin1String("type")) {
            f.view.type("Combo5", argument);
        } else if (action == QLatin1String("edit")) {
            f.view.type("Text7", argument);
            QLineEdit *nameBox = f.view.combo("Combo5")->lineEdit();
            QTest::keyClick(nameBox, Qt::Key_Return);
            QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
            QCoreApplication::sendEvent(nameBox, &left);
        } else {
            const int kind = int(QStringList{"Node", "Table", "Leaf"}.indexOf(argument));
            QAbstractButton *button = kind >= 0 ? f.view.option(static_cast<KindOption>(kind))
                                                : f.view.get<QAbstractButton>(qPrintable(argument));
            if (action == QLatin1String("click"))
                QTest::mouseClick(button, Qt::LeftButton);
            else if (action == QLatin1String("option") || action == QLatin1String("untick"))
                button->setChecked(action == QLatin1String("option"));
            else
                QFAIL(qPrintable(QStringLiteral("no action ") + action));
        }
    }

private Q_SLOTS:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    // The title, captions, list entries and tab order of
    // tests/data/editor/window.txt, which says how they read.
    void theWindowIsBuiltAsDesigned()
    {
        QVERIFY(f.openAdd());
        QStringList expected = QString::fromUtf8(contents(QStringLiteral(KORVEL_TEST_DATA "/editor/window.txt")))
                                   .split(u'\n', Qt::SkipEmptyParts);
        expected.removeIf([](const QString &line) { return line.startsWith(u'#'); });
        QVERIFY(!expected.isEmpty());
        QStringList actual;
        for (const QString &line : std::as_const(expected)) {
            const QString name = line.section(u'=', 0, 0);
            const QObject *control =
                name == f.dialog->objectName() ? f.dialog.get() : f.dialog->findChild<QObject *>(name);
            QStringList shown;
            if (name == QLatin1String("tab")) {
                const QStringList controls = line.section(u'=', 1).split(u',');
                QWidget *widget = f.view.get<QWidget>("Combo8");
                for (int step = 0; step < 200 && shown.size() < controls.size(); ++step) {
                    if (controls.contains(widget->objectName()) && !shown.contains(widget->objectName()))
                        shown.append(widget->objectName());
                    widget = widget->nextInFocusChain();
                }
            } else if (qobject_cast<const QComboBox *>(control)) {
                shown = f.view.entries(qPrintable(name));
            } else if (control) {
                // Frames and menus have a title, the rest a text.
                const char *property = control == f.dialog.get()            ? "windowTitle"
                                       : control->property("title").isValid() ? "title"
                                                                              : "text";
                shown.append(control->property(property).toString());
            }
            actual.append(name + u'=' + shown.join(u','));
        }
        QCOMPARE(actual, expected);
        QCOMPARE(f.view.get<QLineEdit>("Text1")->maxLength(), 10);

        // Under the Node option the two frames are off, and with them every
        // control inside, whatever its own state.
        for (const char *frame : {"Frame2", "Frame3"}) {
            const auto inside = f.view.get<QWidget>(frame)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            QVERIFY(!inside.isEmpty());
            for (QWidget *control : inside) {
                control->setEnabled(true);
                QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
            }
        }

        // The descriptions hold 255 characters, and entering a text box
        // selects its whole text, by a click as by Tab.
        f.view.get<QWidget>("Frame2")->setEnabled(true);
        QPlainTextEdit *description = f.view.get<QPlainTextEdit>("Text7");
        description->setEnabled(true);
        description->setPlainText(QString(300, u'x'));
        QCOMPARE(description->toPlainText().size(), 255);
        QLineEdit *id = f.view.get<QLineEdit>("Text1");
        id->setText(QStringLiteral("1a2"));
        f.dialog->show();
        QApplication::setActiveWindow(f.dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(f.dialog.get()));
        QTest::mouseClick(id, Qt::LeftButton, {}, QPoint(4, id->height() / 2));
        QTRY_COMPARE(id->selectedText(), QStringLiteral("1a2"));
        description->moveCursor(QTextCursor::End);
        QTest::keyClick(id, Qt::Key_Tab);
        QCOMPARE(description->textCursor().selectedText(), QString(255, u'x'));
        QTest::mouseClick(id, Qt::LeftButton);
        description->moveCursor(QTextCursor::End);
        QTest::mouseClick(description->viewport(), Qt::LeftButton, {}, QPoint(4, 4));
        QTRY_COMPARE(description->textCursor().selectedText(), QString(255, u'x'));
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

    // The cases of tests/data/editor/fields.txt, which says how they read.
    void fields_data()
    {
        QTest::addColumn<bool>("gapped");
        QTest::addColumn<QStringList>("script");
        const QByteArray text = contents(QStringLiteral(KORVEL_TEST_DATA "/editor/fields.txt"));
        QList<QStringList> cases;
        for (const QString &line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u'#'))
                continue;
            if (line.startsWith(QLatin1String("== ")))
                cases.append({line.mid(3)});
            else if (cases.isEmpty())
                QFAIL("a step before the first case");
            else
                cases.last().append(line);
        }
        QVERIFY(!cases.isEmpty());
        for (QStringList script : std::as_const(cases)) {
            const QString name = script.takeFirst();
            QVERIFY2(!script.isEmpty() && script.first().split(u' ').size() == 4, qPrintable(name));
            QTest::newRow(qPrintable(name)) << false << script;
            if (script.first().contains(QLatin1String(" sample ")))
                QTest::newRow(qPrintable(name + QStringLiteral(" (gapped)"))) << true << script;
        }
    }

    void fields()
    {
        QFETCH(bool, gapped);
        QFETCH(QStringList, script);
        QString step = script.takeFirst();
        const QStringList open = step.split(u' ');
        QStringList common;
        if (open[2] == QLatin1String("sample")) {
            buildEditorDesign(*f.state, gapped);
            common.append(QStringLiteral("parents=") + Parents);
        }
        const bool change = open[1] == QLatin1String("change");
        if (change)
            common.append(QStringLiteral("Command4=   変更"));
        f.state->EnumValues.fill(7);
        const QByteArray before = snapshot(*f.state);
        QVERIFY(change ? f.openChange(open[3]) : f.openAdd(open[3]));
        f.dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
        QStringList fields = common;
        for (const QString &line : script + QStringList{QString()}) {
            if (line.startsWith(u' ')) {
                fields.append(line.trimmed());
                continue;
            }
            compareFields(step, fields);
            if (line.isEmpty())
                break;
            step = line;
            act(line.section(u' ', 0, 0), line.section(u' ', 1));
            fields = common;
        }
        QVERIFY(f.services->messages.isEmpty());
        QCOMPARE(snapshot(*f.state), before);
    }
};

QTEST_MAIN(DesignTest)
#include "test_design.moc"
