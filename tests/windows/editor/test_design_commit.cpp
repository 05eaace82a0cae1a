// The editor as the program opens it from the List window: 追加, 変更 and the
// double-click on a leaf, the commit with its outcomes, and whole designs
// built through the dialog alone, saved and written as MIB files.
#include "designfixture.h"
#include "list.h"
#include "mibbridge.h"
#include "program.h"
#include "rulemessages.h"

#include <QFile>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>

#include <functional>

using namespace korvel;
using namespace korvel::testing;

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString message(QStringView text)
{
    return text.toString();
}

const QStringList SyntaxNames{"INTEGER", "OCTET STRING", "OBJECT IDENTIFIER", "IpAddress",
                              "Counter", "Gauge",        "TimeTicks",         "Opaque"};
const QStringList AccessNames{"read-only", "read-write", "not-accessible"};

// One object as typed into the editor, at the level `level` of the List
// window (empty for the top).
struct Typed {
    QString level;
    KindOption kind = KindOption::Node;
    QString name;
    QString objectId;
    QString description;
    QString entryDescription;
    QString syntax = QStringLiteral("INTEGER");
    QString access = QStringLiteral("read-only");
    QString minimum;
    QString maximum;
    QList<QPair<QString, QString>> items;
    QString keyOrder;
};

Typed typed(const char *level, KindOption kind, const char *name, const char *objectId, const char *description = "")
{
    Typed t;
    t.level = QString::fromUtf8(level);
    t.kind = kind;
    t.name = QString::fromUtf8(name);
    t.objectId = QString::fromUtf8(objectId);
    t.description = QString::fromUtf8(description);
    return t;
}

// The design of the round trips: every kind, type detail and text the
// design file and the MIB writer treat specially.
QList<Typed> roundTripDesign()
{
    QList<Typed> all;
    all.append(typed("", KindOption::Node, "acme", "1"));
    Typed t = typed("acme", KindOption::Leaf, "acmeMode", "1", "Operating mode");
    t.access = QStringLiteral("read-write");
    t.items = {{"normal", "1"}, {"standby", "2"}, {"off", "0"}};
    all.append(t);
    t = typed("acme", KindOption::Leaf, "acmeName", "2", "機器の名前, 半角ｶﾅ");
    t.syntax = QStringLiteral("OCTET STRING");
    all.append(t);
    t = typed("acme", KindOption::Table, "port", "3", "Ports");
    t.entryDescription = QStringLiteral("Port row");
    all.append(t);
    t = typed("portEntry", KindOption::Leaf, "portIndex", "1", "Port number");
    t.minimum = QStringLiteral("1");
    t.maximum = QStringLiteral("64");
    t.keyOrder = QStringLiteral("1");
    all.append(t);
    t = typed("portEntry", KindOption::Leaf, "portSpeed", "2", "Speed");
    t.syntax = QStringLiteral("Gauge");
    t.keyOrder = QStringLiteral("2");
    all.append(t);
    t = typed("portEntry", KindOption::Leaf, "portStatus", "3", "Link state");
    t.access = QStringLiteral("read-write");
    t.items = {{"up", "1"}, {"down", "2"}};
    all.append(t);
    t = typed("acme", KindOption::Leaf, "acmeUptime", "4", "Time since start");
    t.syntax = QStringLiteral("TimeTicks");
    t.access = QStringLiteral("not-accessible");
    t.minimum = QStringLiteral("0");
    t.maximum = QStringLiteral("4294967295");
    all.append(t);
    return all;
}

// The same objects straight into the tables, without the editor's rules.
void buildDirectly(AppState &state, const QList<Typed> &objects)
{
    for (const Typed &t : objects) {
        const int parent = t.level.isEmpty() ? RootSlot : findObjectByName(state, t.level);
        if (t.kind == KindOption::Node) {
            addNode(state, t.name, t.objectId.toInt(), parent);
        } else if (t.kind == KindOption::Table) {
            const int entry = entryOf(state, addTable(state, t.name, t.objectId.toInt(), parent, t.description));
            MibAttribute &row = state.tables.attribute[attributeOf(state, entry)];
            storeText(row.Description, t.entryDescription, NameWidth);
            row.DescriptionLength = static_cast<int32_t>(t.entryDescription.size());
        } else {
            LeafDefinition def{t.name, t.objectId.toInt(), parent, syntaxCode(int(SyntaxNames.indexOf(t.syntax))),
                          int(AccessNames.indexOf(t.access)) + 1, t.description, t.keyOrder.toInt(), t.minimum,
                          t.maximum, {}};
            for (const auto &[name, value] : t.items)
                def.items.append({name, value.toInt()});
            addLeaf(state, def);
        }
    }
}

// Types `object` into an open editor, as a person would, and commits.
void typeAndCommit(const EditorView &v, const Typed &object)
{
    if (v.kind() != object.kind)
        v.option(object.kind)->click();
    // The empty name entry resets what choosing the option loaded.
    v.choose("Combo5", QString());
    v.type("Combo5", object.name);
    v.type("Text1", object.objectId);
    if (object.kind != KindOption::Node)
        v.type("Text7", object.description);
    if (object.kind == KindOption::Table)
        v.type("Text3", object.entryDescription);
    if (object.kind == KindOption::Leaf) {
        v.choose("Combo7", object.syntax);
        v.choose("Combo1", object.access);
        if (!object.minimum.isEmpty()) {
            v.check("Check4")->click();
            v.type("Text9", object.minimum);
            v.type("Text10", object.maximum);
        }
        if (!object.items.isEmpty()) {
            v.check("Check3")->click();
            for (const auto &[name, value] : object.items) {
                v.type("Combo6", name);
                v.type("Text8", value);
                v.click("Command1");
            }
        }
        if (!object.keyOrder.isEmpty()) {
            v.check("Check1")->click();
            v.type("Text2", object.keyOrder);
        }
    }
    v.click("Command4");
}

} // namespace

class DesignCommitTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AppState> m_state;
    std::unique_ptr<RecordingServices> m_services;
    std::unique_ptr<QTemporaryDir> m_folder;
    QPointer<List> m_list;

    // The List window of the program, its editor registered as start-up
    // registers it.
    List *showList()
    {
        m_list = qobject_cast<List *>(m_services->openWindow(MainWindow::List));
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
        m_services->drive(ModalDialog::Design, [ran, driver](QDialog &dialog) {
            *ran = true;
            driver(EditorView(&dialog));
        });
        return ran;
    }

    // Adds `object` at the level the List window shows.
    void add(const Typed &object)
    {
        const auto ran = driveEditor([object](const EditorView &v) { typeAndCommit(v, object); });
        click("Command12");
        QVERIFY(*ran);
    }

    // Adds every object through the List window's 追加 at its level.
    void buildThroughTheEditor(const QList<Typed> &objects)
    {
        for (const Typed &object : objects) {
            m_state->ListLevel
                = static_cast<int16_t>(object.level.isEmpty() ? RootSlot : findObjectByName(*m_state, object.level));
            m_list->refresh();
            add(object);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<AppState>();
        m_services = std::make_unique<RecordingServices>();
        m_folder = std::make_unique<QTemporaryDir>();
        registerProgramWindows(*m_services, *m_state);
    }

    void cleanup()
    {
        if (m_list)
            m_list->close();
        QTRY_VERIFY(!m_list);
        QVERIFY(visibleTopLevelWindows().isEmpty());
        m_services.reset();
        m_state.reset();
        m_folder.reset();
    }

    void addOpensAtTheLevelShownAndRefreshesAfterIt()
    {
        buildEditorDesign(*m_state);
        m_state->ListLevel = static_cast<int16_t>(findObjectByName(*m_state, QStringLiteral("portEntry")));
        QVERIFY(showList());
        QString parent;
        add(typed("portEntry", KindOption::Leaf, "portSpeed", "4"));
        QCOMPARE(m_services->texts(), QStringList{message(RuleMessage::ObjectAdded)});
        QCOMPARE(rows(), (QStringList{"portIndex", "portName", "portStatus", "portSpeed"}));
        QCOMPARE(m_state->EditTarget, -1);

        const auto ran = driveEditor([&parent](const EditorView &v) { parent = v.text("Combo8"); });
        click("Command12");
        QVERIFY(*ran);
        QCOMPARE(parent, QStringLiteral("portEntry"));
    }

    void addIsRefusedBelowATableOrALeaf_data()
    {
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("table shown") << "portTable" << false << message(RuleMessage::ParentIsTable);
        QTest::newRow("leaf typed into the level box") << "sysMode" << true << message(RuleMessage::ParentIsLeaf);
    }

    void addIsRefusedBelowATableOrALeaf()
    {
        QFETCH(QString, level);
        QFETCH(bool, typed);
        QFETCH(QString, refusal);
        buildEditorDesign(*m_state);
        if (!typed)
            m_state->ListLevel = static_cast<int16_t>(findObjectByName(*m_state, level));
        QVERIFY(showList());
        if (typed)
            m_list->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(level);
        const Snapshot before = snapshot(*m_state);
        const QStringList shown = rows();

        const auto ran = driveEditor([](const EditorView &) {});
        click("Command12");
        QVERIFY(!*ran);
        QCOMPARE(m_services->texts(), (QStringList{refusal, QStringLiteral("追加に失敗しました")}));
        QCOMPARE(m_services->messages.first().caption, QStringLiteral("注意メッセージ"));
        QCOMPARE(m_services->messages.first().icon, MessageIcon::Exclamation);
        QCOMPARE(m_services->lastMessage().kind, MessageKind::Error);
        QVERIFY(snapshot(*m_state) == before);
        QCOMPARE(rows(), shown);
    }

    void changeAndDoubleClickOpenTheObjectShown()
    {
        buildEditorDesign(*m_state);
        QVERIFY(showList());
        QStringList seen;
        const auto record = [&seen](const EditorView &v) {
            seen.append(v.text("Command4") + u'|' + v.text("Combo8") + u'|' + v.text("Combo5"));
        };

        selectRow(QStringLiteral("portTable"));
        driveEditor(record);
        click("Command7");
        // A double-click on a node goes down a level without the editor.
        doubleClick(QStringLiteral("sysInfo"));
        QCOMPARE(rows(), (QStringList{"sysTemperature", "sysMode", "sysBoard"}));
        driveEditor(record);
        doubleClick(QStringLiteral("sysMode"));
        QCOMPARE(seen, (QStringList{"   変更|enterprise|portTable", "   変更|sysInfo|sysMode"}));
        QCOMPARE(m_state->ListLevel, findObjectByName(*m_state, QStringLiteral("sysInfo")));
        QVERIFY(m_services->messages.isEmpty());
    }

    void commitOutcomes()
    {
        struct Row {
            const char *label;
            // The object changed, or none to add at the top level.
            QString change;
            std::function<void(const EditorView &)> edit;
            QStringList messages;
            bool closes;
            bool changes;
        };
        const auto name = [](const char *text) {
            return [text](const EditorView &v) { v.type("Combo5", QString::fromUtf8(text)); };
        };
        const auto field = [](const char *box, const char *text) {
            return [box, text](const EditorView &v) { v.type(box, QString::fromUtf8(text)); };
        };
        const QList<Row> table{
            {"add", {}, [](const EditorView &v) { typeAndCommit(v, typed("", KindOption::Node, "extra", "9")); },
             {message(RuleMessage::ObjectAdded)}, true, true},
            {"add unchanged: duplicate name", {}, {}, {message(RuleMessage::DuplicateName)}, true, false},
            {"add: duplicate object ID", {}, name("extra"), {message(RuleMessage::DuplicateObjectId)}, true, false},
            {"add: no name", {}, name(""), {message(RuleMessage::NameEmpty)}, false, false},
            {"add: object ID 0", {}, field("Text1", "0"), {message(RuleMessage::ObjectIdOutOfRange)}, false, false},
            {"change", "sysMode", field("Text7", "Mode"), {message(RuleMessage::ObjectChanged)}, true, true},
            {"change: another kind", "sysMode",
             [](const EditorView &v) {
                 v.option(KindOption::Node)->click();
                 v.type("Combo5", QStringLiteral("sysMode"));
             },
             {message(RuleMessage::KindChanged)}, true, false},
            {"change: key order 0", "portIndex", field("Text2", "0"), {message(RuleMessage::KeyOrderOutOfRange)},
             false, false},
            {"change: parent in its own subtree", "sysInfo",
             [](const EditorView &v) {
                 v.choose("Combo8", QStringLiteral("sysBoard"));
                 v.type("Combo5", QStringLiteral("sysInfo"));
                 v.type("Text1", QStringLiteral("1"));
             },
             {message(RuleMessage::ParentInOwnSubtree)}, true, false},
        };
        for (const Row &row : table) {
            m_state = std::make_unique<AppState>();
            m_services = std::make_unique<RecordingServices>();
            registerProgramWindows(*m_services, *m_state);
            buildEditorDesign(*m_state);
            QVERIFY(showList());
            const Snapshot before = snapshot(*m_state);

            bool openAfterCommit = false;
            const auto edit = row.edit;
            const auto ran = driveEditor([&openAfterCommit, edit](const EditorView &v) {
                if (edit)
                    edit(v);
                if (v.dialog()->isVisible())
                    v.click("Command4");
                openAfterCommit = v.dialog()->isVisible();
            });
            if (row.change.isEmpty()) {
                click("Command12");
            } else {
                const int slot = findObjectByName(*m_state, row.change);
                m_state->ListLevel = static_cast<int16_t>(m_state->tables.tree[slot].Parent);
                m_list->refresh();
                selectRow(row.change);
                click("Command7");
            }
            QVERIFY2(*ran, row.label);
            QCOMPARE(m_services->texts(), row.messages);
            QVERIFY2(openAfterCommit == !row.closes, row.label);
            QVERIFY2((snapshot(*m_state) == before) == !row.changes, row.label);
            m_list->close();
            QTRY_VERIFY(!m_list);
        }
    }

    void aDesignBuiltInTheEditorSavesAndWritesTheSameFiles()
    {
        AppState reference;
        buildDirectly(reference, roundTripDesign());
        const QString referenceDesign = m_folder->filePath(QStringLiteral("reference.mdf"));
        const QString referenceMib = m_folder->filePath(QStringLiteral("reference.mib"));
        QVERIFY(writeDesignFile(reference, referenceDesign));
        QCOMPARE(createMibFile(reference, referenceMib), BridgeResult::Success);

        QVERIFY(showList());
        buildThroughTheEditor(roundTripDesign());
        QCOMPARE(m_services->texts(), QStringList(8, message(RuleMessage::ObjectAdded)));

        const QString design = m_folder->filePath(QStringLiteral("built.mdf"));
        const QString mib = m_folder->filePath(QStringLiteral("built.mib"));
        m_services->answerFileDialog(*m_state, design);
        m_list->findChild<QAction *>(QStringLiteral("MIB_SAVE"))->trigger();
        QCOMPARE(m_services->lastMessage().text, QStringLiteral("ファイルに保存しました。"));
        QVERIFY(contents(referenceDesign).contains("Port row"));
        QCOMPARE(contents(design), contents(referenceDesign));
        m_services->answerFileDialog(*m_state, mib);
        click("Command3");
        QCOMPARE(m_services->lastMessage().text, QStringLiteral("MIBファイルを作成しました。"));
        QVERIFY(contents(referenceMib).contains("acmeUptime"));
        QCOMPARE(contents(mib), contents(referenceMib));

        // Every object opened in change mode and committed untouched stays
        // exactly as it was.
        const Snapshot before = snapshot(*m_state);
        m_services->messages.clear();
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (m_state->tables.tree[slot].InUse != 1)
                continue;
            m_state->ListLevel = static_cast<int16_t>(m_state->tables.tree[slot].Parent);
            m_list->refresh();
            selectRow(displayedName(*m_state, slot));
            driveEditor([](const EditorView &v) { v.click("Command4"); });
            click("Command7");
        }
        QCOMPARE(m_services->texts(), QStringList(9, message(RuleMessage::ObjectChanged)));
        QVERIFY(snapshot(*m_state) == before);
    }
};

QTEST_MAIN(DesignCommitTest)
#include "test_design_commit.moc"
