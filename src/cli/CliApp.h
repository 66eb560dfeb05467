#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trevolin::cli {

// Parses the command line, runs the chosen verb and returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace trevolin::cli
