#pragma once
// Root classes of everything that can be stored by class name, and of every item on a circuit
// board (components, wire segments, text labels).

#include "core/model/Geometry.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

class TCanvas;
class TIniFile;
class TPlatine;
class TReader;
class TWriter;

// Gives a class its stored class name. Place it in the public section of the class body.
#define TV_CLASS_NAME(Class)                                                                   \
    static constexpr const char* StaticClassName() { return #Class; }                          \
    const char* ClassName() const override { return #Class; }

// Base of every class that is written to a stream under its class name and created back from
// that name through the class registry.
class TPersistentObject {
public:
    TPersistentObject() = default;
    virtual ~TPersistentObject() = default;
    TPersistentObject(const TPersistentObject&) = delete;
    TPersistentObject& operator=(const TPersistentObject&) = delete;

    static constexpr const char* StaticClassName() { return "TPersistentObject"; }
    virtual const char* ClassName() const { return "TPersistentObject"; }

    // Runs once after the whole constructor chain, when virtual calls reach the final class
    // (the label of a new component is its type name). Every creation by name calls it; code
    // that constructs an object directly uses NewObject<T>().
    virtual void AfterConstruction() {}
};

// Constructs an object and completes it with AfterConstruction.
template <class T, class... Args>
std::unique_ptr<T> NewObject(Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    object->AfterConstruction();
    return object;
}

// An item on a circuit board.
class TBauteil : public TPersistentObject {
public:
    TV_CLASS_NAME(TBauteil)

    TBauteil() = default;
    ~TBauteil() override = default;

    int32_t X = 0;              // board units; a component's body left edge
    int32_t Y = 0;              // board units; y grows downwards
    TPlatine* Board = nullptr;  // owning board, not owned
    bool Selected = false;
    int32_t DataVersion = 0;    // format version of the item's own stream data
    int32_t PinPitch = 20;      // layout unit of pin offsets
    bool Clocked = false;       // receives ClockTick every 50 ms during a run
    bool Editable = false;      // has a settings dialog
    bool ShowLineStates = false;
    bool ShowStates = false;
    bool PinsChanged = false;
    bool StateChanged = false;
    bool MonochromePrint = false;
    int32_t HelpContext = 0;
    void* TreeNode = nullptr;   // node of the configuration tree showing the item

    virtual void Paint(TCanvas& canvas);
    virtual void SetSelected(bool selected);
    virtual bool GetSelected() const;
    // True when the device point lies on the item.
    virtual bool HitTest(QPoint devicePoint, TCanvas& canvas);
    // The item's end point under the board point, for dragging it; nullptr when none.
    virtual QPoint* HitEndPoint(QPoint point);
    // Non-null when a wire may attach to the item at the board point.
    virtual const void* HitAttachPoint(QPoint point) const;
    virtual void MoveBy(int32_t dx, int32_t dy);
    // Area covered by the item, in board units.
    virtual TRect GetBounds() const;
    // Record of the item: this part is DataVersion; descendants append after it.
    virtual void WriteData(TWriter& writer);
    // version is the file format version of the stream (44 for current files).
    virtual void ReadData(TReader& reader, uint8_t version);
    virtual void ClockTick();
    // Shows the settings dialog; returns its modal result (0 when there is none).
    virtual int EditProperties();
    // Tool tip; lines separated by a carriage return.
    virtual QString GetHint() const;
    virtual void SaveSettings(TIniFile& ini, const QString& section);
    virtual bool LoadSettings(TIniFile& ini, const QString& section, bool checkOnly);
};
