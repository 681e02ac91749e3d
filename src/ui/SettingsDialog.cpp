#include "ui/SettingsDialog.h"

#include "platform/Help.h"
#include "core/model/Iobt.h"
#include "core/model/Translator.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/Formats.h"
#include "ui/PropertySheet.h"

#include <QFontMetrics>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QWhatsThis>

#include <algorithm>
#include <cmath>

namespace {

TPinPortDialogHooks g_pinHooks;
TDefault_Dlg* g_defaultDlg = nullptr;

// The pin button's picture: a chip with pins on both sides.
QPixmap PinGlyph()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(4, 1, 7, 13);
    p.setPen(QColor(160, 160, 160));
    for (int y = 3; y <= 12; y += 3) {
        p.drawLine(1, y, 3, y);
        p.drawLine(12, y, 14, y);
    }
    return pm;
}

// One picture of a meter movement: the scale in black, the pointer in red.
QPixmap MeterPicture(int type)
{
    constexpr int w = 32;
    constexpr int h = 24;
    QPixmap pm(w, h);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, w - 1, h - 1);
    const QPen scale(Qt::black, 1.5);
    const QPen pointer(Qt::red, 1.5);
    const double pi = 3.14159265358979323846;
    switch (type) {
    case 0: { // round, pivot below
        const QPointF c(w / 2.0, h * 1.4);
        p.setPen(scale);
        p.drawArc(QRectF(c.x() - 24, c.y() - 24, 48, 48), 60 * 16, 60 * 16);
        p.setPen(pointer);
        p.drawLine(c, QPointF(c.x() + 22 * std::cos(1.2), c.y() - 22 * std::sin(1.2)));
        break;
    }
    case 1: // straight horizontal scale, upright needle
        p.setPen(scale);
        p.drawLine(4, 7, w - 5, 7);
        p.setPen(pointer);
        p.drawLine(QPointF(w * 0.6, h - 3), QPointF(w * 0.6, 4));
        break;
    case 2: // vertical scale, needle from the left
        p.setPen(scale);
        p.drawLine(w - 9, 3, w - 9, h - 4);
        p.setPen(pointer);
        p.drawLine(QPointF(2, h * 0.4), QPointF(w - 6, h * 0.4));
        break;
    case 3: // vertical scale, needle from the right
        p.setPen(scale);
        p.drawLine(8, 3, 8, h - 4);
        p.setPen(pointer);
        p.drawLine(QPointF(w - 3, h * 0.4), QPointF(5, h * 0.4));
        break;
    default: { // quarter circles: pivot bottom left, bottom right, top left, top right
        const bool right = type == 5 || type == 7;
        const bool top = type == 6 || type == 7;
        const QPointF c(right ? w - 4 : 4, top ? 4 : h - 4);
        const double r = h - 6;
        const int start = (right ? (top ? 180 : 90) : (top ? 270 : 0));
        p.setPen(scale);
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), start * 16, 90 * 16);
        const double a = (start + 50) * pi / 180.0;
        p.setPen(pointer);
        p.drawLine(c, QPointF(c.x() + (r - 2) * std::cos(a), c.y() - (r - 2) * std::sin(a)));
        break;
    }
    }
    return pm;
}

} // namespace

void SetPinPortDialogHooks(TPinPortDialogHooks hooks)
{
    g_pinHooks = std::move(hooks);
}

const TPinPortDialogHooks& PinPortDialogHooks()
{
    return g_pinHooks;
}

TDefault_Dlg::TDefault_Dlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Default_Dlg"));
    setMinimumWidth(kDesignWidth);
    setMaximumHeight(kDesignMaxHeight);
    setSizeGripEnabled(false);

    PropScrollbox = new TPropScrollbox(this);
    PropScrollbox->setObjectName(QStringLiteral("PropScrollbox"));
    PropScrollbox->OnRowsChanged = [this](QObject*) { RowsChanged(); };

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));

    PinBtn = new QToolButton(Panel1);
    PinBtn->setObjectName(QStringLiteral("PinBtn"));
    PinBtn->setIcon(QIcon(PinGlyph()));
    PinBtn->setAutoRaise(true);
    PinBtn->setToolTip(QString::fromUtf8("Anschlüsse..."));
    PinBtn->hide();
    connect(PinBtn, &QToolButton::clicked, this, [this]() { PinBtnClick(); });

    OKBtn = new QPushButton(QStringLiteral("&OK"), Panel1);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    Button1 = new QPushButton(QStringLiteral("&Abbrechen"), Panel1);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

    BuildMeterBitmaps();
    resize(kDesignWidth, kPanelHeight + 60);
    LayoutChildren();
    TranslateCaptions();
}

TDefault_Dlg::~TDefault_Dlg()
{
    // No pin-editor hook may point into a dialog that is gone.
    if (g_pinHooks.ClearPinEditorHooks)
        g_pinHooks.ClearPinEditorHooks();
    if (g_defaultDlg == this)
        g_defaultDlg = nullptr;
}

void TDefault_Dlg::BuildMeterBitmaps()
{
    MeterBitmaps.clear();
    for (int type = 0; type < 8; ++type)
        MeterBitmaps << MeterPicture(type);
}

void TDefault_Dlg::TranslateCaptions()
{
    switch (Ctx().CurrentLanguage) {
    case 1:
        Button1->setText(QStringLiteral("&Cancel"));
        PinBtn->setToolTip(QStringLiteral("Pins connections..."));
        break;
    case 2:
        Button1->setText(QStringLiteral("&Annuler"));
        PinBtn->setToolTip(QStringLiteral("Raccordements..."));
        break;
    default: break;
    }
}

void TDefault_Dlg::AddOptionRows(QString& label, bool& runTimeAdjustable)
{
    if (Ctx().SimRunning || Ctx().RuntimeMode)
        return;
    PropScrollbox->AddCaptionProp(Translate(QStringLiteral("Optionen")));
    // Wide enough for the name it holds (a long type name is the default), within reason.
    const int width = std::clamp(fontMetrics().horizontalAdvance(label) + 16, 120, 320);
    PropScrollbox->AddEditProp(Translate(QStringLiteral("Name")), label, 0, width);
    PropScrollbox->AddCheckProp(Translate(QStringLiteral("Zur Laufzeit einstellbar")),
                                runTimeAdjustable);
}

int TDefault_Dlg::ExecuteWithOptions(TIOBauteil& component)
{
    QString label = component.GetLabel();
    bool adjustable = component.RunTimeAdjustable;
    AddOptionRows(label, adjustable);
    const int result = Execute();
    component.SetLabel(label);
    component.RunTimeAdjustable = adjustable;
    return result;
}

int TDefault_Dlg::Execute()
{
    FormShow();
    FormActivate();
    const int result = ShowModal(*this);
    if (result == mrOk)
        OKBtnClick();
    FormClose();
    return result;
}

void TDefault_Dlg::FormShow()
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const int screenHeight = s ? s->geometry().height() : 768;
    setMaximumHeight(screenHeight - screenHeight / 4);

    QString caption = windowTitle();
    const qsizetype cr = caption.indexOf(u'\r');
    if (cr >= 0) {
        caption[cr] = u' ';
        setWindowTitle(caption);
    }

    FitToRows();
    PropScrollbox->FillRows();
    FocusFirstRow();
}

void TDefault_Dlg::FormActivate()
{
    const bool help = !Ctx().RuntimeMode && HelpContext != 0;
    if (help != windowFlags().testFlag(Qt::WindowContextHelpButtonHint))
        setWindowFlag(Qt::WindowContextHelpButtonHint, help);
}

void TDefault_Dlg::OKBtnClick()
{
    PropScrollbox->WriteBack();
}

void TDefault_Dlg::FormClose()
{
    PropScrollbox->Clear();
    PinBtn->hide();
}

void TDefault_Dlg::FitToRows()
{
    PropScrollbox->ArrangeRows();
    PropScrollbox->FitNameColumn();
    PropScrollbox->FitValueColumn();

    int w = width();
    const auto& rows = PropScrollbox->Rows();
    if (!rows.empty())
        w = rows.front()->Editor->width();
    // Wide enough for the caption beside the title bar's buttons, so that it is not cut.
    QFont title = font();
    title.setBold(true);
    w = std::max(w, QFontMetrics(title).horizontalAdvance(windowTitle()) + kTitleButtonsRoom);
    resize(w, PropScrollbox->TotalHeight + kPanelHeight); // the size limits apply
    if (height() - kPanelHeight < PropScrollbox->TotalHeight) {
        // The rows do not fit: room for the vertical scroll bar.
        const int bar = std::max(kScrollBarRoom, style()->pixelMetric(QStyle::PM_ScrollBarExtent));
        resize(width() + bar, height());
    }
    LayoutChildren();
}

void TDefault_Dlg::RowsChanged()
{
    FitToRows();
    FitToRows();
}

void TDefault_Dlg::FocusFirstRow()
{
    for (const auto& b : PropScrollbox->Rows()) {
        const auto controls =
            b->Editor->PropPanel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* c : controls) {
            if ((c->focusPolicy() & Qt::TabFocus) && c->isEnabled() && c->isVisibleTo(this)) {
                c->setFocus();
                return;
            }
        }
    }
}

void TDefault_Dlg::PinBtnClick()
{
    if (g_pinHooks.Show)
        g_pinHooks.Show(windowTitle());
}

bool TDefault_Dlg::event(QEvent* e)
{
    // The title bar's help button.
    if (HelpContext != 0 && IsHelpRequest(e)) {
        ShowHelp(HelpContext);
        return true;
    }
    return QDialog::event(e);
}

void TDefault_Dlg::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    LayoutChildren();
}

void TDefault_Dlg::LayoutChildren()
{
    const int w = width();
    const int h = height();
    PropScrollbox->setGeometry(0, 0, w, std::max(0, h - kPanelHeight));
    Panel1->setGeometry(0, h - kPanelHeight, w, kPanelHeight);
    PinBtn->setGeometry(5, 19, 24, 24);
    // OK and cancel keep their distance from the right edge.
    OKBtn->setGeometry(w - (kDesignWidth - 35), 18, 75, 25);
    Button1->setGeometry(w - (kDesignWidth - 113), 18, 75, 25);
}

TDefault_Dlg& Default_Dlg()
{
    if (!g_defaultDlg) {
        g_defaultDlg = new TDefault_Dlg;
        // Freed while the application still exists.
        qAddPostRoutine([]() { delete g_defaultDlg; });
    }
    return *g_defaultDlg;
}

int EditInputCount(TIOBauteil& component)
{
    QStringList counts;
    for (int n = 2; n <= 16; ++n)
        counts << QString::number(n);
    TDefault_Dlg& dialog = Default_Dlg();
    dialog.setWindowTitle(component.GetTypeName());
    dialog.HelpContext = component.HelpContext;
    int32_t index = component.InputCount - 2;
    dialog.PropScrollbox->AddComboProp(Translate(QStringLiteral("Eingänge")), index, counts, 64);
    const int result = dialog.Execute();
    // The row writes back only on OK, so Cancel keeps the count and the pins.
    component.SetInputCount(index + 2);
    return result;
}
