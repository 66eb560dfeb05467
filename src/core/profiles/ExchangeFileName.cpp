#include "core/profiles/ExchangeFileName.h"

#include <filesystem>

namespace trevolin::profiles {

std::string WithExchangeFileExtension(std::string_view path)
{
    std::string named(path);
    const std::filesystem::path file(named);
    // A path ending in a separator names no file; writing it fails and says so.
    if (!file.has_filename() || file.has_extension())
        return named;
    return named + std::string(ExchangeFileExtension);
}

}  // namespace trevolin::profiles
