#include "hardware/usbio/FischertechnikIntelligent.h"

#include "hardware/usbio/SerialLineSettings.h"
#include "hardware/usbio/UsbIoProtocol.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"

namespace {

// At most one exchange per this many milliseconds (and a little more).
constexpr uint32_t kExchangeGapMs = 20;

} // namespace

// --- Ports ---------------------------------------------------------------------------------------

TFT_IntelligentDOutPort::TFT_IntelligentDOutPort()
{
    Name = Lang3Q("Motorausgänge", "Motor outputs", "Sorties moteurs");
    AddMotorPins(1);
}

void TFT_IntelligentDOutPort::AddMotorPins(int32_t firstMotor)
{
    ClearPins();
    for (int32_t motor = firstMotor; motor < firstMotor + 4; ++motor) {
        const QString n = QString::number(motor);
        // The extension's French texts name the sides in English, as the box's manual does.
        const bool extension = firstMotor > 1;
        AddPin(Lang3Q("Motor %1 links", "Motor %1 left",
                      extension ? "Moteur %1 left" : "Motor %1 gauche").arg(n),
               QStringLiteral("M") + n + QLatin1Char('L'), 0.0L, 5.0L, false);
        AddPin(Lang3Q("Motor %1 rechts", "Motor %1 right",
                      extension ? "Moteur %1 right" : "Motor %1 droite").arg(n),
               QStringLiteral("M") + n + QLatin1Char('R'), 0.0L, 5.0L, false);
    }
    SetInput(false);
}

uint8_t TFT_IntelligentDOutPort::MotorByte() const
{
    return uint8_t(GetPinsAsWord() & 0xFFu);
}

TFT_IntelligentDInPort::TFT_IntelligentDInPort()
{
    Name = Lang3Q("Digital-Eingänge", "Digital inputs", "Entrées digitales");
    AddInputPins(1);
}

void TFT_IntelligentDInPort::AddInputPins(int32_t first)
{
    ClearPins();
    for (int32_t n = first; n < first + 8; ++n) {
        const QString number = QString::number(n);
        AddPin(Lang3Q("Digitaleingang E%1", "Digital input E%1", "Entrée digitale E%1").arg(number),
               QStringLiteral("E") + number, 0.0L, 5.0L, false);
    }
    SetInput(true);
}

TFT_IntelligentAInPort::TFT_IntelligentAInPort()
{
    Name = Lang3Q("Analog-Eingänge", "Analogue inputs", "Entrées analogiques");
    for (const char* axis : {"EX", "EY"}) {
        TPin& pin = AddPin(Lang3Q("Analog %1 [%]", "Analogue %1 [%]", "Analogique %1 [%]")
                               .arg(QLatin1String(axis)),
                           QLatin1String(axis), 0.0L, 100.0L, true);
        pin.RawMin = 0;
        pin.RawMax = 1024;
    }
    SetInput(true);
}

void TFT_IntelligentAInPort::Take(uint16_t analogWord, uint8_t command)
{
    const size_t pin = usbio::FtCommandMeasuresEY(command) ? 1 : 0;
    if (pin < Pins.size())
        PinRawToValue(*Pins[pin], analogWord);
}

TFT_IntelligentExtensionDOutPort::TFT_IntelligentExtensionDOutPort()
{
    Name = Lang3Q("Motorausgänge (Extension)", "Motor outputs (Extension)",
                  "Sorties moteurs (Extension)");
    CommandByte = usbio::kFtCommandExtension;
    AddMotorPins(5);
}

TFT_IntelligentExtensionDInPort::TFT_IntelligentExtensionDInPort()
{
    Name = Lang3Q("Digitaleingänge (Extension)", "Digital inputs (Extension)",
                  "Entrées digitales (Extension)");
    AddInputPins(9);
}

// --- The interface alone -------------------------------------------------------------------------

const TDeviceDescription TFT_Intelligent::Description{
    .Name = "TFT_Intelligent",
    .Ports = {ClassEntry<TFT_IntelligentDOutPort>(), ClassEntry<TFT_IntelligentDInPort>(),
              ClassEntry<TFT_IntelligentAInPort>()},
    .Prefix = {"FTI"},
    .PaletteName = {"fischertechnik\rInterface 30402"},
    .Caption = {"fischertechnik 30402"},
    .Category = TPaletteCategory::Fischertechnik,
    .LegacyNames = {"TBTIntelligent"}};

TFT_Intelligent::TFT_Intelligent(const TDeviceDescription& description)
{
    Describe(description);
    ClearPorts();
}

TFT_Intelligent::TFT_Intelligent() : TFT_Intelligent(Description)
{
    Name = QStringLiteral("ft-Intelligent Interface");
    auto motors = std::make_unique<TFT_IntelligentDOutPort>();
    auto inputs = std::make_unique<TFT_IntelligentDInPort>();
    auto analog = std::make_unique<TFT_IntelligentAInPort>();
    m_motors = motors.get();
    m_inputs = inputs.get();
    m_analog = analog.get();
    Ports.push_back(std::move(motors));
    Ports.push_back(std::move(inputs));
    Ports.push_back(std::move(analog));
    BuildPinList();
    PropagateAddress();
}

void TFT_Intelligent::PreparePort()
{
    SetSerial8N1(*ComTableEntry(ComNumber), TBaudRate::Baud9600);
}

void TFT_Intelligent::SimStart()
{
    TSerialInterface::ResetPins();
    TSerialInterface::SimStart();
}

void TFT_Intelligent::MachEsJetzt()
{
    TCate& cate = GetCate();
    if (cate.Port() == 0)
        return;
    const uint32_t now = Clock().TickCount();
    if (now - m_lastExchange <= kExchangeGapMs)
        return;
    m_lastExchange = now;
    Exchange(cate);
}

void TFT_Intelligent::Exchange(TCate& cate)
{
    if (cate.OutQueCount() == 0) {
        m_motors->CommandByte = usbio::FtNextCommand(m_motors->CommandByte);
        const uint8_t command[2] = {m_motors->CommandByte, m_motors->MotorByte()};
        cate.Write(command, sizeof command);
    }
    if (cate.InQueCount() > 2) {
        uint8_t answer[3] = {};
        if (cate.Read(answer, sizeof answer) != sizeof answer)
            return;
        m_inputs->SetPinsFromWord(answer[0]);
        m_analog->Take(usbio::FtAnalogWord(answer[1], answer[2]), m_motors->CommandByte);
    }
}

void TFT_Intelligent::writeToStream(TWriter& writer)
{
    TSerialInterface::writeToStream(writer);
    writer.WriteRawByte(uint8_t(ComNumber));
}

void TFT_Intelligent::readFromStream(TReader& reader)
{
    TSerialInterface::readFromStream(reader);
    SetComPort(reader.ReadRawByte());
}

// --- With the extension --------------------------------------------------------------------------

const TDeviceDescription TFT_IntelligentExtension::Description{
    .Name = "TFT_IntelligentExtension",
    .Ports = {ClassEntry<TFT_IntelligentDOutPort>(), ClassEntry<TFT_IntelligentDInPort>(),
              ClassEntry<TFT_IntelligentExtensionDInPort>(),
              ClassEntry<TFT_IntelligentExtensionDOutPort>(), ClassEntry<TFT_IntelligentAInPort>()},
    .Prefix = {"FTIE"},
    .PaletteName = {"fischertechnik\r30402 + 16554"},
    .Caption = {"fischertechnik 30402 + 16554"},
    .Category = TPaletteCategory::Fischertechnik,
    .LegacyNames = {"TBTIntelligentExtension"}};

TFT_IntelligentExtension::TFT_IntelligentExtension() : TFT_Intelligent(Description)
{
    Name = QStringLiteral("ft-Interface + Extension");
    auto motors = std::make_unique<TFT_IntelligentDOutPort>();
    auto inputs = std::make_unique<TFT_IntelligentDInPort>();
    auto extensionInputs = std::make_unique<TFT_IntelligentExtensionDInPort>();
    auto extensionMotors = std::make_unique<TFT_IntelligentExtensionDOutPort>();
    auto analog = std::make_unique<TFT_IntelligentAInPort>();
    m_motors = motors.get();
    m_inputs = inputs.get();
    m_extensionInputs = extensionInputs.get();
    m_extensionMotors = extensionMotors.get();
    m_analog = analog.get();
    Ports.push_back(std::move(motors));
    Ports.push_back(std::move(inputs));
    Ports.push_back(std::move(extensionInputs));
    Ports.push_back(std::move(extensionMotors));
    Ports.push_back(std::move(analog));
    BuildPinList();
    PropagateAddress();
}

void TFT_IntelligentExtension::Exchange(TCate& cate)
{
    if (cate.OutQueCount() == 0) {
        m_extensionMotors->CommandByte = usbio::FtNextCommand(m_extensionMotors->CommandByte);
        const uint8_t command[3] = {m_extensionMotors->CommandByte, m_motors->MotorByte(),
                                    m_extensionMotors->MotorByte()};
        cate.Write(command, sizeof command);
    }
    // One complete answer stays queued: the one read answers the command of the same kind
    // sent two exchanges earlier.
    if (cate.InQueCount() > 4) {
        uint8_t answer[4] = {};
        if (cate.Read(answer, sizeof answer) != sizeof answer)
            return;
        m_extensionInputs->SetPinsFromWord(answer[1]);
        m_inputs->SetPinsFromWord(answer[0]);
        m_analog->Take(usbio::FtAnalogWord(answer[2], answer[3]), m_extensionMotors->CommandByte);
    }
}
