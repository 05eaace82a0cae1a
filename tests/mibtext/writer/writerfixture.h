// The writer's tests: the written module text, read back as lines and
// object names.
#pragma once

#include "../mibfixture.h"

#include <sstream>

namespace korvel::testing {

class WriterTest : public MibFolderTest
{
protected:
    std::string path(const std::string &name = "out.mib") const { return inFolder(name); }

    // Writes `design` and returns the module text with every CR LF turned
    // into LF; a line end without CR fails the test.
    std::string written(RecordDesign &design, int32_t lower = 0, uint32_t count = RecordDesign::Slots)
    {
        EXPECT_EQ(design.call(MIBCreateProc, path().c_str(), lower, count), 0);
        std::string text;
        for (const char c : readFile(path())) {
            if (c == '\n' && (text.empty() || text.back() != '\r'))
                ADD_FAILURE() << "a line end without CR after " << text.size() << " bytes";
            if (c == '\n' && !text.empty() && text.back() == '\r')
                text.pop_back();
            text += c;
        }
        return text;
    }

    // The names of the objects defined after the fixed header, in order.
    static std::vector<std::string> objectsIn(const std::string &text)
    {
        const std::string header = "{ private 1 }\n";
        std::istringstream lines(text.substr(text.find(header) + header.size()));
        std::vector<std::string> names;
        for (std::string line; std::getline(lines, line);) {
            if (line.size() > 1 && line[0] == '\t' && line[1] != '\t' && line[1] != '-'
                && (line.find("OBJECT-TYPE") != std::string::npos
                    || line.find("OBJECT IDENTIFIER ::=") != std::string::npos))
                names.push_back(line.substr(1, line.find_first_of(" \t", 1) - 1));
        }
        return names;
    }
};

} // namespace korvel::testing
