// The handlers of the object editor: the opening sequences, the lists and
// options, the loading of an object's fields and the range, enumeration and
// key controls.
#include "objecteditor.h"
#include "translated.h"

#include "controlstates.h"
#include "editorrules.h"
#include "messagetexts.h"
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


int ObjectEditor::chosenParent() const
{
    if (m_parentList->currentIndex() <= 0)
        return RootSlot;
    const int slot = findObjectByName(m_state, m_parentList->currentText());
    return slot < 0 ? RootSlot : slot;
}

void ObjectEditor::chooseParentEntry(int index)
{
    if (m_parentList->currentIndex() == index)
        parentChosen();
    else
        m_parentList->setCurrentIndex(index);
}

void ObjectEditor::chooseKindOption(KindOption option)
{
    QRadioButton *button = m_form.kindOptions[static_cast<int>(option)];
    if (button->isChecked())
        applyKindOption(option);
    else
        button->setChecked(true);
}

void ObjectEditor::chooseNameEntry(int index)
{
    if (m_nameList->currentIndex() == index)
        loadObjectFields();
    else
        m_nameList->setCurrentIndex(index);
}

void ObjectEditor::setItemEntries(const QString &text)
{
    const QSignalBlocker quiet(m_form.itemBox);
    m_form.itemBox->clear();
    m_form.itemBox->addItems(m_items.entries());
    m_form.itemBox->setCurrentIndex(-1);
    m_form.itemBox->setEditText(text);
}

bool ObjectEditor::openForAdd(const QString &levelText)
{
    fillParentList();
    m_commitButton->setText(translated("   追加"));

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
        m_services.show(texts::parentIsTable(), MessageKind::Warning);
        return false;
    case ObjectKind::Leaf:
        m_services.show(texts::parentIsLeaf(), MessageKind::Warning);
        return false;
    default:
        break;
    }
    chooseNameEntry(m_nameList->count() - 1);
    return true;
}

bool ObjectEditor::openForChange(int slot)
{
    if (!inUse(m_state, slot))
        return false;
    fillParentList();
    m_commitButton->setText(translated("   変更"));

    const MibTree &object = m_state.tables.tree[slot];
    chooseParentEntry(parentEntryOf(m_state, object.Parent));
    chooseKindOption(kindOptionFor(object.Kind));
    const QString name = displayedName(m_state, slot);
    const int entry = m_nameList->findText(name);
    if (entry >= 0) {
        chooseNameEntry(entry);
    } else {
        // An object the name list cannot show (its parent is gone): its own
        // settings are loaded all the same.
        m_nameList->setEditText(name);
        loadObjectFields();
    }
    return true;
}

void ObjectEditor::fillParentList()
{
    {
        const QSignalBlocker quiet(m_parentList);
        m_parentList->clear();
        m_parentList->addItem(QString::fromLatin1(RootName));
        const int last = lastScannedSlot(m_state);
        for (int slot = 0; slot <= last; ++slot) {
            if (m_state.tables.tree[slot].InUse == 1)
                m_parentList->addItem(displayedName(m_state, slot));
        }
        m_parentList->setCurrentIndex(-1);
    }
    {
        const QSignalBlocker quiet(m_nameList);
        m_nameList->clear();
        m_nameList->addItem(QString());
    }
    m_items.reset();
    setItemEntries(QString());
    m_parentList->setCurrentIndex(m_parentList->count() - 1);
}

void ObjectEditor::parentChosen()
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

void ObjectEditor::applyKindOption(KindOption option)
{
    {
        const QSignalBlocker quiet(m_nameList);
        m_nameList->clear();
        for (int slot : childrenOf(m_state, chosenParent())) {
            if (fitsOption(m_state.tables.tree[slot].Kind, option))
                m_nameList->addItem(displayedName(m_state, slot));
        }
        m_nameList->addItem(QString());
        m_nameList->setCurrentIndex(-1);
    }
    m_nameList->setCurrentIndex(0);

    m_form.applyStates(option);
}

void ObjectEditor::resetFields()
{
    m_form.objectIdBox->clear();
    m_form.descriptionBox->clear();
    m_form.entryDescriptionBox->clear();
    m_form.minimumBox->clear();
    m_form.maximumBox->clear();
    m_form.itemValueBox->clear();
    m_form.keyPositionBox->clear();
    m_form.syntaxList->setCurrentIndex(0);
    m_form.rangeBox->setChecked(false);
    m_form.setRangeBoundsEnabled(false);
    m_form.listBox->setChecked(false);
    m_form.setItemControlsEnabled(false);
    m_items.reset();
    setItemEntries(QString());
    m_form.accessList->setCurrentIndex(0);
    m_form.keyBox->setChecked(false);
}

void ObjectEditor::loadObjectFields()
{
    resetFields();
    const QString name = m_nameList->currentText();
    if (name.isEmpty())
        return;
    const int slot = findObjectByName(m_state, name);
    if (slot < 0)
        return;
    const MibTree &object = m_state.tables.tree[slot];
    if (object.ObjectId != 0)
        m_form.objectIdBox->setText(QString::number(object.ObjectId));
    if (m_form.kindOption() == KindOption::Node)
        return;
    const int attributeSlot = attributeOf(m_state, slot);
    if (attributeSlot < 0)
        return;
    const MibAttribute &attribute = m_state.tables.attribute[attributeSlot];

    const DescriptionStates descriptions = loadedDescriptionStates(object.Kind);
    m_form.descriptionBox->setEnabled(descriptions.description);
    m_form.entryDescriptionLabel->setEnabled(descriptions.entryDescription);
    m_form.entryDescriptionBox->setEnabled(descriptions.entryDescription);
    QPlainTextEdit *description = object.Kind == ObjectKind::Entry ? m_form.entryDescriptionBox : m_form.descriptionBox;
    description->setPlainText(displayedText(attribute.Description, attribute.DescriptionLength));

    const auto setBoxText = [](QLineEdit *box, const QString &text) { box->setText(text); };
    m_form.loadSyntaxAndConstraint(m_state, slot, attribute, setBoxText, [this, slot] {
        m_items.load(m_state, slot);
        setItemEntries(QString());
        m_form.itemBox->setCurrentIndex(0);
    });
    m_form.loadAccessAndKey(attribute, setBoxText);
}



void ObjectEditor::syntaxChosen()
{
    const bool usable = enumerationEnabled(m_form.kindOption(), m_form.syntaxList->currentIndex());
    m_form.listBox->setEnabled(usable);
    m_form.setItemControlsEnabled(usable && m_form.listBox->isChecked());
}

void ObjectEditor::rangeBoxClicked()
{
    const bool ticked = m_form.rangeBox->isChecked();
    const bool bothEnabled = m_form.rangeBox->isEnabled() && m_form.listBox->isEnabled();
    if (refuseRangeWithList(ticked, m_form.listBox->isChecked(), bothEnabled, m_services)) {
        m_form.rangeBox->setChecked(false);
        return;
    }
    m_form.setRangeBoundsEnabled(ticked);
}

void ObjectEditor::listBoxClicked()
{
    const bool ticked = m_form.listBox->isChecked();
    const bool bothEnabled = m_form.rangeBox->isEnabled() && m_form.listBox->isEnabled();
    if (refuseRangeWithList(ticked, m_form.rangeBox->isChecked(), bothEnabled, m_services)) {
        m_form.listBox->setChecked(false);
        return;
    }
    m_form.setItemControlsEnabled(ticked);
}

void ObjectEditor::keyBoxClicked()
{
    const bool ticked = m_form.keyBox->isChecked();
    m_form.keyPositionLabel->setEnabled(ticked);
    m_form.keyPositionBox->setEnabled(ticked);
}

void ObjectEditor::addListItem()
{
    if (!m_items.addListItem(m_form.itemBox->currentText(), m_form.itemValueBox->text(), m_services))
        return;
    setItemEntries(QString());
    m_form.itemBox->setCurrentIndex(m_form.itemBox->count() - 1);
    m_form.itemValueBox->clear();
}

void ObjectEditor::removeListItem()
{
    const QString text = m_form.itemBox->currentText();
    if (!m_items.removeListItem(text, m_form.itemValueBox->text(), m_services))
        return;
    setItemEntries(text);
    m_form.itemValueBox->clear();
}

void ObjectEditor::showItemValue(EnumItemList::ItemEvent event)
{
    m_form.itemValueBox->setText(m_items.showItemValue(m_form.itemBox->currentText(), event));
}

} // namespace korvel
