#include "hardware/elv/Ltc2400.h"

#include "hardware/elv/ElvProtocol.h"
#include "platform/Context.h"
#include "platform/Filer.h"

#include <QThread>

TLTC2400AInPort::TLTC2400AInPort()
{
    ClearPins();
    AddPin(Lang3Q("Eingang E1", "Input E1", "Entrée E1"), QStringLiteral("E1"), 0.0L, 5.0L, true);
    SetInput(true);
}

void TLTC2400AInPort::SimStart()
{
    TIOPort::SimStart();
    if (!Comm || !Comm->Connected())
        return;
    try {
        // Straight on the line: the shared port's SetBreak would purge its queues.
        Comm->EscapeBreak(true);
        Comm->EscapeBreak(false);
        Comm->EscapeBreak(true);
    } catch (const ECommError&) {
        return; // the line has no break: the module stays unpowered and reads nothing
    }
    QThread::msleep(10);
    Comm->SetRTS(true);
    Comm->SetRTS(false);
}

uint32_t TLTC2400AInPort::ReadConversion()
{
    Comm->SetRTS(true);
    Comm->SetRTS(false);
    uint32_t bits = 0;
    for (int i = 0; i < 32; ++i) {
        bits = bits << 1 | (Comm->GetModemSignal(msCts) ? 1u : 0u);
        Comm->SetDTR(true);
        Comm->SetDTR(false);
    }
    return bits;
}

void TLTC2400AInPort::MachEsJetzt()
{
    if (!Comm || !Comm->Connected() || Pins.empty() || Comm->GetModemSignal(msCts))
        return;
    const uint32_t bits = ReadConversion();
    // All bits low is what a line without a module gives: the pin keeps its value.
    if (bits == 0)
        return;
    TPin& pin = *Pins[0];
    SetPinValue(pin, Extended(Ltc2400Code(bits)) / Extended(kLtc2400FullScale) * pin.Max);
}

const TDeviceDescription TLTC2400::Description{
    .Name = "TLTC2400",
    .Ports = {ClassEntry<TLTC2400AInPort>()},
    .Prefix = {"LTC-"},
    .PaletteName = {"ELV-24Bit-AD\r(LTC 2400)"},
    .Caption = {""},
    .HelpContext = 37000,
    .Category = TPaletteCategory::ELV};

TLTC2400::TLTC2400()
{
    Describe(Description);
    Name = QStringLiteral("LTC2400");
    auto port = std::make_unique<TLTC2400AInPort>();
    port->Name = Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques");
    Ports.push_back(std::move(port));
    BuildPinList();
    OutputCount = 0;
    PropagateAddress();
}

void TLTC2400::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
}

void TLTC2400::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
    PropagateAddress();
}
