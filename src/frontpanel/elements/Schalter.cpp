#include "frontpanel/elements/Schalter.h"

#include "widgets/Bitmaps.h"
#include "frontpanel/elements/BitmapRotate.h"
#include "frontpanel/elements/GradBtn.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/SchalterDlg.h"
#include "frontpanel/elements/SwitchPictures.h"
#include "frontpanel/web/WebPublishing.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Filer.h"
#include "platform/IniFile.h"
#include "ui/Hotkey.h"

#include <QBuffer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kHotkeyCount = 10;
constexpr uint32_t kPulseMs = 250;

// Virtual keys that operate a focused switch.
constexpr uint16_t vkSpace = 32, vkPrior = 33, vkNext = 34, vkEnd = 35, vkHome = 36;

uint16_t OperatingKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Space: return vkSpace;
    case Qt::Key_PageUp: return vkPrior;
    case Qt::Key_PageDown: return vkNext;
    case Qt::Key_End: return vkEnd;
    case Qt::Key_Home: return vkHome;
    default: return 0;
    }
}

// The picture with the colour of its top-left pixel left out.
QImage KeyedOut(const QImage& picture)
{
    return WithoutKeyColor(picture, QPoint(0, 0));
}

void WriteBmp(TWriter& writer, const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    writer.WriteBuffer(bytes.constData(), bytes.size());
}

// A BMP file image: its file header gives the whole size.
QImage ReadBmp(TReader& reader)
{
    QByteArray bytes = reader.ReadBytes(14);
    const uint32_t size = uint32_t(uint8_t(bytes[2])) | uint32_t(uint8_t(bytes[3])) << 8
        | uint32_t(uint8_t(bytes[4])) << 16 | uint32_t(uint8_t(bytes[5])) << 24;
    if (bytes[0] != 'B' || bytes[1] != 'M' || size < 14 || size > uint32_t(reader.BytesLeft()) + 14)
        throw EFilerError::streamReadError();
    bytes += reader.ReadBytes(qint64(size) - 14);
    QImage picture;
    picture.loadFromData(bytes, "BMP");
    return picture;
}

} // namespace

TSchalter::TSchalter(QWidget* owner)
    : TFP_Element(owner)
{
    SetFarbe(schwarz);
    SetTyp(Kippschalter2);
    BackgroundFromPanel = true;
    BorderWidth = 3;
    const QSize picture = BildEin.size();
    resize(picture.width() + 2 * FrameWidth(), picture.height() + 2 * FrameWidth());

    Lampe = new TITemboLED(this);
    Lampe->FillsParent = true;
    Lampe->FollowParent();
    Lampe->setAttribute(Qt::WA_TransparentForMouseEvents);
    Lampe->hide();

    Schaltflaeche = new TGradBtn(this);
    Schaltflaeche->setGeometry(rect());
    Schaltflaeche->SetBeginColor(0xC0C0C0);
    Schaltflaeche->SetEndColor(0x808080);
    Schaltflaeche->SetGradientStyle(gsHorizontal);
    Schaltflaeche->SwapColors = false;
    Schaltflaeche->ShowFocus = false;
    Schaltflaeche->BisteKnopf = true;
    Schaltflaeche->SetCaption(QStringLiteral("Click"));
    // The face passes the mouse through: the element handles presses and double-clicks.
    Schaltflaeche->setAttribute(Qt::WA_TransparentForMouseEvents);
    Schaltflaeche->setFocusPolicy(Qt::NoFocus);
    Schaltflaeche->hide();

    Darstellung = dsBild;
    setCursor(Qt::PointingHandCursor);
    Hint = Lang3Q("Schalter", "Switch", "Interrupteur");
    setFocusPolicy(Qt::StrongFocus);

    for (int i = 0; i < kHotkeyCount; ++i) {
        THotkey& hotkey = AddHotkey();
        hotkey.OnPress = [this](THotkey* sender) { HotkeyPressed(sender->Action); };
        hotkey.OnRelease = [this](THotkey* sender) { HotkeyReleased(sender->Action); };
    }
    SetTaster(false);
}

TSchalter::~TSchalter() = default;

// --- State ----------------------------------------------------------------------------------

bool TSchalter::GetEingeschaltet()
{
    const bool state = m_on;
    if (m_pulse && uint32_t(Clock().TickCount() - m_pulseStart) > kPulseMs) {
        m_pulse = false;
        SetEingeschaltet(false);
    }
    return state;
}

void TSchalter::SetEingeschaltet(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    if (Darstellung == dsSchaltflaeche) {
        Schaltflaeche->SetDown(on);
        Schaltflaeche->update();
    }
    if (Darstellung == dsPlastik) {
        Lampe->SetLedOn(on);
        Lampe->SetOuterBorderStyle(on ? ixblsDown : ixblsUp);
        Lampe->update();
    }
    update();
}

void TSchalter::SetFarbe(uint8_t farbe)
{
    Farbe = farbe;
    BildAus = SwitchPicture(farbe, Typ, false);
    BildEin = SwitchPicture(farbe, Typ, true);
    RotateBitmapQuarters(BildAus, Drehung);
    RotateBitmapQuarters(BildEin, Drehung);
    BilderTransparent = IsTransparentTyp(Typ);
    if (!Scalable() && !BildEin.isNull())
        resize(BildEin.width() + 2 * FrameWidth(), BildEin.height() + 2 * FrameWidth());
    update();
}

void TSchalter::SetTyp(uint8_t typ)
{
    Typ = typ;
    SetFarbe(Farbe);
}

void TSchalter::SetTaster(bool taster)
{
    Taster = taster;
    if (taster) {
        Hint = Lang3Q("Taster", "Push button", "Bouton-poussoir");
        SetTyp(Druckschalter);
    }
    ActionNames.clear();
    if (taster)
        ActionNames << QStringLiteral(" --- ") << QStringLiteral("= PSH");
    else
        ActionNames << QStringLiteral(" ---") << QStringLiteral("= TOG") << QStringLiteral("= ON")
                    << QStringLiteral("= OFF") << QStringLiteral("= RST");
}

void TSchalter::ShowLookFaces()
{
    Schaltflaeche->setVisible(Darstellung == dsSchaltflaeche);
    Lampe->setVisible(Darstellung == dsPlastik);
    Schaltflaeche->setGeometry(rect());
    Lampe->FollowParent();
}

bool TSchalter::Scalable() const
{
    switch (Darstellung) {
    case dsBild:
        return Typ >= Wippe1 && Typ <= Wippe4;
    case dsSchaltflaeche:
    case dsBenutzerBild:
    case dsPlastik:
        return true;
    default:
        return false;
    }
}

bool TSchalter::GetBisteHSkalierbar() const
{
    return Scalable();
}

bool TSchalter::GetBisteVSkalierbar() const
{
    return Scalable();
}

// --- Operation ------------------------------------------------------------------------------

void TSchalter::Press()
{
    if (Taster)
        SetEingeschaltet(true);
    else
        SetEingeschaltet(!m_on);
}

void TSchalter::Release()
{
    if (Taster)
        SetEingeschaltet(false);
}

void TSchalter::HotkeyPressed(int32_t action)
{
    switch (action) {
    case 1:
        Press();
        break;
    case 2:
        SetEingeschaltet(true);
        break;
    case 3:
        SetEingeschaltet(false);
        break;
    case 4:
        ApplyStartValue();
        break;
    default:
        break;
    }
}

void TSchalter::HotkeyReleased(int32_t action)
{
    if (action == 1 && Taster)
        SetEingeschaltet(false);
}

void TSchalter::mousePressEvent(QMouseEvent* event)
{
    ClickFocus();
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A held push button keeps the mouse (Qt's implicit grab) also when the pointer leaves.
    Press();
    event->accept();
}

void TSchalter::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Release();
    QWidget::mouseReleaseEvent(event);
}

void TSchalter::wheelEvent(QWheelEvent* event)
{
    if (!Taster) {
        const int delta = event->angleDelta().y();
        if (delta > 0)
            SetEingeschaltet(true);
        else if (delta < 0)
            SetEingeschaltet(false);
    }
    event->accept();
}

void TSchalter::keyPressEvent(QKeyEvent* event)
{
    const uint16_t key = OperatingKey(*event);
    if (key == 0) {
        TFP_Element::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat())
        return;
    if (Taster) {
        SetEingeschaltet(true);
    } else if (key == vkSpace) {
        SetEingeschaltet(!m_on);
    } else {
        SetEingeschaltet(key == vkPrior || key == vkEnd);
    }
}

void TSchalter::keyReleaseEvent(QKeyEvent* event)
{
    const uint16_t key = OperatingKey(*event);
    if (key == 0) {
        TFP_Element::keyReleaseEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && Taster)
        SetEingeschaltet(false);
}

void TSchalter::WriteWebSnapshot(QStringList& lines)
{
    // A click on the published picture operates the switch (action 2); no image map.
    SaveSnapshot();
    lines << WriteWebImageLink(WebPictureUrl(GetRelativeName()), Hint, 2);
}

void TSchalter::WebAction(int32_t action)
{
    if (action != 2) {
        TFP_Element::WebAction(action);
        return;
    }
    if (Taster) {
        SetEingeschaltet(true);
        m_pulse = true;
        m_pulseStart = Clock().TickCount();
    } else {
        SetEingeschaltet(!m_on);
    }
}

void TSchalter::ApplyStartValue()
{
    SetEingeschaltet(Vorgabe);
}

// --- Painting -------------------------------------------------------------------------------

void TSchalter::resizeEvent(QResizeEvent* event)
{
    TFP_Element::resizeEvent(event);
    if (Schaltflaeche)
        Schaltflaeche->setGeometry(rect());
    if (Lampe)
        Lampe->FollowParent();
}

QImage TSchalter::ShownPicture() const
{
    const QImage& picture = m_on ? BildEin : BildAus;
    if (BilderTransparent || (Darstellung == dsBild && IsTransparentTyp(Typ)))
        return KeyedOut(picture);
    return picture;
}

void TSchalter::Paint(TCanvas& canvas)
{
    TFP_Element::Paint(canvas);
    const int f = FrameWidth();
    const QRect inner(f, f, width() - 2 * f, height() - 2 * f);
    QPainter* painter = canvas.Painter();
    if (painter && (Darstellung == dsBild || Darstellung == dsBenutzerBild)) {
        const QImage picture = ShownPicture();
        if (!picture.isNull()) {
            if (Darstellung == dsBenutzerBild || Scalable())
                painter->drawImage(inner, picture);
            else
                painter->drawImage(QPoint(f, f), picture);
        }
    }
    if (hasFocus())
        DrawFocusMark(canvas);
}

void TSchalter::SetBisteTransparent(bool transparent)
{
    TFP_Element::SetBisteTransparent(transparent);
    if (Darstellung == dsBild || Darstellung == dsBenutzerBild)
        BilderTransparent = transparent || Darstellung == dsBild;
    update();
}

void TSchalter::ApplyPictureTransparency()
{
    SetBisteTransparent(GetBisteTransparent());
}

void TSchalter::EditFrameAndBackground()
{
    TFP_Element::EditFrameAndBackground();
    SetFarbe(Farbe);
}

// --- Stream ---------------------------------------------------------------------------------

void TSchalter::WriteElementData(TWriter& writer)
{
    TFP_Element::WriteElementData(writer);
    writer.WriteRawByte(Farbe);
    writer.WriteRawByte(Typ);
    writer.WriteBoolean(Vorgabe);
    writer.WriteBoolean(Darstellung == dsSchaltflaeche);
    writer.WriteString(Schaltflaeche->Caption());
    // The face shows its colours exchanged while on; the stream keeps the off order.
    const int32_t begin = Schaltflaeche->BeginColor();
    const int32_t end = Schaltflaeche->EndColor();
    const bool swapped = Schaltflaeche->Down();
    writer.WriteRawInt32(swapped ? end : begin);
    writer.WriteRawInt32(swapped ? begin : end);
    writer.WriteRawByte(Schaltflaeche->GradientStyle());
    writer.WriteRawByte(Schaltflaeche->TextStyle());
    writer.WriteInteger(width());
    writer.WriteInteger(height());
    const QFont faceFont = Schaltflaeche->font();
    writer.WriteRawShortString(faceFont.family(), 31);
    writer.WriteRawInt16(int16_t(FontHeightOf(faceFont)));
    const uint8_t style = uint8_t((faceFont.bold() ? 1 : 0) | (faceFont.italic() ? 2 : 0)
                                  | (faceFont.underline() ? 4 : 0) | (faceFont.strikeOut() ? 8 : 0));
    writer.WriteRawByte(style);
    writer.WriteRawInt32(Schaltflaeche->FontColor());
    writer.WriteRawInt16(Darstellung);
    writer.WriteRawByte(Drehung);
    if (Darstellung == dsBenutzerBild) {
        WriteBmp(writer, BildEin);
        WriteBmp(writer, BildAus);
    } else if (Darstellung == dsPlastik) {
        writer.WriteRawInt32(Lampe->LedPlasticColor());
        writer.WriteRawByte(Lampe->LedClass());
        writer.WriteInteger(Lampe->Angle());
        writer.WriteInteger(Lampe->OuterBorderDepth());
    }
}

void TSchalter::ReadElementData(TReader& reader, uint8_t version)
{
    TFP_Element::ReadElementData(reader, version);
    // The state is taken back to off first, so that every face is in its off order.
    SetEingeschaltet(false);
    const uint8_t farbe = reader.ReadRawByte();
    const uint8_t typ = reader.ReadRawByte();
    Vorgabe = reader.ReadBoolean();
    Typ = typ;
    SetFarbe(farbe);
    SetEingeschaltet(Vorgabe);
    if (version >= 2) {
        if (reader.ReadBoolean())
            Darstellung = dsSchaltflaeche;
        Schaltflaeche->SetCaption(reader.ReadString());
        int32_t begin = reader.ReadRawInt32();
        int32_t end = reader.ReadRawInt32();
        if (Schaltflaeche->Down())
            std::swap(begin, end);
        Schaltflaeche->SetBeginColor(begin);
        Schaltflaeche->SetEndColor(end);
        const uint8_t gradient = reader.ReadRawByte();
        Schaltflaeche->SetGradientStyle(TGradientStyle(gradient <= gsHorizCenter ? gradient : uint8_t(gsHorizontal)));
        const uint8_t textStyle = reader.ReadRawByte();
        Schaltflaeche->SetTextStyle(TTextStyle(textStyle <= tsInset ? textStyle : uint8_t(tsNormal)));
        const int32_t w = reader.ReadInteger();
        const int32_t h = reader.ReadInteger();
        resize(std::clamp(w, 0, 32767), std::clamp(h, 0, 32767));
        Schaltflaeche->setVisible(Darstellung == dsSchaltflaeche);
        Schaltflaeche->SetTxtHiliteClr(Schaltflaeche->BeginColor());
        Schaltflaeche->SetTxtShadowClr(Schaltflaeche->EndColor());
        QFont faceFont = Schaltflaeche->font();
        const QString family = reader.ReadRawShortString(31);
        if (!family.isEmpty())
            faceFont.setFamily(family);
        SetFontHeight(faceFont, reader.ReadRawInt16());
        const uint8_t style = reader.ReadRawByte();
        faceFont.setBold(style & 1);
        faceFont.setItalic(style & 2);
        faceFont.setUnderline(style & 4);
        faceFont.setStrikeOut(style & 8);
        Schaltflaeche->setFont(faceFont);
        Schaltflaeche->SetFontColor(reader.ReadRawInt32());
    }
    if (version >= 3) {
        const int16_t look = reader.ReadRawInt16();
        Darstellung = look >= dsBild && look <= dsPlastik ? look : int16_t(dsBild);
        const uint8_t turns = reader.ReadRawByte();
        Drehung = turns <= 3 ? turns : 0;
        SetFarbe(Farbe);
        if (Darstellung == dsBenutzerBild) {
            BildEin = ReadBmp(reader);
            BildAus = ReadBmp(reader);
            ApplyPictureTransparency();
        } else if (Darstellung == dsPlastik) {
            Lampe->SetLedPlasticColor(reader.ReadRawInt32());
            const uint8_t shape = reader.ReadRawByte();
            Lampe->SetLedClass(TIxLedClass(shape <= ixlcTrapezium ? shape : uint8_t(ixlcRect)));
            Lampe->SetAngle(reader.ReadInteger());
            Lampe->SetOuterBorderDepth(reader.ReadInteger());
        }
    }
    // Every face shows the state: it is turned over and back.
    const bool state = m_on;
    SetEingeschaltet(!state);
    SetEingeschaltet(state);
    ShowLookFaces();
    update();
}

// --- Settings -------------------------------------------------------------------------------

void TSchalter::SaveSettings(TIniFile& ini, const QString& path)
{
    if (!Taster)
        ini.WriteBool(path + u'.' + ElementName, QStringLiteral("Status"), m_on);
}

bool TSchalter::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    if (Taster)
        return true;
    const QString section = path + u'.' + ElementName;
    if (checkOnly)
        return ini.ValueExists(section, QStringLiteral("Status"));
    SetEingeschaltet(ini.ReadBool(section, QStringLiteral("Status"), Vorgabe));
    return true;
}

// --- Dialog ---------------------------------------------------------------------------------

int TSchalter::EditProperties()
{
    TSchalterDlg dialog(*this);
    const int result = dialog.Run();
    update();
    return result;
}
