#pragma once
// Base of the components that own a front-panel element. The application core creates the
// element when the component is placed or read, names it with the designator, links both
// ways and deletes it with the component; the element's data follow the component's in the
// project. This base prepares a newly linked element for its component class, gives typed
// access to it, and repaints the symbol when the element state it shows has changed.

#include "core/model/GrundBT.h"

#include <typeinfo>

class TFP_Element;

class TBTPanelComponent : public TBTFront {
public:
    TV_CLASS_NAME(TBTPanelComponent)

    // Stores the link; a newly linked element is prepared for this class (PrepareElement)
    // before it reads its own data.
    void SetLink(TFP_Element* element) override;

protected:
    // Class-specific set-up of a new element (a push button's element becomes a push button).
    virtual void PrepareElement(TFP_Element& element);

    // The linked element as its class, nullptr without one. Steps ask for it every time: the
    // cast is worked out once per linked element and class (SetLink forgets it).
    template <class T>
    T* ElementAs() const
    {
        if (Link != m_castFrom || m_castType != &typeid(T)) {
            m_castFrom = Link;
            m_castType = &typeid(T);
            m_castTo = dynamic_cast<T*>(Link);
        }
        return static_cast<T*>(m_castTo);
    }

    // Symbol pen and fill: the outline in `outline`, the body filled with `fill`.
    static void BodyPen(TCanvas& canvas, int32_t outline, int32_t fill, int width = 2);
    // Bold "ARIAL" text of the given height, centred on (cx, cy).
    static void CentredText(TCanvas& canvas, int cx, int cy, int height, int32_t colour, const QString& text);

    // Live symbol: when `shown` differs from the state last drawn, stores it and repaints the
    // whole symbol; then the pins are drawn.
    template <class T>
    void RefreshSymbol(TCanvas& canvas, T& lastDrawn, const T& shown)
    {
        if (shown != lastDrawn) {
            lastDrawn = shown;
            Paint(canvas);
        }
        TBTFront::PaintPinStates(canvas);
    }

private:
    mutable const TFP_Element* m_castFrom = nullptr;
    mutable const std::type_info* m_castType = nullptr;
    mutable void* m_castTo = nullptr;
};
