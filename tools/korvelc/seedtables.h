// The four tables as korvelc's seed commands (`mib`, `mdf`) need them,
// without Qt: the design file read into them and written from them, and
// their record image for libkorvel. Each rule is the one core/ follows for
// the program (designfile.h, mibimage.h, tablefields.h, cp932.h), so that
// korvelc writes byte for byte what the program writes; the tests compare
// korvelc's output with the program's.
#pragma once

#include "korvel_mib.h"

#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::seed {

// The sizes of the program's tables (appstate.h).
inline constexpr int SlotCount = 1001;
inline constexpr int StoredSlotCount = 1000;
inline constexpr int NameWidth = 255;
inline constexpr int BoundWidth = 15;

// A text field as the design file gives it: the text (cut to its width when
// stored) and the length field, which says how much of the blank-padded
// field counts.
struct Field {
    std::u16string text;
    int32_t length = 0;
};

struct Tables {
    struct Tree {
        Field name;
        int32_t objectId = 0, parent = 0, kind = 0, inUse = 0;
    };
    struct Attribute {
        int32_t owner = 0, syntax = 0, constraint = 0, access = 0;
        Field description;
        int32_t keyOrder = 0, inUse = 0;
    };
    struct Range {
        int32_t owner = 0;
        Field minimum, maximum;
        int32_t inUse = 0;
    };
    struct List {
        int32_t owner = 0;
        Field itemName;
        int32_t itemValue = 0, inUse = 0;
    };
    std::vector<Tree> tree = std::vector<Tree>(SlotCount);
    std::vector<Attribute> attribute = std::vector<Attribute>(SlotCount);
    std::vector<Range> range = std::vector<Range>(SlotCount);
    std::vector<List> list = std::vector<List>(SlotCount);
};

// The record image: arrays of SlotCount records, all zero when made. They
// share one block of memory straight from the system, its pages made at
// once rather than one fault at a time, as the library writes every one.
// Without `constraints` the range and list arrays are left out (null): the
// reader never fills a range or list record, so a read back needs none, and
// the design it gives has none.
class RecordImage
{
public:
    explicit RecordImage(bool constraints = true);
    ~RecordImage();
    RecordImage(const RecordImage &) = delete;
    RecordImage &operator=(const RecordImage &) = delete;

    ::MibTree *tree;
    ::MibAttribute *attribute;
    ::MibRange *range;
    ::MibList *list;

private:
    void *m_memory;
    std::size_t m_size;
};

// Whether `bytes` hold a line that opens a section (designfile.h).
bool hasDesignSection(std::string_view bytes);

// Reads a design file's bytes into `tables`, fresh ones. False with `error`
// naming the line and the reason.
bool readDesign(std::string_view bytes, Tables &tables, std::string &error);

// Fills the image from the tables, as the create bridge does.
void buildImage(const Tables &tables, RecordImage &image);

// The in-use tree records of the image (slots 0 to 1000).
int objectCount(const RecordImage &image);

// The design file of the tables the read bridge takes from `image`.
std::string designImage(const RecordImage &image);

// The objects the seed's writer leaves out of its module and why, in slot
// order, as "NAME: warning: not in the module: REASON" lines in UTF-8.
std::vector<std::string> omittedObjects(const Tables &tables);

} // namespace korvel::seed
