// The averaging component: the moving average on the 50 ms clock, the interval list and its
// stored times, the record and its checks on reading, and the settings dialog.
#include "ComponentTestSupport.h"
#include "components/analog/Averaging.h"
#include "components/analog/CorrectionTable.h"
#include "components/analog/RegisterAnalog.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QLabel>
#include <QSpinBox>
#include <memory>
#include <vector>

namespace {

// The averaging's own part of a record: interval (6 raw bytes), index (2 raw bytes), N.
QByteArray OwnPart(const QByteArray& intervalBytes, int16_t index, int32_t n)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    TWriter w(buffer);
    w.WriteBuffer(intervalBytes.constData(), intervalBytes.size());
    w.WriteRawInt16(index);
    w.WriteInteger(n);
    return data;
}

QByteArray Real48(double seconds)
{
    uint8_t bytes[6];
    EncodeReal48(seconds, bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes), 6);
}

class AveragingTest : public TComponentTest<RegisterSignalComponents, true> {
protected:
    void SetUp() override
    {
        TComponentTest::SetUp();
        mw = NewObject<TBTMittelwert>();
        mw->Inputs[0]->SetSource(&source);
    }
    double Out() const { return static_cast<double>(mw->Outputs[0]->Value); }

    TBauteilPin source;
    std::unique_ptr<TBTMittelwert> mw;
};

TEST_F(AveragingTest, ClassHasItsPinsTextsAndDesignator)
{
    const char* prefixes[] = {"MW", "MV", "VM"};
    const char* names[] = {"Mittelwert", "Mean value", "Valeur moyenne"};
    for (uint8_t language = 0; language < 3; ++language) {
        SCOPED_TRACE(int(language));
        Ctx().CurrentLanguage = language;
        auto item = registry.CreateBoardItem(QStringLiteral("TBTMittelwert"));
        auto& c = dynamic_cast<TBTMittelwert&>(*item);
        EXPECT_EQ(c.Inputs.size(), 1u);
        EXPECT_EQ(c.Inputs[0]->Name(), QStringLiteral("E"));
        EXPECT_EQ(c.Outputs.size(), 1u);
        EXPECT_EQ(c.Outputs[0]->Name(), QStringLiteral("A"));
        EXPECT_EQ(c.Prefix(), QString::fromLatin1(prefixes[language]));
        EXPECT_EQ(c.GetTypeName(), QString::fromUtf8(names[language]));
        EXPECT_EQ(c.HelpContext, 18435);
        EXPECT_TRUE(c.Editable);
        EXPECT_TRUE(c.Clocked);
        EXPECT_EQ(c.N, 2);
        EXPECT_EQ(c.IntervalIndex, 0);
        EXPECT_EQ(c.TicksPerSample, 2);
    }
}

TEST_F(AveragingTest, OutputsTheMeanOfTheLastNSamples)
{
    struct TTick {
        double input;  // the input during this tick
        double output; // the output after it
    };
    struct TCase {
        const char* name;
        int32_t n;
        int interval;
        double startInput;
        std::vector<TTick> ticks;
    } const cases[] = {
        // 0.1 s: a sample on the first tick, then on every second.
        {"N = 2 at 0.1 s", 2, 0, 4.0,
         {{4, 4}, {8, 4}, {8, 6}, {2, 6}, {2, 5}, {6, 5}, {6, 4}, {6, 4}, {6, 6}}},
        // While filling, the mean of the samples so far.
        {"N = 3 at 0.1 s", 3, 0, 0.0,
         {{3, 3}, {3, 3}, {6, 4.5}, {6, 4.5}, {9, 6}, {9, 6}, {12, 9}, {0, 9}, {0, 7}}},
        {"N = 2 at 0.2 s", 2, 1, 1.0, {{1, 1}, {5, 1}, {5, 1}, {5, 1}, {5, 3}, {7, 3}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        mw->N = c.n;
        mw->IntervalIndex = static_cast<int16_t>(c.interval);
        mw->SetInterval(TBTMittelwert::IntervalSeconds(c.interval));
        source.Value = c.startInput;
        mw->SimReset();
        EXPECT_EQ(Out(), c.startInput);  // the run starts from the input
        for (size_t i = 0; i < c.ticks.size(); ++i) {
            SCOPED_TRACE(i);
            source.Value = c.ticks[i].input;
            mw->ClockTick();
            EXPECT_DOUBLE_EQ(Out(), c.ticks[i].output);
        }
    }
}

TEST_F(AveragingTest, IntervalListHasItsStoredTimesAndTickCounts)
{
    struct TEntry {
        const char* caption;
        uint16_t ticks;
        uint8_t bytes[6];
    } const entries[] = {
        {"0.1 s", 2, {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}},
        {"0.2 s", 4, {0x7E, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}},
        {"0.5 s", 10, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"1 s", 20, {0x81, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"2 s", 40, {0x82, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"5 s", 100, {0x83, 0x00, 0x00, 0x00, 0x00, 0x20}},
        {"10 s", 200, {0x84, 0x00, 0x00, 0x00, 0x00, 0x20}},
        {"30 s", 600, {0x85, 0x00, 0x00, 0x00, 0x00, 0x70}},
        {"1 min", 1200, {0x86, 0x00, 0x00, 0x00, 0x00, 0x70}},
        {"2 min", 2400, {0x87, 0x00, 0x00, 0x00, 0x00, 0x70}},
        {"5 min", 6000, {0x89, 0x00, 0x00, 0x00, 0x00, 0x16}},
        {"10 min", 12000, {0x8A, 0x00, 0x00, 0x00, 0x00, 0x16}},
        {"20 min", 24000, {0x8B, 0x00, 0x00, 0x00, 0x00, 0x16}},
        {"30 min", 36000, {0x8B, 0x00, 0x00, 0x00, 0x00, 0x61}},
    };
    ASSERT_EQ(TBTMittelwert::IntervalCaptions().size(), TBTMittelwert::IntervalCount);
    for (int i = 0; i < TBTMittelwert::IntervalCount; ++i) {
        const TEntry& e = entries[i];
        SCOPED_TRACE(e.caption);
        EXPECT_EQ(TBTMittelwert::IntervalCaptions()[i], QString::fromLatin1(e.caption));
        mw->IntervalIndex = static_cast<int16_t>(i);
        mw->SetInterval(TBTMittelwert::IntervalSeconds(i));
        EXPECT_EQ(mw->TicksPerSample, e.ticks);
        // The record's interval is the entry's stored form.
        const QByteArray stored(reinterpret_cast<const char*>(e.bytes), 6);
        EXPECT_TRUE(Write(*mw).endsWith(OwnPart(stored, static_cast<int16_t>(i), 2)));
    }
}

TEST_F(AveragingTest, ThirtyMinutesCount36000TicksInTheSixteenBitCounter)
{
    mw->IntervalIndex = 13;
    mw->SetInterval(TBTMittelwert::IntervalSeconds(13));
    ASSERT_EQ(mw->TicksPerSample, 36000);
    source.Value = 1.0;
    mw->SimReset();
    mw->ClockTick();  // the first tick samples
    EXPECT_EQ(Out(), 1.0);
    source.Value = 3.0;
    for (int i = 1; i < 36000; ++i)
        mw->ClockTick();
    EXPECT_EQ(Out(), 1.0);
    mw->ClockTick();
    EXPECT_EQ(Out(), 2.0);
}

TEST_F(AveragingTest, RecordRoundTripsAtEveryFormatVersion)
{
    mw->IntervalIndex = 5;
    mw->SetInterval(TBTMittelwert::IntervalSeconds(5));
    mw->N = 37;
    mw->X = 200;
    mw->Y = 300;
    mw->SetLabel(QStringLiteral("Label"));
    const QByteArray data = Write(*mw);
    EXPECT_EQ(data, ComponentPart(1, 1, 44) + OwnPart(Real48(5.0), 5, 37));
    // Older files differ only in the component part; the interval list is never renumbered.
    for (uint8_t version : {uint8_t(44), uint8_t(40), uint8_t(3), uint8_t(2)}) {
        SCOPED_TRACE(int(version));
        auto copy = NewObject<TBTMittelwert>();
        EXPECT_TRUE(
            Read(*copy, ComponentPart(1, 1, version) + OwnPart(Real48(5.0), 5, 37), version));
        EXPECT_EQ(copy->IntervalIndex, 5);
        EXPECT_EQ(copy->Interval, 5.0);
        EXPECT_EQ(copy->TicksPerSample, 100);
        EXPECT_EQ(copy->TickCounter, 99);
        EXPECT_EQ(copy->N, 37);
        EXPECT_EQ(copy->X, 200);
        if (version >= 40)
            EXPECT_EQ(Write(*copy), data);
        else
            EXPECT_EQ(copy->GetLabel(), copy->GetTypeName());
    }
}

TEST_F(AveragingTest, ReadingClampsNAndRepairsTheInterval)
{
    const QByteArray head = Write(*mw).chopped(6 + 2 + 2);  // the component part
    ASSERT_TRUE(Write(*mw).endsWith(OwnPart(Real48(TBTMittelwert::IntervalSeconds(0)), 0, 2)));
    struct TCase {
        const char* name;
        QByteArray interval;
        int16_t index;
        int32_t n;
        int16_t wantIndex;
        double wantInterval;
        uint16_t wantTicks;
        int32_t wantN;
    } const cases[] = {
        {"N above the ring", Real48(1.0), 3, 5000, 3, 1.0, 20, 1000},
        {"N of 0", Real48(1.0), 3, 0, 3, 1.0, 20, 1},
        {"negative N", Real48(1.0), 3, -7, 3, 1.0, 20, 1},
        {"index past the list takes the entry of the time", Real48(120.0), 40, 2, 9, 120.0,
         2400, 2},
        {"negative index", Real48(0.5), -1, 2, 2, 0.5, 10, 2},
        {"a time of 0 takes the entry's time", Real48(0.0), 4, 2, 4, 2.0, 40, 2},
        {"a time beyond the counter takes the entry's time", Real48(1e6), 6, 2, 6, 10.0, 200,
         2},
        {"an own time inside the counter stays", Real48(3.0), 4, 2, 4, 3.0, 60, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray record = head;
        // The integer tag of N grows with the value: rebuild the tail from scratch.
        record += OwnPart(c.interval, c.index, c.n);
        auto copy = NewObject<TBTMittelwert>();
        EXPECT_TRUE(Read(*copy, record));
        EXPECT_EQ(copy->IntervalIndex, c.wantIndex);
        EXPECT_EQ(copy->Interval, c.wantInterval);
        EXPECT_EQ(copy->TicksPerSample, c.wantTicks);
        EXPECT_EQ(copy->N, c.wantN);
    }
    // A clamped N works on the ring: 2500 samples of a ramp average the last 1000.
    QByteArray record = head + OwnPart(Real48(0.1), 0, 5000);
    ASSERT_TRUE(Read(*mw, record));
    mw->SetInterval(0.05);  // one sample per tick
    ASSERT_EQ(mw->TicksPerSample, 1);
    mw->SimReset();
    for (int i = 1; i <= 2500; ++i) {
        source.Value = i;
        mw->ClockTick();
    }
    EXPECT_DOUBLE_EQ(Out(), (1501.0 + 2500.0) / 2.0);
}

TEST_F(AveragingTest, DialogTakesTheSettingsAndRestartsTheAverage)
{
    Ctx().CurrentLanguage = 1;
    mw->IntervalIndex = 0;
    source.Value = 2.0;
    mw->SimReset();
    mw->ClockTick();
    source.Value = 10.0;
    mw->ClockTick();
    mw->ClockTick();
    ASSERT_EQ(Out(), 6.0);

    QStringList captions;
    QString title;
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        title = d.windowTitle();
        EXPECT_EQ(static_cast<TDefault_Dlg&>(d).HelpContext, 18435);
        for (const auto& row : static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows())
            captions << row->Editor->NameLabel->text();
        auto* combo = Row<TComboPropEditor>(d, 0);
        auto* spin = Row<TSpinPropEditor>(d, 1);
        EXPECT_NE(combo, nullptr);
        EXPECT_NE(spin, nullptr);
        if (!combo || !spin)
            return int(mrCancel);
        EXPECT_EQ(combo->Combo->count(), 14);
        EXPECT_EQ(spin->Spin->minimum(), 2);
        EXPECT_EQ(spin->Spin->maximum(), 1000);
        combo->Combo->setCurrentIndex(3);
        spin->Spin->setValue(10);
        return int(mrOk);
    });
    EXPECT_EQ(mw->EditProperties(), mrOk);
    EXPECT_EQ(title, mw->GetLabel());
    EXPECT_EQ(captions, (QStringList{"Sample rate", "Number of readings to average", "Options",
                                     "Name",
                                     Translate(QStringLiteral("Zur Laufzeit einstellbar"))}));
    EXPECT_EQ(mw->IntervalIndex, 3);
    EXPECT_EQ(mw->TicksPerSample, 20);
    EXPECT_EQ(mw->N, 10);
    // The average starts afresh from the current input, with a sample on the next tick.
    EXPECT_EQ(Out(), 10.0);
    EXPECT_TRUE(mw->Filling);
    EXPECT_EQ(mw->SampleCount, 0);
    source.Value = 4.0;
    mw->ClockTick();
    EXPECT_EQ(Out(), 4.0);

    // Cancel keeps the settings but restarts the average all the same; during a run the
    // option rows are left out.
    Ctx().SimRunning = true;
    source.Value = 8.0;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows().size(), 2u);
        Row<TComboPropEditor>(d, 0)->Combo->setCurrentIndex(7);
        return int(mrCancel);
    });
    EXPECT_EQ(mw->EditProperties(), mrCancel);
    EXPECT_EQ(mw->IntervalIndex, 3);
    EXPECT_EQ(mw->N, 10);
    EXPECT_EQ(Out(), 8.0);
    EXPECT_EQ(mw->TickCounter, 19);
}

// Both value blocks show their designator letters in the symbol colour (red while selected).
TEST_F(AveragingTest, SymbolLettersByLanguage)
{
    for (const char* cls : {"TBTMittelwert", "TBTKorrekturtabelle"}) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(testing::Message() << cls << (selected ? " selected" : ""));
            auto item = registry.CreateBoardItem(QString::fromLatin1(cls));
            auto& comp = dynamic_cast<TIOBauteil&>(*item);
            comp.SymbolColor = clLime;
            comp.Selected = selected;
            QImage img(120, 120, QImage::Format_RGB32);
            img.fill(Qt::white);
            {
                QPainter p(&img);
                TCanvas canvas(&p);
                canvas.SetMapping(4.0, QPoint(-100, -100));
                comp.Paint(canvas);
            }
            const TMarkPixels n = MarkPixels(img);
            EXPECT_EQ(n.lime > 0, !selected);
            EXPECT_EQ(n.red > 0, selected);
        }
    }
}

} // namespace
