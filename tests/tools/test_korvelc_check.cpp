// korvelc check, and the check's part in korvelc mib: run as a build
// pipeline runs them, as a separate process.
#include "designfile.h"
#include "tableops.h"
#include "workedexample.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Run {
    const char *label;
    QStringList arguments; // in the folder of clean.mdf, defect.mdf and out.mib
    int exitCode;
    const char *out;       // the whole of standard output
    const char *err;       // a line standard error must hold, or "" for none at all
    bool written;          // whether the target was replaced
};

void PrintTo(const Run &run, std::ostream *os)
{
    *os << run.label;
}

class KorvelcCheck : public ::testing::TestWithParam<Run>
{
};

TEST_P(KorvelcCheck, ExitsAndSpeaksAsDocumented)
{
    QTemporaryDir dir;
    auto clean = std::make_unique<AppState>();
    buildWorkedExample(*clean);
    ASSERT_TRUE(writeDesignFile(*clean, dir.filePath(QStringLiteral("clean.mdf"))));
    // The worked example with a second object at sysLabel's sub-identifier.
    addLeaf(*clean, {QStringLiteral("sysTwin"), 1, 0, Syntax::Integer, Access::ReadOnly, QStringLiteral("twin"), 0, {}, {}, {}});
    ASSERT_TRUE(writeDesignFile(*clean, dir.filePath(QStringLiteral("defect.mdf"))));
    const QString target = dir.filePath(QStringLiteral("out.mib"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral(KORVELC), GetParam().arguments);
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), GetParam().exitCode);
    EXPECT_EQ(process.readAllStandardOutput().toStdString(), GetParam().out);
    const QByteArray err = process.readAllStandardError();
    if (*GetParam().err == 0) {
        EXPECT_EQ(err.toStdString(), "");
    } else {
        EXPECT_TRUE(err.contains(GetParam().err)) << err.toStdString();
    }
    QFile written(target);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll() != "old", GetParam().written);
}

const char TwinFinding[] = "defect.mdf: sysTwin: error: sub-identifier 1 is also used by sysLabel; this object and "
                           "everything below it are not written\n";

INSTANTIATE_TEST_SUITE_P(
    Commands, KorvelcCheck,
    ::testing::Values(
        Run{"checkClean", {"check", "clean.mdf"}, 0, "", "", false},
        Run{"checkDefect", {"check", "defect.mdf"}, 1, TwinFinding, "", false},
        Run{"seedNamesOmission", {"mib", "defect.mdf", "out.mib"}, 0, "",
            "defect.mdf: sysLabel: warning: not in the module: its sub-identifier 1 is taken by sysTwin\n", true},
        Run{"strictRefuses", {"mib", "--strict", "defect.mdf", "out.mib"}, 1, "", "defect.mdf: the design check found errors", false},
        Run{"strictSmiv2Refuses", {"mib", "--smiv2", "--strict", "defect.mdf", "out.mib"}, 1, "", "korvelc: defect.mdf: sysTwin: error",
            false},
        Run{"strictWritesClean", {"mib", "--strict", "--smiv2", "clean.mdf", "out.mib"}, 0, "", "", true}));

} // namespace
