#pragma once

#include <QColor>

namespace trevolin::skingen {

// The skin's colours: dark and calm, one accent for focus, ticked and
// active states, a warm colour for changes waiting to be applied.
namespace palette {
inline const QColor Window{0x12, 0x14, 0x18};
inline const QColor Panel{0x1b, 0x1f, 0x26};
inline const QColor PanelRaised{0x22, 0x27, 0x30};
inline const QColor Hairline{0x2a, 0x2f, 0x38};
inline const QColor Accent{0x2f, 0xa8, 0xff};
inline const QColor AccentDeep{0x14, 0x5e, 0x9a};
inline const QColor Warm{0xff, 0x9f, 0x2e};
inline const QColor Danger{0xe5, 0x48, 0x4d};
inline const QColor Text{0xe8, 0xec, 0xf2};
inline const QColor TextDim{0x8a, 0x93, 0xa3};
inline const QColor CapTop{0x3a, 0x41, 0x4d};
inline const QColor CapBottom{0x2b, 0x31, 0x3b};
inline const QColor GCapTop{0x25, 0x2a, 0x33};
inline const QColor GCapBottom{0x1a, 0x1e, 0x25};
inline const QColor Led{0x4c, 0xe0, 0x8a};
}  // namespace palette

}  // namespace trevolin::skingen
