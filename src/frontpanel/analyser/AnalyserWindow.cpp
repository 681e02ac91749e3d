#include "frontpanel/analyser/AnalyserWindow.h"

#include "frontpanel/elements/PanelRepaint.h"
#include "frontpanel/elements/RecorderTools.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Types.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kToolsWidth = 122;
constexpr int kToolsHiddenWidth = 27;
constexpr int32_t kLampRecording = 0x0000FF;
constexpr int32_t kLampIdle = 0xC0C0C0;

int Round(double v)
{
    return int(RoundHalfEven(v));
}

// A small 16 x 16 picture drawn with a painter.
QIcon DrawnIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QIcon(pm);
}

// A clock edge: low, up (or down), high (or low) with an arrow on the edge.
QIcon EdgeIcon(bool rising)
{
    return DrawnIcon([rising](QPainter& p) {
        p.setPen(QPen(QColor(0, 0, 0), 1.6));
        const double yFrom = rising ? 13 : 3, yTo = rising ? 3 : 13;
        p.drawLine(QPointF(1, yFrom), QPointF(8, yFrom));
        p.drawLine(QPointF(8, yFrom), QPointF(8, yTo));
        p.drawLine(QPointF(8, yTo), QPointF(15, yTo));
        p.setPen(QPen(QColor(200, 0, 0), 1.6));
        const double tip = rising ? 6 : 10, back = rising ? 9.5 : 6.5;
        p.drawLine(QPointF(8, tip), QPointF(5.5, back));
        p.drawLine(QPointF(8, tip), QPointF(10.5, back));
    });
}

// Manual trigger: a pulse with a start arrow.
QIcon StartIcon()
{
    return DrawnIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 150, 0));
        const QPointF arrow[3] = {QPointF(4, 2), QPointF(13, 8), QPointF(4, 14)};
        p.drawPolygon(arrow, 3);
    });
}

// A plain coloured panel (the lamp).
class TColorPanel : public QWidget {
public:
    explicit TColorPanel(QWidget* parent) : QWidget(parent) {}
    int32_t Colour = kLampIdle;
    void SetColour(int32_t c)
    {
        if (c != Colour) {
            Colour = c;
            update();
        }
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), TColorToQColor(Colour));
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// The progress bar of the running recording.
class TProgressBox : public QWidget {
public:
    TProgressBox(QWidget* parent, const TMyAnalyser& window) : QWidget(parent), m_window(window) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (m_window.Progress < 0)
            return;
        const int right = Round(double(width()) * (m_window.Progress + 1) / kAnalyserSamples) - 1;
        if (right >= 0)
            p.fillRect(QRect(QPoint(0, 3), QPoint(right - 1, height() - 2)), TColorToQColor(0x0000FF));
    }

private:
    const TMyAnalyser& m_window;
};

// The display's mouse area (cursor events).
class TDisplayBox : public QWidget {
public:
    explicit TDisplayBox(QWidget* parent) : QWidget(parent) {}
    std::function<void(QMouseEvent*)> OnMouse;

protected:
    void mousePressEvent(QMouseEvent* e) override { OnMouse(e); }
    void mouseMoveEvent(QMouseEvent* e) override { OnMouse(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { OnMouse(e); }
};

// The measuring cursor: a one-pixel line that inverts what lies beneath it as far as it can
// (a white line on the black display).
class TCursorLine : public QWidget {
public:
    explicit TCursorLine(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
    }
};

void SetPanelColour(QWidget* w, int32_t colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, TColorToQColor(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

// --- Channel trace ---------------------------------------------------------------------------

TKanalDisplay::TKanalDisplay(QWidget* parent)
    : QWidget(parent)
{
    resize(200, 20);
}

void TKanalDisplay::SetFill(bool fill)
{
    Fill = fill;
    RequestRepaint(*this);
}

void TKanalDisplay::PaintTrace(QPainter& painter, const std::array<bool, kAnalyserSamples>& samples, int w, int h,
                               const QColor& colour, bool fill)
{
    const auto y = [h](bool high) { return high ? 0 : h - 1; };
    painter.setPen(QPen(colour, 0));
    QPoint pos(0, y(samples[0]));
    QPoint fillStart(1, 1);
    // Fill areas end short of the right and bottom edge, as a rectangle fill does.
    const auto fillTo = [&](int right) {
        if (right > fillStart.x())
            painter.fillRect(QRect(fillStart, QPoint(right - 1, h - 1)), Qt::white);
    };
    for (int i = 1; i < kAnalyserSamples; ++i) {
        const int x = Round(double(i) * w / 101);
        const bool now = samples[size_t(i)];
        if (now != samples[size_t(i - 1)]) {
            if (fill) {
                if (now)
                    fillStart = QPoint(x + 1, 1);
                else
                    fillTo(x);
            }
            const QPoint corner(x, pos.y());
            painter.drawLine(pos, corner);
            pos = QPoint(x, y(now));
            painter.drawLine(corner, pos);
        } else {
            const QPoint next(x, pos.y());
            painter.drawLine(pos, next);
            pos = next;
        }
    }
    if (fill && samples[kAnalyserSamples - 1])
        fillTo(Round(99.0 * w / 101));
}

void TKanalDisplay::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PaintTrace(p, Samples, width(), height(), TColorToQColor(TraceColor), Fill);
}

void TKanalDisplay::mousePressEvent(QMouseEvent* e)
{
    if (OnMouse)
        OnMouse(e, this);
}

void TKanalDisplay::mouseMoveEvent(QMouseEvent* e)
{
    if (OnMouse)
        OnMouse(e, this);
}

void TKanalDisplay::mouseReleaseEvent(QMouseEvent* e)
{
    if (OnMouse)
        OnMouse(e, this);
}

TLabel_D::TLabel_D(QWidget* parent)
    : QLabel(parent)
{
}

void TLabel_D::SetFontColor(int32_t colour)
{
    FontColor = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, TColorToQColor(colour));
    setPalette(pal);
}

// --- Window ----------------------------------------------------------------------------------

TMyAnalyser::TMyAnalyser(QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(Lang3Q("Logikanalyser", "Logic analyser", "Analyseur logique"));
    setMinimumSize(300, 165);
    resize(470, 310);

    P_Display = new QWidget(this);
    SetPanelColour(P_Display, DisplayColor);
    auto* display = new TDisplayBox(P_Display);
    display->OnMouse = [this](QMouseEvent* e) {
        if (e->type() == QEvent::MouseButtonPress)
            CursorPress(e->button(), int(e->position().x()));
        else if (e->type() == QEvent::MouseMove)
            CursorMove(int(e->position().x()));
        else
            CursorRelease(e->button());
    };
    PB_Display = display;
    PB_Display->installEventFilter(this);

    Panel2 = new QWidget(this);
    // The tool panel is a plain form panel, whatever colour the element around it has.
    Panel2->setPalette(QApplication::palette());
    Panel2->setAutoFillBackground(true);
    QFont small = Panel2->font();
    small.setPointSize(8);
    Panel2->setFont(small);
    const auto toolButton = [this](const QIcon& icon, const QString& hint) {
        auto* b = new QToolButton(Panel2);
        b->setIcon(icon);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->resize(23, 22);
        return b;
    };
    ToolBtn = toolButton(RecorderGlyph(TRecorderGlyph::Hide),
                         Lang3Q("Werkzeuge ein/aus", "Show or hide tools", "Outils oui/non"));
    PrintBtn = toolButton(RecorderGlyph(TRecorderGlyph::Print), Lang3Q("Drucken", "Print", "Imprimer"));
    SB_Start = toolButton(StartIcon(), Lang3Q("Start", "Start", "Démarrer"));
    connect(ToolBtn, &QToolButton::clicked, this, [this] { ToolBtnClick(); });
    connect(PrintBtn, &QToolButton::clicked, this, [this] { PrintPreview(); });
    connect(SB_Start, &QToolButton::clicked, this, [this] { SB_StartClick(); });
    cb_Fill = new QCheckBox(QStringLiteral("Flächen &füllen"), Panel2);
    cb_Fill->hide();
    connect(cb_Fill, &QCheckBox::toggled, this, [this] { ApplyFill(); });

    TriggerGroup = new QGroupBox(QStringLiteral("Trigger"), Panel2);
    auto* lamp = new TColorPanel(TriggerGroup);
    P_Color = lamp;
    TriggerBtn = new QToolButton(TriggerGroup);
    TriggerBtn->setToolTip(QStringLiteral("Trigger pos./neg."));
    TriggerBtn->setAutoRaise(true);
    connect(TriggerBtn, &QToolButton::clicked, this, [this] { TriggerBtnClick(); });
    PaintBox1 = new TProgressBox(TriggerGroup, *this);
    TriggerCombo = new QComboBox(TriggerGroup);
    TriggerCombo->setToolTip(QStringLiteral("Trigger"));
    connect(TriggerCombo, &QComboBox::activated, this, [this](int index) { SetTriggerIndex(index); });

    TimebaseGroup = new QGroupBox(QStringLiteral("Timebase"), Panel2);
    RB_System = new QRadioButton(QStringLiteral("Sys"), TimebaseGroup);
    RB_Time = new QRadioButton(QStringLiteral("Time"), TimebaseGroup);
    RB_Ext = new QRadioButton(QStringLiteral("Ext"), TimebaseGroup);
    RB_System->setChecked(true);
    connect(RB_System, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RB_SystemClick();
    });
    connect(RB_Time, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RB_TimeClick();
    });
    connect(RB_Ext, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RB_ExtClick();
    });
    CB_Systemtakt = new QComboBox(TimebaseGroup);
    CB_Systemtakt->setToolTip(QStringLiteral("System clock"));
    CB_Systemtakt->addItems({QStringLiteral("Max"), QStringLiteral("1/2 "), QStringLiteral("1/4"),
                             QStringLiteral("1/10"), QStringLiteral("1/20"), QStringLiteral("1/40"),
                             QStringLiteral("1/100"), QStringLiteral("1/200"), QStringLiteral("1/400"),
                             QStringLiteral("1/1000")});
    CB_TimeBase = new QComboBox(TimebaseGroup);
    CB_TimeBase->setToolTip(QStringLiteral("Timer clock"));
    CB_TimeBase->addItems({QStringLiteral("0.05 s"), QStringLiteral("0.1 s"), QStringLiteral("0.2 s"),
                           QStringLiteral("0.5 s"), QStringLiteral("1 s"), QStringLiteral("2 s"),
                           QStringLiteral("5 s")});
    CB_TimeBase->setEnabled(false);

    m_cursorLine = new TCursorLine(P_Display);
    m_cursorLine->hide();

    for (int i = 0; i < kAnalyserChannels; ++i) {
        auto* channel = new TKanalDisplay(P_Display);
        channel->setGeometry(60, 36 * i + 12, 200, 20);
        channel->OnMouse = [this](QMouseEvent* e, TKanalDisplay* sender) {
            const int x = int(e->position().x()) + Channels[0]->x();
            (void)sender;
            if (e->type() == QEvent::MouseButtonPress)
                CursorPress(e->button(), x);
            else if (e->type() == QEvent::MouseMove)
                CursorMove(x);
            else
                CursorRelease(e->button());
        };
        Channels[size_t(i)] = channel;
        auto* label = new TLabel_D(P_Display);
        label->FontChange = false;
        label->setGeometry(2, channel->y(), 50, 20);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        label->setText(QStringLiteral("Data ") + QString::number(i));
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(9);
        label->setFont(font);
        label->SetFontColor(channel->TraceColor);
        label->installEventFilter(this);
        Labels[size_t(i)] = label;
    }
    CB_TimeBase->setCurrentIndex(0);
    CB_Systemtakt->setCurrentIndex(0);
    FillTriggerList();
    SetTriggerIndex(0);
    Print.Zoom = 0.5;
    Print.ZoomPos = 120;
    Print.Centred = true;
    Print.PrinterIndex = -1;
    SetTriggerPositiv(true);
    SetToolsVisible(true);
    SetAufnahme(false);
}

TMyAnalyser::~TMyAnalyser() = default;

int TMyAnalyser::StepDivider() const
{
    static constexpr int kDividers[] = {0, 1, 3, 9, 19, 39, 99, 199, 399, 999};
    const int i = CB_Systemtakt->currentIndex();
    return i >= 0 && i < int(std::size(kDividers)) ? kDividers[i] : 0;
}

int TMyAnalyser::TickDivider() const
{
    static constexpr int kDividers[] = {1, 2, 4, 10, 20, 40, 100};
    const int i = CB_TimeBase->currentIndex();
    return i >= 0 && i < int(std::size(kDividers)) ? kDividers[i] : 1;
}

void TMyAnalyser::FillTriggerList()
{
    const int keep = TriggerCombo->currentIndex();
    TriggerCombo->clear();
    TriggerCombo->addItem(Lang3Q("Manuell", "Manual", "Manuel"));
    TriggerCombo->addItem(Lang3Q("Schleife", "Loop", "Boucle"));
    TriggerCombo->addItem(Lang3Q("Extern", "External", "Externe"));
    for (const TLabel_D* label : Labels)
        TriggerCombo->addItem(label->text());
    TriggerCombo->setCurrentIndex(keep);
}

void TMyAnalyser::SetAufnahme(bool recording)
{
    Aufnahme = recording;
    static_cast<TColorPanel*>(P_Color)->SetColour(recording ? kLampRecording : kLampIdle);
    if (!recording) {
        Progress = -1;
        ProgressChanged();
    }
}

void TMyAnalyser::ProgressChanged()
{
    // Only a change of the bar's length is worth a repaint.
    const int shown = Progress < 0 ? -1 : Round(double(PaintBox1->width()) * (Progress + 1) / kAnalyserSamples);
    if (shown != m_progressShown) {
        m_progressShown = shown;
        RequestRepaint(*PaintBox1);
    }
}

void TMyAnalyser::RefreshChannels()
{
    for (TKanalDisplay* channel : Channels)
        RequestRepaint(*channel);
}

void TMyAnalyser::SetTriggerPositiv(bool rising)
{
    TriggerPositiv = rising;
    TriggerBtn->setIcon(EdgeIcon(rising));
}

void TMyAnalyser::SetTriggerIndex(int index)
{
    TriggerIndex = index;
    if (TriggerCombo->currentIndex() != index)
        TriggerCombo->setCurrentIndex(index);
    SB_Start->setVisible(index == 0);
}

void TMyAnalyser::SetToolsVisible(bool visible)
{
    ToolsVisible = visible;
    TimebaseGroup->setVisible(visible);
    TriggerGroup->setVisible(visible);
    ToolBtn->setIcon(RecorderGlyph(visible ? TRecorderGlyph::Hide : TRecorderGlyph::Show));
    Relayout();
}

void TMyAnalyser::SetDisplayColor(int32_t colour)
{
    DisplayColor = colour;
    SetPanelColour(P_Display, colour);
}

void TMyAnalyser::SetChannelColor(int channel, int32_t colour)
{
    Channels[size_t(channel)]->TraceColor = colour;
    Labels[size_t(channel)]->SetFontColor(colour);
    Channels[size_t(channel)]->update();
}

void TMyAnalyser::ApplyFill()
{
    for (TKanalDisplay* channel : Channels)
        channel->SetFill(cb_Fill->isChecked());
}

void TMyAnalyser::RB_SystemClick()
{
    CB_Systemtakt->setEnabled(true);
    CB_TimeBase->setEnabled(false);
    SetAufnahme(false);
}

void TMyAnalyser::RB_TimeClick()
{
    CB_Systemtakt->setEnabled(false);
    CB_TimeBase->setEnabled(true);
    SetAufnahme(false);
}

void TMyAnalyser::RB_ExtClick()
{
    CB_Systemtakt->setEnabled(false);
    CB_TimeBase->setEnabled(false);
    SetAufnahme(false);
}

void TMyAnalyser::LayoutPanel()
{
    const int w = ToolsVisible ? kToolsWidth : kToolsHiddenWidth;
    Panel2->setGeometry(width() - w, 0, w, height());
    if (ToolsVisible) {
        ToolBtn->move(2, 2);
        PrintBtn->move(26, 2);
        SB_Start->move(50, 2);
    } else {
        ToolBtn->move(2, 2);
        PrintBtn->move(2, 26);
        SB_Start->move(2, 50);
    }
    TriggerGroup->setGeometry(2, 27, 118, 72);
    P_Color->setGeometry(8, 21, 12, 12);
    TriggerBtn->setGeometry(26, 16, 23, 22);
    PaintBox1->setGeometry(54, 23, 60, 7);
    TriggerCombo->setGeometry(6, 43, 106, 22);
    TimebaseGroup->setGeometry(2, 101, 118, 88);
    // Each clock mode beside the list it enables.
    RB_System->setGeometry(4, 18, 48, 20);
    CB_Systemtakt->setGeometry(52, 17, 62, 22);
    RB_Time->setGeometry(4, 42, 48, 20);
    CB_TimeBase->setGeometry(52, 41, 62, 22);
    RB_Ext->setGeometry(4, 66, 48, 20);
}

void TMyAnalyser::Relayout()
{
    LayoutPanel();
    P_Display->setGeometry(0, 0, std::max(0, width() - Panel2->width()), height());
    PB_Display->setGeometry(P_Display->rect());
    const int h = (PB_Display->height() - 12) / 12;
    const int w = PB_Display->width() - 60;
    ChannelHeight = h;
    ChannelWidth = w;
    for (int i = 0; i < kAnalyserChannels; ++i) {
        TKanalDisplay* channel = Channels[size_t(i)];
        channel->setGeometry(60, i * Round(h * 15.0 / 10) + 12, std::max(0, w), std::max(0, h));
        Labels[size_t(i)]->setGeometry(2, channel->y() + h / 2 - 4, 50, 20);
    }
    m_cursorLine->raise();
}

void TMyAnalyser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        Relayout();
}

void TMyAnalyser::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Relayout();
}

bool TMyAnalyser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && OnDisplayDoubleClick) {
        OnDisplayDoubleClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Cursor ----------------------------------------------------------------------------------

void TMyAnalyser::CursorPress(Qt::MouseButton button, int x)
{
    if (button != Qt::RightButton && button != Qt::MiddleButton)
        return;
    raise();
    CursorX = std::max(x, Channels[0]->x());
    m_cursorLine->setGeometry(CursorX, 0, 1, P_Display->height());
    m_cursorLine->raise();
    m_cursorLine->show();
    CursorShown = true;
}

void TMyAnalyser::CursorMove(int x)
{
    if (!CursorShown)
        return;
    CursorX = std::max(x, Channels[0]->x());
    m_cursorLine->move(CursorX, 0);
}

void TMyAnalyser::CursorRelease(Qt::MouseButton button)
{
    if (button == Qt::LeftButton || !CursorShown)
        return;
    m_cursorLine->hide();
    CursorShown = false;
}

// --- Printing --------------------------------------------------------------------------------

TPrintJob TMyAnalyser::PrintJob()
{
    TPrintJob job{Print, Headline, Comments, {}, {}};
    job.OnSetupPrinter = OnSetupPrinter;
    job.PaintPage = [this](QPainter& painter, const TPageOptions& o) { PaintPrintPage(painter, o); };
    return job;
}

void TMyAnalyser::PrintPreview()
{
    TPrintJob job = PrintJob();
    RunPrintPreview(this, job);
}

bool TMyAnalyser::PrintNow()
{
    TPrintJob job = PrintJob();
    return PrintPageDirect(job);
}

void TMyAnalyser::PaintPrintPage(QPainter& painter, const TPageOptions& o)
{
    if (!BeginInstrumentPage(painter, o, size(), Print.Origin))
        return;
    const int dw = P_Display->width(), dh = P_Display->height();
    // Headline, narrowed to the display's width.
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    int fontHeight = 12;
    font.setPixelSize(fontHeight);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int headWidth = painter.fontMetrics().horizontalAdvance(o.Headline);
    if (headWidth > dw && headWidth > 0) {
        fontHeight = std::max(1, fontHeight * dw / headWidth);
        font.setPixelSize(fontHeight);
        painter.setFont(font);
    }
    const int headY = -Round(fontHeight * 1.5);
    painter.drawText(QPoint((dw - painter.fontMetrics().horizontalAdvance(o.Headline)) / 2,
                            headY + painter.fontMetrics().ascent()),
                     o.Headline);
    font.setBold(false);
    fontHeight = 10;
    font.setPixelSize(fontHeight);
    painter.setFont(font);
    for (const QString& line : o.Comments) {
        const int lw = painter.fontMetrics().horizontalAdvance(line);
        if (lw > dw && lw > 0) {
            fontHeight = std::max(1, fontHeight * dw / lw);
            font.setPixelSize(fontHeight);
            painter.setFont(font);
        }
    }
    for (int i = 0; i < o.Comments.size(); ++i)
        painter.drawText(QPoint(0, fontHeight * (i + 1) + dh), o.Comments.at(i));
    // The display frame and its ground.
    const QColor ground = !o.Background ? QColor(Qt::white)
                          : o.BlackWhite ? TColorToQColor(0xC0C0C0)
                                         : TColorToQColor(DisplayColor);
    painter.setPen(Qt::black);
    painter.setBrush(ground);
    painter.drawRect(QRect(0, 0, dw, dh));
    painter.setBrush(Qt::NoBrush);
    font.setPixelSize(12);
    painter.setFont(font);
    for (int i = 0; i < kAnalyserChannels; ++i) {
        const TKanalDisplay* channel = Channels[size_t(i)];
        painter.save();
        painter.translate(channel->pos());
        painter.setPen(o.BlackWhite ? QColor(Qt::black) : TColorToQColor(0xC0C0C0));
        painter.drawRect(QRect(QPoint(-1, -2), QPoint(channel->width() - 3, channel->height())));
        TKanalDisplay::PaintTrace(painter, channel->Samples, channel->width(), channel->height(),
                                  o.BlackWhite ? QColor(Qt::black) : TColorToQColor(channel->TraceColor), false);
        const TLabel_D* label = Labels[size_t(i)];
        painter.setPen(o.Background && !o.BlackWhite ? TColorToQColor(label->FontColor) : QColor(Qt::black));
        const int tw = painter.fontMetrics().horizontalAdvance(label->text());
        painter.drawText(QPoint(-tw - 10, painter.fontMetrics().ascent()), label->text());
        painter.restore();
    }
    painter.restore();
}
