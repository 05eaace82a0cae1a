#include "limitedboxes.h"

#include <QLineEdit>
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
    const int size = document()->characterCount() - 1;
    if (size <= m_maxLength)
        return;
    QTextCursor cursor = textCursor();
    const int end = cursor.position();
    cursor.setPosition(qMax(0, end - (size - m_maxLength)));
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    // A cut that could not take everything before the cursor takes the end.
    if (document()->characterCount() - 1 > m_maxLength) {
        cursor.setPosition(m_maxLength);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void setCodeText(QLineEdit *box, const QString &text, int typingLimit)
{
    box->setMaxLength(qMax(typingLimit, static_cast<int>(text.size())));
    box->setText(text);
}

} // namespace korvel
