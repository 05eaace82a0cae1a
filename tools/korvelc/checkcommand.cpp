#include "checkcommand.h"

#include "designcheck.h"
#include "designfile.h"
#include "moduleinfo.h"
#include "smisession.h"

#include <QTextStream>

#include <memory>

namespace korvel {

namespace {

// The module information of a design: its side file, or the defaults.
ModuleInfo moduleInfoOf(const AppState &state, const QString &design)
{
    ModuleInfo info;
    const QString side = moduleInfoPath(design);
    if (readModuleInfo(state, side, info) == ModuleInfoStatus::Unreadable)
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

bool takeStrictOption(QStringList &arguments)
{
    return arguments.removeAll(QStringLiteral("--strict")) > 0;
}

bool strictCheckRefuses(const AppState &state, const QString &design)
{
    const QList<Finding> findings = checkDesign(state, moduleInfoOf(state, design));
    if (!hasErrors(findings))
        return false;
    QTextStream err(stderr);
    for (const Finding &finding : findings) {
        if (finding.isError())
            err << "korvelc: " << findingLine(design, finding) << '\n';
    }
    err << "korvelc: " << design << ": the design check found errors; nothing written (--strict)\n";
    return true;
}

void reportSeedOmissions(const AppState &state, const QString &design)
{
    QTextStream err(stderr);
    for (const SkippedObject &object : seedWriterOmissions(state))
        err << "korvelc: " << design << ": " << object.name << ": warning: not in the module: " << object.reason
            << '\n';
}

} // namespace korvel
