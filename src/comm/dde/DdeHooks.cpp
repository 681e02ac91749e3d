#include "comm/dde/DdeHooks.h"

#include "comm/dde/DdeClient.h"
#include "comm/dde/DdeConversations.h"
#include "comm/dde/DdeServer.h"
#include "core/board/BoardHooks.h"
#include "core/board/Platine.h"

void InstallDdeHooks()
{
    TBoardServiceHooks& services = BoardServiceHooks();
    services.SetDdeServerTopic = [](TIOBauteil& component, const QString& path) {
        if (auto* server = dynamic_cast<TBT_DDE_Server*>(&component)) {
            server->BoardPath = path;
            server->ClearItems();
        }
    };
    services.CreateDdeServerItems = [](TIOBauteil& component) {
        if (auto* server = dynamic_cast<TBT_DDE_Server*>(&component))
            server->CreateItems();
    };
    TSimulationHooks& simulation = SimulationHooks();
    simulation.ConnectDdeClient = [](TIOBauteil& component, TPlatine& board) {
        if (auto* client = dynamic_cast<TBT_DDE_Client*>(&component))
            client->Connect(board);
    };
    simulation.DdeConversationClosed = [](TIOBauteil& component, const void* conversation) {
        if (auto* client = dynamic_cast<TBT_DDE_Client*>(&component))
            client->ConversationClosed(conversation);
    };
    simulation.ReleaseDdeConversations = [] { DdeConversations().Clear(); };
}
