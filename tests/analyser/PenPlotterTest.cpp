// The pen plotter: lines drawn from a known sequence of pen moves, the pen lifted outside the
// ranges, clearing on range changes and resizes, the afterglow, the automatic file name, the
// element's stream and the component's inputs.

#include "recorders/RecorderTestSupport.h"

#include "common/FullDisk.h"

#include "components/analyser/Analyser.h"
#include "frontpanel/chart/ChartDialogs.h"
#include "frontpanel/elements/PenPlotter.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

using PenPlotterTest = RecorderTest;

const QRgb kRed = qRgb(255, 0, 0);

// A 202 x 202 plotter: the plot is 200 x 200, one unit is 10 pixels, no grid or labels.
std::unique_ptr<TStiftplotter> Plotter()
{
    std::unique_ptr<TStiftplotter> p(NewElement<TStiftplotter>(nullptr));
    p->GridType = 0;
    p->CentreLineX = p->CentreLineY = false;
    p->LabelTop = p->LabelBottom = p->LabelLeft = p->LabelRight = false;
    p->resize(202, 202);
    p->show();
    p->PenRed = 255;
    p->PenWidth = 1;
    p->MovePen();  // the labels of the ranges: the first call clears
    return p;
}

void MoveTo(TStiftplotter& p, double x, double y, bool down)
{
    p.PenX = x;
    p.PenY = y;
    p.PenDown = down;
    p.MovePen();
}

} // namespace

TEST_F(PenPlotterTest, DrawsTheSequenceItIsGiven)
{
    auto p = Plotter();
    ASSERT_EQ(p->Plot().size(), QSize(200, 200));
    EXPECT_EQ(p->PixelOf(-10, -10), QPoint(0, 200));
    EXPECT_EQ(p->PixelOf(0, 0), QPoint(100, 100));
    // Pen up to (-5, -5), down along a square's three sides, up across to (0, 2), down to (0, 8).
    MoveTo(*p, -5, -5, false);
    MoveTo(*p, 5, -5, true);
    MoveTo(*p, 5, 5, true);
    MoveTo(*p, -5, 5, true);
    MoveTo(*p, 0, 2, false);
    MoveTo(*p, 0, 8, true);
    const QImage& img = p->Plot();
    EXPECT_EQ(img.pixel(100, 150), kRed);  // bottom side
    EXPECT_EQ(img.pixel(150, 100), kRed);  // right side
    EXPECT_EQ(img.pixel(100, 50), kRed);   // top side (crossed by the last line)
    EXPECT_EQ(img.pixel(80, 50), kRed);
    EXPECT_NE(img.pixel(50, 100), kRed);   // no left side
    EXPECT_NE(img.pixel(75, 65), kRed);    // the move with the pen up left no trace
    EXPECT_EQ(img.pixel(100, 30), kRed);   // the last line, x = 0 from y = 2 to 8 (rows 80 to 20)
    EXPECT_EQ(img.pixel(100, 85), qRgb(255, 255, 255));
    EXPECT_EQ(img.pixel(100, 15), qRgb(255, 255, 255));
}

TEST_F(PenPlotterTest, OutsideTheRangesLiftsThePenAndTheBorderIsDrawn)
{
    auto p = Plotter();
    MoveTo(*p, 0, 5, true);
    MoveTo(*p, 10, 5, true);  // exactly on the border: drawn
    EXPECT_EQ(p->Plot().pixel(190, 50), kRed);
    MoveTo(*p, 10.5, -5, true);  // outside
    MoveTo(*p, 0, -5, true);     // back inside: a new start, no line
    EXPECT_NE(p->Plot().pixel(150, 150), kRed);
    MoveTo(*p, -5, -5, true);
    EXPECT_EQ(p->Plot().pixel(75, 150), kRed);
    // Not a number is outside as well.
    MoveTo(*p, std::nan(""), 0, true);
    EXPECT_FALSE(p->Connected);
}

TEST_F(PenPlotterTest, RangeChangeClearsOnlyWithoutAfterglow)
{
    for (int fade : {0, 100}) {
        SCOPED_TRACE(fade);
        auto p = Plotter();
        p->FadeStrength = fade;
        MoveTo(*p, 0, 5, true);
        MoveTo(*p, 5, 5, true);
        ASSERT_EQ(p->Plot().pixel(125, 50), kRed);
        p->XMax = 20;  // new labels
        p->MovePen();
        EXPECT_EQ(p->Plot().pixel(125, 50) == kRed, fade != 0);
    }
}

TEST_F(PenPlotterTest, AfterglowFadesTowardsTheBackground)
{
    auto p = Plotter();
    MoveTo(*p, 0, 5, true);
    MoveTo(*p, 5, 5, true);
    p->Fade();  // strength 0: nothing
    EXPECT_EQ(p->Plot().pixel(125, 50), kRed);
    p->FadeStrength = 254;
    p->Fade();
    const QColor c = QColor::fromRgb(p->Plot().pixel(125, 50));
    EXPECT_GE(c.green(), 250);
    EXPECT_GE(c.red(), 250);
    p->FadeStrength = 0;
    // A line not yet drawn when the afterglow comes fades as well: it was drawn before.
    MoveTo(*p, 0, -5, false);
    MoveTo(*p, 5, -5, true);
    p->FadeStrength = 254;
    p->Fade();
    EXPECT_GE(QColor::fromRgb(p->Plot().pixel(125, 150)).green(), 250);
    p->FadeStrength = 0;
}

TEST_F(PenPlotterTest, ResizeClears)
{
    auto p = Plotter();
    MoveTo(*p, 0, 5, true);
    MoveTo(*p, 5, 5, true);
    p->resize(302, 202);
    EXPECT_EQ(p->Plot().size(), QSize(300, 200));
    for (int x = 0; x < 300; x += 7)
        ASSERT_NE(p->Plot().pixel(x, 50), kRed);
}

TEST_F(PenPlotterTest, AutomaticFileNameHasNoColon)
{
    auto p = Plotter();
    Ctx().ProgramFolder = QStringLiteral("/prog/");
    p->Hint = QStringLiteral("Plot: A");
    const QString name = p->AutoFileName(QDateTime(QDate(2026, 3, 4), QTime(12, 34, 56)));
    EXPECT_TRUE(name.startsWith(QStringLiteral("/prog/Data/Plot. A "))) << name.toStdString();
    EXPECT_FALSE(name.contains(u':')) << name.toStdString();
    EXPECT_TRUE(name.endsWith(QStringLiteral(".JPG"))) << name.toStdString();
    p->ExportFormat = 1;
    EXPECT_TRUE(p->AutoFileName(QDateTime::currentDateTime()).endsWith(QStringLiteral(".BMP")));
}

TEST_F(PenPlotterTest, SavesJpegAndBitmap)
{
    QTemporaryDir dir;
    auto p = Plotter();
    p->PenWidth = 5;
    MoveTo(*p, 0, 5, true);
    MoveTo(*p, 5, 5, true);
    for (int format : {0, 1}) {
        p->ExportFormat = format;
        const QString file = dir.filePath(format == 0 ? QStringLiteral("sub/a.JPG") : QStringLiteral("b.BMP"));
        ASSERT_TRUE(p->SaveImage(file));
        const QImage back(file);
        ASSERT_EQ(back.size(), QSize(200, 200));
        const QColor c = QColor::fromRgb(back.pixel(125, 50));
        EXPECT_GT(c.red(), 200);
        EXPECT_LT(c.green(), 80);
        EXPECT_FALSE(p->Saving);
    }
}

// On a full disk neither format destroys the older picture, and each failure is told with the
// file's name.
TEST_F(PenPlotterTest, AFullDiskKeepsTheOlderPicture)
{
    TFullDisk disk;
    if (!disk.Mount())
        GTEST_SKIP() << "mounting a tmpfs is not allowed here";
    auto p = Plotter();
    for (int format : {0, 1}) {
        p->ExportFormat = format;
        const QString file = disk.Path(format == 0 ? QStringLiteral("a.JPG") : QStringLiteral("b.BMP"));
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older picture");
        old.close();
    }
    disk.Fill();
    TScopedMessageResponder messages;
    for (int format : {0, 1}) {
        p->ExportFormat = format;
        const QString file = disk.Path(format == 0 ? QStringLiteral("a.JPG") : QStringLiteral("b.BMP"));
        messages.Clear();
        EXPECT_FALSE(p->SaveImage(file));
        ASSERT_EQ(messages.Requests().size(), 1u);
        EXPECT_TRUE(messages.Requests()[0].text.contains(QFileInfo(file).fileName()));
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("older picture"));
    }
}

TEST_F(PenPlotterTest, ElementStreamRoundTrip)
{
    auto a = Plotter();
    a->resize(250, 180);
    a->GridType = 2;
    a->GridInFront = true;
    a->TextColor = 0x123456;
    a->GridColor = 0x654321;
    a->XUnit = QStringLiteral("mm");
    a->ExportFormat = 1;
    a->LabelBottom = false;
    a->Headline = QStringLiteral("Spiral");
    a->Comments = {QStringLiteral("one")};
    a->Print.Orientation = 1;
    a->SetHintergrundFarbe(0x00FFFF);
    const QByteArray bytes = StreamBytes([&](TWriter& w) { a->WriteElementData(w); });
    std::unique_ptr<TStiftplotter> b(NewElement<TStiftplotter>(nullptr));
    EXPECT_TRUE(ReadBytes(bytes, [&](TReader& r) { b->ReadElementData(r, 44); }));
    EXPECT_EQ(b->size(), QSize(250, 180));
    EXPECT_EQ(b->GridType, 2);
    EXPECT_TRUE(b->GridInFront);
    EXPECT_EQ(b->TextColor, 0x123456);
    EXPECT_EQ(b->GridColor, 0x654321);
    EXPECT_EQ(b->HintergrundFarbe, 0x00FFFF);
    EXPECT_EQ(b->XUnit, QStringLiteral("mm"));
    EXPECT_EQ(b->ExportFormat, 1);
    EXPECT_FALSE(b->LabelBottom);
    EXPECT_EQ(b->Headline, QStringLiteral("Spiral"));
    EXPECT_EQ(b->Comments, a->Comments);
    EXPECT_EQ(b->Print.Orientation, 1);
    EXPECT_EQ(b->Labels, a->Labels);
    EXPECT_EQ(StreamBytes([&](TWriter& w) { b->WriteElementData(w); }), bytes);
}

TEST_F(PenPlotterTest, ComponentInputs)
{
    TLinked<TBTStiftplotter, TStiftplotter> p;
    TDrive drive(*p.c);
    p.c->SimReset();
    drive.Set(0, 3).Set(1, -2).Set(2, 1).Set(3, -1).Set(5, 0.5).High(6).Set(7, 80).Set(8, 2.5).Set(9, -3).Set(10, 9)
        .Set(11, 7);
    p.c->Calculate();
    TStiftplotter& e = *p.e;
    // RX unwired: one unit per division.
    EXPECT_EQ(e.XMin, -11);
    EXPECT_EQ(e.XMax, 9);
    EXPECT_EQ(e.YMin, -4);
    EXPECT_EQ(e.YMax, 6);
    EXPECT_EQ(e.PenX, 3);
    EXPECT_EQ(e.PenY, -2);
    EXPECT_TRUE(e.PenDown);
    EXPECT_EQ(e.PenWidth, 50);
    EXPECT_EQ(e.PenRed, 128);  // round(127.5), halves to even
    EXPECT_EQ(e.PenGreen, 0);
    EXPECT_EQ(e.PenBlue, 255);
    EXPECT_EQ(e.FadeStrength, 254);
    // The range change clears (no afterglow); the next new position starts the line.
    drive.Set(5, 1).Set(11, 0);
    p.c->Calculate();
    drive.Set(0, 4);
    p.c->Calculate();
    drive.Set(0, 5).Set(1, 5);
    p.c->Calculate();
    const QPoint at = e.PixelOf(4.5, 1.5);
    const QRgb ground = e.Plot().pixel(QPoint(5, 5));
    ASSERT_EQ(e.Plot().pixel(at), qRgb(128, 0, 255));
    // A falling "|RST" clears.
    drive.Low(13);
    p.c->Calculate();
    EXPECT_EQ(e.Plot().pixel(at), ground);
}

TEST_F(PenPlotterTest, PrintPreviewKeepsSettingsOnlyWhenNotCancelled)
{
    auto p = Plotter();
    TScopedDialogResponder dialogs;
    const auto edit = [](QDialog& d) {
        auto& preview = static_cast<TPreviewDlg&>(d);
        preview.ZoomScroller->setValue(150);
        preview.TextDlg->HeadlineEdit->setText(QStringLiteral("Edited"));
        preview.OnTextChange();
        preview.OnZoomChange();
        return 0;
    };
    dialogs.Answer([&](QDialog& d) { return edit(d), mrCancel; });
    p->PrintPreview();
    EXPECT_EQ(p->Print.ZoomPos, 120);
    EXPECT_TRUE(p->Headline.isEmpty());
    dialogs.Answer([&](QDialog& d) { return edit(d), mrOk; });
    p->PrintPreview();
    EXPECT_EQ(p->Print.ZoomPos, 150);
    EXPECT_EQ(p->Headline, QStringLiteral("Edited"));
    EXPECT_DOUBLE_EQ(p->Print.Zoom, PrintZoomForPosition(150));
    EXPECT_EQ(dialogs.Count(), 2);
}

TEST_F(PenPlotterTest, PrintedPageShowsThePlotAtTheOrigin)
{
    auto p = Plotter();
    MoveTo(*p, 0, 5, true);
    MoveTo(*p, 5, 5, true);
    QImage page(p->size(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    const QString none;
    const QStringList noLines;
    p->PaintPrintPage(painter, TPageOptions{TPaintTarget::Bitmap, page.size(), false, false, nullptr, false, 1.0,
                                            none, noLines});
    painter.end();
    EXPECT_EQ(page.pixel(125, 50), kRed);
}
