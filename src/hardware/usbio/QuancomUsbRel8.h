#pragma once
// Quancom's 8-channel USB modules through the maker's library: the relay modules USBREL8 and
// USBREL8LC and the opto-input modules USBOPTO8 and USBOPTO8LC, up to four of each kind told
// apart by a card number. Relays are written when they change and dropped at the end of a run;
// opto inputs are read in every step.

#include "hardware/transport/VendorLibraryDevice.h"

// The module types in the order of the dialog and the stored record.
enum class TQuancomModule : uint8_t { USBREL8, USBREL8LC, USBOPTO8, USBOPTO8LC };

class TQuancom_USBREL8_DOutPort : public TDOutPort {
public:
    TV_CLASS_NAME(TQuancom_USBREL8_DOutPort)
    TQuancom_USBREL8_DOutPort();

    uint32_t Handle = 0; // 0: the module is not open
    // Name, pins and direction for the type.
    void SetModule(TQuancomModule module);
    bool Relays() const { return m_module <= TQuancomModule::USBREL8LC; }

    void MachEsJetzt() override;
    // With an open relay module: every relay off, written at once.
    void ResetPins() override;

private:
    TQuancomModule m_module = TQuancomModule::USBREL8;
    uint16_t m_lastWord = 0x100; // none written
};

class TQuancom_USBREL8 : public TVendorLibraryDevice {
public:
    TV_CLASS_NAME(TQuancom_USBREL8)
    static const TDeviceDescription Description;
    TQuancom_USBREL8();

    TQuancomModule Module() const { return m_module; }
    // The library's card-type number of the module type.
    uint32_t CardType() const;
    void SetModuleType(TQuancomModule module);

    int32_t DlgModule = 0;

    void getKonfigData() override;
    int32_t ExecuteDialog() override;
    void ApplySettings() override;
    void SimStart() override;
    void SimStop() override;
    void writeToStream(TWriter& writer) override;
    void readFromStream(TReader& reader) override;
    void writeToIni(TIniFile& ini, const QString& section) override;
    void readFromIni(TIniFile& ini, const QString& section) override;

private:
    TQuancom_USBREL8_DOutPort& Port() const;
    TQuancomModule m_module = TQuancomModule::USBREL8;
    uint32_t m_handle = 0;
};
