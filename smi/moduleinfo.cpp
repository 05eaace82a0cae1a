#include "moduleinfo.h"

#include "tableops.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>
#include <limits>
#include <set>

namespace korvel {

namespace {

constexpr auto FormatTag = "korvel-module-information";
constexpr int FormatVersion = 1;

QString dateText(const QDateTime &date)
{
    return date.isValid() ? date.toUTC().toString(Qt::ISODate) : QString();
}

// An empty text is "no date"; anything else must be an ISO 8601 date-time.
bool parseDate(const QJsonValue &value, QDateTime &date)
{
    if (!value.isString())
        return false;
    const QString text = value.toString();
    if (text.isEmpty()) {
        date = QDateTime();
        return true;
    }
    date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid())
        return false;
    date = date.toUTC();
    return true;
}

int lowestFreeSubId(const AppState &state, int parent)
{
    std::set<int32_t> taken;
    for (int slot : childrenOf(state, parent))
        taken.insert(state.tables.tree[slot].ObjectId);
    int32_t id = 1;
    while (taken.count(id))
        ++id;
    return id;
}

// Reads the known keys of `object` into `info`; false when one has the wrong type.
bool fromJson(const QJsonObject &object, ModuleInfo &info)
{
    if (object.value(QLatin1StringView("format")).toString() != QLatin1StringView(FormatTag))
        return false;
    const auto text = [&](const char *key, QString &field) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (value.isUndefined())
            return true;
        if (!value.isString())
            return false;
        field = value.toString();
        return true;
    };
    const auto number = [&](const char *key, int32_t &field, int32_t lowest) {
        const QJsonValue value = object.value(QLatin1StringView(key));
        if (value.isUndefined())
            return true;
        const double n = value.toDouble();
        if (!value.isDouble() || n < lowest || n > std::numeric_limits<int32_t>::max() || n != std::floor(n))
            return false;
        field = static_cast<int32_t>(n);
        return true;
    };
    if (!text("moduleName", info.moduleName) || !text("identity", info.identity)
        || !text("organization", info.organization) || !text("contactInfo", info.contactInfo)
        || !text("description", info.description) || !number("identityParent", info.identityParent, -1)
        || !number("identitySubId", info.identitySubId, 0))
        return false;
    if (info.identityParent >= SlotCount)
        return false;
    const QJsonValue updated = object.value(QLatin1StringView("lastUpdated"));
    if (!updated.isUndefined() && !parseDate(updated, info.lastUpdated))
        return false;
    const QJsonValue revisions = object.value(QLatin1StringView("revisions"));
    if (revisions.isUndefined())
        return true;
    if (!revisions.isArray())
        return false;
    info.revisions.clear();
    for (const QJsonValue &entry : revisions.toArray()) {
        const QJsonObject revision = entry.toObject();
        ModuleRevision read;
        const QJsonValue description = revision.value(QLatin1StringView("description"));
        if (!entry.isObject() || !parseDate(revision.value(QLatin1StringView("date")), read.date)
            || !read.date.isValid() || !description.isString())
            return false;
        read.description = description.toString();
        info.revisions.append(read);
    }
    return true;
}

} // namespace

int firstTopLevelObject(const AppState &state)
{
    int best = -1;
    for (int slot : childrenOf(state, RootSlot)) {
        const int32_t id = state.tables.tree[slot].ObjectId;
        if (id > 0 && (best < 0 || id < state.tables.tree[best].ObjectId))
            best = slot;
    }
    return best;
}

QString moduleNameFor(const QString &objectName)
{
    QString name;
    QChar previous;
    for (const QChar c : objectName) {
        if (c.unicode() >= 0x80 || !c.isLetterOrNumber()) {
            if (!name.isEmpty() && !name.endsWith(u'-'))
                name += u'-';
        } else {
            if (c.isUpper() && previous.isLower() && !name.endsWith(u'-'))
                name += u'-';
            if (!name.isEmpty() || c.isLetter())
                name += c.toUpper();
        }
        previous = c;
    }
    while (name.endsWith(u'-'))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("KORVEL");
    return name.endsWith(QLatin1StringView("-MIB")) ? name : name + QLatin1StringView("-MIB");
}

ModuleInfo defaultModuleInfo(const AppState &state)
{
    ModuleInfo info;
    const int top = firstTopLevelObject(state);
    const QString topName = top >= 0 ? displayedName(state, top) : QStringLiteral("korvel");
    info.moduleName = moduleNameFor(topName);
    info.identity = topName + QLatin1StringView("MIB");
    const bool underTop = top >= 0 && state.tables.tree[top].Kind == ObjectKind::Node;
    info.identityParent = underTop ? top : RootSlot;
    info.identitySubId = lowestFreeSubId(state, info.identityParent);
    info.organization = QStringLiteral("Not yet given.");
    info.contactInfo = QStringLiteral("Not yet given.");
    info.description = QStringLiteral("The management objects of %1.").arg(topName);
    return info;
}

ModuleInfo currentModuleInfo(const AppState &state)
{
    return state.ModuleInformation ? *state.ModuleInformation : defaultModuleInfo(state);
}

QString moduleInfoPath(const QString &designPath)
{
    const QFileInfo design(designPath);
    return design.dir().filePath(design.completeBaseName() + QLatin1StringView(".mdi"));
}

ModuleInfoStatus readModuleInfo(const AppState &state, const QString &path, ModuleInfo &info)
{
    info = defaultModuleInfo(state);
    QFile file(path);
    if (!file.exists())
        return ModuleInfoStatus::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return ModuleInfoStatus::Unreadable;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    ModuleInfo read = info;
    if (parseError.error != QJsonParseError::NoError || !document.isObject()
        || !fromJson(document.object(), read))
        return ModuleInfoStatus::Unreadable;
    info = read;
    return ModuleInfoStatus::Read;
}

QByteArray moduleInfoImage(const ModuleInfo &info)
{
    QJsonArray revisions;
    for (const ModuleRevision &revision : info.revisions)
        revisions.append(QJsonObject{{QStringLiteral("date"), dateText(revision.date)},
                                     {QStringLiteral("description"), revision.description}});
    const QJsonObject object{
        {QStringLiteral("format"), QLatin1StringView(FormatTag)},
        {QStringLiteral("version"), FormatVersion},
        {QStringLiteral("moduleName"), info.moduleName},
        {QStringLiteral("identity"), info.identity},
        {QStringLiteral("identityParent"), info.identityParent},
        {QStringLiteral("identitySubId"), info.identitySubId},
        {QStringLiteral("lastUpdated"), dateText(info.lastUpdated)},
        {QStringLiteral("organization"), info.organization},
        {QStringLiteral("contactInfo"), info.contactInfo},
        {QStringLiteral("description"), info.description},
        {QStringLiteral("revisions"), revisions},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

bool writeModuleInfo(const ModuleInfo &info, const QString &path, QString *error)
{
    QSaveFile file(path);
    const QByteArray image = moduleInfoImage(info);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace korvel
