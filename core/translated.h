// The program's fixed texts are written in Japanese, and those texts are the
// keys of the translations (translations/korvel_*.ts, context "Korvel"). A
// text shows in the language chosen for this run; with no translation loaded,
// or none for the text, it shows as written.
#pragma once

#include <QString>

namespace korvel {

// `source` in the chosen language. Leading white space (the room the
// buttons keep for their pictures, a message line's line break) is kept as
// it is and is not part of the key.
QString translated(const QString &source);
inline QString translated(const char *source)
{
    return translated(QString::fromUtf8(source));
}

// Whether the program shows English. Texts made with their English beside
// them (the design check's findings, the import's reasons) choose by it.
bool englishShown();
void setEnglishShown(bool english);
inline QString inShownLanguage(const QString &japanese, const QString &english)
{
    return englishShown() ? english : japanese;
}

} // namespace korvel
