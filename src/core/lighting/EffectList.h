#pragma once

#include "core/base/TextLookup.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trevolin::lighting {

// The effects the keyboard offers, as its information block lists them in
// 32 one-byte slots: one list entry per non-zero slot, in slot order. An
// empty slot does not end the list.
class EffectList {
public:
    static constexpr size_t SlotCount = 32;

    void Clear() { effects_.clear(); }
    void Build(std::span<const uint8_t, SlotCount> slots);

    size_t Size() const { return effects_.size(); }
    const std::vector<uint8_t>& Effects() const { return effects_; }
    // The first list index showing `mode`, or -1.
    int LookupIndex(int mode) const;
    std::optional<uint8_t> EffectAt(int listIndex) const;
    bool Contains(int mode) const { return LookupIndex(mode) >= 0; }

    // Each entry's text: its effect number's key in section "MODE".
    std::vector<std::string> Names(const base::TextLookup& texts) const;

private:
    std::vector<uint8_t> effects_;
};

}  // namespace trevolin::lighting
