#pragma once

namespace trevolin::platform {

// Hands memory the program has freed back to the system. The allocator
// keeps freed blocks for reuse; after a burst of short-lived allocations
// (decoding the skin's pictures, reading a keyboard) that is megabytes the
// program will not need again soon. Cheap enough to call after each burst,
// too slow to call often.
void ReturnFreeMemory();

}  // namespace trevolin::platform
