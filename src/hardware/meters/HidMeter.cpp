#include "hardware/meters/HidMeter.h"

#include "hardware/meters/frames/AnnunciatorFrames.h"
#include "hardware/meters/frames/MetexHidFrames.h"
#include "hardware/meters/frames/NibbleFrames.h"
#include "hardware/meters/frames/RangeFunctionFrames.h"
#include "platform/Clock.h"

namespace {

// At most this many reports are taken per tick, so a flooding cable cannot hold the program.
constexpr int MaxReportsPerTick = 100;

THidMeterKind CountByte(std::vector<unsigned char> setup, int channels,
                        std::function<size_t(unsigned char)> count,
                        std::function<bool(size_t)> accept,
                        decltype(THidMeterKind::Decode) decode)
{
    THidMeterKind kind;
    kind.Cable = THidMeterKind::TCable::CountByte;
    kind.Setup = std::move(setup);
    kind.Channels = channels;
    kind.OverrangeChannel = channels;
    kind.SilenceTicks = 30;
    kind.Count = std::move(count);
    kind.Accept = std::move(accept);
    kind.Decode = std::move(decode);
    return kind;
}

size_t LowNibble(unsigned char c) { return c & 0x0F; }

} // namespace

THidMeterKind HidMeterKind(int type)
{
    using C = THidMeterKind::TCable;
    switch (type) {
    case 0: { // M-3890D: three displays and overrange
        THidMeterKind kind;
        kind.Cable = C::Metex;
        kind.Channels = 4;
        kind.OverrangeChannel = 4;
        kind.Decode = DecodeMetexHid;
        return kind;
    }
    case 1: { // VC 920, VC 940, VC 960
        THidMeterKind kind;
        kind.Cable = C::StatusByte;
        kind.Setup = VC9x0CableSetup();
        kind.Decode = DecodeVC9x0;
        return kind;
    }
    case 4:
        return CountByte(UT803CableSetup(), 2, [](unsigned char c) { return size_t(c); },
                         [](size_t n) { return n == 9; }, DecodeUT803);
    case 5:
    case 6:
        return CountByte(CountCableSetup(2400, 5), 2, LowNibble,
                         [](size_t n) { return n > 10; }, DecodeVC850);
    case 7: {
        auto frames = std::make_shared<TVC870Frames>();
        return CountByte(CountCableSetup(9600, 8), 3, LowNibble, [](size_t n) { return n > 20; },
                         [frames](std::string_view frame) { return frames->Decode(frame); });
    }
    default:
        return {};
    }
}

THidMeter::THidMeter(THidMeterKind kind) : m_kind(std::move(kind))
{
    m_channels.SetCount(m_kind.Channels, false);
    if (m_kind.OverrangeChannel > 0)
        m_channels.Rename(m_kind.OverrangeChannel, QStringLiteral("Overrange"),
                          QStringLiteral("OL"));
    m_statusCable.Byte = [this](unsigned char byte) { m_vc9x0Frames.Byte(byte); };
    m_vc9x0Frames.Frame = [this](const std::string& frame) { Frame(frame); };
    if (m_kind.Cable == THidMeterKind::TCable::CountByte) {
        m_countCable = std::make_unique<TCountByteCable>(m_kind.Count, m_kind.Accept);
        m_countCable->Frame = [this](const std::string& frame) { Frame(frame); };
    }
    m_poll.setInterval(10);
    connect(&m_poll, &QTimer::timeout, this, [this] { Poll(); });
}

THidMeter::~THidMeter()
{
    m_poll.stop();
}

int64_t THidMeter::NowMs()
{
    IClock& clock = Clock();
    return clock.PerformanceCounter() / (clock.PerformanceFrequency() / 1000);
}

void THidMeter::SetDevice(std::shared_ptr<IHidDevice> device)
{
    m_device = std::move(device);
}

void THidMeter::Start()
{
    m_channels.Zero();
    m_channels.ClearDisplay();
    m_silence = 0;
    m_receiving = false;
    m_metexFrame.clear();
    m_running = true;
    if (m_device && !m_kind.Setup.empty())
        m_device->SetFeature(m_kind.Setup.data(), int32_t(m_kind.Setup.size()));
    SendRequest();
    m_flushDue = true;
    m_nextTick = NowMs() + TickMs;
    m_poll.start();
}

void THidMeter::Stop()
{
    m_poll.stop();
    m_running = false;
}

void THidMeter::Poll()
{
    const int64_t now = NowMs();
    if (!m_running || now < m_nextTick)
        return;
    // A long stall runs one tick, not a burst of them.
    m_nextTick += TickMs;
    if (m_nextTick <= now)
        m_nextTick = now + TickMs;
    if (m_flushDue) {
        // What the cable sent before it was set up is no frame of the meter.
        m_flushDue = false;
        if (m_device)
            m_device->FlushQueue();
        return;
    }
    Tick();
}

void THidMeter::Tick()
{
    SendRequest();
    ReadReports();
}

void THidMeter::SendRequest()
{
    m_receiving = m_silence > 0;
    if (m_silence > 0)
        --m_silence;
    else
        m_channels.Zero();
    if (m_kind.Cable != THidMeterKind::TCable::Metex || !m_device)
        return;
    static constexpr uint8_t request[] = {0x00, 0x41, 0x41};
    if (m_device->Write(request, int32_t(sizeof request)) < 0) {
        m_receiving = false;
        m_channels.Zero();
    }
}

void THidMeter::ReadReports()
{
    uint8_t report[65];
    for (int i = 0; i < MaxReportsPerTick && m_device; ++i) {
        const int32_t n = m_device->Read(report, int32_t(sizeof report), 0);
        if (n < 0) {
            Lost();
            return;
        }
        if (n == 0)
            return;
        Report(report, size_t(n));
    }
}

void THidMeter::Report(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    switch (m_kind.Cable) {
    case THidMeterKind::TCable::StatusByte:
        m_statusCable.Feed(bytes);
        break;
    case THidMeterKind::TCable::CountByte:
        m_countCable->Feed(bytes);
        break;
    case THidMeterKind::TCable::Metex:
        m_metexFrame.append(bytes.substr(0, 9));
        if (m_metexFrame.size() > 20)
            m_metexFrame.clear();
        if (size >= 9 && data[8] == MetexHidFrameEnd) {
            Frame(m_metexFrame);
            m_metexFrame.clear();
        }
        break;
    case THidMeterKind::TCable::None:
        break;
    }
}

void THidMeter::Frame(std::string_view frame)
{
    const auto reading = m_kind.Decode ? m_kind.Decode(frame) : std::nullopt;
    if (!reading)
        return;
    m_channels.Apply(*reading);
    m_silence = m_kind.SilenceTicks;
    m_receiving = true;
}

void THidMeter::Lost()
{
    m_device.reset();
    m_channels.Zero();
    m_receiving = false;
    m_silence = 0;
    if (OnLost)
        OnLost();
}
