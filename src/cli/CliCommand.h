#pragma once

#include "cli/KeyboardConnection.h"
#include "core/base/Locations.h"
#include "core/base/TextLookup.h"

#include <ostream>
#include <string_view>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace trevolin::cli {

struct CliContext {
    ConnectionOptions connection;
    std::ostream& out;
    std::ostream& err;
    base::Locations& locations;     // the user folder honours --user-folder
    const base::TextLookup& texts;  // the language file beside the program
    bool quiet = false;             // --quiet: no line confirming a change
};

// The one line a command that changed something says about it, unless the
// user asked for quiet.
inline void Confirm(CliContext& context, std::string_view line)
{
    if (!context.quiet)
        context.out << line << "\n";
}

// One verb of trevolinctl: adds its subcommand and options, then runs.
class CliCommand {
public:
    virtual ~CliCommand() = default;
    virtual CLI::App* Register(CLI::App& parent) = 0;
    virtual int Execute(CliContext& context) = 0;
};

}  // namespace trevolin::cli
