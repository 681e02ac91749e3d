#include "frontpanel/FP_Element.h"

#include "frontpanel/Design.h"

#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "platform/ModalDialogs.h"
#include "platform/MessageBox.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/PanelDlg.h"
#include "ui/PropertySheet.h"
#include "ui/SettingsDialog.h"

#include <QComboBox>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolTip>

#include <algorithm>
#include <climits>

// --- Front-panel wide state ----------------------------------------------------------------

TFrontPanelState& FPState()
{
    static TFrontPanelState state;
    return state;
}

void ResetFrontPanelState()
{
    FPState() = TFrontPanelState();
}

namespace {

TBevelCut BevelFromCode(int32_t code)
{
    return code == bvLowered ? bvLowered : code == bvRaised ? bvRaised : bvNone;
}

} // namespace

// --- Construction ---------------------------------------------------------------------------

TFP_Element::TFP_Element(QWidget* owner)
    : QWidget(owner)
{
    resize(185, 41);
    BevelInner = bvNone;
    BevelOuter = bvNone;
    BevelWidth = 1;
    BorderWidth = 0;
    ColorFromPanel = true;
    BackgroundFromPanel = false;
    Color = FPState().DesignPanelColor;
    HintergrundFarbe = FPState().DesignPanelColor;
    PlaceAtCascadePoint();
    SetBisteTransparent(false);
    setFocusPolicy(Qt::ClickFocus);
}

TFP_Element::~TFP_Element()
{
    if (Component && Component->Link == this)
        Component->Link = nullptr;
    Component = nullptr;
}

THotkey& TFP_Element::AddHotkey()
{
    Hotkeys.push_back(std::make_unique<THotkey>());
    return *Hotkeys.back();
}

// --- Placement --------------------------------------------------------------------------------

void TFP_Element::PlaceAtCascadePoint()
{
    QPoint& p = FPState().CascadePoint;
    if (p.x() < 32)
        p.setX(32);
    if (p.y() < 32)
        p.setY(32);
    move(p);
    AdvanceCascade();
}

void TFP_Element::AdvanceCascade()
{
    QPoint& p = FPState().CascadePoint;
    p.setX(p.x() + 32);
    if (p.x() >= 161) {
        p.setX(32);
        p.setY(p.y() + 32);
        if (p.y() >= 161)
            p = QPoint(32, 32);
    }
}

// --- Common element data ------------------------------------------------------------------

void TFP_Element::WriteElementData(TWriter& writer)
{
    writer.WriteInteger(ElementIndex);
    writer.WriteBoolean(GetBisteTransparent());
    writer.WriteInteger(FrontplattenNR - 10000);
    writer.WriteRawInt16(static_cast<int16_t>(width()));
    writer.WriteRawInt16(static_cast<int16_t>(height()));
    writer.WriteString(Hint);
    writer.WriteBoolean(LaufzeitEinstellbar);
    WriteFrameData(writer);
    for (const auto& hotkey : Hotkeys)
        hotkey->WriteData(writer);
    WriteWebData(writer);
}

void TFP_Element::ReadElementData(TReader& reader, uint8_t version)
{
    ElementIndex = reader.ReadInteger();
    SetBisteTransparent(reader.ReadBoolean());
    if (version < 3)
        return;
    const int32_t page = reader.ReadInteger();
    if (page < 0) {
        SetFrontplattenNR(page + 10000);
        const int w = reader.ReadRawInt16();
        const int h = reader.ReadRawInt16();
        setGeometry(x(), y(), std::max(0, w), std::max(0, h));
    } else {
        SetFrontplattenNR(page);
    }
    Hint = reader.ReadString();
    LaufzeitEinstellbar = reader.ReadBoolean();
    if (version <= 39)
        return;
    ReadFrameData(reader);
    for (const auto& hotkey : Hotkeys)
        hotkey->ReadData(reader);
    ReadWebData(reader, version);
}

void TFP_Element::WriteFrameData(TWriter& writer)
{
    writer.WriteInteger(BorderWidth);
    writer.WriteInteger(BevelWidth);
    writer.WriteInteger(BevelInner);
    writer.WriteInteger(BevelOuter);
    writer.WriteInteger(HintergrundFarbe);
    writer.WriteInteger(Color);
    writer.WriteBoolean(ColorFromPanel);
    writer.WriteBoolean(BackgroundFromPanel);
}

void TFP_Element::ReadFrameData(TReader& reader)
{
    BorderWidth = reader.ReadInteger();
    BevelWidth = reader.ReadInteger();
    BevelInner = BevelFromCode(reader.ReadInteger());
    BevelOuter = BevelFromCode(reader.ReadInteger());
    HintergrundFarbe = reader.ReadInteger();
    Color = reader.ReadInteger();
    ColorFromPanel = reader.ReadBoolean();
    BackgroundFromPanel = reader.ReadBoolean();
}

namespace {

void WriteLines(TWriter& writer, const QStringList& lines)
{
    writer.WriteInteger(static_cast<int32_t>(lines.size()));
    for (const QString& line : lines)
        writer.WriteString(line);
}

// Lines that follow a count; each takes at least two bytes of the stream.
void ReadLines(TReader& reader, QStringList& lines)
{
    lines.clear();
    const int32_t n = reader.ReadCount("HTML");
    for (int32_t i = 0; i < n; ++i)
        lines << reader.ReadString();
}

} // namespace

void TFP_Element::WriteWebData(TWriter& writer)
{
    writer.WriteInteger(WebSortOrder);
    writer.WriteBoolean(IsPublished());
    writer.WriteBoolean(WebShowTitle);
    WriteLines(writer, WebHeadLines);
    WriteLines(writer, WebFootLines);
}

void TFP_Element::ReadWebData(TReader& reader, uint8_t version)
{
    if (version < 43) {
        WebSortOrder = ElementIndex;
        update();
        return;
    }
    WebSortOrder = reader.ReadInteger();
    WebPublish = reader.ReadBoolean();
    WebShowTitle = reader.ReadBoolean();
    ReadLines(reader, WebHeadLines);
    ReadLines(reader, WebFootLines);
    update();
}

// --- Dialogs ----------------------------------------------------------------------------------

int TFP_Element::EditProperties()
{
    return 0;
}

void TFP_Element::AddWebProperties()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.setWindowTitle(Hint);
    TPropScrollbox& sheet = *dlg.PropScrollbox;
    sheet.AddCaptionProp(QStringLiteral("Web"));
    sheet.AddCheckProp(Translate(QStringLiteral("Veröffentlichen")), WebPublish);
    sheet.AddCheckProp(Translate(QStringLiteral("Titel")), WebShowTitle);
    sheet.AddSpinProp(Translate(QStringLiteral("Sortierung")), WebSortOrder, -1, 10000, 60);
    sheet.AddMemoProp(QStringLiteral("HTML (") + Translate(QStringLiteral("Kopf")) + u')',
                      WebHeadLines, 250, 150);
    sheet.AddMemoProp(QStringLiteral("HTML (") + Translate(QStringLiteral("Fuss")) + u')',
                      WebFootLines, 250, 150);
}

int TFP_Element::ShowPropertyDialog()
{
    TDefault_Dlg& dlg = Default_Dlg();
    dlg.HelpContext = 48100;
    const int result = dlg.Execute();
    if (result == mrOk)
        ApplyProperties();
    return result;
}

void TFP_Element::ApplyProperties() {}

void TFP_Element::EditFrameAndBackground()
{
    TPanelDlg dlg;
    dlg.DesignPanelColor = FPState().DesignPanelColor;
    const QString caption = dlg.windowTitle();
    dlg.setWindowTitle(caption + QStringLiteral(" - ") + Hint + u' ' + ElementName);
    dlg.cb_Transparent->setChecked(GetBisteTransparent());
    dlg.cb_Inner->setCurrentIndex(BevelInner);
    dlg.cb_Outer->setCurrentIndex(BevelOuter);
    dlg.se_Border->setValue(BorderWidth);
    dlg.se_Bevel->setValue(BevelWidth);
    dlg.ColorShape->SetBrushColor(Color);
    dlg.BK_Shape->SetBrushColor(HintergrundFarbe);
    if (ColorFromPanel)
        dlg.rb_Anpassen->setChecked(true);
    else
        dlg.rb_Individuell->setChecked(true);
    if (BackgroundFromPanel)
        dlg.rb_BK_Anpassen->setChecked(true);
    else
        dlg.rb_BK_Individuell->setChecked(true);
    dlg.UpdatePreview();

    if (ShowModal(dlg) == mrOk) {
        SetBisteTransparent(dlg.cb_Transparent->isChecked());
        BevelInner = BevelFromCode(dlg.cb_Inner->currentIndex());
        BevelOuter = BevelFromCode(dlg.cb_Outer->currentIndex());
        BorderWidth = dlg.se_Border->value();
        BevelWidth = dlg.se_Bevel->value();
        BackgroundFromPanel = dlg.rb_BK_Anpassen->isChecked();
        SetHintergrundFarbe(dlg.BK_Shape->BrushColor());
        ColorFromPanel = dlg.rb_Anpassen->isChecked();
        Color = dlg.ColorShape->BrushColor();
    }
    dlg.setWindowTitle(caption);
    update();
}

// --- Simple virtual operations ----------------------------------------------------------------

void TFP_Element::GrabBackground()
{
    // Child widgets that leave their background unpainted show the page beneath them, so
    // there is nothing to capture; a repaint brings the current picture.
    update();
}

void TFP_Element::SetBisteTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

bool TFP_Element::GetBisteTransparent() const
{
    return m_transparent;
}

void TFP_Element::ApplyStartValue() {}
void TFP_Element::SimStopped() {}

bool TFP_Element::GetBisteHSkalierbar() const
{
    return true;
}

bool TFP_Element::GetBisteVSkalierbar() const
{
    return true;
}

void TFP_Element::SetFrontplattenNR(int32_t page)
{
    FrontplattenNR = page;
}

void TFP_Element::SaveSettings(TIniFile&, const QString&) {}

bool TFP_Element::LoadSettings(TIniFile&, const QString&, bool)
{
    return true;
}

bool TFP_Element::MatchQualifiedName(const QString& path, const QString& name)
{
    QualifiedName = path + u'.' + ElementName;
    return QualifiedName == name;
}

Extended TFP_Element::AspectRatio() const
{
    return 0.0L;
}

void TFP_Element::SetHintergrundFarbe(int32_t color)
{
    if (color == HintergrundFarbe)
        return;
    HintergrundFarbe = color;
    update();
    Color = color;
}

void TFP_Element::HotkeyDown(uint16_t key, uint8_t shift)
{
    for (const auto& hotkey : Hotkeys)
        hotkey->KeyDown(key, shift);
}

void TFP_Element::HotkeyUp(uint16_t key, uint8_t)
{
    for (const auto& hotkey : Hotkeys)
        hotkey->KeyUp(key);
}

void TFP_Element::PaintToBitmap(QImage& bitmap)
{
    if (bitmap.size() != size() || bitmap.isNull())
        bitmap = QImage(size(), QImage::Format_RGB32);
    bitmap.fill(TColorToQColor(FPState().DesignPanelColor));
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(&bitmap);
    QWidget* parent = parentWidget();
    if (GetBisteTransparent() && parent && parent != FPState().HiddenPanel) {
        // The page beneath the element, with the element on top.
        parent->render(&painter, QPoint(), QRegion(geometry()),
                       QWidget::DrawWindowBackground | QWidget::DrawChildren);
    } else {
        render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
}

bool TFP_Element::IsPublished() const
{
    // Decor (labels, scales, frames, pictures) is never published.
    return WebPublish && !TDesign::IsDecorElement(this);
}

bool TFP_Element::CanPublish()
{
    if (IsPublished())
        return true;
    WebPublish = true;
    const bool result = IsPublished();
    WebPublish = false;
    return result;
}

// --- Painting -------------------------------------------------------------------------------

namespace {

// One 3-D frame of `width` lines: the top colour on the left column and the top row, the
// bottom colour on the right column and the bottom row; the rectangle shrinks by one per line.
void Frame3D(TCanvas& canvas, QRect& r, int32_t top, int32_t bottom, int width)
{
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        canvas.Brush.Style = Qt::SolidPattern;
        canvas.Brush.Color = top;
        canvas.FillRect(QRect(r.left(), r.top(), 1, std::max(0, r.height() - 1)));
        canvas.FillRect(QRect(r.left(), r.top(), std::max(0, r.width() - 1), 1));
        canvas.Brush.Color = bottom;
        canvas.FillRect(QRect(r.right(), r.top(), 1, r.height()));
        canvas.FillRect(QRect(r.left(), r.bottom(), r.width(), 1));
        r.adjust(1, 1, -1, -1);
    }
}

} // namespace

void TFP_Element::PaintPanelFrame(TCanvas& canvas)
{
    const int32_t light = ColorToRGB(clBtnHighlight);
    const int32_t shadow = ColorToRGB(clBtnShadow);
    QRect r = rect();
    if (BevelOuter != bvNone)
        Frame3D(canvas, r, BevelOuter == bvRaised ? light : shadow,
                BevelOuter == bvRaised ? shadow : light, BevelWidth);
    Frame3D(canvas, r, Color, Color, BorderWidth);
    if (BevelInner != bvNone)
        Frame3D(canvas, r, BevelInner == bvRaised ? light : shadow,
                BevelInner == bvRaised ? shadow : light, BevelWidth);
    if (r.width() > 0 && r.height() > 0) {
        canvas.Brush.Style = Qt::SolidPattern;
        canvas.Brush.Color = Color;
        canvas.FillRect(r);
    }
}

void TFP_Element::Paint(TCanvas& canvas)
{
    if (GetBisteTransparent() && parentWidget() != FPState().HiddenPanel)
        return;
    const int32_t panel = FPState().DesignPanelColor;
    if (ColorFromPanel && Color != panel)
        Color = panel;
    PaintPanelFrame(canvas);
    const int32_t background = BackgroundFromPanel ? panel : HintergrundFarbe;
    SetHintergrundFarbe(background);
    canvas.Pen = TCanvasPen{background, 0, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{background, Qt::SolidPattern};
    const int f = FrameWidth();
    if (width() - 2 * f > 0 && height() - 2 * f > 0)
        canvas.Rectangle(f, f, width() - f, height() - f);
}

void TFP_Element::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    // The part to paint as the clip: elements that repaint single cells skip the others.
    painter.setClipRect(event->rect());
    TCanvas canvas(&painter);
    canvas.Font = font();
    canvas.FontColor = FontColor;
    Paint(canvas);
}

int32_t TFP_Element::FrameWidth() const
{
    int32_t f = BorderWidth;
    if (BevelOuter != bvNone)
        f += BevelWidth;
    if (BevelInner != bvNone)
        f += BevelWidth;
    return f;
}

void TFP_Element::ApplyAspectRatio()
{
    const Extended q = AspectRatio();
    if (q <= 0.0L)
        return;
    const int32_t f2 = 2 * FrameWidth();
    resize(static_cast<int>(RoundHalfEven(q * (height() - f2))) + f2, height());
}

void TFP_Element::DrawFocusMark(TCanvas& canvas)
{
    canvas.Pen = TCanvasPen{clRed, 1, Qt::SolidLine, TPenMode::Copy};
    canvas.Brush = TCanvasBrush{clRed, Qt::SolidPattern};
    canvas.Polygon({QPoint(3, 0), QPoint(5, 5), QPoint(0, 3)});
}

// --- Input ----------------------------------------------------------------------------------

void TFP_Element::SetElementEnabled(bool enabled)
{
    m_elementEnabled = enabled;
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
    if (!enabled && hasFocus())
        clearFocus();
}

void TFP_Element::DblClickEdit()
{
    if (userEdit || LaufzeitEinstellbar) {
        EditProperties();
        update();
    }
}

void TFP_Element::ClickFocus()
{
    if (m_elementEnabled && isEnabled() && isVisible())
        setFocus(Qt::MouseFocusReason);
}

void TFP_Element::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ClickFocus();
    QWidget::mousePressEvent(event);
}

void TFP_Element::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        DblClickEdit();
    else
        QWidget::mouseDoubleClickEvent(event);
}

void TFP_Element::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void TFP_Element::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

bool TFP_Element::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (ShowHint && !Hint.isEmpty())
            QToolTip::showText(help->globalPos(), Hint, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

// --- Helpers ----------------------------------------------------------------------------------

QString TFP_Element::FloatToText(Extended x)
{
    return ValueToText(x);
}

Extended TFP_Element::TextToFloat(const QString& text)
{
    QString s = text;
    const int comma = s.indexOf(u',');
    if (comma >= 0)
        s[comma] = u'.';
    bool ok = false;
    const double value = s.trimmed().toDouble(&ok);
    return ok ? static_cast<Extended>(value) : 0.0L;
}

int32_t TFP_Element::FontHeightOf(const QFont& font)
{
    if (font.pixelSize() > 0)
        return -font.pixelSize();
    return -static_cast<int32_t>(RoundHalfEven(static_cast<Extended>(font.pointSizeF()) * 96.0L / 72.0L));
}

void TFP_Element::SetFontHeight(QFont& font, int32_t height)
{
    if (height < 0) {
        font.setPixelSize(-height);
        return;
    }
    if (height == 0)
        height = 1;
    // A cell height: the largest character height whose cell fits.
    int size = height;
    for (; size > 1; --size) {
        QFont probe(font);
        probe.setPixelSize(size);
        if (QFontMetrics(probe).height() <= height)
            break;
    }
    font.setPixelSize(std::max(1, size));
}
