#include "cli/KeyCommand.h"

#include "cli/KeyTarget.h"
#include "cli/ProfileNumber.h"
#include "cli/ProfileWorkspace.h"
#include "core/keyboard/KeyByName.h"
#include "core/keys/ActionSpec.h"
#include "core/keys/KeyAction.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/ReassignableKeys.h"
#include "core/macros/MacroList.h"
#include "core/macros/MacroText.h"
#include "core/profiles/KeyAssignment.h"
#include "core/profiles/StoreMacroList.h"
#include "core/profiles/StoreMacroLookups.h"

#include <fmt/format.h>

#include <sstream>

#include <CLI/CLI.hpp>

namespace trevolin::cli {

namespace {

// A change to the active profile is sent as Apply sends it; a change to
// another profile needs that profile's block too.
profiles::WriteScope ScopeFor(int profile, int active)
{
    return profile == active ? profiles::WriteScope::ActiveProfile : profiles::WriteScope::AllProfiles;
}

// What the key holds now, as `key set` takes it, read back from the store
// so that the line tells what was kept rather than what was typed.
std::string StoredActionText(profiles::ProfileStore& store, int profile, uint16_t keyNumber)
{
    std::lock_guard lock(store.Lock());
    const auto entry = keys::TryReadKeyAction(store.Image().Entry(static_cast<size_t>(profile), keyNumber));
    if (!entry)
        return "?";
    const std::string macro = entry->kind == keys::KeyAction::Macro
                                  ? profiles::MacroNameOfId(store, static_cast<uint16_t>(entry->value))
                                  : "";
    return keys::FormatActionSpec(*entry, macro);
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
        sub->add_option("--profile", profile_, "The profile: 1, 2 or 3 (default: the active one)")
            ->check(CLI::Range(FirstProfileNumber, LastProfileNumber));
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
    const auto named = keyboard::KeyByName(key_);
    const bool unknownKey = !target && (!named || named->kind == keyboard::KeyKind::Fn);
    if ((!target && !unknownKey) || !parsed.spec) {
        context.err << "trevolinctl: " << (target || unknownKey ? parsed.error : error) << ".\n";
        return ExitUsage;
    }
    if (unknownKey)
        return RefuseUnknownKey(context, error);
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    const auto defaultMap = workspace->Session().FactoryKeymap();
    if (!keys::KeyHasPosition(defaultMap, target->keyNumber)) {
        // The keyboard's key map has no position for the key, so the keyboard
        // has nowhere to keep an action for it.
        context.err << "trevolinctl: '" << target->name
                    << "' cannot be reassigned. Keys that can: " << keys::ReassignableKeyNameList(defaultMap) << ".\n";
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
        return Confirmed(context, *workspace, profile, *target);
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
    return Confirmed(context, *workspace, profile, *target);
}

int KeyCommand::Confirmed(CliContext& context, ProfileWorkspace& workspace, int profile, const KeyTarget& target)
{
    const int exitCode = workspace.Apply(ScopeFor(profile, workspace.ActiveProfile()));
    if (exitCode != ExitOk)
        return exitCode;
    const std::string key =
        target.gKey ? fmt::format("{} (bank {})", target.name, target.bank == 0 ? "a" : "b") : target.name;
    const std::string action = StoredActionText(workspace.Store(), profile, target.keyNumber);
    Confirm(context, action == "default"
                         ? fmt::format("Profile {}: {} is back to its own function.", ProfileNumberOf(profile), key)
                         : fmt::format("Profile {}: {} now sends {}.", ProfileNumberOf(profile), key, action));
    return ExitOk;
}

int KeyCommand::RefuseUnknownKey(CliContext& context, const std::string& error)
{
    // Only the keyboard's key map tells which keys can be reassigned. The
    // name is wrong whether or not the keyboard can be reached, so its own
    // complaints are not shown and the exit code stays the usage one.
    std::ostringstream connectionErrors;
    CliContext quiet{context.connection, context.out, connectionErrors, context.locations, context.texts, true};
    int exitCode = ExitOk;
    const auto workspace = ProfileWorkspace::Open(quiet, exitCode);
    if (workspace)
        context.err << "trevolinctl: " << error
                    << ". Keys that can: " << keys::ReassignableKeyNameList(workspace->Session().FactoryKeymap())
                    << ".\n";
    else
        context.err << "trevolinctl: " << error
                    << "; 'trevolinctl keys' lists the keys that can, once it can read the keyboard.\n";
    return ExitUsage;
}

int KeyCommand::Reset(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    if (!workspace->Call([&] { return workspace->Profiles().ResetProfileKeys(profile); })) {
        context.err << "trevolinctl: profile " << ProfileNumberOf(profile) << " has no key table to reset.\n";
        return ExitKeyboardError;
    }
    exitCode = workspace->Apply(ScopeFor(profile, workspace->ActiveProfile()));
    if (exitCode == ExitOk)
        Confirm(context, fmt::format("Profile {}: every key is back to its own function.", ProfileNumberOf(profile)));
    return exitCode;
}

}  // namespace trevolin::cli
