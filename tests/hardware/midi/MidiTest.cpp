// The MIDI devices, their ports and the administrator on a fake MIDI system.
#include "hardware/HardwareTestSupport.h"

#include "hardware/midi/MidiAdministrator.h"
#include "hardware/midi/MidiInterface.h"
#include "hardware/midi/MidiPort.h"
#include "hardware/midi/MidiReceivePorts.h"
#include "hardware/midi/MidiSendPorts.h"
#include "platform/MessageBox.h"
#include "platform/MidiSystem.h"

#include <map>

namespace {

class TFakeMidi : public IMidiSystem {
public:
    QStringList Outputs{QStringLiteral("Synth")};
    QStringList Inputs{QStringLiteral("Keys A"), QStringLiteral("Keys B")};
    std::vector<std::pair<TMidiHandle, uint32_t>> Sent;
    std::map<TMidiHandle, TReceive> OpenInputs; // handle: receiver
    std::map<TMidiHandle, int32_t> InputDevice;
    int Opens = 0;
    TMidiHandle Last = 0;

    QStringList OutputNames() override { return Outputs; }
    QStringList InputNames() override { return Inputs; }
    TMidiHandle OpenOutput(int32_t device) override
    {
        ++Opens;
        return device < Outputs.size() ? ++Last : 0;
    }
    void CloseOutput(TMidiHandle) override {}
    void Send(TMidiHandle output, uint32_t message) override { Sent.push_back({output, message}); }
    TMidiHandle OpenInput(int32_t device, TReceive receive) override
    {
        ++Opens;
        if (device >= Inputs.size())
            return 0;
        OpenInputs[++Last] = std::move(receive);
        InputDevice[Last] = device;
        return Last;
    }
    void CloseInput(TMidiHandle handle) override { OpenInputs.erase(handle); }
    bool Connect(TMidiHandle, TMidiHandle) override { return true; }
    void Disconnect(TMidiHandle, TMidiHandle) override {}

    // A message arriving on input device.
    void Arrive(int32_t device, uint32_t message)
    {
        for (auto& [handle, receive] : OpenInputs)
            if (InputDevice[handle] == device)
                receive(message);
    }
    std::vector<uint32_t> Messages() const
    {
        std::vector<uint32_t> all;
        for (const auto& sent : Sent)
            all.push_back(sent.second);
        return all;
    }
};

class MidiTest : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        SetMidiSystem(&midi);
        ListMidiDevices();
    }
    void TearDown() override
    {
        SetMidiSystem(nullptr);
        HardwareFixture::TearDown();
    }
    // A device on selection with the kind, started.
    template <class T>
    std::unique_ptr<T> Started(uint16_t selection, uint8_t kind)
    {
        auto device = std::make_unique<T>();
        device->BaseAddress = selection;
        device->SetMessageType(kind);
        device->SimStart();
        return device;
    }
    TPin& PortPin(TMIDIInterface& device, const char* name)
    {
        for (auto& pin : device.Port->Pins)
            if (pin->PinName == QLatin1String(name))
                return *pin;
        ADD_FAILURE() << name;
        return *device.Port->Pins[0];
    }
    void Set(TMIDIInterface& device, const char* name, Extended value)
    {
        SetPinValue(PortPin(device, name), value);
    }
    TFakeMidi midi;
    TScopedMessageResponder messages;
};

} // namespace

TEST_F(MidiTest, NoteOnAndOffFollowTheOnPinAndTheClockRepeats)
{
    auto device = Started<TMIDIInterface>(1, 0);
    Set(*device, "CHN", 2);
    Set(*device, "NOTE", 60);
    Set(*device, "VEL", 90);
    Set(*device, "|CLK", 5);
    device->MachEsJetzt(); // ON low, as stored: nothing
    Set(*device, "ON", 5);
    device->MachEsJetzt();
    device->MachEsJetzt(); // held: nothing more
    Set(*device, "VEL", 40);
    Set(*device, "ON", 0);
    device->MachEsJetzt();
    Set(*device, "|CLK", 0); // falling clock repeats the current state
    device->MachEsJetzt();
    EXPECT_EQ(midi.Messages(),
              (std::vector<uint32_t>{0x5A3C92, 0x283C82, 0x283C82}));
    device->SimStop();
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(MidiTest, SendPortsClampAndSendOnlyOnTheirValue)
{
    struct Case {
        uint8_t kind;
        const char* pin;
        Extended value;
        uint32_t message;
    };
    const Case cases[] = {
        {5, "PTCH", 8192.4L, 0x4000E0}, {5, "PTCH", 20000.0L, 0x7F7FE0},
        {5, "PTCH", -3.0L, 0x0000E0},  {2, "VAL", 127.5L, 0x7F00B0},
        {3, "PRG", 2.5L, 0x0002C0},    {4, "CAT", 130.0L, 0x007FD0},
    };
    for (const Case& c : cases) {
        midi.Sent.clear();
        auto device = Started<TMIDIInterface>(1, c.kind);
        Set(*device, "|CLK", 0); // the falling clock sends even a value equal to the last one
        Set(*device, c.pin, c.value);
        device->MachEsJetzt();
        EXPECT_EQ(midi.Messages(), std::vector<uint32_t>{c.message}) << c.pin << double(c.value);
        device->SimStop();
    }
    // A control change goes out when VAL changes, not when only CTL or CHN does.
    midi.Sent.clear();
    auto device = Started<TMIDIInterface>(1, 2);
    Set(*device, "|CLK", 5);
    Set(*device, "CTL", 7);
    Set(*device, "CHN", 1);
    device->MachEsJetzt();
    EXPECT_TRUE(midi.Sent.empty());
    Set(*device, "VAL", 64);
    device->MachEsJetzt();
    EXPECT_EQ(midi.Messages(), std::vector<uint32_t>{0x4007B1});
    device->SimStop();
}

TEST_F(MidiTest, ClockLowInTheFirstStepIsAFallingEdge)
{
    auto device = Started<TMIDIInterface>(1, 8); // Start: 0xFA
    device->MachEsJetzt();
    device->MachEsJetzt();
    EXPECT_EQ(midi.Messages(), std::vector<uint32_t>{0xFA});
    device->SimStop();
}

TEST_F(MidiTest, ReceivedNotesAppearOnePerTwelveStepsWithAClockPulse)
{
    auto device = Started<TMIDIReceiveInterface>(1, 0);
    midi.Arrive(0, 0x643C91); // note on, velocity 100
    midi.Arrive(0, 0x403C81); // note off, velocity 64
    midi.Arrive(0, 0x003D91); // note on with velocity 0 is an off
    std::vector<int> applied;
    for (int step = 0; step < 40; ++step) {
        const bool wasHigh = GetPinDigital(PortPin(*device, "|CLK"));
        device->MachEsJetzt();
        if (wasHigh && !GetPinDigital(PortPin(*device, "|CLK"))) {
            applied.push_back(step);
            if (applied.size() == 1) {
                EXPECT_EQ(PortPin(*device, "VEL").Value, 100.0L);
                EXPECT_EQ(PortPin(*device, "ON").Value, 5.0L);
                EXPECT_EQ(PortPin(*device, "CHN").Value, 1.0L);
            } else if (applied.size() == 2) {
                EXPECT_EQ(PortPin(*device, "VEL").Value, 64.0L);
                EXPECT_EQ(PortPin(*device, "ON").Value, 0.0L);
            } else {
                EXPECT_EQ(PortPin(*device, "NOTE").Value, 61.0L);
                EXPECT_EQ(PortPin(*device, "ON").Value, 0.0L);
            }
        }
    }
    // The clock starts low: the first step raises it, the seventh applies.
    EXPECT_EQ(applied, (std::vector<int>{6, 18, 30}));
    device->SimStop();
}

TEST_F(MidiTest, FiltersDropMessagesThatDoNotMatchTheCircuitsPins)
{
    auto device = Started<TMIDIReceiveInterface>(1, 3); // program change
    device->SimStop();
    device->Port->SetChannelFilter(true);
    device->Port->SetValueFilter(true);
    device->BuildPinList();
    EXPECT_EQ(device->OutputCount, 2); // CHN and PRG are now the circuit's
    Set(*device, "CHN", 3);
    Set(*device, "PRG", 100);
    device->SimStart();
    midi.Arrive(0, 0x0064C4); // channel 4: dropped
    midi.Arrive(0, 0x000FC3); // program 15: dropped
    midi.Arrive(0, 0x0064C3);
    EXPECT_EQ(device->Port->QueuedCount(), 1u);
    // Only the system message of the port's own number passes.
    auto clock = Started<TMIDIReceiveInterface>(1, 7);
    midi.Arrive(0, 0xFA);
    midi.Arrive(0, 0xF8);
    EXPECT_EQ(clock->Port->QueuedCount(), 1u);
    clock->SimStop();
    device->SimStop();
}

TEST_F(MidiTest, SharedInputIsOpenedOnceAndMessagesReachOnlyItsDevices)
{
    auto first = Started<TMIDIReceiveInterface>(1, 2);
    auto second = Started<TMIDIReceiveInterface>(1, 2);
    auto other = Started<TMIDIReceiveInterface>(2, 2);
    EXPECT_EQ(midi.OpenInputs.size(), 2u);
    EXPECT_EQ(first->Handle, second->Handle);
    midi.Arrive(0, 0x0107B0);
    EXPECT_EQ(first->Port->QueuedCount(), 1u);
    EXPECT_EQ(second->Port->QueuedCount(), 1u);
    EXPECT_EQ(other->Port->QueuedCount(), 0u);
    first->SimStop();
    EXPECT_EQ(midi.OpenInputs.size(), 2u); // still open for the second
    second->SimStop();
    EXPECT_EQ(midi.OpenInputs.size(), 1u);
    // A device freed while running unregisters itself.
    other.reset();
    EXPECT_TRUE(midi.OpenInputs.empty());
    MidiAdministrator().DispatchIn(1, 0x0107B0); // nobody left: nothing happens
}

TEST_F(MidiTest, FullQueueDropsAndCounts)
{
    auto device = Started<TMIDIReceiveInterface>(1, 7);
    for (size_t i = 0; i < TMidiPort::kQueueLimit + 3; ++i)
        midi.Arrive(0, 0xF8);
    EXPECT_EQ(device->Port->QueuedCount(), TMidiPort::kQueueLimit);
    EXPECT_EQ(device->Port->DroppedCount(), 3u);
    device->SimStop();
}

TEST_F(MidiTest, NoDeviceSendsNothingAndAnUnopenedDeviceIsToldOnce)
{
    auto none = Started<TMIDIInterface>(0, 0);
    Set(*none, "ON", 5);
    none->MachEsJetzt();
    EXPECT_TRUE(midi.Sent.empty());
    EXPECT_TRUE(messages.Requests().empty());
    none->SimStop();
    midi.Outputs.clear(); // no sequencer device
    auto missing = Started<TMIDIInterface>(1, 0);
    EXPECT_EQ(messages.Requests().size(), 1u);
    Set(*missing, "ON", 5);
    missing->MachEsJetzt();
    EXPECT_TRUE(midi.Sent.empty());
    missing->SimStop();
}

TEST_F(MidiTest, StoredKindAndFiltersComeBack)
{
    TMIDIReceiveInterface stored;
    stored.SetMessageType(14);
    stored.SecondSelection = 2;
    TMIDIReceiveInterface loaded;
    LoadRecord(loaded, StoreRecord(stored));
    auto* others = dynamic_cast<TMidiReceiveOthersPort*>(loaded.Port);
    ASSERT_NE(others, nullptr);
    EXPECT_EQ(others->SystemMessage, 2);
    EXPECT_EQ(loaded.SecondSelection, 2);
    EXPECT_EQ(loaded.Port->Name, QStringLiteral("Receive Song Position"));

    TMIDIReceiveInterface filtered;
    filtered.SetMessageType(2);
    filtered.Port->SetChannelFilter(true);
    TMIDIReceiveInterface back;
    LoadRecord(back, StoreRecord(filtered));
    EXPECT_TRUE(back.Port->ChannelFilter);
    EXPECT_FALSE(back.Port->ValueFilter);
    EXPECT_EQ(back.OutputCount, 1);
}

TEST_F(MidiTest, ThruDeviceHasNoPinsAndConnectsItsTwoDevices)
{
    TMIDIThruInterface thru;
    EXPECT_TRUE(thru.Pins.empty());
    EXPECT_EQ(thru.Port, nullptr);
    thru.BaseAddress = 2;
    thru.SecondSelection = 1;
    thru.SimStart();
    EXPECT_NE(thru.Handle, 0);
    EXPECT_NE(thru.ThruHandle, 0);
    thru.SimStop();
    EXPECT_TRUE(midi.OpenInputs.empty());
    EXPECT_TRUE(messages.Requests().empty());
}
