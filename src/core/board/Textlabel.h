#pragma once
// A free one-line text placed on the board, with its own font.

#include "core/model/Bauteil.h"

#include <QFont>
#include <functional>

class TText : public TBauteil {
public:
    TV_CLASS_NAME(TText)

    TText();

    int16_t Width = 200;   // text box, board units; recomputed by every paint
    int16_t Height = 200;
    std::function<void(TText*)> OnNeuZeichnen;  // after the settings dialog

    // Font: family and style in Font; the height in the class library's convention (negative:
    // character height, positive: cell height, in board units), stored as it is; the colour as
    // a 0x00BBGGRR integer.
    QFont Font;
    int32_t FontHeight = kDefaultFontHeight;
    int32_t FontColor = 0;

    // Font size 20 at 96 pixels per inch.
    static constexpr int32_t kDefaultFontHeight = -27;

    // The text, at most 50 characters.
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    // Font style as stored: bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out.
    uint8_t FontStyleBits() const;
    void SetFontStyleBits(uint8_t bits);

    void Paint(TCanvas& canvas) override;
    bool HitTest(QPoint devicePoint, TCanvas& canvas) override;
    QPoint* HitEndPoint(QPoint point) override;
    void MoveBy(int32_t dx, int32_t dy) override;
    TRect GetBounds() const override;
    // After the common part, a packed record of 94 bytes: font name (length byte + 31),
    // height (16 bit), style (8 bit), colour (32 bit), X and Y (16 bit each), caption (length
    // byte + 50). Texts are Windows-1252.
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;

private:
    QString m_caption;
};
