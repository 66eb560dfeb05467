#pragma once

#include <cstdint>
#include <optional>

namespace trevolin::lighting {

inline constexpr uint8_t PerKeyEffect = 20;
inline constexpr uint8_t ColourChoiceEffect = 17;

enum class DirectionKind {
    None,
    LeftRight,        // effects 1 to 3
    UpDown,           // effect 12
    DiffuseConverge,  // effect 18
};

// Group A and group B are two sets of colour controls on the panel that
// edit the same colour and multicolour flag.
enum class ColourGroup { None, A, B };

// Which panel controls an effect uses besides brightness, which they all do.
struct EffectTraits {
    uint8_t mode = 0;
    bool speed = false;
    DirectionKind direction = DirectionKind::None;
    ColourGroup colourGroup = ColourGroup::None;
    bool colourChoice = false;  // the four colour-choice pictures
    bool userGroup = false;     // per-key colours, user modes and tools
    // Choosing the effect writes the multicolour flag again with it.
    bool resendsMulticolour = false;
};

// Nothing for an effect the program does not handle (19, 0, above 20).
std::optional<EffectTraits> FindEffect(int mode);

}  // namespace trevolin::lighting
