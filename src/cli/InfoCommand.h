#pragma once

#include "cli/CliCommand.h"

namespace trevolin::cli {

// `info`: what the keyboard says of itself.
class InfoCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    bool json_ = false;
};

}  // namespace trevolin::cli
