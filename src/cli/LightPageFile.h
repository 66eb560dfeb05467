#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/ColourPage.h"
#include "core/lighting/RgbColor.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trevolin::cli {

// The text form of a colour page that `trevolinctl light page` reads and
// prints: one key per line, its name and its colour,
//
//   # the arrows in red, everything else blue
//   *      0,0,255
//   Up     255,0,0
//   Left   #ff0000   # a comment may follow the colour
//   Down   red
//
// A key name is one that `light paint` takes; "*" stands for every key
// with a light. A colour is what `light paint` takes. Blank lines and lines
// whose first character other than a space is '#' are skipped, and so is a
// '#' after a blank that follows the colour, with the rest of its line; a
// later line wins over an earlier one for the same key. A UTF-8 byte-order
// mark at the start is skipped.
class LightPageFile {
public:
    // Larger files are not page files.
    static constexpr size_t MaxSize = 256 * 1024;

    enum class ReadProblem { None, Unreadable, TooLarge };
    struct Loaded {
        std::string content;
        ReadProblem problem = ReadProblem::None;
    };
    // The whole file, if it is a regular file of at most MaxSize bytes.
    static Loaded Read(const std::string& path);

    struct Entry {
        keyboard::KeyRef key;
        lighting::RgbColor colour;
    };

    // The entries in file order, "*" spelt out; an empty `error` when every
    // line was understood, else the first line that was not ("line 3: ...").
    struct Parsed {
        std::vector<Entry> entries;
        std::string error;
    };
    static Parsed Parse(std::string_view content);

    // Every key with a light and its colour in `page`, in the form Parse reads.
    static std::string Text(const lighting::ColourPage& page);

    static constexpr std::string_view FormatHelp =
        "FILE has one key per line: a key name (as 'light paint' takes it) or * for every key with a light, then\n"
        "spaces, then the colour as R,G,B, #rgb, #rrggbb or a name, then if wanted a comment after a space and #.\n"
        "Blank lines and lines starting with # are skipped; a later line wins over an earlier one.\n"
        "'trevolinctl light page' without FILE prints the page in this form.\n";
};

}  // namespace trevolin::cli
