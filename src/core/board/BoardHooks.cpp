#include "core/board/BoardHooks.h"

#include "core/board/ItemDialogs.h"
#include "core/model/ViewHooks.h"

namespace {

TBoardServiceHooks g_services;

} // namespace

TBoardServiceHooks& BoardServiceHooks()
{
    return g_services;
}

THardwareFactory HardwareClassByName(const QString& name)
{
    if (!g_services.HardwareClassByName)
        return {};
    return g_services.HardwareClassByName(name);
}

bool IsHardwareComponent(const TBauteil& item)
{
    return g_services.IsHardwareComponent && g_services.IsHardwareComponent(item);
}

void ResetBoardHooks()
{
    InstallFrontPanelHooks(nullptr);
    g_services = TBoardServiceHooks{};
    ItemDialogHooks() = TItemDialogHooks{};
    BoardViewHooks() = TBoardViewHooks{};
}
