// The front panel's picture: copying it to the clipboard, the print preview and printing.

#include "frontpanel/FrontPanel.h"

#include "frontpanel/Design.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The preview of the front panel's print page: headline, comment lines, centring and zoom.
// It ends with mrYes (print), mrOk (keep the settings) or mrCancel.
class TPanelPreviewDlg : public QDialog {
public:
    TPanelPreviewDlg(TFrontplatte& window, const QImage& image)
        : QDialog(&window)
        , m_window(window)
        , m_image(image)
    {
        setObjectName(QStringLiteral("TPreviewDlg"));
        setWindowTitle(Lang3Q("Druckvorschau", "Print preview", "Aperçu avant impression"));
        auto* layout = new QVBoxLayout(this);
        Headline = new QLineEdit(this);
        Headline->setObjectName(QStringLiteral("Headline"));
        layout->addWidget(Headline);
        Comment = new QPlainTextEdit(this);
        Comment->setObjectName(QStringLiteral("Comment"));
        Comment->setMaximumHeight(60);
        layout->addWidget(Comment);
        PaintBox = new TPaintBox(*this);
        PaintBox->setMinimumSize(320, 240);
        layout->addWidget(PaintBox, 1);
        auto* row = new QHBoxLayout;
        CB_Mitte = new QCheckBox(Lang3Q("Seitenmitte", "Centre of page", "Centre de page"), this);
        CB_Mitte->setObjectName(QStringLiteral("CB_Mitte"));
        CB_SW = new QCheckBox(this);
        CB_SW->setObjectName(QStringLiteral("CB_SW"));
        CB_SW->hide();
        cb_Hintergrund = new QCheckBox(Lang3Q("Hintergrund", "Background", "Fond"), this);
        cb_Hintergrund->setObjectName(QStringLiteral("cb_Hintergrund"));
        cb_Hintergrund->hide();
        ZoomScroller = new QScrollBar(Qt::Horizontal, this);
        ZoomScroller->setObjectName(QStringLiteral("ZoomScroller"));
        ZoomScroller->setRange(0, 200);
        row->addWidget(CB_Mitte);
        row->addWidget(ZoomScroller, 1);
        auto* print = new QPushButton(Lang3Q("Drucken", "Print", "Imprimer"), this);
        print->setObjectName(QStringLiteral("PrintBtn"));
        auto* ok = new QPushButton(QStringLiteral("OK"), this);
        auto* cancel = new QPushButton(Lang3Q("Abbrechen", "Cancel", "Annuler"), this);
        row->addWidget(print);
        row->addWidget(ok);
        row->addWidget(cancel);
        layout->addLayout(row);
        connect(print, &QPushButton::clicked, this, [this] {
            SetModalResult(*this, mrYes);
            accept();
        });
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        connect(ZoomScroller, &QScrollBar::valueChanged, this, [this](int) { PaintBox->update(); });
        connect(CB_Mitte, &QCheckBox::toggled, this, [this](bool) { PaintBox->update(); });
    }

    QLineEdit* Headline = nullptr;
    QPlainTextEdit* Comment = nullptr;
    QCheckBox* CB_Mitte = nullptr;
    QCheckBox* CB_SW = nullptr;
    QCheckBox* cb_Hintergrund = nullptr;
    QScrollBar* ZoomScroller = nullptr;
    QPoint PreviewOffset;

    // Puts the dialog's current values into the window's print settings.
    void StoreInto(TPanelPrintSettings& p) const
    {
        p.Centered = CB_Mitte->isChecked();
        p.Hidden = CB_SW->isChecked();
        p.Background = cb_Hintergrund->isChecked();
        p.Zoom = ZoomScroller->value();
        p.PrintScale = PrintScaleForZoom(p.Zoom);
        p.Headline = Headline->text();
        p.Comment = Comment->toPlainText().split(u'\n');
        if (p.Comment.size() == 1 && p.Comment.front().isEmpty())
            p.Comment.clear();
        p.PreviewOffset = PreviewOffset;
    }

private:
    class TPaintBox : public QWidget {
    public:
        explicit TPaintBox(TPanelPreviewDlg& dlg)
            : QWidget(&dlg)
            , m_dlg(dlg)
        {
        }

    protected:
        void paintEvent(QPaintEvent*) override
        {
            QPainter painter(this);
            TPanelPrintSettings& p = m_dlg.m_window.Print;
            // The preview shows the dialog's current values.
            const TPanelPrintSettings saved = p;
            m_dlg.StoreInto(p);
            m_dlg.m_window.DrawPrintPage(painter, m_dlg.m_image, rect(), false);
            m_dlg.PreviewOffset = p.PreviewOffset;
            const QPoint position = p.PrintPosition;
            p = saved;
            p.PrintPosition = position;
        }

    private:
        TPanelPreviewDlg& m_dlg;
    };

    TFrontplatte& m_window;
    QImage m_image;
    TPaintBox* PaintBox = nullptr;
};

QFont ArialFont(bool bold, Extended pixelHeight)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(bold);
    font.setPixelSize(std::max(1, static_cast<int>(RoundHalfEven(pixelHeight))));
    return font;
}

} // namespace

Extended PrintScaleForZoom(int32_t zoom)
{
    return std::pow(10.0L, static_cast<Extended>(100 - zoom) / 100.0L);
}

QImage TFrontplatte::CapturePanelImage()
{
    SetToolStripHeight(2);
    if (layout())
        layout()->activate();
    Panel1->hide();
    const QImage image = grab().toImage();
    return image;
}

void TFrontplatte::CopyBtnClick()
{
    if (CopyBtn->isHidden())
        return;
    const QImage image = CapturePanelImage();
    QApplication::clipboard()->setImage(image);
    RootDesign->RefreshTransparency(this);
}

void TFrontplatte::PrintBtnClick()
{
    if (PrintBtn->isHidden())
        return;
    PrintPanel(CapturePanelImage());
}

void TFrontplatte::PrintPanel(const QImage& image)
{
    TPanelPreviewDlg dlg(*this, image);
    dlg.Headline->setText(Print.Headline);
    dlg.Comment->setPlainText(Print.Comment.join(u'\n'));
    dlg.CB_Mitte->setChecked(Print.Centered);
    dlg.CB_SW->setChecked(Print.Hidden);
    dlg.cb_Hintergrund->setChecked(Print.Background);
    dlg.ZoomScroller->setValue(Print.Zoom);
    dlg.PreviewOffset = Print.PreviewOffset;
    const int result = ShowModal(dlg);
    if (result == mrCancel)
        return;
    dlg.StoreInto(Print);
    if (result == mrYes)
        PrintDirect(image);
}

bool TFrontplatte::PrintDirect(const QImage& image)
{
    QPrinter printer(QPrinter::HighResolution);
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (Print.PrinterIndex >= 0 && Print.PrinterIndex < printers.size())
        printer.setPrinterName(printers.at(Print.PrinterIndex).printerName());
    printer.setPageOrientation(Print.Orientation == 1 ? QPageLayout::Landscape
                                                      : QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("FPL"));
    if (OnSetupPrinter)
        OnSetupPrinter(printer);
    QPainter painter;
    if (image.isNull() || !painter.begin(&printer)) {
        MessageDlg(Lang3Q("Die Frontplatte kann nicht gedruckt werden.",
                          "The front panel cannot be printed.",
                          "Impossible d'imprimer le panneau de contrôle."),
                   mtError, mbOK);
        return false;
    }
    const QRect page(0, 0, printer.width(), printer.height());
    DrawPrintPage(painter, image, page, true);
    return painter.end();
}

void TFrontplatte::DrawPrintPage(QPainter& painter, const QImage& image, const QRect& paintRect,
                                 bool onPrinter)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return;
    const Extended iw = image.width();
    const Extended ih = image.height();
    const Extended pw = paintRect.width();
    const Extended ph = paintRect.height();
    const auto round = [](Extended v) { return static_cast<int>(RoundHalfEven(v)); };
    Extended s = std::min(pw / iw, ph / ih) * Print.PrintScale;
    if (s <= 0)
        return;
    QPoint position = Print.PrintPosition;
    if (!onPrinter) {
        position = QPoint(round(Print.PreviewOffset.x() / s), round(Print.PreviewOffset.y() / s));
        painter.fillRect(paintRect, Qt::white);
        if (Print.Centered) {
            position = QPoint(round(pw / 2 / s - iw / 2), round(ph / 2 / s - ih / 2));
            Print.PreviewOffset = QPoint(round(position.x() * s), round(position.y() * s));
        }
        Print.PrintPosition = position;
    }
    const Extended x = position.x();
    const Extended y = position.y();
    const QRect target(round(s * x), round(s * y), round(s * iw), round(s * ih));
    painter.drawImage(target, image);

    painter.setPen(Qt::black);
    const QFont headFont = ArialFont(true, s * 20);
    painter.setFont(headFont);
    const QFontMetrics headMetrics(headFont);
    const int headHeight = headMetrics.height();
    const int headWidth = headMetrics.horizontalAdvance(Print.Headline);
    const int headX = target.x() + (target.width() - headWidth) / 2;
    const int headY = round(s * y - 1.5L * headHeight);
    painter.drawText(QRect(headX, headY, headWidth + 1, headHeight), Qt::AlignLeft | Qt::AlignTop,
                     Print.Headline);

    const QFont commentFont = ArialFont(false, s * 12);
    painter.setFont(commentFont);
    const int lineHeight = QFontMetrics(commentFont).height();
    for (int k = 0; k < Print.Comment.size(); ++k) {
        const int ly = round(s * (ih + y)) + (k + 1) * lineHeight;
        painter.drawText(QRect(round(s * x), ly, std::max(1, paintRect.width()), lineHeight),
                         Qt::AlignLeft | Qt::AlignTop, Print.Comment.at(k));
    }
}
