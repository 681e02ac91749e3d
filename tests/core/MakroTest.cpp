// Macro blocks and macro pins: pin mapping, names, type names, hints and records.
#include "core/BoardTestSupport.h"
#include "ui/ItemDialogs.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include "platform/Canvas.h"

#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

namespace {

// The items open the program's settings dialogs.
class MakroTest : public BoardFixture {
protected:
    void SetUp() override
    {
        BoardFixture::SetUp();
        InstallItemDialogs();
    }
};

TEST_F(MakroTest, PinsFollowTheInnerMacroPins)
{
    TPlatine top;
    TMakro* macro = Add<TMakro>(top);
    TPlatine* inner = top.CreateInnerBoard(*macro);
    const char* names[] = {"A", "B", "C"};
    for (const char* name : names)
        Add<TBTPin>(*inner)->SetPinName(QString::fromLatin1(name));
    macro->TakePinsFromBoard(*inner);
    EXPECT_EQ(macro->PinTotal, 4);
    ASSERT_EQ(macro->InputCount, 2);
    ASSERT_EQ(macro->OutputCount, 2);
    EXPECT_EQ(macro->Inputs[0]->Name(), QStringLiteral("A"));
    EXPECT_EQ(macro->Inputs[1]->Name(), QStringLiteral("B"));
    EXPECT_EQ(macro->Outputs[0]->Name(), QStringLiteral("C"));
    EXPECT_EQ(macro->Outputs[1]->Name(), QString());  // no inner pin numbered 4

    macro->SetPinName(4, QStringLiteral("Langer Name"));
    EXPECT_EQ(macro->Outputs[1]->Name(), QStringLiteral("Langer Nam"));
    macro->SetPinName(9, QStringLiteral("X"));  // no such pin: ignored
    macro->SetPinName(0, QStringLiteral("X"));
    EXPECT_EQ(PinSegments(top).size(), 4u);
}

TEST_F(MakroTest, NamesAndTypeNames)
{
    TMakro macro;
    EXPECT_EQ(macro.Prefix(), QStringLiteral("MCR"));
    EXPECT_EQ(macro.HelpContext, 13010);
    EXPECT_TRUE(macro.Editable);
    struct Case {
        uint8_t language;
        const char* name;
        const char* typeName;
    };
    const Case cases[] = {{0, "", "Makro"}, {1, "", "Macro"}, {2, "", "Macro"}, {1, "Timer", "Timer"}};
    macro.SetNumber(3);
    for (const Case& c : cases) {
        Ctx().CurrentLanguage = c.language;
        macro.SetMacroName(QString::fromLatin1(c.name));
        EXPECT_EQ(macro.GetTypeName(), QString::fromLatin1(c.typeName));
        EXPECT_EQ(macro.GetHint(),
                  QString::fromLatin1(c.typeName) + QStringLiteral(" 3\r") + QString::fromLatin1(c.name));
    }
    macro.SetMacroName(QStringLiteral("Elf Zeichen"));
    EXPECT_EQ(macro.MacroName(), QStringLiteral("Elf Zeiche"));

    TBTPin pin;
    EXPECT_EQ(pin.InputCount, 1);
    EXPECT_EQ(pin.OutputCount, 0);
    EXPECT_EQ(pin.Inputs[0]->Name(), QString());
    EXPECT_EQ(pin.Prefix(), QStringLiteral("Pin"));
    const char* pinTypes[] = {"Pin (Makros)", "Macro pin", "Broche macro"};
    for (uint8_t language = 0; language < 3; ++language) {
        Ctx().CurrentLanguage = language;
        EXPECT_EQ(pin.GetTypeName(), QString::fromUtf8(pinTypes[language]));
    }
}

TEST_F(MakroTest, SettingsDialogsCutNamesAndFireEvents)
{
    TScopedDialogResponder responder;
    auto answer = [&](const QString& text) {
        responder.Answer([text](QDialog& d) {
            d.findChild<QLineEdit*>(QStringLiteral("Designation"))->setText(text);
            return mrOk;
        });
    };

    TBTPin pin;
    int renamed = 0;
    pin.OnNameChanged = [&](TBTPin*) { ++renamed; };
    answer(QStringLiteral("Sechs6"));
    EXPECT_EQ(pin.EditProperties(), mrOk);
    EXPECT_EQ(pin.PinName(), QStringLiteral("Sechs"));
    EXPECT_EQ(renamed, 1);
    EXPECT_TRUE(pin.GetHint().endsWith(QStringLiteral("\rSechs")));

    TMakro macro;
    int edited = 0;
    macro.OnEdited = [&](TMakro*) { ++edited; };
    answer(QStringLiteral("Regelkreis1"));
    EXPECT_EQ(macro.EditProperties(), mrOk);
    EXPECT_EQ(macro.MacroName(), QStringLiteral("Regelkreis"));
    EXPECT_EQ(edited, 1);
}

TEST_F(MakroTest, PinNameRecordIsCutToFiveCharacters)
{
    const QByteArray bytes = WriteBytes([](TWriter& w) {
        TBTPin pin;
        pin.WriteData(w);
    });
    QByteArray data = bytes.chopped(2) + B({0x06, 0x06}) + QByteArray("ABCDEF");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    TBTPin pin;
    pin.ReadData(reader, 44);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(pin.PinName(), QStringLiteral("ABCDE"));
}

TEST_F(MakroTest, BlockBodyIsFilledBlackAndWhiteInMonochromePrint)
{
    for (bool mono : {false, true}) {
        QImage image(500, 500, QImage::Format_RGB32);
        image.fill(Qt::yellow);
        QPainter painter(&image);
        TCanvas canvas(&painter);
        canvas.SetIdentityMapping();
        TMakro macro;
        macro.MonochromePrint = mono;
        macro.Paint(canvas);
        painter.end();
        const QPoint inside(macro.Body.Left + 20, macro.Body.Top + 50);
        EXPECT_EQ(image.pixelColor(inside), mono ? QColor(Qt::white) : QColor(Qt::black));
        // The notch in the middle of the top edge is outside the body.
        const int cx = macro.Body.Left + macro.Body.Width() / 2;
        EXPECT_EQ(image.pixelColor(cx, macro.Body.Top + 10), QColor(Qt::yellow));
    }
}

} // namespace
