#pragma once

#include "cli/CliCommand.h"

namespace trevolin::cli {

// `keys`: every key's assignment in a profile.
class KeysCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    int profile_ = -1;
    bool json_ = false;
    bool assignedOnly_ = false;
};

}  // namespace trevolin::cli
