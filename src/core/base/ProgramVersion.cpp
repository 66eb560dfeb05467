#include "core/base/ProgramVersion.h"

namespace trevolin::base {

std::string_view ProgramVersion()
{
    return TREVOLIN_VERSION;
}

}  // namespace trevolin::base
