#pragma once
// Processor load from the kernel's counters (/proc/stat): one instance per processor, then
// the total, as the per-processor lines and the summary line give them. Load is the busy
// share of the time between the last two samples; the first sample reads 0.

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <vector>

class TCpuLoadProbe {
public:
    // reader returns the text of /proc/stat (empty when it cannot be read).
    using TReader = std::function<QByteArray()>;
    explicit TCpuLoadProbe(TReader reader = {});

    // Takes a new sample; false when the counters could not be read.
    bool Sample();
    // Instances: processors plus the total; a sample is taken first when none was. 0 when the
    // counters cannot be read.
    int ProcessorCount();
    // Load of instance i (0 .. count-1) as a fraction 0..1; -1 for any other i.
    double ProcessorLoad(int i);

private:
    struct TCounters {
        uint64_t busy = 0;
        uint64_t total = 0;
    };
    TReader m_reader;
    bool m_sampled = false;
    std::vector<TCounters> m_current;
    std::vector<TCounters> m_previous;
};

// The program's probe (reads /proc/stat); tests install their own with SetCpuLoadProbe.
TCpuLoadProbe& CpuLoadProbe();
// Installs a probe (not owned); nullptr restores the program's.
void SetCpuLoadProbe(TCpuLoadProbe* probe);
