#include "designfile.h"

#include "cp932.h"
#include "tablefields.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QVarLengthArray>

namespace korvel {

namespace {

const QLatin1StringView OpeningTags[] = {
    QLatin1StringView("<MibTree>"), QLatin1StringView("<MibAttribute>"),
    QLatin1StringView("<MibRange>"), QLatin1StringView("<MibList>")};
const QLatin1StringView ClosingTags[] = {
    QLatin1StringView("</MibTree>"), QLatin1StringView("</MibAttribute>"),
    QLatin1StringView("</MibRange>"), QLatin1StringView("</MibList>")};
// Fields a line of each section must have.
constexpr int FieldCounts[] = {6, 8, 6, 5};

constexpr QChar Quote = u'"';
const QLatin1StringView LineEnd("\r\n");

void appendText(QString &line, const QString &text)
{
    const bool quoted = text.contains(u',') || text.contains(u'\n') || text.contains(u'\r')
        || text.startsWith(Quote);
    if (!quoted) {
        line += text;
        return;
    }
    line += Quote;
    for (QChar c : text) {
        if (c == Quote)
            line += Quote;
        if (c == u'\n')
            line += LineEnd;
        else
            line += c;
    }
    line += Quote;
}

// Decimal, with a "-" when negative, as QString::number writes it, but
// without a string of its own for every number of the file.
void appendNumber(QString &line, int32_t value)
{
    char16_t digits[10];
    int count = 0;
    uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    do {
        digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        line += u'-';
    while (count > 0)
        line += QChar(digits[--count]);
}

void appendSeparator(QString &line)
{
    line += u',';
}

void writeSection(QString &out, int section, const DefinitionTables &t)
{
    out += OpeningTags[section];
    out += LineEnd;
    for (int slot = 0; slot < StoredSlotCount; ++slot) {
        switch (section) {
        case 0: {
            const MibTree &r = t.tree[slot];
            appendText(out, displayedText(r.Name, r.NameLength));
            for (int32_t v : {r.NameLength, r.ObjectId, r.Parent, r.Kind, r.InUse}) {
                appendSeparator(out);
                appendNumber(out, v);
            }
            break;
        }
        case 1: {
            const MibAttribute &r = t.attribute[slot];
            for (int32_t v : {r.Owner, r.Syntax, r.Constraint, r.Access}) {
                appendNumber(out, v);
                appendSeparator(out);
            }
            appendText(out, displayedText(r.Description, r.DescriptionLength));
            for (int32_t v : {r.DescriptionLength, r.KeyOrder, r.InUse}) {
                appendSeparator(out);
                appendNumber(out, v);
            }
            break;
        }
        case 2: {
            const MibRange &r = t.range[slot];
            appendNumber(out, r.Owner);
            appendSeparator(out);
            appendText(out, displayedText(r.Minimum, r.MinimumLength));
            appendSeparator(out);
            appendText(out, displayedText(r.Maximum, r.MaximumLength));
            for (int32_t v : {r.MinimumLength, r.MaximumLength, r.InUse}) {
                appendSeparator(out);
                appendNumber(out, v);
            }
            break;
        }
        default: {
            const MibList &r = t.list[slot];
            appendNumber(out, r.Owner);
            appendSeparator(out);
            appendText(out, displayedText(r.ItemName, r.ItemNameLength));
            for (int32_t v : {r.ItemNameLength, r.ItemValue, r.InUse}) {
                appendSeparator(out);
                appendNumber(out, v);
            }
            break;
        }
        }
        out += LineEnd;
    }
    out += ClosingTags[section];
    out += LineEnd;
}

// The physical lines of the file: split at LF, one trailing CR removed, so
// CR LF and LF-only files read alike.
class LineReader
{
public:
    explicit LineReader(const QString &text) : m_text(text) {}

    bool next(QStringView &line)
    {
        if (m_pos >= m_text.size())
            return false;
        qsizetype end = m_text.indexOf(u'\n', m_pos);
        if (end < 0)
            end = m_text.size();
        line = QStringView(m_text).mid(m_pos, end - m_pos);
        if (line.endsWith(u'\r'))
            line.chop(1);
        m_pos = end + 1;
        ++m_lineNumber;
        return true;
    }

    int lineNumber() const { return m_lineNumber; }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
    int m_lineNumber = 0;
};

// The fields of one record: views into its line or, when it holds a double
// quote, into the texts rebuilt from it.
struct RecordFields {
    QVarLengthArray<QStringView, 8> views;
    QStringList rebuilt;
};

// Splits a record at every "," outside double quotes. A quoted field may run
// on over further lines; each line break inside it becomes LF. Returns false
// when the file ends inside a quoted field.
bool splitRecord(QStringView first, LineReader &lines, RecordFields &record)
{
    record.views.clear();
    record.rebuilt.clear();
    if (!first.contains(Quote)) {
        // Without quotes every "," separates: the fields are the line's own.
        qsizetype start = 0;
        for (qsizetype comma = first.indexOf(u','); comma >= 0; comma = first.indexOf(u',', start)) {
            record.views.append(first.sliced(start, comma - start));
            start = comma + 1;
        }
        record.views.append(first.sliced(start));
        return true;
    }
    QStringList &fields = record.rebuilt;
    QString field;
    bool inQuotes = false;
    bool fieldStart = true;
    QStringView line = first;
    for (;;) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (inQuotes) {
                if (c == Quote) {
                    if (i + 1 < line.size() && line[i + 1] == Quote) {
                        field += Quote;
                        ++i;
                    } else {
                        inQuotes = false;
                    }
                } else {
                    field += c;
                }
            } else if (c == u',') {
                fields.append(field);
                field.clear();
                fieldStart = true;
                continue;
            } else if (c == Quote && fieldStart) {
                inQuotes = true;
            } else {
                field += c;
            }
            fieldStart = false;
        }
        if (!inQuotes)
            break;
        if (!lines.next(line))
            return false;
        field += u'\n';
    }
    fields.append(field);
    for (const QString &text : std::as_const(fields))
        record.views.append(text);
    return true;
}

bool toNumber(QStringView text, int32_t &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && !text.isEmpty();
}

// Stores one record line into `slot` of the section's table. Returns false
// with `reason` set when a field is missing or a number does not convert.
bool storeRecord(DefinitionTables &t, int section, int slot, const QVarLengthArray<QStringView, 8> &f,
                 QString &reason)
{
    if (f.size() < FieldCounts[section]) {
        reason = QStringLiteral("too few fields");
        return false;
    }
    // Positions of the number fields in each section's line.
    static const QList<int> numberFields[] = {
        {1, 2, 3, 4, 5}, {0, 1, 2, 3, 5, 6, 7}, {0, 3, 4, 5}, {0, 2, 3, 4}};
    int32_t n[8] = {};
    for (int position : numberFields[section]) {
        if (!toNumber(f[position], n[position])) {
            reason = QStringLiteral("field %1 is not a number").arg(position + 1);
            return false;
        }
    }
    switch (section) {
    case 0: {
        MibTree &r = t.tree[slot];
        storeText(r.Name, f[0], NameWidth);
        r.NameLength = n[1];
        r.ObjectId = n[2];
        r.Parent = n[3];
        r.Kind = n[4];
        r.InUse = n[5];
        t.MibTreeCount += r.InUse == 1;
        break;
    }
    case 1: {
        MibAttribute &r = t.attribute[slot];
        r.Owner = n[0];
        r.Syntax = n[1];
        r.Constraint = n[2];
        r.Access = n[3];
        storeText(r.Description, f[4], NameWidth);
        r.DescriptionLength = n[5];
        r.KeyOrder = n[6];
        r.InUse = n[7];
        t.MibAttributeCount += r.InUse == 1;
        break;
    }
    case 2: {
        MibRange &r = t.range[slot];
        r.Owner = n[0];
        storeText(r.Minimum, f[1], BoundWidth);
        storeText(r.Maximum, f[2], BoundWidth);
        r.MinimumLength = n[3];
        r.MaximumLength = n[4];
        r.InUse = n[5];
        t.MibRangeCount += r.InUse == 1;
        break;
    }
    default: {
        MibList &r = t.list[slot];
        r.Owner = n[0];
        storeText(r.ItemName, f[1], NameWidth);
        r.ItemNameLength = n[2];
        r.ItemValue = n[3];
        r.InUse = n[4];
        t.MibListCount += r.InUse == 1;
        break;
    }
    }
    return true;
}

} // namespace

QByteArray designFileImage(const AppState &state)
{
    QString text;
    text.reserve(4 * StoredSlotCount * 24);
    for (int section = 0; section < 4; ++section)
        writeSection(text, section, state.tables);
    return cp932::encode(text);
}

bool writeDesignFile(const AppState &state, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray image = designFileImage(state);
    if (file.write(image) != image.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool readDesignFile(AppState &state, const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    return readDesignText(state, bytes, error);
}

bool hasDesignSection(const QByteArray &bytes)
{
    // The tags are ASCII and no byte of a double-byte character is "<" or a
    // line end, so the lines can be compared as bytes.
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line(bytes.constData() + start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        for (const QLatin1StringView &opening : OpeningTags) {
            if (line == QByteArrayView(opening.data(), opening.size()))
                return true;
        }
        start = end + 1;
    }
    return false;
}

bool readDesignText(AppState &state, const QByteArray &bytes, QString *error)
{
    const QString text = cp932::decode(bytes);

    auto fail = [error](int line, const QString &reason) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(reason);
        return false;
    };

    // Slots the file does not reach keep their content, so start from a copy.
    DefinitionTables scratch = state.tables;
    scratch.MibTreeCount = scratch.MibAttributeCount = scratch.MibRangeCount = scratch.MibListCount = 0;
    // A section tag that comes again continues in the slots after the first run.
    int nextSlot[4] = {0, 0, 0, 0};

    LineReader lines(text);
    QStringView line;
    RecordFields fields;
    QString reason;
    while (lines.next(line)) {
        int section = -1;
        for (int s = 0; s < 4; ++s) {
            if (line == OpeningTags[s])
                section = s;
        }
        if (section < 0)
            continue;
        bool closed = false;
        while (lines.next(line)) {
            if (line == ClosingTags[section]) {
                closed = true;
                break;
            }
            const int lineNumber = lines.lineNumber();
            if (!splitRecord(line, lines, fields))
                return fail(lineNumber, QStringLiteral("unterminated quoted text"));
            if (scratch.MibTreeCount > state.ObjectLimit)
                continue;
            if (nextSlot[section] >= SlotCount)
                return fail(lineNumber, QStringLiteral("more records than slots"));
            if (!storeRecord(scratch, section, nextSlot[section], fields.views, reason))
                return fail(lineNumber, reason);
            ++nextSlot[section];
        }
        if (!closed)
            return fail(lines.lineNumber(), QStringLiteral("missing %1").arg(ClosingTags[section]));
    }

    state.tables = std::move(scratch);
    return true;
}

} // namespace korvel
