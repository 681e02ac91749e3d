#include "frontpanel/elements/TimeSwitch.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/SwitchTimeDlg.h"
#include "frontpanel/elements/Watches.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPainter>
#include <QLocale>

#include <algorithm>

TTimeSwitchElement::TTimeSwitchElement(QWidget* owner, bool weekly)
    : TFP_Element(owner), m_weekly(weekly)
{
    resize(128, 48);
    BevelOuter = bvLowered;
    BevelWidth = 2;
    SetHintergrundFarbe(0xC0C0C0);
    LaufzeitEinstellbar = true;
    Hint = weekly ? Lang3Q("Wochenschaltuhr", "Week timer", "Timer semaine")
                  : Lang3Q("Tagesschaltuhr", "Day timer", "Timer journalier");
}

TWochenSchaltuhr::TWochenSchaltuhr(QWidget* owner) : TTimeSwitchElement(owner, true) {}

TTagesSchaltuhr::TTagesSchaltuhr(QWidget* owner) : TTimeSwitchElement(owner, false) {}

// --- Switching ------------------------------------------------------------------------------

void TTimeSwitchElement::TakeNow()
{
    const QDateTime now = Clock().LocalTime();
    const QTime t = now.time();
    NowTime.Hour = uint16_t(t.hour());
    NowTime.Minute = uint16_t(t.minute());
    NowTime.Second = uint16_t(t.second());
    NowTime.Day = uint16_t(m_weekly ? WeekdayOf(now) : 0);
    NowTime.SwitchOn = false;
}

bool TTimeSwitchElement::SyncToNow()
{
    for (auto& entry : SwitchTimes)
        entry->Done = false;
    LastDay = int16_t(WeekdayOf(Clock().LocalTime()));
    if (SwitchTimes.empty())
        return false;
    TakeNow();
    LastTime = NowTime;
    NextIndex = 0;
    if (TSchaltZeit::IsBefore(*SwitchTimes.front(), NowTime)) {
        for (size_t i = 0; i < SwitchTimes.size(); ++i) {
            NextIndex = int32_t(i);
            TSchaltZeit& entry = *SwitchTimes[i];
            if (!TSchaltZeit::IsBefore(entry, NowTime))
                break;
            Output = entry.SwitchOn;
            entry.Done = true;
        }
    } else {
        // Nothing passed yet in this cycle: the last switching of the previous one holds.
        Output = SwitchTimes.back()->SwitchOn;
    }
    return false;
}

void TTimeSwitchElement::CheckSwitchTimes()
{
    // Every pass carries out one switching time; a programme has no more than its entries to
    // carry out at once, and a resynchronisation marks the rest done.
    for (size_t pass = 0; pass <= SwitchTimes.size(); ++pass) {
        if (WeekdayOf(Clock().LocalTime()) != LastDay)
            SyncToNow();
        if (SwitchTimes.empty())
            return;
        TakeNow();
        if (TSchaltZeit::IsBefore(NowTime, LastTime))
            SyncToNow();
        LastTime = NowTime;
        if (NextIndex < 0 || size_t(NextIndex) >= SwitchTimes.size())
            NextIndex = 0;
        TSchaltZeit& e = *SwitchTimes[size_t(NextIndex)];
        if (e.Done)
            return;
        if (m_weekly && NowTime.Day != e.Day)
            return;
        if (TSchaltZeit::IsBefore(NowTime, e))
            return;
        Output = e.SwitchOn;
        e.Done = true;
        if (size_t(++NextIndex) >= SwitchTimes.size())
            NextIndex = 0;
    }
}

void TTimeSwitchElement::InvalidateFace()
{
    const int f = FrameWidth();
    update(rect().adjusted(f, f, -f, -f));
}

// --- Face -----------------------------------------------------------------------------------

void TTimeSwitchElement::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    PaintWatchFace(*this, canvas);
    QPainter* painter = canvas.Painter();
    if (!painter)
        return;
    const int f = FrameWidth();
    const int h = height();
    painter->save();
    painter->setClipRect(WatchInnerRect(*this));
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.SetFontHeight((h - 2 * f - 4) / 2);
    canvas.FontColor = ZeichenFarbe;
    canvas.TransparentText = true;
    const QDateTime now = Clock().LocalTime();
    const int x = f + h / 6 + 2;
    canvas.TextOut(x, f + 2, QLocale::system().toString(now.date(), QLocale::ShortFormat));
    canvas.TextOut(x, h / 2, LongTimeText(now.time()));
    painter->restore();
}

// --- Stream and settings --------------------------------------------------------------------

void TTimeSwitchElement::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    WriteWatchHead(writer, *this, ZeichenFarbe);
    writer.WriteInteger(Tag);
    writer.WriteInteger(int32_t(SwitchTimes.size()));
    for (const auto& entry : SwitchTimes)
        entry->WriteToWriter(writer);
}

void TTimeSwitchElement::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const QSize size = ReadWatchHead(reader, ZeichenFarbe, HintergrundFarbe);
    Tag = reader.ReadInteger();
    const int32_t n = reader.ReadInteger();
    TSchaltZeiten read;
    for (int32_t i = 0; i < n; ++i) {
        auto entry = std::make_unique<TSchaltZeit>();
        entry->ReadFromReader(reader);
        read.push_back(std::move(entry));
    }
    SwitchTimes = std::move(read);
    resize(size);
    update();
}

namespace {

QString Numbered(const char* key, size_t i)
{
    return QString::fromLatin1(key) + QString::number(i);
}

} // namespace

void TTimeSwitchElement::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + u'.' + ElementName;
    ini.WriteInteger(section, QStringLiteral("ActionCount"), int(SwitchTimes.size()));
    for (size_t i = 1; i <= SwitchTimes.size(); ++i) {
        const TSchaltZeit& e = *SwitchTimes[i - 1];
        ini.WriteInteger(section, Numbered("Hour", i), e.Hour);
        ini.WriteInteger(section, Numbered("Minute", i), e.Minute);
        ini.WriteInteger(section, Numbered("Second", i), e.Second);
        if (m_weekly)
            ini.WriteInteger(section, Numbered("Day", i), e.Day);
        ini.WriteBool(section, Numbered("Action", i), e.SwitchOn);
    }
}

bool TTimeSwitchElement::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    if (checkOnly && !ini.ValueExists(section, QStringLiteral("ActionCount")))
        return false;
    const int count = ini.ReadInteger(section, QStringLiteral("ActionCount"), 0);
    auto complete = [&](size_t i) {
        for (const char* key : {"Hour", "Minute", "Second", "Action"})
            if (!ini.ValueExists(section, Numbered(key, i)))
                return false;
        return !m_weekly || ini.ValueExists(section, Numbered("Day", i));
    };
    if (checkOnly) {
        for (int i = 1; i <= count; ++i)
            if (!complete(size_t(i)))
                return false;
        return true;
    }
    SwitchTimes.clear();
    // Only complete entries within the ranges of a time of day and a weekday are taken: a
    // hand-edited file cannot make an entry that never or always matches.
    for (int i = 1; i <= count && complete(size_t(i)); ++i) {
        const int hour = ini.ReadInteger(section, Numbered("Hour", size_t(i)), 0);
        const int minute = ini.ReadInteger(section, Numbered("Minute", size_t(i)), 0);
        const int second = ini.ReadInteger(section, Numbered("Second", size_t(i)), 0);
        const int day = m_weekly ? ini.ReadInteger(section, Numbered("Day", size_t(i)), 0) : 0;
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
            (m_weekly && (day < 1 || day > 7)))
            continue;
        auto entry = std::make_unique<TSchaltZeit>();
        entry->Hour = uint16_t(hour);
        entry->Minute = uint16_t(minute);
        entry->Second = uint16_t(second);
        entry->Day = uint16_t(day);
        entry->SwitchOn = ini.ReadBool(section, Numbered("Action", size_t(i)), false);
        SwitchTimes.push_back(std::move(entry));
    }
    SyncToNow();
    update();
    return true;
}

// --- Dialog ---------------------------------------------------------------------------------

int TTimeSwitchElement::EditProperties()
{
    TWochenUhr_Dlg dialog(m_weekly);
    dialog.setWindowTitle(Hint);
    dialog.HelpContext = HelpContext();
    dialog.SetColors(ZeichenFarbe, HintergrundFarbe);
    dialog.Zeiten = CopySwitchTimes(SwitchTimes);
    dialog.HintEdit->setText(Hint);
    dialog.cb_Editierbar->setChecked(LaufzeitEinstellbar);
    dialog.cb_Editierbar->setVisible(userEdit);
    const int result = ShowModal(dialog);
    if (result == mrOk) {
        LaufzeitEinstellbar = dialog.cb_Editierbar->isChecked();
        Hint = dialog.HintEdit->text();
        ZeichenFarbe = dialog.TextColor();
        SetHintergrundFarbe(dialog.BackgroundColor());
        SwitchTimes = CopySwitchTimes(dialog.Zeiten);
        SyncToNow();
    }
    update();
    return result;
}

// --- Published programme --------------------------------------------------------------------

void TTimeSwitchElement::WriteWebElement(QStringList& lines)
{
    if (!LaufzeitEinstellbar) {
        WriteWebPage(lines);
        return;
    }
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    for (const auto& e : SwitchTimes)
        lines << HtmlText(e->LineText(m_weekly)) + QStringLiteral("</BR>");
    lines << QStringLiteral("</BR>")
          << (m_weekly ? QStringLiteral("H;M;S;D;STAT</BR>") : QStringLiteral("H;M;S;STAT</BR>"));
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(HtmlText(WebState().BaseAddress));
    lines << QStringLiteral("<textarea name=\"") + HtmlText(WebFieldName()) +
                 QStringLiteral("\" cols=\"20\" rows=\"10\" wrap=\"off\">");
    for (const auto& e : SwitchTimes) {
        lines << QString::number(e->Hour) + u';' << QString::number(e->Minute) + u';'
              << QString::number(e->Second) + u';';
        if (m_weekly)
            lines << QString::number(e->Day) + u';';
        lines << (e->SwitchOn ? QStringLiteral("1") : QStringLiteral("0")) << QStringLiteral("\r");
    }
    lines << QStringLiteral("</textarea></BR>");
    lines << QStringLiteral("<input type=\"submit\" value=\"") +
                 HtmlText(Translate(QStringLiteral("Absenden"))) + QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

bool TTimeSwitchElement::ParseProgramme(const QString& text, TSchaltZeiten& result) const
{
    // Lines end at a carriage return, which takes the character after it along.
    QStringList textLines;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r')
            continue;
        if (i > start)
            textLines << text.mid(start, i - start);
        start = i + 2;
        i = start - 1;
    }
    if (start < text.size())
        textLines << text.mid(start);

    TSchaltZeiten parsed;
    const int fields = m_weekly ? 5 : 4;
    for (const QString& line : textLines) {
        QStringList pieces;
        const QStringList parts = line.split(u';');
        for (int k = 0; k < parts.size(); ++k) {
            const QString piece = k + 1 < parts.size() ? parts[k].trimmed() : parts[k];
            if (!piece.isEmpty())
                pieces << piece;
        }
        if (pieces.size() != fields)
            continue;
        uint16_t values[5] = {};
        for (int k = 0; k < fields; ++k) {
            bool ok = false;
            const int v = pieces[k].trimmed().toInt(&ok);
            if (!ok)
                return false;
            values[k] = uint16_t(v);
        }
        const uint16_t day = m_weekly ? values[3] : 0;
        if (values[0] > 23 || values[1] > 59 || values[2] > 59 || (m_weekly && (day < 1 || day > 7)))
            return false;
        auto entry = std::make_unique<TSchaltZeit>();
        entry->Hour = values[0];
        entry->Minute = values[1];
        entry->Second = values[2];
        entry->Day = day;
        entry->SwitchOn = values[fields - 1] != 0;
        parsed.push_back(std::move(entry));
    }
    result = std::move(parsed);
    return true;
}

void TTimeSwitchElement::WebSubmit(const QString& value)
{
    TSchaltZeiten parsed;
    if (!ParseProgramme(value, parsed))
        return;
    SwitchTimes = std::move(parsed);
    SortSwitchTimes(SwitchTimes);
    SyncToNow();
    update();
}
