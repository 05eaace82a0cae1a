// The items of the tree view TreeView1: one root "enterprise" and one item
// per object. Every item has a key, a text, an image key and a selected-image
// key (from BallImages), and the slot of its object, by which the window
// finds an item's object and an object's item. Positions count every item in
// the order it was added, from 1 (the root); removing items renumbers the
// ones after them.
#pragma once

#include "appstate.h"
#include "balls.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace korvel {

class TreeItems
{
public:
    // Item data, in column 0.
    enum Role {
        KeyRole = Qt::UserRole,
        SlotRole,
        ImageRole,
        SelectedImageRole,
    };

    explicit TreeItems(QTreeWidget *view);
    ~TreeItems();
    TreeItems(const TreeItems &) = delete;
    TreeItems &operator=(const TreeItems &) = delete;

    // Removes every item, then adds the root and hands it back. The root is
    // put into the view only by attach(), so that items can be added below
    // it first without the view following each one.
    QTreeWidgetItem *restart();
    void attach();

    // Adds the item of object `slot` as the last child of `parent`.
    QTreeWidgetItem *add(QTreeWidgetItem *parent, int slot, const QString &key, const QString &text,
                         int32_t kind);
    // New key, text and images for an item.
    void update(QTreeWidgetItem *item, const QString &key, const QString &text, int32_t kind);
    // Removes an item together with everything below it.
    void remove(QTreeWidgetItem *item);

    QTreeWidgetItem *root() const;
    int count() const;
    // The item at `position` (from 1), or null.
    QTreeWidgetItem *at(int position) const;
    // The position of `item`, or 0 when it is no item of this tree.
    int positionOf(const QTreeWidgetItem *item) const;
    // The item of object `slot`, or null.
    QTreeWidgetItem *itemOf(int slot) const;
    // The object slot of `item`; -1 for the root (or no item).
    static int slotOf(const QTreeWidgetItem *item);
    static QString keyOf(const QTreeWidgetItem *item);

    // The texts of the items from the root down to `item`, joined by ".".
    static QString fullPath(const QTreeWidgetItem *item);

    // An object's text: its displayed name followed by its object ID in
    // parentheses.
    static QString objectText(const AppState &state, int slot);

    const BallImages &images() const { return m_images; }

private:
    void setImages(QTreeWidgetItem *item, const QString &key, const QString &selectedKey);

    QTreeWidget *m_view;
    BallImages m_images;
    QHash<QString, QIcon> m_icons;
    QTreeWidgetItem *m_root = nullptr;
    QList<QTreeWidgetItem *> m_order;
    QHash<int, QTreeWidgetItem *> m_bySlot;
};

} // namespace korvel
