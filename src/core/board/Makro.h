#pragma once
// A macro: a sub-circuit packed into one block. The block holds its own inner board and its own
// front-panel group; inside, each macro pin component (TBTPin) numbered k stands for the
// block's pin k. Pins 1 .. PinTotal/2 are the block's inputs, the rest its outputs.

#include "core/model/Iobt.h"

#include <functional>
#include <memory>
#include <vector>

class TDesign;
class TPlatine;

class TMakro : public TIOBauteil {
public:
    TV_CLASS_NAME(TMakro)

    TMakro();
    ~TMakro() override;  // frees the inner board

    std::function<void(TMakro*)> OnEdited;  // after the settings dialog
    // Fired at the end of ReadData / WriteData: the holding board reads or writes the macro
    // record (front-panel group and inner circuit).
    std::function<void(TMakro*, TReader&, uint8_t version)> OnReadData;
    std::function<void(TMakro*, TWriter&)> OnWriteData;

    int32_t PinTotal = 0;               // always even: half inputs, half outputs
    TDesign* Design = nullptr;          // the macro's front-panel group, not owned
    TDesign* ParentDesign = nullptr;    // the design that contains the group, not owned
    std::vector<TBauteilPin*> InputSources;   // per input: the output driving its outer net
    std::vector<TBauteilPin*> OutputSources;  // per output: the same
    bool Listed = false;                // parts-list bookkeeping
    QString MacroFile;                  // macro file of a macro-palette entry

    // Name shown on the block, at most 10 characters.
    const QString& MacroName() const { return m_macroName; }
    void SetMacroName(const QString& name);

    // The inner board, owned by the macro. Giving it also makes it the macro's Board, which is
    // the field every walk over the hierarchy follows.
    TPlatine* InnerBoard() const { return m_innerBoard.get(); }
    void SetInnerBoard(std::unique_ptr<TPlatine> board);

    // PinTotal := n raised to the next even number; n/2 inputs and n/2 outputs.
    void SetPinTotal(int32_t n);
    // Name of macro pin k (1-based), cut to 10 characters; pins that do not exist are ignored.
    void SetPinName(int32_t k, const QString& name);
    // Pins from the macro pin components of the inner board: their count, then the name of
    // the component numbered k for every pin k (empty when there is none).
    void TakePinsFromBoard(const TPlatine& inner);
    // Caption of the front-panel group: "Makro " + number + ": " + name.
    QString GroupCaption() const;

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    QString GetTypeName() const override;

    // The pin lines in signal colour (source nil or high: red).
    void RepaintPinLines(TCanvas& canvas);
    // One state arrow per pin, lit by the sources while a run is active.
    void PaintPinStates(TCanvas& canvas);

private:
    QString m_macroName;
    std::unique_ptr<TPlatine> m_innerBoard;
};
