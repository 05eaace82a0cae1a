#include "enumitemlist.h"

#include "fieldtext.h"
#include "messagetexts.h"
#include "tableops.h"

#include <limits>
#include <optional>

namespace korvel {

namespace {

constexpr qint64 SmallestValue = std::numeric_limits<int16_t>::min();
constexpr qint64 LargestValue = std::numeric_limits<int16_t>::max();

// The number in the value box on removal: optional sign and digits, blanks
// around allowed. Values beyond 16 bits read as one no item can have.
std::optional<qint64> signedValue(const QString &text)
{
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    const std::optional<quint64> magnitude = digitValue(digits);
    if (!magnitude)
        return std::nullopt;
    const qint64 bounded = static_cast<qint64>(qMin<quint64>(*magnitude, LargestValue + 2));
    return negative ? -bounded : bounded;
}

void report(MessageSink &sink, QStringView text, MessageKind kind)
{
    sink.report(text.toString(), kind);
}

} // namespace

EnumItemList::EnumItemList(Values &values) : m_values(values), m_entries{QString()} {}

QList<EnumItem> EnumItemList::items() const
{
    QList<EnumItem> result;
    for (int i = 0; i < itemCount(); ++i)
        result.append({m_entries[i], m_values[i]});
    return result;
}

void EnumItemList::reset()
{
    m_entries = QStringList{QString()};
}

void EnumItemList::load(const AppState &state, int owner)
{
    m_values.fill(0);
    reset();
    for (int slot : itemsOf(state, owner)) {
        const MibList &record = state.tables.list[slot];
        const qint64 value = qBound(SmallestValue, static_cast<qint64>(record.ItemValue), LargestValue);
        appendItem(displayedText(record.ItemName, record.ItemNameLength), value);
    }
}

int EnumItemList::findName(const QString &name) const
{
    for (int i = 0; i < itemCount(); ++i) {
        if (m_entries[i] == name)
            return i;
    }
    return -1;
}

bool EnumItemList::appendItem(const QString &name, qint64 value)
{
    const QString kept = name.trimmed();
    const int position = itemCount();
    if (kept.isEmpty() || value < SmallestValue || value > LargestValue || position >= SlotCount)
        return false;
    m_entries[position] = kept;
    m_values[position] = static_cast<int16_t>(value);
    m_entries.append(QString());
    return true;
}

bool EnumItemList::addListItem(const QString &nameText, const QString &valueText, MessageSink &sink)
{
    const QString name = nameText.trimmed();
    if (name.isEmpty()) {
        report(sink, texts::itemNameEmpty(), MessageKind::Warning);
        return false;
    }
    if (valueText.isEmpty()) {
        report(sink, texts::itemValueEmpty(), MessageKind::Warning);
        return false;
    }
    const std::optional<quint64> value = digitValue(valueText);
    if (!value) {
        report(sink, texts::itemValueNotNumeric(), MessageKind::Warning);
        return false;
    }
    // Name and value are tested item by item: the first offending item
    // decides which of the two messages is shown.
    for (int i = 0; i < itemCount(); ++i) {
        if (m_entries[i] == name) {
            report(sink, texts::duplicateItemName(), MessageKind::Warning);
            return false;
        }
        if (*value <= LargestValue && m_values[i] == static_cast<qint64>(*value)) {
            report(sink, texts::duplicateItemValue(), MessageKind::Warning);
            return false;
        }
    }
    if (!appendItem(name, static_cast<qint64>(qMin<quint64>(*value, LargestValue + 1)))) {
        report(sink, texts::itemAddFailed(), MessageKind::Error);
        return false;
    }
    return true;
}

bool EnumItemList::removeListItem(const QString &nameText, const QString &valueText, MessageSink &sink)
{
    const QString name = nameText.trimmed();
    if (name.isEmpty()) {
        report(sink, texts::itemNameNotChosen(), MessageKind::Warning);
        return false;
    }
    const std::optional<qint64> value = signedValue(valueText);
    if (!value) {
        report(sink, texts::itemRemoveFailed(), MessageKind::Error);
        return false;
    }
    int found = -1;
    for (int i = 0; i < itemCount() && found < 0; ++i) {
        if (m_entries[i] == name && m_values[i] == *value)
            found = i;
    }
    if (found < 0) {
        report(sink, texts::itemNotFound(), MessageKind::Warning);
        return false;
    }
    // The values of the following items move down with their names.
    for (int i = found; i + 1 < itemCount(); ++i)
        m_values[i] = m_values[i + 1];
    m_entries.removeAt(found);
    return true;
}

QString EnumItemList::showItemValue(const QString &nameText, ItemEvent event) const
{
    const QString name = nameText.trimmed();
    if (name.isEmpty()) {
        // Only an edited, empty text matches the empty entry, whose position
        // shows whatever value it holds.
        const int position = itemCount();
        if (event == ItemEvent::Edited && position < SlotCount)
            return QString::number(m_values[position]);
        return QString();
    }
    const int found = findName(name);
    return found < 0 ? QString() : QString::number(m_values[found]);
}

} // namespace korvel
