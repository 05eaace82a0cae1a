// How text typed into the editor becomes the content of a fixed-width field,
// and how typed numbers are read.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

namespace korvel {

// The text a field of `width` characters will hold: leading and trailing
// blanks removed, cut to `width`, and any blanks the cut leaves at the end
// removed too. The field's length is exactly this text's size, so a reader
// never meets a blank the user did not type between other characters.
QString significantText(const QString &text, int width);

// Stores significantText(text, width) into `field` (padded to `width`) and
// its size into `length`.
void storeFieldText(QString &field, int32_t &length, const QString &text, int width);

// The value of a text that passes isAllDigits, or nothing. Leading zeros do
// not count; a value beyond 64 bits reads as the largest one, so it is
// refused by every range check instead of wrapping round.
std::optional<quint64> digitValue(const QString &text);

// Stores a range bound as its decimal value without leading zeros ("007"
// becomes "7"), so every accepted bound fits its 15-character field.
void storeBound(QString &field, int32_t &length, quint64 value);

} // namespace korvel
