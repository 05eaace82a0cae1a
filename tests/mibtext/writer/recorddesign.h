// Designs built straight into the library's record image: four arrays of
// 1001 records with their SAFEARRAY descriptors, as the program hands them.
#pragma once

#include "korvel_mib.h"

#include <cstring>
#include <string>
#include <vector>

namespace korvel::testing {

class RecordDesign
{
public:
    static constexpr int Slots = 1001;

    RecordDesign() : m_tree(Slots), m_attribute(Slots), m_range(Slots), m_list(Slots)
    {
        std::memset(m_tree.data(), 0, m_tree.size() * sizeof(MibTree));
        std::memset(m_attribute.data(), 0, m_attribute.size() * sizeof(MibAttribute));
        std::memset(m_range.data(), 0, m_range.size() * sizeof(MibRange));
        std::memset(m_list.data(), 0, m_list.size() * sizeof(MibList));
    }

    MibTree &tree(int slot) { return m_tree[slot]; }
    MibAttribute &attribute(int slot) { return m_attribute[slot]; }
    MibRange &range(int slot) { return m_range[slot]; }
    MibList &list(int slot) { return m_list[slot]; }

    // An object in `slot`; returns the slot.
    int object(int slot, const std::string &name, int kind, int parent, int objectId)
    {
        MibTree &r = m_tree[slot];
        setText(r.Name, name);
        r.NameLength = static_cast<int32_t>(name.size());
        r.ObjectId = objectId;
        r.Parent = parent;
        r.Kind = kind;
        r.InUse = 1;
        return slot;
    }

    int node(int slot, const std::string &name, int parent, int objectId)
    {
        return object(slot, name, 1, parent, objectId);
    }

    // A Table and its Entry (ObjectId 1) in `slot` and `slot` + 1.
    int table(int slot, const std::string &base, int parent, int objectId, const std::string &description = "",
              const std::string &entryDescription = "")
    {
        object(slot, base + "Table", 2, parent, objectId);
        attach(slot, 0, 0, 3, description);
        object(slot + 1, base + "Entry", 3, slot, 1);
        attach(slot + 1, 0, 0, 3, entryDescription);
        return slot;
    }

    int leaf(int slot, const std::string &name, int parent, int objectId, int syntax = 2, int access = 1,
             const std::string &description = "", int keyOrder = 0)
    {
        object(slot, name, 4, parent, objectId);
        attach(slot, syntax, 0, access, description, keyOrder);
        return slot;
    }

    // The lowest free attribute slot for `owner`; returns that slot.
    int attach(int owner, int syntax, int constraint, int access, const std::string &description,
               int keyOrder = 0)
    {
        const int slot = freeSlot(m_attribute);
        MibAttribute &a = m_attribute[slot];
        a.Owner = owner;
        a.Syntax = syntax;
        a.Constraint = constraint;
        a.Access = access;
        setText(a.Description, description);
        a.DescriptionLength = static_cast<int32_t>(description.size());
        a.KeyOrder = keyOrder;
        a.InUse = 1;
        return slot;
    }

    MibAttribute &attributeOf(int owner)
    {
        for (MibAttribute &a : m_attribute) {
            if (a.InUse != 0 && a.Owner == owner)
                return a;
        }
        return m_attribute[Slots - 1];
    }

    void setRange(int owner, const std::string &minimum, const std::string &maximum)
    {
        attributeOf(owner).Constraint = 1;
        MibRange &r = m_range[freeSlot(m_range)];
        r.Owner = owner;
        setText(r.Minimum, minimum);
        setText(r.Maximum, maximum);
        r.InUse = 1;
    }

    void addItem(int owner, const std::string &name, int value)
    {
        attributeOf(owner).Constraint = 2;
        MibList &l = m_list[freeSlot(m_list)];
        l.Owner = owner;
        setText(l.ItemName, name);
        l.ItemValue = value;
        l.InUse = 1;
    }

    // Calls `proc` (MIBCreateProc or MIBAnalysisProc) with arrays of bounds
    // `lower` and `lower` + `count` - 1.
    template <typename Proc>
    int32_t call(Proc proc, const char *path, int32_t lower = 0, uint32_t count = Slots)
    {
        SAFEARRAY tree = descriptor(m_tree.data(), sizeof(MibTree), lower, count);
        SAFEARRAY attribute = descriptor(m_attribute.data(), sizeof(MibAttribute), lower, count);
        SAFEARRAY range = descriptor(m_range.data(), sizeof(MibRange), lower, count);
        SAFEARRAY list = descriptor(m_list.data(), sizeof(MibList), lower, count);
        SAFEARRAY *t = &tree, *a = &attribute, *r = &range, *l = &list;
        return proc(&t, &a, &r, &l, path);
    }

    template <std::size_t N>
    static void setText(char (&field)[N], const std::string &text)
    {
        std::memset(field, 0, N);
        std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
    }

    static SAFEARRAY descriptor(void *data, std::size_t size, int32_t lower = 0, uint32_t count = Slots)
    {
        SAFEARRAY array{};
        array.cDims = 1;
        array.cbElements = static_cast<uint32_t>(size);
        array.pvData = data;
        array.rgsabound[0].cElements = count;
        array.rgsabound[0].lLbound = lower;
        return array;
    }

private:
    template <typename Record>
    static int freeSlot(const std::vector<Record> &records)
    {
        for (int slot = 0; slot < Slots - 1; ++slot) {
            if (records[slot].InUse == 0)
                return slot;
        }
        return Slots - 1;
    }

    std::vector<MibTree> m_tree;
    std::vector<MibAttribute> m_attribute;
    std::vector<MibRange> m_range;
    std::vector<MibList> m_list;
};

} // namespace korvel::testing
