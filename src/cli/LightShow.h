#pragma once

#include "core/base/TextLookup.h"
#include "core/lighting/ColourPage.h"
#include "core/lighting/LightingController.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <ostream>

namespace trevolin::cli {

// What `trevolinctl light show` prints: the profile's lighting as the panel
// would show it, the effects the keyboard offers, the per-key effect's user
// mode and, when given, the colours of the keys.
class LightShow {
public:
    LightShow(const lighting::LightingController& controller, const base::TextLookup& texts, int profile,
              bool perKeyOffered, std::optional<lighting::ColourPage> keyColours);

    void PrintText(std::ostream& out) const;
    nlohmann::json Json() const;

private:
    const lighting::LightingController& controller_;
    const base::TextLookup& texts_;
    int profile_;
    bool perKeyOffered_;
    std::optional<lighting::ColourPage> keyColours_;
};

}  // namespace trevolin::cli
