#include "cli/MacroCommand.h"

#include "cli/ProfileWorkspace.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroFile.h"
#include "core/macros/MacroListEditor.h"
#include "core/macros/MacroText.h"
#include "core/platform/Clock.h"
#include "core/profiles/StoreMacroList.h"

#include <CLI/CLI.hpp>
#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <iostream>

namespace trevolin::cli {

namespace {

using macros::Macro;
using macros::MacroListEditor;

nlohmann::json MacroJson(const Macro& m, bool withEvents)
{
    nlohmann::json j{
        {"id", m.id}, {"name", macros::Utf16ToUtf8(m.name)}, {"repeat", m.playCount}, {"events", m.events.size()}};
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

// The whole of standard input, at most MacroFile::MaxSize bytes; false when
// there is more.
bool ReadStandardInput(std::string& content)
{
    content.clear();
    char c = 0;
    while (std::cin.get(c)) {
        if (content.size() == macros::MacroFile::MaxSize)
            return false;
        content.push_back(c);
    }
    return true;
}

std::string Dump(const nlohmann::json& j)
{
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

CLI::App* MacroCommand::Register(CLI::App& parent)
{
    auto* macro = parent.add_subcommand("macro", "List, show, add, rename, delete, export or import the keyboard's "
                                                 "macros");
    macro->require_subcommand(1);
    macro->footer("A macro's name is 1 to 249 characters, not only blanks, without line breaks or tabs, and not a "
                  "bare number (which reads as an id).\n"
                  "A macro file (export, import) holds one macro, one setting or several events per line:\n"
                  "  # comment\n  name = Copy line\n  repeat = 1\n  LeftCtrl:down:0 C:down:50\n  C:up:0 "
                  "LeftCtrl:up:0\n"
                  "'name =' is required and takes the rest of its line; 'repeat =' is 1 to 255 (default 1); the "
                  "events (1 to 4000) are those of 'macro add', and on their lines '#' starts a comment.");
    list_ = macro->add_subcommand("list", "Every macro with its id, name, repeat count and number of events");
    show_ = macro->add_subcommand("show", "One macro's events");
    show_->add_option("macro", macro_, "The macro's id or name")->required();
    for (auto* sub : {list_, show_})
        sub->add_flag("--json", json_, "Print JSON");
    add_ =
        macro->add_subcommand("add", "A new macro from its events, e.g. LeftCtrl:down:0 C:down:50 C:up:0 LeftCtrl:up");
    add_->add_option("name", name_, "The macro's name (at most 249 characters)")->required();
    add_->add_option("events", events_, "KEY:down|up[:DELAY_MS] ...")->required();
    add_->add_option("--repeat", repeat_, "How often the macro plays (1 to 255)")->check(CLI::Range(1, 255));
    rename_ = macro->add_subcommand("rename", "Give a macro a new name");
    rename_->add_option("macro", macro_, "The macro's id or name")->required();
    rename_->add_option("name", name_, "The new name")->required();
    delete_ = macro->add_subcommand("delete", "Delete a macro; keys that played it go back to their own function");
    delete_->add_option("macro", macro_, "The macro's id or name")->required();
    set_ = macro->add_subcommand("set", "Change how often a macro plays, for every key that plays it");
    set_->add_option("macro", macro_, "The macro's id or name")->required();
    set_->add_option("--repeat", repeat_, "How often the macro plays (1 to 255)")
        ->required()
        ->check(CLI::Range(1, 255));
    export_ = macro->add_subcommand("export", "Write one macro (name, repeat count, events) to a macro file");
    export_->add_option("macro", macro_, "The macro's id or name")->required();
    export_->add_option("file", file_, "The file to write; - for standard output")->required();
    import_ = macro->add_subcommand("import", "Add the macro of a macro file as a new macro");
    import_->add_option("file", file_, "The file to read; - for standard input")->required();
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
    if (const auto checked = MacroListEditor::CheckEvents(events); !checked.Changed()) {
        context.err << "trevolinctl: " << checked.message << "\n";
        return ExitUsage;
    }
    std::u16string name = macros::Utf8ToUtf16(name_);
    if (add_->parsed() || rename_->parsed()) {
        if (const auto checked = MacroListEditor::CheckName(name); !checked.Changed()) {
            context.err << "trevolinctl: " << checked.message << "\n";
            return ExitUsage;
        }
    }
    // A file to import is read and checked before the keyboard is touched.
    if (import_->parsed()) {
        std::string content;
        std::string problem;
        if (file_ == "-" ? !ReadStandardInput(content) : !macros::MacroFile::Read(file_, content, problem)) {
            context.err << "trevolinctl: cannot read " << (file_ == "-" ? "standard input" : file_) << ": "
                        << (problem.empty()
                                ? "it is larger than " + std::to_string(macros::MacroFile::MaxSize) + " bytes"
                                : problem)
                        << ".\n";
            return ExitFileError;
        }
        auto parsed = macros::MacroFile::Parse(content);
        if (!parsed.macro) {
            const std::string where = file_ == "-" ? "standard input" : file_;
            context.err << "trevolinctl: " << where
                        << (parsed.line != 0 ? ":" + std::to_string(parsed.line) : std::string()) << ": "
                        << parsed.error << "; nothing was imported.\n";
            return ExitUsage;
        }
        name = parsed.macro->name;
        name_ = macros::Utf16ToUtf8(name);
        repeat_ = parsed.macro->playCount;
        events = std::move(parsed.macro->events);
    }

    int exitCode = ExitOk;
    auto workspace = ProfileWorkspace::Open(context, exitCode);
    if (!workspace)
        return exitCode;
    std::vector<Macro> stored;
    if (!profiles::ReadMacroList(workspace->Store(), stored)) {
        context.err << "trevolinctl: out of memory reading the macros.\n";
        return ExitKeyboardError;
    }
    MacroListEditor editor(std::move(stored), context.texts, platform::SteadyClock::Instance());
    const std::vector<Macro>& list = editor.Macros();

    if (list_->parsed()) {
        if (json_) {
            nlohmann::json j = nlohmann::json::array();
            for (const auto& m : list)
                j.push_back(MacroJson(m, false));
            context.out << Dump(j);
        } else {
            for (const auto& m : list)
                context.out << fmt::format("{:>3}  {}  (repeat {}, {})\n", m.id, macros::Utf16ToUtf8(m.name),
                                           m.playCount, macros::CountedNoun(m.events.size(), "event", "events"));
        }
        return ExitOk;
    }

    const bool adding = add_->parsed() || import_->parsed();
    std::optional<size_t> position;
    if (!adding) {
        position = editor.Find(macro_);
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
    if (export_->parsed()) {
        const auto formatted = macros::MacroFile::Format(list[*position]);
        if (formatted.text.empty()) {
            context.err << "trevolinctl: macro " << list[*position].id << " cannot be exported: " << formatted.error
                        << ".\n";
            return ExitKeyboardError;
        }
        if (file_ == "-") {
            context.out << formatted.text;
            return ExitOk;
        }
        if (!macros::MacroFile::Write(file_, formatted.text)) {
            context.err << "trevolinctl: cannot write " << file_ << ".\n";
            return ExitFileError;
        }
        Confirm(context, fmt::format("Wrote macro {} to {}.", list[*position].id, file_));
        return ExitOk;
    }

    uint16_t id = adding ? 0 : list[*position].id;
    const std::string oldName = adding ? "" : macros::Utf16ToUtf8(list[*position].name);
    std::string done;
    if (adding || rename_->parsed()) {
        const auto result = adding ? editor.Add(name, static_cast<uint8_t>(repeat_), std::move(events))
                                   : editor.Rename(*position, name);
        if (!result.Changed()) {
            context.err << "trevolinctl: " << result.message << "\n";
            return ExitUsage;
        }
        if (adding)
            id = list[result.position].id;
        done = adding ? fmt::format("Macro {} added.", id)
                      : fmt::format("Macro {} (\"{}\") is now named \"{}\".", id, oldName, name_);
    } else if (set_->parsed()) {
        editor.SetPlayCount(*position, repeat_);
        done = fmt::format("Macro {} (\"{}\") now plays {}.", id, oldName,
                           macros::CountedNoun(static_cast<size_t>(repeat_), "time", "times"));
    } else {
        static_cast<void>(editor.Delete(*position));  // found above, so it is in the list
        done =
            fmt::format("Macro {} (\"{}\") deleted; keys that played it are back to their own function.", id, oldName);
    }

    if (!profiles::CommitMacroList(workspace->Store(), list).committed) {
        context.err << "trevolinctl: the macros could not be stored.\n";
        return ExitKeyboardError;
    }
    // Macros belong to every profile, and a deleted one may have been on
    // keys of any of them.
    exitCode = workspace->Apply(profiles::WriteScope::AllProfiles);
    if (exitCode == ExitOk)
        Confirm(context, done);
    return exitCode;
}

}  // namespace trevolin::cli
