#include "comm/dde/DdeClient.h"

#include "comm/dde/DdeConversations.h"
#include "core/board/Platine.h"
#include "core/model/Translator.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/MessageBox.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

const TComponentDescription TBT_DDE_Client::Description{
    .Name = "TBT_DDE_Client", .Prefix = {"DDEC"}, .HelpContext = 18862,
    .TypeName = {"DDE Client", "DDE client", "Client DDE"}, .Caption = {"DDE"},
    .Inputs = {0}, .Outputs = {1}, .OutputNames = "$", .Category = TPaletteCategory::DDE};

TBT_DDE_Client::TBT_DDE_Client() : TBT_DDE_Client(Description) {}

TBT_DDE_Client::TBT_DDE_Client(const TComponentDescription& description)
{
    Describe(description);
    Editable = true;
}

TBT_DDE_Client::~TBT_DDE_Client() = default;

bool TBT_DDE_Client::Link()
{
    IDdeConversation& conversation = *m_conversation->Conversation;
    // A conversation that another client linked already serves this one too.
    Connected = conversation.Linked() || conversation.Link(Service, Topic);
    if (Connected)
        conversation.Advise(Item);
    return Connected;
}

void TBT_DDE_Client::Connect(TPlatine& board)
{
    m_conversation = DdeConversations().Get(
        Service, Topic, [&board](const void* closed) { board.DdeConversationClosed(closed); });
    m_lastAttempt = Clock().TickCount();
    if (!Link())
        ReportDdeFault(*m_conversation, DdePartnerMissingText());
}

void TBT_DDE_Client::ConversationClosed(const void* conversation)
{
    if (m_conversation && m_conversation->Conversation.get() == conversation)
        Connected = false;
}

void TBT_DDE_Client::SimReset()
{
    if (Connected && m_conversation)
        m_conversation->Conversation->Advise(Item);
    // The next step shows the item's text even when it did not change.
    m_lastText += QLatin1Char('x');
}

void TBT_DDE_Client::SimEnd()
{
    TGrundBT::SimEnd();
    Connected = false;
    m_conversation.reset();
}

void TBT_DDE_Client::Calculate()
{
    if (!m_conversation)
        return;
    IDdeConversation& conversation = *m_conversation->Conversation;
    if (!Connected) {
        const uint32_t now = Clock().TickCount();
        if (now - m_lastAttempt < kRetryMs)
            return;
        m_lastAttempt = now;
        Link();
        return;
    }
    // A partner that went away is noticed here too (also by clients of other boards).
    if (!conversation.Linked()) {
        Connected = false;
        m_lastAttempt = Clock().TickCount();
        return;
    }
    // Until the partner told the item's text the output keeps its own.
    if (!conversation.HasText(Item))
        return;
    const QString text = conversation.ItemText(Item);
    if (text != m_lastText) {
        m_lastText = text;
        SetOutputText(0, text);
    }
}

int TBT_DDE_Client::EditProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(GetLabel());
    dlg.HelpContext = HelpContext;
    TPropScrollbox& rows = *dlg.PropScrollbox;
    rows.AddEditProp(Translate(QStringLiteral("Server")), Service, 0, 200);
    rows.AddEditProp(Translate(QStringLiteral("Thema")), Topic, 0, 200);
    rows.AddEditProp(Translate(QStringLiteral("Objekt")), Item, 0, 200);
    return dlg.ExecuteWithOptions(*this);
}

void TBT_DDE_Client::Paint(TCanvas& canvas)
{
    TGrundBT::Paint(canvas);
    DrawSymbolCaption(canvas, SymbolCaption(), SymbolColor);
}

void TBT_DDE_Client::WriteData(TWriter& writer)
{
    TGrundBT::WriteData(writer);
    writer.WriteString(Service);
    writer.WriteString(Topic);
    writer.WriteString(Item);
}

void TBT_DDE_Client::ReadData(TReader& reader, uint8_t version)
{
    TGrundBT::ReadData(reader, version);
    Service = reader.ReadString();
    Topic = reader.ReadString();
    Item = reader.ReadString();
}

QString TBT_DDE_Client::GetHint() const
{
    return TGrundBT::GetHint() + QStringLiteral("\r%1|%2|%3").arg(Service, Topic, Item);
}

// --- Poke client ---------------------------------------------------------------------------------

const TComponentDescription TBT_DDE_Client_Poke::Description{
    .Name = "TBT_DDE_Client_Poke", .Prefix = {"DDECP"}, .HelpContext = 18862,
    .TypeName = {"DDE Client", "DDE client", "Client DDE"}, .Caption = {"DDE"},
    .Inputs = {2}, .Outputs = {1}, .InputNames = "$ |CLK", .OutputNames = "$",
    .Category = TPaletteCategory::DDE};

TBT_DDE_Client_Poke::TBT_DDE_Client_Poke() : TBT_DDE_Client(Description) {}

void TBT_DDE_Client_Poke::SimReset()
{
    TBT_DDE_Client::SimReset();
    m_lastClock = false;
    m_toldTooLong = false;
}

void TBT_DDE_Client_Poke::Calculate()
{
    TBT_DDE_Client::Calculate();
    if (!Connected)
        return;
    const bool level = GetInputDigital(1);
    if (level == m_lastClock)
        return;
    m_lastClock = level;
    if (level)
        return;
    const QString text = GetInputText(0);
    if (text.size() > kDdeMaxPokeText) {
        if (!m_toldTooLong) {
            m_toldTooLong = true;
            MessageBoxAfterStep(
                Lang3Q("%1: Der Text ist länger als %2 Zeichen und wird nicht gesendet.",
                       "%1: the text is longer than %2 characters and is not sent.",
                       "%1 : le texte dépasse %2 caractères et n'est pas envoyé.")
                    .arg(Designator())
                    .arg(kDdeMaxPokeText),
                QStringLiteral("DDE"), mtWarning);
        }
        return;
    }
    m_conversation->Conversation->Poke(Item, text);
}
