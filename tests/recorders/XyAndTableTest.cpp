// The XY recorder's points and slots, and the value table's rows, headings, limits and exports.

#include "RecorderTestSupport.h"

#include "components/recorder/Recorders.h"
#include "frontpanel/elements/Tabelle.h"
#include "frontpanel/elements/XyRecorder.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>

namespace {

using XyRecorderTest = RecorderTest;
using ValueTableTest = RecorderTest;
using TXy = TLinked<TBTXY, TFPXY>;
using TTab = TLinked<TBTTabelle, TTabelle>;

std::vector<std::pair<double, double>> Plotted(const TFPXY& e)
{
    std::vector<std::pair<double, double>> points;
    for (const TChartSample* s : e.Chart->Curves[0]->Points)
        points.emplace_back(s->X, s->Y);
    return points;
}

} // namespace

TEST_F(XyRecorderTest, OnePointPerColumn)
{
    std::unique_ptr<TFPXY> e(NewElement<TFPXY>(nullptr));
    const int w = e->PlotWidth();
    ASSERT_EQ(int(e->Slots.size()), w);
    const double column = 20.0 / w;
    e->AddPoint(-10.5, 1);  // left of the range
    e->AddPoint(10, 1);     // exactly x high: column W, dropped
    e->AddPoint(std::nan(""), 1);
    EXPECT_TRUE(Plotted(*e).empty());

    e->AddPoint(0, 1);
    e->AddPoint(0 + column / 4, 2);  // same column: replaces
    e->AddPoint(-10, 50);            // outside the y range: kept
    const auto points = Plotted(*e);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0], std::make_pair(-10.0, 50.0));
    EXPECT_EQ(points[1].second, 2);

    // Resizing clears before the next point.
    e->resize(e->width() + 40, e->height());
    e->AddPoint(5, 3);
    EXPECT_EQ(int(e->Slots.size()), e->PlotWidth());
    ASSERT_EQ(Plotted(*e).size(), 1u);
}

TEST_F(XyRecorderTest, ComponentEdgesClearThenAdd)
{
    TXy xy;
    TDrive in(*xy.c);
    in.Set(0, 2).Set(1, 3).High(2).High(3);
    xy.c->SimReset();
    xy.c->Calculate();
    xy.c->Calculate();
    EXPECT_TRUE(Plotted(*xy.e).empty());
    xy.e->AddPoint(-5, 1);
    // Falling edges on both in one step: the plot is cleared first, then the point added.
    in.Low(2).Low(3);
    xy.c->Calculate();
    const auto points = Plotted(*xy.e);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].second, 3);

    // With Add unwired nothing is added by the circuit; the hotkey still adds.
    TXy free;
    free.c->SimReset();
    for (int i = 0; i < 3; ++i)
        free.c->Calculate();
    EXPECT_TRUE(Plotted(*free.e).empty());
    free.e->HotkeyPressed(2);
    EXPECT_EQ(Plotted(*free.e).size(), 1u);

    // The pen marker follows the inputs.
    const QPoint before = xy.e->PenMarker->pos();
    in.Set(0, 8);
    xy.c->ClockTick();
    EXPECT_GT(xy.e->PenMarker->x(), before.x());
}

TEST_F(XyRecorderTest, SettingsNeedAllSixKeysAndOldRecordsGetTheResetInput)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("s.ini")));
    std::unique_ptr<TFPXY> e(NewElement<TFPXY>(nullptr));
    e->ElementName = QStringLiteral("XY1");
    e->XHigh = 50;
    e->SaveSettings(ini, QStringLiteral("MainModul"));
    EXPECT_TRUE(e->LoadSettings(ini, QStringLiteral("MainModul"), true));
    ini.DeleteKey(QStringLiteral("MainModul.XY1"), QStringLiteral("xRangeUnit"));
    EXPECT_FALSE(e->LoadSettings(ini, QStringLiteral("MainModul"), true));

    auto c = NewObject<TBTXY>();
    c->SetInputCount(3);
    const QByteArray bytes = StreamBytes([&](TWriter& w) { c->WriteData(w); });
    auto d = NewObject<TBTXY>();
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { d->ReadData(r, 44); }));
    EXPECT_EQ(d->InputCount, 4);
    EXPECT_EQ(d->Inputs[3]->Name(), QStringLiteral("|RST"));
}

TEST_F(ValueTableTest, RowsFromTheCircuit)
{
    TTab tab;
    tab.c->SetInputCount(4);  // two channels
    tab.e->SetKanal(2);
    tab.e->Formats[1].Options = TFormatOptions{TFormatOption::Unformatted};
    TDrive in(*tab.c);
    in.Set(0, 1.5).Set(1, 7).High(2).High(3);
    tab.c->SimReset();
    tab.c->Calculate();
    // The first row goes into the empty row 1.
    in.Low(2);
    tab.c->Calculate();
    EXPECT_EQ(tab.e->RowCount(), 2);
    EXPECT_EQ(tab.e->Cell(0, 1), tab.e->Formats[0].FormatValue(1.5));
    EXPECT_EQ(tab.e->Cell(1, 1), tab.c->GetInputText(1));
    EXPECT_FALSE(tab.e->Cell(2, 1).isEmpty());
    in.High(2);
    tab.c->Calculate();
    in.Low(2);
    tab.c->Calculate();
    EXPECT_EQ(tab.e->RowCount(), 3);

    // RST held low keeps the table cleared; an edge meanwhile adds nothing.
    in.Low(3).High(2);
    tab.c->Calculate();
    in.Low(2);
    tab.c->Calculate();
    EXPECT_EQ(tab.e->RowCount(), 2);
    EXPECT_TRUE(tab.e->Cell(0, 1).isEmpty());
    in.High(3);
    tab.c->Calculate();
    EXPECT_TRUE(tab.e->Cell(0, 1).isEmpty());
}

TEST_F(ValueTableTest, OldestRowGoesAtTheLimit)
{
    TTab tab;
    TDrive in(*tab.c);
    tab.c->SimReset();
    for (int i = 0; i < TBTTabelle::kMaxRows + 5; ++i) {
        in.Set(0, i);
        tab.c->AddRow();
    }
    EXPECT_EQ(tab.e->RowCount(), TBTTabelle::kMaxRows);
    EXPECT_EQ(tab.e->Cell(0, TBTTabelle::kMaxRows - 1), tab.e->Formats[0].FormatValue(30004));
    EXPECT_EQ(tab.e->Cell(0, 1), tab.e->Formats[0].FormatValue(6));
}

TEST_F(ValueTableTest, HeadingsFollowTheChannelCount)
{
    std::unique_ptr<TTabelle> e(NewElement<TTabelle>(nullptr));
    e->SetKanal(3);
    // The old time heading is emptied, the old date heading stays on channel column 2.
    EXPECT_TRUE(e->Cell(1, 0).isEmpty());
    EXPECT_EQ(e->Cell(2, 0), QStringLiteral("Datum"));
    EXPECT_EQ(e->Cell(3, 0), QStringLiteral("Zeit"));
    EXPECT_EQ(e->Cell(4, 0), QStringLiteral("Datum"));
    e->SetCell(0, 1, QStringLiteral("x"));
    e->AppendRow();
    e->ClearRows();
    EXPECT_EQ(e->RowCount(), 2);
    EXPECT_TRUE(e->Cell(0, 1).isEmpty());
    EXPECT_EQ(e->Cell(3, 0), QStringLiteral("Zeit"));
}

TEST_F(ValueTableTest, TextExportAndClipboard)
{
    QTemporaryDir dir;
    std::unique_ptr<TTabelle> e(NewElement<TTabelle>(nullptr));
    e->SetKanal(2);
    e->SetCell(0, 0, QStringLiteral("U"));
    e->SetCell(1, 0, QStringLiteral("I"));
    const QString file = dir.filePath(QStringLiteral("t.txt"));
    // Only the empty row: the heading and a line of separators.
    ASSERT_TRUE(e->ExportText(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("U;I;Zeit;Datum\r\n;;;\r\n"));
    f.close();

    e->SetCell(0, 1, QStringLiteral("1.50"));
    e->SetCell(1, 1, QStringLiteral("ä2.00"));
    e->SetCell(2, 1, QStringLiteral("12:00:01.5"));
    e->SetCell(3, 1, QStringLiteral("04.03.2026"));
    SetDecimalSeparatorForTesting(u',');
    ASSERT_TRUE(e->ExportText(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // Points of values and time become the separator; the date keeps its own.
    EXPECT_EQ(f.readAll(), QByteArray("U;I;Zeit;Datum\r\n1,50;\xe4"
                                      "2,00;12:00:01,5;04.03.2026\r\n"));
    e->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("U\tI\tZeit\tDatum\r\n1,50\tä2,00\t12:00:01,5\t04.03.2026\r\n"));
}

TEST_F(ValueTableTest, ElementDataRoundTripAndShortHeadings)
{
    std::unique_ptr<TTabelle> a(NewElement<TTabelle>(nullptr));
    a->SetKanal(2);
    a->SetCell(0, 0, QStringLiteral("Spannung"));
    a->Formats[1].Decimals = 5;
    a->WordTemplate = QStringLiteral("w.dot");
    const QByteArray bytes = StreamBytes([&](TWriter& w) { a->WriteElementData(w); });
    std::unique_ptr<TTabelle> b(NewElement<TTabelle>(nullptr));
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b->ReadElementData(r, 44); }));
    EXPECT_EQ(b->Kanal, 2);
    EXPECT_EQ(b->Cell(0, 0), QStringLiteral("Spannung"));
    EXPECT_EQ(b->Formats[1].Decimals, 5);
    EXPECT_EQ(b->WordTemplate, QStringLiteral("w.dot"));

    // Version 39 stores headings of at most four characters.
    const QByteArray old = StreamBytes([&](TWriter& w) {
        w.WriteInteger(1);
        w.WriteBoolean(false);
        w.WriteInteger(0);
        w.WriteString(QString());
        w.WriteBoolean(false);
        w.WriteRawInt16(160);
        w.WriteRawInt32(0);
        w.WriteRawInt32(0xFFFFFF);
        w.WriteRawInt16(1);
        w.WriteRawShortString(QStringLiteral("Temp"), 4);
    });
    std::unique_ptr<TTabelle> c(NewElement<TTabelle>(nullptr));
    EXPECT_TRUE(ReadBytes(old, [&](TReader& r) { c->ReadElementData(r, 39); }));
    EXPECT_EQ(c->Cell(0, 0), QStringLiteral("Temp"));
}
