#pragma once
// The oscilloscope's front-panel element: a frame that its component's oscilloscope window
// fills. The element adds the window's ten hotkeys, its settings, a property dialog (colour
// style, hotkeys, hint) and the published page with its controls, and stores its own size.

#include "frontpanel/FP_Element.h"

class TOscillograph;

class TFP_Scope : public TFP_Element {
public:
    FP_CLASS_NAME(TFP_Scope)

    explicit TFP_Scope(QWidget* owner = nullptr);
    ~TFP_Scope() override;

    static constexpr int kHotkeyCount = 10;
    static QStringList HotkeyActions();

    // The docked window; it fills the element inside the frame and ends with it.
    TOscillograph* Window = nullptr;

    // Fits the window into the frame.
    void DockWindow();
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);

    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebElement(QStringList& lines) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WriteWebImageMap(QStringList& lines) override;
    void WebAction(int32_t action) override;
    void WebSubmit(const QString& value) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
