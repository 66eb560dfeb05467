#pragma once

#include "cli/CliCommand.h"

#include <string>

namespace trevolin::cli {

// `raw read AREA [N]`: the keyboard's memory as it answers the read
// commands, for bug reports and for checking what a write did.
class RawReadCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    std::string area_;
    int number_ = -1;
    bool json_ = false;
};

}  // namespace trevolin::cli
