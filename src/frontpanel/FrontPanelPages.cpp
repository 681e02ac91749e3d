// The front-panel window's pages: showing a page (the root page or a macro's page) in the
// scroll box, the page tabs and their menu, and page activation requests.

#include "frontpanel/FrontPanel.h"

#include "frontpanel/Design.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"
#include "ui/ScrollBoxEx.h"

#include <QAction>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>
#include <functional>

namespace {

// More tabs than this are not added for stored page numbers (a damaged file).
constexpr int kMostPageTabs = 1000;

// Every page nested in `page`, at any depth.
void ForEachNestedPage(TDesign* page, const std::function<void(TDesign*)>& action)
{
    for (TFP_Element* e : page->Elements)
        if (auto* nested = dynamic_cast<TDesign*>(e)) {
            action(nested);
            ForEachNestedPage(nested, action);
        }
}

} // namespace

// --- Showing pages --------------------------------------------------------------------------------

void TFrontplatte::RestoreShownPage()
{
    TDesign* page = ShownDesign;
    if (!page)
        return;
    disconnect(page, &QObject::destroyed, this, nullptr);
    page->Deselect(-1);
    page->RenumberElements();
    page->RestoreZOrder();
    if (ScrollBox->widget() == page)
        ScrollBox->takeWidget();
    QWidget* parent = m_shownParent ? m_shownParent : ScrollBox;
    page->setParent(parent);
    page->setGeometry(m_shownBounds);
    if (auto* owner = dynamic_cast<TDesign*>(parent)) {
        if (page->FrontplattenNR != owner->AktiveFrontplatte)
            page->setParent(owner->ParkingPanel());
        page->setVisible(page->GetisVisible());
        owner->RestoreZOrder();
    }
    ShownDesign = nullptr;
}

void TFrontplatte::ShowPageInScrollBox(TDesign* page)
{
    if (page->OwnerDesign)
        page->OwnerDesign->DeselectElement(page);
    m_shownParent = page->OwnerDesign;
    m_shownBounds = page->geometry();
    if (Options.FullScreen && page == RootDesign) {
        ScrollBox->setWidgetResizable(false);
        const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 800, 600);
        page->resize(screen.width(), screen.height() - 2);
    } else {
        ScrollBox->setWidgetResizable(true);
    }
    ScrollBox->setWidget(page);
    page->show();
    ShownDesign = page;
    if (page != RootDesign) {
        // A macro's page may go with its macro while it is shown: the root page takes its
        // place once the page is gone.
        connect(page, &QObject::destroyed, this, [this](QObject* gone) {
            if (static_cast<QObject*>(ShownDesign) == gone)
                ShownDesign = nullptr;
            if (static_cast<QObject*>(ActiveDesign) != gone)
                return;
            ActiveDesign = RootDesign;
            QMetaObject::invokeMethod(this, [this] {
                if (!ShownDesign && RootDesign)
                    ActivateDesign(RootDesign);
            }, Qt::QueuedConnection);
        });
    }
}

void TFrontplatte::ActivateDesign(TDesign* page)
{
    if (!page)
        return;
    if (Ctx().RuntimeMode)
        ForEachNestedPage(RootDesign, [](TDesign* d) {
            d->SetElementEnabled(false);
            d->SetisVisible(!TDesign::ContainsOnlyDesigns(d));
        });
    for (TDesign* d = page->OwnerDesign; d && d != RootDesign; d = d->OwnerDesign)
        d->SetElementEnabled(true);
    ForEachNestedPage(page, [](TDesign* d) {
        d->SetElementEnabled(false);
        d->SetisVisible(!TDesign::ContainsOnlyDesigns(d));
    });
    page->SetElementEnabled(true);

    if (ShownDesign != page) {
        RestoreShownPage();
        ShowPageInScrollBox(page);
    }
    page->RestoreZOrder();
    ActiveDesign = page;

    if (page == RootDesign) {
        RootDesign->OnPageProperties = [this] { SetupBtnClick(); };
        setWindowTitle(Title);
        TabControl1->setVisible(TabControl1->count() > 1);
    } else {
        setWindowTitle(page->ElementName.toUpper());
        TabControl1->setVisible(false);
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(page->FrontplattenNR);
    }
    TabControl1Change();
    page->RefreshTransparency(this);
}

void TFrontplatte::TabControl1Change()
{
    if (!ActiveDesign)
        return;
    ActiveDesign->Deselect(-1);
    ActiveDesign->SetAktiveFrontplatte(TabControl1->currentIndex());
    if (ActiveDesign == RootDesign)
        TabControl1->setVisible(TabControl1->count() > 1);
    ActiveDesign->RefreshTransparency(this);
}

void TFrontplatte::DeleteAllElements()
{
    while (!RootDesign->Elements.empty())
        RootDesign->DeleteElement(RootDesign->Elements.front());
}

void TFrontplatte::CheckeFrontplattenNummern(bool addTabs)
{
    if (ReadingProject)
        return;
    bool added = false;
    {
        const QSignalBlocker block(TabControl1);
        const int most = addTabs ? kMostPageTabs : TabControl1->count();
        for (TFP_Element* e : RootDesign->Elements) {
            while (e->FrontplattenNR >= TabControl1->count() && TabControl1->count() < most) {
                TabControl1->addTab(RootDesign->GetPageCaption());
                added = true;
            }
            if (e->FrontplattenNR >= TabControl1->count())
                e->SetFrontplattenNR(TabControl1->count() - 1);
        }
        if (added)
            TabControl1->setCurrentIndex(TabControl1->count() - 1);
    }
    TabControl1Change();
}

// --- Page tabs ------------------------------------------------------------------------------------

void TFrontplatte::NeueFrontplatte1Click()
{
    const QString caption = RootDesign->GetPageCaption();
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->addTab(caption);
    }
    const int page = TabControl1->count() - 1;
    RootDesign->MoveSelectionToPage(page);
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(page);
    }
    TabControl1Change();
}

void TFrontplatte::Lschen1Click()
{
    const int i = TabControl1->currentIndex();
    const bool used = std::any_of(RootDesign->Elements.begin(), RootDesign->Elements.end(),
                                  [i](const TFP_Element* e) { return e->FrontplattenNR == i; });
    if (used) {
        MessageBoxText(Lang3Q("Es können nur leere Frontplatten gelöscht werden!",
                              "Only empty front panels can be deleted!",
                              "Seuls les panneaux de contrôle vides peuvent être effacés !"),
                       Lang3Q("Frontplatte löschen", "Delete front panel",
                              "Effacer panneau de contrôle"),
                       mbOK, mtWarning);
        return;
    }
    if (TabControl1->count() <= 1)
        return;  // the last page stays
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->removeTab(i);
        for (TFP_Element* e : RootDesign->Elements)
            if (e->FrontplattenNR > i)
                e->SetFrontplattenNR(e->FrontplattenNR - 1);
        TabControl1->setCurrentIndex(std::min(i, TabControl1->count() - 1));
    }
    TabControl1Change();
}

void TFrontplatte::MoveTabPage(int from, int to)
{
    for (TFP_Element* e : RootDesign->Elements) {
        if (e->FrontplattenNR == from)
            e->SetFrontplattenNR(to);
        else if (e->FrontplattenNR == to)
            e->SetFrontplattenNR(from);
    }
    {
        const QSignalBlocker block(TabControl1);
        const QString a = TabControl1->tabText(from);
        TabControl1->setTabText(from, TabControl1->tabText(to));
        TabControl1->setTabText(to, a);
        TabControl1->setCurrentIndex(to);
    }
    TabControl1Change();
}

void TFrontplatte::Nachlinks1Click()
{
    const int i = TabControl1->currentIndex();
    if (i > 0)
        MoveTabPage(i, i - 1);
}

void TFrontplatte::Nachrechts1Click()
{
    const int i = TabControl1->currentIndex();
    if (i >= 0 && i < TabControl1->count() - 1)
        MoveTabPage(i, i + 1);
}

void TFrontplatte::FPopupPopup()
{
    const int i = TabControl1->currentIndex();
    Nachlinks1->setEnabled(i > 0);
    Nachrechts1->setEnabled(i < TabControl1->count() - 1);
}

void TFrontplatte::ActivatePageRequest(uint32_t lParam)
{
    const int index = static_cast<int>(lParam & 0xFFF) - 1;
    {
        const QSignalBlocker block(TabControl1);
        TabControl1->setCurrentIndex(index);
    }
    TabControl1Change();
    if (lParam & 0x1000) {
        const QImage image = CapturePanelImage();
        PrintDirect(image);
    }
}
