// Feeds arbitrary bytes, as a process of the user may send them to the
// single-instance socket, to the decoder of its requests. Only a message's
// own code names it, and every message's code names it.
#include "core/platform/SingleInstance.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using trevolin::platform::SingleInstance;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view request(reinterpret_cast<const char*>(data), size);
    const auto message = SingleInstance::DecodeMessage(request);
    if (message && (request.size() != SingleInstance::CodeSize || SingleInstance::CodeOf(*message) != request))
        __builtin_trap();
    // The first instance reads at most CodeSize bytes before it decodes.
    const auto first = SingleInstance::DecodeMessage(request.substr(0, SingleInstance::CodeSize));
    if (first && SingleInstance::DecodeMessage(SingleInstance::CodeOf(*first)) != first)
        __builtin_trap();
    return 0;
}
