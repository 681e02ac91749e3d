#pragma once
// Button glyphs: one bitmap holding up to five pictures side by side, turned into the picture of
// each button state on demand (cut out, embossed for disabled, four-tone for flat buttons) and
// kept in a strip shared by all glyphs of one size. Also the button styles and states.

#include "widgets/WLXObject.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TCanvas;
class TWLXFxCaption;
class TWLXGlyphTextLayout;
struct TWLXRect;

// Stored in projects and form data: keep the order.
enum class TWLXUserButtonStyle : uint8_t {
    ubsWin31, ubsWin40, ubsDelphi, ubsDelphiFlat, ubsFlat, ubsFlatUnColored, ubsNavigator,
    ubsExplorer, ubsExplorerColored, ubsIntegrated, ubsCombo, ubsOffice, ubsOfficeTransp,
    ubsWin40Ext
};
enum class TWLXArrowPosition : uint8_t { apRightText, apLeftText, apRightGlyph, apLeftGlyph };

// Button state; 5 is never used.
enum class TWLXGraphicButtonState : uint8_t {
    Up = 0, Disabled = 1, Hot = 2, Down = 3, Held = 4, DropDownOpen = 6, DisabledDown = 7
};

// Frame width of a style: the content rectangle is the face inset by it.
int ButtonFrameWidth(TWLXUserButtonStyle style);
// Styles that show a hot face while the mouse is above.
bool HasHotLook(TWLXUserButtonStyle style);
// Reads a style name; the old themed names map to a style and set `themed`. False when unknown.
bool ReadButtonStyle(const QString& name, TWLXUserButtonStyle& style, bool& themed);

// A strip of glyph pictures of one size; freed slots are reused.
class TWLXGlyphList {
public:
    TWLXGlyphList(int width, int height) : m_width(width), m_height(height) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int UseCount() const { return m_useCount; }
    int SlotCount() const { return int(m_images.size()); }

    int AllocSlot();
    int AddGlyph(const QImage& bitmap, int32_t transparentColor);
    void DeleteGlyph(int index);
    const QImage& Image(int index) const { return m_images.at(size_t(index)); }

private:
    int m_width, m_height;
    int m_useCount = 0;
    std::vector<bool> m_used;
    std::vector<QImage> m_images;
};

// The process-wide lists of glyph strips, one per size.
class TWLXGlyphCache {
public:
    TWLXGlyphList* GetList(int width, int height);
    // A list no glyph uses any more is freed.
    void ReturnList(TWLXGlyphList* list);
    bool IsEmpty() const { return m_lists.empty(); }
    int Count() const { return int(m_lists.size()); }

    // The shared cache; null until the first glyph needs it and after the last one left it empty.
    static TWLXGlyphCache* Instance();

private:
    friend class TWLXGlyph;
    std::vector<std::unique_ptr<TWLXGlyphList>> m_lists;
};

class TWLXGlyph {
public:
    TWLXGlyph() = default;
    ~TWLXGlyph();
    TWLXGlyph(const TWLXGlyph&) = delete;
    TWLXGlyph& operator=(const TWLXGlyph&) = delete;

    const QImage& Glyph() const { return m_source; }
    // Takes a copy; a width that is a multiple of the height below 6 pictures sets NumGlyphs.
    void SetGlyph(const QImage& bitmap);
    int NumGlyphs() const { return m_pictureCount; }
    void SetNumGlyphs(int value);   // 1..5
    // 0 normal, 1 grayed when up (flat buttons).
    int Style() const { return m_look; }
    void SetStyle(int value);
    int32_t TransparentColor() const { return m_maskColor; }
    TWLXGlyphList* StripList() const { return m_strip; }

    // The slot that shows `state`, built on demand; -1 without a bitmap.
    int GlyphIndex(TWLXGraphicButtonState state);
    // Frees every built slot and gives the strip back.
    void Invalidate();
    // Glyph and text of the state laid out in rect; gives the focus rectangle.
    TWLXRect Draw(TCanvas& canvas, const QString& text, unsigned format, bool multiLine,
                  unsigned stateFlags, const TWLXGlyphTextLayout& layout,
                  TWLXGraphicButtonState state, const TWLXRect& rect, const TWLXFxCaption* fontFX,
                  const QFont& font);

    TNotifyEvent OnChange;

private:
    QImage m_source;
    int m_indexes[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    TWLXGlyphList* m_strip = nullptr;
    int32_t m_maskColor = 0;
    int m_look = 0;
    int m_pictureCount = 1;
};
