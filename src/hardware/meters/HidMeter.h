#pragma once
// A meter on a USB-HID cable. The cable is set up by a feature report at run start; then every
// 200 ms (on the program's clock) the meter sends its request, where it has one, and reads the
// input reports that have arrived, takes the meter's serial bytes out of them, cuts frames and
// decodes them. A meter that sends no frame for 20 ticks (30 on the count-byte cables) reads
// as not receiving and its values go to 0. A cable pulled during the run is told once; the
// meter then reads as not receiving. Everything runs in the GUI thread.

#include "hardware/meters/MeterChannels.h"
#include "hardware/meters/frames/HidCableFrames.h"
#include "platform/HidAccess.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// How a HID meter type talks: the cable, its set-up report, the decoder and the channels.
struct THidMeterKind {
    enum class TCable : uint8_t {
        None,       // reads nothing
        StatusByte, // 9-byte reports with a status byte; a CR ends a frame (VC 920/940/960)
        CountByte,  // count-byte reports; CR LF ends a line
        Metex,      // the M-3890D's own request and two-report frames
    };
    TCable Cable = TCable::None;
    std::vector<unsigned char> Setup;  // feature report sent at run start; empty: none
    int Channels = 1;
    int OverrangeChannel = 0;          // the channel named "Overrange"/"OL", 0 for none
    int SilenceTicks = 20;             // ticks without a frame before the values go to 0
    std::function<size_t(unsigned char)> Count; // count-byte cables: serial bytes announced
    std::function<bool(size_t)> Accept;         // count-byte cables: the line lengths decoded
    std::function<std::optional<TMeterReading>(std::string_view)> Decode;
};

// The kind of the HID meter types built here (0 M-3890D, 1 VC 920/940/960, 4 UT803, 5 VC 830,
// 6 VC 850, 7 VC 870); any other type reads nothing.
THidMeterKind HidMeterKind(int type);

class THidMeter : public QObject, public TMultimeter {
public:
    static constexpr int64_t TickMs = 200;

    explicit THidMeter(THidMeterKind kind);
    ~THidMeter() override;

    // The open cable, or nullptr.
    void SetDevice(std::shared_ptr<IHidDevice> device);
    // Run start: values to 0, the cable set up, the first request; the reports of the first
    // 200 ms are dropped. Run end: the polling stops.
    void Start();
    void Stop();
    // Runs a due tick (the polling timer calls it).
    void Poll();

    bool Receiving() const override { return m_receiving; }
    // Called once when the cable goes away during a run.
    std::function<void()> OnLost;

private:
    static int64_t NowMs();
    void Tick();
    void SendRequest();
    void ReadReports();
    void Report(const uint8_t* data, size_t size);
    void Frame(std::string_view frame);
    void Lost();

    THidMeterKind m_kind;
    std::shared_ptr<IHidDevice> m_device;
    TStatusByteCable m_statusCable;
    TVC9x0CableFrames m_vc9x0Frames;
    std::unique_ptr<TCountByteCable> m_countCable;
    std::string m_metexFrame;
    int m_silence = 0;
    bool m_receiving = false;
    bool m_flushDue = false;
    bool m_running = false;
    int64_t m_nextTick = 0;
    QTimer m_poll;
};
