#include "smisession.h"

#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>

#include <QFile>

#include <cassert>
#include "smiapi.h"

namespace korvel {

namespace {

QList<SmiDiagnostic> *g_sink = nullptr;

void collect(char *path, int line, int severity, char *message, char * /*tag*/)
{
    if (g_sink)
        g_sink->append({QString::fromLocal8Bit(path ? path : ""), line, severity,
                        QString::fromLocal8Bit(message ? message : "")});
}

} // namespace

SmiSession::SmiSession(const QStringList &path, int level)
{
    assert(!g_sink && "one SmiSession at a time");
    g_sink = &m_diagnostics;
    smiInit("korvel");
    smiSetErrorHandler(collect);
    smiSetErrorLevel(level);
    smiSetFlags(smiGetFlags() | SMI_FLAG_ERRORS);
    smiSetPath(QDir::toNativeSeparators(path.join(QDir::listSeparator())).toLocal8Bit().constData());
}

SmiSession::~SmiSession()
{
    smiExit();
    g_sink = nullptr;
}

QString SmiSession::load(const QString &fileOrName)
{
    const char *name = smiLoadModule(QFile::encodeName(fileOrName).constData());
    return name ? QString::fromLatin1(name) : QString();
}

QString SmiSession::baseModuleFolder()
{
    // Installed, mibs/ lies in the data folder beside help/ and icon/.
    return QDir(dataFolder(QCoreApplication::applicationDirPath())).filePath(QStringLiteral("mibs"));
}

} // namespace korvel
