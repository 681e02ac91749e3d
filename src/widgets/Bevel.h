#pragma once
// The border of a control: two bevels with a coloured border between them, a standard border
// style, an edge on chosen sides, or a window-style border. It knows how much room it takes and
// paints itself.

#include "platform/Colors.h"
#include "widgets/Frames.h"
#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

class TCanvas;

class TWLXBevel : public TWLXObject {
public:
    TWLXBevel() = default;

    TWLXBevelStyle StyleInner() const { return m_styleInner; }
    TWLXBevelStyle StyleOuter() const { return m_styleOuter; }
    int WidthInner() const { return m_widthInner; }
    int WidthOuter() const { return m_widthOuter; }
    int32_t BorderColor() const { return m_colors[0]; }
    int32_t LightColor() const { return m_colors[1]; }
    int32_t ShadowColor() const { return m_colors[2]; }
    TWLXFrameSides BorderSides() const { return m_borderSides; }
    int BorderWidth() const { return m_borderWidth; }
    int BorderInnerWidth() const { return m_borderInnerWidth; }
    TWLXEdgeStyle EdgeStyle() const { return m_edgeStyle; }
    TWLXBevelMode Mode() const { return m_mode; }
    TWLXBorderStyle StandardStyle() const { return m_standardStyle; }
    bool OwnerBorder() const { return m_ownerBorder; }

    // bvShadow is set on both styles or on neither.
    void SetStyleInner(TWLXBevelStyle value);
    void SetStyleOuter(TWLXBevelStyle value);
    void SetWidthInner(int value);          // 0..50
    void SetWidthOuter(int value);          // 0..50
    // 0 BorderColor, 1 LightColor, 2 ShadowColor.
    void SetColor(int index, int32_t value);
    void SetBorderColor(int32_t value) { SetColor(0, value); }
    void SetLightColor(int32_t value) { SetColor(1, value); }
    void SetShadowColor(int32_t value) { SetColor(2, value); }
    void SetBorderSides(TWLXFrameSides value);
    void SetBorderWidth(int value);         // 0..255
    void SetBorderInnerWidth(int value);    // 0..255
    void SetEdgeStyle(TWLXEdgeStyle value);
    void SetMode(TWLXBevelMode value);
    // Notifies only in standard mode, where it shows.
    void SetStandardStyle(TWLXBorderStyle value);

    void Assign(const TWLXBevel& source);
    // Recomputes the extents, then notifies.
    void Change() override;
    QString DescriptionText() const override;

    // Border width on the left and top (and on all sides except for the shadow style).
    int ExtentAll() const { return m_extentAll; }
    int ExtentRightBottom() const { return m_extentRightBottom; }
    int BevelExtentOf() const;
    TWLXRect GetInnerRect(const TWLXRect& rect) const;
    // Paints the border into rect and gives the inner rectangle.
    TWLXRect PaintBevel(TCanvas& canvas, const TWLXRect& rect, bool transparent) const;

protected:
    void SetOwnerBorder(bool value) { m_ownerBorder = value; }

private:
    TWLXBevelStyle m_styleInner = TWLXBevelStyle::bvNone;
    TWLXBevelStyle m_styleOuter = TWLXBevelStyle::bvNone;
    int m_widthInner = 1;
    int m_widthOuter = 1;
    int32_t m_colors[3] = {clBtnFace, clBtnHighlight, clBtnShadow};
    TWLXFrameSides m_borderSides = kAllFrameSides;
    int m_borderWidth = 0;
    int m_borderInnerWidth = 0;
    TWLXEdgeStyle m_edgeStyle = TWLXEdgeStyle::etEtched;
    TWLXBevelMode m_mode = TWLXBevelMode::bmCustom;
    TWLXBorderStyle m_standardStyle = TWLXBorderStyle::lsSingleLowered;
    int m_extentAll = 0;
    int m_extentRightBottom = 0;
    bool m_ownerBorder = false;
};

// The bevel of the scroll box and list box: window-style by default, drawn by its owner.
class TWLXScrollBoxBevel : public TWLXBevel {
public:
    TWLXScrollBoxBevel();
};
