#include "listwindow.h"
#include "messagetexts.h"

#include "designhistory.h"
#include "oid.h"
#include "tableops.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QMouseEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <exception>

namespace korvel {

namespace {

// Twips at 96 dpi.
constexpr int twips(int value)
{
    return value / 15;
}

constexpr int NameColumn = 0;
constexpr int IdColumn = 1;
constexpr int SlotColumn = 2;

QString selectMessage()
{
    return texts::selectFromList();
}

QIcon loadIcon(const QString &folder, const char *file)
{
    // A missing or unreadable picture leaves the cells without one.
    const QPixmap picture(folder + QLatin1String(file));
    return picture.isNull() ? QIcon() : QIcon(picture);
}

} // namespace

ListWindow::ListWindow(AppState &state, Services &services, QWidget *parent)
    : MainWindowShell(state, services, parent)
{
    setObjectName(QStringLiteral("List"));
    m_files.refresh = [this] { refresh(); };
    m_files.updateTitle = [this] { updateTitle(); };
    buildControls();
    buildMenus();
    updateTitle();
}

void ListWindow::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_levelLabel = new QLabel(QStringLiteral("親ｵﾌﾞｼﾞｪｸﾄ"), central);
    m_levelLabel->setObjectName(QStringLiteral("Label1"));
    m_levelBox = new QLineEdit(central);
    m_levelBox->setObjectName(QStringLiteral("Text1"));
    m_levelLabel->setBuddy(m_levelBox);
    m_upButton = new QPushButton(QStringLiteral("上へ"), central);
    m_upButton->setObjectName(QStringLiteral("Command1"));

    m_grid = new QTableWidget(0, 3, central);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral("オブジェクト名"), QStringLiteral("オブジェクトID"), QString()});
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->verticalHeader()->hide();
    m_grid->setColumnWidth(NameColumn, twips(3000));
    m_grid->setColumnWidth(IdColumn, twips(1500));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->setIconSize(QSize(15, 15));
    // The name and ID columns fill the visible width (fitColumns); the slot
    // column lies beyond it and is seen only by scrolling.
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setMinimumWidth(twips(3000) + twips(1500) + 2 * m_grid->frameWidth()
                            + m_grid->verticalScrollBar()->sizeHint().width());
    m_grid->setMinimumHeight(280);
    m_grid->viewport()->installEventFilter(this);

    const auto button = [central](const QString &name, const QString &caption, QStyle::StandardPixmap picture) {
        auto *b = new QPushButton(caption, central);
        b->setObjectName(name);
        if (picture != QStyle::SP_CustomBase)
            b->setIcon(b->style()->standardIcon(picture));
        return b;
    };
    m_addButton = button(QStringLiteral("Command12"), QStringLiteral("     追加"), QStyle::SP_FileIcon);
    m_changeButton = button(QStringLiteral("Command7"), QStringLiteral("     変更"), QStyle::SP_FileDialogDetailedView);
    m_deleteButton = button(QStringLiteral("Command11"), QStringLiteral("     削除"), QStyle::SP_TrashIcon);
    m_trapButton = button(QStringLiteral("Command8"), QStringLiteral("ﾄﾗｯﾌﾟ追加"), QStyle::SP_CustomBase);
    m_trapButton->setVisible(false);
    m_createMibButton = button(QStringLiteral("Command3"), QStringLiteral("        MIBﾌｧｲﾙ 作成"),
                        QStyle::SP_DialogSaveButton);

    auto *top = new QHBoxLayout;
    top->addWidget(m_levelLabel);
    top->addWidget(m_levelBox, 1);
    top->addWidget(m_upButton);

    auto *editing = new QHBoxLayout;
    editing->addWidget(m_addButton);
    editing->addWidget(m_changeButton);
    editing->addWidget(m_deleteButton);

    auto *side = new QVBoxLayout;
    side->addWidget(m_trapButton);
    side->addWidget(m_createMibButton);
    side->addStretch(1);

    auto *layout = new QGridLayout(central);
    layout->addLayout(top, 0, 0, 1, 2);
    layout->addWidget(m_grid, 1, 0);
    layout->addLayout(side, 1, 1);
    layout->addLayout(editing, 2, 0);
    // The grid takes the room the window is given; the buttons keep theirs.
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(1, 1);

    // The full OID of the current row's object.
    m_oidLabel = addOidLabel();

    connect(m_upButton, &QPushButton::clicked, this, &ListWindow::goUp);
    connect(m_addButton, &QPushButton::clicked, this, &ListWindow::addObject);
    connect(m_changeButton, &QPushButton::clicked, this, &ListWindow::changeObject);
    connect(m_deleteButton, &QPushButton::clicked, this, &ListWindow::deleteObject);
    connect(m_createMibButton, &QPushButton::clicked, this, [this] { m_files.createMibFile(); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &ListWindow::gridDoubleClicked);
    // The header is part of the grid: a double-click there acts on the current row too.
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, &ListWindow::gridDoubleClicked);
    connect(m_grid, &QTableWidget::currentCellChanged, this, &ListWindow::currentRowChanged);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListWindow::keepCurrentRowSelected);
}

void ListWindow::buildMenus()
{
    QAction *tree = MainWindowShell::buildMenus({QStringLiteral("MIB"), "MIB_DEF_OPEN", QStringLiteral("MIBﾌｧｲﾙのﾛｰﾄﾞ(&L)"),
                                                 "MIB_TREE", QStringLiteral("ﾂﾘｰ(&T)"), MainWindow::Tree});
    tree->setEnabled(m_services.hasWindow(MainWindow::Tree));
}

void ListWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

bool ListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport()) {
        if (event->type() == QEvent::Resize)
            fitColumns();
        // Below the last row there is no cell to act on: a double-click there
        // acts on the current row, as one on a cell does.
        if (event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (!m_grid->indexAt(mouse->position().toPoint()).isValid()) {
                gridDoubleClicked();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ListWindow::fitColumns()
{
    // The ID column keeps its width; the name column takes the rest.
    const int idWidth = twips(1500);
    m_grid->setColumnWidth(NameColumn, qMax(twips(3000), m_grid->viewport()->width() - idWidth));
    m_grid->setColumnWidth(IdColumn, idWidth);
}

void ListWindow::keepCurrentRowSelected()
{
    // A click below the rows (or a Ctrl+click on the row) would clear the
    // highlight while the commands still act on the current row.
    const int row = m_grid->currentRow();
    if (row >= 0 && !m_grid->selectionModel()->isRowSelected(row, QModelIndex()))
        m_grid->selectRow(row);
}

void ListWindow::currentRowChanged()
{
    const std::optional<int> slot = selectedSlot(IdColumn);
    m_oidLabel->setText(slot ? dottedOid(m_state, *slot) : QString());
}

void ListWindow::updateTitle()
{
    setWindowTitle(m_state.CurrentFile + QStringLiteral("[*] - Korvel （リスト）"));
}

void ListWindow::refresh()
{
    updateTitle();

    // A level whose object is gone (deleted from the Tree window, say) is
    // shown as the top level rather than as a level of nothing.
    int16_t &level = m_state.ListLevel;
    if (level != RootSlot && (!isSlot(level) || m_state.tables.tree[level].InUse != 1))
        level = RootSlot;

    const QString icons = m_services.programFolder() + QStringLiteral("/icon/");
    const QIcon green = loadIcon(icons, "green.bmp");
    const QIcon blue = loadIcon(icons, "blue.bmp");
    const QIcon orange = loadIcon(icons, "orange.bmp");

    QList<int> rows;
    const int limit = qMin<int>(m_state.ObjectLimit, SlotCount - 1);
    const int inUse = m_state.tables.MibTreeCount;
    int passed = 0;
    for (int slot = 0; slot <= limit && passed < inUse; ++slot) {
        const MibTree &record = m_state.tables.tree[slot];
        if (record.InUse != 1)
            continue;
        ++passed;
        if (record.Parent == level)
            rows.append(slot);
    }

    m_grid->setUpdatesEnabled(false);
    m_grid->clearContents();
    m_grid->setRowCount(rows.isEmpty() ? 1 : int(rows.size()));
    if (rows.isEmpty()) {
        for (int column = 0; column < 3; ++column)
            m_grid->setItem(0, column, new QTableWidgetItem);
    }
    for (int row = 0; row < rows.size(); ++row) {
        const int slot = rows[row];
        const int kind = m_state.tables.tree[slot].Kind;
        const QIcon &icon = kind == ObjectKind::Node ? green
                            : kind == ObjectKind::Table || kind == ObjectKind::Entry ? blue
                            : kind == ObjectKind::Leaf ? orange
                                                       : QIcon();
        auto *name = new QTableWidgetItem(icon, QStringLiteral("    ") + displayedName(m_state, slot));
        name->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        auto *id = new QTableWidgetItem(QString::number(m_state.tables.tree[slot].ObjectId));
        id->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *slotItem = new QTableWidgetItem(QString::number(slot));
        slotItem->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_grid->setItem(row, NameColumn, name);
        m_grid->setItem(row, IdColumn, id);
        m_grid->setItem(row, SlotColumn, slotItem);
    }
    m_grid->setCurrentCell(0, NameColumn);
    m_grid->horizontalScrollBar()->setValue(0);
    m_grid->setUpdatesEnabled(true);
    currentRowChanged();

    m_levelBox->setText(level == RootSlot ? QString::fromLatin1(RootName) : displayedName(m_state, level));
    m_levelBox->setCursorPosition(int(m_levelBox->text().size()));
}

std::optional<int> ListWindow::selectedSlot(int keyColumn) const
{
    const int row = qMax(0, m_grid->currentRow());
    const auto cell = [this, row](int column) {
        const QTableWidgetItem *item = m_grid->item(row, column);
        return item ? item->text() : QString();
    };
    if (row == 0 && cell(keyColumn).isEmpty())
        return std::nullopt;
    bool number = false;
    const int slot = cell(SlotColumn).toInt(&number);
    if (!number || !isSlot(slot))
        return std::nullopt;
    return slot;
}

void ListWindow::showRestoredDesign()
{
    refresh();
}

std::optional<int> ListWindow::chosenObject() const
{
    return selectedSlot(IdColumn);
}

void ListWindow::goToObject(int slot)
{
    const int parent = m_state.tables.tree[slot].Parent;
    m_state.ListLevel = static_cast<int16_t>(isSlot(parent) ? parent : RootSlot);
    refresh();
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const QTableWidgetItem *item = m_grid->item(row, SlotColumn);
        if (item && item->text() == QString::number(slot)) {
            m_grid->setCurrentCell(row, NameColumn);
            m_grid->scrollToItem(m_grid->item(row, NameColumn));
            break;
        }
    }
}

bool ListWindow::openEditor(const QString &failure)
{
    // The editor preselects the level shown as the parent of a new object.
    m_state.EditorLevel = m_levelBox->text();
    DialogOutcome outcome = DialogOutcome::Missing;
    {
        const RecordedChange change(m_state);
        outcome = m_services.openDialog(ModalDialog::Design, this);
    }
    switch (outcome) {
    case DialogOutcome::Missing:
    case DialogOutcome::Refused:
        m_services.show(failure, MessageKind::Error);
        return false;
    case DialogOutcome::Accepted:
        // The editor accepts only once it has added or changed the object.
        m_services.designChanged();
        break;
    case DialogOutcome::Rejected:
        break;
    }
    return true;
}

std::optional<int> ListWindow::chosenSlot(int keyColumn)
{
    const std::optional<int> slot = selectedSlot(keyColumn);
    if (!slot)
        m_services.show(selectMessage(), MessageKind::Warning);
    return slot;
}

void ListWindow::goUp()
{
    if (m_levelBox->text().isEmpty() || m_state.ListLevel == RootSlot)
        return;
    const int parent = isSlot(m_state.ListLevel) ? m_state.tables.tree[m_state.ListLevel].Parent : RootSlot;
    m_state.ListLevel = static_cast<int16_t>(isSlot(parent) ? parent : RootSlot);
    refresh();
}

void ListWindow::gridDoubleClicked()
{
    const QString failure = texts::changeFailed();
    runCommand(failure, [&] {
        const std::optional<int> slot = chosenSlot(IdColumn);
        if (!slot)
            return;
        m_state.EditTarget = static_cast<int16_t>(*slot);
        if (m_state.tables.tree[*slot].Kind == ObjectKind::Leaf) {
            if (openEditor(failure))
                refresh();
            return;
        }
        m_state.ListLevel = static_cast<int16_t>(*slot);
        refresh();
    });
}

void ListWindow::addObject()
{
    const QString failure = texts::addFailed();
    runCommand(failure, [&] {
        m_state.EditTarget = -1;
        if (openEditor(failure))
            refresh();
    });
}

void ListWindow::changeObject()
{
    const QString failure = texts::changeFailed();
    runCommand(failure, [&] {
        const std::optional<int> slot = chosenSlot(IdColumn);
        if (!slot)
            return;
        m_state.EditTarget = static_cast<int16_t>(*slot);
        if (openEditor(failure))
            refresh();
    });
}

void ListWindow::deleteObject()
{
    runCommand(texts::deleteFailed(), [&] {
        const std::optional<int> slot = chosenSlot(NameColumn);
        if (!slot)
            return;
        if (!m_services.ask(texts::confirmDelete()))
            return;
        if (m_state.tables.tree[*slot].Kind == ObjectKind::Entry) {
            m_services.show(texts::entryNotDeletable(),
                            MessageKind::Warning);
            return;
        }
        bool deleted = false;
        {
            const RecordedChange change(m_state);
            deleted = deleteSubtree(m_state, *slot);
        }
        m_services.designChanged();
        if (!deleted)
            m_services.show(texts::deleteFailed(), MessageKind::Error);
        // Also after a failure: what was removed stays removed, and the grid
        // must not offer rows whose objects are gone.
        refresh();
    });
}



} // namespace korvel
