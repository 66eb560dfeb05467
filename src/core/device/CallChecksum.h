#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::device {

// The byte permutation behind the call checksum; the transport library holds
// the same table and refuses a call whose sum does not match.
const std::array<uint8_t, 256>& SumTable();

// Chainable: adds SumTable[b] for each byte to the running total.
uint32_t CallChecksum(uint32_t total, const uint8_t* bytes, size_t count);

}  // namespace trevolin::device
