// The step of the components that show a value on the front panel only keeps the value: with
// their inputs changing in every step and their page hidden, the steps allocate nothing (the
// sanitizer's allocation hooks count what they ask for).

#include "components/ComponentTestSupport.h"

#include "components/core/RegisterCore.h"
#include "components/display/RegisterDisplay.h"
#include "components/entry/RegisterEntry.h"
#include "components/panel/RegisterPanel.h"
#include "components/text/RegisterText.h"
#include "components/timing/RegisterTiming.h"
#include "frontpanel/ElementRegistry.h"
#include "frontpanel/FP_Element.h"
#include "frontpanel/elements/Watches.h"
#include "platform/Clock.h"

#include <QWidget>

#include <atomic>
#include <memory>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define TAVRINOL_ALLOCATION_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVRINOL_ALLOCATION_HOOKS 1
#endif
#endif

#ifdef TAVRINOL_ALLOCATION_HOOKS
// The address sanitizer's hooks, called for every allocation and free of the process (its
// header does not come with every compiler).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                                         void (*free_hook)(const volatile void*));
#endif

namespace {

void RegisterShowingFamilies(TClassRegistry& registry)
{
    RegisterCoreComponents(registry);
    RegisterDisplayComponents(registry);
    RegisterEntryComponents(registry);
    RegisterPanelComponents(registry);
    RegisterTextComponents(registry);
    RegisterTimingComponents(registry);
}

using DisplayStepTest = TComponentTest<RegisterShowingFamilies, true>;

// Allocations this thread asks for while counting is on.
thread_local bool t_counting = false;
std::atomic<int> g_allocations{0};

#ifdef TAVRINOL_ALLOCATION_HOOKS
void OnAllocation(const volatile void*, size_t)
{
    if (t_counting)
        ++g_allocations;
}
void OnFree(const volatile void*) {}

bool InstallHooks()
{
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnAllocation, &OnFree) != 0;
    return installed;
}
#endif

// The allocations of f.
template <class F>
int AllocationsOf(F&& f)
{
    g_allocations = 0;
    t_counting = true;
    f();
    t_counting = false;
    return g_allocations;
}

// Every input driven by a pin of the test's own: text inputs by a text pin, the others by a
// number; Toggle gives every source its other value.
class TToggledInputs {
public:
    explicit TToggledInputs(TIOBauteil& c)
    {
        for (int i = 0; i < c.InputCount; ++i) {
            auto pin = std::make_unique<TBauteilPin>();
            if (c.Inputs[size_t(i)]->IsStringPin())
                pin->SetName(QStringLiteral("$"));
            c.Inputs[size_t(i)]->SetSource(pin.get());
            m_pins.push_back(std::move(pin));
        }
        Toggle();
    }
    void Toggle()
    {
        m_high = !m_high;
        for (const auto& pin : m_pins) {
            if (pin->IsStringPin())
                pin->SetPinText(m_texts[m_high ? 1 : 0]);
            else
                pin->Value = m_high ? 3.75L : 0.0L;
        }
    }

private:
    std::vector<std::unique_ptr<TBauteilPin>> m_pins;
    bool m_high = true;
    const QString m_texts[2] = {QStringLiteral("Kessel 1: 12,5"), QStringLiteral("Kessel 2: 7,25")};
};

} // namespace

TEST_F(DisplayStepTest, StepsOfShowingComponentsAllocateNothing)
{
#ifndef TAVRINOL_ALLOCATION_HOOKS
    GTEST_SKIP() << "needs the address sanitizer's allocation hooks";
#else
    ASSERT_TRUE(InstallHooks());
    RegisterFrontPanelElements(ElementRegistry());
    QWidget page;  // never shown
    for (const char* cls :
         {"TBTDuoLED", "TBTRGB_LED", "TBTZeiger", "TBTLedBar", "TBTLeuchtbalken", "TBTNumDisplay", "TBTLEDDisplay",
          "TBTCounter", "TBTHexDisplay", "TBTTextDisplay", "TBT7Segment", "TBTStrDisplay", "TBTASCII_Display",
          "TBTLampe", "TBTLed"}) {
        SCOPED_TRACE(cls);
        std::unique_ptr<TIOBauteil> c = Create(cls);
        ASSERT_TRUE(c);
        std::unique_ptr<TFP_Element> element;
        if (!c->ElementClass().isEmpty()) {
            element.reset(ElementRegistry().CreateElement(c->ElementClass(), &page));
            element->ElementName = c->Designator();
            c->SetLink(element.get());
            element->Component = c.get();
        }
        TToggledInputs inputs(*c);
        c->SimReset();
        // The first steps may set up what the later ones reuse.
        for (int k = 0; k < 4; ++k) {
            inputs.Toggle();
            c->Calculate();
        }
        int allocations = 0;
        for (int k = 0; k < 20; ++k) {
            inputs.Toggle();
            allocations += AllocationsOf([&] { c->Calculate(); });
        }
        EXPECT_EQ(allocations, 0);
        c->SetLink(nullptr);
    }
#endif
}

TEST_F(DisplayStepTest, RunningStopwatchMakesItsReadOutOnlyWhenTheTenthsChange)
{
#ifndef TAVRINOL_ALLOCATION_HOOKS
    GTEST_SKIP() << "needs the address sanitizer's allocation hooks";
#else
    ASSERT_TRUE(InstallHooks());
    RegisterFrontPanelElements(ElementRegistry());
    TScopedFakeClock clock;
    QWidget page;  // never shown
    std::unique_ptr<TIOBauteil> c = Create("TBTStopUhr");
    ASSERT_TRUE(c);
    ASSERT_EQ(c->OutputCount, 2);  // "T" and the read-out "$T"
    std::unique_ptr<TFP_Element> element(ElementRegistry().CreateElement(c->ElementClass(), &page));
    c->SetLink(element.get());
    element->Component = c.get();
    auto* watch = dynamic_cast<TStopUhr*>(element.get());
    ASSERT_TRUE(watch);
    c->SimReset();
    watch->Request(1);  // start
    // 1 ms per step: 99 steps of a tenth keep the read-out, the 100th shows the next tenth.
    clock.clock.AdvanceMs(1);
    c->Calculate();
    int allocations = 0;
    for (int k = 0; k < 98; ++k) {
        clock.clock.AdvanceMs(1);
        allocations += AllocationsOf([&] { c->Calculate(); });
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(c->Outputs[1]->GetPinText(), QStringLiteral("00:00:00:000"));
    clock.clock.AdvanceMs(1);
    c->Calculate();
    EXPECT_EQ(c->Outputs[1]->GetPinText(), QStringLiteral("00:00:00:100"));
    EXPECT_EQ(watch->Anzeige, QStringLiteral("00:00:00:100"));
    EXPECT_DOUBLE_EQ(double(c->Outputs[0]->Value), 0.1);
    c->SetLink(nullptr);
#endif
}
