// Math functions and the polynomial: results, failed arithmetic, pins per function, records
// and dialogs.
#include "ComponentTestSupport.h"
#include "components/signal/MathFunctions.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "platform/ModalDialogs.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <QBuffer>
#include <cmath>

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;

class MathFunctionsTest : public TComponentTest<RegisterSignalBlocks, true> {
protected:
    // A math block with function f and inputs x (and y).
    std::unique_ptr<TBTMath> Math(int f)
    {
        auto m = Create<TBTMath>();
        m->SetFunction(f);
        return m;
    }
};

int Index(const char* name)
{
    return int(TBTMath::FunctionNames().indexOf(QString::fromLatin1(name)));
}

TEST_F(MathFunctionsTest, FunctionResults)
{
    struct Case {
        const char* f;
        Extended x, y;
        Extended out0, out1; // out1 only where the function has two outputs
    };
    const Case cases[] = {
        {"sin", kPi / 2, 0, 1, 0},
        {"cos", 0, 0, 1, 0},
        {"tan", kPi / 4, 0, 1, 0},
        {"cotan", kPi / 4, 0, 1, 0},
        {"pi", 0, 0, kPi, 0},
        {"2*pi", 0, 0, 2 * kPi, 0},
        {"pi/2", 0, 0, kPi / 2, 0},
        {"deg", kPi, 0, 180, 0},
        {"rad", 180, 0, kPi, 0},
        {"arcsin", 1, 0, kPi / 2, 0},
        {"arccos", -1, 0, kPi, 0},
        {"arctan", 1, 0, kPi / 4, 0},
        {"sinh", 0, 0, 0, 0},
        {"cosh", 0, 0, 1, 0},
        {"tanh", 0, 0, 0, 0},
        {"arcsinh", 0, 0, 0, 0},
        {"arccosh", 1, 0, 0, 0},
        {"arctanh", 0, 0, 0, 0},
        {"ln", std::exp(2.0L), 0, 2, 0},
        {"lg10", 1000, 0, 3, 0},
        {"lg2", 1024, 0, 10, 0},
        {"exp", 0, 0, 1, 0},
        {"exp10", -2, 0, 0.01L, 0},
        {"exp2", 0.5L, 0, std::sqrt(2.0L), 0},
        {"x^y", -2, 3, -8, 0},      // negative base, whole exponent
        {"x^y", 0, 0, 1, 0},        // 0^0
        {"x^y", 2, -2, 0.25L, 0},
        {"x^y", 0, 0.5L, 0, 0},     // 0 to a fractional power
        {"x^y", 4, 0.5L, 2, 0},
        {"e", 0, 0, std::exp(1.0L), 0},
        {"1/x", 4, 0, 0.25L, 0},
        {"rt2", 9, 0, 3, 0},
        {"rt", 27, 3, 3, 0},
        {"abs", -2.5L, 0, 2.5L, 0},
        {"int", -0.5L, 0, -1, 0},
        {"int", -2, 0, -2, 0},
        {"int", 2.7L, 0, 2, 0},
        {"frac", -2.25L, 0, -0.25L, 0},
        {"signum", 0, 0, 0, 0},
        {"signum", -3, 0, -1, 0},
        {"signum", 0.1L, 0, 1, 0},
        {"pol", -1, 0, kPi, 1},
        {"pol", 0, -2, 4.71238898038469L, 2},
        {"pol", 1, -1, 7 * kPi / 4, std::sqrt(2.0L)},
        {"pol", 0, 0, 0, 0},
        {"pol", 1, 1, kPi / 4, std::sqrt(2.0L)},
        {"cart", 2, kPi / 2, 2, 0},  // "y" = 2, "x" practically 0
        {"comp", 3, -1, -1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.f << "(" << double(c.x) << ", " << double(c.y) << ")");
        const int f = Index(c.f);
        ASSERT_GE(f, 0);
        auto m = Math(f);
        TInputs in(*m);
        if (m->InputCount > 0)
            in.Set(0, c.x);
        if (m->InputCount > 1)
            in.Set(1, c.y);
        m->Calculate();
        EXPECT_NEAR(double(m->Outputs[0]->Value), double(c.out0), 1e-12);
        if (m->OutputCount > 1) {
            EXPECT_NEAR(double(m->Outputs[1]->Value), double(c.out1), 1e-12);
        }
    }
}

// A failed computation leaves the outputs as they were, and the block keeps working.
TEST_F(MathFunctionsTest, FailedArithmeticKeepsTheOutputs)
{
    struct Case {
        const char* f;
        Extended x, y;
    };
    const Case cases[] = {
        {"ln", 0, 0}, {"ln", -1, 0}, {"lg10", 0, 0}, {"1/x", 0, 0}, {"rt", 8, 0},
        {"rt", -8, 2}, {"x^y", -8, 0.5L}, {"x^y", 0, -1}, {"arcsin", 2, 0},
        {"arccosh", 0.5L, 0}, {"arctanh", 1, 0}, {"rt2", -1, 0}, {"cotan", 0, 0},
        {"exp", 1e6L, 0}, {"x^y", 10, 1e6L}, {"exp10", 1e6L, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.f << "(" << double(c.x) << ", " << double(c.y) << ")");
        auto m = Math(Index(c.f));
        TInputs in(*m);
        m->SetOutputValue(0, 42.0L);
        in.Set(0, c.x);
        if (m->InputCount > 1)
            in.Set(1, c.y);
        m->Calculate();
        EXPECT_EQ(m->Outputs[0]->Value, 42.0L);
    }
    auto m = Math(Index("ln"));
    TInputs in(*m);
    in.Set(0, 0.0L);
    m->Calculate();
    in.Set(0, 1.0L);
    m->Calculate();
    EXPECT_EQ(m->Outputs[0]->Value, 0.0L);
}

TEST_F(MathFunctionsTest, TheFunctionDecidesThePins)
{
    struct Case {
        const char* f;
        QStringList inputs, outputs;
    };
    const Case cases[] = {
        {"sin", {"x"}, {"y"}},
        {"x^y", {"x", "y"}, {"y"}},
        {"pi", {}, {"y"}},
        {"e", {}, {"y"}},
        {"pol", {"x", "y"}, {"w", "r"}},
        {"cart", {"r", "w"}, {"y", "x"}},
        {"comp", {"x", "y"}, {"L", "H"}},
        {"rt", {"x", "y"}, {"y"}},
        {"abs", {"x"}, {"y"}},
    };
    auto m = Create<TBTMath>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f);
        m->SetFunction(Index(c.f));
        EXPECT_EQ(PinNames(m->Inputs), c.inputs);
        EXPECT_EQ(PinNames(m->Outputs), c.outputs);
        EXPECT_EQ(m->GetHint().split(QLatin1Char('\r')).last(), QString::fromLatin1(c.f));
    }
}

TEST_F(MathFunctionsTest, RecordKeepsTheFunctionAndRefusesIndexesOutsideTheList)
{
    auto m = Create<TBTMath>();
    m->SetFunction(Index("cart"));
    const QByteArray data = Write(*m);
    auto back = Create<TBTMath>();
    ASSERT_TRUE(Read(*back, data));
    EXPECT_EQ(back->FunctionIndex, Index("cart"));
    EXPECT_EQ(PinNames(back->Inputs), (QStringList{"r", "w"}));
    EXPECT_EQ(PinNames(back->Outputs), (QStringList{"y", "x"}));

    // The index is the record's last byte (a one-byte integer).
    for (char bad : {char(36), char(-1), char(100)}) {
        QByteArray broken = data;
        broken[broken.size() - 1] = bad;
        auto c = Create<TBTMath>();
        EXPECT_THROW(Read(*c, broken), EFilerError) << int(bad);
    }
    // Pin counts that do not fit the stored function get those of the function.
    auto sin = Create<TBTMath>();
    QByteArray mismatched = Write(*sin);
    mismatched[mismatched.size() - 1] = char(Index("pol"));
    auto c = Create<TBTMath>();
    ASSERT_TRUE(Read(*c, mismatched));
    EXPECT_EQ(c->InputCount, 2);
    EXPECT_EQ(c->OutputCount, 2);
}

TEST_F(MathFunctionsTest, DialogChoosesTheFunction)
{
    Ctx().CurrentLanguage = 1;
    auto m = Create<TBTMath>();
    TScopedDialogResponder responder;
    QString title, caption;
    responder.Answer([&](QDialog& d) {
        title = d.windowTitle();
        EXPECT_EQ(Host(d).HelpContext, 18495);
        EXPECT_EQ(RowCount(d), 1u);
        auto* combo = Row<TComboPropEditor>(d, 0);
        if (!combo)
            return int(mrCancel);
        caption = combo->NameLabel->text();
        EXPECT_EQ(combo->Combo->count(), 36);
        EXPECT_EQ(combo->Combo->currentIndex(), 0);
        combo->Combo->setCurrentIndex(Index("x^y"));
        return int(mrOk);
    });
    EXPECT_EQ(m->EditProperties(), mrOk);
    EXPECT_EQ(title, "Math");
    EXPECT_EQ(caption, "Function");
    EXPECT_EQ(PinNames(m->Inputs), (QStringList{"x", "y"}));
}

TEST_F(MathFunctionsTest, Polynomial)
{
    auto p = Create<TBTPolynom>();
    EXPECT_EQ(PinNames(p->Inputs), (QStringList{"X", "C0", "C1"}));
    p->Calculate();
    EXPECT_EQ(p->Outputs[0]->Value, 0.0L); // every input unconnected

    p->SetInputCount(4);
    EXPECT_EQ(PinNames(p->Inputs), (QStringList{"X", "C0", "C1", "C2"}));
    TInputs in(*p);
    in.Set(0, 3).Set(1, 1).Set(2, 0).Set(3, 1);
    p->Calculate();
    EXPECT_EQ(p->Outputs[0]->Value, 10.0L);
    in.Set(0, 0).Set(1, 2.5L);
    p->Calculate();
    EXPECT_EQ(p->Outputs[0]->Value, 2.5L); // X^0 = 1 also for X = 0

    auto big = Create<TBTPolynom>();
    big->SetInputCount(TBTPolynom::MaxDegree + 2);
    TInputs bigIn(*big);
    bigIn.Set(0, 1e400L);
    for (int k = 1; k <= TBTPolynom::MaxDegree + 1; ++k)
        bigIn.Set(k, 1);
    big->Calculate();
    EXPECT_EQ(big->Outputs[0]->Value, 1e99L);

    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        auto* spin = Row<TSpinPropEditor>(d, 0);
        if (!spin)
            return int(mrCancel);
        EXPECT_EQ(spin->NameLabel->text(), "n-Polynom");
        EXPECT_EQ(spin->Spin->value(), 2);
        EXPECT_EQ(spin->Spin->maximum(), 15);
        spin->Spin->setValue(0);
        return int(mrOk);
    });
    EXPECT_EQ(p->EditProperties(), mrOk);
    EXPECT_EQ(PinNames(p->Inputs), (QStringList{"X", "C0"}));
}

} // namespace
