#include "core/macros/MacroRecorder.h"

#include "core/macros/MacroEventSpec.h"

#include <algorithm>

namespace trevolin::macros {

void MacroRecorder::Start()
{
    running_ = true;
    full_ = false;
    first_ = true;
    lastTimestamp_.reset();
    lastClockMs_ = clock_.NowMs();
    down_.clear();
}

uint32_t MacroRecorder::PauseBefore(const RecordedKey& key)
{
    const uint64_t now = clock_.NowMs();
    uint64_t pause = 0;
    if (!first_) {
        // The display server's clock wraps: the unsigned difference holds.
        pause = key.timestampMs != 0 && lastTimestamp_ ? static_cast<uint32_t>(key.timestampMs - *lastTimestamp_)
                                                       : now - lastClockMs_;
    }
    first_ = false;
    lastClockMs_ = now;
    lastTimestamp_ = key.timestampMs != 0 ? std::optional<uint32_t>(key.timestampMs) : std::nullopt;
    return static_cast<uint32_t>(std::min<uint64_t>(pause, MaxEventDelayMs));
}

std::vector<MacroEvent> MacroRecorder::Take(const RecordedKey& key, size_t room)
{
    std::vector<MacroEvent> events;
    if (!running_ || key.keyCode == 0 || key.autoRepeat)
        return events;
    const bool down = down_.count(key.keyCode) != 0;
    if (key.press) {
        if (down)
            return events;
        // The press, its own release later, and the releases of the keys
        // already down must all fit.
        if (room < down_.size() + 2) {
            full_ = true;
            return events;
        }
        events.push_back({PauseBefore(key), key.keyCode, MacroEvent::Press});
        down_.insert(key.keyCode);
        return events;
    }
    if (down) {
        events.push_back({PauseBefore(key), key.keyCode, MacroEvent::Release});
        down_.erase(key.keyCode);
        return events;
    }
    // A release whose press was never seen: both, one after the other.
    if (room < down_.size() + 2) {
        full_ = true;
        return events;
    }
    events.push_back({PauseBefore(key), key.keyCode, MacroEvent::Press});
    events.push_back({0, key.keyCode, MacroEvent::Release});
    return events;
}

std::vector<MacroEvent> MacroRecorder::Stop()
{
    std::vector<MacroEvent> releases;
    if (running_) {
        bool firstRelease = true;
        for (const uint16_t keyCode : down_) {
            const uint32_t pause = firstRelease && !first_ ? PauseBefore({keyCode, false, false, 0}) : 0;
            firstRelease = false;
            releases.push_back({pause, keyCode, MacroEvent::Release});
        }
    }
    running_ = false;
    down_.clear();
    return releases;
}

}  // namespace trevolin::macros
