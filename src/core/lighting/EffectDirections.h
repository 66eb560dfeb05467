#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace trevolin::lighting {

// One of the two directions an effect offers: the word people use for it
// and the value the lighting record keeps.
struct DirectionChoice {
    std::string_view word;
    uint8_t value = 0;
};

// The directions effect `mode` offers, in the panel's order (the picture
// that writes 255 first); empty for an effect that has no direction.
std::span<const DirectionChoice> DirectionsOf(int mode);

// The record value for `word` (any case) in effect `mode`; nothing when the
// effect has no such direction.
std::optional<uint8_t> DirectionValueOf(int mode, std::string_view word);

// The word for the record value in effect `mode`, the way the panel shows
// it: any non-zero value is the first direction. Empty for an effect that
// has no direction.
std::string_view DirectionWordOf(int mode, uint8_t value);

}  // namespace trevolin::lighting
