#pragma once
// Helpers of the recorder tests: a clean program state with a fake clock, components linked to
// their elements as the application core links them, and inputs driven by pins of the test's own.

#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "frontpanel/FP_Element.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <vector>

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        BuildTranslationTable();
        SetDecimalSeparatorForTesting(u'.');
    }
    void TearDown() override
    {
        SetDecimalSeparatorForTesting(QChar());
        ResetFrontPanelState();
        ResetContext();
    }
    TScopedFakeClock clock;
};

// A component and its element, linked both ways.
template <class C, class E>
struct TLinked {
    std::unique_ptr<C> c = NewObject<C>();
    std::unique_ptr<E> e{NewElement<E>(nullptr)};
    TLinked()
    {
        e->ElementName = c->Designator();
        c->SetLink(e.get());
        e->Component = c.get();
    }
    ~TLinked() { c->SetLink(nullptr); }
};

// Drives a component's inputs from pins of the test's own (a driven input counts as wired).
class TDrive {
public:
    explicit TDrive(TIOBauteil& c)
        : m_c(c)
    {
    }
    TDrive& Set(int i, Extended v)
    {
        if (m_pins.size() <= size_t(i))
            m_pins.resize(size_t(i) + 1);
        if (!m_pins[size_t(i)])
            m_pins[size_t(i)] = std::make_unique<TBauteilPin>();
        m_pins[size_t(i)]->Value = v;
        m_c.Inputs[size_t(i)]->SetSource(m_pins[size_t(i)].get());
        m_c.Inputs[size_t(i)]->Connected = true;
        return *this;
    }
    TDrive& High(int i) { return Set(i, 5); }
    TDrive& Low(int i) { return Set(i, 0); }

private:
    TIOBauteil& m_c;
    std::vector<std::unique_ptr<TBauteilPin>> m_pins;
};

// Lets events run until the condition holds (at most a few seconds, so a fault fails the test
// instead of hanging it).
inline bool RunUntil(const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A stream written by `write`; and a reader over bytes.
inline QByteArray StreamBytes(const std::function<void(TWriter&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    write(writer);
    return bytes;
}

inline bool ReadBytes(QByteArray bytes, const std::function<void(TReader&)>& read)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    read(reader);
    return reader.AtEnd();
}
