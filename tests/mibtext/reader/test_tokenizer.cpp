// The tokenizer and the token file: what the analysis gets to see of a text.
#include "readerfixture.h"
#include "reader.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace korvel::mib;
using namespace korvel::testing;

namespace {

using Tokens = std::vector<std::string>;

class Tokenizer : public ReaderTest
{
protected:
    // Runs both pre-passes and Token_Analysis over `text`; returns the
    // tokenizer's result.
    int analyse(const std::string &text)
    {
        writeFile("in", text);
        EXPECT_EQ(FileCheckConvert(path("in").c_str(), path("in_tmp2").c_str()), 0);
        EXPECT_EQ(FileCheckConvert2(path("in_tmp2").c_str(), path("in_tmp1").c_str()), 0);
        return Token_Analysis(path("in_tmp1").c_str());
    }

    // The tokens ReadToken returns for `text`.
    Tokens tokensOf(const std::string &text)
    {
        EXPECT_EQ(analyse(text), 0);
        return readTokens();
    }

    Tokens readTokens()
    {
        Tokens tokens;
        std::FILE *file = std::fopen(path("in_tmp1_token").c_str(), "rb");
        if (file == nullptr)
            return tokens;
        auto token = std::make_unique<Token>();
        while (ReadToken(file, *token) == 0)
            tokens.emplace_back(token->text, static_cast<std::size_t>(token->length));
        std::fclose(file);
        return tokens;
    }

    std::string tokenFile() { return readFile(path("in_tmp1_token")); }
};

struct TokenCase {
    const char *name;
    std::string text;
    Tokens tokens;
};

TEST_F(Tokenizer, CutsTheTextIntoTokens)
{
    const TokenCase cases[] = {
        {"range", "SYNTAX INTEGER (1..64)", {"SYNTAX", "INTEGER", "(", "1..64", ")"}},
        {"assignment", "a ::= { b 1 }", {"a", ":", ":", "=", "{", "b", "1", "}"}},
        {"operators joined",
         "a!=b==c&&d||e++f->g<<h>>i<=j>=k",
         {"a", "!=", "b", "==", "c", "&&", "d", "||", "e", "++", "f", "->", "g", "<<", "h", ">>", "i", "<=", "j",
          ">=", "k"}},
        {"hyphenated names",
         "OBJECT-TYPE MAX-ACCESS read-only mib-2 x-1",
         {"OBJECT-TYPE", "MAX-ACCESS", "read-only", "mib-2", "x-1"}},
        {"hyphens that join nothing", "a- b -c -1", {"a", "-", "b", "-", "c", "-", "1"}},
        {"numbers", "0x12 1e5 3.14 12ab", {"0x12", "1e5", "3.14", "12", "ab"}},
        {"double-byte run", "\x83\x41\x83\x43 x", {"\x83\x41\x83\x43", "x"}},
        {"Japanese names",
         "port\x89\xB7\x93\x78" "1 \xCE\xDF\xB0\xC4 \x83\x7C-2",
         {"port\x89\xB7\x93\x78" "1", "\xCE\xDF\xB0\xC4", "\x83\x7C-2"}},
        {"CR LF ends a line", "foo\r\nbar\r\n", {"foo", "bar"}},
        // A string keeps its text, without the closing quote.
        {"parentheses", "\"on (1) off (0)\"", {"\"on (1) off (0)"}},
        {"doubled quote", "\"say \"\"hi\"\"\" x", {"\"say \"hi\"", "x"}},
        {"empty", "\"\" x", {"\"", "x"}},
        {"over lines, CR LF", "\"line1\r\nline2\"", {"\"line1\nline2"}},
        {"token file markers", "\"x)$ y\\n(z)$ \"", {"\"x)$ y\\n(z)$ "}},
        {"comment markers", "\"a // b /* c -- d '\"", {"\"a // b /* c -- d '"}},
        {"trail byte 0x5C", "\"\x95\x5C\" x", {"\"\x95\x5C", "x"}},
        {"apostrophes", "'00'H", {"'00", "H"}},
        // Comments are skipped.
        {"ASN.1 comment with a quote", "-- say \"\nfoo \"bar\"", {"foo", "\"bar"}},
        {"ASN.1 comment ended by --", "a -- inline -- b", {"a", "b"}},
        {"-- after a name", "a--b\nc", {"a", "c"}},
        {"block comment", "/* it's */ x", {"x"}},
        {"block comment over lines", "/* a\n b' \"*/ x /**/ y", {"x", "y"}},
        {"-- inside a block comment, then a string", "/* -- */ x \"a\n# b\" y", {"x", "\"a\n# b", "y"}},
        {"line comment", "// c'\nx", {"x"}},
        {"# line", "#define X 'a\nx", {"x"}},
        {"URL in a description", "\"see http://x.org/\" -- it's\ny", {"\"see http://x.org/", "y"}},
        {"stray lead bytes in comments", "-- \x95\n// \x95 \n# \x95\n/* \x95\n*/x", {"x"}},
    };
    for (const TokenCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(tokensOf(c.text), c.tokens);
    }
}

// One line of tokens for each line of text; block comments are written and
// left out by ReadToken.
TEST_F(Tokenizer, TokenFileHoldsOneLineForEachLine)
{
    const struct {
        std::string text;
        std::string file;
        Tokens tokens;
    } cases[] = {
        {"a b\n\nc", "(a)$ (b)$ \n\n(c)$ \n", {"a", "b", "c"}},
        {"\"a\r\nb\" c\nd\n", "(\"a\\nb)$ (c)$ \n(d)$ \n", {"\"a\nb", "c", "d"}},
        {"\"x)$ \\\" y", "(\"x\\)$ \\\\)$ (y)$ \n", {"\"x)$ \\", "y"}},
        {"/* it's */ x\n", "(/*)$ (it)$ (')$ (')$ (s)$ (*/)$ (x)$ \n", {"x"}},
        {"", "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(analyse(c.text), 0);
        EXPECT_EQ(tokenFile(), c.file);
        EXPECT_EQ(readTokens(), c.tokens);
    }
}

TEST_F(Tokenizer, LongLinesAndTokensAreCutNotOverrun)
{
    std::string line;
    for (int n = 0; n < 1500; ++n)
        line += "a ";
    const Tokens lineTokens = tokensOf(line + "END\n");
    ASSERT_EQ(lineTokens.size(), 1501u);
    EXPECT_EQ(lineTokens.back(), "END");

    const std::string name(2000, 'n');
    EXPECT_EQ(tokensOf(name + " next"), Tokens({name.substr(0, TokenBufferSize - 1), "next"}));

    // The double-byte character would end past the buffer: it is left out
    // whole, and so is everything after it.
    const std::string text = std::string(TokenBufferSize - 3, 'x') + "\x83\x41" + std::string(3000, 'y');
    EXPECT_EQ(tokensOf("\"" + text + "\" next"), Tokens({"\"" + text.substr(0, TokenBufferSize - 3), "next"}));
}

// The lines before the error are in the token file.
TEST_F(Tokenizer, ErrorsStopTheTokenizer)
{
    const struct {
        const char *name;
        std::string text;
        std::string printed;
    } cases[] = {
        {"string never closed", "a\nb \"never closed\nc", ""},
        {"apostrophe string over lines", "a\nb 'c\nd'", ""},
        {"apostrophe outside comments", "a\nit's", ""},
        {"bad double-byte character", "a\nb \x95\x20", "漢字コードが不正である\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(analyse(c.text), 1);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(tokenFile().substr(0, 6), "(a)$ \n");
    }
}

} // namespace
