#include "core/device/ConfigBracket.h"

namespace trevolin::device {

ConfigBracket::ConfigBracket(KeyboardCommands& commands) : commands_(commands), beginResult_(commands.BeginConfig())
{
}

ConfigBracket::~ConfigBracket()
{
    // Not examined: a closing command the keyboard missed changes nothing
    // that was written inside the bracket.
    static_cast<void>(End());
}

int ConfigBracket::End()
{
    if (!ended_) {
        ended_ = true;
        endResult_ = commands_.EndConfig();
    }
    return endResult_;
}

}  // namespace trevolin::device
