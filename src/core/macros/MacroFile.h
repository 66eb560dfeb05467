#pragma once

#include "core/macros/Macro.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::macros {

// One macro as a text file, for a user to keep, edit or share: UTF-8 lines,
//
//   # comment lines start with '#'; blank lines are skipped
//   name = Copy line
//   repeat = 1
//   LeftCtrl:down:0 C:down:50
//   C:up:0
//   LeftCtrl:up:0
//
// "name =" (required, once) takes the rest of the line, without the blanks
// around it, as the name; "repeat =" (once, 1 to 255, default 1) is how
// often the macro plays. Every other line holds events in the syntax of
// ParseMacroEventSpec, separated by blanks, in playing order; on such a line
// '#' starts a comment. At least one event, at most 4000. A UTF-8
// byte-order mark and CRLF line ends are accepted.
class MacroFile {
public:
    // Larger files are refused before they are parsed.
    static constexpr size_t MaxSize = 1024 * 1024;

    struct Parsed {
        // Name, play count and events; the id is 0 and the macro is not new.
        std::optional<Macro> macro;
        size_t line = 0;    // the line the error is on; 0 for the file as a whole
        std::string error;  // one English sentence when !macro
    };
    static Parsed Parse(std::string_view text);

    struct Formatted {
        std::string text;   // what Parse reads back into the same name, play count and events
        std::string error;  // why the macro cannot be written, when text is empty
    };
    // An event whose key has no name, or whose pause is longer than
    // MaxEventDelayMs, cannot be written: the file could not be read back.
    static Formatted Format(const Macro& macro);

    // The whole file into `content`; false with `error` saying why.
    [[nodiscard]] static bool Read(const std::string& path, std::string& content, std::string& error);
    // Replaces the file atomically; false when it could not be written.
    [[nodiscard]] static bool Write(const std::string& path, std::string_view content);
};

}  // namespace trevolin::macros
