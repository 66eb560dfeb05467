#pragma once

#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/preview/ColorWheel.h"
#include "core/lighting/preview/PreviewLayout.h"
#include "core/lighting/preview/RandomSource.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace trevolin::lighting::preview::test {

// A clock that stands still unless a test moves it, and numbers that follow
// from the last seed alone (unless a test queues its own), so two engines
// fed the same seeds draw the same numbers.
class FakeRandomSource final : public RandomSource {
public:
    uint64_t NowSeconds() override { return now; }

    void Seed(uint32_t seed) override
    {
        seeds.push_back(seed);
        state_ = seed;
    }

    uint32_t Next() override
    {
        ++draws;
        if (!queued.empty()) {
            const uint32_t value = queued.front();
            queued.pop_front();
            return value;
        }
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }

    uint64_t now = 1000;
    std::deque<uint32_t> queued;
    std::vector<uint32_t> seeds;
    int draws = 0;

private:
    uint32_t state_ = 0;
};

inline uint8_t Button(uint16_t controlId)
{
    return ButtonOfControl(controlId);
}

inline uint8_t CellOfButton(uint8_t button)
{
    return button < PreviewButtonCount ? PreviewLayout::Instance().cellOfButton[button] : NoCell;
}

// The wheel entry a colour is, if it is one.
inline std::optional<int> WheelIndexOf(TintColor color)
{
    for (size_t i = 0; i < WheelSize; ++i) {
        if (WheelColor(i) == color)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

inline std::string CaptionOf(uint8_t button)
{
    if (button >= keyboard::LayoutKeyCount)
        return button == FnButton ? "Fn" : "?";
    return std::string(keyboard::LayoutKeys()[button].caption);
}

inline int Mod(int x, int m)
{
    return (x % m + m) % m;
}

}  // namespace trevolin::lighting::preview::test
