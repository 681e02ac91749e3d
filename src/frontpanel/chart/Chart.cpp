#include "frontpanel/chart/Chart.h"

#include "platform/Colors.h"
#include "ui/Formats.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kYScaleWidth = 30;
constexpr int kXScaleHeight = 25;
constexpr int kMaxRounds = 21;

// Rounded pixel of a mapped value, or the sentinel when it leaves the 32-bit range.
int PixelOf(Extended v, int sentinel)
{
    if (!(v > -2147482647.0L && v < 2147482647.0L))
        return sentinel;
    const int64_t r = RoundHalfEven(v);
    if (r <= -2147482647 || r >= 2147482647)
        return sentinel;
    return int(r);
}

// The same for a value already in double precision, rounded in double (the default rounding
// mode takes halves to even) rather than in the 80-bit arithmetic: curves map many samples.
inline int PixelOf(double v, int sentinel)
{
    if (!(v > -2147482647.0 && v < 2147482647.0))
        return sentinel;
    const double r = std::nearbyint(v);
    if (r <= -2147482647.0 || r >= 2147482647.0)
        return sentinel;
    return int(r);
}

bool UsableSpan(Extended span)
{
    span = std::fabs(span);
    return std::isfinite(double(span)) && span >= 1e-15L && span <= 1e15L;
}

// s := 1, then powers of ten until s is just below (s >= span) or just above the span.
Extended DecadeAround(Extended span)
{
    Extended s = 1;
    if (!(span > 0))
        return s;
    if (s >= span) {
        for (int i = 0; i < 400 && s >= span; ++i)
            s /= 10;
    } else {
        for (int i = 0; i < 400 && s <= span; ++i)
            s *= 10;
    }
    return s;
}

const double kTimeLadder[] = {2,       5,       10,       30,       60,       120,      300,
                              600,     1800,    3600,     7200,     21600,    43200,    86400,
                              172800,  432000,  864000,   1728000,  2592000,  4320000,  8640000,
                              17280000, 43200000, 86400000, 172800000};

// The x rule of grid and scale. px(s) is the pixel distance of one step s.
Extended XStepRule(Extended span, TTimeMode mode, const std::function<int(Extended)>& px,
                   bool finalHalving)
{
    auto normalise = [&](Extended s) {
        for (int round = 0; round < kMaxRounds; ++round) {
            const int p = px(s);
            if (p >= 50 && p <= 500)
                break;
            if (p < 50)
                s *= 10;
            else
                s /= 10;
        }
        return s;
    };
    Extended s = 1;
    if (mode == tmNone) {
        s = normalise(DecadeAround(span));
        if (px(s) > 200)
            s /= 5;
        if (px(s) > 80)
            s /= 2;
        return s;
    }
    if (span <= 1) {
        for (int i = 0; i < 400 && s >= span && span > 0; ++i)
            s /= 10;
        s = normalise(s);
        if (px(s) > 250)
            s /= 5;
        if (px(s) > 100)
            s /= 2;
        return s;
    }
    if (px(s) > 500)
        s /= 10;
    if (px(s) > 250)
        s /= 5;
    if (px(s) > 100)
        s /= 2;
    for (double v : kTimeLadder)
        if (px(s) < 50)
            s = v;
    if (finalHalving && px(s) > 40)
        s /= 2;
    return s;
}

Extended YStepRule(Extended span, const std::function<int(Extended)>& px)
{
    Extended s = DecadeAround(span);
    int p = px(s);
    for (int round = 0; round < kMaxRounds && (p <= 20 || p >= 200); ++round) {
        if (p < 20)
            s *= 10;
        if (p > 200)
            s /= 10;
        p = px(s);
    }
    if (p > 100)
        s /= 5;
    if (px(s) > 40)
        s /= 2;
    return s;
}

// First multiple of step at or above lo.
Extended FirstMultiple(Extended lo, Extended step)
{
    Extended v = RoundHalfEven(lo / step) * step;
    if (v < lo)
        v += step;
    return v;
}

// A loop over multiples that cannot run away on absurd steps.
template <class F>
void ForMultiples(Extended lo, Extended hi, Extended step, bool inclusive, F f)
{
    if (!(step > 0) || !std::isfinite(double(lo)) || !std::isfinite(double(hi)))
        return;
    if ((hi - lo) / step > 10000)
        return;
    for (Extended v = FirstMultiple(lo, step); inclusive ? v <= hi : v < hi; v += step)
        f(v);
}

QColor Col(int32_t c)
{
    return TColorToQColor(c);
}

} // namespace

// --- Mapping ---------------------------------------------------------------------------------

int TRasterMap::XToPixel(Extended x) const
{
    const Extended span = XMax - XMin;
    return PixelOf((W - 1) / span * (x - XMin) + 1, kChartSentinelX + 1) - 1;
}

int TRasterMap::YToPixel(Extended y) const
{
    const Extended span = YMax - YMin;
    return PixelOf(H - 1 - (H - 1) / span * (y - YMin), kChartSentinelY);
}

Extended TRasterMap::PixelToX(Extended px) const
{
    return (XMax - XMin) * (px + 1) / std::max(1, W - 1) + XMin;
}

Extended TRasterMap::PixelToY(Extended py) const
{
    return YMin - (YMax - YMin) * (py - H) / std::max(1, H);
}

bool TRasterMap::SetRange(Extended xMin, Extended xMax, Extended yMin, Extended yMax)
{
    if (xMin > xMax)
        std::swap(xMin, xMax);
    if (yMin > yMax)
        std::swap(yMin, yMax);
    if (!UsableSpan(xMax - xMin) || !UsableSpan(yMax - yMin))
        return false;
    XMin = xMin;
    XMax = std::max(xMax, xMin + std::fabs(xMin / 1000));
    YMin = yMin;
    YMax = std::max(yMax, yMin + std::fabs(yMin / 1000));
    CalcGridSteps();
    return true;
}

void TRasterMap::CalcGridSteps()
{
    const auto pxX = [this](Extended s) { return XToPixel(XMin + s) - XToPixel(XMin); };
    const auto pxY = [this](Extended s) { return std::abs(YToPixel(YMin + s) - YToPixel(YMin)); };
    XStep = XStepRule(XMax - XMin, TimeMode, pxX, true);
    YStep = YStepRule(YMax - YMin, pxY);
}

int TCurveMap::XToPixel(double x) const
{
    return PixelOf((x - XMin) * ((W - 1) / (XMax - XMin)), kChartSentinelX + 1) - 1;
}

int TCurveMap::YToPixel(double y) const
{
    return PixelOf(H - 1 - (y - YMin) * ((H - 1) / (YMax - YMin)), kChartSentinelY);
}

int TYScaleMap::YToPixel(double y) const
{
    return PixelOf(H - 25 - (y - YMin) * ((H - 25) / (YMax - YMin)) + 5, kChartSentinelY);
}

std::vector<QPoint> CurvePolyline(const std::vector<const TChartSample*>& points, const TCurveMap& map)
{
    std::vector<QPoint> line;
    line.reserve(std::min<size_t>(points.size(), size_t(4 * std::max(map.W, 1) + 8)));
    // XToPixel and YToPixel with their factors computed once.
    const double kx = (map.W - 1) / (map.XMax - map.XMin);
    const double ky = (map.H - 1) / (map.YMax - map.YMin);
    const double y0 = map.H - 1;
    const auto xArg = [&](const TChartSample* s) { return (s->X - map.XMin) * kx; };
    const auto yPixel = [&](double y) { return PixelOf(y0 - (y - map.YMin) * ky, kChartSentinelY); };
    // With a positive factor the pixel falls as y rises, so the largest and the smallest y of a
    // column give its extent, as long as neither leaves the pixel range.
    const bool monotonic = ky > 0 && std::isfinite(ky);
    const size_t n = points.size();
    size_t i = 0;
    while (i < n) {
        const size_t first = i;
        const int column = PixelOf(xArg(points[i]), kChartSentinelX + 1) - 1;
        // Mapped x strictly within half a pixel of the column's centre lands in it without
        // rounding; the halves themselves and everything else are rounded.
        const bool inRange = column != kChartSentinelX;
        const double centre = double(column) + 1;
        const double below = inRange ? centre - 0.5 : 0, above = inRange ? centre + 0.5 : 0;
        double yMin = points[i]->Y, yMax = yMin;
        bool numbers = !std::isnan(yMin);
        for (++i; i < n; ++i) {
            const double t = xArg(points[i]);
            if (!(t > below && t < above) && PixelOf(t, kChartSentinelX + 1) - 1 != column)
                break;
            const double y = points[i]->Y;
            yMin = y < yMin ? y : yMin;
            yMax = y > yMax ? y : yMax;
            numbers = numbers && !std::isnan(y);
        }
        int lo = yPixel(yMax), hi = yPixel(yMin);
        if (!monotonic || !numbers || lo == kChartSentinelY || hi == kChartSentinelY) {
            lo = hi = yPixel(points[first]->Y);
            for (size_t k = first + 1; k < i; ++k) {
                const int py = yPixel(points[k]->Y);
                lo = std::min(lo, py);
                hi = std::max(hi, py);
            }
        }
        const int entry = yPixel(points[first]->Y);
        const int exit = yPixel(points[i - 1]->Y);
        line.emplace_back(column, entry);
        if (lo != hi) {
            // The column's extent, then back to where the line leaves it.
            line.emplace_back(column, lo);
            line.emplace_back(column, hi);
        }
        line.emplace_back(column, exit);
    }
    return line;
}

Extended XScaleStep(const TCurveMap& map, TTimeMode mode)
{
    const auto px = [&map](Extended s) {
        return map.XToPixel(double(map.XMin + s)) - map.XToPixel(map.XMin);
    };
    return XStepRule(map.XMax - map.XMin, mode, px, false);
}

Extended YScaleStep(const TYScaleMap& map)
{
    const auto px = [&map](Extended s) {
        return std::abs(map.YToPixel(double(map.YMin + s)) - map.YToPixel(map.YMin));
    };
    return YStepRule(map.YMax - map.YMin, px);
}

QString ChartNumber(Extended value)
{
    return GeneralText(value, 4, 4, 4, LocaleDecimalSeparator());
}

QString XScaleLabel(double x, double xMin, double xMax, TTimeMode mode, double startZeit)
{
    switch (mode) {
    case tmNone:
        return GeneralText(x, 4, 4, 2, LocaleDecimalSeparator());
    case tmZeit:
        if (xMin > -60 && xMin < 60 && xMax > -60 && xMax < 60)
            return GeneralText(x, 4, 4, 2, LocaleDecimalSeparator());
        return DurationToText(x);
    case tmUhrzeit:
        return TimeToTextMs(x, startZeit, true);
    }
    return QString();
}

QString YScaleLabel(double y, double yMin, double yMax)
{
    if (std::fabs(y) < (yMax - yMin) / 100000)
        y = 0;
    return ChartNumber(y);
}

double PrintZoomForPosition(int position)
{
    return std::pow(10.0, (200 - position) / 100.0) / 10;
}

// --- Comments ----------------------------------------------------------------------------------

TKommentar::TKommentar(TGraf& chart)
    : QLabel(&chart)
    , m_chart(chart)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setCursor(Qt::SizeAllCursor);
}

void TKommentar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_origin = event->position().toPoint();
}

void TKommentar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    if (m_skipMove) {
        m_skipMove = false;
        m_dragging = false;
        return;
    }
    move(pos() + event->position().toPoint() - m_origin);
}

void TKommentar::mouseReleaseEvent(QMouseEvent*)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_chart.CommentMoved(*this);
}

void TKommentar::mouseDoubleClickEvent(QMouseEvent*)
{
    m_skipMove = true;
    m_chart.EditComment(*this);
    m_dragging = false;
}

// --- The chart -------------------------------------------------------------------------------

TGraf::TGraf(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Chart"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(200, 100);
    m_deleteTimer.setInterval(50);
    m_deleteTimer.setSingleShot(true);
    QObject::connect(&m_deleteTimer, &QTimer::timeout, this, [this] {
        const auto it = std::find_if(Comments.begin(), Comments.end(),
                                     [](TKommentar* c) { return c->Deleted; });
        if (it == Comments.end())
            return;
        delete *it;
        Comments.erase(it);
        update();
    });
    ApplySizes();
    Raster.CalcGridSteps();
    UpdateScales();
}

TGraf::~TGraf() = default;

QRect TGraf::ContentRect() const
{
    const int frame = BorderWidth + (Bevels ? 2 : 0);
    return rect().adjusted(frame, frame, -frame, -frame);
}

QRect TGraf::YScaleRect() const
{
    const QRect c = ContentRect();
    return QRect(c.left(), c.top(), std::min(kYScaleWidth, c.width()), c.height());
}

QRect TGraf::PlotRect() const
{
    const QRect c = ContentRect();
    return QRect(c.left() + kYScaleWidth, c.top(), std::max(1, c.width() - kYScaleWidth), c.height());
}

QRect TGraf::GridRect() const
{
    const QRect p = PlotRect();
    return QRect(p.left(), p.top(), p.width(), std::max(1, p.height() - kXScaleHeight));
}

QRect TGraf::XScaleRect() const
{
    const QRect p = PlotRect();
    return QRect(p.left(), p.bottom() + 1 - kXScaleHeight, p.width(), kXScaleHeight);
}

void TGraf::ApplySizes()
{
    const QRect g = GridRect();
    Raster.W = std::max(2, g.width());
    Raster.H = std::max(2, g.height());
    XScale.W = Raster.W;
    XScale.H = kXScaleHeight;
    YScale.H = std::max(26, YScaleRect().height());
}

void TGraf::UpdateScales()
{
    XTickStep = XScaleStep(XScale, Raster.TimeMode);
    YTickStep = YScaleStep(YScale);
}

TKurve& TGraf::AddCurve()
{
    auto curve = std::make_unique<TKurve>();
    curve->XMin = double(Raster.XMin);
    curve->XMax = double(Raster.XMax);
    curve->YMin = double(Raster.YMin);
    curve->YMax = double(Raster.YMax);
    Curves.push_back(std::move(curve));
    return *Curves.back();
}

void TGraf::SetRange(Extended xMin, Extended xMax, Extended yMin, Extended yMax)
{
    yMax = std::min<Extended>(yMax, YMaxLimit);
    yMin = std::max<Extended>(yMin, YMinLimit);
    xMax = std::min<Extended>(xMax, XMaxLimit);
    xMin = std::max<Extended>(xMin, XMinLimit);
    if (xMin > xMax)
        std::swap(xMin, xMax);
    if (yMin > yMax)
        std::swap(yMin, yMax);
    if (!UsableSpan(xMax - xMin) || !UsableSpan(yMax - yMin))
        return;
    xMax = std::max(xMax, xMin + std::fabs(xMin / 10000));
    yMax = std::max(yMax, yMin + std::fabs(yMin / 10000));
    ApplySizes();
    Raster.SetRange(xMin, xMax, yMin, yMax);
    XScale.XMin = double(xMin);
    XScale.XMax = double(xMax);
    YScale.YMin = double(yMin);
    YScale.YMax = double(yMax);
    for (auto& curve : Curves) {
        curve->XMin = double(xMin);
        curve->XMax = double(xMax);
        curve->YMin = double(yMin);
        curve->YMax = double(yMax);
    }
    UpdateScales();
    PlaceComments();
    if (OnZoomChanged)
        OnZoomChanged();
}

void TGraf::RasterChanged()
{
    SetRange(Raster.XMin, Raster.XMax, Raster.YMin, Raster.YMax);
    update();
}

void TGraf::ZoomYIn()
{
    const Extended c = (Raster.YMin + Raster.YMax) / 2;
    SetRange(Raster.XMin, Raster.XMax, Raster.YMin - (Raster.YMin - c) / 2,
             Raster.YMax - (Raster.YMax - c) / 2);
    update();
}

void TGraf::ZoomYOut()
{
    const Extended c = (Raster.YMin + Raster.YMax) / 2;
    SetRange(Raster.XMin, Raster.XMax, Raster.YMin + (Raster.YMin - c) / 2,
             Raster.YMax + (Raster.YMax - c) / 2);
    update();
}

void TGraf::ZoomXIn()
{
    const Extended c = (Raster.XMin + Raster.XMax) / 2;
    SetRange(Raster.XMin - (Raster.XMin - c) / 2, Raster.XMax - (Raster.XMax - c) / 2, Raster.YMin,
             Raster.YMax);
    update();
}

void TGraf::ZoomXOut()
{
    const Extended c = (Raster.XMin + Raster.XMax) / 2;
    SetRange(Raster.XMin + (Raster.XMin - c) / 2, Raster.XMax + (Raster.XMax - c) / 2, Raster.YMin,
             Raster.YMax);
    update();
}

void TGraf::ScrollBy(int n)
{
    const QRect grid = GridRect();
    if (!SoftScroll || n <= 0 || n >= grid.width() - 4 || !isVisible()) {
        update(PlotRect());
        return;
    }
    // The pixels move; Qt repaints only what the move uncovers (the newest strip).
    scroll(-n, 0, grid.adjusted(1, 1, -1, -1));
    update(QRect(grid.right() - n - 2, grid.top(), n + 3, grid.height()));
    update(XScaleRect());
}

void TGraf::PlaceComments()
{
    const QPoint g = GridRect().topLeft();
    for (TKommentar* c : Comments)
        c->move(g.x() + Raster.XToPixel(c->AnchorX), g.y() + Raster.YToPixel(c->AnchorY));
}

void TGraf::ClearComments()
{
    for (TKommentar* c : Comments)
        delete c;
    Comments.clear();
    update();
}

QString TGraf::CommentText(Extended x, Extended y) const
{
    const QString yText = QStringLiteral(" ; y=") + ChartNumber(y);
    switch (Raster.TimeMode) {
    case tmNone:
        return QStringLiteral("x=") + ChartNumber(x) + yText;
    case tmZeit:
        if (Raster.XMin > -60 && Raster.XMax < 60)
            return QStringLiteral("x=") + ChartNumber(x) + yText;
        return DurationToText(double(x)) + yText;
    case tmUhrzeit:
        return TimeToTextMs(double(x), StartZeit, true) + yText;
    }
    return QString();
}

TKommentar* TGraf::AddComment(int px, int py)
{
    auto* c = new TKommentar(*this);
    c->PointX = Raster.PixelToX(px);
    c->PointY = Raster.PixelToY(py);
    c->AnchorX = Raster.PixelToX(px + 10);
    c->AnchorY = Raster.PixelToY(py + 10);
    c->setText(CommentText(c->PointX, c->PointY));
    c->adjustSize();
    Comments.push_back(c);
    PlaceComments();
    c->show();
    update();
    return c;
}

void TGraf::CommentMoved(TKommentar& comment)
{
    const QPoint g = GridRect().topLeft();
    comment.AnchorY = Raster.PixelToY(comment.y() - g.y());
    comment.AnchorX = Raster.PixelToX(comment.x() - g.x());
    update();
}

void TGraf::DeleteComment()
{
    if (!m_deleteTimer.isActive())
        m_deleteTimer.start();
}

QFont TGraf::UnitFont() const
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(std::max(6, height() / 30 + 9));
    return f;
}

void TGraf::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplySizes();
    Raster.CalcGridSteps();
    UpdateScales();
    PlaceComments();
}

// --- Painting on the screen ------------------------------------------------------------------

void TGraf::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setClipRegion(event->region());
    const QRect all = rect();
    if (Bevels || BorderWidth > 0) {
        p.fillRect(all, palette().color(QPalette::Window));
        if (Bevels) {
            p.setPen(QColor(255, 255, 255));
            p.drawLine(0, 0, all.right(), 0);
            p.drawLine(0, 0, 0, all.bottom());
            p.setPen(QColor(128, 128, 128));
            p.drawLine(all.right(), 0, all.right(), all.bottom());
            p.drawLine(0, all.bottom(), all.right(), all.bottom());
        }
    }
    PaintYScale(p, YScaleRect());
    p.fillRect(PlotRect(), Col(PlotColor));
    const QRect grid = GridRect();
    PaintGrid(p, grid);
    for (const auto& curve : Curves)
        PaintCurve(p, *curve, grid);
    PaintXScale(p, XScaleRect());
    PaintUnits(p);
    if (PlayCursorVisible) {
        p.fillRect(QRect(grid.left() + PlayCursorX, grid.top(), 1, grid.height()), Col(0x008000));
    }
    if (m_drag == TDrag::Box) {
        p.setClipRect(grid);
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(m_dragStart, m_dragLast).normalized());
    }
}

void TGraf::PaintYScale(QPainter& p, const QRect& r)
{
    p.fillRect(r, Col(PlotColor));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(Col(ScaleFontColor));
    const QFontMetrics fm(f);
    ForMultiples(YScale.YMin, YScale.YMax, YTickStep, true, [&](Extended y) {
        const int py = YScale.YToPixel(double(y));
        if (py <= 8)
            return;
        const QString text = YScaleLabel(double(y), YScale.YMin, YScale.YMax);
        const int w = fm.horizontalAdvance(text);
        p.drawText(r.left() + r.width() - 1 - w, r.top() + py - 10 + fm.ascent(), text);
    });
}

void TGraf::PaintXScale(QPainter& p, const QRect& r)
{
    p.fillRect(r, Col(PlotColor));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(Col(ScaleFontColor));
    const QFontMetrics fm(f);
    int lastRight = -1;  // right end of the label drawn last
    ForMultiples(XScale.XMin, XScale.XMax, XTickStep, true, [&](Extended x) {
        const int px = XScale.XToPixel(double(x));
        p.drawLine(r.left() + px, r.top(), r.left() + px, r.top() + 2);
        const QString text =
            XScaleLabel(double(x), XScale.XMin, XScale.XMax, Raster.TimeMode, StartZeit);
        const int w = fm.horizontalAdvance(text);
        if (px - w / 2 < 0)
            return;
        // A label at the right end moves left until it fits, unless it would then touch the
        // label before it.
        int left = px - w / 2;
        if (left + w > r.width() - 1) {
            left = r.width() - 1 - w;
            if (left <= lastRight + 2)
                return;
        }
        lastRight = left + w;
        p.drawText(r.left() + left, r.top() + 2 + fm.ascent(), text);
        if (Raster.TimeMode == tmUhrzeit && x > 0) {
            const QString date = DateToText(double(x), StartZeit);
            const int dw = fm.horizontalAdvance(date);
            if (px - dw / 2 >= 0)
                p.drawText(r.left() + std::min(px - dw / 2, r.width() - 1 - dw), r.top() + 12 + fm.ascent(), date);
        }
    });
}

void TGraf::PaintGrid(QPainter& p, const QRect& r)
{
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.translate(r.topLeft());
    const TRasterMap& m = Raster;
    p.setPen(Col(GridColor));
    ForMultiples(m.XMin, m.XMax, m.XStep, false, [&](Extended x) {
        const int px = m.XToPixel(x);
        p.drawLine(px, 0, px, m.H);
    });
    const int left = m.XToPixel(m.XMin);
    const int right = m.XToPixel(m.XMax);
    ForMultiples(m.YMin, m.YMax, m.YStep, false, [&](Extended y) {
        const int py = m.YToPixel(y);
        p.drawLine(left, py, right, py);
    });
    p.setPen(Col(AxisColor));
    if (m.XMin <= 0 && m.XMax >= 0) {
        const int px = m.XToPixel(0);
        p.drawLine(px, m.YToPixel(m.YMax), px, m.YToPixel(m.YMin));
    }
    if (m.YMin <= 0 && m.YMax >= 0) {
        const int py = m.YToPixel(0);
        p.drawLine(left, py, right, py);
    }
    for (const TKommentar* c : Comments)
        p.drawLine(m.XToPixel(c->PointX), m.YToPixel(c->PointY),
                   m.XToPixel(c->AnchorX) + c->width() / 2, m.YToPixel(c->AnchorY) + c->height() / 2);
    p.setPen(Col(GridColor));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, m.W - 1, m.H - 1);
    p.restore();
}

// Draws the curve through its points. Where many points share a pixel column only their
// lowest and highest pixel are drawn (one vertical stroke) and the line enters at the
// column's first point and leaves at its last, so a million points cost one pass and at most
// a few strokes per column.
void TGraf::PaintCurve(QPainter& p, const TKurve& curve, const QRect& r) const
{
    if (curve.Points.size() < 2)
        return;
    const std::vector<QPoint> line =
        CurvePolyline(curve.Points, TCurveMap{curve.XMin, curve.XMax, curve.YMin, curve.YMax, Raster.W, Raster.H});
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.translate(r.topLeft());
    p.setPen(QPen(Col(curve.CurveColor), std::max(0, curve.PenWidth)));
    p.drawPolyline(line.data(), int(line.size()));
    p.restore();
}

void TGraf::PaintUnits(QPainter& p)
{
    const QRect grid = GridRect();
    const QFont f = UnitFont();
    p.setFont(f);
    const QFontMetrics fm(f);
    p.setPen(Col(UnitColor));
    p.fillRect(QRect(grid.left() + 3, grid.top() + 3, fm.horizontalAdvance(YUnit), fm.height()),
               Col(PlotColor));
    p.drawText(grid.left() + 3, grid.top() + 3 + fm.ascent(), YUnit);
    if (XUnitVisible) {
        const int w = fm.horizontalAdvance(XUnit);
        const int x = grid.left() + grid.width() - w - 5;
        const int y = grid.top() + grid.height() - fm.height() - 5;
        p.fillRect(QRect(x, y, w, fm.height()), Col(PlotColor));
        p.drawText(x, y + fm.ascent(), XUnit);
    }
}

// --- Mouse -----------------------------------------------------------------------------------

void TGraf::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_dragStart = m_dragLast = pos;
    if (GridRect().contains(pos)) {
        if (!Locked && !NoZoomBox)
            m_drag = TDrag::Box;
    } else if (XScaleRect().contains(pos)) {
        if (!RangeLocked)
            m_drag = TDrag::XScale;
    } else if (YScaleRect().contains(pos)) {
        if (!(RangeLocked && AutoZoom))
            m_drag = TDrag::YScale;
    }
}

void TGraf::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QRect grid = GridRect();
    if (XScaleRect().contains(pos))
        setCursor(RangeLocked ? Qt::ArrowCursor : Qt::SizeHorCursor);
    else if (YScaleRect().contains(pos))
        setCursor(RangeLocked && AutoZoom ? Qt::ArrowCursor : Qt::SizeVerCursor);
    else
        setCursor(Qt::CrossCursor);
    const QPoint delta = pos - m_dragLast;
    switch (m_drag) {
    case TDrag::Box:
        m_dragLast = pos;
        update(grid);
        break;
    case TDrag::XScale: {
        m_dragLast = pos;
        const Extended d = delta.x() * (Raster.XMax - Raster.XMin) / grid.width();
        if (event->modifiers() & Qt::ShiftModifier) {
            const Extended span = std::fabs((Raster.XMax - d) - (Raster.XMin + d)) / grid.width();
            if (span > 1e-6L && span < 1e6L)
                SetRange(Raster.XMin + d, Raster.XMax - d, Raster.YMin, Raster.YMax);
        } else {
            SetRange(Raster.XMin - d, Raster.XMax - d, Raster.YMin, Raster.YMax);
        }
        update();
        return;
    }
    case TDrag::YScale: {
        m_dragLast = pos;
        const Extended d = delta.y() * (Raster.YMax - Raster.YMin) / grid.height();
        if (event->modifiers() & Qt::ShiftModifier)
            SetRange(Raster.XMin, Raster.XMax, Raster.YMin - d, Raster.YMax + d);
        else
            SetRange(Raster.XMin, Raster.XMax, Raster.YMin + d, Raster.YMax + d);
        update();
        return;
    }
    case TDrag::None:
        break;
    }
    if (!Locked && grid.contains(pos)) {
        const QPoint g = ToGrid(pos);
        const Extended x = Raster.PixelToX(g.x());
        switch (Raster.TimeMode) {
        case tmNone:
            XReadout = QStringLiteral("x = ") + ChartNumber(x);
            break;
        case tmZeit:
            XReadout = QStringLiteral("t = ") +
                       ((Raster.XMin > -60 && Raster.XMax < 60) ? ChartNumber(x)
                                                                 : DurationToText(double(x)));
            break;
        case tmUhrzeit:
            XReadout = QStringLiteral("t = ") + TimeToTextMs(double(x), StartZeit, true);
            break;
        }
        YReadout = QStringLiteral("y = ") + ChartNumber(Raster.PixelToY(g.y()));
        if (OnReadout)
            OnReadout();
    }
}

void TGraf::mouseReleaseEvent(QMouseEvent* event)
{
    const TDrag drag = m_drag;
    m_drag = TDrag::None;
    if (drag != TDrag::Box || event->button() != Qt::LeftButton)
        return;
    const QPoint a = ToGrid(m_dragStart);
    const QPoint b = ToGrid(event->position().toPoint());
    update();
    // The box's edges, whichever way it was dragged; a click has no extent, and the range
    // rule ignores it.
    const Extended x0 = Raster.PixelToX(std::min(a.x(), b.x()));
    const Extended x1 = Raster.PixelToX(std::max(a.x(), b.x()));
    const Extended y0 = Raster.PixelToY(std::min(a.y(), b.y()));
    const Extended y1 = Raster.PixelToY(std::max(a.y(), b.y()));
    if (Raster.SetRange(x0, x1, y0, y1))
        RasterChanged();
}

void TGraf::mouseDoubleClickEvent(QMouseEvent* event)
{
    m_drag = TDrag::None;
    const QPoint pos = event->position().toPoint();
    if (!Locked && GridRect().contains(pos)) {
        const QPoint g = ToGrid(pos);
        AddComment(g.x(), g.y());
    }
}
