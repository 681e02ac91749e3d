#pragma once
// Sixteen-segment LED digits: the segment outlines of one cell from three sizes, a cached cell
// with every segment dim, and text drawn as that cell plus its lit segments.

#include "widgets/WLXObject.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

class TCanvas;

class TWLXLED : public TWLXObject {
public:
    using Segment = std::array<QPoint, 6>;

    TWLXLED();

    int32_t ActiveColor() const { return m_activeColor; }
    int32_t InActiveColor() const { return m_inActiveColor; }
    int32_t BackColor() const { return m_backColor; }
    int Horzsize() const { return m_horzsize; }
    int Thickness() const { return m_thickness; }
    int Vertsize() const { return m_vertsize; }
    bool DisabledDigits() const { return m_disabledDigits; }
    int Lines() const { return m_lines; }
    int Columns() const { return m_columns; }
    const QString& Text() const { return m_text; }

    // 1 Horzsize, 2 Thickness, 3 Vertsize. A new value rebuilds the cell and tells the owner;
    // the same value does nothing.
    void SetByteProp(int index, int value);
    // 0 ActiveColor, 1 InActiveColor, 2 the cell background; the same pattern.
    void SetColorProp(int index, int32_t value);
    void SetActiveColor(int32_t v) { SetColorProp(0, v); }
    void SetInActiveColor(int32_t v) { SetColorProp(1, v); }
    void SetBackColor(int32_t v) { SetColorProp(2, v); }
    void SetHorzsize(int v) { SetByteProp(1, v); }
    void SetThickness(int v) { SetByteProp(2, v); }
    void SetVertsize(int v) { SetByteProp(3, v); }
    void SetDisabledDigits(bool value);
    void Assign(const TWLXLED& source);

    virtual void StartBlink() { m_blink = true; }
    virtual void StopBlink();

    int DigitCellHeight() const { return 2 * m_vertsize + 7 * m_thickness; }
    int DigitCellWidth() const { return m_horzsize + 5 * m_thickness; }
    // Draws (or with draw false only counts) the text from rect's top-left, one cell per
    // character; carriage return starts a new row, other control characters are skipped.
    void DrawDigits(TCanvas& canvas, const QRect& rect, bool draw, bool enabled, const QString& text);
    // (0, 0, width, height) that the text needs inside a bevel of bevelWidth.
    QRect MeasureDigits(const QString& text, int bevelWidth);

    // The segment bits lit by a character (upper and lower case alike); 0 for the others.
    static uint16_t CharacterBits(QChar ch);
    // Segment outlines of one cell (origin at the cell's top-left); a diagonal without extent
    // has no outline (valid false).
    const Segment& SegmentPoints(int bit) const { return m_segments[size_t(bit)]; }
    bool SegmentValid(int bit) const { return m_segmentValid[size_t(bit)]; }
    const QImage& Cell() const { return m_cell; }
    void BuildCell();

private:
    void BuildSegments();
    int32_t m_backColor = 0;
    int32_t m_inActiveColor = 0x008000;
    int32_t m_activeColor = 0x00FF00;
    int m_horzsize = 9;
    int m_thickness = 2;
    int m_vertsize = 7;
    bool m_blink = false;
    bool m_blinkPhase = false;
    bool m_disabledDigits = true;
    int m_lines = 0;
    int m_columns = 0;
    std::array<Segment, 16> m_segments{};
    std::array<bool, 16> m_segmentValid{};
    QImage m_cell;
    QString m_text;
};
