#pragma once

#include <string_view>

namespace trevolin::base {

// The program's version ("0.1.0"), the project version the build was made
// from; every program prints this one.
std::string_view ProgramVersion();

}  // namespace trevolin::base
