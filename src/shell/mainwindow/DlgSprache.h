#pragma once
// The language-choice form. It is created with the other start-up forms; the language itself
// comes from "SPRACHE.INI".

#include <QDialog>

class QComboBox;
class QPushButton;

class TDlgSprache : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSprache(QWidget* parent = nullptr);

    QComboBox* SpracheCombo;
    QPushButton* OKBtn;
    QPushButton* AbbrechenBtn;
};
