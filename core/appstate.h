// The design in memory and the values the windows hand to each other.
//
// A design is four fixed-capacity tables of records (MibTree, MibAttribute,
// MibRange, MibList) that refer to each other by slot index; -1 as a Parent
// is the root "enterprise". One AppState exists per run: start-up creates it
// and hands it by reference to every window. The design file (designfile.h)
// is a line-by-line image of the tables, and the library bridges (mibbridge.h)
// hand them to libkorvel as arrays of records. The operations several windows
// share live in the editing model (model/tableops.h).
#pragma once

#include "moduleinfodata.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace korvel {

class DesignHistory;

// Every table has slots 0 to 1000; the design file and the library carry 0 to 999.
inline constexpr int SlotCount = 1001;
inline constexpr int StoredSlotCount = 1000;

// Widths of the fixed-width text fields, in characters.
inline constexpr int NameWidth = 255;
inline constexpr int BoundWidth = 15;

// The value of MibTree::Parent for an object directly under the root.
inline constexpr int32_t RootSlot = -1;
inline constexpr auto RootName = "enterprise";

// The codes are grouped in namespaces rather than enums so they compare with
// the int32 record fields without casts.
namespace ObjectKind {
inline constexpr int32_t Node = 1;
inline constexpr int32_t Table = 2;
inline constexpr int32_t Entry = 3;
inline constexpr int32_t Leaf = 4;
} // namespace ObjectKind

// Syntax codes: the ASN.1/SMI tag numbers of the types.
namespace Syntax {
inline constexpr int32_t Integer = 2;
inline constexpr int32_t OctetString = 4;
inline constexpr int32_t ObjectIdentifier = 6;
inline constexpr int32_t IpAddress = 64;
inline constexpr int32_t Counter = 65;
inline constexpr int32_t Gauge = 66;
inline constexpr int32_t TimeTicks = 67;
inline constexpr int32_t Opaque = 68;
// Stored when the editor's choice is none of the eight types.
inline constexpr int32_t NoSyntax = 48;

// One of the eight types an object can be given.
inline constexpr bool isKnown(int32_t syntax)
{
    return syntax == Integer || syntax == OctetString || syntax == ObjectIdentifier
        || (syntax >= IpAddress && syntax <= Opaque);
}
} // namespace Syntax

namespace Access {
inline constexpr int32_t ReadOnly = 1;
inline constexpr int32_t ReadWrite = 2;
inline constexpr int32_t NotAccessible = 3;
} // namespace Access

namespace Constraint {
inline constexpr int32_t None = 0;
inline constexpr int32_t Range = 1;
inline constexpr int32_t Enumeration = 2;
} // namespace Constraint

// Text fields hold exactly their width once stored (see storeText); a field
// never stored is empty. Readers take the first Length characters only.
struct MibTree {
    QString Name;
    int32_t NameLength = 0;
    int32_t ObjectId = 0;
    int32_t Parent = 0;
    int32_t Kind = 0;
    int32_t InUse = 0;

    bool operator==(const MibTree &) const = default;
};

struct MibAttribute {
    int32_t Owner = 0;
    int32_t Syntax = 0;
    int32_t Constraint = 0;
    int32_t Access = 0;
    QString Description;
    int32_t DescriptionLength = 0;
    int32_t KeyOrder = 0;
    int32_t InUse = 0;

    bool operator==(const MibAttribute &) const = default;
};

struct MibRange {
    int32_t Owner = 0;
    QString Minimum;
    int32_t MinimumLength = 0;
    QString Maximum;
    int32_t MaximumLength = 0;
    int32_t InUse = 0;

    bool operator==(const MibRange &) const = default;
};

struct MibList {
    int32_t Owner = 0;
    QString ItemName;
    int32_t ItemNameLength = 0;
    int32_t ItemValue = 0;
    int32_t InUse = 0;

    bool operator==(const MibList &) const = default;
};

// The four tables and their in-use counters. The counters must always equal
// the number of records with InUse = 1: several scans stop early on them.
struct DefinitionTables {
    std::array<MibTree, SlotCount> tree;
    std::array<MibAttribute, SlotCount> attribute;
    std::array<MibRange, SlotCount> range;
    std::array<MibList, SlotCount> list;

    int16_t MibTreeCount = 0;
    int16_t MibAttributeCount = 0;
    int16_t MibRangeCount = 0;
    int16_t MibListCount = 0;

    bool operator==(const DefinitionTables &) const = default;
};

// File dialog purposes (FileDialogMode).
namespace FileDialogPurpose {
inline constexpr int16_t OpenDesignFile = 1;
inline constexpr int16_t SaveDesignFile = 2;
inline constexpr int16_t CreateMibFile = 3;
inline constexpr int16_t LoadMibFile = 4;
} // namespace FileDialogPurpose

struct AppState {
    DefinitionTables tables;

    // The highest slot the editing, listing, deleting and bridging scans reach.
    int16_t ObjectLimit = 1000;

    // Slot the object editor or the Tree panel works on; -1 adds a new object.
    int16_t EditTarget = 0;
    // Position of the Tree window's item last shown in its panel, counted from
    // 1 (the root) in the order the items were added; 0 until one is shown.
    // Kept while the Tree window is closed and rebuilt.
    int16_t ShownItemIndex = 0;
    // Slot whose children the List window shows; -1 is the root.
    int16_t ListLevel = -1;
    // Name of the level the object editor preselects as a new object's
    // parent ("enterprise" at the top); the window opening the editor sets it.
    QString EditorLevel = QString::fromLatin1(RootName);
    int16_t FileDialogMode = 0;

    // The file dialog's answer; all empty after Cancel.
    QString SelectedDrive;
    QString SelectedFolder;
    QString SelectedFile;

    // The design file last opened or saved; CurrentFile is shown in the titles.
    QString CurrentDrive;
    QString CurrentFolder;
    QString CurrentFile = QStringLiteral("File");

    // Values of the enumeration items being edited, parallel to the item list.
    std::array<int16_t, SlotCount> EnumValues{};

    // The module information of the design: read from the side file beside
    // the design file or given in the module information dialog. Empty means
    // the defaults, made from the design whenever they are needed, so they
    // follow its edits.
    std::optional<ModuleInfo> ModuleInformation;

    // The text last looked for with 検索; 次を検索 looks for it again.
    QString FindText;

    // The undo history of the design. The editing model makes it at its
    // first use (model/designhistory.h); a copy of the state starts without.
    struct HistoryHolder {
        std::shared_ptr<DesignHistory> history;
        HistoryHolder() = default;
        HistoryHolder(const HistoryHolder &) {}
        HistoryHolder &operator=(const HistoryHolder &) { return *this; }
    } History;
};

} // namespace korvel
