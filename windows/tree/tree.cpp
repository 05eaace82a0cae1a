#include "tree.h"

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
    static const QString text = QStringLiteral("Korvel （ツリー）");
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

Tree::Tree(AppState &state, Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_files(state, services, this)
{
    setObjectName(QStringLiteral("Tree"));
    setWindowTitle(treeTitle());
    m_files.refresh = [this] { BuildTree(); };
    m_files.updateTitle = [this] { setFileTitle(); };
    m_files.loadFailureLine = FileCommands::treeLoadFailureLine();
    m_files.clearChoiceWhenOpenFails = true;
    buildControls();
    buildMenus();
    BuildTree();
}

Tree::~Tree() = default;

void Tree::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_label2 = new QLabel(QStringLiteral("Object ID"), central);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_text1 = new QLineEdit(central);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_label2->setBuddy(m_text1);

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
    m_command12 = button("Command12", QStringLiteral("     追加"), QStyle::SP_FileIcon);
    m_command11 = button("Command11", QStringLiteral("     削除"), QStyle::SP_TrashIcon);
    m_command1 = button("Command1", QStringLiteral("        MIBﾌｧｲﾙ 作成"), QStyle::SP_DialogSaveButton);

    m_panel = new TreePanel(m_state, m_services, central);

    auto *top = new QHBoxLayout;
    top->addWidget(m_label2);
    top->addWidget(m_text1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_command12);
    buttons->addWidget(m_command11);
    buttons->addWidget(m_command1);

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
    m_oid = new QLabel(this);
    m_oid->setObjectName(QStringLiteral("OidLabel"));
    m_oid->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(m_oid, 1);

    connect(m_treeView, &QTreeWidget::itemPressed, this, &Tree::itemPressed);
    connect(m_treeView, &QTreeWidget::itemSelectionChanged, this, &Tree::selectionChanged);
    // Whoever changes the selection, the user or the program.
    connect(m_treeView, &QTreeWidget::itemSelectionChanged, this, &Tree::showOid);
    connect(m_command12, &QPushButton::clicked, this, &Tree::AddNewObject);
    connect(m_command11, &QPushButton::clicked, this, &Tree::DeleteObjectTree);
    connect(m_command1, &QPushButton::clicked, this, [this] { m_files.createMibFile(); });
    connect(m_panel->applyButton(), &QPushButton::clicked, this, &Tree::ApplyPanel);
}

void Tree::buildMenus()
{
    const auto menu = [this](const char *name, const QString &caption) {
        QMenu *m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(name));
        return m;
    };
    const auto item = [this](QMenu *m, const char *name, const QString &caption, auto handler) {
        QAction *action = m->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    const auto separator = [](QMenu *m, const char *name) {
        m->addSeparator()->setObjectName(QLatin1String(name));
    };

    QMenu *file = menu("TREE_FILE", QStringLiteral("ﾌｧｲﾙ(&F)"));
    item(file, "TREE_OPEN", QStringLiteral("ﾃﾞｻﾞｲﾝﾌｧｲﾙを開く(&O)"), [this] { m_files.openDesignFile(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    item(file, "TREE_SAVE", QStringLiteral("保存(&S)"), [this] { m_files.saveDesignFile(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    separator(file, "TREE_SEPARATE");
    item(file, "TREE_LOAD", QStringLiteral("MIBﾌｧｲﾙをﾛｰﾄﾞ(&L)"), [this] { m_files.loadMibFile(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    separator(file, "TREE_SEPARATE2");
    item(file, "TREE_END", QStringLiteral("終了(&X)"), &QWidget::close);

    QMenu *view = menu("TREE_VIEW", QStringLiteral("表示(&V)"));
    item(view, "TREE_LIST", QStringLiteral("ﾘｽﾄ(&L)"), &Tree::showList);

    QMenu *help = menu("TREE_HELP", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    item(help, "TREE_HELP_HELP", QStringLiteral("ﾍﾙﾌﾟ(&H)"), [this] { m_services.showHelp(); });
    item(help, "TREE_VERSION", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), &Tree::showVersion);
}

void Tree::setFileTitle()
{
    setWindowTitle(m_state.CurrentFile + QStringLiteral(" - Korvel （ツリー）"));
}

void Tree::BuildTree()
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

void Tree::ShowItem(QTreeWidgetItem *item)
{
    // A failure inside ends the display silently, the panel as far as filled.
    try {
        const int position = m_items->positionOf(item);
        if (position < 1)
            return;
        m_text1->setText(TreeItems::fullPath(item));
        m_text1->setCursorPosition(static_cast<int>(m_text1->text().size()));
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

QTreeWidgetItem *Tree::selectedItem() const
{
    const QList<QTreeWidgetItem *> selected = m_treeView->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

void Tree::selectQuietly(QTreeWidgetItem *item)
{
    const Quiet quiet(m_quiet);
    for (QTreeWidgetItem *above = item ? item->parent() : nullptr; above; above = above->parent())
        above->setExpanded(true);
    m_treeView->setCurrentItem(item);
    if (item)
        m_treeView->scrollToItem(item);
}

void Tree::removeItems(const QList<int> &objects)
{
    const Quiet quiet(m_quiet);
    for (int slot : objects)
        m_items->remove(m_items->itemOf(slot));
}

bool Tree::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_treeView->viewport()) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            m_pressing = true;
        else if (event->type() == QEvent::MouseButtonRelease)
            m_pressing = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tree::itemPressed(QTreeWidgetItem *item)
{
    if (m_quiet == 0)
        ShowItem(item);
}

void Tree::selectionChanged()
{
    // A click shows its item once, on the press; this is the keyboard.
    if (m_quiet > 0 || m_pressing)
        return;
    if (QTreeWidgetItem *item = selectedItem())
        ShowItem(item);
}

void Tree::showOid()
{
    const QTreeWidgetItem *item = selectedItem();
    if (!item) {
        m_oid->clear();
        return;
    }
    m_oid->setText(dottedOid(m_state, item == m_items->root() ? RootSlot : TreeItems::slotOf(item)));
}

void Tree::showList()
{
    m_services.switchWindow(MainWindow::List, this);
}

void Tree::showVersion()
{
    m_services.openDialog(ModalDialog::Version, this);
}

} // namespace korvel
