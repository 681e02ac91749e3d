#include "frontpanel/elements/Watches.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/SwitchTimes.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/Gradient.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QMenu>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The rows every watch's dialog ends with: its hotkeys and the hint.
void AddHotkeyAndOptionRows(TPropScrollbox& sheet, TFP_Element& e, const QStringList& actions)
{
    sheet.AddCaptionProp(Translate(QStringLiteral("Hotkeys")));
    int n = 1;
    for (auto& hotkey : e.Hotkeys)
        sheet.AddHotkeyProp(Translate(QStringLiteral("Hotkey")) + u' ' + QString::number(n++), *hotkey,
                            &actions);
    sheet.AddCaptionProp(Translate(QStringLiteral("Optionen")));
    sheet.AddEditProp(Translate(QStringLiteral("Hinweistext")), e.Hint, 0, 190);
    if (e.userEdit)
        sheet.AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")), e.LaufzeitEinstellbar);
}

// The settings dialog of a watch: caption = the hint, the help topic.
TDefault_Dlg& WatchDialog(TFP_Element& e, int32_t helpContext)
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(e.Hint);
    dlg.HelpContext = helpContext;
    return dlg;
}

// The background row, only where the element has a background of its own; whether it has.
bool AddBackgroundRow(TPropScrollbox& sheet, const TFP_Element& e, int32_t& background)
{
    const bool own = !e.BackgroundFromPanel && !e.GetBisteTransparent();
    if (own)
        sheet.AddColorProp(Translate(QStringLiteral("Hintergrund")), background);
    return own;
}

void WriteRawDouble(TWriter& writer, double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits = qToLittleEndian(bits);
    writer.WriteBuffer(&bits, sizeof bits);
}

double ReadRawDouble(TReader& reader)
{
    const QByteArray bytes = reader.ReadBytes(8);
    uint64_t bits = qFromLittleEndian<uint64_t>(bytes.constData());
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString TwoDigits(int64_t n)
{
    return QString::number(n).rightJustified(2, u'0');
}

} // namespace

void PaintWatchFace(TFP_Element& e, TCanvas& canvas)
{
    const int f = e.FrameWidth();
    if (!e.GetBisteTransparent() && !e.BackgroundFromPanel)
        FillGradient(canvas, f, f, e.width() - f, e.height() - f, e.HintergrundFarbe,
                     ScaleColor(e.HintergrundFarbe, 0.92), true);
}

QRect WatchInnerRect(const TFP_Element& e)
{
    const int f = e.FrameWidth();
    return QRect(f, f, e.width() - 2 * f, e.height() - 2 * f);
}

void WriteWatchHead(TWriter& writer, const TFP_Element& e, int32_t textColor)
{
    writer.WriteRawInt16(int16_t(std::min(e.width(), 32767)));
    writer.WriteRawInt16(int16_t(std::min(e.height(), 32767)));
    writer.WriteRawInt32(textColor);
    writer.WriteRawInt32(e.HintergrundFarbe);
}

QSize ReadWatchHead(TReader& reader, int32_t& textColor, int32_t& background)
{
    const int w = reader.ReadRawInt16();
    const int h = reader.ReadRawInt16();
    textColor = reader.ReadRawInt32();
    background = reader.ReadRawInt32();
    return QSize(std::max(w, 0), std::max(h, 0));
}

// --- Stopwatch ------------------------------------------------------------------------------

TStopUhr::TStopUhr(QWidget* owner)
    : TFP_Element(owner)
{
    resize(128, 32);
    SetHintergrundFarbe(0xC0C0C0);
    BevelOuter = bvLowered;
    BevelWidth = 2;
    PopupMenu = new QMenu(this);
    const struct {
        const char* caption;
        int32_t tag;
    } items[] = {{"Start", 1}, {"Stop", 2}, {nullptr, 0}, {"Reset", 3}};
    for (const auto& item : items) {
        if (!item.caption) {
            PopupMenu->addSeparator();
            continue;
        }
        const int32_t tag = item.tag;
        PopupMenu->addAction(QString::fromLatin1(item.caption), this, [this, tag] { Request(tag); });
    }
    Hint = Lang3Q("Stoppuhr", "Stop watch", "Chronomètre");
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= RUN"), QStringLiteral("= STP"),
                   QStringLiteral("= RST")};
    for (int i = 0; i < 10; ++i)
        AddHotkey().OnPress = [this](THotkey* sender) { Request(sender->Action); };
}

TStopUhr::~TStopUhr() = default;

void TStopUhr::Request(int32_t action)
{
    const TElementEvent& event = action == 1 ? OnStart : action == 2 ? OnStop : action == 3 ? OnReset
                                                                                             : TElementEvent();
    if (event)
        event(this);
}

void TStopUhr::contextMenuEvent(QContextMenuEvent* event)
{
    PopupMenu->popup(event->globalPos());
}

int64_t TStopUhr::ShownMs()
{
    auto elapsedMs = [this] {
        const int64_t f = std::max<int64_t>(1, Clock().PerformanceFrequency());
        const int64_t ticks = std::max<int64_t>(0, JetztZaehler - StartZaehler);
        return ticks / f * 1000 + ticks % f * 1000 / f;
    };
    int64_t e = elapsedMs();
    if (e / 3600000 > 98 && OnStop) {
        OnStop(this);
        e = elapsedMs();
    }
    return Laeuft ? e - e % 100 : e;
}

namespace {

QString ReadOut(int64_t e)
{
    const int64_t h = e / 3600000;
    const int64_t m = (e - h * 3600000) / 60000;
    const int64_t s = (e - h * 3600000 - m * 60000) / 1000;
    const int64_t ms = e % 1000;
    return TwoDigits(h) + u':' + TwoDigits(m) + u':' + TwoDigits(s) + u':' +
           QString::number(ms).rightJustified(3, u'0');
}

} // namespace

QString TStopUhr::TimeText()
{
    return ReadOut(ShownMs());
}

int TStopUhr::DigitHeight() const
{
    // The height that fills the element, made smaller where the fonts of this system are too
    // wide for the whole read-out to fit.
    const int full = std::max(1, height() - 2 * FrameWidth() - 4);
    TCanvas canvas;
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.SetFontHeight(full);
    int needed = canvas.TextWidth(QStringLiteral("00:00:00")) + canvas.TextWidth(QStringLiteral("l"));
    canvas.SetFontHeight(int(std::lround(0.75 * full)));
    needed += canvas.TextWidth(QStringLiteral(":000"));
    const int room = width() - FrameWidth() - TextLeft() - 2;
    if (needed <= room || needed <= 0)
        return full;
    return std::max(1, int(full * double(std::max(room, 1)) / needed));
}

int TStopUhr::TextLeft() const
{
    return FrameWidth() + height() / 12 + 2;
}

QList<QRect> TStopUhr::ChangedCells(const QString& before, const QString& after) const
{
    QList<QRect> cells;
    TCanvas canvas;
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.SetFontHeight(DigitHeight());
    const int top = FrameWidth() + 2;
    const int n = int(std::min(before.size(), after.size()));
    for (int i = 0; i < std::min(n, 8); ++i) {
        if (before[i] == after[i])
            continue;
        const int left = TextLeft() + canvas.TextWidth(after.left(i));
        const QString c = after.mid(i, 1);
        cells << QRect(left, top, canvas.TextWidth(c), canvas.TextHeight(c));
    }
    if (n > 9 && before[9] != after[9]) {
        const int fullWidth = canvas.TextWidth(after.left(8)) + canvas.TextWidth(QStringLiteral("l"));
        canvas.SetFontHeight(int(std::lround(0.75 * DigitHeight())));
        const int left = TextLeft() + fullWidth + canvas.TextWidth(QStringLiteral(":"));
        const QString c = after.mid(9, 1);
        cells << QRect(left, top, canvas.TextWidth(c), canvas.TextHeight(c));
    }
    return cells;
}

bool TStopUhr::UpdateDisplay()
{
    // A running watch calls this in every step: the text is only made when the time shown
    // changes, and a hidden watch repaints whole when it is shown.
    const int64_t ms = ShownMs();
    if (ms == m_shownMs)
        return false;
    m_shownMs = ms;
    Anzeige = ReadOut(ms);
    if (isVisible())
        for (const QRect& cell : ChangedCells(AnzeigeAlt, Anzeige))
            update(cell);
    AnzeigeAlt = Anzeige;
    return true;
}

void TStopUhr::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    PaintWatchFace(*this, canvas);
    QPainter* painter = canvas.Painter();
    if (!painter)
        return;
    painter->save();
    painter->setClipRect(WatchInnerRect(*this));
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.SetFontHeight(DigitHeight());
    canvas.FontColor = ZiffernFarbe;
    canvas.TransparentText = true;
    const int top = FrameWidth() + 2;
    const QString whole = Anzeige.left(8);
    canvas.TextOut(TextLeft(), top, whole);
    const int smallLeft = TextLeft() + canvas.TextWidth(whole) + canvas.TextWidth(QStringLiteral("l"));
    canvas.SetFontHeight(int(std::lround(0.75 * DigitHeight())));
    canvas.TextOut(smallLeft, top, Anzeige.mid(8));
    painter->restore();
}

void TStopUhr::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    WriteWatchHead(writer, *this, ZiffernFarbe);
}

void TStopUhr::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    resize(ReadWatchHead(reader, ZiffernFarbe, HintergrundFarbe));
    update();
}

int TStopUhr::EditProperties()
{
    TDefault_Dlg& dlg = WatchDialog(*this, 18200);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t digits = ZiffernFarbe;
    int32_t background = HintergrundFarbe;
    sheet.AddColorProp(Translate(QStringLiteral("Farbe")), digits);
    const bool ownBackground = AddBackgroundRow(sheet, *this, background);
    AddHotkeyAndOptionRows(sheet, *this, ActionNames);
    const int result = dlg.Execute();
    if (result == 1) {
        ZiffernFarbe = digits;
        if (ownBackground)
            SetHintergrundFarbe(background);
    }
    update();
    return result;
}

// --- Alarm clock ----------------------------------------------------------------------------

TSchaltUhr::TSchaltUhr(QWidget* owner)
    : TFP_Element(owner)
{
    resize(128, 48);
    SetHintergrundFarbe(0xC0C0C0);
    BevelOuter = bvLowered;
    BevelWidth = 2;
    Hint = Lang3Q("Wecker", "Alarm clock", "Heure d´alarme");
    LaufzeitEinstellbar = true;
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= RST")};
    for (int i = 0; i < 5; ++i)
        AddHotkey().OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
    for (const char* day : {"Täglich", "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag",
                            "Freitag", "Samstag"})
        Wochentage << Translate(QString::fromUtf8(day));
}

TSchaltUhr::~TSchaltUhr() = default;

int32_t TSchaltUhr::AlarmSecondOfDay() const
{
    if (!std::isfinite(AlarmZeit))
        return 0;
    const double fraction = std::fabs(AlarmZeit - std::trunc(AlarmZeit));
    const int64_t ms = std::llround(fraction * 86400000.0);
    return int32_t(ms / 1000 % 86400);
}

void TSchaltUhr::SetAlarmTime(int hour, int minute, int second, int msec)
{
    AlarmZeit = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
}

void TSchaltUhr::InvalidateTimeArea()
{
    const int f = FrameWidth();
    update(QRect(QPoint(f, f), QPoint(width() - f - 1, height() / 2 - 2)));
}

void TSchaltUhr::HotkeyPressed(int32_t action)
{
    if (action == 1 && OnReset)
        OnReset(this);
}

void TSchaltUhr::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    PaintWatchFace(*this, canvas);
    QPainter* painter = canvas.Painter();
    if (!painter)
        return;
    const int f = FrameWidth();
    const int h = height();
    const int fontHeight = (h - 2 * f - 4) / 2;
    painter->save();
    painter->setClipRect(WatchInnerRect(*this));
    canvas.Font.setFamily(QStringLiteral("Arial"));
    canvas.SetFontHeight(fontHeight);
    canvas.TransparentText = true;
    const int x0 = f + h / 6 + 2;
    const int x1 = f + h / 6 + int(std::lround(1.7 * fontHeight)) + 2;
    canvas.FontColor = AlarmFarbe;
    if (AlarmTag > 0)
        canvas.TextOut(x0, h / 2, WeekdayAbbreviation(AlarmTag) + QStringLiteral(", "));
    const int alarm = AlarmSecondOfDay();
    canvas.TextOut(x1, h / 2, LongTimeText(QTime(alarm / 3600, alarm / 60 % 60, alarm % 60)));
    const QDateTime now = Clock().LocalTime();
    canvas.FontColor = ZeitFarbe;
    canvas.TextOut(x0, f + 2, WeekdayAbbreviation(WeekdayOf(now)) + QStringLiteral(", "));
    canvas.TextOut(x1, f + 2, LongTimeText(now.time()));
    painter->restore();
}

void TSchaltUhr::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    WriteWatchHead(writer, *this, ZeitFarbe);
    writer.WriteRawInt32(AlarmFarbe);
    WriteRawDouble(writer, AlarmZeit);
    writer.WriteInteger(AlarmTag);
}

void TSchaltUhr::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const QSize size = ReadWatchHead(reader, ZeitFarbe, HintergrundFarbe);
    AlarmFarbe = reader.ReadRawInt32();
    AlarmZeit = ReadRawDouble(reader);
    resize(size);
    if (version >= 2) {
        const int32_t day = reader.ReadInteger();
        AlarmTag = day >= 0 && day <= 7 ? day : 0;
    }
    update();
}

int TSchaltUhr::EditProperties()
{
    TDefault_Dlg& dlg = WatchDialog(*this, 18205);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    double alarm = AlarmZeit;
    int32_t day = AlarmTag;
    int32_t timeColour = ZeitFarbe;
    int32_t alarmColour = AlarmFarbe;
    int32_t background = HintergrundFarbe;
    sheet.AddCaptionProp(Translate(QStringLiteral("Alarm")));
    sheet.AddDayTimeProp(Translate(QStringLiteral("Zeit")), alarm);
    sheet.AddComboProp(Translate(QStringLiteral("Wochentag")), day, Wochentage, 120);
    sheet.AddCaptionProp(Translate(QStringLiteral("Farbe")));
    sheet.AddColorProp(Translate(QStringLiteral("Zeit")), timeColour);
    sheet.AddColorProp(Translate(QStringLiteral("Alarm")), alarmColour);
    const bool ownBackground = AddBackgroundRow(sheet, *this, background);
    AddHotkeyAndOptionRows(sheet, *this, ActionNames);
    const int result = dlg.Execute();
    if (result == 1) {
        AlarmZeit = alarm;
        AlarmTag = day >= 0 && day <= 7 ? day : 0;
        ZeitFarbe = timeColour;
        AlarmFarbe = alarmColour;
        if (ownBackground)
            SetHintergrundFarbe(background);
    }
    update();
    return result;
}

void TSchaltUhr::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString section = path + u'.' + ElementName;
    const int alarm = AlarmSecondOfDay();
    ini.WriteInteger(section, QStringLiteral("Hour"), alarm / 3600);
    ini.WriteInteger(section, QStringLiteral("Minute"), alarm / 60 % 60);
    ini.WriteInteger(section, QStringLiteral("Second"), alarm % 60);
    ini.WriteInteger(section, QStringLiteral("Day"), AlarmTag);
}

bool TSchaltUhr::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + u'.' + ElementName;
    const QString keys[] = {QStringLiteral("Hour"), QStringLiteral("Minute"), QStringLiteral("Second"),
                            QStringLiteral("Day")};
    if (checkOnly)
        return std::all_of(std::begin(keys), std::end(keys),
                           [&](const QString& key) { return ini.ValueExists(section, key); });
    // Values outside a time of day or a weekday are taken as 0, so the alarm stays a time.
    auto read = [&](const QString& key, int max) {
        const int v = ini.ReadInteger(section, key, 0);
        return v >= 0 && v <= max ? v : 0;
    };
    AlarmTag = read(keys[3], 7);
    SetAlarmTime(read(keys[0], 23), read(keys[1], 59), read(keys[2], 59));
    update();
    return true;
}

void TSchaltUhr::WriteWebElement(QStringList& lines)
{
    if (!LaufzeitEinstellbar) {
        WriteWebPage(lines);
        return;
    }
    const int alarm = AlarmSecondOfDay();
    const int values[] = {alarm / 3600, alarm / 60 % 60, alarm % 60, AlarmTag};
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << HtmlText(Translate(QStringLiteral("Alarm")) + QStringLiteral(" (H:M:S-") +
                      Translate(QStringLiteral("Wochentag")) + u')');
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(HtmlText(WebState().BaseAddress));
    const struct {
        const char* lead;
        QChar prefix;
        int last;
    } lists[] = {{"", u'H', 23}, {":", u'M', 59}, {":", u'S', 59}, {"-", u'D', 7}};
    for (int k = 0; k < 4; ++k) {
        lines << QString::fromLatin1(lists[k].lead) + QStringLiteral("<select name=\"") +
                     HtmlText(WebFieldName()) + QStringLiteral("\">");
        for (int n = 0; n <= lists[k].last; ++n) {
            const QString text = k == 3 && n < Wochentage.size() ? HtmlText(Wochentage[n]) : QString::number(n);
            lines << QStringLiteral("<option VALUE=\"") + lists[k].prefix + QString::number(n) +
                         (n == values[k] ? QStringLiteral("\"selected>") : QStringLiteral("\">")) + text;
        }
        lines << (k == 3 ? QStringLiteral("</select></BR></BR>") : QStringLiteral("</select>"));
    }
    lines << QStringLiteral("<input type=\"submit\" value=\"") +
                 HtmlText(Translate(QStringLiteral("Absenden"))) + QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

void TSchaltUhr::WebSubmit(const QString& value)
{
    if (value.size() < 2)
        return;
    bool ok = false;
    const int n = value.mid(1).toInt(&ok);
    if (!ok)
        return;
    const int alarm = AlarmSecondOfDay();
    int h = alarm / 3600, m = alarm / 60 % 60, s = alarm % 60;
    // A value outside its list is refused: the alarm stays a time of day and a weekday.
    switch (value[0].unicode()) {
    case 'D':
        if (n < 0 || n > 7)
            return;
        AlarmTag = n;
        break;
    case 'H':
        if (n < 0 || n > 23)
            return;
        h = n;
        break;
    case 'M':
        if (n < 0 || n > 59)
            return;
        m = n;
        break;
    case 'S':
        if (n < 0 || n > 59)
            return;
        s = n;
        break;
    default:
        return;
    }
    SetAlarmTime(h, m, s);
    update();
}
