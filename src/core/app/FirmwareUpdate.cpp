#include "core/app/FirmwareUpdate.h"

#include <sys/stat.h>
#include <unistd.h>

namespace trevolin::app {

UpdaterCheck CheckUpdater(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        return UpdaterCheck::Missing;
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), X_OK) != 0)
        return UpdaterCheck::NotAProgram;
    return UpdaterCheck::Ready;
}

}  // namespace trevolin::app
