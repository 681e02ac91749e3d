#include "frontpanel/elements/Tastatur.h"

#include "platform/Context.h"
#include "platform/Cp1252.h"
#include "platform/IniFile.h"

#include <QKeyEvent>

#include <algorithm>

TTastaturField::TTastaturField(TTastatur* owner)
    : QPlainTextEdit(owner)
    , m_owner(owner)
{
}

void TTastaturField::keyPressEvent(QKeyEvent* event)
{
    // Enter types a carriage return, as the field's text has it.
    const QString typed = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
                              ? QStringLiteral("\r")
                              : event->text();
    if (!typed.isEmpty())
        m_owner->CharTyped(typed.at(0));
    QPlainTextEdit::keyPressEvent(event);
}

void TTastaturField::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        m_owner->KeyReleased();
    QPlainTextEdit::keyReleaseEvent(event);
}

TTastatur::TTastatur(QWidget* owner)
    : TTextAreaElement(owner)
{
    BevelInner = bvLowered;
    BevelWidth = 2;
    Field = new TTastaturField(this);
    SetArea(Field);
    setFocusPolicy(Qt::TabFocus);
    setFocusProxy(Field);
    SetHintergrundFarbe(0xFFFFFF);
    resize(128, 32);
    Hint = Lang3Q("ASCII-Eingabefeld", "ASCII input field", "Entrée de saisie ASCII");
}

void TTastatur::CharTyped(QChar c)
{
    Zeichen = uint8_t(ToCp1252(QString(c)).at(0));
    Gedrueckt = true;
}

void TTastatur::KeyReleased()
{
    Gedrueckt = false;
}

void TTastatur::SaveSettings(TIniFile& ini, const QString& path)
{
    ini.WriteInteger(path + QLatin1Char('.') + ElementName, QStringLiteral("Value"), Zeichen);
}

bool TTastatur::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString section = path + QLatin1Char('.') + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Value"));
    // The code is a byte: a stored value outside 0 .. 255 is taken at the nearer end.
    Zeichen = uint8_t(std::clamp(ini.ReadInteger(section, QStringLiteral("Value"), 0), 0, 255));
    return true;
}
