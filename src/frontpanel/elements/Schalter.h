#pragma once
// The switch and push-button element. One class serves both: a switch keeps its state until
// the next actuation, a push button (Taster) is on only while it is held. The state changes
// with the mouse, the wheel (switches), the keys Space, Page Up/Down, End and Home when the
// element has the focus, its ten hotkeys and a click on the published page. The component
// reads the state once per step (GetEingeschaltet). Four looks: a picture of a real switch
// from the built-in set (turned in quarter turns), a gradient button, two pictures of the
// user's, or a plastic lamp.

#include "frontpanel/FP_Element.h"

#include <QImage>
#include <QStringList>

#include <cstdint>

class TGradBtn;
class TITemboLED;

enum TFarbe : uint8_t { schwarz, gruen, gelb, rot, blau };
enum TSchalterTyp : uint8_t {
    Kippschalter,
    Druckschalter,
    Wippschalter,
    Drehschalter,
    Kippschalter2,
    Wippe1,
    Wippe2,
    Wippe3,
    Wippe4,
    Drehschalter2,
    Drucktaster
};

// Looks of the element (Darstellung).
enum : int16_t { dsBild = 0, dsSchaltflaeche = 1, dsBenutzerBild = 2, dsPlastik = 3 };

class TSchalter : public TFP_Element {
public:
    FP_CLASS_NAME(TSchalter)

    explicit TSchalter(QWidget* owner = nullptr);
    ~TSchalter() override;

    uint8_t Farbe = schwarz;
    uint8_t Typ = Kippschalter2;
    bool Taster = false;
    bool Vorgabe = false;        // start state
    int16_t Darstellung = dsBild;
    uint8_t Drehung = 0;         // quarter turns clockwise of the picture set
    QImage BildEin;              // shown while on (picture set and user pictures)
    QImage BildAus;              // shown while off
    bool BilderTransparent = false;  // the pictures' top-left colour is left out
    TGradBtn* Schaltflaeche = nullptr;  // face of the button look (owned child)
    TITemboLED* Lampe = nullptr;        // face of the plastic-lamp look (owned child)
    QStringList ActionNames;     // names of the hotkey actions

    // The state. Reading it also ends a pulse of a published-page click once more than 250 ms
    // have passed: the read that ends it still returns on, the next one off.
    bool GetEingeschaltet();
    // The state without ending a pulse (painting, streaming).
    bool State() const { return m_on; }
    void SetEingeschaltet(bool on);
    // Reloads the pictures of the picture set (turned by Drehung) and snaps a picture look
    // that does not scale to the picture size plus the frame.
    void SetFarbe(uint8_t farbe);
    void SetTyp(uint8_t typ);
    // Push button: hint "Taster" and the push switch picture; the hotkey action names follow.
    void SetTaster(bool taster);
    // Shows exactly the face of the current look.
    void ShowLookFaces();

    // Operator actions (mouse, keys, hotkeys and the published page come here).
    void Press();    // push button on / switch toggles
    void Release();  // push button off
    // Hotkey action numbers: 1 toggle (push button: press), 2 on, 3 off, 4 start value.
    void HotkeyPressed(int32_t action);
    void HotkeyReleased(int32_t action);

    void Paint(TCanvas& canvas) override;
    void WriteElementData(TWriter& writer) override;
    void ReadElementData(TReader& reader, uint8_t version) override;
    int EditProperties() override;
    void EditFrameAndBackground() override;
    void SetBisteTransparent(bool transparent) override;
    bool GetBisteHSkalierbar() const override;
    bool GetBisteVSkalierbar() const override;
    void ApplyStartValue() override;
    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
    void WriteWebSnapshot(QStringList& lines) override;
    void WebAction(int32_t action) override;

    // The picture that the current state shows in looks 0 and 2, with its key colour left out
    // when the pictures are transparent.
    QImage ShownPicture() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool Scalable() const;
    void ApplyPictureTransparency();
    bool m_on = false;
    bool m_pulse = false;       // a published-page click holds a push button
    uint32_t m_pulseStart = 0;  // tick count of that click
};
