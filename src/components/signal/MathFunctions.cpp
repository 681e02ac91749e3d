#include "components/signal/MathFunctions.h"

#include "components/signal/SignalSupport.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <cmath>

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;

enum TFunction {
    fSin, fCos, fTan, fCotan, fPi, fTwoPi, fHalfPi, fDeg, fRad, fArcsin, fArccos, fArctan,
    fSinh, fCosh, fTanh, fArcsinh, fArccosh, fArctanh, fLn, fLg10, fLg2, fExp, fExp10, fExp2,
    fPower, fE, fReciprocal, fSqrt, fRoot, fAbs, fInt, fFrac, fPol, fCart, fComp, fSignum,
};

struct TPins {
    int inputs;
    int outputs;
    const char* inputNames;
    const char* outputNames;
};

TPins PinsOf(int index)
{
    switch (index) {
    case fPi: case fTwoPi: case fHalfPi: case fE:
        return {0, 1, "", "y"};
    case fPower: case fRoot:
        return {2, 1, "x y", "y"};
    case fPol:
        return {2, 2, "x y", "w r"};
    case fCart:
        return {2, 2, "r w", "y x"};
    case fComp:
        return {2, 2, "x y", "L H"};
    default:
        return {1, 1, "x", "y"};
    }
}

// The angle of (x, y) in [0, 2 pi).
Extended PolarAngle(Extended x, Extended y)
{
    if (x == 0.0L) {
        if (y > 0.0L)
            return kPi / 2.0L;
        if (y < 0.0L)
            return 3.0L * kPi / 2.0L;
        return 0.0L;
    }
    const Extended a = std::atan(y / x);
    if (x > 0.0L)
        return y >= 0.0L ? a : a + 2.0L * kPi;
    return a + kPi;
}

} // namespace

Extended GeneralPower(Extended x, Extended y)
{
    const Extended whole = std::trunc(y);
    if (whole == y && std::fabs(y) <= 2147483647.0L) {
        int64_t n = static_cast<int64_t>(std::fabs(y));
        Extended result = 1.0L;
        Extended base = x;
        while (n > 0) {
            if (n & 1)
                result *= base;
            n >>= 1;
            if (n > 0)
                base *= base;
        }
        return y < 0.0L ? 1.0L / result : result;
    }
    if (x == 0.0L)
        return 0.0L;
    return std::exp(y * std::log(x));
}

// --- TBTMath ---------------------------------------------------------------------------------

const TComponentDescription TBTMath::Description{
    .Name = "TBTMath", .Prefix = {"MATH"}, .HelpContext = 18495, .TypeName = {"Math"},
    .Inputs = {1, 0, 2}, .Outputs = {1, 1, 2}, .InputNames = "x", .OutputNames = "y",
    .Category = TPaletteCategory::Berechnung};

TBTMath::TBTMath()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
}

const QStringList& TBTMath::FunctionNames()
{
    static const QStringList names{
        QStringLiteral("sin"),    QStringLiteral("cos"),     QStringLiteral("tan"),
        QStringLiteral("cotan"),  QStringLiteral("pi"),      QStringLiteral("2*pi"),
        QStringLiteral("pi/2"),   QStringLiteral("deg"),     QStringLiteral("rad"),
        QStringLiteral("arcsin"), QStringLiteral("arccos"),  QStringLiteral("arctan"),
        QStringLiteral("sinh"),   QStringLiteral("cosh"),    QStringLiteral("tanh"),
        QStringLiteral("arcsinh"), QStringLiteral("arccosh"), QStringLiteral("arctanh"),
        QStringLiteral("ln"),     QStringLiteral("lg10"),    QStringLiteral("lg2"),
        QStringLiteral("exp"),    QStringLiteral("exp10"),   QStringLiteral("exp2"),
        QStringLiteral("x^y"),    QStringLiteral("e"),       QStringLiteral("1/x"),
        QStringLiteral("rt2"),    QStringLiteral("rt"),      QStringLiteral("abs"),
        QStringLiteral("int"),    QStringLiteral("frac"),    QStringLiteral("pol"),
        QStringLiteral("cart"),   QStringLiteral("comp"),    QStringLiteral("signum"),
    };
    return names;
}

void TBTMath::SetFunction(int index)
{
    if (index < 0 || index >= FunctionCount)
        return;
    FunctionIndex = static_cast<uint8_t>(index);
    const TPins pins = PinsOf(index);
    SetInputCount(pins.inputs);
    SetOutputCount(pins.outputs);
    // Counts that stay as they were keep their old names otherwise.
    NameInputs();
    NameOutputs();
}

void TBTMath::NameInputs()
{
    NamePins(Inputs, ExpandPinNames(PinsOf(FunctionIndex).inputNames));
}

void TBTMath::NameOutputs()
{
    NamePins(Outputs, ExpandPinNames(PinsOf(FunctionIndex).outputNames));
}

void TBTMath::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::DrawCentredMark(*this, canvas, CenterX(), CenterY() - 30, 30,
                                   FunctionNames().at(FunctionIndex));
}

void TBTMath::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteInteger(FunctionIndex);
}

void TBTMath::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    const int32_t index = TReader::CheckCount(reader.ReadInteger(), 0, FunctionCount - 1,
                                              "FunctionIndex");
    FunctionIndex = static_cast<uint8_t>(index);
    // The stored pin counts are those of the function; a record whose counts do not match
    // still gets the pins the function reads and writes.
    SetFunction(index);
}

int TBTMath::EditProperties()
{
    int32_t index = FunctionIndex;
    const int result = SignalSupport::ShowDialog(*this, GetTypeName(), [&](TPropScrollbox& sheet) {
        sheet.AddComboProp(Translate(QStringLiteral("Funktion")), index, FunctionNames(), 80);
    });
    // Whatever the result; an empty choice keeps the function.
    SetFunction(index);
    return result;
}

QString TBTMath::GetHint() const
{
    return TGrundBT::GetHint() + QLatin1Char('\r') + FunctionNames().at(FunctionIndex);
}

void TBTMath::Calculate()
{
    const int f = FunctionIndex;
    const TPins pins = PinsOf(f);
    const Extended x = pins.inputs > 0 ? GetInputValue(0) : 0.0L;
    const Extended y = pins.inputs > 1 ? GetInputValue(1) : 0.0L;
    Extended r = 0.0L;
    switch (f) {
    case fSin: r = std::sin(x); break;
    case fCos: r = std::cos(x); break;
    case fTan: r = std::tan(x); break;
    case fCotan: r = std::cos(x) / std::sin(x); break;
    case fPi: r = kPi; break;
    case fTwoPi: r = 2.0L * kPi; break;
    case fHalfPi: r = kPi / 2.0L; break;
    case fDeg: r = x * 57.29577951308232L; break;
    case fRad: r = x * 0.017453292519943295L; break;
    case fArcsin: r = std::asin(x); break;
    case fArccos: r = std::acos(x); break;
    case fArctan: r = std::atan(x); break;
    case fSinh: r = std::sinh(x); break;
    case fCosh: r = std::cosh(x); break;
    case fTanh: r = std::tanh(x); break;
    case fArcsinh: r = std::asinh(x); break;
    case fArccosh: r = std::acosh(x); break;
    case fArctanh: r = std::atanh(x); break;
    case fLn: r = std::log(x); break;
    case fLg10: r = std::log10(x); break;
    case fLg2: r = std::log2(x); break;
    case fExp: r = std::exp(x); break;
    case fExp10: r = GeneralPower(10.0L, x); break;
    case fExp2: r = GeneralPower(2.0L, x); break;
    case fPower: r = GeneralPower(x, y); break;
    case fE: r = std::exp(1.0L); break;
    case fReciprocal: r = 1.0L / x; break;
    case fSqrt: r = std::sqrt(x); break;
    case fRoot: {
        const Extended exponent = 1.0L / y;
        if (!std::isfinite(exponent))
            return;
        r = GeneralPower(x, exponent);
        break;
    }
    case fAbs: r = std::fabs(x); break;
    case fInt: r = std::floor(x); break;
    case fFrac: r = x - std::trunc(x); break;
    case fPol: {
        const Extended radius = (x == 0.0L && y == 0.0L) ? 0.0L : std::sqrt(x * x + y * y);
        if (!std::isfinite(radius))
            return;
        SetOutputValue(1, radius);
        r = PolarAngle(x, y);
        break;
    }
    case fCart: {
        const Extended xOut = x * std::cos(y);
        if (!std::isfinite(xOut))
            return;
        SetOutputValue(1, xOut);
        r = x * std::sin(y);
        break;
    }
    case fComp:
        if (std::isnan(x) || std::isnan(y))
            return;
        SetOutputValue(1, x > y ? x : y);
        r = x < y ? x : y;
        break;
    case fSignum: r = x > 0.0L ? 1.0L : (x < 0.0L ? -1.0L : 0.0L); break;
    default: return;
    }
    if (std::isfinite(r))
        SetOutputValue(0, r);
}

// --- TBTPolynom ------------------------------------------------------------------------------

const TComponentDescription TBTPolynom::Description{
    .Name = "TBTPolynom", .Prefix = {"Poly"}, .HelpContext = 18496,
    .TypeName = {"Polynom", "Polynomial", "Polynomial"}, .Inputs = {3, 2, MaxDegree + 2},
    .Outputs = {1}, .InputNames = "X C0 C1", .OutputNames = "Y",
    .Category = TPaletteCategory::Berechnung};

TBTPolynom::TBTPolynom()
{
    Describe(Description);
    SignalSupport::MakeBlock(*this, true);
}

void TBTPolynom::NameInputs()
{
    for (int i = 0; i < InputCount; ++i)
        Inputs[size_t(i)]->SetName(i == 0 ? QStringLiteral("X")
                                          : QStringLiteral("C") + QString::number(i - 1));
}

void TBTPolynom::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    SignalSupport::DrawCentredMark(*this, canvas, CenterX(), CenterY() - 30, 30,
                                   QStringLiteral("Poly"));
}

int TBTPolynom::EditProperties()
{
    int32_t degree = Degree();
    const int result = SignalSupport::ShowDialog(*this, GetTypeName(), [&](TPropScrollbox& sheet) {
        sheet.AddSpinProp(QStringLiteral("n-Polynom"), degree, 0, MaxDegree, 80);
    });
    if (degree >= 0 && degree <= MaxDegree)
        SetInputCount(degree + 2);
    return result;
}

void TBTPolynom::Calculate()
{
    const Extended x = GetInputValue(0);
    Extended sum = 0.0L;
    for (int k = 0; k <= Degree(); ++k)
        sum += GetInputValue(k + 1) * GeneralPower(x, static_cast<Extended>(k));
    SetOutputValue(0, std::isfinite(sum) ? sum : OverflowResult);
}
