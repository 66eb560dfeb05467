#include "core/platform/RuntimeFolder.h"

#include <unistd.h>

namespace trevolin::platform {

std::string RuntimeFolder::PathFor(const std::optional<std::string>& xdgRuntimeDir)
{
    if (xdgRuntimeDir && !xdgRuntimeDir->empty() && xdgRuntimeDir->front() == '/')
        return *xdgRuntimeDir + "/trevolin";
    return "/tmp/trevolin-" + std::to_string(::getuid());
}

}  // namespace trevolin::platform
