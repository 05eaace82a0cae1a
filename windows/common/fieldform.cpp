#include "fieldform.h"

#include "enumitemlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace korvel {

KindOption FieldForm::kindOption() const
{
    if (kindOptions[1]->isChecked())
        return KindOption::Table;
    if (kindOptions[2]->isChecked())
        return KindOption::Leaf;
    return KindOption::Node;
}

void FieldForm::applyStates(KindOption option) const
{
    const EditorControlStates states = editorControlStates(option, syntaxList->currentIndex(), rangeBox->isChecked(),
                                                           listBox->isChecked(), keyBox->isChecked());
    descriptionFrame->setEnabled(states.description);
    descriptionBox->setEnabled(states.description);
    entryDescriptionLabel->setEnabled(states.entryDescription);
    entryDescriptionBox->setEnabled(states.entryDescription);
    typeFrame->setEnabled(states.syntax);
    syntaxList->setEnabled(states.syntax);
    rangeBox->setEnabled(states.rangeBox);
    setRangeBoundsEnabled(states.rangeBounds);
    listBox->setEnabled(states.listBox);
    setItemControlsEnabled(states.itemControls);
    accessLabel->setEnabled(states.access);
    accessList->setEnabled(states.access);
    keyBox->setEnabled(states.keyBox);
    setKeyPositionEnabled(states.keyPosition);
}

void FieldForm::setRangeBoundsEnabled(bool enabled) const
{
    minimumBox->setEnabled(enabled);
    rangeDash->setEnabled(enabled);
    maximumBox->setEnabled(enabled);
}

void FieldForm::setItemControlsEnabled(bool enabled) const
{
    for (QWidget *control : std::initializer_list<QWidget *>{itemNameLabel, itemBox, itemValueLabel, itemValueBox,
                                                             addItemButton, removeItemButton})
        control->setEnabled(enabled);
}

void FieldForm::setKeyPositionEnabled(bool enabled) const
{
    keyPositionLabel->setEnabled(enabled);
    keyPositionBox->setEnabled(enabled);
}

EditorInput FieldForm::read(const EnumItemList &items) const
{
    EditorInput input;
    input.KindOption = kindOption();
    input.ObjectIdText = objectIdBox->text();
    input.SyntaxIndex = syntaxList->currentIndex();
    input.AccessIndex = accessList->currentIndex();
    input.DescriptionText = descriptionBox->text();
    input.EntryDescriptionText = entryDescriptionBox->text();
    input.RangeTicked = rangeBox->isChecked();
    input.MinimumText = minimumBox->text();
    input.MaximumText = maximumBox->text();
    input.ListTicked = listBox->isChecked();
    input.Items = items.items();
    input.KeyTicked = keyBox->isChecked();
    input.KeyOrderText = keyPositionBox->text();
    return input;
}

} // namespace korvel
