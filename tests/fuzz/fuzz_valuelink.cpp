// What a peer sends over the value link: a stream of 16-byte frames, each decoded and, when it
// carries a value, stored in its channel.

#include "comm/tcp/ValueLink.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static valuelink::TSlots* channels = new valuelink::TSlots();
    for (size_t at = 0; at + valuelink::kFrameSize <= size; at += valuelink::kFrameSize) {
        const std::optional<valuelink::TFrame> frame = valuelink::Decode(data + at);
        if (!frame)
            continue;
        if (!std::isfinite(frame->Value))
            std::abort(); // a decoded value is always a number
        if (frame->Kind == valuelink::kValue)
            channels->Set(frame->Channel, frame->Value);
        (void)channels->Get(frame->Channel);
        // What is decoded encodes to a frame that decodes to the same.
        const auto again = valuelink::Decode(valuelink::Encode(*frame).data());
        if (!again || again->Channel != frame->Channel || again->Value != frame->Value)
            std::abort();
    }
    return 0;
}
