// The serial relay cards against a scripted chain on a pty, and the parallel-port relay card on
// the simulated I/O space.
#include "hardware/cards/CardTestSupport.h"

#include "fakes/ScriptedSerialDevice.h"
#include "hardware/cards/RelayCards.h"
#include "hardware/framework/BtHardware.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QComboBox>
#include <QDialog>
#include <QSpinBox>
#include <QTemporaryDir>

#include <cerrno>

namespace {

using Frame = std::vector<uint8_t>;

class RelayCardTest : public CardFixture {
protected:
    void SetUp() override
    {
        CardFixture::SetUp();
        FreeComTable();
        ports.Attach(4, chain);
    }
    void TearDown() override
    {
        FreeComTable();
        CardFixture::TearDown();
    }
    // What the program wrote since the last call.
    Frame Sent()
    {
        Frame got(chain.Received.begin() + long(m_seen), chain.Received.end());
        m_seen = chain.Received.size();
        return got;
    }
    // Every relay of card `card` (1-based) from the bits of pattern.
    static void DriveCard(TSerRelais& relays, int card, uint8_t pattern)
    {
        for (int k = 0; k < 8; ++k)
            Drive(relays, (card - 1) * 8 + k, (pattern >> k & 1) ? 5.0L : 0.0L);
    }

    TScopedMessageResponder messages;
    TScriptedSerialPorts ports;
    TScriptedSerialDevice chain;

private:
    size_t m_seen = 0;
};

} // namespace

TEST_F(RelayCardTest, ThreeCardsSendTheirPatternOnceAndThenOnlyChanges)
{
    TSerRelais relays;
    relays.SetKartenAnz(3);
    relays.SetComPort(4);
    EXPECT_EQ(relays.OutputCount, 24);
    EXPECT_EQ(relays.GetOutputLabel(0), QStringLiteral("1K1"));
    EXPECT_EQ(relays.GetOutputLabel(23), QStringLiteral("3K8"));
    relays.SimStart();
    ASSERT_TRUE(relays.GetCate().Connected());
    ASSERT_FALSE(chain.Frames.empty());
    EXPECT_EQ(chain.Frames.back().Baud, 19200);
    EXPECT_EQ(chain.Frames.back().DataBits, 8);
    EXPECT_EQ(Sent(), (Frame{0x01, 0x01, 0x00, 0x00}));

    // Each card's pattern once at the start of the run, one frame per frame time.
    Step(relays, 1, 2.0);
    EXPECT_TRUE(Sent().empty()); // the chain is still taking the initialisation
    Step(relays, 30, 2.0);
    EXPECT_EQ(Sent(), (Frame{0x03, 0x01, 0x00, 0x02, 0x03, 0x02, 0x00, 0x01, 0x03, 0x03, 0x00, 0x00}));

    DriveCard(relays, 2, 0x04); // 2K3 on
    Step(relays, 30, 2.0);
    EXPECT_EQ(Sent(), (Frame{0x03, 0x02, 0x04, 0x05}));
    DriveCard(relays, 1, 0x81); // two cards change in one step: one frame, then the next
    DriveCard(relays, 3, 0x10);
    Step(relays);
    EXPECT_EQ(Sent(), (Frame{0x03, 0x01, 0x81, 0x83}));
    Step(relays, 5, 1.0);
    EXPECT_TRUE(Sent().empty());
    Step(relays, 10, 1.0);
    EXPECT_EQ(Sent(), (Frame{0x03, 0x03, 0x10, 0x10}));

    // Replies of the cards are read and dropped.
    chain.Send({0xFC, 0x01, 0x00, 0xFD});
    Step(relays);
    EXPECT_EQ(relays.GetCate().InQueCount(), 0);
    relays.SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(RelayCardTest, CardCountIsKeptInRangeAndInTheRecord)
{
    struct TCase {
        int32_t set, cards;
    };
    for (const TCase c : {TCase{0, 1}, TCase{-5, 1}, TCase{61, 60}, TCase{7, 7}}) {
        TSerRelais relays;
        relays.SetKartenAnz(c.set);
        EXPECT_EQ(relays.KartenAnz, c.cards);
        EXPECT_EQ(relays.OutputCount, 8 * c.cards);
        EXPECT_EQ(relays.Ports.size(), size_t(c.cards));
    }
    TSerRelais relays;
    relays.SetKartenAnz(3);
    relays.SetComPort(4);
    TSerRelais loaded;
    LoadRecord(loaded, StoreRecord(relays));
    EXPECT_EQ(loaded.KartenAnz, 3);
    EXPECT_EQ(loaded.ComNumber, 4);
    EXPECT_EQ(loaded.GetOutputLabel(16), QStringLiteral("3K1"));
    EXPECT_EQ(loaded.Ports[2]->Name, QStringLiteral("Relaiskarte 3"));
}

TEST_F(RelayCardTest, CardCountChangesWhileTheDialogIsOpenAndCancelRestoresIt)
{
    auto component = CreateHardwareComponent(QStringLiteral("TSerRelais"));
    auto& relays = static_cast<TSerRelais&>(*component->Interface);
    TScopedDialogResponder dialogs;
    size_t liveCards = 0;
    dialogs.Answer([&](QDialog& d) {
        const auto spins = d.findChildren<QSpinBox*>();
        EXPECT_EQ(spins.size(), 1);
        if (!spins.isEmpty())
            spins[0]->setValue(4);
        liveCards = relays.Ports.size();
        return int(mrCancel);
    });
    component->EditProperties();
    EXPECT_EQ(liveCards, 4u);
    EXPECT_EQ(relays.KartenAnz, 1);
    EXPECT_EQ(component->InputCount, 8);
    dialogs.Answer([&](QDialog& d) {
        const auto spins = d.findChildren<QSpinBox*>();
        if (!spins.isEmpty())
            spins[0]->setValue(2);
        return int(mrOk);
    });
    component->EditProperties();
    EXPECT_EQ(relays.KartenAnz, 2);
    EXPECT_EQ(component->InputCount, 16);
}

TEST_F(RelayCardTest, LptCardWritesTheDataLinesOnlyOnChange)
{
    TRelaiskarte card;
    card.DlgAddress = 2;
    card.ApplySettings();
    card.SimStart();
    Drive(card, 0, 5.0L); // RL1
    Drive(card, 7, 5.0L); // RL8
    Step(card, 3);
    EXPECT_EQ(io.Accesses, (std::vector<TSimulatedPortIo::TAccess>{W(0x278, 0x81)}));
    Drive(card, 7, 0.0L);
    Step(card, 2);
    EXPECT_EQ(io.Accesses.back(), W(0x278, 0x01));
    EXPECT_EQ(io.Accesses.size(), 2u);
    card.MakeInfoLines();
    EXPECT_EQ(card.InfoLines, QStringList{QStringLiteral("LPT-Relaiskarte: LPT 2")});
    card.SimStop();

    // A port the system refuses is not tried, and the byte stays due.
    TSimulatedPortIo refusing;
    refusing.DenyActivation = EPERM;
    SetPortIo(&refusing);
    TScopedMessageResponder refusal;
    card.SimStart();
    Step(card, 2);
    EXPECT_TRUE(refusing.Accesses.empty());
    EXPECT_EQ(refusing.RefusedAccesses, 0);
    EXPECT_EQ(static_cast<TRelaiskarteOutPort&>(*card.Ports[0]).LastWritten, -1);
    EXPECT_EQ(refusal.Requests().size(), 1u); // the run start told the user
    card.SimStop();
    SetPortIo(&io);
}

TEST_F(RelayCardTest, LptCardKeepsItsPortInRecordAndSettingsFile)
{
    auto component = CreateHardwareComponent(QStringLiteral("TRelaiskarte"));
    component->Interface->BaseAddress = 3;
    auto reloaded = CreateHardwareComponent(QStringLiteral("TRelaiskarte"));
    LoadRecord(*reloaded->Interface, StoreRecord(*component->Interface));
    TScopedDialogResponder dialogs;
    QString shown;
    dialogs.Answer([&](QDialog& d) {
        for (QComboBox* combo : d.findChildren<QComboBox*>())
            shown = combo->currentText();
        return int(mrCancel);
    });
    reloaded->EditProperties();
    EXPECT_EQ(shown, QStringLiteral("LPT 3"));

    QTemporaryDir folder;
    TIniFile ini(folder.path() + QStringLiteral("/hw.ini"));
    reloaded->Interface->writeToIni(ini, QStringLiteral("R"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("R"), QStringLiteral("LPT"), -1), 3);
    ini.WriteInteger(QStringLiteral("R"), QStringLiteral("LPT"), 9); // not a port
    reloaded->Interface->readFromIni(ini, QStringLiteral("R"));
    EXPECT_EQ(reloaded->Interface->BaseAddress, 0);
}
