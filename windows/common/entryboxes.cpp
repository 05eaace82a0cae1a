#include "entryboxes.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>

namespace korvel {

namespace {

void selectWhole(QWidget *box)
{
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->selectAll();
    else if (auto *text = qobject_cast<QPlainTextEdit *>(box))
        text->selectAll();
}

// Watches one box and, for a multi-line box, its viewport, which receives
// the box's mouse events.
class SelectOnEntry : public QObject
{
public:
    explicit SelectOnEntry(QWidget *box)
        : QObject(box)
        , m_box(box)
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FocusIn:
            selectWhole(m_box);
            m_clicked = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
            break;
        case QEvent::FocusOut:
            m_clicked = false;
            break;
        case QEvent::MouseButtonRelease:
            if (m_clicked) {
                m_clicked = false;
                // After the box has handled the release.
                QTimer::singleShot(0, m_box, [box = QPointer<QWidget>(m_box)] {
                    if (box)
                        selectWhole(box);
                });
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_box;
    bool m_clicked = false;
};

// The text box of a typed list. A combo box chooses the entry its text
// matches when its text box loses the focus or takes Enter; here neither
// reaches the list.
class TypedText : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        const QSignalBlocker quiet(this);
        QLineEdit::focusOutEvent(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        const QSignalBlocker quiet(this);
        QLineEdit::keyPressEvent(event);
    }
};

} // namespace

void selectAllOnEntry(QWidget *box)
{
    auto *watcher = new SelectOnEntry(box);
    box->installEventFilter(watcher);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(box))
        area->viewport()->installEventFilter(watcher);
}

QComboBox *makeTypedList(const char *name, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(true);
    list->setLineEdit(new TypedText(list));
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    return list;
}

} // namespace korvel
