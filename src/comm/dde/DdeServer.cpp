#include "comm/dde/DdeServer.h"

#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/DdeConversation.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QCoreApplication>
#include <QPointer>

#include <algorithm>

namespace {

QPointer<TLocalDdeServer>& ServerConversation()
{
    static QPointer<TLocalDdeServer> server;
    return server;
}

// The turn among the server components and the time of the last item update of any of them.
TBT_DDE_Server* g_turn = nullptr;
int64_t g_lastUpdate = 0;

void ReportServiceTaken(const QString& service)
{
    MessageBoxAfterStep(
        Lang3Q("Ein anderes Programm bedient den DDE-Dienst \"%1\" schon; die DDE-Server-Bauteile "
               "dieses Programms sind für Partner nicht erreichbar.",
               "Another program already serves the DDE service \"%1\"; the DDE server "
               "components of this program cannot be reached by partners.",
               "Un autre programme sert déjà le service DDE \"%1\" ; les serveurs DDE de ce "
               "programme ne sont pas accessibles aux partenaires.")
            .arg(service),
        QStringLiteral("DDE"), mtWarning);
}

} // namespace

IDdeServer* DdeServerConversation()
{
    QPointer<TLocalDdeServer>& server = ServerConversation();
    if (!server && QCoreApplication::instance()) {
        server = new TLocalDdeServer(DdeServiceName(), QString::fromLatin1(TBT_DDE_Server::kTopic));
        // It lives as long as the program.
        server->setParent(QCoreApplication::instance());
    }
    return server.data();
}

void CloseDdeServerConversation()
{
    delete ServerConversation().data();
}

const TComponentDescription TBT_DDE_Server::Description{
    .Name = "TBT_DDE_Server", .Prefix = {"DDES"}, .HelpContext = 18859,
    .TypeName = {"DDE Server", "DDE server", "Serveur DDE"}, .Caption = {"DDE"},
    .Inputs = {4, 1, 16}, .Outputs = {0}, .Category = TPaletteCategory::DDE};

TBT_DDE_Server::TBT_DDE_Server()
{
    Describe(Description);
    Editable = true;
    NameInputs();
}

TBT_DDE_Server::~TBT_DDE_Server()
{
    if (g_turn == this)
        g_turn = nullptr;
    ClearItems();
}

void TBT_DDE_Server::NameInputs()
{
    for (size_t i = 0; i < Inputs.size(); ++i)
        Inputs[i]->SetName(QStringLiteral("S%1").arg(i));
}

void TBT_DDE_Server::CreateItems()
{
    if (Number <= 0)
        return;
    IDdeServer* server = DdeServerConversation();
    for (int32_t i = 0; i < InputCount; ++i) {
        const QString name = QStringLiteral("%1_%2_S%3").arg(BoardPath, Designator()).arg(i);
        m_items << name;
        if (server)
            server->SetItem(name, QStringLiteral("0"));
    }
}

void TBT_DDE_Server::ClearItems()
{
    if (IDdeServer* server = ServerConversation().data())
        for (const QString& name : std::as_const(m_items))
            server->RemoveItem(name);
    m_items.clear();
}

int TBT_DDE_Server::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetTypeName());
    dlg.HelpContext = HelpContext;
    QStringList counts;
    for (int n = 1; n <= Description.Inputs.Highest(); ++n)
        counts << QString::number(n);
    int32_t index = InputCount - 1;
    dlg.PropScrollbox->AddComboProp(Translate(QStringLiteral("Eingänge")), index, counts, 64);
    const int result = dlg.Execute();
    if (result == mrOk) {
        SetInputCount(std::clamp(index + 1, 1, Description.Inputs.Highest()));
        ClearItems();
        CreateItems();
    }
    return result;
}

void TBT_DDE_Server::SimReset()
{
    // Told once per program, when a run would serve the items.
    static bool told = false;
    const QPointer<TLocalDdeServer>& server = ServerConversation();
    if (server && !server->Serving() && !told) {
        told = true;
        ReportServiceTaken(DdeServiceName());
    }
    g_lastUpdate = Clock().PerformanceCounter();
    m_index = 0;
    m_updated = false;
}

void TBT_DDE_Server::Calculate()
{
    IClock& clock = Clock();
    const int64_t now = clock.PerformanceCounter();
    if (now >= g_lastUpdate && now - g_lastUpdate < clock.PerformanceFrequency() / 1000)
        return;
    if (!g_turn || !g_turn->m_updated)
        g_turn = this;
    if (g_turn != this)
        return;
    if (m_updated) {
        m_updated = false;
        return;
    }
    g_lastUpdate = now;
    m_updated = true;
    if (m_items.isEmpty())
        return;
    const int32_t input = m_index;
    m_index = (m_index + 1) % int32_t(m_items.size());
    IDdeServer* server = ServerConversation().data();
    if (!server || input >= InputCount)
        return;
    const QString text = GetInputText(input);
    const QString& item = m_items[input];
    if (server->ItemText(item) != text)
        server->SetItem(item, text);
}

void TBT_DDE_Server::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}
