// The page's context menu of edit mode and its commands: properties of the selection (and
// copying them to the other selected elements), frame and background, the web settings with
// the renumbering of the published order, stacking, new decor elements, deleting and
// duplicating decor elements, and moving the selection to another page tab.

#include "frontpanel/Design.h"

#include "core/model/Translator.h"
#include "frontpanel/FrontPanel.h"
#include "frontpanel/Sizer.h"
#include "platform/Context.h"
#include "platform/MessageBox.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QTabBar>

#include <algorithm>

namespace {

struct TMenuText {
    const char* german;
    const char* english;
    const char* french;
};

// Entries 0 .. 16; nullptr marks a separator.
const TMenuText kEntries[] = {
    {"Eigenschaften...", "Properties...", "Propriétés..."},
    {"Rahmen && Hintergrund...", "Frame && Background...", "Cadre && Fond..."},
    {"Web...", "Web...", "Web..."},
    {nullptr, nullptr, nullptr},
    {"Nach vorne holen", "To front", "Vers l´avant"},
    {"Nach hinten setzen", "To back", "Vers l´arrière"},
    {nullptr, nullptr, nullptr},
    {"Neuer Text", "Add label", "Ajouter texte"},
    {"Neue Fläche", "Add shape", "Ajouter forme"},
    {"Neuer Rahmen", "Add frame", "Ajouter cadre"},
    {"Neue Bitmap", "Add bitmap", "Ajouter image"},
    {"Neue Skale", "Add scale", "Ajouter échelle"},
    {nullptr, nullptr, nullptr},
    {"Löschen", "Delete", "Effacer"},
    {nullptr, nullptr, nullptr},
    {"Duplizieren", "Dublicate", "Dupliquer"},
    {nullptr, nullptr, nullptr},
};

const char* const kNewElementClasses[] = {"TBeschriftung", "TFlaeche", "TRahmen", "TLogo",
                                          "TSkale"};

QString NewPageText()
{
    return Lang3Q("Neue Frontplatte hinzufügen", "Add new front panel",
                  "Ajouter nouveau panneau de contrôle");
}

TFrontplatte* WindowOf(const QWidget* w)
{
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (auto* window = dynamic_cast<TFrontplatte*>(const_cast<QWidget*>(p)))
            return window;
    return nullptr;
}

} // namespace

void TDesign::BuildPopupMenu()
{
    PagePopup = new QMenu(this);
    m_entries.clear();
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        const TMenuText& t = kEntries[i];
        QAction* action = t.german ? PagePopup->addAction(Lang3Q(t.german, t.english, t.french))
                                   : PagePopup->addSeparator();
        m_entries.push_back(action);
    }
    QObject::connect(m_entries[0], &QAction::triggered, this, [this] { EditSelectionProperties(); });
    QObject::connect(m_entries[1], &QAction::triggered, this, [this] { EditSelectionFrame(); });
    QObject::connect(m_entries[2], &QAction::triggered, this, [this] { EditSelectionWeb(); });
    QObject::connect(m_entries[4], &QAction::triggered, this, [this] { BringSelectionToFront(); });
    QObject::connect(m_entries[5], &QAction::triggered, this, [this] { SendSelectionToBack(); });
    for (int k = 0; k < 5; ++k) {
        const QString name = QString::fromLatin1(kNewElementClasses[k]);
        QObject::connect(m_entries[7 + k], &QAction::triggered, this, [this, name] { AddElement(name); });
    }
    QObject::connect(m_entries[13], &QAction::triggered, this, [this] { DeleteSelection(); });
    QObject::connect(m_entries[15], &QAction::triggered, this, [this] { DuplicateSelection(); });
}

QAction* TDesign::MenuEntry(int index) const
{
    return index >= 0 && index < static_cast<int>(m_entries.size()) ? m_entries[index] : nullptr;
}

void TDesign::ClearTabEntries()
{
    if (m_newPageEntry) {
        PagePopup->removeAction(m_newPageEntry);
        delete m_newPageEntry;
        m_newPageEntry = nullptr;
    }
    if (m_movePageMenu) {
        PagePopup->removeAction(m_movePageMenu->menuAction());
        delete m_movePageMenu;
        m_movePageMenu = nullptr;
    }
}

void TDesign::PopupMenuPopup()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    const size_t n = selected.size();
    bool oneClass = true;
    for (const TFP_Element* e : selected)
        if (qstrcmp(e->ClassName(), selected.front()->ClassName()) != 0)
            oneClass = false;
    const bool allDecor =
        n > 0 && std::all_of(selected.begin(), selected.end(), [](const TFP_Element* e) {
            return IsDecorElement(e);
        });
    m_entries[0]->setEnabled(n == 0 || (oneClass && !dynamic_cast<const TDesign*>(selected.front())));
    m_entries[1]->setEnabled(n < 2);
    m_entries[2]->setEnabled(n == 1 && selected.front()->CanPublish());
    m_entries[4]->setEnabled(n > 0);
    m_entries[5]->setEnabled(n > 0);
    m_entries[13]->setEnabled(allDecor);
    m_entries[15]->setEnabled(allDecor);

    ClearTabEntries();
    if (!PageTabs)
        return;
    m_newPageEntry = PagePopup->addAction(NewPageText());
    m_newPageEntry->setObjectName(QStringLiteral("NEUEFP"));
    QObject::connect(m_newPageEntry, &QAction::triggered, this, [this] { AddPageTab(); });
    m_movePageMenu = new QMenu(Lang3Q("Auf andere Frontplatte setzen...", "Move to front panel...",
                                      "Déplacer vers panneau de contrôle..."),
                               PagePopup);
    m_movePageMenu->setObjectName(QStringLiteral("FPLSUB"));
    PagePopup->addMenu(m_movePageMenu);
    m_movePageMenu->menuAction()->setEnabled(n > 0 && CanMoveToOtherPage);
    QAction* toNew = m_movePageMenu->addAction(NewPageText());
    QObject::connect(toNew, &QAction::triggered, this,
                     [this] { MoveSelectionToTab(PageTabs ? PageTabs->count() : 0); });
    m_movePageMenu->addSeparator();
    for (int i = 0; i < PageTabs->count(); ++i) {
        QAction* tab = m_movePageMenu->addAction(PageTabs->tabText(i));
        QObject::connect(tab, &QAction::triggered, this, [this, i] { MoveSelectionToTab(i); });
    }
}

void TDesign::contextMenuEvent(QContextMenuEvent* event)
{
    if (!isEditing || Ctx().RuntimeMode) {
        event->ignore();
        return;
    }
    PopupMenuPopup();
    PagePopup->exec(event->globalPos());
}

// --- Page tabs ----------------------------------------------------------------------------------

namespace {

// Selects tab i without the tab row's own signal and shows its page number.
void ShowTab(TDesign& page, int i)
{
    {
        const QSignalBlocker block(page.PageTabs);
        page.PageTabs->setCurrentIndex(i);
    }
    if (TFrontplatte* window = WindowOf(&page))
        window->TabControl1Change();
    else
        page.SetAktiveFrontplatte(page.PageTabs->currentIndex());
}

} // namespace

void TDesign::AddPageTab()
{
    if (!PageTabs)
        return;
    const QString caption = GetPageCaption();
    {
        const QSignalBlocker block(PageTabs);
        PageTabs->addTab(caption);
    }
    ShowTab(*this, PageTabs->count() - 1);
}

void TDesign::MoveSelectionToTab(int32_t page)
{
    if (!PageTabs)
        return;
    if (page >= PageTabs->count()) {
        const QString caption = GetPageCaption();
        const QSignalBlocker block(PageTabs);
        PageTabs->addTab(caption);
        page = PageTabs->count() - 1;
    }
    MoveSelectionToPage(page);
    ShowTab(*this, page);
}

// --- Commands -----------------------------------------------------------------------------------

void TDesign::AskCopyToSelection(TFP_Element* source)
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    if (selected.size() < 2)
        return;
    const int answer = MessageBoxText(
        Translate(QStringLiteral("Sämtliche Eigenschaften für gewählte Objekte übernehmen?")),
        Translate(QStringLiteral("Eigenschaften")), mbYesNo, mtConfirmation);
    if (answer != mrYes)
        return;
    for (TFP_Element* e : selected) {
        if (e == source)
            continue;
        CopyElementData(*source, *e);
        e->ApplyAspectRatio();
        e->update();
    }
}

void TDesign::EditSelectionProperties()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    if (selected.empty()) {
        if (OnPageProperties)
            OnPageProperties();
        return;
    }
    TFP_Element* p = selected.front();
    p->ApplyAspectRatio();
    p->update();
    if (p->EditProperties() == mrOk)
        AskCopyToSelection(p);
    Deselect(-1);
}

void TDesign::EditSelectionFrame()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    if (selected.empty()) {
        EditFrameAndBackground();
        return;
    }
    if (selected.size() > 1)
        return;
    TFP_Element* e = selected.front();
    e->EditFrameAndBackground();
    e->ApplyAspectRatio();
    if (TSizer* sizer = SizerOf(e))
        sizer->resize(e->width() + 12, e->height() + 12);
    RefreshTransparency(this);
    e->update();
}

void TDesign::WebRenumber(TFP_Element* edited)
{
    for (TFP_Element* e : Elements)
        if (e != edited && e->WebSortOrder >= edited->WebSortOrder)
            ++e->WebSortOrder;
    std::vector<TFP_Element*> sorted = Elements;
    std::stable_sort(sorted.begin(), sorted.end(), [](const TFP_Element* a, const TFP_Element* b) {
        return a->WebSortOrder < b->WebSortOrder;
    });
    int32_t next = 1;
    for (TFP_Element* e : sorted)
        if (e->IsPublished())
            e->WebSortOrder = next++;
}

void TDesign::EditSelectionWeb()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    if (selected.empty())
        return;
    TFP_Element* p = selected.front();
    p->ApplyAspectRatio();
    p->update();
    p->AddWebProperties();
    if (p->ShowPropertyDialog() == mrOk) {
        WebRenumber(p);
        AskCopyToSelection(p);
    }
    Deselect(-1);
}

void TDesign::DuplicateSelection()
{
    if (FPState().OnDeleteSelection)
        FPState().OnDeleteSelection();
    while (!Sizers.empty()) {
        TFP_Element* e = Sizers.front()->Element;
        Deselect(0);
        if (!e)
            continue;
        TFP_Element* copy = AddElement(QString::fromLatin1(e->ClassName()));
        CopyElementData(*e, *copy);
        copy->move(e->x() + 4, e->y() + 4);
        BringSelectionToFront();
    }
    RenumberElements();
}

void TDesign::DeleteSelection()
{
    if (FPState().OnDeleteSelection)
        FPState().OnDeleteSelection();
    while (!Sizers.empty()) {
        TFP_Element* e = Sizers.front()->Element;
        if (e)
            DeleteElement(e);
        else
            Deselect(0);
    }
}
