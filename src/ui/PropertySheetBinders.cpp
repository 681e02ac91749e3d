// What each row writes back on OK, and the "..." actions of the rows that edit their value
// in a dialog of their own.

#include "ui/PropertySheet.h"

#include "platform/Cp1252.h"
#include "platform/ModalDialogs.h"
#include "ui/ColorPicker.h"
#include "ui/Formats.h"
#include "ui/FrameDlg.h"
#include "ui/Hotkey.h"
#include "ui/NumberFormatDlg.h"
#include "ui/OwnerDrawButton.h"
#include "ui/SyncDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace {

// A text through the 8-bit code page of stored texts.
QString To8Bit(const QString& text)
{
    return FromCp1252(ToCp1252(text));
}

void SetBit(uint8_t& bits, uint8_t bit, bool on)
{
    bits = on ? uint8_t(bits | bit) : uint8_t(bits & ~bit);
}

} // namespace

void TColorProp::ChangeBtnClick()
{
    // The variable itself changes only on the hosting dialog's OK.
    Row()->ColorBtn->SetColor(PickColor(Row()->ColorBtn->Color()));
}

void TColorProp::WriteBack()
{
    *Target = Row()->ColorBtn->Color();
}

void TFontNameProp::WriteBack()
{
    // A font list without a selection or a size box without a usable number keeps the
    // font's name or size.
    const QString name = Row()->FontName();
    if (!name.isEmpty())
        Target->setFamily(name);
    const int size = Row()->FontSize();
    if (size >= 1 && size != TFontNamePropEditor::PointSizeOf(*Target))
        Target->setPointSize(size);
}

void TFontStyleProp::WriteBack()
{
    TFontStylePropEditor* row = Row();
    if (row->BoldBtn->isChecked() != Target->bold())
        Target->setBold(row->BoldBtn->isChecked());
    if (row->ItalicBtn->isChecked() != Target->italic())
        Target->setItalic(row->ItalicBtn->isChecked());
    if (row->UnderBtn->isChecked() != Target->underline())
        Target->setUnderline(row->UnderBtn->isChecked());
    if (row->StrikeBtn->isChecked() != Target->strikeOut())
        Target->setStrikeOut(row->StrikeBtn->isChecked());
}

void THotkeyProp::WriteBack()
{
    THotkeyPropEditor* row = Row();
    Target->Key = HotkeyIndexToKey(row->KeyCombo->currentIndex());
    Target->Action = row->ActionCombo->currentIndex(); // -1: no action chosen
    SetBit(Target->ShiftState, hsCtrl, row->CtrlBtn->isChecked());
    SetBit(Target->ShiftState, hsAlt, row->AltBtn->isChecked());
    SetBit(Target->ShiftState, hsShift, row->ShiftBtn->isChecked());
}

void TComboProp::WriteBack()
{
    // No selection (an empty list, or a value that was out of range and left alone) keeps
    // the old value: callers index tables with it.
    const int index = Row()->Combo->currentIndex();
    if (index >= 0)
        *Target = index;
}

void TImageComboProp::WriteBack()
{
    const int index = Row()->Combo->currentIndex();
    if (index >= 0)
        *Target = index;
}

void TEditComboProp::WriteBack()
{
    *Target = Row()->Combo->currentText();
}

void TEditProp::WriteBack()
{
    *Target = To8Bit(Row()->Edit->text());
}

void TMemoProp::WriteBack()
{
    *Target = Row()->Lines();
}

void TCheckProp::WriteBack()
{
    *Target = Row()->Check->isChecked();
}

void TFileProp::WriteBack()
{
    *Target = Row()->FileEdit->Text();
}

void TSpinProp::WriteBack()
{
    if (Row()->Edited)
        *Target = Row()->Spin->value();
}

void TRangeProp::WriteBack()
{
    *Target = Row()->MinEdit->text();
    *Target2 = Row()->MaxEdit->text();
}

void TDayTimeProp::WriteBack()
{
    const TDayTimePropEditor* row = Row();
    const int seconds = row->HourSpin->value() * 3600 + row->MinuteSpin->value() * 60
                        + row->SecondSpin->value();
    *Target = seconds / 86400.0;
}

void TFormatProp::ChangeBtnClick()
{
    if (EditFormat(*Target, Caption))
        Row()->SetValueText(FormatOptionName(Target->Options));
}

void TSyncProp::ChangeBtnClick()
{
    if (EditSyncSequence(Caption, *Target, Editor->window()))
        Row()->SetValueText(*Target);
}

void TFrameProp::ChangeBtnClick()
{
    if (EditFrameTexts(Caption, *Target, *Target2, Editor->window()))
        Row()->SetValueText(*Target + QStringLiteral(" // ") + *Target2);
}

void TDialogProp::ChangeBtnClick()
{
    Dialog->setWindowTitle(Caption);
    *Target = ShowModal(*Dialog);
}
