#include "platform/MidiSystem.h"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The number of bytes of a short message with this status.
int MessageLength(uint8_t status)
{
    switch (status >> 4) {
    case 0x8: case 0x9: case 0xA: case 0xB: case 0xE: return 3;
    case 0xC: case 0xD: return 2;
    default: break;
    }
    if (status == 0xF2)
        return 3;
    if (status == 0xF1 || status == 0xF3)
        return 2;
    return 1;
}

struct TSeqAddress {
    int Client = 0;
    int Port = 0;
};

struct TOpened {
    int OwnPort = -1;
    TSeqAddress Device;
    IMidiSystem::TReceive Receive; // inputs only
};

class TAlsaMidiSystem : public IMidiSystem {
public:
    ~TAlsaMidiSystem() override
    {
        StopReader();
        if (m_encoder)
            snd_midi_event_free(m_encoder);
        if (m_decoder)
            snd_midi_event_free(m_decoder);
        if (m_seq)
            snd_seq_close(m_seq);
    }

    QStringList OutputNames() override { return Names(kOutputCaps); }
    QStringList InputNames() override { return Names(kInputCaps); }

    TMidiHandle OpenOutput(int32_t device) override
    {
        return Open(device, kOutputCaps, nullptr);
    }

    void CloseOutput(TMidiHandle handle) override
    {
        std::lock_guard lock(m_mutex);
        Forget(handle);
    }

    void Send(TMidiHandle output, uint32_t message) override
    {
        std::lock_guard lock(m_mutex);
        auto it = m_opened.find(output);
        if (it == m_opened.end() || !m_seq)
            return;
        const uint8_t bytes[3] = {uint8_t(message), uint8_t(message >> 8), uint8_t(message >> 16)};
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_midi_event_reset_encode(m_encoder);
        if (snd_midi_event_encode(m_encoder, bytes, MessageLength(bytes[0]), &event) <= 0 ||
            event.type == SND_SEQ_EVENT_NONE)
            return;
        snd_seq_ev_set_source(&event, it->second.OwnPort);
        snd_seq_ev_set_subs(&event);
        snd_seq_ev_set_direct(&event);
        snd_seq_event_output_direct(m_seq, &event); // non-blocking; a full queue drops it
    }

    TMidiHandle OpenInput(int32_t device, TReceive receive) override
    {
        const TMidiHandle handle = Open(device, kInputCaps, std::move(receive));
        if (handle != 0 && !m_reader.joinable()) {
            m_stop = false;
            m_reader = std::thread([this] { ReadLoop(); });
        }
        return handle;
    }

    void CloseInput(TMidiHandle handle) override
    {
        bool last = false;
        {
            std::lock_guard lock(m_mutex);
            Forget(handle);
            last = !HasInputs();
        }
        if (last)
            StopReader();
    }

    bool Connect(TMidiHandle input, TMidiHandle output) override
    {
        return Subscribe(input, output, true);
    }
    void Disconnect(TMidiHandle input, TMidiHandle output) override
    {
        Subscribe(input, output, false);
    }

private:
    static constexpr unsigned kOutputCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    static constexpr unsigned kInputCaps = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;

    // Opens the sequencer client once; false when the machine has no sequencer.
    bool OpenSequencer()
    {
        if (m_seq)
            return true;
        if (snd_seq_open(&m_seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0) {
            m_seq = nullptr;
            return false;
        }
        snd_seq_set_client_name(m_seq, "Tavrinol");
        snd_midi_event_new(64, &m_encoder);
        snd_midi_event_new(64, &m_decoder);
        snd_midi_event_no_status(m_encoder, 1);
        snd_midi_event_no_status(m_decoder, 1);
        return true;
    }

    // The ports of other clients that have all of caps, with their names, in listing order.
    std::vector<std::pair<TSeqAddress, QString>> Devices(unsigned caps)
    {
        std::vector<std::pair<TSeqAddress, QString>> devices;
        if (!OpenSequencer())
            return devices;
        snd_seq_client_info_t* client;
        snd_seq_port_info_t* port;
        snd_seq_client_info_alloca(&client);
        snd_seq_port_info_alloca(&port);
        const int self = snd_seq_client_id(m_seq);
        snd_seq_client_info_set_client(client, -1);
        while (snd_seq_query_next_client(m_seq, client) >= 0) {
            const int id = snd_seq_client_info_get_client(client);
            if (id == SND_SEQ_CLIENT_SYSTEM || id == self)
                continue;
            snd_seq_port_info_set_client(port, id);
            snd_seq_port_info_set_port(port, -1);
            while (snd_seq_query_next_port(m_seq, port) >= 0) {
                const unsigned have = snd_seq_port_info_get_capability(port);
                if ((have & caps) != caps || (have & SND_SEQ_PORT_CAP_NO_EXPORT))
                    continue;
                devices.push_back({{id, snd_seq_port_info_get_port(port)},
                                   QString::fromLocal8Bit(snd_seq_port_info_get_name(port))});
            }
        }
        return devices;
    }

    QStringList Names(unsigned caps)
    {
        std::lock_guard lock(m_mutex);
        QStringList names;
        for (const auto& device : Devices(caps))
            names << device.second;
        return names;
    }

    TMidiHandle Open(int32_t device, unsigned caps, TReceive receive)
    {
        std::lock_guard lock(m_mutex);
        const auto devices = Devices(caps);
        if (device < 0 || size_t(device) >= devices.size())
            return 0;
        const TSeqAddress address = devices[size_t(device)].first;
        const bool input = bool(receive);
        const int own = snd_seq_create_simple_port(
            m_seq, input ? "Tavrinol in" : "Tavrinol out",
            input ? SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE
                  : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
            SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
        if (own < 0)
            return 0;
        const int linked = input ? snd_seq_connect_from(m_seq, own, address.Client, address.Port)
                                 : snd_seq_connect_to(m_seq, own, address.Client, address.Port);
        if (linked < 0) {
            snd_seq_delete_simple_port(m_seq, own);
            return 0;
        }
        const TMidiHandle handle = ++m_lastHandle;
        m_opened[handle] = TOpened{own, address, std::move(receive)};
        return handle;
    }

    void Forget(TMidiHandle handle)
    {
        auto it = m_opened.find(handle);
        if (it == m_opened.end())
            return;
        snd_seq_delete_simple_port(m_seq, it->second.OwnPort);
        m_opened.erase(it);
    }

    bool HasInputs() const
    {
        for (const auto& [handle, opened] : m_opened)
            if (opened.Receive)
                return true;
        return false;
    }

    bool Subscribe(TMidiHandle input, TMidiHandle output, bool on)
    {
        std::lock_guard lock(m_mutex);
        auto in = m_opened.find(input);
        auto out = m_opened.find(output);
        if (in == m_opened.end() || out == m_opened.end())
            return false;
        snd_seq_addr_t sender{uint8_t(in->second.Device.Client), uint8_t(in->second.Device.Port)};
        snd_seq_addr_t dest{uint8_t(out->second.Device.Client), uint8_t(out->second.Device.Port)};
        snd_seq_port_subscribe_t* subscription;
        snd_seq_port_subscribe_alloca(&subscription);
        snd_seq_port_subscribe_set_sender(subscription, &sender);
        snd_seq_port_subscribe_set_dest(subscription, &dest);
        return (on ? snd_seq_subscribe_port(m_seq, subscription)
                   : snd_seq_unsubscribe_port(m_seq, subscription)) >= 0;
    }

    // The system's thread: waits for events, packs the short ones and hands them on outside
    // the lock, so that a receiver may open and close devices.
    void ReadLoop()
    {
        std::vector<pollfd> fds;
        while (!m_stop) {
            {
                std::lock_guard lock(m_mutex);
                fds.resize(size_t(snd_seq_poll_descriptors_count(m_seq, POLLIN)));
                snd_seq_poll_descriptors(m_seq, fds.data(), unsigned(fds.size()), POLLIN);
            }
            poll(fds.data(), nfds_t(fds.size()), 100);
            std::vector<std::pair<TReceive, uint32_t>> received;
            {
                std::lock_guard lock(m_mutex);
                snd_seq_event_t* event = nullptr;
                while (snd_seq_event_input(m_seq, &event) >= 0 && event) {
                    unsigned char bytes[16];
                    snd_midi_event_reset_decode(m_decoder);
                    const long length = snd_midi_event_decode(m_decoder, bytes, sizeof bytes, event);
                    if (length < 1 || length > 3)
                        continue;
                    uint32_t message = 0;
                    for (long i = 0; i < length; ++i)
                        message |= uint32_t(bytes[i]) << (8 * i);
                    for (const auto& [handle, opened] : m_opened)
                        if (opened.Receive && opened.OwnPort == event->dest.port)
                            received.push_back({opened.Receive, message});
                }
            }
            for (const auto& [receive, message] : received)
                receive(message);
        }
    }

    void StopReader()
    {
        m_stop = true;
        if (m_reader.joinable() && m_reader.get_id() != std::this_thread::get_id())
            m_reader.join();
    }

    std::mutex m_mutex;
    snd_seq_t* m_seq = nullptr;
    snd_midi_event_t* m_encoder = nullptr;
    snd_midi_event_t* m_decoder = nullptr;
    std::map<TMidiHandle, TOpened> m_opened;
    TMidiHandle m_lastHandle = 0;
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
};

IMidiSystem* g_installed = nullptr;

} // namespace

IMidiSystem& MidiSystem()
{
    static TAlsaMidiSystem alsa;
    return g_installed ? *g_installed : alsa;
}

void SetMidiSystem(IMidiSystem* system)
{
    g_installed = system;
}
