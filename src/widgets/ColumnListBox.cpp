#include "widgets/ColumnListBox.h"

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "widgets/Application.h"
#include "widgets/EffectText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>

// ---- header --------------------------------------------------------------------------------

TWLXHeaderControl::TWLXHeaderControl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
    , m_model(new QStandardItemModel(0, 0, this))
{
    setModel(m_model);
    setSectionsClickable(true);
    setStretchLastSection(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TWLXHeaderControl::AddSection(const QString& text, int width, Qt::Alignment alignment)
{
    const int k = m_model->columnCount();
    m_model->setColumnCount(k + 1);
    m_model->setHeaderData(k, Qt::Horizontal, text);
    m_model->setHeaderData(k, Qt::Horizontal, QVariant::fromValue(int(alignment | Qt::AlignVCenter)),
                           Qt::TextAlignmentRole);
    resizeSection(k, width);
}

void TWLXHeaderControl::ClearSections()
{
    m_model->setColumnCount(0);
}

QString TWLXHeaderControl::SectionText(int index) const
{
    return m_model->headerData(index, Qt::Horizontal).toString();
}

void TWLXHeaderControl::SetSectionText(int index, const QString& text)
{
    if (index >= 0 && index < count())
        m_model->setHeaderData(index, Qt::Horizontal, text);
}

Qt::Alignment TWLXHeaderControl::SectionAlignment(int index) const
{
    const QVariant v = m_model->headerData(index, Qt::Horizontal, Qt::TextAlignmentRole);
    return Qt::Alignment(v.isValid() ? v.toInt() : int(Qt::AlignLeft)) & Qt::AlignHorizontal_Mask;
}

int TWLXHeaderControl::TotalSectionWidth() const
{
    int total = 0;
    for (int k = 0; k < count(); ++k)
        total += sectionSize(k);
    return total;
}

// ---- list ----------------------------------------------------------------------------------

void TWLXMyListBox::mouseMoveEvent(QMouseEvent* event)
{
    TWLXExtListBox::mouseMoveEvent(event);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* box = dynamic_cast<TWLXListBox*>(w)) {
            const QPoint p = event->position().toPoint();
            box->ListMouseMove(event->modifiers(), p.x(), p.y());
            break;
        }
}

// ---- box -----------------------------------------------------------------------------------

TWLXListBox::TWLXListBox(QWidget* parent)
    : TWLXCustomScrollBox(parent)
    , m_header(new TWLXHeaderControl(Content()))
    , m_list(new TWLXMyListBox(Content()))
    , m_colors{0, clHighlight, clSilver, clSilver, clHighlightText, clSilver, clWindowText}
{
    m_header->setFixedHeight(17);
    m_header->AddSection(QString(), 50);
    m_header->setFocusPolicy(Qt::NoFocus);
    connect(m_header, &QHeaderView::sectionResized, this,
            [this](int section, int, int width) { SectionResized(section, width); });
    m_list->setFrameStyle(QFrame::NoFrame);
    m_list->SetColor(clWindow);
    m_list->SetMargin(0);
    m_list->OnDrawItem = [this](TWLXCustomListBox*, TCanvas& canvas, int index, const TWLXRect& rect,
                                unsigned state) { DrawListItem(canvas, index, rect, state); };
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Content()->installEventFilter(this);
    resize(100, 100);
    AlignControls();
}

TWLXListBox::~TWLXListBox()
{
    if (!DesignMode)
        WriteIniData();
    Content()->removeEventFilter(this);
    m_list->OnDrawItem = nullptr;
    disconnect(m_header, nullptr, this, nullptr);
}

QStringList TWLXListBox::SplitFields(const QString& item, QChar delimiter)
{
    QStringList fields = item.split(delimiter);
    if (!fields.isEmpty() && fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

// ---- indexed properties --------------------------------------------------------------------

bool TWLXListBox::GetBooleanProp(int index) const
{
    switch (index) {
    case 0: return isEnabled();
    case 1: return m_list->ExtendedSelect();
    case 2: return !m_header->isHidden();
    case 3: return m_list->MultiSelect();
    case 4: return m_list->Sorted();
    case 5: return m_header->isEnabled();
    case 6: return m_list->toolTipDuration() != 0;
    case 8: return m_list->focusPolicy() != Qt::NoFocus;
    case 9: return m_list->ItemAutoHeight();
    case 12: return m_header->highlightSections();
    case 13: return m_headerFlat;
    case 14: return m_alternateColors;
    case 15: return m_list->BeveledFocus();
    case 16: return m_virtualAutoWidth;
    default: return false;
    }
}

void TWLXListBox::SetBooleanProp(int index, bool value)
{
    if (GetBooleanProp(index) == value)
        return;
    switch (index) {
    case 0:
        setEnabled(value);
        break;
    case 1: m_list->SetExtendedSelect(value); break;
    case 2:
        m_header->setVisible(value);
        AlignControls();
        break;
    case 3: m_list->SetMultiSelect(value); break;
    case 4: m_list->SetSorted(value); break;
    case 5: m_header->setEnabled(value); break;
    case 8: m_list->setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus); break;
    case 9: m_list->SetItemAutoHeight(value); break;
    case 12: m_header->setHighlightSections(value); break;
    case 13:
        m_headerFlat = value;
        m_header->setStyleSheet(value ? QStringLiteral("QHeaderView::section { border: 0px; padding-left: 2px; }")
                                      : QString());
        break;
    case 14:
        m_alternateColors = value;
        if (!Loading && isVisible())
            RefreshList();
        break;
    case 15: m_list->SetBeveledFocus(value); break;
    case 16:
        m_virtualAutoWidth = value;
        if (value) {
            UpdateVirtualWidth();
            AlignControls();
            RefreshList();
        } else {
            SetVirtualWidth(0);
        }
        break;
    default:
        break;
    }
}

int32_t TWLXListBox::GetColorProp(int index) const
{
    if (index == 0)
        return m_list->Color();
    if (index >= 1 && index <= 6)
        return m_colors[index];
    if (index == 7)
        return m_list->BevelFocusShadowColor();
    if (index == 8)
        return m_list->BevelFocusLightColor();
    return 0;
}

void TWLXListBox::SetColorProp(int index, int32_t value)
{
    if (GetColorProp(index) == value)
        return;
    if (index == 0) {
        m_list->SetColor(value);
    } else if (index >= 1 && index <= 6) {
        m_colors[index] = value;
        if (index == 1)
            m_list->SetSelectedColor(value);
        RefreshList();
    } else if (index == 7) {
        m_list->SetBevelFocusColor(1, value);
    } else if (index == 8) {
        m_list->SetBevelFocusColor(0, value);
    }
}

int TWLXListBox::GetIntegerProp(int index) const
{
    switch (index) {
    case 0: return m_header->height();
    case 1: return m_list->ItemIndex();
    case 2: return m_list->TopIndex();
    case 3: return m_list->SelCount();
    case 4: return m_list->ItemHeight();
    case 5: return m_header->SectionCount();
    default: return 0;
    }
}

void TWLXListBox::SetIntegerProp(int index, int value)
{
    if (GetIntegerProp(index) == value)
        return;
    switch (index) {
    case 0:
        m_header->setFixedHeight(std::max(0, value));
        AlignControls();
        break;
    case 1: m_list->SetItemIndex(value); break;
    case 2: m_list->SetTopIndex(value); break;
    case 4: m_list->SetItemHeight(value); break;
    default: break;
    }
}

QFont TWLXListBox::GetFontProp(int index) const
{
    return index == 0 ? m_header->font() : m_list->font();
}

void TWLXListBox::SetFontProp(int index, const QFont& value)
{
    if (index == 0)
        m_header->setFont(value);
    else if (index == 1)
        m_list->setFont(value);
}

void TWLXListBox::SetPenStyleProp(int index, Qt::PenStyle value)
{
    if (index < 0 || index > 1 || m_gridStyles[index] == value)
        return;
    m_gridStyles[index] = value;
    RefreshList();
}

void TWLXListBox::SetDelimiter(QChar value)
{
    if (value == m_delimiter)
        return;
    m_delimiter = value;
    RefreshList();
}

void TWLXListBox::SetGridLines(TWLXLBGridLines value)
{
    if (value == m_gridLines)
        return;
    m_gridLines = value;
    RefreshList();
}

void TWLXListBox::SetColumnOptions(uint8_t value)
{
    if (value == m_columnOptions)
        return;
    m_columnOptions = value;
    RefreshList();
}

void TWLXListBox::SetSelectedFontStyle(uint8_t value)
{
    if (value == m_selectedFontStyle)
        return;
    m_selectedFontStyle = value;
    if (!DesignMode)
        RefreshList();
}

void TWLXListBox::SetStyle(TWLXListBoxStyle value)
{
    m_style = value;
    m_list->SetMeasureItemEvent(value == TWLXListBoxStyle::lbOwnerDrawVariable ||
                                value == TWLXListBoxStyle::lbVirtualOwnerDraw);
    m_list->SetVirtualMode(value == TWLXListBoxStyle::lbVirtual || value == TWLXListBoxStyle::lbVirtualOwnerDraw);
}

void TWLXListBox::RefreshList()
{
    m_list->viewport()->update();
}

// ---- rows ----------------------------------------------------------------------------------

void TWLXListBox::PrepareItemCanvas(TCanvas& canvas, const TWLXRect& rect, unsigned state, int index)
{
    int32_t background;
    QFont font = m_list->font();
    if (state & odSelected) {
        background = m_colors[1];
        canvas.FontColor = m_colors[4];
        font.setBold(m_selectedFontStyle & 1);
        font.setItalic(m_selectedFontStyle & 2);
        font.setUnderline(m_selectedFontStyle & 4);
        font.setStrikeOut(m_selectedFontStyle & 8);
    } else if (m_alternateColors && (index % 2) == 1) {
        background = m_colors[5];
        canvas.FontColor = m_colors[6];
    } else {
        background = m_list->Color();
        canvas.FontColor = QColorToTColor(m_list->palette().color(QPalette::Text));
    }
    if (state & odDisabled)
        canvas.FontColor = clInactiveCaption;
    if (OnGetLineSettings)
        OnGetLineSettings(this, index, state, background, font);
    canvas.Font = font;
    if (!Transparent())
        FillSolid(canvas, rect, background);
    canvas.Brush.Style = Qt::NoBrush;
}

void TWLXListBox::DrawListItem(TCanvas& canvas, int index, const TWLXRect& textRect, unsigned state)
{
    if (Loading)
        return;
    if (m_style != TWLXListBoxStyle::lbStandard && OnDrawItem) {
        OnDrawItem(m_list, canvas, index, textRect, state);
        return;
    }
    // The whole row, the line under it included.
    const TWLXRect rect{textRect.Left, textRect.Top, textRect.Right, textRect.Bottom + 1};
    PrepareItemCanvas(canvas, rect, state, index);
    if (OnPrepareDrawItem)
        OnPrepareDrawItem(m_list, canvas, index, rect, state);
    unsigned flags = DT_NOPREFIX | DT_SINGLELINE;
    if (m_columnOptions & loPathEllipsis)
        flags |= DT_PATH_ELLIPSIS;
    if (m_columnOptions & loEndEllipsis)
        flags |= DT_END_ELLIPSIS;
    if (m_columnOptions & loEditControl)
        flags |= DT_EDITCONTROL;
    if (layoutDirection() == Qt::RightToLeft)
        flags |= DT_RIGHT;
    const QString text = m_list->GetItemText(index);
    QPainter* painter = canvas.Painter();
    const int clientWidth = m_list->viewport()->width();
    const int sections = m_header->SectionCount();
    if (!text.trimmed().isEmpty()) {
        if (sections > 0) {
            const QStringList fields = SplitFields(text, m_delimiter);
            int left = rect.Left;
            for (int k = 0; k < fields.size() && k < sections; ++k) {
                TWLXRect cell{left, rect.Top, std::min(left + m_header->SectionWidth(k) - 1, clientWidth - 1),
                              rect.Bottom};
                cell.Left += 1;
                const Qt::Alignment a = m_header->SectionAlignment(k);
                const unsigned align = (a & Qt::AlignRight) ? DT_RIGHT : (a & Qt::AlignHCenter) ? DT_CENTER : DT_LEFT;
                if (cell.Right > cell.Left)
                    DrawTextEx(canvas, fields[k], cell, flags | align);
                left = cell.Right + 1;
            }
        } else {
            TWLXRect cell{rect.Left + 2, rect.Top, rect.Right, rect.Bottom};
            DrawTextEx(canvas, text, cell, flags);
        }
    }
    if (painter && (m_gridLines == TWLXLBGridLines::glVertical || m_gridLines == TWLXLBGridLines::glBoth) &&
        sections > 0) {
        painter->setPen(QPen(TColorToQColor(m_colors[3]), 1, m_gridStyles[1]));
        int x = rect.Left;
        for (int k = 0; k < sections; ++k) {
            x += m_header->SectionWidth(k);
            if (clientWidth - x > 1)
                painter->drawLine(x - 1, 0, x - 1, m_list->viewport()->height());
        }
    }
    if (painter && (m_gridLines == TWLXLBGridLines::glHorizontal || m_gridLines == TWLXLBGridLines::glBoth)) {
        painter->setPen(QPen(TColorToQColor(m_colors[2]), 1, m_gridStyles[0]));
        painter->drawLine(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom - 1);
    }
}

// ---- widths and layout ---------------------------------------------------------------------

void TWLXListBox::SectionResized(int section, int width)
{
    UpdateVirtualWidth();
    AlignControls();
    RefreshList();
    if (OnHeaderSized)
        OnHeaderSized(m_header, section, width);
    if (OnHeaderSectionResize)
        OnHeaderSectionResize(m_header, section);
}

void TWLXListBox::UpdateVirtualWidth()
{
    if (!m_virtualAutoWidth)
        return;
    const int total = m_header->TotalSectionWidth();
    if (viewport()->width() < total) {
        m_virtualWidth = total;
        SetHorzRange(total);
    } else {
        SetVirtualWidth(0);
    }
}

void TWLXListBox::SetVirtualWidth(int value)
{
    if (value < 0 || value == m_virtualWidth)
        return;
    m_virtualWidth = value;
    if (m_virtualAutoWidth)
        UpdateVirtualWidth();
    SetHorzRange(m_virtualWidth);
    AlignControls();
    RefreshList();
}

void TWLXListBox::AlignControls()
{
    if (Loading)
        return;
    const QSize area = Content()->size();
    int top = 0;
    if (!m_header->isHidden()) {
        m_header->setGeometry(0, 0, area.width(), m_header->height());
        top = m_header->height();
    }
    m_list->setGeometry(0, top, area.width(), std::max(0, area.height() - top));
}

void TWLXListBox::resizeEvent(QResizeEvent* event)
{
    TWLXCustomScrollBox::resizeEvent(event);
    if (Loading)
        return;
    UpdateVirtualWidth();
    AlignControls();
    RefreshList();
}

bool TWLXListBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Content() && event->type() == QEvent::Resize)
        AlignControls();
    return TWLXCustomScrollBox::eventFilter(watched, event);
}

void TWLXListBox::ListMouseMove(Qt::KeyboardModifiers, int, int) {}

// ---- column widths in the INI file ---------------------------------------------------------

QString TWLXListBox::ColumnWidthsText() const
{
    QStringList widths;
    for (int k = 0; k < m_header->SectionCount(); ++k)
        widths.append(QString::number(m_header->SectionWidth(k)));
    return widths.join(u',');
}

void TWLXListBox::ApplyColumnWidths(const QString& text)
{
    const QStringList fields = text.split(u',');
    for (int k = 0; k < fields.size(); ++k) {
        bool ok = false;
        const int width = fields[k].trimmed().toInt(&ok);
        // A damaged field keeps that column as it is.
        if (!ok || width < 0)
            continue;
        while (m_header->SectionCount() < k + 1)
            m_header->AddSection(QStringLiteral("S. %1").arg(m_header->SectionCount() + 1), 50);
        m_header->SetSectionWidth(k, width);
    }
}

TWLXIniCtrl* TWLXListBox::IniControl() const
{
    if (IniUse == TWLXIniUse::ioUseLink)
        return m_iniLink;
    if (IniUse == TWLXIniUse::ioUseGlobal)
        return &Application().SharedIni();
    return nullptr;
}

void TWLXListBox::ReadIniData()
{
    TWLXIniCtrl* ini = IniControl();
    if (ini) {
        const QString text = ini->ReadString(Section, IniKey, QString());
        if (!text.isEmpty())
            ApplyColumnWidths(text);
    }
    if (OnIniReadData)
        OnIniReadData(this, ini, Section);
}

void TWLXListBox::WriteIniData()
{
    TWLXIniCtrl* ini = IniControl();
    if (ini) {
        const QString text = ColumnWidthsText();
        if (text.isEmpty())
            ini->DeleteKey(Section, IniKey);
        else
            ini->WriteString(Section, IniKey, text);
    }
    if (OnIniWriteData)
        OnIniWriteData(this, ini, Section);
}

void TWLXListBox::Loaded()
{
    Loading = false;
    if (!DesignMode)
        ReadIniData();
    UpdateVirtualWidth();
    AlignControls();
}
