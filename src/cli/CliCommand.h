#pragma once

#include "cli/KeyboardConnection.h"

#include <ostream>

namespace CLI {
class App;
}

namespace trevolin::cli {

struct CliContext {
    ConnectionOptions connection;
    std::ostream& out;
    std::ostream& err;
};

// One verb of trevolinctl: adds its subcommand and options, then runs.
class CliCommand {
public:
    virtual ~CliCommand() = default;
    virtual CLI::App* Register(CLI::App& parent) = 0;
    virtual int Execute(CliContext& context) = 0;
};

}  // namespace trevolin::cli
