// BCD and seven-segment decoders: every code on real pins, reset levels, writing only on a
// changed code, registry, pins and texts, records, caption.
#include "ComponentTestSupport.h"
#include "components/digital/Decoders.h"
#include "components/digital/RegisterDigital.h"
#include "core/model/ClassRegistry.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace {

class DecodersTest : public TComponentTest<RegisterCombinationalComponents> {};

// The value of the output with that name; NaN when there is none.
Extended Output(const TIOBauteil& c, const QString& name)
{
    for (const auto& p : c.Outputs) {
        if (p->Name() == name)
            return p->Value;
    }
    ADD_FAILURE() << "no output " << name.toStdString();
    return std::numeric_limits<Extended>::quiet_NaN();
}

// Segments a .. g lit for each code, as a display shows the digits; 10 to 15 dark.
const char* const kSegments[16] = {"abcdef", "bc",  "abdeg", "abcdg", "bcfg", "acdfg",
                                   "acdefg", "abc", "abcdefg", "abcdfg", "", "", "", "", "", ""};

TEST_F(DecodersTest, RegistryPinsAndTexts)
{
    auto bcd = Create<TBTBCDDekoder>();
    auto seg = Create<TBTSeg7Decoder>();
    ASSERT_TRUE(bcd);
    ASSERT_TRUE(seg);
    EXPECT_EQ(bcd->Prefix(), QStringLiteral("BCD"));
    EXPECT_EQ(seg->Prefix(), QStringLiteral("7SDEC"));
    EXPECT_EQ(bcd->HelpContext, 18350);
    EXPECT_EQ(seg->HelpContext, 18355);
    EXPECT_FALSE(bcd->Editable);
    EXPECT_FALSE(seg->Editable);
    EXPECT_EQ(PinNames(bcd->Inputs), (QStringList{"B0", "B1", "B2", "B3"}));
    EXPECT_EQ(PinNames(bcd->Outputs),
              (QStringList{"D9", "D8", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"}));
    EXPECT_EQ(PinNames(seg->Inputs), (QStringList{"S0", "S1", "S2", "S3"}));
    EXPECT_EQ(PinNames(seg->Outputs), (QStringList{"g", "f", "e", "d", "c", "b", "a"}));
    const char* bcdNames[] = {"BCD-Dekoder", "BCD Decoder", "Décodeur BCD"};
    const char* segNames[] = {"7-Segment-\rDekoder", "7-Segment\rDecoder", "Décodeur\r7 segments"};
    for (uint8_t lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = lang;
        EXPECT_EQ(bcd->GetTypeName(), QString::fromUtf8(bcdNames[lang]));
        EXPECT_EQ(seg->GetTypeName(), QString::fromUtf8(segNames[lang]));
    }
}

TEST_F(DecodersTest, BcdDecoderDrivesOneOfTen)
{
    auto c = Create<TBTBCDDekoder>();
    TDrivers d(*c);
    c->SimReset();
    for (const auto& out : c->Outputs)
        EXPECT_EQ(out->Value, 5.0L);
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 9, 0}) {
        SCOPED_TRACE(code);
        d.SetNumber(0, 4, code);
        c->Calculate();
        for (int k = 0; k <= 9; ++k)
            EXPECT_EQ(Output(*c, QStringLiteral("D") + QString::number(k)), k == code ? 5.0L : 0.0L)
                << "D" << k;
    }

    // Unconnected: code 15, every output low after the first step; high right after a reset.
    auto open = Create<TBTBCDDekoder>();
    open->SimReset();
    open->Calculate();
    for (const auto& out : open->Outputs)
        EXPECT_EQ(out->Value, 0.0L);
    open->SimReset();
    for (const auto& out : open->Outputs)
        EXPECT_EQ(out->Value, 5.0L);

    // An inverted input: "B0" inverted and open reads 0, so the open decoder sees 14.
    open->Inputs[0]->SetInverted(true);
    open->Inputs[3]->SetInverted(true); // and 6 with "B3" as well
    open->Calculate();
    EXPECT_EQ(Output(*open, QStringLiteral("D6")), 5.0L);
}

TEST_F(DecodersTest, SevenSegmentDecoderShowsEveryDigit)
{
    auto c = Create<TBTSeg7Decoder>();
    TDrivers d(*c);
    c->SimReset();
    EXPECT_EQ(c->LastCode, -1);
    for (const auto& out : c->Outputs)
        EXPECT_EQ(out->Value, 5.0L);
    for (int code = 0; code < 16; ++code) {
        SCOPED_TRACE(code);
        d.SetNumber(0, 4, code);
        c->Calculate();
        EXPECT_EQ(c->LastCode, code);
        for (char s = 'a'; s <= 'g'; ++s) {
            const bool lit = std::strchr(kSegments[code], s) != nullptr;
            EXPECT_EQ(Output(*c, QString(QLatin1Char(s))), lit ? 5.0L : 0.0L) << s;
        }
    }
}

// The segments are written only when the code changes; the reset forces the next write.
TEST_F(DecodersTest, SevenSegmentDecoderWritesOnlyOnAChangedCode)
{
    auto c = Create<TBTSeg7Decoder>();
    TDrivers d(*c);
    struct Step {
        int code;
        bool writes;
    };
    const Step steps[] = {{8, true}, {8, false}, {1, true}, {1, false}, {12, true}, {12, false}};
    c->SimReset();
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(index++);
        for (auto& out : c->Outputs)
            out->Value = 1.0L;
        d.SetNumber(0, 4, s.code);
        c->Calculate();
        for (char seg = 'a'; seg <= 'g'; ++seg) {
            const bool lit = std::strchr(kSegments[s.code], seg) != nullptr;
            EXPECT_EQ(Output(*c, QString(QLatin1Char(seg))), !s.writes ? 1.0L : lit ? 5.0L : 0.0L);
        }
    }
    c->SimReset();
    c->Calculate(); // same code 12 as before the reset: written again
    EXPECT_EQ(Output(*c, QStringLiteral("a")), 0.0L);
}

TEST_F(DecodersTest, RecordsRoundTripAndOtherPinCountsAreRefused)
{
    std::vector<std::unique_ptr<TIOBauteil>> items;
    items.push_back(Create<TBTBCDDekoder>());
    items.push_back(Create<TBTSeg7Decoder>());
    for (auto& c : items) {
        SCOPED_TRACE(c->ClassName());
        c->Outputs[2]->SetInverted(true);
        c->SetLabel(QStringLiteral("Anzeige"));
        const QByteArray data = Write(*c);
        std::unique_ptr<TIOBauteil> copy(static_cast<TIOBauteil*>(
            registry.CreateBoardItem(QString::fromLatin1(c->ClassName())).release()));
        ASSERT_TRUE(Read(*copy, data, 44));
        EXPECT_TRUE(copy->Outputs[2]->Inverted());
        EXPECT_EQ(copy->GetLabel(), QStringLiteral("Anzeige"));
        EXPECT_EQ(PinNames(copy->Outputs), PinNames(c->Outputs));
        EXPECT_EQ(Write(*copy), data);

        for (const auto& [inputs, outputs] :
             {std::pair{3, c->OutputCount}, std::pair{4, c->OutputCount - 1},
              std::pair{4, c->OutputCount + 1}, std::pair{16, c->OutputCount}}) {
            TIOBauteil source;
            source.SetInputCount(inputs);
            source.SetOutputCount(outputs);
            EXPECT_THROW(Read(*copy, Write(source), 44), EFilerError) << inputs << "/" << outputs;
        }
    }
}

// The caption inside the body: the type names for the BCD decoder, "Seg7-..." for the other.
TEST_F(DecodersTest, CaptionIsDrawnInsideTheBody)
{
    std::vector<std::unique_ptr<TIOBauteil>> items;
    items.push_back(Create<TBTBCDDekoder>());
    items.push_back(Create<TBTSeg7Decoder>());
    for (auto& c : items) {
        SCOPED_TRACE(c->ClassName());
        auto paint = [&](bool withCaption) {
            QImage img(200, 400, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            TCanvas canvas(&p);
            canvas.SetMapping(4.0, QPoint(c->X - 100, c->Y - 100));
            if (withCaption)
                c->Paint(canvas);
            else
                static_cast<TGrundBT&>(*c).TGrundBT::Paint(canvas);
            return img;
        };
        const QImage plain = paint(false);
        const QImage full = paint(true);
        const QRect body(100 * 64 / 254, 100 * 64 / 254, (c->Body.Right - c->Body.Left) * 64 / 254,
                         (c->Body.Bottom - c->Body.Top) * 64 / 254);
        int inside = 0, outside = 0;
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x) {
                if (full.pixelColor(x, y) == plain.pixelColor(x, y))
                    continue;
                (body.contains(x, y) ? inside : outside)++;
            }
        }
        EXPECT_GT(inside, 0);
        EXPECT_EQ(outside, 0);
    }
}

} // namespace
