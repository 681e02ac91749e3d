#include "widgets/LED.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/WLXTypes.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace {

// The dither pattern shared by every LED: a cell's dim segments show the unlit colour on every
// other pixel. Rebuilt only when the colour pair changes.
struct TPattern {
    QImage image{8, 8, QImage::Format_RGB32};
    int32_t back = -1;
    int32_t inactive = -1;
    const QImage& For(int32_t b, int32_t in)
    {
        if (b != back || in != inactive) {
            back = b;
            inactive = in;
            for (int i = 0; i < 8; ++i)
                for (int j = 0; j < 8; ++j)
                    image.setPixelColor(i, j, TColorToQColor(((i & 1) != (j & 1)) ? b : in));
        }
        return image;
    }
};

TPattern& SharedPattern()
{
    static TPattern pattern;
    return pattern;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

TWLXLED::TWLXLED()
{
    BuildCell();
}

void TWLXLED::SetByteProp(int index, int value)
{
    value = std::clamp(value, 0, 255);
    int* field = index == 1 ? &m_horzsize : index == 2 ? &m_thickness : index == 3 ? &m_vertsize : nullptr;
    if (field) {
        if (*field == value)
            return;
        *field = value;
    }
    BuildCell();
    Change();
}

void TWLXLED::SetColorProp(int index, int32_t value)
{
    int32_t* field = index == 0 ? &m_activeColor : index == 1 ? &m_inActiveColor
                   : index == 2 ? &m_backColor : nullptr;
    if (field) {
        if (*field == value)
            return;
        *field = value;
    }
    // The cell holds the unlit segments only: the lit colour is drawn over it.
    if (index != 0)
        BuildCell();
    Change();
}

void TWLXLED::SetDisabledDigits(bool value)
{
    if (value == m_disabledDigits)
        return;
    m_disabledDigits = value;
    Change();
}

void TWLXLED::Assign(const TWLXLED& source)
{
    m_horzsize = source.m_horzsize;
    m_vertsize = source.m_vertsize;
    m_thickness = source.m_thickness;
    m_disabledDigits = source.m_disabledDigits;
    m_activeColor = source.m_activeColor;
    m_inActiveColor = source.m_inActiveColor;
    BuildCell();
    Change();
}

void TWLXLED::StopBlink()
{
    m_blink = false;
    Change();
}

void TWLXLED::BuildSegments()
{
    const int T = m_thickness, H = m_horzsize, V = m_vertsize;
    const int h = T / 2;
    const int c = (4 * T + H) / 2;
    auto horizontal = [&](int x, int y, int L) {
        return Segment{QPoint(x, y + h), QPoint(x + h, y), QPoint(x + h + L, y),
                       QPoint(x + L + 2 * h, y + h), QPoint(x + h + L, y + 2 * h), QPoint(x + h, y + 2 * h)};
    };
    auto vertical = [&](int x, int y, int L) {
        return Segment{QPoint(x + h, y), QPoint(x + 2 * h, y + h), QPoint(x + 2 * h, y + L + h),
                       QPoint(x + h, y + L + 2 * h), QPoint(x, y + L + h), QPoint(x, y + h)};
    };
    auto set = [&](int bit, const Segment& s, bool valid = true) {
        m_segments[size_t(bit)] = s;
        m_segmentValid[size_t(bit)] = valid;
    };
    auto diagonal = [&](int bit, int x, int y, int dx, int dy) {
        const int s = WLXRound(Sign(dx) * T / 2.0);
        const int t = WLXRound(Sign(dy) * T / 2.0);
        set(bit, Segment{QPoint(x, y), QPoint(x + s, y), QPoint(x + dx, y + dy - t),
                         QPoint(x + dx, y + dy), QPoint(x + dx - s, y + dy), QPoint(x, y + t)},
            dx != 0 && dy != 0);
    };
    auto dot = [&](int bit, int x, int y) {
        set(bit, Segment{QPoint(x + T, y - 1), QPoint(x + T, y + T - 1), QPoint(x, y + T - 1),
                         QPoint(x, y - 1), QPoint(x, y - 1), QPoint(x, y - 1)});
    };
    set(0, horizontal(2 * T, T, H));
    set(1, vertical(T, 2 * T, V));
    set(2, vertical(3 * T + H, 2 * T, V));
    set(3, horizontal(2 * T, 3 * T + V, H));
    set(4, vertical(T, 4 * T + V, V));
    set(5, vertical(3 * T + H, 4 * T + V, V));
    set(6, horizontal(2 * T, 5 * T + 2 * V, H));
    set(7, vertical(c, 2 * T, V));
    set(8, vertical(c, 4 * T + V, V));
    const int r15 = WLXRound(1.5 * T);
    diagonal(9, c - h, 2 * T + V, T - H / 2, T - V);
    diagonal(10, c + r15, 2 * T + V, H / 2 - T, T - V);
    diagonal(11, c - h, 5 * T + V, T - H / 2, V - T);
    diagonal(12, c + r15, 5 * T + V, H / 2 - T, V - T);
    dot(13, c - 1, 3 * T + V);
    dot(14, c - 1, T);
    dot(15, c - 1, 5 * T + 2 * V);
}

void TWLXLED::BuildCell()
{
    BuildSegments();
    m_cell = QImage(std::max(1, DigitCellWidth()), std::max(1, DigitCellHeight()), QImage::Format_RGB32);
    m_cell.fill(TColorToQColor(m_backColor));
    QPainter p(&m_cell);
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(SharedPattern().For(ColorToRGB(m_backColor), ColorToRGB(m_inActiveColor))));
    for (size_t i = 0; i < m_segments.size(); ++i)
        if (m_segmentValid[i])
            p.drawPolygon(m_segments[i].data(), int(m_segments[i].size()), Qt::OddEvenFill);
}

uint16_t TWLXLED::CharacterBits(QChar ch)
{
    auto bits = [](std::initializer_list<int> list) {
        uint16_t b = 0;
        for (int i : list)
            b = uint16_t(b | (1u << i));
        return b;
    };
    switch (ch.toUpper().unicode()) {
    case '0': return bits({0, 1, 2, 4, 5, 6, 9, 12});
    case '1': case 'I': return bits({7, 8});
    case '2': return bits({0, 2, 3, 4, 6});
    case '3': return bits({0, 2, 3, 5, 6});
    case '4': return bits({1, 2, 3, 5});
    case '5': case 'S': return bits({0, 1, 3, 5, 6});
    case '6': case 'G': return bits({0, 1, 3, 4, 5, 6});
    case '7': return bits({0, 2, 5});
    case '8': return bits({0, 1, 2, 3, 4, 5, 6});
    case '9': return bits({0, 1, 2, 3, 5, 6});
    case 'A': return bits({0, 1, 2, 3, 4, 5});
    case 'B': return bits({0, 2, 3, 5, 6, 7, 8});
    case 'C': case '[': return bits({0, 1, 4, 6});
    case 'D': return bits({0, 2, 5, 6, 7, 8});
    case 'E': return bits({0, 1, 3, 4, 6});
    case 'F': return bits({0, 1, 3, 4});
    case 'H': return bits({1, 2, 3, 4, 5});
    case 'J': return bits({2, 4, 5, 6});
    case 'K': return bits({1, 3, 4, 10, 12});
    case 'L': return bits({1, 4, 6});
    case 'M': return bits({1, 2, 4, 5, 9, 10});
    case 'N': return bits({1, 2, 4, 5, 9, 12});
    case 'O': return bits({0, 1, 2, 4, 5, 6});
    case 'P': return bits({0, 1, 2, 3, 4});
    case 'Q': return bits({0, 1, 2, 4, 5, 6, 12});
    case 'R': return bits({0, 1, 2, 3, 4, 12});
    case 'T': return bits({0, 7, 8});
    case 'U': return bits({1, 2, 4, 5, 6});
    case 'V': return bits({1, 4, 10, 11});
    case 'W': return bits({1, 2, 4, 5, 11, 12});
    case 'X': return bits({9, 10, 11, 12});
    case 'Y': return bits({8, 9, 10});
    case 'Z': return bits({0, 6, 10, 11});
    case ']': return bits({0, 2, 5, 6});
    case '(': case '<': return bits({10, 12});
    case ')': case '>': return bits({9, 11});
    case '/': return bits({10, 11});
    case '\\': return bits({9, 12});
    case '*': return bits({7, 8, 9, 10, 11, 12});
    case '+': return bits({3, 7, 8});
    case '-': return bits({3});
    case '=': return bits({3, 6});
    case '_': return bits({6});
    case '\'': return bits({7});
    case '"': return bits({1, 7});
    case ':': return bits({13, 15});
    case '.': return bits({15});
    default: return 0;
    }
}

void TWLXLED::DrawDigits(TCanvas& canvas, const QRect& rect, bool draw, bool enabled, const QString& text)
{
    m_lines = 1;
    m_columns = 1;
    m_text = text;
    const bool extra = m_vertsize > 3 && m_horzsize > 3;
    const bool lit = !m_disabledDigits || enabled;
    QPainter* painter = draw ? canvas.Painter() : nullptr;
    if (painter) {
        canvas.Pen.Color = m_activeColor;
        canvas.Pen.Style = Qt::SolidLine;
        canvas.Pen.Width = 1;
        canvas.Brush.Color = m_activeColor;
        canvas.Brush.Style = Qt::SolidPattern;
    }
    int column = 0;
    int rowTop = rect.top();
    for (QChar ch : text) {
        const ushort u = ch.unicode();
        if (u == 13) {
            ++m_lines;
            rowTop = rect.top() + (m_lines - 1) * DigitCellHeight();
            column = 0;
            continue;
        }
        if (u < 32)
            continue;
        if (painter) {
            if (m_cell.isNull())
                BuildCell();
            const QPoint at(rect.left() + column * DigitCellWidth(), rowTop);
            painter->drawImage(canvas.LPtoDP(at), m_cell);
            uint16_t bits = lit && !(m_blink && !m_blinkPhase) ? CharacterBits(ch) : 0;
            if (!extra)
                bits &= 0x7F;
            for (int b = 0; b < 16; ++b) {
                if (!(bits & (1u << b)) || !m_segmentValid[size_t(b)])
                    continue;
                std::vector<QPoint> pts(m_segments[size_t(b)].begin(), m_segments[size_t(b)].end());
                for (QPoint& p : pts)
                    p += at;
                canvas.Polygon(pts);
            }
        }
        ++column;
        m_columns = std::max(m_columns, column);
    }
    if (m_blink)
        m_blinkPhase = !m_blinkPhase;
}

QRect TWLXLED::MeasureDigits(const QString& text, int bevelWidth)
{
    TCanvas none;
    DrawDigits(none, QRect(), false, true, text);
    return QRect(0, 0, DigitCellWidth() * m_columns + 2 * bevelWidth + 1,
                 DigitCellHeight() * m_lines + 2 * bevelWidth);
}
