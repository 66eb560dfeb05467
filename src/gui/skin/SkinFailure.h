#pragma once

#include <QString>

#include <functional>

namespace trevolin::gui {

// A skin picture that is missing or cannot be decoded ends the program:
// a window without its pictures cannot be used. The program's own handler
// runs its exit path; without one, one line on stderr names the file and
// the process ends with exit code 0. Tests install a handler that records.
class SkinFailure {
public:
    using Handler = std::function<void(const QString& file, const QString& reason)>;

    // Hands the failure to the handler. When a handler returns, the caller
    // goes on with an empty picture.
    static void Report(const QString& file, const QString& reason);

    // Returns the handler it replaces; an empty one restores the default.
    static Handler SetHandler(Handler handler);

    // The default: the line on stderr, then exit code 0.
    [[noreturn]] static void EndProgram(const QString& file, const QString& reason);
};

}  // namespace trevolin::gui
