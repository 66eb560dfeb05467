#pragma once

#include "core/macros/MacroEvent.h"
#include "core/platform/Clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace trevolin::macros {

// One key event as the macro page records it.
struct RecordedKey {
    uint16_t keyCode = 0;
    bool press = true;  // false: a release
    bool autoRepeat = false;
    // The display server's 32-bit millisecond clock; 0 when unknown.
    uint32_t timestampMs = 0;
};

// Turns the key events of a recording into macro events with the pause
// before each. The pauses come from the events' own timestamps (an event
// handled late keeps its real timing), from the clock when an event has
// none; the time before the first event is not kept, and no pause is longer
// than the keyboard can play (MaxEventDelayMs). Auto-repeats and presses of
// a key already down are not recorded. A release without a recorded press
// (Print Screen, whose press some desktops keep) gets a press before it.
// Stopping gives releases for the keys still down, so that no key sticks
// when the macro plays.
class MacroRecorder {
public:
    explicit MacroRecorder(platform::Clock& clock) : clock_(clock) {}

    void Start();
    bool Running() const { return running_; }

    // The events to add for `key`, each with the pause before it in its
    // `delayMs`; empty when the key is not recorded. `room` is how many
    // events the macro can still take: a press is refused when it would
    // leave no room for the releases of the keys then down, and the
    // recording then ends (`Full()`).
    std::vector<MacroEvent> Take(const RecordedKey& key, size_t room);
    bool Full() const { return full_; }

    // Ends the recording: releases for the keys still down, the first with
    // the pause since the last event.
    std::vector<MacroEvent> Stop();

private:
    uint32_t PauseBefore(const RecordedKey& key);

    platform::Clock& clock_;
    bool running_ = false;
    bool full_ = false;
    bool first_ = true;
    std::optional<uint32_t> lastTimestamp_;
    uint64_t lastClockMs_ = 0;
    std::set<uint16_t> down_;
};

}  // namespace trevolin::macros
