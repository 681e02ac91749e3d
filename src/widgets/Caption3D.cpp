#include "widgets/Caption3D.h"

#include <algorithm>

namespace {
template <class T>
void Store(TWLXObject& object, T& field, T value)
{
    if (field == value)
        return;
    field = value;
    object.Change();
}
} // namespace

void TWLX3DCaption::SetDisabledStyle(TWLXDisabledStyle value) { Store(*this, m_disabledStyle, value); }
void TWLX3DCaption::SetOrientation(TWLXThreeDOrientation value) { Store(*this, m_orientation, value); }
void TWLX3DCaption::SetStyle(TWLXThreeDStyle value) { Store(*this, m_style, value); }
void TWLX3DCaption::SetTracing(int value) { Store(*this, m_tracing, value); }

void TWLX3DCaption::SetDepth(int index, int value)
{
    if (index == 0 || index == 1)
        Store(*this, m_depth[index], std::clamp(value, 0, 255));
}

void TWLX3DCaption::SetColor(int index, int32_t value)
{
    if (index == 0 || index == 1)
        Store(*this, m_colors[index], value);
}

void TWLX3DCaption::CopyEffect(const TWLX3DCaption& source)
{
    m_disabledStyle = source.m_disabledStyle;
    m_depth[0] = source.m_depth[0];
    m_depth[1] = source.m_depth[1];
    m_colors[0] = source.m_colors[0];
    m_colors[1] = source.m_colors[1];
    m_orientation = source.m_orientation;
    m_style = source.m_style;
    m_tracing = source.m_tracing;
}

void TWLX3DCaption::Assign(const TWLX3DCaption& source)
{
    CopyEffect(source);
    Change();
}

QString TWLX3DCaption::DescriptionText() const
{
    static const char* const kNames[] = {"Disabled", "sunken", "raised", "sunken shadow",
                                         "raised shadow", "PColor sunken", "", "shadow",
                                         "outline", "extrude", "extrude enh"};
    return QStringLiteral("{") + QString::fromLatin1(kNames[int(m_style)]) + QStringLiteral("}");
}

void TWLXFxCaption::SetAngle(int value)
{
    value = std::clamp(value, 0, kAngleMax) % 360;
    Store(*this, m_angle, value);
}

void TWLXFxCaption::SetPos(int index, int value)
{
    if (index == 0 || index == 1)
        Store(*this, m_pos[index], std::clamp(value, 0, 0xFFFF));
}

void TWLXFxCaption::SetPosition(int x, int y)
{
    BeginUpdate();
    SetPos(0, x);
    SetPos(1, y);
    EndUpdate(false);
}

void TWLXFxCaption::Assign(const TWLXFxCaption& source)
{
    CopyEffect(source);
    m_pos[0] = source.m_pos[0];
    m_pos[1] = source.m_pos[1];
    m_angle = source.m_angle;
    Change();
}

QString TWLXFxCaption::DescriptionText() const
{
    QString text = TWLX3DCaption::DescriptionText();
    if (m_angle == 0)
        return text;
    if (Style() == TWLXThreeDStyle::tdNone)
        text = QStringLiteral("{");
    else
        text.replace(text.size() - 1, 1, QStringLiteral(","));
    return text + QStringLiteral(" rot: ") + QString::number(m_angle) + QChar(0x00B0) +
           QStringLiteral("}");
}
