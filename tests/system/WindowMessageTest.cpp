#include "components/ComponentTestSupport.h"
#include "components/system/RegisterSystem.h"
#include "components/system/WindowMessage.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using TWindowMessageTest = TComponentTest<RegisterSystemComponents, true>;

// The signal generator's side: a datagram socket bound where the component sends.
class TListener {
public:
    explicit TListener(const QString& folder)
    {
        SetWindowMessageFolder(folder);
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        const QByteArray path =
            QFile::encodeName(WindowMessageSocketPath(QStringLiteral("TSondrix")));
        memcpy(a.sun_path, path.constData(), size_t(path.size()));
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    }
    ~TListener()
    {
        ::close(m_fd);
        SetWindowMessageFolder(QString());
    }
    // The second parameters of the messages received so far; each must carry the command.
    std::vector<int32_t> Values(uint32_t command)
    {
        std::vector<int32_t> values;
        unsigned char d[16];
        while (::recv(m_fd, d, sizeof d, 0) == 12) {
            const auto word = [&](int at) {
                return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at + 2]) << 16
                       | uint32_t(d[at + 3]) << 24;
            };
            EXPECT_EQ(word(0), 0x0400u);
            EXPECT_EQ(word(4), command);
            values.push_back(static_cast<int32_t>(word(8)));
        }
        return values;
    }

private:
    int m_fd = -1;
};

TEST_F(TWindowMessageTest, SendsEachChangedValueRounded)
{
    QTemporaryDir dir;
    TListener listener(dir.path());
    struct Case {
        std::vector<Extended> inputs;
        std::vector<int32_t> sent;
    } cases[] = {
        {{7, 7, 7}, {7}},                          // constant: once, at the first step
        {{10, 70000, 10}, {10, 10}},               // out of range: dropped, not retried
        {{2.5L, 3.5L, -5, -2.5L}, {2, 4, -5, -2}},  // halves to even; negative as signed 32 bit
        {{65535, -65535, 65534.6L}, {65535}},      // the limits are out of range
        {{-30000, -30000, 1}, {1}},                // the reset value itself is not sent first
    };
    for (const Case& k : cases) {
        auto c = Create<TBtSendMessage>();
        c->Command = 12;
        TInputs in(*c);
        c->SimReset();
        for (Extended v : k.inputs) {
            in.Set(0, v);
            c->Calculate();
        }
        EXPECT_EQ(listener.Values(12), k.sent);
    }
}

TEST_F(TWindowMessageTest, WithoutListenerNothingHappens)
{
    QTemporaryDir dir;
    SetWindowMessageFolder(dir.path());
    auto c = Create<TBtSendMessage>();
    TInputs in(*c);
    c->SimReset();
    in.Set(0, 3);
    c->Calculate();  // no socket there: dropped without a report
    SetWindowMessageFolder(QString());
}

TEST_F(TWindowMessageTest, CommandCodeRecordListAndHint)
{
    auto c = Create<TBtSendMessage>();
    EXPECT_EQ(c->Command, 33);
    c->Command = 0xBEEF;
    const QByteArray record = Write(*c);
    EXPECT_TRUE(record.endsWith(QByteArray("\xEF\xBE", 2)));  // two raw bytes, little-endian
    auto copy = Create<TBtSendMessage>();
    ASSERT_TRUE(Read(*copy, record));
    EXPECT_EQ(copy->Command, 0xBEEF);
    EXPECT_TRUE(copy->GetHint().endsWith(QStringLiteral("\rMSG = 48879")));

    Ctx().CurrentLanguage = 0;
    EXPECT_EQ(TBtSendMessage::CommandEntry(0), QStringLiteral("0 - Freq. Links +"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(18), QStringLiteral("18 - Links  0dB"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(32), QStringLiteral("32 - dB Links=Rechts"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(33), QStringLiteral("33 - Power On/Off"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(44), QStringLiteral("44 - Phase Links/Rechts"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(45), QStringLiteral("45 - LFO Mode"));
    EXPECT_EQ(TBtSendMessage::CommandEntry(53), QStringLiteral("53 - Wave Rechts"));
}

} // namespace
