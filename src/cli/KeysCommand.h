#pragma once

#include "cli/CliCommand.h"

namespace trevolin::cli {

// `keys`: every key's assignment in a profile; `keys --names`: the names
// the commands take for keys, media and functions.
class KeysCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    int Assignments(CliContext& context);
    int Names(CliContext& context);

    int profile_ = -1;
    bool json_ = false;
    bool assignedOnly_ = false;
    bool names_ = false;
};

}  // namespace trevolin::cli
