#include "ui/OwnerDrawButton.h"

#include "widgets/Bitmaps.h"
#include "platform/Colors.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <utility>

namespace {

// Key colour of the generated stock glyphs: the bottom-left pixel, hence transparent.
constexpr QRgb kGlyphKey = 0xFFFF00FF;

void FillPixels(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c, bool dotted)
{
    // A horizontal or vertical run of pixels from (x1, y1) to (x2, y2), both included.
    if (!dotted) {
        p.fillRect(QRect(QPoint(x1, y1), QPoint(x2, y2)), c);
        return;
    }
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            if (((x + y) & 1) == 0)
                p.fillRect(x, y, 1, 1, c);
}

// Makes the pixels of the bottom-left pixel's colour transparent.
QImage Transparent(const QImage& image)
{
    return WithoutKeyColor(image, QPoint(0, image.height() - 1));
}

// The shape of an image (every visible pixel) in one colour.
QImage Silhouette(const QImage& image, const QColor& color)
{
    QImage out(image.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                out.setPixelColor(x, y, color);
    return out;
}

// Glyph count for a bitmap of images side by side: kept when it cannot be told.
void UpdateGlyphCount(const QImage& glyph, int& count)
{
    if (glyph.isNull())
        return;
    const int w = glyph.width();
    const int h = glyph.height();
    if (w < h || w / h < 2)
        count = 1;
    else if (w % h == 0)
        count = w / h > 4 ? 1 : w / h;
}

// The small stock glyphs, drawn here: grey when normal, coloured when hot.
QImage StockGlyph(TOrvinCustomButton::TKind kind, bool hot)
{
    using B = TOrvinCustomButton;
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(kGlyphKey);
    QColor color(128, 128, 128);
    if (hot) {
        switch (kind) {
        case B::skOK: case B::skYes: case B::skAll: case B::skRetry: color = QColor(0, 128, 0); break;
        case B::skCancel: case B::skAbort: case B::skNo: color = QColor(192, 0, 0); break;
        case B::skHelp: case B::skIgnore: color = QColor(0, 0, 192); break;
        case B::skClose: color = QColor(128, 96, 0); break;
        default: color = QColor(224, 128, 0); break;
        }
    }
    QPainter p(&img);
    p.setPen(QPen(color, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    switch (kind) {
    case B::skOK:
    case B::skYes:
        p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 11), QPoint(12, 4)}));
        break;
    case B::skAll:
        p.drawPolyline(QPolygon({QPoint(2, 8), QPoint(4, 10), QPoint(9, 4)}));
        p.drawPolyline(QPolygon({QPoint(6, 9), QPoint(8, 11), QPoint(13, 5)}));
        break;
    case B::skCancel:
    case B::skAbort:
        p.drawLine(4, 4, 11, 11);
        p.drawLine(11, 4, 4, 11);
        break;
    case B::skNo:
        p.drawEllipse(QRect(3, 3, 10, 10));
        p.drawLine(5, 11, 11, 5);
        break;
    case B::skHelp:
        p.drawArc(QRect(4, 2, 7, 6), 180 * 16, -270 * 16);
        p.drawLine(8, 8, 8, 10);
        p.drawPoint(8, 13);
        break;
    case B::skClose:
        p.drawRect(QRect(3, 2, 6, 11));
        p.drawLine(7, 8, 13, 8);
        p.drawLine(11, 6, 13, 8);
        p.drawLine(11, 10, 13, 8);
        break;
    case B::skRetry:
        p.drawArc(QRect(3, 3, 10, 10), 90 * 16, 270 * 16);
        p.drawLine(8, 3, 11, 2);
        p.drawLine(8, 3, 10, 6);
        break;
    case B::skIgnore:
        p.drawLine(3, 8, 12, 8);
        p.drawLine(9, 5, 12, 8);
        p.drawLine(9, 11, 12, 8);
        break;
    case B::skSilly:
        p.drawEllipse(QRect(2, 2, 12, 12));
        p.drawPoint(6, 6);
        p.drawPoint(10, 6);
        p.drawArc(QRect(5, 6, 6, 5), 200 * 16, 140 * 16);
        break;
    case B::skCustom:
        break;
    }
    return img;
}

QString StockCaption(TOrvinCustomButton::TKind kind)
{
    using B = TOrvinCustomButton;
    switch (kind) {
    case B::skOK: return u"OK"_qs;
    case B::skCancel: return u"Cancel"_qs;
    case B::skHelp: return u"&Help"_qs;
    case B::skYes: return u"&Yes"_qs;
    case B::skNo: return u"&No"_qs;
    case B::skClose: return u"&Close"_qs;
    case B::skAbort: return u"Abort"_qs;
    case B::skRetry: return u"&Retry"_qs;
    case B::skIgnore: return u"&Ignore"_qs;
    case B::skAll: return u"&All"_qs;
    case B::skSilly: return u"&Silly"_qs;
    case B::skCustom: break;
    }
    return QString();
}

// The "Strela" mark: a small arrow pointing down, 5 x 3 pixels.
void DrawMark(QPainter& p, int x, int y, const QColor& color)
{
    for (int row = 0; row < 3; ++row)
        p.fillRect(x + row, y + row, 5 - 2 * row, 1, color);
}

} // namespace

void DrawFrame3D(QPainter& painter, QRect& r, const QColor& topLeft, const QColor& bottomRight,
                 int width, bool dotted)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
        // Each pixel once, so that an inverting pen works too.
        FillPixels(painter, l, t, rt - 1, t, topLeft, dotted);       // top row but its last
        if (b - 1 >= t + 1)
            FillPixels(painter, l, t + 1, l, b - 1, topLeft, dotted); // left column between
        FillPixels(painter, rt, t, rt, b, bottomRight, dotted);      // right column
        if (b > t)
            FillPixels(painter, l, b, rt - 1, b, bottomRight, dotted); // bottom row but its last
        r.adjust(1, 1, -1, -1);
    }
}

// --- TOrvinCustomButton ----------------------------------------------------------------------

TOrvinCustomButton::TOrvinCustomButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_color(clBtnFace)
    , m_marginLeftTop(clBtnHighlight)
    , m_marginRightBottom(clBtnShadow)
    , m_hotTrackColor(clBlue)
    , m_startTimer(new QTimer(this))
    , m_repeatTimer(new QTimer(this))
{
    resize(75, 25);
    setFocusPolicy(Qt::TabFocus);
    m_startTimer->setObjectName(u"RepeatStartTimer"_qs);
    m_startTimer->setSingleShot(true);
    m_repeatTimer->setObjectName(u"RepeatTimer"_qs);
    connect(m_startTimer, &QTimer::timeout, this, [this] { RepeatStartTick(); });
    connect(m_repeatTimer, &QTimer::timeout, this, [this] { RepeatTick(); });
    if (qApp)
        connect(qApp, &QApplication::focusChanged, this, [this] {
            const bool active = IsActiveDefault();
            if (active != m_defaultStyle)
                SetButtonStyle(active);
        });
}

TOrvinCustomButton::~TOrvinCustomButton() = default;

void TOrvinCustomButton::SetButtonStyle(bool isDefault)
{
    m_defaultStyle = isDefault;
}

// --- Properties ------------------------------------------------------------------------------

void TOrvinCustomButton::SetButtonKind(TKind kind)
{
    m_kind = kind;
    if (kind != skCustom) {
        m_glyph = StockGlyph(kind, false);
        m_glyphHot = StockGlyph(kind, true);
        m_numGlyphs = 1;
        m_numGlyphsHot = 1;
        setText(StockCaption(kind));
        m_default = kind == skOK || kind == skYes;
        m_cancel = kind == skCancel || kind == skNo;
        WatchWindow();
    }
    update();
}

void TOrvinCustomButton::SetButtonStyle(TStyle style)
{
    m_style = style;
    if (UsesButtonFace()) {
        m_color = clBtnFace;
        m_parentColor = false;
    }
    update();
}

void TOrvinCustomButton::SetColor(int32_t color)
{
    m_color = UsesButtonFace() ? clBtnFace : color;
    m_parentColor = false;
    update();
}

void TOrvinCustomButton::SetParentColor(bool value)
{
    m_parentColor = value && !UsesButtonFace();
    update();
}

void TOrvinCustomButton::SetColorMarginLeftTop(int32_t color)
{
    m_marginLeftTop = color;
    int32_t lt = 0, rb = 0;
    StyleMarginColors(lt, rb);
    if (color != lt)
        m_marginStyle = cmCustom;
    update();
}

void TOrvinCustomButton::SetColorMarginRightBottom(int32_t color)
{
    m_marginRightBottom = color;
    int32_t lt = 0, rb = 0;
    StyleMarginColors(lt, rb);
    if (color != rb)
        m_marginStyle = cmCustom;
    update();
}

void TOrvinCustomButton::SetColorMarginStyle(TColorMarginDefault style)
{
    m_marginStyle = style;
    update();
}

void TOrvinCustomButton::SetGlyph(const QImage& glyph)
{
    m_glyph = glyph;
    UpdateGlyphCount(glyph, m_numGlyphs);
    m_kind = skCustom;
    update();
}

void TOrvinCustomButton::SetGlyphHot(const QImage& glyph)
{
    m_glyphHot = glyph;
    UpdateGlyphCount(glyph, m_numGlyphsHot);
    m_kind = skCustom;
    update();
}

void TOrvinCustomButton::SetNumGlyphs(int count)
{
    m_numGlyphs = std::clamp(count, 1, 4);
    update();
}

void TOrvinCustomButton::SetNumGlyphsHot(int count)
{
    m_numGlyphsHot = std::clamp(count, 1, 4);
    update();
}

void TOrvinCustomButton::SetLayout(TLayout layout) { m_layout = layout; update(); }
void TOrvinCustomButton::SetSpacing(int pixels) { m_spacing = pixels; update(); }
void TOrvinCustomButton::SetSpacingLayout(int pixels) { m_spacingLayout = pixels; update(); }
void TOrvinCustomButton::SetHotTrack(bool value) { m_hotTrack = value; update(); }
void TOrvinCustomButton::SetHotTrackColor(int32_t color) { m_hotTrackColor = color; update(); }
void TOrvinCustomButton::SetRepeatAction(bool value) { m_repeatAction = value; }
void TOrvinCustomButton::SetRepeatInterval(int ms) { m_repeatInterval = ms; }
void TOrvinCustomButton::SetRepeatStartInterval(int ms) { m_repeatStartInterval = ms; }
void TOrvinCustomButton::SetPositionPopup(TPositionPopup position) { m_positionPopup = position; }
void TOrvinCustomButton::SetPopupMenuMark(bool value) { m_popupMenuMark = value; update(); }
void TOrvinCustomButton::SetPopupMenuMarkGap(int gap) { m_popupMenuMarkGap = std::clamp(gap, 1, 5); update(); }
void TOrvinCustomButton::SetCursorHandCustom(bool value) { m_cursorHand = value; }
void TOrvinCustomButton::SetPlayMusic(bool value) { m_playMusic = value; }
void TOrvinCustomButton::SetShowFocused(bool value) { m_showFocused = value; update(); }

void TOrvinCustomButton::SetPopupMenu(QMenu* menu)
{
    disconnect(m_menuHidden);
    m_popupMenu = menu;
    if (menu)
        m_menuHidden = connect(menu, &QMenu::aboutToHide, this, [this] {
            m_down = false;
            StopTimers();
            update();
        });
}

void TOrvinCustomButton::SetDefault(bool value)
{
    m_default = value;
    WatchWindow();
}

void TOrvinCustomButton::SetCancel(bool value)
{
    m_cancel = value;
    WatchWindow();
}

void TOrvinCustomButton::SetHintSecondLine(const QString& line)
{
    m_hintSecondLine = line;
    if (!toolTip().isEmpty())
        setToolTip(toolTip() + u'\n' + line);
}

int TOrvinCustomButton::HelpContext() const
{
    return property("HelpContext").toInt();
}

void TOrvinCustomButton::SetHelpContext(int context)
{
    setProperty("HelpContext", context);
}

QSize TOrvinCustomButton::sizeHint() const
{
    return {75, 25};
}

// --- Style tables ----------------------------------------------------------------------------

bool TOrvinCustomButton::IsFocusStyle() const
{
    return m_style == stDefault || m_style == stRaised || m_style == stFrameLowered
        || m_style == stFrameRaised;
}

bool TOrvinCustomButton::UsesButtonFace() const
{
    return m_style == stDefault || m_style == stFrameLowered || m_style == stFrameRaised;
}

int TOrvinCustomButton::FrameWidth() const
{
    const bool hot = m_hot || m_down;
    switch (m_style) {
    case stFlat:
    case stFlatDot:
        return hot ? 1 : 0;
    case stNone:
        return 0;
    case stRaisedDot:
        return 2;
    default:
        return 1;
    }
}

int32_t TOrvinCustomButton::BackgroundColor() const
{
    if (UsesButtonFace())
        return clBtnFace;
    if (m_parentColor && parentWidget())
        return QColorToTColor(parentWidget()->palette().color(parentWidget()->backgroundRole()));
    return m_color;
}

void TOrvinCustomButton::MarginColors(int32_t& leftTop, int32_t& rightBottom) const
{
    if (m_marginStyle == cmCustom) {
        leftTop = m_marginLeftTop;
        rightBottom = m_marginRightBottom;
        return;
    }
    StyleMarginColors(leftTop, rightBottom);
}

void TOrvinCustomButton::StyleMarginColors(int32_t& leftTop, int32_t& rightBottom) const
{
    switch (m_style) {
    case stDefault:
        leftTop = clBtnHighlight;
        rightBottom = clBlack;
        break;
    case stFrameLowered:
        leftTop = clBtnShadow;
        rightBottom = clBtnHighlight;
        break;
    default:
        leftTop = clBtnHighlight;
        rightBottom = clBtnShadow;
        break;
    }
}

// --- Painting --------------------------------------------------------------------------------

void TOrvinCustomButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor background = TColorToQColor(BackgroundColor());
    int32_t lt = 0, rb = 0;
    MarginColors(lt, rb);
    if (IsPressed())
        std::swap(lt, rb);

    QRect r = rect();
    p.fillRect(r, background);
    DrawFrame3D(p, r, TColorToQColor(lt), TColorToQColor(rb), FrameWidth(),
                m_style == stFlatDot || m_style == stRaisedDot);
    p.fillRect(r, background);

    if (m_style == stFrameRaised)
        r.adjust(1, 1, -1, -1);
    if (UsesButtonFace()) {
        const QColor light = TColorToQColor(clBtnHighlight);
        const QColor dark = TColorToQColor(clBtnShadow);
        QRect edge = r;
        if (IsPressed())
            DrawFrame3D(p, edge, dark, light, 1);
        else
            DrawFrame3D(p, edge, light, dark, 1);
    }

    QRect client = rect();
    if (m_style == stFrameRaised)
        client.adjust(1, 1, -1, -1);
    DrawGlyphAndCaption(p, client);

    if (IsFocusStyle() && m_showFocused && hasFocus()) {
        // A dotted rectangle 3 pixels inside, inverting what is below it.
        QRect focus = rect().adjusted(3, 3, -3, -3);
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        DrawFrame3D(p, focus, Qt::white, Qt::white, 1, true);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void TOrvinCustomButton::DrawGlyphAndCaption(QPainter& p, const QRect& client)
{
    const bool useHot = m_hot && !m_glyphHot.isNull();
    const QImage& bitmap = useHot ? m_glyphHot : m_glyph;
    const int count = std::max(1, useHot ? m_numGlyphsHot : m_numGlyphs);
    const bool hasGlyph = !bitmap.isNull();
    const bool hasCaption = !text().isEmpty();
    const int shift = IsPressed() ? 1 : 0;

    const int L = client.left(), T = client.top();
    const int W = client.width(), H = client.height();
    int gw = 0, gh = 0;
    if (hasGlyph) {
        gw = bitmap.width() / count;
        gh = bitmap.height();
    }
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic | Qt::TextExpandTabs, text());
    const int tw = textSize.width(), th = textSize.height();

    int gx = 0, gy = 0, tx = 0, ty = 0;
    bool mark = false;
    if (hasGlyph && !hasCaption) {
        gx = L + (W - gw) / 2;
        gy = T + (H - gh) / 2;
        if (m_popupMenuMark) {
            gx -= 5;
            mark = true;
        }
    } else if (hasGlyph) {
        switch (m_layout) {
        case blGlyphLeft:
            gx = L + (W - tw - gw) / 2 - m_spacingLayout;
            gy = T + (H - gh) / 2;
            tx = gx + gw + m_spacing;
            ty = gy + (gh - th) / 2;
            break;
        case blGlyphRight:
            gx = L + (W + tw - gw) / 2 + m_spacingLayout;
            gy = T + (H - gh) / 2;
            tx = gx - tw - m_spacing;
            ty = gy + (gh - th) / 2;
            break;
        case blGlyphTop:
            gx = L + (W - gw) / 2;
            gy = T + (H - gh) / 2 - th / 2 - m_spacingLayout;
            tx = gx + (gw - tw) / 2;
            ty = gy + gh + m_spacing;
            mark = m_popupMenuMark;
            break;
        case blGlyphBottom:
            gx = L + (W - gw) / 2;
            gy = T + (H - gh) / 2 + th / 2 + m_spacingLayout;
            tx = gx + (gw - tw) / 2;
            ty = gy - 8 - m_spacing - th / 2;
            mark = m_popupMenuMark;
            break;
        }
    }

    if (hasGlyph) {
        const bool ownDisabledImage = count >= 2;
        const int index = (!isEnabled() && ownDisabledImage) ? 1 : 0;
        const QImage image = Transparent(bitmap).copy(index * gw, 0, gw, gh);
        const QPoint at(gx + shift, gy + shift);
        if (isEnabled() || ownDisabledImage) {
            p.drawImage(at, image);
        } else {
            p.drawImage(at + QPoint(1, 1), Silhouette(image, TColorToQColor(clBtnHighlight)));
            p.drawImage(at, Silhouette(image, TColorToQColor(clBtnShadow)));
        }
        if (mark) {
            const int mx = gx + gw + m_popupMenuMarkGap + shift;
            const int my = gy + (gh - 3) / 2 + shift;
            if (isEnabled()) {
                DrawMark(p, mx, my, palette().color(foregroundRole()));
            } else {
                DrawMark(p, mx + 1, my + 1, TColorToQColor(clBtnHighlight));
                DrawMark(p, mx, my, TColorToQColor(clBtnShadow));
            }
        }
    }

    if (hasCaption) {
        const QRect textRect = hasGlyph ? QRect(tx + shift, ty + shift, tw, th)
                                        : client.translated(shift, shift);
        DrawCaption(p, textRect);
    }
}

void TOrvinCustomButton::DrawCaption(QPainter& p, const QRect& r)
{
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextExpandTabs;
    p.setFont(font());
    if (!isEnabled()) {
        p.setPen(TColorToQColor(clBtnHighlight));
        p.drawText(r.translated(1, 1), flags, text());
        p.setPen(TColorToQColor(clBtnShadow));
        p.drawText(r, flags, text());
        return;
    }
    const bool hot = m_hotTrack && (m_hot || m_down);
    p.setPen(hot ? TColorToQColor(m_hotTrackColor) : palette().color(QPalette::ButtonText));
    p.drawText(r, flags, text());
}

// --- Clicking --------------------------------------------------------------------------------

void TOrvinCustomButton::Click()
{
    QPointer<TOrvinCustomButton> self(this);
    emit clicked(false);
    if (!self)
        return;
    DoKindAction();
    if (self && m_popupMenu && isEnabled())
        OpenPopup();
}

void TOrvinCustomButton::DoKindAction()
{
    int result = 0;
    switch (m_kind) {
    case skOK: result = 1; break;
    case skCancel: result = 2; break;
    case skAbort: result = 3; break;
    case skRetry: result = 4; break;
    case skIgnore: result = 5; break;
    case skYes: result = 6; break;
    case skNo: result = 7; break;
    case skAll: result = 8; break;
    case skHelp:
        for (QWidget* w = this; w; w = w->parentWidget()) {
            const int context = w->property("HelpContext").toInt();
            if (context != 0) {
                ShowHelp(context);
                break;
            }
        }
        return;
    case skClose:
        window()->close();
        return;
    case skCustom:
    case skSilly:
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(window())) {
        SetModalResult(*dialog, result);
        dialog->done(result);
    }
}

QPoint TOrvinCustomButton::PopupPosition(int menuWidth) const
{
    switch (m_positionPopup) {
    case puLeft:
        return mapToGlobal(QPoint(-1 - menuWidth, 0));
    case puRight:
        return mapToGlobal(QPoint(width() + 1, 0));
    case puDown:
        break;
    }
    return mapToGlobal(QPoint(-1, height()));
}

void TOrvinCustomButton::OpenPopup()
{
    QMenu* menu = m_popupMenu.data();
    if (!menu)
        return;
    menu->popup(PopupPosition(menu->sizeHint().width()));
}

void TOrvinCustomButton::StopTimers()
{
    m_startTimer->stop();
    m_repeatTimer->stop();
}

void TOrvinCustomButton::RepeatStartTick()
{
    m_startTimer->stop();
    if (m_repeatAction && m_down)
        m_repeatTimer->start(m_repeatInterval);
}

void TOrvinCustomButton::RepeatTick()
{
    if (m_repeatAction && m_down)
        emit clicked(false);
    else
        m_repeatTimer->stop();
}

// --- Mouse -----------------------------------------------------------------------------------

void TOrvinCustomButton::SetHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    update();
}

void TOrvinCustomButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    if (!isEnabled())
        return;
    if (OnMouseOver)
        OnMouseOver();
    if (IsFocusStyle() && m_popupMenu)
        setFocus(Qt::MouseFocusReason);
    if (m_cursorHand)
        setCursor(Qt::PointingHandCursor);
    SetHot(true);
}

void TOrvinCustomButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    if (!isEnabled())
        return;
    if (OnMouseOut)
        OnMouseOut();
    unsetCursor();
    StopTimers();
    SetHot(false);
}

void TOrvinCustomButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        event->ignore();
        return;
    }
    m_down = true;
    m_hot = true;
    if (m_repeatAction)
        m_startTimer->start(m_repeatStartInterval);
    update();
    if (m_popupMenu)
        OpenPopup();
}

void TOrvinCustomButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_down)
        return;
    // While the button is held, the mouse leaving or re-entering changes the drawing.
    const bool inside = rect().contains(event->position().toPoint());
    if (!inside)
        StopTimers();
    SetHot(inside);
}

void TOrvinCustomButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const bool wasDown = std::exchange(m_down, false);
    StopTimers();
    if (!isEnabled() || !rect().contains(event->position().toPoint())) {
        update();
        return;
    }
    SetHot(true);
    update();
    if (IsFocusStyle())
        setFocus(Qt::MouseFocusReason);
    if (wasDown)
        Click();
}

void TOrvinCustomButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press and release clicked already; the second press clicks once more.
    if (event->button() == Qt::LeftButton && isEnabled())
        Click();
}

// --- Keys ------------------------------------------------------------------------------------

bool TOrvinCustomButton::CanTakeFocus() const
{
    return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus;
}

bool TOrvinCustomButton::IsActiveDefault() const
{
    if (hasFocus())
        return true;
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == window() && qobject_cast<TOrvinCustomButton*>(focus))
        return false;
    return m_default;
}

void TOrvinCustomButton::WatchWindow()
{
    QWidget* w = window();
    if (w == this)
        w = nullptr;
    if (m_watchedWindow == w)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = w;
    if (w)
        w->installEventFilter(this);
}

static bool PlainKey(const QKeyEvent* event)
{
    return (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        == 0;
}

void TOrvinCustomButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (PlainKey(event) && isEnabled()) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space
            || (key == Qt::Key_Escape && m_cancel)) {
            event->accept();
            Click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void TOrvinCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
}

bool TOrvinCustomButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_watchedWindow && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (PlainKey(key) && CanTakeFocus()) {
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if ((enter && IsActiveDefault()) || (key->key() == Qt::Key_Escape && m_cancel)) {
                Click();
                return true;
            }
        }
    }
    return QAbstractButton::eventFilter(watched, event);
}

bool TOrvinCustomButton::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        // The accelerator character of the caption.
        if (isEnabled())
            Click();
        return true;
    case QEvent::ParentChange:
    case QEvent::Show:
        WatchWindow();
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

void TOrvinCustomButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_hot = false;
        m_down = false;
        StopTimers();
    }
    QAbstractButton::changeEvent(event);
    update();
}

// --- TOrvinButton ----------------------------------------------------------------------------

TOrvinButton::TOrvinButton(QWidget* parent)
    : TOrvinCustomButton(parent)
{
}
