#include "ui/FrameDlg.h"

#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/ByteSequence.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QStringList HelpLines()
{
    switch (Ctx().CurrentLanguage) {
    case 1:
        return {u"Enter Prefix and Suffix in the following format:"_qs,
                QString(),
                u"- Text constants in quotation marks: \"Hello\""_qs,
                u"- Byte value in decimal format: 127"_qs,
                u"- Byte value in hexadecimal format: $0D $10"_qs,
                QString(),
                u"Separate values with SPACE."_qs};
    case 2:
        return {u"Saisissez le Préfixe et le Suffixe aux formats suivants:"_qs,
                QString(),
                u"- Texte entre parenthèses: \"Hello\""_qs,
                u"- Valeur décimale: 127"_qs,
                u"- Valeur héxadécimale: $0D $10"_qs,
                QString(),
                u"Séparez les valeurs avec un ESPACE."_qs};
    default:
        return {u"Für Pre-/Suffix können Sie verwenden:"_qs,
                QString(),
                u"  - Textkonstanten in Anführungszeichen z.B.\"HALLO\""_qs,
                u"  - Bytewerte als Zahl z.B. 127"_qs,
                u"  - Bytewerte in Hexdarstellung z.B. $0D $10"_qs,
                QString(),
                u"Trennen Sie Werte mit Leerzeichen."_qs};
    }
}

} // namespace

TFrame_Dlg::TFrame_Dlg(QWidget* parent)
    : TByteSequenceDlg(u"TFrame_Dlg"_qs, parent)
{
    PrefixEdit = AddSequenceEdit(Label1, u"Label1"_qs, u"PrefixEdit"_qs);
    SuffixEdit = AddSequenceEdit(Label2, u"Label2"_qs, u"SuffixEdit"_qs);
    FinishLayout();

    setWindowTitle(u"Übertragung einrahmen"_qs);
    Label1->setText(u"Präfix (wird vor dem Wert gesendet)"_qs);
    Label2->setText(u"Suffix (wird nach dem Wert gesendet)"_qs);
    Monitor->setText(u"Übertragungsvorschau (HEX):"_qs);
    TranslateCaptions();
}

void TFrame_Dlg::TranslateCaptions()
{
    Memo1->setPlainText(HelpLines().join(u'\n'));
    TranslateCancel();
    switch (Ctx().CurrentLanguage) {
    case 1:
        setWindowTitle(u"Frame parameters"_qs);
        Monitor->setText(u"Preview [HEX]"_qs);
        Label1->setText(u"Prefix (send before data)"_qs);
        Label2->setText(u"Suffix (send after data)"_qs);
        break;
    case 2:
        setWindowTitle(u"Paramètres trame"_qs);
        Monitor->setText(u"Vue-péliminaire [HEX]"_qs);
        break;
    default:
        break;
    }
}

void TFrame_Dlg::PrefixEditChange()
{
    QString line = BytesToHexText(ParseByteSequence(PrefixEdit->text()));
    line += Lang3Q(" <Wert>", " <Data>", " <Donnée>");
    line += BytesToHexText(ParseByteSequence(SuffixEdit->text()));
    ShowPreview(line);
}

void TFrame_Dlg::FormShow()
{
    PrefixEditChange();
}

bool EditFrameTexts(const QString& caption, QString& prefix, QString& suffix, QWidget* parent)
{
    TFrame_Dlg dlg(parent);
    dlg.setWindowTitle(caption);
    TByteSequenceDlg::SetSequenceText(dlg.PrefixEdit, prefix);
    TByteSequenceDlg::SetSequenceText(dlg.SuffixEdit, suffix);
    if (ShowModal(dlg) != mrOk)
        return false;
    prefix = dlg.PrefixEdit->text();
    suffix = dlg.SuffixEdit->text();
    return true;
}
