#pragma once

#include "cli/CliCommand.h"

#include <string>

namespace trevolin::cli {

// `backup FILE`: every profile as the program holds it, as an exchange file:
// read from the keyboard when it is attached, else the profile file as last read.
class BackupCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    std::string file_;
};

}  // namespace trevolin::cli
