// The SMIv2 writer: one standards-clean SMIv2 module per design, beside the
// seed's writer in libkorvel (which stays as it is).
//
// The module imports only what it uses from SNMPv2-SMI and SNMPv2-CONF,
// starts with the MODULE-IDENTITY of the module information, writes every
// object reachable from the root "enterprise" (= enterprises, 1.3.6.1.4.1)
// depth first with siblings in ascending sub-identifier order, and ends with
// a conformance section under the identity: one OBJECT-GROUP holding every
// accessible object and one MODULE-COMPLIANCE.
#pragma once

#include "appstate.h"
#include "moduleinfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace korvel {

// An object the module cannot contain, and why (in English).
struct SkippedObject {
    int slot = -1;
    QString name;
    QString reason;
};

struct Smiv2Module {
    QByteArray text; // UTF-8, the platform's line ends
    QList<SkippedObject> skipped; // in slot order
};

// The description of the revision the writer adds when no revision of the
// module information carries the LAST-UPDATED date; an import can tell it
// from the user's own revisions by this text.
inline constexpr auto WrittenRevisionDescription = "The module as written from its design.";

// The names the writer gives the conformance section, from the identity.
QString conformanceName(const QString &identity);  // <identity>Conformance
QString groupsName(const QString &identity);       // <identity>Groups
QString compliancesName(const QString &identity);  // <identity>Compliances
QString objectGroupName(const QString &identity);  // <identity>ObjectGroup
QString complianceName(const QString &identity);   // <identity>Compliance

// The design node the module identity stands for, or -1: a node named as
// the identity at the identity's place. Modules that hang their objects
// below their MODULE-IDENTITY import this way; the writer then writes the
// MODULE-IDENTITY in the node's stead and puts the conformance section at the
// lowest sub-identifier free below it.
int identityNode(const AppState &state, const ModuleInfo &info);

// The module text. `writingTime` stands for LAST-UPDATED when the module
// information leaves it open.
Smiv2Module smiv2Module(const AppState &state, const ModuleInfo &info,
                        const QDateTime &writingTime = QDateTime::currentDateTimeUtc());

// Writes the module to `path` through a temporary file that replaces the
// target only once complete. `skipped` (if given) receives the objects left
// out, `error` (if given) why the file could not be written.
bool writeSmiv2File(const AppState &state, const ModuleInfo &info, const QString &path,
                    QList<SkippedObject> *skipped = nullptr, QString *error = nullptr);

} // namespace korvel
