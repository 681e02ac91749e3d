// The page's elements: creation by class name, deletion, z-order, page numbers, visibility,
// edit mode, and the operations that a page forwards to its elements.

#include "frontpanel/Design.h"

#include "frontpanel/ElementRegistry.h"
#include "frontpanel/Sizer.h"
#include "platform/Context.h"
#include "platform/IniFile.h"

#include <QFileInfo>
#include <QTabBar>

#include <algorithm>
#include <climits>

bool TDesign::RepaintAfterRunMode = false;

TDesign::TDesign(QWidget* owner)
    : TFP_Element(owner)
{
    setGeometry(0, 0, 60, 90);
    isEditing = true;
    BuildPopupMenu();
    SetisVisible(true);
    CanMoveToOtherPage = false;
    setFocusPolicy(Qt::NoFocus);
    BackgroundFromPanel = true;
    setMouseTracking(true);
}

TDesign::~TDesign()
{
    // Frames first: they may hold elements as their children.
    for (TSizer* sizer : Sizers) {
        if (sizer->Element && sizer->Element->parentWidget() == sizer)
            sizer->Element->setParent(this);
        sizer->Element = nullptr;
        delete sizer;
    }
    Sizers.clear();
    std::vector<TFP_Element*> elements;
    elements.swap(Elements);
    for (TFP_Element* element : elements) {
        QObject::disconnect(element, &QObject::destroyed, this, nullptr);
        delete element;
    }
}

void TDesign::Forget(QObject* object)
{
    Elements.erase(std::remove_if(Elements.begin(), Elements.end(),
                                  [object](TFP_Element* e) { return static_cast<QObject*>(e) == object; }),
                   Elements.end());
    for (TSizer* sizer : Sizers)
        if (static_cast<QObject*>(sizer->Element) == object)
            sizer->Element = nullptr;
}

// --- Elements ---------------------------------------------------------------------------------

TFP_Element* TDesign::AddElement(const QString& className)
{
    TFP_Element* element = ElementRegistry().CreateElement(className, this);
    Elements.push_back(element);
    QObject::connect(element, &QObject::destroyed, this, [this](QObject* o) { Forget(o); });
    element->OwnerDesign = this;
    element->SetElementEnabled(!isEditing);
    element->userEdit = true;
    element->SetFrontplattenNR(AktiveFrontplatte);
    element->ElementIndex = static_cast<int32_t>(Elements.size());
    if (IsDecorElement(element))
        element->ShowHint = false;
    element->show();
    return element;
}

void TDesign::DeleteElement(TFP_Element* element)
{
    const int index = IndexOfElement(element);
    if (index < 0)
        return;
    DeselectElement(element);
    Elements.erase(Elements.begin() + index);
    QObject::disconnect(element, &QObject::destroyed, this, nullptr);
    delete element;
}

int TDesign::IndexOfElement(const TFP_Element* element) const
{
    const auto it = std::find(Elements.begin(), Elements.end(), element);
    return it == Elements.end() ? -1 : static_cast<int>(it - Elements.begin());
}

void TDesign::DeleteDecorElements()
{
    for (int i = static_cast<int>(Elements.size()) - 1; i >= 0; --i)
        if (i < static_cast<int>(Elements.size()) && IsDecorElement(Elements[i]))
            DeleteElement(Elements[i]);
}

bool TDesign::IsDecorElement(const TFP_Element* element)
{
    if (!element)
        return false;
    static const char* const kDecor[] = {"TBeschriftung", "TFlaeche", "TRahmen", "TLogo",
                                         "TSkale"};
    const QLatin1String name(element->ClassName());
    for (const char* decor : kDecor)
        if (name == QLatin1String(decor))
            return true;
    return false;
}

bool TDesign::ContainsOnlyDesigns(const TDesign* page)
{
    if (!page)
        return false;
    for (const TFP_Element* element : page->Elements) {
        const auto* nested = dynamic_cast<const TDesign*>(element);
        if (!nested || !ContainsOnlyDesigns(nested))
            return false;
    }
    return true;
}

// --- Z-order ----------------------------------------------------------------------------------

namespace {

// The widget that stands for the element in the page's stacking: its frame when selected.
QWidget* StackWidget(const TDesign& page, TFP_Element* element)
{
    if (TSizer* sizer = page.SizerOf(element))
        return sizer;
    return element;
}

} // namespace

void TDesign::RestoreZOrder()
{
    const int32_t n = static_cast<int32_t>(Elements.size());
    std::vector<TFP_Element*> ordered;
    ordered.reserve(Elements.size());
    for (TFP_Element* e : Elements)
        if (e->ElementIndex < 1 || e->ElementIndex > n)
            ordered.push_back(e);
    for (int32_t i = 1; i <= n; ++i)
        for (TFP_Element* e : Elements)
            if (e->ElementIndex == i) {
                ordered.push_back(e);
                StackWidget(*this, e)->raise();
            }
    Elements.swap(ordered);
}

void TDesign::RenumberElements()
{
    for (size_t i = 0; i < Elements.size(); ++i)
        Elements[i]->ElementIndex = static_cast<int32_t>(i + 1);
}

void TDesign::BringSelectionToFront()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    std::vector<TFP_Element*> rest;
    for (TFP_Element* e : Elements)
        if (std::find(selected.begin(), selected.end(), e) == selected.end())
            rest.push_back(e);
    // The selected ones keep their list order among themselves.
    for (TFP_Element* e : Elements)
        if (std::find(selected.begin(), selected.end(), e) != selected.end()) {
            rest.push_back(e);
            StackWidget(*this, e)->raise();
        }
    Elements.swap(rest);
    RenumberElements();
}

void TDesign::SendSelectionToBack()
{
    const std::vector<TFP_Element*> selected = SelectedElements();
    std::vector<TFP_Element*> front;
    std::vector<TFP_Element*> rest;
    for (TFP_Element* e : Elements) {
        if (std::find(selected.begin(), selected.end(), e) != selected.end())
            front.push_back(e);
        else
            rest.push_back(e);
    }
    for (auto it = front.rbegin(); it != front.rend(); ++it)
        StackWidget(*this, *it)->lower();
    front.insert(front.end(), rest.begin(), rest.end());
    Elements.swap(front);
    RenumberElements();
}

// --- Pages --------------------------------------------------------------------------------------

QWidget* TDesign::ParkingPanel()
{
    if (QWidget* hidden = FPState().HiddenPanel)
        return hidden;
    if (!m_parking) {
        m_parking = new QWidget(this);
        m_parking->setGeometry(-100, -100, 1, 1);
        m_parking->hide();
    }
    return m_parking;
}

void TDesign::ShowPage(int32_t page)
{
    QWidget* parking = ParkingPanel();
    for (int i = static_cast<int>(Elements.size()) - 1; i >= 0; --i) {
        TFP_Element* e = Elements[i];
        if (e->FrontplattenNR != page && e->parentWidget() != parking) {
            DeselectElement(e);
            e->setParent(parking);
        }
    }
    for (TFP_Element* e : Elements) {
        if (e->FrontplattenNR == page && e->parentWidget() != this && !SizerOf(e)) {
            e->setParent(this);
            const auto* nested = dynamic_cast<const TDesign*>(e);
            e->setVisible(!nested || nested->GetisVisible());
        }
    }
    RestoreZOrder();
}

void TDesign::SetAktiveFrontplatte(int32_t page)
{
    AktiveFrontplatte = page;
    for (TFP_Element* e : Elements)
        if (auto* nested = dynamic_cast<TDesign*>(e))
            nested->SetAktiveFrontplatte(page);
    if (!dynamic_cast<TDesign*>(parentWidget()))
        ShowPage(page);
}

void TDesign::SetFrontplattenNR(int32_t page)
{
    TFP_Element::SetFrontplattenNR(page);
    for (TFP_Element* e : Elements)
        e->SetFrontplattenNR(page);
}

QString TDesign::GetPageCaption() const
{
    const int tabs = PageTabs ? PageTabs->count() : 0;
    return Lang3Q("Frontplatte ", "Front panel ", "Panneau de contrôle ") + QString::number(tabs + 1);
}

void TDesign::MoveSelectionToPage(int32_t page)
{
    for (TFP_Element* e : SelectedElements())
        e->SetFrontplattenNR(page);
    Deselect(-1);
}

void TDesign::SetisVisible(bool visible)
{
    m_isVisible = visible;
    setVisible(visible);
    for (TFP_Element* e : Elements)
        if (auto* nested = dynamic_cast<TDesign*>(e))
            nested->SetisVisible(visible && !ContainsOnlyDesigns(nested));
}

void TDesign::SetisEditing(bool editing)
{
    isEditing = editing;
    if (!editing)
        Deselect(-1);
    for (TFP_Element* e : Elements) {
        e->SetElementEnabled(!editing);
        e->userEdit = editing;
    }
}

TRect TDesign::GetElementsBounds()
{
    Deselect(-1);
    if (Elements.empty())
        return TRect{};
    TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const TFP_Element* e : Elements) {
        r.Left = std::min(r.Left, e->x());
        r.Top = std::min(r.Top, e->y());
        r.Right = std::max(r.Right, e->x() + e->width());
        r.Bottom = std::max(r.Bottom, e->y() + e->height());
    }
    return r;
}

QRect TDesign::ElementRect(const TFP_Element* element) const
{
    if (TSizer* sizer = SizerOf(element))
        return QRect(sizer->x() + 6, sizer->y() + 6, element->width(), element->height());
    return element->geometry();
}

void TDesign::RefreshTransparency(QObject*)
{
    TransparencyPending = false;
    ShowHoverHint(QPoint(-1, -1));
    // Transparent elements leave their background unpainted, so the page beneath them shows
    // through at every repaint; they only need to be repainted.
    for (TFP_Element* e : Elements) {
        if (e->GetBisteTransparent())
            e->GrabBackground();
        if (auto* nested = dynamic_cast<TDesign*>(e))
            nested->RefreshTransparency(this);
    }
    update();
}

// --- Forwarding to the elements -----------------------------------------------------------------

void TDesign::ApplyStartValue()
{
    const std::vector<TFP_Element*> elements = Elements;
    for (TFP_Element* e : elements)
        e->ApplyStartValue();
}

void TDesign::SimStopped()
{
    const std::vector<TFP_Element*> elements = Elements;
    for (TFP_Element* e : elements)
        e->SimStopped();
}

void TDesign::HotkeyDown(uint16_t key, uint8_t shift)
{
    const std::vector<TFP_Element*> elements = Elements;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it)
        (*it)->HotkeyDown(key, shift);
}

void TDesign::HotkeyUp(uint16_t key, uint8_t shift)
{
    const std::vector<TFP_Element*> elements = Elements;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it)
        (*it)->HotkeyUp(key, shift);
}

QString TDesign::SettingsPath(const QString& path) const
{
    return ElementName.isEmpty() ? path : path + u'.' + ElementName;
}

void TDesign::SaveSettings(TIniFile& ini, const QString& path)
{
    const QString own = SettingsPath(path);
    for (auto it = Elements.rbegin(); it != Elements.rend(); ++it)
        (*it)->SaveSettings(ini, own);
}

bool TDesign::LoadSettings(TIniFile& ini, const QString& path, bool checkOnly)
{
    const QString own = SettingsPath(path);
    bool all = true;
    for (auto it = Elements.rbegin(); it != Elements.rend(); ++it)
        if (!(*it)->LoadSettings(ini, own, checkOnly))
            all = false;
    return all;
}

bool TDesign::MatchQualifiedName(const QString& path, const QString& name)
{
    QualifiedName = SettingsPath(path);
    bool any = false;
    for (auto it = Elements.rbegin(); it != Elements.rend(); ++it)
        if ((*it)->MatchQualifiedName(QualifiedName, name))
            any = true;
    return any;
}

bool TDesign::IsPublished() const
{
    if (OnPageProperties)
        return true;
    return std::any_of(Elements.begin(), Elements.end(),
                       [](const TFP_Element* e) { return e->IsPublished(); });
}

QString UpperFileTitle(const QString& fileName)
{
    QString name = fileName;
    name.replace(u'\\', u'/');
    return QFileInfo(name).completeBaseName().toUpper();
}
