#pragma once

#include "core/keys/ActionCode.h"
#include "core/keys/KeyAction.h"

#include <optional>
#include <string>
#include <string_view>

namespace trevolin::keys {

// A key's new action written as text, the way a script or the command line
// gives it:
//   key:NAME                      another key (the key names of KeyByName)
//   mouse:left|right|middle       a mouse button
//   wheel:up|down                 one wheel step
//   media:NAME                    a multimedia function (MediaNames())
//   function:1..11                one of the keyboard's own functions
//   macro:ID or macro:NAME        a macro, by id or by name
//   stop-macro                    stop the macro that is playing
//   disabled                      the key does nothing
//   raw:XX-XX-XX                  a code for the keyboard as it stands (RawAction.h)
//   default                       the key's own function
struct ActionSpec {
    uint16_t kind = KeyAction::Default;
    uint32_t value = 0;                 // key code, media index or function index
    std::string macroRef;               // for kind Macro: the id or name as written
    std::optional<ActionCode> rawCode;  // for raw:, which keeps the code instead of kind and value
};

struct ActionSpecResult {
    std::optional<ActionSpec> spec;
    std::string error;  // a sentence saying what was expected, when no spec
};

ActionSpecResult ParseActionSpec(std::string_view text);

// The typed names of the 18 media functions, in media-index order.
std::string_view MediaName(uint32_t mediaIndex);
std::string MediaNameListText();

// The text ParseActionSpec reads back into the same action (kinds it cannot
// express, such as a program to launch, give "" ); a raw entry gives its
// code. `macroName` is the macro's name for kind Macro; the id is written
// when it is empty.
std::string FormatActionSpec(const KeyAction& action, std::string_view macroName = {});

}  // namespace trevolin::keys
