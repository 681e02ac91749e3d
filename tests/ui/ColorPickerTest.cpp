#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/ColorPicker.h"

#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

class ColorPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
    }
    QString DatPath() const { return dir.filePath(QStringLiteral("Settings/Colors.dat")); }

    QTemporaryDir dir;
};

TEST_F(ColorPickerTest, FileLinesAreSixteenLowerCaseHexValues)
{
    TCustomColors colors;
    colors.fill(ColorPickerEmptySlot);
    colors[0] = clRed;
    colors[1] = 0x00ABCDEF;
    colors[2] = clBlack;
    const QStringList lines = CustomColorLines(colors);
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines[0], QStringLiteral("ColorA=0000ff"));
    EXPECT_EQ(lines[1], QStringLiteral("ColorB=abcdef"));
    EXPECT_EQ(lines[2], QStringLiteral("ColorC=000000"));
    EXPECT_EQ(lines[15], QStringLiteral("ColorP=ffffffff"));
}

TEST_F(ColorPickerTest, LoadTakesLinesInAnyOrderAndTreatsGapsAsEmpty)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Settings")));
    ASSERT_TRUE(WriteAll(DatPath(), "ColorC=ff\r\n"
                                    "colorb=00FF00\r\n"
                                    "ColorP=123456\n"
                                    "ColorQ=111111\r\n"     // no such slot
                                    "ColorD=nothex\r\n"     // unreadable: empty
                                    "garbage\r\n"
                                    "ColorE=ffffffff\r\n"));
    const TCustomColors colors = LoadCustomColors(DatPath());
    TCustomColors expected;
    expected.fill(ColorPickerEmptySlot);
    expected[1] = 0x00FF00;
    expected[2] = 0xFF;
    expected[15] = 0x123456;
    EXPECT_EQ(colors, expected);

    TCustomColors missing;
    missing.fill(ColorPickerEmptySlot);
    EXPECT_EQ(LoadCustomColors(dir.filePath(QStringLiteral("none.dat"))), missing);
}

TEST_F(ColorPickerTest, OkReturnsTheChoiceAndKeepsCustomColoursAcrossPicks)
{
    // First pick: no Settings folder yet. The user adds a custom colour and picks green.
    {
        TScopedDialogResponder responder;
        responder.Answer([](QDialog& d) {
            auto& dialog = dynamic_cast<QColorDialog&>(d);
            EXPECT_EQ(dialog.currentColor(), TColorToQColor(clNavy));
            for (int slot = 0; slot < ColorPickerCustomCount; ++slot)
                EXPECT_EQ(QColorDialog::customColor(slot), QColor(Qt::white)) << slot;
            QColorDialog::setCustomColor(2, TColorToQColor(clBlue));
            dialog.setCurrentColor(TColorToQColor(clGreen));
            return mrOk;
        });
        EXPECT_EQ(PickColor(clNavy), clGreen);
    }
    const QByteArray written = ReadAll(DatPath());
    QByteArray expected;
    for (char slot = 'A'; slot <= 'P'; ++slot)
        expected += QByteArray("Color") + slot + (slot == 'C' ? "=ff0000" : "=ffffffff") + "\r\n";
    EXPECT_EQ(written, expected);

    // Second pick: the dialog shows the stored colour; a slot changed to white is a colour,
    // not an empty slot.
    {
        TScopedDialogResponder responder;
        responder.Answer([](QDialog&) {
            EXPECT_EQ(QColorDialog::customColor(2), TColorToQColor(clBlue));
            QColorDialog::setCustomColor(2, QColor(Qt::white));
            QColorDialog::setCustomColor(15, TColorToQColor(0x123456));
            return mrOk;
        });
        EXPECT_EQ(PickColor(clRed), clRed);
    }
    const TCustomColors colors = LoadCustomColors(DatPath());
    EXPECT_EQ(colors[2], 0xFFFFFFu);
    EXPECT_EQ(colors[15], 0x123456u);
    EXPECT_EQ(colors[0], ColorPickerEmptySlot);
}

TEST_F(ColorPickerTest, CancelReturnsTheOldColourAndLeavesTheFileUntouched)
{
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Settings")));
    const QByteArray original = "ColorA=abcdef\r\n; kept as it is\r\n";
    ASSERT_TRUE(WriteAll(DatPath(), original));

    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        EXPECT_EQ(QColorDialog::customColor(0), TColorToQColor(0xABCDEF));
        QColorDialog::setCustomColor(1, TColorToQColor(clRed));
        dynamic_cast<QColorDialog&>(d).setCurrentColor(TColorToQColor(clGreen));
        return mrCancel;
    });
    EXPECT_EQ(PickColor(clYellow), clYellow);
    EXPECT_EQ(ReadAll(DatPath()), original);
}

TEST_F(ColorPickerTest, FailedWriteIsReportedInTheCurrentLanguage)
{
    struct Case {
        uint8_t language;
        const char* phrase;
    };
    const Case cases[] = {{0, "nicht"}, {1, "could not be saved"}, {2, "Impossible"}};
    // A file where the Settings folder should be: the folder cannot be made.
    ASSERT_TRUE(WriteAll(dir.filePath(QStringLiteral("Settings")), "x"));
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.language));
        Ctx().CurrentLanguage = c.language;
        TScopedDialogResponder dialogs;
        dialogs.Answer([](QDialog& d) {
            dynamic_cast<QColorDialog&>(d).setCurrentColor(TColorToQColor(clTeal));
            return mrOk;
        });
        TScopedMessageResponder messages;
        EXPECT_EQ(PickColor(clWhite), clTeal);
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_EQ(messages.Requests()[0].type, mtError);
        EXPECT_TRUE(messages.Requests()[0].text.contains(QLatin1String(c.phrase)))
            << messages.Requests()[0].text.toStdString();
        EXPECT_TRUE(messages.Requests()[0].text.contains(QStringLiteral("Colors.dat")));
    }
}

} // namespace
