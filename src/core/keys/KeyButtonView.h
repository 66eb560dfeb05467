#pragma once

#include "core/keys/KeyLook.h"

#include <cstdint>

namespace trevolin::keys {

// The main window's key buttons and its "Apply" button, as the key table
// updates them. The window's view implements it.
class KeyButtonView {
public:
    virtual ~KeyButtonView() = default;
    virtual void ShowKeyLook(uint16_t controlId, const KeyLook& look) = 0;
    virtual void EnableApply() = 0;
};

}  // namespace trevolin::keys
