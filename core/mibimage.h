// The record image of the four tables as they cross to libkorvel: the C
// records of korvel_mib.h, each text field holding code page 932 bytes ended
// by a zero byte. The bridges (mibbridge.h) build it before a call and take
// it back after a successful read.
#pragma once

#include "appstate.h"
#include "korvel_mib.h"

#include <QString>

#include <cstddef>
#include <vector>

namespace korvel {

// Arrays of SlotCount records, all zero when made.
struct RecordImage {
    RecordImage();

    std::vector<::MibTree> tree;
    std::vector<::MibAttribute> attribute;
    std::vector<::MibRange> range;
    std::vector<::MibList> list;
};

// Fills slots 0 to `limit` of the image from the tables: every text field
// holds its displayed text in code page 932 and a zero byte; numbers are
// copied as they are.
void buildRecordImage(const DefinitionTables &tables, int limit, RecordImage &image);

// Takes slots 0 to `limit` back from the image: each text is what precedes
// the first zero byte of its field, decoded, cut to the field's width and
// stored with its length counted in characters; numbers as they are.
void takeRecordImage(DefinitionTables &tables, const RecordImage &image, int limit);

// Sets every text field of slots 0 to `limit` whose displayed text does not
// survive a round trip through code page 932 to the text as it comes back,
// with its length counted again. Fields that survive are left alone.
void roundTripTexts(DefinitionTables &tables, int limit);

// `text` in code page 932 and a zero byte at the start of a field of `size`
// bytes; a text too long for it is cut after its last whole character that
// leaves room for the zero byte. The rest of the field is zero.
void encodeField(char *field, std::size_t size, const QString &text);

// The text before the first zero byte of a field of `size` bytes, or, when
// the field holds none, its whole characters.
QString decodeField(const char *field, std::size_t size);

} // namespace korvel
