// What the Tree window tests share: a fresh design and recording services per
// test, the window shown offscreen, and ways to reach its items and controls
// by name and to click them as a person would.
#pragma once

#include "appstate.h"
#include "recordingservices.h"
#include "tree.h"
#include "treeitems.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
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

enum class Colour { None, Green, Blue, Orange };

// The colour of a picture, read from its middle pixel.
inline Colour colourOf(const QImage &image)
{
    if (image.isNull())
        return Colour::None;
    const int hue = image.pixelColor(image.width() / 2, image.height() / 2).hslHue();
    if (hue >= 90 && hue <= 150)
        return Colour::Green;
    if (hue >= 190 && hue <= 250)
        return Colour::Blue;
    if (hue >= 15 && hue <= 45)
        return Colour::Orange;
    return Colour::None;
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

    Tree *show()
    {
        window = new Tree(*state, *services);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        QApplication::setActiveWindow(window);
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

    QTreeWidget *view() const { return window->findChild<QTreeWidget *>(QStringLiteral("TreeView1")); }
    QTreeWidgetItem *root() const { return view()->topLevelItem(0); }

    // The item with `text`, anywhere in the tree (the first in display order).
    QTreeWidgetItem *item(const QString &text) const
    {
        const QList<QTreeWidgetItem *> found = view()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.constFirst();
    }

    // The item of object `slot`.
    QTreeWidgetItem *itemOf(int slot) const
    {
        QList<QTreeWidgetItem *> pending{root()};
        while (!pending.isEmpty()) {
            QTreeWidgetItem *next = pending.takeFirst();
            if (next->data(0, TreeItems::SlotRole).toInt() == slot && next != root())
                return next;
            for (int i = 0; i < next->childCount(); ++i)
                pending.append(next->child(i));
        }
        return nullptr;
    }

    static QStringList childTexts(const QTreeWidgetItem *parent)
    {
        QStringList texts;
        for (int i = 0; parent && i < parent->childCount(); ++i)
            texts.append(parent->child(i)->text(0));
        return texts;
    }

    // Every item's text, the root first, then level by level.
    QStringList levelOrder() const
    {
        QStringList texts;
        QList<QTreeWidgetItem *> pending{root()};
        while (!pending.isEmpty()) {
            QTreeWidgetItem *next = pending.takeFirst();
            texts.append(next->text(0));
            for (int i = 0; i < next->childCount(); ++i)
                pending.append(next->child(i));
        }
        return texts;
    }

    int itemCount() const { return static_cast<int>(levelOrder().size()); }

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

    void click(const char *button) const { widget<QPushButton>(button)->click(); }

    template <typename Widget>
    Widget *widget(const char *name) const
    {
        return window->findChild<Widget *>(QLatin1String(name));
    }

    QLineEdit *box(const char *name) const { return widget<QLineEdit>(name); }
    QString text(const char *name) const { return box(name)->text(); }
    void type(const char *name, const QString &text) const { box(name)->setText(text); }
    QPlainTextEdit *textArea(const char *name) const { return widget<QPlainTextEdit>(name); }
    QCheckBox *check(const char *name) const { return widget<QCheckBox>(name); }
    QComboBox *combo(const char *name) const { return widget<QComboBox>(name); }
    QRadioButton *option(int index) const
    {
        return window->findChild<QRadioButton *>(QStringLiteral("Option1_%1").arg(index));
    }
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

    QAction *action(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    void trigger(const char *menuItem) const { action(menuItem)->trigger(); }

    QString path(const QString &name) const { return folder->filePath(name); }

    std::unique_ptr<AppState> state;
    std::unique_ptr<RecordingServices> services;
    std::unique_ptr<QTemporaryDir> folder;
    QPointer<Tree> window;
};

} // namespace korvel::testing

namespace korvel::testing {

// Writes object `name` into MibTree slot `slot` as a design file would hold
// it, whatever that slot held, and counts it. For designs whose slot order
// matters, or that break the tree's rules.
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

} // namespace korvel::testing
