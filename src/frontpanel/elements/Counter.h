#pragma once
// The counter of the front panel: 1 to 8 digit cells that show a whole number with leading
// zeros. It counts up and down with wrap-around, loads its preset on a hotkey or at reset,
// and keeps its count in the settings file. The digits are painted by a strip that repaints
// only the cells whose digit changed.

#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/PanelRepaint.h"

#include <QStringList>

#include <cstdint>

class TZiffern : public QWidget, public TTickRepaint {
public:
    explicit TZiffern(QWidget* owner = nullptr);

    int16_t Stellen = 4;
    int32_t Zaehlerstand = 0;
    int32_t Vorgabe = 0;
    bool Durchsichtig = false;
    int32_t ZiffernFarbe = 0xFFFFFF;

    // The digit text of the count: the count padded with "0" to the digits it had when the
    // count last changed (at most 255 characters). Worked out when asked for, not in the step
    // that changes the count.
    const QString& ZiffernText() const;

    // Cell i (from 0) spans CellLeft(i) .. CellLeft(i + 1).
    int CellLeft(int i) const;
    // After a change of the count: the text is due, the changed cells repaint at the tick.
    void CountChanged();
    void SetDurchsichtig(bool transparent);
    // At the tick: the cells whose digit differs from the text asked to be painted last.
    void RepaintChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What a change while hidden left open: what was painted last is what is shown now.
    void TakeShownAsPainted();

    QString m_painted;
    mutable QString m_text;
    mutable bool m_textDue = true;
    int16_t m_textDigits = 4;      // the digits the text is padded to
    bool m_changedHidden = false;  // changed while hidden: shown again, it paints everything
};

class TCounter : public TFP_Element {
public:
    FP_CLASS_NAME(TCounter)

    explicit TCounter(QWidget* owner = nullptr);

    TZiffern* Ziffern = nullptr;
    QStringList ActionNames;

    int32_t GetCZaehlerstand() const { return Ziffern->Zaehlerstand; }
    // Above the largest value becomes 0, below 0 the largest value.
    void SetCZaehlerstand(int32_t v);
    void SetCStellen(int n);
    void Increment() { SetCZaehlerstand(GetCZaehlerstand() + 1); }
    void Decrement() { SetCZaehlerstand(GetCZaehlerstand() - 1); }
    void HotkeyAction(int32_t action);
    // Width for the digits at the element's height.
    void FitWidth();

    void ApplyStartValue() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    bool GetBisteHSkalierbar() const override { return true; }
    bool GetBisteVSkalierbar() const override { return true; }
    void SetBisteTransparent(bool transparent) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
