#include "panelboxes.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTextCursor>
#include <QTimer>

namespace korvel {

LimitedTextEdit::LimitedTextEdit(int maxLength, QWidget *parent)
    : QPlainTextEdit(parent)
    , m_maxLength(maxLength)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforceLength);
}

void LimitedTextEdit::setText(const QString &text)
{
    setPlainText(text);
    moveCursor(QTextCursor::End);
}

void LimitedTextEdit::enforceLength()
{
    const QString text = toPlainText();
    if (text.size() <= m_maxLength)
        return;
    const int position = qMin(textCursor().position(), m_maxLength);
    QSignalBlocker quiet(this);
    setPlainText(text.left(m_maxLength));
    QTextCursor cursor = textCursor();
    cursor.setPosition(position);
    setTextCursor(cursor);
}

void LimitedTextEdit::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    selectAll();
    // A click places the caret after the focus arrives; select again then.
    if (event->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, this, &QPlainTextEdit::selectAll);
}

namespace {

class SelectOnFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *box = static_cast<QLineEdit *>(watched);
            box->selectAll();
            if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, box, &QLineEdit::selectAll);
        }
        return false;
    }
};

} // namespace

void selectAllOnFocus(QLineEdit *box)
{
    box->installEventFilter(new SelectOnFocus(box));
}

void setCodeText(QLineEdit *box, const QString &text, int typingLimit)
{
    box->setMaxLength(qMax(typingLimit, static_cast<int>(text.size())));
    box->setText(text);
}

} // namespace korvel
