#pragma once
// The front-panel element of the logic analyser: a frame that the analyser window fills. It
// gives the window ten hotkeys, the settings file keys, a property dialog (channel names and
// colours, background, hotkeys, hint), the published page with its controls, and stores its
// own size. Its background colour is the display's colour.

#include "frontpanel/FP_Element.h"

class TMyAnalyser;

class TFP_Analyser : public TFP_Element {
public:
    FP_CLASS_NAME(TFP_Analyser)

    explicit TFP_Analyser(QWidget* owner = nullptr);
    ~TFP_Analyser() override;

    // Docks a window into the element (it becomes a child that fills it); nullptr undocks.
    void SetWindow(TMyAnalyser* window);
    TMyAnalyser* Window() const { return m_window; }

    // Hotkey actions: 1 "= T+", 2 "= T-", 3 "= SYS", 4 "= TME", 5 "= EXT", 6 "= TGD",
    // 7 "= TGS", 8 "= TRG" on press; 9 "= PRT" on release.
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);
    static QStringList ActionNames();

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void SetHintergrundFarbe(int32_t color) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;
    void WebSubmit(const QString& value) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitWindow();
    TMyAnalyser* m_window = nullptr;
};
