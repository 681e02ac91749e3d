// Switching times in week order, the weekly and daily time-switch elements checked against the
// fake clock over simulated weeks, across midnight and across daylight-saving changes, their
// stream, settings file and published programme, and the switching-time dialog.

#include "TimeSwitchTestSupport.h"

#include "frontpanel/elements/SwitchTimeDlg.h"
#include "frontpanel/elements/TimeSwitch.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QBuffer>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>

#include <vector>

namespace {

using TimeSwitchTest = TimeTest;

QString Describe(const TSchaltZeiten& list)
{
    QStringList parts;
    for (const auto& e : list)
        parts << QStringLiteral("%1 %2:%3:%4 %5")
                     .arg(e->Day)
                     .arg(e->Hour)
                     .arg(e->Minute, 2, 10, QLatin1Char('0'))
                     .arg(e->Second, 2, 10, QLatin1Char('0'))
                     .arg(e->SwitchOn ? "on" : "off");
    return parts.join(u", ");
}

// Every change of the output while the clock walks `seconds` in steps of `step`, checking once
// per step, as "<weekday> hh:mm:ss on|off".
QStringList Walk(TTimeSwitchElement& e, TFakeClock& clock, int64_t seconds, int step)
{
    QStringList changes;
    bool last = e.Output;
    for (int64_t t = 0; t < seconds; t += step) {
        clock.AdvanceMs(step * 1000LL);
        e.CheckSwitchTimes();
        if (e.Output != last) {
            const QDateTime now = clock.LocalTime();
            changes << QStringLiteral("%1 %2 %3")
                           .arg(WeekdayOf(now))
                           .arg(now.time().toString(QStringLiteral("HH:mm:ss")))
                           .arg(e.Output ? "on" : "off");
            last = e.Output;
        }
    }
    return changes;
}

QByteArray WriteElement(TFP_Element& e)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    e.WriteElementData(writer);
    return bytes;
}

void ReadElement(TFP_Element& e, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    e.ReadElementData(reader, 44);
    EXPECT_TRUE(reader.AtEnd());
}

} // namespace

TEST_F(TimeSwitchTest, SwitchTimesSortInWeekOrder)
{
    TSchaltZeiten list;
    list.push_back(Entry(2, 8, 0, 0, true));
    list.push_back(Entry(2, 8, 0, 0, false));
    list.push_back(Entry(1, 23, 0, 0, true));
    list.push_back(Entry(2, 8, 0, 0, true));  // equal to the first: both stay
    list.push_back(Entry(2, 7, 59, 59, true));
    SortSwitchTimes(list);
    EXPECT_EQ(Describe(list), QStringLiteral("1 23:00:00 on, 2 7:59:59 on, 2 8:00:00 off, "
                                             "2 8:00:00 on, 2 8:00:00 on"));
    // The current moment counts as an entry that switches off.
    TSchaltZeit now = *Entry(2, 8, 0, 0, false);
    EXPECT_TRUE(TSchaltZeit::IsBefore(now, *list[3]));
    EXPECT_TRUE(TSchaltZeit::IsBefore(*list[2], now));
    EXPECT_FALSE(TSchaltZeit::IsBefore(*list[3], now));

    // Nine raw bytes per entry; the marks are not stored.
    list[0]->Selected = list[0]->Done = true;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    list[0]->WriteToWriter(writer);
    buffer.close();
    EXPECT_EQ(bytes.toHex(), QByteArray("170000000000010001"));
}

TEST_F(TimeSwitchTest, TextsInEveryLanguage)
{
    const TSchaltZeit thursday = *Entry(5, 7, 5, 0, true);
    const TSchaltZeit daily = *Entry(0, 7, 5, 0, false);
    const char* days[3] = {"Do", "Th", "Je"};
    const char* actions[3][2] = {{"einschalten", "ausschalten"}, {"ON", "OFF"}, {"ON", "OFF"}};
    for (int lang = 0; lang < 3; ++lang) {
        Ctx().CurrentLanguage = uint8_t(lang);
        EXPECT_EQ(thursday.DayText(), QString::fromLatin1(days[lang]));
        EXPECT_EQ(thursday.ActionText(), QString::fromLatin1(actions[lang][0]));
        EXPECT_EQ(daily.ActionText(), QString::fromLatin1(actions[lang][1]));
        EXPECT_EQ(daily.DayText(), QString());
        EXPECT_TRUE(thursday.LineText(true).startsWith(QString::fromLatin1(days[lang]) + ". "));
        EXPECT_TRUE(daily.LineText(false).endsWith(QString::fromLatin1(actions[lang][1])));
    }
    EXPECT_EQ(WeekdayAbbreviation(0), QString());
    EXPECT_EQ(WeekdayAbbreviation(8), QString());
}

TEST_F(TimeSwitchTest, ResetFindsThePlaceInTheWeek)
{
    struct Case {
        QDateTime at;
        bool output;
        int done;  // entries marked done
        int next;
    } cases[] = {
        {WeekMoment(3, 9), false, 2, 1},        // Tuesday
        {WeekMoment(2, 12), true, 1, 1},        // Monday noon
        {WeekMoment(1, 12), false, 0, 0},       // Sunday: the last switching of the week holds
        {WeekMoment(2, 8, 0, 0), false, 0, 0},  // at the second of the first entry: not yet
        {WeekMoment(2, 8, 0, 1), true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at.toString().toStdString());
        StartAt(c.at);
        TWochenSchaltuhr e;
        e.SwitchTimes.push_back(Entry(2, 8, 0, 0, true));
        e.SwitchTimes.push_back(Entry(2, 17, 0, 0, false));
        e.Output = !c.output;
        e.SyncToNow();
        EXPECT_EQ(e.Output, c.output);
        EXPECT_EQ(int(e.SwitchTimes[0]->Done) + int(e.SwitchTimes[1]->Done), c.done);
        EXPECT_EQ(e.NextIndex, c.next);
    }
}

TEST_F(TimeSwitchTest, WeeklyProgrammeOverMoreThanAWeek)
{
    TFakeClock& clock = StartAt(WeekMoment(1, 0));  // Sunday midnight
    TWochenSchaltuhr e;
    e.SwitchTimes.push_back(Entry(7, 1, 0, 0, false));
    e.SwitchTimes.push_back(Entry(2, 17, 0, 0, false));
    e.SwitchTimes.push_back(Entry(6, 22, 30, 15, true));
    e.SwitchTimes.push_back(Entry(2, 8, 0, 0, true));
    SortSwitchTimes(e.SwitchTimes);
    e.SyncToNow();
    EXPECT_FALSE(e.Output);
    // Checks every 15 s; an entry is carried out by the first check after its second.
    EXPECT_EQ(Walk(e, clock, 9 * 86400, 15),
              (QStringList{"2 08:00:15 on", "2 17:00:15 off", "6 22:30:30 on", "7 01:00:15 off",
                           "2 08:00:15 on", "2 17:00:15 off"}));
}

TEST_F(TimeSwitchTest, DailyProgrammeAcrossMidnightAndJumps)
{
    TFakeClock& clock = StartAt(QDateTime(QDate(2026, 3, 7), QTime(21, 59, 59)));
    TTagesSchaltuhr e;
    e.SwitchTimes.push_back(Entry(0, 6, 0, 0, false));
    e.SwitchTimes.push_back(Entry(0, 12, 0, 0, true));
    e.SwitchTimes.push_back(Entry(0, 13, 0, 0, false));
    e.SwitchTimes.push_back(Entry(0, 22, 0, 0, true));
    e.SyncToNow();
    struct Step {
        int64_t advance;  // seconds
        bool output;
    } steps[] = {
        {1, false},             // 22:00:00: its own second does not switch yet
        {1, true},              // 22:00:01
        {8 * 3600 - 2, true},   // 05:59:59 on Sunday: the new day starts with the last switching
        {2, false},             // 06:00:01
        {7 * 3600, false},      // 13:00:01: on at 12 and off at 13 carried out at once
        {9 * 3600, true},       // 22:00:01
    };
    for (const Step& s : steps) {
        clock.AdvanceMs(s.advance * 1000);
        e.CheckSwitchTimes();
        EXPECT_EQ(e.Output, s.output) << clock.LocalTime().toString().toStdString();
    }
    EXPECT_TRUE(e.SwitchTimes[1]->Done);
    EXPECT_TRUE(e.SwitchTimes[2]->Done);
    // A clock set back resynchronises from the programme.
    clock.AdvanceMs(-11 * 3600 * 1000LL);  // 11:00:01
    e.CheckSwitchTimes();
    EXPECT_FALSE(e.Output);
    EXPECT_FALSE(e.SwitchTimes[1]->Done);
    clock.AdvanceMs(3600 * 1000);
    e.CheckSwitchTimes();
    EXPECT_TRUE(e.Output);
}

TEST_F(TimeSwitchTest, DaylightSavingChanges)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    // Spring: 02:00 CET becomes 03:00 CEST; the switching time in the skipped hour still acts.
    {
        TFakeClock& clock = StartAt(QDateTime(QDate(2026, 3, 29), QTime(1, 59, 50), berlin));
        TTagesSchaltuhr e;
        e.SwitchTimes.push_back(Entry(0, 2, 30, 0, true));
        e.SwitchTimes.push_back(Entry(0, 5, 0, 0, false));
        e.SyncToNow();
        EXPECT_FALSE(e.Output);
        EXPECT_EQ(Walk(e, clock, 3 * 3600, 1), (QStringList{"1 03:00:00 on", "1 05:00:01 off"}));
    }
    // Autumn: 03:00 CEST becomes 02:00 CET; the repeated hour resynchronises and switches on
    // once more at its own time, and nothing is lost.
    {
        TFakeClock& clock = StartAt(QDateTime(QDate(2026, 10, 25), QTime(1, 59, 50), berlin));
        TWochenSchaltuhr e;
        e.SwitchTimes.push_back(Entry(1, 2, 30, 0, true));
        e.SwitchTimes.push_back(Entry(1, 5, 0, 0, false));
        e.SyncToNow();
        EXPECT_FALSE(e.Output);
        EXPECT_EQ(Walk(e, clock, 5 * 3600, 1),
                  (QStringList{"1 02:30:01 on", "1 02:00:00 off", "1 02:30:01 on", "1 05:00:01 off"}));
    }
}

TEST_F(TimeSwitchTest, StreamAndSettingsKeepTheProgramme)
{
    StartAt(WeekMoment(2, 12));
    TWochenSchaltuhr a;
    a.resize(150, 60);
    a.ZeichenFarbe = 0x123456;
    a.Tag = 7;
    a.SwitchTimes.push_back(Entry(2, 17, 0, 0, false));
    a.SwitchTimes.push_back(Entry(2, 8, 0, 0, true));  // read back in stored order, not sorted
    TWochenSchaltuhr b;
    ReadElement(b, WriteElement(a));
    EXPECT_EQ(b.size(), QSize(150, 60));
    EXPECT_EQ(b.ZeichenFarbe, 0x123456);
    EXPECT_EQ(b.Tag, 7);
    EXPECT_EQ(Describe(b.SwitchTimes), Describe(a.SwitchTimes));

    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("state.ini")));
    a.ElementName = QStringLiteral("WTi1");
    a.SaveSettings(ini, QStringLiteral("Main"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Main.WTi1"), QStringLiteral("Day2"), 0), 2);
    TWochenSchaltuhr c;
    c.ElementName = a.ElementName;
    EXPECT_TRUE(c.LoadSettings(ini, QStringLiteral("Main"), true));
    EXPECT_TRUE(c.LoadSettings(ini, QStringLiteral("Main"), false));
    EXPECT_EQ(Describe(c.SwitchTimes), Describe(a.SwitchTimes));
    EXPECT_TRUE(c.Output);  // resynchronised: Monday noon

    // A daily switch stores no days; a missing key fails the check; entries outside a time of
    // day are left out of a hand-edited file.
    TTagesSchaltuhr d;
    d.ElementName = QStringLiteral("DTi1");
    d.SwitchTimes.push_back(Entry(0, 6, 0, 0, true));
    d.SaveSettings(ini, QStringLiteral("Main"));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("Main.DTi1"), QStringLiteral("Day1")));
    ini.WriteInteger(QStringLiteral("Main.DTi1"), QStringLiteral("ActionCount"), 2);
    EXPECT_FALSE(d.LoadSettings(ini, QStringLiteral("Main"), true));
    for (const char* key : {"Hour2", "Minute2", "Second2"})
        ini.WriteInteger(QStringLiteral("Main.DTi1"), QString::fromLatin1(key), 99);
    ini.WriteBool(QStringLiteral("Main.DTi1"), QStringLiteral("Action2"), true);
    EXPECT_TRUE(d.LoadSettings(ini, QStringLiteral("Main"), true));
    EXPECT_TRUE(d.LoadSettings(ini, QStringLiteral("Main"), false));
    EXPECT_EQ(Describe(d.SwitchTimes), QStringLiteral("0 6:00:00 on"));
}

TEST_F(TimeSwitchTest, PublishedProgrammeAndItsSubmission)
{
    StartAt(WeekMoment(2, 12));
    TWochenSchaltuhr e;
    e.SwitchTimes.push_back(Entry(2, 8, 0, 0, true));
    QStringList lines;
    e.WriteWebElement(lines);
    EXPECT_TRUE(lines.contains(QStringLiteral("H;M;S;D;STAT</BR>")));
    const int area = int(lines.indexOf(QRegularExpression(QStringLiteral("^<textarea name=\"Client0\\.FPL0\\..*"))));
    ASSERT_GE(area, 0);
    EXPECT_EQ(lines.mid(area + 1, 6), (QStringList{"8;", "0;", "0;", "2;", "1", "\r"}));

    struct Case {
        const char* text;
        const char* programme;  // after the submission; the old one when refused
    } cases[] = {
        {"17;0;0;2;0\r\n8; 30 ;0;2;1\r\n", "2 8:30:00 on, 2 17:00:00 off"},
        {"9;0;0;2\r\n7;0;0;3;1", "3 7:00:00 on"},  // a line of four pieces is no entry
        {"24;0;0;2;1\r\n", "2 8:00:00 on"},
        {"8;60;0;2;1\r\n", "2 8:00:00 on"},
        {"8;0;0;8;1\r\n", "2 8:00:00 on"},
        {"8;x;0;2;1\r\n", "2 8:00:00 on"},
        {"-1;0;0;2;1\r\n", "2 8:00:00 on"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        e.SwitchTimes.clear();
        e.SwitchTimes.push_back(Entry(2, 8, 0, 0, true));
        e.WebSubmit(QString::fromLatin1(c.text));
        EXPECT_EQ(Describe(e.SwitchTimes), QString::fromLatin1(c.programme));
    }
    e.SwitchTimes.clear();
    e.WebSubmit(QStringLiteral("8;0;0;2;1\r\n"));
    EXPECT_TRUE(e.Output);  // resynchronised at once

    TTagesSchaltuhr daily;
    daily.WebSubmit(QStringLiteral("6;0;0;1\r\n7;0;0;2;1\r\n"));
    EXPECT_EQ(Describe(daily.SwitchTimes), QStringLiteral("0 6:00:00 on"));
    // Not editable at run time: only the picture block.
    daily.LaufzeitEinstellbar = false;
    lines.clear();
    daily.WriteWebElement(lines);
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("<form")));
}

TEST_F(TimeSwitchTest, DialogKeepsTheListSortedAndTheEntrySelected)
{
    StartAt(WeekMoment(2, 12));
    TWochenUhr_Dlg dlg(true);
    // The controls write into a selected entry at once: a new one is made with none selected.
    auto add = [&](int day, int h, int m, bool on) {
        for (auto& z : dlg.Zeiten)
            z->Selected = false;
        dlg.TagCombo->setCurrentIndex(day - 1);
        dlg.STD->setValue(h);
        dlg.MIN->setValue(m);
        (on ? dlg.RB_Ein : dlg.RB_Aus)->setChecked(true);
        dlg.NeuBtnClick();
    };
    EXPECT_FALSE(dlg.DeleteAllBtn->isEnabled());
    add(2, 8, 0, true);
    add(2, 8, 0, false);
    add(1, 23, 0, true);
    add(1, 23, 0, true);  // an equal entry is kept
    EXPECT_EQ(Describe(dlg.Zeiten), QStringLiteral("1 23:00:00 on, 1 23:00:00 on, 2 8:00:00 off, 2 8:00:00 on"));
    EXPECT_EQ(dlg.ZeitenListbox->count(), 4);
    EXPECT_TRUE(dlg.ZeitenListbox->item(0)->text().startsWith(QStringLiteral("So. ")));
    EXPECT_EQ(dlg.ZeitenListbox->currentRow(), 1);  // the new entry at its sorted place

    // A clicked entry shows in the controls; a change moves it and keeps it selected.
    dlg.ZeitenListboxClick(3);
    EXPECT_EQ(dlg.STD->value(), 8);
    EXPECT_TRUE(dlg.RB_Ein->isChecked());
    dlg.TagCombo->setCurrentIndex(0);
    EXPECT_EQ(Describe(dlg.Zeiten), QStringLiteral("1 8:00:00 on, 1 23:00:00 on, 1 23:00:00 on, 2 8:00:00 off"));
    EXPECT_EQ(dlg.ZeitenListbox->currentRow(), 0);
    dlg.MIN->setValue(30);
    EXPECT_EQ(dlg.Zeiten[0]->Minute, 30);
    EXPECT_TRUE(dlg.Zeiten[0]->Selected);

    dlg.DeleteBtnClick();
    EXPECT_EQ(dlg.Zeiten.size(), 3u);
    EXPECT_FALSE(dlg.DeleteBtn->isEnabled());
    {
        TScopedMessageResponder answers;
        answers.Answer(mrNo);
        dlg.DeleteAllBtnClick();
        EXPECT_EQ(dlg.Zeiten.size(), 3u);
        answers.Answer(mrYes);
        dlg.DeleteAllBtnClick();
        EXPECT_TRUE(dlg.Zeiten.empty());
        EXPECT_EQ(dlg.ZeitenListbox->count(), 0);
    }

    // Without the weekday selector entries have no day and the lines no day prefix.
    TWochenUhr_Dlg daily(false);
    daily.TagCombo->setCurrentIndex(3);
    daily.STD->setValue(6);
    daily.NeuBtnClick();
    EXPECT_EQ(daily.Zeiten[0]->Day, 0);
    EXPECT_EQ(daily.ZeitenListbox->item(0)->text(), daily.Zeiten[0]->TimeText() + QStringLiteral(" einschalten"));
}

TEST_F(TimeSwitchTest, ElementTakesTheDialogsValuesOnlyOnOk)
{
    StartAt(WeekMoment(2, 12));
    TWochenSchaltuhr e;
    e.SwitchTimes.push_back(Entry(2, 17, 0, 0, true));
    TScopedDialogResponder dialogs;
    auto edit = [](QDialog& d) {
        auto& dlg = static_cast<TWochenUhr_Dlg&>(d);
        EXPECT_EQ(dlg.HelpContext, 18215);
        EXPECT_FALSE(dlg.Zeiten.empty());
        dlg.TagCombo->setCurrentIndex(1);
        dlg.STD->setValue(8);
        dlg.NeuBtnClick();
        dlg.HintEdit->setText(QStringLiteral("Heizung"));
        dlg.SetColors(0x0000FF, 0x00FF00);
        return int(mrOk);
    };
    dialogs.Answer(edit);
    EXPECT_EQ(e.EditProperties(), mrOk);
    EXPECT_EQ(Describe(e.SwitchTimes), QStringLiteral("2 8:00:00 on, 2 17:00:00 on"));
    EXPECT_TRUE(e.Output);  // resynchronised: Monday noon is after 08:00
    EXPECT_EQ(e.Hint, QStringLiteral("Heizung"));
    EXPECT_EQ(e.ZeichenFarbe, 0x0000FF);
    EXPECT_EQ(e.HintergrundFarbe, 0x00FF00);
    dialogs.Answer(edit);
    dialogs.Answer([](QDialog&) { return int(mrCancel); });
    EXPECT_EQ(e.EditProperties(), mrOk);
    EXPECT_EQ(e.SwitchTimes.size(), 3u);
    EXPECT_EQ(e.EditProperties(), mrCancel);
    EXPECT_EQ(e.SwitchTimes.size(), 3u);
}
