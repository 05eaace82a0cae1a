// Module information: what an SMIv2 module says about itself beyond the
// design's objects. The values only; smi/moduleinfo.h reads, writes and
// makes them.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace korvel {

struct ModuleRevision {
    QDateTime date; // UTC, to the minute
    QString description;

    bool operator==(const ModuleRevision &) const = default;
};

struct ModuleInfo {
    QString moduleName;
    QString identity;                  // the MODULE-IDENTITY descriptor
    int32_t identityParent = -1;       // MibTree slot, or -1 for the root
    int32_t identitySubId = 1;
    QDateTime lastUpdated;             // invalid: the time the module is written
    QString organization;
    QString contactInfo;
    QString description;
    QList<ModuleRevision> revisions;   // any order; written newest first

    bool operator==(const ModuleInfo &) const = default;
};

} // namespace korvel
