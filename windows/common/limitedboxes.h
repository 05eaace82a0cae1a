// The length-limited boxes of the object editor and the Tree panel: a
// multi-line box with a maximum length, and setting a line box's text from
// the program beyond the length a user may type.
#pragma once

#include <QPlainTextEdit>

class QLineEdit;

namespace korvel {

// A multi-line text box that holds at most maxLength() characters: what is
// typed or pasted beyond it is dropped where it went in; a longer text set
// from the program keeps its first maxLength() characters.
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
