#pragma once

#include "cli/CliCommand.h"

#include <string>

namespace trevolin::cli {

// `restore FILE`: an exchange file checked, then written to the keyboard
// (all three profiles and the macros) and to the profile file.
class RestoreCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    std::string file_;
};

}  // namespace trevolin::cli
