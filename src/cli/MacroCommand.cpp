#include "cli/MacroCommand.h"

#include "cli/ProfileWorkspace.h"
#include "core/app/FormatText.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroList.h"
#include "core/macros/MacroText.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace trevolin::cli {

namespace {

using macros::Macro;


bool NameTaken(const std::vector<Macro>& list, const std::u16string& name, size_t except)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (i != except && list[i].name == name)
            return true;
    return false;
}

nlohmann::json MacroJson(const Macro& m, bool withEvents)
{
    nlohmann::json j{{"id", m.id}, {"name", macros::Utf16ToUtf8(m.name)}, {"repeat", m.playCount},
                     {"events", m.events.size()}};
    if (withEvents) {
        nlohmann::json events = nlohmann::json::array();
        for (const auto& e : m.events)
            events.push_back({{"keyCode", e.keyCode},
                              {"action", e.action == macros::MacroEvent::Press ? "down" : "up"},
                              {"delayMs", e.delayMs},
                              {"event", macros::FormatMacroEventSpec(e)}});
        j["events"] = events;
    }
    return j;
}

std::string Dump(const nlohmann::json& j)
{
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

CLI::App* MacroCommand::Register(CLI::App& parent)
{
    auto* macro = parent.add_subcommand("macro", "List, show, add, rename or delete the keyboard's macros");
    macro->require_subcommand(1);
    list_ = macro->add_subcommand("list", "Every macro with its id, name, repeat count and number of events");
    show_ = macro->add_subcommand("show", "One macro's events");
    show_->add_option("macro", macro_, "The macro's id or name")->required();
    for (auto* sub : {list_, show_})
        sub->add_flag("--json", json_, "Print JSON");
    add_ = macro->add_subcommand("add", "A new macro from its events, e.g. LeftCtrl:down:0 C:down:50 C:up:0 LeftCtrl:up");
    add_->add_option("name", name_, "The macro's name (at most 249 characters)")->required();
    add_->add_option("events", events_, "KEY:down|up[:DELAY_MS] ...")->required();
    add_->add_option("--repeat", repeat_, "How often the macro plays (1 to 255)")->check(CLI::Range(1, 255));
    rename_ = macro->add_subcommand("rename", "Give a macro a new name");
    rename_->add_option("macro", macro_, "The macro's id or name")->required();
    rename_->add_option("name", name_, "The new name")->required();
    delete_ = macro->add_subcommand("delete", "Delete a macro; keys that played it go back to their own function");
    delete_->add_option("macro", macro_, "The macro's id or name")->required();
    return macro;
}

int MacroCommand::Execute(CliContext& context)
{
    // Arguments are checked before the keyboard is touched.
    std::vector<macros::MacroEvent> events;
    for (const auto& text : events_) {
        const auto parsed = macros::ParseMacroEventSpec(text);
        if (!parsed.event) {
            context.err << "trevolinctl: " << parsed.error << ".\n";
            return ExitUsage;
        }
        events.push_back(*parsed.event);
    }
    if (events.size() > Macro::MaxEvents) {
        context.err << "trevolinctl: a macro holds at most " << Macro::MaxEvents << " events.\n";
        return ExitUsage;
    }
    const std::u16string name = macros::Utf8ToUtf16(name_);
    if ((add_->parsed() || rename_->parsed()) && (name.empty() || name.size() > Macro::MaxNameLength)) {
        context.err << "trevolinctl: a macro's name has 1 to " << Macro::MaxNameLength << " characters.\n";
        return ExitUsage;
    }

    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    std::vector<Macro> list;
    if (!macros::ReadMacroList(workspace->Store(), list)) {
        context.err << "trevolinctl: out of memory reading the macros.\n";
        return ExitKeyboardError;
    }

    if (list_->parsed()) {
        if (json_) {
            nlohmann::json j = nlohmann::json::array();
            for (const auto& m : list)
                j.push_back(MacroJson(m, false));
            context.out << Dump(j);
        } else {
            for (const auto& m : list)
                context.out << fmt::format("{:>3}  {}  (repeat {}, {} events)\n", m.id, macros::Utf16ToUtf8(m.name),
                                           m.playCount, m.events.size());
        }
        return ExitOk;
    }

    std::optional<size_t> position;
    if (!add_->parsed()) {
        position = macros::FindMacroByIdOrName(list, macro_);
        if (!position) {
            context.err << "trevolinctl: the keyboard has no macro \"" << macro_ << "\"; 'trevolinctl macro list' "
                        << "shows them.\n";
            return ExitUsage;
        }
    }
    if (show_->parsed()) {
        const Macro& m = list[*position];
        if (json_) {
            context.out << Dump(MacroJson(m, true));
        } else {
            context.out << fmt::format("{}  {}  (repeat {})\n", m.id, macros::Utf16ToUtf8(m.name), m.playCount);
            for (const auto& e : m.events)
                context.out << "  " << macros::FormatMacroEventSpec(e) << "\n";
        }
        return ExitOk;
    }

    if (add_->parsed()) {
        if (list.size() >= profiles::MaxMacroCount) {
            context.err << "trevolinctl: "
                        << app::FormatText(context.texts.Text("MACRO_ERR_MAX"), int(profiles::MaxMacroCount)) << "\n";
            return ExitUsage;
        }
        if (NameTaken(list, name, list.size())) {
            context.err << "trevolinctl: a macro named \"" << name_ << "\" exists already.\n";
            return ExitUsage;
        }
        auto created = macros::NewMacro(list, name);
        if (!created) {
            context.err << "trevolinctl: every macro id is taken.\n";
            return ExitUsage;
        }
        created->playCount = static_cast<uint8_t>(repeat_);
        created->events = events;
        list.push_back(*created);
    } else if (rename_->parsed()) {
        if (NameTaken(list, name, *position)) {
            context.err << "trevolinctl: a macro named \"" << name_ << "\" exists already.\n";
            return ExitUsage;
        }
        list[*position].name = name;
    } else {
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(*position));
    }

    const uint16_t id = add_->parsed() ? list.back().id : 0;
    if (!macros::CommitMacroList(workspace->Store(), list).committed) {
        context.err << "trevolinctl: the macros could not be stored.\n";
        return ExitKeyboardError;
    }
    // Macros belong to every profile, and a deleted one may have been on
    // keys of any of them.
    exitCode = workspace->Apply(profiles::WriteScope::AllProfiles);
    if (exitCode == ExitOk && id != 0)
        context.out << "Macro " << id << " added.\n";
    return exitCode;
}

}  // namespace trevolin::cli
