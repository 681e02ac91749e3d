// Sound output and audio input on devices of the test's own: plays on falling edges, the
// recorded signal path through the four buffers on a generated recording, and a missing
// device reported once while the run goes on.
#include "ComponentTestSupport.h"
#include "components/signal/AudioDevices.h"
#include "components/signal/AudioInput.h"
#include "components/signal/RegisterSignalBlocks.h"
#include "components/signal/Sound.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <cstring>

namespace {

// A recording that hands out what the test appended to it.
struct TFakeRecording {
    QByteArray pending;
    int opens = 0;
    int closes = 0;
    bool running = false;
};

class TFakeCapture : public TAudioCapture {
public:
    explicit TFakeCapture(TFakeRecording& r) : m_r(r) { ++m_r.opens; }
    ~TFakeCapture() override { ++m_r.closes; }
    void Start() override { m_r.running = true; }
    void Stop() override { m_r.running = false; }
    int64_t Read(char* data, int64_t maxBytes) override
    {
        if (!m_r.running)
            return 0;
        const int64_t n = std::min<int64_t>(maxBytes, m_r.pending.size());
        std::memcpy(data, m_r.pending.constData(), size_t(n));
        m_r.pending.remove(0, n);
        return n;
    }

private:
    TFakeRecording& m_r;
};

class TFakeAudio : public TAudioSystem {
public:
    QStringList inputs{"Line in"};
    bool openFails = false;
    bool output = true;
    TFakeRecording recording;
    QStringList played;

    QStringList InputDevices() override { return inputs; }
    std::unique_ptr<TAudioCapture> OpenInput(int index, QString& error) override
    {
        if (openFails || index < 0 || index >= inputs.size()) {
            error = QStringLiteral("busy");
            return nullptr;
        }
        return std::make_unique<TFakeCapture>(recording);
    }
    bool HasOutputDevice() override { return output; }
    std::unique_ptr<TSoundPlayer> CreatePlayer() override
    {
        struct TPlayer : TSoundPlayer {
            QStringList& log;
            explicit TPlayer(QStringList& l) : log(l) {}
            void Play(const QString& name) override { log << name; }
        };
        return std::make_unique<TPlayer>(played);
    }
};

class AudioTest : public TTimedComponentTest<RegisterSignalBlocks, true> {
protected:
    void SetUp() override
    {
        TTimedComponentTest::SetUp();
        SetAudioSystem(&audio);
        ResetAudioReports();
    }
    void TearDown() override
    {
        SetAudioSystem(nullptr);
        ResetAudioReports();
        TTimedComponentTest::TearDown();
    }
    // n frames whose left and right samples come from the functions of the frame number.
    template <class L, class R>
    static QByteArray Frames(int n, L left, R right)
    {
        QByteArray data;
        for (int i = 0; i < n; ++i) {
            const int16_t s[2] = {int16_t(left(i)), int16_t(right(i))};
            data.append(reinterpret_cast<const char*>(s), sizeof s);
        }
        return data;
    }
    static double Right(const TIOBauteil& c) { return double(c.Outputs[0]->Value); }
    static double Left(const TIOBauteil& c) { return double(c.Outputs[1]->Value); }

    TFakeAudio audio;
    TScopedMessageResponder messages;
};

constexpr int kFrames = TBTAudioTrigger::FramesPerBuffer;

TEST_F(AudioTest, RecordedBuffersReachTheOutputsOneAfterTheOther)
{
    auto a = Create<TBTAudioTrigger>();
    a->DeviceIndex = 1;
    a->SimPrepare();
    ASSERT_TRUE(a->AudioInput.Opened());
    // Two quarter seconds: a ramp on the left with full scale on the right, then the most
    // negative sample on the left.
    audio.recording.pending = Frames(kFrames, [](int i) { return i; }, [](int) { return 32767; })
                              + Frames(kFrames, [](int) { return -32768; },
                                       [](int i) { return i % 100; });
    a->Calculate();
    EXPECT_EQ(Left(*a), 0.0);
    EXPECT_DOUBLE_EQ(Right(*a), 100.0);

    StepAfter(*a, 100 * kMs); // 4410 frames into the first buffer
    EXPECT_DOUBLE_EQ(Left(*a), 4410.0 / 32767.0 * 100.0);

    StepAfter(*a, 200 * kMs); // over: the next completed buffer plays from its frame 0
    EXPECT_NEAR(Left(*a), -100.003, 1e-3);
    EXPECT_EQ(Right(*a), 0.0);
    EXPECT_EQ(a->CurrentBuffer, 1);
    EXPECT_FALSE(a->Buffers[0].Prepared); // released; queued again by the next step

    StepAfter(*a, 10 * kMs);
    EXPECT_DOUBLE_EQ(Right(*a), 41.0 / 32767.0 * 100.0); // frame 441
    EXPECT_TRUE(a->Buffers[0].Prepared);
    // No completed buffer after this one: the last samples stay.
    StepAfter(*a, 300 * kMs);
    EXPECT_NEAR(Left(*a), -100.003, 1e-3);
    EXPECT_DOUBLE_EQ(Right(*a), 41.0 / 32767.0 * 100.0);
    EXPECT_TRUE(messages.Requests().empty());
}

TEST_F(AudioTest, StopAndStartReopenTheDevice)
{
    auto a = Create<TBTAudioTrigger>();
    a->DeviceIndex = 1;
    for (int run = 1; run <= 2; ++run) {
        a->SimPrepare();
        EXPECT_TRUE(audio.recording.running);
        for (const TWaveBuffer& b : a->Buffers)
            EXPECT_TRUE(b.Prepared && !b.Done);
        a->Calculate();
        a->SimEnd();
        EXPECT_FALSE(a->AudioInput.Opened());
        EXPECT_EQ(audio.recording.opens, run);
        EXPECT_EQ(audio.recording.closes, run);
    }
}

TEST_F(AudioTest, NoDeviceChosenOpensNothing)
{
    auto a = Create<TBTAudioTrigger>();
    a->SimPrepare();
    for (int i = 0; i < 20; ++i)
        StepAfter(*a, 50 * kMs);
    a->SimEnd();
    EXPECT_EQ(audio.recording.opens, 0);
    EXPECT_EQ(Left(*a), 0.0);
    EXPECT_EQ(Right(*a), 0.0);
    EXPECT_TRUE(messages.Requests().empty());
}

// A stored device that is not there, or one that cannot be opened, is reported once in the
// user's language; the runs go on without sound.
TEST_F(AudioTest, MissingDeviceIsReportedOnceAndTheRunGoesOn)
{
    Ctx().CurrentLanguage = 1;
    auto a = Create<TBTAudioTrigger>();
    a->DeviceIndex = 3;
    audio.inputs = {};
    for (int run = 0; run < 2; ++run) {
        a->SimPrepare();
        for (int i = 0; i < 10; ++i)
            StepAfter(*a, 100 * kMs);
        a->SimEnd();
    }
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith("The recording device cannot be opened"));
    EXPECT_EQ(Left(*a), 0.0);

    ResetAudioReports();
    messages.Clear();
    audio.inputs = {"Line in"};
    audio.openFails = true;
    a->DeviceIndex = 1;
    a->SimPrepare();
    a->Calculate();
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.endsWith("\nbusy"));
}

TEST_F(AudioTest, DeviceDialogListsNoDeviceFirst)
{
    audio.inputs = {"Mic", "Line in"};
    for (int language = 0; language < 3; ++language) {
        Ctx().CurrentLanguage = uint8_t(language);
        auto a = Create<TBTAudioTrigger>();
        TScopedDialogResponder responder;
        QStringList items;
        responder.Answer([&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), a->GetTypeName());
            auto* combo = Row<TComboPropEditor>(d, 0);
            if (!combo)
                return int(mrCancel);
            for (int i = 0; i < combo->Combo->count(); ++i)
                items << combo->Combo->itemText(i);
            combo->Combo->setCurrentIndex(2);
            return int(mrOk);
        });
        EXPECT_EQ(a->EditProperties(), mrOk);
        const char* none[] = {"KEIN", "NONE", "AUCUN"};
        EXPECT_EQ(items, (QStringList{none[language], "Mic", "Line in"}));
        EXPECT_EQ(a->DeviceIndex, 2);
        auto back = Create<TBTAudioTrigger>();
        ASSERT_TRUE(Read(*back, Write(*a)));
        EXPECT_EQ(back->DeviceIndex, 2);
    }
}

TEST_F(AudioTest, SoundPlaysOncePerFallingEdge)
{
    auto s = Create<TBTSound>();
    s->FileName = QStringLiteral("/data/bell.wav");
    s->SimReset();
    TInputs in(*s);
    const double levels[] = {0, 5, 5, 0, 0, 0, 5, 0, 5};
    for (double v : levels) {
        in.Set(0, v);
        s->Calculate();
    }
    EXPECT_EQ(audio.played, (QStringList{"/data/bell.wav", "/data/bell.wav"}));
    EXPECT_TRUE(messages.Requests().empty());

    // A name changed during a run plays from the next start.
    s->FileName = QStringLiteral("/data/horn.wav");
    in.Set(0, 0);
    s->Calculate();
    in.Set(0, 5);
    s->Calculate();
    in.Set(0, 0);
    s->Calculate();
    EXPECT_EQ(audio.played.last(), "/data/bell.wav");
}

TEST_F(AudioTest, SoundWithoutOutputDeviceIsReportedOnce)
{
    Ctx().CurrentLanguage = 0;
    audio.output = false;
    auto s1 = Create<TBTSound>();
    auto s2 = Create<TBTSound>();
    for (TBTSound* s : {s1.get(), s2.get()}) {
        s->SimReset();
        TInputs in(*s);
        for (double v : {5.0, 0.0, 5.0, 0.0}) {
            in.Set(0, v);
            s->Calculate();
        }
    }
    EXPECT_TRUE(audio.played.isEmpty());
    ASSERT_EQ(messages.Requests().size(), 1u);
    EXPECT_TRUE(messages.Requests()[0].text.startsWith("Es ist kein Gerät zur Tonausgabe"));
}

TEST_F(AudioTest, SoundRecordAndDialog)
{
    Ctx().CurrentLanguage = 1;
    auto s = Create<TBTSound>();
    s->FileName = QStringLiteral("/nowhere/gong.wav");
    const QByteArray data = Write(*s);
    const QByteArray name = data.right(256); // a length byte and 255 characters
    EXPECT_EQ(int(name[0]), 17);
    EXPECT_EQ(name.mid(1, 17), "/nowhere/gong.wav");
    auto back = Create<TBTSound>();
    ASSERT_TRUE(Read(*back, data));
    EXPECT_TRUE(back->FileName.endsWith("gong.wav"));
    EXPECT_TRUE(back->GetHint().endsWith("\rgong.wav"));

    TScopedDialogResponder responder;
    QString caption;
    responder.Answer([&](QDialog& d) {
        EXPECT_EQ(Host(d).HelpContext, 18550);
        auto* file = Row<TFilePropEditor>(d, 0);
        if (!file)
            return int(mrCancel);
        caption = file->NameLabel->text();
        return int(mrCancel);
    });
    s->EditProperties();
    EXPECT_EQ(caption, "File [*.wav]");
}

} // namespace
