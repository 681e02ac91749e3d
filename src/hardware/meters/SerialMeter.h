#pragma once
// A meter on a COM port: its own serial port object (a meter holds its port alone), the frame
// window and watchdog, one frame decoder, and the channels it fills. Everything runs in the
// GUI thread: a 10-ms timer takes the bytes that have arrived and ends due frame windows, so
// the values the step reads are never written by another thread.

#include "hardware/meters/FrameTiming.h"
#include "hardware/meters/MeterChannels.h"
#include "hardware/transport/ComPort.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

// How a meter type talks: line settings, request, decoder and channels.
struct TSerialMeterKind {
    TBaudRate Baud = TBaudRate::Baud9600;
    TDataBits Databits = TDataBits::_8;
    TParity Parity = TParity::None;
    QByteArray Request;       // sent after each frame and to a silent meter; empty: it streams
    int Channels = 1;
    int OverrangeChannel = 0; // the channel named "Overrange"/"OL", 0 for none
    std::function<std::optional<TMeterReading>(std::string_view)> Decode;
};

// The kind of the meter types built here (21 VC 9x0, 27 UT803, 28 UT70D, 29 UT70B, 30 VC 870,
// 31 VC 830/850); any other type asks "D" and reads nothing.
TSerialMeterKind SerialMeterKind(int type);

class TSerialMeter : public QObject, public TMultimeter {
public:
    explicit TSerialMeter(TSerialMeterKind kind);
    ~TSerialMeter() override;

    // Opens the port on that COM number (0 closes it) and sends the first request. The port
    // stays closed, without an exception, when it cannot be opened (Port().LastError()).
    void SetComPort(int32_t number);
    int32_t ComPort() const { return m_comPort; }
    // Run start and end: the watchdog and the polling timer.
    void Start();
    void Stop();
    // Takes what arrived and runs the frame window and watchdog (the timer calls it).
    void Poll();

    bool Receiving() const override { return m_timing.Receiving(); }
    TCate& Port() { return *m_port; }

private:
    void SendRequest();

    TSerialMeterKind m_kind;
    std::unique_ptr<TCate> m_port;
    TSerialFrameTiming m_timing;
    QTimer m_poll;
    int32_t m_comPort = 0;
};
