#pragma once
// The lamp widget: a shaded plastic body of a chosen shape with an optional gap ring and inner
// and outer bevelled borders, turned by any angle. The widget's mask follows the lamp's
// outline, so it stands on any background. It renders a lit and an unlit picture whenever a
// property changes and paints the one that LedOn selects. The lamp element and the switch
// element own one; the switch dialog shows one as its preview.

#include <QImage>
#include <QPointF>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

enum TIxLedClass : uint8_t {
    ixlcRect,
    ixlcRound,
    ixlcRomb,
    ixlcHalfCircle,
    ixlcTriangle,
    ixlcTrapezium
};
enum TIxBorderLedStyle : uint8_t { ixblsUp, ixblsDown, ixblsNone };
enum TIxglSubstanceMode : uint8_t { ixsmTile, ixsmStretch };

class TWLXCustomImageList;

class TITemboLED : public QWidget {
public:
    explicit TITemboLED(QWidget* parent = nullptr);

    // Setters ignore unchanged and out-of-range values (negative sizes, depths and gap;
    // plastic depth outside 1..10, glow size outside 0..49, glow strength outside 1..10).
    TIxLedClass LedClass() const { return m_ledClass; }
    void SetLedClass(TIxLedClass value);
    int LedWidth() const { return m_ledWidth; }
    void SetLedWidth(int value);
    int LedHeight() const { return m_ledHeight; }
    void SetLedHeight(int value);
    int32_t LedPlasticColor() const { return m_plasticColor; }
    void SetLedPlasticColor(int32_t value);
    int LedPlasticDepth() const { return m_plasticDepth; }
    void SetLedPlasticDepth(int value);
    bool LedOn() const { return m_on; }
    void SetLedOn(bool value);
    int Gap() const { return m_gap; }
    void SetGap(int value);
    int32_t GapColor() const { return m_gapColor; }
    void SetGapColor(int32_t value);
    TIxBorderLedStyle InnerBorderStyle() const { return m_innerStyle; }
    void SetInnerBorderStyle(TIxBorderLedStyle value);
    TIxBorderLedStyle OuterBorderStyle() const { return m_outerStyle; }
    void SetOuterBorderStyle(TIxBorderLedStyle value);
    int InnerBorderDepth() const { return m_innerDepth; }
    void SetInnerBorderDepth(int value);
    int OuterBorderDepth() const { return m_outerDepth; }
    void SetOuterBorderDepth(int value);
    int32_t BorderColor() const { return m_borderColor; }
    void SetBorderColor(int32_t value);
    // Tenths of a degree, kept in -1799..1800; the lamp turns counter-clockwise on screen.
    int Angle() const { return m_angle; }
    void SetAngle(int value);
    bool EmboON() const { return m_emboOn; }
    void SetEmboON(bool value);
    int EmboSize() const { return m_emboSize; }
    void SetEmboSize(int value);
    int EmboIntensity() const { return m_emboIntensity; }
    void SetEmboIntensity(int value);

    // Textures of the borders (and the gap ring) and of the body; an empty picture removes
    // one. The borders' light and dark sides show the border texture lightened and darkened by
    // 64 per channel; every border part fills by BorderSubsMode.
    const QImage& BorderSubstance() const { return m_borderTexture; }
    void SetBorderSubstance(const QImage& picture);
    const QImage& LedPlasticSubstance() const { return m_bodyTexture; }
    void SetLedPlasticSubstance(const QImage& picture);
    TIxglSubstanceMode BorderSubsMode() const { return m_borderMode; }
    void SetBorderSubsMode(TIxglSubstanceMode value);
    TIxglSubstanceMode LedPlasticSubsMode() const { return m_bodyMode; }
    void SetLedPlasticSubsMode(TIxglSubstanceMode value);
    // A picture of an image list as texture (none when the list has no such picture).
    void TakeBorderSubstance(const TWLXCustomImageList* list, int listIndex, int imageIndex);
    void TakeLedPlasticSubstance(const TWLXCustomImageList* list, int listIndex, int imageIndex);

    // Gap, plus the widths of the borders whose style is not none.
    int Margin() const;
    // Recomputes the widget size from the body size, margin and angle, and the outlines.
    void Layout();
    // While set, the widget is kept at its parent's whole client area (the parent calls
    // FollowParent from its resize handling).
    bool FillsParent = false;
    void FollowParent();

    // The lit and the unlit picture, rendered anew after every change of a property.
    const QImage& LitPicture() const;
    const QImage& UnlitPicture() const;
    // Outline of body (0), body and gap (1), and inner (2) and outer border (3), in widget
    // pixels.
    const std::vector<QPointF>& Outline(int ring) const { return m_outlines[size_t(ring)]; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Marks both pictures for rendering; EnsureRendered renders them when they are needed.
    void Render();
    void EnsureRendered() const;
    QImage RenderState(bool lit) const;
    void Changed(bool relayout);
    bool QuarterAngle() const;
    // At a multiple of 90 degrees: the body size that makes the widget `size`.
    void FitBodyTo(QSize size);

    TIxLedClass m_ledClass = ixlcRect;
    int m_ledWidth = 22;
    int m_ledHeight = 12;
    int32_t m_plasticColor = 0x0000FF;
    int m_plasticDepth = 5;
    bool m_on = false;
    int m_gap = 0;
    int32_t m_gapColor = 0x808080;
    TIxBorderLedStyle m_innerStyle = ixblsNone;
    TIxBorderLedStyle m_outerStyle = ixblsDown;
    int m_innerDepth = 0;
    int m_outerDepth = 2;
    int32_t m_borderColor = 0x808080;
    int m_angle = 0;
    bool m_emboOn = false;
    int m_emboSize = 10;
    int m_emboIntensity = 5;
    QImage m_borderTexture, m_borderLight, m_borderDark, m_bodyTexture;
    TIxglSubstanceMode m_borderMode = ixsmTile;
    TIxglSubstanceMode m_bodyMode = ixsmTile;

    bool m_laidOut = false;   // the first layout happens when the widget is first shown
    bool m_inLayout = false;  // a resize caused by the layout itself
    std::array<std::vector<QPointF>, 4> m_outlines;
    mutable bool m_dirty = true;
    mutable QImage m_lit;
    mutable QImage m_unlit;
};
