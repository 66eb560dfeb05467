#include "Log.h"

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace ql::hid {

namespace {
std::atomic<int> g_level{Log::kOff};
}

void Log::setLevel(int level)
{
    g_level.store(std::clamp(level, kOff, kTrace), std::memory_order_relaxed);
}

int Log::level()
{
    return g_level.load(std::memory_order_relaxed);
}

void Log::write(int level, const char* format, ...)
{
    if (level > Log::level())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    // One call per line, so that lines from our threads do not interleave.
    std::fprintf(stderr, "quellink: %s\n", line);
}

}  // namespace ql::hid
