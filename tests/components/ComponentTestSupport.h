// Scaffolding the component tests share: a registry fixture, inputs driven by pins of the
// test's own, record round trips at a given format version, old record parts, and access to
// the rows of a settings dialog.
#pragma once

#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <QRect>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

// Registers one family in a registry of the test's own; the context is reset around each test
// (and the translation table built first where the family's dialogs or texts need it).
template <void (*Register)(TClassRegistry&), bool Translated = false>
class TComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        if (Translated)
            BuildTranslationTable();
        Register(registry);
    }
    void TearDown() override { ResetContext(); }

    // A component of the named class from the registry; null when it is no TIOBauteil.
    std::unique_ptr<TIOBauteil> Create(const char* className)
    {
        return Create<TIOBauteil>(className);
    }

    template <class T>
    std::unique_ptr<T> Create(const char* className = T::StaticClassName())
    {
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(className));
        auto* comp = dynamic_cast<T*>(item.get());
        if (comp)
            item.release();
        return std::unique_ptr<T>(comp);
    }

    TClassRegistry registry;
};

// The same on a fake clock, for the components that work in real time.
template <void (*Register)(TClassRegistry&), bool Translated = false>
class TTimedComponentTest : public TComponentTest<Register, Translated> {
protected:
    // Advances the clock and runs one step.
    void StepAfter(TIOBauteil& c, int64_t ns)
    {
        clock.clock.AdvanceNs(ns);
        c.Calculate();
    }
    // Output 0 of a component as a double.
    static double Out(const TIOBauteil& c) { return static_cast<double>(c.Outputs[0]->Value); }

    TScopedFakeClock clock;
};

constexpr int64_t kMs = 1000000;

// Drives a component's inputs from pins of its own, as wires from other outputs would.
class TInputs {
public:
    explicit TInputs(TIOBauteil& c) : m_c(c), m_sources(c.Inputs.size()) {}
    TInputs& Set(int i, Extended v);
    TInputs& Unconnect(int i);

private:
    TIOBauteil& m_c;
    std::vector<std::unique_ptr<TBauteilPin>> m_sources;
};

// One driving pin per input of a component, every input connected; all low to begin with,
// or all high.
struct TDrivers {
    std::vector<std::unique_ptr<TBauteilPin>> pins;

    explicit TDrivers(TIOBauteil& c, bool high = false);
    void Set(int i, bool high) { pins[i]->Value = high ? 5.0L : 0.0L; }
    // Bit i of value on input first + i.
    void SetNumber(int first, int bits, uint32_t value);
};

// A component of the test's own with every input driven, all high to begin with.
struct TDrivenComponent {
    std::unique_ptr<TIOBauteil> c;
    TDrivers in;

    explicit TDrivenComponent(std::unique_ptr<TIOBauteil> comp)
        : c(std::move(comp)), in(*c, true)
    {
    }
    void Set(int i, bool high) { in.Set(i, high); }
    // The number on the last `width` outputs, the last output its lowest bit.
    int LastOutputs(int width) const;
};

// The component's record.
QByteArray Write(TBauteil& c);
// Reads a record into c; true when it was used up.
bool Read(TBauteil& c, QByteArray data, uint8_t version = 44);

// The component part of a record as a file of that format version holds it (at (200, 300),
// label "Label" where the version stores one).
QByteArray ComponentPart(int inputs, int outputs, uint8_t version, bool labelShown = false);
// A stored sample time: the seconds as 6 raw bytes, then the index.
QByteArray SamplingPart(int16_t index, double seconds);

QStringList PinNames(const std::vector<std::unique_ptr<TBauteilPin>>& pins);
// The values of a component's outputs, in pin order.
std::vector<Extended> OutputValues(const TIOBauteil& c);
// prefix + from ... prefix + to, counting up or down.
QStringList Numbered(const char* prefix, int from, int to);

// The settings dialog behind a QDialog the responder sees.
inline TDefault_Dlg& Host(QDialog& d) { return static_cast<TDefault_Dlg&>(d); }

// The editor of a settings dialog's row; null when there is no such row or it is no T.
template <class T>
T* Row(QDialog& d, size_t index)
{
    const auto& rows = static_cast<TDefault_Dlg&>(d).PropScrollbox->Rows();
    if (index >= rows.size())
        return nullptr;
    return dynamic_cast<T*>(rows[index]->Editor);
}
size_t RowCount(QDialog& d);

// Counts of clear lime and clear red pixels.
struct TMarkPixels {
    int lime = 0;
    int red = 0;
};
// Those of the image within area.
TMarkPixels MarkPixels(const QImage& img, const QRect& area);
inline TMarkPixels MarkPixels(const QImage& img) { return MarkPixels(img, img.rect()); }
// Those inside a component's body (2 pixels in from its edge), the component painted at 4
// board units per pixel into a white image around it.
TMarkPixels MarkPixelsInBody(TIOBauteil& c);
