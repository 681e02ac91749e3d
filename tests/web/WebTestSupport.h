#pragma once
// Shared pieces of the web tests: an element that records what the web asks of it, a front-
// panel window with a clean program state and a data folder, and waiting on the event loop
// for a condition with a generous limit.

#include "frontpanel/DesignTestSupport.h"

#include "core/board/BoardHooks.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/web/WebLink.h"
#include "frontpanel/web/WebPublishing.h"
#include "shell/Composition.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QTabBar>
#include <QTemporaryDir>

#include <functional>
#include <ostream>
#include <memory>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// An element like a switch: its picture links to action 2, which toggles it; it logs every
// action and submitted value.
class TWebProbe : public TFP_Element {
public:
    FP_CLASS_NAME(TWebProbe)
    explicit TWebProbe(QWidget* owner = nullptr)
        : TFP_Element(owner)
    {
        resize(40, 24);
    }

    bool On = false;
    QStringList Log;

    void WriteWebSnapshot(QStringList& lines) override
    {
        SaveSnapshot();
        lines << WriteWebImageLink(WebPictureUrl(GetRelativeName()), Hint, 2);
    }
    void WebAction(int32_t action) override
    {
        Log << QStringLiteral("action %1").arg(action);
        if (action == 2)
            On = !On;
        TFP_Element::WebAction(action);
    }
    void WebSubmit(const QString& value) override { Log << QStringLiteral("submit ") + value; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), On ? QColor(Qt::green) : QColor(Qt::darkRed));
    }
};

// Runs the event loop until the condition holds; false when it does not within the limit.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 30000)
{
    QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// A front-panel window titled "Frontplatte", publishing always, with a data folder.
class WebFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetContext();
        ResetFrontPanelState();
        ResetWebState();
        ResetWebLinkConfig();
        BuildTranslationTable();
        RegisterTestElements();
        ElementRegistry().RegisterElement<TWebProbe>();
        ASSERT_TRUE(dir.isValid());
        Ctx().ProgramFolder = dir.path() + QStringLiteral("/program/");
        InstallHooks();
        window = std::make_unique<TFrontplatte>();
        window->Title = QStringLiteral("Frontplatte");
        window->setWindowTitle(window->Title);
        window->RootDesign->ElementName = window->Title;
        window->WebServerPath.clear();
        root = window->RootDesign;
        window->PublishMode = 2;
        WebState().DataFolder = dir.path() + QStringLiteral("/data/");
        WebLinkConfig().DataFolder = WebState().DataFolder;
    }
    void TearDown() override
    {
        window.reset();
        ResetBoardHooks();
        ResetWebLinkConfig();
        ResetWebState();
        ResetFrontPanelState();
        ResetContext();
    }

    TWebProbe* AddProbe(TDesign* page, const QString& name, int32_t sortOrder = 0, int32_t pageNumber = 0)
    {
        auto* e = static_cast<TWebProbe*>(page->AddElement(QStringLiteral("TWebProbe")));
        e->ElementName = name;
        e->Hint = name + QStringLiteral(" hint");
        e->WebSortOrder = sortOrder;
        e->SetFrontplattenNR(pageNumber);
        e->setGeometry(10, 10, 40, 24);
        return e;
    }
    TDesign* AddPage(const QString& name)
    {
        auto* page = static_cast<TDesign*>(root->AddElement(QStringLiteral("TDesign")));
        page->ElementName = name;
        page->setGeometry(60, 60, 200, 120);
        return page;
    }
    QStringList Page(int32_t n, const QString& path = QString())
    {
        QStringList lines;
        window->BuildWebPage(n, path, lines);
        return lines;
    }

    QTemporaryDir dir;
    std::unique_ptr<TFrontplatte> window;
    TDesign* root = nullptr;
};
