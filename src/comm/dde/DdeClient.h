#pragma once
// DDE client components: the client shows the text of one item of a partner's service and
// topic on its output "$"; the poke client also writes the text of its input "$" into that item
// on each falling edge of "|CLK". The board links them at run start to the conversation of
// their service and topic, shared with every client that names the same; a client without a
// partner tries again every 3 seconds and keeps its output meanwhile.

#include "core/model/GrundBT.h"

#include <memory>

struct TDdeConversationEntry;
class TPlatine;

class TBT_DDE_Client : public TGrundBT {
public:
    TV_CLASS_NAME(TBT_DDE_Client)
    static const TComponentDescription Description;
    TBT_DDE_Client();
    ~TBT_DDE_Client() override;

    static constexpr uint32_t kRetryMs = 3000;

    QString Service;
    QString Topic;
    QString Item;
    bool Connected = false;

    // Run start: takes the conversation of its service and topic (made when there is none)
    // and links it; the board hears when the partner ends it.
    void Connect(TPlatine& board);
    // The partner ended a conversation: not connected when it is this one's.
    void ConversationClosed(const void* conversation);
    const TDdeConversationEntry* Conversation() const { return m_conversation.get(); }

    void SimReset() override;
    void SimEnd() override;
    void Calculate() override;
    int EditProperties() override;
    void Paint(TCanvas& canvas) override;
    void WriteData(TWriter& writer) override;
    void ReadData(TReader& reader, uint8_t version) override;
    QString GetHint() const override;

protected:
    explicit TBT_DDE_Client(const TComponentDescription& description);
    bool Link();

    std::shared_ptr<TDdeConversationEntry> m_conversation;

private:
    QString m_lastText;
    uint32_t m_lastAttempt = 0;
};

class TBT_DDE_Client_Poke : public TBT_DDE_Client {
public:
    TV_CLASS_NAME(TBT_DDE_Client_Poke)
    static const TComponentDescription Description;
    TBT_DDE_Client_Poke();

    void SimReset() override;
    void Calculate() override;

private:
    bool m_lastClock = false;
    bool m_toldTooLong = false;
};
