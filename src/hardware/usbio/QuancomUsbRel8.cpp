#include "hardware/usbio/QuancomUsbRel8.h"

#include "core/model/Translator.h"
#include "hardware/usbio/DeviceSettings.h"
#include "hardware/usbio/QuancomLibrary.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"

#include <algorithm>

namespace {

// The library's card-type numbers of the module types.
constexpr uint32_t kCardTypes[] = {64, 67, 65, 68};

const QStringList& ModuleList()
{
    static const QStringList list{QStringLiteral("USBREL8"), QStringLiteral("USBREL8LC"),
                                  QStringLiteral("USBOPTO8"), QStringLiteral("USBOPTO8LC")};
    return list;
}

TQuancomModule ModuleOf(int32_t stored)
{
    return TQuancomModule(std::clamp(stored, 0, 3));
}

} // namespace

// --- Port ----------------------------------------------------------------------------------------

TQuancom_USBREL8_DOutPort::TQuancom_USBREL8_DOutPort()
{
    SetModule(TQuancomModule::USBREL8);
}

void TQuancom_USBREL8_DOutPort::SetModule(TQuancomModule module)
{
    m_module = module;
    ClearPins();
    if (Relays()) {
        const QString relay = Translate(QStringLiteral("Relais"));
        Name = relay;
        for (int n = 1; n <= 8; ++n)
            AddPin(relay + QString::number(n), QStringLiteral("R%1").arg(n), 0.0L, 5.0L, false);
        SetInput(false);
    } else {
        Name = QStringLiteral("Opto IN");
        for (int n = 1; n <= 8; ++n)
            AddPin(QStringLiteral("Opto IN%1").arg(n), QStringLiteral("IN%1").arg(n), 0.0L, 5.0L,
                   false);
        SetInput(true);
    }
}

void TQuancom_USBREL8_DOutPort::MachEsJetzt()
{
    if (Handle == 0)
        return;
    if (Relays()) {
        const uint16_t word = GetPinsAsWord();
        if (word == m_lastWord)
            return;
        m_lastWord = word;
        Qlib().QAPIExtWriteDO8.Call(Handle, 0, word, 0);
    } else if (const auto bits = Qlib().QAPIExtReadDI8.Call(Handle, 0, 0)) {
        SetPinsFromWord(uint16_t(*bits & 0xFFu));
    }
    Wait(10.0);
}

void TQuancom_USBREL8_DOutPort::ResetPins()
{
    if (Handle == 0 || !Relays())
        return;
    for (auto& pin : Pins)
        SetPinValue(*pin, 0.0L);
    MachEsJetzt();
}

// --- Device --------------------------------------------------------------------------------------

const TDeviceDescription TQuancom_USBREL8::Description{
    .Name = "TQuancom_USBREL8",
    .Ports = {ClassEntry<TQuancom_USBREL8_DOutPort>()},
    .Prefix = {"QCOM"},
    .PaletteName = {"Quancom"},
    .Caption = {"Quancom"},
    .HelpContext = 37000,
    .Category = TPaletteCategory::Quancom};

TQuancom_USBREL8::TQuancom_USBREL8() : TVendorLibraryDevice(Qlib())
{
    Describe(Description);
    ClearPorts();
    Name = QStringLiteral("Quancom");
    Ports.push_back(std::make_unique<TQuancom_USBREL8_DOutPort>());
    BaseAddress = 0;
    BuildPinList();
    PropagateAddress();
}

TQuancom_USBREL8_DOutPort& TQuancom_USBREL8::Port() const
{
    return static_cast<TQuancom_USBREL8_DOutPort&>(*Ports.front());
}

uint32_t TQuancom_USBREL8::CardType() const
{
    return kCardTypes[size_t(m_module)];
}

void TQuancom_USBREL8::SetModuleType(TQuancomModule module)
{
    m_module = module;
    Port().SetModule(module);
    BuildPinList();
}

void TQuancom_USBREL8::getKonfigData()
{
    TVendorLibraryDevice::getKonfigData();
    DlgModule = int32_t(m_module);
    if (TPropScrollbox* rows = DialogRows()) {
        rows->AddComboProp(Translate(QStringLiteral("Karte")), DlgAddress, CardList(), 120);
        rows->AddComboProp(Translate(QStringLiteral("Typ")), DlgModule, ModuleList(), 120);
    }
}

int32_t TQuancom_USBREL8::ExecuteDialog()
{
    CheckLibraryForDialog();
    return TVendorLibraryDevice::ExecuteDialog();
}

void TQuancom_USBREL8::ApplySettings()
{
    TVendorLibraryDevice::ApplySettings();
    BaseAddress = uint16_t(std::clamp(DlgAddress, 0, 3));
    PropagateAddress();
    SetModuleType(ModuleOf(DlgModule));
}

void TQuancom_USBREL8::SimStart()
{
    m_handle = 0;
    if (CheckLibrary())
        m_handle = Qlib().QAPIExtOpenCard.Call(CardType(), BaseAddress).value_or(0);
    Port().Handle = m_handle;
    TVendorLibraryDevice::SimStart();
}

void TQuancom_USBREL8::SimStop()
{
    TVendorLibraryDevice::ResetPins(); // the relays drop
    TVendorLibraryDevice::SimStop();
    if (m_handle != 0)
        Qlib().QAPIExtCloseCard.Call(m_handle);
    m_handle = 0;
    Port().Handle = 0;
}

void TQuancom_USBREL8::writeToStream(TWriter& writer)
{
    // The record carries the type in the high byte of the address.
    const uint16_t card = BaseAddress;
    BaseAddress = uint16_t(int32_t(m_module) << 8 | (card & 0xFF));
    TVendorLibraryDevice::writeToStream(writer);
    BaseAddress = card;
}

void TQuancom_USBREL8::readFromStream(TReader& reader)
{
    TVendorLibraryDevice::readFromStream(reader);
    const TQuancomModule module = ModuleOf(BaseAddress >> 8);
    BaseAddress &= 0xFF;
    PropagateAddress();
    SetModuleType(module);
}

void TQuancom_USBREL8::writeToIni(TIniFile& ini, const QString& section)
{
    WriteDeviceKey(ini, section, Name, BaseAddress);
}

void TQuancom_USBREL8::readFromIni(TIniFile& ini, const QString& section)
{
    BaseAddress = ReadDeviceKey(ini, section);
    PropagateAddress();
}
