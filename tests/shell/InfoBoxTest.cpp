// The about box: in every language its lines fit between its edges.

#include "platform/Context.h"
#include "shell/tools/InfoDlg.h"

#include <gtest/gtest.h>

#include <QLabel>

TEST(InfoBox, TheTextsFitInEveryLanguage)
{
    for (uint8_t language = 0; language < 3; ++language) {
        ResetContext();
        Ctx().CurrentLanguage = language;
        TInfoDlg box;
        for (const QLabel* label : {box.L_Adresse, box.WebLabel}) {
            const QRect r = label->geometry();
            EXPECT_GE(r.left(), 0) << int(language) << " " << label->text().toStdString();
            EXPECT_LE(r.right(), box.width() - 1) << int(language) << " " << label->text().toStdString();
        }
    }
    ResetContext();
}
