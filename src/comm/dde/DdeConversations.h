#pragma once
// The client conversations of a run, one per service and topic, shared by every DDE client
// component that names them. A conversation tells the user once when its partner is missing at
// run start, goes away or sends what is no item text; the list is emptied at the end of a run.

#include "platform/DdeConversation.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct TDdeConversationEntry {
    QString Service;
    QString Topic;
    std::unique_ptr<IDdeConversation> Conversation;
    bool Reported = false; // a fault of this conversation was told to the user
};

class TDdeConversations {
public:
    // The entry of a service and topic (compared without regard to case), created when there
    // is none; onClosed runs when the partner of a new one ends the conversation.
    std::shared_ptr<TDdeConversationEntry> Get(const QString& service, const QString& topic,
                                               std::function<void(const void*)> onClosed);
    void Clear();
    size_t Count() const { return m_entries.size(); }

private:
    std::vector<std::shared_ptr<TDdeConversationEntry>> m_entries;
};

TDdeConversations& DdeConversations();

// Tells the user once per entry: the partner is missing, has gone, or sends garbage.
void ReportDdeFault(TDdeConversationEntry& entry, const QString& what);
QString DdePartnerMissingText();
QString DdePartnerGoneText();
QString DdeGarbageText();
