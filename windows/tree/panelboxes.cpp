#include "panelboxes.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTextCursor>

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

void setCodeText(QLineEdit *box, const QString &text, int typingLimit)
{
    box->setMaxLength(qMax(typingLimit, static_cast<int>(text.size())));
    box->setText(text);
}

} // namespace korvel
