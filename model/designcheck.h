// The design check: everything about a design and its module information
// that would make its MIB module wrong, found before the module is written.
//
// checkDesign() looks at the tables itself (structure the writers cannot
// follow, names, ranges and enumerations, texts, SMIv2's access rules) and
// then writes the design's SMIv2 module to a private temporary folder and
// has libsmi read it: every diagnostic libsmi gives is mapped back to the
// object whose definition holds its line (the module itself when none does),
// so nothing libsmi would find is missed. A libsmi diagnostic is dropped
// only where the check already reports that object at least as severely.
//
// A finding carries a code and its arguments; its message exists in
// Japanese (the program) and English (korvelc). Widget-free: Qt Core, the
// editing model and the SMIv2 side (smi/) only.
#pragma once

#include "appstate.h"
#include "moduleinfo.h"
#include "smiv2writer.h" // SkippedObject

#include <QList>
#include <QString>
#include <QStringList>

namespace korvel {

enum class FindingSeverity { Error, Warning };

enum class FindingCode {
    // structure
    SubIdNotPositive,     // %1 the sub-identifier
    SubIdTaken,           // %1 the sub-identifier, %2 the object that keeps it
    Unreachable,
    UnknownKind,
    EntryMisplaced,
    BelowScalar,
    TableHoldsOther,
    EntryHoldsOther,
    TableWithoutEntry,
    EntryWithoutColumns,
    EntryWithoutKeys,
    KeyRepeats,           // %1 the key position, %2 the other column
    KeyGap,               // %1 the first missing position
    KeysAllNotAccessible,
    KeyOnScalar,
    NoAttribute,
    NoSyntax,
    // names
    NameInvalid,
    NameHyphen,
    NameTooLong,
    NameTaken,            // %1 the object (or module part) that has it too
    LabelInvalid,         // %1 the label
    LabelTaken,           // %1 the label
    ModuleNameInvalid,
    IdentityPlace,        // %1 the sub-identifier
    // values
    RangeMissing,
    RangeNotNumber,       // %1 the bound
    RangeReversed,
    RangeOutsideType,     // %1 the type's lowest, %2 its highest value
    RangeNotAllowed,
    EnumNotAllowed,
    EnumEmpty,
    EnumValueTaken,       // %1 the value
    IndexWithoutRange,
    // texts
    DescriptionEmpty,
    NotAscii,
    // SMIv2
    ScalarNotAccessible,
    CounterWritable,
    LibsmiUnavailable,
    Libsmi,               // %1 libsmi's message
};

struct Finding {
    int slot = -1;        // MibTree slot; -1 for the module as a whole
    QString object;       // the object's name, or the module's
    FindingSeverity severity = FindingSeverity::Error;
    FindingCode code = FindingCode::Libsmi;
    QStringList arguments;

    bool isError() const { return severity == FindingSeverity::Error; }
    QString japaneseMessage() const;
    QString englishMessage() const;
};

struct CheckOptions {
    // Where libsmi finds the base modules; empty: SmiSession::baseModuleFolder().
    QString baseModules;
    // Whether libsmi reads the design's SMIv2 module as well. libsmi keeps
    // global state: no other SmiSession may be alive during the check.
    bool libsmi = true;
};

// Every finding for the design and its module information: module-level
// findings first, then by slot.
QList<Finding> checkDesign(const AppState &state, const ModuleInfo &info, const CheckOptions &options = {});

// True when any finding is an error.
bool hasErrors(const QList<Finding> &findings);

// The objects the seed's writer (libkorvel) leaves out of its module, and
// why: those it cannot reach from the root through positive sub-identifiers
// that are unique among their siblings. Slot order.
QList<SkippedObject> seedWriterOmissions(const AppState &state);

} // namespace korvel
