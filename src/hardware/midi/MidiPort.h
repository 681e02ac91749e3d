#pragma once
// The base of the MIDI ports: one MIDI message kind on a few pins and a clock pin (the last
// pin). A send port's clock is an input of the device: its falling edge repeats the message.
// A receive port's clock is driven by the device: it falls in the step in which a received
// message appears on the pins, stays low for six steps and high for at least six, so that at
// most one message is applied every 12 steps. Received messages wait in a bounded queue that
// the MIDI system's thread fills and the step empties.

#include "hardware/framework/IoPort.h"
#include "platform/MidiSystem.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

// A pin value as a MIDI number: below 0 or not a number gives 0, above upper gives upper, the
// rest rounds to the nearest integer (halves to even).
int32_t MidiNumber(Extended value, int32_t upper);
// status | data1 << 8 | data2 << 16
uint32_t PackMidi(int32_t status, int32_t data1, int32_t data2);

class TMidiPort;
// The "Channel" pin "CHN", 0..15.
void AddMidiChannelPin(TMidiPort& port);
// The name and the pins of the system-message port of k (status 0xF0 + k) of one direction.
void BuildSystemMessagePort(TMidiPort& port, uint8_t k, bool send);

class TMidiPort : public TIOPort {
public:
    TV_CLASS_NAME(TMidiPort)
    TMidiPort();

    static constexpr size_t kQueueLimit = 1024;

    bool ChannelFilter = false;
    bool ValueFilter = false;
    TMidiHandle MidiHandle = 0; // the output the device opened (send ports)
    bool ClockEdge = false;     // the clock input fell in this step
    bool LastClockLevel = true;
    uint8_t HoldCounter = 0;

    // Called on the MIDI system's thread: queues the message when the port takes it.
    virtual void OfferMessage(uint32_t message) { (void)message; }
    // Puts a queued message onto the pins.
    virtual void ApplyMessage(uint32_t message) { (void)message; }
    virtual void SetChannelFilter(bool on) { ChannelFilter = on; }
    virtual void SetValueFilter(bool on) { ValueFilter = on; }

    // The clock part every port's step starts with.
    void MachEsJetzt() override;
    void SimStart() override;

    size_t QueuedCount() const;
    // Messages dropped because the queue was full, since run start.
    uint64_t DroppedCount() const;

protected:
    void Enqueue(uint32_t message);
    // Sends on the device's output; nothing without one.
    void Send(uint32_t message) const;

private:
    std::optional<uint32_t> TakeMessage();

    mutable std::mutex m_queueLock;
    std::deque<uint32_t> m_queue;
    uint64_t m_dropped = 0;
};
