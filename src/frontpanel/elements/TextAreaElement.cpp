#include "frontpanel/elements/TextAreaElement.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/ElementRows.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

namespace {
constexpr int kHotkeys = 5;
} // namespace

TTextAreaElement::TTextAreaElement(QWidget* owner)
    : TFP_Element(owner)
{
    ActionNames = {QStringLiteral(" ---"), QStringLiteral("= CLR")};
}

void TTextAreaElement::SetArea(QPlainTextEdit* area)
{
    m_area = area;
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->viewport()->installEventFilter(this);
    AddActionHotkeys(*this, kHotkeys, [this](int32_t action) {
        if (action == 1)
            ClearText();
    });
    ApplyAreaColors();
}

void TTextAreaElement::SetAreaFontColor(int32_t colour)
{
    m_fontColor = colour;
    ApplyAreaColors();
}

void TTextAreaElement::ClearText()
{
    if (!m_area->document()->isEmpty())
        m_area->clear();
}

QString TTextAreaElement::Text() const
{
    ApplyPending();
    return m_area->toPlainText();
}

void TTextAreaElement::ApplyAreaColors()
{
    if (!m_area)
        return;
    QPalette pal = m_area->palette();
    pal.setColor(QPalette::Base, TColorToQColor(HintergrundFarbe));
    pal.setColor(QPalette::Text, TColorToQColor(m_fontColor));
    m_area->setPalette(pal);
}

void TTextAreaElement::SetHintergrundFarbe(int32_t color)
{
    const bool changed = color != HintergrundFarbe;
    TFP_Element::SetHintergrundFarbe(color);
    if (changed)
        ApplyAreaColors();
}

void TTextAreaElement::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    const int f = FrameWidth();
    if (m_area)
        m_area->setGeometry(f, f, std::max(0, width() - 2 * f), std::max(0, height() - 2 * f));
}

bool TTextAreaElement::eventFilter(QObject* watched, QEvent* event)
{
    if (m_area && watched == m_area->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        DblClickEdit();
        return true;
    }
    return TFP_Element::eventFilter(watched, event);
}

void TTextAreaElement::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    const QFont font = m_area->font();
    writer.WriteString(font.family());
    writer.WriteInteger(int16_t(FontHeightOf(font)));
    writer.WriteRawByte(uint8_t((font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) |
                                (font.strikeOut() ? 8 : 0)));
    writer.WriteRawInt32(m_fontColor);
    writer.WriteRawInt32(HintergrundFarbe);
}

void TTextAreaElement::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = std::max(0, reader.ReadInteger());
    const int h = std::max(0, reader.ReadInteger());
    resize(w, h);
    QFont font = m_area->font();
    const QString family = reader.ReadString();
    if (!family.isEmpty())
        font.setFamily(family);
    const int16_t height = int16_t(reader.ReadInteger());
    if (height != 0)
        SetFontHeight(font, height);
    const uint8_t style = reader.ReadRawByte();
    font.setBold(style & 1);
    font.setItalic(style & 2);
    font.setUnderline(style & 4);
    font.setStrikeOut(style & 8);
    m_area->setFont(font);
    // System colours (negative) are kept out.
    const int32_t fontColor = reader.ReadRawInt32();
    const int32_t areaColor = reader.ReadRawInt32();
    if (fontColor >= 0)
        SetAreaFontColor(fontColor);
    if (areaColor >= 0)
        SetHintergrundFarbe(areaColor);
    ApplyAreaColors();  // the common data may have set the background without the area
    update();
}

int TTextAreaElement::EditProperties()
{
    TDefault_Dlg& dlg = ElementDialog(*this, 0);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    sheet.AddCaptionProp(Translate(QStringLiteral("Farbe")));
    int32_t colour = m_fontColor;
    sheet.AddColorProp(Translate(QStringLiteral("Text")), colour);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = AddBackgroundRow(*this, sheet, background);
    sheet.AddCaptionProp(Translate(QStringLiteral("Schriftart")));
    QFont font = m_area->font();
    sheet.AddFontNameProp(Translate(QStringLiteral("Schriftart")), font);
    sheet.AddFontStyleProp(Translate(QStringLiteral("Stil")), font);
    AddHotkeyAndOptionRows(*this, sheet, ActionNames);
    const int result = dlg.Execute();
    if (result == 1) {
        SetAreaFontColor(colour);
        m_area->setFont(font);
        if (ownBackground)
            SetHintergrundFarbe(background);
        update();
    }
    return result;
}
