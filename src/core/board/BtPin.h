#pragma once
// Macro pin component: marks one connection of a macro on its inner board. Its designator
// number is the macro pin number.

#include "core/model/GrundBT.h"

#include <functional>

class TBTPin : public TGrundBT {
public:
    TV_CLASS_NAME(TBTPin)

    TBTPin();

    std::function<void(TBTPin*)> OnNameChanged;  // after the settings dialog

    // Name given to the macro's pin, at most 5 characters.
    const QString& PinName() const { return m_pinName; }
    void SetPinName(const QString& name);

    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    QString GetHint() const override;
    void Calculate() override;
    void NameInputs() override;
    void NameOutputs() override;
    QString GetTypeName() const override;
    void PaintPinStates(TCanvas& canvas) override;

protected:
    bool UnconnectedInputLit() const override { return false; }

private:
    QString m_pinName;
};
