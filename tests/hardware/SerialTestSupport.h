#pragma once
// Pseudo-terminal peers for the serial tests: COM numbers mapped to the device side of a pty
// pair through the program's port table, a scripted device on the other side, and a line whose
// modem lines are recorded (a pty has none).

#include "hardware/HardwareTestSupport.h"
#include "hardware/transport/SerialInterface.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/SerialLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

// The device end of a pty pair: what the program writes arrives here, and what the test sends
// from here arrives at the program's port.
class TPtyPeer {
public:
    TPtyPeer()
    {
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
            ADD_FAILURE() << "openpty failed";
        Node = QString::fromLocal8Bit(name);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~TPtyPeer() { Vanish(); }

    QString Node;

    void Send(const std::string& bytes) { Send(std::vector<uint8_t>(bytes.begin(), bytes.end())); }
    void Send(const std::vector<uint8_t>& bytes)
    {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // As much of bytes as the pty takes now, without waiting; the count written (0 when full).
    size_t SendSome(const std::vector<uint8_t>& bytes)
    {
        const ssize_t n = ::write(m_master, bytes.data(), bytes.size());
        return n > 0 ? size_t(n) : 0;
    }
    // Everything the program wrote, collected until count bytes came or 5 s passed.
    std::vector<uint8_t> Receive(size_t count)
    {
        std::vector<uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            uint8_t buffer[4096];
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0)
                got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }
    // What the program wrote and is already there (nothing more is awaited).
    std::vector<uint8_t> Pending()
    {
        std::vector<uint8_t> got;
        uint8_t buffer[4096];
        ssize_t n;
        while ((n = ::read(m_master, buffer, sizeof buffer)) > 0)
            got.insert(got.end(), buffer, buffer + n);
        return got;
    }
    int SlaveDescriptor() const { return m_slave; }
    // The device goes away (a USB adapter pulled).
    void Vanish()
    {
        if (m_master >= 0)
            ::close(m_master);
        if (m_slave >= 0)
            ::close(m_slave);
        m_master = m_slave = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
};

// A termios line whose frames, modem lines and break are recorded and whose status a test sets.
class TRecordingLine : public TTermiosSerialLine {
public:
    struct TLog {
        std::vector<std::string> Calls;
        uint32_t Status = 0;
        std::vector<TSerialFrame> Frames; // every frame applied
    };
    explicit TRecordingLine(TLog& log) : m_log(log) {}
    int32_t ApplyFrame(const TSerialFrame& frame) override
    {
        m_log.Frames.push_back(frame);
        return TTermiosSerialLine::ApplyFrame(frame);
    }
    int32_t SetModemLine(TModemLine line, bool on) override
    {
        m_log.Calls.push_back(std::string(on ? "SET" : "CLR")
                              + (line == TModemLine::Dtr ? "DTR" : "RTS"));
        return 0;
    }
    int32_t SetBreak(bool on) override
    {
        m_log.Calls.push_back(on ? "SETBREAK" : "CLRBREAK");
        return 0;
    }
    int32_t GetModemStatus(uint32_t& status) override
    {
        status = m_log.Status;
        return 0;
    }

private:
    TLog& m_log;
};

// Waits until the port holds count bytes (the pty hands them on asynchronously).
template <class TQueue>
bool WaitForQueue(TQueue&& inQueue, int32_t count)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (inQueue() < count) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QThread::usleep(500);
    }
    return true;
}

class SerialFixture : public HardwareFixture {
protected:
    void SetUp() override
    {
        HardwareFixture::SetUp();
        FreeComTable();
        Ctx().ProgramFolder = folder.path() + QLatin1Char('/');
        QDir().mkpath(folder.path() + QStringLiteral("/Settings"));
        TCate::LostReporter() = [this](const QString& text) { lost.push_back(text); };
    }
    void TearDown() override
    {
        FreeComTable();
        TCate::LostReporter() = nullptr;
        SetSerialLineMaker(nullptr);
        HardwareFixture::TearDown();
    }
    // COM n is the program's end of the peer.
    void MapCom(int n, const QString& node)
    {
        TIniFile table(ProgramPath(QStringLiteral("Settings\\COMPORTS.INI")));
        table.WriteString(QStringLiteral("Ports"), QStringLiteral("COM") + QString::number(n), node);
        table.UpdateFile();
    }
    // Every line the program opens records its modem lines in log.
    void RecordModemLines()
    {
        SetSerialLineMaker([this] { return std::make_unique<TRecordingLine>(log); });
    }

    QTemporaryDir folder;
    TScopedMessageResponder messages;
    std::vector<QString> lost;
    TRecordingLine::TLog log;
};
