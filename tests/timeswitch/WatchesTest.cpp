// The stop watch, the alarm clock and the time-switch components with their elements: the
// descriptions, the stop watch's read-out and its sequences from the inputs, the pop-up menu and
// the hotkeys, the alarm firing once per passing of its time (also across midnight and on its
// weekday only), the state file, and the alarm element's stream, settings and published form.

#include "TimeSwitchTestSupport.h"

#include "components/timing/RegisterTiming.h"
#include "components/timing/Watches.h"
#include "core/model/ClassRegistry.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/elements/TimeSwitch.h"
#include "frontpanel/elements/Watches.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"

#include <QBuffer>
#include <QMenu>
#include <QTemporaryDir>

namespace {

class WatchTest : public TimeTest {
protected:
    void SetUp() override
    {
        TimeTest::SetUp();
        RegisterTimingComponents(registry);
    }

    template <class T>
    std::unique_ptr<T> Create()
    {
        std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(T::StaticClassName()));
        return std::unique_ptr<T>(dynamic_cast<T*>(item.release()));
    }

    // An element linked to the component as the application core links them.
    template <class E>
    std::unique_ptr<E> Link(TIOBauteil& c)
    {
        std::unique_ptr<E> e(NewElement<E>(nullptr));
        e->ElementName = c.Designator();
        c.SetLink(e.get());
        e->Component = &c;
        return e;
    }

    TClassRegistry registry;
};

// Wires from pins of the test's own to every input, all high.
struct TWires {
    std::vector<std::unique_ptr<TBauteilPin>> pins;
    explicit TWires(TIOBauteil& c)
    {
        for (auto& input : c.Inputs) {
            pins.push_back(std::make_unique<TBauteilPin>());
            pins.back()->Value = 5.0L;
            input->SetSource(pins.back().get());
        }
    }
    // A falling edge: low for one step of c, then high again for the next.
    void Pulse(TIOBauteil& c, std::initializer_list<int> inputs)
    {
        for (int i : inputs)
            pins[size_t(i)]->Value = 0.0L;
        c.Calculate();
        for (int i : inputs)
            pins[size_t(i)]->Value = 5.0L;
    }
};

double Out(const TIOBauteil& c, int i = 0)
{
    return double(c.Outputs[size_t(i)]->Value);
}

constexpr int64_t kSecond = 1000;

// One check of a clocked component: the clock moves on, then its twentieth tick.
void CheckAfter(TBTSchaltUhr& c, TFakeClock& clock, int64_t ms)
{
    clock.AdvanceMs(ms);
    c.TickCounter = 19;
    c.ClockTick();
}

} // namespace

TEST_F(WatchTest, DescriptionsInEveryLanguage)
{
    struct Case {
        const char* cls;
        const char* prefix;
        const char* type[3];
        int inputs, outputs, help;
        QStringList inNames, outNames;
        const char* element;
        bool clocked;
    } cases[] = {
        {"TBTStopUhr", "Stp", {"Stoppuhr", "Stop watch", "Chronomètre"}, 3, 2, 18200,
         {"|RUN", "|STP", "|RST"}, {"T", "$T"}, "TStopUhr", false},
        {"TBTSchaltUhr", "Ti", {"Wecker", "Alarm clock", "Alarme horloge"}, 1, 1, 18205,
         {"|RST"}, {"Q"}, "TSchaltUhr", true},
        {"TBTWochenSchaltuhr", "WTi", {"Wochenschaltuhr", "Week timer", "Timer semaine"}, 0, 1, 18215,
         {}, {"Q"}, "TWochenSchaltuhr", true},
        {"TBTTagesSchaltuhr", "DTi", {"Tagesschaltuhr", "Day timer", "Timer journalier"}, 0, 1, 18210,
         {}, {"Q"}, "TTagesSchaltuhr", true},
    };
    TElementRegistry elements;
    RegisterFrontPanelElements(elements);
    for (const Case& c : cases) {
        EXPECT_EQ(registry.DescriptionOf(QString::fromLatin1(c.cls))->Category, TPaletteCategory::Uhren);
        std::unique_ptr<TFP_Element> element(elements.CreateElement(QString::fromLatin1(c.element), nullptr));
        EXPECT_EQ(element->ClassName(), std::string(c.element));
        for (int lang = 0; lang < 3; ++lang) {
            SCOPED_TRACE(std::string(c.cls) + " " + std::to_string(lang));
            Ctx().CurrentLanguage = uint8_t(lang);
            std::unique_ptr<TBauteil> item = registry.CreateBoardItem(QString::fromLatin1(c.cls));
            auto* comp = dynamic_cast<TIOBauteil*>(item.get());
            ASSERT_TRUE(comp);
            EXPECT_EQ(comp->Prefix(), QString::fromLatin1(c.prefix));
            EXPECT_EQ(comp->GetTypeName(), QString::fromUtf8(c.type[lang]));
            EXPECT_EQ(comp->InputCount, c.inputs);
            EXPECT_EQ(comp->OutputCount, c.outputs);
            EXPECT_EQ(comp->HelpContext, c.help);
            QStringList in, out;
            for (auto& p : comp->Inputs)
                in << p->Name();
            for (auto& p : comp->Outputs)
                out << p->Name();
            EXPECT_EQ(in, c.inNames);
            EXPECT_EQ(out, c.outNames);
            EXPECT_EQ(comp->ElementClass(), QString::fromLatin1(c.element));
            EXPECT_EQ(comp->Clocked, c.clocked);
            EXPECT_FALSE(comp->Editable);
        }
    }
}

TEST_F(WatchTest, StopwatchReadOut)
{
    StartAt(WeekMoment(2, 12));
    TStopUhr e;
    EXPECT_EQ(e.size(), QSize(128, 32));
    struct Case {
        int64_t ms;
        bool running;
        const char* text;
    } cases[] = {
        {0, false, "00:00:00:000"},
        {3723045, false, "01:02:03:045"},
        {3723045, true, "01:02:03:000"},
        {3723999, true, "01:02:03:900"},
        {99 * 3600000LL - 1, false, "98:59:59:999"},
    };
    for (const Case& c : cases) {
        e.StartZaehler = 5000;
        e.JetztZaehler = 5000 + c.ms * 1000000;
        e.Laeuft = c.running;
        EXPECT_EQ(e.TimeText(), QString::fromLatin1(c.text));
    }
    // A change of the tenths repaints one cell, right of the whole seconds; a new second two.
    const QList<QRect> tenths = e.ChangedCells(QStringLiteral("01:02:03:000"), QStringLiteral("01:02:03:100"));
    ASSERT_EQ(tenths.size(), 1);
    const QList<QRect> second = e.ChangedCells(QStringLiteral("01:02:03:900"), QStringLiteral("01:02:04:000"));
    ASSERT_EQ(second.size(), 2);
    EXPECT_LT(second[0].right(), tenths[0].left());
    EXPECT_EQ(second[1], tenths[0]);
    // At 99 hours the read-out asks for a stop each time until it is stopped.
    int stops = 0;
    e.OnStop = [&](TFP_Element* sender) {
        EXPECT_EQ(sender, &e);
        ++stops;
    };
    e.JetztZaehler = e.StartZaehler + 99 * 3600 * 1000000000LL;
    e.TimeText();
    e.TimeText();
    EXPECT_EQ(stops, 2);
}

TEST_F(WatchTest, StopwatchSequencesFromTheInputs)
{
    TFakeClock& clock = StartAt(WeekMoment(2, 12));
    auto c = Create<TBTStopUhr>();
    auto e = Link<TStopUhr>(*c);
    TWires wires(*c);
    c->SimReset();
    c->Calculate();  // the levels are high now

    wires.Pulse(*c, {0});  // "|RUN"
    EXPECT_TRUE(e->Laeuft);
    clock.AdvanceMs(2500);
    wires.Pulse(*c, {1});  // "|STP" 2.5 s later
    EXPECT_FALSE(e->Laeuft);
    EXPECT_DOUBLE_EQ(Out(*c), 2.5);
    EXPECT_EQ(c->Outputs[1]->GetPinText(), QStringLiteral("00:00:02:500"));
    EXPECT_EQ(e->Anzeige, QStringLiteral("00:00:02:500"));
    clock.AdvanceMs(60 * kSecond);
    wires.Pulse(*c, {1});  // a stop while stopped does nothing
    EXPECT_DOUBLE_EQ(Out(*c), 2.5);

    wires.Pulse(*c, {0});  // goes on from 2.5 s
    clock.AdvanceMs(1250);
    c->Calculate();
    EXPECT_DOUBLE_EQ(Out(*c), 3.75);
    EXPECT_EQ(c->Outputs[1]->GetPinText(), QStringLiteral("00:00:03:700"));  // tenths while running
    wires.Pulse(*c, {0});  // a start while running changes nothing
    EXPECT_DOUBLE_EQ(Out(*c), 3.75);

    wires.Pulse(*c, {2});  // "|RST"
    EXPECT_FALSE(e->Laeuft);
    EXPECT_DOUBLE_EQ(Out(*c), 0.0);
    EXPECT_EQ(e->Anzeige, QStringLiteral("00:00:00:000"));

    // Start and stop in one step: the time does not grow.
    wires.Pulse(*c, {0, 1});
    EXPECT_FALSE(e->Laeuft);
    EXPECT_DOUBLE_EQ(Out(*c), 0.0);

    // Unconnected inputs read high and never give an edge.
    for (auto& input : c->Inputs)
        input->SetSource(nullptr);
    c->Calculate();
    c->Calculate();
    EXPECT_FALSE(e->Laeuft);
}

TEST_F(WatchTest, StopwatchFromMenuHotkeysAndItsLimit)
{
    TFakeClock& clock = StartAt(WeekMoment(2, 12));
    auto c = Create<TBTStopUhr>();
    auto e = Link<TStopUhr>(*c);
    c->SimReset();
    // The pop-up menu: Start, Stop, a separator, Reset.
    const QList<QAction*> items = e->PopupMenu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_TRUE(items[2]->isSeparator());
    items[0]->trigger();
    EXPECT_TRUE(e->Laeuft);
    clock.AdvanceMs(1500);
    items[1]->trigger();
    EXPECT_DOUBLE_EQ(Out(*c), 1.5);
    // Hotkey actions "= RUN", "= STP", "= RST".
    e->Hotkeys[4]->Key = 'R';
    e->Hotkeys[4]->Action = 3;
    e->HotkeyDown('R', 0);
    EXPECT_DOUBLE_EQ(Out(*c), 0.0);
    e->Hotkeys[0]->Key = 'G';
    e->Hotkeys[0]->Action = 1;
    e->HotkeyDown('G', 0);
    EXPECT_TRUE(e->Laeuft);

    // At 99 hours the watch stops itself.
    clock.AdvanceMs(99 * 3600 * kSecond + 200);
    c->Calculate();
    EXPECT_FALSE(e->Laeuft);
    EXPECT_EQ(e->Anzeige.left(3), QStringLiteral("99:"));

    // A component that is gone is no longer called by its element.
    c.reset();
    e->Component = nullptr;  // what the front panel's unlink does
    e->Request(1);
    EXPECT_FALSE(e->Laeuft);
}

TEST_F(WatchTest, StopwatchStateFile)
{
    TFakeClock& clock = StartAt(WeekMoment(2, 12));
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.ini")));
    auto a = Create<TBTStopUhr>();
    auto ea = Link<TStopUhr>(*a);
    a->SimReset();
    a->Start();
    clock.AdvanceMs(10 * kSecond + 250);  // past 2^32 ns: both halves in use
    a->Calculate();
    a->SaveSettings(ini, QStringLiteral("Main"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Main.") + a->Designator(), QStringLiteral("Running"), false));

    clock.AdvanceMs(3600 * kSecond);  // the time between two runs is not counted
    auto b = Create<TBTStopUhr>();
    auto eb = Link<TStopUhr>(*b);
    b->SimReset();
    EXPECT_TRUE(b->LoadSettings(ini, QStringLiteral("Main"), false));
    EXPECT_DOUBLE_EQ(Out(*b), 10.25);
    EXPECT_TRUE(eb->Laeuft);
    clock.AdvanceMs(kSecond);
    b->Calculate();
    EXPECT_DOUBLE_EQ(Out(*b), 11.25);
    EXPECT_EQ(b->Outputs[1]->GetPinText(), QStringLiteral("00:00:11:200"));
    // A component from an older project with one output writes no text.
    b->SetOutputCount(1);
    b->Stop();
    EXPECT_DOUBLE_EQ(Out(*b), 11.25);
}

TEST_F(WatchTest, AlarmPassedBetweenTwoChecks)
{
    struct Case {
        int last, now, alarm;
        bool fires;
    } cases[] = {
        {25199, 25199, 25200, false},  // 06:59:59 twice
        {25199, 25200, 25200, true},   // 06:59:59 -> 07:00:00
        {25200, 25201, 25200, false},  // already passed at the previous check
        {86399, 0, 0, true},           // midnight, alarm 00:00:00
        {86398, 86399, 0, false},
        {86000, 10, 86300, true},      // midnight, the alarm just before it
        {86000, 10, 20, false},
        {86000, 10, 5, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlarmPassed(c.last, c.now, c.alarm), c.fires) << c.last << " " << c.now << " " << c.alarm;
}

TEST_F(WatchTest, AlarmFiresOncePerPassingUntilReset)
{
    TFakeClock& clock = StartAt(QDateTime(QDate(2026, 3, 2), QTime(6, 59, 58)));
    auto c = Create<TBTSchaltUhr>();
    auto e = Link<TSchaltUhr>(*c);
    TWires wires(*c);
    e->SetAlarmTime(7, 0, 0);
    c->SimReset();
    c->Calculate();  // "|RST" high
    // Twenty ticks of 50 ms make one check.
    for (int i = 0; i < 19; ++i) {
        clock.AdvanceMs(50);
        c->ClockTick();
    }
    clock.AdvanceMs(50);
    c->ClockTick();  // 06:59:59
    EXPECT_EQ(Out(*c), 0.0);
    CheckAfter(*c, clock, kSecond);  // 07:00:00
    EXPECT_EQ(Out(*c), 5.0);
    CheckAfter(*c, clock, 3600 * kSecond);
    EXPECT_EQ(Out(*c), 5.0);  // stays high
    wires.Pulse(*c, {0});
    EXPECT_EQ(Out(*c), 0.0);
    for (int i = 0; i < 10; ++i)
        CheckAfter(*c, clock, 60 * kSecond);
    EXPECT_EQ(Out(*c), 0.0);  // re-armed from the current time: passes no more today
    CheckAfter(*c, clock, 23 * 3600 * kSecond);  // 07:10 the next day, midnight between
    EXPECT_EQ(Out(*c), 5.0);
    // The acknowledge hotkey resets it.
    e->Hotkeys[0]->Key = 'Q';
    e->Hotkeys[0]->Action = 1;
    e->HotkeyDown('Q', 0);
    EXPECT_EQ(Out(*c), 0.0);

    // The state file keeps a fired alarm.
    CheckAfter(*c, clock, 23 * 3600 * kSecond);  // 06:10: midnight passed, the alarm not yet
    EXPECT_EQ(Out(*c), 0.0);
    CheckAfter(*c, clock, 3600 * kSecond);
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.ini")));
    c->SaveSettings(ini, QStringLiteral("Main"));
    c->SimReset();
    EXPECT_EQ(Out(*c), 0.0);
    c->LoadSettings(ini, QStringLiteral("Main"), false);
    EXPECT_EQ(Out(*c), 5.0);
}

TEST_F(WatchTest, AlarmAcrossMidnightAndOnItsWeekdayOnly)
{
    // Alarm 00:00:00 every day, checks at 23:59:59 and 00:00:00.
    {
        TFakeClock& clock = StartAt(QDateTime(QDate(2026, 3, 2), QTime(23, 59, 58)));
        auto c = Create<TBTSchaltUhr>();
        auto e = Link<TSchaltUhr>(*c);
        c->SimReset();
        CheckAfter(*c, clock, kSecond);
        EXPECT_EQ(Out(*c), 0.0);
        CheckAfter(*c, clock, kSecond);
        EXPECT_EQ(Out(*c), 5.0);
    }
    // Started Sunday 22:00 with the alarm on Monday 23:00: it goes off at 23:00 on Monday, not
    // at midnight when the Monday begins.
    TFakeClock& clock = StartAt(WeekMoment(1, 22));
    auto c = Create<TBTSchaltUhr>();
    auto e = Link<TSchaltUhr>(*c);
    e->SetAlarmTime(23, 0, 0);
    e->AlarmTag = 2;
    c->SimReset();
    QString fired;
    for (int i = 0; i < 2 * 24 * 60 && fired.isEmpty(); ++i) {
        CheckAfter(*c, clock, 60 * kSecond);
        if (Out(*c) > 0)
            fired = clock.LocalTime().toString(QStringLiteral("ddd HH:mm"));
    }
    EXPECT_EQ(fired, QDateTime(QDate(2026, 3, 2), QTime(23, 0)).toString(QStringLiteral("ddd HH:mm")));
    // The hint names the alarm: weekday and time.
    EXPECT_TRUE(c->GetHint().endsWith(QStringLiteral("\rMo. ") + LongTimeText(QTime(23, 0))))
        << c->GetHint().toStdString();
}

TEST_F(WatchTest, AlarmElementStreamSettingsAndForm)
{
    StartAt(WeekMoment(2, 12));
    TSchaltUhr a;
    EXPECT_EQ(a.size(), QSize(128, 48));
    EXPECT_TRUE(a.LaufzeitEinstellbar);
    a.SetAlarmTime(6, 45, 30, 500);
    a.AlarmTag = 3;
    a.AlarmFarbe = 0x00FF00;
    a.resize(140, 50);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        TWriter writer(buffer);
        a.WriteElementData(writer);
    }
    {
        TSchaltUhr b;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        TReader reader(buffer);
        b.ReadElementData(reader, 44);
        EXPECT_EQ(b.AlarmZeit, a.AlarmZeit);  // the eight bytes of the double as they are
        EXPECT_EQ(b.AlarmFarbe, 0x00FF00);
        EXPECT_EQ(b.size(), QSize(140, 50));
        EXPECT_EQ(b.AlarmTag, 3);
        EXPECT_TRUE(reader.AtEnd());
    }

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("settings.ini")));
    a.ElementName = QStringLiteral("Ti1");
    a.SaveSettings(ini, QStringLiteral("Main"));
    TSchaltUhr c;
    c.ElementName = QStringLiteral("Ti1");
    EXPECT_FALSE(c.LoadSettings(ini, QStringLiteral("Other"), true));
    EXPECT_TRUE(c.LoadSettings(ini, QStringLiteral("Main"), true));
    c.LoadSettings(ini, QStringLiteral("Main"), false);
    EXPECT_EQ(c.AlarmSecondOfDay(), 6 * 3600 + 45 * 60 + 30);  // milliseconds dropped
    EXPECT_EQ(c.AlarmTag, 3);

    // The published form: four lists with the setting selected; each value comes back alone.
    QStringList lines;
    a.WriteWebElement(lines);
    EXPECT_TRUE(lines.contains(QStringLiteral("<option VALUE=\"H6\"selected>6")));
    EXPECT_TRUE(lines.contains(QStringLiteral("<option VALUE=\"S30\"selected>30")));
    EXPECT_TRUE(lines.contains(QStringLiteral("<option VALUE=\"D3\"selected>Dienstag")));
    EXPECT_TRUE(lines.contains(QStringLiteral("</select></BR></BR>")));
    struct Case {
        const char* value;
        int second;
        int day;
    } cases[] = {
        {"H7", 7 * 3600 + 45 * 60 + 30, 3}, {"M0", 7 * 3600 + 30, 3}, {"S5", 7 * 3600 + 5, 3},
        {"D0", 7 * 3600 + 5, 0},            {"H24", 7 * 3600 + 5, 0}, {"D8", 7 * 3600 + 5, 0},
        {"Mx", 7 * 3600 + 5, 0},            {"X1", 7 * 3600 + 5, 0},
    };
    for (const Case& k : cases) {
        a.WebSubmit(QString::fromLatin1(k.value));
        EXPECT_EQ(a.AlarmSecondOfDay(), k.second) << k.value;
        EXPECT_EQ(a.AlarmTag, k.day) << k.value;
    }
}

TEST_F(WatchTest, TimeSwitchComponentsFollowTheirElements)
{
    TFakeClock& clock = StartAt(WeekMoment(2, 7, 59, 59));
    auto weekly = Create<TBTWochenSchaltuhr>();
    auto ew = Link<TWochenSchaltuhr>(*weekly);
    ew->SwitchTimes.push_back(Entry(2, 8, 0, 0, true));
    auto daily = Create<TBTTagesSchaltuhr>();
    auto ed = Link<TTagesSchaltuhr>(*daily);
    ed->SwitchTimes.push_back(Entry(0, 7, 0, 0, true));
    ed->SwitchTimes.push_back(Entry(0, 8, 0, 0, false));
    weekly->SimReset();
    daily->SimReset();
    EXPECT_EQ(Out(*weekly), 5.0);  // the last switching of the week before
    EXPECT_EQ(Out(*daily), 5.0);   // on since 07:00
    // The output follows once a second, on every twentieth tick.
    clock.AdvanceMs(2000);
    for (int i = 0; i < 19; ++i) {
        weekly->ClockTick();
        daily->ClockTick();
    }
    EXPECT_EQ(Out(*daily), 5.0);
    weekly->ClockTick();
    daily->ClockTick();
    EXPECT_EQ(Out(*weekly), 5.0);
    EXPECT_EQ(Out(*daily), 0.0);
    EXPECT_TRUE(ew->SwitchTimes[0]->Done);
}
