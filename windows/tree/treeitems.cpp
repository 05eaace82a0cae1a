#include "treeitems.h"

#include "tableops.h"

#include <QSet>
#include <QTreeWidget>

namespace korvel {

TreeItems::TreeItems(QTreeWidget *view)
    : m_view(view)
{
    for (const QString &key : BallImages::keys()) {
        if (!key.endsWith(QLatin1Char('2')))
            m_icons.insert(key, m_images.icon(key, key + QLatin1Char('2')));
    }
    m_icons.insert(QStringLiteral("root"), m_images.icon(BallImages::rootKey(), BallImages::rootKey()));
}

TreeItems::~TreeItems()
{
    if (m_root && !m_root->treeWidget())
        delete m_root;
}

QTreeWidgetItem *TreeItems::restart()
{
    if (m_root && !m_root->treeWidget())
        delete m_root;
    m_view->clear();
    m_order.clear();
    m_bySlot.clear();
    m_root = new QTreeWidgetItem;
    const QString name = QString::fromLatin1(RootName);
    m_root->setText(0, name);
    m_root->setData(0, KeyRole, name);
    m_root->setData(0, SlotRole, RootSlot);
    m_root->setData(0, ImageRole, BallImages::rootKey());
    m_root->setData(0, SelectedImageRole, BallImages::rootKey());
    m_root->setIcon(0, m_icons.value(QStringLiteral("root")));
    m_order.append(m_root);
    return m_root;
}

void TreeItems::attach()
{
    if (m_root && !m_root->treeWidget())
        m_view->addTopLevelItem(m_root);
}

void TreeItems::setImages(QTreeWidgetItem *item, const QString &key, const QString &selectedKey)
{
    item->setData(0, ImageRole, key);
    item->setData(0, SelectedImageRole, selectedKey);
    item->setIcon(0, m_icons.value(key));
}

QTreeWidgetItem *TreeItems::add(QTreeWidgetItem *parent, int slot, const QString &key, const QString &text,
                                int32_t kind)
{
    auto *item = new QTreeWidgetItem;
    item->setData(0, SlotRole, slot);
    update(item, key, text, kind);
    parent->addChild(item);
    m_order.append(item);
    m_bySlot.insert(slot, item);
    return item;
}

void TreeItems::update(QTreeWidgetItem *item, const QString &key, const QString &text, int32_t kind)
{
    const QString image = BallImages::keyFor(kind);
    item->setText(0, text);
    item->setData(0, KeyRole, key);
    setImages(item, image, image + QLatin1Char('2'));
}

void TreeItems::remove(QTreeWidgetItem *item)
{
    if (!item || item == m_root)
        return;
    QSet<const QTreeWidgetItem *> gone;
    QList<QTreeWidgetItem *> pending{item};
    while (!pending.isEmpty()) {
        QTreeWidgetItem *next = pending.takeLast();
        gone.insert(next);
        m_bySlot.remove(slotOf(next));
        for (int child = 0; child < next->childCount(); ++child)
            pending.append(next->child(child));
    }
    m_order.removeIf([&gone](const QTreeWidgetItem *candidate) { return gone.contains(candidate); });
    delete item;
}

QTreeWidgetItem *TreeItems::root() const
{
    return m_root;
}

int TreeItems::count() const
{
    return static_cast<int>(m_order.size());
}

QTreeWidgetItem *TreeItems::at(int position) const
{
    return position >= 1 && position <= count() ? m_order[position - 1] : nullptr;
}

int TreeItems::positionOf(const QTreeWidgetItem *item) const
{
    return static_cast<int>(m_order.indexOf(item)) + 1;
}

QTreeWidgetItem *TreeItems::itemOf(int slot) const
{
    return m_bySlot.value(slot, nullptr);
}

int TreeItems::slotOf(const QTreeWidgetItem *item)
{
    if (!item)
        return RootSlot;
    bool number = false;
    const int slot = item->data(0, SlotRole).toInt(&number);
    return number ? slot : RootSlot;
}

QString TreeItems::keyOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, KeyRole).toString() : QString();
}

QString TreeItems::fullPath(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (const QTreeWidgetItem *at = item; at; at = at->parent())
        texts.prepend(at->text(0));
    return texts.join(QLatin1Char('.'));
}

QString TreeItems::objectText(const AppState &state, int slot)
{
    return displayedName(state, slot) + QLatin1Char('(') + QString::number(state.tables.tree[slot].ObjectId)
           + QLatin1Char(')');
}

} // namespace korvel
