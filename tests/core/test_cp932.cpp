#include "cp932.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Cp932, EncodesAndDecodes)
{
    struct Row {
        QString text;
        QByteArray bytes;
        bool decodesBack;
    };
    const Row rows[] = {
        {QString(), QByteArray(), true},
        {QStringLiteral("abc,1"), "abc,1", true},
        {QStringLiteral("注意"), "\x92\x8d\x88\xd3", true},
        {QStringLiteral("ﾂﾘｰ"), "\xc2\xd8\xb0", true},
        // The code page, not JIS Shift_JIS: the full-width tilde, not the
        // wave dash, and the NEC special characters.
        {QString(QChar(0xFF5E)), "\x81\x60", true},
        {QString(QChar(0x2460)), "\x87\x40", true},
        // What it cannot represent is one substitute, even outside the basic plane.
        {QStringLiteral("a\u00e9b"), "a?b", false},
        {QStringLiteral("x\U0001F600y"), "x?y", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        EXPECT_EQ(cp932::encode(row.text), row.bytes);
        EXPECT_EQ(cp932::decode(row.bytes) == row.text, row.decodesBack);
    }
    EXPECT_EQ(cp932::roundTrip(QStringLiteral("é注")), QStringLiteral("?注"));
}

TEST(Cp932, BadBytesBecomeTheSubstituteAndLongTextsRoundTrip)
{
    const QString decoded = cp932::decode(QByteArray("a\x81z\xff" "b"));
    EXPECT_TRUE(decoded.startsWith(u'a'));
    EXPECT_TRUE(decoded.endsWith(u'b'));
    EXPECT_TRUE(decoded.contains(QChar(cp932::SubstituteChar)));
    // A lead byte cut off at the end.
    EXPECT_EQ(cp932::decode(QByteArray("ok\x82")), QStringLiteral("ok") + QChar(cp932::SubstituteChar));

    QString text;
    for (int i = 0; i < 5000; ++i)
        text += QStringLiteral("テキスト%1,").arg(i);
    EXPECT_EQ(cp932::roundTrip(text), text);
}
