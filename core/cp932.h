// Conversion between the program's Unicode text and code page 932, the
// encoding of design files, MIB files and every text crossing to libkorvel.
#pragma once

#include <QByteArray>
#include <QString>

namespace korvel::cp932 {

// What a character the code page cannot represent becomes when encoding.
inline constexpr char SubstituteByte = '?';
// What a byte sequence that is not code page 932 becomes when decoding.
inline constexpr char16_t SubstituteChar = u'\u30FB';

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);
QString decode(const char *bytes, qsizetype size);

// The text as it reads after a round trip through the code page.
QString roundTrip(const QString &text);

} // namespace korvel::cp932
