#include "widgets/FaceController.h"

#include "widgets/Bevel.h"
#include "widgets/BitmapEffect.h"
#include "widgets/Caption3D.h"
#include "widgets/FillObject.h"

#include <algorithm>

namespace {

const char* const kKindNames[] = {"Disabled", "Error", "Focused", "ReadOnly", "Hot", "Pressed",
                                  "Modified", "Normal"};

// Copies source into target when both are of class T.
template <class T>
bool AssignAs(TWLXObject& target, const TWLXObject& source)
{
    auto* t = dynamic_cast<T*>(&target);
    auto* s = dynamic_cast<const T*>(&source);
    if (!t || !s)
        return false;
    t->Assign(*s);
    return true;
}

} // namespace

const std::array<TWLXFaceKind, 8>& PredefinedFaceKinds()
{
    static const std::array<TWLXFaceKind, 8> kinds = {{
        {0, 0, 0, 0, 0, 0, 1},
        {0, 0, 0, 0, 0, 1, 2},
        {1, 0, 0, 0, 0, 2, 2},
        {2, 0, 0, 0, 1, 2, 2},
        {2, 1, 0, 0, 2, 2, 2},
        {2, 2, 1, 0, 2, 2, 2},
        {2, 2, 2, 1, 2, 2, 2},
        {2, 2, 2, 2, 2, 2, 2},
    }};
    return kinds;
}

QString FaceKindName(int index)
{
    return index >= 0 && index < 8 ? QString::fromLatin1(kKindNames[index]) : QString();
}

TWLXFaceKind FaceKindFromValues(const std::vector<int>& values)
{
    if (values.size() == 7) {
        TWLXFaceKind kind;
        for (size_t i = 0; i < 7; ++i)
            kind[i] = uint8_t(values[i]);
        for (const TWLXFaceKind& known : PredefinedFaceKinds())
            if (known == kind && std::all_of(values.begin(), values.end(),
                                             [](int v) { return v >= 0 && v <= 2; }))
                return kind;
    }
    return PredefinedFaceKinds()[fkNormal];
}

int ControlFaceKind(const IWLXFaceState& control)
{
    const auto* edit = dynamic_cast<const IWLXEditState*>(&control);
    const auto* pressed = dynamic_cast<const IWLXPressedState*>(&control);
    const bool conditions[7] = {
        control.StateFocused(),
        control.StateMouseAbove(),
        pressed && pressed->StateDown(),
        edit && edit->StateModified(),
        edit && edit->StateReadOnly(),
        edit && edit->StateWrongData(),
        !control.StateEnabled(),
    };
    const auto& kinds = PredefinedFaceKinds();
    for (int k = 0; k < 8; ++k) {
        bool match = true;
        for (int i = 0; i < 7 && match; ++i)
            match = kinds[size_t(k)][size_t(i)] == 0 ||
                    kinds[size_t(k)][size_t(i)] == (conditions[i] ? 1 : 2);
        if (match)
            return k;
    }
    return fkNormal;
}

// ---- appearance objects ---------------------------------------------------------------------

void TWLXColorObject::SetColor(int32_t value)
{
    if (value == m_color)
        return;
    m_color = value;
    Change();
}

QString TWLXColorObject::DescriptionText() const
{
    return QStringLiteral("$%1").arg(uint32_t(m_color), 8, 16, QLatin1Char('0')).toUpper();
}

void TWLXCtlSettings::SetBoolProp(int index, bool value)
{
    bool& field = index == 0 ? m_transparent : m_ctlXP;
    if (value == field)
        return;
    field = value;
    Change();
}

void TWLXCtlSettings::Assign(const TWLXCtlSettings& source)
{
    m_transparent = source.m_transparent;
    m_ctlXP = source.m_ctlXP;
    Change();
}

QString TWLXCtlSettings::DescriptionText() const
{
    auto text = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
    return QStringLiteral("Transp.: ") + text(m_transparent) + QStringLiteral(", CtlXP: ") + text(m_ctlXP);
}

// ---- setting list ---------------------------------------------------------------------------

QString TWLXCFCSettingObjects::ClassNameOf(const TWLXObject* object)
{
    // Most derived first: an effect caption is also a 3-D caption.
    if (dynamic_cast<const TWLXFxCaption*>(object)) return QStringLiteral("TWLXFxCaption");
    if (dynamic_cast<const TWLX3DCaption*>(object)) return QStringLiteral("TWLX3DCaption");
    if (dynamic_cast<const TWLXBevel*>(object)) return QStringLiteral("TWLXBevel");
    if (dynamic_cast<const TWLXFillObject*>(object)) return QStringLiteral("TWLXFillObject");
    if (dynamic_cast<const TWLXFontObject*>(object)) return QStringLiteral("TFont");
    if (dynamic_cast<const TWLXBitmapEffectObject*>(object)) return QStringLiteral("TWLXBitmapEffectObject");
    if (dynamic_cast<const TWLXColorObject*>(object)) return QStringLiteral("TWLXColorObject");
    if (dynamic_cast<const TWLXCtlSettings*>(object)) return QStringLiteral("TWLXCtlSettings");
    return QString();
}

std::unique_ptr<TWLXObject> TWLXCFCSettingObjects::Create(const QString& className)
{
    if (className == QLatin1String("TWLXFxCaption")) return std::make_unique<TWLXFxCaption>();
    if (className == QLatin1String("TWLX3DCaption")) return std::make_unique<TWLX3DCaption>();
    if (className == QLatin1String("TWLXBevel")) return std::make_unique<TWLXBevel>();
    if (className == QLatin1String("TWLXFillObject")) return std::make_unique<TWLXFillObject>();
    if (className == QLatin1String("TFont")) return std::make_unique<TWLXFontObject>();
    if (className == QLatin1String("TWLXBitmapEffectObject")) return std::make_unique<TWLXBitmapEffectObject>();
    if (className == QLatin1String("TWLXColorObject")) return std::make_unique<TWLXColorObject>();
    if (className == QLatin1String("TWLXCtlSettings")) return std::make_unique<TWLXCtlSettings>();
    return nullptr;
}

int TWLXCFCSettingObjects::IndexOf(const QString& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (m_entries[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TWLXCFCSettingObjects::AddSetting(std::unique_ptr<TWLXObject> object, const QString& name)
{
    if (!object)
        return -1;
    QString unique = name;
    if (unique.isEmpty()) {
        const QString base = ClassNameOf(object.get());
        for (int n = 0; IndexOf(unique = base + QString::number(n)) >= 0; ++n) {
        }
    }
    m_entries.push_back({unique, std::move(object)});
    return Count() - 1;
}

int TWLXCFCSettingObjects::RemoveSetting(TWLXObject* object)
{
    for (int i = 0; i < Count(); ++i)
        if (m_entries[size_t(i)].object.get() == object) {
            m_entries.erase(m_entries.begin() + i);
            return i;
        }
    return -1;
}

void TWLXCFCSettingObjects::Clear()
{
    while (!m_entries.empty())
        m_entries.pop_back();
}

void TWLXCFCSettingObjects::Assign(const TWLXCFCSettingObjects& source)
{
    if (&source == this)
        return;
    Clear();
    for (const TEntry& entry : source.m_entries) {
        if (!entry.object)
            continue;
        std::unique_ptr<TWLXObject> copy = Create(ClassNameOf(entry.object.get()));
        if (!copy)
            continue;
        AssignAs<TWLXFxCaption>(*copy, *entry.object) || AssignAs<TWLX3DCaption>(*copy, *entry.object) ||
            AssignAs<TWLXBevel>(*copy, *entry.object) || AssignAs<TWLXFillObject>(*copy, *entry.object) ||
            AssignAs<TWLXFontObject>(*copy, *entry.object) ||
            AssignAs<TWLXBitmapEffectObject>(*copy, *entry.object) ||
            AssignAs<TWLXColorObject>(*copy, *entry.object) || AssignAs<TWLXCtlSettings>(*copy, *entry.object);
        m_entries.push_back({entry.name, std::move(copy)});
    }
}

// ---- controller -----------------------------------------------------------------------------

TWLXFaceController::~TWLXFaceController()
{
    m_destroying = true;
    const std::vector<TLinked> controls = std::move(m_controls);
    for (const TLinked& linked : controls)
        if (linked.freed)
            linked.freed();
}

void TWLXFaceController::ResolveStates()
{
    for (TWLXCFCStateObject& state : States) {
        std::vector<TWLXObject*> resolved(size_t(state.Settings.size()), nullptr);
        for (qsizetype i = state.Settings.size() - 1; i >= 0; --i) {
            const int index = m_settings.IndexOf(state.Settings[i]);
            if (index < 0) {
                state.Settings.removeAt(i);
                resolved.erase(resolved.begin() + i);
            } else {
                resolved[size_t(i)] = m_settings.Object(index);
            }
        }
        state.Resolved = std::move(resolved);
    }
}

void TWLXFaceController::Assign(const TWLXFaceController& source)
{
    if (&source == this)
        return;
    m_settings.Assign(source.m_settings);
    States = source.States;
    ResolveStates();
}

const TWLXCFCStateObject* TWLXFaceController::GetStateObject(const IWLXFaceState& control) const
{
    const TWLXFaceKind& kind = PredefinedFaceKinds()[size_t(ControlFaceKind(control))];
    for (const TWLXCFCStateObject& state : States)
        if (state.Kind == kind)
            return &state;
    return nullptr;
}

const QFont* TWLXFaceController::GetFont(const IWLXFaceState& control) const
{
    const TWLXFontObject* font = GetSetting<TWLXFontObject>(control);
    return font ? &font->Font : nullptr;
}

TWLX3DCaption* TWLXFaceController::Get3DCaption(const IWLXFaceState& control) const
{
    return GetSetting<TWLX3DCaption>(control);
}

TWLXFillObject* TWLXFaceController::GetFillObject(const IWLXFaceState& control) const
{
    return GetSetting<TWLXFillObject>(control);
}

TWLXBitmapEffectObject* TWLXFaceController::GetBackFX(const IWLXFaceState& control) const
{
    return GetSetting<TWLXBitmapEffectObject>(control);
}

TWLXBevel* TWLXFaceController::GetBevel(const IWLXFaceState& control) const
{
    return GetSetting<TWLXBevel>(control);
}

bool TWLXFaceController::GetTransparent(const IWLXFaceState& control) const
{
    const TWLXCtlSettings* settings = GetSetting<TWLXCtlSettings>(control);
    return settings ? settings->Transparent() : control.StateTransparent();
}

bool TWLXFaceController::GetCtlXPSetting(const IWLXFaceState& control) const
{
    const TWLXCtlSettings* settings = GetSetting<TWLXCtlSettings>(control);
    return settings ? settings->CtlXP() : control.StateCtlXP2();
}

int32_t TWLXFaceController::GetColor(const IWLXFaceState& control) const
{
    const TWLXColorObject* color = GetSetting<TWLXColorObject>(control);
    return color ? color->Color() : control.StateColor();
}

void TWLXFaceController::AddControl(const IWLXFaceState* control, std::function<void()> freed)
{
    if (!control)
        return;
    RemoveControl(control);
    m_controls.push_back({control, std::move(freed)});
}

void TWLXFaceController::RemoveControl(const IWLXFaceState* control)
{
    if (m_destroying)
        return;
    m_controls.erase(std::remove_if(m_controls.begin(), m_controls.end(),
                                    [control](const TLinked& l) { return l.control == control; }),
                     m_controls.end());
}
