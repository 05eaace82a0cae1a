// The SMIv2 writer checked through libsmi and net-snmp, the import of
// modules through libsmi, and the module information beside a design.
#include "designfile.h"
#include "editorrules.h"
#include "import.h"
#include "moduleinfo.h"
#include "oid.h"
#include "sampledesign.h"
#include "smiapi.h"
#include "smisession.h"
#include "smiv2writer.h"
#include "tableops.h"
#include "workedexample.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QDateTime WritingTime(QDate(2024, 12, 7), QTime(1, 30), Qt::UTC);

const QString Text = QStringLiteral("A \"quoted\" text");

int leaf(AppState &state, const char *name, int id, int parent, int syntax = Syntax::Integer,
         int access = Access::ReadOnly, int key = 0, const char *low = nullptr, const char *high = nullptr,
         const QList<QPair<QString, int>> &items = {})
{
    return addLeaf(state, {QString::fromLatin1(name), id, parent, syntax, access, Text, key, QString::fromLatin1(low),
                           QString::fromLatin1(high), items});
}

int describedTable(AppState &state, const char *base, int id, int parent)
{
    return addTable(state, QString::fromLatin1(base), id, parent, Text, Text);
}

// Writes `bytes` as `name` in `dir`.
QString writeModule(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    return writeFile(dir.filePath(name), bytes);
}

// Every syntax, access, range and enumeration, under an enterprise number
// above 255: scalars of each type, a two-key table and a table whose
// columns are all keys.
void buildEverySyntax(AppState &s)
{
    const int acme = addNode(s, QStringLiteral("acme"), 99999);
    const int system = addNode(s, QStringLiteral("acmeSystem"), 1, acme);
    leaf(s, "acmeLevel", 1, system, Syntax::Integer, Access::ReadWrite, 0, "-5", "100");
    leaf(s, "acmeMode", 2, system, Syntax::Integer, Access::ReadOnly, 0, nullptr, nullptr,
         {{QStringLiteral("on"), 2}, {QStringLiteral("off"), 1}});
    leaf(s, "acmeLabel", 3, system, Syntax::OctetString, Access::ReadWrite, 0, "0", "32");
    leaf(s, "acmeKind", 4, system, Syntax::ObjectIdentifier);
    leaf(s, "acmeAddress", 5, system, Syntax::IpAddress, Access::ReadWrite);
    leaf(s, "acmePackets", 6, system, Syntax::Counter);
    leaf(s, "acmeLoad", 7, system, Syntax::Gauge, Access::ReadOnly, 0, "0", "4294967295");
    leaf(s, "acmeUptime", 8, system, Syntax::TimeTicks);
    leaf(s, "acmeBlob", 9, system, Syntax::Opaque);
    const int link = entryOf(s, describedTable(s, "acmeLink", 2, acme));
    leaf(s, "acmeLinkPeer", 3, link, Syntax::Integer, Access::ReadOnly, 2, "1", "8");
    leaf(s, "acmeLinkSlot", 1, link, Syntax::Integer, Access::ReadOnly, 1, "1", "16");
    leaf(s, "acmeLinkState", 2, link, Syntax::Integer, Access::ReadWrite, 0, nullptr, nullptr,
         {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}});
    leaf(s, "acmePeerAddress", 1, entryOf(s, describedTable(s, "acmePeer", 3, acme)), Syntax::IpAddress,
         Access::ReadOnly, 1);
}

// A scalar and a table straight under the root: the identity goes there too.
void buildRootObjects(AppState &s)
{
    leaf(s, "boxName", 40000, RootSlot, Syntax::OctetString);
    const int entry = entryOf(s, describedTable(s, "box", 40001, RootSlot));
    leaf(s, "boxIndex", 1, entry, Syntax::Integer, Access::ReadOnly, 1, "1", "4");
    leaf(s, "boxValue", 2, entry, Syntax::Gauge);
}

QString nodeOid(const SmiNode *node)
{
    QStringList arcs;
    for (unsigned i = 0; node && i < node->oidlen; ++i)
        arcs.append(QString::number(node->oid[i]));
    return arcs.join(u'.');
}

// The first diagnostic, for failure messages.
std::string firstOf(const QList<SmiDiagnostic> &d)
{
    return d.isEmpty() ? std::string() : QStringLiteral("%1: %2").arg(d[0].line).arg(d[0].message).toStdString();
}

// What the module holds beyond the OIDs and what the import reads back: key
// columns not-accessible unless the row has nothing else, the accessible
// objects in the group, the quote turned into an apostrophe, the time and
// the enumeration in value order. (libsmi itself speaks up about unused
// imports.)
void checkEverySyntax(SmiModule *module, const QString &text)
{
    const auto access = [module](const char *name) { return smiGetNode(module, name)->access; };
    EXPECT_EQ(access("acmeLinkSlot"), SMI_ACCESS_NOT_ACCESSIBLE);
    EXPECT_EQ(access("acmeLinkState"), SMI_ACCESS_READ_WRITE);
    EXPECT_EQ(access("acmePeerAddress"), SMI_ACCESS_READ_ONLY);
    int members = 0;
    for (SmiElement *e = smiGetFirstElement(smiGetNode(module, "acmeMIBObjectGroup")); e; e = smiGetNextElement(e))
        members += smiGetElementNode(e)->access != SMI_ACCESS_NOT_ACCESSIBLE ? 1 : 100;
    EXPECT_EQ(members, 11); // every accessible object, nothing else
    EXPECT_EQ(QString::fromLatin1(smiGetNode(module, "acmeLevel")->description), QStringLiteral("A 'quoted' text"));
    EXPECT_TRUE(text.contains(QStringLiteral("LAST-UPDATED \"202412070130Z\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("off(1),\n                    on(2)")));
}

struct Design {
    const char *label;
    std::function<void(AppState &)> build;
    const char *tolerated; // the one diagnostic SMIv2 gives such a design, or nullptr
    std::function<void(SmiModule *, const QString &)> more = {};
};

// Written as SMIv2 and loaded by libsmi with our base modules: no diagnostic,
// every object and the identity at the OID the design gives them.
TEST(Smiv2RoundTrip, LoadsCleanlyWithEveryObjectAtItsOid)
{
    const Design designs[] = {{"worked", buildWorkedExample, nullptr},
                              {"every", buildEverySyntax, "Opaque", checkEverySyntax},
                              {"root", buildRootObjects, nullptr},
                              {"bare", [](AppState &s) { addNode(s, QStringLiteral("acme"), 7); }, nullptr}};
    for (const Design &design : designs) {
        SCOPED_TRACE(design.label);
        auto state = std::make_unique<AppState>();
        design.build(*state);
        const ModuleInfo info = defaultModuleInfo(*state);
        const Smiv2Module module = smiv2Module(*state, info, WritingTime);
        EXPECT_TRUE(module.skipped.isEmpty());

        QTemporaryDir dir;
        SmiSession session({QStringLiteral(KORVEL_BASE_MIBS)});
        ASSERT_EQ(session.load(writeModule(dir, info.moduleName, module.text)), info.moduleName);
        const QList<SmiDiagnostic> diagnostics = session.diagnostics();
        ASSERT_EQ(diagnostics.size(), design.tolerated ? 1 : 0) << firstOf(diagnostics);
        EXPECT_TRUE(!design.tolerated
                    || (diagnostics[0].message.contains(QLatin1StringView(design.tolerated)) && !diagnostics[0].isError()));

        SmiModule *smiModule = smiGetModule(info.moduleName.toLatin1().constData());
        ASSERT_NE(smiModule, nullptr);
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (state->tables.tree[slot].InUse == 0)
                continue;
            const QByteArray name = displayedName(*state, slot).toLatin1();
            EXPECT_EQ(nodeOid(smiGetNode(smiModule, name.constData())), dottedOid(*state, slot)) << name.constData();
        }
        EXPECT_EQ(nodeOid(smiGetNode(smiModule, info.identity.toLatin1().constData())),
                  dottedOid(*state, info.identityParent) + u'.' + QString::number(info.identitySubId));
        EXPECT_EQ(QString::fromLatin1(smiGetModuleIdentityNode(smiModule)->name), info.identity);
        if (design.more)
            design.more(smiModule, QString::fromUtf8(module.text));
    }
}

// Objects the module cannot contain are left out and named; the rest of
// the module still loads cleanly.
TEST(Smiv2Writer, SkipsWhatTheModuleCannotContain)
{
    auto state = std::make_unique<AppState>();
    AppState &s = *state;
    const int acme = addNode(s, QStringLiteral("acme"), 5);
    const int kept = leaf(s, "kept", 1, acme);
    leaf(s, "twin", 1, acme);
    leaf(s, "belowZero", 1, addNode(s, QStringLiteral("zero"), 0, acme));
    leaf(s, "noSyntax", 3, acme, Syntax::NoSyntax);
    s.tables.tree[leaf(s, "orphan", 4, acme)].Parent = 900;
    leaf(s, "unkeyedValue", 1, entryOf(s, describedTable(s, "unkeyed", 6, acme)));
    const int cycle = addNode(s, QStringLiteral("loopA"), 8, acme);
    s.tables.tree[cycle].Parent = addNode(s, QStringLiteral("loopB"), 1, cycle);
    const int zeroRow = entryOf(s, describedTable(s, "zeroRow", 9, acme));
    s.tables.tree[zeroRow].ObjectId = 0;
    leaf(s, "zeroRowIndex", 1, zeroRow, Syntax::Integer, Access::ReadOnly, 1);
    const int dup = entryOf(s, describedTable(s, "dup", 10, acme));
    leaf(s, "dupIndex", 1, dup, Syntax::IpAddress, Access::ReadOnly, 1);
    leaf(s, "dupTwin", 1, dup);
    leaf(s, "underLeaf", 1, kept);

    const Smiv2Module module = smiv2Module(*state, defaultModuleInfo(*state), WritingTime);
    const QStringList expected{"twin: taken by kept", "zero: not positive", "belowZero: below zero",
                               "noSyntax: no syntax", "orphan: reached", "unkeyedTable: no index",
                               "unkeyedEntry: below unkeyedTable", "unkeyedValue: below unkeyedTable",
                               "loopA: reached", "loopB: reached", "zeroRowTable: no row",
                               "zeroRowEntry: below zeroRowTable", "zeroRowIndex: below zeroRowTable",
                               "dupTwin: taken", "underLeaf: below an object with a syntax"};
    ASSERT_EQ(module.skipped.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString name = expected[i].section(QStringLiteral(": "), 0, 0);
        EXPECT_EQ(module.skipped[i].name, name);
        EXPECT_TRUE(module.skipped[i].reason.contains(expected[i].section(QStringLiteral(": "), 1)))
            << name.toStdString() << ": " << module.skipped[i].reason.toStdString();
    }

    QTemporaryDir dir;
    SmiSession session({QStringLiteral(KORVEL_BASE_MIBS)});
    EXPECT_EQ(session.load(writeModule(dir, QStringLiteral("ACME-MIB"), module.text)), QStringLiteral("ACME-MIB"));
    EXPECT_TRUE(session.diagnostics().isEmpty()) << firstOf(session.diagnostics());
}

// net-snmp's parser, run as a user would, finds every object of the worked
// example's module at its OID.
TEST(Linters, SnmptranslateFindsEveryObjectAtItsOid)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("snmptranslate"));
    if (program.isEmpty())
        GTEST_SKIP() << "snmptranslate is not installed";
    QTemporaryDir dir;
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    const ModuleInfo info = defaultModuleInfo(*state);
    ASSERT_TRUE(writeSmiv2File(*state, info, dir.filePath(info.moduleName)));
    QStringList arguments{QStringLiteral("-M"), QStringLiteral(KORVEL_BASE_MIBS ":") + dir.path(), QStringLiteral("-On"),
                          QStringLiteral("-m"), info.moduleName};
    QByteArray expected;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (state->tables.tree[slot].InUse != 0) {
            arguments.append(info.moduleName + QLatin1StringView("::") + displayedName(*state, slot));
            expected += '.' + dottedOid(*state, slot).toLatin1() + "\n\n";
        }
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path()); // no user configuration
    environment.insert(QStringLiteral("MIBDIRS"), QString());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(30000);
    EXPECT_EQ(process.readAll().trimmed(), expected.trimmed());
}


const QString Base = QStringLiteral(KORVEL_BASE_MIBS);

// One object as the module can carry it: kind, OID, syntax, access (key
// columns are written not-accessible), range, enumeration, key position and
// description, its quotes written as apostrophes.
QString portrait(const AppState &s, int slot)
{
    QString text = QStringLiteral("%1 %2").arg(s.tables.tree[slot].Kind).arg(dottedOid(s, slot));
    const int a = attributeOf(s, slot);
    if (a < 0)
        return text;
    const MibAttribute &attribute = s.tables.attribute[a];
    text += QStringLiteral(" syntax %1 key %2 \"%3\"").arg(attribute.Syntax).arg(attribute.KeyOrder)
                .arg(displayedText(attribute.Description, attribute.DescriptionLength).replace(u'"', u'\''));
    if (attribute.KeyOrder == 0)
        text += QStringLiteral(" access %1").arg(attribute.Access);
    if (const int r = rangeOf(s, slot); r >= 0 && attribute.Constraint == Constraint::Range)
        text += QStringLiteral(" range %1..%2").arg(displayedText(s.tables.range[r].Minimum, s.tables.range[r].MinimumLength),
                                                   displayedText(s.tables.range[r].Maximum, s.tables.range[r].MaximumLength));
    QStringList items;
    for (int item : itemsOf(s, slot))
        items.append(displayedText(s.tables.list[item].ItemName, s.tables.list[item].ItemNameLength) + u'='
                     + QString::number(s.tables.list[item].ItemValue));
    items.sort();
    return text + u' ' + items.join(u',');
}

// Written as SMIv2 and imported back: the same objects with the same
// attributes, and the same module information; also where the identity
// stands for the top node, as in many real modules.
TEST(Import, RoundTripKeepsEveryObjectAndTheModuleInformation)
{
    for (const auto &[build, identityOnTop] : {std::pair{&buildWorkedExample, false}, std::pair{&buildEverySyntax, false},
                                               std::pair{&buildEverySyntax, true}}) {
        auto original = std::make_unique<AppState>();
        build(*original);
        ModuleInfo info = defaultModuleInfo(*original);
        if (identityOnTop) {
            info.identity = displayedName(*original, 0);
            info.identityParent = RootSlot;
            info.identitySubId = original->tables.tree[0].ObjectId;
        }
        info.lastUpdated = QDateTime(QDate(2025, 3, 1), QTime(12, 0), Qt::UTC);
        info.organization = QStringLiteral("Acme Networks");
        info.contactInfo = QStringLiteral("noc@example.com");
        info.description = QStringLiteral("The Acme device.");
        info.revisions = {{QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC), QStringLiteral("First.")}};
        QTemporaryDir dir;
        const QString file = writeModule(dir, info.moduleName, smiv2Module(*original, info).text);

        auto imported = std::make_unique<AppState>();
        ModuleInfo back;
        const ImportResult result = importModule(file, {}, *imported, back, Base);
        ASSERT_TRUE(result.imported) << result.refusal.toStdString();
        EXPECT_EQ(result.notKept, QStringList());
        EXPECT_EQ(imported->tables.MibTreeCount, original->tables.MibTreeCount);
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (original->tables.tree[slot].InUse == 0)
                continue;
            const QString name = displayedName(*original, slot);
            const int there = findObjectByName(*imported, name);
            ASSERT_GE(there, 0) << name.toStdString();
            EXPECT_EQ(portrait(*imported, there), portrait(*original, slot)) << name.toStdString();
        }
        EXPECT_EQ(displayedName(*imported, back.identityParent), displayedName(*original, info.identityParent));
        EXPECT_EQ(identityNode(*imported, back) >= 0, identityOnTop);
        back.identityParent = info.identityParent;
        EXPECT_EQ(back, info);
    }
}

// net-snmp's own enterprise modules: every object under enterprises, at the
// OID libsmi gives it, with its kind.
TEST(Import, RealModulesComeAcrossAtTheirOids)
{
    for (const char *name : {"NET-SNMP-MIB", "NET-SNMP-AGENT-MIB", "UCD-SNMP-MIB"}) {
        const QString file = QStringLiteral("/usr/share/snmp/mibs/%1.txt").arg(QLatin1StringView(name));
        if (!QFile::exists(file)) {
            std::cout << file.toStdString() << " is absent (Debian's libsnmp-base); skipped\n";
            continue;
        }
        auto state = std::make_unique<AppState>();
        ModuleInfo info;
        const ImportResult result = importModule(file, {}, *state, info, Base);
        ASSERT_TRUE(result.imported) << name << ": " << result.refusal.toStdString();
        EXPECT_EQ(info.moduleName, QLatin1StringView(name));

        SmiSession session(importSearchPath(file, {}, Base));
        SmiModule *module = smiGetModule(session.load(file).toUtf8().constData());
        ASSERT_NE(module, nullptr);
        const std::map<SmiNodekind, int32_t> kinds{{SMI_NODEKIND_NODE, ObjectKind::Node}, {SMI_NODEKIND_SCALAR, ObjectKind::Leaf},
            {SMI_NODEKIND_TABLE, ObjectKind::Table}, {SMI_NODEKIND_ROW, ObjectKind::Entry}, {SMI_NODEKIND_COLUMN, ObjectKind::Leaf}};
        int count = 0;
        for (SmiNode *n = smiGetFirstNode(module, SMI_NODEKIND_ANY); n; n = smiGetNextNode(n, SMI_NODEKIND_ANY)) {
            const QString oid = nodeOid(n);
            if (!kinds.count(n->nodekind) || !oid.startsWith(QLatin1StringView("1.3.6.1.4.1."))
                || n == smiGetModuleIdentityNode(module))
                continue;
            const int slot = findObjectByName(*state, QString::fromUtf8(n->name));
            ASSERT_GE(slot, 0) << n->name;
            EXPECT_EQ(dottedOid(*state, slot), oid) << n->name;
            EXPECT_EQ(state->tables.tree[slot].Kind, kinds.at(n->nodekind)) << n->name;
            ++count;
        }
        EXPECT_GT(count, 0) << name;
    }
}

const char Header[] = "TEST-MIB DEFINITIONS ::= BEGIN\n"
                      "IMPORTS MODULE-IDENTITY, OBJECT-TYPE, NOTIFICATION-TYPE, enterprises, mib-2, Counter64,\n"
                      "    Integer32 FROM SNMPv2-SMI TEXTUAL-CONVENTION FROM SNMPv2-TC\n"
                      "    OBJECT-GROUP, MODULE-COMPLIANCE FROM SNMPv2-CONF;\n"
                      "testMIB MODULE-IDENTITY LAST-UPDATED \"202501010000Z\" ORGANIZATION \"o\" CONTACT-INFO \"c\"\n"
                      "    DESCRIPTION \"d\" REVISION \"202501010000Z\" DESCRIPTION \"r\" ::= { enterprises 9 }\n";

QByteArray scalar(const char *name, int id, const char *syntax, const char *description = "d")
{
    return QStringLiteral("%1 OBJECT-TYPE SYNTAX %3 MAX-ACCESS read-only STATUS current DESCRIPTION \"%4\" "
                          "::= { testMIB %2 }\n")
        .arg(QLatin1StringView(name)).arg(id).arg(QLatin1StringView(syntax), QLatin1StringView(description))
        .toUtf8();
}

// A table of one column below testMIB, its row indexed by `index`.
QByteArray table(const char *stem, const char *type, int id, const char *index)
{
    return QStringLiteral("%1Table OBJECT-TYPE SYNTAX SEQUENCE OF %2Entry MAX-ACCESS not-accessible STATUS current\n"
                          "    DESCRIPTION \"t\" ::= { testMIB %3 }\n%2Entry ::= SEQUENCE { %1Value OCTET STRING }\n"
                          "%1Entry OBJECT-TYPE SYNTAX %2Entry MAX-ACCESS not-accessible STATUS current DESCRIPTION \"e\"\n"
                          "    %4 ::= { %1Table 1 }\n%1Value OBJECT-TYPE SYNTAX OCTET STRING (SIZE (1..8))\n"
                          "    MAX-ACCESS read-only STATUS current DESCRIPTION \"v\" ::= { %1Entry 1 }\n")
        .arg(QLatin1StringView(stem), QLatin1StringView(type)).arg(id).arg(QLatin1StringView(index)).toUtf8();
}

// Each reason a design cannot keep something, said once.
TEST(Import, SaysWhatItCannotKeep)
{
    QByteArray text = Header;
    text += "Tc ::= TEXTUAL-CONVENTION STATUS current DESCRIPTION \"t\" SYNTAX Integer32\n";
    text += scalar("big", 1, "Counter64") + scalar("flags", 2, "BITS { a(0), b(1) }")
            + scalar("twice", 3, "Integer32 (1..2 | 5..6)") + scalar("wordy", 4, "Tc", QByteArray(300, 'w'));
    text += table("row", "Row", 5, "INDEX { IMPLIED rowValue }") + table("ext", "Ext", 6, "AUGMENTS { rowEntry }");
    text += "ping NOTIFICATION-TYPE OBJECTS { big } STATUS current DESCRIPTION \"p\" ::= { testMIB 7 }\n"
            "group OBJECT-GROUP OBJECTS { big } STATUS current DESCRIPTION \"g\" ::= { testMIB 8 }\n"
            "compliance MODULE-COMPLIANCE STATUS current DESCRIPTION \"c\" MODULE MANDATORY-GROUPS { group }\n"
            "    ::= { testMIB 10 }\n"
            "elsewhere OBJECT IDENTIFIER ::= { mib-2 999 }\n"
            "END\n";
    QTemporaryDir dir;
    auto state = std::make_unique<AppState>();
    ModuleInfo info;
    const ImportResult result = importModule(writeModule(dir, QStringLiteral("TEST-MIB"), text), {}, *state, info, Base);
    ASSERT_TRUE(result.imported) << result.refusal.toStdString();
    EXPECT_EQ(result.notKept.join(u';').toStdString(),
              "elsewhere: not under enterprises; skipped;ping: notification skipped;group: group skipped;compliance: "
              "compliance skipped;Tc: type definition skipped;big: Counter64 kept as Counter;flags: BITS kept as OCTET "
              "STRING;twice: more than one range; the first kept;wordy: description cut to 255 characters;rowEntry: "
              "IMPLIED not kept;extEntry: AUGMENTS rowEntry not kept; the row has no index of its own");
    EXPECT_EQ(displayedText(state->tables.range[rangeOf(*state, findObjectByName(*state, QStringLiteral("twice")))].Maximum, 1),
              QStringLiteral("2"));
}

// SMIv1's application types by their names: Counter and NetworkAddress are
// no Gauge and no OCTET STRING, whatever their base types say.
TEST(Import, KeepsSmiv1Syntaxes)
{
    QByteArray text = "V1-MIB DEFINITIONS ::= BEGIN\nIMPORTS enterprises, Gauge, Counter, NetworkAddress, TimeTicks\n"
                      "    FROM RFC1155-SMI OBJECT-TYPE FROM RFC-1212;\nacme OBJECT IDENTIFIER ::= { enterprises 4242 }\n";
    const QList<QPair<QString, int32_t>> syntaxes{{"Gauge", Syntax::Gauge}, {"Counter", Syntax::Counter},
                                                  {"NetworkAddress", Syntax::IpAddress}, {"TimeTicks", Syntax::TimeTicks}};
    for (qsizetype i = 0; i < syntaxes.size(); ++i)
        text += QStringLiteral("s%1 OBJECT-TYPE SYNTAX %2 ACCESS read-only STATUS mandatory DESCRIPTION \"d\" ::= { acme %1 }\n")
                    .arg(i + 1).arg(syntaxes[i].first).toUtf8();
    QTemporaryDir dir;
    auto state = std::make_unique<AppState>();
    ModuleInfo info;
    const ImportResult result = importModule(writeModule(dir, QStringLiteral("V1-MIB"), text + "END\n"), {}, *state, info, Base);
    ASSERT_TRUE(result.imported) << result.refusal.toStdString();
    for (qsizetype i = 0; i < syntaxes.size(); ++i) {
        const int slot = findObjectByName(*state, QStringLiteral("s%1").arg(i + 1));
        EXPECT_EQ(state->tables.attribute[attributeOf(*state, slot)].Syntax, syntaxes[i].second) << syntaxes[i].first.toStdString();
    }
}

// A refused module leaves the design and its module information as they were.
TEST(Import, RefusalsChangeNothing)
{
    QByteArray tooMany = Header;
    for (int i = 1; i <= ImportObjectLimit + 1; ++i)
        tooMany += QStringLiteral("n%1 OBJECT IDENTIFIER ::= { testMIB %1 }\n").arg(i).toUtf8();
    // 1000 objects, and the node the identity stands below (in ACME-BASE) makes 1001.
    QByteArray besideIdentity = QByteArray(Header)
                                    .replace("SNMPv2-CONF;", "SNMPv2-CONF acme FROM ACME-BASE;")
                                    .replace("{ enterprises 9 }", "{ acme 1 }")
                                + "top OBJECT IDENTIFIER ::= { enterprises 9 }\n";
    for (int i = 1; i < ImportObjectLimit; ++i)
        besideIdentity += QStringLiteral("n%1 OBJECT IDENTIFIER ::= { top %1 }\n").arg(i).toUtf8();
    const QList<QPair<QByteArray, const char *>> refusals{
        {{}, "cannot be found"}, // no file at all
        {"TEST-MIB DEFINITIONS ::= BEGIN\nIMPORTS nothing FROM;\n::= {\n", "libsmi cannot read the module: TEST-MIB:"},
        {QByteArray(Header).replace("enterprises 9", "mib-2 9") + "END\n", "nothing under enterprises"},
        {tooMany + "END\n", "more than 1000"},
        {besideIdentity + "END\n", "more than 1000"}};
    for (const auto &[module, reason] : refusals) {
        QTemporaryDir dir;
        writeModule(dir, QStringLiteral("ACME-BASE"), "ACME-BASE DEFINITIONS ::= BEGIN IMPORTS enterprises FROM SNMPv2-SMI;\n"
                                                      "acme OBJECT IDENTIFIER ::= { enterprises 8 } END\n");
        const QString file = module.isEmpty() ? dir.filePath(QStringLiteral("NONE-MIB"))
                                              : writeModule(dir, QStringLiteral("TEST-MIB"), module);
        auto state = std::make_unique<AppState>();
        buildWorkedExample(*state);
        const QByteArray before = designFileImage(*state);
        ModuleInfo info = defaultModuleInfo(*state);
        const ModuleInfo infoBefore = info;
        const ImportResult result = importModule(file, {}, *state, info, Base);
        EXPECT_FALSE(result.imported);
        EXPECT_TRUE(result.refusal.contains(QLatin1StringView(reason))) << result.refusal.toStdString();
        EXPECT_EQ(designFileImage(*state), before);
        EXPECT_EQ(info, infoBefore);
    }
}


TEST(ModuleInfo, DefaultsComeFromTheFirstTopLevelObject)
{
    for (const auto &[name, module] : {std::pair{"acme", "ACME-MIB"}, {"sysInfo", "SYS-INFO-MIB"},
                                       {"9net_box", "NET-BOX-MIB"}, {"fooMIB", "FOO-MIB"}, {"機器", "KORVEL-MIB"}})
        EXPECT_EQ(moduleNameFor(QString::fromUtf8(name)), QLatin1StringView(module)) << name;

    auto state = std::make_unique<AppState>();
    addNode(*state, QStringLiteral("later"), 9);
    addNode(*state, QStringLiteral("unwritten"), 0);
    const int acme = addNode(*state, QStringLiteral("acme"), 3);
    addNode(*state, QStringLiteral("first"), 1, acme);
    addNode(*state, QStringLiteral("third"), 3, acme);
    ModuleInfo info = defaultModuleInfo(*state);
    EXPECT_EQ(info.moduleName, QStringLiteral("ACME-MIB"));
    EXPECT_EQ(info.identity, QStringLiteral("acmeMIB"));
    EXPECT_EQ(info.identityParent, acme);
    EXPECT_EQ(info.identitySubId, 2);
    EXPECT_FALSE(info.lastUpdated.isValid());
    EXPECT_FALSE(info.organization.isEmpty());

    // A top-level object that is no node takes the identity under the root.
    state->tables.tree[acme].Kind = ObjectKind::Leaf;
    info = defaultModuleInfo(*state);
    EXPECT_EQ(info.identityParent, RootSlot);
    EXPECT_EQ(info.identitySubId, 1);
}

TEST(ModuleInfo, SideFileSurvivesSaveAndOpen)
{
    QTemporaryDir dir;
    EXPECT_EQ(moduleInfoPath(dir.filePath(QStringLiteral("box.v2.mdf"))), dir.filePath(QStringLiteral("box.v2.mdi")));
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    ModuleInfo info = defaultModuleInfo(*state);
    info.moduleName = QStringLiteral("BOX-MIB");
    info.identity = QStringLiteral("boxMIB");
    info.identitySubId = 77;
    info.lastUpdated = QDateTime(QDate(2026, 1, 2), QTime(3, 4), Qt::UTC);
    info.organization = QStringLiteral("Box \"Works\"");
    info.contactInfo = QStringLiteral("箱\nline two");
    info.revisions = {{QDateTime(QDate(2025, 5, 6), QTime(7, 8), Qt::UTC), QStringLiteral("First")}};
    const QString path = dir.filePath(QStringLiteral("box.mdi"));
    ASSERT_TRUE(writeModuleInfo(info, path));
    ModuleInfo read;
    EXPECT_EQ(readModuleInfo(*state, path, read), ModuleInfoStatus::Read);
    EXPECT_EQ(read, info);

    // Keys left out keep their defaults.
    writeModule(dir, QStringLiteral("box.mdi"), R"({"format": "korvel-module-information", "moduleName": "X-MIB"})");
    EXPECT_EQ(readModuleInfo(*state, path, read), ModuleInfoStatus::Read);
    EXPECT_EQ(read.identity, defaultModuleInfo(*state).identity);
    EXPECT_EQ(read.moduleName, QStringLiteral("X-MIB"));

    EXPECT_EQ(readModuleInfo(*state, dir.filePath(QStringLiteral("none.mdi")), read), ModuleInfoStatus::Missing);
    EXPECT_EQ(read, defaultModuleInfo(*state));
    EXPECT_FALSE(writeModuleInfo(info, dir.filePath(QStringLiteral("no/such/folder.mdi"))));
}

TEST(ModuleInfo, BrokenSideFileGivesDefaultsAndTheFlag)
{
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const QByteArray broken[] = {
        "{ not json",
        "[1, 2]",
        R"({"format": "something-else", "moduleName": "X-MIB"})",
        R"({"format": "korvel-module-information", "moduleName": 5})",
        R"({"format": "korvel-module-information", "identitySubId": 1e20})",
        R"({"format": "korvel-module-information", "identityParent": 1001})",
        R"({"format": "korvel-module-information", "identityParent": 0.5})",
        R"({"format": "korvel-module-information", "lastUpdated": "yesterday"})",
        R"({"format": "korvel-module-information", "revisions": [{"date": "", "description": "x"}]})",
        R"({"format": "korvel-module-information", "revisions": [{"date": "2026-01-01T00:00:00Z"}]})",
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.mdi"));
    for (const QByteArray &bytes : broken) {
        writeModule(dir, QStringLiteral("d.mdi"), bytes);
        ModuleInfo info;
        info.moduleName = QStringLiteral("STALE");
        EXPECT_EQ(readModuleInfo(*state, path, info), ModuleInfoStatus::Unreadable) << bytes.constData();
        EXPECT_EQ(info, defaultModuleInfo(*state)) << bytes.constData();
    }
}

} // namespace
