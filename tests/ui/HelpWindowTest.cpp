// The help window: pages open in it, links between pages and to places in them are followed,
// addresses outside the help are not, and back, forward and contents move between pages.

#include "UiTestSupport.h"

#include "platform/Context.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"
#include "ui/HelpWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

namespace {

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + u'/';
        Ctx().CurrentLanguage = 1;
        QDir().mkpath(dir.path() + QStringLiteral("/help/en"));
        Write("index", "<h1>Contents</h1><a href=\"gates.html#or\">OR</a> "
                       "<a href=\"https://example.org/\">away</a>");
        Write("gates", "<h1>Gates</h1><p>AND</p><h2 id=\"or\">OR</h2>");
        InstallHelpWindow();
    }
    void TearDown() override
    {
        if (THelpWindow* w = HelpWindow()) {
            w->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        SetHelpViewer({});
        ResetContext();
    }
    void Write(const char* name, const char* body)
    {
        QFile f(dir.path() + QStringLiteral("/help/en/%1.html").arg(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("<html><body>") + body + "</body></html>");
    }
    static QString Shown()
    {
        return HelpWindow()->Browser->source().fileName();
    }

    QTemporaryDir dir;
};

TEST_F(HelpWindowTest, PagesAndLinksStayInTheHelp)
{
    TScopedMessageResponder responder;
    OpenHelpPage(QStringLiteral("index"));
    ASSERT_NE(HelpWindow(), nullptr);
    THelpWindow& w = *HelpWindow();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Tavrinol – Help"));
    EXPECT_EQ(Shown(), QStringLiteral("index.html"));
    EXPECT_FALSE(w.BackBtn->isEnabled());

    emit w.Browser->anchorClicked(QUrl(QStringLiteral("gates.html#or")));
    EXPECT_EQ(Shown(), QStringLiteral("gates.html"));
    EXPECT_EQ(w.Browser->source().fragment(), QStringLiteral("or"));
    emit w.Browser->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    EXPECT_EQ(Shown(), QStringLiteral("gates.html")) << "no address outside the help is followed";

    w.BackBtn->click();
    EXPECT_EQ(Shown(), QStringLiteral("index.html"));
    EXPECT_TRUE(w.ForwardBtn->isEnabled());
    w.ForwardBtn->click();
    EXPECT_EQ(Shown(), QStringLiteral("gates.html"));
    w.ContentsBtn->click();
    EXPECT_EQ(Shown(), QStringLiteral("index.html"));

    // A second request uses the same window.
    OpenHelpPage(QStringLiteral("gates"));
    EXPECT_EQ(HelpWindow(), &w);
    EXPECT_EQ(Shown(), QStringLiteral("gates.html"));
    EXPECT_TRUE(responder.Requests().empty());
}

} // namespace
