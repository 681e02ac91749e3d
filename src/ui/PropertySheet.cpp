// The sheet itself: adding rows, stacking and fitting them, folding groups, and the
// hosting dialog's write-back and clean-up.

#include "ui/PropertySheet.h"

#include "platform/Colors.h"
#include "platform/Types.h"
#include "ui/Formats.h"
#include "ui/Hotkey.h"
#include "ui/OwnerDrawButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QIcon>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCaptionRowHeight = 16;

bool IsCaptionRow(const TProp& binder)
{
    return dynamic_cast<const TCaptionPropEditor*>(binder.Editor) != nullptr;
}

} // namespace

TPropScrollbox::TPropScrollbox(QWidget* parent)
    : TScrollBoxEx(parent)
{
    setFrameShape(QFrame::NoFrame);
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("PropContent"));
    m_content->resize(0, 0);
    setWidget(m_content);
    setWidgetResizable(false);
}

TPropScrollbox::~TPropScrollbox()
{
    Clear();
}

// --- Adding rows -----------------------------------------------------------------------------

template <class TBinder>
TBinder* TPropScrollbox::NewRow(const QString& caption, TPropEditor* row)
{
    auto binder = std::make_unique<TBinder>();
    binder->Caption = caption;
    binder->Editor = row;
    row->NameLabel->setText(caption);
    row->NameLabel->adjustSize();
    row->SetBounds(0, TotalHeight, width(), TPropEditor::kRowHeight);
    row->ChangeBtn->hide();
    TBinder* result = binder.get();
    m_rows.push_back(std::move(binder));
    return result;
}

void TPropScrollbox::EndRow(TPropEditor* row)
{
    TotalHeight += row->height();
    if (m_content->isVisible())
        row->show();
    UpdateContentSize();
}

void TPropScrollbox::WireChange(TProp* binder, QWidget* extra)
{
    TPropEditor* row = binder->Editor;
    auto action = [binder]() { binder->ChangeBtnClick(); };
    QObject::connect(row->ChangeBtn, &QPushButton::clicked, row->ChangeBtn, action);
    row->PropPanel->OnClick = action;
    if (auto* button = qobject_cast<QAbstractButton*>(extra))
        QObject::connect(button, &QAbstractButton::clicked, button, action);
    else if (auto* label = dynamic_cast<TClickLabel*>(extra))
        label->OnClick = action;
}

void TPropScrollbox::AddColorProp(const QString& caption, int32_t& Color)
{
    auto* row = new TColorPropEditor(m_content);
    auto* b = NewRow<TColorProp>(caption, row);
    b->Target = &Color;
    row->ColorBtn->SetColor(Color);
    row->ColorBtn->setEnabled(true);
    WireChange(b, row->ColorBtn);
    EndRow(row);
}

TFontNamePropEditor* TPropScrollbox::AddFontNameProp(const QString& caption, QFont& Font)
{
    auto* row = new TFontNamePropEditor(m_content);
    auto* b = NewRow<TFontNameProp>(caption, row);
    b->Target = &Font;
    row->EditedFont = &Font;
    EndRow(row);
    return row;
}

TFontStylePropEditor* TPropScrollbox::AddFontStyleProp(const QString& caption, QFont& Font)
{
    auto* row = new TFontStylePropEditor(m_content);
    auto* b = NewRow<TFontStyleProp>(caption, row);
    b->Target = &Font;
    row->EditedFont = &Font;
    row->BoldBtn->setChecked(Font.bold());
    row->ItalicBtn->setChecked(Font.italic());
    row->UnderBtn->setChecked(Font.underline());
    row->StrikeBtn->setChecked(Font.strikeOut());
    EndRow(row);
    return row;
}

void TPropScrollbox::AddHotkeyProp(const QString& caption, THotkey& Hotkey,
                                   const QStringList* ActionNames)
{
    auto* row = new THotkeyPropEditor(m_content);
    auto* b = NewRow<THotkeyProp>(caption, row);
    b->Target = &Hotkey;
    row->EditedHotkey = &Hotkey;
    row->HasActionNames = ActionNames != nullptr;
    if (ActionNames)
        row->ActionNames = *ActionNames;
    row->CtrlBtn->setChecked(Hotkey.ShiftState & hsCtrl);
    row->AltBtn->setChecked(Hotkey.ShiftState & hsAlt);
    row->ShiftBtn->setChecked(Hotkey.ShiftState & hsShift);
    row->ActionCombo->setVisible(ActionNames != nullptr);
    EndRow(row);
}

void TPropScrollbox::AddComboProp(const QString& caption, int32_t& ItemIndex,
                                  const QStringList& Items, int Width)
{
    auto* row = new TComboPropEditor(m_content);
    auto* b = NewRow<TComboProp>(caption, row);
    b->Target = &ItemIndex;
    row->Combo->addItems(Items);
    row->Combo->setCurrentIndex(ItemIndex); // out of range: no selection
    row->Combo->resize(Width, row->Combo->height());
    EndRow(row);
}

void TPropScrollbox::AddImageComboProp(const QString& caption, int32_t& ItemIndex,
                                       const QStringList& Items, int Width,
                                       const QList<QPixmap>& Images)
{
    auto* row = new TImageComboPropEditor(m_content);
    auto* b = NewRow<TImageComboProp>(caption, row);
    b->Target = &ItemIndex;
    row->SetImages(Images);
    if (!Images.isEmpty()) {
        const QSize size = Images.constFirst().size();
        row->SetHeight(size.height() + 8);
        row->Combo->setGeometry(row->Combo->x(), row->Combo->y(), Width, size.height() + 6);
    } else {
        row->Combo->resize(Width, row->Combo->height());
    }
    row->Combo->addItems(Items);
    row->Combo->setCurrentIndex(ItemIndex);
    EndRow(row);
}

void TPropScrollbox::AddEditComboProp(const QString& caption, QString& Text,
                                      const QStringList& Items, int Width)
{
    auto* row = new TEditComboPropEditor(m_content);
    auto* b = NewRow<TEditComboProp>(caption, row);
    b->Target = &Text;
    row->Combo->addItems(Items);
    row->Combo->setCurrentIndex(row->Combo->findText(Text, Qt::MatchExactly));
    row->Combo->setEditText(Text);
    row->Combo->resize(Width, row->Combo->height());
    EndRow(row);
}

void TPropScrollbox::AddCaptionProp(const QString& caption)
{
    auto* row = new TCaptionPropEditor(m_content);
    auto binder = std::make_unique<TCaptionProp>(); // its Caption stays empty
    binder->Editor = row;
    row->NameLabel->setText(caption);

    TSheetPanel* panel = row->PropPanel;
    panel->SetCaption(caption);
    QFont f = panel->font();
    f.setBold(true);
    panel->setFont(f);
    panel->SetColor(clBtnShadow);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::WindowText, QColor(255, 255, 255));
    panel->setPalette(pal);
    panel->OnClick = [this, panel]() { ToggleGroup(panel); };

    row->NamePanel->hide();
    row->ChangeBtn->hide();
    row->SetBounds(0, TotalHeight, width(), kCaptionRowHeight);
    m_rows.push_back(std::move(binder));
    EndRow(row);
}

void TPropScrollbox::AddEditProp(const QString& caption, QString& Text, int MaxLength, int Width)
{
    auto* row = new TEditPropEditor(m_content);
    auto* b = NewRow<TEditProp>(caption, row);
    b->Target = &Text;
    row->Edit->resize(Width, row->Edit->height());
    row->Edit->setText(Text);
    SetEditLimit(row->Edit, MaxLength);
    row->EditChange();
    EndRow(row);
}

void TPropScrollbox::AddMemoProp(const QString& caption, QStringList& Lines, int Width, int Height)
{
    auto* row = new TMemoPropEditor(m_content);
    auto* b = NewRow<TMemoProp>(caption, row);
    b->Target = &Lines;
    row->SetLines(Lines);
    row->Memo->setGeometry(4, 1, Width, Height);
    row->SetHeight(Height + 5);
    EndRow(row);
}

void TPropScrollbox::AddCheckProp(const QString& caption, bool& Checked)
{
    auto* row = new TCheckPropEditor(m_content);
    auto* b = NewRow<TCheckProp>(caption, row);
    b->Target = &Checked;
    row->Check->setChecked(Checked);
    EndRow(row);
}

void TPropScrollbox::AddFileProp(const QString& caption, QString& FileName, int MaxLength, int Width,
                                 const QString& Filter, const QString& DefaultExt)
{
    auto* row = new TFilePropEditor(m_content);
    auto* b = NewRow<TFileProp>(caption, row);
    b->Target = &FileName;
    row->FileEdit->SetFilter(Filter, DefaultExt);
    row->FileEdit->SetText(FileName);
    row->FileEdit->resize(Width, row->FileEdit->height());
    row->FileEdit->SetMaxLength(MaxLength);
    EndRow(row);
}

void TPropScrollbox::AddSaveFileProp(const QString& caption, QString& FileName, int MaxLength,
                                     int Width, const QString& Filter, const QString& DefaultExt)
{
    auto* row = new TSaveFilePropEditor(m_content);
    auto* b = NewRow<TSaveFileProp>(caption, row);
    b->Target = &FileName;
    row->FileEdit->SetFilter(Filter, DefaultExt);
    row->FileEdit->SetText(FileName);
    row->FileEdit->resize(Width, row->FileEdit->height());
    row->FileEdit->SetMaxLength(MaxLength);
    EndRow(row);
}

void TPropScrollbox::AddSpinProp(const QString& caption, int32_t& Value, int Min, int Max, int Width)
{
    auto* row = new TSpinPropEditor(m_content);
    auto* b = NewRow<TSpinProp>(caption, row);
    b->Target = &Value;
    row->Spin->setRange(Min, Max);
    row->Spin->resize(Width, row->Spin->height());
    row->Spin->setValue(Value);
    // Only a value the user changed is written back; an untouched value outside the range
    // stays as it was.
    QObject::connect(row->Spin, &QSpinBox::valueChanged, row->Spin, [row](int) { row->Edited = true; });
    EndRow(row);
}

void TPropScrollbox::AddRangeProp(const QString& caption, QString& MinText, QString& MaxText, int)
{
    auto* row = new TRangePropEditor(m_content);
    auto* b = NewRow<TRangeProp>(caption, row);
    b->Target = &MinText;
    b->Target2 = &MaxText;
    row->MinEdit->setText(MinText);
    row->MaxEdit->setText(MaxText);
    EndRow(row);
}

void TPropScrollbox::AddDayTimeProp(const QString& caption, double& Time)
{
    auto* row = new TDayTimePropEditor(m_content);
    auto* b = NewRow<TDayTimeProp>(caption, row);
    b->Target = &Time;
    // The time of day in whole milliseconds; the milliseconds themselves are not shown.
    const double fraction = std::fabs(Time - std::trunc(Time));
    int64_t ms = std::isfinite(fraction) ? RoundHalfEven(fraction * 86400000.0L) : 0;
    ms = std::clamp<int64_t>(ms, 0, 86399999);
    row->HourSpin->setValue(static_cast<int>(ms / 3600000));
    row->MinuteSpin->setValue(static_cast<int>(ms / 60000 % 60));
    row->SecondSpin->setValue(static_cast<int>(ms / 1000 % 60));
    EndRow(row);
}

void TPropScrollbox::AddFormatProp(const QString& caption, TFormat& Format)
{
    auto* row = new TFormatPropEditor(m_content);
    auto* b = NewRow<TFormatProp>(caption, row);
    b->Target = &Format;
    row->SetValueText(FormatOptionName(Format.Options));
    row->ChangeBtn->show();
    WireChange(b, row->ValueLabel);
    EndRow(row);
}

void TPropScrollbox::AddSyncProp(const QString& caption, QString& SyncText)
{
    auto* row = new TSyncPropEditor(m_content);
    auto* b = NewRow<TSyncProp>(caption, row);
    b->Target = &SyncText;
    row->SetValueText(SyncText);
    row->ChangeBtn->show();
    WireChange(b, row->ValueLabel);
    EndRow(row);
}

void TPropScrollbox::AddDialogProp(const QString& caption, int32_t& Value, QDialog& Dialog)
{
    auto* row = new TDialogPropEditor(m_content);
    auto* b = NewRow<TDialogProp>(caption, row);
    b->Target = &Value;
    b->Dialog = &Dialog;
    row->ChangeBtn->show();
    WireChange(b, row->ValueLabel);
    EndRow(row);
}

void TPropScrollbox::AddFrameProp(const QString& caption, QString& Prefix, QString& Suffix)
{
    auto* row = new TSyncPropEditor(m_content);
    auto* b = NewRow<TFrameProp>(caption, row);
    b->Target = &Prefix;
    b->Target2 = &Suffix;
    row->SetValueText(Prefix + QStringLiteral(" // ") + Suffix);
    row->ChangeBtn->show();
    WireChange(b, row->ValueLabel);
    EndRow(row);
}

// --- Stacking, fitting, folding ------------------------------------------------------------

void TPropScrollbox::ArrangeRows()
{
    TotalHeight = 0;
    for (const auto& b : m_rows) {
        b->Editor->SetTop(TotalHeight);
        if (b->Editor->isVisibleTo(m_content))
            TotalHeight += b->Editor->height();
    }
    UpdateContentSize();
}

void TPropScrollbox::FitNameColumn()
{
    int w = 0;
    for (const auto& b : m_rows)
        w = std::max(w, QFontMetrics(b->Editor->NameLabel->font()).horizontalAdvance(b->Caption));
    w = std::max(w + 10, 100);
    for (const auto& b : m_rows) {
        TPropEditor* row = b->Editor;
        row->SetNameWidth(w);
        if (row->NameLabel->alignment() & Qt::AlignRight) {
            const int tw = QFontMetrics(row->NameLabel->font()).horizontalAdvance(b->Caption);
            row->NameLabel->move(w - tw - 5, row->NameLabel->y());
        }
    }
}

void TPropScrollbox::FitValueColumn()
{
    int v = 0;
    for (const auto& b : m_rows) {
        TPropEditor* row = b->Editor;
        if (IsCaptionRow(*b)) {
            v = std::max(v, QFontMetrics(row->PropPanel->font()).horizontalAdvance(row->PropPanel->Caption()));
            continue;
        }
        const auto controls = row->PropPanel->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (QWidget* c : controls) {
            if (c != row->ChangeBtn && c->isVisibleTo(row->PropPanel))
                v = std::max(v, c->x() + c->width());
        }
    }
    v = std::max(v + 4, 100);
    for (const auto& b : m_rows) {
        TPropEditor* row = b->Editor;
        if (row->NameWidth() + v < row->minimumWidth())
            row->SetNameWidth(row->minimumWidth() - v);
        row->SetWidth(row->NameWidth() + v);
    }
    UpdateContentSize();
}

void TPropScrollbox::ToggleGroup(QWidget* clicked)
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        auto* band = dynamic_cast<TCaptionPropEditor*>(m_rows[i]->Editor);
        if (!band || band->PropPanel != clicked)
            continue;
        band->Folded = !band->Folded;
        QString caption = band->PropPanel->Caption();
        if (band->Folded)
            caption += QStringLiteral("...");
        else
            caption.chop(3);
        band->PropPanel->SetCaption(caption);

        for (size_t j = i + 1; j < m_rows.size(); ++j) {
            TPropEditor* row = m_rows[j]->Editor;
            if (IsCaptionRow(*m_rows[j])) {
                ArrangeRows();
                if (OnRowsChanged)
                    OnRowsChanged(this);
                return;
            }
            row->setVisible(!row->isVisibleTo(m_content));
        }
        // The last group: back to the top.
        verticalScrollBar()->setValue(0);
        ArrangeRows();
        if (OnRowsChanged)
            OnRowsChanged(this);
        return;
    }
}

void TPropScrollbox::UpdateContentSize()
{
    int w = 0;
    for (const auto& b : m_rows)
        w = std::max(w, b->Editor->x() + b->Editor->width());
    m_content->resize(w, TotalHeight);
}

// --- The hosting dialog's steps ----------------------------------------------------------

void TPropScrollbox::FillRows()
{
    for (const auto& b : m_rows) {
        if (auto* fontRow = dynamic_cast<TFontNamePropEditor*>(b->Editor))
            fontRow->FillLists();
        else if (auto* hotkeyRow = dynamic_cast<THotkeyPropEditor*>(b->Editor))
            hotkeyRow->FillLists();
    }
}

void TPropScrollbox::WriteBack()
{
    for (const auto& b : m_rows)
        b->WriteBack();
}

void TPropScrollbox::Clear()
{
    for (auto& b : m_rows) {
        delete b->Editor;
        b->Editor = nullptr;
        b.reset();
    }
    m_rows.clear();
    TotalHeight = 0;
    verticalScrollBar()->setValue(0);
    UpdateContentSize();
}
