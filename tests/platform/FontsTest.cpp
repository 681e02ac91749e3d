// Which face draws a font name: the stand-in table, the default face for names nobody knows,
// and no face from outside the project's own font packages in the test run.
#include "platform/Fonts.h"

#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

namespace {

QString FaceOf(const QFont& font)
{
    return QFontInfo(font).family();
}

TEST(FontsTest, EveryWindowsNameIsDrawnInItsStandIn)
{
    for (const TFontStandIn& s : FontStandIns()) {
        const QString face = QString::fromLatin1(s.Face);
        ASSERT_TRUE(QFontDatabase::hasFamily(face)) << s.Face << " is missing: run scripts/deps.sh";
        QFont font(QString::fromLatin1(s.Name), 10);
        EXPECT_EQ(FaceOf(font), face) << s.Name;
        // Style does not move a name to another face, and the name's case does not matter.
        font.setBold(true);
        font.setItalic(true);
        EXPECT_EQ(FaceOf(font), face) << s.Name << " bold italic";
        EXPECT_EQ(FaceOf(QFont(QString::fromLatin1(s.Name).toUpper())), face) << s.Name << " upper case";
    }
    // Courier New keeps its fixed pitch.
    const QFontMetrics courier(QFont(QStringLiteral("Courier New"), 20));
    EXPECT_EQ(courier.horizontalAdvance(u'i'), courier.horizontalAdvance(u'W'));
    EXPECT_TRUE(QFontInfo(QFont(QStringLiteral("Courier New"))).fixedPitch());
}

TEST(FontsTest, UnknownNamesAndForeignFacesGetTheDefaultFace)
{
    // Faces that other packages install (URW's Nimbus, Noto, DejaVu's extra styles and its
    // mathematics face) are not part of the test run, whether installed here or not.
    const char* names[] = {"No Such Face", "Nimbus Sans", "Noto Sans Mono", "DejaVu Sans Condensed",
                           "DejaVu Sans Light", "Liberation Sans Narrow", "DejaVu Math TeX Gyre"};
    for (const char* name : names)
        EXPECT_EQ(FaceOf(QFont(QString::fromLatin1(name))), DefaultFace()) << name;
    // A fixed-pitch request for an unknown name gets the default fixed-pitch face.
    QFont mono(QStringLiteral("No Such Face"));
    mono.setStyleHint(QFont::TypeWriter);
    EXPECT_EQ(FaceOf(mono), QStringLiteral("DejaVu Sans Mono"));
}

} // namespace
