#include "comm/dde/DdeConversations.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"

std::shared_ptr<TDdeConversationEntry>
TDdeConversations::Get(const QString& service, const QString& topic,
                       std::function<void(const void*)> onClosed)
{
    for (const auto& entry : m_entries)
        if (entry->Service.compare(service, Qt::CaseInsensitive) == 0
            && entry->Topic.compare(topic, Qt::CaseInsensitive) == 0)
            return entry;
    auto entry = std::make_shared<TDdeConversationEntry>();
    entry->Service = service;
    entry->Topic = topic;
    entry->Conversation = std::make_unique<TLocalDdeConversation>();
    IDdeConversation* conversation = entry->Conversation.get();
    TDdeConversationEntry* raw = entry.get();
    conversation->OnClosed = [raw, conversation, onClosed = std::move(onClosed)] {
        ReportDdeFault(*raw, DdePartnerGoneText());
        if (onClosed)
            onClosed(conversation);
    };
    conversation->OnGarbage = [raw] { ReportDdeFault(*raw, DdeGarbageText()); };
    m_entries.push_back(entry);
    return entry;
}

void TDdeConversations::Clear()
{
    for (const auto& entry : m_entries) {
        entry->Conversation->OnClosed = nullptr;
        entry->Conversation->OnGarbage = nullptr;
        entry->Conversation->Close();
    }
    m_entries.clear();
}

TDdeConversations& DdeConversations()
{
    static TDdeConversations list;
    return list;
}

void ReportDdeFault(TDdeConversationEntry& entry, const QString& what)
{
    if (entry.Reported)
        return;
    entry.Reported = true;
    MessageBoxAfterStep(what.arg(entry.Service, entry.Topic), QStringLiteral("DDE"), mtWarning);
}

QString DdePartnerMissingText()
{
    return Lang3Q("Kein DDE-Partner bedient Server \"%1\", Thema \"%2\". Der Client versucht es "
                  "alle 3 Sekunden wieder.",
                  "No DDE partner serves server \"%1\", topic \"%2\". The client tries again "
                  "every 3 seconds.",
                  "Aucun partenaire DDE ne sert le serveur \"%1\", rubrique \"%2\". Le client "
                  "réessaie toutes les 3 secondes.");
}

QString DdePartnerGoneText()
{
    return Lang3Q("Der DDE-Partner von Server \"%1\", Thema \"%2\" hat die Verbindung beendet. "
                  "Die Ausgänge behalten ihre Texte; der Client versucht es alle 3 Sekunden "
                  "wieder.",
                  "The DDE partner of server \"%1\", topic \"%2\" ended the conversation. The "
                  "outputs keep their texts; the client tries again every 3 seconds.",
                  "Le partenaire DDE du serveur \"%1\", rubrique \"%2\" a terminé la "
                  "conversation. Les sorties gardent leurs textes ; le client réessaie toutes "
                  "les 3 secondes.");
}

QString DdeGarbageText()
{
    return Lang3Q("Der DDE-Partner von Server \"%1\", Thema \"%2\" sendet Unverständliches; es "
                  "wird verworfen.",
                  "The DDE partner of server \"%1\", topic \"%2\" sends what cannot be read; it "
                  "is dropped.",
                  "Le partenaire DDE du serveur \"%1\", rubrique \"%2\" envoie des données "
                  "illisibles ; elles sont ignorées.");
}
