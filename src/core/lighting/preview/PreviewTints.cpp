#include "core/lighting/preview/PreviewTints.h"

namespace trevolin::lighting::preview {

size_t ButtonIndexOf(keyboard::KeyRef key)
{
    switch (key.kind) {
    case keyboard::KeyKind::Layout:
        return key.index < keyboard::LayoutKeyCount ? key.index : PreviewButtonCount;
    case keyboard::KeyKind::GKey:
        return key.index < keyboard::GKeyCount ? FirstGKeyButton + key.index : PreviewButtonCount;
    case keyboard::KeyKind::Fn:
        return FnButton;
    }
    return PreviewButtonCount;
}

keyboard::KeyRef KeyOfButton(size_t button)
{
    if (button < FirstGKeyButton)
        return {keyboard::KeyKind::Layout, static_cast<uint8_t>(button)};
    if (button < FnButton)
        return {keyboard::KeyKind::GKey, static_cast<uint8_t>(button - FirstGKeyButton)};
    return {keyboard::KeyKind::Fn, 0};
}

}  // namespace trevolin::lighting::preview
