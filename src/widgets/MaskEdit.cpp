#include "widgets/MaskEdit.h"

#include "platform/Clock.h"
#include "platform/LocaleFormats.h"

#include <QFocusEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>

// ---- radix texts ---------------------------------------------------------------------------

namespace {

int DigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'Z')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'z')
        return u - u'a' + 10;
    return -1;
}

bool IsDigitOf(QChar c, int radix)
{
    const int v = DigitValue(c);
    return v >= 0 && v < radix;
}

int CountOf(const QString& s, QChar c, int before)
{
    int n = 0;
    for (int i = 0; i < std::min(before, int(s.size())); ++i)
        if (s.at(i) == c)
            ++n;
    return n;
}

} // namespace

QString RadixIntToText(int64_t value, int radix)
{
    if (radix == 10)
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0");
    static const char* const digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const bool negative = value < 0;
    uint64_t v = negative ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    QString s;
    while (v > 0) {
        s.prepend(QChar(digits[v % uint64_t(radix)]));
        v /= uint64_t(radix);
    }
    return negative ? u'-' + s : s;
}

int64_t RadixTextToInt(const QString& text, int radix)
{
    if (radix == 10)
        return text.toLongLong();
    const bool negative = text.startsWith(u'-');
    uint64_t value = 0, place = 1;
    for (int i = int(text.size()) - 1; i >= (negative ? 1 : 0); --i) {
        const int d = IsDigitOf(text.at(i), radix) ? DigitValue(text.at(i)) : 0;
        value += uint64_t(d) * place;
        place *= uint64_t(radix);
    }
    return negative ? -int64_t(value) : int64_t(value);
}

QString RadixFloatToText(double value, int radix, QChar separator)
{
    QString decimal = QString::number(value, 'g', 15);
    if (decimal.contains(u'e'))
        decimal = QString::number(value, 'f', 6);
    if (radix == 10)
        return decimal.replace(u'.', separator);
    const int64_t whole = int64_t(value);
    QString s = RadixIntToText(whole, radix);
    if (value < 0 && whole == 0)
        s.prepend(u'-');
    const qsizetype point = decimal.indexOf(u'.');
    if (point < 0)
        return s;
    const QString fraction = decimal.mid(point + 1);
    int zeros = 0;
    while (zeros < fraction.size() && fraction.at(zeros) == u'0')
        ++zeros;
    return s + separator + QString(zeros, u'0') + RadixIntToText(fraction.mid(zeros).toLongLong(), radix);
}

double RadixTextToFloat(const QString& text, int radix, QChar separator)
{
    if (text.isEmpty() || text == QStringLiteral("-"))
        return 0.0;
    if (radix == 10) {
        QString t = text;
        return t.replace(separator, u'.').toDouble();
    }
    const bool negative = text.startsWith(u'-');
    const qsizetype point = text.indexOf(separator);
    const QString whole = point < 0 ? text : text.left(point);
    double value = double(std::llabs(RadixTextToInt(whole, radix)));
    if (point >= 0) {
        double place = 1.0 / radix;
        for (qsizetype i = point + 1; i < text.size(); ++i, place /= radix)
            value += (IsDigitOf(text.at(i), radix) ? DigitValue(text.at(i)) : 0) * place;
    }
    return negative ? -value : value;
}

// ---- the edit ------------------------------------------------------------------------------

TWLXCustomMaskEdit::TWLXCustomMaskEdit(QWidget* parent)
    : TWLXCustomEdit(parent)
{
    ThousandSeparator = LocaleFormats().thousandSeparator;
    DecimalSeparator = LocaleFormats().decimalSeparator;
    m_dateFormat.OnChange = [this](void*) { update(); };
    m_dateFormat.OnChanging = [](void*) {};
    m_currency.OnChange = [this](void*) { update(); };
}

TWLXCustomMaskEdit::~TWLXCustomMaskEdit()
{
    m_destroying = true;
    m_dateFormat.OnChange = nullptr;
    m_dateFormat.OnChanging = nullptr;
    m_currency.OnChange = nullptr;
}

void TWLXCustomMaskEdit::DoValidationError()
{
    if (OnValidationError)
        OnValidationError(this);
}

bool TWLXCustomMaskEdit::HasSuffix() const
{
    switch (m_kind) {
    case TWLXMaskType::mkInteger:
    case TWLXMaskType::mkUnsigned:
    case TWLXMaskType::mkFloat:
    case TWLXMaskType::mkFixed:
    case TWLXMaskType::mkNumber:
    case TWLXMaskType::mkText: return !m_suffix.isEmpty();
    default: return false;
    }
}

bool TWLXCustomMaskEdit::IsNumeric() const
{
    return m_kind <= TWLXMaskType::mkCurrency;
}

QString TWLXCustomMaskEdit::Suffix() const
{
    return HasSuffix() ? m_suffix : QString();
}

QString TWLXCustomMaskEdit::ValueText() const
{
    const QString t = Text();
    return HasSuffix() && t.endsWith(m_suffix) ? t.left(t.size() - m_suffix.size()) : t;
}

bool TWLXCustomMaskEdit::InSuffix(int position) const
{
    return HasSuffix() && position > ValueText().size() + 1;
}

void TWLXCustomMaskEdit::SetSuffix(const QString& value)
{
    if (value == m_suffix)
        return;
    const QString base = ValueText();
    m_suffix = value;
    SetText(base + Suffix());
}

bool TWLXCustomMaskEdit::IsRadixDigit(QChar c) const
{
    return IsDigitOf(c, m_radix);
}

void TWLXCustomMaskEdit::SetRadix(int value)
{
    m_radix = std::clamp(value, 2, 36);
}

void TWLXCustomMaskEdit::SetDecimals(int value)
{
    if (value == m_decimals || value < 0)
        return;
    m_decimals = value;
    if (m_kind == TWLXMaskType::mkFixed || m_kind == TWLXMaskType::mkNumber)
        WriteValueText(FormatFixed(ReadFloat(ValueText())));
}

void TWLXCustomMaskEdit::SetMinValue(double value)
{
    if (value == m_min)
        return;
    m_min = value;
    if (m_max < value)
        m_max = value;
}

void TWLXCustomMaskEdit::SetMaxValue(double value)
{
    if (value == m_max)
        return;
    m_max = value;
    if (m_min > value)
        m_min = value;
}

void TWLXCustomMaskEdit::SetMask(const QString& value)
{
    if (value == m_mask)
        return;
    m_mask = value;
    m_editMask = TWLXEditMask(value);
    if (m_kind == TWLXMaskType::mkMask)
        SetText(m_editMask.BlankText(BlankChar));
}

QString TWLXCustomMaskEdit::FormatFixed(double value) const
{
    if (value == 0.0)
        value = 0.0;   // no "-0"
    QString s = QString::number(value, 'f', m_decimals);
    const bool negative = s.startsWith(u'-');
    if (negative)
        s.remove(0, 1);
    QString whole = s, fraction;
    if (const qsizetype point = s.indexOf(u'.'); point >= 0) {
        whole = s.left(point);
        fraction = s.mid(point + 1);
    }
    if (m_kind == TWLXMaskType::mkNumber && !ThousandSeparator.isNull())
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, ThousandSeparator);
    QString out = negative ? u'-' + whole : whole;
    if (m_decimals > 0)
        out += DecimalSeparator + fraction;
    return out;
}

double TWLXCustomMaskEdit::ReadFloat(const QString& text) const
{
    QString t = text;
    if (m_kind == TWLXMaskType::mkNumber && !ThousandSeparator.isNull())
        t.remove(ThousandSeparator);
    return RadixTextToFloat(t, m_radix, DecimalSeparator);
}

QString TWLXCustomMaskEdit::TimeText(const QTime& time) const
{
    const QChar sep = LocaleFormats().timeSeparator;
    return QStringLiteral("%1%2%3%2%4")
        .arg(time.hour(), 2, 10, QChar(u'0'))
        .arg(sep)
        .arg(time.minute(), 2, 10, QChar(u'0'))
        .arg(time.second(), 2, 10, QChar(u'0'));
}

bool TWLXCustomMaskEdit::ReadTime(const QString& text, QTime& time) const
{
    const QStringList parts = text.trimmed().split(LocaleFormats().timeSeparator);
    if (parts.isEmpty() || parts.size() > 3)
        return false;
    int values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return false;
    }
    time = QTime(values[0], values[1], values[2]);
    return time.isValid();
}

void TWLXCustomMaskEdit::WriteValueText(const QString& value)
{
    SetText(value + Suffix());
}

void TWLXCustomMaskEdit::SetMaskType(TWLXMaskType value)
{
    if (value == m_kind)
        return;
    m_kind = value;
    SelectionAllowed = value != TWLXMaskType::mkDate;
    const QDateTime now = Clock().LocalTime();
    switch (value) {
    case TWLXMaskType::mkFixed:
    case TWLXMaskType::mkNumber:
        m_radix = 10;
        WriteValueText(FormatFixed(0.0));
        break;
    case TWLXMaskType::mkCurrency:
        m_radix = 10;
        SetText(m_currency.FormatCurrency(0));
        break;
    case TWLXMaskType::mkDate:
        if (!Text().isEmpty()) {
            try {
                m_dateFormat.TextToDate(Text());
                break;
            } catch (const EWLXDateError&) {
                DoValidationError();
            }
        }
        SetText(m_dateFormat.FormatDateText(now.date()));
        break;
    case TWLXMaskType::mkTime:
        if (QTime t; !Text().isEmpty()) {
            if (ReadTime(Text(), t))
                break;
            DoValidationError();
        }
        SetText(TimeText(now.time()));
        break;
    case TWLXMaskType::mkMask: SetText(m_editMask.BlankText(BlankChar)); break;
    case TWLXMaskType::mkInteger:
    case TWLXMaskType::mkUnsigned:
    case TWLXMaskType::mkFloat: WriteValueText(QStringLiteral("0")); break;
    case TWLXMaskType::mkText: break;
    }
}

// ---- values --------------------------------------------------------------------------------

int64_t TWLXCustomMaskEdit::AsInteger()
{
    if (m_kind != TWLXMaskType::mkInteger)
        throw EWLXWrongDataType("No integer entered");
    const QString t = ValueText();
    bool ok = !t.isEmpty() && t != QStringLiteral("-");
    for (int i = t.startsWith(u'-') ? 1 : 0; ok && i < t.size(); ++i)
        ok = IsRadixDigit(t.at(i));
    if (!ok) {
        DoValidationError();
        return 0;
    }
    return RadixTextToInt(t, m_radix);
}

double TWLXCustomMaskEdit::AsFloat()
{
    if (m_kind != TWLXMaskType::mkFloat && m_kind != TWLXMaskType::mkFixed && m_kind != TWLXMaskType::mkNumber)
        throw EWLXWrongDataType("No float entered");
    QString t = ValueText();
    if (m_kind == TWLXMaskType::mkNumber && !ThousandSeparator.isNull())
        t.remove(ThousandSeparator);
    bool ok = true;
    for (int i = 0; ok && i < t.size(); ++i)
        ok = IsRadixDigit(t.at(i)) || t.at(i) == DecimalSeparator || (i == 0 && t.at(i) == u'-');
    if (!ok || t.count(DecimalSeparator) > 1) {
        DoValidationError();
        return 0.0;
    }
    return RadixTextToFloat(t, m_radix, DecimalSeparator);
}

QDate TWLXCustomMaskEdit::AsDate()
{
    if (m_kind != TWLXMaskType::mkDate)
        throw EWLXWrongDataType("No date entered");
    try {
        return m_dateFormat.TextToDate(Text());
    } catch (const EWLXDateError&) {
        DoValidationError();
        return QDate();
    }
}

QTime TWLXCustomMaskEdit::AsTime()
{
    if (m_kind != TWLXMaskType::mkTime)
        throw EWLXWrongDataType("No time entered");
    QTime t;
    if (!ReadTime(Text(), t)) {
        DoValidationError();
        return QTime();
    }
    return t;
}

double TWLXCustomMaskEdit::AsCurrency()
{
    return double(m_currency.TextToCurrency(Text())) / 10000.0;
}

void TWLXCustomMaskEdit::SetValueText(double x)
{
    QString t;
    switch (m_kind) {
    case TWLXMaskType::mkInteger: t = RadixIntToText(std::llround(x), m_radix); break;
    case TWLXMaskType::mkUnsigned: t = RadixIntToText(std::llabs(std::llround(x)), m_radix); break;
    case TWLXMaskType::mkFloat: t = RadixFloatToText(x, m_radix, DecimalSeparator); break;
    case TWLXMaskType::mkFixed:
    case TWLXMaskType::mkNumber: t = FormatFixed(x); break;
    case TWLXMaskType::mkCurrency: SetText(m_currency.FormatCurrency(std::llround(x * 10000.0))); return;
    case TWLXMaskType::mkDate:
        SetDateValue(QDate(1899, 12, 30).addDays(int64_t(std::floor(x))));
        return;
    case TWLXMaskType::mkTime:
        SetTimeValue(QTime(0, 0).addMSecs(int(std::llround((x - std::floor(x)) * 86400000.0))));
        return;
    default: return;
    }
    WriteValueText(t);
}

void TWLXCustomMaskEdit::SetDateValue(const QDate& date)
{
    if (m_kind == TWLXMaskType::mkDate)
        SetText(m_dateEditing ? m_dateFormat.FormatDateFixed(date) : m_dateFormat.FormatDateText(date));
}

void TWLXCustomMaskEdit::SetTimeValue(const QTime& time)
{
    if (m_kind == TWLXMaskType::mkTime)
        SetText(TimeText(time));
}

void TWLXCustomMaskEdit::Loaded()
{
    if (m_kind == TWLXMaskType::mkMask)
        SetText(m_editMask.BlankText(BlankChar));
    if (m_kind == TWLXMaskType::mkDate)
        SelectionAllowed = false;
    if (m_kind == TWLXMaskType::mkCurrency && m_currency.SystemDefaults() == TWLXCurrencyMode::cmSystem) {
        const int64_t amount = m_currency.TextToCurrency(Text());
        m_currency.LoadFromLocale();
        SetText(m_currency.FormatCurrency(amount));
    }
}

// ---- typing --------------------------------------------------------------------------------

TWLXMaskCheck TWLXCustomMaskEdit::MaskCheck() const
{
    if (!OnCheckChar)
        return {};
    return [this](int position, QChar ch) {
        bool accept = false;
        OnCheckChar(const_cast<TWLXCustomMaskEdit*>(this), accept, position + 1, ch);
        return accept;
    };
}

bool TWLXCustomMaskEdit::MaskAccepts(int position, QChar c) const
{
    return m_editMask.Accepts(position, c, BlankChar, MaskCheck());
}

void TWLXCustomMaskEdit::ToggleMinus()
{
    if (ReadOnly())
        return;
    const QString t = Text();
    m_reformatting = true;
    if (SelLength() == 0) {
        const int caret = CaretPos();
        if (const qsizetype minus = t.indexOf(u'-'); minus >= 0) {
            ReplaceRange(int(minus) + 1, 1, QString());
            SetCaretPos(caret - 1);
        } else {
            ReplaceRange(1, t.isEmpty() ? 0 : 1, u'-' + t.left(1));
            SetCaretPos(caret + 1);
        }
    } else {
        const int start = SelStart();
        ReplaceRange(start, SelLength(), QStringLiteral("-"));
        SetCaretPos(start + 1);
        SetSelStart(start + 1);
        SetSelLength(std::min(1, int(Text().size()) - start));
    }
    m_reformatting = false;
}

bool TWLXCustomMaskEdit::AcceptTypedChar(QChar c)
{
    if (HasSuffix() && InSuffix(CaretPos()))
        return false;
    const QString t = Text();
    const QChar after = CaretPos() <= t.size() ? t.at(CaretPos() - 1) : QChar();
    switch (m_kind) {
    case TWLXMaskType::mkInteger:
        if (c == u'-') {
            ToggleMinus();
            return false;
        }
        return IsRadixDigit(c) && after != u'-';
    case TWLXMaskType::mkUnsigned: return IsRadixDigit(c);
    case TWLXMaskType::mkFloat:
    case TWLXMaskType::mkFixed:
    case TWLXMaskType::mkNumber: {
        if (c == u'-') {
            ToggleMinus();
            return false;
        }
        if (IsRadixDigit(c))
            return after != u'-' || (SelLength() > 0 && SelStart() == 1);
        if (c != DecimalSeparator)
            return false;
        if (const qsizetype sep = ValueText().indexOf(DecimalSeparator); sep >= 0) {
            SetCaretPos(int(sep) + 2);
            return false;
        }
        const qsizetype minus = t.indexOf(u'-');
        return minus < 0 || minus < CaretPos() - 1;
    }
    case TWLXMaskType::mkCurrency: {
        const QChar sep = m_currency.DecimalSeparator;
        if (c == u'-') {
            if (!t.contains(u'-'))
                m_negativeZero = true;
            if (SelLength() > 0)
                return true;
            // The caret stays behind the same digits.
            auto isNumberChar = [sep](QChar ch) { return ch.isDigit() || ch == sep; };
            int before = 0;
            for (int i = 0; i < CaretPos() - 1 && i < t.size(); ++i)
                before += isNumberChar(t.at(i)) ? 1 : 0;
            ReplaceRange(CaretPos(), 0, QStringLiteral("-"));
            const QString n = Text();
            int p = 0;
            for (int seen = 0; p < n.size() && seen < before; ++p)
                seen += isNumberChar(n.at(p)) ? 1 : 0;
            SetCaretPos(p + 1);
            return false;
        }
        if (c == sep) {
            const qsizetype existing = t.indexOf(sep);
            if (SelLength() > 0)
                return existing >= SelStart() - 1 && existing < SelStart() - 1 + SelLength();
            int caret = CaretPos();
            m_reformatting = true;
            if (existing >= 0) {
                ReplaceRange(int(existing) + 1, 1, QString());
                if (existing < caret - 1)
                    --caret;
            }
            m_reformatting = false;
            ReplaceRange(caret, 0, QString(sep));
            return false;
        }
        return true;
    }
    case TWLXMaskType::mkDate:
        DateTypeChar(c);
        return false;
    case TWLXMaskType::mkTime: return c.isDigit() || c == LocaleFormats().timeSeparator;
    case TWLXMaskType::mkMask:
        if (SelLength() > 1)
            SetSelLength(1);
        if (SelLength() == 0 && CaretPos() <= t.size()) {
            // A mask edit always overwrites.
            SetSelStart(CaretPos());
            SetSelLength(1);
        }
        return c == BlankChar || MaskAccepts(SelStart() - 1, c);
    case TWLXMaskType::mkText: return true;
    }
    return true;
}

void TWLXCustomMaskEdit::BeforeInsert(int position, QString& text)
{
    TWLXCustomEdit::BeforeInsert(position, text);
    if (m_reformatting || text.isEmpty())
        return;
    const QString& rest = TextRef();
    switch (m_kind) {
    case TWLXMaskType::mkInteger: {
        const bool sign = text.startsWith(u'-');
        if (sign && rest.startsWith(u'-'))
            text.clear();
        for (int i = sign ? 1 : 0; i < text.size(); ++i)
            if (!IsRadixDigit(text.at(i)))
                text.clear();
        break;
    }
    case TWLXMaskType::mkUnsigned:
        for (QChar c : text)
            if (!IsRadixDigit(c))
                text.clear();
        break;
    case TWLXMaskType::mkFloat:
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (!IsRadixDigit(c) && c != DecimalSeparator && c != u'-') {
                text.clear();
                return;
            }
            if (c == u'-' && (i != 0 || position != 1)) {
                text.clear();
                return;
            }
        }
        for (QChar c : {DecimalSeparator, QChar(u'-')}) {
            if (text.contains(c) && rest.contains(c) && rest.indexOf(c) != position - 1) {
                text.clear();
                return;
            }
        }
        break;
    case TWLXMaskType::mkMask: {
        QString candidate = rest;
        candidate.insert(position - 1, text);
        if (!m_editMask.Passes(candidate, BlankChar, MaskCheck())) {
            text.clear();
            m_maskRefused = true;
        }
        break;
    }
    default: break;
    }
}

bool TWLXCustomMaskEdit::CanEdit(const QString& text) const
{
    if (!TWLXCustomEdit::CanEdit(text))
        return false;
    if (m_reformatting || (m_kind != TWLXMaskType::mkFixed && m_kind != TWLXMaskType::mkNumber
                           && m_kind != TWLXMaskType::mkCurrency))
        return true;
    // Refusing moves the caret, which the const test cannot; the edit is the same object.
    return const_cast<TWLXCustomMaskEdit*>(this)->CheckNumberEdit(text);
}

bool TWLXCustomMaskEdit::CheckNumberEdit(const QString& text)
{
    const QChar sep = m_kind == TWLXMaskType::mkCurrency ? m_currency.DecimalSeparator : DecimalSeparator;
    const QString t = Text();
    auto charAt = [&t](int p) { return p >= 1 && p <= t.size() ? t.at(p - 1) : QChar(); };
    auto isNumberChar = [sep](QChar c) { return c.isDigit() || c == u'-' || c == sep; };
    auto refuse = [this] {
        const int caret = CaretPos() + (m_lastKey == Qt::Key_Backspace ? -1 : 1);
        SetSelLength(0);
        SetCaretPos(caret);
        SetSelStart(CaretPos());
        return false;
    };
    const int start = SelStart();
    const bool deletingSeparator = text.isEmpty() && SelLength() == 1 && charAt(start) == sep;
    const bool overwrite = !(Application().EditModeFlags() & emInsert);
    if (deletingSeparator && (start == 1 || !isNumberChar(charAt(start - 1)))) {
        m_reformatting = true;
        ReplaceRange(start, 1, u'0' + QString(sep));
        m_reformatting = false;
        SetCaretPos(start + 1);
        return refuse();
    }
    if (overwrite && charAt(CaretPos()) == sep && SelLength() == 0) {
        SetCaretPos(CaretPos() + 1);
        SetSelStart(CaretPos());
        return CaretPos() <= Text().size();
    }
    if (deletingSeparator)
        return refuse();
    if (m_kind == TWLXMaskType::mkCurrency && overwrite) {
        const qsizetype at = t.indexOf(sep);
        if (at >= 0 && start - 1 < at && !isNumberChar(charAt(start)))
            return refuse();
    }
    return true;
}

// ---- after a change ------------------------------------------------------------------------

void TWLXCustomMaskEdit::BeforeChange()
{
    TWLXCustomEdit::BeforeChange();
    m_previousText = Text();
    const QChar thousand = m_kind == TWLXMaskType::mkCurrency ? m_currency.ThousandSeparator : ThousandSeparator;
    m_separatorsBefore = CountOf(Text(), thousand, CaretPos() - 1);
}

void TWLXCustomMaskEdit::AfterChange()
{
    TWLXCustomEdit::AfterChange();
    if (m_kind == TWLXMaskType::mkCurrency) {
        const int position = m_currency.NumberPosition(m_currency.TextToCurrency(Text()));
        if (position >= CaretPos()) {
            SetCaretPos(position);
            SetSelStart(CaretPos());
        }
    }
    if (m_kind == TWLXMaskType::mkNumber || m_kind == TWLXMaskType::mkCurrency) {
        const QChar thousand = m_kind == TWLXMaskType::mkCurrency ? m_currency.ThousandSeparator : ThousandSeparator;
        const int now = CountOf(Text(), thousand, CaretPos() - 1);
        if (now > m_separatorsBefore) {
            SetCaretPos(CaretPos() + now - m_separatorsBefore);
            SetSelStart(CaretPos());
        }
    }
}

void TWLXCustomMaskEdit::ReformatNumber()
{
    QString t = ValueText();
    QString target = FormatFixed(ReadFloat(t));
    if (MaxLength > 0)
        target = target.left(MaxLength);
    if (t == target)
        return;
    if (const qsizetype sep = t.indexOf(DecimalSeparator); sep >= 0 && t.size() - sep - 1 > m_decimals)
        t.chop(1);
    QString n = FormatFixed(ReadFloat(t));
    if (t.startsWith(u'-') && !n.startsWith(u'-'))
        n.prepend(u'-');
    TextRef() = n + Suffix();
}

void TWLXCustomMaskEdit::ReformatCurrency()
{
    const QString t = Text();
    const QString formatted = m_currency.FormatCurrency(m_currency.TextToCurrency(t), m_negativeZero);
    if (t == formatted)
        return;
    TextRef() = formatted;
    m_negativeZero = false;
}

void TWLXCustomMaskEdit::ReformatDate()
{
    if (!m_dateEditing || m_dateDigits > 0)
        return;   // a field is being typed; leaving the edit formats it
    int year, month, day;
    m_dateFormat.ParseDate(Text(), year, month, day);
    if (month < 1 || month > 12 || day < 1 || day > 31 || year <= 1898)
        return;
    try {
        TextRef() = m_dateFormat.FormatDateFixed(m_dateFormat.TextToDate(Text()));
    } catch (const EWLXDateError&) {
    }
}

void TWLXCustomMaskEdit::TextChanged(int at)
{
    if (!m_reformatting && !(Loading && Text().isEmpty())) {
        m_reformatting = true;
        switch (m_kind) {
        case TWLXMaskType::mkFixed:
        case TWLXMaskType::mkNumber: ReformatNumber(); break;
        case TWLXMaskType::mkCurrency: ReformatCurrency(); break;
        case TWLXMaskType::mkDate: ReformatDate(); break;
        case TWLXMaskType::mkMask:
            if (m_maskRefused || !m_editMask.Passes(Text(), BlankChar, MaskCheck()))
                TextRef() = m_previousText;
            break;
        default: break;
        }
        m_maskRefused = false;
        m_reformatting = false;
    }
    TWLXCustomEdit::TextChanged(at);
    m_previousText = Text();
}

// ---- keys, focus, wheel --------------------------------------------------------------------

void TWLXCustomMaskEdit::ShrinkSelectionBeforeSuffix()
{
    const int end = int(ValueText().size()) + 1;
    if (SelLength() > 0 && SelStart() + SelLength() > end)
        SetSelLength(std::max(0, end - SelStart()));
}

void TWLXCustomMaskEdit::ProcessKey(int& key)
{
    m_lastKey = key;
    const uint8_t flags = Application().EditModeFlags();
    const bool ctrl = flags & emCtrl, shift = flags & emShift;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && ValidateOnEnter) {
        LeaveChecks();
        EnterChecks();
        key = 0;
        return;
    }
    if (m_kind == TWLXMaskType::mkDate) {
        switch (key) {
        case Qt::Key_Left: DateMoveField(false); key = 0; return;
        case Qt::Key_Right: DateMoveField(true); key = 0; return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!ReadOnly())
                DateStepField(key == Qt::Key_Up ? 1 : -1);
            key = 0;
            return;
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Backspace:
        case Qt::Key_Delete: key = 0; return;
        default: break;
        }
    }
    if (m_kind == TWLXMaskType::mkMask && !ReadOnly() && !shift
        && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
        // Positions are blanked, never removed.
        const int caret = CaretPos();
        int from = SelStart(), count = SelLength();
        if (count == 0) {
            from = key == Qt::Key_Backspace ? caret - 1 : caret;
            count = 1;
        }
        from = std::max(1, from);
        count = std::min(count, int(Text().size()) - from + 1);
        if (count > 0) {
            m_reformatting = true;
            ReplaceRange(from, count, m_editMask.BlankRange(from - 1, count, BlankChar));
            m_reformatting = false;
        }
        SetCaretPos(caret);
        key = 0;
        return;
    }
    if (HasSuffix()) {
        if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
            ShrinkSelectionBeforeSuffix();
        const bool clipboard = (ctrl && (key == Qt::Key_X || key == Qt::Key_V))
                               || (shift && (key == Qt::Key_Delete || key == Qt::Key_Insert));
        if (clipboard && SelStart() + SelLength() > ValueText().size() + 1) {
            key = 0;
            return;
        }
    }
    TWLXCustomEdit::ProcessKey(key);
}

void TWLXCustomMaskEdit::TakeFocusBack(int selStart, int selLength)
{
    if (m_destroying)
        return;
    QTimer::singleShot(0, this, [this, selStart, selLength] {
        setFocus(Qt::OtherFocusReason);
        if (selLength > 0) {
            SetCaretPos(selStart);
            SetSelStart(selStart);
            SetSelLength(selLength);
        }
    });
}

void TWLXCustomMaskEdit::EnterChecks()
{
    if (m_kind != TWLXMaskType::mkDate)
        return;
    m_dateEditing = true;
    m_dateDigits = 0;
    if (!Text().isEmpty()) {
        try {
            const QDate date = m_dateFormat.TextToDate(Text());
            m_reformatting = true;
            SetText(m_dateFormat.FormatDateFixed(date));
            m_reformatting = false;
        } catch (const EWLXDateError&) {
        }
    }
    SelectDateField();
}

void TWLXCustomMaskEdit::LeaveChecks()
{
    switch (m_kind) {
    case TWLXMaskType::mkDate:
        m_dateEditing = false;
        m_dateDigits = 0;
        try {
            const QDate date = m_dateFormat.TextToDate(Text());
            SetText(m_dateFormat.FormatDateText(date));
        } catch (const EWLXDateError&) {
            DoValidationError();
            TakeFocusBack();
        }
        break;
    case TWLXMaskType::mkTime:
        if (QTime t; !ReadTime(Text(), t)) {
            DoValidationError();
            TakeFocusBack();
        }
        break;
    case TWLXMaskType::mkMask:
        if (const int missing = m_editMask.FirstMissingRequired(Text(), BlankChar, MaskCheck()); missing >= 0)
            TakeFocusBack(missing + 1, 1);
        break;
    default:
        if (IsNumeric() && ValueText() == QStringLiteral("-"))
            SetText(Suffix());
        break;
    }
}

void TWLXCustomMaskEdit::focusInEvent(QFocusEvent* event)
{
    TWLXCustomEdit::focusInEvent(event);
    EnterChecks();
}

void TWLXCustomMaskEdit::focusOutEvent(QFocusEvent* event)
{
    TWLXCustomEdit::focusOutEvent(event);
    LeaveChecks();
}

void TWLXCustomMaskEdit::wheelEvent(QWheelEvent* event)
{
    if (m_kind != TWLXMaskType::mkDate || event->angleDelta().y() == 0) {
        TWLXCustomEdit::wheelEvent(event);
        return;
    }
    if (!ReadOnly())
        DateStepField(event->angleDelta().y() > 0 ? 1 : -1);
    event->accept();
}

// ---- date fields ---------------------------------------------------------------------------

void TWLXCustomMaskEdit::CursorMoved()
{
    if (m_kind == TWLXMaskType::mkDate && m_dateEditing && !m_selectingField)
        SelectDateField();
    TWLXCustomEdit::CursorMoved();
}

void TWLXCustomMaskEdit::SelectDateField()
{
    const QString t = Text();
    const int start = m_dateFormat.FieldStart(CaretPos(), t);
    if (start <= 0)
        return;
    m_selectingField = true;
    if (CaretPos() != start)
        SetCaretPos(start);
    SetSelStart(start);
    const int length = m_dateFormat.FieldLength(start, t);
    if (length > 0)
        SetSelLength(length);
    else
        SetSelLength(0);
    m_selectingField = false;
    update();
}

void TWLXCustomMaskEdit::DateMoveField(bool forward)
{
    m_dateDigits = 0;
    const QString t = Text();
    SetCaretPos(forward ? m_dateFormat.NextFieldStart(CaretPos(), t) : m_dateFormat.PrevFieldStart(CaretPos(), t));
    SelectDateField();
}

void TWLXCustomMaskEdit::DateStepField(int delta)
{
    const QString t = Text();
    const int kind = m_dateFormat.FieldKind(CaretPos(), t);
    QDate date;
    try {
        date = m_dateFormat.TextToDate(t);
    } catch (const EWLXDateError&) {
        DoValidationError();
        return;
    }
    QDate changed;
    if (kind == 1 || kind == 2) {
        changed = date.addDays(delta);
    } else if (kind >= 11 && kind <= 14) {
        int month = date.month() + delta;
        month = month > 12 ? 1 : month < 1 ? 12 : month;
        changed = QDate(date.year(), month, date.day());
    } else if (kind >= 21 && kind <= 24) {
        changed = QDate(date.year() + delta, date.month(), date.day());
    } else {
        return;   // day names do not change
    }
    if (!changed.isValid()) {
        DoValidationError();
        return;
    }
    const int caret = CaretPos();
    m_reformatting = true;
    ReplaceRange(1, int(t.size()), m_dateFormat.FormatDateFixed(changed));
    m_reformatting = false;
    SetCaretPos(caret);
    SelectDateField();
}

void TWLXCustomMaskEdit::DateTypeChar(QChar c)
{
    if (ReadOnly())
        return;
    if (c == LocaleFormats().dateSeparator) {
        DateMoveField(true);
        return;
    }
    if (!c.isDigit())
        return;
    const QString t = Text();
    const int caret = CaretPos();
    const int kind = m_dateFormat.FieldKind(caret, t);
    const int start = m_dateFormat.FieldStart(caret, t);
    if (kind == 0 || start <= 0)
        return;
    const int digit = c.digitValue();
    ++m_dateDigits;
    int from = start, count = 0;
    QString replacement;
    if (kind == 1 || kind == 2 || kind == 11 || kind == 12) {
        // Day and month numbers stand two characters wide.
        const bool day = kind <= 2;
        const QString field = t.mid(start - 1, 2);
        count = int(field.size());
        auto at = [&field](int i) { return i < field.size() ? field.at(i) : QChar(u' '); };
        bool join = false;
        QChar kept;
        if (m_dateDigits == 2) {
            kept = at(0);   // the one digit typed so far
            const int d = kept.digitValue();
            join = day ? (d < 3 || (d == 3 && digit <= 1)) : (d < 1 || (d == 1 && digit < 3));
        } else if (m_dateDigits > 2) {
            kept = at(1);   // the second of two digits
            const int e = kept.digitValue();
            join = day ? (e >= 0 && (e < 3 || (e == 3 && digit <= 1)))
                       : (at(0) == u'0' && e >= 0 && e < 2 && digit < 3);
        }
        if (join) {
            replacement = QString(kept) + c;
        } else {
            replacement = QString(c) + u' ';
            m_dateDigits = 1;
        }
    } else if (kind == 13 || kind == 14) {
        if (m_dateDigits == 2 && m_monthTyped == 1)
            m_monthTyped = 10 + digit;
        else {
            m_monthTyped = digit;
            m_dateDigits = 1;
        }
        if (m_monthTyped < 1 || m_monthTyped > 12)
            return;   // no such month: the field stays
        const TLocaleFormats& l = LocaleFormats();
        const QStringList& names = kind == 13 ? l.shortMonthNames : l.longMonthNames;
        const int width = kind == 13 ? TWLXDateFormat::LongestShortMonthName() : TWLXDateFormat::LongestLongMonthName();
        count = m_dateFormat.FieldLength(start, t);
        while (count < width && start - 1 + count < t.size() && t.at(start - 1 + count) == u' ')
            ++count;
        replacement = names.value(m_monthTyped - 1).leftJustified(count, u' ');
    } else if (kind >= 21) {
        if (m_dateDigits == 1 || m_dateDigits > 4) {
            m_yearTyped = QString(c);
            m_dateDigits = 1;
        } else {
            m_yearTyped += c;
        }
        count = m_dateFormat.FieldLength(start, t);
        replacement = m_yearTyped;
    } else {
        --m_dateDigits;
        return;   // day names are not typed into
    }
    const bool yearDone = kind >= 21 && m_dateDigits == 4;
    m_reformatting = true;
    ReplaceRange(from, count, replacement);
    m_reformatting = false;
    if (yearDone) {
        // Four digits make the year whole: the field is selected for the next try.
        m_dateDigits = 0;
        TextChanged(start);
        m_dateDigits = 4;
    }
    SetCaretPos(start);
    SelectDateField();
}
