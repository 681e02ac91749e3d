#include "components/analog/FormulaEvaluator.h"

#include <QByteArray>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace {

using TOp = TFormulaProgram::TOp;

// Deepest nesting of brackets, signs and powers a formula may have; deeper texts are refused
// rather than risking the parser's stack.
constexpr int MaxNesting = 200;

enum class TTok : uint8_t { End, Number, Input, Func, LParen, RParen, Plus, Minus, Mul, Div,
                            Pow, Bad };

struct TToken {
    TTok Kind = TTok::End;
    TOp Func = TOp::Const;  // the function of a Func token
    uint16_t Index = 0;     // the input of an Input token
    double Value = 0.0;     // the value of a Number token
};

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

// Index of the input named by the digits s[from, to), or -1 when they name none: the
// digits are read as the shortest match would be ("E05" is "E0" followed by "5", which is
// not a name), so a leading zero is allowed only alone.
int InputIndex(const char* s, size_t from, size_t to, int inputCount)
{
    const size_t n = to - from;
    if (n == 0 || n > 5 || (n > 1 && s[from] == '0'))
        return -1;
    int value = 0;
    for (size_t i = from; i < to; ++i)
        value = value * 10 + (s[i] - '0');
    return value < inputCount ? value : -1;
}

// Splits a normalised formula into tokens; the last token is End or Bad.
std::vector<TToken> Tokenise(const QByteArray& text, int inputCount)
{
    std::vector<TToken> tokens;
    const char* s = text.constData();
    const size_t n = size_t(text.size());
    size_t p = 0;
    auto bad = [&tokens]() {
        tokens.push_back(TToken{TTok::Bad, TOp::Const, 0, 0.0});
        return tokens;
    };
    while (p < n) {
        const char c = s[p];
        TToken t;
        if (IsDigit(c) || c == '.') {
            const size_t start = p;
            int digits = 0;
            while (p < n && IsDigit(s[p])) {
                ++p;
                ++digits;
            }
            if (p < n && s[p] == '.') {
                ++p;
                while (p < n && IsDigit(s[p])) {
                    ++p;
                    ++digits;
                }
            }
            if (digits == 0)
                return bad();
            if (p + 1 < n && (s[p] == 'E' || s[p] == 'e')) {
                const char next = s[p + 1];
                if ((next == '+' || next == '-') && p + 2 < n && IsDigit(s[p + 2])) {
                    p += 2;
                    while (p < n && IsDigit(s[p]))
                        ++p;
                } else if (IsDigit(next) && (s[p] == 'e' || next - '0' >= inputCount)) {
                    // An "E" with digits that could name an input stays a name (and then
                    // follows a number, which is no formula).
                    ++p;
                    while (p < n && IsDigit(s[p]))
                        ++p;
                }
            }
            long double value = 0.0L;
            const auto r = std::from_chars(s + start, s + p, value);
            if (r.ptr != s + p)
                return bad();
            const double rounded = RoundTo15Digits(value);
            if (!std::isfinite(rounded))
                return bad();
            t.Kind = TTok::Number;
            t.Value = rounded;
        } else if (c == 'E' && p + 1 < n && IsDigit(s[p + 1])) {
            const size_t start = ++p;
            while (p < n && IsDigit(s[p]))
                ++p;
            const int index = InputIndex(s, start, p, inputCount);
            if (index < 0)
                return bad();
            t.Kind = TTok::Input;
            t.Index = uint16_t(index);
        } else if (IsUpper(c)) {
            const size_t start = p;
            while (p < n && IsUpper(s[p]))
                ++p;
            if (p >= n || s[p] != '(')
                return bad();
            const std::string name(s + start, p - start);
            ++p;
            t.Kind = TTok::Func;
            if (name == "SIN")
                t.Func = TOp::Sin;
            else if (name == "COS")
                t.Func = TOp::Cos;
            else if (name == "ABS")
                t.Func = TOp::Abs;
            else if (name == "LOG")
                t.Func = TOp::Log;
            else if (name == "LN")
                t.Func = TOp::Ln;
            else if (name == "INT")
                t.Func = TOp::Int;
            else
                return bad();
        } else {
            switch (c) {
            case '(': t.Kind = TTok::LParen; break;
            case ')': t.Kind = TTok::RParen; break;
            case '+': t.Kind = TTok::Plus; break;
            case '-': t.Kind = TTok::Minus; break;
            case '*': t.Kind = TTok::Mul; break;
            case '/': t.Kind = TTok::Div; break;
            case '^': t.Kind = TTok::Pow; break;
            default: return bad();
            }
            ++p;
        }
        tokens.push_back(t);
    }
    tokens.push_back(TToken{});
    return tokens;
}

// Stores an operation's result: rounded to 15 digits; false when it has no finite value.
inline bool Store(long double r, double& out)
{
    if (!std::isfinite(r))
        return false;
    const double d = RoundTo15Digits(r);
    if (!std::isfinite(d))
        return false;
    out = d == 0.0 ? 0.0 : d; // no negative zero
    return true;
}

// a^b: 0 for a base of 0 (whatever b), a whole exponent for a negative base (multiplied
// out), e^(b ln a) for a positive base.
inline bool Power(double a, double b, long double& r)
{
    if (a == 0.0) {
        r = 0.0L;
        return true;
    }
    if (a > 0.0) {
        r = std::exp(static_cast<long double>(b) * std::log(static_cast<long double>(a)));
        return true;
    }
    if (b != std::floor(b))
        return false;
    const double magnitude = std::fabs(b);
    long double product = 1.0L;
    if (magnitude < 9.2e18) {
        long double base = a;
        for (uint64_t n = uint64_t(magnitude); n != 0; n >>= 1) {
            if (n & 1u)
                product *= base;
            base *= base;
        }
    } else { // such exponents are even
        product = std::pow(-static_cast<long double>(a), static_cast<long double>(magnitude));
    }
    r = b < 0.0 ? 1.0L / product : product;
    return true;
}

} // namespace

// --- Number texts ----------------------------------------------------------------------------

double RoundTo15Digits(Extended value)
{
    if (!std::isfinite(value))
        return static_cast<double>(value);
    char buf[64];
    const auto w = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    double d = 0.0;
    const auto r = std::from_chars(buf, w.ptr, d);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond the double range: infinite above it, the nearest small value below.
        d = std::fabs(value) >= 1.0L ? std::copysign(HUGE_VAL, static_cast<double>(value))
                                     : static_cast<double>(value);
    }
    return d;
}

QString NumberText(Extended value)
{
    constexpr int Width = 23;
    if (std::isnan(value))
        return QStringLiteral("Nan").rightJustified(Width);
    if (std::isinf(value))
        return (value > 0 ? QStringLiteral("+Inf") : QStringLiteral("-Inf")).rightJustified(Width);
    char buf[64];
    const auto w = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    *w.ptr = '\0';
    const char* p = buf;
    if (*p == '-')
        ++p;
    const char* e = std::strchr(p, 'e');
    QString text;
    text.reserve(Width);
    text += value < 0 ? QLatin1Char('-') : QLatin1Char(' ');
    text += QLatin1String(p, int(e - p));
    text += QLatin1Char('E');
    text += QLatin1Char(e[1]);
    text += QString::fromLatin1(e + 2).rightJustified(4, QLatin1Char('0'));
    return text;
}

void NormaliseSigns(QString& text)
{
    text.remove(QLatin1Char(' '));
    static const char* const pairs[4][2] = {{"++", "+"}, {"+-", "-"}, {"-+", "-"}, {"--", "+"}};
    for (const auto& pair : pairs) {
        const QLatin1String from(pair[0]);
        while (text.contains(from))
            text.replace(from, QLatin1String(pair[1]));
    }
}

QString EvalFormula(const QString& text)
{
    TFormulaProgram program;
    double result = 0.0;
    if (!program.Compile(text, 0) || !program.Evaluate(nullptr, result))
        return QStringLiteral("#");
    return NumberText(result);
}

// --- Parser ----------------------------------------------------------------------------------

// Recursive descent from the loosest operator to the tightest, writing postfix code.
class TFormulaParser {
public:
    TFormulaParser(TFormulaProgram& program, const std::vector<TToken>& tokens)
        : m_program(program), m_tokens(tokens) {}

    // The whole text as one formula; false on any syntax error.
    bool Run()
    {
        if (!Sum() || Peek() != TTok::End)
            return false;
        return true;
    }
    int MaxDepth() const { return m_maxDepth; }

private:
    TTok Peek() const { return m_tokens[m_pos].Kind; }
    const TToken& Take() { return m_tokens[m_pos++]; }

    void Emit(TOp op, uint16_t index = 0, double value = 0.0)
    {
        m_program.m_code.push_back({op, index, value});
        switch (op) {
        case TOp::Const:
        case TOp::Input:
            if (++m_depth > m_maxDepth)
                m_maxDepth = m_depth;
            break;
        case TOp::Add:
        case TOp::Sub:
        case TOp::Mul:
        case TOp::Div:
        case TOp::Pow:
            --m_depth;
            break;
        default:
            break;
        }
    }

    // Left-associative chain of one operator over operands of the next tighter level.
    template <bool (TFormulaParser::*Operand)()>
    bool Chain(TTok token, TOp op)
    {
        if (!(this->*Operand)())
            return false;
        while (Peek() == token) {
            ++m_pos;
            if (!(this->*Operand)())
                return false;
            Emit(op);
        }
        return true;
    }

    bool Sum() { return Chain<&TFormulaParser::Difference>(TTok::Plus, TOp::Add); }
    bool Difference() { return Chain<&TFormulaParser::Product>(TTok::Minus, TOp::Sub); }
    bool Product() { return Chain<&TFormulaParser::Quotient>(TTok::Mul, TOp::Mul); }
    bool Quotient() { return Chain<&TFormulaParser::Signed>(TTok::Div, TOp::Div); }

    // Any run of signs, then a power.
    bool Signed()
    {
        if (++m_nesting > MaxNesting)
            return false;
        bool negative = false;
        while (Peek() == TTok::Plus || Peek() == TTok::Minus)
            negative ^= Take().Kind == TTok::Minus;
        if (!Power())
            return false;
        if (negative)
            Emit(TOp::Neg);
        --m_nesting;
        return true;
    }

    // An operand, raised to a signed power when "^" follows (right-associative).
    bool Power()
    {
        if (!Primary())
            return false;
        if (Peek() != TTok::Pow)
            return true;
        ++m_pos;
        if (!Signed())
            return false;
        Emit(TOp::Pow);
        return true;
    }

    bool Primary()
    {
        const TToken& t = Take();
        switch (t.Kind) {
        case TTok::Number:
            Emit(TOp::Const, 0, t.Value);
            return true;
        case TTok::Input:
            m_program.m_used[t.Index] = true;
            Emit(TOp::Input, t.Index);
            return true;
        case TTok::LParen:
        case TTok::Func:
            if (!Sum() || Take().Kind != TTok::RParen)
                return false;
            if (t.Kind == TTok::Func)
                Emit(t.Func);
            return true;
        default:
            return false;
        }
    }

    TFormulaProgram& m_program;
    const std::vector<TToken>& m_tokens;
    size_t m_pos = 0;
    int m_depth = 0;
    int m_maxDepth = 0;
    int m_nesting = 0;
};

// --- Program ---------------------------------------------------------------------------------

bool TFormulaProgram::Compile(const QString& text, int inputCount)
{
    m_code.clear();
    m_stack.clear();
    m_inputCount = inputCount < 0 ? 0 : inputCount;
    m_used.assign(size_t(m_inputCount), false);
    m_valid = false;

    QString normal = text;
    NormaliseSigns(normal);
    const std::vector<TToken> tokens = Tokenise(normal.toLatin1(), m_inputCount);
    if (tokens.back().Kind == TTok::Bad)
        return false;
    TFormulaParser parser(*this, tokens);
    if (!parser.Run()) {
        m_code.clear();
        m_used.assign(size_t(m_inputCount), false);
        return false;
    }
    m_stack.resize(size_t(parser.MaxDepth()));
    m_valid = true;
    return true;
}

bool TFormulaProgram::UsesInput(int i) const
{
    return i >= 0 && i < m_inputCount && m_used[size_t(i)];
}

bool TFormulaProgram::Evaluate(const double* inputs, double& result)
{
    if (!m_valid)
        return false;
    double* stack = m_stack.data();
    size_t top = 0;
    for (const TInstr& in : m_code) {
        switch (in.Op) {
        case TOp::Const:
            stack[top++] = in.Value;
            break;
        case TOp::Input: {
            const double x = inputs[in.Index];
            if (!std::isfinite(x))
                return false;
            stack[top++] = x;
            break;
        }
        case TOp::Neg:
            stack[top - 1] = -stack[top - 1];
            break;
        case TOp::Add:
        case TOp::Sub:
        case TOp::Mul:
        case TOp::Div:
        case TOp::Pow: {
            const double b = stack[--top];
            double& a = stack[top - 1];
            long double r = 0.0L;
            const long double la = a;
            switch (in.Op) {
            case TOp::Add: r = la + b; break;
            case TOp::Sub: r = la - b; break;
            case TOp::Mul: r = la * b; break;
            case TOp::Div:
                if (b == 0.0)
                    return false;
                r = la / b;
                break;
            default:
                if (!Power(a, b, r))
                    return false;
                break;
            }
            if (!Store(r, a))
                return false;
            break;
        }
        default: {
            double& a = stack[top - 1];
            const long double x = a;
            long double r = 0.0L;
            switch (in.Op) {
            case TOp::Sin: r = std::sin(x); break;
            case TOp::Cos: r = std::cos(x); break;
            case TOp::Abs: r = std::fabs(x); break;
            case TOp::Log:
                if (!(x > 0.0L))
                    return false;
                r = std::log(x) * (1.0L / std::log(10.0L));
                break;
            case TOp::Ln:
                if (!(x > 0.0L))
                    return false;
                r = std::log(x);
                break;
            default: r = std::floor(x); break;
            }
            if (!Store(r, a))
                return false;
            break;
        }
        }
    }
    result = stack[0] == 0.0 ? 0.0 : stack[0];
    return true;
}
