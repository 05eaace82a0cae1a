// What the Tree window tests share: a fresh design and recording services per
// test, the window shown offscreen, ways to reach its items and controls by
// name and to click them as a person would, and the check that a refusal
// left the design as it was.
#pragma once

#include "appstate.h"
#include "cp932.h"
#include "designfile.h"
#include "recordingservices.h"
#include "tree.h"
#include "treeitems.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace korvel::testing {

using namespace Qt::StringLiterals;

// "a b c" as {"a", "b", "c"}: lists of names and item texts.
inline QStringList words(const QString &spaced)
{
    return spaced.split(u' ');
}

// Line `slot` of section `tag` ("MibTree", "MibAttribute", ...) of the
// design's file image: a record with every field named at once.
inline QString designLine(const AppState &state, const QString &tag, int slot)
{
    const QStringList lines = cp932::decode(designFileImage(state)).split(u"\r\n"_s);
    return lines.value(lines.indexOf(u'<' + tag + u'>') + 1 + slot);
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file of tests/data/tree/.
inline QString dataFile(const char *name)
{
    return QString::fromUtf8(KORVEL_TEST_DATA "/tree/") + QLatin1String(name);
}

// Writes object `name` into MibTree slot `slot` as a design file would hold
// it, whatever that slot held, and counts it. For designs whose slot order
// matters.
inline void placeObject(AppState &state, int slot, const QString &name, int objectId, int parent,
                        int kind = ObjectKind::Node)
{
    MibTree &record = state.tables.tree[slot];
    if (record.InUse != 1)
        ++state.tables.MibTreeCount;
    record.Name = name.leftJustified(NameWidth, QLatin1Char(' '), true);
    record.NameLength = static_cast<int32_t>(qMin<qsizetype>(name.size(), NameWidth));
    record.ObjectId = objectId;
    record.Parent = parent;
    record.Kind = kind;
    record.InUse = 1;
}

class TreeFixture
{
public:
    void setUp()
    {
        state = std::make_unique<AppState>();
        services = std::make_unique<RecordingServices>();
        folder = std::make_unique<QTemporaryDir>();
    }

    // Ends the test: the window closed and no top-level window left open.
    void tearDown()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            widget->close();
        QTRY_VERIFY(!window);
        QVERIFY(visibleTopLevelWindows().isEmpty());
        services.reset();
        state.reset();
        folder.reset();
    }

    // Shows the window on the design as it stands and remembers the design's
    // image for verifyRefused.
    Tree *show()
    {
        window = new Tree(*state, *services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QApplication::setActiveWindow(window);
        before = designFileImage(*state);
        return QTest::qWaitForWindowActive(window) ? window.data() : nullptr;
    }

    // The only message was `message` of `kind`, and the design is unchanged.
    void verifyRefused(const QString &message, MessageKind kind = MessageKind::Warning) const
    {
        QCOMPARE(services->texts(), QStringList{message});
        QCOMPARE(services->lastMessage().kind, kind);
        QCOMPARE(designFileImage(*state), before);
    }

    QTreeWidget *view() const { return window->findChild<QTreeWidget *>(u"TreeView1"_s); }
    QTreeWidgetItem *root() const { return view()->topLevelItem(0); }

    // The item with `text`, anywhere in the tree (the first in display order).
    QTreeWidgetItem *item(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found = view()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.constFirst();
    }

    // Every item, the root first, then level by level.
    QList<QTreeWidgetItem *> items() const
    {
        QList<QTreeWidgetItem *> all{root()};
        for (qsizetype i = 0; i < all.size(); ++i) {
            for (int child = 0; child < all[i]->childCount(); ++child)
                all.append(all[i]->child(child));
        }
        return all;
    }

    QStringList levelOrder() const
    {
        QStringList texts;
        for (const QTreeWidgetItem *next : items())
            texts.append(next->text(0));
        return texts;
    }

    // ShownItemIndex, EditTarget and the path box.
    QString shown() const
    {
        return u"%1 %2 %3"_s.arg(state->ShownItemIndex).arg(state->EditTarget).arg(text("Text1"));
    }

    // The key, image and selected image of the item with `text`.
    QString looks(const QString &text) const
    {
        const QTreeWidgetItem *found = item(text);
        if (!found)
            return u"(no item)"_s;
        return QStringList{found->data(0, TreeItems::KeyRole).toString(), found->data(0, TreeItems::ImageRole).toString(),
                           found->data(0, TreeItems::SelectedImageRole).toString()}
            .join(u' ');
    }

    // A click on `target`, its ancestors expanded first so it can be seen.
    void clickItem(QTreeWidgetItem *target) const
    {
        QVERIFY(target);
        for (QTreeWidgetItem *above = target->parent(); above; above = above->parent())
            above->setExpanded(true);
        view()->scrollToItem(target);
        const QRect rect = view()->visualItemRect(target);
        QVERIFY(rect.isValid());
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void clickText(const QString &text) const { clickItem(item(text)); }
    void click(const char *button) const { window->findChild<QPushButton *>(QLatin1String(button))->click(); }

    // Fills the panel's name and object ID, chooses kind `option` and applies.
    void apply(int option, const QString &name, const QString &objectId) const
    {
        this->option(option)->click();
        type("Text5", name);
        type("Text4", objectId);
        click("Command4");
    }

    // Answers 削除's question with `answer`.
    void remove(MessageButton answer = MessageButton::Yes) const
    {
        services->queueAnswer(answer);
        click("Command11");
    }

    template <typename Widget>
    Widget *widget(const char *name) const { return window->findChild<Widget *>(QLatin1String(name)); }
    QLineEdit *box(const char *name) const { return widget<QLineEdit>(name); }
    QString text(const char *name) const { return box(name)->text(); }
    void type(const char *name, const QString &text) const { box(name)->setText(text); }
    QPlainTextEdit *textArea(const char *name) const { return widget<QPlainTextEdit>(name); }
    QCheckBox *check(const char *name) const { return widget<QCheckBox>(name); }
    QComboBox *combo(const char *name) const { return widget<QComboBox>(name); }
    QRadioButton *option(int index) const { return window->findChild<QRadioButton *>(u"Option1_%1"_s.arg(index)); }
    // The chosen kind option: 0 ツリー, 1 テーブル, 2 オブジェクト, -1 none.
    int chosenOption() const
    {
        for (int i = 0; i < 3; ++i) {
            if (option(i)->isChecked())
                return i;
        }
        return -1;
    }
    QStringList comboEntries(const char *name) const
    {
        QStringList entries;
        for (int i = 0; i < combo(name)->count(); ++i)
            entries.append(combo(name)->itemText(i));
        return entries;
    }

    // The panel as one line: kind option, name, object ID, description,
    // entry description, syntax, range, enumeration items, access and key
    // position; a box's values only while it is ticked.
    QString panel() const
    {
        const auto ticked = [this](const char *box, const QString &shown) {
            return check(box)->isChecked() ? shown : QString();
        };
        return QStringList{QString::number(chosenOption()), text("Text5"), text("Text4"),
                           textArea("Text7")->toPlainText(), textArea("Text3")->toPlainText(),
                           combo("Combo7")->currentText(), ticked("Check4", text("Text9") + u".."_s + text("Text10")),
                           ticked("Check3", comboEntries("Combo6").join(u',')), combo("Combo1")->currentText(),
                           ticked("Check1", text("Text2"))}
            .join(u'|');
    }

    // Types the enumeration item `name` into the item list, moves on to the
    // value and adds the item with ﾘｽﾄへ追加.
    void addItem(const QString &name, const QString &value) const
    {
        QLineEdit *itemName = combo("Combo6")->lineEdit();
        QTest::mouseClick(itemName, Qt::LeftButton);
        QTest::keyClick(itemName, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(itemName, name);
        QTest::mouseClick(box("Text8"), Qt::LeftButton);
        type("Text8", value);
        QTest::mouseClick(widget<QPushButton>("Command3"), Qt::LeftButton);
    }

    void trigger(const char *menuItem) const { window->findChild<QAction *>(QLatin1String(menuItem))->trigger(); }

    QString path(const QString &name) const { return folder->filePath(name); }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<QTemporaryDir> folder;
    QPointer<Tree> window;
    QByteArray before;
};

} // namespace korvel::testing
