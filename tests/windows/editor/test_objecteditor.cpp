// The object editor: its window as designed, a commit's outcome, and a whole
// design built through it from the List window, saved and written as the
// expected files.
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

    ListWindow *showList() { return f.show(qobject_cast<ListWindow *>(f.services->openWindow(MainWindow::List))); }

    QTableWidget *grid() const { return f.get<QTableWidget>("MSFlexGrid1"); }

    // Runs `driver` on the editor the next command opens.
    void driveEditor(std::function<void(const GuiDriver &)> driver)
    {
        f.services->drive(ModalDialog::Design, [driver](QDialog &dialog) {
            driver(GuiDriver::on(&dialog));
        });
    }

    // Adds `object` (a line as typeAndCommit takes it) through 追加 at its
    // level.
    void add(const QString &object)
    {
        const QString level = object.section(u'|', 0, 0);
        f.state->ListLevel = static_cast<int16_t>(level.isEmpty() ? RootSlot : findObjectByName(*f.state, level));
        qobject_cast<ListWindow *>(f.window)->refresh();
        driveEditor([object](const GuiDriver &v) { typeAndCommit(v, object); });
        f.click("Command12");
    }

    // Opens 変更 on the object named `name`, at its parent's level.
    void change(const QString &name)
    {
        f.state->ListLevel = static_cast<int16_t>(f.state->tables.tree[findObjectByName(*f.state, name)].Parent);
        qobject_cast<ListWindow *>(f.window)->refresh();
        QTableWidgetItem *row = grid()->findItems(u' ' + name, Qt::MatchEndsWith).value(0);
        QVERIFY2(row, qPrintable(name));
        grid()->setCurrentItem(row);
        f.click("Command7");
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

    // What 追加 or 変更 leads to: the editor stays open on a field error and
    // closes after a success; it does not open below a table, shown or typed
    // into the level box, and the command then reports its failure.
    void commitOutcomes()
    {
        buildSampleDesign(*f.state);
        QVERIFY(showList());
        struct Row {
            QString level; // where 追加 runs; empty: 変更 on sysMode
            bool typed;    // the level typed into the level box
            QStringList settings, messages;
            QString editor;
        };
        const QString failed = texts::addFailed();
        const Row rows[] = {{u"enterprise"_qs, false, {u"Combo5="_qs}, {texts::nameEmpty()}, u"open"_qs},
                            {u"portTable"_qs, false, {}, {texts::parentIsTable(), failed}, u"none"_qs},
                            {u"sysMode"_qs, true, {}, {texts::parentIsLeaf(), failed}, u"none"_qs},
                            {QString(), false, {u"Text7=Mode"_qs}, {texts::objectChanged()}, u"closed"_qs}};
        for (const Row &row : rows) {
            f.services->messages.clear();
            const QByteArray before = snapshot(*f.state);
            QString after = u"none"_qs;
            driveEditor([&after, &row](const GuiDriver &v) {
                for (const QString &setting : row.settings)
                    v.set(setting);
                v.click("Command4");
                after = v.window->isVisible() ? u"open"_qs : u"closed"_qs;
            });
            if (row.level.isEmpty()) {
                change(u"sysMode"_qs);
            } else {
                const bool top = row.typed || row.level == u"enterprise";
                f.state->ListLevel = static_cast<int16_t>(top ? RootSlot : findObjectByName(*f.state, row.level));
                qobject_cast<ListWindow *>(f.window)->refresh();
                if (row.typed)
                    f.type("Text1", row.level);
                f.click("Command12");
            }
            QCOMPARE(f.services->texts(), row.messages);
            QCOMPARE(after, row.editor);
            QCOMPARE(snapshot(*f.state) == before, row.level.size() > 0);
            // The refusal is a warning; the failed command reports an error.
            if (row.editor == u"none")
                QCOMPARE(f.services->messages.first().kind, MessageKind::Warning);
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
        f.click("Command3");
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
