#pragma once
// What the circuit board needs of its neighbours: the front panel (core/model/FrontPanelHooks.h),
// the logic analyser, DDE server components and the hardware framework. Each neighbour's part
// is installed at start-up (see the composition in src/shell). Until then the defaults stand for
// "not present": no class name is a hardware name and the services do nothing.

#include "core/model/FrontPanelHooks.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class TBauteil;
class TIOBauteil;

// Creates the hardware component for a stored class name.
using THardwareFactory = std::function<std::unique_ptr<TBauteil>()>;

// Hooks of the logic analyser, the DDE server components and the hardware framework. Empty
// functions do nothing (and answer "no").
struct TBoardServiceHooks {
    // Sets the analyser window's caption with the component's current number.
    std::function<void(TIOBauteil& analyser)> UpdateAnalyserCaption;
    // Sets a DDE server component's topic and clears its DDE items.
    std::function<void(TIOBauteil& server, const QString& topic)> SetDdeServerTopic;
    // Creates the DDE items of a DDE server component.
    std::function<void(TIOBauteil& server)> CreateDdeServerItems;
    // Factory for one of the older per-device hardware class names (compared without regard
    // to case); an empty function for any other name.
    std::function<THardwareFactory(const QString& name)> HardwareClassByName;
    // True for hardware components, which are stored under the class name "TBTHardware".
    std::function<bool(const TBauteil& item)> IsHardwareComponent;
    // Frees the interface object of a hardware component before it reads copied settings, so
    // that the read creates a new one.
    std::function<void(TIOBauteil& hardware)> ReleaseHardwareInterface;
};

TBoardServiceHooks& BoardServiceHooks();

// Class names by which the board recognises components of other subsystems.
inline constexpr const char* kAnalyserClassName = "TBT_Analyser";
inline constexpr const char* kDdeServerClassName = "TBT_DDE_Server";
inline constexpr const char* kJumpClassName = "TBTJump";
inline constexpr const char* kHardwareClassName = "TBTHardware";

THardwareFactory HardwareClassByName(const QString& name);
bool IsHardwareComponent(const TBauteil& item);

// Back to no front panel, no item dialogs, no board view and empty service hooks (tests).
void ResetBoardHooks();
