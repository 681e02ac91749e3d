#include "hardware/instruments/UserInterface.h"

#include "core/model/Translator.h"
#include "hardware/instruments/SerialInstrument.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"

#include <algorithm>

int32_t& UserInterfaceChannels()
{
    static int32_t channels = 1;
    return channels;
}

TUserInterfacePort::TUserInterfacePort()
{
    Name = Translate(QStringLiteral("Kanäle"));
    SetInput(true);
    SetChannels(1);
}

void TUserInterfacePort::SetChannels(int32_t count)
{
    count = std::clamp(count, 1, kUserMaxChannels);
    Pins.resize(std::min(Pins.size(), size_t(count)));
    for (int32_t n = int32_t(Pins.size()) + 1; n <= count; ++n)
        AddPin(Translate(QStringLiteral("Kanal")) + QLatin1Char(' ') + QString::number(n),
               QStringLiteral("CH") + QString::number(n), 0.0L, 5.0L, false);
}

void TUserInterfacePort::SimStart()
{
    TSerialPort::SimStart();
    m_line.clear();
    m_overlong = false;
    if (PortOpen(*this))
        Comm->PurgeIn();
}

void TUserInterfacePort::MachEsJetzt()
{
    if (!PortOpen(*this))
        return;
    char buffer[10000];
    for (int32_t waiting; (waiting = Comm->InQueCount()) > 0;) {
        const int32_t got = Comm->Read(buffer, std::min<int32_t>(waiting, int32_t(sizeof buffer)));
        if (got <= 0)
            break;
        for (int32_t i = 0; i < got; ++i) {
            const char c = buffer[i];
            if (c == '\r' || c == '\n') {
                if (!m_line.isEmpty() && !m_overlong)
                    ParseLine(m_line);
                m_line.clear();
                m_overlong = false;
            } else if (m_line.size() < kUserMaxLine) {
                m_line.append(c);
            } else {
                m_overlong = true;
            }
        }
    }
    // Every channel is stamped in every step, whether a line came or not.
    for (auto& pin : Pins)
        SetPinValue(*pin, GetPinValue(*pin));
}

void TUserInterfacePort::ParseLine(const QByteArray& line)
{
    const QList<QByteArray> fields = line.split('\\');
    for (size_t i = 0; i < Pins.size(); ++i) {
        if (qsizetype(i) >= fields.size()) {
            SetPinValue(*Pins[i], 0.0L);
            continue;
        }
        // Blanks and control characters around the field do not count.
        QByteArray field = fields[qsizetype(i)];
        while (!field.isEmpty() && uint8_t(field.front()) <= ' ')
            field.remove(0, 1);
        while (!field.isEmpty() && uint8_t(field.back()) <= ' ')
            field.chop(1);
        if (const std::optional<Extended> value = TextValue(QString::fromLatin1(field)))
            SetPinValue(*Pins[i], *value);
    }
}

const TDeviceDescription TUserInterface::Description{
    .Name = "TUserInterface",
    .Ports = {ClassEntry<TUserInterfacePort>()},
    .Prefix = {"UI-"},
    .PaletteName = {"User Interface"},
    .Caption = {"COM"},
    .Category = TPaletteCategory::RS232};

TUserInterface::TUserInterface()
{
    Describe(Description);
    Name = QStringLiteral("User Interface");
    BaseAddress = 0;
    Ports.push_back(std::make_unique<TUserInterfacePort>());
    BuildPinList();
    PropagateAddress();
}

void TUserInterface::PreparePort()
{
    TCate& cate = *ComTableEntry(ComNumber);
    if (cate.Port() != 0)
        cate.SetPort(0);
    try {
        cate.SetBaudRate(TBaudRate(std::clamp(Baud, 0, int32_t(TBaudRate::Baud256000))));
        cate.SetDatabits(TDataBits(std::clamp(Databits, 0, int32_t(TDataBits::_8))));
        cate.SetParity(TParity(std::clamp(Parity, 0, int32_t(TParity::Space))));
        cate.SetStopbits(TStopBits(std::clamp(Stopbits, 0, int32_t(TStopBits::_2))));
    } catch (const ECommError&) {
    }
    cate.Multimeter = false;
    cate.BisteGDM = false;
}

void TUserInterface::getKonfigData()
{
    TSerialInterface::getKonfigData();
    TPropScrollbox* rows = DialogRows();
    if (!rows)
        return;
    rows->AddCaptionProp(Translate(QStringLiteral("Parameter")));
    rows->AddComboProp(QStringLiteral("Baud"), Baud, BaudList(), 90);
    rows->AddComboProp(QStringLiteral("Data"), Databits, DatabitsList(), 90);
    rows->AddComboProp(QStringLiteral("Parity"), Parity, ParityList(), 90);
    rows->AddComboProp(QStringLiteral("Stop"), Stopbits, StopbitsList(), 90);
    rows->AddCaptionProp(Translate(QStringLiteral("Kanäle")));
    UserInterfaceChannels() = int32_t(Port().Pins.size());
    rows->AddSpinProp(Translate(QStringLiteral("Kanäle")), UserInterfaceChannels(), 1,
                      kUserMaxChannels, 90);
}

void TUserInterface::ApplySettings()
{
    Port().SetChannels(UserInterfaceChannels());
    BuildPinList();
    TSerialInterface::ApplySettings();
}

void TUserInterface::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteInteger(ComNumber);
    writer.WriteInteger(Baud);
    writer.WriteInteger(Databits);
    writer.WriteInteger(Stopbits);
    writer.WriteInteger(Parity);
}

void TUserInterface::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadInteger());
    Baud = reader.ReadInteger();
    Databits = reader.ReadInteger();
    Stopbits = reader.ReadInteger();
    Parity = reader.ReadInteger();
    PropagateAddress();
}
