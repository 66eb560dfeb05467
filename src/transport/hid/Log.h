// Diagnostics on stderr. Silent until the program raises the level with
// Debug(), so that a library does not talk on a terminal it does not own.
#pragma once

namespace ql::hid {

class Log {
public:
    static constexpr int kOff = 0;
    static constexpr int kError = 1;
    static constexpr int kInfo = 2;
    static constexpr int kTrace = 3;

    static void setLevel(int level);
    static int level();
    static void write(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
};

}  // namespace ql::hid
