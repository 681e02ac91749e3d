#include "widgets/ButtonGlyph.h"

#include "platform/Canvas.h"
#include "widgets/Bitmaps.h"
#include "widgets/Caption3D.h"
#include "widgets/GlyphTextLayout.h"

#include <QPainter>
#include <algorithm>

namespace {
TWLXGlyphCache* g_cache = nullptr;

TWLXGlyphCache& Cache()
{
    if (!g_cache)
        g_cache = new TWLXGlyphCache;
    return *g_cache;
}
} // namespace

int ButtonFrameWidth(TWLXUserButtonStyle style)
{
    using S = TWLXUserButtonStyle;
    switch (style) {
    case S::ubsWin31: return 3;
    case S::ubsWin40: case S::ubsDelphi: case S::ubsDelphiFlat: case S::ubsNavigator:
    case S::ubsIntegrated: case S::ubsWin40Ext: return 2;
    default: return 1;
    }
}

bool HasHotLook(TWLXUserButtonStyle style)
{
    using S = TWLXUserButtonStyle;
    switch (style) {
    case S::ubsDelphi: case S::ubsDelphiFlat: case S::ubsFlat: case S::ubsNavigator:
    case S::ubsExplorer: case S::ubsExplorerColored: case S::ubsOffice: case S::ubsOfficeTransp:
        return true;
    default: return false;
    }
}

bool ReadButtonStyle(const QString& name, TWLXUserButtonStyle& style, bool& themed)
{
    static const char* const kNames[] = {
        "ubsWin31", "ubsWin40", "ubsDelphi", "ubsDelphiFlat", "ubsFlat", "ubsFlatUnColored",
        "ubsNavigator", "ubsExplorer", "ubsExplorerColored", "ubsIntegrated", "ubsCombo",
        "ubsOffice", "ubsOfficeTransp", "ubsWin40Ext"};
    const std::pair<const char*, TWLXUserButtonStyle> kThemed[] = {
        {"ubsWinXP", TWLXUserButtonStyle::ubsWin40},
        {"ubsWinXPCombo", TWLXUserButtonStyle::ubsCombo},
        {"ubsWinXPTool", TWLXUserButtonStyle::ubsExplorer}};
    for (const auto& [n, s] : kThemed) {
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) {
            style = s;
            themed = true;
            return true;
        }
    }
    for (int i = 0; i < int(std::size(kNames)); ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0) {
            style = TWLXUserButtonStyle(i);
            return true;
        }
    }
    return false;
}

// ---- glyph list and cache ----------------------------------------------------------------

int TWLXGlyphList::AllocSlot()
{
    auto free = std::find(m_used.begin(), m_used.end(), false);
    int index = int(free - m_used.begin());
    if (free == m_used.end()) {
        index = int(m_images.size());
        m_images.emplace_back();
        m_used.resize(size_t(index) + 1, false);
    }
    m_used[size_t(index)] = true;
    return index;
}

int TWLXGlyphList::AddGlyph(const QImage& bitmap, int32_t transparentColor)
{
    const int index = AllocSlot();
    Q_UNUSED(transparentColor);   // the picture keeps its bottom-left pixel as the key colour
    m_images[size_t(index)] = bitmap.convertToFormat(QImage::Format_RGB32);
    ++m_useCount;
    return index;
}

void TWLXGlyphList::DeleteGlyph(int index)
{
    if (index < 0 || index >= int(m_used.size()) || !m_used[size_t(index)])
        return;
    --m_useCount;
    m_used[size_t(index)] = false;
}

TWLXGlyphList* TWLXGlyphCache::GetList(int width, int height)
{
    for (auto& list : m_lists)
        if (list->Width() == width && list->Height() == height)
            return list.get();
    m_lists.push_back(std::make_unique<TWLXGlyphList>(width, height));
    return m_lists.back().get();
}

void TWLXGlyphCache::ReturnList(TWLXGlyphList* list)
{
    if (!list || list->UseCount() != 0)
        return;
    std::erase_if(m_lists, [list](const auto& l) { return l.get() == list; });
}

TWLXGlyphCache* TWLXGlyphCache::Instance()
{
    return g_cache;
}

// ---- glyph -------------------------------------------------------------------------------

TWLXGlyph::~TWLXGlyph()
{
    Invalidate();
    if (g_cache && g_cache->IsEmpty()) {
        delete g_cache;
        g_cache = nullptr;
    }
}

void TWLXGlyph::SetGlyph(const QImage& bitmap)
{
    Invalidate();
    m_source = bitmap;
    if (!m_source.isNull() && m_source.height() > 0) {
        m_maskColor = TransparentColorOf(m_source);
        if (m_source.width() % m_source.height() == 0) {
            const int n = m_source.width() / m_source.height();
            m_pictureCount = n < 6 && n > 0 ? n : 1;
        }
    }
    if (OnChange)
        OnChange(this);
}

void TWLXGlyph::SetNumGlyphs(int value)
{
    value = std::clamp(value, 0, 5);
    if (value == m_pictureCount || value == 0)
        return;
    Invalidate();
    m_pictureCount = value;
}

void TWLXGlyph::SetStyle(int value)
{
    if (value == m_look)
        return;
    Invalidate();
    m_look = value;
}

void TWLXGlyph::Invalidate()
{
    for (int& index : m_indexes) {
        if (index >= 0 && m_strip)
            m_strip->DeleteGlyph(index);
        index = -1;
    }
    if (m_strip && g_cache)
        g_cache->ReturnList(m_strip);
    m_strip = nullptr;
}

int TWLXGlyph::GlyphIndex(TWLXGraphicButtonState state)
{
    const int s = int(state);
    int k = s;
    if (s == 1 || s == 7)
        k = 1;
    else if (s >= m_pictureCount)
        k = m_look == 1 ? (s == 6 ? 4 : 2) : 0;
    if (m_indexes[k] >= 0)
        return m_indexes[k];
    if (m_source.isNull() || m_source.width() == 0 || m_source.height() == 0)
        return -1;
    const int w = m_source.width() / m_pictureCount;
    const int h = m_source.height();
    if (!m_strip)
        m_strip = Cache().GetList(w, h);
    QImage picture;
    const QImage first = m_source.copy(0, 0, w, h).convertToFormat(QImage::Format_RGB32);
    if (k >= m_pictureCount || (m_look == 1 && k == 0)) {
        if (k == 0) {
            picture = first;
            if (m_look == 1)
                MakeGrayedImage(picture, first);
        } else if (k == 1 || k == 7) {
            picture = QImage(w, h, QImage::Format_RGB32);
            picture.fill(first.pixel(0, h - 1));
            DrawDisabledImage(picture, first, 0, 0);
        } else if (k >= 2 && k <= 4) {
            picture = first;
        } else {
            return -1;
        }
    } else {
        picture = m_source.copy(k * w, 0, w, h);
    }
    m_indexes[k] = m_strip->AddGlyph(picture, m_maskColor);
    return m_indexes[k];
}

TWLXRect TWLXGlyph::Draw(TCanvas& canvas, const QString& text, unsigned format, bool multiLine,
                         unsigned stateFlags, const TWLXGlyphTextLayout& layout,
                         TWLXGraphicButtonState state, const TWLXRect& rect,
                         const TWLXFxCaption* fontFX, const QFont& font)
{
    const int index = GlyphIndex(state);
    if (index < 0)
        return DrawGlyphText(canvas, text, fontFX, rect, nullptr, {}, nullptr, m_maskColor, false,
                             layout, format, true, multiLine, stateFlags, nullptr, font);
    const QImage& picture = m_strip->Image(index);
    return DrawGlyphText(canvas, text, fontFX, rect, &picture,
                         {0, 0, picture.width(), picture.height()}, nullptr,
                         TransparentColorOf(picture), true, layout, format, true, multiLine,
                         stateFlags, nullptr, font);
}
