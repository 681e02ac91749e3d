#include "shell/palette/PaletteCategories.h"

#include "core/board/Platine.h"
#include "core/model/ClassRegistry.h"
#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "hardware/framework/BtHardware.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "shell/mainwindow/ProjectFiles.h"

#include <QBuffer>

namespace {

const TPaletteCategoryInfo kCategories[PaletteCategoryCount] = {
    {{"Bedienung digital", "Digital controls", "Commandes digitales"}, "bedien_d.bib", 0},
    {{"Bedienung analog", "Analogue controls", "Commandes analogiques"}, "bedien_a.bib", 0},
    {{"Gatter", "Gates", "Portes"}, "gatter.bib", 1},
    {{"Flipflops", "Flip-flops", "Flip-flops"}, "flipflop.bib", 1},
    {{"Zähler", "Counter", "Compteurs"}, "zaehler.bib", 1},
    {{"Register", "Register", "Registres"}, "register.bib", 1},
    {{"Schieberegister", "Shift register", "Reg. à décalage"}, "schieber.bib", 1},
    {{"Multiplexer", "Multiplexer", "Multiplexeurs"}, "mux.bib", 1},
    {{"Arithmetik", "Arithmetic", "Arithmétique"}, "arithm.bib", 1},
    {{"Ram && Rom", "RAM && ROM", "RAM && ROM"}, "ramrom.bib", 1},
    {{"Zeitgeber", "Timer", "Timers"}, "timer.bib", 1},
    {{"Diverses", "Miscellaneous", "Divers"}, "diverses.bib", 3},
    {{"Allgemein, PC", "Miscellaneous", "PC général"}, "hardware.bib", 4},
    {{"Berechnung", "Calculation", "Calcul"}, "Math.bib", 2},
    {{"AD/DA-Wandler", "AD/DA", "AN/NA"}, "wandler.bib", 1},
    {{"Sonstige", "Miscellaneous", "Divers"}, "analog.bib", 2},
    {{"Anzeigen", "Displays", "Afficheurs"}, "anzeigen.bib", 0},
    {{"Digitales", "Logic", "Logique"}, "digital.bib", 1},
    {{"Kolter", "Kolter", "Kolter"}, "kolter.bib", 4},
    {{"ELV", "ELV", "ELV"}, "elv.bib", 4},
    {{"ModulBus", "ModulBus", "ModulBus"}, "modulbus.bib", 4},
    {{"RS-232", "RS-232", "RS-232"}, "com.bib", 4},
    {{"Uhren", "Clocks", "Horloges"}, "uhren.bib", 0},
    {{"Dekoder", "Decoder", "Décodeur"}, "dekoder.bib", 1},
    {{"Multimeter", "Multimeter", "Multimètres"}, "dmm.bib", 4},
    {{"Relaiskarten", "Relay cards", "Cartes Relais"}, "relais.bib", 4},
    {{"Portzugriffe", "Port access", "Port d´accès"}, "ports.bib", 4},
    {{"Digitales", "Logic", "Logique"}, "digital.bib", 1},
    {{"BMC", "BMC", "BMC"}, "bmc.bib", 4},
    {{"Meilhaus", "Meilhaus", "Meilhaus"}, "meilhaus.bib", 4},
    {{"Phidgets", "Phidgets", "Phidgets"}, "phidgets.bib", 4},
    {{"LabJack", "LabJack", "LabJack"}, "labjack.bib", 4},
    {{"Hygrosens", "Hygrosens", "Hygrosens"}, "Hygrosens.bib", 4},
    {{"fischertechnik", "fischertechnik", "fischertechnik"}, "fischertechnik.bib", 4},
    {{"Regler", "Controllers", "Controlleurs"}, "Regler.bib", 2},
    {{"Strings", "Strings", "Chaîne"}, "Strings.bib", 3},
    {{"Schreiber", "Plots", "Plots"}, "Schreiber.bib", 0},
    {{"Dateizugriff", "File access", "Fichers"}, "Files.bib", 3},
    {{"DDE", "DDE", "DDE"}, "DDE.bib", 3},
    {{"Hotkeys", nullptr, nullptr}, "Hotkeys.bib", 3},
    {{"Conrad", "Conrad", "Conrad"}, "Conrad.bib", 4},
    {{"Velleman", "Velleman", "Velleman"}, "Velleman.bib", 4},
    {{"OPC", "OPC", "OPC"}, "OPC.bib", 4},
    {{"MIDI", "MIDI", "MIDI"}, "MIDI.bib", 4},
    {{"Vergleicher", "Comparators", "Comparateurs"}, "Vergleicher.bib", 2},
    {{"Verstärker", "Amplifiers", "Amplificateurs"}, "Verstaerker.bib", 2},
    {{"Multiplexer", "Multiplexer", "Multiplexeurs"}, "AMUX.bib", 2},
    {{"Quellen", "Sources", "Sources"}, "Quellen.bib", 2},
    {{"Plus,Masse,Test", "Vcc,Ground,Test", "Vcc,Ground,Test"}, "Masse.bib", 3},
    {{"Andere Hersteller", "Other manufacturers", "Autres fabricants"}, "HW_Andere.bib", 4},
    {{"Data Translation", "Data Translation", "Data Translation"}, "DataTranslation.bib", 4},
    {{"Modbus/TCP", "Modbus/TCP", "Modbus/TCP"}, "ModbusTCP.bib", 4},
    {{"Modbus/RTU", "Modbus/RTU", "Modbus/RTU"}, "ModbusRTU.bib", 4},
    {{"Korvan", "Korvan", "Korvan"}, "Korvan.bib", 4},
    {{"Code Mercenaries", "Code Mercenaries", "Code Mercenaries"}, "CodeMercs.bib", 4},
    {{"Toradex", "Toradex", "Toradex"}, "Toradex.bib", 4},
    {{"H-TRONIC", "H-TRONIC", "H-TRONIC"}, "Htronic.bib", 4},
    {{"Quancom", "Quancom", "Quancom"}, "Quancom.bib", 4},
};

constexpr int kHotkeysRow = 39;
constexpr int kSeparator = -1;

TPaletteMenu MakeMenu()
{
    // Menu order of the rows; a separator goes into the group given.
    struct TStep {
        int Row;
        int SeparatorGroup;
    };
    static const TStep kOrder[] = {
        {16, 0}, {1, 0}, {0, 0}, {36, 0}, {22, 0}, {14, 0}, {8, 0}, {23, 0}, {3, 0}, {2, 0},
        {7, 0}, {9, 0}, {5, 0}, {6, 0}, {10, 0}, {4, 0}, {48, 0}, {37, 0}, {38, 0}, {39, 0},
        {35, 0}, {kSeparator, 3}, {11, 0}, {13, 0}, {46, 0}, {47, 0}, {34, 0}, {44, 0},
        {45, 0}, {kSeparator, 2}, {15, 0}, {12, 0}, {43, 0}, {52, 0}, {51, 0}, {24, 0},
        {42, 0}, {26, 0}, {25, 0}, {21, 0}, {kSeparator, 4}, {53, 0}, {28, 0}, {54, 0},
        {40, 0}, {50, 0}, {19, 0}, {33, 0}, {56, 0}, {32, 0}, {18, 0}, {31, 0}, {29, 0},
        {20, 0}, {30, 0}, {57, 0}, {55, 0}, {41, 0}, {kSeparator, 4}, {49, 0},
    };
    TPaletteMenu menu(PaletteGroupCount);
    for (const TStep& step : kOrder) {
        if (step.Row == kSeparator)
            menu[size_t(step.SeparatorGroup)].push_back(kSeparator);
        else
            menu[size_t(kCategories[step.Row].Group)].push_back(step.Row);
    }
    return menu;
}

} // namespace

const TPaletteCategoryInfo& PaletteCategoryInfo(int row)
{
    return kCategories[row];
}

QString PaletteCategoryCaption(int row)
{
    if (row == kHotkeysRow)
        return Translate(QStringLiteral("Hotkeys"));
    return kCategories[row].Caption.Current();
}

const TPaletteMenu& PaletteMenu()
{
    static const TPaletteMenu menu = MakeMenu();
    return menu;
}

bool CategoryHasEntries(int row)
{
    for (const TClassRegistry::TPaletteGroup& group : ClassRegistry().ComponentsByCategory())
        if (int(group.Category) == row)
            return true;
    for (const TDeviceDescription* device : ClassRegistry().Devices())
        if (int(device->Category) == row)
            return true;
    return false;
}

TPaletteMenu ShownPaletteMenu()
{
    TPaletteMenu menu = PaletteMenu();
    std::vector<int>& hardware = menu[size_t(HardwarePaletteGroup)];
    std::vector<int> shown;
    bool separatorDue = false;
    for (int row : hardware) {
        if (row == kSeparator) {
            separatorDue = !shown.empty();
        } else if (CategoryHasEntries(row)) {
            if (separatorDue)
                shown.push_back(kSeparator);
            separatorDue = false;
            shown.push_back(row);
        }
    }
    hardware = std::move(shown);
    return menu;
}

TMenuPlace FindPaletteMenuPosition(int row, const TPaletteMenu& menu)
{
    for (size_t g = 0; g < menu.size(); ++g)
        for (size_t j = 0; j < menu[g].size(); ++j)
            if (row >= 0 && menu[g][j] == row)
                return TMenuPlace{int(g), int(j)};
    return TMenuPlace{};
}

int NextPaletteRow(int row, const TPaletteMenu& menu)
{
    const TMenuPlace place = FindPaletteMenuPosition(row, menu);
    int i = std::max(place.Group, 0);
    int j = place.Position;
    if (place.Group >= 0 && j < int(menu[size_t(i)].size()) - 1) {
        ++j;
        if (menu[size_t(i)][size_t(j)] == kSeparator)
            ++j;
    } else {
        if (place.Group >= 0)
            i = (i + 1) % PaletteGroupCount;
        while (menu[size_t(i)].empty())
            i = (i + 1) % PaletteGroupCount;
        j = 0;
    }
    return menu[size_t(i)][size_t(j)];
}

int PreviousPaletteRow(int row, const TPaletteMenu& menu)
{
    const TMenuPlace place = FindPaletteMenuPosition(row, menu);
    int i = std::max(place.Group, 0);
    int j = place.Position;
    if (j < 1) {
        do
            i = (i + PaletteGroupCount - 1) % PaletteGroupCount;
        while (menu[size_t(i)].empty());
        j = int(menu[size_t(i)].size()) - 1;
    } else {
        --j;
        if (menu[size_t(i)][size_t(j)] == kSeparator)
            --j;
    }
    return menu[size_t(i)][size_t(j)];
}

QByteArray BuildCategoryLibrary(int row)
{
    TPlatine board;
    board.LibraryMode = true;
    for (const TClassRegistry::TPaletteGroup& group : ClassRegistry().ComponentsByCategory()) {
        if (int(group.Category) != row)
            continue;
        for (const TComponentDescription* description : group.Components) {
            std::unique_ptr<TBauteil> item =
                ClassRegistry().CreateBoardItem(QString::fromLatin1(description->Name));
            auto* component = dynamic_cast<TIOBauteil*>(item.get());
            if (!component)
                continue;
            item.release();
            component->LayoutPins();
            board.AddComponent(std::unique_ptr<TIOBauteil>(component));
        }
    }
    // Devices are placed as the hardware component that owns them.
    for (const TDeviceDescription* description : ClassRegistry().Devices()) {
        if (int(description->Category) != row)
            continue;
        std::unique_ptr<TBTHardware> device =
            CreateHardwareComponent(QString::fromLatin1(description->Name));
        device->LayoutPins();
        board.AddComponent(std::move(device));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer, true);
    TProjectFiles header;
    header.WriteProjectHeader(writer);
    board.WriteCircuit(writer, false);
    return bytes;
}

QStringList SearchWords(const QString& text)
{
    QStringList words;
    QString rest = text;
    for (int blank = rest.indexOf(u' '); blank >= 0; blank = rest.indexOf(u' ')) {
        words << rest.left(blank);
        rest = rest.mid(blank + 1);
    }
    if (!rest.isEmpty())
        words << rest;
    return words;
}

bool MatchesAllWords(const QString& name, const QStringList& words)
{
    const QString upper = name.toUpper();
    for (const QString& word : words)
        if (word.isEmpty() || !upper.contains(word.toUpper()))
            return false;
    return true;
}
