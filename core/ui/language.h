// The language of the interface: Japanese, as the program is written, or
// English from translations/korvel_en.ts. The choice made in a window's
// 表示 menu is remembered for the next run; `--lang ja` or `--lang en` on the
// command line sets it for one run.
//
// Windows are translated as they are shown and again whenever the language
// changes: every fixed text of a window (title, labels, buttons, frames,
// menus, headers, hints) is looked up by the Japanese text it was built
// with. Texts made while the program runs (messages, titles with a file
// name) come translated from the message catalogue.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace korvel {

enum class Language {
    Japanese,
    English,
};

// The language for this run: `--lang ja|en` (or `--lang=ja|en`) among the
// command-line `arguments`, else the one chosen last, else Japanese. An
// unknown language is reported on the error output and left out.
Language startLanguage(const QStringList &arguments);

// Shows the program in `language` from now on, Qt's own buttons and dialogs
// included (Japanese from Qt's qtbase_ja, when installed). Open windows
// follow at once.
void useLanguage(Language language);
// useLanguage, remembered for the next runs.
void chooseLanguage(Language language);
Language currentLanguage();

// Translates the fixed texts of `window` and its controls into the current
// language; run for every window as it is shown.
void translateWindow(QWidget *window);

// The help page in the current language, in `folder`/help.
QString helpPage(const QString &folder);

} // namespace korvel
