#include "treewindow.h"

#include "oid.h"
#include "tableops.h"
#include "treeitems.h"
#include "treepanel.h"
#include "treeplan.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>

namespace korvel {

namespace {

const QString &treeTitle()
{
    static const QString text = QStringLiteral("Korvel （ツリー）[*]");
    return text;
}

// Counts a stretch of the program's own changes to the tree.
class Quiet
{
public:
    explicit Quiet(int &depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~Quiet() { --m_depth; }
    Quiet(const Quiet &) = delete;
    Quiet &operator=(const Quiet &) = delete;

private:
    int &m_depth;
};

} // namespace

TreeWindow::TreeWindow(AppState &state, Services &services, QWidget *parent)
    : MainWindowShell(state, services, parent)
{
    setObjectName(QStringLiteral("Tree"));
    setWindowTitle(treeTitle());
    m_files.refresh = [this] { buildTree(); };
    m_files.updateTitle = [this] { setFileTitle(); };
    m_files.loadFailureLine = FileCommands::treeLoadFailureLine();
    m_files.clearChoiceWhenOpenFails = true;
    buildControls();
    buildMenus();
    buildTree();
}

TreeWindow::~TreeWindow() = default;

void TreeWindow::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_oidCaption = new QLabel(QStringLiteral("Object ID"), central);
    m_oidCaption->setObjectName(QStringLiteral("Label2"));
    m_pathBox = new QLineEdit(central);
    m_pathBox->setObjectName(QStringLiteral("Text1"));
    m_oidCaption->setBuddy(m_pathBox);

    m_treeView = new QTreeWidget(central);
    m_treeView->setObjectName(QStringLiteral("TreeView1"));
    m_treeView->setColumnCount(1);
    m_treeView->header()->hide();
    m_treeView->setSortingEnabled(false);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treeView->setRootIsDecorated(true);
    // Lines join the items, the root's included: a style that draws them.
    if (QStyle *lined = QStyleFactory::create(QStringLiteral("Windows"))) {
        lined->setParent(m_treeView);
        m_treeView->setStyle(lined);
    }
    m_treeView->setItemsExpandable(true);
    m_treeView->setIconSize(QSize(BallImages::Size, BallImages::Size));
    m_treeView->setMinimumSize(280, 360);
    m_treeView->viewport()->installEventFilter(this);
    m_items = std::make_unique<TreeItems>(m_treeView);

    const auto button = [central](const char *name, const QString &caption, QStyle::StandardPixmap picture) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(QLatin1String(name));
        b->setIcon(b->style()->standardIcon(picture));
        return b;
    };
    m_addButton = button("Command12", QStringLiteral("     追加"), QStyle::SP_FileIcon);
    m_deleteButton = button("Command11", QStringLiteral("     削除"), QStyle::SP_TrashIcon);
    m_createMibButton = button("Command1", QStringLiteral("        MIBﾌｧｲﾙ 作成"), QStyle::SP_DialogSaveButton);

    m_panel = new TreePanel(m_state, m_services, central);

    auto *top = new QHBoxLayout;
    top->addWidget(m_oidCaption);
    top->addWidget(m_pathBox, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_deleteButton);
    buttons->addWidget(m_createMibButton);

    auto *left = new QVBoxLayout;
    left->addWidget(m_treeView, 1);
    left->addLayout(buttons);

    auto *layout = new QGridLayout(central);
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addWidget(m_panel, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);

    // The full OID of the selected item's object.
    m_oidLabel = addOidLabel();

    connect(m_treeView, &QTreeWidget::itemPressed, this, &TreeWindow::itemPressed);
    connect(m_treeView, &QTreeWidget::itemSelectionChanged, this, &TreeWindow::selectionChanged);
    // Whoever changes the selection, the user or the program.
    connect(m_treeView, &QTreeWidget::itemSelectionChanged, this, &TreeWindow::showOid);
    connect(m_addButton, &QPushButton::clicked, this, &TreeWindow::addNewObject);
    connect(m_deleteButton, &QPushButton::clicked, this, &TreeWindow::deleteObjectTree);
    connect(m_createMibButton, &QPushButton::clicked, this, [this] { m_files.createMibFile(); });
    connect(m_panel->applyButton(), &QPushButton::clicked, this, &TreeWindow::applyPanel);
}

void TreeWindow::buildMenus()
{
    MainWindowShell::buildMenus({QStringLiteral("TREE"), "TREE_LOAD", QStringLiteral("MIBﾌｧｲﾙをﾛｰﾄﾞ(&L)"), "TREE_LIST",
                                 QStringLiteral("ﾘｽﾄ(&L)"), MainWindow::List});
}

void TreeWindow::setFileTitle()
{
    setWindowTitle(m_state.CurrentFile + QStringLiteral("[*] - Korvel （ツリー）"));
}

void TreeWindow::buildTree()
{
    const Quiet quiet(m_quiet);
    QTreeWidgetItem *root = m_items->restart();
    const QList<PlannedItem> plan = planTree(m_state);
    QList<QTreeWidgetItem *> made;
    made.reserve(plan.size());
    for (const PlannedItem &planned : plan) {
        QTreeWidgetItem *parent = planned.parent < 0 ? root : made[planned.parent];
        made.append(m_items->add(parent, planned.slot, displayedName(m_state, planned.slot),
                                 TreeItems::objectText(m_state, planned.slot),
                                 m_state.tables.tree[planned.slot].Kind));
    }
    m_items->attach();
    m_treeView->setCurrentItem(nullptr);
    m_treeView->clearSelection();
    m_panel->resetForBuild();
}

void TreeWindow::showItem(QTreeWidgetItem *item)
{
    // A failure inside ends the display silently, the panel as far as filled.
    try {
        const int position = m_items->positionOf(item);
        if (position < 1)
            return;
        m_pathBox->setText(TreeItems::fullPath(item));
        m_pathBox->setCursorPosition(static_cast<int>(m_pathBox->text().size()));
        m_state.ShownItemIndex = static_cast<int16_t>(position);
        m_panel->reset();
        if (item == m_items->root())
            return;
        const int slot = TreeItems::slotOf(item);
        if (!isSlot(slot) || m_state.tables.tree[slot].InUse != 1)
            return;
        m_state.EditTarget = static_cast<int16_t>(slot);
        m_panel->loadObject(slot);
    } catch (const std::exception &) {
    }
}

bool TreeWindow::selectObject(int slot)
{
    QTreeWidgetItem *item = isSlot(slot) ? m_items->itemOf(slot) : nullptr;
    if (!item)
        return false;
    selectQuietly(item);
    showItem(item);
    raise();
    activateWindow();
    return true;
}

void TreeWindow::showRestoredDesign()
{
    const std::optional<int> chosen = chosenObject();
    buildTree();
    QTreeWidgetItem *item = chosen ? m_items->itemOf(*chosen) : nullptr;
    if (!item)
        item = m_items->root();
    selectQuietly(item);
    showItem(item);
}

std::optional<int> TreeWindow::chosenObject() const
{
    const QTreeWidgetItem *item = selectedItem();
    if (!item || item == m_items->root())
        return std::nullopt;
    return TreeItems::slotOf(item);
}

void TreeWindow::goToObject(int slot)
{
    if (QTreeWidgetItem *item = m_items->itemOf(slot)) {
        selectQuietly(item);
        showItem(item);
    }
}

QTreeWidgetItem *TreeWindow::selectedItem() const
{
    const QList<QTreeWidgetItem *> selected = m_treeView->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void TreeWindow::selectQuietly(QTreeWidgetItem *item)
{
    const Quiet quiet(m_quiet);
    for (QTreeWidgetItem *above = item ? item->parent() : nullptr; above; above = above->parent())
        above->setExpanded(true);
    m_treeView->setCurrentItem(item);
    if (item)
        m_treeView->scrollToItem(item);
}

void TreeWindow::removeItems(const QList<int> &objects)
{
    const Quiet quiet(m_quiet);
    for (int slot : objects)
        m_items->remove(m_items->itemOf(slot));
}

bool TreeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_treeView->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_pressing = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_pressing = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TreeWindow::itemPressed(QTreeWidgetItem *item)
{
    if (m_quiet == 0)
        showItem(item);
}

void TreeWindow::selectionChanged()
{
    // A click shows its item once, on the press; this is the keyboard.
    if (m_quiet > 0 || m_pressing)
        return;
    if (QTreeWidgetItem *item = selectedItem())
        showItem(item);
}

void TreeWindow::showOid()
{
    const QTreeWidgetItem *item = selectedItem();
    if (!item) {
        m_oidLabel->clear();
        return;
    }
    m_oidLabel->setText(dottedOid(m_state, item == m_items->root() ? RootSlot : TreeItems::slotOf(item)));
}



} // namespace korvel
