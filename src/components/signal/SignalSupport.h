#pragma once
// Small pieces the signal blocks share: centred marks in the body, the symbol pen, the short
// number of a symbol and the settings dialog titled with the type name.

#include "core/model/GrundBT.h"

#include <QString>
#include <functional>

class TPropScrollbox;

namespace SignalSupport {
// A block without front-panel element, with or without settings.
void MakeBlock(TIOBauteil& c, bool editable);
// A mark text in the body, centred horizontally on cx, its top at y.
void DrawCentredMark(const TGrundBT& c, TCanvas& canvas, int cx, int y, int height,
                     const QString& text);
// Pen in the mark colour of the given width, no fill.
void MarkPen(const TGrundBT& c, TCanvas& canvas, int width);
// A loudspeaker outline (box and cone) around the body's centre.
void PaintSpeaker(const TGrundBT& c, TCanvas& canvas);
// The value in general notation with 3 significant digits, as symbols show settings.
QString ShortValueText(Extended value);
// The shared settings dialog with this caption, the component's help context and the rows
// addRows adds (no option rows). Returns the modal result.
int ShowDialog(TIOBauteil& c, const QString& caption,
               const std::function<void(TPropScrollbox&)>& addRows);
} // namespace SignalSupport

// A block with one number as its setting (fixed value, trigger threshold, gain, offset): the
// number follows the component record, shows in the hint after "= ", and is edited in one
// row, with the option rows, in a dialog titled with the label; the edited number is taken
// back whatever the dialog's result. The output is 0.0 after a reset.
class TBTSettingBlock : public TGrundBT {
public:
    TV_CLASS_NAME(TBTSettingBlock)

    Extended Setting = 0.0L;

    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void SimReset() override;

protected:
    // How the record holds the number.
    enum class TStored { Raw80, Float };
    TBTSettingBlock(const TComponentDescription& description, Extended initial, TStored stored);
    // The caption of the dialog row.
    virtual QString SettingCaption() const = 0;

private:
    TStored m_stored;
};
