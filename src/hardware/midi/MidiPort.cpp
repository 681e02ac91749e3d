#include "hardware/midi/MidiPort.h"

#include <cmath>

int32_t MidiNumber(Extended value, int32_t upper)
{
    if (!(value >= 0))
        return 0;
    if (value > upper)
        return upper;
    return int32_t(std::nearbyint(double(value)));
}

uint32_t PackMidi(int32_t status, int32_t data1, int32_t data2)
{
    return uint32_t(status & 0xFF) | uint32_t(data1 & 0x7F) << 8 | uint32_t(data2 & 0x7F) << 16;
}

void AddMidiChannelPin(TMidiPort& port)
{
    port.AddPin(QStringLiteral("Channel"), QStringLiteral("CHN"), 0.0L, 15.0L, false);
}

void BuildSystemMessagePort(TMidiPort& port, uint8_t k, bool send)
{
    const char* what = "Tune Request";
    switch (k) {
    case 2: what = "Song Position"; break;
    case 3: what = "Song Select"; break;
    case 8: what = "Timing Clock"; break;
    case 10: what = "Start"; break;
    case 11: what = "Continue"; break;
    case 12: what = "Stop"; break;
    case 14: what = "Active Sensing"; break;
    case 15: what = "System Reset"; break;
    default: break;
    }
    port.ClearPins();
    port.Name = (send ? QStringLiteral("Send ") : QStringLiteral("Receive ")) + QLatin1String(what);
    if (k == 2)
        port.AddPin(send ? QStringLiteral("Position") : QStringLiteral("Song Position"),
                    QStringLiteral("POS"), 0.0L, 0.0L, false);
    else if (k == 3)
        port.AddPin(QStringLiteral("Song"), QStringLiteral("SONG"), 0.0L, 0.0L, false);
    port.AddPin(QStringLiteral("Clock"), QStringLiteral("|CLK"), 0.0L, 0.0L, false);
    port.SetInput(!send);
}

TMidiPort::TMidiPort()
{
    Name = QStringLiteral("MIDI");
    SetInput(false);
}

void TMidiPort::MachEsJetzt()
{
    ClockEdge = false;
    if (Pins.empty())
        return;
    TPin& clock = *Pins.back();
    if (clock.IsOutput) {
        const bool level = GetPinValue(clock) > 2.5L;
        if (level != LastClockLevel) {
            LastClockLevel = level;
            ClockEdge = !level;
        }
        return;
    }
    if (HoldCounter > 0) {
        --HoldCounter;
        return;
    }
    if (GetPinDigital(clock)) {
        if (const std::optional<uint32_t> message = TakeMessage()) {
            ApplyMessage(*message);
            SetPinValue(clock, 0.0L);
            HoldCounter = 5;
        }
    } else {
        SetPinValue(clock, 5.0L);
        HoldCounter = 5;
    }
}

void TMidiPort::SimStart()
{
    LastClockLevel = true;
    HoldCounter = 0;
    {
        std::lock_guard lock(m_queueLock);
        m_queue.clear();
        m_dropped = 0;
    }
    TIOPort::SimStart();
}

size_t TMidiPort::QueuedCount() const
{
    std::lock_guard lock(m_queueLock);
    return m_queue.size();
}

uint64_t TMidiPort::DroppedCount() const
{
    std::lock_guard lock(m_queueLock);
    return m_dropped;
}

void TMidiPort::Enqueue(uint32_t message)
{
    std::lock_guard lock(m_queueLock);
    if (m_queue.size() >= kQueueLimit) {
        ++m_dropped;
        return;
    }
    m_queue.push_back(message);
}

void TMidiPort::Send(uint32_t message) const
{
    if (MidiHandle != 0)
        MidiSystem().Send(MidiHandle, message);
}

std::optional<uint32_t> TMidiPort::TakeMessage()
{
    std::lock_guard lock(m_queueLock);
    if (m_queue.empty())
        return std::nullopt;
    const uint32_t message = m_queue.front();
    m_queue.pop_front();
    return message;
}
