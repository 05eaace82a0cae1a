#include "treepanel.h"

#include "controlstates.h"
#include "entryboxes.h"
#include "fieldtext.h"
#include "limitedboxes.h"
#include "messagetexts.h"
#include "tableops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <exception>

namespace korvel {

namespace {

// The most characters a user may type into each box.
constexpr int NameLimit = 255;
constexpr int ObjectIdLimit = 10;
constexpr int DescriptionLimit = 255;
constexpr int BoundLimit = 10;
constexpr int ValueLimit = 4;
constexpr int KeyPositionLimit = 4;

int optionIndex(KindOption option)
{
    switch (option) {
    case KindOption::Table:
        return 1;
    case KindOption::Leaf:
        return 2;
    case KindOption::Node:
        break;
    }
    return 0;
}

// The option that shows an object of `kind`: any kind but the three named
// is shown as an object.
KindOption optionShowing(int32_t kind)
{
    switch (kind) {
    case ObjectKind::Node:
        return KindOption::Node;
    case ObjectKind::Table:
    case ObjectKind::Entry:
        return KindOption::Table;
    default:
        return KindOption::Leaf;
    }
}

// The length of a stored text without the blanks that pad it.
int32_t significantLength(const QString &field)
{
    qsizetype end = qMin<qsizetype>(field.size(), NameWidth);
    while (end > 0 && field.at(end - 1).isSpace())
        --end;
    return static_cast<int32_t>(end);
}

void warn(Services &services, QStringView text)
{
    services.show(text.toString(), MessageKind::Warning);
}

} // namespace

TreePanel::TreePanel(AppState &state, Services &services, QWidget *parent)
    : QFrame(parent)
    , m_state(state)
    , m_services(services)
    , m_itemList(state.EnumValues)
{
    setObjectName(QStringLiteral("PanelFrame"));
    setFrameShape(QFrame::StyledPanel);
    buildControls();
}

void TreePanel::buildControls()
{
    const auto label = [](const char *name, const QString &caption, QWidget *parent) {
        auto *l = new QLabel(caption, parent);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    const auto box = [](const char *name, int limit, QWidget *parent) {
        auto *b = new QLineEdit(parent);
        b->setObjectName(QLatin1String(name));
        b->setMaxLength(limit);
        selectAllOnEntry(b);
        return b;
    };
    const auto button = [](const char *name, const QString &caption, QWidget *parent) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    m_form.kindFrame = new QGroupBox(this);
    m_form.kindFrame->setObjectName(QStringLiteral("KindFrame"));
    const QString captions[3] = {QStringLiteral("ツリー"), QStringLiteral("テーブル"), QStringLiteral("オブジェクト")};
    auto *kinds = new QHBoxLayout(m_form.kindFrame);
    for (int i = 0; i < 3; ++i) {
        m_form.kindOptions[i] = new QRadioButton(captions[i], m_form.kindFrame);
        m_form.kindOptions[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        kinds->addWidget(m_form.kindOptions[i]);
        connect(m_form.kindOptions[i], &QRadioButton::toggled, this, [this](bool chosen) {
            if (chosen)
                kindChosen();
        });
    }

    m_nameLabel = label("Label11", QStringLiteral("名前"), this);
    m_nameBox = box("Text5", NameLimit, this);
    m_objectIdLabel = label("Label10", QStringLiteral("オブジェクトID"), this);
    m_form.objectIdBox = box("Text4", ObjectIdLimit, this);

    m_form.descriptionFrame = new QGroupBox(QStringLiteral("説明"), this);
    m_form.descriptionFrame->setObjectName(QStringLiteral("DescriptionFrame"));
    m_form.descriptionBox = new LimitedTextEdit(DescriptionLimit, m_form.descriptionFrame);
    m_form.descriptionBox->setObjectName(QStringLiteral("Text7"));
    m_form.entryDescriptionLabel = label("Label5", QStringLiteral("ｴﾝﾄﾘの説明"), m_form.descriptionFrame);
    m_form.entryDescriptionBox = new LimitedTextEdit(DescriptionLimit, m_form.descriptionFrame);
    m_form.entryDescriptionBox->setObjectName(QStringLiteral("Text3"));
    selectAllOnEntry(m_form.descriptionBox);
    selectAllOnEntry(m_form.entryDescriptionBox);
    auto *descriptions = new QVBoxLayout(m_form.descriptionFrame);
    descriptions->addWidget(m_form.descriptionBox);
    descriptions->addWidget(m_form.entryDescriptionLabel);
    descriptions->addWidget(m_form.entryDescriptionBox);

    m_form.typeFrame = new QGroupBox(QStringLiteral("タイプ"), this);
    m_form.typeFrame->setObjectName(QStringLiteral("TypeFrame"));
    m_form.buildTypeControls({"Label4", "Command3", "Label3", "Label1"});
    m_form.minimumBox->setMaxLength(BoundLimit);
    m_form.maximumBox->setMaxLength(BoundLimit);
    m_form.itemBox->setMinimumContentsLength(12);
    m_form.itemValueBox->setMaxLength(ValueLimit);
    m_form.keyPositionBox->setMaxLength(KeyPositionLimit);

    // The range's bounds with "～" between them, and the key box with "順位"
    // and the position, each read as one row.
    const auto row = [](std::initializer_list<QWidget *> widgets) {
        auto *line = new QHBoxLayout;
        for (QWidget *widget : widgets)
            line->addWidget(widget);
        line->addStretch(1);
        return line;
    };
    auto *types = new QGridLayout(m_form.typeFrame);
    types->addWidget(m_form.syntaxList, 0, 0, 1, 2);
    types->addWidget(m_form.rangeBox, 1, 0);
    types->addLayout(row({m_form.minimumBox, m_form.rangeDash, m_form.maximumBox}), 1, 1);
    types->addWidget(m_form.listBox, 2, 0);
    types->addWidget(m_form.itemNameLabel, 3, 0);
    types->addWidget(m_form.itemBox, 3, 1);
    types->addWidget(m_form.itemValueLabel, 4, 0);
    types->addLayout(row({m_form.itemValueBox}), 4, 1);
    types->addLayout(row({m_form.addItemButton, m_form.removeItemButton}), 5, 0, 1, 2);
    types->addWidget(m_form.accessLabel, 6, 0);
    types->addWidget(m_form.accessList, 6, 1);
    types->addWidget(m_form.keyBox, 7, 0);
    types->addLayout(row({m_form.keyPositionLabel, m_form.keyPositionBox}), 7, 1);
    types->setColumnStretch(1, 1);
    // Number boxes as wide as the digits they take.
    const auto digits = [this](int count) {
        return m_form.minimumBox->fontMetrics().horizontalAdvance(QString(count + 1, u'0')) + 12;
    };
    for (QLineEdit *number : {m_form.minimumBox, m_form.maximumBox})
        number->setFixedWidth(digits(BoundLimit));
    for (QLineEdit *number : {m_form.itemValueBox, m_form.keyPositionBox})
        number->setFixedWidth(digits(ValueLimit));

    m_applyButton = button("Command4", QStringLiteral("    設定"), this);

    auto *fields = new QGridLayout;
    fields->addWidget(m_nameLabel, 0, 0);
    fields->addWidget(m_nameBox, 0, 1);
    fields->addWidget(m_objectIdLabel, 1, 0);
    fields->addWidget(m_form.objectIdBox, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_form.kindFrame);
    layout->addLayout(fields);
    layout->addWidget(m_form.descriptionFrame);
    layout->addWidget(m_form.typeFrame);
    layout->addWidget(m_applyButton);
    layout->addStretch(1);

    connect(m_form.rangeBox, &QCheckBox::toggled, this, &TreePanel::rangeBoxToggled);
    connect(m_form.listBox, &QCheckBox::toggled, this, &TreePanel::listBoxToggled);
    connect(m_form.keyBox, &QCheckBox::toggled, this, &TreePanel::keyBoxToggled);
    connect(m_form.syntaxList, &QComboBox::currentIndexChanged, this, &TreePanel::syntaxChosen);
    connect(m_form.itemBox, &QComboBox::currentIndexChanged, this, &TreePanel::itemChosen);
    // Choosing the entry already chosen (after typing over its name) counts too.
    connect(m_form.itemBox, &QComboBox::activated, this, &TreePanel::itemChosen);
    connect(m_form.itemBox->lineEdit(), &QLineEdit::textEdited, this, &TreePanel::itemEdited);
    connect(m_form.addItemButton, &QPushButton::clicked, this, &TreePanel::addPanelListItem);
    connect(m_form.removeItemButton, &QPushButton::clicked, this, &TreePanel::removeListItem);
}

KindOption TreePanel::kindOption() const
{
    return m_form.kindOption();
}

void TreePanel::chooseKind(KindOption option)
{
    QRadioButton *chosen = m_form.kindOptions[optionIndex(option)];
    // Choosing the option already chosen changes nothing the user sees, but
    // the states still follow it.
    if (chosen->isChecked())
        kindChosen();
    else
        chosen->setChecked(true);
}

bool TreePanel::ownEnabled(const QWidget *box) const
{
    return box->isEnabledTo(m_form.typeFrame);
}




void TreePanel::kindChosen()
{
    m_form.applyStates(kindOption());
}

void TreePanel::rangeBoxToggled(bool ticked)
{
    const bool bothEnabled = ownEnabled(m_form.rangeBox) && ownEnabled(m_form.listBox);
    if (refuseRangeWithList(ticked, m_form.listBox->isChecked(), bothEnabled, m_services)) {
        m_form.rangeBox->setChecked(false);
        return;
    }
    m_form.setRangeBoundsEnabled(ticked);
}

void TreePanel::listBoxToggled(bool ticked)
{
    const bool bothEnabled = ownEnabled(m_form.rangeBox) && ownEnabled(m_form.listBox);
    if (refuseRangeWithList(ticked, m_form.rangeBox->isChecked(), bothEnabled, m_services)) {
        m_form.listBox->setChecked(false);
        return;
    }
    m_form.setItemControlsEnabled(ticked);
}

void TreePanel::keyBoxToggled(bool ticked)
{
    m_form.setKeyPositionEnabled(ticked);
}

void TreePanel::syntaxChosen(int index)
{
    const bool enabled = enumerationEnabled(kindOption(), index);
    m_form.listBox->setEnabled(enabled);
    m_form.setItemControlsEnabled(enabled && m_form.listBox->isChecked());
}

void TreePanel::itemChosen(int index)
{
    const QString name = index >= 0 ? m_form.itemBox->itemText(index) : QString();
    setCodeText(m_form.itemValueBox, m_itemList.showItemValue(name, EnumItemList::ItemEvent::Chosen), ValueLimit);
}

void TreePanel::itemEdited(const QString &text)
{
    setCodeText(m_form.itemValueBox, m_itemList.showItemValue(text, EnumItemList::ItemEvent::Edited), ValueLimit);
}

void TreePanel::showItemList(int select)
{
    {
        const QSignalBlocker quiet(m_form.itemBox);
        m_form.itemBox->clear();
        m_form.itemBox->addItems(m_itemList.entries());
        m_form.itemBox->setCurrentIndex(-1);
    }
    if (select >= 0)
        m_form.itemBox->setCurrentIndex(select);
}

void TreePanel::resetForBuild()
{
    m_form.syntaxList->setCurrentIndex(0);
    m_itemList.reset();
    showItemList(-1);
    chooseKind(KindOption::Node);
}

void TreePanel::reset()
{
    m_nameBox->clear();
    setCodeText(m_form.objectIdBox, QStringLiteral("0"), ObjectIdLimit);
    chooseKind(KindOption::Node);
    m_form.descriptionBox->setText(QString());
    m_form.entryDescriptionBox->setText(QString());
    m_form.rangeBox->setChecked(false);
    setCodeText(m_form.minimumBox, QString(), BoundLimit);
    setCodeText(m_form.maximumBox, QString(), BoundLimit);
    m_form.listBox->setChecked(false);
    m_itemList.reset();
    {
        const QSignalBlocker quiet(m_form.itemBox);
        m_form.itemBox->clear();
    }
    setCodeText(m_form.itemValueBox, QString(), ValueLimit);
    m_form.accessList->setCurrentIndex(0);
    m_form.keyBox->setChecked(false);
    setCodeText(m_form.keyPositionBox, QString(), KeyPositionLimit);
    kindChosen();
}

void TreePanel::loadObject(int slot)
{
    const MibTree &object = m_state.tables.tree[slot];
    setCodeText(m_nameBox, displayedName(m_state, slot), NameLimit);
    setCodeText(m_form.objectIdBox, QString::number(object.ObjectId), ObjectIdLimit);
    const int32_t kind = object.Kind;
    if (kind != ObjectKind::Node) {
        const int attribute = attributeOf(m_state, slot);
        if (attribute < 0)
            return;
        MibAttribute &record = m_state.tables.attribute[attribute];
        const QString description = displayedText(record.Description, qMin(record.DescriptionLength, NameWidth));
        (kind == ObjectKind::Entry ? m_form.entryDescriptionBox : m_form.descriptionBox)->setText(description);
        // The stored length is set right once the description has been shown
        // by it; the next selection shows the whole text. Leading blanks
        // count, so that a text that starts with one never loses its end.
        record.DescriptionLength = significantLength(record.Description);
        if (kind == ObjectKind::Leaf) {
            const auto setBoxText = [this](QLineEdit *box, const QString &text) {
                setCodeText(box, text, box == m_form.keyPositionBox ? KeyPositionLimit : BoundLimit);
            };
            if (!m_form.loadSyntaxAndConstraint(m_state, slot, record, setBoxText, [this, slot] {
                    m_itemList.load(m_state, slot);
                    showItemList(0);
                }))
                return;
            m_form.loadAccessAndKey(record, setBoxText);
        }
    }
    chooseKind(optionShowing(kind));
}

EditorInput TreePanel::input() const
{
    EditorInput input = m_form.read(m_itemList);
    input.NameText = m_nameBox->text();
    return input;
}

void TreePanel::addPanelListItem()
{
    const QString name = m_form.itemBox->currentText();
    const QString valueText = m_form.itemValueBox->text();
    if (name.trimmed().isEmpty()) {
        warn(m_services, texts::itemNameEmpty());
        return;
    }
    if (valueText.isEmpty()) {
        warn(m_services, texts::itemValueEmpty());
        return;
    }
    const std::optional<quint64> value = digitValue(valueText);
    if (!value) {
        warn(m_services, texts::itemValueNotNumeric());
        return;
    }
    if (*value > static_cast<quint64>(qMax<int16_t>(m_state.ObjectLimit, 0))) {
        warn(m_services, texts::itemValueTooLarge());
        return;
    }
    bool stored = false;
    try {
        stored = m_itemList.appendItem(name, static_cast<qint64>(*value));
    } catch (const std::exception &) {
        stored = false;
    }
    if (!stored) {
        m_services.show(texts::itemAddFailed(), MessageKind::Error);
        return;
    }
    showItemList(m_itemList.itemCount());
    setCodeText(m_form.itemValueBox, QString(), ValueLimit);
}

void TreePanel::removeListItem()
{
    if (!m_itemList.removeListItem(m_form.itemBox->currentText(), m_form.itemValueBox->text(), m_services))
        return;
    showItemList(-1);
    setCodeText(m_form.itemValueBox, QString(), ValueLimit);
}

} // namespace korvel
