// The fixed-width text fields of the tables and the slots a scan covers: the
// few rules the design file, the library bridges and the editing model share.
#pragma once

#include "appstate.h"

#include <QString>

#include <cstdint>

namespace korvel {

// The first `length` characters of a fixed-width field: the text that counts.
QString displayedText(const QString &field, int32_t length);

// Sets a fixed-width field to `text` padded with blanks or cut to `width`.
// The caller sets the length field.
void storeText(QString &field, const QString &text, int width);
void storeText(QString &field, QStringView text, int width);

// True for a valid slot index of the tables (0 to 1000).
inline bool isSlot(int slot)
{
    return slot >= 0 && slot < SlotCount;
}

// The last slot a scan of the tables visits for an object limit: scans run
// over slots 0 to ObjectLimit, never past the tables' end (-1: none at all).
int lastScannedSlot(int objectLimit);
int lastScannedSlot(const AppState &state);

// Sets the four counters to the number of in-use records in slots 0 to `limit`.
void rebuildCounters(DefinitionTables &tables, int limit);

// True when `text` is not empty and every character is an ASCII digit 0-9.
bool isAllDigits(const QString &text);

} // namespace korvel
