#include "core/app/ProgramVersion.h"

namespace trevolin::app {

std::string_view ProgramVersion()
{
    return TREVOLIN_VERSION;
}

}  // namespace trevolin::app
