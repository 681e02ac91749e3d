#pragma once
// A moment on the program's clock that a card waits for across its steps: a conversion time,
// a latch's settling time, an answer's time-out. The step asks whether it has come and returns
// at once when it has not, so that no step blocks.

#include <cstdint>

class TStepDeadline {
public:
    // Due ms milliseconds from now.
    void Start(double ms);
    // Whether the moment has come (a deadline never started has).
    bool Due() const;

private:
    int64_t m_due = 0;
};
