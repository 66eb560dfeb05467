#include "cli/CliApp.h"
#include "cli/SignalDeferral.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    int exitCode = 0;
    {
        trevolin::cli::SignalDeferral deferral;
        exitCode = trevolin::cli::RunCli(args, std::cout, std::cerr);
        if (trevolin::cli::SignalDeferral::Pending() != 0) {
            std::cout.flush();
            std::cerr << "trevolinctl: the keyboard write has finished; stopping as asked.\n";
            trevolin::cli::SignalDeferral::RaisePending();
        }
    }
    return exitCode;
}
