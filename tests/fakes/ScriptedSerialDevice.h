#pragma once
// A serial device for driver tests, played on the far side of a pseudo terminal: the program
// opens its COM port as it always does, and the device follows a script of the requests it
// expects and the answers it gives, each answer due a number of milliseconds after its request
// (on the program's clock, so a test with a fake clock decides when an answer arrives). The
// line settings the program applies are recorded, and the modem lines (which a pty does not
// have) are faked through the serial line's interface. A driver test then reads
//
//     meter.Expect(Bytes("D\r")).Answer(Bytes("DC 1.234 V\r"), 20);
//
// Everything runs in the test's thread: after the program writes, the device takes exactly
// those bytes off the pty; before the program looks at its receive queue, the device sends what
// is due and waits until it has arrived.

#include "platform/Clock.h"
#include "platform/SerialLine.h"

#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

inline std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

class TScriptedSerialDevice {
public:
    TScriptedSerialDevice()
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
            ADD_FAILURE() << "no pseudo terminal";
            return;
        }
        termios raw{};
        tcgetattr(m_master, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_master, TCSANOW, &raw);
        fcntl(m_master, F_SETFL, O_NONBLOCK);
        Node = QString::fromLatin1(ptsname(m_master));
        // Held open so that the program closing its end is no hang-up for the device.
        m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~TScriptedSerialDevice()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    TScriptedSerialDevice(const TScriptedSerialDevice&) = delete;
    TScriptedSerialDevice& operator=(const TScriptedSerialDevice&) = delete;

    QString Node; // the pty's device node

    // --- The script ---
    // The next request the device expects.
    TScriptedSerialDevice& Expect(std::vector<uint8_t> request)
    {
        m_script.push_back(TExchange{std::move(request), {}});
        return *this;
    }
    // A piece of the answer to the last expected request, due delayMs after that request came.
    // Several pieces make an answer that arrives in parts; none, a device that stays silent.
    TScriptedSerialDevice& Answer(std::vector<uint8_t> bytes, int32_t delayMs = 0)
    {
        if (m_script.empty())
            ADD_FAILURE() << "an answer without a request";
        else
            m_script.back().answers.push_back(TPiece{std::move(bytes), delayMs, 0});
        return *this;
    }
    // Bytes the device sends of its own accord, delayMs from now.
    void Send(std::vector<uint8_t> bytes, int32_t delayMs = 0)
    {
        m_due.push_back(TPiece{std::move(bytes), delayMs, Clock().TickCount() + uint32_t(delayMs)});
    }
    // The device goes away (a USB adapter pulled): the pty closes, the program's end hangs up.
    void HangUp()
    {
        for (int* fd : {&m_slave, &m_master})
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
    }
    // True when every expected request came and every answer went out.
    bool ScriptDone() const { return m_script.empty() && m_due.empty(); }

    // --- What happened ---
    std::vector<uint8_t> Received;                 // every byte the program wrote
    std::vector<std::vector<uint8_t>> Unexpected;  // writes that matched no expected request
    std::vector<TSerialFrame> Frames;              // the line settings, as applied
    std::vector<std::string> ModemCalls;           // "SETDTR", "CLRRTS", "SETBREAK" ...
    uint32_t ModemStatus = 0;                      // kModem* bits the program reads

    // --- Called by the program's line (TScriptedSerialPorts) ---
    // The program wrote count bytes: take them off the pty and match them against the script.
    void Took(int64_t count)
    {
        if (m_master < 0)
            return;
        std::vector<uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (int64_t(got.size()) < count && std::chrono::steady_clock::now() < end) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            uint8_t buffer[4096];
            const ssize_t n = ::read(m_master, buffer, size_t(std::min<int64_t>(count - int64_t(got.size()), 4096)));
            if (n > 0)
                got.insert(got.end(), buffer, buffer + n);
        }
        if (int64_t(got.size()) < count)
            ADD_FAILURE() << "the written bytes did not arrive at the device";
        Received.insert(Received.end(), got.begin(), got.end());
        m_pending.insert(m_pending.end(), got.begin(), got.end());
        Match();
    }
    // The program is about to look at its receive queue (fd): send what is due and wait until
    // it is there.
    void Deliver(int fd)
    {
        if (m_master < 0)
            return;
        const uint32_t now = Clock().TickCount();
        std::vector<uint8_t> out;
        for (auto it = m_due.begin(); it != m_due.end();) {
            if (int32_t(now - it->due) >= 0) {
                out.insert(out.end(), it->bytes.begin(), it->bytes.end());
                it = m_due.erase(it);
            } else {
                ++it;
            }
        }
        if (out.empty())
            return;
        const int before = Waiting(fd);
        if (::write(m_master, out.data(), out.size()) != ssize_t(out.size()))
            ADD_FAILURE() << "the device could not send";
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Waiting(fd) < before + int(out.size()) && std::chrono::steady_clock::now() < end)
            ::usleep(200);
    }

private:
    struct TPiece {
        std::vector<uint8_t> bytes;
        int32_t delayMs;
        uint32_t due;
    };
    struct TExchange {
        std::vector<uint8_t> request;
        std::vector<TPiece> answers;
    };

    static int Waiting(int fd)
    {
        int n = 0;
        return ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
    }
    // Complete requests at the front of what came are answered; anything else is unexpected.
    void Match()
    {
        while (!m_pending.empty()) {
            if (m_script.empty()) {
                Unexpected.push_back(m_pending);
                m_pending.clear();
                return;
            }
            const std::vector<uint8_t>& request = m_script.front().request;
            const size_t n = std::min(request.size(), m_pending.size());
            if (!std::equal(m_pending.begin(), m_pending.begin() + long(n), request.begin())) {
                Unexpected.push_back(m_pending);
                m_pending.clear();
                return;
            }
            if (m_pending.size() < request.size())
                return; // the rest of the request is still to come
            m_pending.erase(m_pending.begin(), m_pending.begin() + long(request.size()));
            const uint32_t now = Clock().TickCount();
            for (TPiece& piece : m_script.front().answers) {
                piece.due = now + uint32_t(piece.delayMs);
                m_due.push_back(std::move(piece));
            }
            m_script.pop_front();
        }
    }

    int m_master = -1;
    int m_slave = -1;
    std::deque<TExchange> m_script;
    std::vector<uint8_t> m_pending;
    std::vector<TPiece> m_due;
};

// Puts scripted devices behind COM numbers for its lifetime: every serial line the program
// opens is made here, and one opened for an attached number is that device's pty, with its
// settings recorded and its modem lines faked. Other numbers do not open (no real port is
// touched).
class TScriptedSerialPorts {
public:
    TScriptedSerialPorts()
    {
        SetSerialLineMaker([this] { return std::make_unique<TLine>(*this); });
    }
    ~TScriptedSerialPorts() { SetSerialLineMaker(nullptr); }
    TScriptedSerialPorts(const TScriptedSerialPorts&) = delete;
    TScriptedSerialPorts& operator=(const TScriptedSerialPorts&) = delete;

    void Attach(int32_t com, TScriptedSerialDevice& device) { m_devices[ComDeviceNode(com)] = &device; }

private:
    class TLine : public TTermiosSerialLine {
    public:
        explicit TLine(TScriptedSerialPorts& ports) : m_ports(ports) {}
        int32_t Open(const QString& node) override
        {
            const auto it = m_ports.m_devices.find(node);
            if (it == m_ports.m_devices.end())
                return ENOENT;
            m_device = it->second;
            return TTermiosSerialLine::Open(m_device->Node);
        }
        int32_t ApplyFrame(const TSerialFrame& frame) override
        {
            if (m_device)
                m_device->Frames.push_back(frame);
            return TTermiosSerialLine::ApplyFrame(frame);
        }
        int64_t Write(const uint8_t* data, int64_t count, int32_t timeoutMs) override
        {
            const int64_t written = TTermiosSerialLine::Write(data, count, timeoutMs);
            if (m_device && written > 0)
                m_device->Took(written);
            return written;
        }
        int64_t Read(uint8_t* data, int64_t count) override
        {
            if (m_device)
                m_device->Deliver(Descriptor());
            return TTermiosSerialLine::Read(data, count);
        }
        int32_t InQueue() override
        {
            if (m_device)
                m_device->Deliver(Descriptor());
            return TTermiosSerialLine::InQueue();
        }
        int32_t SetModemLine(TModemLine line, bool on) override
        {
            if (m_device)
                m_device->ModemCalls.push_back(std::string(on ? "SET" : "CLR")
                                               + (line == TModemLine::Dtr ? "DTR" : "RTS"));
            return 0;
        }
        int32_t SetBreak(bool on) override
        {
            if (m_device)
                m_device->ModemCalls.push_back(on ? "SETBREAK" : "CLRBREAK");
            return 0;
        }
        int32_t GetModemStatus(uint32_t& status) override
        {
            status = m_device ? m_device->ModemStatus : 0;
            return 0;
        }

    private:
        TScriptedSerialPorts& m_ports;
        TScriptedSerialDevice* m_device = nullptr;
    };

    std::map<QString, TScriptedSerialDevice*> m_devices;
};
