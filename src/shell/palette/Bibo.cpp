#include "shell/palette/Bibo.h"

#include "core/board/BoardHooks.h"
#include "core/board/Makro.h"
#include "core/board/Platine.h"
#include "platform/Canvas.h"
#include "platform/Context.h"
#include "platform/FileIO.h"
#include "platform/Filer.h"
#include "ui/Formats.h"
#include "widgets/Gradient.h"

#include <QBuffer>
#include <QFile>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace {

constexpr int32_t kTopMargin = 20;       // above the first symbol
constexpr int32_t kTextOnlyRow = 99;     // height of a row in text-only mode
constexpr int32_t kCaptionSpace = 75;    // below a symbol, for its name
constexpr int32_t kRowGap = 45;          // between a name and the next symbol
constexpr int32_t kBox = 45;             // side of the "?" and "i" boxes
constexpr int32_t kBackground = 0xFFFAFA;
constexpr int32_t kGrey = 0x808080;

// Sets a flag of the program context for the lifetime of the object.
class TContextFlag {
public:
    explicit TContextFlag(bool& flag) : m_flag(flag), m_before(flag) { m_flag = true; }
    ~TContextFlag() { m_flag = m_before; }
    TContextFlag(const TContextFlag&) = delete;
    TContextFlag& operator=(const TContextFlag&) = delete;

private:
    bool& m_flag;
    bool m_before;
};

TCanvas Mapping()
{
    TCanvas canvas;
    canvas.SetMapping(TBibo::kZoom);
    return canvas;
}

} // namespace

TBibo::TBibo(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Bibo"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumWidth(40);
}

TBibo::~TBibo() = default;

void TBibo::ClearEntries()
{
    DraggedMacro = nullptr;
    Entries.clear();
    Rows.clear();
}

void TBibo::LoadBiboFile(const QString& fileName)
{
    // Only a regular file of a sensible size: a pipe or a device never ends.
    QByteArray bytes;
    if (!ReadWholeFile(fileName, kMaxLibraryFileSize, &bytes))
        bytes.clear();
    LoadLibrary(bytes, fileName);
}

void TBibo::LoadLibrary(const QByteArray& bytes, const QString& name)
{
    FileName = name;
    ClearEntries();
    m_cursor = TextOnly ? 0 : kTopMargin;
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    {
        TContextFlag loading(Ctx().LibraryLoading);
        try {
            ReadLibrary(buffer);
        } catch (...) {
            // What was read before the fault stays in the palette.
            Relayout();
            UpdateHeight();
            update();
            throw;
        }
    }
    if (!NoPaint) {
        UpdateHeight();
        update();
    }
}

void TBibo::ReadLibrary(QIODevice& stream)
{
    stream.seek(0);
    if (stream.size() <= 1)
        return;
    TReader reader(stream, true);
    if (OnReadHeader)
        Version = OnReadHeader(reader);
    // Every entry takes at least its class name.
    const int32_t count = reader.ReadCount("entries");
    TContextFlag fromLibrary(Ctx().LoadingFromLibrary);
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TBauteil> item = TPlatine::CreateStoredItem(reader.ReadString());
        auto* entry = dynamic_cast<TIOBauteil*>(item.get());
        if (!entry)
            throw EFilerError::invalidPropertyValue();
        item.release();
        Entries.emplace_back(entry);
        entry->ReadData(reader, Version);
    }
    Relayout();
}

int32_t TBibo::WidthUnits() const
{
    return Mapping().LengthToLP(width());
}

void TBibo::LayoutEntry(TIOBauteil& entry)
{
    const TRect b = entry.GetBounds();
    entry.X = WidthUnits() / 2 - b.Width() / 2 + 20;
    if (!entry.Inputs.empty() && !entry.Outputs.empty())
        entry.X += 30;
    entry.Y = m_cursor;
    entry.LayoutPins();
    if (TextOnly) {
        m_cursor += kTextOnlyRow;
        Rows.push_back(m_cursor);
    } else {
        m_cursor += b.Height() + kCaptionSpace;
        Rows.push_back(m_cursor);
        m_cursor += kRowGap;
    }
    for (auto& pin : entry.Inputs)
        pin->Connected = true;
    for (auto& pin : entry.Outputs)
        pin->Connected = true;
}

void TBibo::Relayout()
{
    Rows.clear();
    m_cursor = TextOnly ? 0 : kTopMargin;
    for (auto& entry : Entries)
        LayoutEntry(*entry);
    UpdateHeight();
}

int TBibo::ContentHeight() const
{
    return Mapping().LengthToDP(m_cursor);
}

void TBibo::UpdateHeight()
{
    setMinimumHeight(ContentHeight());
}

void TBibo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!NoPaint)
        Relayout();
}

QPoint TBibo::PaletteToDevice(QPoint p) const
{
    return Mapping().LPtoDP(p);
}

QPoint TBibo::DeviceToPalette(QPoint p) const
{
    return Mapping().DPtoLP(p);
}

TIOBauteil* TBibo::EntryAt(QPoint point) const
{
    const QPoint p = DeviceToPalette(point);
    for (size_t k = 0; k < Rows.size() && k < Entries.size(); ++k)
        if (Rows[k] > p.y())
            return Entries[k].get();
    return nullptr;
}

bool TBibo::HelpBoxAt(QPoint point) const
{
    const QPoint p = DeviceToPalette(point);
    for (int32_t cell : Rows)
        if (p.x() >= 0 && p.x() < kBox && p.y() >= cell - kBox && p.y() < cell)
            return true;
    return false;
}

bool TBibo::InfoBoxAt(QPoint point) const
{
    const QPoint p = DeviceToPalette(point);
    for (int32_t cell : Rows)
        if (p.x() >= 0 && p.x() < kBox && p.y() >= cell - 2 * kBox && p.y() < cell - kBox)
            return true;
    return false;
}

QString TBibo::OneLineCaption(const TIOBauteil& entry)
{
    QString caption = entry.GetTypeName();
    const int lineBreak = caption.indexOf(QChar(13));
    if (lineBreak >= 0)
        caption[lineBreak] = u' ';
    return caption;
}

QByteArray TBibo::DragStream(TIOBauteil& entry)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    writer.WriteInteger(1);
    writer.WriteString(TPlatine::StoredClassName(entry));
    const int32_t x = entry.X;
    const int32_t y = entry.Y;
    entry.X = 0;
    entry.Y = 0;
    entry.WriteData(writer);
    entry.X = x;
    entry.Y = y;
    writer.WriteBoolean(false);
    return bytes;
}

void TBibo::paintEvent(QPaintEvent*)
{
    if (NoPaint)
        return;
    QPainter painter(this);
    TCanvas canvas(&painter);
    canvas.SetMapping(kZoom);
    const int32_t w = WidthUnits();
    const int32_t h = canvas.LengthToLP(height()) + 1;
    if (isEnabled()) {
        FillGradient(canvas, 0, 0, w, h, kBackground, ScaleColor(kBackground, 0.91), false);
    } else {
        canvas.Brush = TCanvasBrush{0xC0C0C0, Qt::SolidPattern};
        canvas.FillRect(0, 0, w, h);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    int32_t cursor = TextOnly ? 0 : kTopMargin;
    for (auto& entry : Entries) {
        int32_t captionColor = 0;
        if (TextOnly) {
            cursor += 95;
        } else {
            entry->Paint(canvas);
            const TRect b = entry->GetBounds();
            cursor = b.Bottom + (entry->Y - b.Top) + kCaptionSpace;
            captionColor = kGrey;
        }
        cursor += 4;
        const int32_t y = cursor;
        canvas.Pen = TCanvasPen{kGrey, 3, Qt::SolidLine, TPenMode::Copy};
        canvas.MoveTo(0, y);
        canvas.LineTo(w, y);

        canvas.Font = QFont(QStringLiteral("Arial"));
        canvas.SetFontHeight(44);
        canvas.FontColor = captionColor;
        canvas.TransparentText = true;
        const QString name = entry->GetTypeName();
        const int lineBreak = name.indexOf(QChar(13));
        auto centred = [&](int top, const QString& line) {
            canvas.TextOut((w - canvas.TextWidth(line) - 40) / 2, top, line);
        };
        if (lineBreak >= 0) {
            centred(y - 85, name.left(lineBreak));
            centred(y - 50, name.mid(lineBreak + 1).remove(QChar(10)));
        } else {
            centred(y - 70, name);
        }

        canvas.Pen = TCanvasPen{kGrey, 1, Qt::SolidLine, TPenMode::Copy};
        canvas.Brush = TCanvasBrush{0, Qt::NoBrush};
        QFont boxFont(QStringLiteral("Arial"));
        boxFont.setBold(true);
        boxFont.setItalic(true);
        canvas.Font = boxFont;
        canvas.SetFontHeight(44);
        canvas.FontColor = kGrey;
        canvas.Rectangle(0, y - kBox, kBox, y);
        canvas.TextOut(14, y - kBox, QStringLiteral("?"));
        if (IsHardwareComponent(*entry)) {
            canvas.Rectangle(0, y - 2 * kBox, kBox, y - kBox);
            canvas.TextOut(20, y - 2 * kBox, QStringLiteral("i"));
        }
    }
}

void TBibo::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    TIOBauteil* entry = EntryAt(point);
    if (!entry)
        return;
    if (HelpBoxAt(point)) {
        ShowHelp(entry->HelpContext);
        return;
    }
    if (InfoBoxAt(point) && IsHardwareComponent(*entry)) {
        if (OnShowInfo)
            OnShowInfo(*entry);
        return;
    }
    DraggedMacro = nullptr;
    QByteArray bytes = DragStream(*entry);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    const bool left = event->button() == Qt::LeftButton;
    if (auto* macro = dynamic_cast<TMakro*>(entry)) {
        DraggedMacro = macro;
        if (left && OnMacroDrag)
            OnMacroDrag(stream);
    } else if (left && OnComponentDrag) {
        OnComponentDrag(stream);
    }
}
