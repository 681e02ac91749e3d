#pragma once
// A minimal component for the model tests: two inputs, one output.

#include "core/model/Iobt.h"

class TTestGate : public TIOBauteil {
public:
    TV_CLASS_NAME(TTestGate)
    TTestGate()
    {
        SetInputCount(2);
        SetOutputCount(1);
    }
    QString GetTypeName() const override { return QStringLiteral("Test"); }
};
