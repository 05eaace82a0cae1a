#include "treepanel.h"

#include "controlstates.h"
#include "entryboxes.h"
#include "fieldtext.h"
#include "panelboxes.h"
#include "rulemessages.h"
#include "tableops.h"
#include "treemessages.h"

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
    const auto check = [](const char *name, const QString &caption, QWidget *parent) {
        auto *c = new QCheckBox(caption, parent);
        c->setObjectName(QLatin1String(name));
        return c;
    };
    const auto button = [](const char *name, const QString &caption, QWidget *parent) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1String(name));
        return b;
    };

    m_kindFrame = new QGroupBox(this);
    m_kindFrame->setObjectName(QStringLiteral("KindFrame"));
    const QString captions[3] = {QStringLiteral("ツリー"), QStringLiteral("テーブル"), QStringLiteral("オブジェクト")};
    auto *kinds = new QHBoxLayout(m_kindFrame);
    for (int i = 0; i < 3; ++i) {
        m_option[i] = new QRadioButton(captions[i], m_kindFrame);
        m_option[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        kinds->addWidget(m_option[i]);
        connect(m_option[i], &QRadioButton::toggled, this, [this](bool chosen) {
            if (chosen)
                kindChosen();
        });
    }

    m_label11 = label("Label11", QStringLiteral("名前"), this);
    m_text5 = box("Text5", NameLimit, this);
    m_label10 = label("Label10", QStringLiteral("オブジェクトID"), this);
    m_text4 = box("Text4", ObjectIdLimit, this);

    m_descriptionFrame = new QGroupBox(QStringLiteral("説明"), this);
    m_descriptionFrame->setObjectName(QStringLiteral("DescriptionFrame"));
    m_text7 = new LimitedTextEdit(DescriptionLimit, m_descriptionFrame);
    m_text7->setObjectName(QStringLiteral("Text7"));
    m_label5 = label("Label5", QStringLiteral("ｴﾝﾄﾘの説明"), m_descriptionFrame);
    m_text3 = new LimitedTextEdit(DescriptionLimit, m_descriptionFrame);
    m_text3->setObjectName(QStringLiteral("Text3"));
    selectAllOnEntry(m_text7);
    selectAllOnEntry(m_text3);
    auto *descriptions = new QVBoxLayout(m_descriptionFrame);
    descriptions->addWidget(m_text7);
    descriptions->addWidget(m_label5);
    descriptions->addWidget(m_text3);

    m_typeFrame = new QGroupBox(QStringLiteral("タイプ"), this);
    m_typeFrame->setObjectName(QStringLiteral("TypeFrame"));
    QWidget *type = m_typeFrame;
    m_combo7 = new QComboBox(type);
    m_combo7->setObjectName(QStringLiteral("Combo7"));
    m_combo7->addItems({QStringLiteral("INTEGER"), QStringLiteral("OCTET STRING"), QStringLiteral("OBJECT IDENTIFIER"),
                        QStringLiteral("IpAddress"), QStringLiteral("Counter"), QStringLiteral("Gauge"),
                        QStringLiteral("TimeTicks"), QStringLiteral("Opaque")});
    m_check4 = check("Check4", QStringLiteral("範囲の指定"), type);
    m_text9 = box("Text9", BoundLimit, type);
    m_label9 = label("Label9", QStringLiteral("～"), type);
    m_text10 = box("Text10", BoundLimit, type);
    m_check3 = check("Check3", QStringLiteral("リスト"), type);
    m_label8 = label("Label8", QStringLiteral("名前"), type);
    // The editor's item list: names as typed, compared exactly.
    m_combo6 = makeTypedList("Combo6", type);
    m_combo6->setMinimumContentsLength(12);
    m_label4 = label("Label4", QStringLiteral("値"), type);
    m_text8 = box("Text8", ValueLimit, type);
    m_command3 = button("Command3", QStringLiteral("ﾘｽﾄへ追加"), type);
    m_command2 = button("Command2", QStringLiteral("ﾘｽﾄから削除"), type);
    m_label3 = label("Label3", QStringLiteral("アクセス権"), type);
    m_combo1 = new QComboBox(type);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->addItems({QStringLiteral("read-only"), QStringLiteral("read-write"), QStringLiteral("not-accessible")});
    m_check1 = check("Check1", QStringLiteral("ﾃｰﾌﾞﾙｷｰ"), type);
    m_label1 = label("Label1", QStringLiteral("順位"), type);
    m_text2 = box("Text2", KeyPositionLimit, type);

    // The range's bounds with "～" between them, and the key box with "順位"
    // and the position, each read as one row.
    const auto row = [](std::initializer_list<QWidget *> widgets) {
        auto *line = new QHBoxLayout;
        for (QWidget *widget : widgets)
            line->addWidget(widget);
        line->addStretch(1);
        return line;
    };
    auto *types = new QGridLayout(m_typeFrame);
    types->addWidget(m_combo7, 0, 0, 1, 2);
    types->addWidget(m_check4, 1, 0);
    types->addLayout(row({m_text9, m_label9, m_text10}), 1, 1);
    types->addWidget(m_check3, 2, 0);
    types->addWidget(m_label8, 3, 0);
    types->addWidget(m_combo6, 3, 1);
    types->addWidget(m_label4, 4, 0);
    types->addLayout(row({m_text8}), 4, 1);
    types->addLayout(row({m_command3, m_command2}), 5, 0, 1, 2);
    types->addWidget(m_label3, 6, 0);
    types->addWidget(m_combo1, 6, 1);
    types->addWidget(m_check1, 7, 0);
    types->addLayout(row({m_label1, m_text2}), 7, 1);
    types->setColumnStretch(1, 1);
    // Number boxes as wide as the digits they take.
    const auto digits = [this](int count) {
        return m_text9->fontMetrics().horizontalAdvance(QString(count + 1, u'0')) + 12;
    };
    for (QLineEdit *number : {m_text9, m_text10})
        number->setFixedWidth(digits(BoundLimit));
    for (QLineEdit *number : {m_text8, m_text2})
        number->setFixedWidth(digits(ValueLimit));

    m_command4 = button("Command4", QStringLiteral("    設定"), this);

    auto *fields = new QGridLayout;
    fields->addWidget(m_label11, 0, 0);
    fields->addWidget(m_text5, 0, 1);
    fields->addWidget(m_label10, 1, 0);
    fields->addWidget(m_text4, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_kindFrame);
    layout->addLayout(fields);
    layout->addWidget(m_descriptionFrame);
    layout->addWidget(m_typeFrame);
    layout->addWidget(m_command4);
    layout->addStretch(1);

    connect(m_check4, &QCheckBox::toggled, this, &TreePanel::rangeBoxToggled);
    connect(m_check3, &QCheckBox::toggled, this, &TreePanel::listBoxToggled);
    connect(m_check1, &QCheckBox::toggled, this, &TreePanel::keyBoxToggled);
    connect(m_combo7, &QComboBox::currentIndexChanged, this, &TreePanel::syntaxChosen);
    connect(m_combo6, &QComboBox::currentIndexChanged, this, &TreePanel::itemChosen);
    // Choosing the entry already chosen (after typing over its name) counts too.
    connect(m_combo6, &QComboBox::activated, this, &TreePanel::itemChosen);
    connect(m_combo6->lineEdit(), &QLineEdit::textEdited, this, &TreePanel::itemEdited);
    connect(m_command3, &QPushButton::clicked, this, &TreePanel::AddPanelListItem);
    connect(m_command2, &QPushButton::clicked, this, &TreePanel::removeListItem);
}

KindOption TreePanel::kindOption() const
{
    if (m_option[1]->isChecked())
        return KindOption::Table;
    if (m_option[2]->isChecked())
        return KindOption::Leaf;
    return KindOption::Node;
}

void TreePanel::chooseKind(KindOption option)
{
    QRadioButton *chosen = m_option[optionIndex(option)];
    // Choosing the option already chosen changes nothing the user sees, but
    // the states still follow it.
    if (chosen->isChecked())
        kindChosen();
    else
        chosen->setChecked(true);
}

bool TreePanel::ownEnabled(const QWidget *box) const
{
    return box->isEnabledTo(m_typeFrame);
}

void TreePanel::setRangeBoundsEnabled(bool enabled)
{
    m_text9->setEnabled(enabled);
    m_label9->setEnabled(enabled);
    m_text10->setEnabled(enabled);
}

void TreePanel::setItemControlsEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_label8, m_combo6, m_label4, m_text8, m_command3,
                                                             m_command2})
        control->setEnabled(enabled);
}

void TreePanel::setKeyPositionEnabled(bool enabled)
{
    m_label1->setEnabled(enabled);
    m_text2->setEnabled(enabled);
}

void TreePanel::kindChosen()
{
    const EditorControlStates states = editorControlStates(kindOption(), m_combo7->currentIndex(),
                                                           m_check4->isChecked(), m_check3->isChecked(),
                                                           m_check1->isChecked());
    m_descriptionFrame->setEnabled(states.description);
    m_text7->setEnabled(states.description);
    m_label5->setEnabled(states.entryDescription);
    m_text3->setEnabled(states.entryDescription);
    m_typeFrame->setEnabled(states.syntax);
    m_combo7->setEnabled(states.syntax);
    m_check4->setEnabled(states.rangeBox);
    setRangeBoundsEnabled(states.rangeBounds);
    m_check3->setEnabled(states.listBox);
    setItemControlsEnabled(states.itemControls);
    m_label3->setEnabled(states.access);
    m_combo1->setEnabled(states.access);
    m_check1->setEnabled(states.keyBox);
    setKeyPositionEnabled(states.keyPosition);
}

void TreePanel::rangeBoxToggled(bool ticked)
{
    const bool bothEnabled = ownEnabled(m_check4) && ownEnabled(m_check3);
    if (refuseRangeWithList(ticked, m_check3->isChecked(), bothEnabled, m_services)) {
        m_check4->setChecked(false);
        return;
    }
    setRangeBoundsEnabled(ticked);
}

void TreePanel::listBoxToggled(bool ticked)
{
    const bool bothEnabled = ownEnabled(m_check4) && ownEnabled(m_check3);
    if (refuseRangeWithList(ticked, m_check4->isChecked(), bothEnabled, m_services)) {
        m_check3->setChecked(false);
        return;
    }
    setItemControlsEnabled(ticked);
}

void TreePanel::keyBoxToggled(bool ticked)
{
    setKeyPositionEnabled(ticked);
}

void TreePanel::syntaxChosen(int index)
{
    const bool enabled = enumerationEnabled(kindOption(), index);
    m_check3->setEnabled(enabled);
    setItemControlsEnabled(enabled && m_check3->isChecked());
}

void TreePanel::itemChosen(int index)
{
    const QString name = index >= 0 ? m_combo6->itemText(index) : QString();
    setCodeText(m_text8, m_itemList.ShowItemValue(name, EnumItemList::ItemEvent::Chosen), ValueLimit);
}

void TreePanel::itemEdited(const QString &text)
{
    setCodeText(m_text8, m_itemList.ShowItemValue(text, EnumItemList::ItemEvent::Edited), ValueLimit);
}

void TreePanel::showItemList(int select)
{
    {
        const QSignalBlocker quiet(m_combo6);
        m_combo6->clear();
        m_combo6->addItems(m_itemList.entries());
        m_combo6->setCurrentIndex(-1);
    }
    if (select >= 0)
        m_combo6->setCurrentIndex(select);
}

void TreePanel::resetForBuild()
{
    m_combo7->setCurrentIndex(0);
    m_itemList.reset();
    showItemList(-1);
    chooseKind(KindOption::Node);
}

void TreePanel::reset()
{
    m_text5->clear();
    setCodeText(m_text4, QStringLiteral("0"), ObjectIdLimit);
    chooseKind(KindOption::Node);
    m_text7->setText(QString());
    m_text3->setText(QString());
    m_check4->setChecked(false);
    setCodeText(m_text9, QString(), BoundLimit);
    setCodeText(m_text10, QString(), BoundLimit);
    m_check3->setChecked(false);
    m_itemList.reset();
    {
        const QSignalBlocker quiet(m_combo6);
        m_combo6->clear();
    }
    setCodeText(m_text8, QString(), ValueLimit);
    m_combo1->setCurrentIndex(0);
    m_check1->setChecked(false);
    setCodeText(m_text2, QString(), KeyPositionLimit);
    kindChosen();
}

void TreePanel::loadObject(int slot)
{
    const MibTree &object = m_state.tables.tree[slot];
    setCodeText(m_text5, displayedName(m_state, slot), NameLimit);
    setCodeText(m_text4, QString::number(object.ObjectId), ObjectIdLimit);
    const int32_t kind = object.Kind;
    if (kind != ObjectKind::Node) {
        const int attribute = attributeOf(m_state, slot);
        if (attribute < 0)
            return;
        MibAttribute &record = m_state.tables.attribute[attribute];
        const QString description = displayedText(record.Description, qMin(record.DescriptionLength, NameWidth));
        (kind == ObjectKind::Entry ? m_text3 : m_text7)->setText(description);
        // The stored length is set right once the description has been shown
        // by it; the next selection shows the whole text. Leading blanks
        // count, so that a text that starts with one never loses its end.
        record.DescriptionLength = significantLength(record.Description);
        if (kind == ObjectKind::Leaf) {
            m_combo7->setCurrentIndex(syntaxIndexOf(record.Syntax));
            if (record.Constraint == Constraint::Range) {
                m_check4->setChecked(true);
                const int range = rangeOf(m_state, slot);
                if (range < 0)
                    return;
                const MibRange &bounds = m_state.tables.range[range];
                setCodeText(m_text9, displayedText(bounds.Minimum, bounds.MinimumLength), BoundLimit);
                setCodeText(m_text10, displayedText(bounds.Maximum, bounds.MaximumLength), BoundLimit);
            } else if (record.Constraint == Constraint::Enumeration) {
                m_check3->setChecked(true);
                m_itemList.load(m_state, slot);
                showItemList(0);
            }
            // An access code the list does not offer leaves "read-only".
            if (record.Access >= Access::ReadOnly && record.Access <= Access::NotAccessible)
                m_combo1->setCurrentIndex(record.Access - 1);
            if (record.KeyOrder != 0) {
                m_check1->setChecked(true);
                setCodeText(m_text2, QString::number(record.KeyOrder), KeyPositionLimit);
            }
        }
    }
    chooseKind(optionShowing(kind));
}

EditorInput TreePanel::input() const
{
    EditorInput input;
    input.KindOption = kindOption();
    input.NameText = m_text5->text();
    input.ObjectIdText = m_text4->text();
    input.SyntaxIndex = m_combo7->currentIndex();
    input.AccessIndex = m_combo1->currentIndex();
    input.DescriptionText = m_text7->text();
    input.EntryDescriptionText = m_text3->text();
    input.RangeTicked = m_check4->isChecked();
    input.MinimumText = m_text9->text();
    input.MaximumText = m_text10->text();
    input.ListTicked = m_check3->isChecked();
    input.Items = m_itemList.items();
    input.KeyTicked = m_check1->isChecked();
    input.KeyOrderText = m_text2->text();
    return input;
}

void TreePanel::AddPanelListItem()
{
    const QString name = m_combo6->currentText();
    const QString valueText = m_text8->text();
    if (name.trimmed().isEmpty()) {
        warn(m_services, RuleMessage::ItemNameEmpty);
        return;
    }
    if (valueText.isEmpty()) {
        warn(m_services, RuleMessage::ItemValueEmpty);
        return;
    }
    const std::optional<quint64> value = digitValue(valueText);
    if (!value) {
        warn(m_services, RuleMessage::ItemValueNotNumeric);
        return;
    }
    if (*value > static_cast<quint64>(qMax<int16_t>(m_state.ObjectLimit, 0))) {
        warn(m_services, TreeMessage::ItemValueTooLarge);
        return;
    }
    bool stored = false;
    try {
        stored = m_itemList.appendItem(name, static_cast<qint64>(*value));
    } catch (const std::exception &) {
        stored = false;
    }
    if (!stored) {
        m_services.show(RuleMessage::ItemAddFailed.toString(), MessageKind::Error);
        return;
    }
    showItemList(m_itemList.itemCount());
    setCodeText(m_text8, QString(), ValueLimit);
}

void TreePanel::removeListItem()
{
    if (!m_itemList.RemoveListItem(m_combo6->currentText(), m_text8->text(), m_services))
        return;
    showItemList(-1);
    setCodeText(m_text8, QString(), ValueLimit);
}

} // namespace korvel
