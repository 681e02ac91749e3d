#pragma once
// What a component class declares about itself, once: the name it is registered under, its
// designator prefix, help topic, type name and symbol caption in three languages, its pins and
// its palette category. The class's constructor, its pin naming and the component record reader
// read it; the class registry carries it.

#include <QString>
#include <QStringList>
#include <cstdint>

// A text in German, English and French. A text given only in German holds for every language.
struct TText3 {
    const char* German = nullptr;
    const char* English = nullptr;
    const char* French = nullptr;

    // The text of the current language.
    QString Current() const;
    // The text of language 0 (German), 1 (English) or 2 (French); empty for any other.
    QString In(int language) const;
};

// The pins of one side: a new component has Default of them; a stored record may declare
// Min .. Max (both as Default when left out).
struct TPinCount {
    int32_t Default = 0;
    int32_t Min = -1;
    int32_t Max = -1;

    int32_t Lowest() const { return Min < 0 ? Default : Min; }
    int32_t Highest() const { return Max < 0 ? Default : Max; }
};

// The 58 categories of the component palette, numbered as the palette's rows (the comment is
// the German caption). Row 17 and row 27 both show the library "Digitales".
enum class TPaletteCategory : int8_t {
    None = -1,
    BedienungDigital = 0,   // "Bedienung digital"
    BedienungAnalog,        // "Bedienung analog"
    Gatter,
    Flipflops,
    Zaehler,                // "Zähler"
    Register,
    Schieberegister,
    Multiplexer,
    Arithmetik,
    RamRom,                 // "Ram && Rom"
    Zeitgeber,              // 10
    Diverses,
    AllgemeinPC,            // "Allgemein, PC"
    Berechnung,
    ADDAWandler,            // "AD/DA-Wandler"
    Sonstige,
    Anzeigen,
    Digitales,
    Kolter,
    ELV,
    ModulBus,               // 20
    RS232,                  // "RS-232"
    Uhren,
    Dekoder,
    Multimeter,
    Relaiskarten,
    Portzugriffe,
    Digitales2,             // "Digitales" again
    BMC,
    Meilhaus,
    Phidgets,               // 30
    LabJack,
    Hygrosens,
    Fischertechnik,         // "fischertechnik"
    Regler,
    Strings,
    Schreiber,
    Dateizugriff,
    DDE,
    Hotkeys,
    Conrad,                 // 40
    Velleman,
    OPC,
    MIDI,
    Vergleicher,
    Verstaerker,            // "Verstärker"
    AnalogMultiplexer,      // "Multiplexer" of the analogue group
    Quellen,
    PlusMasseTest,          // "Plus,Masse,Test"
    AndereHersteller,       // "Andere Hersteller"
    DataTranslation,        // 50
    ModbusTCP,              // "Modbus/TCP"
    ModbusRTU,              // "Modbus/RTU"
    Korvan,
    CodeMercenaries,        // "Code Mercenaries"
    Toradex,
    HTronic,                // "H-TRONIC"
    Quancom,                // 57
};

constexpr int PaletteCategoryCount = 58;

// The German caption of a palette category; empty for None.
QString PaletteCategoryName(TPaletteCategory category);

// Pin names of one side, in pin order, separated by blanks. "-" is a pin without a name, and
// "D0..3" stands for "D0 D1 D2 D3" ("Q3..0" counts down). Pins beyond the list keep the
// names they have.
QStringList ExpandPinNames(const char* list);

struct TComponentDescription {
    const char* Name = nullptr;  // registered class name, as the class declares it
    // Designator prefix, taken in the current language when a component is created; empty for
    // a component without designator.
    TText3 Prefix = {};
    int32_t HelpContext = 0;
    TText3 TypeName = {};  // may contain a carriage return where the name breaks
    TText3 Caption = {};   // text in the block symbol; left out where there is none
    TPinCount Inputs = {};
    TPinCount Outputs = {};
    // Pin names (see ExpandPinNames); nullptr keeps the names "E0", "A0" ... a pin list gives.
    const char* InputNames = nullptr;
    const char* OutputNames = nullptr;
    TPaletteCategory Category = TPaletteCategory::None;
};

// Empty when the description is complete, else what it lacks (for tests and registration).
QString DescriptionFault(const TComponentDescription& description);
