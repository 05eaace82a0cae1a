// What the object editor's and the Tree panel's boxes share: entering a text
// box selects its whole text, and the editable lists (the name list, the item
// list) take what is typed as it is.
#pragma once

class QComboBox;
class QWidget;

namespace korvel {

// Selects the whole text of `box` (a QLineEdit or a QPlainTextEdit) whenever
// it is entered, by the keyboard or by a click. A click's own press and
// release would place the caret after the focus arrived, so after a click
// the text is selected again once the button is released.
void selectAllOnEntry(QWidget *box);

// An editable list named `name`. What is typed is never completed from the
// entries, never added to them, and never chooses an entry: not when the
// focus leaves, not on Enter. Names compare exactly, so "BETA" stays "BETA"
// beside an entry "beta".
QComboBox *makeTypedList(const char *name, QWidget *parent);

} // namespace korvel
