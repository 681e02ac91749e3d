#include "frontpanel/ElementRegistry.h"

#include "core/model/ClassRegistry.h"
#include "frontpanel/Design.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/Led.h"
#include "frontpanel/analyser/AnalyserElement.h"
#include "frontpanel/elements/DisplayElements.h"
#include "frontpanel/elements/EntryElements.h"
#include "frontpanel/elements/Lampe.h"
#include "frontpanel/elements/OperatorTools.h"
#include "frontpanel/elements/PenPlotter.h"
#include "frontpanel/elements/Schalter.h"
#include "frontpanel/elements/Tabelle.h"
#include "frontpanel/elements/XyRecorder.h"
#include "frontpanel/elements/YtRecorder.h"
#include "frontpanel/elements/TimeSwitch.h"
#include "frontpanel/elements/Watches.h"
#include "frontpanel/scope/ScopeElement.h"

void TElementRegistry::Register(const QString& name, Factory factory)
{
    m_entries.insert(name.toUpper(), Entry{name, std::move(factory)});
}

bool TElementRegistry::IsRegistered(const QString& name) const
{
    return m_entries.contains(name.toUpper());
}

int TElementRegistry::Count() const
{
    return static_cast<int>(m_entries.size());
}

QStringList TElementRegistry::Names() const
{
    QStringList names;
    for (const Entry& entry : m_entries)
        names << entry.name;
    names.sort();
    return names;
}

QString TElementRegistry::RegisteredName(const QString& name) const
{
    const auto it = m_entries.constFind(name.toUpper());
    return it == m_entries.constEnd() ? QString() : it->name;
}

TFP_Element* TElementRegistry::CreateElement(const QString& name, QWidget* owner) const
{
    const auto it = m_entries.constFind(name.toUpper());
    if (it == m_entries.constEnd() || !it->factory)
        throw EClassNotFound(name);
    return it->factory(owner);
}

TElementRegistry& ElementRegistry()
{
    static TElementRegistry registry;
    return registry;
}

void RegisterFrontPanelElements(TElementRegistry& registry)
{
    registry.RegisterElement<TPLED>();
    registry.RegisterElement<TDuoLED>();
    registry.RegisterElement<TRGBLED>();
    registry.RegisterElement<TPLampe>();
    registry.RegisterElement<TSchalter>();
    registry.RegisterElement<TFPGraf>();
    registry.RegisterElement<TFPXY>();
    registry.RegisterElement<TTabelle>();
    registry.RegisterElement<TFP_Analyser>();
    registry.RegisterElement<TStiftplotter>();
    registry.RegisterElement<TStopUhr>();
    registry.RegisterElement<TSchaltUhr>();
    registry.RegisterElement<TWochenSchaltuhr>();
    registry.RegisterElement<TTagesSchaltuhr>();
    registry.RegisterElement<TFP_Scope>();
    registry.RegisterElement<TDesign>();
    RegisterDisplayElements(registry);
    RegisterEntryElements(registry);
    RegisterOperatorElements(registry);
}
