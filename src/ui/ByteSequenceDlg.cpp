#include "ui/ByteSequenceDlg.h"

#include "platform/Context.h"
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
}

TByteSequenceDlg::TByteSequenceDlg(const QString& objectName, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(objectName);
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

    Monitor = new QLabel(Bevel1);
    Monitor->setObjectName(u"Monitor"_qs);
    MonitorMemo = new QPlainTextEdit(Bevel1);
    MonitorMemo->setObjectName(u"MonitorMemo"_qs);
    MonitorMemo->setEnabled(false);
    MonitorMemo->setReadOnly(true);
    MonitorMemo->setFixedHeight(48);

    Button1 = new QPushButton(u"&Abbrechen"_qs, this);
    Button1->setObjectName(u"Button1"_qs);
    Button2 = new QPushButton(u"&OK"_qs, this);
    Button2->setObjectName(u"Button2"_qs);
    Button2->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);

    m_inner = new QVBoxLayout(Bevel1);
    m_inner->addWidget(Memo1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Bevel1, 1);
    layout->addLayout(buttons);
    resize(340, 380);
}

QLineEdit* TByteSequenceDlg::AddSequenceEdit(QLabel*& label, const QString& labelName,
                                             const QString& editName)
{
    label = new QLabel(Bevel1);
    label->setObjectName(labelName);
    auto* edit = new QLineEdit(Bevel1);
    edit->setObjectName(editName);
    edit->setMaxLength(kMaxEditLength);
    label->setBuddy(edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { FormShow(); });
    m_inner->addWidget(label);
    m_inner->addWidget(edit);
    return edit;
}

void TByteSequenceDlg::AddToFrame(QWidget* widget, int stretch)
{
    widget->setParent(Bevel1);
    m_inner->addWidget(widget, stretch);
}

void TByteSequenceDlg::FinishLayout()
{
    m_inner->addWidget(Monitor);
    m_inner->addWidget(MonitorMemo);
}

void TByteSequenceDlg::ShowPreview(const QString& line)
{
    MonitorMemo->clear();
    MonitorMemo->appendPlainText(line.left(kMaxPreviewLength));
}

void TByteSequenceDlg::TranslateCancel()
{
    Button1->setText(Lang3Q("&Abbrechen", "&Cancel", "&Annuler"));
}

void TByteSequenceDlg::SetSequenceText(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(std::max<int>(kMaxEditLength, int(text.size())));
    edit->setText(text);
}

void TByteSequenceDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}
