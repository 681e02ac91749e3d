// Copy, cut and paste through the program's internal clipboard: one memory stream shared by
// every board, holding a circuit stream of the copied items. (The placing tool in core/editing
// lets pasted items follow the mouse until they are dropped.) A copy also puts a picture of the selection on the system
// clipboard, as SVG and as an image.
#include "core/board/Platine.h"

#include "core/model/Bauteil.h"
#include "platform/Canvas.h"
#include "platform/Filer.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

namespace {

// Largest side of the clipboard image in pixels; a larger selection is drawn smaller.
constexpr int kMaxImageSide = 4096;

// One board unit is 0.2 mm in the picture: 127 units per inch.
constexpr int kSvgUnitsPerInch = 127;

} // namespace

void TPlatine::CopySelection(double pictureZoom)
{
    if (ClipboardStream) {
        ClipboardStream->close();
        ClipboardStream->setData(QByteArray());
        ClipboardStream->open(QIODevice::ReadWrite);
        TWriter writer(*ClipboardStream);
        WriteCircuit(writer, true);
        ClipboardStream->seek(0);
    }
    CopyAsPicture(pictureZoom);
    if (OnAktTools)
        OnAktTools(this);
}

void TPlatine::CutSelection(double pictureZoom)
{
    CopySelection(pictureZoom);
    DeleteSelection();
}

void TPlatine::PasteFromStream(QIODevice& stream, uint8_t version)
{
    if (stream.size() < 3)
        return;
    if (!stream.isOpen())
        stream.open(QIODevice::ReadOnly);
    SelectAll(false);
    stream.seek(0);
    try {
        TReader reader(stream);
        ReadCircuit(reader, version);
    } catch (...) {
        stream.seek(0);
        throw;
    }
    stream.seek(0);

    // Selecting once more takes the linked front-panel elements and macro groups along.
    for (TBauteil* item : SelectedItems()) {
        SelectObject(item, false);
        SelectObject(item, true);
    }
}

QByteArray TPlatine::SelectionToSvg()
{
    const TRect b = GetItemsBounds(true);
    if (b.IsEmpty())
        return QByteArray();
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(b.Width(), b.Height()));
    generator.setViewBox(QRect(0, 0, b.Width(), b.Height()));
    generator.setResolution(kSvgUnitsPerInch);
    QPainter painter(&generator);
    painter.translate(-b.Left, -b.Top);
    TCanvas canvas(&painter);
    canvas.SetIdentityMapping();
    PaintSelected(canvas);
    painter.end();
    return svg;
}

QImage TPlatine::SelectionToImage(double zoom)
{
    const TRect b = GetItemsBounds(true);
    if (b.IsEmpty())
        return QImage();
    auto pixels = [&b](double z) {
        TCanvas mapping;
        mapping.SetMapping(z);
        const QPoint a = mapping.LPtoDP(QPoint(b.Left, b.Top));
        const QPoint c = mapping.LPtoDP(QPoint(b.Right, b.Bottom));
        return TRect{a.x(), a.y(), c.x(), c.y()};
    };
    TRect s = pixels(zoom);
    const int side = std::max(s.Width(), s.Height());
    if (side > kMaxImageSide) {
        zoom = zoom * kMaxImageSide / side;
        s = pixels(zoom);
    }
    QImage image(std::max(1, s.Width()), std::max(1, s.Height()),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-s.Left, -s.Top);
    TCanvas canvas(&painter);
    canvas.SetMapping(zoom);
    PaintSelected(canvas);
    painter.end();
    return image;
}

void TPlatine::CopyAsPicture(double zoom)
{
    if (GetItemsBounds(true).IsEmpty())
        return;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), SelectionToSvg());
    mime->setImageData(SelectionToImage(zoom));
    QGuiApplication::clipboard()->setMimeData(mime);
}
