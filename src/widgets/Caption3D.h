#pragma once
// Text effect settings: light and shadow copies for sunken and raised text, a drop shadow, an
// outline, an extrusion; the effect caption adds rotation and a position.

#include "platform/Colors.h"
#include "widgets/WLXObject.h"
#include "widgets/WLXTypes.h"

class TWLX3DCaption : public TWLXObject {
public:
    TWLXDisabledStyle DisabledStyle() const { return m_disabledStyle; }
    int LightDepth() const { return m_depth[0]; }
    int ShadowDepth() const { return m_depth[1]; }
    int32_t LightColor() const { return m_colors[0]; }
    int32_t ShadowColor() const { return m_colors[1]; }
    TWLXThreeDOrientation Orientation() const { return m_orientation; }
    TWLXThreeDStyle Style() const { return m_style; }
    int Tracing() const { return m_tracing; }

    void SetDisabledStyle(TWLXDisabledStyle value);
    // 0 LightDepth, 1 ShadowDepth (0..255).
    void SetDepth(int index, int value);
    void SetLightDepth(int v) { SetDepth(0, v); }
    void SetShadowDepth(int v) { SetDepth(1, v); }
    // 0 LightColor, 1 ShadowColor.
    void SetColor(int index, int32_t value);
    void SetLightColor(int32_t v) { SetColor(0, v); }
    void SetShadowColor(int32_t v) { SetColor(1, v); }
    void SetOrientation(TWLXThreeDOrientation value);
    void SetStyle(TWLXThreeDStyle value);
    void SetTracing(int value);

    // Copies every effect setting, the extrusion's orientation included.
    void Assign(const TWLX3DCaption& source);
    QString DescriptionText() const override;

    // The rotation of an effect caption; 0 for a plain 3-D caption.
    virtual int Angle() const { return 0; }

protected:
    void CopyEffect(const TWLX3DCaption& source);

private:
    TWLXDisabledStyle m_disabledStyle = TWLXDisabledStyle::dsAuto;
    int m_depth[2] = {1, 1};
    int32_t m_colors[2] = {clBtnHighlight, clBtnShadow};
    TWLXThreeDOrientation m_orientation = TWLXThreeDOrientation::toTopLeft;
    TWLXThreeDStyle m_style = TWLXThreeDStyle::tdNone;
    int m_tracing = 0;
};

class TWLXFxCaption : public TWLX3DCaption {
public:
    int Angle() const override { return m_angle; }
    int PosX() const { return m_pos[0]; }
    int PosY() const { return m_pos[1]; }
    void SetAngle(int value);               // 0..360; 360 is stored as 0
    // 0 PosX, 1 PosY (0..65535).
    void SetPos(int index, int value);
    // Both, without a change event.
    void SetPosition(int x, int y);
    void Assign(const TWLXFxCaption& source);
    QString DescriptionText() const override;

private:
    int m_angle = 0;
    int m_pos[2] = {0, 0};
};
