#include "mibimage.h"

#include "cp932.h"
#include "tablefields.h"
#include "korvel_cp932_prefix.h"

#include <cstring>

namespace korvel {

namespace {

using cp932::wholeCharacters;

template <std::size_t N>
void encodeInto(char (&field)[N], const QString &stored, int32_t length)
{
    encodeField(field, N, displayedText(stored, length));
}

template <std::size_t N>
void decodeInto(QString &stored, int32_t &length, const char (&field)[N], int width)
{
    const QString text = decodeField(field, N).left(width);
    storeText(stored, text, width);
    length = static_cast<int32_t>(text.size());
}

// A text that comes back shorter (a character outside the code page, such
// as an emoji of two UTF-16 units, becomes one "?") is measured again, so
// that it does not gain blanks from the padding.
void roundTripField(QString &stored, int32_t &length, int width)
{
    const QString displayed = displayedText(stored, length);
    const QString back = cp932::roundTrip(displayed).left(width);
    if (back == displayed)
        return;
    storeText(stored, back, width);
    length = static_cast<int32_t>(back.size());
}

} // namespace

// The vectors value-initialise their records: every byte is zero.
RecordImage::RecordImage() : tree(SlotCount), attribute(SlotCount), range(SlotCount), list(SlotCount) {}

void encodeField(char *field, std::size_t size, const QString &text)
{
    std::memset(field, 0, size);
    if (size == 0)
        return;
    const QByteArray bytes = cp932::encode(text);
    std::size_t count = static_cast<std::size_t>(bytes.size());
    if (count > size - 1)
        count = wholeCharacters(bytes.constData(), size - 1);
    std::memcpy(field, bytes.constData(), count);
}

QString decodeField(const char *field, std::size_t size)
{
    const void *zero = std::memchr(field, 0, size);
    const std::size_t count = zero ? static_cast<std::size_t>(static_cast<const char *>(zero) - field)
                                   : wholeCharacters(field, size);
    return cp932::decode(field, static_cast<qsizetype>(count));
}

void buildRecordImage(const DefinitionTables &tables, int limit, RecordImage &image)
{
    const int last = lastScannedSlot(limit);
    for (int slot = 0; slot <= last; ++slot) {
        const MibTree &t = tables.tree[slot];
        ::MibTree &ti = image.tree[slot];
        encodeInto(ti.Name, t.Name, t.NameLength);
        ti.NameLength = t.NameLength;
        ti.ObjectId = t.ObjectId;
        ti.Parent = t.Parent;
        ti.Kind = t.Kind;
        ti.InUse = t.InUse;

        const MibAttribute &a = tables.attribute[slot];
        ::MibAttribute &ai = image.attribute[slot];
        ai.Owner = a.Owner;
        ai.Syntax = a.Syntax;
        ai.Constraint = a.Constraint;
        ai.Access = a.Access;
        encodeInto(ai.Description, a.Description, a.DescriptionLength);
        ai.DescriptionLength = a.DescriptionLength;
        ai.KeyOrder = a.KeyOrder;
        ai.InUse = a.InUse;

        const MibRange &r = tables.range[slot];
        ::MibRange &ri = image.range[slot];
        ri.Owner = r.Owner;
        encodeInto(ri.Minimum, r.Minimum, r.MinimumLength);
        ri.MinimumLength = r.MinimumLength;
        encodeInto(ri.Maximum, r.Maximum, r.MaximumLength);
        ri.MaximumLength = r.MaximumLength;
        ri.InUse = r.InUse;

        const MibList &l = tables.list[slot];
        ::MibList &li = image.list[slot];
        li.Owner = l.Owner;
        encodeInto(li.ItemName, l.ItemName, l.ItemNameLength);
        li.ItemNameLength = l.ItemNameLength;
        li.ItemValue = l.ItemValue;
        li.InUse = l.InUse;
    }
}

void takeRecordImage(DefinitionTables &tables, const RecordImage &image, int limit)
{
    const int last = lastScannedSlot(limit);
    for (int slot = 0; slot <= last; ++slot) {
        const ::MibTree &ti = image.tree[slot];
        MibTree &t = tables.tree[slot];
        decodeInto(t.Name, t.NameLength, ti.Name, NameWidth);
        t.ObjectId = ti.ObjectId;
        t.Parent = ti.Parent;
        t.Kind = ti.Kind;
        t.InUse = ti.InUse;

        const ::MibAttribute &ai = image.attribute[slot];
        MibAttribute &a = tables.attribute[slot];
        a.Owner = ai.Owner;
        a.Syntax = ai.Syntax;
        a.Constraint = ai.Constraint;
        a.Access = ai.Access;
        decodeInto(a.Description, a.DescriptionLength, ai.Description, NameWidth);
        a.KeyOrder = ai.KeyOrder;
        a.InUse = ai.InUse;

        const ::MibRange &ri = image.range[slot];
        MibRange &r = tables.range[slot];
        r.Owner = ri.Owner;
        decodeInto(r.Minimum, r.MinimumLength, ri.Minimum, BoundWidth);
        decodeInto(r.Maximum, r.MaximumLength, ri.Maximum, BoundWidth);
        r.InUse = ri.InUse;

        const ::MibList &li = image.list[slot];
        MibList &l = tables.list[slot];
        l.Owner = li.Owner;
        decodeInto(l.ItemName, l.ItemNameLength, li.ItemName, NameWidth);
        l.ItemValue = li.ItemValue;
        l.InUse = li.InUse;
    }
}

void roundTripTexts(DefinitionTables &tables, int limit)
{
    const int last = lastScannedSlot(limit);
    for (int slot = 0; slot <= last; ++slot) {
        MibTree &t = tables.tree[slot];
        roundTripField(t.Name, t.NameLength, NameWidth);
        MibAttribute &a = tables.attribute[slot];
        roundTripField(a.Description, a.DescriptionLength, NameWidth);
        MibRange &r = tables.range[slot];
        roundTripField(r.Minimum, r.MinimumLength, BoundWidth);
        roundTripField(r.Maximum, r.MaximumLength, BoundWidth);
        MibList &l = tables.list[slot];
        roundTripField(l.ItemName, l.ItemNameLength, NameWidth);
    }
}

} // namespace korvel
