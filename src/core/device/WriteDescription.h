#pragma once

#include <cstdint>
#include <string>

namespace trevolin::device {

// What a command that may change the keyboard is about to change, in
// English ("the key map of profile 1", "the macro area"); empty for the
// configuration bracket, which changes nothing by itself.
std::string DescribeKeyboardChange(uint8_t command, uint16_t offset);

}  // namespace trevolin::device
