#pragma once

#include <string>
#include <string_view>

namespace trevolin::profiles {

inline constexpr std::string_view ExchangeFileExtension = ".tvl";

// The name a backup is written to: the name given, with ".tvl" added when
// its file name has no extension at all, as the save dialog does. A name
// with another extension is the user's choice and stays as it is.
std::string WithExchangeFileExtension(std::string_view path);

}  // namespace trevolin::profiles
