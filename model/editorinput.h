// The values of the editor's fields at the moment of a commit, and how list
// positions map to the codes stored in the tables.
#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace korvel {

// The three kind options; an Entry is created with its Table and changed
// under the Table option.
enum class KindOption {
    Node,
    Table,
    Leaf,
};

struct EnumItem {
    QString name;
    int16_t value = 0;

    bool operator==(const EnumItem &) const = default;
};

// Filled by the object editor (or the Tree window's panel) straight from its
// controls. The checks read the flags as they stand, whether or not the box
// is enabled at that moment.
struct EditorInput {
    korvel::KindOption KindOption = korvel::KindOption::Node;
    QString NameText;
    QString ObjectIdText;
    // The parent list's first entry, the root "enterprise", is chosen.
    bool ParentIsRoot = true;
    QString ParentText;
    // Positions in the syntax list (0..7) and in the access list (0..2).
    int SyntaxIndex = 0;
    int AccessIndex = 0;
    QString DescriptionText;
    QString EntryDescriptionText;
    bool RangeTicked = false;
    QString MinimumText;
    QString MaximumText;
    bool ListTicked = false;
    // The enumeration items in list order, without the list's empty last entry.
    QList<EnumItem> Items;
    bool KeyTicked = false;
    QString KeyOrderText;
};

// Syntax code of a syntax list position; 48 for any position outside 0..7.
int32_t syntaxCode(int syntaxIndex);

// The syntax list position that shows `code`; 0 ("INTEGER") for any code
// the list does not offer.
int syntaxIndexOf(int32_t code);

// Access code of an access list position: the position plus one.
int32_t accessCode(int accessIndex);

// The object kind a kind option creates (Table for the Table option).
int32_t objectKindOf(KindOption option);

// The kind option that edits an object of `kind`: Table and Entry share one.
// Node for a kind outside 1..4.
KindOption kindOptionFor(int32_t kind);

} // namespace korvel
