#pragma once
// The stopwatch and alarm-clock elements, the front-panel faces of their components.
//
// The stopwatch shows an elapsed time HH:MM:SS:mmm; the component keeps the time in the
// element's counters (performance-counter readings) and calls UpdateDisplay, which writes the
// read-out only when the time it shows changed and repaints only the characters that changed. The operator's start, stop and reset (pop-up menu and
// hotkeys) reach the component through OnStart, OnStop and OnReset.
//
// The alarm clock shows the current weekday and time above the alarm weekday and time, and
// holds the alarm setting that its component compares with the clock. A hotkey resets the
// alarm through OnReset.

#include "frontpanel/FP_Element.h"

#include <QList>
#include <QRect>
#include <QStringList>

#include <cstdint>
#include <functional>

class QMenu;
class QSize;

// What the faces of the watches and time switches share: the inside of the frame filled with
// the background's gradient (unless the element is transparent or takes the panel's colour),
// that inner rectangle, and the head of their stream: the size (2 raw bytes each), then the
// text colour and the background (4 raw bytes each).
void PaintWatchFace(TFP_Element& e, TCanvas& canvas);
QRect WatchInnerRect(const TFP_Element& e);
void WriteWatchHead(TWriter& writer, const TFP_Element& e, int32_t textColor);
QSize ReadWatchHead(TReader& reader, int32_t& textColor, int32_t& background);

using TElementEvent = std::function<void(TFP_Element* sender)>;

class TStopUhr : public TFP_Element {
public:
    FP_CLASS_NAME(TStopUhr)
    explicit TStopUhr(QWidget* owner = nullptr);
    ~TStopUhr() override;

    int32_t ZiffernFarbe = 0;
    bool Laeuft = false;
    int64_t StartZaehler = 0;
    int64_t JetztZaehler = 0;
    QString Anzeige = QStringLiteral("00:00:00:000");
    QString AnzeigeAlt = QStringLiteral("00:00:00:000");
    TElementEvent OnStart;
    TElementEvent OnStop;
    TElementEvent OnReset;
    QStringList ActionNames;
    QMenu* PopupMenu = nullptr;

    // The elapsed milliseconds the read-out shows: a running watch shows tenths only. Fires
    // OnStop when the elapsed time has reached 99 hours.
    int64_t ShownMs();
    // The read-out of ShownMs.
    QString TimeText();
    // When the time shown changed: takes the new read-out, repaints the character cells that
    // changed and returns true.
    bool UpdateDisplay();
    // The cells to repaint when the text changes from `before` to `after` (HH:MM:SS and the
    // first millisecond digit; the rest is repainted whole by the component after a stop).
    QList<QRect> ChangedCells(const QString& before, const QString& after) const;
    // Pop-up menu items and hotkey actions: 1 start, 2 stop, 3 reset.
    void Request(int32_t action);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int DigitHeight() const;
    int TextLeft() const;

    int64_t m_shownMs = -1;  // what Anzeige shows; -1: not worked out yet
};

class TSchaltUhr : public TFP_Element {
public:
    FP_CLASS_NAME(TSchaltUhr)
    explicit TSchaltUhr(QWidget* owner = nullptr);
    ~TSchaltUhr() override;

    double AlarmZeit = 0.0;      // days; the fraction is the alarm time of day
    int32_t AlarmTag = 0;        // 0 every day, 1 Sunday .. 7 Saturday
    int32_t ZeitFarbe = 0;
    int32_t AlarmFarbe = 0x000080;
    QStringList Wochentage;      // "Täglich", "Sonntag" .. "Samstag" (index = AlarmTag)
    TElementEvent OnReset;
    QStringList ActionNames;

    // The alarm time of day in whole seconds (milliseconds dropped).
    int32_t AlarmSecondOfDay() const;
    // Sets the alarm time of day from hour, minute, second and milliseconds.
    void SetAlarmTime(int hour, int minute, int second, int msec = 0);
    // Repaints the current-time line.
    void InvalidateTimeArea();
    void HotkeyPressed(int32_t action);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebElement(QStringList& lines) override;
    void WebSubmit(const QString& value) override;
};
