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

constexpr int kMaxEditLength = 200;

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
    : QDialog(parent)
{
    setObjectName(u"TSync_Dlg"_qs);
    QFont f(u"MS Sans Serif"_qs);
    f.setPixelSize(11);
    setFont(f);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(u"Bevel1"_qs);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);

    Memo1 = new QPlainTextEdit(Bevel1);
    Memo1->setObjectName(u"Memo1"_qs);
    Memo1->setEnabled(false);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setBackgroundRole(QPalette::Button);
    Memo1->viewport()->setAutoFillBackground(false);

    Label1 = new QLabel(Bevel1);
    Label1->setObjectName(u"Label1"_qs);
    SynchronEdit = new QLineEdit(Bevel1);
    SynchronEdit->setObjectName(u"SynchronEdit"_qs);
    SynchronEdit->setMaxLength(kMaxEditLength);
    Label1->setBuddy(SynchronEdit);

    Monitor = new QLabel(Bevel1);
    Monitor->setObjectName(u"Monitor"_qs);
    MonitorMemo = new QPlainTextEdit(Bevel1);
    MonitorMemo->setObjectName(u"MonitorMemo"_qs);
    MonitorMemo->setEnabled(false);
    MonitorMemo->setReadOnly(true);
    MonitorMemo->setFixedHeight(48);

    Button1 = new QPushButton(this);
    Button1->setObjectName(u"Button1"_qs);
    Button2 = new QPushButton(u"&OK"_qs, this);
    Button2->setObjectName(u"Button2"_qs);
    Button2->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(SynchronEdit, &QLineEdit::textChanged, this, [this] { SynchronEditChange(); });

    auto* inner = new QVBoxLayout(Bevel1);
    inner->addWidget(Memo1, 1);
    inner->addWidget(Label1);
    inner->addWidget(SynchronEdit);
    inner->addWidget(Monitor);
    inner->addWidget(MonitorMemo);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Bevel1, 1);
    layout->addLayout(buttons);
    resize(340, 380);

    setWindowTitle(u"Synchronzeichen definieren"_qs);
    Label1->setText(u"Definition der Synchronzeichenkette::"_qs);
    Monitor->setText(u"Synchronzeichen (HEX):"_qs);
    Button1->setText(u"&Abbrechen"_qs);
    TranslateCaptions();
}

void TSync_Dlg::TranslateCaptions()
{
    Memo1->setPlainText(HelpLines().join(u'\n'));
    switch (Ctx().CurrentLanguage) {
    case 1:
        setWindowTitle(u"Define sync. bytes"_qs);
        Button1->setText(u"&Cancel"_qs);
        Monitor->setText(u"Preview sync. bytes [HEX]"_qs);
        Label1->setText(u"Sync. bytes definition:"_qs);
        break;
    case 2:
        setWindowTitle(u"Definir octets sync."_qs);
        Button1->setText(u"&Annuler"_qs);
        Monitor->setText(u"Vue-préliminaire octets sync. [HEX]"_qs);
        Label1->setText(u"Définition octets sync.:"_qs);
        break;
    default:
        break;
    }
}

void TSync_Dlg::SynchronEditChange()
{
    MonitorMemo->clear();
    const QString line = BytesToHexText(ParseByteSequence(SynchronEdit->text()));
    MonitorMemo->appendPlainText(line.left(kMaxPreviewLength));
}

void TSync_Dlg::FormShow()
{
    SynchronEditChange();
}

void TSync_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool EditSyncSequence(const QString& caption, QString& text, QWidget* parent)
{
    TSync_Dlg dlg(parent);
    dlg.setWindowTitle(caption);
    // The limit is for typing; a longer stored text is not cut.
    dlg.SynchronEdit->setMaxLength(std::max<int>(kMaxEditLength, int(text.size())));
    dlg.SynchronEdit->setText(text);
    if (ShowModal(dlg) != mrOk)
        return false;
    text = dlg.SynchronEdit->text();
    return true;
}
