#pragma once
// The DDE server component: publishes its inputs as items of this program's DDE service under
// the topic "DDE", named by the board path, the designator and the input: input 2 of DDES3 on
// the top board is the item "MAIN_DDES3_S2". Items exist from placement or loading on and serve
// partners also between runs; their texts change during a run. All server components together
// update at most one item per millisecond, taking turns, each its next input in round robin; an
// unchanged text is not sent again.

#include "core/model/GrundBT.h"

#include <QStringList>

class IDdeServer;

class TBT_DDE_Server : public TGrundBT {
public:
    TV_CLASS_NAME(TBT_DDE_Server)
    static const TComponentDescription Description;
    TBT_DDE_Server();
    ~TBT_DDE_Server() override;

    static constexpr const char* kTopic = "DDE";

    // The board's path text ("MAIN", "MAIN_MCR1" ...), given by the board.
    QString BoardPath = QStringLiteral("MAIN");

    // One item per input, text "0" (nothing for a component without number).
    void CreateItems();
    void ClearItems();
    // The names of the items created.
    const QStringList& ItemNames() const { return m_items; }

    void NameInputs() override;
    int EditProperties() override;
    void SimReset() override;
    void Calculate() override;
    void Paint(TCanvas& canvas) override;

private:
    QStringList m_items;
    int32_t m_index = 0;
    bool m_updated = false;
};

// The program's DDE server conversation, created with the first item; nullptr before that and
// where the program has no event loop to serve from.
IDdeServer* DdeServerConversation();
// Ends it and its items (tests).
void CloseDdeServerConversation();
