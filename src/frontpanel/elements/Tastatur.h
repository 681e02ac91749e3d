#pragma once
// The keyboard of the front panel: a text field into which the operator types while the
// circuit runs. The element keeps the code of the last character typed and whether its key is
// still held; the typed text stays in the field until it is cleared.

#include "frontpanel/elements/TextAreaElement.h"

#include <QPlainTextEdit>

#include <cstdint>

class TTastatur;

// The text field: reports typed characters and key releases to its element.
class TTastaturField : public QPlainTextEdit {
public:
    explicit TTastaturField(TTastatur* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    TTastatur* m_owner;
};

class TTastatur : public TTextAreaElement {
public:
    FP_CLASS_NAME(TTastatur)

    explicit TTastatur(QWidget* owner = nullptr);

    TTastaturField* Field = nullptr;
    uint8_t Zeichen = 0;     // code of the last character typed (Windows-1252)
    bool Gedrueckt = false;  // from a character until the next key release

    // A character was typed / a key released in the field.
    void CharTyped(QChar c);
    void KeyReleased();

    void SaveSettings(TIniFile& ini, const QString& path) override;
    bool LoadSettings(TIniFile& ini, const QString& path, bool checkOnly) override;
};
