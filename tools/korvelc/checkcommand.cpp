// korvelc check DESIGN.mdf: the design check, one finding a line on standard
// output as "DESIGN.mdf: OBJECT: error|warning: message".
#include "checkcommand.h"

#include "commands.h"
#include "commandsupport.h"

#include "designcheck.h"
#include "designfile.h"
#include "moduleinfo.h"

#include <QTextStream>

#include <memory>

namespace korvel::cli {

namespace {

// The module information beside the design, or the defaults; the SMIv2
// command warns about an unreadable side file itself.
ModuleInfo moduleInfoOf(const AppState &state, const QString &design, bool quiet)
{
    ModuleInfo info;
    const QString side = moduleInfoPath(design);
    if (readModuleInfo(state, side, info) == ModuleInfoStatus::Unreadable && !quiet)
        note(side, QStringLiteral("warning: the module information cannot be read; defaults used"));
    return info;
}

QString findingLine(const Finding &finding)
{
    return QStringLiteral("%1: %2: %3")
        .arg(finding.object, finding.isError() ? QStringLiteral("error") : QStringLiteral("warning"),
             finding.englishMessage());
}

} // namespace

int runCheck(const Invocation &invocation)
{
    const QString &design = invocation.files[0];
    const std::unique_ptr<AppState> state = readDesignInput(design);
    if (!state)
        return 1;
    const QList<Finding> findings = checkDesign(*state, moduleInfoOf(*state, design, false));
    QTextStream out(stdout);
    for (const Finding &finding : findings)
        out << design << ": " << findingLine(finding) << '\n';
    return findings.isEmpty() ? 0 : 1;
}

std::optional<int> checkBeforeMib(const AppState &state, const QString &design, bool strict, bool smiv2)
{
    if (strict) {
        const QList<Finding> findings = checkDesign(state, moduleInfoOf(state, design, smiv2));
        if (hasErrors(findings)) {
            for (const Finding &finding : findings) {
                if (finding.isError())
                    note(design, findingLine(finding));
            }
            return fail(design, QStringLiteral("the design check found errors; nothing written (--strict)"));
        }
    }
    if (!smiv2) {
        for (const SkippedObject &object : seedWriterOmissions(state))
            note(design, QStringLiteral("%1: warning: not in the module: %2").arg(object.name, object.reason));
    }
    return std::nullopt;
}

} // namespace korvel::cli
