#include "core/model/Iobt.h"

#include "core/model/FrontPanelHooks.h"
#include "core/model/ViewHooks.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/ValueText.h"

#include <QStringList>
#include <algorithm>

namespace {
// Most pins a stored component may declare on one side.
constexpr int32_t MaxStoredPins = 256;
} // namespace

// --- TBauteilPin ---------------------------------------------------------------------------

void TBauteilPin::SetName(const QString& name)
{
    m_name = name.left(10);
    SetFlag(kStringFlag, m_name.startsWith(QLatin1Char('$')));
    if (IsStringPin())
        Value = m_text == QLatin1String("True") ? 5.0L : TextToValue(m_text);
}

void TBauteilPin::SetPinText(const QString& text)
{
    m_text = text;
    Value = text == QLatin1String("True") ? 5.0L : TextToValue(text);
}

void TBauteilPin::SetSource(TBauteilPin* source)
{
    m_source = source;
    if (m_owner)
        m_owner->m_quickSources[m_index] = source ? source : &TIOBauteil::OpenInputPin();
}

void TBauteilPin::SetInverted(bool inverted)
{
    SetFlag(kInvertedFlag, inverted);
    if (!m_owner)
        return;
    const uint32_t bit = 1u << m_index;
    m_owner->m_invertedInputs = inverted ? (m_owner->m_invertedInputs | bit)
                                         : (m_owner->m_invertedInputs & ~bit);
}

void TBauteilPin::SetSameNet(std::vector<TBauteilPin*> pins)
{
    m_sameNet = std::move(pins);
    SetFlag(kSharedFlag, m_sameNet.size() >= 2);
}

// --- TIOBauteil ----------------------------------------------------------------------------

void TIOBauteil::DriveDigitalShared(TBauteilPin& p, bool level)
{
    p.Contribution = level ? 5.0L : 0.0L;
    bool high = false;
    for (const TBauteilPin* q : p.SameNet()) {
        if (q->Contribution > 2.5L) {
            high = true;
            break;
        }
    }
    for (TBauteilPin* q : p.SameNet()) {
        if (!q->IsStringPin())
            q->Value.SetDigital(high);
    }
}

void TIOBauteil::DriveValueShared(TBauteilPin& p, Extended value)
{
    p.Contribution = value;
    Extended sum = 0.0L;
    for (const TBauteilPin* q : p.SameNet())
        sum += q->Contribution;
    for (TBauteilPin* q : p.SameNet()) {
        if (!q->IsStringPin())
            q->Value = sum;
    }
}

TIOBauteil::TIOBauteil()
{
    SetLink(nullptr);
    X = 300;
    Y = 300;
    LayoutPins();
    SetNumber(0);
    SetMirrored(false);
    SymbolColor = 0;
    HelpContext = 1000;
    SetLabel(GetTypeName());
}

TIOBauteil::~TIOBauteil()
{
    if (Link)
        FrontPanelHooks().UnlinkElement(*Link);
    Link = nullptr;
}

void TIOBauteil::AfterConstruction()
{
    TBauteil::AfterConstruction();
    // The constructors ran before the final class's GetWidth and GetTypeName were reachable.
    LayoutPins();
    if (Label.isEmpty())
        SetLabel(GetTypeName());
}

void TIOBauteil::SetElementClass(const QString& className)
{
    m_elementClass = className.left(20);
}

void TIOBauteil::SetPrefix(const QString& prefix)
{
    m_prefix = prefix.left(10);
}

void TIOBauteil::Calculate() {}
void TIOBauteil::SimReset() {}
void TIOBauteil::NameInputs() {}
void TIOBauteil::NameOutputs() {}
void TIOBauteil::SimPrepare() {}

void TIOBauteil::SimEnd()
{
    SimReset();
}

void TIOBauteil::SetInputCount(int32_t count)
{
    if (OnBeforePinsChange)
        OnBeforePinsChange(this);
    count = std::max(count, 0);
    if (count == InputCount)
        return;
    InputCount = count;
    Inputs.clear();
    Inputs.reserve(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        auto pin = std::make_unique<TBauteilPin>();
        pin->SetName(QStringLiteral("E") + QString::number(k));
        Inputs.push_back(std::move(pin));
    }
    RefreshQuickPins();
    NameInputs();
    LayoutPins();
    if (OnPinsChanged)
        OnPinsChanged(this);
}

void TIOBauteil::SetOutputCount(int32_t count)
{
    if (OnBeforePinsChange)
        OnBeforePinsChange(this);
    count = std::max(count, 0);
    if (count == OutputCount)
        return;
    OutputCount = count;
    Outputs.clear();
    Outputs.reserve(static_cast<size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
        auto pin = std::make_unique<TBauteilPin>();
        pin->SetName(QStringLiteral("A") + QString::number(k));
        Outputs.push_back(std::move(pin));
    }
    RefreshQuickPins();
    NameOutputs();
    LayoutPins();
    if (OnPinsChanged)
        OnPinsChanged(this);
}

const TBauteilPin& TIOBauteil::OpenInputPin()
{
    static const TBauteilPin* const open = [] {
        auto* pin = new TBauteilPin;
        pin->Value.SetOpenInput();
        return pin;
    }();
    return *open;
}

void TIOBauteil::RefreshQuickPins()
{
    m_invertedInputs = 0;
    for (size_t k = 0; k < size_t(kQuickInputs); ++k) {
        m_quickSources[k] = nullptr;
        if (k >= Inputs.size())
            continue;
        TBauteilPin& pin = *Inputs[k];
        pin.m_owner = this;
        pin.m_index = uint8_t(k);
        pin.SetSource(pin.Source());
        pin.SetInverted(pin.Inverted());
    }
    for (size_t k = 0; k < size_t(kQuickOutputs); ++k)
        m_quickOutputs[k] = k < Outputs.size() ? Outputs[k].get() : nullptr;
}

int32_t TIOBauteil::GetWidth() const
{
    const int32_t m = std::max(InputCount, OutputCount);
    if (m <= 4)
        return 100;
    if (m <= 8)
        return 140;
    return 160;
}

void TIOBauteil::SetNumber(int32_t number)
{
    Number = number;
}

QString TIOBauteil::GetTypeName() const
{
    return QString();
}

QString TIOBauteil::GetLabel() const
{
    return Label;
}

void TIOBauteil::SetLabel(const QString& label)
{
    Label = label;
    Label.replace(QLatin1Char('\r'), QLatin1Char(' '));
}

void TIOBauteil::SetLink(TFP_Element* element)
{
    Link = element;
}

void TIOBauteil::SetMirrored(bool mirrored)
{
    Mirrored = mirrored;
    LayoutPins();
}

void TIOBauteil::LayoutPins()
{
    const int32_t m = std::max({InputCount, OutputCount, int32_t(1)});
    Body.Left = X;
    Body.Top = Y;
    Body.Right = X + GetWidth();
    Body.Bottom = Y + (m + 1) * 40;

    // Vertical position of the k-th pin placed on a side carrying c pins.
    auto offsetFor = [&](size_t c) {
        const Extended ratio = Extended(2 * (m + 1)) / Extended(c + 1);
        return static_cast<int32_t>(RoundHalfEven(ratio)) * PinPitch;
    };
    const int32_t leftX = Body.Left - 40;
    const int32_t rightX = Body.Right + 40;

    const size_t ci = Inputs.size();
    if (ci > 0) {
        const int32_t offset = offsetFor(ci);
        for (size_t k = 0; k < ci; ++k) {
            TBauteilPin& pin = Mirrored ? *Inputs[ci - 1 - k] : *Inputs[k];
            pin.X = Mirrored ? rightX : leftX;
            pin.Y = Y + offset + 40 * int32_t(k);
            pin.Length = 40;
        }
    }
    const size_t co = Outputs.size();
    if (co > 0) {
        const int32_t offset = offsetFor(co);
        for (size_t k = 0; k < co; ++k) {
            TBauteilPin& pin = Mirrored ? *Outputs[k] : *Outputs[co - 1 - k];
            pin.X = Mirrored ? leftX : rightX;
            pin.Y = Y + offset + 40 * int32_t(k);
            pin.Length = 40;
        }
    }
}

QString TIOBauteil::GetInputText(int i) const
{
    const TBauteilPin& p = *Inputs[i];
    if (!p.Source())
        return QString();
    if (p.Source()->IsStringPin())
        return p.Source()->GetPinText();
    return ValueToText(p.Source()->Value);
}

void TIOBauteil::SetOutputText(int i, const QString& text)
{
    Outputs[i]->SetPinText(text);
}

void TIOBauteil::SetSelected(bool selected)
{
    Selected = selected;
    auto selectSegments = [this](const std::vector<std::unique_ptr<TBauteilPin>>& pins) {
        for (const auto& pin : pins) {
            if (!pin->Segment)
                continue;
            pin->Segment->Selected = Selected;
            if (const auto& repaint = BoardViewHooks().RepaintSegment)
                repaint(*pin->Segment);
        }
    };
    selectSegments(Inputs);
    selectSegments(Outputs);
}

bool TIOBauteil::HitTest(QPoint devicePoint, TCanvas& canvas)
{
    const TRect b = GetBounds();
    const QPoint a = canvas.LPtoDP(QPoint(b.Left, b.Top));
    const QPoint c = canvas.LPtoDP(QPoint(b.Right, b.Bottom));
    return TRect{a.x(), a.y(), c.x(), c.y()}.Normalized().Contains(devicePoint);
}

void TIOBauteil::MoveBy(int32_t dx, int32_t dy)
{
    X += dx;
    Y += dy;
    LayoutPins();
}

TRect TIOBauteil::GetBounds() const
{
    TRect r = Body.Inflated(8);
    const bool hasInputs = !Inputs.empty();
    const bool hasOutputs = !Outputs.empty();
    if (hasInputs) {
        if (Mirrored)
            r.Right += 60;
        else
            r.Left -= 60;
    }
    if (hasOutputs) {
        if (Mirrored)
            r.Left -= 60;
        else
            r.Right += 60;
    }
    if (!hasInputs && !hasOutputs)
        r.Left -= 60;
    return r;
}

void TIOBauteil::WriteData(TWriter& writer)
{
    TBauteil::WriteData(writer);
    writer.WriteInteger(X);
    writer.WriteInteger(Y);
    writer.WriteInteger(InputCount);
    writer.WriteInteger(OutputCount);
    writer.WriteBoolean(Mirrored);
    for (const auto& pin : Inputs)
        writer.WriteBoolean(pin->Inverted());
    for (const auto& pin : Outputs)
        writer.WriteBoolean(pin->Inverted());
    writer.WriteBoolean(RunTimeAdjustable);
    writer.WriteString(GetLabel());
}

void TIOBauteil::ReadData(TReader& reader, uint8_t version)
{
    TBauteil::ReadData(reader, version);
    X = reader.ReadInteger();
    Y = reader.ReadInteger();
    SetInputCount(TReader::CheckCount(reader.ReadInteger(), 0, MaxStoredPins, "InputCount"));
    SetOutputCount(TReader::CheckCount(reader.ReadInteger(), 0, MaxStoredPins, "OutputCount"));
    SetMirrored(reader.ReadBoolean());
    if (version >= 3) {
        for (auto& pin : Inputs)
            pin->SetInverted(reader.ReadBoolean());
        for (auto& pin : Outputs)
            pin->SetInverted(reader.ReadBoolean());
    } else {
        for (auto& pin : Inputs)
            pin->SetInverted(false);
        for (auto& pin : Outputs)
            pin->SetInverted(false);
    }
    if (version >= 40) {
        RunTimeAdjustable = reader.ReadBoolean();
        const QString label = reader.ReadString();
        if (!Ctx().LoadingFromLibrary)
            SetLabel(label);
    } else {
        RunTimeAdjustable = false;
        SetLabel(GetTypeName());
    }
    LayoutPins();
}

QString TIOBauteil::GetHint() const
{
    QStringList lines;
    if (!m_prefix.isEmpty())
        lines << m_prefix + QLatin1Char(' ') + QString::number(Number);
    const QString typeName = GetTypeName();
    const QString label = GetLabel();
    if (label != typeName)
        lines << label;
    lines << typeName;
    return lines.join(QLatin1Char('\r'));
}

// --- Captions inside the block symbol --------------------------------------------------------

void TIOBauteil::DrawSymbolCaption(TCanvas& canvas, const QString& caption, int32_t colour)
{
    canvas.Font.setFamily(QStringLiteral("ARIAL"));
    int height = 32;
    canvas.SetFontHeight(height);
    const int bodyWidth = Body.Right - Body.Left;
    const int bodyHeight = Body.Bottom - Body.Top;
    const int cx = Body.Left + bodyWidth / 2;
    const int cy = Body.Top + bodyHeight / 2 - 10;
    canvas.Brush.Style = Qt::NoBrush;
    canvas.TransparentText = true;
    const int th = canvas.TextHeight(caption);
    const int room = bodyHeight - 75;
    while (canvas.TextWidth(caption) > room && height > 5)
        canvas.SetFontHeight(--height);
    canvas.SetFontHeight(--height);
    const int w = canvas.TextWidth(caption);
    canvas.FontColor = Selected ? clRed : colour;
    if (w <= room)
        DrawRotatedText(canvas, cx - th / 2, caption, 90, cy + w / 2);
}

void TIOBauteil::DrawRotatedText(TCanvas& canvas, int x, const QString& text, int angle, int y)
{
    const QFont saved = canvas.Font;
    const int height = canvas.FontHeight();
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.Font.setWeight(QFont::Normal);
    canvas.Font.setItalic(false);
    canvas.SetFontHeight(height);
    canvas.TextOutRotated(x, y, text, angle);
    canvas.Font = saved;
}

void TIOBauteil::DrawPinStub(TCanvas& canvas, const TBauteilPin& pin, bool isInput,
                             bool lit) const
{
    canvas.Pen = TCanvasPen{lit ? clRed : clBlack, 3, Qt::SolidLine, TPenMode::Copy};
    canvas.MoveTo(pin.X, pin.Y);
    canvas.LineTo(isInput != Mirrored ? pin.X + 40 : pin.X - 40, pin.Y);
}

void TIOBauteil::DrawStateArrow(TCanvas& canvas, const TBauteilPin& pin, bool isInput,
                                bool lit) const
{
    if (lit && Ctx().SimRunning) {
        canvas.Pen = TCanvasPen{clGray, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{clLime, Qt::SolidPattern};
    } else {
        canvas.Pen = TCanvasPen{clBlack, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{clSilver, Qt::SolidPattern};
    }
    const int32_t x = isInput == Mirrored ? Body.Right : Body.Left;
    const int32_t d = Mirrored ? -7 : 7;
    const int32_t y = pin.Y;
    canvas.Polygon({QPoint(x - d, y - d), QPoint(x + d, y), QPoint(x - d, y + d)});
}

void TIOBauteil::CheckStoredPins(int32_t inputs, int32_t outputs) const
{
    TReader::CheckCount(InputCount, inputs, inputs, "InputCount");
    TReader::CheckCount(OutputCount, outputs, outputs, "OutputCount");
}

QString TIOBauteil::StateSection(const QString& boardName) const
{
    return boardName + QLatin1Char('.') + Designator();
}

void TIOBauteil::NamePins(std::vector<std::unique_ptr<TBauteilPin>>& pins,
                          std::initializer_list<const char*> names)
{
    size_t i = 0;
    for (const char* name : names) {
        if (i >= pins.size())
            break;
        pins[i++]->SetName(QString::fromUtf8(name));
    }
}
