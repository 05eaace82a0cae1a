#include "importcommand.h"

#include "designfile.h"
#include "import.h"
#include "moduleinfo.h"

#include <QTextStream>

#include <memory>

namespace korvel {

int runImportCommand(const QStringList &arguments)
{
    QTextStream err(stderr);
    QStringList files;
    QStringList folders;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"-p" && i + 1 < arguments.size())
            folders.append(arguments[++i]);
        else
            files.append(arguments[i]);
    }
    if (files.size() != 2 || arguments.endsWith(QStringLiteral("-p"))) {
        err << "korvelc: import takes a module file, an output file and -p FOLDER options (korvelc --help shows "
               "the usage)\n";
        return 1;
    }
    const QString &module = files[0];
    const QString &design = files[1];
    auto state = std::make_unique<AppState>();
    ModuleInfo info;
    const ImportResult result = importModule(module, folders, *state, info);
    if (!result.imported) {
        err << "korvelc: " << module << ": " << result.refusal << '\n';
        return 1;
    }
    for (const QString &line : result.notKept)
        err << "korvelc: " << module << ": " << line << '\n';
    QString error;
    if (!writeDesignFile(*state, design, &error)) {
        err << "korvelc: " << design << ": " << error << '\n';
        return 1;
    }
    const QString side = moduleInfoPath(design);
    if (!writeModuleInfo(info, side, &error)) {
        err << "korvelc: " << side << ": " << error << '\n';
        return 1;
    }
    return 0;
}

} // namespace korvel
