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
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <memory>

namespace korvel::testing {

// The bytes of the file at `path`, empty when it cannot be read.
inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The parts of the design a commit may change: the file image of the tables
// and the four counters.
inline QByteArray snapshot(const AppState &state)
{
    const DefinitionTables &t = state.tables;
    return designFileImage(state) + QByteArray::number(t.MibTreeCount) + ',' + QByteArray::number(t.MibAttributeCount)
           + ',' + QByteArray::number(t.MibRangeCount) + ',' + QByteArray::number(t.MibListCount);
}

// The controls the Leaf option enables, those the range, enumeration and key
// boxes switch, and with the entry description every control whose enabled
// state depends on the kind and the ticks.
inline const QString LeafControls = QStringLiteral("Frame2,Text7,Frame3,Combo7,Check4,Check3,Label1,Combo1,Check1");
inline const QString RangeControls = QStringLiteral("Text9,Label9,Text10");
inline const QString ItemControls = QStringLiteral("Label8,Combo6,Label3,Text8,Command1,Command2");
inline const QString KeyControls = QStringLiteral("Label2,Text2");
inline const QString SwitchedControls =
    LeafControls + ',' + RangeControls + ',' + ItemControls + ',' + KeyControls + QStringLiteral(",Label4,Text3");

// A comma-separated list of names, sorted.
inline QString sortedNames(const QString &names)
{
    QStringList all = names.split(u',', Qt::SkipEmptyParts);
    all.sort();
    return all.join(u',');
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
    QCheckBox *check(const char *name) const { return get<QCheckBox>(name); }
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
        const auto *control = get<QWidget>(name);
        if (auto *list = qobject_cast<const QComboBox *>(control))
            return list->currentText();
        if (auto *box = qobject_cast<const QPlainTextEdit *>(control))
            return box->toPlainText();
        return control->property("text").toString();
    }

    // Which of the controls the kind and the ticks switch are usable.
    QString usable() const
    {
        QStringList names = SwitchedControls.split(u',');
        names.removeIf([this](const QString &name) { return !enabled(qPrintable(name)); });
        return sortedNames(names.join(u','));
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
        QWidget *target = get<QWidget>(name);
        if (auto *list = qobject_cast<QComboBox *>(target))
            target = list->lineEdit();
        auto *l = qobject_cast<QLineEdit *>(target);
        auto *b = qobject_cast<QPlainTextEdit *>(target);
        l ? l->clear() : b->clear();
        // Key events carry Latin-1 only; other text goes in as the input
        // method would put it.
        if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
            QTest::keyClicks(target, text);
        else
            l ? l->insert(text) : b->insertPlainText(text);
    }

    void click(const char *name) const { get<QPushButton>(name)->click(); }

    // "name=text" types into a text box or an editable list, or chooses the
    // entry of a fixed list; a bare "name" clicks that button.
    void set(const QString &setting) const
    {
        const QByteArray name = setting.section(u'=', 0, 0).toLatin1();
        const QString text = setting.section(u'=', 1);
        auto *list = m_dialog->findChild<QComboBox *>(QLatin1String(name));
        if (!setting.contains(u'='))
            get<QAbstractButton>(name.constData())->click();
        else if (list && !list->isEditable())
            choose(name.constData(), text);
        else
            type(name.constData(), text);
    }

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
    const int entrySlot = findObjectByName(state, QStringLiteral("portEntry"));
    MibAttribute &entry = state.tables.attribute[attributeOf(state, entrySlot)];
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
        if (dialog)
            dialog->close();
        dialog.reset();
        QVERIFY(visibleTopLevelWindows().isEmpty());
        services.reset();
        state.reset();
    }

    // Opens the editor as the List window's 追加 does at level `level`, or
    // as 変更 does on the object named `change`.
    bool open(const QString &level, const QString &change = QString())
    {
        state->EditTarget = static_cast<int16_t>(change.isEmpty() ? -1 : findObjectByName(*state, change));
        dialog = Design::open(*state, *services, level);
        view = EditorView(dialog.get());
        return dialog != nullptr;
    }
    bool openAdd(const QString &level = QStringLiteral("enterprise")) { return open(level); }
    bool openChange(const QString &name) { return open(QStringLiteral("enterprise"), name); }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<Design> dialog;
    EditorView view;
};

} // namespace korvel::testing
