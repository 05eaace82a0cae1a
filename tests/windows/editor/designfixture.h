// What the object editor's tests share: a fresh state and recording services
// per test, the real dialog opened as the List window would open it, and its
// controls reached by their object names.
#pragma once

#include "appstate.h"
#include "design.h"
#include "designfile.h"
#include "editorrules.h"
#include "recordingservices.h"
#include "sampledesign.h"
#include "tableops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace korvel::testing {

// The parts of the design a commit may change: the file image of the tables
// and the four counters.
struct Snapshot {
    QByteArray image;
    int tree, attribute, range, list;
    bool operator==(const Snapshot &) const = default;
};

inline Snapshot snapshot(const AppState &state)
{
    const DefinitionTables &t = state.tables;
    return {designFileImage(state), t.MibTreeCount, t.MibAttributeCount, t.MibRangeCount, t.MibListCount};
}

// The controls of one open dialog, by object name.
class EditorView
{
public:
    explicit EditorView(QDialog *dialog = nullptr) : m_dialog(dialog) {}

    QDialog *dialog() const { return m_dialog; }

    template <typename Widget>
    Widget *get(const char *name) const
    {
        auto *widget = m_dialog->findChild<Widget *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QComboBox *combo(const char *name) const { return get<QComboBox>(name); }
    QLineEdit *line(const char *name) const { return get<QLineEdit>(name); }
    QPlainTextEdit *box(const char *name) const { return get<QPlainTextEdit>(name); }
    QCheckBox *check(const char *name) const { return get<QCheckBox>(name); }
    QPushButton *button(const char *name) const { return get<QPushButton>(name); }
    QRadioButton *option(KindOption kind) const
    {
        const char *names[] = {"Option1_0", "Option1_1", "Option1_2"};
        return get<QRadioButton>(names[static_cast<int>(kind)]);
    }

    bool enabled(const char *name) const { return get<QWidget>(name)->isEnabled(); }

    QStringList entries(const char *name) const
    {
        QStringList all;
        const QComboBox *list = combo(name);
        for (int i = 0; i < list->count(); ++i)
            all.append(list->itemText(i));
        return all;
    }

    // The text of a text box, a multi-line box, a button or a list.
    QString text(const char *name) const
    {
        if (auto *l = m_dialog->findChild<QLineEdit *>(QLatin1String(name)))
            return l->text();
        if (auto *b = m_dialog->findChild<QPlainTextEdit *>(QLatin1String(name)))
            return b->toPlainText();
        if (auto *b = m_dialog->findChild<QPushButton *>(QLatin1String(name)))
            return b->text();
        return combo(name)->currentText();
    }

    // Everything the dialog shows, as "key=value" lines: the lists' texts and
    // entries, the boxes, the ticks, the kind option and which controls are
    // usable. Tests compare it with the defaults of an empty add plus the
    // lines they expect to differ.
    QMap<QString, QString> fields() const
    {
        QMap<QString, QString> all;
        const char *kinds[] = {"Node", "Table", "Leaf"};
        all[QStringLiteral("option")] = QLatin1String(kinds[static_cast<int>(kind())]);
        all[QStringLiteral("parents")] = entries("Combo8").join(u',');
        all[QStringLiteral("names")] = entries("Combo5").join(u',');
        all[QStringLiteral("items")] = entries("Combo6").join(u',');
        for (const char *name : {"Combo8", "Combo5", "Text1", "Text7", "Text3", "Combo7", "Text9", "Text10", "Combo6",
                                 "Text8", "Combo1", "Text2"})
            all[QLatin1String(name)] = text(name);
        for (const char *name : {"Check4", "Check3", "Check1"})
            all[QLatin1String(name)] = check(name)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        all[QStringLiteral("Command4")] = button("Command4")->text();
        QStringList usable;
        for (const char *name : {"Frame2", "Text7", "Label4", "Text3", "Frame3", "Combo7", "Check4", "Text9", "Label9",
                                 "Text10", "Check3", "Label8", "Combo6", "Label3", "Text8", "Command1", "Command2",
                                 "Label1", "Combo1", "Check1", "Label2", "Text2"}) {
            if (enabled(name))
                usable.append(QLatin1String(name));
        }
        usable.sort();
        all[QStringLiteral("enabled")] = usable.join(u',');
        return all;
    }

    // What an add at the top of an empty design shows, with `changes`
    // ("key=value") applied.
    static QMap<QString, QString> expectedFields(const QStringList &changes)
    {
        QMap<QString, QString> all{
            {QStringLiteral("option"), QStringLiteral("Node")}, {QStringLiteral("parents"), QStringLiteral("enterprise")},
            {QStringLiteral("names"), QString()},               {QStringLiteral("items"), QString()},
            {QStringLiteral("Combo8"), QStringLiteral("enterprise")},
            {QStringLiteral("Combo7"), QStringLiteral("INTEGER")},
            {QStringLiteral("Combo1"), QStringLiteral("read-only")},
            {QStringLiteral("Command4"), QStringLiteral("   追加")},
            {QStringLiteral("Check4"), QStringLiteral("0")}, {QStringLiteral("Check3"), QStringLiteral("0")},
            {QStringLiteral("Check1"), QStringLiteral("0")}, {QStringLiteral("enabled"), QString()}};
        for (const char *name : {"Combo5", "Text1", "Text7", "Text3", "Text9", "Text10", "Combo6", "Text8", "Text2"})
            all[QLatin1String(name)] = QString();
        for (const QString &change : changes) {
            const qsizetype equals = change.indexOf(u'=');
            all[change.left(equals)] = change.mid(equals + 1);
        }
        QStringList usable = all[QStringLiteral("enabled")].split(u',', Qt::SkipEmptyParts);
        usable.sort();
        all[QStringLiteral("enabled")] = usable.join(u',');
        return all;
    }

    KindOption kind() const
    {
        for (KindOption k : {KindOption::Node, KindOption::Table, KindOption::Leaf}) {
            if (option(k)->isChecked())
                return k;
        }
        qFatal("no kind option chosen");
    }

    // Chooses the entry showing `text` from code, as the opening sequences do.
    void choose(const char *name, const QString &text) const
    {
        QComboBox *list = combo(name);
        const int index = list->findText(text);
        if (index < 0)
            qFatal("no entry %s", qPrintable(text));
        list->setCurrentIndex(index);
    }

    // Types into an editable list or a text box as the user would.
    void type(const char *name, const QString &text) const
    {
        QWidget *target = nullptr;
        if (auto *list = m_dialog->findChild<QComboBox *>(QLatin1String(name)))
            target = list->lineEdit();
        else
            target = get<QWidget>(name);
        auto *l = qobject_cast<QLineEdit *>(target);
        auto *b = qobject_cast<QPlainTextEdit *>(target);
        l ? l->clear() : b->clear();
        // Key events carry Latin-1 only; other text goes in as the input
        // method would put it.
        bool latin1 = true;
        for (QChar c : text)
            latin1 = latin1 && c.unicode() < 0x80;
        if (latin1)
            QTest::keyClicks(target, text);
        else
            l ? l->insert(text) : b->insertPlainText(text);
    }

    void click(const char *name) const { button(name)->click(); }

private:
    QDialog *m_dialog;
};

// The sample design, plus a node below sysInfo and a description on the
// table's entry. `gapped` builds it around free slots left by deleted
// objects, so no object sits in the slot its list position suggests.
inline void buildEditorDesign(AppState &state, bool gapped = false)
{
    QList<int> fillers;
    if (gapped) {
        for (int i = 0; i < 8; ++i)
            fillers.append(addNode(state, QStringLiteral("filler%1").arg(i), 100 + i));
        for (int i : {1, 3, 5})
            deleteSubtree(state, fillers.takeAt(fillers.indexOf(i)));
    }
    buildSampleDesign(state);
    addNode(state, QStringLiteral("sysBoard"), 3, findObjectByName(state, QStringLiteral("sysInfo")));
    MibAttribute &entry = state.tables.attribute[attributeOf(state, findObjectByName(state, QStringLiteral("portEntry")))];
    const QString rowText = QStringLiteral("Port row");
    storeText(entry.Description, rowText, NameWidth);
    entry.DescriptionLength = static_cast<int32_t>(rowText.size());
    for (int filler : std::as_const(fillers))
        deleteSubtree(state, filler);
}

class EditorFixture
{
public:
    void setUp()
    {
        state = std::make_unique<AppState>();
        services = std::make_unique<RecordingServices>();
    }

    void tearDown()
    {
        dialog.reset();
        QVERIFY(visibleTopLevelWindows().isEmpty());
        services.reset();
        state.reset();
    }

    // Opens the editor as the List window's 追加 does at level `level`.
    bool openAdd(const QString &level = QStringLiteral("enterprise"))
    {
        state->EditTarget = -1;
        dialog = Design::open(*state, *services, level);
        view = EditorView(dialog.get());
        return dialog != nullptr;
    }

    // Opens the editor as 変更 does on the object named `name`.
    bool openChange(const QString &name)
    {
        state->EditTarget = static_cast<int16_t>(findObjectByName(*state, name));
        dialog = Design::open(*state, *services, QStringLiteral("enterprise"));
        view = EditorView(dialog.get());
        return dialog != nullptr;
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<Design> dialog;
    EditorView view;
};

} // namespace korvel::testing
