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

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

class Korvelc : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Runs korvelc in the temporary folder, so error.log lands there.
    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(KORVELC), arguments);
        Outcome result;
        if (!process.waitForFinished(30000)) {
            ADD_FAILURE() << "korvelc did not finish";
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    static QByteArray readBytes(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(Korvelc, WritesTheWorkedExampleFromADesignFile)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    ASSERT_TRUE(writeDesignFile(*state, path(QStringLiteral("example.mdf"))));
    const Outcome r = run({QStringLiteral("mib"), path(QStringLiteral("example.mdf")), path(QStringLiteral("out.mib"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(readBytes(path(QStringLiteral("out.mib"))),
              readBytes(QStringLiteral(KORVEL_TEST_DATA "/writer/worked_example.mib")));
}

TEST_F(Korvelc, ReadsAModuleIntoADesignFileAndWritesItAgain)
{
    const Outcome read = run({QStringLiteral("mdf"), QStringLiteral(KORVEL_TEST_DATA "/writer/worked_example.mib"),
                              path(QStringLiteral("back.mdf"))});
    ASSERT_EQ(read.exitCode, 0) << read.err.constData();
    auto state = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignFile(*state, path(QStringLiteral("back.mdf"))));
    QStringList names;
    for (int slot = 0; slot < state->tables.MibTreeCount; ++slot)
        names << displayedName(*state, slot);
    EXPECT_EQ(names, (QStringList{"sample", "sysLabel", "portTable", "portEntry", "portIndex", "portState"}));
    EXPECT_EQ(state->tables.MibAttributeCount, 5);

    const Outcome write = run({QStringLiteral("mib"), path(QStringLiteral("back.mdf")), path(QStringLiteral("back.mib"))});
    ASSERT_EQ(write.exitCode, 0) << write.err.constData();
    // A module carries no ranges, enumerations or keys back into the design;
    // everything else comes out as it went in.
    QByteArray expected = readBytes(QStringLiteral(KORVEL_TEST_DATA "/writer/worked_example.mib"));
    expected.replace("{ portIndex }", "{  }")
        .replace("INTEGER (1..64)", "INTEGER")
        .replace("INTEGER {\r\n\t\t\tup(1),\r\n\t\t\tdown(2)\r\n\t\t}", "INTEGER");
    EXPECT_EQ(readBytes(path(QStringLiteral("back.mib"))), expected);
}

TEST_F(Korvelc, FailuresExitWithOneLineNamingTheFile)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    ASSERT_TRUE(writeDesignFile(*state, path(QStringLiteral("good.mdf"))));
    QFile bad(path(QStringLiteral("bad.mdf")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("<MibTree>\r\nsample,6,1,-1,1,1\r\n");
    bad.close();
    QFile old(path(QStringLiteral("old.mib")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old module");
    old.close();
    // The design names a Leaf with no attribute: the writer cannot write it.
    auto broken = std::make_unique<AppState>();
    buildWorkedExample(*broken);
    broken->tables.attribute[4].InUse = 0; // sysLabel's
    ASSERT_TRUE(writeDesignFile(*broken, path(QStringLiteral("broken.mdf"))));

    struct Row {
        QStringList arguments;
        QString file; // named in the message
        QByteArray reason;
    };
    const QString good = path(QStringLiteral("good.mdf"));
    const Row rows[] = {
        {{QStringLiteral("mib"), path(QStringLiteral("none.mdf")), path(QStringLiteral("x.mib"))},
         path(QStringLiteral("none.mdf")), "No such file"},
        {{QStringLiteral("mib"), path(QStringLiteral("bad.mdf")), path(QStringLiteral("x.mib"))},
         path(QStringLiteral("bad.mdf")), "missing </MibTree>"},
        {{QStringLiteral("mib"), good, path(QStringLiteral("missing/x.mib"))}, path(QStringLiteral("missing/x.mib")),
         "could not be written"},
        {{QStringLiteral("mib"), path(QStringLiteral("broken.mdf")), path(QStringLiteral("old.mib"))},
         path(QStringLiteral("old.mib")), "could not be written"},
        {{QStringLiteral("mdf"), path(QStringLiteral("none.mib")), path(QStringLiteral("x.mdf"))},
         path(QStringLiteral("none.mib")), "error.log"},
        {{QStringLiteral("mdf"), good}, QString(), "takes an input and an output"},
        {{QStringLiteral("convert"), good, path(QStringLiteral("x.mib"))}, QString(), "unknown command"},
        {{}, QString(), "no command"},
    };
    for (const Row &row : rows) {
        const Outcome r = run(row.arguments);
        const QString where = row.arguments.join(u' ');
        EXPECT_EQ(r.exitCode, 1) << qPrintable(where);
        EXPECT_EQ(r.err.count('\n'), 1) << qPrintable(where);
        EXPECT_TRUE(r.err.contains(row.file.toUtf8())) << r.err.constData();
        EXPECT_TRUE(r.err.contains(row.reason)) << r.err.constData();
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.mib"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.mdf"))));
    EXPECT_EQ(readBytes(path(QStringLiteral("old.mib"))), QByteArray("old module"));
}

TEST_F(Korvelc, HelpExplainsBothCommands)
{
    const Outcome r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("korvelc mib DESIGN.mdf OUT.mib"));
    EXPECT_TRUE(r.out.contains("korvelc mdf IN.mib OUT.mdf"));
    EXPECT_TRUE(r.err.isEmpty());
}
