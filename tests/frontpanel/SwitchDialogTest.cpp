// The switch properties dialog: filling from the element, the rows written back on OK, the
// turns of the picture set, the lamp's angle list, user pictures, push-button start state,
// cancelling, and its texts in English.

#include "ElementTestSupport.h"

#include "frontpanel/elements/GradBtn.h"
#include "frontpanel/elements/LampWidget.h"
#include "frontpanel/elements/Schalter.h"
#include "frontpanel/elements/SchalterDlg.h"
#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

using SwitchDialogTest = FrontPanelTest;

std::unique_ptr<TSchalter> NewSwitch()
{
    return std::unique_ptr<TSchalter>(NewElement<TSchalter>(nullptr));
}

// Runs the element's dialog, answered by `edit` with the given result.
int Edit(TSchalter& s, const std::function<void(TSchalterDlg&)>& edit, int result = mrOk)
{
    TScopedDialogResponder responder;
    responder.Answer([&](QDialog& d) {
        edit(static_cast<TSchalterDlg&>(d));
        return result;
    });
    return s.EditProperties();
}

} // namespace

TEST_F(SwitchDialogTest, FilledFromTheElement)
{
    auto s = NewSwitch();
    s->Hint = QStringLiteral("Licht");
    s->Vorgabe = true;
    s->SetTyp(Drehschalter);
    s->SetFarbe(gelb);
    s->Lampe->SetAngle(1800);
    s->Lampe->SetLedClass(ixlcRomb);
    s->Schaltflaeche->SetCaption(QStringLiteral("Ein"));
    Edit(*s, [](TSchalterDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Licht"));
        EXPECT_EQ(d.TypCombo->currentIndex(), 0);
        EXPECT_EQ(d.Typ->currentIndex(), int(Drehschalter));
        EXPECT_EQ(d.Farbe->currentIndex(), int(gelb));
        EXPECT_TRUE(d.RB_DefOn->isChecked());
        EXPECT_TRUE(d.DefaultBox->isEnabled());
        EXPECT_EQ(d.cbWinkel->currentIndex(), 2);
        EXPECT_EQ(d.CB_Form->currentText(), QStringLiteral("Raute"));
        EXPECT_EQ(d.Text->text(), QStringLiteral("Ein"));
        EXPECT_EQ(d.HintEdit->text(), QStringLiteral("Licht"));
        EXPECT_TRUE(d.cb_Editierbar->isHidden());
        EXPECT_EQ(d.Typ->count(), 11);
        EXPECT_EQ(d.CB_Form->count(), 6);
    }, mrCancel);
}

TEST_F(SwitchDialogTest, PictureSetRowsAndTurnsAreWrittenBack)
{
    auto s = NewSwitch();
    EXPECT_EQ(Edit(*s, [](TSchalterDlg& d) {
        d.Typ->setCurrentIndex(Wippschalter);
        d.Farbe->setCurrentIndex(rot);
        for (int i = 0; i < 4; ++i)
            d.TurnPictureSet(1);
        EXPECT_EQ(d.Drehung, 0);  // four turns return to none
        d.TurnPictureSet(-1);
        EXPECT_EQ(d.Drehung, 3);
        d.RB_DefOn->setChecked(true);
        d.HintEdit->setText(QStringLiteral("Hauptschalter"));
    }), mrOk);
    EXPECT_EQ(s->Typ, Wippschalter);
    EXPECT_EQ(s->Farbe, rot);
    EXPECT_EQ(s->Drehung, 3);
    EXPECT_EQ(s->BildEin.size(), QSize(34, 25));  // turned a quarter
    EXPECT_TRUE(s->Vorgabe);
    EXPECT_TRUE(s->State());  // the start value applies at once
    EXPECT_EQ(s->Hint, QStringLiteral("Hauptschalter"));
}

TEST_F(SwitchDialogTest, ButtonLookTakesCaptionColoursAndStyle)
{
    auto s = NewSwitch();
    Edit(*s, [](TSchalterDlg& d) {
        d.TypCombo->setCurrentIndex(1);
        d.Text->setText(QStringLiteral("Motor"));
        d.VonColShape->SetColor(0x0000FF);
        d.bisColShape->SetColor(0x00FF00);
        d.cbVerlauf->setCurrentIndex(1);
        d.cbFontFX->setCurrentIndex(2);
        EXPECT_EQ(d.GradBtn1->Caption(), QStringLiteral("Motor"));  // live preview
        EXPECT_EQ(d.GradBtn1->GradientStyle(), gsVertical);
    });
    EXPECT_EQ(s->Darstellung, dsSchaltflaeche);
    EXPECT_TRUE(s->Schaltflaeche->isVisibleTo(s.get()));
    EXPECT_EQ(s->Schaltflaeche->Caption(), QStringLiteral("Motor"));
    EXPECT_EQ(s->Schaltflaeche->BeginColor(), 0x0000FF);
    EXPECT_EQ(s->Schaltflaeche->EndColor(), 0x00FF00);
    EXPECT_EQ(s->Schaltflaeche->TxtHiliteClr(), 0x0000FF);
    EXPECT_EQ(s->Schaltflaeche->GradientStyle(), gsVertical);
    EXPECT_EQ(s->Schaltflaeche->TextStyle(), tsInset);
    EXPECT_TRUE(s->GetBisteHSkalierbar());
}

TEST_F(SwitchDialogTest, LampAngle270IsShownAgain)
{
    auto s = NewSwitch();
    Edit(*s, [](TSchalterDlg& d) {
        d.TypCombo->setCurrentIndex(3);
        d.cbWinkel->setCurrentIndex(3);
        d.CB_Form->setCurrentIndex(2);  // half circle
        d.SE_Rand->setValue(5);
        d.PlastikColShape->SetColor(0x00FF00);
        d.PlastikColShape->OnChanged(0x00FF00);
        EXPECT_EQ(d.Lampe->LedClass(), ixlcHalfCircle);
    });
    EXPECT_EQ(s->Darstellung, dsPlastik);
    EXPECT_EQ(s->Lampe->Angle(), -900);
    EXPECT_EQ(s->Lampe->LedClass(), ixlcHalfCircle);
    EXPECT_EQ(s->Lampe->OuterBorderDepth(), 5);
    EXPECT_EQ(s->Lampe->LedPlasticColor(), 0x00FF00);
    EXPECT_TRUE(s->Lampe->isVisibleTo(s.get()));
    Edit(*s, [](TSchalterDlg& d) {
        EXPECT_EQ(d.cbWinkel->currentIndex(), 3);
        EXPECT_EQ(d.CB_Form->currentIndex(), 2);
        EXPECT_EQ(d.SE_Rand->value(), 5);
    }, mrCancel);
}

TEST_F(SwitchDialogTest, PushButtonAlwaysStartsOff)
{
    auto s = NewSwitch();
    s->SetTaster(true);
    Edit(*s, [](TSchalterDlg& d) {
        EXPECT_FALSE(d.DefaultBox->isEnabled());
        EXPECT_TRUE(d.RB_DefOff->isChecked());
        d.RB_DefOn->setChecked(true);
    });
    EXPECT_FALSE(s->Vorgabe);
    EXPECT_FALSE(s->State());
}

TEST_F(SwitchDialogTest, CancelLeavesTheElementUnchanged)
{
    auto s = NewSwitch();
    EXPECT_EQ(Edit(*s, [](TSchalterDlg& d) {
        d.TypCombo->setCurrentIndex(3);
        d.Typ->setCurrentIndex(Drucktaster);
        d.HintEdit->setText(QStringLiteral("x"));
    }, mrCancel), mrCancel);
    EXPECT_EQ(s->Darstellung, dsBild);
    EXPECT_EQ(s->Typ, Kippschalter2);
    EXPECT_EQ(s->Hint, QStringLiteral("Schalter"));
}

TEST_F(SwitchDialogTest, UserPicturesLoadTurnAndDrawOnlyWhatIsLoaded)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ein.bmp"));
    QImage picture(10, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(file, "BMP"));
    auto s = NewSwitch();
    s->BildAus = QImage();
    Edit(*s, [&](TSchalterDlg& d) {
        d.TypCombo->setCurrentIndex(2);
        d.BildAus = QImage();
        d.LoadUserPicture(true, file);
        d.TurnUserPictures(true);
        EXPECT_EQ(d.BildEin.size(), QSize(4, 10));
        EXPECT_TRUE(d.BildAus.isNull());
    });
    EXPECT_EQ(s->Darstellung, dsBenutzerBild);
    EXPECT_EQ(s->BildEin.size(), QSize(4, 10));
    EXPECT_TRUE(s->BildAus.isNull());
    EXPECT_TRUE(s->ShownPicture().isNull());  // off: nothing drawn
    s->SetEingeschaltet(true);
    EXPECT_EQ(s->ShownPicture().size(), QSize(4, 10));

    // A file that is no picture is reported, and nothing changes.
    TScopedDialogResponder messages;
    TSchalterDlg d(*s);
    d.LoadUserPicture(false, dir.filePath(QStringLiteral("fehlt.bmp")));
    EXPECT_TRUE(d.BildAus.isNull());
}

TEST_F(SwitchDialogTest, EnglishTexts)
{
    Ctx().CurrentLanguage = 1;
    auto s = NewSwitch();
    EXPECT_EQ(s->Hint, QStringLiteral("Switch"));
    Edit(*s, [](TSchalterDlg& d) {
        EXPECT_EQ(d.TypCombo->itemText(3), QStringLiteral("Plastic lamp switch"));
        EXPECT_EQ(d.Typ->itemText(10), QStringLiteral("Push button"));
        EXPECT_EQ(d.Farbe->itemText(0), QStringLiteral("Black / White"));
        EXPECT_EQ(d.CB_Form->itemText(5), QStringLiteral("Rhomb"));
        EXPECT_EQ(d.cbFontFX->itemText(1), QStringLiteral("Raised"));
        EXPECT_EQ(d.GB_Bitmap->title(), QStringLiteral("Properties"));
    }, mrCancel);
}
