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

constexpr int kMaxEditLength = 200;

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

QLineEdit* NewEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(kMaxEditLength);
    return edit;
}

} // namespace

TFrame_Dlg::TFrame_Dlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(u"TFrame_Dlg"_qs);
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
    PrefixEdit = NewEdit(u"PrefixEdit"_qs, Bevel1);
    Label1->setBuddy(PrefixEdit);
    Label2 = new QLabel(Bevel1);
    Label2->setObjectName(u"Label2"_qs);
    SuffixEdit = NewEdit(u"SuffixEdit"_qs, Bevel1);
    Label2->setBuddy(SuffixEdit);

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
    connect(PrefixEdit, &QLineEdit::textChanged, this, [this] { PrefixEditChange(); });
    connect(SuffixEdit, &QLineEdit::textChanged, this, [this] { PrefixEditChange(); });

    auto* inner = new QVBoxLayout(Bevel1);
    inner->addWidget(Memo1, 1);
    inner->addWidget(Label1);
    inner->addWidget(PrefixEdit);
    inner->addWidget(Label2);
    inner->addWidget(SuffixEdit);
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

    setWindowTitle(u"Übertragung einrahmen"_qs);
    Label1->setText(u"Präfix (wird vor dem Wert gesendet)"_qs);
    Label2->setText(u"Suffix (wird nach dem Wert gesendet)"_qs);
    Monitor->setText(u"Übertragungsvorschau (HEX):"_qs);
    Button1->setText(u"&Abbrechen"_qs);
    TranslateCaptions();
}

void TFrame_Dlg::TranslateCaptions()
{
    Memo1->setPlainText(HelpLines().join(u'\n'));
    switch (Ctx().CurrentLanguage) {
    case 1:
        setWindowTitle(u"Frame parameters"_qs);
        Button1->setText(u"&Cancel"_qs);
        Monitor->setText(u"Preview [HEX]"_qs);
        Label1->setText(u"Prefix (send before data)"_qs);
        Label2->setText(u"Suffix (send after data)"_qs);
        break;
    case 2:
        setWindowTitle(u"Paramètres trame"_qs);
        Button1->setText(u"&Annuler"_qs);
        Monitor->setText(u"Vue-péliminaire [HEX]"_qs);
        break;
    default:
        break;
    }
}

void TFrame_Dlg::PrefixEditChange()
{
    MonitorMemo->clear();
    QString line = BytesToHexText(ParseByteSequence(PrefixEdit->text()));
    line += Lang3Q(" <Wert>", " <Data>", " <Donnée>");
    line += BytesToHexText(ParseByteSequence(SuffixEdit->text()));
    MonitorMemo->appendPlainText(line.left(kMaxPreviewLength));
}

void TFrame_Dlg::FormShow()
{
    PrefixEditChange();
}

void TFrame_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool EditFrameTexts(const QString& caption, QString& prefix, QString& suffix, QWidget* parent)
{
    TFrame_Dlg dlg(parent);
    dlg.setWindowTitle(caption);
    // The limit is for typing; longer stored texts are not cut.
    dlg.PrefixEdit->setMaxLength(std::max<int>(kMaxEditLength, int(prefix.size())));
    dlg.SuffixEdit->setMaxLength(std::max<int>(kMaxEditLength, int(suffix.size())));
    dlg.PrefixEdit->setText(prefix);
    dlg.SuffixEdit->setText(suffix);
    if (ShowModal(dlg) != mrOk)
        return false;
    prefix = dlg.PrefixEdit->text();
    suffix = dlg.SuffixEdit->text();
    return true;
}
