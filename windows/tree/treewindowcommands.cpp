// The Tree window's editing commands: 追加, 削除 and 設定. Each works on the
// tables through treeedits.h and then updates the items concerned in place;
// each catches the failures of its own steps and shows its error message.
#include "treewindow.h"

#include "designhistory.h"
#include "messagetexts.h"
#include "tableops.h"
#include "treeedits.h"
#include "treeitems.h"
#include "treepanel.h"

#include <QTreeWidget>

#include <exception>
#include <stdexcept>

namespace korvel {

namespace {

// A step that cannot go on, such as a command with no item selected.
[[noreturn]] void fail(const char *what)
{
    throw std::runtime_error(what);
}

void warn(Services &services, QStringView text)
{
    services.show(text.toString(), MessageKind::Warning);
}

bool objectInUse(const AppState &state, int slot)
{
    return isSlot(slot) && state.tables.tree[slot].InUse == 1;
}

} // namespace

void TreeWindow::addNewObject()
{
    runCommand(texts::addFailed(), [&] {
        const RecordedChange change(m_state);
        if (m_state.ShownItemIndex < 1) {
            warn(m_services, texts::selectFromList());
            return;
        }
        if (placeholderExists(m_state)) {
            warn(m_services, texts::placeholderExists());
            return;
        }
        const int slot = findFreeSlot(m_state.tables.tree);
        if (slot < 0) {
            m_services.show(texts::noFreeObjectSlot(), MessageKind::Notice);
            return;
        }
        if (m_items->count() == 1)
            selectQuietly(m_items->root());
        QTreeWidgetItem *selected = selectedItem();
        if (!selected)
            fail("no item selected");

        int32_t kind = ObjectKind::Node;
        int parent = RootSlot;
        if (selected != m_items->root()) {
            parent = TreeItems::slotOf(selected);
            if (!objectInUse(m_state, parent))
                return;
            switch (m_state.tables.tree[parent].Kind) {
            case ObjectKind::Node:
                break;
            case ObjectKind::Entry:
                kind = ObjectKind::Leaf;
                break;
            default:
                warn(m_services, texts::cannotAddBelow());
                return;
            }
        }
        // A leaf needs its attribute: without a free slot for it nothing is
        // added, rather than a leaf the MIB writer would refuse.
        int attribute = -1;
        if (kind == ObjectKind::Leaf) {
            attribute = findFreeSlot(m_state.tables.attribute);
            if (attribute < 0) {
                m_services.show(texts::noFreeObjectSlot(), MessageKind::Notice);
                return;
            }
        }

        QTreeWidgetItem *item = nullptr;
        {
            const QString name = texts::placeholderName();
            item = m_items->add(selected, slot, name, name, kind);
            selectQuietly(item);
        }
        m_treeView->setFocus();
        writePlaceholder(m_state, slot, parent, kind, attribute);
        m_services.designChanged();
        showItem(item);
    });
}

void TreeWindow::deleteObjectTree()
{
    runCommand(texts::deleteFailed(), [&] {
        const RecordedChange change(m_state);
        if (m_state.ShownItemIndex < 2) {
            warn(m_services, texts::selectFromList());
            return;
        }
        QTreeWidgetItem *selected = selectedItem();
        if (!selected)
            fail("no item selected");
        QTreeWidgetItem *parent = selected->parent();
        // Remembered by its object: in a design whose Parents loop, the
        // parent item can go with the subtree.
        const bool parentIsRoot = parent == m_items->root();
        const int parentSlot = TreeItems::slotOf(parent);
        if (!m_services.ask(texts::confirmDelete()))
            return;
        const int slot = TreeItems::slotOf(selected);
        if (!objectInUse(m_state, slot) || !parent)
            fail("the selected item has no object");
        if (m_state.tables.tree[slot].Kind == ObjectKind::Entry) {
            warn(m_services, texts::entryNotDeletable());
            return;
        }
        QList<int> removed;
        const bool complete = RemoveObjectCascade(m_state, slot, [&removed](int gone) { removed.append(gone); });
        // The items go with their objects, also those removed before a
        // failure. The object deleted last is the highest: its item takes
        // the items below it in one step.
        removeItems(QList<int>(removed.crbegin(), removed.crend()));
        m_services.designChanged();
        if (!complete)
            fail("an object on the way has no attribute");
        parent = parentIsRoot ? nullptr : m_items->itemOf(parentSlot);
        if (!parent)
            parent = m_items->root();
        selectQuietly(parent);
        showItem(parent);
    });
}

void TreeWindow::applyPanel()
{
    runCommand(texts::commitFailed(), [&] {
        const RecordedChange change(m_state);
        QTreeWidgetItem *selected = selectedItem();
        if (!selected || selected == m_items->root()) {
            warn(m_services, texts::selectFromTree());
            return;
        }
        const int target = m_state.EditTarget;
        if (!objectInUse(m_state, target))
            fail("the panel shows no object");
        if (auto failure = checkPanelInput(m_state, target, m_panel->input())) {
            m_services.show(*failure, MessageKind::Warning);
            return;
        }
        if (!changeFromPanel(target))
            return;
        m_services.designChanged();
        showOid();
        m_services.show(texts::objectChanged(), MessageKind::Notice);
    });
}

bool TreeWindow::changeFromPanel(int slot)
{
    const PanelChange change = korvel::changeFromPanel(m_state, slot, m_panel->input(), m_services);
    if (!change.changed)
        return false;
    // The item shown in the panel: the object's own.
    QTreeWidgetItem *item = m_items->itemOf(slot);
    if (!item)
        return true;
    const MibTree &object = m_state.tables.tree[slot];
    m_items->update(item, displayedName(m_state, slot), TreeItems::objectText(m_state, slot), object.Kind);
    if (change.entry >= 0)
        m_items->add(item, change.entry, displayedName(m_state, change.entry),
                     TreeItems::objectText(m_state, change.entry), ObjectKind::Entry);
    return true;
}

} // namespace korvel
