#include "cp932.h"

#include <gtest/gtest.h>

using namespace korvel;

TEST(Cp932, EncodesAsciiKanjiAndHalfWidthKana)
{
    EXPECT_EQ(cp932::encode(QStringLiteral("abc,1")), QByteArray("abc,1"));
    EXPECT_EQ(cp932::encode(QStringLiteral("注意")), QByteArray("\x92\x8d\x88\xd3"));
    EXPECT_EQ(cp932::encode(QStringLiteral("ﾂﾘｰ")), QByteArray("\xc2\xd8\xb0"));
    EXPECT_EQ(cp932::encode(QString()), QByteArray());
}

TEST(Cp932, UsesTheCodePageMappingNotJisShiftJis)
{
    // 0x8160 is the full-width tilde in code page 932, the wave dash in JIS.
    EXPECT_EQ(cp932::decode(QByteArray("\x81\x60")), QString(QChar(0xFF5E)));
    EXPECT_EQ(cp932::encode(QString(QChar(0xFF5E))), QByteArray("\x81\x60"));
    // NEC special characters exist only in the code page.
    EXPECT_EQ(cp932::decode(QByteArray("\x87\x40")), QString(QChar(0x2460)));
}

TEST(Cp932, SubstitutesWhatItCannotRepresent)
{
    EXPECT_EQ(cp932::encode(QStringLiteral("a\u00e9b")), QByteArray("a?b"));
    // A character outside the basic plane is one substitute, not two.
    EXPECT_EQ(cp932::encode(QStringLiteral("x\U0001F600y")), QByteArray("x?y"));
    EXPECT_EQ(cp932::roundTrip(QStringLiteral("é注")), QStringLiteral("?注"));
}

TEST(Cp932, DecodesBadBytesToTheSubstituteAndGoesOn)
{
    const QString decoded = cp932::decode(QByteArray("a\x81z\xff" "b"));
    EXPECT_TRUE(decoded.startsWith(u'a'));
    EXPECT_TRUE(decoded.endsWith(u'b'));
    EXPECT_TRUE(decoded.contains(QChar(cp932::SubstituteChar)));
    // A lead byte cut off at the end.
    EXPECT_EQ(cp932::decode(QByteArray("ok\x82")), QStringLiteral("ok") + QChar(cp932::SubstituteChar));
}

TEST(Cp932, RoundTripsLongTexts)
{
    QString text;
    for (int i = 0; i < 5000; ++i)
        text += QStringLiteral("テキスト%1,").arg(i);
    EXPECT_EQ(cp932::roundTrip(text), text);
}
