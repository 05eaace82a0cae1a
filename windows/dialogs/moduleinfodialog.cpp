#include "moduleinfodialog.h"
#include "messagetexts.h"

#include "fieldtext.h"
#include "moduleinfo.h"
#include "oid.h"
#include "tableops.h"
#include "tablefields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace korvel {

namespace {

constexpr quint64 LastSubId = 2147483647;
constexpr auto DateForm = "yyyy-MM-dd HH:mm";

// SMI names: letters, digits and single hyphens, no hyphen at the end (the
// boxes take the 64 characters SMI allows); a module name starts in upper
// case, a descriptor in lower case.
bool isSmiName(const QString &text, const char *first)
{
    static const QRegularExpression body(QStringLiteral("^[A-Za-z0-9]+(-[A-Za-z0-9]+)*$"));
    return !text.isEmpty() && QString::fromLatin1(first).contains(text.front()) && body.match(text).hasMatch();
}

constexpr auto UpperCase = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr auto LowerCase = "abcdefghijklmnopqrstuvwxyz";

QLineEdit *lineBox(QWidget *parent, const char *name, int maxLength = 255)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    return box;
}

QPlainTextEdit *textBox(QWidget *parent, const char *name)
{
    auto *box = new QPlainTextEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * 3 + 12);
    return box;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// The nodes of the design depth first, siblings by sub-identifier; a loop in
// the Parent chain is walked once.
void appendNodes(const AppState &state, int parent, QList<int> &nodes)
{
    QList<int> children = childrenOf(state, parent);
    std::stable_sort(children.begin(), children.end(), [&state](int a, int b) {
        return state.tables.tree[a].ObjectId < state.tables.tree[b].ObjectId;
    });
    for (int child : children) {
        if (state.tables.tree[child].Kind != ObjectKind::Node || nodes.contains(child))
            continue;
        nodes.append(child);
        appendNodes(state, child, nodes);
    }
}

} // namespace

ModuleInfoDialog::ModuleInfoDialog(AppState &state, Services &services, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("ModuleInfo"));
    setWindowTitle(QStringLiteral("ﾓｼﾞｭｰﾙ情報"));

    m_moduleName = lineBox(this, "ModuleName", 64);
    m_identity = lineBox(this, "Identity", 64);
    m_parent = new QComboBox(this);
    m_parent->setObjectName(QStringLiteral("IdentityParent"));
    m_subId = lineBox(this, "IdentitySubId", 10);
    m_lastUpdated = lineBox(this, "LastUpdated", 16);
    m_lastUpdated->setPlaceholderText(QStringLiteral("空欄: 作成時の日時"));
    m_organization = lineBox(this, "Organization");
    m_contact = textBox(this, "ContactInfo");
    m_description = textBox(this, "Description");

    m_parent->addItem(QStringLiteral("%1  (%2)").arg(QLatin1String(RootName), QLatin1String(RootOid)), RootSlot);
    QList<int> nodes;
    appendNodes(state, RootSlot, nodes);
    for (int node : nodes)
        m_parent->addItem(QStringLiteral("%1  (%2)").arg(displayedName(state, node), dottedOid(state, node)), node);

    m_revisions = new QTableWidget(0, 2, this);
    m_revisions->setObjectName(QStringLiteral("Revisions"));
    m_revisions->setHorizontalHeaderLabels({QStringLiteral("日時 (UTC)"), QStringLiteral("説明")});
    m_revisions->horizontalHeader()->setStretchLastSection(true);
    m_revisions->verticalHeader()->hide();
    m_revisions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_revisions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_revisions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_revisions->setColumnWidth(0, 130);
    m_revisions->setMinimumHeight(90);
    m_revisionDate = lineBox(this, "RevisionDate", 16);
    m_revisionDate->setPlaceholderText(QStringLiteral("2026-12-07 09:30"));
    m_revisionDescription = lineBox(this, "RevisionDescription");
    m_addRevision = button(this, "AddRevision", QStringLiteral("追加"));
    m_removeRevision = button(this, "RemoveRevision", QStringLiteral("削除"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto *cancel = button(this, "CancelButton", QStringLiteral("ｷｬﾝｾﾙ"));

    auto *place = new QHBoxLayout;
    place->addWidget(m_parent, 1);
    place->addWidget(new QLabel(QStringLiteral("ｻﾌﾞ識別子"), this));
    place->addWidget(m_subId);
    m_subId->setFixedWidth(m_subId->fontMetrics().horizontalAdvance(u'0') * 12 + 12);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("ﾓｼﾞｭｰﾙ名"), m_moduleName);
    form->addRow(QStringLiteral("識別子"), m_identity);
    form->addRow(QStringLiteral("親ｵﾌﾞｼﾞｪｸﾄ"), place);
    form->addRow(QStringLiteral("最終更新 (UTC)"), m_lastUpdated);
    form->addRow(QStringLiteral("組織"), m_organization);
    form->addRow(QStringLiteral("連絡先"), m_contact);
    form->addRow(QStringLiteral("説明"), m_description);

    auto *history = new QGroupBox(QStringLiteral("改版履歴"), this);
    auto *entry = new QHBoxLayout;
    entry->addWidget(m_revisionDate);
    entry->addWidget(m_revisionDescription, 1);
    entry->addWidget(m_addRevision);
    entry->addWidget(m_removeRevision);
    auto *historyLayout = new QVBoxLayout(history);
    historyLayout->addWidget(m_revisions);
    historyLayout->addLayout(entry);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(history, 1);
    layout->addLayout(buttons);
    resize(560, sizeHint().height());

    connect(ok, &QPushButton::clicked, this, &ModuleInfoDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_addRevision, &QPushButton::clicked, this, &ModuleInfoDialog::addRevision);
    connect(m_removeRevision, &QPushButton::clicked, this, &ModuleInfoDialog::removeRevision);

    fill(currentModuleInfo(state));
}

QString ModuleInfoDialog::dateText(const QDateTime &date)
{
    return date.isValid() ? date.toUTC().toString(QLatin1String(DateForm)) : QString();
}

QDateTime ModuleInfoDialog::parseDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDateTime date = QDateTime::fromString(trimmed, QLatin1String(DateForm));
    if (!date.isValid())
        date = QDateTime(QDate::fromString(trimmed, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    if (!date.isValid())
        return QDateTime();
    date.setTimeSpec(Qt::UTC);
    return date;
}

void ModuleInfoDialog::fill(const ModuleInfo &info)
{
    m_moduleName->setText(info.moduleName);
    m_identity->setText(info.identity);
    // A place that is no longer a node of the design is the root, as the writer takes it.
    const int parentIndex = m_parent->findData(info.identityParent);
    m_parent->setCurrentIndex(std::max(parentIndex, 0));
    m_subId->setText(QString::number(info.identitySubId));
    m_lastUpdated->setText(dateText(info.lastUpdated));
    m_organization->setText(info.organization);
    m_contact->setPlainText(info.contactInfo);
    m_description->setPlainText(info.description);
    for (const ModuleRevision &revision : info.revisions)
        appendRevisionRow(revision);
}

void ModuleInfoDialog::appendRevisionRow(const ModuleRevision &revision)
{
    const int row = m_revisions->rowCount();
    m_revisions->insertRow(row);
    auto *date = new QTableWidgetItem(dateText(revision.date));
    date->setData(Qt::UserRole, revision.date);
    m_revisions->setItem(row, 0, date);
    m_revisions->setItem(row, 1, new QTableWidgetItem(revision.description));
}

void ModuleInfoDialog::addRevision()
{
    const QDateTime date = parseDate(m_revisionDate->text());
    if (!date.isValid()) {
        m_services.show(texts::revisionDateInvalid(),
                        MessageKind::Warning);
        m_revisionDate->setFocus();
        return;
    }
    appendRevisionRow({date, m_revisionDescription->text()});
    m_revisions->selectRow(m_revisions->rowCount() - 1);
    m_revisionDate->clear();
    m_revisionDescription->clear();
}

void ModuleInfoDialog::removeRevision()
{
    const int row = m_revisions->currentRow();
    if (row < 0) {
        m_services.show(texts::chooseRevision(), MessageKind::Warning);
        return;
    }
    m_revisions->removeRow(row);
}

std::optional<ModuleInfo> ModuleInfoDialog::checkedValues()
{
    const auto refuse = [this](const QString &text, QWidget *box) -> std::optional<ModuleInfo> {
        m_services.show(text, MessageKind::Warning);
        box->setFocus();
        return std::nullopt;
    };
    ModuleInfo info;
    info.moduleName = m_moduleName->text().trimmed();
    info.identity = m_identity->text().trimmed();
    info.identityParent = m_parent->currentData().toInt();
    info.organization = m_organization->text();
    info.contactInfo = m_contact->toPlainText();
    info.description = m_description->toPlainText();

    if (info.moduleName.isEmpty())
        return refuse(texts::moduleNameEmpty(), m_moduleName);
    if (!isSmiName(info.moduleName, UpperCase))
        return refuse(texts::moduleNameInvalid(),
                      m_moduleName);
    if (!isSmiName(info.identity, LowerCase))
        return refuse(texts::identityInvalid(), m_identity);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (m_state.tables.tree[slot].InUse == 1 && displayedName(m_state, slot) == info.identity)
            return refuse(texts::identityTaken(), m_identity);
    }
    const std::optional<quint64> subId = isAllDigits(m_subId->text()) ? digitValue(m_subId->text()) : std::nullopt;
    if (!subId || *subId < 1 || *subId > LastSubId)
        return refuse(texts::subIdOutOfRange(), m_subId);
    info.identitySubId = static_cast<int32_t>(*subId);
    for (int child : childrenOf(m_state, info.identityParent)) {
        if (m_state.tables.tree[child].ObjectId == info.identitySubId)
            return refuse(texts::subIdTaken(), m_subId);
    }
    if (!m_lastUpdated->text().trimmed().isEmpty()) {
        info.lastUpdated = parseDate(m_lastUpdated->text());
        if (!info.lastUpdated.isValid())
            return refuse(texts::lastUpdatedInvalid(),
                          m_lastUpdated);
    }
    for (int row = 0; row < m_revisions->rowCount(); ++row)
        info.revisions.append({m_revisions->item(row, 0)->data(Qt::UserRole).toDateTime(),
                               m_revisions->item(row, 1)->text()});
    return info;
}

void ModuleInfoDialog::accept()
{
    const std::optional<ModuleInfo> info = checkedValues();
    if (!info)
        return;
    m_state.ModuleInformation = *info;
    QDialog::accept();
}

} // namespace korvel
