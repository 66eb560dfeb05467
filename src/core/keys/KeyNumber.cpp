#include "core/keys/KeyNumber.h"

#include "core/keyboard/KeyCodeTable.h"

namespace trevolin::keys {

uint32_t KeyNumberOf(uint32_t keyCode)
{
    // The key number is the key code table's row index, extended past the
    // table for the G keys.
    return keyboard::ScanToIndex(keyCode);
}

}  // namespace trevolin::keys
