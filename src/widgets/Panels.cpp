#include "widgets/Panels.h"

#include "platform/Canvas.h"
#include "widgets/Bitmaps.h"
#include "widgets/EffectText.h"

#include <QPainter>

TWLXCustomPanel::TWLXCustomPanel(QWidget* parent)
    : TWLXCustomControl(parent)
{
    SetColor(clBtnFace);
}

TWLXCustomBevelPanel::TWLXCustomBevelPanel(QWidget* parent)
    : TWLXCustomPanel(parent)
{
    m_bevel.OnChange = [this](void* sender) { ChangeNotify(sender); };
}

void TWLXCustomBevelPanel::UpdateChildMargins()
{
    const TWLXRect inner = m_bevel.GetInnerRect(ClientRect());
    setContentsMargins(inner.Left, inner.Top, width() - inner.Right,
                       height() - inner.Bottom + ReservedBottom());
}

bool TWLXCustomBevelPanel::ShowsFrame() const
{
    return hasFocus() || !Flat() || DesignMode || MouseAbove() || Entered();
}

TWLXRect TWLXCustomBevelPanel::GetSizeGripArea() const
{
    TWLXRect r = m_bevel.GetInnerRect(ClientRect());
    r.Left = r.Right - kScrollArrowSize;
    r.Top = r.Bottom - kScrollArrowSize;
    return r;
}

void TWLXCustomBevelPanel::ChangeNotify(void* sender)
{
    if (Loading)
        return;
    if (sender == &m_bevel && !NoHandleUpdate)
        UpdateChildMargins();
    if (sender == &m_bevel && NoHandleUpdate)
        repaint();
    else
        update();
}

void TWLXCustomBevelPanel::DoMouseEnter()
{
    SetMouseAbove(true);
    if (!hasFocus() && Flat() && !Entered())
        DrawNormalFrame();
    TWLXCustomPanel::DoMouseEnter();
}

void TWLXCustomBevelPanel::resizeEvent(QResizeEvent* event)
{
    TWLXCustomPanel::resizeEvent(event);
    BackFX().InvalidateBuffer();
    UpdateChildMargins();
}

void TWLXCustomBevelPanel::PaintSizeGrip(TCanvas& canvas)
{
    const TWLXRect g = GetSizeGripArea();
    // Three pairs of diagonal lines, light and dark, in the corner.
    for (int i = 0; i < 3; ++i) {
        const int d = 4 * i + 3;
        for (int k = 0; k < 2; ++k) {
            canvas.Pen = TCanvasPen{k ? clBtnShadow : clBtnHighlight, 1, Qt::SolidLine, TPenMode::Copy};
            canvas.MoveTo(g.Right - d + k - 1, g.Bottom - 1);
            canvas.LineTo(g.Right, g.Bottom - d + k - 2);
        }
    }
}

void TWLXCustomBevelPanel::Paint(TCanvas& canvas)
{
    PaintBackground(canvas);
    if (ShowsFrame())
        m_bevel.PaintBevel(canvas, ClientRect(), Transparent());
    if (SizeGrip())
        PaintSizeGrip(canvas);
}

// ---- parent panel -------------------------------------------------------------------------

void TWLXCustomParentPanel::PaintBackground(TCanvas& canvas)
{
    if (m_backBitmap && canvas.Painter()) {
        canvas.Painter()->drawImage(0, 0, *m_backBitmap);
        return;
    }
    TWLXCustomBevelPanel::PaintBackground(canvas);
}

void TWLXCustomParentPanel::UpdateBackBitmap(bool force)
{
    if (GetFaceTransparent() || !HasImage()) {
        m_backBitmap.reset();
        return;
    }
    if (!m_backBitmap)
        m_backBitmap = std::make_unique<QImage>();
    else if (!force && m_backBitmap->size() == size())
        return;
    *m_backBitmap = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    m_backBitmap->fill(TColorToQColor(ColorToRGB(GetFaceColor())));
    QPainter p(m_backBitmap.get());
    TCanvas canvas(&p);
    ImageList()->DrawInRect(canvas, ClientRect(), kBmpStretch | kBmpPalette, ListIndex(), ImageIndex());
}

void TWLXCustomParentPanel::ImageListChange()
{
    ChangeNotify(nullptr);
}

void TWLXCustomParentPanel::ChangeNotify(void* sender)
{
    if (Loading)
        return;
    UpdateBackBitmap(true);
    TWLXCustomBevelPanel::ChangeNotify(sender);
}

void TWLXCustomParentPanel::resizeEvent(QResizeEvent* event)
{
    if (!Loading)
        UpdateBackBitmap(false);
    TWLXCustomBevelPanel::resizeEvent(event);
}

void TWLXCustomParentPanel::Paint(TCanvas& canvas)
{
    if (Loading)
        return;
    PaintBackground(canvas);
    Bevel().PaintBevel(canvas, ClientRect(), true);
}

// ---- fill panel ---------------------------------------------------------------------------

TWLXCustomPanelFill::TWLXCustomPanelFill(QWidget* parent)
    : TWLXCustomParentPanel(parent)
{
    m_captionFX.OnChange = [this](void* sender) { ChangeNotify(sender); };
    m_fill.OnChange = [this](void* sender) { ChangeNotify(sender); };
}

void TWLXCustomPanelFill::SetAlignment(TWLXAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    update();
}

void TWLXCustomPanelFill::SetCaption(const QString& value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    ChangeNotify(nullptr);
}

void TWLXCustomPanelFill::UpdateBackBitmap(bool force)
{
    if (Loading)
        return;
    if (Transparent() || m_fill.IsEmptyFill()) {
        m_backBitmap.reset();
        return;
    }
    if (!m_backBitmap)
        m_backBitmap = std::make_unique<QImage>();
    if (!force && m_fill.Style() != TWLXFillStyle::sfGradient && m_backBitmap->size() == size())
        return;
    *m_backBitmap = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    m_backBitmap->fill(TColorToQColor(ColorToRGB(Color())));
    {
        QPainter p(m_backBitmap.get());
        TCanvas canvas(&p);
        m_fill.PaintFill(canvas, ClientRect(), Color());
    }
    BackFX().Apply(*m_backBitmap);
}

void TWLXCustomPanelFill::ImageListChange()
{
    QImage picture;
    if (ImageList())
        ImageList()->GetBitmap(ListIndex(), ImageIndex(), &picture);
    m_fill.SetListBitmap(picture);
    ChangeNotify(&m_fill);
}

void TWLXCustomPanelFill::ChangeNotify(void* sender)
{
    if (Loading || IsUpdating())
        return;
    if (sender != &m_captionFX)
        UpdateBackBitmap(true);
    if (sender == &Bevel())
        UpdateChildMargins();
    update();
}

void TWLXCustomPanelFill::Paint(TCanvas& canvas)
{
    if (Loading)
        return;
    PaintBackground(canvas);
    TWLXRect inner = ClientRect();
    if (!Flat() || Entered())
        inner = Bevel().PaintBevel(canvas, ClientRect(), BevelTransparent);
    DrawCaption(canvas, inner, m_alignment);
}

void TWLXCustomPanelFill::DrawCaption(TCanvas& canvas, const TWLXRect& rect, TWLXAlignment alignment)
{
    if (m_caption.isEmpty())
        return;
    static const unsigned kAlign[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    canvas.Brush.Style = Qt::NoBrush;
    canvas.Font = font();
    canvas.FontColor = clBtnText;
    DrawEffectText(canvas, m_caption, &m_captionFX, nullptr, (isEnabled() ? kTextEnabled : 0) | 8,
                   kAlign[int(alignment)] | 0x860, rect);
}
