// How text typed into the editor becomes the content of a fixed-width field,
// and how typed numbers are read.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

namespace korvel {

// The text a field of `width` characters will hold (storeText in tableops.h
// stores it): leading and trailing blanks removed, cut to `width`, and any
// blanks the cut leaves at the end removed too. The field's length is exactly this text's size, so a reader
// never meets a blank the user did not type between other characters.
QString significantText(const QString &text, int width);

// The value of a text that passes isAllDigits, or nothing. Leading zeros do
// not count; a value beyond 64 bits reads as the largest one, so it is
// refused by every range check instead of wrapping round.
std::optional<quint64> digitValue(const QString &text);

} // namespace korvel
