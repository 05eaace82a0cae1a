#include "moduleinfo.h"
#include "designfile.h"
#include "sampledesign.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
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
    writeBytes(path, R"({"format": "korvel-module-information", "moduleName": "X-MIB"})");
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
        writeBytes(path, bytes);
        ModuleInfo info;
        info.moduleName = QStringLiteral("STALE");
        EXPECT_EQ(readModuleInfo(*state, path, info), ModuleInfoStatus::Unreadable) << bytes.constData();
        EXPECT_EQ(info, defaultModuleInfo(*state)) << bytes.constData();
    }
}

// korvelc takes the module information from the side file beside the
// design, and replaces the output only by a complete module.
TEST(ModuleInfo, KorvelcUsesTheSideFile)
{
    QTemporaryDir dir;
    auto state = std::make_unique<AppState>();
    buildSampleDesign(*state);
    const QString design = dir.filePath(QStringLiteral("box.mdf"));
    ASSERT_TRUE(writeDesignFile(*state, design));
    ModuleInfo info = defaultModuleInfo(*state);
    info.moduleName = QStringLiteral("BOX-MIB");
    ASSERT_TRUE(writeModuleInfo(info, moduleInfoPath(design)));

    const auto korvelc = [](const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral(KORVELC), QStringList{QStringLiteral("mib"), QStringLiteral("--smiv2")} + arguments);
        process.waitForFinished(30000);
        return std::pair(process.exitCode(), process.readAllStandardError());
    };
    const QString out = dir.filePath(QStringLiteral("BOX-MIB"));
    EXPECT_EQ(korvelc({design, out}).first, 0);
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("BOX-MIB DEFINITIONS ::= BEGIN"));

    writeBytes(moduleInfoPath(design), "");
    const auto [status, err] = korvelc({design, out});
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(err.contains("box.mdi: warning: the module information cannot be read")) << err.constData();
    EXPECT_EQ(korvelc({design}).first, 1);
}

} // namespace
