#include "cli/KeysCommand.h"

#include "cli/KeyTarget.h"
#include "cli/ProfileNumber.h"
#include "cli/ProfileWorkspace.h"
#include "core/keyboard/KeyByName.h"
#include "core/keys/ActionSpec.h"
#include "core/keys/KeyDescription.h"
#include "core/keys/KeyMapBlock.h"
#include "core/keys/MediaFunctions.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroList.h"
#include "core/profiles/StoreMacroList.h"
#include "core/profiles/StoreMacroLookups.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

namespace trevolin::cli {

namespace {

constexpr const char* NotAvailable = "not available: the keyboard's key map has no position for this key";

nlohmann::json KeyNamesOfKind(keyboard::KeyKind kind)
{
    nlohmann::json names = nlohmann::json::array();
    for (const auto& named : keyboard::KeyNameTable()) {
        const auto key = keyboard::FindKeyButton(named.controlId);
        if (key && key->kind == kind)
            names.push_back(named.name);
    }
    return names;
}

nlohmann::json SplitList(const std::string& list)
{
    nlohmann::json names = nlohmann::json::array();
    size_t start = 0;
    while (start < list.size()) {
        const size_t end = std::min(list.find(", ", start), list.size());
        names.push_back(list.substr(start, end - start));
        start = end + 2;
    }
    return names;
}

}  // namespace

CLI::App* KeysCommand::Register(CLI::App& parent)
{
    auto* sub = parent.add_subcommand("keys", "Every key's assignment in a profile");
    sub->add_option("--profile", profile_, "The profile: 1, 2 or 3 (default: the active one)")
        ->check(CLI::Range(FirstProfileNumber, LastProfileNumber));
    sub->add_flag("--assigned", assignedOnly_, "Only the keys that do not keep their own function");
    sub->add_flag("--names", names_,
                  "List the key names, media names and function numbers the commands take (needs no keyboard)");
    sub->add_flag("--json", json_, "Print JSON");
    return sub;
}

int KeysCommand::Execute(CliContext& context)
{
    return names_ ? Names(context) : Assignments(context);
}

int KeysCommand::Names(CliContext& context)
{
    using keyboard::KeyNameSet;
    std::vector<std::string> functions;
    for (uint32_t f = 0; f < keys::KeyboardFunctionCount; ++f)
        functions.push_back(context.texts.Text("FUNC_KEY_DESC" + std::to_string(f + 1)));
    const std::string otherActions = "default, disabled, stop-macro, macro:ID|NAME, raw:XX-XX-XX";
    if (json_) {
        nlohmann::json functionList = nlohmann::json::array();
        for (size_t f = 0; f < functions.size(); ++f)
            functionList.push_back({{"number", f + 1}, {"name", functions[f]}});
        nlohmann::json j{{"keys", KeyNamesOfKind(keyboard::KeyKind::Layout)},
                         {"gKeys", KeyNamesOfKind(keyboard::KeyKind::GKey)},
                         {"mouse", {"mouse:left", "mouse:right", "mouse:middle", "wheel:up", "wheel:down"}},
                         {"macroPointers", SplitList(macros::MacroPointerNameListText())},
                         {"media", SplitList(keys::MediaNameListText())},
                         {"functions", functionList},
                         {"otherActions", SplitList(otherActions)}};
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
        return ExitOk;
    }
    auto& out = context.out;
    out << "Keys (key set KEY, key:NAME, macro events KEY:down|up; any case):\n  "
        << keyboard::KeyNameListText(KeyNameSet::LayoutKeys) << "\n"
        << "  'trevolinctl keys' shows which of them this keyboard cannot assign.\n"
        << "G keys (key set G1..G9, with --bank a|b): G1 to G9\n"
        << "Mouse actions (key set): mouse:left, mouse:right, mouse:middle, wheel:up, wheel:down\n"
        << "Mouse actions (macro events): " << macros::MacroPointerNameListText() << "\n"
        << "Media functions (media:NAME):\n  " << keys::MediaNameListText() << "\n"
        << "Keyboard functions (function:N):\n";
    for (size_t f = 0; f < functions.size(); ++f)
        out << fmt::format("  {:>2}  {}\n", f + 1, functions[f]);
    out << "Other actions (key set): " << otherActions << "\n";
    return ExitOk;
}

int KeysCommand::Assignments(CliContext& context)
{
    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    const int profile = ProfileOrActive(profile_, workspace->ActiveProfile());
    auto& store = workspace->Store();
    const auto macroName = profiles::MacroNameLookupOf(store);
    const keys::KeyMapBlock defaultMap = workspace->Session().FactoryKeymap();

    nlohmann::json list = nlohmann::json::array();
    std::lock_guard lock(store.Lock());
    for (const auto& target : AllKeyTargets()) {
        const auto entry = keys::TryReadKeyAction(store.Image().Entry(static_cast<size_t>(profile), target.keyNumber));
        const bool available = keys::KeyHasPosition(defaultMap, target.keyNumber);
        if (!entry || (assignedOnly_ && (entry->kind == keys::KeyAction::Default || !available)))
            continue;
        const std::string bank = target.bank == 0 ? "a" : "b";
        const std::string name = target.gKey ? fmt::format("{} (bank {})", target.name, bank) : target.name;
        const bool macroKey = entry->kind == keys::KeyAction::Macro;
        const auto macroId = static_cast<uint16_t>(entry->value);
        const std::string macro = macroKey ? profiles::MacroNameOfId(store, macroId) : "";
        std::string spec = keys::FormatActionSpec(*entry, macro);
        // The action stays one that `key set` takes; the note is for people.
        const std::string note = macroKey && macro.empty() ? " (" + macroName(macroId) + ")" : "";
        if (spec.empty())
            spec = fmt::format("kind {} value {}", entry->kind, entry->value);
        const auto look = target.gKey ? keys::DescribeGKeyAction(context.texts, target.gIndex, *entry, macroName)
                                      : keys::DescribeKeyAction(context.texts, target.scan, *entry, macroName);
        if (json_) {
            nlohmann::json k{{"key", target.name},         {"keyNumber", target.keyNumber}, {"available", available},
                             {"kind", entry->kind},        {"value", entry->value},         {"action", spec},
                             {"description", look.tooltip}};
            if (target.gKey)
                k["bank"] = bank;
            list.push_back(k);
        } else {
            context.out << fmt::format("{:<14} {}\n", name, available ? spec + note : NotAvailable);
        }
    }
    if (json_) {
        nlohmann::json j{{"profile", profile}, {"profileNumber", ProfileNumberOf(profile)}, {"keys", list}};
        context.out << j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    }
    return ExitOk;
}

}  // namespace trevolin::cli
