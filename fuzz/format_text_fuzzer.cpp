// Feeds an arbitrary format, as a language file may hold it, to FormatText
// with integer and text arguments. The first byte picks the arguments, the
// next eight give the integer; the rest is the format. A format that does
// not fit its arguments comes back as written; one that fits is filled
// without fmt refusing it, and no conversion grows beyond its field limit.
#include "core/base/FormatText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace trevolin::base;

namespace {

constexpr std::string_view Text = "100% ünicode %s";

template <typename... Args>
void Check(std::string_view format, const Args&... args)
{
    static constexpr std::array<FormatArgKind, sizeof...(Args)> kinds{detail::KindOf<Args>()...};
    const std::string result = FormatText(format, args...);
    if (!FormatFits(format, kinds)) {
        if (result != format)
            __builtin_trap();
        return;
    }
    // FormatText falls back to the format when fmt throws; a format that
    // fits must never get that far.
    try {
        if (fmt::sprintf(format, detail::Pass(args)...) != result)
            __builtin_trap();
    } catch (...) {
        __builtin_trap();
    }
    // Each conversion takes at least two characters of the format and gives
    // at most a field of MaxFieldWidth, a sign and a base prefix, or the text.
    const size_t conversions = format.size() / 2;
    if (result.size() > format.size() + conversions * (MaxFieldWidth + 3 + Text.size()))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    int64_t number = 0;
    std::memcpy(&number, data + 1, sizeof number);
    const std::string_view format(reinterpret_cast<const char*>(data) + 9, size - 9);
    const auto small = static_cast<int>(number);
    const auto unsignedNumber = static_cast<uint64_t>(number);
    const std::string text(Text);
    switch (data[0] % 7) {
    case 0:
        Check(format);
        break;
    case 1:
        Check(format, number);
        break;
    case 2:
        Check(format, text);
        break;
    case 3:
        Check(format, small, Text.data());
        break;
    case 4:
        Check(format, text, unsignedNumber, static_cast<uint8_t>(number));
        break;
    case 5:
        Check(format, static_cast<const char*>(nullptr), static_cast<int16_t>(number), text, small);
        break;
    default:
        Check(format, number, small, unsignedNumber, static_cast<unsigned short>(number), text);
        break;
    }
    return 0;
}
