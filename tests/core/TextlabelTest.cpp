// Text labels: the packed record, its limits, the settings dialog and the hint.
#include "core/BoardTestSupport.h"
#include "ui/ItemDialogs.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// The items open the program's settings dialogs.
class TextlabelTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        InstallItemDialogs();
    }
};

QByteArray Record(const TText& text)
{
    return WriteBytes([&](TWriter& w) { const_cast<TText&>(text).WriteData(w); });
}

TEST_F(TextlabelTest, PackedRecordHoldsWindows1252Text)
{
    TText text;
    text.SetCaption(QStringLiteral("Größe"));
    text.SetFontStyleBits(3);  // bold, italic
    text.FontColor = 0x0000FF;
    text.X = 10;
    text.Y = 20;
    QByteArray expected = B({0x02, 0x00});                       // common part
    expected += B({5}) + QByteArray("Arial") + QByteArray(26, 0); // font name, 32 bytes
    expected += B({0xE5, 0xFF, 0x03, 0xFF, 0x00, 0x00, 0x00});   // height -27, style, colour
    expected += B({0x0A, 0x00, 0x14, 0x00});                     // X, Y
    expected += B({5, 0x47, 0x72, 0xF6, 0xDF, 0x65}) + QByteArray(45, 0); // caption, 51 bytes
    const QByteArray bytes = Record(text);
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));
    EXPECT_EQ(bytes.size(), 2 + 94);

    TText copy;
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    copy.ReadData(reader, 44);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(copy.Caption(), QStringLiteral("Größe"));
    EXPECT_EQ(copy.Font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(copy.FontHeight, -27);
    EXPECT_TRUE(copy.Font.bold());
    EXPECT_TRUE(copy.Font.italic());
    EXPECT_FALSE(copy.Font.underline());
    EXPECT_EQ(copy.FontColor, 0x0000FF);
    EXPECT_EQ(QPoint(copy.X, copy.Y), QPoint(10, 20));
}

TEST_F(TextlabelTest, RecordLimits)
{
    // Positions are stored in 16 bits; length bytes beyond their fields are cut.
    TText text;
    text.X = 40000;
    text.Y = -32768;
    text.SetCaption(QString(60, QLatin1Char('x')));
    EXPECT_EQ(text.Caption().size(), 50);
    QByteArray data = Record(text);
    data[2] = char(0xFF);       // font name length
    data[2 + 43] = char(0xFF);  // caption length
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    TText copy;
    copy.ReadData(reader, 44);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(copy.X, 40000 - 65536);
    EXPECT_EQ(copy.Y, -32768);
    EXPECT_EQ(copy.Font.family().size(), 31);
    EXPECT_EQ(copy.Caption().size(), 50);
}

TEST_F(TextlabelTest, SettingsDialogStoresTheSizeAsHeight)
{
    TScopedDialogResponder responder;
    TText text;
    int repaints = 0;
    text.OnNeuZeichnen = [&](TText*) { ++repaints; };

    // Cancel: nothing edited, but the negative height comes back positive.
    responder.AnswerResult(mrCancel);
    EXPECT_EQ(text.EditProperties(), mrCancel);
    EXPECT_EQ(text.FontHeight, 27);
    EXPECT_EQ(text.Caption(), QStringLiteral("Text"));
    EXPECT_EQ(repaints, 1);

    // OK: the edited text (at most 50 characters) and size are taken.
    responder.Answer([](QDialog& d) {
        EXPECT_EQ(d.findChild<QSpinBox*>(QStringLiteral("FontSize"))->value(), 27);
        d.findChild<QLineEdit*>(QStringLiteral("Text"))->setText(QStringLiteral("Pumpe 1"));
        d.findChild<QSpinBox*>(QStringLiteral("FontSize"))->setValue(40);
        return mrOk;
    });
    EXPECT_EQ(text.EditProperties(), mrOk);
    EXPECT_EQ(text.Caption(), QStringLiteral("Pumpe 1"));
    EXPECT_EQ(text.FontHeight, 40);
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(text.GetHint(), QStringLiteral("Text\r\"Pumpe 1\""));
    text.SetCaption(QString());
    EXPECT_EQ(text.GetHint(), QStringLiteral("Text"));
}

} // namespace
