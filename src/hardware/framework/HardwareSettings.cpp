#include "hardware/framework/HardwareSettings.h"

#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "hardware/framework/BtHardware.h"

namespace {

template <class Visit>
void WalkBoards(TPlatine& board, int32_t& boardNumber, const Visit& visit)
{
    const int32_t number = boardNumber;
    for (const auto& item : board.Items) {
        auto* hardware = dynamic_cast<TBTHardware*>(item.get());
        if (hardware && hardware->Interface)
            visit(*hardware->Interface, QString::number(number) + QLatin1Char('.')
                                            + hardware->Designator());
    }
    for (const auto& item : board.Items) {
        auto* macro = dynamic_cast<TMakro*>(item.get());
        if (!macro)
            continue;
        ++boardNumber;
        if (TPlatine* inner = macro->InnerBoard())
            WalkBoards(*inner, boardNumber, visit);
    }
}

} // namespace

void SaveHardwareSettings(TPlatine& board, TIniFile& ini, int32_t& boardNumber)
{
    WalkBoards(board, boardNumber, [&ini](TIOInterface& device, const QString& section) {
        device.writeToIni(ini, section);
    });
}

void LoadHardwareSettings(TPlatine& board, TIniFile& ini, int32_t& boardNumber)
{
    WalkBoards(board, boardNumber, [&ini](TIOInterface& device, const QString& section) {
        device.readFromIni(ini, section);
    });
}
