#include "reader.h"
#include "tables.h"

#include <climits>
#include <cstring>
#include <initializer_list>

// The analysis understands a small part of ASN.1: the IMPORTS clause, which
// it skips; value assignments "name OBJECT IDENTIFIER ::= { parent number }",
// which become nodes; and OBJECT-TYPE macros, whose SYNTAX, ACCESS (or
// MAX-ACCESS), DESCRIPTION and "::= { parent number }" clauses make a table,
// an entry or a leaf with its attribute record. Everything else is passed
// over. Objects are recorded in the order they appear, at slots 0, 1, 2, ...
// of ReadTables; a parent is found only among the objects before it.

namespace korvel::mib {
namespace {

enum ObjectKind { Node = 1, Table = 2, Entry = 3, Leaf = 4 };
// The Syntax of a leaf whose type the editor was never given.
constexpr int NoSyntaxChosen = 48;

// What a definition reader tells the main loop.
enum class Step { Continue, EndOfTokens, TooManyObjects };

// The token file, with room to read one token again.
struct TokenStream {
    std::FILE *file = nullptr;
    Token pending;
    bool hasPending = false;
};

TokenStream Stream;
Token Current;
Token Lookahead;
Token ParentName;
Token SavedName;

// The objects read so far by name, so that finding a parent costs no scan of
// the table: each bucket holds a chain of slots, newest first, as slot + 1
// (0 ends a chain). Emptied at the start of every analysis.
constexpr int NameBuckets = 2048;
int16_t NameChains[NameBuckets];
int16_t NextInChain[RecordCount];

unsigned nameBucket(const char *name, std::size_t length)
{
    uint32_t hash = 2166136261u;
    for (std::size_t at = 0; at < length; ++at)
        hash = (hash ^ static_cast<unsigned char>(name[at])) * 16777619u;
    return hash & (NameBuckets - 1);
}

// Records the object just stored at ReadTreeCount and counts it.
void countObject()
{
    const int slot = ReadTreeCount++;
    const MibTree &record = ReadTables.tree[slot];
    int16_t &chain = NameChains[nameBucket(record.Name, static_cast<std::size_t>(record.NameLength))];
    NextInChain[slot] = chain;
    chain = static_cast<int16_t>(slot + 1);
}

bool next(Token &token)
{
    if (Stream.hasPending) {
        copyToken(token, Stream.pending);
        Stream.hasPending = false;
        return true;
    }
    return ReadToken(Stream.file, token) == 0;
}

void readAgain(const Token &token)
{
    copyToken(Stream.pending, token);
    Stream.hasPending = true;
}

bool is(const Token &token, const char *text)
{
    return std::strcmp(token.text, text) == 0;
}

// The leading decimal digits of a token, with an optional sign; 0 when it has
// none. Values beyond 32 bits are held at the nearest limit.
int32_t numberOf(const Token &token)
{
    const char *at = token.text;
    const bool negative = *at == '-';
    if (*at == '-' || *at == '+')
        ++at;
    long long value = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        value = value * 10 + (*at - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value > INT_MAX ? INT_MAX : value);
}

// Stores text into a 512-byte field, cut on a character boundary.
void storeText(char *field, int32_t &length, const char *text, std::size_t textLength)
{
    if (const void *zero = std::memchr(text, '\0', textLength))
        textLength = static_cast<std::size_t>(static_cast<const char *>(zero) - text);
    const std::size_t stored = characterBoundary(text, textLength, TextFieldBytes);
    std::memcpy(field, text, stored);
    field[stored] = '\0';
    length = static_cast<int32_t>(stored);
}

bool skipImports()
{
    bool importsSeen = false;
    while (next(Current)) {
        if (importsSeen && is(Current, ";"))
            return true;
        if (std::strstr(Current.text, "IMPORTS") != nullptr)
            importsSeen = true;
    }
    return false;
}

// After "OBJECT IDENTIFIER": "::= { parent number }" records a node. Anything
// else (a column type inside SEQUENCE { ... }, the SYNTAX of a textual
// convention) defines nothing, and the token that shows it is read again.
Step readValueAssignment()
{
    for (const char *expected : {":", ":", "=", "{"}) {
        if (!next(Lookahead))
            return Step::EndOfTokens;
        if (!is(Lookahead, expected)) {
            readAgain(Lookahead);
            return Step::Continue;
        }
    }
    if (!next(ParentName))
        return Step::EndOfTokens;
    // The root the writer defines as { private 1 } is no object of the design.
    if (is(ParentName, "private"))
        return Step::Continue;
    if (!next(Lookahead))
        return Step::EndOfTokens;
    if (ReadTreeCount >= RecordCount)
        return Step::TooManyObjects;
    MibTree &node = ReadTables.tree[ReadTreeCount];
    storeText(node.Name, node.NameLength, SavedName.text, static_cast<std::size_t>(SavedName.length));
    node.Parent = FindObjectByName(ParentName.text);
    node.ObjectId = numberOf(Lookahead);
    node.Kind = Node;
    node.InUse = 1;
    countObject();
    return Step::Continue;
}

// The type after SYNTAX: a code of the syntax table, 0 for SEQUENCE OF, -1
// for any other type. False at the end of the tokens.
bool readSyntax(int &syntax)
{
    if (!next(Lookahead))
        return false;
    struct Named {
        const char *name;
        int code;
    };
    static const Named simple[] = {{"INTEGER", 2},   {"IpAddress", 64}, {"Counter", 65},
                                   {"Gauge", 66},     {"TimeTicks", 67}, {"Opaque", 68}};
    if (is(Lookahead, "OCTET")) {
        if (!next(Lookahead))
            return false;
        syntax = is(Lookahead, "STRING") ? 4 : -1;
        return true;
    }
    if (is(Lookahead, "OBJECT")) {
        if (!next(Lookahead))
            return false;
        // Modules written before the writer spelt this type right say
        // IDETIFIER; both mean the same leaf.
        syntax = is(Lookahead, "IDENTIFIER") || is(Lookahead, "IDETIFIER") ? 6 : -1;
        return true;
    }
    if (is(Lookahead, "SEQUENCE")) {
        if (!next(Lookahead))
            return false;
        // A table is SEQUENCE OF its row type. The writer spells a leaf whose
        // syntax was never chosen as a bare SEQUENCE: it stays such a leaf.
        syntax = is(Lookahead, "OF") ? 0 : NoSyntaxChosen;
        if (syntax != 0)
            readAgain(Lookahead);
        return true;
    }
    syntax = -1;
    for (const Named &type : simple) {
        if (is(Lookahead, type.name))
            syntax = type.code;
    }
    return true;
}

int32_t accessCode(const Token &token)
{
    if (is(token, "read-only"))
        return 1;
    if (is(token, "read-write"))
        return 2;
    if (is(token, "not-accessible"))
        return 3;
    return 0;
}

// After the first ":" of an OBJECT-TYPE's "::= { parent number }": sets the
// parent and the sub-identifier, and the object is complete. A token that
// breaks the chain is consumed and the object's clauses go on.
Step readObjectValue(MibTree &object, bool &complete)
{
    for (const char *expected : {":", "=", "{"}) {
        if (!next(Lookahead))
            return Step::EndOfTokens;
        if (!is(Lookahead, expected))
            return Step::Continue;
    }
    if (!next(ParentName))
        return Step::EndOfTokens;
    object.Parent = FindObjectByName(ParentName.text);
    complete = true;
    if (!next(Lookahead))
        return Step::EndOfTokens;
    object.ObjectId = numberOf(Lookahead);
    return Step::Continue;
}

// Reads the clauses of an OBJECT-TYPE up to its "::= { parent number }" and
// records it. At the end of the tokens the object is recorded with what was
// read so far.
Step readObjectType()
{
    if (ReadTreeCount >= RecordCount || ReadAttributeCount >= RecordCount)
        return Step::TooManyObjects;
    MibTree &object = ReadTables.tree[ReadTreeCount];
    MibAttribute &attribute = ReadTables.attribute[ReadAttributeCount];
    object.Parent = -1;
    int syntax = -1;
    Step step = Step::Continue;
    bool complete = false;
    while (!complete && step == Step::Continue) {
        if (!next(Lookahead)) {
            step = Step::EndOfTokens;
        } else if (is(Lookahead, "SYNTAX")) {
            if (!readSyntax(syntax))
                step = Step::EndOfTokens;
        } else if (is(Lookahead, "ACCESS") || is(Lookahead, "MAX-ACCESS")) {
            if (!next(Lookahead))
                step = Step::EndOfTokens;
            else if (const int32_t access = accessCode(Lookahead); access != 0)
                attribute.Access = access;
        } else if (is(Lookahead, "DESCRIPTION")) {
            if (!next(Lookahead))
                step = Step::EndOfTokens;
            else if (Lookahead.text[0] == '"')
                storeText(attribute.Description, attribute.DescriptionLength, Lookahead.text + 1,
                          static_cast<std::size_t>(Lookahead.length - 1));
        } else if (is(Lookahead, ":")) {
            step = readObjectValue(object, complete);
        }
    }
    object.Kind = syntax > 0 ? Leaf : syntax == 0 ? Table : Entry;
    if (object.Kind == Leaf)
        attribute.Syntax = syntax;
    attribute.Owner = ReadTreeCount;
    attribute.InUse = 1;
    ++ReadAttributeCount;
    storeText(object.Name, object.NameLength, SavedName.text, static_cast<std::size_t>(SavedName.length));
    object.InUse = 1;
    countObject();
    return step;
}

// After OBJECT: IDENTIFIER starts a value assignment; anything else is
// consumed and names nothing.
Step readAfterObject()
{
    if (!next(Lookahead))
        return Step::EndOfTokens;
    return is(Lookahead, "IDENTIFIER") ? readValueAssignment() : Step::Continue;
}

} // namespace

int FindObjectByName(const char *name)
{
    const std::size_t length = characterBoundary(name, std::strlen(name), TextFieldBytes);
    int found = -1;
    for (int slot = NameChains[nameBucket(name, length)] - 1; slot >= 0; slot = NextInChain[slot] - 1) {
        // A stored name is NameLength bytes followed by a zero byte.
        const MibTree &record = ReadTables.tree[slot];
        if (record.NameLength == static_cast<int32_t>(length) && std::memcmp(record.Name, name, length) == 0)
            found = slot; // the chain runs from the newest object to the oldest
    }
    return found;
}

int ParseMibTokens(std::FILE *tokenFile)
{
    Stream.file = tokenFile;
    Stream.hasPending = false;
    std::memset(NameChains, 0, sizeof NameChains);
    SavedName.text[0] = '\0';
    SavedName.length = 0;
    if (!skipImports())
        return ParseDone;
    while (next(Current)) {
        Step step = Step::Continue;
        if (is(Current, "OBJECT"))
            step = readAfterObject();
        else if (is(Current, "OBJECT-TYPE"))
            step = readObjectType();
        else if (std::strncmp(Current.text, "OBJECT-", 7) != 0)
            copyToken(SavedName, Current);
        // OBJECT-IDENTITY, OBJECT-GROUP and the like define nothing and name
        // nothing.
        if (step == Step::TooManyObjects)
            return ParseTooManyObjects;
        if (step == Step::EndOfTokens)
            break;
    }
    return ParseDone;
}

} // namespace korvel::mib
