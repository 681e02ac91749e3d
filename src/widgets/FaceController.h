#pragma once
// The face controller: named appearance objects (font, 3-D and effect captions, bevel, bitmap
// effects, fill, colour, control settings) and a list of states, each naming the objects that
// apply while a linked control is disabled, in error, focused, read-only, hot, pressed,
// modified or normal. A control asks it for the object of a kind that applies to its current
// state and uses that instead of its own.
//
// A state kind is seven bytes, one per condition (Focused, MouseAbove, Down, Modified,
// ReadOnly, WrongData, Disabled): 0 any, 1 true, 2 false. A control's kind is the first of the
// eight predefined kinds (in the priority order of TWLXFaceKind) that its conditions match.

#include "widgets/WLXObject.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class TWLX3DCaption;
class TWLXBevel;
class TWLXBitmapEffectObject;
class TWLXFillObject;

// What a face controller asks of a control for its own, unfaced state.
class IWLXFaceState {
public:
    virtual ~IWLXFaceState() = default;
    virtual bool StateFocused() const = 0;
    virtual bool StateMouseAbove() const = 0;
    virtual bool StateTransparent() const = 0;
    virtual bool StateCtlXP() const = 0;
    virtual bool StateCtlXP2() const { return StateCtlXP(); }
    virtual bool StateCtl3D() const = 0;
    virtual bool StateEnabled() const = 0;
    virtual int32_t StateColor() const = 0;
};
// Answered by the edits.
class IWLXEditState {
public:
    virtual ~IWLXEditState() = default;
    virtual bool StateModified() const = 0;
    virtual bool StateReadOnly() const = 0;
    virtual bool StateWrongData() const = 0;
};
// Answered by no control of this program: Down is always false.
class IWLXPressedState {
public:
    virtual ~IWLXPressedState() = default;
    virtual bool StateDown() const = 0;
};

using TWLXFaceKind = std::array<uint8_t, 7>;
enum TWLXFaceKindIndex { fkDisabled, fkError, fkFocused, fkReadOnly, fkHot, fkPressed, fkModified, fkNormal };
// The eight predefined kinds in priority order, and their names.
const std::array<TWLXFaceKind, 8>& PredefinedFaceKinds();
QString FaceKindName(int index);
// The kind of seven stored values: one of the eight, else "Normal".
TWLXFaceKind FaceKindFromValues(const std::vector<int>& values);
// The predefined kind a control is in.
int ControlFaceKind(const IWLXFaceState& control);

class TWLXColorObject : public TWLXObject {
public:
    int32_t Color() const { return m_color; }
    void SetColor(int32_t value);
    void Assign(const TWLXColorObject& source) { SetColor(source.m_color); }
    QString DescriptionText() const override;

private:
    int32_t m_color = static_cast<int32_t>(0xFF00000Fu);
};

class TWLXCtlSettings : public TWLXObject {
public:
    // 0 Transparent, 1 CtlXP.
    bool GetBoolProp(int index) const { return index == 0 ? m_transparent : m_ctlXP; }
    void SetBoolProp(int index, bool value);
    bool Transparent() const { return m_transparent; }
    bool CtlXP() const { return m_ctlXP; }
    void Assign(const TWLXCtlSettings& source);
    QString DescriptionText() const override;

private:
    bool m_transparent = false;
    bool m_ctlXP = true;
};

// The font among the appearance objects.
class TWLXFontObject : public TWLXObject {
public:
    QFont Font;
    void Assign(const TWLXFontObject& source) { Font = source.Font; Change(); }
};

// The named appearance objects of a controller; it owns them.
class TWLXCFCSettingObjects {
public:
    int Count() const { return int(m_entries.size()); }
    const QString& Name(int index) const { return m_entries.at(size_t(index)).name; }
    TWLXObject* Object(int index) const { return m_entries.at(size_t(index)).object.get(); }
    int IndexOf(const QString& name) const;
    // -1 without an object; an empty name becomes the class name with the first free number.
    int AddSetting(std::unique_ptr<TWLXObject> object, const QString& name);
    // Frees the object; its former index or -1.
    int RemoveSetting(TWLXObject* object);
    void Clear();
    void Assign(const TWLXCFCSettingObjects& source);
    // "TWLXBevel", "TWLX3DCaption", "TWLXFxCaption", "TWLXFillObject", "TFont",
    // "TWLXBitmapEffectObject", "TWLXColorObject", "TWLXCtlSettings"; empty for others.
    static QString ClassNameOf(const TWLXObject* object);
    // A new object of one of the eight classes (none for others).
    static std::unique_ptr<TWLXObject> Create(const QString& className);

private:
    struct TEntry {
        QString name;
        std::unique_ptr<TWLXObject> object;
    };
    std::vector<TEntry> m_entries;
};

class TWLXCFCStateObject {
public:
    TWLXFaceKind Kind = PredefinedFaceKinds()[fkNormal];
    // Names of the appearance objects of this state, and what they resolved to.
    QStringList Settings;
    std::vector<TWLXObject*> Resolved;
};

class TWLXFaceController : public TWLXCustomComponent {
public:
    TWLXFaceController() = default;
    ~TWLXFaceController() override;

    std::vector<TWLXCFCStateObject> States;
    TWLXCFCSettingObjects& SettingObjects() { return m_settings; }

    // Names of the states resolved against the appearance objects, from the last to the first;
    // names not found are dropped. After loading and assigning.
    void ResolveStates();
    void Assign(const TWLXFaceController& source);

    const TWLXCFCStateObject* GetStateObject(const IWLXFaceState& control) const;
    // The first object of the state that is (or derives from) T; none without.
    template <class T>
    T* GetSetting(const IWLXFaceState& control) const
    {
        const TWLXCFCStateObject* state = GetStateObject(control);
        if (!state)
            return nullptr;
        for (TWLXObject* object : state->Resolved)
            if (auto* found = dynamic_cast<T*>(object))
                return found;
        return nullptr;
    }
    const QFont* GetFont(const IWLXFaceState& control) const;
    TWLX3DCaption* Get3DCaption(const IWLXFaceState& control) const;
    TWLXFillObject* GetFillObject(const IWLXFaceState& control) const;
    TWLXBitmapEffectObject* GetBackFX(const IWLXFaceState& control) const;
    TWLXBevel* GetBevel(const IWLXFaceState& control) const;
    bool GetTransparent(const IWLXFaceState& control) const;
    bool GetCtlXPSetting(const IWLXFaceState& control) const;
    int32_t GetColor(const IWLXFaceState& control) const;

    // The linked controls (registered by their FaceController setters); each is told through
    // `freed` when the controller goes away.
    void AddControl(const IWLXFaceState* control, std::function<void()> freed);
    void RemoveControl(const IWLXFaceState* control);
    int ControlCount() const { return int(m_controls.size()); }

private:
    struct TLinked {
        const IWLXFaceState* control;
        std::function<void()> freed;
    };
    TWLXCFCSettingObjects m_settings;
    std::vector<TLinked> m_controls;
    bool m_destroying = false;
};
