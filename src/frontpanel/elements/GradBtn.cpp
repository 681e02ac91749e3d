#include "frontpanel/elements/GradBtn.h"

#include "platform/Colors.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>

#include <algorithm>

namespace {

QColor ResolvedColor(int32_t color)
{
    return TColorToQColor(ColorToRGB(color));
}

// The gradient takes the low three bytes as they stand, without resolving system colours.
QColor RawColor(int32_t color)
{
    return TColorToQColor(color & 0xFFFFFF);
}

} // namespace

TGradBtn::TGradBtn(QWidget* parent)
    : QWidget(parent)
{
    resize(75, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

int32_t TGradBtn::GradientStep(int32_t begin, int32_t end, int i, int n)
{
    if (n <= 0)
        return begin & 0xFFFFFF;
    int32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t b = (begin >> shift) & 0xFF;
        const int64_t e = (end >> shift) & 0xFF;
        const int64_t c = b + (int64_t(i) * (e - b)) / n;
        result |= int32_t(c & 0xFF) << shift;
    }
    return result;
}

QString TGradBtn::DisplayCaption(const QString& caption)
{
    QString out;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            if (caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

void TGradBtn::SwapBeginEnd()
{
    std::swap(m_beginColor, m_endColor);
}

void TGradBtn::SetDown(bool down)
{
    if (down != m_down)
        SwapBeginEnd();
    m_down = down;
    if (down)
        ShowPressed();
    else
        ShowReleased();
    m_lowered = down;
}

void TGradBtn::ShowPressed()
{
    if (SwapColors)
        SwapBeginEnd();
    update();
}

void TGradBtn::ShowReleased()
{
    if (m_lowered)
        return;
    if (SwapColors)
        SwapBeginEnd();
    m_lowered = true;
    update();
}

void TGradBtn::Click()
{
    if (BisteKnopf)
        return;
    m_clicked = true;
    if (SwapColors && !m_lowered)
        SwapBeginEnd();
    m_lowered = true;
    update();
    if (OnClick)
        OnClick();
}

void TGradBtn::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (BisteKnopf || !m_lowered)
        return;
    if (event->button() == Qt::LeftButton) {
        m_lowered = false;
        ShowPressed();
    }
}

void TGradBtn::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    if (BisteKnopf)
        return;
    if (event->button() == Qt::LeftButton && !m_lowered && rect().contains(event->position().toPoint()))
        Click();
    if (m_clicked)
        m_clicked = false;
    else
        ShowReleased();
}

void TGradBtn::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        Click();
}

void TGradBtn::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void TGradBtn::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter();
}

void TGradBtn::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave();
}

bool TGradBtn::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && m_shortcut != 0 &&
        static_cast<QShortcutEvent*>(event)->shortcutId() == m_shortcut) {
        if (isEnabled())
            Click();
        return true;
    }
    return QWidget::event(event);
}

void TGradBtn::PaintGradient(QPainter& painter, int w, int h) const
{
    painter.setPen(Qt::NoPen);
    auto step = [this](int i, int n) { return RawColor(GradientStep(m_beginColor, m_endColor, i, n)); };
    switch (m_gradient) {
    case gsHorizontal:
        for (int i = 0; i < 256; ++i) {
            const int x1 = i * w / 256;
            const int x2 = (i + 1) * w / 256;
            painter.fillRect(x1, 0, x2 - x1, h, step(i, 255));
        }
        break;
    case gsVertical:
        for (int i = 0; i < 256; ++i) {
            const int y1 = i * h / 256;
            const int y2 = (i + 1) * h / 256;
            painter.fillRect(0, y1, w, y2 - y1, step(i, 255));
        }
        break;
    case gsElliptic: {
        const int a = w / 3;
        const int b = h / 3;
        for (int i = 0; i <= 50; ++i) {
            const int t = (w + 2 * a) * i / 100;
            const int u = (h + 2 * b) * i / 100;
            painter.setBrush(step(i, 50));
            painter.drawEllipse(QRect(QPoint(-a + t, -b + u), QPoint(w + a - t - 1, h + b - u - 1)));
        }
        break;
    }
    case gsRectangle: {
        const double sx = w / 2.0 / 255.0;
        const double sy = h / 2.0 / 255.0;
        double l = 0, t = 0, r = w + 2, btm = h + 2;
        for (int i = 0; i <= 255; ++i) {
            l += sx;
            t += sy;
            r -= sx;
            btm -= sy;
            painter.fillRect(QRect(QPoint(int(l), int(t)), QPoint(int(r) - 1, int(btm) - 1)), step(i, 255));
        }
        break;
    }
    case gsVertCenter: {
        const int half = h / 2;
        for (int i = 0; i <= half; ++i) {
            const QColor c = step(i, half);
            painter.fillRect(0, i, w, 1, c);
            painter.fillRect(0, h - 1 - i, w, 1, c);
        }
        break;
    }
    case gsHorizCenter: {
        const int half = w / 2;
        for (int i = 0; i <= half; ++i) {
            const QColor c = step(i, half);
            painter.fillRect(i, 0, 1, h, c);
            painter.fillRect(w - 1 - i, 0, 1, h, c);
        }
        break;
    }
    }
}

QImage TGradBtn::Render() const
{
    const int w = std::max(1, width());
    const int h = std::max(1, height());
    QImage image(w, h, QImage::Format_RGB32);
    QPainter painter(&image);
    PaintGradient(painter, w, h);

    // Frame: one line per pixel of its width, shrinking inwards.
    const QColor topLeft = ResolvedColor(m_lowered ? m_btnShadow : m_btnHilite);
    const QColor bottomRight = ResolvedColor(m_lowered ? m_btnHilite : m_btnShadow);
    for (int k = 0; k < m_frameSize; ++k) {
        const int l = k, t = k, r = w - 1 - k, b = h - 1 - k;
        if (r < l || b < t)
            break;
        painter.fillRect(l, t, r - l + 1, 1, topLeft);
        painter.fillRect(l, t, 1, b - t + 1, topLeft);
        painter.fillRect(l, b, r - l + 1, 1, bottomRight);
        painter.fillRect(r, t, 1, b - t + 1, bottomRight);
    }

    const int d = m_lowered ? 0 : -1;
    const QString shown = DisplayCaption(m_caption);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int tw = metrics.horizontalAdvance(shown);
    const int th = metrics.height();
    int x = d + (w - tw) / 2;
    if (m_justification == jLeft)
        x = d + 2;
    else if (m_justification == jRight)
        x = w + d - tw - 2;
    const int y = d + (h - th) / 2;
    auto copy = [&](int dx, int dy, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(QRect(x + dx, y + dy, tw + 2, th), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic,
                         m_caption);
    };
    const QColor main = ResolvedColor(isEnabled() ? m_fontColor : m_disabledColor);
    const TTextStyle style = isEnabled() ? m_textStyle : tsInset;
    switch (style) {
    case tsNormal:
        break;
    case tsRaised:
        copy(-1, -1, ResolvedColor(m_txtHilite));
        if (m_shadeType == stHeavy)
            copy(1, 1, ResolvedColor(m_txtShadow));
        break;
    case tsInset:
        if (m_shadeType == stHeavy)
            copy(-1, -1, ResolvedColor(m_txtShadow));
        copy(1, 1, ResolvedColor(m_txtHilite));
        break;
    }
    copy(0, 0, main);
    if (ShowFocus && hasFocus()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(2, 2, w - 5, h - 5);
    }
    return image;
}

void TGradBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Render());
    if (parentWidget() && parentWidget()->hasFocus()) {
        painter.setPen(Qt::red);
        painter.setBrush(Qt::red);
        painter.drawPolygon(QPolygon({QPoint(3, 0), QPoint(5, 5), QPoint(0, 3)}));
    }
}

// --- Properties -----------------------------------------------------------------------------

#define TGRADBTN_SETTER(Name, field)                                                           \
    void TGradBtn::Name(decltype(field) value)                                                 \
    {                                                                                          \
        field = value;                                                                         \
        update();                                                                              \
    }

TGRADBTN_SETTER(SetDisabledColor, m_disabledColor)
TGRADBTN_SETTER(SetBtnHiliteClr, m_btnHilite)
TGRADBTN_SETTER(SetBtnShadowClr, m_btnShadow)
TGRADBTN_SETTER(SetTxtHiliteClr, m_txtHilite)
TGRADBTN_SETTER(SetTxtShadowClr, m_txtShadow)
TGRADBTN_SETTER(SetBeginColor, m_beginColor)
TGRADBTN_SETTER(SetEndColor, m_endColor)
TGRADBTN_SETTER(SetGradientStyle, m_gradient)
TGRADBTN_SETTER(SetTextStyle, m_textStyle)
TGRADBTN_SETTER(SetTextShadeType, m_shadeType)
TGRADBTN_SETTER(SetJustification, m_justification)
TGRADBTN_SETTER(SetFontColor, m_fontColor)

#undef TGRADBTN_SETTER

void TGradBtn::SetCaption(const QString& caption)
{
    m_caption = caption;
    if (m_shortcut != 0)
        releaseShortcut(m_shortcut);
    const QKeySequence accelerator = QKeySequence::mnemonic(caption);
    m_shortcut = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
    update();
}

void TGradBtn::SetBtnFrameSize(int size)
{
    if (size == m_frameSize || size < 0 || size > std::min(width(), height()) / 2 - 5)
        return;
    m_frameSize = size;
    update();
}
