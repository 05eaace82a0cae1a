// The handlers of the object editor: the opening sequences, the lists and
// options, the loading of an object's fields and the range, enumeration and
// key controls.
#include "design.h"

#include "controlstates.h"
#include "editorrules.h"
#include "rulemessages.h"
#include "tableops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace korvel {

namespace {

bool inUse(const AppState &state, int slot)
{
    return isSlot(slot) && state.tables.tree[slot].InUse == 1;
}

// Whether an object of `kind` is listed under the kind option.
bool fitsOption(int32_t kind, KindOption option)
{
    switch (option) {
    case KindOption::Node:
        return kind == ObjectKind::Node;
    case KindOption::Table:
        return kind == ObjectKind::Table || kind == ObjectKind::Entry;
    case KindOption::Leaf:
        return kind == ObjectKind::Leaf;
    }
    return false;
}

// The parent list's entry of object `slot`: the list shows "enterprise"
// first, then every object in use in slot order. The root, and a parent that
// is not an object in use, is the first entry.
int parentEntryOf(const AppState &state, int slot)
{
    if (!inUse(state, slot) || slot > lastScannedSlot(state))
        return 0;
    int entry = 1;
    for (int before = 0; before < slot; ++before)
        entry += state.tables.tree[before].InUse == 1;
    return entry;
}

} // namespace

KindOption Design::kindOption() const
{
    for (int index = 0; index < 3; ++index) {
        if (m_option1[index]->isChecked())
            return static_cast<KindOption>(index);
    }
    return KindOption::Node;
}

int Design::chosenParent() const
{
    if (m_combo8->currentIndex() <= 0)
        return RootSlot;
    const int slot = findObjectByName(m_state, m_combo8->currentText());
    return slot < 0 ? RootSlot : slot;
}

void Design::chooseParentEntry(int index)
{
    if (m_combo8->currentIndex() == index)
        OnParentChosen();
    else
        m_combo8->setCurrentIndex(index);
}

void Design::chooseKindOption(KindOption option)
{
    QRadioButton *button = m_option1[static_cast<int>(option)];
    if (button->isChecked())
        ApplyKindOption(option);
    else
        button->setChecked(true);
}

void Design::chooseNameEntry(int index)
{
    if (m_combo5->currentIndex() == index)
        LoadObjectFields();
    else
        m_combo5->setCurrentIndex(index);
}

void Design::setItemEntries(const QString &text)
{
    const QSignalBlocker quiet(m_combo6);
    m_combo6->clear();
    m_combo6->addItems(m_items.entries());
    m_combo6->setCurrentIndex(-1);
    m_combo6->setEditText(text);
}

bool Design::openForAdd(const QString &levelText)
{
    FillParentList();
    m_command4->setText(QStringLiteral("   追加"));

    // A level name that names no object (typed over in the List window) adds
    // at the top level, as "enterprise" does.
    const int parent = levelText == QLatin1String(RootName) ? RootSlot : findObjectByName(m_state, levelText);
    if (parent < 0) {
        chooseParentEntry(0);
        return true;
    }
    chooseParentEntry(parentEntryOf(m_state, parent));
    switch (m_state.tables.tree[parent].Kind) {
    case ObjectKind::Node:
        chooseKindOption(KindOption::Node);
        break;
    case ObjectKind::Entry:
        chooseKindOption(KindOption::Leaf);
        break;
    case ObjectKind::Table:
        m_services.show(RuleMessage::ParentIsTable.toString(), MessageKind::Warning);
        return false;
    case ObjectKind::Leaf:
        m_services.show(RuleMessage::ParentIsLeaf.toString(), MessageKind::Warning);
        return false;
    default:
        break;
    }
    chooseNameEntry(m_combo5->count() - 1);
    return true;
}

bool Design::openForChange(int slot)
{
    if (!inUse(m_state, slot))
        return false;
    FillParentList();
    m_command4->setText(QStringLiteral("   変更"));

    const MibTree &object = m_state.tables.tree[slot];
    chooseParentEntry(parentEntryOf(m_state, object.Parent));
    chooseKindOption(kindOptionFor(object.Kind));
    const QString name = displayedName(m_state, slot);
    const int entry = m_combo5->findText(name);
    if (entry >= 0) {
        chooseNameEntry(entry);
    } else {
        // An object the name list cannot show (its parent is gone): its own
        // settings are loaded all the same.
        m_combo5->setEditText(name);
        LoadObjectFields();
    }
    return true;
}

void Design::FillParentList()
{
    {
        const QSignalBlocker quiet(m_combo8);
        m_combo8->clear();
        m_combo8->addItem(QString::fromLatin1(RootName));
        const int last = lastScannedSlot(m_state);
        for (int slot = 0; slot <= last; ++slot) {
            if (m_state.tables.tree[slot].InUse == 1)
                m_combo8->addItem(displayedName(m_state, slot));
        }
        m_combo8->setCurrentIndex(-1);
    }
    {
        const QSignalBlocker quiet(m_combo5);
        m_combo5->clear();
        m_combo5->addItem(QString());
    }
    m_items.reset();
    setItemEntries(QString());
    m_combo8->setCurrentIndex(m_combo8->count() - 1);
}

void Design::OnParentChosen()
{
    KindOption option = KindOption::Node;
    const int parent = chosenParent();
    if (parent != RootSlot) {
        const QList<int> children = childrenOf(m_state, parent);
        if (!children.isEmpty())
            option = kindOptionFor(m_state.tables.tree[children.first()].Kind);
    }
    chooseKindOption(option);
}

void Design::ApplyKindOption(KindOption option)
{
    {
        const QSignalBlocker quiet(m_combo5);
        m_combo5->clear();
        for (int slot : childrenOf(m_state, chosenParent())) {
            if (fitsOption(m_state.tables.tree[slot].Kind, option))
                m_combo5->addItem(displayedName(m_state, slot));
        }
        m_combo5->addItem(QString());
        m_combo5->setCurrentIndex(-1);
    }
    m_combo5->setCurrentIndex(0);

    const EditorControlStates states = editorControlStates(option, m_combo7->currentIndex(), m_check4->isChecked(),
                                                           m_check3->isChecked(), m_check1->isChecked());
    m_descriptionFrame->setEnabled(states.description);
    m_text7->setEnabled(states.description);
    m_label4->setEnabled(states.entryDescription);
    m_text3->setEnabled(states.entryDescription);
    m_typeFrame->setEnabled(states.syntax);
    m_combo7->setEnabled(states.syntax);
    m_check4->setEnabled(states.rangeBox);
    setRangeBoundsEnabled(states.rangeBounds);
    m_check3->setEnabled(states.listBox);
    setItemControlsEnabled(states.itemControls);
    m_label1->setEnabled(states.access);
    m_combo1->setEnabled(states.access);
    m_check1->setEnabled(states.keyBox);
    m_label2->setEnabled(states.keyPosition);
    m_text2->setEnabled(states.keyPosition);
}

void Design::resetFields()
{
    m_text1->clear();
    m_text7->clear();
    m_text3->clear();
    m_text9->clear();
    m_text10->clear();
    m_text8->clear();
    m_text2->clear();
    m_combo7->setCurrentIndex(0);
    m_check4->setChecked(false);
    setRangeBoundsEnabled(false);
    m_check3->setChecked(false);
    setItemControlsEnabled(false);
    m_items.reset();
    setItemEntries(QString());
    m_combo1->setCurrentIndex(0);
    m_check1->setChecked(false);
}

void Design::LoadObjectFields()
{
    resetFields();
    const QString name = m_combo5->currentText();
    if (name.isEmpty())
        return;
    const int slot = findObjectByName(m_state, name);
    if (slot < 0)
        return;
    const MibTree &object = m_state.tables.tree[slot];
    if (object.ObjectId != 0)
        m_text1->setText(QString::number(object.ObjectId));
    if (kindOption() == KindOption::Node)
        return;
    const int attributeSlot = attributeOf(m_state, slot);
    if (attributeSlot < 0)
        return;
    const MibAttribute &attribute = m_state.tables.attribute[attributeSlot];

    const DescriptionStates descriptions = loadedDescriptionStates(object.Kind);
    m_text7->setEnabled(descriptions.description);
    m_label4->setEnabled(descriptions.entryDescription);
    m_text3->setEnabled(descriptions.entryDescription);
    QPlainTextEdit *description = object.Kind == ObjectKind::Entry ? m_text3 : m_text7;
    description->setPlainText(displayedText(attribute.Description, attribute.DescriptionLength));

    m_combo7->setCurrentIndex(syntaxIndexOf(attribute.Syntax));
    if (attribute.Constraint == Constraint::Range) {
        m_check4->setChecked(true);
        const int range = rangeOf(m_state, slot);
        if (range >= 0) {
            const MibRange &bounds = m_state.tables.range[range];
            m_text9->setText(displayedText(bounds.Minimum, bounds.MinimumLength));
            m_text10->setText(displayedText(bounds.Maximum, bounds.MaximumLength));
        }
    } else if (attribute.Constraint == Constraint::Enumeration) {
        m_check3->setChecked(true);
        m_items.load(m_state, slot);
        setItemEntries(QString());
        m_combo6->setCurrentIndex(0);
    }
    // An access code the list does not offer leaves it on "read-only".
    if (attribute.Access >= Access::ReadOnly && attribute.Access <= Access::NotAccessible)
        m_combo1->setCurrentIndex(attribute.Access - 1);
    if (attribute.KeyOrder != 0) {
        m_check1->setChecked(true);
        m_text2->setText(QString::number(attribute.KeyOrder));
    }
}

void Design::setRangeBoundsEnabled(bool enabled)
{
    m_text9->setEnabled(enabled);
    m_label9->setEnabled(enabled);
    m_text10->setEnabled(enabled);
}

void Design::setItemControlsEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_label8, m_combo6, m_label3, m_text8, m_command1,
                                                              m_command2})
        control->setEnabled(enabled);
}

void Design::syntaxChosen()
{
    const bool usable = enumerationEnabled(kindOption(), m_combo7->currentIndex());
    m_check3->setEnabled(usable);
    setItemControlsEnabled(usable && m_check3->isChecked());
}

void Design::rangeBoxClicked()
{
    const bool ticked = m_check4->isChecked();
    const bool bothEnabled = m_check4->isEnabled() && m_check3->isEnabled();
    if (refuseRangeWithList(ticked, m_check3->isChecked(), bothEnabled, m_services)) {
        m_check4->setChecked(false);
        return;
    }
    setRangeBoundsEnabled(ticked);
}

void Design::listBoxClicked()
{
    const bool ticked = m_check3->isChecked();
    const bool bothEnabled = m_check4->isEnabled() && m_check3->isEnabled();
    if (refuseRangeWithList(ticked, m_check4->isChecked(), bothEnabled, m_services)) {
        m_check3->setChecked(false);
        return;
    }
    setItemControlsEnabled(ticked);
}

void Design::keyBoxClicked()
{
    const bool ticked = m_check1->isChecked();
    m_label2->setEnabled(ticked);
    m_text2->setEnabled(ticked);
}

void Design::AddListItem()
{
    if (!m_items.AddListItem(m_combo6->currentText(), m_text8->text(), m_services))
        return;
    setItemEntries(QString());
    m_combo6->setCurrentIndex(m_combo6->count() - 1);
    m_text8->clear();
}

void Design::RemoveListItem()
{
    const QString text = m_combo6->currentText();
    if (!m_items.RemoveListItem(text, m_text8->text(), m_services))
        return;
    setItemEntries(text);
    m_text8->clear();
}

void Design::ShowItemValue(EnumItemList::ItemEvent event)
{
    m_text8->setText(m_items.ShowItemValue(m_combo6->currentText(), event));
}

} // namespace korvel
