#include "designfile.h"
#include "korvel_version.h"
#include "mibbridge.h"
#include "miblibrary.h"
#include "tableops.h"
#include "workedexample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include <sys/stat.h>

using namespace korvel;
using namespace korvel::testing;

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

const QByteArray WorkedExampleModule = [] {
    QFile file(QStringLiteral(KORVEL_TEST_DATA "/writer/worked_example.mib"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}();

// Inputs live in in/, which is also korvelc's current folder, so error.log or
// a working file left anywhere near them shows; outputs go to out/. korvelc's
// temporary folder is tmp/, which every run must leave empty.
class Korvelc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *folder : {"in", "out", "tmp"})
            ASSERT_TRUE(QDir(m_dir.path()).mkdir(QLatin1StringView(folder)));
    }

    QString in(const QString &name) const { return m_dir.filePath(QStringLiteral("in/") + name); }
    QString out(const QString &name) const { return m_dir.filePath(QStringLiteral("out/") + name); }

    Outcome run(const QStringList &arguments) const
    {
        QProcess process;
        process.setWorkingDirectory(in(QString()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_dir.filePath(QStringLiteral("tmp")));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KORVELC), arguments);
        EXPECT_TRUE(process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit);
        EXPECT_TRUE(QDir(m_dir.filePath(QStringLiteral("tmp"))).isEmpty()) << "a temporary folder was left";
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QStringList inputFolder() const
    {
        return QDir(in(QString())).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    static QByteArray readBytes(const QString &file)
    {
        if (std::filesystem::exists(file.toStdString()) && !std::filesystem::is_regular_file(file.toStdString()))
            return QByteArray("not a regular file");
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(Korvelc, ReadsAModuleInAReadOnlyFolderAndWritesItBack)
{
    // Named like the library's log, which the load bridge deletes before a read.
    writeFile(in(QStringLiteral("error.log")), WorkedExampleModule);
    const QStringList before = inputFolder();
    QFile::setPermissions(in(QString()), QFile::ReadOwner | QFile::ExeOwner);
    const Outcome read = run({QStringLiteral("mdf"), in(QStringLiteral("error.log")), out(QStringLiteral("back.mdf"))});
    QFile::setPermissions(in(QString()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(read.exitCode, 0) << read.err.constData();
    EXPECT_TRUE(read.out.isEmpty());
    EXPECT_EQ(inputFolder(), before);
    // The module replaces an old one and keeps its permissions.
    writeFile(out(QStringLiteral("back.mib")), "old module");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(out(QStringLiteral("back.mib")), permissions));
    const Outcome write = run({QStringLiteral("mib"), out(QStringLiteral("back.mdf")), out(QStringLiteral("back.mib"))});
    ASSERT_EQ(write.exitCode, 0) << write.err.constData();
    EXPECT_TRUE(write.out.isEmpty() && write.err.isEmpty());
    EXPECT_EQ(QFile::permissions(out(QStringLiteral("back.mib"))) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
    // A module carries no ranges, enumerations or keys back into the design;
    // everything else comes out as it went in.
    QByteArray expected = WorkedExampleModule;
    expected.replace("{ portIndex }", "{  }")
        .replace("INTEGER (1..64)", "INTEGER")
        .replace("INTEGER {\r\n\t\t\tup(1),\r\n\t\t\tdown(2)\r\n\t\t}", "INTEGER");
    EXPECT_EQ(readBytes(out(QStringLiteral("back.mib"))), expected);
}

// mib and mdf run without Qt, through code of their own: what they write
// must be what the program writes through its bridges, for texts that take
// every turn of the code page and the design file's quoting.
TEST_F(Korvelc, SeedCommandsWriteWhatTheProgramWrites)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    const struct {
        int slot;
        QString description;
        int extraLength; // the length field counts blanks past the text
    } texts[] = {
        {0, QStringLiteral("ｻﾝﾌﾟﾙ 機器の、\"設定\"\nです"), 0},
        {1, QString(300, u'表'), 0},
        {2, QStringLiteral("\"quoted, at the start"), 3},
        {3, QStringLiteral("①②Ⅻ㈱ NEC and IBM extensions"), 0},
    };
    for (const auto &text : texts)
        storeText(state->tables.attribute[text.slot].Description, state->tables.attribute[text.slot].DescriptionLength,
                  text.description, NameWidth);
    for (const auto &text : texts)
        state->tables.attribute[text.slot].DescriptionLength += text.extraLength;
    QByteArray design = designFileImage(*state);
    design.replace("port number", "port\x85\x40\xed\x40\xfc"); // bytes outside the code page, one cut short
    writeFile(in(QStringLiteral("tricky.mdf")), design);

    // The program: the design read, its module written, the module read back.
    SharedMibLibrary library(QFileInfo(QStringLiteral(KORVELC)).absolutePath() + QStringLiteral("/libkorvel.so"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(out(QString())));
    auto program = std::make_unique<AppState>();
    ASSERT_TRUE(readDesignText(*program, design));
    ASSERT_EQ(createMibFile(library, *program, QStringLiteral("program.mib")), BridgeResult::Success);
    auto back = std::make_unique<AppState>();
    ASSERT_EQ(loadMibFile(library, *back, QStringLiteral("program.mib")), BridgeResult::Success);
    QDir::setCurrent(previous);

    const Outcome mib = run({QStringLiteral("mib"), in(QStringLiteral("tricky.mdf")), out(QStringLiteral("c.mib"))});
    ASSERT_EQ(mib.exitCode, 0) << mib.err.constData();
    EXPECT_EQ(readBytes(out(QStringLiteral("c.mib"))), readBytes(out(QStringLiteral("program.mib"))));
    const Outcome mdf = run({QStringLiteral("mdf"), out(QStringLiteral("c.mib")), out(QStringLiteral("c.mdf"))});
    ASSERT_EQ(mdf.exitCode, 0) << mdf.err.constData();
    EXPECT_EQ(readBytes(out(QStringLiteral("c.mdf"))), designFileImage(*back));
}

TEST_F(Korvelc, ModuleWithoutObjectsNeedsAllowEmpty)
{
    writeFile(in(QStringLiteral("empty.mib")), QByteArray());
    const Outcome r = run({QStringLiteral("mdf"), QStringLiteral("--allow-empty"), in(QStringLiteral("empty.mib")),
                           out(QStringLiteral("empty.mdf"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    auto fresh = std::make_unique<AppState>();
    EXPECT_EQ(readBytes(out(QStringLiteral("empty.mdf"))), designFileImage(*fresh));
}

// Every bad input or output: exit status 1, one line on standard error
// naming the file and the reason, standard output empty, the old output as
// it was and nothing new in the input's folder.
TEST_F(Korvelc, BadInputsFailWithOneLineAndTouchNothing)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    const QByteArray design = designFileImage(*state);
    writeFile(in(QStringLiteral("good.mdf")), design);
    writeFile(in(QStringLiteral("good.mib")), WorkedExampleModule);
    writeFile(in(QStringLiteral("empty")), QByteArray());
    writeFile(in(QStringLiteral("binary")), QByteArray("\x00\x81\x20\xff\xfe<MibTree\x01", 13).repeated(50));
    writeFile(in(QStringLiteral("cut.mdf")), design.left(design.size() / 3));
    writeFile(in(QStringLiteral("huge.mdf")), QByteArray(design).replace("\r\nsample,6,", "\r\nsample,2147483648,"));
    writeFile(in(QStringLiteral("cut.mib")), WorkedExampleModule.left(WorkedExampleModule.indexOf("label") + 2));
    state->tables.attribute[4].InUse = 0; // sysLabel's: the writer cannot write the leaf
    writeFile(in(QStringLiteral("broken.mdf")), designFileImage(*state));
    ASSERT_TRUE(QDir(in(QString())).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(in(QStringLiteral("good.mdf")), in(QStringLiteral("link.mdf"))));
    ASSERT_TRUE(QFile::link(in(QStringLiteral("good.mib")), in(QStringLiteral("link.mib"))));
    writeFile(out(QStringLiteral("old.mib")), "old module");
    writeFile(out(QStringLiteral("old.mdf")), "old design");
    writeFile(out(QStringLiteral("file")), "a file, not a folder");
    ASSERT_EQ(mkfifo(QFile::encodeName(out(QStringLiteral("pipe"))).constData(), 0600), 0);

    struct Row {
        const char *command;
        const char *input;  // in in/
        const char *output; // in out/, or in in/ when it starts with "in/"
        const char *named;  // "input" or "output"
        const char *reason;
    };
    const Row rows[] = {
        {"mib", "none.mdf", "old.mib", "input", "no such file"},
        {"mib", "folder", "old.mib", "input", "is a folder"},
        {"mib", "binary", "old.mib", "input", "is not a Korvel design file"},
        {"mib", "cut.mdf", "old.mib", "input", "missing </MibAttribute>"},
        {"mib", "huge.mdf", "old.mib", "input", "line 2: field 2 is not a number"},
        {"mib", "good.mib", "old.mib", "input", "is not a Korvel design file"},
        {"mib", "good.mdf", "in/good.mdf", "output", "is the input file"},
        {"mib", "good.mdf", "in/link.mdf", "output", "is the input file"},
        {"mib", "good.mdf", "file/x.mib", "output", "Not a directory"},
        {"mib", "good.mdf", "", "output", "is a folder"},
        {"mib", "good.mdf", "pipe", "output", "is not a regular file"},
        {"mib", "broken.mdf", "old.mib", "output", "could not be written: an object lacks a record"},
        {"mdf", "none.mib", "old.mdf", "input", "no such file"},
        {"mdf", "folder", "old.mdf", "input", "is a folder"},
        {"mdf", "empty", "old.mdf", "input", "no object found"},
        {"mdf", "binary", "old.mdf", "input", "could not be read: 漢字コードが不正である"},
        {"mdf", "cut.mib", "old.mdf", "input", "could not be read: most likely a quoted text"},
        {"mdf", "good.mib", "in/good.mib", "output", "is the input file"},
        {"mdf", "good.mib", "in/link.mib", "output", "is the input file"},
        {"mdf", "good.mib", "file/x.mdf", "output", "Not a directory"},
        {"mdf", "good.mib", "pipe", "output", "is not a regular file"},
    };
    const QStringList before = inputFolder();
    for (const Row &row : rows) {
        const QString outputName = QString::fromUtf8(row.output);
        const QString output = outputName.startsWith(u"in/") ? in(outputName.mid(3)) : out(outputName);
        const QString input = in(QString::fromUtf8(row.input));
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(row.command), input, output).toStdString());
        const QByteArray old = readBytes(output);
        const Outcome r = run({QString::fromUtf8(row.command), input, output});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        const QString named = qstrcmp(row.named, "input") == 0 ? input : output;
        EXPECT_TRUE(r.err.startsWith("korvelc: " + QDir::toNativeSeparators(named).toUtf8() + ": "))
            << r.err.constData();
        EXPECT_TRUE(r.err.contains(row.reason)) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(readBytes(output), old);
        EXPECT_EQ(inputFolder(), before);
    }
}

TEST_F(Korvelc, CommandLineMistakesAreRefused)
{
    const struct {
        QStringList arguments;
        const char *reason;
    } rows[] = {
        {{QStringLiteral("mdf"), QStringLiteral("a.mib")}, "mdf takes IN.mib OUT.mdf"},
        {{QStringLiteral("mib"), QStringLiteral("--allow-empty"), QStringLiteral("a"), QStringLiteral("b")},
         "mib has no option --allow-empty"},
        {{QStringLiteral("convert"), QStringLiteral("a"), QStringLiteral("b")}, "unknown command \"convert\""},
        {{}, "no command given"},
    };
    for (const auto &row : rows) {
        const Outcome r = run(row.arguments);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_TRUE(r.err.contains(row.reason)) << r.err.constData();
    }
}

// korvelc check, the check's part in korvelc mib, and the module information
// beside a design: exit status, standard output whole, a line standard error
// holds ("" for none at all), and whether the old output was replaced.
TEST_F(Korvelc, CheckStrictAndModuleInformation)
{
    auto state = std::make_unique<AppState>();
    buildWorkedExample(*state);
    ASSERT_TRUE(writeDesignFile(*state, in(QStringLiteral("clean.mdf"))));
    writeFile(in(QStringLiteral("clean.mdi")), R"({"format": "korvel-module-information", "moduleName": "BOX-MIB"})");
    ASSERT_TRUE(writeDesignFile(*state, in(QStringLiteral("other.mdf"))));
    writeFile(in(QStringLiteral("other.mdi")), "");
    // The worked example with a second object at sysLabel's sub-identifier.
    addLeaf(*state, {QStringLiteral("sysTwin"), 1, 0, Syntax::Integer, Access::ReadOnly, QStringLiteral("t"), 0, {}, {}, {}});
    ASSERT_TRUE(writeDesignFile(*state, in(QStringLiteral("defect.mdf"))));
    // The first object's ID made "x1".
    QByteArray unreadable = readBytes(in(QStringLiteral("clean.mdf")));
    unreadable.insert(unreadable.indexOf(',', unreadable.indexOf("<MibTree>\r\n")) + 1, 'x');
    writeFile(in(QStringLiteral("unreadable.mdf")), unreadable);
    const struct {
        QStringList arguments; // OUT stands for the output
        int exitCode;
        const char *out;
        const char *err;
        const char *written; // what the new output holds, or nullptr when the old one stays
    } rows[] = {
        {{"check", "clean.mdf"}, 0, "", "", nullptr},
        {{"check", "unreadable.mdf"}, 1, "", "field 2 is not a number", nullptr},
        {{"check", "defect.mdf"}, 1, "defect.mdf: sysTwin: error: sub-identifier 1 is also used by sysLabel; this "
                                     "object and everything below it are not written\n", "", nullptr},
        {{"mib", "defect.mdf", "OUT"}, 0, "",
         "defect.mdf: sysLabel: warning: not in the module: its sub-identifier 1 is taken by sysTwin\n", "sysTwin"},
        {{"mib", "--strict", "defect.mdf", "OUT"}, 1, "", "defect.mdf: the design check found errors", nullptr},
        {{"mib", "--smiv2", "--strict", "defect.mdf", "OUT"}, 1, "", "korvelc: defect.mdf: sysTwin: error", nullptr},
        {{"mib", "--strict", "--smiv2", "clean.mdf", "OUT"}, 0, "", "", "BOX-MIB DEFINITIONS ::= BEGIN"},
        {{"mib", "--smiv2", "other.mdf", "OUT"}, 0, "", "other.mdi: warning: the module information cannot be read",
         "SAMPLE-MIB DEFINITIONS ::= BEGIN"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments.join(u' ').toStdString());
        writeFile(out(QStringLiteral("out.mib")), "old");
        const Outcome r = run(QStringList(row.arguments).replaceInStrings(QStringLiteral("OUT"), out(QStringLiteral("out.mib"))));
        EXPECT_EQ(r.exitCode, row.exitCode);
        EXPECT_EQ(r.out.toStdString(), row.out);
        EXPECT_TRUE(*row.err ? r.err.contains(row.err) : r.err.isEmpty()) << r.err.toStdString();
        const QByteArray written = readBytes(out(QStringLiteral("out.mib")));
        EXPECT_TRUE(row.written ? written.contains(row.written) : written == "old") << written.left(200).toStdString();
    }
}
