#include "modulediagnostics.h"

#include "smiv2writer.h"
#include "tableops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace korvel {

namespace {

// The slot whose definition holds each line of the written module: a line
// that starts a definition at column 0 opens it, and it lasts to the next.
// The row type ("::= SEQUENCE") belongs to its table, written just before it.
QList<int> definitionOwners(const QByteArray &text, const QHash<QString, int> &slotOfName)
{
    static const QRegularExpression start(QStringLiteral(
        "^([^\\s-].*?) +(OBJECT-TYPE$|OBJECT IDENTIFIER ::=|MODULE-IDENTITY$|OBJECT-GROUP$|MODULE-COMPLIANCE$|::= SEQUENCE)"));
    QList<int> owners{-1}; // libsmi counts lines from 1
    int current = -1;
    for (const QByteArray &raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (const QRegularExpressionMatch m = start.match(line); m.hasMatch()) {
            if (!m.captured(2).startsWith(u':'))
                current = slotOfName.value(m.captured(1), -1);
        } else if (line.startsWith(QLatin1StringView("END")) || line.startsWith(QLatin1StringView("IMPORTS"))) {
            current = -1;
        }
        owners.append(current);
    }
    return owners;
}

} // namespace

std::optional<QList<ObjectDiagnostic>> moduleDiagnostics(const AppState &state, const ModuleInfo &info,
                                                        const QString &baseModules)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return std::nullopt;
    const Smiv2Module module = smiv2Module(state, info);
    QFile file(QDir(folder.path()).filePath(QStringLiteral("module.mib")));
    if (!file.open(QIODevice::WriteOnly) || file.write(module.text) != module.text.size() || !file.flush())
        return std::nullopt;
    file.close();

    QHash<QString, int> slotOfName;
    for (int slot = SlotCount - 1; slot >= 0; --slot) {
        if (state.tables.tree[slot].InUse != 0)
            slotOfName.insert(displayedName(state, slot), slot); // the lowest slot, as the writer keeps it
    }
    const QList<int> owners = definitionOwners(module.text, slotOfName);

    QList<ObjectDiagnostic> result;
    SmiSession session({baseModules}, 6);
    session.load(file.fileName());
    for (const SmiDiagnostic &d : session.diagnostics()) {
        if (QFileInfo(d.file).fileName() != QFileInfo(file.fileName()).fileName())
            continue;
        result.append({d.line > 0 && d.line < owners.size() ? owners[d.line] : -1, d});
    }
    return result;
}

} // namespace korvel
