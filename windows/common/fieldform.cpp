#include "fieldform.h"

#include "entryboxes.h"
#include "enumitemlist.h"
#include "tablefields.h"
#include "tableops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace korvel {

namespace {

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit *textBox(const char *name, QWidget *parent)
{
    auto *box = named(new QLineEdit(parent), name);
    selectAllOnEntry(box);
    return box;
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(caption, parent), name);
    // Enter in a text box must not press it.
    b->setAutoDefault(false);
    return b;
}

} // namespace

void FieldForm::buildTypeControls(const TypeNames &names)
{
    QWidget *type = typeFrame;
    syntaxList = named(new QComboBox(type), "Combo7");
    syntaxList->addItems({QStringLiteral("INTEGER"), QStringLiteral("OCTET STRING"), QStringLiteral("OBJECT IDENTIFIER"),
                          QStringLiteral("IpAddress"), QStringLiteral("Counter"), QStringLiteral("Gauge"),
                          QStringLiteral("TimeTicks"), QStringLiteral("Opaque")});
    rangeBox = named(new QCheckBox(QStringLiteral("範囲の指定"), type), "Check4");
    minimumBox = textBox("Text9", type);
    rangeDash = named(new QLabel(QStringLiteral("～"), type), "Label9");
    maximumBox = textBox("Text10", type);
    listBox = named(new QCheckBox(QStringLiteral("リスト"), type), "Check3");
    itemNameLabel = named(new QLabel(QStringLiteral("名前"), type), "Label8");
    // Item names as typed, compared exactly.
    itemBox = makeTypedList("Combo6", type);
    itemValueLabel = named(new QLabel(QStringLiteral("値"), type), names.itemValueLabel);
    itemValueBox = textBox("Text8", type);
    addItemButton = button(QStringLiteral("ﾘｽﾄへ追加"), names.addItemButton, type);
    removeItemButton = button(QStringLiteral("ﾘｽﾄから削除"), "Command2", type);
    accessLabel = named(new QLabel(QStringLiteral("アクセス権"), type), names.accessLabel);
    accessList = named(new QComboBox(type), "Combo1");
    accessList->addItems({QStringLiteral("read-only"), QStringLiteral("read-write"), QStringLiteral("not-accessible")});
    keyBox = named(new QCheckBox(QStringLiteral("ﾃｰﾌﾞﾙｷｰ"), type), "Check1");
    keyPositionLabel = named(new QLabel(QStringLiteral("順位"), type), names.keyPositionLabel);
    keyPositionBox = textBox("Text2", type);
}

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

bool FieldForm::loadSyntaxAndConstraint(const AppState &state, int slot, const MibAttribute &record,
                                        const BoxSetter &setBoxText, const std::function<void()> &loadItems) const
{
    syntaxList->setCurrentIndex(syntaxIndexOf(record.Syntax));
    if (record.Constraint == Constraint::Range) {
        rangeBox->setChecked(true);
        const int range = rangeOf(state, slot);
        if (range < 0)
            return false;
        const MibRange &bounds = state.tables.range[range];
        setBoxText(minimumBox, displayedText(bounds.Minimum, bounds.MinimumLength));
        setBoxText(maximumBox, displayedText(bounds.Maximum, bounds.MaximumLength));
    } else if (record.Constraint == Constraint::Enumeration) {
        listBox->setChecked(true);
        loadItems();
    }
    return true;
}

void FieldForm::loadAccessAndKey(const MibAttribute &record, const BoxSetter &setBoxText) const
{
    if (record.Access >= Access::ReadOnly && record.Access <= Access::NotAccessible)
        accessList->setCurrentIndex(record.Access - 1);
    if (record.KeyOrder != 0) {
        keyBox->setChecked(true);
        setBoxText(keyPositionBox, QString::number(record.KeyOrder));
    }
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
