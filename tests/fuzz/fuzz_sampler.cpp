// A sample file (".smp") played back by the sampler: loaded into its working file when "RUN"
// rises with "P/R" low, then one frame per step on its outputs, once through and in a loop.

#include "FuzzSupport.h"

#include "components/file/Sampler.h"
#include "core/model/Iobt.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TScopedMessageResponder& boxes = FuzzSetUp();
    static TScopedFakeClock* clock = new TScopedFakeClock();
    // The channel count comes from the input's length, so that frames of every width are met.
    const int channels = 1 + int(size % TBTSampler::kMaxChannels);
    TBTSampler sampler;
    sampler.SetInputCount(channels + 2);
    sampler.SetOutputCount(channels + 2);
    sampler.PeriodMs = 1;
    sampler.RecordToFile = true;
    sampler.Loop = size % 2 == 0;
    sampler.SampleFile = WriteFuzzInput(data, size, ".smp");
    TBauteilPin run;
    TBauteilPin play;
    run.Value = 5;
    play.Value = 0;
    sampler.Inputs[size_t(TBTSampler::InRun)]->SetSource(&run);
    sampler.Inputs[size_t(TBTSampler::InPlayRecord)]->SetSource(&play);
    sampler.SimReset();
    const size_t steps = std::min<size_t>(size / 4 + 4, 4096);
    for (size_t k = 0; k < steps; ++k) {
        sampler.Calculate();
        clock->clock.AdvanceMs(1);
    }
    sampler.SimEnd();
    boxes.Clear();
    return 0;
}
