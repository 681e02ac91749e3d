#include "hardware/framework/IoPort.h"

#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The largest pin count a stored port record may declare.
constexpr int32_t kMaxStoredPins = 4096;

// Devices whose stored name follows the configured instrument or channel; every other port
// keeps the name its constructor gave it in the current language.
constexpr const char* kNamedFromStream[] = {
    "TDMMInterface",  "THygrotecInterface", "THID_DMM",          "TSartoriusInterface",
    "TMIDIInterface", "TMIDIReceiveInterface", "TMIDIThruInterface", "TTrumeter",
};

// Replaces the first "^" of a text by a blank, so that it cannot be taken for the version mark.
void BlankFirstCaret(QString& text)
{
    const qsizetype caret = text.indexOf(QLatin1Char('^'));
    if (caret >= 0)
        text[caret] = QLatin1Char(' ');
}

} // namespace

std::function<bool()>& SimFastQuery()
{
    static std::function<bool()> query;
    return query;
}

// --- Pins ----------------------------------------------------------------------------------------

void SetPinValue(TPin& pin, Extended x)
{
    pin.TimeStamp = Clock().PerformanceCounter();
    pin.Value = x;
    const size_t length = size_t(std::max(pin.HistoryLength, 0));
    while (pin.History.size() < length)
        pin.History.push_back(x);
    while (pin.History.size() > length)
        pin.History.pop_front();
    if (!pin.History.empty()) {
        pin.History.pop_back();
        pin.History.push_front(x);
    }
}

Extended GetPinValue(const TPin& pin)
{
    if (pin.History.size() != 3)
        return pin.Value;
    Extended v[3] = {pin.History[0], pin.History[1], pin.History[2]};
    std::sort(v, v + 3);
    return v[1];
}

void SetPinDigital(TPin& pin, bool b)
{
    SetPinValue(pin, b ? 5.0L : 0.0L);
}

bool GetPinDigital(const TPin& pin)
{
    return GetPinValue(pin) > 2.5L;
}

int64_t GetPinRounded(const TPin& pin)
{
    return RoundHalfEven(GetPinValue(pin));
}

Extended PinScaleStep(const TPin& pin)
{
    if (pin.RawMax == pin.RawMin)
        return 0.0L;
    return (pin.Max - pin.Min) / (Extended(pin.RawMax) - Extended(pin.RawMin));
}

int32_t PinValueToRaw(const TPin& pin)
{
    if (PinScaleStep(pin) == 0.0L)
        return pin.RawMin;
    // Divided by the step as a quotient of its two spans, so that halves stay exact.
    const Extended r = (GetPinValue(pin) - pin.Min) * (Extended(pin.RawMax) - Extended(pin.RawMin))
                           / (pin.Max - pin.Min)
                       + pin.RawMin;
    if (r > pin.RawMax)
        return pin.RawMax;
    if (r < pin.RawMin || std::isnan(double(r)))
        return pin.RawMin;
    return int32_t(RoundHalfEven(r));
}

void PinRawToValue(TPin& pin, uint16_t raw)
{
    pin.TimeStamp = Clock().PerformanceCounter();
    pin.Value = PinScaleStep(pin) * (Extended(raw) - Extended(pin.RawMin)) + pin.Min;
}

void AssignPin(TPin& target, const TPin& source)
{
    target.Description = source.Description;
    target.PinName = source.PinName;
    target.Min = source.Min;
    target.Max = source.Max;
    target.Configurable = source.Configurable;
    target.RawMin = source.RawMin;
    target.RawMax = source.RawMax;
    target.Factor = source.Factor;
    target.Offset = source.Offset;
    target.IsOutput = source.IsOutput;
    target.Option1 = source.Option1;
    target.Option2 = source.Option2;
    target.Option3 = source.Option3;
    target.Params = source.Params;
}

void SplitVersioned(const QString& stored, QString& name, int32_t& version)
{
    const qsizetype caret = stored.indexOf(QLatin1Char('^'));
    if (caret < 0) {
        name = stored;
        version = 0;
        return;
    }
    name = stored.left(caret);
    bool ok = false;
    version = stored.mid(caret + 1).toInt(&ok, 10);
    if (!ok)
        throw EFilerError::invalidPropertyValue();
}

void WritePin(TPin& pin, TWriter& writer)
{
    BlankFirstCaret(pin.Description);
    writer.WriteString(pin.Description + QLatin1Char('^') + QString::number(pin.Version));
    writer.WriteString(pin.PinName);
    writer.WriteInteger(pin.PortIndex);
    writer.WriteInteger(pin.PinIndex);
    writer.WriteFloat(pin.Min);
    writer.WriteFloat(pin.Max);
    writer.WriteBoolean(pin.Configurable);
    writer.WriteFloat(GetPinValue(pin));
    writer.WriteInteger(pin.RawMin);
    writer.WriteInteger(pin.RawMax);
    if (pin.Version >= 1) {
        writer.WriteFloat(pin.Factor);
        writer.WriteFloat(pin.Offset);
        writer.WriteInteger(pin.IsOutput ? 1 : 0);
        writer.WriteInteger(pin.Option1);
        writer.WriteInteger(pin.Option2);
        writer.WriteInteger(pin.Option3);
        for (int32_t p : pin.Params)
            writer.WriteInteger(p);
    }
}

void ReadPin(TPin& pin, TReader& reader, bool takeTexts)
{
    QString description;
    int32_t version = 0;
    SplitVersioned(reader.ReadString(), description, version);
    const QString pinName = reader.ReadString();
    if (takeTexts) {
        pin.Description = description;
        pin.PinName = pinName;
    }
    pin.PortIndex = reader.ReadInteger();
    pin.PinIndex = reader.ReadInteger();
    pin.Min = reader.ReadFloat();
    pin.Max = reader.ReadFloat();
    pin.Configurable = reader.ReadBoolean();
    SetPinValue(pin, reader.ReadFloat());
    pin.RawMin = uint16_t(reader.ReadInteger());
    pin.RawMax = uint16_t(reader.ReadInteger());
    if (version >= 1) {
        pin.Factor = reader.ReadFloat();
        pin.Offset = reader.ReadFloat();
        pin.IsOutput = uint8_t(reader.ReadInteger());
        pin.Option1 = uint8_t(reader.ReadInteger());
        pin.Option2 = uint8_t(reader.ReadInteger());
        pin.Option3 = uint8_t(reader.ReadInteger());
        for (int32_t& p : pin.Params)
            p = reader.ReadInteger();
    } else {
        pin.Factor = 1.0L;
        pin.Offset = 0.0L;
        pin.IsOutput = 0;
        pin.Option1 = pin.Option2 = pin.Option3 = 0;
        pin.Params.fill(0);
    }
}

// --- Ports ---------------------------------------------------------------------------------------

TIOPort::TIOPort() = default;

TIOPort::~TIOPort()
{
    ClearPins();
}

int32_t TIOPort::GetPinCount() const
{
    return int32_t(Pins.size());
}

void TIOPort::SetValue(int32_t index, Extended value)
{
    SetPinValue(*Pins[size_t(index)], value);
}

void TIOPort::SetText(int32_t index, const QString& text)
{
    Pins[size_t(index)]->Text = text;
}

Extended TIOPort::GetValue(int32_t index)
{
    return GetPinValue(*Pins[size_t(index)]);
}

Extended TIOPort::GetInputValue(int32_t index)
{
    return ValidIndex(index) ? GetPinValue(*Pins[size_t(index)]) : 0.0L;
}

QString TIOPort::GetInputText(int32_t index)
{
    return ValidIndex(index) ? Pins[size_t(index)]->Text : QString();
}

int64_t TIOPort::GetInputTime(int32_t index)
{
    return ValidIndex(index) ? Pins[size_t(index)]->TimeStamp : 0;
}

void TIOPort::ResetPins()
{
    for (int32_t i = 0; i < int32_t(Pins.size()); ++i)
        SetValue(i, 0.0L);
}

void TIOPort::ApplySettings()
{
    MakeInfoLines();
}

void TIOPort::writeToStream(TWriter& writer)
{
    BlankFirstCaret(Name);
    writer.WriteString(Name + QLatin1Char('^') + QString::number(StreamVersion));
    writer.WriteInteger(BaseAddress);
    writer.WriteBoolean(IsInput);
    writer.WriteInteger(int32_t(Pins.size()));
    for (auto& pin : Pins)
        WritePin(*pin, writer);
}

void TIOPort::readFromStream(TReader& reader)
{
    QString storedName;
    SplitVersioned(reader.ReadString(), storedName, LoadedVersion);
    for (const char* named : kNamedFromStream) {
        if (std::strcmp(ClassName(), named) == 0)
            Name = storedName;
    }
    BaseAddress = uint16_t(reader.ReadInteger());
    SetInput(reader.ReadBoolean());
    const int32_t n = TReader::CheckCount(reader.ReadInteger(), 0, kMaxStoredPins, "Pins");
    if (n != int32_t(Pins.size()) || !Ctx().LibraryLoading) {
        ClearPins();
        for (int32_t i = 0; i < n; ++i) {
            auto pin = std::make_unique<TPin>();
            ReadPin(*pin, reader, true);
            Pins.push_back(std::move(pin));
        }
    } else {
        for (auto& pin : Pins)
            ReadPin(*pin, reader, false);
    }
    if (LoadedVersion < 1) {
        for (auto& pin : Pins)
            pin->IsOutput = IsInput ? 0 : 1;
    }
}

void TIOPort::ClearPins()
{
    Pins.clear();
}

void TIOPort::SimStart()
{
    CountUsedPins();
    Running = true;
    IntervalElapsed(0);
}

void TIOPort::SimStop()
{
    Running = false;
}

void TIOPort::MakeInfoLines()
{
    InfoLines.clear();
    if (BaseAddress > 254)
        InfoLines << Name + QStringLiteral(": ")
                         + QStringLiteral("%1").arg(BaseAddress, 4, 16, QLatin1Char('0')).toUpper();
    else
        InfoLines << Name + QStringLiteral(": keine");
}

void TIOPort::SetPinUsed(int32_t index, bool used)
{
    Pins[size_t(index)]->Used = used;
}

void TIOPort::SetInputUsed(int32_t index, bool used)
{
    if (ValidIndex(index))
        Pins[size_t(index)]->Used = used;
}

void TIOPort::SetInput(bool b)
{
    IsInput = b;
    for (auto& pin : Pins)
        pin->IsOutput = b ? 0 : 1;
}

TPin& TIOPort::AddPin(const QString& description, const QString& pinName, Extended min,
                      Extended max, bool configurable)
{
    auto pin = std::make_unique<TPin>();
    pin->Description = description;
    pin->PinName = pinName;
    pin->Min = min;
    pin->Max = max;
    pin->Configurable = configurable;
    SetPinValue(*pin, 0.0L);
    pin->RawMin = 0;
    pin->RawMax = 255;
    Pins.push_back(std::move(pin));
    return *Pins.back();
}

int32_t TIOPort::CountUsedPins()
{
    if (Running)
        return UsedPinCount;
    UsedPinCount = 0;
    for (auto& pin : Pins) {
        if (pin->Used)
            ++UsedPinCount;
        else if (!pin->IsOutput)
            SetPinValue(*pin, 0.0L);
    }
    return UsedPinCount;
}

void TIOPort::Wait(double ms)
{
    Busy = true;
    IClock& clock = Clock();
    const double frequency = double(clock.PerformanceFrequency());
    const double limit = std::fabs(ms);
    const bool sleeps = !(SimFastQuery() && SimFastQuery()());
    const int64_t start = clock.PerformanceCounter();
    for (;;) {
        const double elapsed = double(clock.PerformanceCounter() - start) / frequency * 1000.0;
        if (elapsed >= limit || !Running)
            break;
        if (ms > 0) {
            if (StepCallback) {
                // A copy: the step may end the run, which clears the callback.
                const std::function<void()> step = StepCallback;
                step();
            }
            if (!NoMessages)
                QCoreApplication::processEvents();
            if (sleeps)
                QThread::msleep(1);
        }
    }
    Busy = false;
}

void TIOPort::SetPinsFromWord(uint16_t w)
{
    const int64_t now = Clock().PerformanceCounter();
    for (size_t i = 0; i < Pins.size(); ++i) {
        Pins[i]->Value = (i < 16 && (w >> i & 1u)) ? 5.0L : 0.0L;
        Pins[i]->TimeStamp = now;
    }
}

uint16_t TIOPort::GetPinsAsWord() const
{
    uint16_t w = 0;
    for (size_t i = 0; i < Pins.size() && i < 16; ++i)
        if (GetPinValue(*Pins[i]) > 2.5L)
            w = uint16_t(w | (1u << i));
    return w;
}

void TIOPort::SetPinsFromLong(uint32_t l)
{
    const int64_t now = Clock().PerformanceCounter();
    for (size_t i = 0; i < Pins.size(); ++i) {
        Pins[i]->Value = (i < 32 && (l >> i & 1u)) ? 5.0L : 0.0L;
        Pins[i]->TimeStamp = now;
    }
}

uint32_t TIOPort::GetPinsAsLong() const
{
    uint32_t l = 0;
    for (size_t i = 0; i < Pins.size() && i < 32; ++i)
        if (GetPinValue(*Pins[i]) > 2.5L)
            l |= 1u << i;
    return l;
}

bool TIOPort::IntervalElapsed(uint32_t ms)
{
    IClock& clock = Clock();
    const int64_t reading = clock.PerformanceCounter();
    if (reading < IntervalStart)
        IntervalStart = reading;
    const double seconds = double(reading - IntervalStart) / double(clock.PerformanceFrequency());
    const bool elapsed = seconds > double(ms) / 1000.0;
    if (elapsed)
        IntervalStart = reading;
    return elapsed;
}
