#include "shell/mainwindow/DlgSprache.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TDlgSprache::TDlgSprache(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Sprache"));

    SpracheCombo = new QComboBox(this);
    SpracheCombo->setObjectName(QStringLiteral("SpracheCombo"));
    SpracheCombo->addItems({QStringLiteral("Deutsch"), QStringLiteral("English"),
                            QStringLiteral("Francaise")});
    SpracheCombo->setCurrentIndex(0);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setDefault(true);
    AbbrechenBtn = new QPushButton(QStringLiteral("&Abbrechen"), this);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(AbbrechenBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(AbbrechenBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SpracheCombo);
    layout->addLayout(buttons);
}
