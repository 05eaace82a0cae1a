#include "checkcommand.h"

#include "designcheck.h"
#include "designfile.h"
#include "moduleinfo.h"

#include <QTextStream>

#include <memory>

namespace korvel {

namespace {

// The module information of a design: its side file, or the defaults.
// The module information of a design: its side file, or the defaults. The
// warning is left to the SMIv2 command when it reads the side file anyway.
ModuleInfo moduleInfoOf(const AppState &state, const QString &design, bool quiet = false)
{
    ModuleInfo info;
    const QString side = moduleInfoPath(design);
    if (readModuleInfo(state, side, info) == ModuleInfoStatus::Unreadable && !quiet)
        QTextStream(stderr) << "korvelc: " << side << ": warning: the module information cannot be read; defaults used\n";
    return info;
}

QString findingLine(const QString &design, const Finding &finding)
{
    return QStringLiteral("%1: %2: %3: %4")
        .arg(design, finding.object, finding.isError() ? QStringLiteral("error") : QStringLiteral("warning"),
             finding.englishMessage());
}

} // namespace

int runCheckCommand(const QStringList &arguments)
{
    QTextStream err(stderr);
    if (arguments.size() != 1) {
        err << "korvelc: check takes one design file (korvelc --help shows the usage)\n";
        return 1;
    }
    const QString &design = arguments[0];
    auto state = std::make_unique<AppState>();
    QString error;
    if (!readDesignFile(*state, design, &error)) {
        err << "korvelc: " << design << ": " << error << '\n';
        return 1;
    }
    const QList<Finding> findings = checkDesign(*state, moduleInfoOf(*state, design));
    QTextStream out(stdout);
    for (const Finding &finding : findings)
        out << findingLine(design, finding) << '\n';
    return findings.isEmpty() ? 0 : 1;
}

std::optional<int> checkBeforeMib(QStringList &arguments)
{
    const bool strict = arguments.removeAll(QStringLiteral("--strict")) > 0;
    const bool smiv2 = arguments.value(0) == u"--smiv2";
    if (arguments.size() != (smiv2 ? 3 : 2))
        return std::nullopt;
    const QString &design = arguments[smiv2 ? 1 : 0];
    auto state = std::make_unique<AppState>();
    if (!readDesignFile(*state, design))
        return std::nullopt;
    QTextStream err(stderr);
    if (strict) {
        const QList<Finding> findings = checkDesign(*state, moduleInfoOf(*state, design, smiv2));
        if (hasErrors(findings)) {
            for (const Finding &finding : findings) {
                if (finding.isError())
                    err << "korvelc: " << findingLine(design, finding) << '\n';
            }
            err << "korvelc: " << arguments.last() << ": not written: the design check found errors (--strict)\n";
            return 1;
        }
    }
    if (!smiv2) {
        for (const SkippedObject &object : seedWriterOmissions(*state))
            err << "korvelc: " << design << ": " << object.name << ": warning: not in the module: " << object.reason
                << '\n';
    }
    return std::nullopt;
}

} // namespace korvel
