// The object editor: its window as designed, the commit reaching the tables
// with its messages, and a whole design built through the dialog from the
// List window, saved and written as the expected files.
#include "designfile.h"
#include "editorrules.h"
#include "guidriver.h"
#include "listwindow.h"
#include "objecteditor.h"
#include "program.h"
#include "messagetexts.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QRadioButton>
#include <QTableWidget>

#include <functional>

using namespace korvel;
using namespace korvel::testing;

namespace {

// The parts of the design a commit may change: the file image of the tables
// and the four counters.
QByteArray snapshot(const AppState &state)
{
    const DefinitionTables &t = state.tables;
    return designFileImage(state) + QByteArray::number(t.MibTreeCount) + ',' + QByteArray::number(t.MibAttributeCount)
           + ',' + QByteArray::number(t.MibRangeCount) + ',' + QByteArray::number(t.MibListCount);
}

// The sample design, plus a node below sysInfo and a description on the
// table's entry.
void buildEditorDesign(AppState &state)
{
    buildSampleDesign(state);
    addNode(state, QStringLiteral("sysBoard"), 3, findObjectByName(state, QStringLiteral("sysInfo")));
    MibAttribute &entry = state.tables.attribute[attributeOf(state, findObjectByName(state, u"portEntry"_qs))];
    storeText(entry.Description, QStringLiteral("Port row"), NameWidth);
    entry.DescriptionLength = 8;
}

// Builds one object in an open editor, as a person would, and commits. The
// object is a line "level|kind option|setting|...", each setting as
// GuiDriver::set takes it; the level is the List window's, empty for the top.
void typeAndCommit(const GuiDriver &v, const QString &object)
{
    QStringList settings = object.split(u'|').mid(1);
    const QString option = u"Option1_%1"_qs.arg(QStringList{"Node", "Table", "Leaf"}.indexOf(settings.takeFirst()));
    if (!v.get<QRadioButton>(qPrintable(option))->isChecked())
        v.click(qPrintable(option));
    // The empty name entry resets what choosing the option loaded.
    v.choose("Combo5", QString());
    for (const QString &setting : settings + QStringList{"Command4"})
        v.set(setting);
}

} // namespace

class ObjectEditorTest : public QObject
{
    Q_OBJECT

private:
    GuiDriver f;

    ListWindow *showList()
    {
        return f.show(qobject_cast<ListWindow *>(f.services->openWindow(MainWindow::List)));
    }

    QTableWidget *grid() const { return f.get<QTableWidget>("MSFlexGrid1"); }

    QStringList rows() const
    {
        QStringList names;
        for (int row = 0; row < grid()->rowCount(); ++row)
            names.append(grid()->item(row, 0) ? grid()->item(row, 0)->text().trimmed() : QString());
        return names;
    }

    void click(const char *button) const { f.click(button); }

    // Runs `driver` on the editor the next command opens.
    std::shared_ptr<bool> driveEditor(std::function<void(const GuiDriver &)> driver)
    {
        auto ran = std::make_shared<bool>(false);
        f.services->drive(ModalDialog::Design, [ran, driver](QDialog &dialog) {
            *ran = true;
            GuiDriver v;
            v.window = &dialog;
            driver(v);
        });
        return ran;
    }

    // Adds `object` (a line as typeAndCommit takes it) through 追加 at its
    // level.
    void add(const QString &object)
    {
        const QString level = object.section(u'|', 0, 0);
        f.state->ListLevel = static_cast<int16_t>(level.isEmpty() ? RootSlot : findObjectByName(*f.state, level));
        qobject_cast<ListWindow *>(f.window)->refresh();
        const auto ran = driveEditor([object](const GuiDriver &v) { typeAndCommit(v, object); });
        click("Command12");
        QVERIFY(*ran);
    }

    // Opens 変更 on the object named `name`, at its parent's level.
    void change(const QString &name)
    {
        f.state->ListLevel = static_cast<int16_t>(f.state->tables.tree[findObjectByName(*f.state, name)].Parent);
        qobject_cast<ListWindow *>(f.window)->refresh();
        const int row = int(rows().indexOf(name));
        QVERIFY2(row >= 0, qPrintable(name));
        grid()->setCurrentCell(row, 0);
        click("Command7");
    }

private Q_SLOTS:
    void init()
    {
        f.setUp();
        registerProgramWindows(*f.services, *f.state);
    }
    void cleanup() { f.tearDown(); }

    // Captions, lists, limits and tab order as tests/data/editor/window.txt
    // has them; the help item; Cancel leaves the design as it was.
    void theWindowIsBuiltAsDesigned()
    {
        f.state->EditTarget = RootSlot;
        const QByteArray before = snapshot(*f.state);
        std::unique_ptr<ObjectEditor> editor = ObjectEditor::open(*f.state, *f.services, u"enterprise"_qs);
        QVERIFY(editor);
        f.show(editor.release());
        f.compareWithFile(QStringLiteral(KORVEL_TEST_DATA "/editor/window.txt"));
        f.trigger("DESIGN_HELP_HELP");
        QCOMPARE(f.services->helpRequests, 1);
        f.type("Combo5", QStringLiteral("renamed"));
        f.click("Command3");
        QTRY_VERIFY(!f.window);
        QCOMPARE(snapshot(*f.state), before);
        QVERIFY(f.services->messages.isEmpty());
    }

    // What 追加 or 変更 leads to after `settings` in the editor. `command`
    // is "add" at the top level, "add LEVEL" with the List window at LEVEL,
    // "add typed LEVEL" with LEVEL typed into its level box, or "change NAME".
    // The editor does not open below a table or a leaf; it stays open on a
    // field error and closes after a success or a refusal, which leaves the
    // tables as they were.
    void commitOutcomes_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("settings");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("changes");
        const auto row = [](const char *label, const char *command, const QStringList &settings,
                            const QStringList &messages, const char *editor, bool changes = false) {
            QTest::newRow(label) << QString::fromLatin1(command) << settings << messages << QString::fromLatin1(editor)
                                 << changes;
        };
        const QString failed = texts::addFailed();
        row("add: no name", "add", {"Combo5="}, {texts::nameEmpty()}, "open");
        row("add below the table shown", "add portTable", {}, {texts::parentIsTable(), failed}, "none");
        row("add below a leaf typed into the level box", "add typed sysMode", {}, {texts::parentIsLeaf(), failed},
            "none");
        row("change", "change sysMode", {"Text7=Mode"}, {texts::objectChanged()}, "closed", true);
        row("change: parent in its own subtree", "change sysInfo", {"Combo8=sysBoard", "Combo5=sysInfo", "Text1=1"},
            {texts::parentInOwnSubtree()}, "closed");
    }

    void commitOutcomes()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, settings);
        QFETCH(QStringList, messages);
        QFETCH(QString, editor);
        QFETCH(bool, changes);
        buildEditorDesign(*f.state);
        const QStringList words = command.split(u' ');
        if (words.size() == 2 && words[0] == QLatin1String("add"))
            f.state->ListLevel = static_cast<int16_t>(findObjectByName(*f.state, words[1]));
        QVERIFY(showList());
        if (words.size() == 3)
            f.type("Text1", words[2]);
        const QByteArray before = snapshot(*f.state);
        const QStringList shown = rows();
        QString after = QStringLiteral("none");
        driveEditor([&after, settings](const GuiDriver &v) {
            for (const QString &setting : settings)
                v.set(setting);
            v.click("Command4");
            after = v.window->isVisible() ? QStringLiteral("open") : QStringLiteral("closed");
        });
        words[0] == QLatin1String("change") ? change(words[1]) : click("Command12");
        QCOMPARE(f.services->texts(), messages);
        QCOMPARE(after, editor);
        QCOMPARE(snapshot(*f.state) == before, !changes);
        if (editor == QLatin1String("none")) {
            // The refusal is a warning; the failed command reports an error.
            QCOMPARE(f.services->messages.first().caption, QStringLiteral("注意メッセージ"));
            QCOMPARE(f.services->messages.first().icon, MessageIcon::Exclamation);
            QCOMPARE(f.services->lastMessage().kind, MessageKind::Error);
            QCOMPARE(rows(), shown);
        }
    }

    void aDesignBuiltInTheEditorSavesAndWritesTheExpectedFiles()
    {
        const QByteArray typed = GuiDriver::contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.txt"));
        QStringList objects = QString::fromUtf8(typed).split(u'\n', Qt::SkipEmptyParts);
        objects.removeIf([](const QString &line) { return line.startsWith(u'#'); });
        QCOMPARE(objects.size(), 8);
        QVERIFY(showList());
        for (const QString &object : objects)
            add(object);
        QCOMPARE(f.services->texts(), QStringList(objects.size(), texts::objectAdded()));

        const QString design = f.path(QStringLiteral("built.mdf"));
        const QString mib = f.path(QStringLiteral("built.mib"));
        f.services->answerFileDialog(*f.state, design);
        f.trigger("MIB_SAVE");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("ファイルに保存しました。"));
        QCOMPARE(GuiDriver::contents(design), GuiDriver::contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.mdf")));
        f.services->answerFileDialog(*f.state, mib);
        click("Command3");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("MIBファイルを作成しました。"));
        QCOMPARE(GuiDriver::contents(mib), GuiDriver::contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.mib")));

        // Every object opened in change mode and committed untouched stays
        // exactly as it was.
        const QByteArray before = snapshot(*f.state);
        f.services->messages.clear();
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (f.state->tables.tree[slot].InUse == 1) {
                driveEditor([](const GuiDriver &v) { v.click("Command4"); });
                change(displayedName(*f.state, slot));
            }
        }
        QCOMPARE(f.services->texts(), QStringList(9, texts::objectChanged()));
        QCOMPARE(snapshot(*f.state), before);
    }
};

QTEST_MAIN(ObjectEditorTest)
#include "test_objecteditor.moc"
