#pragma once

#include "core/device/KeyboardCommands.h"

namespace trevolin::device {

// The configuration bracket around a group of reads or writes: command 1
// on construction, command 2 on destruction (or at End()). The keyboard
// takes the writes inside whatever the bracket's own commands answer, so
// callers judge a sequence by its writes; the results are kept for those
// that report them.
class ConfigBracket {
public:
    explicit ConfigBracket(KeyboardCommands& commands);
    ~ConfigBracket();
    ConfigBracket(const ConfigBracket&) = delete;
    ConfigBracket& operator=(const ConfigBracket&) = delete;

    int BeginResult() const { return beginResult_; }
    // Sends command 2 now, once; later calls and the destructor send nothing
    // more. Its result.
    [[nodiscard]] int End();

private:
    KeyboardCommands& commands_;
    int beginResult_;
    bool ended_ = false;
    int endResult_ = ResultOk;
};

}  // namespace trevolin::device
