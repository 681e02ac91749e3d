#include "hardware/cards/StepDeadline.h"

#include "platform/Clock.h"

#include <cmath>

void TStepDeadline::Start(double ms)
{
    IClock& clock = Clock();
    m_due = clock.PerformanceCounter()
            + std::llround(ms * double(clock.PerformanceFrequency()) / 1000.0);
}

bool TStepDeadline::Due() const
{
    return Clock().PerformanceCounter() >= m_due;
}
