#include "objecteditor.h"

#include "editorrules.h"
#include "entryboxes.h"
#include "limitedboxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTextCursor>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr int ObjectIdLength = 10;
constexpr int DescriptionLength = NameWidth;

template <typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel *label(const QString &caption, const char *name, QWidget *parent)
{
    return named(new QLabel(caption, parent), name);
}

QLineEdit *textBox(const char *name, QWidget *parent)
{
    return named(new QLineEdit(parent), name);
}

QPushButton *button(const QString &caption, const char *name, QWidget *parent)
{
    auto *b = named(new QPushButton(caption, parent), name);
    // Enter in a text box must not commit or close the dialog.
    b->setAutoDefault(false);
    return b;
}

QLabel *picture(const char *name, QStyle::StandardPixmap which, QWidget *parent)
{
    auto *p = named(new QLabel(parent), name);
    p->setPixmap(parent->style()->standardIcon(which).pixmap(32, 32));
    return p;
}

} // namespace

ObjectEditor::ObjectEditor(AppState &state, Services &services, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_services(services)
    , m_items(state.EnumValues)
{
    setObjectName(QStringLiteral("Design"));
    setWindowTitle(QStringLiteral("Korvel （詳細設定）"));
    buildControls();
    buildLayout();
    buildMenu();
    connectHandlers();
}

ObjectEditor::~ObjectEditor() = default;

void ObjectEditor::buildControls()
{
    m_parentList = named(new QComboBox(this), "Combo8");

    m_form.kindFrame = named(new QGroupBox(this), "Frame1");
    const char *optionNames[] = {"Option1_0", "Option1_1", "Option1_2"};
    const QString optionCaptions[] = {QStringLiteral("ツリー"), QStringLiteral("テーブル"),
                                      QStringLiteral("オブジェクト")};
    for (int index = 0; index < 3; ++index)
        m_form.kindOptions[index] = named(new QRadioButton(optionCaptions[index], m_form.kindFrame), optionNames[index]);
    m_form.kindOptions[0]->setChecked(true);

    m_nameList = makeTypedList("Combo5", this);
    m_form.objectIdBox = textBox("Text1", this);
    m_form.objectIdBox->setMaxLength(ObjectIdLength);

    m_form.descriptionFrame = named(new QGroupBox(QStringLiteral("説明"), this), "Frame2");
    m_form.descriptionBox = named(new LimitedTextEdit(DescriptionLength, m_form.descriptionFrame), "Text7");
    m_form.entryDescriptionLabel = label(QStringLiteral("ｴﾝﾄﾘの説明"), "Label4", m_form.descriptionFrame);
    m_form.entryDescriptionBox = named(new LimitedTextEdit(DescriptionLength, m_form.descriptionFrame), "Text3");

    m_form.typeFrame = named(new QGroupBox(QStringLiteral("タイプ"), this), "Frame3");
    m_form.buildTypeControls({"Label3", "Command1", "Label1", "Label2"});

    m_commitButton = button(QStringLiteral("   追加"), "Command4", this);
    m_cancelButton = button(QStringLiteral("    ｷｬﾝｾﾙ"), "Command3", this);

    // Entering a text box selects its whole text.
    // (The type frame's boxes do so from FieldForm.)
    for (QWidget *box : std::initializer_list<QWidget *>{m_form.objectIdBox, m_form.entryDescriptionBox,
                                                          m_form.descriptionBox})
        selectAllOnEntry(box);

    const QList<QWidget *> tabOrder{m_parentList, m_form.kindOptions[0], m_form.kindOptions[1], m_form.kindOptions[2], m_nameList, m_form.objectIdBox,
                                    m_form.descriptionBox,  m_form.entryDescriptionBox,      m_form.syntaxList,     m_form.rangeBox,     m_form.minimumBox,  m_form.maximumBox,
                                    m_form.listBox, m_form.itemBox,     m_form.itemValueBox,      m_form.addItemButton,   m_form.removeItemButton, m_form.accessList,
                                    m_form.keyBox, m_form.keyPositionBox,      m_commitButton,   m_cancelButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void ObjectEditor::buildLayout()
{
    auto *kinds = new QHBoxLayout(m_form.kindFrame);
    for (QRadioButton *option : m_form.kindOptions)
        kinds->addWidget(option);

    auto *description = new QVBoxLayout(m_form.descriptionFrame);
    description->addWidget(m_form.descriptionBox);
    description->addWidget(m_form.entryDescriptionLabel);
    description->addWidget(m_form.entryDescriptionBox);
    m_form.descriptionBox->setFixedHeight(64);
    m_form.entryDescriptionBox->setFixedHeight(48);

    auto *type = new QGridLayout(m_form.typeFrame);
    type->addWidget(m_form.syntaxList, 0, 0, 1, 2);
    type->addWidget(m_form.rangeBox, 1, 0);
    auto *range = new QHBoxLayout;
    range->addWidget(m_form.minimumBox);
    range->addWidget(m_form.rangeDash);
    range->addWidget(m_form.maximumBox);
    type->addLayout(range, 1, 1);
    type->addWidget(m_form.listBox, 2, 0);
    auto *items = new QGridLayout;
    items->addWidget(m_form.itemNameLabel, 0, 0);
    items->addWidget(m_form.itemBox, 0, 1);
    items->addWidget(m_form.addItemButton, 0, 2);
    items->addWidget(m_form.itemValueLabel, 1, 0);
    items->addWidget(m_form.itemValueBox, 1, 1);
    items->addWidget(m_form.removeItemButton, 1, 2);
    items->setColumnStretch(1, 1);
    type->addLayout(items, 2, 1);
    type->addWidget(m_form.accessLabel, 3, 0);
    type->addWidget(m_form.accessList, 3, 1);
    type->addWidget(m_form.keyBox, 4, 0);
    auto *key = new QHBoxLayout;
    key->addWidget(m_form.keyPositionLabel);
    key->addWidget(m_form.keyPositionBox);
    key->addStretch(1);
    type->addLayout(key, 4, 1);
    type->setColumnStretch(1, 1);

    auto *identity = new QGridLayout;
    identity->addWidget(picture("Picture1", QStyle::SP_FileDialogContentsView, this), 0, 0, 3, 1, Qt::AlignTop);
    identity->addWidget(label(QStringLiteral("親オブジェクト"), "Label5", this), 0, 1);
    identity->addWidget(m_parentList, 0, 2, 1, 3);
    identity->addWidget(m_form.kindFrame, 1, 1, 1, 4);
    identity->addWidget(label(QStringLiteral("名前"), "Label6", this), 2, 1);
    identity->addWidget(m_nameList, 2, 2);
    identity->addWidget(label(QStringLiteral("オブジェクトID"), "Label7", this), 2, 3);
    identity->addWidget(m_form.objectIdBox, 2, 4);
    identity->setColumnStretch(2, 1);
    m_form.objectIdBox->setFixedWidth(m_form.objectIdBox->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")) + 12);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(picture("Picture2", QStyle::SP_FileDialogInfoView, this));
    buttons->addStretch(1);
    buttons->addWidget(m_commitButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(identity);
    layout->addWidget(m_form.descriptionFrame);
    layout->addWidget(m_form.typeFrame);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

void ObjectEditor::buildMenu()
{
    auto *bar = new QMenuBar(this);
    QMenu *help = named(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "DESIGN_HELP");
    QAction *item = named(help->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "DESIGN_HELP_HELP");
    connect(item, &QAction::triggered, this, [this] { m_services.showHelp(); });
    layout()->setMenuBar(bar);
}

void ObjectEditor::connectHandlers()
{
    // A choice from a drop-down list runs its handler also when it picks the
    // entry already chosen; a choice made from code runs it through
    // currentIndexChanged. Both handlers give the same result when they run
    // twice. The editable lists react to a change of entry only, so that
    // picking the name shown again does not throw away what has been typed
    // into the other fields.
    const auto onChoice = [this](QComboBox *list, auto handler) {
        connect(list, &QComboBox::currentIndexChanged, this, handler);
        connect(list, &QComboBox::activated, this, handler);
    };
    onChoice(m_parentList, [this] { parentChosen(); });
    onChoice(m_form.syntaxList, [this] { syntaxChosen(); });
    connect(m_nameList, &QComboBox::currentIndexChanged, this, &ObjectEditor::loadObjectFields);
    connect(m_form.itemBox, &QComboBox::currentIndexChanged, this,
            [this] { showItemValue(EnumItemList::ItemEvent::Chosen); });
    connect(m_form.itemBox, &QComboBox::editTextChanged, this, [this] { showItemValue(EnumItemList::ItemEvent::Edited); });

    for (int index = 0; index < 3; ++index) {
        const auto option = static_cast<KindOption>(index);
        connect(m_form.kindOptions[index], &QRadioButton::toggled, this, [this, option](bool chosen) {
            if (chosen)
                applyKindOption(option);
        });
        // Clicking the option already chosen chooses it again.
        connect(m_form.kindOptions[index], &QRadioButton::clicked, this, [this, option] { applyKindOption(option); });
    }

    connect(m_form.rangeBox, &QCheckBox::toggled, this, &ObjectEditor::rangeBoxClicked);
    connect(m_form.listBox, &QCheckBox::toggled, this, &ObjectEditor::listBoxClicked);
    connect(m_form.keyBox, &QCheckBox::toggled, this, &ObjectEditor::keyBoxClicked);
    connect(m_form.addItemButton, &QPushButton::clicked, this, &ObjectEditor::addListItem);
    connect(m_form.removeItemButton, &QPushButton::clicked, this, &ObjectEditor::removeListItem);
    connect(m_commitButton, &QPushButton::clicked, this, &ObjectEditor::commit);
    connect(m_cancelButton, &QPushButton::clicked, this, &ObjectEditor::reject);
}

std::unique_ptr<ObjectEditor> ObjectEditor::open(AppState &state, Services &services, const QString &levelText, QWidget *parent)
{
    auto dialog = std::make_unique<ObjectEditor>(state, services, parent);
    const int target = state.EditTarget;
    const bool opened = target == RootSlot ? dialog->openForAdd(levelText) : dialog->openForChange(target);
    if (!opened)
        return nullptr;
    return dialog;
}

EditorInput ObjectEditor::readInput() const
{
    EditorInput input = m_form.read(m_items);
    input.NameText = m_nameList->currentText();
    input.ParentIsRoot = m_parentList->currentIndex() <= 0;
    input.ParentText = m_parentList->currentText();
    return input;
}

void ObjectEditor::commit()
{
    const CommitResult result = CommitEditor(m_state, readInput(), m_services);
    if (!result.closeDialog)
        return;
    const bool done = result.outcome == CommitOutcome::Added || result.outcome == CommitOutcome::Changed;
    done ? accept() : reject();
}

} // namespace korvel
