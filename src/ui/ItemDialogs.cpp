#include "ui/ItemDialogs.h"

#include "core/model/Translator.h"
#include "platform/Colors.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"
#include "ui/ColorPicker.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QDialogButtonBox* AddButtons(QDialog& dialog, QLayout& layout)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

QLineEdit* AddTextRow(QDialog& dialog, QFormLayout& form, const QString& label, const QString& text,
                      int maxLength, int width, const char* objectName)
{
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QLatin1String(objectName));
    edit->setMaxLength(maxLength);
    edit->setText(text.left(maxLength));
    edit->setMinimumWidth(width);
    form.addRow(label, edit);
    return edit;
}

void ShowColor(QPushButton& button, int32_t color)
{
    button.setStyleSheet(QStringLiteral("background-color: %1").arg(TColorToQColor(color).name()));
}

} // namespace

int ShowTextLabelDialog(TTextLabelDialogValues& values)
{
    QDialog dialog;
    dialog.setWindowTitle(Translate(QStringLiteral("Text")));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* text = AddTextRow(dialog, *form, Translate(QStringLiteral("Text")), values.Text, 50,
                                 190, "Text");

    auto* group = new QGroupBox(Translate(QStringLiteral("Schriftart")), &dialog);
    auto* groupForm = new QFormLayout(group);
    auto* fontName = new QFontComboBox(group);
    fontName->setObjectName(QStringLiteral("FontName"));
    fontName->setCurrentFont(QFont(values.FontName));
    fontName->setEditText(values.FontName);
    auto* fontSize = new QSpinBox(group);
    fontSize->setObjectName(QStringLiteral("FontSize"));
    fontSize->setRange(1, 999);
    fontSize->setValue(values.Size);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(fontName, 1);
    nameRow->addWidget(fontSize);
    groupForm->addRow(Translate(QStringLiteral("Name")), nameRow);

    auto* styleRow = new QHBoxLayout;
    const struct {
        const char* word;
        const char* objectName;
    } styles[] = {{"Fett", "Bold"}, {"Kursiv", "Italic"}, {"Unterstrichen", "Underline"},
                  {"Durchgestrichen", "StrikeOut"}};
    QCheckBox* styleBoxes[4] = {};
    for (int k = 0; k < 4; ++k) {
        styleBoxes[k] = new QCheckBox(Translate(QString::fromUtf8(styles[k].word)), group);
        styleBoxes[k]->setObjectName(QLatin1String(styles[k].objectName));
        styleBoxes[k]->setChecked(values.StyleBits & (1 << k));
        styleRow->addWidget(styleBoxes[k]);
    }
    groupForm->addRow(Translate(QStringLiteral("Stil")), styleRow);
    layout->addWidget(group);

    int32_t color = values.Color;
    auto* colorButton = new QPushButton(&dialog);
    colorButton->setObjectName(QStringLiteral("Color"));
    colorButton->setProperty("colorValue", color);
    ShowColor(*colorButton, color);
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [colorButton]() {
        const int32_t picked = PickColor(colorButton->property("colorValue").toInt());
        colorButton->setProperty("colorValue", picked);
        ShowColor(*colorButton, picked);
    });
    auto* colorForm = new QFormLayout;
    colorForm->addRow(Translate(QStringLiteral("Farbe")), colorButton);
    layout->addLayout(colorForm);
    AddButtons(dialog, *layout);

    const int result = ShowModal(dialog);
    if (result == mrOk) {
        values.Text = text->text().left(50);
        values.FontName = fontName->currentText();
        values.Size = fontSize->value();
        uint8_t bits = 0;
        for (int k = 0; k < 4; ++k) {
            if (styleBoxes[k]->isChecked())
                bits |= uint8_t(1 << k);
        }
        values.StyleBits = bits;
        values.Color = colorButton->property("colorValue").toInt();
    }
    return result;
}

int ShowDesignationDialog(const QString& caption, int32_t helpContext, QString& text, int maxLength,
                          int width)
{
    QDialog dialog;
    dialog.setWindowTitle(caption);
    dialog.setProperty("helpContext", helpContext);
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* edit = AddTextRow(dialog, *form, Translate(QStringLiteral("Bezeichnung")), text,
                                 maxLength, width, "Designation");
    AddButtons(dialog, *layout);
    const int result = ShowModal(dialog);
    if (result == mrOk)
        text = edit->text().left(maxLength);
    return result;
}

void InstallItemDialogs()
{
    ItemDialogHooks().EditTextLabel = ShowTextLabelDialog;
    ItemDialogHooks().EditDesignation = ShowDesignationDialog;
}
