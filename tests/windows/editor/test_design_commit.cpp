// The editor as the program opens it from the List window: 追加, 変更 and the
// double-click on a leaf, the commit with its outcomes, and whole designs
// built through the dialog alone, saved and written as MIB files.
#include "designfixture.h"
#include "list.h"
#include "mibbridge.h"
#include "program.h"
#include "rulemessages.h"

#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>

#include <functional>

using namespace korvel;
using namespace korvel::testing;

namespace {

// Builds one object in an open editor, as a person would, and commits. The
// object is a line "level|kind option|setting|...", each setting as
// EditorView::set takes it; the level is the List window's, empty for the top.
void typeAndCommit(const EditorView &v, const QString &object)
{
    QStringList settings = object.split(u'|').mid(1);
    const auto kind = static_cast<KindOption>(QStringList{"Node", "Table", "Leaf"}.indexOf(settings.takeFirst()));
    if (v.kind() != kind)
        v.option(kind)->click();
    // The empty name entry resets what choosing the option loaded.
    v.choose("Combo5", QString());
    for (const QString &setting : settings + QStringList{"Command4"})
        v.set(setting);
}

} // namespace

class DesignCommitTest : public QObject
{
    Q_OBJECT

private:
    EditorFixture f;
    std::unique_ptr<QTemporaryDir> m_folder;
    QPointer<List> m_list;

    // The List window of the program, its editor registered as start-up
    // registers it.
    List *showList()
    {
        m_list = qobject_cast<List *>(f.services->openWindow(MainWindow::List));
        return m_list;
    }

    QTableWidget *grid() const { return m_list->findChild<QTableWidget *>(QStringLiteral("MSFlexGrid1")); }

    QStringList rows() const
    {
        QStringList names;
        for (int row = 0; row < grid()->rowCount(); ++row)
            names.append(grid()->item(row, 0) ? grid()->item(row, 0)->text().trimmed() : QString());
        return names;
    }

    void selectRow(const QString &name) const
    {
        const int row = int(rows().indexOf(name));
        QVERIFY2(row >= 0, qPrintable(name));
        grid()->setCurrentCell(row, 0);
    }

    void doubleClick(const QString &name) const
    {
        selectRow(name);
        const QRect cell = grid()->visualRect(grid()->model()->index(grid()->currentRow(), 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    void click(const char *button) const { m_list->findChild<QPushButton *>(QLatin1String(button))->click(); }

    // Runs `driver` on the editor the next command opens; false when the
    // command opened none.
    std::shared_ptr<bool> driveEditor(std::function<void(const EditorView &)> driver)
    {
        auto ran = std::make_shared<bool>(false);
        f.services->drive(ModalDialog::Design, [ran, driver](QDialog &dialog) {
            *ran = true;
            driver(EditorView(&dialog));
        });
        return ran;
    }

    // Adds `object` (a line as typeAndCommit takes it) through 追加 at its
    // level.
    void add(const QString &object)
    {
        const QString level = object.section(u'|', 0, 0);
        f.state->ListLevel = static_cast<int16_t>(level.isEmpty() ? RootSlot : findObjectByName(*f.state, level));
        m_list->refresh();
        const auto ran = driveEditor([object](const EditorView &v) { typeAndCommit(v, object); });
        click("Command12");
        QVERIFY(*ran);
    }

    // Opens 変更 on the object named `name`, at its parent's level.
    void change(const QString &name)
    {
        f.state->ListLevel = static_cast<int16_t>(f.state->tables.tree[findObjectByName(*f.state, name)].Parent);
        m_list->refresh();
        selectRow(name);
        click("Command7");
    }

private Q_SLOTS:
    void init()
    {
        f.setUp();
        m_folder = std::make_unique<QTemporaryDir>();
        registerProgramWindows(*f.services, *f.state);
    }

    void cleanup()
    {
        if (m_list)
            m_list->close();
        QTRY_VERIFY(!m_list);
        f.tearDown();
        m_folder.reset();
    }

    // 追加 opens at the level shown, 変更 and the double-click on a leaf on
    // the object chosen; the list shows what a commit changed.
    void theListWindowOpensTheEditorWhereItStands()
    {
        buildEditorDesign(*f.state);
        QVERIFY(showList());
        add(QStringLiteral("portEntry|Leaf|Combo5=portSpeed|Text1=4"));
        QCOMPARE(f.services->texts(), QStringList{RuleMessage::ObjectAdded.toString()});
        QCOMPARE(rows(), (QStringList{"portIndex", "portName", "portStatus", "portSpeed"}));
        QCOMPARE(f.state->EditTarget, -1);
        f.services->messages.clear();

        QStringList seen;
        const auto record = [&seen](const EditorView &v) {
            seen.append(v.text("Command4") + u'|' + v.text("Combo8") + u'|' + v.text("Combo5"));
        };
        driveEditor(record);
        click("Command12");
        driveEditor(record);
        change(QStringLiteral("portTable"));
        // A double-click on a node goes down a level without the editor.
        doubleClick(QStringLiteral("sysInfo"));
        QCOMPARE(rows(), (QStringList{"sysTemperature", "sysMode", "sysBoard"}));
        driveEditor(record);
        doubleClick(QStringLiteral("sysMode"));
        QCOMPARE(seen, (QStringList{"   追加|portEntry|", "   変更|enterprise|portTable", "   変更|sysInfo|sysMode"}));
        QCOMPARE(f.state->ListLevel, findObjectByName(*f.state, QStringLiteral("sysInfo")));
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
                            const QList<QStringView> &messages, const char *editor, bool changes = false) {
            QStringList texts;
            for (QStringView message : messages)
                texts.append(message.toString());
            QTest::newRow(label) << QString::fromLatin1(command) << settings << texts << QString::fromLatin1(editor)
                                 << changes;
        };
        const QString failed = QStringLiteral("追加に失敗しました");
        row("add: no name", "add", {"Combo5="}, {RuleMessage::NameEmpty}, "open");
        row("add below the table shown", "add portTable", {}, {RuleMessage::ParentIsTable, failed}, "none");
        row("add below a leaf typed into the level box", "add typed sysMode", {}, {RuleMessage::ParentIsLeaf, failed},
            "none");
        row("change", "change sysMode", {"Text7=Mode"}, {RuleMessage::ObjectChanged}, "closed", true);
        row("change: parent in its own subtree", "change sysInfo", {"Combo8=sysBoard", "Combo5=sysInfo", "Text1=1"},
            {RuleMessage::ParentInOwnSubtree}, "closed");
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
            m_list->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(words[2]);
        const QByteArray before = snapshot(*f.state);
        const QStringList shown = rows();
        QString after = QStringLiteral("none");
        driveEditor([&after, settings](const EditorView &v) {
            for (const QString &setting : settings)
                v.set(setting);
            v.click("Command4");
            after = v.dialog()->isVisible() ? QStringLiteral("open") : QStringLiteral("closed");
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
        const QByteArray typed = contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.txt"));
        QStringList objects = QString::fromUtf8(typed).split(u'\n', Qt::SkipEmptyParts);
        objects.removeIf([](const QString &line) { return line.startsWith(u'#'); });
        QCOMPARE(objects.size(), 8);
        QVERIFY(showList());
        for (const QString &object : objects)
            add(object);
        QCOMPARE(f.services->texts(), QStringList(objects.size(), RuleMessage::ObjectAdded.toString()));

        const QString design = m_folder->filePath(QStringLiteral("built.mdf"));
        const QString mib = m_folder->filePath(QStringLiteral("built.mib"));
        f.services->answerFileDialog(*f.state, design);
        m_list->findChild<QAction *>(QStringLiteral("MIB_SAVE"))->trigger();
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("ファイルに保存しました。"));
        QCOMPARE(contents(design), contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.mdf")));
        f.services->answerFileDialog(*f.state, mib);
        click("Command3");
        QCOMPARE(f.services->lastMessage().text, QStringLiteral("MIBファイルを作成しました。"));
        QCOMPARE(contents(mib), contents(QStringLiteral(KORVEL_TEST_DATA "/editor/roundtrip.mib")));

        // Every object opened in change mode and committed untouched stays
        // exactly as it was.
        const QByteArray before = snapshot(*f.state);
        f.services->messages.clear();
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (f.state->tables.tree[slot].InUse == 1) {
                driveEditor([](const EditorView &v) { v.click("Command4"); });
                change(displayedName(*f.state, slot));
            }
        }
        QCOMPARE(f.services->texts(), QStringList(9, RuleMessage::ObjectChanged.toString()));
        QCOMPARE(snapshot(*f.state), before);
    }
};

QTEST_MAIN(DesignCommitTest)
#include "test_design_commit.moc"
