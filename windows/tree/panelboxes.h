// Small pieces the panel's text boxes share: a multi-line box with a maximum
// length, and setting a box's text from the program beyond the length a user
// may type.
#pragma once

#include <QPlainTextEdit>

class QLineEdit;

namespace korvel {

// A multi-line text box that holds at most maxLength() characters: typed or
// pasted text beyond it is cut.
class LimitedTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit LimitedTextEdit(int maxLength, QWidget *parent = nullptr);

    int maxLength() const { return m_maxLength; }
    QString text() const { return toPlainText(); }
    void setText(const QString &text);

private:
    void enforceLength();

    int m_maxLength;
};

// Sets the text of `box` from the program. `typingLimit` is the most a user
// may type; a longer text from the tables is shown whole rather than cut, so
// what the box shows is what the tables hold.
void setCodeText(QLineEdit *box, const QString &text, int typingLimit);

} // namespace korvel
