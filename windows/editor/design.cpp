#include "design.h"

#include "editorrules.h"
#include "entryboxes.h"

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

// A multi-line box that takes at most `maximum` characters: what is typed or
// pasted beyond it is dropped where it went in.
QPlainTextEdit *multiLineBox(const char *name, int maximum, QWidget *parent)
{
    auto *box = named(new QPlainTextEdit(parent), name);
    box->setTabChangesFocus(true);
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, maximum] {
        const int size = box->document()->characterCount() - 1;
        if (size <= maximum)
            return;
        QTextCursor cursor = box->textCursor();
        const int end = cursor.position();
        const int start = qMax(0, end - (size - maximum));
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        // A cut that could not take everything before the cursor takes the end.
        if (box->document()->characterCount() - 1 > maximum) {
            cursor.setPosition(maximum);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
    });
    return box;
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

Design::Design(AppState &state, Services &services, QWidget *parent)
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

Design::~Design() = default;

void Design::buildControls()
{
    m_combo8 = named(new QComboBox(this), "Combo8");

    m_kindFrame = named(new QGroupBox(this), "Frame1");
    const char *optionNames[] = {"Option1_0", "Option1_1", "Option1_2"};
    const QString optionCaptions[] = {QStringLiteral("ツリー"), QStringLiteral("テーブル"),
                                      QStringLiteral("オブジェクト")};
    for (int index = 0; index < 3; ++index)
        m_option1[index] = named(new QRadioButton(optionCaptions[index], m_kindFrame), optionNames[index]);
    m_option1[0]->setChecked(true);

    m_combo5 = makeTypedList("Combo5", this);
    m_text1 = textBox("Text1", this);
    m_text1->setMaxLength(ObjectIdLength);

    m_descriptionFrame = named(new QGroupBox(QStringLiteral("説明"), this), "Frame2");
    m_text7 = multiLineBox("Text7", DescriptionLength, m_descriptionFrame);
    m_label4 = label(QStringLiteral("ｴﾝﾄﾘの説明"), "Label4", m_descriptionFrame);
    m_text3 = multiLineBox("Text3", DescriptionLength, m_descriptionFrame);

    m_typeFrame = named(new QGroupBox(QStringLiteral("タイプ"), this), "Frame3");
    QWidget *type = m_typeFrame;
    m_combo7 = named(new QComboBox(type), "Combo7");
    m_combo7->addItems({QStringLiteral("INTEGER"), QStringLiteral("OCTET STRING"),
                        QStringLiteral("OBJECT IDENTIFIER"), QStringLiteral("IpAddress"),
                        QStringLiteral("Counter"), QStringLiteral("Gauge"), QStringLiteral("TimeTicks"),
                        QStringLiteral("Opaque")});
    m_check4 = named(new QCheckBox(QStringLiteral("範囲の指定"), type), "Check4");
    m_text9 = textBox("Text9", type);
    m_label9 = label(QStringLiteral("～"), "Label9", type);
    m_text10 = textBox("Text10", type);
    m_check3 = named(new QCheckBox(QStringLiteral("リスト"), type), "Check3");
    m_label8 = label(QStringLiteral("名前"), "Label8", type);
    m_combo6 = makeTypedList("Combo6", type);
    m_label3 = label(QStringLiteral("値"), "Label3", type);
    m_text8 = textBox("Text8", type);
    m_command1 = button(QStringLiteral("ﾘｽﾄへ追加"), "Command1", type);
    m_command2 = button(QStringLiteral("ﾘｽﾄから削除"), "Command2", type);
    m_label1 = label(QStringLiteral("アクセス権"), "Label1", type);
    m_combo1 = named(new QComboBox(type), "Combo1");
    m_combo1->addItems({QStringLiteral("read-only"), QStringLiteral("read-write"), QStringLiteral("not-accessible")});
    m_check1 = named(new QCheckBox(QStringLiteral("ﾃｰﾌﾞﾙｷｰ"), type), "Check1");
    m_label2 = label(QStringLiteral("順位"), "Label2", type);
    m_text2 = textBox("Text2", type);

    m_command4 = button(QStringLiteral("   追加"), "Command4", this);
    m_command3 = button(QStringLiteral("    ｷｬﾝｾﾙ"), "Command3", this);

    // Entering a text box selects its whole text.
    for (QWidget *box : std::initializer_list<QWidget *>{m_text1, m_text2, m_text3, m_text7, m_text8, m_text9,
                                                          m_text10})
        selectAllOnEntry(box);

    const QList<QWidget *> tabOrder{m_combo8, m_option1[0], m_option1[1], m_option1[2], m_combo5, m_text1,
                                    m_text7,  m_text3,      m_combo7,     m_check4,     m_text9,  m_text10,
                                    m_check3, m_combo6,     m_text8,      m_command1,   m_command2, m_combo1,
                                    m_check1, m_text2,      m_command4,   m_command3};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void Design::buildLayout()
{
    auto *kinds = new QHBoxLayout(m_kindFrame);
    for (QRadioButton *option : m_option1)
        kinds->addWidget(option);

    auto *description = new QVBoxLayout(m_descriptionFrame);
    description->addWidget(m_text7);
    description->addWidget(m_label4);
    description->addWidget(m_text3);
    m_text7->setFixedHeight(64);
    m_text3->setFixedHeight(48);

    auto *type = new QGridLayout(m_typeFrame);
    type->addWidget(m_combo7, 0, 0, 1, 2);
    type->addWidget(m_check4, 1, 0);
    auto *range = new QHBoxLayout;
    range->addWidget(m_text9);
    range->addWidget(m_label9);
    range->addWidget(m_text10);
    type->addLayout(range, 1, 1);
    type->addWidget(m_check3, 2, 0);
    auto *items = new QGridLayout;
    items->addWidget(m_label8, 0, 0);
    items->addWidget(m_combo6, 0, 1);
    items->addWidget(m_command1, 0, 2);
    items->addWidget(m_label3, 1, 0);
    items->addWidget(m_text8, 1, 1);
    items->addWidget(m_command2, 1, 2);
    items->setColumnStretch(1, 1);
    type->addLayout(items, 2, 1);
    type->addWidget(m_label1, 3, 0);
    type->addWidget(m_combo1, 3, 1);
    type->addWidget(m_check1, 4, 0);
    auto *key = new QHBoxLayout;
    key->addWidget(m_label2);
    key->addWidget(m_text2);
    key->addStretch(1);
    type->addLayout(key, 4, 1);
    type->setColumnStretch(1, 1);

    auto *identity = new QGridLayout;
    identity->addWidget(picture("Picture1", QStyle::SP_FileDialogContentsView, this), 0, 0, 3, 1, Qt::AlignTop);
    identity->addWidget(label(QStringLiteral("親オブジェクト"), "Label5", this), 0, 1);
    identity->addWidget(m_combo8, 0, 2, 1, 3);
    identity->addWidget(m_kindFrame, 1, 1, 1, 4);
    identity->addWidget(label(QStringLiteral("名前"), "Label6", this), 2, 1);
    identity->addWidget(m_combo5, 2, 2);
    identity->addWidget(label(QStringLiteral("オブジェクトID"), "Label7", this), 2, 3);
    identity->addWidget(m_text1, 2, 4);
    identity->setColumnStretch(2, 1);
    m_text1->setFixedWidth(m_text1->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")) + 12);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(picture("Picture2", QStyle::SP_FileDialogInfoView, this));
    buttons->addStretch(1);
    buttons->addWidget(m_command4);
    buttons->addWidget(m_command3);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(identity);
    layout->addWidget(m_descriptionFrame);
    layout->addWidget(m_typeFrame);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

void Design::buildMenu()
{
    auto *bar = new QMenuBar(this);
    QMenu *help = named(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "DESIGN_HELP");
    QAction *item = named(help->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "DESIGN_HELP_HELP");
    connect(item, &QAction::triggered, this, [this] { m_services.showHelp(); });
    layout()->setMenuBar(bar);
}

void Design::connectHandlers()
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
    onChoice(m_combo8, [this] { OnParentChosen(); });
    onChoice(m_combo7, [this] { syntaxChosen(); });
    connect(m_combo5, &QComboBox::currentIndexChanged, this, &Design::LoadObjectFields);
    connect(m_combo6, &QComboBox::currentIndexChanged, this,
            [this] { ShowItemValue(EnumItemList::ItemEvent::Chosen); });
    connect(m_combo6, &QComboBox::editTextChanged, this, [this] { ShowItemValue(EnumItemList::ItemEvent::Edited); });

    for (int index = 0; index < 3; ++index) {
        const auto option = static_cast<KindOption>(index);
        connect(m_option1[index], &QRadioButton::toggled, this, [this, option](bool chosen) {
            if (chosen)
                ApplyKindOption(option);
        });
        // Clicking the option already chosen chooses it again.
        connect(m_option1[index], &QRadioButton::clicked, this, [this, option] { ApplyKindOption(option); });
    }

    connect(m_check4, &QCheckBox::toggled, this, &Design::rangeBoxClicked);
    connect(m_check3, &QCheckBox::toggled, this, &Design::listBoxClicked);
    connect(m_check1, &QCheckBox::toggled, this, &Design::keyBoxClicked);
    connect(m_command1, &QPushButton::clicked, this, &Design::AddListItem);
    connect(m_command2, &QPushButton::clicked, this, &Design::RemoveListItem);
    connect(m_command4, &QPushButton::clicked, this, &Design::commit);
    connect(m_command3, &QPushButton::clicked, this, &Design::reject);
}

std::unique_ptr<Design> Design::open(AppState &state, Services &services, const QString &levelText, QWidget *parent)
{
    auto dialog = std::make_unique<Design>(state, services, parent);
    const int target = state.EditTarget;
    const bool opened = target == RootSlot ? dialog->openForAdd(levelText) : dialog->openForChange(target);
    if (!opened)
        return nullptr;
    return dialog;
}

EditorInput Design::readInput() const
{
    EditorInput input;
    input.KindOption = kindOption();
    input.NameText = m_combo5->currentText();
    input.ObjectIdText = m_text1->text();
    input.ParentIsRoot = m_combo8->currentIndex() <= 0;
    input.ParentText = m_combo8->currentText();
    input.SyntaxIndex = m_combo7->currentIndex();
    input.AccessIndex = m_combo1->currentIndex();
    input.DescriptionText = m_text7->toPlainText();
    input.EntryDescriptionText = m_text3->toPlainText();
    input.RangeTicked = m_check4->isChecked();
    input.MinimumText = m_text9->text();
    input.MaximumText = m_text10->text();
    input.ListTicked = m_check3->isChecked();
    input.Items = m_items.items();
    input.KeyTicked = m_check1->isChecked();
    input.KeyOrderText = m_text2->text();
    return input;
}

void Design::commit()
{
    const CommitResult result = CommitEditor(m_state, readInput(), m_services);
    if (!result.closeDialog)
        return;
    const bool done = result.outcome == CommitOutcome::Added || result.outcome == CommitOutcome::Changed;
    done ? accept() : reject();
}

} // namespace korvel
