#include "frontpanel/scope/Oscillograph.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/PanelRepaint.h"
#include "frontpanel/elements/RecorderTools.h"
#include "frontpanel/elements/YtRecorder.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Types.h"
#include "platform/ValueText.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <cmath>

namespace {

QPixmap Glyph(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    draw(p);
    return pm;
}

// A step of the trigger edge: rising or falling.
QIcon EdgeGlyph(bool rising)
{
    return QIcon(Glyph([rising](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.5));
        const int low = 12, high = 4;
        const int a = rising ? low : high, b = rising ? high : low;
        p.drawLine(2, a, 8, a);
        p.drawLine(8, a, 8, b);
        p.drawLine(8, b, 14, b);
        p.setPen(QPen(QColor(200, 0, 0), 1));
        const int tip = rising ? 6 : 10, base = rising ? 9 : 7;
        p.drawLine(6, base, 8, tip);
        p.drawLine(10, base, 8, tip);
    }));
}

// The trigger level: a dashed threshold crossing a slope.
QIcon LevelGlyph()
{
    return QIcon(Glyph([](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 160), 1.5));
        p.drawLine(2, 14, 14, 2);
        p.setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
        p.drawLine(1, 8, 15, 8);
    }));
}

// A single pulse: the manual trigger.
QIcon PulseGlyph()
{
    return QIcon(Glyph([](QPainter& p) {
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(1, 13, 5, 13);
        p.drawLine(5, 13, 5, 3);
        p.drawLine(5, 3, 11, 3);
        p.drawLine(11, 3, 11, 13);
        p.drawLine(11, 13, 15, 13);
    }));
}

class TScopeDisplay : public QWidget {
public:
    explicit TScopeDisplay(TOscillograph& owner)
        : QWidget(&owner)
        , m_owner(owner)
    {
        setObjectName(QStringLiteral("PB_Display"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_owner.DrawScreen(painter, rect(), true);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (m_owner.OnDisplayDblClick)
            m_owner.OnDisplayDblClick();
        else
            QWidget::mouseDoubleClickEvent(event);
    }

private:
    TOscillograph& m_owner;
};

// The recording lamp: red during a sweep, silver otherwise.
class TLamp : public QWidget {
public:
    explicit TLamp(QWidget* parent, const bool& on)
        : QWidget(parent)
        , m_on(on)
    {
        setObjectName(QStringLiteral("P_Color"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), TColorToQColor(m_on ? 0x0000FF : 0xC0C0C0));
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    const bool& m_on;
};

constexpr int kTimeBaseCount = 13;

int RoundInt(double x)
{
    return int(RoundHalfEven(x));
}

} // namespace

TScopeColors ScopeColors(TFarbStil style)
{
    switch (style) {
    case fsGreen: return {0x646400, 0x00FF00, 0x008000};
    case fsYellow: return {0x006262, 0x00FFFF, 0x008080};
    default: return {0x800000, 0xFFFF00, 0xFF0000};
    }
}

int32_t TOscillograph::TimeBaseMsOf(int index)
{
    if (index < 0 || index >= kTimeBaseCount)
        return 1;
    return int32_t(RoundHalfEven(TFPGraf::kTimeBases[index] * 1000));
}

double TOscillograph::VoltsPerDivision(int index)
{
    if (index < 0)
        return 5.0;
    static const double mantissa[3] = {1, 2, 5};
    return mantissa[index % 3] * std::pow(10.0, index / 3 - 6);
}

QStringList TOscillograph::RangeNames()
{
    static const char* const units[4] = {"µV", "mV", "V", "kV"};
    static const int mantissa[3] = {1, 2, 5};
    QStringList names;
    for (int i = 0; i < 34; ++i) {
        const int decade = i / 3;
        const int value = mantissa[i % 3] * int(std::pow(10, decade % 3));
        names << QStringLiteral("%1 %2").arg(value).arg(QString::fromUtf8(units[decade / 3]));
    }
    return names;
}

int TOscillograph::ClampY(double y, int height)
{
    if (std::isnan(y) || y < 0)
        return -1;
    if (y > height)
        return height + 1;
    return RoundInt(y);
}

TOscillograph::TOscillograph(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TOscillograph"));
    setWindowTitle(Lang3Q("Oszillogramm", "Oscillograph", "Oscillogramme"));
    BuildControls();
    resize(470, 310);
    setMinimumSize(kToolWidthHidden + 40, 40);
    Print.Zoom = 1.0;
    SetFarbStil(fsBlue);
    SetTriggerPositiv(true);
    SetTriggerIndex(0);
    SetToolsVisible(true);
}

TOscillograph::~TOscillograph() = default;

void TOscillograph::BuildControls()
{
    PB_Display = new TScopeDisplay(*this);
    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAutoFillBackground(true);
    QFont small = Panel2->font();
    small.setPixelSize(11);
    Panel2->setFont(small);

    auto button = [this](const char* name, const QString& hint, const QIcon& icon) {
        auto* b = new QToolButton(Panel2);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    ToolBtn = button("ToolBtn", QString(), RecorderGlyph(TRecorderGlyph::Hide));
    PrintBtn = button("PrintBtn", QStringLiteral("Print"), RecorderGlyph(TRecorderGlyph::Print));
    SB_Start = button("SB_Start", QStringLiteral("Trigger"), PulseGlyph());
    connect(ToolBtn, &QToolButton::clicked, this, [this] { ToolBtnClick(); });
    connect(PrintBtn, &QToolButton::clicked, this, [this] { PrintBtnClick(); });
    connect(SB_Start, &QToolButton::clicked, this, [this] { SB_StartClick(); });

    auto group = [this](const char* name, const QString& caption) {
        auto* g = new QGroupBox(caption, Panel2);
        g->setObjectName(QString::fromLatin1(name));
        return g;
    };
    auto combo = [](QWidget* parent, const char* name, const QString& hint, const QStringList& items) {
        auto* c = new QComboBox(parent);
        c->setObjectName(QString::fromLatin1(name));
        c->setToolTip(hint);
        c->addItems(items);
        c->setFocusPolicy(Qt::NoFocus);
        return c;
    };

    TriggerGroup = group("TriggerGroup", QStringLiteral("Trigger"));
    P_Color = new TLamp(TriggerGroup, Aufnahme);
    SchwelleBtn = new QToolButton(TriggerGroup);
    SchwelleBtn->setObjectName(QStringLiteral("SchwelleBtn"));
    SchwelleBtn->setToolTip(QStringLiteral("Trigger Volt"));
    SchwelleBtn->setIcon(LevelGlyph());
    SchwelleBtn->setFocusPolicy(Qt::NoFocus);
    TriggerBtn = new QToolButton(TriggerGroup);
    TriggerBtn->setObjectName(QStringLiteral("TriggerBtn"));
    TriggerBtn->setToolTip(QStringLiteral("Trigger pos./neg."));
    TriggerBtn->setFocusPolicy(Qt::NoFocus);
    TriggerCombo = combo(TriggerGroup, "TriggerCombo", QString(),
                         {QStringLiteral("OFF"), QStringLiteral("MAN"), QStringLiteral("A"),
                          QStringLiteral("B"), QStringLiteral("TRG")});
    TriggerCombo->setStyleSheet(QStringLiteral("QComboBox { color: #00FFFF; background: black; }"));
    connect(SchwelleBtn, &QToolButton::clicked, this, [this] { SchwelleBtnClick(); });
    connect(TriggerBtn, &QToolButton::clicked, this, [this] { TriggerBtnClick(); });
    connect(TriggerCombo, &QComboBox::activated, this, [this] { TriggerComboChange(); });

    TimebaseGroup = group("TimebaseGroup", QStringLiteral("Time/Div"));
    CB_TimeBase = combo(TimebaseGroup, "CB_TimeBase", QStringLiteral("Timebase"),
                        TFPGraf::TimeBaseNames().mid(0, kTimeBaseCount));
    connect(CB_TimeBase, &QComboBox::activated, this, [this] { CB_TimeBaseChange(); });

    RangeGroup = group("RangeGroup", QStringLiteral("V/Div"));
    RangeACombo = combo(RangeGroup, "RangeACombo", QStringLiteral("Channel A"), RangeNames());
    RangeBCombo = combo(RangeGroup, "RangeBCombo", QStringLiteral("Channel B"), RangeNames());
    connect(RangeACombo, &QComboBox::activated, this, [this] { RangeAComboChange(); });
    connect(RangeBCombo, &QComboBox::activated, this, [this] { RangeBComboChange(); });

    CB_TimeBase->setCurrentIndex(0);
    TriggerCombo->setCurrentIndex(0);
    RangeACombo->setCurrentIndex(21);
    RangeBCombo->setCurrentIndex(21);
}

void TOscillograph::LayoutControls()
{
    const int panelWidth = ToolsVisible ? kToolWidth : kToolWidthHidden;
    const int w = width(), h = height();
    Panel2->setGeometry(w - panelWidth, 0, panelWidth, h);
    PB_Display->setGeometry(0, 0, std::max(0, w - panelWidth), h);
    // The speed buttons keep their distance to the panel's right edge.
    const int bx = panelWidth - 25;
    ToolBtn->setGeometry(bx, 2, 23, 23);
    PrintBtn->setGeometry(bx, 27, 23, 23);
    SB_Start->setGeometry(bx, 52, 23, 23);
    const int gw = panelWidth - 28;
    TriggerGroup->setGeometry(2, 0, gw, 68);
    P_Color->setGeometry(6, 20, 14, 14);
    SchwelleBtn->setGeometry(24, 16, 23, 22);
    TriggerBtn->setGeometry(50, 16, 23, 22);
    TriggerCombo->setGeometry(4, 41, gw - 8, 22);
    TimebaseGroup->setGeometry(2, 70, gw, 46);
    CB_TimeBase->setGeometry(4, 18, gw - 8, 22);
    RangeGroup->setGeometry(2, 118, gw, 72);
    RangeACombo->setGeometry(4, 18, gw - 8, 22);
    RangeBCombo->setGeometry(4, 44, gw - 8, 22);
}

void TOscillograph::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutControls();
}

// --- Traces ------------------------------------------------------------------------------------

void TOscillograph::AddSample(int p, int channel, bool draw, float value)
{
    if (channel < 0 || channel > 1 || p < 0) {
        WritePos = p;
        return;
    }
    if (!draw) {
        if (p < kPoints)
            Samples[size_t(channel)][size_t(p)] = value;
        WritePos = p;
        return;
    }
    WritePos = p;
    if (p >= kPoints - 1)
        return;
    Samples[size_t(channel)][size_t(p)] = value;
    // The strip of the new segment and of the old one just ahead of it.
    const float step = float(PB_Display->width()) / 100.0f;
    const int xPrev = RoundInt(double(float(std::max(0, p - 1)) * step));
    const int xNext = RoundInt(double(float(p + 1) * step));
    RequestRepaint(*PB_Display, QRect(QPoint(xPrev - 1, 0), QPoint(xNext + 1, PB_Display->height())));
}

void TOscillograph::RepaintDisplay()
{
    RequestRepaint(*PB_Display);
}

void TOscillograph::DrawGridStrip(QPainter& painter, const QRect& rect, int xa, int xb, int32_t centre,
                                  int32_t other) const
{
    const int W = rect.width(), H = rect.height();
    for (int i = 1; i <= 9; ++i) {
        painter.setPen(QPen(TColorToQColor(i == 5 ? centre : other), 0));
        const int y = rect.top() + RoundInt(double(i) * H / 10);
        painter.drawLine(rect.left() + xa - 1, y, rect.left() + xb + 1, y);
        const int x = RoundInt(double(i) * W / 10);
        if (xa < x && x <= xb)
            painter.drawLine(rect.left() + x, rect.top(), rect.left() + x, rect.bottom());
    }
}

void TOscillograph::DrawTrace(QPainter& painter, const QRect& rect, int channel, int lastPoint) const
{
    const int H = rect.height();
    const double range = channel == 0 ? RangeA : RangeB;
    const double scale = (double(H) / 10) / range;
    const int centre = H / 2;
    const float step = float(rect.width()) / 100.0f;
    const auto& points = Samples[size_t(channel)];
    auto yOf = [&](int j) { return ClampY(centre - double(points[size_t(j)]) * scale, H) + rect.top(); };
    QPoint last(rect.left(), yOf(0));
    for (int j = 1; j <= lastPoint; ++j) {
        const QPoint next(RoundInt(double(float(j) * step)) + rect.left(), yOf(j));
        // A gap between the newest point and the oldest of the previous sweep.
        if (j != WritePos + 1)
            painter.drawLine(last, next);
        last = next;
    }
}

void TOscillograph::DrawScreen(QPainter& painter, const QRect& rect, bool withGrid) const
{
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const TScopeColors colours = ScopeColors(FarbStil);
    painter.fillRect(rect, TColorToQColor(colours.Background));
    if (withGrid)
        DrawGridStrip(painter, rect, 0, rect.width(), 0xC0C0C0, 0x808080);
    painter.setPen(QPen(TColorToQColor(colours.Trace), 0));
    for (int c = 0; c < 2; ++c)
        if (ChannelShown[size_t(c)])
            DrawTrace(painter, rect, c, kPoints - 1);
    painter.restore();
}

// --- Properties --------------------------------------------------------------------------------

int32_t TOscillograph::TimeBaseMs() const
{
    return TimeBaseMsOf(CB_TimeBase->currentIndex());
}

void TOscillograph::SetAufnahme(bool on)
{
    if (on == Aufnahme)
        return;
    Aufnahme = on;
    RequestRepaint(*P_Color);
}

void TOscillograph::SetTriggerPositiv(bool positive)
{
    TriggerPositiv = positive;
    TriggerBtn->setIcon(EdgeGlyph(positive));
}

void TOscillograph::SetTriggerIndex(int index)
{
    TriggerCombo->setCurrentIndex(index >= 0 && index < TriggerCombo->count() ? index : -1);
    SB_Start->setVisible(TriggerCombo->currentIndex() == 1);
}

int TOscillograph::GetTriggerIndex() const
{
    return TriggerCombo->currentIndex();
}

void TOscillograph::SetRangeA(double volts)
{
    RangeA = volts;
    RepaintDisplay();
}

void TOscillograph::SetRangeB(double volts)
{
    RangeB = volts;
    RepaintDisplay();
}

void TOscillograph::SetFarbStil(TFarbStil style)
{
    FarbStil = style >= fsBlue && style <= fsYellow ? style : fsBlue;
    PB_Display->update();
}

void TOscillograph::SetToolsVisible(bool visible)
{
    ToolsVisible = visible;
    TriggerGroup->setVisible(visible);
    TimebaseGroup->setVisible(visible);
    RangeGroup->setVisible(visible);
    ToolBtn->setIcon(RecorderGlyph(visible ? TRecorderGlyph::Hide : TRecorderGlyph::Show));
    LayoutControls();
}

// --- Handlers ----------------------------------------------------------------------------------

void TOscillograph::SB_StartClick()
{
    StartRequest = true;
}

void TOscillograph::ToolBtnClick()
{
    SetToolsVisible(!ToolsVisible);
}

void TOscillograph::TriggerBtnClick()
{
    SetTriggerPositiv(!TriggerPositiv);
}

void TOscillograph::TriggerComboChange()
{
    SetTriggerIndex(TriggerCombo->currentIndex());
}

void TOscillograph::CB_TimeBaseChange()
{
    SetAufnahme(false);
    RepaintDisplay();
}

void TOscillograph::RangeAComboChange()
{
    SetRangeA(VoltsPerDivision(RangeACombo->currentIndex()));
}

void TOscillograph::RangeBComboChange()
{
    SetRangeB(VoltsPerDivision(RangeBCombo->currentIndex()));
}

void TOscillograph::SchwelleBtnClick()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(QStringLiteral("Trigger"));
    dlg.HelpContext = 18075;
    QString text = ValueToText(TriggerVoltage);
    dlg.PropScrollbox->AddEditProp(Translate(QStringLiteral("Schwelle")), text, 0, 64);
    if (dlg.Execute() == 1)
        TriggerVoltage = double(TextToValue(text));
}

QString TOscillograph::InfoLine() const
{
    const QString gap = QStringLiteral("/div    ");
    return QStringLiteral("T: ") + CB_TimeBase->currentText() + gap + QStringLiteral("A: ") +
           RangeACombo->currentText() + gap + QStringLiteral("B: ") + RangeBCombo->currentText() + gap;
}

// --- Printing ----------------------------------------------------------------------------------

TPrintJob TOscillograph::PrintJob()
{
    TPrintJob job{Print, Headline, CommentLines, {}, OnSetupPrinter};
    job.PaintPage = [this](QPainter& painter, const TPageOptions& options) { PaintPrintPage(painter, options); };
    return job;
}

void TOscillograph::PrintBtnClick()
{
    TPrintJob job = PrintJob();
    RunPrintPreview(this, job);
}

bool TOscillograph::PrintNow()
{
    TPrintJob job = PrintJob();
    return PrintPageDirect(job);
}

void TOscillograph::PaintPrintPage(QPainter& painter, const TPageOptions& o)
{
    if (!BeginInstrumentPage(painter, o, size(), Print.Origin))
        return;
    const int dw = PB_Display->width(), dh = PB_Display->height();
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::black);
    QFontMetrics fm(font);
    painter.drawText(QPoint((dw - fm.horizontalAdvance(o.Headline)) / 2, -RoundInt(12 * 1.5) + fm.ascent()),
                     o.Headline);
    font.setBold(false);
    font.setPixelSize(10);
    painter.setFont(font);
    fm = QFontMetrics(font);
    painter.drawText(QPoint(0, 10 + dh + fm.ascent()), InfoLine());
    for (int i = 0; i < int(o.Comments.size()); ++i)
        painter.drawText(QPoint(0, 10 * (i + 3) + dh + fm.ascent()), o.Comments[i]);

    const TScopeColors colours = ScopeColors(FarbStil);
    const QRect screen(0, 0, dw, dh);
    if (o.Background)
        painter.fillRect(screen, TColorToQColor(o.BlackWhite ? 0xC0C0C0 : colours.Background));
    if (o.BlackWhite)
        DrawGridStrip(painter, screen, 1, dw - 1, 0x000000, 0x000000);
    else
        DrawGridStrip(painter, screen, 1, dw - 1, 0x808080, 0xC0C0C0);
    const int32_t trace = o.BlackWhite ? 0x000000 : o.Background ? colours.Trace : colours.PaperTrace;
    painter.setPen(QPen(TColorToQColor(trace), 0));
    for (int c = 0; c < 2; ++c)
        if (ChannelShown[size_t(c)])
            DrawTrace(painter, screen, c, kPoints - 2);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(screen.adjusted(0, 0, -1, -1));
    painter.restore();
}
