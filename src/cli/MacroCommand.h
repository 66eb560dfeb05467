#pragma once

#include "cli/CliCommand.h"

#include <string>
#include <vector>

namespace trevolin::cli {

// `macro list|show|add|rename|delete|set|export|import`: the keyboard's
// macros, shared by all profiles. Changes are written to the keyboard at
// once, with the keys of every profile that played a deleted macro put back
// to their defaults. Export and import use the text file of MacroFile.
class MacroCommand final : public CliCommand {
public:
    CLI::App* Register(CLI::App& parent) override;
    int Execute(CliContext& context) override;

private:
    CLI::App* list_ = nullptr;
    CLI::App* show_ = nullptr;
    CLI::App* add_ = nullptr;
    CLI::App* rename_ = nullptr;
    CLI::App* delete_ = nullptr;
    CLI::App* set_ = nullptr;
    CLI::App* export_ = nullptr;
    CLI::App* import_ = nullptr;
    std::string file_;
    std::string macro_;
    std::string name_;
    std::vector<std::string> events_;
    int repeat_ = 1;
    bool json_ = false;
};

}  // namespace trevolin::cli
