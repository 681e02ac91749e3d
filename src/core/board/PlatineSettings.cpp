// The board's side of the component state file: every item of the whole macro hierarchy gets
// the open file together with the name of its board.

#include "core/board/Platine.h"

#include "core/board/Makro.h"
#include "core/model/Bauteil.h"

void TPlatine::SaveComponentStates(TIniFile& ini)
{
    for (const auto& item : Items) {
        if (auto* macro = dynamic_cast<TMakro*>(item.get())) {
            if (TPlatine* inner = macro->InnerBoard())
                inner->SaveComponentStates(ini);
            continue;
        }
        item->SaveSettings(ini, BoardName);
    }
}

int TPlatine::LoadComponentStates(TIniFile& ini, bool checkOnly)
{
    for (const auto& item : Items) {
        if (auto* macro = dynamic_cast<TMakro*>(item.get())) {
            if (TPlatine* inner = macro->InnerBoard())
                inner->LoadComponentStates(ini, checkOnly);
            continue;
        }
        item->LoadSettings(ini, BoardName, checkOnly);
    }
    return 0;
}
