#include "hardware/usbio/K8055.h"

#include "core/model/Translator.h"
#include "hardware/usbio/DeviceSettings.h"
#include "hardware/usbio/K8055Library.h"
#include "hardware/usbio/NumberedPins.h"
#include "platform/Context.h"
#include "ui/PropertySheet.h"

#include <algorithm>

TK8055Library& K8055Lib()
{
    static TK8055Library library;
    return library;
}

// --- Ports ---------------------------------------------------------------------------------------

TK8055_AInPort::TK8055_AInPort()
{
    Name = Lang3Q("Analogeingänge", "Analogue inputs", "Entrées analogiques");
    AddNumberedPins(*this, 2, "AI", "Analogeingang ", "Analogue input ", "Entrée analogique ",
                   5.0L, true);
    SetInput(true);
}

void TK8055_AInPort::MachEsJetzt()
{
    int32_t raw[2] = {};
    if (!K8055Lib().ReadAllAnalog.Call(&raw[0], &raw[1]))
        return;
    for (size_t i = 0; i < 2 && i < Pins.size(); ++i)
        PinRawToValue(*Pins[i], uint16_t(std::clamp(raw[i], 0, 0xFFFF)));
    Pause();
}

TK8055_DInPort::TK8055_DInPort()
{
    Name = Lang3Q("Digitaleingänge", "Digital inputs", "Entrées digitales");
    AddNumberedPins(*this, 5, "DI", "Digitaleingang ", "Digital input ", "Entrée digitale ",
                   5.0L, false);
    SetInput(true);
}

void TK8055_DInPort::MachEsJetzt()
{
    const auto bits = K8055Lib().ReadAllDigital.Call();
    if (!bits)
        return;
    SetPinsFromWord(uint16_t(*bits & 0x1F));
    Pause();
}

TK8055_AOutPort::TK8055_AOutPort()
{
    Name = Lang3Q("Analogausgänge", "Analogue outputs", "Sorties analogiques");
    AddNumberedPins(*this, 2, "AO", "Analogausgang ", "Analogue output ", "Sortie analogique ",
                   5.0L, true);
    SetInput(false);
}

void TK8055_AOutPort::SimStart()
{
    TK8055_Port::SimStart();
    m_lastRaw = {0xFFFF, 0xFFFF};
}

void TK8055_AOutPort::MachEsJetzt()
{
    if (Pins.size() < 2)
        return;
    const std::array<uint16_t, 2> raw{uint16_t(PinValueToRaw(*Pins[0])),
                                      uint16_t(PinValueToRaw(*Pins[1]))};
    if (raw == m_lastRaw)
        return;
    if (!K8055Lib().OutputAllAnalog.Call(raw[0], raw[1]))
        return;
    m_lastRaw = raw;
    Pause();
}

TK8055_DOutPort::TK8055_DOutPort()
{
    Name = Lang3Q("Digitalausgänge", "Digital outputs", "Sorties digitales");
    AddNumberedPins(*this, 8, "DO", "Digitalausgang ", "Digital output ", "Sortie digitale ",
                   5.0L, false);
    SetInput(false);
}

void TK8055_DOutPort::SimStart()
{
    TK8055_Port::SimStart();
    m_lastWord = 0xFFFF;
}

void TK8055_DOutPort::MachEsJetzt()
{
    const uint16_t word = GetPinsAsWord();
    if (word == m_lastWord)
        return;
    if (!K8055Lib().WriteAllDigital.Call(word))
        return;
    m_lastWord = word;
    Pause();
}

TK8055_CInPort::TK8055_CInPort()
{
    Name = Lang3Q("Zähler", "Counter", "Compteur");
    AddNumberedPins(*this, 2, "C", "Zähler ", "Counter ", "Compteur ", 65535.0L, true);
    SetInput(true);
}

void TK8055_CInPort::MachEsJetzt()
{
    bool read = false;
    for (int32_t c = 1; c <= 2 && size_t(c) <= Pins.size(); ++c)
        if (const auto count = K8055Lib().ReadCounter.Call(c)) {
            SetPinValue(*Pins[size_t(c - 1)], *count);
            read = true;
        }
    if (read)
        Pause();
}

TK8055_CCPort::TK8055_CCPort()
{
    Name = Lang3Q("Zähler Reset", "Counter control", "Compteur reset");
    AddNumberedPins(*this, 2, "/RC", "Reset Zähler", "Reset counter ", "Compteur reset ",
                   5.0L, false);
    SetInput(false);
}

void TK8055_CCPort::SimStart()
{
    TK8055_Port::SimStart();
    m_wasLow = {};
}

void TK8055_CCPort::MachEsJetzt()
{
    for (size_t i = 0; i < 2 && i < Pins.size(); ++i) {
        const bool low = GetPinValue(*Pins[i]) < 2.5L;
        if (low == m_wasLow[i])
            continue;
        if (low)
            K8055Lib().ResetCounter.Call(int32_t(i + 1));
        m_wasLow[i] = low;
        Pause();
    }
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TK8055::Description{
    .Name = "TK8055",
    .Ports = {ClassEntry<TK8055_AInPort>(), ClassEntry<TK8055_DInPort>(),
              ClassEntry<TK8055_AOutPort>(), ClassEntry<TK8055_DOutPort>(),
              ClassEntry<TK8055_CInPort>(), ClassEntry<TK8055_CCPort>()},
    .Prefix = {"UIO"},
    .PaletteName = {"Velleman K8055\rUSB-Interface"},
    .Caption = {"Velleman K8055"},
    .Category = TPaletteCategory::Velleman,
    .MakerFiles = {"K8055D.DLL"}};

TK8055::TK8055() : TVendorLibraryDevice(K8055Lib())
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("Velleman K8055");
    Ports.push_back(std::make_unique<TK8055_AInPort>());
    Ports.push_back(std::make_unique<TK8055_DInPort>());
    Ports.push_back(std::make_unique<TK8055_AOutPort>());
    Ports.push_back(std::make_unique<TK8055_DOutPort>());
    Ports.push_back(std::make_unique<TK8055_CInPort>());
    Ports.push_back(std::make_unique<TK8055_CCPort>());
    BaseAddress = 0;
    BuildPinList();
    PropagateAddress();
}

void TK8055::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    if (TPropScrollbox* rows = DialogRows())
        rows->AddSpinProp(Translate(QStringLiteral("Adresse")) + QStringLiteral(" [0..3]"),
                          DlgAddress, 0, 3, 50);
}

void TK8055::ApplySettings()
{
    TVendorLibraryDevice::ApplySettings();
    BaseAddress = uint16_t(std::clamp(DlgAddress, 0, 3));
    PropagateAddress();
}

void TK8055::SimStart()
{
    if (!CheckLibrary())
        return;
    K8055Lib().OpenDevice.Call(BaseAddress);
    m_opened = true;
    PropagateAddress();
    TVendorLibraryDevice::SimStart();
}

void TK8055::SimStop()
{
    TVendorLibraryDevice::SimStop();
    if (m_opened)
        K8055Lib().CloseDevice.Call();
    m_opened = false;
}

void TK8055::MachEsJetzt()
{
    if (m_opened)
        TVendorLibraryDevice::MachEsJetzt();
}

void TK8055::writeToIni(TIniFile& ini, const QString& section)
{
    WriteDeviceKey(ini, section, Name, BaseAddress);
}

void TK8055::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadDeviceKey(ini, section);
    PropagateAddress();
}
