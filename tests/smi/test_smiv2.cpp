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
#include <optional>
#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

const QDateTime WritingTime(QDate(2024, 12, 7), QTime(1, 30), Qt::UTC);

void describeRow(AppState &state, int table, const QString &text)
{
    MibAttribute &a = state.tables.attribute[attributeOf(state, entryOf(state, table))];
    storeText(a.Description, text, NameWidth);
    a.DescriptionLength = int32_t(text.size());
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

// Every syntax, access, range and enumeration, under an enterprise number
// above 255: scalars of each type, a two-key table and a table whose
// columns are all keys.
void buildEverySyntax(AppState &state)
{
    const int acme = addNode(state, QStringLiteral("acme"), 99999);
    const int system = addNode(state, QStringLiteral("acmeSystem"), 1, acme);
    const QString d = QStringLiteral("A \"quoted\" text");
    addLeaf(state, {QStringLiteral("acmeLevel"), 1, system, Syntax::Integer, Access::ReadWrite, d, 0,
                    QStringLiteral("-5"), QStringLiteral("100"), {}});
    addLeaf(state, {QStringLiteral("acmeMode"), 2, system, Syntax::Integer, Access::ReadOnly, d, 0, {}, {},
                    {{QStringLiteral("on"), 2}, {QStringLiteral("off"), 1}}});
    addLeaf(state, {QStringLiteral("acmeLabel"), 3, system, Syntax::OctetString, Access::ReadWrite, d, 0,
                    QStringLiteral("0"), QStringLiteral("32"), {}});
    addLeaf(state, {QStringLiteral("acmeKind"), 4, system, Syntax::ObjectIdentifier, Access::ReadOnly, d, 0, {}, {}, {}});
    addLeaf(state, {QStringLiteral("acmeAddress"), 5, system, Syntax::IpAddress, Access::ReadWrite, d, 0, {}, {}, {}});
    addLeaf(state, {QStringLiteral("acmePackets"), 6, system, Syntax::Counter, Access::ReadOnly, d, 0, {}, {}, {}});
    addLeaf(state, {QStringLiteral("acmeLoad"), 7, system, Syntax::Gauge, Access::ReadOnly, d, 0,
                    QStringLiteral("0"), QStringLiteral("4294967295"), {}});
    addLeaf(state, {QStringLiteral("acmeUptime"), 8, system, Syntax::TimeTicks, Access::ReadOnly, d, 0, {}, {}, {}});
    addLeaf(state, {QStringLiteral("acmeBlob"), 9, system, Syntax::Opaque, Access::ReadOnly, d, 0, {}, {}, {}});
    const int links = addTable(state, QStringLiteral("acmeLink"), 2, acme, d);
    const int link = entryOf(state, links);
    describeRow(state, links, d);
    addLeaf(state, {QStringLiteral("acmeLinkPeer"), 3, link, Syntax::Integer, Access::ReadOnly, d, 2,
                    QStringLiteral("1"), QStringLiteral("8"), {}});
    addLeaf(state, {QStringLiteral("acmeLinkSlot"), 1, link, Syntax::Integer, Access::ReadOnly, d, 1,
                    QStringLiteral("1"), QStringLiteral("16"), {}});
    addLeaf(state, {QStringLiteral("acmeLinkState"), 2, link, Syntax::Integer, Access::ReadWrite, d, 0, {}, {},
                    {{QStringLiteral("up"), 1}, {QStringLiteral("down"), 2}}});
    const int peers = addTable(state, QStringLiteral("acmePeer"), 3, acme, d);
    describeRow(state, peers, d);
    addLeaf(state, {QStringLiteral("acmePeerAddress"), 1, entryOf(state, peers), Syntax::IpAddress, Access::ReadOnly, d, 1, {}, {}, {}});
}

// A scalar and a table straight under the root: the identity goes there too.
void buildRootObjects(AppState &state)
{
    const QString d = QStringLiteral("text");
    addLeaf(state, {QStringLiteral("boxName"), 40000, RootSlot, Syntax::OctetString, Access::ReadOnly, d, 0, {}, {}, {}});
    const int table = addTable(state, QStringLiteral("box"), 40001, RootSlot, d);
    const int entry = entryOf(state, table);
    describeRow(state, table, d);
    addLeaf(state, {QStringLiteral("boxIndex"), 1, entry, Syntax::Integer, Access::ReadOnly, d, 1,
                    QStringLiteral("1"), QStringLiteral("4"), {}});
    addLeaf(state, {QStringLiteral("boxValue"), 2, entry, Syntax::Gauge, Access::ReadOnly, d, 0, {}, {}, {}});
}

// The dotted OID the design gives a slot.
QString designedOid(const AppState &state, int slot)
{
    QString oid;
    for (int guard = 0; slot != RootSlot && guard < SlotCount; ++guard) {
        oid.prepend(u'.' + QString::number(state.tables.tree[slot].ObjectId));
        slot = state.tables.tree[slot].Parent;
    }
    return QStringLiteral("1.3.6.1.4.1") + oid;
}

QString nodeOid(const SmiNode *node)
{
    QStringList arcs;
    for (unsigned i = 0; node && i < node->oidlen; ++i)
        arcs.append(QString::number(node->oid[i]));
    return arcs.join(u'.');
}

QString diagnosticsText(const QList<SmiDiagnostic> &diagnostics)
{
    QString text;
    for (const SmiDiagnostic &d : diagnostics)
        text += QStringLiteral("%1:%2: [%3] %4\n").arg(d.file).arg(d.line).arg(d.severity).arg(d.message);
    return text;
}

struct Design {
    const char *label;
    std::function<void(AppState &)> build;
    const char *tolerated; // the one diagnostic SMIv2 gives such a design, or nullptr
};

void PrintTo(const Design &design, std::ostream *os)
{
    *os << design.label;
}

class Smiv2RoundTrip : public ::testing::TestWithParam<Design>
{
};

// Written as SMIv2 and loaded by libsmi with our base modules: no diagnostic,
// every object and the identity at the OID the design gives them.
TEST_P(Smiv2RoundTrip, LoadsCleanlyWithEveryObjectAtItsOid)
{
    auto state = std::make_unique<AppState>();
    GetParam().build(*state);
    const ModuleInfo info = defaultModuleInfo(*state);
    const Smiv2Module module = smiv2Module(*state, info, WritingTime);
    EXPECT_TRUE(module.skipped.isEmpty());

    QTemporaryDir dir;
    SmiSession session({QStringLiteral(KORVEL_BASE_MIBS)});
    ASSERT_EQ(session.load(writeFile(dir, info.moduleName, module.text)), info.moduleName);
    QList<SmiDiagnostic> diagnostics = session.diagnostics();
    if (const char *tolerated = GetParam().tolerated) {
        ASSERT_EQ(diagnostics.size(), 1) << diagnosticsText(diagnostics).toStdString();
        EXPECT_TRUE(diagnostics[0].message.contains(QLatin1StringView(tolerated)));
        EXPECT_FALSE(diagnostics[0].isError());
    } else {
        EXPECT_TRUE(diagnostics.isEmpty()) << diagnosticsText(diagnostics).toStdString();
    }

    const QByteArray moduleName = info.moduleName.toLatin1();
    SmiModule *smiModule = smiGetModule(moduleName.constData());
    ASSERT_NE(smiModule, nullptr);
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (state->tables.tree[slot].InUse == 0)
            continue;
        const QByteArray name = displayedName(*state, slot).toLatin1();
        EXPECT_EQ(nodeOid(smiGetNode(smiModule, name.constData())), designedOid(*state, slot)) << name.constData();
    }
    const QByteArray identity = info.identity.toLatin1();
    const QString parentOid =
        info.identityParent == RootSlot ? QStringLiteral("1.3.6.1.4.1") : designedOid(*state, info.identityParent);
    EXPECT_EQ(nodeOid(smiGetNode(smiModule, identity.constData())),
              parentOid + u'.' + QString::number(info.identitySubId));
    EXPECT_EQ(QString::fromLatin1(smiGetModuleIdentityNode(smiModule)->name), info.identity);
}

INSTANTIATE_TEST_SUITE_P(Designs, Smiv2RoundTrip,
                         ::testing::Values(Design{"worked", buildWorkedExample, nullptr},
                                           Design{"every", buildEverySyntax, "Opaque"},
                                           Design{"root", buildRootObjects, nullptr},
                                           Design{"bare", [](AppState &s) { addNode(s, QStringLiteral("acme"), 7); },
                                                  nullptr}),
                         [](const auto &info) { return std::string(info.param.label); });

// What the module holds beyond the OIDs: key columns not-accessible unless
// the row has nothing else, the accessible objects in the group, ranges,
// INDEX order, the quote turned into an apostrophe. (libsmi's round trip
// already speaks up about unused imports.)
TEST(Smiv2Writer, WritesAccessGroupAndImportsAsTheModuleUsesThem)
{
    auto state = std::make_unique<AppState>();
    buildEverySyntax(*state);
    const QString text = QString::fromUtf8(smiv2Module(*state, defaultModuleInfo(*state), WritingTime).text);
    QTemporaryDir dir;
    SmiSession session({QStringLiteral(KORVEL_BASE_MIBS)});
    ASSERT_FALSE(session.load(writeFile(dir, QStringLiteral("ACME-MIB"), text.toUtf8())).isEmpty());
    SmiModule *module = smiGetModule("ACME-MIB");
    const auto access = [module](const char *name) { return smiGetNode(module, name)->access; };
    EXPECT_EQ(access("acmeLinkSlot"), SMI_ACCESS_NOT_ACCESSIBLE);
    EXPECT_EQ(access("acmeLinkState"), SMI_ACCESS_READ_WRITE);
    EXPECT_EQ(access("acmePeerAddress"), SMI_ACCESS_READ_ONLY);
    EXPECT_EQ(access("acmeLevel"), SMI_ACCESS_READ_WRITE);

    SmiNode *group = smiGetNode(module, "acmeMIBObjectGroup");
    ASSERT_NE(group, nullptr);
    QStringList members;
    for (SmiElement *e = smiGetFirstElement(group); e; e = smiGetNextElement(e))
        members.append(QString::fromLatin1(smiGetElementNode(e)->name));
    EXPECT_EQ(members.size(), 11);
    EXPECT_TRUE(members.contains(QStringLiteral("acmePeerAddress")));

    EXPECT_EQ(QString::fromLatin1(smiGetNode(module, "acmeLevel")->description), QStringLiteral("A 'quoted' text"));
    EXPECT_TRUE(text.contains(QStringLiteral("SYNTAX      Integer32 (-5..100)")));
    EXPECT_TRUE(text.contains(QStringLiteral("SYNTAX      OCTET STRING (SIZE (0..32))")));
    EXPECT_TRUE(text.contains(QStringLiteral("INDEX       { acmeLinkSlot, acmeLinkPeer }")));
    EXPECT_TRUE(text.contains(QStringLiteral("LAST-UPDATED \"202412070130Z\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("up(1),\n                    down(2)")));
}

// Objects the module cannot contain are left out and named; the rest of
// the module still loads cleanly.
TEST(Smiv2Writer, SkipsWhatTheModuleCannotContain)
{
    auto state = std::make_unique<AppState>();
    const auto leaf = [&state](const char *name, int id, int parent, int syntax = Syntax::Integer, int key = 0) {
        return addLeaf(*state, {QString::fromLatin1(name), id, parent, syntax, Access::ReadOnly,
                                QStringLiteral("text"), key, {}, {}, {}});
    };
    const int acme = addNode(*state, QStringLiteral("acme"), 5);
    leaf("kept", 1, acme);
    leaf("twin", 1, acme);
    leaf("belowZero", 1, addNode(*state, QStringLiteral("zero"), 0, acme));
    leaf("noSyntax", 3, acme, Syntax::NoSyntax);
    state->tables.tree[leaf("orphan", 4, acme)].Parent = 900;
    leaf("unkeyedValue", 1, entryOf(*state, addTable(*state, QStringLiteral("unkeyed"), 6, acme)));
    const int cycle = addNode(*state, QStringLiteral("loopA"), 8, acme);
    state->tables.tree[cycle].Parent = addNode(*state, QStringLiteral("loopB"), 1, cycle);
    const int zeroRow = entryOf(*state, addTable(*state, QStringLiteral("zeroRow"), 9, acme));
    state->tables.tree[zeroRow].ObjectId = 0;
    leaf("zeroRowIndex", 1, zeroRow, Syntax::Integer, 1);
    const int dupTable = addTable(*state, QStringLiteral("dup"), 10, acme, QStringLiteral("text"));
    describeRow(*state, dupTable, QStringLiteral("text"));
    const int dup = entryOf(*state, dupTable);
    leaf("dupIndex", 1, dup, Syntax::IpAddress, 1);
    leaf("dupTwin", 1, dup);

    const Smiv2Module module = smiv2Module(*state, defaultModuleInfo(*state), WritingTime);
    const QStringList expected{"twin: taken by kept", "zero: not positive", "belowZero: below zero",
                               "noSyntax: no syntax", "orphan: reached", "unkeyedTable: no index",
                               "unkeyedEntry: below unkeyedTable", "unkeyedValue: below unkeyedTable",
                               "loopA: reached", "loopB: reached", "zeroRowTable: no row",
                               "zeroRowEntry: below zeroRowTable", "zeroRowIndex: below zeroRowTable",
                               "dupTwin: taken"};
    ASSERT_EQ(module.skipped.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString name = expected[i].section(QStringLiteral(": "), 0, 0);
        EXPECT_EQ(module.skipped[i].name, name);
        EXPECT_TRUE(module.skipped[i].reason.contains(expected[i].section(QStringLiteral(": "), 1)))
            << name.toStdString() << ": " << module.skipped[i].reason.toStdString();
    }

    QTemporaryDir dir;
    SmiSession session({QStringLiteral(KORVEL_BASE_MIBS)});
    EXPECT_EQ(session.load(writeFile(dir, QStringLiteral("ACME-MIB"), module.text)), QStringLiteral("ACME-MIB"));
    EXPECT_TRUE(session.diagnostics().isEmpty()) << diagnosticsText(session.diagnostics()).toStdString();
}

// Runs a command-line linter on the worked example's module as a user
// would: %D in the arguments stands for the module's folder, %F for its file.
std::optional<QByteArray> lint(const char *program, QStringList arguments)
{
    const QString path = QStandardPaths::findExecutable(QLatin1StringView(program));
    if (path.isEmpty())
        return std::nullopt;
    QTemporaryDir dir;
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    const ModuleInfo info = defaultModuleInfo(*state);
    const QString file = dir.filePath(info.moduleName);
    EXPECT_TRUE(writeSmiv2File(*state, info, file));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SMIPATH"), QStringLiteral(KORVEL_BASE_MIBS));
    environment.insert(QStringLiteral("HOME"), dir.path()); // no user configuration
    environment.insert(QStringLiteral("MIBDIRS"), QString());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, arguments.replaceInStrings(QStringLiteral("%D"), dir.path())
                            .replaceInStrings(QStringLiteral("%F"), file));
    process.waitForFinished(30000);
    return process.readAll();
}

TEST(Linters, SmilintPrintsNothing)
{
    const auto out = lint("smilint", {QStringLiteral("-l"), QStringLiteral("6"), QStringLiteral("%F")});
    if (!out)
        GTEST_SKIP() << "smilint is not installed";
    EXPECT_EQ(*out, QByteArray());
}

TEST(Linters, SnmptranslateFindsEveryObjectAtItsOid)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    const QString module = defaultModuleInfo(*state).moduleName;
    QStringList arguments{QStringLiteral("-M"), QStringLiteral(KORVEL_BASE_MIBS ":%D"), QStringLiteral("-On"),
                          QStringLiteral("-m"), module};
    QByteArray expected;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (state->tables.tree[slot].InUse != 0) {
            arguments.append(module + QLatin1StringView("::") + displayedName(*state, slot));
            expected += '.' + designedOid(*state, slot).toLatin1() + "\n\n";
        }
    }
    const auto out = lint("snmptranslate", arguments);
    if (!out)
        GTEST_SKIP() << "snmptranslate is not installed";
    EXPECT_EQ(out->trimmed(), expected.trimmed());
}

} // namespace
