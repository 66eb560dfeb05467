#include "cli/CliApp.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return trevolin::cli::RunCli(args, std::cout, std::cerr);
}
