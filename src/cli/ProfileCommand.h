#pragma once

#include "cli/CliCommand.h"

namespace trevolin::cli {

// `profile [N]`: show or switch the keyboard's active profile.
class ProfileCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    int profile_ = -1;
    bool json_ = false;
};

}  // namespace trevolin::cli
