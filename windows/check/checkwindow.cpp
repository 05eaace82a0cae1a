#include "checkwindow.h"

#include "designcheck.h"
#include "designhistory.h"
#include "listwindow.h"
#include "messagetexts.h"
#include "tablefields.h"
#include "treewindow.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvel {

namespace {

enum Column { ObjectColumn, SeverityColumn, MessageColumn };

// The visible main window of type Window, or null.
template <typename Window>
Window *shownWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

CheckWindow::CheckWindow(AppState &state, Services &services, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("Check"));
    setWindowTitle(texts::checkTitle());

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("CheckList"));
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({QStringLiteral("オブジェクト名"), QStringLiteral("種別"), QStringLiteral("内容")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setWordWrap(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnWidth(ObjectColumn, 200);
    // The severity's icon and word always show in full.
    m_list->header()->setSectionResizeMode(SeverityColumn, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(640, 280);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("CheckCount"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_count);

    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CheckWindow::findingDoubleClicked);
    const auto refreshWhenShown = [this] {
        if (isVisible())
            refresh();
    };
    connect(&m_services.designChanges(), &DesignChanges::changed, this, refreshWhenShown);
    // An undo or redo puts another design in place.
    connect(&designHistory(m_state), &DesignHistory::restored, this, refreshWhenShown);
}

void CheckWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void CheckWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The findings' texts are made afresh in the language now shown.
    if (event->type() == QEvent::LanguageChange && isVisible())
        refresh();
}

void CheckWindow::refresh()
{
    CheckOptions options;
    options.baseModules = QDir(m_services.programFolder()).filePath(QStringLiteral("mibs"));
    const QList<Finding> findings = checkDesign(m_state, currentModuleInfo(m_state), options);

    m_list->clear();
    int errors = 0;
    for (const Finding &finding : findings) {
        auto *item = new QTreeWidgetItem(m_list);
        // The module's own findings name the module.
        item->setText(ObjectColumn, finding.object);
        item->setText(SeverityColumn, finding.isError() ? texts::checkError() : texts::checkWarning());
        item->setIcon(SeverityColumn, style()->standardIcon(finding.isError() ? QStyle::SP_MessageBoxCritical
                                                                               : QStyle::SP_MessageBoxWarning));
        const QString message = inShownLanguage(finding.japaneseMessage(), finding.englishMessage());
        item->setText(MessageColumn, message);
        item->setToolTip(MessageColumn, message);
        item->setData(ObjectColumn, Qt::UserRole, finding.slot);
        errors += finding.isError() ? 1 : 0;
    }
    if (findings.isEmpty()) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(MessageColumn, texts::checkNothingFound());
        item->setData(ObjectColumn, Qt::UserRole, -1);
    }
    m_count->setText(texts::checkCount().arg(errors).arg(findings.size() - errors));
}

void CheckWindow::findingDoubleClicked(QTreeWidgetItem *item)
{
    const int slot = item ? item->data(ObjectColumn, Qt::UserRole).toInt() : -1;
    if (!isSlot(slot) || m_state.tables.tree[slot].InUse != 1)
        return;
    TreeWindow *tree = shownWindow<TreeWindow>();
    if (!tree) {
        if (!m_services.switchWindow(MainWindow::Tree, shownWindow<ListWindow>()))
            return;
        tree = shownWindow<TreeWindow>();
    }
    if (tree)
        tree->selectObject(slot);
}

} // namespace korvel
