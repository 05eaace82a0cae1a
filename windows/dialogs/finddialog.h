// 検索's question: the part of a name or the dotted OID to look for. Its OK
// leaves the text in AppState::FindText; the box starts with the text last
// looked for.
#pragma once

#include "appstate.h"

#include <QDialog>

#include <memory>

class QWidget;

namespace korvel {

std::unique_ptr<QDialog> makeFindDialog(AppState &state, QWidget *owner);

} // namespace korvel
