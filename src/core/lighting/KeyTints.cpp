#include "core/lighting/KeyTints.h"

#include <algorithm>

namespace trevolin::lighting {

size_t KeyTints::Slot(keyboard::KeyRef key)
{
    switch (key.kind) {
    case keyboard::KeyKind::Layout:
        return key.index < keyboard::LayoutKeyCount ? key.index : ButtonCount;
    case keyboard::KeyKind::GKey:
        return key.index < keyboard::GKeyCount ? keyboard::LayoutKeyCount + key.index : ButtonCount;
    case keyboard::KeyKind::Fn:
        return ButtonCount - 1;
    }
    return ButtonCount;
}

void KeyTints::Set(keyboard::KeyRef key, RgbColor colour)
{
    const size_t slot = Slot(key);
    if (slot < ButtonCount)
        tints_[slot] = colour;
}

std::optional<RgbColor> KeyTints::Get(keyboard::KeyRef key) const
{
    const size_t slot = Slot(key);
    return slot < ButtonCount ? tints_[slot] : std::nullopt;
}

size_t KeyTints::TintedCount() const
{
    return static_cast<size_t>(
        std::count_if(tints_.begin(), tints_.end(), [](const auto& t) { return t.has_value(); }));
}

}  // namespace trevolin::lighting
