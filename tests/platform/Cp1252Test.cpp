#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252Test, KnownCharactersBothWays)
{
    struct Case {
        unsigned char byte;
        char16_t unicode;
    };
    const Case cases[] = {
        {0x41, u'A'},     {0x80, 0x20AC}, // euro sign
        {0x84, 0x201E},   {0x8A, 0x0160}, {0x99, 0x2122}, {0x9F, 0x0178},
        {0x81, 0x0081},   {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}, // undefined bytes
        {0xA0, 0x00A0},   {0xB5, 0x00B5}, {0xC4, u'Ä'},   {0xD6, u'Ö'},   {0xDC, u'Ü'},
        {0xDF, u'ß'},     {0xE4, u'ä'},   {0xF6, u'ö'},   {0xFC, u'ü'},   {0xFF, 0x00FF},
    };
    for (const Case& c : cases) {
        const QByteArray bytes(1, static_cast<char>(c.byte));
        const QString text(QChar(c.unicode));
        EXPECT_EQ(FromCp1252(bytes), text) << "byte " << int(c.byte);
        EXPECT_EQ(ToCp1252(text), bytes) << "byte " << int(c.byte);
    }
}

TEST(Cp1252Test, EveryByteSurvivesARoundTrip)
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252(all.constData() + 0x80, 1), QString(QChar(0x20AC)));
}

TEST(Cp1252Test, UnmappableCharactersBecomeQuestionMarks)
{
    // U+0080 is a control character the code page does not hold (its byte 0x80 is the euro);
    // a character outside the basic plane becomes one '?', not two.
    const QString text = QString::fromUtf8("a\u0080b\u03A9c\u4E2Dd\U0001F600e\u20ACf");
    EXPECT_EQ(ToCp1252(text), QByteArray("a?b?c?d?e\x80" "f"));
    // A lone surrogate is unmappable as well.
    EXPECT_EQ(ToCp1252(QString(QChar(0xD800))), QByteArray("?"));
}

TEST(Cp1252Test, IsSevenBit)
{
    EXPECT_TRUE(IsSevenBit(QString()));
    EXPECT_TRUE(IsSevenBit(QStringLiteral("Hello, World ~\x7F")));
    EXPECT_FALSE(IsSevenBit(QString::fromUtf8("Grüße")));
    EXPECT_FALSE(IsSevenBit(QString(QChar(0x80))));
    EXPECT_FALSE(IsSevenBit(QString::fromUtf8("\u20AC")));
}
