/* Cutting a code page 932 text to a byte width without splitting a
 * double-byte character. Header only: shared by the library's writer, the
 * program's record image and korvelc's record image, never exported. */
#pragma once

#include <cstddef>

namespace korvel::cp932 {

inline bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The longest prefix of `bytes` within `limit` that ends on a character
// boundary of code page 932.
inline std::size_t wholeCharacters(const char *bytes, std::size_t limit)
{
    std::size_t at = 0;
    while (at < limit) {
        const std::size_t step = isLeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
        if (at + step > limit)
            break;
        at += step;
    }
    return at;
}

} // namespace korvel::cp932
