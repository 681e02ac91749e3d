#include "shell/tools/BoardPrint.h"

#include "core/board/Platine.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/WidgetHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Board units per pixel at zoom 1: 254 units are 16 pixels.
constexpr double kPixelsPerUnit = 16.0 / 254.0;

// Pixels per board unit of a canvas mapped at this zoom (as TCanvas rounds it).
double DevicePerUnit(double zoom)
{
    return std::max<double>(1.0, std::round(16.0 * zoom)) / 254.0;
}

} // namespace

double PrintScaleOf(int sliderPosition)
{
    return std::pow(10.0, (200 - sliderPosition) / 100.0) / 10.0;
}

double PrintZoom(QSize page, const TPlatine& board, double scale)
{
    const double width = std::max(1.0, board.BoardWidth * kPixelsPerUnit);
    const double height = std::max(1.0, board.BoardHeight * kPixelsPerUnit);
    return std::min(page.width() / width, page.height() / height) * scale;
}

void RenderBoardPrint(TPlatine& board, QPainter& painter, QSize page, bool blackWhite)
{
    TPrintSettings& s = board.PrintSettings;
    const double zoom = PrintZoom(page, board, s.Scale);
    if (s.Centered) {
        const TRect r = board.GetItemsBounds(false);
        const double k = DevicePerUnit(zoom);
        s.Offset = QPoint(int(std::lround(page.width() / 2.0 / k - r.Left - r.Width() / 2.0)),
                          int(std::lround(page.height() / 2.0 / k - r.Top - r.Height() / 2.0)));
    }
    TCanvas canvas(&painter);
    canvas.SetMapping(zoom, -s.Offset);
    const QScopedValueRollback monochrome(board.MonochromePrint, blackWhite);
    const QScopedValueRollback colours(Ctx().ColorSymbols, !blackWhite);
    board.PaintItems(canvas);
}

// --- Preview ----------------------------------------------------------------------------------

TBoardPrintDlg::TBoardPrintDlg(TPlatine& board, QWidget* parent)
    : QDialog(parent)
    , m_board(board)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_previewOffset(board.PrintSettings.Offset)
{
    setObjectName(QStringLiteral("TPreviewDlg"));
    setWindowTitle(Lang3Q("Druckvorschau", "Print preview", "Aperçu avant impression"));
    resize(720, 640);
    const TPrintSettings& s = board.PrintSettings;

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(Lang3Q("Drucker:", "Printer:", "Imprimante :"), this));
    PrinterBox = Named(new QComboBox(this), "PrinterBox");
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : printers)
        PrinterBox->addItem(info.printerName());
    if (printers.isEmpty())
        PrinterBox->addItem(Lang3Q("(kein Drucker)", "(no printer)", "(aucune imprimante)"));
    // A stored printer beyond those installed falls back to the default printer.
    int index = 0;
    if (s.PrinterIndex >= 0 && s.PrinterIndex < printers.size())
        index = s.PrinterIndex;
    else
        for (int i = 0; i < printers.size(); ++i)
            if (printers[i].isDefault())
                index = i;
    PrinterBox->setCurrentIndex(index);
    top->addWidget(PrinterBox, 1);
    OrientationBox = Named(new QComboBox(this), "OrientationBox");
    OrientationBox->addItems({Lang3Q("Hochformat", "Portrait", "Portrait"),
                              Lang3Q("Querformat", "Landscape", "Paysage")});
    OrientationBox->setCurrentIndex(s.Orientation == 1 ? 1 : 0);
    top->addWidget(OrientationBox);
    layout->addLayout(top);

    Preview = Named(new QPrintPreviewWidget(m_printer.get(), this), "pvPaintBox");
    layout->addWidget(Preview, 1);

    auto* options = new QHBoxLayout;
    CB_Mitte = Named(new QCheckBox(Lang3Q("Seitenmitte", "Centre of page", "Centre de page"), this),
                     "CB_Mitte");
    CB_Mitte->setChecked(s.Centered);
    CB_SW = Named(new QCheckBox(Lang3Q("s/w-&Druck", "b/w &print", "Impression n/&b"), this), "CB_SW");
    CB_SW->setChecked(s.BlackWhite);
    options->addWidget(CB_Mitte);
    options->addWidget(CB_SW);
    options->addSpacing(12);
    options->addWidget(new QLabel(Lang3Q("Größe:", "Size:", "Taille :"), this));
    ZoomScroller = Named(new QSlider(Qt::Horizontal, this), "ZoomScroller");
    ZoomScroller->setRange(0, 200);
    // The slider grows to the right: its value is the stored position turned round.
    ZoomScroller->setInvertedAppearance(true);
    ZoomScroller->setValue(std::clamp(s.Size, 0, 200));
    options->addWidget(ZoomScroller, 1);
    layout->addLayout(options);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    PrintBtn = Named(new QPushButton(Lang3Q("&Drucken...", "&Print...", "&Imprimer..."), this),
                     "PrintBtn");
    OKBtn = Named(new QPushButton(QStringLiteral("&OK"), this), "OKBtn");
    CancelBtn = Named(new QPushButton(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"), this),
                      "CancelBtn");
    for (QPushButton* b : {PrintBtn, OKBtn, CancelBtn})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(Preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        QPainter painter(printer);
        const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
        TPrintSettings& settings = m_board.PrintSettings;
        const TPrintSettings kept = settings;
        settings.Centered = CB_Mitte->isChecked();
        settings.Scale = PrintScaleOf(ZoomScroller->value());
        RenderBoardPrint(m_board, painter, page.size(), CB_SW->isChecked());
        // The preview shows; only OK or printing keeps what it shows.
        const QPoint offset = settings.Offset;
        settings = kept;
        m_previewOffset = offset;
    });
    const auto refresh = [this] { Preview->updatePreview(); };
    connect(CB_Mitte, &QCheckBox::toggled, this, refresh);
    connect(CB_SW, &QCheckBox::toggled, this, refresh);
    connect(ZoomScroller, &QSlider::valueChanged, this, refresh);
    connect(PrinterBox, &QComboBox::currentIndexChanged, this, [this] {
        ApplyPrinter();
        Preview->updatePreview();
    });
    connect(OrientationBox, &QComboBox::currentIndexChanged, this, [this] {
        ApplyPrinter();
        Preview->updatePreview();
    });
    connect(PrintBtn, &QPushButton::clicked, this, [this] {
        SetModalResult(*this, mrYes);
        accept();
    });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ApplyPrinter();
    Preview->fitInView();
}

TBoardPrintDlg::~TBoardPrintDlg() = default;

void TBoardPrintDlg::ApplyPrinter()
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    const int index = PrinterBox->currentIndex();
    if (index >= 0 && index < printers.size())
        m_printer->setPrinterName(printers.at(index).printerName());
    m_printer->setPageOrientation(OrientationBox->currentIndex() == 1 ? QPageLayout::Landscape
                                                                      : QPageLayout::Portrait);
}

void TBoardPrintDlg::StoreSettings()
{
    TPrintSettings& s = m_board.PrintSettings;
    s.PrinterIndex = QPrinterInfo::availablePrinters().isEmpty() ? -1 : PrinterBox->currentIndex();
    s.Orientation = OrientationBox->currentIndex();
    s.Centered = CB_Mitte->isChecked();
    s.BlackWhite = CB_SW->isChecked();
    s.Size = ZoomScroller->value();
    s.Scale = PrintScaleOf(s.Size);
    s.Offset = m_previewOffset;
}

int PrintBoard(TPlatine& board, QWidget* parent)
{
    board.SelectAll(false);
    TBoardPrintDlg dialog(board, parent);
    const int result = ShowModal(dialog);
    if (result == mrCancel)
        return result;
    dialog.StoreSettings();
    if (result != mrYes)
        return result;
    QPrinter& printer = dialog.Printer();
    printer.setDocName(QStringLiteral("Tavrinol"));
    QPrintDialog ask(&printer, parent);
    if (ShowModal(ask) != mrOk)
        return result;
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageDlg(Lang3Q("Die Schaltung kann nicht gedruckt werden.",
                          "The circuit cannot be printed.", "Impossible d'imprimer le circuit."),
                   mtError, mbOK);
        return result;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    RenderBoardPrint(board, painter, page.size(), board.PrintSettings.BlackWhite);
    painter.end();
    return result;
}
