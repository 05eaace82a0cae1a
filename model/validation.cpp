#include "editorrules.h"

#include "fieldtext.h"
#include "messagetexts.h"
#include "tableops.h"

#include <iterator>

namespace korvel {

namespace {

constexpr quint64 MaximumBound = 4294967295ULL;
constexpr quint64 FirstObjectId = 1;
// The record holds an int32: 2147483647 is the largest sub-identifier it takes.
constexpr quint64 LastObjectId = 2147483647;
constexpr int FirstKeyOrder = 1;
constexpr int LastKeyOrder = 1000;

constexpr int32_t SyntaxCodes[] = {Syntax::Integer, Syntax::OctetString, Syntax::ObjectIdentifier,
                                   Syntax::IpAddress, Syntax::Counter,    Syntax::Gauge,
                                   Syntax::TimeTicks, Syntax::Opaque};
constexpr int SyntaxCount = static_cast<int>(std::size(SyntaxCodes));
constexpr int AccessCount = 3;

std::optional<QString> message(QStringView text)
{
    return text.toString();
}

} // namespace

int32_t syntaxCode(int syntaxIndex)
{
    if (syntaxIndex < 0 || syntaxIndex >= SyntaxCount)
        return Syntax::NoSyntax;
    return SyntaxCodes[syntaxIndex];
}

int syntaxIndexOf(int32_t code)
{
    for (int index = 0; index < SyntaxCount; ++index) {
        if (SyntaxCodes[index] == code)
            return index;
    }
    return 0;
}

int32_t accessCode(int accessIndex)
{
    // A position the list does not have stores its default, "read-only".
    if (accessIndex < 0 || accessIndex >= AccessCount)
        return Access::ReadOnly;
    return accessIndex + 1;
}

int32_t objectKindOf(KindOption option)
{
    switch (option) {
    case KindOption::Table:
        return ObjectKind::Table;
    case KindOption::Leaf:
        return ObjectKind::Leaf;
    case KindOption::Node:
        break;
    }
    return ObjectKind::Node;
}

KindOption kindOptionFor(int32_t kind)
{
    switch (kind) {
    case ObjectKind::Table:
    case ObjectKind::Entry:
        return KindOption::Table;
    case ObjectKind::Leaf:
        return KindOption::Leaf;
    default:
        return KindOption::Node;
    }
}

namespace {

std::optional<QString> checkObjectIdText(const QString &objectIdText)
{
    const std::optional<quint64> value = digitValue(objectIdText);
    if (!value)
        return message(texts::objectIdNotNumeric());
    if (*value < FirstObjectId || *value > LastObjectId)
        return message(texts::objectIdOutOfRange());
    return std::nullopt;
}

std::optional<QString> checkRangeTexts(const QString &minimumText, const QString &maximumText)
{
    const std::optional<quint64> minimum = digitValue(minimumText);
    const std::optional<quint64> maximum = digitValue(maximumText);
    if (!minimum || !maximum)
        return message(texts::rangeNotNumeric());
    // The lower bound is deliberately not compared with the upper one.
    if (*minimum > MaximumBound || *maximum > MaximumBound)
        return message(texts::rangeTooLarge());
    return std::nullopt;
}

std::optional<QString> checkKeyOrderText(const QString &keyOrderText)
{
    const std::optional<quint64> value = digitValue(keyOrderText);
    if (!value)
        return message(texts::keyOrderNotNumeric());
    if (*value < FirstKeyOrder || *value > LastKeyOrder)
        return message(texts::keyOrderOutOfRange());
    return std::nullopt;
}

} // namespace

std::optional<QString> checkNumberTexts(const EditorInput &input)
{
    if (auto failure = checkObjectIdText(input.ObjectIdText))
        return failure;
    if (input.RangeTicked) {
        if (auto failure = checkRangeTexts(input.MinimumText, input.MaximumText))
            return failure;
    }
    if (input.KeyTicked)
        return checkKeyOrderText(input.KeyOrderText);
    return std::nullopt;
}

std::optional<QString> ValidateInput(const EditorInput &input, EditMode mode)
{
    // Names are measured as they will be stored: without surrounding blanks,
    // so a name of blanks only would be stored empty and counts as empty.
    const QString name = input.NameText.trimmed();
    if (name.isEmpty())
        return message(texts::nameEmpty());
    if (name.size() > NameWidth)
        return message(texts::nameTooLong());
    if (mode == EditMode::Add && input.KindOption == KindOption::Table && name.size() > TableBaseWidth)
        return message(texts::tableNameTooLong());
    if (auto failure = checkNumberTexts(input))
        return failure;
    if (input.KindOption == KindOption::Leaf && input.ListTicked && !input.RangeTicked && input.Items.isEmpty())
        return message(texts::enumerationWithoutItems());
    return std::nullopt;
}

} // namespace korvel
