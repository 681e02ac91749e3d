#include "widgets/FontListBox.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/EffectText.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

TWLXFontListBox::TWLXFontListBox(QWidget* parent)
    : TWLXCustomDerivedImageListBox(parent)
{
    FillFontList();
}

TWLXFontListBox::~TWLXFontListBox()
{
    FontChangeHook = nullptr;
}

void TWLXFontListBox::FillFontList()
{
    const QString name = GetFontName();
    QStringList names;
    QList<int> types;
    if (m_options & foScreenFonts)
        for (const TWLXFontFace& face : ScreenFontFaces(m_options & foTrueTypeOnly)) {
            names.append(face.Name);
            types.append(face.Type);
        }
    const QSignalBlocker block(this);
    SetItems(names);
    for (int i = 0; i < Count(); ++i)
        item(i)->setData(Qt::UserRole, types.value(i));
    SetItemIndex(-1);
    if (!name.isEmpty())
        for (int i = 0; i < Count(); ++i)
            if (QString::compare(Item(i), name, Qt::CaseInsensitive) == 0) {
                SetItemIndex(i);
                break;
            }
}

int TWLXFontListBox::FontTypeOf(int index) const
{
    const QListWidgetItem* it = item(index);
    return it ? it->data(Qt::UserRole).toInt() : 0;
}

QString TWLXFontListBox::GetFontName() const
{
    return ItemIndex() >= 0 ? Item(ItemIndex()) : QString();
}

void TWLXFontListBox::SetFontName(const QString& name)
{
    if (GetFontName() == name)
        return;
    int found = -1;
    for (int i = 0; i < Count() && found < 0; ++i)
        if (QString::compare(Item(i), name, Qt::CaseInsensitive) == 0)
            found = i;
    SetItemIndex(found);
    if (FontChangeHook)
        FontChangeHook();
}

void TWLXFontListBox::SetOptions(uint8_t value)
{
    if (value == m_options)
        return;
    m_options = value;
    if (DesignMode) {
        Invalidate();
        return;
    }
    const QString name = GetFontName();
    FillFontList();
    SetFontName(name);
    Invalidate();
}

void TWLXFontListBox::DoSelect()
{
    TWLXCustomDerivedImageListBox::DoSelect();
    if (FontChangeHook)
        FontChangeHook();
}

void TWLXFontListBox::DrawItem(TCanvas& canvas, int index, const TWLXRect& rect, unsigned state)
{
    TWLXRect text = TextRect(rect);
    int offset = kFontPlainTextOffset;
    if (m_options & foDisplaySymbol) {
        if (QPainter* painter = canvas.Painter())
            DrawFontMark(*painter, QRect(text.Left + 2, text.Top, 18, text.Height()), FontTypeOf(index),
                         TColorToQColor(canvas.FontColor));
        offset = kFontMarkTextOffset;
    }
    QFont face = canvas.Font;
    if (m_options & foDisplayFont)
        face.setFamily(Item(index));
    canvas.Font = face;
    text.Left += offset;
    text.Top += 1;
    const unsigned flags = BiDiFlags(DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    const unsigned look = (state & odDisabled) ? 0 : kTextEnabled;
    DrawEffectText(canvas, Item(index), &Font3D(), &text, look | kTextClip, flags, text);
}

// ---- sample --------------------------------------------------------------------------------

void TWLXFontListBox::mouseMoveEvent(QMouseEvent* event)
{
    ShowExampleAt(event->position().toPoint());
    TWLXCustomDerivedImageListBox::mouseMoveEvent(event);
}

void TWLXFontListBox::ShowExampleAt(QPoint point)
{
    m_mousePos = point;
    const int index = viewport()->rect().contains(point) ? ItemAtPos(point) : -1;
    if (index < 0) {
        HideExample();
        return;
    }
    ShowExampleFor(index);
}

void TWLXFontListBox::ShowExampleFor(int index)
{
    // Once per item: moving within it shows nothing new.
    if (index == m_lastExampleItem)
        return;
    m_lastExampleItem = index;
    if (!ShowExample)
        return;
    if (!m_example) {
        m_example = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
        m_example->setAutoFillBackground(true);
        QPalette pal = m_example->palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, Qt::black);
        m_example->setPalette(pal);
        m_example->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_example->setMargin(2);
        m_example->setWordWrap(true);
        m_example->setMaximumWidth(200);
    }
    m_example->hide();
    QFont face = font();
    face.setFamily(Item(index));
    face.setPointSize(std::max(1, ExampleFontSize));
    m_example->setFont(face);
    m_example->setText(ExampleText);
    m_example->adjustSize();
    QPoint at;
    switch (ExampleAlign) {
    case TWLXFontListExampleAlign::eaListRightTop: at = mapToGlobal(QPoint(width(), 0)); break;
    case TWLXFontListExampleAlign::eaMousePos:
        at = viewport()->mapToGlobal(QPoint(m_mousePos.x() + 10, m_mousePos.y()));
        break;
    case TWLXFontListExampleAlign::eaRow: at = mapToGlobal(QPoint(width(), viewport()->y() + m_mousePos.y())); break;
    }
    m_example->move(at);
    m_example->show();
    ++m_exampleShows;
}

bool TWLXFontListBox::ExampleShowing() const
{
    return m_example && m_example->isVisible();
}

void TWLXFontListBox::HideExample()
{
    if (m_example)
        m_example->hide();
}

void TWLXFontListBox::leaveEvent(QEvent* event)
{
    TWLXCustomDerivedImageListBox::leaveEvent(event);
    HideExample();
}

void TWLXFontListBox::changeEvent(QEvent* event)
{
    TWLXCustomDerivedImageListBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        HideExample();
}
