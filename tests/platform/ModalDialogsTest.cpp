#include "platform/MessageBox.h"
#include "platform/ModalDialogs.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>

TEST(ModalDialogs, ResponderFillsTheDialogAndAnswers)
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Eigenschaften"));
    auto* edit = new QLineEdit(&dialog);
    TScopedDialogResponder responder;
    responder.Answer([](QDialog& d) {
        d.findChild<QLineEdit*>()->setText(QStringLiteral("neu"));
        return int(mrOk);
    });
    EXPECT_EQ(ShowModal(dialog), mrOk);
    EXPECT_EQ(edit->text(), QStringLiteral("neu"));
    EXPECT_EQ(ShowModal(dialog), mrCancel); // queue empty
    EXPECT_EQ(responder.Count(), 2);
    EXPECT_EQ(responder.Titles().first(), QStringLiteral("Eigenschaften"));
}

TEST(ModalDialogs, HeadlessWithoutResponderCancels)
{
    QDialog dialog;
    EXPECT_EQ(ShowModal(dialog), mrCancel);
}
