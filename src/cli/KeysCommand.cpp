#include "cli/KeysCommand.h"

#include "cli/KeyTarget.h"
#include "cli/ProfileWorkspace.h"
#include "core/keys/ActionSpec.h"
#include "core/keys/KeyDescription.h"
#include "core/profiles/StoreMacroList.h"
#include "core/profiles/StoreMacroLookups.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace trevolin::cli {

CLI::App* KeysCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("keys", "Every key's assignment in a profile");
    sub->add_option("--profile", profile_, "The profile: 0, 1 or 2 (default: the active one)")->check(CLI::Range(0, 2));
    sub->add_flag("--assigned", assignedOnly_, "Only the keys that do not keep their own function");
    sub->add_flag("--json", json_, "Print JSON");
    return sub;
}

int KeysCommand::Execute(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    auto& store = workspace->Store();
    const auto macroName = profiles::MacroNameLookupOf(store);

    nlohmann::json list = nlohmann::json::array();
    std::lock_guard lock(store.Lock());
    for (const auto& target : AllKeyTargets()) {
        const auto entry = keys::TryReadKeyAction(
            store.Image().Entry(static_cast<size_t>(profile), target.keyNumber));
        if (!entry || (assignedOnly_ && entry->kind == keys::KeyAction::Default))
            continue;
        const std::string name = target.gKey ? fmt::format("{} (bank {})", target.name, target.bank + 1) : target.name;
        const bool macroKey = entry->kind == keys::KeyAction::Macro;
        const std::string macro = macroKey ? profiles::MacroNameOfId(store, static_cast<uint16_t>(entry->value)) : "";
        std::string spec = keys::FormatActionSpec(*entry, macro);
        if (macroKey && macro.empty())
            spec += " (no longer exists)";
        if (spec.empty())
            spec = fmt::format("kind {} value {}", entry->kind, entry->value);
        const auto look = target.gKey ? keys::DescribeGKeyAction(context.texts, target.gIndex, *entry, macroName)
                                      : keys::DescribeKeyAction(context.texts, target.scan, *entry, macroName);
        if (json_) {
            nlohmann::json k{{"key", target.name}, {"keyNumber", target.keyNumber}, {"kind", entry->kind},
                             {"value", entry->value}, {"action", spec}, {"description", look.tooltip}};
            if (target.gKey)
                k["bank"] = target.bank + 1;
            list.push_back(k);
        } else {
            context.out << fmt::format("{:<14} {}\n", name, spec);
        }
    }
    if (json_) {
        nlohmann::json j{{"profile", profile}, {"keys", list}};
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    return ExitOk;
}

}  // namespace trevolin::cli
