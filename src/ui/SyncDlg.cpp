#include "ui/SyncDlg.h"

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
        return {u"When the sync. bytes are recognised"_qs,
                u"previously received data is being"_qs,
                u"interpreted immediately."_qs,
                QString(),
                u"Enter the sync. bytes in the folling format:"_qs,
                QString(),
                u"- Text constants in quotation marks: \"Hello\""_qs,
                u"- Byte value in decimal format: 127"_qs,
                u"- Byte value in hexadecimal format: $0D $10"_qs,
                QString(),
                u"Separate values with SPACE."_qs};
    case 2:
        return {u"Lorsque les octets de sync. sont reconnus"_qs,
                u"les données préalablement reçues"_qs,
                u"seront immédiatement interprétées."_qs,
                QString(),
                u"Entrez les octets de sync. aux formats suivants:"_qs,
                QString(),
                u"- Texte entre parenthèses: \"Hello\""_qs,
                u"- Valeur au format décimal: 127"_qs,
                u"- Valeur au format héxadécimal: $0D $10"_qs,
                QString(),
                u"Séparez les valeur avec un ESPACE."_qs};
    default:
        return {u"Sobald die Synchronzeichenkette empfangen wird,"_qs,
                u"werden die zuvor empfangenen Zeichen interpretiert."_qs,
                QString(),
                u"Für die Definition der Synchronzeichenkette "_qs,
                u"können Sie verwenden:"_qs,
                QString(),
                u"  - Textkonstanten in Anführungszeichen z.B.\"HALLO\""_qs,
                u"  - Bytewerte als Zahl z.B. 127"_qs,
                u"  - Bytewerte in Hexdarstellung z.B. $0D $10"_qs,
                QString(),
                u"Trennen Sie Werte mit Leerzeichen."_qs};
    }
}

} // namespace

TSync_Dlg::TSync_Dlg(QWidget* parent)
    : TByteSequenceDlg(u"TSync_Dlg"_qs, parent)
{
    SynchronEdit = AddSequenceEdit(Label1, u"Label1"_qs, u"SynchronEdit"_qs);
    FinishLayout();

    setWindowTitle(u"Synchronzeichen definieren"_qs);
    Label1->setText(u"Definition der Synchronzeichenkette::"_qs);
    Monitor->setText(u"Synchronzeichen (HEX):"_qs);
    TranslateCaptions();
}

void TSync_Dlg::TranslateCaptions()
{
    Memo1->setPlainText(HelpLines().join(u'\n'));
    TranslateCancel();
    switch (Ctx().CurrentLanguage) {
    case 1:
        setWindowTitle(u"Define sync. bytes"_qs);
        Monitor->setText(u"Preview sync. bytes [HEX]"_qs);
        Label1->setText(u"Sync. bytes definition:"_qs);
        break;
    case 2:
        setWindowTitle(u"Definir octets sync."_qs);
        Monitor->setText(u"Vue-préliminaire octets sync. [HEX]"_qs);
        Label1->setText(u"Définition octets sync.:"_qs);
        break;
    default:
        break;
    }
}

void TSync_Dlg::SynchronEditChange()
{
    ShowPreview(BytesToHexText(ParseByteSequence(SynchronEdit->text())));
}

void TSync_Dlg::FormShow()
{
    SynchronEditChange();
}

bool EditSyncSequence(const QString& caption, QString& text, QWidget* parent)
{
    TSync_Dlg dlg(parent);
    dlg.setWindowTitle(caption);
    TByteSequenceDlg::SetSequenceText(dlg.SynchronEdit, text);
    if (ShowModal(dlg) != mrOk)
        return false;
    text = dlg.SynchronEdit->text();
    return true;
}
