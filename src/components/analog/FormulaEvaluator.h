#pragma once
// The formula evaluator of the formula component. A formula is parsed once into a short
// postfix program; every evaluation then runs that program over the input values without
// allocating.
//
// Language (upper case; blanks are ignored):
//   numbers     1  1.5  .5  1.5E+3  2E-4 (an "E" directly followed by digits after a number
//               is an exponent only when it cannot name an input, see below)
//   inputs      E0, E1 ... E(n-1)
//   functions   SIN( COS( ABS( LOG( LN( INT( with one argument; angles in radians
//   operators   from the tightest: ^ (right-assoc.), then signs, then /, *, -, +
//               (each left-assoc.); "/" binds tighter than "*" and "-" tighter than "+",
//               so a*b/c is a*(b/c) and a+b-c is a+(b-c). A sign binds looser than "^":
//               -2^2 is -4, (-2)^2 is 4. Runs of signs fold (2---3 is -1).
// Every intermediate value, every literal and every input is rounded to 15 significant
// digits (and then to double precision), as if written as a number text and read back.
// A formula without a value gives the error result "#": a syntax error, division by 0,
// the logarithm of a value not above 0, a negative base with a fractional exponent, an
// unknown name, an input that does not exist, a result out of the double range.

#include "platform/Types.h"

#include <QString>
#include <cstdint>
#include <vector>

// Removes every blank, then folds sign pairs: "++" to "+", "+-" to "-", "-+" to "-",
// "--" to "+", each step repeated until its pair is gone (so "---" becomes "+-").
void NormaliseSigns(QString& text);

// The value of a formula without inputs as a number text, or "#".
QString EvalFormula(const QString& text);

// The 23-character number text of a value: a blank (zero or positive) or "-", one digit,
// ".", 14 digits, "E", the exponent's sign and 4 exponent digits; 15 significant digits,
// rounded. "+Inf", "-Inf" and "Nan" are padded on the left with blanks to 23 characters.
QString NumberText(Extended value);

// The value rounded to 15 significant digits and then to double precision; infinite and
// undefined values are passed on as they are.
double RoundTo15Digits(Extended value);

class TFormulaProgram {
public:
    // Parses the formula with the inputs E0 .. E(inputCount - 1). Returns false (and every
    // evaluation gives no value) when the text is not a formula.
    bool Compile(const QString& text, int inputCount);

    bool IsValid() const { return m_valid; }
    int InputCount() const { return m_inputCount; }
    // Whether the formula reads input i.
    bool UsesInput(int i) const;

    // Runs the program; inputs holds InputCount() values, already rounded to 15 digits
    // (RoundTo15Digits). False when the formula has no value for them ("#").
    bool Evaluate(const double* inputs, double& result);

    // Instructions of the postfix program.
    enum class TOp : uint8_t { Const, Input, Neg, Add, Sub, Mul, Div, Pow,
                               Sin, Cos, Abs, Log, Ln, Int };

private:
    struct TInstr {
        TOp Op;
        uint16_t Index;  // input number of TOp::Input
        double Value;    // constant of TOp::Const
    };
    friend class TFormulaParser;

    std::vector<TInstr> m_code;
    std::vector<double> m_stack;     // sized by Compile to the deepest use
    std::vector<bool> m_used;
    int m_inputCount = 0;
    bool m_valid = false;
};
