// Time of MIBAnalysisProc on a module of 1000 objects in the writer's format:
// 100 nodes, each with a table, its entry and three columns and four scalar
// leaves, a third of the leaves with a range, a third with an enumeration,
// descriptions of one and two lines. Also a small module (six objects), for
// the cost of the working files alone.
#include "korvel_mib.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Slots = 1001;
const std::string Banner = "\t--=========================================================================\r\n";

std::string padded(const std::string &name)
{
    return name.size() >= 12 ? name : name + std::string(12 - name.size(), ' ');
}

std::string header()
{
    return "-- This file is maked automatically by Korvel.\r\n\r\nPrivate-MIB DEFINITIONS ::= BEGIN\r\n\r\n"
           "IMPORTS\r\n\tenterprises, PhysAddress\r\n\t\tFROM SNMPv2-SMI\r\n"
           "\tprivate, IpAddress, Counter, Gauge, TimeTicks\r\n\t\tFROM RFC1155-SMI\r\n"
           "\tOBJECT-TYPE\r\n\t\tFROM RFC-1212;\r\n\r\n\tDisplayString ::= OCTET STRING\r\n\r\n"
           "\tenterprise  \t\tOBJECT IDENTIFIER ::= { private 1 }\r\n";
}

std::string leaf(const std::string &name, const std::string &syntax, const std::string &access,
                 const std::string &description, const std::string &parent, int id)
{
    return "\r\n\t" + padded(name) + "\tOBJECT-TYPE\r\n\t\tSYNTAX\t\t" + syntax + "\r\n\t\tACCESS\t\t" + access
        + "\r\n\t\tSTATUS\t\tmandatory\r\n\t\tDESCRIPTION\r\n\t\t\t\"" + description + "\"\r\n\t\t::= { " + parent
        + " " + std::to_string(id) + " }\r\n";
}

std::string largeModule()
{
    std::string text = header();
    for (int group = 1; group <= 100; ++group) {
        const std::string g = std::to_string(group);
        const std::string node = "unit" + g;
        const std::string table = "port" + g + "Table";
        const std::string entry = "port" + g + "Entry";
        const std::string row = "Port" + g + "Entry";
        text += "\r\n" + Banner + "\t--\t" + node + "\r\n" + Banner + "\t" + padded(node)
            + "\t\tOBJECT IDENTIFIER ::= { enterprise " + g + " }\r\n";
        for (int n = 1; n <= 4; ++n) {
            const std::string name = "unit" + g + "Value" + std::to_string(n);
            const std::string syntax = n % 3 == 0 ? "INTEGER (1..65535)"
                : n % 3 == 1                       ? "INTEGER {\r\n\t\t\tenabled(1),\r\n\t\t\tdisabled(2)\r\n\t\t}"
                                                   : "OCTET STRING";
            text += leaf(name, syntax, n % 2 ? "read-only" : "read-write",
                         "Value " + std::to_string(n) + " of unit " + g + ", kept by the agent's \"\"config\"\".\r\n"
                             "It survives a restart.",
                         node, n);
        }
        text += "\r\n" + Banner + "\t--\t" + table + "\r\n" + Banner + "\t" + padded(table)
            + "\tOBJECT-TYPE\r\n\t\tSYNTAX\t\tSEQUENCE OF " + row + "\r\n\t\tACCESS\t\tnot-accessible\r\n"
              "\t\tSTATUS\t\tcurrent\r\n\t\tDESCRIPTION\r\n\t\t\t\"The ports of unit "
            + g + ".\"\r\n\t\t::= { " + node + " 5 }\r\n";
        text += "\r\n\t" + padded(entry) + "\tOBJECT-TYPE\r\n\t\tSYNTAX\t\t" + row
            + "\r\n\t\tACCESS\t\tnot-accessible\r\n\t\tSTATUS\t\tcurrent\r\n\t\tDESCRIPTION\r\n\t\t\t\"One port.\"\r\n"
              "\t\tINDEX\t\t{ port"
            + g + "Index }\r\n\t\t::= { " + table + " 1 }\r\n\r\n\t" + row
            + " ::=\r\n\t\tSEQUENCE {\r\n\t\t\tport" + g + "Index\r\n\t\t\t\tINTEGER,\r\n\t\t\tport" + g
            + "Kind\r\n\t\t\t\tOBJECT IDENTIFIER,\r\n\t\t\tport" + g + "Speed\r\n\t\t\t\tGauge\r\n\t\t}\r\n";
        text += leaf("port" + g + "Index", "INTEGER (1..64)", "read-only", "The port number.", entry, 1);
        text += leaf("port" + g + "Kind", "OBJECT IDENTIFIER", "read-only", "The kind of port.", entry, 2);
        text += leaf("port" + g + "Speed", "Gauge", "read-only", "Speed in bits per second.", entry, 3);
    }
    return text + "\r\nEND\r\n";
}

std::string smallModule()
{
    return header() + "\r\n" + Banner + "\t--\tsample\r\n" + Banner
        + "\tsample      \t\tOBJECT IDENTIFIER ::= { enterprise 1 }\r\n"
        + leaf("sysLabel", "OCTET STRING", "read-write", "label", "sample", 1) + "\r\nEND\r\n";
}

class Reader
{
public:
    explicit Reader(const std::string &text)
        : m_tree(Slots), m_attribute(Slots), m_range(Slots), m_list(Slots)
    {
        char pattern[] = "/tmp/korvel-bench-analysis-XXXXXX";
        if (mkdtemp(pattern) != nullptr)
            m_folder = pattern;
        m_path = m_folder + "/module.mib";
        std::ofstream(m_path, std::ios::binary) << text;
        m_trees = describe(m_tree);
        m_attributes = describe(m_attribute);
        m_ranges = describe(m_range);
        m_lists = describe(m_list);
    }

    ~Reader() { std::filesystem::remove_all(m_folder); }

    int32_t read()
    {
        SAFEARRAY *tree = &m_trees;
        SAFEARRAY *attribute = &m_attributes;
        SAFEARRAY *range = &m_ranges;
        SAFEARRAY *list = &m_lists;
        return MIBAnalysisProc(&tree, &attribute, &range, &list, m_path.c_str());
    }

    int objects() const
    {
        int count = 0;
        for (int slot = 0; slot < Slots - 1; ++slot)
            count += m_tree[static_cast<std::size_t>(slot)].InUse != 0;
        return count;
    }

private:
    template <typename Record>
    static SAFEARRAY describe(std::vector<Record> &records)
    {
        SAFEARRAY array;
        std::memset(&array, 0, sizeof array);
        array.cDims = 1;
        array.cbElements = sizeof(Record);
        array.pvData = records.data();
        array.rgsabound[0].cElements = Slots;
        return array;
    }

    std::vector<MibTree> m_tree;
    std::vector<MibAttribute> m_attribute;
    std::vector<MibRange> m_range;
    std::vector<MibList> m_list;
    SAFEARRAY m_trees;
    SAFEARRAY m_attributes;
    SAFEARRAY m_ranges;
    SAFEARRAY m_lists;
    std::string m_folder;
    std::string m_path;
};

void runReads(benchmark::State &state, const std::string &text)
{
    Reader reader(text);
    for (auto _ : state) {
        if (reader.read() != 0) {
            state.SkipWithError("MIBAnalysisProc failed");
            return;
        }
    }
    state.counters["objects"] = reader.objects();
    state.counters["bytes"] = static_cast<double>(text.size());
}

void BM_AnalyseThousandObjects(benchmark::State &state)
{
    runReads(state, largeModule());
}
BENCHMARK(BM_AnalyseThousandObjects)->Unit(benchmark::kMillisecond);

void BM_AnalyseSmallModule(benchmark::State &state)
{
    runReads(state, smallModule());
}
BENCHMARK(BM_AnalyseSmallModule)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
