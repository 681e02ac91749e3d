// The chart on paper: the print painter with its page layout, the preview, direct printing,
// the copy to the clipboard, and the dialogs of the preview and of a comment.

#include "frontpanel/chart/Chart.h"
#include "frontpanel/chart/ChartDialogs.h"

#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Truncated device coordinate; values outside the 32-bit range become the sentinel.
int Trunc(double v)
{
    if (!(v > -2147483647.0 && v < 2147483647.0))
        return 2147483647;
    return int(std::trunc(v));
}

bool IsSentinel(int v)
{
    return v == 2147483647;
}

int Round(double v)
{
    return int(RoundHalfEven(v));
}

QFont ArialPixels(int height, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, height));
    f.setBold(bold);
    return f;
}

QColor Col(int32_t c)
{
    return TColorToQColor(c);
}

template <class F>
void Multiples(double lo, double hi, double step, bool inclusive, F f)
{
    if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi) || (hi - lo) / step > 10000)
        return;
    double v = double(RoundHalfEven(lo / step)) * step;
    if (v < lo)
        v += step;
    for (; inclusive ? v <= hi : v < hi; v += step)
        f(v);
}

} // namespace

// --- Page layout -----------------------------------------------------------------------------

void TGraf::PaintChart(QPainter& painter, TPaintTarget target, QSize page, bool blackWhite,
                       bool background, QPoint* offset, bool centred, double zoom)
{
    const double W = std::max(1, width());
    const double H = std::max(1, height());
    const int base = UnitFont().pixelSize();
    const int lines = int(CommentLines.size());
    const double tall = double((lines * base * 2) / 3 + base) + H;
    double f = 1;
    int q = 0, r = 0;
    const QRect plot = PlotRect();
    const QRect yRect = YScaleRect();
    switch (target) {
    case TPaintTarget::Printer: {
        const double pw = page.width(), ph = page.height();
        f = (pw / W >= ph / H ? ph / tall : pw / W) * zoom;
        q = Print.Origin.x();
        r = Print.Origin.y();
        break;
    }
    case TPaintTarget::Bitmap:
        break;
    case TPaintTarget::Preview: {
        const double bw = page.width(), bh = page.height();
        f = (bh / H > bw / W ? bw / W : bh / tall) * zoom;
        if (!(f > 0))
            return;
        const QPoint o = offset ? *offset : QPoint();
        q = Round(o.x() / f);
        r = Round(o.y() / f);
        painter.fillRect(QRect(QPoint(0, 0), page), Qt::white);
        if (centred) {
            const double m = plot.width() + yRect.width();
            q = Round(bw / 2 / f - m / 2);
            r = Round(bh / 2 / f - plot.height() / 2.0);
            if (offset)
                *offset = QPoint(Round(f * q), Round(f * r));
        }
        Print.Origin = QPoint(q, r);
        break;
    }
    }
    if (!(f > 0))
        return;
    const bool fill = background && !blackWhite;
    const QColor black(Qt::black);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);

    // y scale
    {
        const double w = yRect.width(), h = yRect.height();
        painter.save();
        painter.translate(Round((yRect.left() + q) * f), Round((yRect.top() + r) * f));
        const auto Y = [&](double y) {
            return Trunc((h - 25) * f - (y - YScale.YMin) * (h - 25) * f / (YScale.YMax - YScale.YMin));
        };
        if (fill)
            painter.fillRect(QRect(QPoint(0, Y(YScale.YMax)), QPoint(Trunc(w * f), Trunc(h * f))),
                             Col(PlotColor));
        const QFont font = ArialPixels(Round(10 * f));
        painter.setFont(font);
        painter.setPen(blackWhite ? black : Col(ScaleFontColor));
        const QFontMetrics fm(font);
        Multiples(YScale.YMin, YScale.YMax, double(YTickStep), true, [&](double y) {
            const int py = Y(y);
            if (IsSentinel(py) || py <= 8)
                return;
            const QString text = YScaleLabel(y, YScale.YMin, YScale.YMax);
            painter.drawText(Trunc(w * f) - fm.horizontalAdvance(text) - Round(f),
                             py - Round(4 * f) + fm.ascent(), text);
        });
        painter.restore();
    }
    // x scale
    const QRect xRect = XScaleRect();
    {
        const double w = xRect.width(), h = xRect.height();
        painter.save();
        painter.translate(Round((xRect.left() + q) * f), Round((xRect.top() + r) * f));
        const auto X = [&](double x) {
            return Trunc((x - XScale.XMin) * w * f / (XScale.XMax - XScale.XMin));
        };
        if (fill)
            painter.fillRect(QRect(QPoint(X(XScale.XMin), 0), QPoint(X(XScale.XMax), Trunc(h * f))),
                             Col(PlotColor));
        const QFont font = ArialPixels(Round(11 * f));
        painter.setFont(font);
        painter.setPen(blackWhite ? black : Col(ScaleFontColor));
        const QFontMetrics fm(font);
        Multiples(XScale.XMin, XScale.XMax, double(XTickStep), true, [&](double x) {
            const int px = X(x);
            if (IsSentinel(px))
                return;
            painter.drawLine(px, 0, px, Trunc(2 * f));
            const QString text = XScaleLabel(x, XScale.XMin, XScale.XMax, Raster.TimeMode, StartZeit);
            const int tw = fm.horizontalAdvance(text);
            if (px - tw / 2 < 0 || px + tw / 2 > w * f)
                return;
            painter.drawText(px - tw / 2, Trunc(2 * f) + fm.ascent(), text);
            if (Raster.TimeMode == tmUhrzeit && x > 0) {
                const QString date = DateToText(x, StartZeit);
                painter.drawText(px - fm.horizontalAdvance(date) / 2, Trunc(15 * f) + fm.ascent(), date);
            }
        });
        painter.restore();
    }
    // grid, with the drawing origin at its top-left corner for the rest
    const QRect grid = GridRect();
    painter.translate(Round((grid.left() + q) * f), Round((grid.top() + r) * f));
    const double gw = grid.width(), gh = grid.height();
    const TRasterMap& m = Raster;
    const auto X = [&](double x) { return Trunc(gw * f / double(m.XMax - m.XMin) * (x - double(m.XMin))); };
    const auto Y = [&](double y) {
        return Trunc(gh * f - gh * f / double(m.YMax - m.YMin) * (y - double(m.YMin)));
    };
    const QRect clip(0, 0, Trunc(gw * f), Trunc(gh * f));
    {
        painter.save();
        painter.setClipRect(clip);
        if (fill)
            painter.fillRect(QRect(QPoint(X(double(m.XMin)), Y(double(m.YMax))),
                                   QPoint(X(double(m.XMax)), Y(double(m.YMin)))),
                             Col(PlotColor));
        painter.setPen(QPen(blackWhite ? black : Col(GridColor), 0));
        Multiples(double(m.XMin), double(m.XMax), double(m.XStep), false, [&](double x) {
            const int px = X(x);
            if (px > 0)
                painter.drawLine(px, 0, px, clip.height());
        });
        Multiples(double(m.YMin), double(m.YMax), double(m.YStep), false, [&](double y) {
            const int py = Y(y);
            painter.drawLine(0, py, clip.width(), py);
        });
        painter.setPen(QPen(blackWhite ? black : Col(AxisColor), 0));
        if (m.XMin <= 0 && m.XMax >= 0)
            painter.drawLine(X(0), 0, X(0), clip.height());
        if (m.YMin <= 0 && m.YMax >= 0)
            painter.drawLine(0, Y(0), clip.width(), Y(0));
        for (const TKommentar* c : Comments) {
            if (!(c->PointX > m.XMin && c->PointX < m.XMax && c->PointY > m.YMin && c->PointY < m.YMax))
                continue;
            const QPoint at = c->pos() - grid.topLeft();
            QFont font = c->font();
            font.setPixelSize(std::max(1, Round(std::max(1, c->font().pixelSize()) * f)));
            const QFontMetrics fm(font);
            const QRect box(Round(at.x() * f), Round(at.y() * f), fm.horizontalAdvance(c->text()) + 2,
                            fm.height());
            painter.setPen(QPen(black, 0));
            painter.drawLine(X(double(c->PointX)), Y(double(c->PointY)), box.center().x(), box.center().y());
            painter.fillRect(box, Qt::white);
            painter.setFont(font);
            painter.drawText(box.left() + 1, box.top() + fm.ascent(), c->text());
        }
        painter.restore();
        painter.setPen(QPen(blackWhite ? black : Col(GridColor), 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(X(double(m.XMin)), Y(double(m.YMax))),
                               QPoint(X(double(m.XMax)), Y(double(m.YMin)))));
    }
    // headline above the grid, fitted to the plot's width
    painter.setPen(black);
    if (!Headline.isEmpty()) {
        int hh = Round(base * f);
        QFont font = ArialPixels(hh, true);
        int tw = QFontMetrics(font).horizontalAdvance(Headline);
        if (tw > plot.width() * f && tw > 0) {
            hh = std::max(1, Round(hh * plot.width() * f / tw));
            font = ArialPixels(hh, true);
            tw = QFontMetrics(font).horizontalAdvance(Headline);
        }
        painter.setFont(font);
        const QFontMetrics fm(font);
        painter.drawText(Round((plot.width() * f - tw) / 2), -Round(fm.height() * 1.5) + fm.ascent(),
                         Headline);
    }
    // comment lines below it
    {
        int ch = Round(base * 2.0 / 3 * f);
        for (int i = 0; i < lines; ++i) {
            QFont font = ArialPixels(ch);
            const int lw = QFontMetrics(font).horizontalAdvance(CommentLines.at(i));
            if (lw > plot.width() * f && lw > 0) {
                ch = std::max(1, int(ch * plot.width() * f / lw));
                font = ArialPixels(ch);
            }
            painter.setFont(font);
            const QFontMetrics fm(font);
            painter.drawText(Round((yRect.left() - grid.left()) * f),
                             Round((i + 1) * fm.height() + f * plot.height()) + fm.ascent(),
                             CommentLines.at(i));
        }
    }
    // curves
    for (const auto& curve : Curves) {
        if (curve->Points.size() < 2)
            continue;
        painter.save();
        painter.setClipRect(clip);
        painter.setPen(QPen(blackWhite ? black : Col(curve->CurveColor), Round((curve->PenWidth + 1) * f)));
        const auto CX = [&](double x) { return Trunc(gw * f / (curve->XMax - curve->XMin) * (x - curve->XMin)); };
        const auto CY = [&](double y) {
            return Trunc(gh * f - gh * f / (curve->YMax - curve->YMin) * (y - curve->YMin));
        };
        QPoint prev(CX(curve->Points[0]->X), CY(curve->Points[0]->Y));
        for (size_t i = 1; i < curve->Points.size(); ++i) {
            const QPoint next(CX(curve->Points[i]->X), CY(curve->Points[i]->Y));
            if (!IsSentinel(prev.x()) && !IsSentinel(prev.y()) && !IsSentinel(next.x()) &&
                !IsSentinel(next.y()) && next != prev)
                painter.drawLine(prev, next);
            prev = next;
        }
        painter.restore();
    }
    // unit labels
    {
        const QColor text = blackWhite ? black : Col(UnitColor);
        QFont font = UnitFont();
        font.setPixelSize(std::max(1, Round(font.pixelSize() * f)));
        painter.setFont(font);
        const QFontMetrics fm(font);
        auto label = [&](const QString& s, QPoint topLeft) {
            const QRect box(topLeft, QSize(fm.horizontalAdvance(s), fm.height()));
            if (fill)
                painter.fillRect(box, Col(PlotColor));
            painter.setPen(text);
            painter.drawText(box.left(), box.top() + fm.ascent(), s);
        };
        label(YUnit, QPoint(Round(3 * f), Round(3 * f)));
        if (XUnitVisible)
            label(XUnit, QPoint(Round(gw * f) - Round(5 * f) - fm.horizontalAdvance(XUnit),
                                Round(gh * f) - Round(5 * f) - fm.height()));
    }
    painter.restore();
}

// --- Entry points ----------------------------------------------------------------------------

namespace {

void SelectPrinter(QPrinter& printer, const TChartPrintSettings& print)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (print.PrinterIndex >= 0 && print.PrinterIndex < printers.size())
        printer.setPrinterName(printers.at(print.PrinterIndex).printerName());
    printer.setPageOrientation(print.Orientation == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

int PrinterIndexOf(const QPrinter& printer)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (int i = 0; i < printers.size(); ++i)
        if (printers.at(i).printerName() == printer.printerName())
            return i;
    return -1;
}

} // namespace

void RunPrintPreview(QWidget* owner, TPrintJob& job)
{
    QPrinter printer(QPrinter::HighResolution);
    SelectPrinter(printer, job.Print);
    if (job.OnSetupPrinter)
        job.OnSetupPrinter(printer);
    TPreviewDlg dlg(owner, printer);
    dlg.TextDlg->HeadlineEdit->setText(job.Headline);
    dlg.TextDlg->Memo1->setPlainText(job.Comments.join(u'\n'));
    dlg.CB_Mitte->setChecked(job.Print.Centred);
    dlg.CB_SW->setChecked(job.Print.BlackWhite);
    dlg.cb_Hintergrund->setChecked(job.Print.Background);
    dlg.ZoomScroller->setValue(job.Print.ZoomPos);
    dlg.Offset = job.Print.PreviewOffset;
    // The preview works on copies; Cancel leaves the owner's settings as they were.
    QString headline = job.Headline;
    QStringList comments = job.Comments;
    double zoom = PrintZoomForPosition(job.Print.ZoomPos);
    dlg.OnTextChange = [&] {
        headline = dlg.TextDlg->HeadlineEdit->text();
        comments = dlg.TextDlg->Memo1->toPlainText().split(u'\n');
        if (comments.size() == 1 && comments.front().isEmpty())
            comments.clear();
    };
    dlg.OnZoomChange = [&] { zoom = PrintZoomForPosition(dlg.ZoomScroller->value()); };
    const QPoint savedOrigin = job.Print.Origin;
    dlg.OnPaint = [&](QPainter& painter, QSize size) {
        const TPageOptions options{TPaintTarget::Preview, size, dlg.CB_SW->isChecked(),
                                   dlg.cb_Hintergrund->isChecked(), &dlg.Offset, dlg.CB_Mitte->isChecked(),
                                   zoom, headline, comments};
        job.PaintPage(painter, options);
    };
    const int result = ShowModal(dlg);
    if (result == mrCancel) {
        job.Print.Origin = savedOrigin;
        return;
    }
    dlg.OnTextChange();
    job.Print.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 1 : 0;
    job.Print.PrinterIndex = PrinterIndexOf(printer);
    job.Print.Centred = dlg.CB_Mitte->isChecked();
    job.Print.BlackWhite = dlg.CB_SW->isChecked();
    job.Print.Background = dlg.cb_Hintergrund->isChecked();
    job.Print.ZoomPos = dlg.ZoomScroller->value();
    job.Print.Zoom = PrintZoomForPosition(job.Print.ZoomPos);
    job.Print.PreviewOffset = dlg.Offset;
    job.Headline = headline;
    job.Comments = comments;
    if (result == mrYes)
        PrintPageDirect(job);
}

bool PrintPageDirect(TPrintJob& job)
{
    QPrinter printer(QPrinter::HighResolution);
    SelectPrinter(printer, job.Print);
    printer.setDocName(QStringLiteral("Plot"));
    if (job.OnSetupPrinter)
        job.OnSetupPrinter(printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageDlg(Lang3Q("Der Schreiber kann nicht gedruckt werden.", "The plot cannot be printed.",
                          "Impossible d'imprimer le tracé."),
                   mtError, mbOK);
        return false;
    }
    const TPageOptions options{TPaintTarget::Printer, QSize(printer.width(), printer.height()),
                               job.Print.BlackWhite, job.Print.Background, nullptr, false, job.Print.Zoom,
                               job.Headline, job.Comments};
    job.PaintPage(painter, options);
    return painter.end();
}

double PlacePage(const TPageOptions& options, QSize content, int commentLines, QPoint& origin)
{
    const double w = std::max(1, content.width());
    const double h = std::max(1, content.height());
    const double pw = options.Page.width(), ph = options.Page.height();
    if (options.Target == TPaintTarget::Printer) {
        double s = pw / w;
        if (s >= ph / h)
            s = ph / (h + 10.0 * commentLines);
        return s * options.Zoom;
    }
    if (options.Target == TPaintTarget::Bitmap) {
        origin = QPoint();
        return 1;
    }
    const double p = (ph / h > pw / w ? pw / w : ph / (h + 10.0 * commentLines + 12)) * options.Zoom;
    if (!(p > 0))
        return 0;
    const QPoint o = options.Offset ? *options.Offset : QPoint();
    origin = QPoint(Round(o.x() / p), Round(o.y() / p));
    if (options.Centred) {
        origin = QPoint(Round(pw / 2 / p - w / 2), Round(ph / 2 / p - h / 2));
        if (options.Offset)
            *options.Offset = QPoint(Round(origin.x() * p), Round(origin.y() * p));
    }
    return p;
}

bool BeginInstrumentPage(QPainter& painter, const TPageOptions& options, QSize content,
                         QPoint& storedOrigin)
{
    if (options.Target == TPaintTarget::Preview)
        painter.fillRect(QRect(QPoint(0, 0), options.Page), Qt::white);
    QPoint origin = storedOrigin;
    const double scale = PlacePage(options, content, int(options.Comments.size()), origin);
    if (!(scale > 0))
        return false;
    if (options.Target == TPaintTarget::Preview)
        storedOrigin = origin;
    painter.save();
    painter.scale(scale, scale);
    painter.translate(origin);
    return true;
}

void TGraf::PrintPreview()
{
    TPrintJob job = ChartJob();
    RunPrintPreview(this, job);
}

bool TGraf::PrintDirect()
{
    TPrintJob job = ChartJob();
    return PrintPageDirect(job);
}

TPrintJob TGraf::ChartJob()
{
    TPrintJob job{Print, Headline, CommentLines, {}, {}};
    job.OnSetupPrinter = OnSetupPrinter;
    job.PaintPage = [this](QPainter& painter, const TPageOptions& o) {
        // The page shows the texts being edited in the preview.
        QString headline = o.Headline;
        QStringList comments = o.Comments;
        std::swap(Headline, headline);
        std::swap(CommentLines, comments);
        PaintChart(painter, o.Target, o.Page, o.BlackWhite, o.Background, o.Offset, o.Centred, o.Zoom);
        std::swap(Headline, headline);
        std::swap(CommentLines, comments);
    };
    return job;
}

QImage TGraf::ChartImage()
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChart(painter, TPaintTarget::Bitmap, size(), false, true);
    return image;
}

void TGraf::CopyToClipboard()
{
    QApplication::clipboard()->setImage(ChartImage());
}

void TGraf::EditComment(TKommentar& comment)
{
    TKommentarDlg dlg(this, comment.text(), double(comment.PointX), double(comment.PointY), comment.font());
    const int result = ShowModal(dlg);
    if (result == mrOk && dlg.TakeNumbers()) {
        comment.setText(dlg.KommentarEdit->text());
        comment.PointX = dlg.X;
        comment.PointY = dlg.Y;
        comment.setFont(dlg.Font);
        comment.adjustSize();
        CommentMoved(comment);
    } else if (result == 5) {
        comment.Deleted = true;
        DeleteComment();
    }
}

// --- Dialogs ---------------------------------------------------------------------------------

TprTextDlg::TprTextDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TprTextDlg"));
    setWindowTitle(Lang3Q("Ausdruck beschriften...", "Inscription for printout",
                          "Inscription pour sortie imprimante"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Lang3Q("Überschrift", "Headline", "En-tête"), this));
    HeadlineEdit = new QLineEdit(this);
    HeadlineEdit->setObjectName(QStringLiteral("HeadlineEdit"));
    HeadlineEdit->setMaxLength(40);
    layout->addWidget(HeadlineEdit);
    layout->addWidget(new QLabel(Lang3Q("Kommentar", "Comment", "Commentaire"), this));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    layout->addWidget(Memo1);
    auto* ok = new QPushButton(Lang3Q("Beschriftung fertigstellen", "&Finished", "&Terminer"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(360, 260);
}

TPreviewDlg::TPreviewDlg(QWidget* parent, QPrinter& printer)
    : QDialog(parent)
    , m_printer(printer)
{
    setObjectName(QStringLiteral("TPreviewDlg"));
    setMinimumSize(300, 300);
    auto* layout = new QHBoxLayout(this);
    m_area = new QWidget(this);
    m_area->setObjectName(QStringLiteral("pvPanel"));
    m_area->setAutoFillBackground(true);
    QPalette grey = m_area->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    m_area->setPalette(grey);
    layout->addWidget(m_area, 1);
    Paper = new QWidget(m_area);
    Paper->setObjectName(QStringLiteral("Paper"));
    PaintBox = new QWidget(Paper);
    PaintBox->setObjectName(QStringLiteral("pvPaintBox"));
    PaintBox->setCursor(Qt::SizeAllCursor);
    PaintBox->installEventFilter(this);

    auto* column = new QVBoxLayout;
    layout->addLayout(column);
    auto* setup = new QPushButton(QStringLiteral("&Setup..."), this);
    setup->setObjectName(QStringLiteral("BitBtn1"));
    column->addWidget(setup);
    auto* size = new QGroupBox(Lang3Q("Größe", "Size", "Dimensions"), this);
    size->setObjectName(QStringLiteral("GroupBox1"));
    auto* sizeLayout = new QVBoxLayout(size);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Max"), size), 0, Qt::AlignHCenter);
    ZoomScroller = new QScrollBar(Qt::Vertical, size);
    ZoomScroller->setObjectName(QStringLiteral("ZoomScroller"));
    ZoomScroller->setRange(0, 200);
    ZoomScroller->setMinimumHeight(120);
    sizeLayout->addWidget(ZoomScroller, 1, Qt::AlignHCenter);
    sizeLayout->addWidget(new QLabel(QStringLiteral("Min"), size), 0, Qt::AlignHCenter);
    column->addWidget(size, 1);
    auto* text = new QPushButton(Lang3Q("&Beschriftung...", "&Inscription...", "&Inscription..."), this);
    text->setObjectName(QStringLiteral("TextBtn"));
    column->addWidget(text);
    CB_SW = new QCheckBox(Lang3Q("s/w-&Druck", "&Black&&White", "&Noir&&Blanc"), this);
    CB_SW->setObjectName(QStringLiteral("CB_SW"));
    CB_Mitte = new QCheckBox(Lang3Q("Seitenmitte", "&Center", "&Centrer"), this);
    CB_Mitte->setObjectName(QStringLiteral("CB_Mitte"));
    CB_Mitte->setChecked(true);
    cb_Hintergrund = new QCheckBox(QStringLiteral("&") + Translate(QStringLiteral("Hintergrund")), this);
    cb_Hintergrund->setObjectName(QStringLiteral("cb_Hintergrund"));
    cb_Hintergrund->setChecked(true);
    column->addWidget(CB_SW);
    column->addWidget(CB_Mitte);
    column->addWidget(cb_Hintergrund);
    auto* cancel = new QPushButton(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn2"));
    auto* print = new QPushButton(Lang3Q("Drucken", "&Print", "&Imprimer"), this);
    print->setObjectName(QStringLiteral("OK"));
    QPalette maroon = print->palette();
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    print->setPalette(maroon);
    column->addWidget(cancel);
    column->addWidget(ok);
    column->addWidget(print);
    TextDlg = new TprTextDlg(this);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(print, &QPushButton::clicked, this, [this] {
        SetModalResult(*this, mrYes);
        accept();
    });
    connect(setup, &QPushButton::clicked, this, [this] {
        QPageSetupDialog dlg(&m_printer, this);
        ShowModal(dlg);
        ShowPrinterName();
        FitPaper();
    });
    connect(text, &QPushButton::clicked, this, [this] {
        if (ShowModal(*TextDlg) == mrOk && OnTextChange)
            OnTextChange();
        PaintBox->update();
    });
    connect(ZoomScroller, &QScrollBar::valueChanged, this, [this](int) {
        if (OnZoomChange)
            OnZoomChange();
        PaintBox->update();
    });
    for (QCheckBox* box : {CB_SW, CB_Mitte, cb_Hintergrund})
        connect(box, &QCheckBox::toggled, this, [this](bool) { PaintBox->update(); });
    ShowPrinterName();
    resize(760, 560);
    setWindowState(Qt::WindowMaximized);
}

void TPreviewDlg::ShowPrinterName()
{
    const QString name = m_printer.printerName();
    setWindowTitle(name.isEmpty() ? Lang3Q("Druckvorschau", "Preview", "Vue préliminaire") : name);
}

void TPreviewDlg::FitPaper()
{
    const QRectF page = m_printer.pageLayout().fullRectPixels(m_printer.resolution());
    const double pw = std::max(1.0, page.width()), ph = std::max(1.0, page.height());
    const int aw = m_area->width(), ah = m_area->height();
    auto byHeight = [&] {
        const int h = std::max(1, ah - 10);
        const int w = int(pw / ph * h);
        return QRect((aw - w) / 2, 5, w, h);
    };
    auto byWidth = [&] {
        const int w = std::max(1, aw - 10);
        const int h = int(ph / pw * w);
        return QRect(5, (ah - h) / 2, w, h);
    };
    QRect r;
    if (pw < ph) {
        r = byHeight();
        if (r.width() > aw)
            r = byWidth();
    } else {
        r = byWidth();
        if (r.height() > ah)
            r = byHeight();
    }
    Paper->setGeometry(r);
    PaintBox->setGeometry(0, 0, r.width(), r.height());
    PaintBox->update();
}

void TPreviewDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitPaper();
}

void TPreviewDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ShowPrinterName();
    FitPaper();
}

bool TPreviewDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != PaintBox)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(PaintBox);
        if (OnPaint)
            OnPaint(painter, PaintBox->size());
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto* e = static_cast<QMouseEvent*>(event);
        CB_Mitte->setChecked(false);
        m_dragging = true;
        m_last = e->position().toPoint();
        return true;
    }
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        if (m_dragging) {
            Offset += e->position().toPoint() - m_last;
            m_last = e->position().toPoint();
            PaintBox->update();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

TKommentarDlg::TKommentarDlg(QWidget* parent, const QString& text, double x, double y, const QFont& font)
    : QDialog(parent)
    , X(x)
    , Y(y)
    , Font(font)
{
    setObjectName(QStringLiteral("TKommentarDlg"));
    setWindowTitle(Lang3Q("Beschriftung bearbeiten", "Edit inscription", "Editer inscription"));
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(Lang3Q("kommentierter Punkt", "Point", "Point"), this);
    auto* grid = new QGridLayout(group);
    xEdit = new QLineEdit(ChartNumber(x), group);
    xEdit->setObjectName(QStringLiteral("xEdit"));
    yEdit = new QLineEdit(ChartNumber(y), group);
    yEdit->setObjectName(QStringLiteral("yEdit"));
    KommentarEdit = new QLineEdit(text, group);
    KommentarEdit->setObjectName(QStringLiteral("KommentarEdit"));
    grid->addWidget(new QLabel(Lang3Q("x-Wert:", "x-value:", "Valeur x:"), group), 0, 0);
    grid->addWidget(xEdit, 0, 1);
    grid->addWidget(new QLabel(Lang3Q("y-Wert:", "y-value:", "Valeur y:"), group), 1, 0);
    grid->addWidget(yEdit, 1, 1);
    grid->addWidget(new QLabel(Lang3Q("Text:", "Text:", "Texte:"), group), 2, 0);
    grid->addWidget(KommentarEdit, 2, 1);
    auto* defaults = new QPushButton(Lang3Q("&Standardtext", "Default inscription", "Inscription par défaut"), group);
    defaults->setObjectName(QStringLiteral("defaultBtn"));
    auto* fontBtn = new QPushButton(Lang3Q("Schri&ftart...", "&Font...", "&Fonte..."), group);
    fontBtn->setObjectName(QStringLiteral("FontBtn"));
    grid->addWidget(defaults, 3, 0);
    grid->addWidget(fontBtn, 3, 1);
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout;
    auto* del = new QPushButton(Lang3Q("Beschriftung &löschen", "Delete inscription", "Effacer inscription"), this);
    del->setObjectName(QStringLiteral("BitBtn1"));
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(del);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(del, &QPushButton::clicked, this, [this] {
        SetModalResult(*this, 5);
        QDialog::done(5);
    });
    connect(defaults, &QPushButton::clicked, this, [this] {
        if (TakeNumbers())
            KommentarEdit->setText(QStringLiteral("x=") + ChartNumber(X) + QStringLiteral(" ; y=") +
                                   ChartNumber(Y));
    });
    connect(fontBtn, &QPushButton::clicked, this, [this] {
        QFontDialog dlg(Font, this);
        if (ShowModal(dlg) == mrOk)
            Font = dlg.selectedFont();
    });
}

bool TKommentarDlg::TakeNumbers()
{
    bool okX = false, okY = false;
    const double x = xEdit->text().trimmed().replace(u',', u'.').toDouble(&okX);
    const double y = yEdit->text().trimmed().replace(u',', u'.').toDouble(&okY);
    if (!okX || !okY) {
        MessageDlg(Lang3Q("Der Punkt braucht zwei Zahlen.", "The point needs two numbers.",
                          "Le point nécessite deux nombres."),
                   mtError, mbOK);
        return false;
    }
    X = x;
    Y = y;
    return true;
}

void TKommentarDlg::done(int result)
{
    // The point is taken only on OK; a number that is no number keeps the dialog open.
    if (result == QDialog::Accepted && !TakeNumbers())
        return;
    QDialog::done(result);
}

// --- Stored print settings -------------------------------------------------------------------

void WriteChartPrintSettings(TWriter& writer, const TGraf& chart)
{
    WritePrintSettings(writer, chart.Print, chart.Headline, chart.CommentLines);
}

void WritePrintSettings(TWriter& writer, const TChartPrintSettings& p, const QString& headline,
                        const QStringList& comments)
{
    writer.WriteInteger(p.Origin.x());
    writer.WriteInteger(p.Origin.y());
    writer.WriteInteger(p.PreviewOffset.x());
    writer.WriteInteger(p.PreviewOffset.y());
    writer.WriteInteger(p.ZoomPos);
    writer.WriteFloat(p.Zoom);
    writer.WriteString(headline);
    writer.WriteBoolean(p.BlackWhite);
    writer.WriteBoolean(p.Centred);
    writer.WriteBoolean(p.Background);
    writer.WriteInteger(p.PrinterIndex);
    writer.WriteInteger(p.Orientation);
    writer.WriteInteger(int32_t(comments.size()));
    for (const QString& line : comments)
        writer.WriteString(line);
}

void ReadChartPrintSettings(TReader& reader, TGraf& chart)
{
    ReadPrintSettings(reader, chart.Print, chart.Headline, chart.CommentLines);
}

void ReadPrintSettings(TReader& reader, TChartPrintSettings& p, QString& headline, QStringList& comments)
{
    const int ox = reader.ReadInteger();
    p.Origin = QPoint(ox, reader.ReadInteger());
    const int px = reader.ReadInteger();
    p.PreviewOffset = QPoint(px, reader.ReadInteger());
    p.ZoomPos = std::clamp(reader.ReadInteger(), 0, 200);
    p.Zoom = double(reader.ReadFloat());
    headline = reader.ReadString();
    p.BlackWhite = reader.ReadBoolean();
    p.Centred = reader.ReadBoolean();
    p.Background = reader.ReadBoolean();
    p.PrinterIndex = reader.ReadInteger();
    p.Orientation = reader.ReadInteger() == 1 ? 1 : 0;
    const int32_t n = reader.ReadInteger();
    comments.clear();
    for (int32_t i = 0; i < n; ++i)
        comments << reader.ReadString();
}
