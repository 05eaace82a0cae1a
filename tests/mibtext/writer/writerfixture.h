// A temporary folder per test and readers for the written module text.
#pragma once

#include "korvel_mib.h"
#include "recorddesign.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korvel::testing {

class WriterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvel-writer-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }

    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string path(const std::string &name = "out.mib") const { return (m_dir / name).string(); }

    static std::string readFile(const std::string &file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    static void writeFile(const std::string &file, const std::string &bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    // The names in the folder, to show that no temporary file is left.
    std::vector<std::string> folderContent() const
    {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Writes `design` and returns the module text with every CR LF turned
    // into LF; a line end without CR fails the test.
    std::string written(RecordDesign &design)
    {
        const std::string file = path();
        EXPECT_EQ(design.call(MIBCreateProc, file.c_str()), 0);
        return withLf(readFile(file));
    }

    static std::string withLf(const std::string &bytes)
    {
        std::string text;
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            if (bytes[at] == '\n' && (at == 0 || bytes[at - 1] != '\r'))
                ADD_FAILURE() << "a line end without CR at byte " << at;
            if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
                continue;
            text += bytes[at];
        }
        return text;
    }

    // The text after the fixed header, which ends with the root's line.
    static std::string body(const std::string &text)
    {
        const std::string last = "OBJECT IDENTIFIER ::= { private 1 }\n";
        const std::size_t at = text.find(last);
        return at == std::string::npos ? text : text.substr(at + last.size());
    }

    // The names of the objects defined, in the order they are written.
    static std::vector<std::string> objectsIn(const std::string &text)
    {
        std::vector<std::string> names;
        std::size_t at = 0;
        const std::string module = body(text);
        while (at < module.size()) {
            std::size_t end = module.find('\n', at);
            if (end == std::string::npos)
                end = module.size();
            const std::string line = module.substr(at, end - at);
            if (line.size() > 1 && line[0] == '\t' && line[1] != '\t' && line[1] != '-'
                && (line.find("OBJECT-TYPE") != std::string::npos
                    || line.find("OBJECT IDENTIFIER ::=") != std::string::npos))
                names.push_back(line.substr(1, line.find_first_of(" \t", 1) - 1));
            at = end + 1;
        }
        return names;
    }

    std::filesystem::path m_dir;
};

} // namespace korvel::testing
