#include "cli/KeyCommand.h"

#include "cli/KeyTarget.h"
#include "cli/ProfileWorkspace.h"
#include "core/keys/ActionSpec.h"
#include "core/keys/KeyMapBlock.h"
#include "core/macros/MacroList.h"
#include "core/macros/MacroText.h"
#include "core/profiles/KeyAssignment.h"
#include "core/profiles/StoreMacroList.h"

#include <CLI/CLI.hpp>

namespace trevolin::cli {

namespace {

// A change to the active profile is sent as Apply sends it; a change to
// another profile needs that profile's block too.
profiles::WriteScope ScopeFor(int profile, int active)
{
    return profile == active ? profiles::WriteScope::ActiveProfile : profiles::WriteScope::AllProfiles;
}

}  // namespace

CLI::App* KeyCommand::Register(CLI::App& parent)
{
    auto* key = parent.add_subcommand("key", "Assign a key, or reset every key of a profile");
    key->require_subcommand(1);
    set_ = key->add_subcommand("set", "Give KEY a new ACTION and write it to the keyboard");
    set_->add_option("key", key_, "A key's English name (A, F1, Esc, NumEnter, RightShift) or G1..G9")->required();
    set_->add_option("action", action_,
                     "key:NAME | mouse:left|right|middle | wheel:up|down | media:NAME | function:1..11 | "
                     "macro:ID|NAME | stop-macro | disabled | raw:XX-XX-XX | default "
                     "('trevolinctl keys --names' lists the names)")
        ->required();
    set_->add_option("--bank", bank_, "The G keys' bank: a or b (default a)");
    repeatOption_ = set_->add_option("--repeat", repeat_,
                                     "How often the macro plays (1 to 255); it is the macro's "
                                     "own count, for every key that plays it")
                        ->check(CLI::Range(1, 255));
    reset_ = key->add_subcommand(
        "reset", "Every key of the profile, and the G keys of the bank the keyboard shows, back to their own function");
    for (auto* sub : {set_, reset_})
        sub->add_option("--profile", profile_, "The profile: 0, 1 or 2 (default: the active one)")
            ->check(CLI::Range(0, 2));
    return key;
}

int KeyCommand::Execute(CliContext& context)
{
    return set_->parsed() ? Set(context) : Reset(context);
}

int KeyCommand::Set(CliContext& context)
{
    std::string error;
    const auto target = FindKeyTarget(key_, bank_, error);
    const auto parsed = keys::ParseActionSpec(action_);
    if (!target || !parsed.spec) {
        context.err << "trevolinctl: " << (target ? parsed.error : error) << ".\n";
        return ExitUsage;
    }
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    if (!keys::KeyHasPosition(workspace->Session().FactoryKeymap(), target->keyNumber)) {
        context.err << "trevolinctl: " << target->name
                    << " cannot be assigned: the keyboard's key map has no position for it, so the keyboard has "
                       "nowhere to keep its action. 'trevolinctl keys' shows the keys that can be assigned.\n";
        return ExitUsage;
    }

    if (parsed.spec->rawCode) {
        if (repeatOption_->count() > 0) {
            context.err << "trevolinctl: --repeat is only for macro actions.\n";
            return ExitUsage;
        }
        if (!profiles::StoreRawKeyAssignment(workspace->Store(), profile, target->keyNumber, *parsed.spec->rawCode)) {
            context.err << "trevolinctl: the key could not be stored.\n";
            return ExitKeyboardError;
        }
        return workspace->Apply(ScopeFor(profile, workspace->ActiveProfile()));
    }

    profiles::KeyChoice choice{parsed.spec->kind, parsed.spec->value, 1};
    if (choice.kind == keys::KeyAction::Macro) {
        // The keyboard keeps the play count with the macro, not with the key:
        // the assignment's count is the macro's.
        std::vector<macros::Macro> list;
        const auto position = profiles::ReadMacroList(workspace->Store(), list)
                                  ? macros::FindMacroByIdOrName(list, parsed.spec->macroRef)
                                  : std::nullopt;
        if (!position) {
            context.err << "trevolinctl: the keyboard has no macro \"" << parsed.spec->macroRef
                        << "\"; 'trevolinctl macro list' shows them.\n";
            return ExitUsage;
        }
        auto& macro = list[*position];
        if (repeatOption_->count() > 0 && macro.playCount != repeat_) {
            macro.playCount = static_cast<uint8_t>(repeat_);
            if (!profiles::CommitMacroList(workspace->Store(), list).committed) {
                context.err << "trevolinctl: the macros could not be stored.\n";
                return ExitKeyboardError;
            }
        }
        choice.value = macro.id;
        choice.playCount = macro.playCount;
    } else if (repeatOption_->count() > 0) {
        context.err << "trevolinctl: --repeat is only for macro actions.\n";
        return ExitUsage;
    }
    if (!profiles::StoreKeyAssignment(workspace->Store(), profile, target->keyNumber, choice)) {
        context.err << "trevolinctl: the key could not be stored.\n";
        return ExitKeyboardError;
    }
    return workspace->Apply(ScopeFor(profile, workspace->ActiveProfile()));
}

int KeyCommand::Reset(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    if (!workspace->Call([&] { return workspace->Profiles().ResetProfileKeys(profile); })) {
        context.err << "trevolinctl: profile " << profile << " has no key table to reset.\n";
        return ExitKeyboardError;
    }
    return workspace->Apply(ScopeFor(profile, workspace->ActiveProfile()));
}

}  // namespace trevolin::cli
