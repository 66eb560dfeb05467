// Feeds an arbitrary command line to the desktop program's start-up
// switches: the input is split into argv words at each zero byte. Both
// ways in (argv and a word list) read the same; a library path is only
// taken alone and never empty; each kill or start switch is one word.
#include "core/app/StartupSwitches.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using trevolin::app::StartupSwitches;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words;
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(std::move(word));
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    if (size > 0)
        words.push_back(std::move(word));

    std::vector<const char*> argv{"trevolin"};
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    argv.push_back(nullptr);

    const StartupSwitches fromWords = StartupSwitches::Parse(words);
    const StartupSwitches fromArgv = StartupSwitches::Parse(static_cast<int>(argv.size() - 1), argv.data());
    if (fromWords.order != fromArgv.order || fromWords.simulate != fromArgv.simulate ||
        fromWords.help != fromArgv.help || fromWords.version != fromArgv.version ||
        fromWords.hidLibrary != fromArgv.hidLibrary || fromWords.error != fromArgv.error)
        __builtin_trap();
    if (fromWords.order.size() > words.size())
        __builtin_trap();
    if (fromWords.error.empty() && !fromWords.hidLibrary.empty() && fromWords.simulate)
        __builtin_trap();
    return 0;
}
