// Formula evaluator: values and errors of formula texts, inputs, 15-digit rounding, number
// texts and sign folding.
#include "components/analog/FormulaEvaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double Error = std::numeric_limits<double>::quiet_NaN(); // the result "#"

// The value of a formula text, NaN for "#".
double Eval(const char* text, const std::vector<double>& inputs = {})
{
    TFormulaProgram program;
    if (!program.Compile(QString::fromLatin1(text), int(inputs.size())))
        return Error;
    double result = 0.0;
    if (!program.Evaluate(inputs.data(), result))
        return Error;
    return result;
}

double Round15(long double x)
{
    return RoundTo15Digits(x);
}

TEST(FormulaEvaluatorTest, ValuesOfFormulaTexts)
{
    struct Case {
        const char* text;
        double expected;       // Error for "#"
        double tolerance = 0;  // relative; 0: exact
    };
    const Case cases[] = {
        // Powers group from the right and bind tighter than a sign.
        {"2^3^2", 512},
        {"-2^2", -4},
        {"(-2)^2", 4},
        {"(-2)^3", -8},
        {"(-2)^-1", -0.5},
        {"(-8)^(1/3)", Error},
        {"0^0", 0},
        {"0^-1", 0},
        {"2^0", 1},
        {"(-2)^0", 1},
        {"2^-3^2", 1.0 / 512},
        {"2*-3^2", -18},
        {"2^0.5", std::sqrt(2.0), 1e-14},
        {"(-2)^2^2", 16},
        // Division, logarithms and functions.
        {"1/0", Error},
        {"0/0", Error},
        {"LN(0)", Error},
        {"LOG(-1)", Error},
        {"LOG(0)", Error},
        {"LN(1)", 0},
        {"LOG(1000)", 3},
        {"INT(-1.5)", -2},
        {"INT(-2)", -2},
        {"INT(1.7)", 1},
        {"ABS(-2.5)", 2.5},
        {"COS(0)", 1},
        {"SIN(COS(0))", Round15(std::sin(1.0L))},
        {"SIN(1)^2+COS(1)^2", 1, 1e-14},
        {"-SIN(2)^2", -std::sin(2.0) * std::sin(2.0), 1e-14},
        {"ABS(INT(-0.5))*LN(4)/LN(2)", 2},
        // Brackets.
        {"SIN(1", Error},
        {"((1+2)", Error},
        {"(1+2))", Error},
        {"()", Error},
        {"(((((2)))))", 2},
        {"2*(3+4)", 14},
        {"(2+3)*(4-1)", 15},
        // Signs.
        {"2*-3", -6},
        {"-2*3", -6},
        {"2---3", -1},
        {"+5+2", 7},
        {"-(-2)+3", 5},
        {"1----2", 3},
        {"---0.5", -0.5},
        {"2/-4", -0.5},
        // Left to right in effect, although "/" goes before "*" and "-" before "+".
        {"8/2/2", 2},
        {"2*6/3", 4},
        {"5-3-1", 1},
        {"2+3-4", 1},
        {"2-3+4", 3},
        {"1+2*3^2-4/2", 17},
        {"10/4*2", 5},
        // Numbers.
        {"1.5E+3*2", 3000},
        {"1.5E-3*2", 0.003},
        {"1E3", 1000},
        {"2.5e2", 250},
        {".5*4", 2},
        {"5.*2", 10},
        {" 1 000 + 2 ", 1002},
        {"1E-400", 0},
        // No value.
        {"", Error},
        {"   ", Error},
        {"2*", Error},
        {"*2", Error},
        {"2^", Error},
        {"1.2.3", Error},
        {"2(3)", Error},     // no implicit multiplication
        {"(1)(2)", Error},
        {"2.5X", Error},
        {"1,5", Error},      // the component turns the comma into a point first
        {"sin(0)", Error},   // names are upper case
        {"PI", Error},
        {"EXP(1)", Error},
        {"SIN 1", Error},
        {"+Inf", Error},
        {"Nan", Error},
        {"E0", Error},       // no inputs here
        {"1E400", Error},
        {"1E300*1E300", Error},
        {"10^400", Error},
        {"(-10)^401", Error},
        {"(-10)^-4000", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const double v = Eval(c.text);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(v)) << "value " << v;
        else if (c.tolerance == 0)
            EXPECT_EQ(v, c.expected);
        else
            EXPECT_NEAR(v, c.expected, std::fabs(c.expected) * c.tolerance);

        // The text interface agrees.
        const QString text = EvalFormula(QString::fromLatin1(c.text));
        if (std::isnan(v))
            EXPECT_EQ(text, QStringLiteral("#"));
        else
            EXPECT_EQ(text, NumberText(v));
    }
}

TEST(FormulaEvaluatorTest, EveryStepIsRoundedTo15Digits)
{
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"1/3", 0.333333333333333},
        {"1/3*3", 0.999999999999999},     // the quotient is rounded before the product
        {"2*1/3", 0.666666666666666},     // 2*(1/3): "/" binds tighter than "*"
        {"2/3", 0.666666666666667},
        {"0.3+1E15-1E15", 0.3},           // 0.3+(1E15-1E15): "-" binds tighter than "+"
        {"1E15+0.3", 1e15},
        {"0.123456789012345678", 0.123456789012346},
        {"(0.123456789012345678)*10", 1.23456789012346},
        {"(10/3)*3", 9.99999999999999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Eval(c.text), c.expected);
    }
}

TEST(FormulaEvaluatorTest, Inputs)
{
    struct Case {
        const char* text;
        std::vector<double> inputs;
        double expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> eleven = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const Case cases[] = {
        {"E0*2", {3}, 6},
        {"E0-E1", {1, -2}, 3},
        {"E0*E1", {-2, 3}, -6},
        {"-E0", {-2}, 2},
        {"E0^2", {-2}, 4},          // an input is one operand, its sign included
        {"1-E0^2", {-2}, -3},
        {"E1^E0", {-1, 2}, 0.5},
        {"SIN(E0)", {0}, 0},
        {"E10+E1", eleven, 11},     // E10 is not E1 followed by 0
        {"E1", {0, -0.5}, -0.5},
        {"1E3", {7}, 1000},         // "E3" names no input of one
        {"1E3", {1, 2, 3, 4}, Error}, // ... but the fourth of four
        {"2E0", {7}, Error},        // a number directly followed by an input
        {"E0E0", {7}, Error},
        {"E5", {1, 2}, Error},      // no such input
        {"2+E5", {1, 2}, Error},
        {"E01", {1, 2}, Error},
        {"E", {1}, Error},
        {"E0/E1", {1, 0}, Error},
        {"E0+1", {nan}, Error},
        {"E0+1", {inf}, Error},
        {"E1+1", {nan, 2}, 3},      // an input the formula does not read
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const double v = Eval(c.text, c.inputs);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(v)) << "value " << v;
        else
            EXPECT_EQ(v, c.expected);
    }

    TFormulaProgram program;
    ASSERT_TRUE(program.Compile(QStringLiteral("E2*(E0+E2)"), 4));
    EXPECT_TRUE(program.UsesInput(0));
    EXPECT_FALSE(program.UsesInput(1));
    EXPECT_TRUE(program.UsesInput(2));
    EXPECT_FALSE(program.UsesInput(3));
    EXPECT_FALSE(program.UsesInput(4));

    // The program is reused for new values.
    const double first[] = {1, 0, 2, 0};
    const double second[] = {-3, 0, 0.5, 0};
    double r = 0;
    ASSERT_TRUE(program.Evaluate(first, r));
    EXPECT_EQ(r, 6);
    ASSERT_TRUE(program.Evaluate(second, r));
    EXPECT_EQ(r, -1.25);
}

TEST(FormulaEvaluatorTest, DeepNestingIsRefusedNotOverflowed)
{
    for (int depth : {150, 5000}) {
        const QString text = QString(depth, QLatin1Char('(')) + QStringLiteral("1")
                             + QString(depth, QLatin1Char(')'));
        const QString powers = QStringLiteral("1") + QStringLiteral("^1").repeated(depth);
        const QString signs = QStringLiteral("-").repeated(depth) + QStringLiteral("1");
        const bool fits = depth <= 150;
        EXPECT_EQ(EvalFormula(text) == QStringLiteral("#"), !fits) << depth;
        EXPECT_EQ(EvalFormula(powers) == QStringLiteral("#"), !fits) << depth;
        EXPECT_EQ(EvalFormula(signs), NumberText(1)) << depth; // sign runs fold, no nesting
    }
}

TEST(FormulaEvaluatorTest, NumberTexts)
{
    struct Case {
        long double value;
        const char* text;
    };
    const Case cases[] = {
        {1.5L, " 1.50000000000000E+0000"},
        {-1.5L, "-1.50000000000000E+0000"},
        {0.0L, " 0.00000000000000E+0000"},
        {-0.0L, " 0.00000000000000E+0000"},
        {1.0L / 3.0L, " 3.33333333333333E-0001"},
        {-2.0L / 3.0L, "-6.66666666666667E-0001"},
        {123456789012345678.0L, " 1.23456789012346E+0017"},
        {1e-300L, " 1.00000000000000E-0300"},
        {1e4000L, " 1.00000000000000E+4000"},
        {std::numeric_limits<long double>::infinity(), "                   +Inf"},
        {-std::numeric_limits<long double>::infinity(), "                   -Inf"},
        {std::numeric_limits<long double>::quiet_NaN(), "                    Nan"},
    };
    for (const Case& c : cases) {
        const QString text = NumberText(c.value);
        EXPECT_EQ(text, QString::fromLatin1(c.text));
        EXPECT_EQ(text.size(), 23);
    }
}

TEST(FormulaEvaluatorTest, SignFolding)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {" 1 + 2 ", "1+2"},
        {"1++2", "1+2"},
        {"1+-2", "1-2"},
        {"1-+2", "1-2"},
        {"1--2", "1+2"},
        {"2---3", "2+-3"},    // a pair made by a later step waits for the next call
        {"1----2", "1++2"},
        {"1+++-2", "1-2"},
        {"E0*-E1", "E0*-E1"},
    };
    for (const Case& c : cases) {
        QString text = QString::fromLatin1(c.in);
        NormaliseSigns(text);
        EXPECT_EQ(text, QString::fromLatin1(c.out)) << c.in;
    }
}

} // namespace
