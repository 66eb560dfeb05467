#pragma once

#include "cli/CliCommand.h"

#include <string>

namespace trevolin::cli {

// `export FILE`: the keyboard's three key tables and its macros, as they are
// on the keyboard, as an exchange file.
class ExportCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    std::string file_;
};

}  // namespace trevolin::cli
