#include "hardware/usbio/Phidgets.h"

#include "core/model/Translator.h"
#include "hardware/usbio/PhidgetLibrary.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <algorithm>
#include <optional>

namespace {

// The servo's position range in degrees.
constexpr Extended kServoMin = -23.0L, kServoMax = 232.0L;
// The record version of the sensor port whose address holds the serial number's high bits.
constexpr int32_t kSerialHighVersion = 2;

// The pause after a read of the board, by kind.
double PauseMs(TPhidgetKind kind)
{
    switch (kind) {
    case TPhidgetKind::Accelerometer: return 10.0;
    case TPhidgetKind::Temperature: return 200.0;
    default: return 50.0;
    }
}

int32_t CountOf(const TVendorFunction<TPhidgetLibrary::TCount>& count, void* handle)
{
    int32_t n = 0;
    return count.Call(handle, &n).value_or(-1) == 0 ? n : 0;
}

} // namespace

TPhidgetLibrary& PhidgetLib()
{
    static TPhidgetLibrary library;
    return library;
}

// --- Ports ---------------------------------------------------------------------------------------

void TPhidgets_Port::ReadDevice()
{
    TPhidgetLibrary& lib = PhidgetLib();
    if (!Pins.empty()) {
        switch (Kind) {
        case TPhidgetKind::InterfaceKit: lib.CPhidgetInterfaceKit_read.Call(Handle); break;
        case TPhidgetKind::Accelerometer: lib.CPhidgetAccelerometer_read.Call(Handle); break;
        case TPhidgetKind::Temperature: lib.CPhidgetTemperatureSensor_read.Call(Handle); break;
        case TPhidgetKind::Rfid: lib.CPhidgetRFID_read.Call(Handle); break;
        case TPhidgetKind::Servo:
        case TPhidgetKind::Encoder: break;
        }
    }
    Wait(PauseMs(Kind));
}

TPhidgets_DOutPort::TPhidgets_DOutPort()
{
    SetPinCount(8);
}

void TPhidgets_DOutPort::SetPinCount(int32_t n)
{
    ClearPins();
    const bool servo = Kind == TPhidgetKind::Servo;
    Name = servo ? Lang3Q("Motoren", "Motors", "Moteurs")
                 : Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
    for (int32_t i = 0; i < n; ++i) {
        if (servo)
            AddPin(QStringLiteral("Mot %1").arg(i), QStringLiteral("M%1").arg(i), kServoMin,
                   kServoMax, false);
        else
            AddPin(QStringLiteral("DOut%1").arg(i), QStringLiteral("DO%1").arg(i), 0.0L, 5.0L,
                   false);
    }
    SetInput(false);
}

void TPhidgets_DOutPort::SimStart()
{
    TPhidgets_Port::SimStart();
    for (auto& pin : Pins)
        pin->SentState = GetPinDigital(*pin) ? 0 : 1;
}

void TPhidgets_DOutPort::MachEsJetzt()
{
    if (!Handle)
        return;
    TPhidgetLibrary& lib = PhidgetLib();
    for (size_t i = 0; i < Pins.size(); ++i) {
        TPin& pin = *Pins[i];
        if (Kind == TPhidgetKind::Servo) {
            lib.CPhidgetServo_setMotorPosition.Call(Handle, int32_t(i), double(GetPinValue(pin)));
            continue;
        }
        const uint8_t state = GetPinDigital(pin) ? 1 : 0;
        if (state == pin.SentState)
            continue;
        if (Kind == TPhidgetKind::Rfid)
            lib.CPhidgetRFID_setOutputState.Call(Handle, int32_t(i), state);
        else
            lib.CPhidgetInterfaceKit_setOutputState.Call(Handle, int32_t(i), state);
        pin.SentState = state;
    }
}

TPhidgets_DInPort::TPhidgets_DInPort()
{
    SetPinCount(8);
}

void TPhidgets_DInPort::SetPinCount(int32_t n)
{
    ClearPins();
    Name = Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
    for (int32_t i = 0; i < n; ++i)
        AddPin(QStringLiteral("DIn%1").arg(i), QStringLiteral("DI%1").arg(i), 0.0L, 5.0L, false);
    SetInput(true);
}

void TPhidgets_DInPort::MachEsJetzt()
{
    if (!Handle)
        return;
    ReadDevice();
    uint32_t bits = 0;
    for (size_t i = 0; i < Pins.size() && i < 32; ++i) {
        int32_t state = 0;
        const auto status =
            PhidgetLib().CPhidgetInterfaceKit_getInputState.Call(Handle, int32_t(i), &state);
        if (status.value_or(-1) == 0 && state > 0)
            bits |= 1u << i;
    }
    SetPinsFromLong(bits);
}

TPhidgets_Sensors::TPhidgets_Sensors()
{
    SetPinCount(8);
}

void TPhidgets_Sensors::SetPinCount(int32_t n)
{
    ClearPins();
    const bool servo = Kind == TPhidgetKind::Servo;
    Name = servo ? QStringLiteral("Position")
                 : Lang3Q("Sensoreingänge", "Sensor inputs", "Entrées sondes");
    for (int32_t i = 0; i < n; ++i) {
        if (servo)
            AddPin(QStringLiteral("Position %1").arg(i), QStringLiteral("P%1").arg(i), kServoMin,
                   kServoMax, false);
        else
            AddPin(Lang3Q("Sensor ", "Sensor ", "Sondes ") + QString::number(i),
                   QStringLiteral("S%1").arg(i), 0.0L, 5.0L, false);
    }
    SetInput(true);
}

void TPhidgets_Sensors::MachEsJetzt()
{
    if (!Handle)
        return;
    ReadDevice();
    TPhidgetLibrary& lib = PhidgetLib();
    for (size_t i = 0; i < Pins.size(); ++i) {
        const int32_t index = int32_t(i);
        int32_t whole = 0;
        double real = 0.0;
        std::optional<int32_t> status;
        bool isReal = true;
        switch (Kind) {
        case TPhidgetKind::InterfaceKit:
            status = lib.CPhidgetInterfaceKit_getSensorRawValue.Call(Handle, index, &whole);
            isReal = false;
            break;
        case TPhidgetKind::Accelerometer:
            status = lib.CPhidgetAccelerometer_getAcceleration.Call(Handle, index, &real);
            break;
        case TPhidgetKind::Temperature:
            status = lib.CPhidgetTemperatureSensor_getTemperature.Call(Handle, index, &real);
            break;
        case TPhidgetKind::Servo:
            status = lib.CPhidgetServo_getMotorPosition.Call(Handle, index, &real);
            break;
        case TPhidgetKind::Encoder:
            status = lib.CPhidgetEncoder_getEncoderPosition.Call(Handle, index, &whole);
            isReal = false;
            break;
        case TPhidgetKind::Rfid: break; // the tag is not a pin value
        }
        // A failed reading leaves the pin as it was.
        if (status.value_or(-1) == 0)
            SetPinValue(*Pins[i], isReal ? Extended(real) : Extended(whole));
    }
}

// --- Device --------------------------------------------------------------------------------------

TPhidgets::TPhidgets(const TDeviceDescription& description, TPhidgetKind kind)
    : TVendorLibraryDevice(PhidgetLib()), m_kind(kind)
{
    Describe(description);
    ClearPorts();
    const bool outputs = kind == TPhidgetKind::InterfaceKit || kind == TPhidgetKind::Servo;
    if (outputs) {
        auto port = std::make_unique<TPhidgets_DOutPort>();
        port->Kind = kind;
        port->SetPinCount(8);
        m_outputs = port.get();
        Ports.push_back(std::move(port));
    }
    if (kind == TPhidgetKind::InterfaceKit) {
        auto port = std::make_unique<TPhidgets_DInPort>();
        port->Kind = kind;
        m_inputs = port.get();
        Ports.push_back(std::move(port));
    }
    auto sensors = std::make_unique<TPhidgets_Sensors>();
    sensors->Kind = kind;
    sensors->SetPinCount(8);
    m_sensors = sensors.get();
    Ports.push_back(std::move(sensors));
    BaseAddress = 0;
    BuildPinList();
}

void TPhidgets::SetSerialNumber(int32_t serial)
{
    m_serial = std::max(serial, 0);
    BaseAddress = uint16_t(m_serial & 0xFFFF);
    PropagateAddress();
}

void* TPhidgets::Open(int32_t serial) const
{
    TPhidgetLibrary& lib = PhidgetLib();
    void* handle = nullptr;
    std::optional<int32_t> status;
    switch (m_kind) {
    case TPhidgetKind::InterfaceKit:
        status = lib.CPhidgetInterfaceKit_open.Call(&handle, 0, serial);
        break;
    case TPhidgetKind::Accelerometer:
        status = lib.CPhidgetAccelerometer_open.Call(&handle, 0, serial);
        break;
    case TPhidgetKind::Temperature:
        status = lib.CPhidgetTemperatureSensor_open.Call(&handle, 0, serial);
        break;
    case TPhidgetKind::Rfid: status = lib.CPhidgetRFID_open.Call(&handle, 0, serial); break;
    case TPhidgetKind::Servo: status = lib.CPhidgetServo_open.Call(&handle, 0, serial); break;
    case TPhidgetKind::Encoder: status = lib.CPhidgetEncoder_open.Call(&handle, 0, serial); break;
    }
    return status.value_or(-1) == 0 ? handle : nullptr;
}

void TPhidgets::ReadCapabilities()
{
    if (!Library().IsLoaded())
        return;
    TPhidgetLibrary& lib = PhidgetLib();
    // Serial 0 is any board, as at the run start.
    void* probe = Open(m_serial == 0 ? -1 : m_serial);
    if (!probe)
        return;
    int32_t outputs = CountOf(lib.CPhidgetInterfaceKit_getNumOutputs, probe);
    int32_t inputs = CountOf(lib.CPhidgetInterfaceKit_getNumInputs, probe);
    int32_t sensors = 0;
    switch (m_kind) {
    case TPhidgetKind::InterfaceKit:
        sensors = CountOf(lib.CPhidgetInterfaceKit_getNumSensors, probe);
        break;
    case TPhidgetKind::Accelerometer:
    case TPhidgetKind::Temperature: sensors = 2; break;
    case TPhidgetKind::Rfid: sensors = 1, outputs = 4; break;
    case TPhidgetKind::Servo: sensors = 4, outputs = 4; break;
    case TPhidgetKind::Encoder: sensors = 1, inputs = 0; break;
    }
    lib.CPhidgetInterfaceKit_close.Call(probe);
    if (m_outputs)
        m_outputs->SetPinCount(outputs & 0xFF);
    if (m_inputs)
        m_inputs->SetPinCount(inputs & 0xFF);
    m_sensors->SetPinCount(sensors & 0xFF);
    BuildPinList();
}

void TPhidgets::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    CheckLibraryForDialog();
    DlgSerialText = QString::number(m_serial);
    if (TPropScrollbox* rows = DialogRows())
        rows->AddEditProp(Translate(QStringLiteral("Seriennummer")), DlgSerialText, 0, 100);
}

int32_t TPhidgets::ExecuteDialog()
{
    return Library().IsLoaded() ? TVendorLibraryDevice::ExecuteDialog() : mrCancel;
}

void TPhidgets::ApplySettings()
{
    // A text that is no serial number keeps the old one.
    bool ok = false;
    const qlonglong serial = DlgSerialText.trimmed().toLongLong(&ok);
    if (ok && serial >= 0 && serial <= 0x7FFFFFFF)
        SetSerialNumber(int32_t(serial));
    TVendorLibraryDevice::ApplySettings();
    ReadCapabilities();
    BuildPinList();
    PropagateAddress();
}

void TPhidgets::PropagateAddress()
{
    TVendorLibraryDevice::PropagateAddress();
    for (auto& port : Ports)
        if (auto* phidget = dynamic_cast<TPhidgets_Port*>(port.get()))
            phidget->Handle = m_handle;
}

void TPhidgets::SimStart()
{
    if (!CheckLibrary())
        return;
    m_handle = Open(m_serial == 0 ? -1 : m_serial);
    PropagateAddress();
    TVendorLibraryDevice::SimStart();
}

void TPhidgets::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (m_handle && Library().IsLoaded())
        PhidgetLib().CPhidgetInterfaceKit_close.Call(m_handle);
    m_handle = nullptr;
    PropagateAddress();
}

void TPhidgets::writeToStream(TWriter& writer)
{
    const uint16_t address = m_sensors->BaseAddress;
    const int32_t version = m_sensors->StreamVersion;
    m_sensors->BaseAddress = uint16_t(uint32_t(m_serial) >> 16);
    m_sensors->StreamVersion = kSerialHighVersion;
    TVendorLibraryDevice::writeToStream(writer);
    m_sensors->BaseAddress = address;
    m_sensors->StreamVersion = version;
}

void TPhidgets::readFromStream(TReader& reader)
{
    TVendorLibraryDevice::readFromStream(reader);
    // Older records carry the low 16 bits only.
    const uint32_t high =
        m_sensors->LoadedVersion >= kSerialHighVersion ? m_sensors->BaseAddress : 0u;
    SetSerialNumber(int32_t((high & 0x7FFF) << 16 | BaseAddress));
    ReadCapabilities();
}

void TPhidgets::writeToIni(TIniFile& ini, const QString& section)
{
    ini.WriteString(section, QStringLiteral("Name"), Name);
    const int digits = m_serial > 0xFFFF ? 8 : 4;
    const QString device = QStringLiteral("%1").arg(uint32_t(m_serial), digits, 16, QLatin1Char('0'));
    ini.WriteString(section, QStringLiteral("Device"), device.toUpper());
}

void TPhidgets::readFromIni(TIniFile& ini, const QString& section)
{
    bool ok = false;
    const QString text = ini.ReadString(section, QStringLiteral("Device"), QStringLiteral("0000"));
    const uint32_t serial = text.right(8).toUInt(&ok, 16);
    SetSerialNumber(ok ? int32_t(serial & 0x7FFFFFFF) : 0);
    ReadCapabilities();
}

// --- Kinds ---------------------------------------------------------------------------------------

#define PHIDGETS_DESCRIPTION(Class, kind, name, prefix, caption)                                   \
    const TDeviceDescription Class::Description{                                                   \
        .Name = #Class,                                                                            \
        .Ports = {ClassEntry<TPhidgets_DOutPort>(), ClassEntry<TPhidgets_DInPort>(),               \
                  ClassEntry<TPhidgets_Sensors>()},                                                \
        .Prefix = {prefix},                                                                        \
        .PaletteName = {"Phidgets\r" name},                                                        \
        .Caption = {caption},                                                                      \
        .Category = TPaletteCategory::Phidgets};                                                   \
    Class::Class() : TPhidgets(Description, kind) { Name = QStringLiteral(name); }
PHIDGETS_DESCRIPTION(TPhidgets_IFK, TPhidgetKind::InterfaceKit, "Interface Kit", "IFK-", "IFK")
PHIDGETS_DESCRIPTION(TPhidgets_ACCEL, TPhidgetKind::Accelerometer, "Accelerometer", "ACC-", "ACC")
PHIDGETS_DESCRIPTION(TPhidgets_TEMP, TPhidgetKind::Temperature, "Temp. Sensor", "TMP-", "TEMP")
PHIDGETS_DESCRIPTION(TPhidgets_RFID, TPhidgetKind::Rfid, "RFID", "RFID-", "RFID")
PHIDGETS_DESCRIPTION(TPhidgets_Servo, TPhidgetKind::Servo, "Servo", "SRV-", "SERVO")
PHIDGETS_DESCRIPTION(TPhidgets_Encoder, TPhidgetKind::Encoder, "Encoder", "ENC-", "ENC")
#undef PHIDGETS_DESCRIPTION
