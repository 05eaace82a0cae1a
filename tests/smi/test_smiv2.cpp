#include "oid.h"
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
    const int table = addTable(state, QString::fromLatin1(base), id, parent, Text);
    MibAttribute &a = state.tables.attribute[attributeOf(state, entryOf(state, table))];
    storeText(a.Description, Text, NameWidth);
    a.DescriptionLength = int32_t(Text.size());
    return table;
}

} // namespace

// Writes `bytes` as `name` in `dir`; the import's tests use it too.
QString writeModule(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return file.fileName();
}

// Every syntax, access, range and enumeration, under an enterprise number
// above 255: scalars of each type, a two-key table and a table whose
// columns are all keys. The import's round trip reads it back.
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

namespace {

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

} // namespace
