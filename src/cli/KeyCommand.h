#pragma once

#include "cli/CliCommand.h"

#include <string>

namespace trevolin::cli {

class ProfileWorkspace;
struct KeyTarget;

// `key set KEY ACTION` and `key reset`: change a profile's key table and
// write it to the keyboard as Apply does.
class KeyCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    int Set(CliContext& context);
    int Reset(CliContext& context);
    // A KEY that names no key that can be reassigned; lists those that can.
    static int RefuseUnknownKey(CliContext& context, const std::string& error);
    // Writes the changed key to the keyboard, then says what it sends now.
    static int Confirmed(CliContext& context, ProfileWorkspace& workspace, int profile, const KeyTarget& target);

    CLI::App* set_ = nullptr;
    CLI::App* reset_ = nullptr;
    CLI::Option* repeatOption_ = nullptr;
    int profile_ = -1;
    std::string key_;
    std::string action_;
    std::string bank_;
    int repeat_ = 1;
};

}  // namespace trevolin::cli
