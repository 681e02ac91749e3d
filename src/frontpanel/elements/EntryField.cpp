#include "frontpanel/elements/EntryField.h"

#include "core/model/Translator.h"
#include "frontpanel/elements/ElementRows.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"
#include "widgets/SpeedButton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace {

constexpr int kButtonWidth = 17;

// The accept button's picture: a return arrow on the glyph key colour.
QImage ReturnGlyph()
{
    QImage glyph(11, 9, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 255));
    QPainter p(&glyph);
    p.setPen(QColor(0, 0, 0));
    p.drawLine(9, 0, 9, 5);
    p.drawLine(2, 5, 9, 5);
    p.setBrush(QColor(0, 0, 0));
    p.drawPolygon(QPolygon({QPoint(0, 5), QPoint(3, 2), QPoint(3, 8)}));
    return glyph;
}

} // namespace

// --- The edit --------------------------------------------------------------------------------

TEntryEdit::TEntryEdit(TEntryField* owner)
    : TWLXEdit(owner)
    , m_owner(owner)
{
}

void TEntryEdit::keyPressEvent(QKeyEvent* event)
{
    if (!m_owner) {
        TWLXEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_owner->AcceptInput();
        event->accept();
        return;
    }
    // Keys that only move the caret or are modifiers leave an accepted value alone.
    if (!event->text().isEmpty() || event->key() == Qt::Key_Delete)
        m_owner->EditKeyDown();
    TWLXEdit::keyPressEvent(event);
}

void TEntryEdit::focusInEvent(QFocusEvent* event)
{
    TWLXEdit::focusInEvent(event);
    SetSelLength(0);
}

void TEntryEdit::focusOutEvent(QFocusEvent* event)
{
    TWLXEdit::focusOutEvent(event);
    // Another window taking the focus is no leaving of the edit.
    if (m_owner && event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_owner->EditLeft();
}

void TEntryEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    TWLXEdit::mouseDoubleClickEvent(event);
    if (m_owner)
        m_owner->DblClickEdit();
}

// --- The element -----------------------------------------------------------------------------

TEntryField::TEntryField(QWidget* owner)
    : TFP_Element(owner)
{
    BevelOuter = bvLowered;
    BevelWidth = 1;
    BorderWidth = 0;
    Edit = new TEntryEdit(this);
    Edit->Bevel().SetMode(TWLXBevelMode::bmCustom);
    QFont font(QStringLiteral("Arial"));
    Edit->setFont(font);
    Edit->OnChange = [this](void*) { EditTextChanged(); };
    AcceptButton = new TWLXSpeedButton(this);
    AcceptButton->SetGlyph(ReturnGlyph());
    AcceptButton->ButtonLayout().SetAlignment(TWLXAlignment::agBottomCenter);
    AcceptButton->ButtonLayout().SetSpacing(0);
    AcceptButton->setFocusPolicy(Qt::NoFocus);
    connect(AcceptButton, &QToolButton::clicked, this, [this] { AcceptInput(); });
    HintergrundFarbe = -1;  // so that the first colour reaches the edit
    SetHintergrundFarbe(0);
    ApplyEditColors(HintergrundFarbe, ZeichenFarbe);
}

TEntryField::~TEntryField()
{
    // The edit loses the focus while it goes: no value is announced any more.
    OnSetWert = nullptr;
    Edit->OnChange = nullptr;
    Edit->Detach();
}

QString TEntryField::EditText() const
{
    return Edit->Text();
}

void TEntryField::SetEditText(const QString& text)
{
    Edit->SetText(text);
}

void TEntryField::FireSetWert()
{
    if (OnSetWert)
        OnSetWert();
}

void TEntryField::ApplyEditColors(int32_t background, int32_t text)
{
    Edit->SetColor(background);
    QPalette pal = Edit->palette();
    pal.setColor(QPalette::Text, TColorToQColor(text));
    Edit->setPalette(pal);
    Edit->update();
}

void TEntryField::ShowAccepted()
{
    m_editing = false;
    ApplyEditColors(HintergrundFarbe, ZeichenFarbe);
    update();
}

void TEntryField::EditTextChanged()
{
    m_editing = true;
    ApplyEditColors(~ZeichenFarbe & 0xFFFFFF, ZeichenFarbe);
}

void TEntryField::EditLeft()
{
    AcceptInput();
}

void TEntryField::resizeEvent(QResizeEvent* event)
{
    const int f = FrameWidth();
    const int editHeight = std::max(0, height() - 6);
    Edit->setGeometry(f + 1, (height() - editHeight) / 2, std::max(0, width() - 21), editHeight);
    AcceptButton->setGeometry(width() - f - kButtonWidth, f, kButtonWidth, std::max(0, height() - 2 * f));
    TFP_Element::resizeEvent(event);
    QFont font = Edit->font();
    font.setPixelSize(std::max(1, editHeight - 4));
    Edit->setFont(font);
}

void TEntryField::SetHintergrundFarbe(int32_t color)
{
    // An entry not yet accepted keeps its colours until it is accepted.
    if (!m_editing && color != HintergrundFarbe)
        Edit->SetColor(color);
    TFP_Element::SetHintergrundFarbe(color);
}

void TEntryField::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    WriteVorgabe(writer);
    writer.WriteRawInt32(HintergrundFarbe);
    writer.WriteRawInt32(ZeichenFarbe);
}

void TEntryField::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    const int w = std::max(0, reader.ReadInteger());
    const int h = std::max(0, reader.ReadInteger());
    resize(w, h);
    ReadVorgabe(reader);
    SetHintergrundFarbe(reader.ReadRawInt32());
    ZeichenFarbe = reader.ReadRawInt32();
    ShowVorgabe();
    ShowAccepted();
    if (version < 43)
        BevelWidth = std::max(0, BevelWidth - 1);
    update();
}

int TEntryField::RunPropertyDialog(int helpContext, const std::function<void(TPropScrollbox&)>& addVorgabeRow)
{
    TDefault_Dlg& dlg = ElementDialog(*this, helpContext);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    int32_t colour = ZeichenFarbe;
    sheet.AddColorProp(Translate(QStringLiteral("Farbe")), colour);
    int32_t background = HintergrundFarbe;
    const bool ownBackground = AddBackgroundRow(*this, sheet, background);
    addVorgabeRow(sheet);
    AddHotkeyAndOptionRows(*this, sheet, ActionNames);
    const int result = dlg.Execute();
    if (result == 1) {
        ZeichenFarbe = colour;
        if (ownBackground)
            SetHintergrundFarbe(background);
        ShowAccepted();
    }
    return result;
}

// --- Web -------------------------------------------------------------------------------------

void TEntryField::WriteWebElement(QStringList& lines)
{
    WriteWebTitle(lines);
    lines << QStringLiteral("</BR>");
    lines << QStringLiteral("<form action=\"%1/Submit\">").arg(HtmlText(WebState().BaseAddress));
    lines << QStringLiteral("<input style=\"width:") + QString::number(width()) +
                 QStringLiteral("px;\" name=\"") + HtmlText(WebFieldName()) +
                 QStringLiteral("\" type=\"text\" size=\"30\" maxlength=\"30\" Value=\"") +
                 HtmlText(EditText()) + QStringLiteral("\">");
    lines << QStringLiteral("<input type=\"submit\" value=\"") + HtmlText(Translate(QStringLiteral("Absenden"))) +
                 QStringLiteral("\">");
    lines << QStringLiteral("</form>");
}

void TEntryField::WriteWebSnapshot(QStringList& lines)
{
    WriteWebImageMap(lines);
}

void TEntryField::WriteWebImageMap(QStringList& lines)
{
    WriteWholeElementImageMap(*this, lines);
}
