#include "core/platform/FreeMemory.h"

#include <malloc.h>

namespace trevolin::platform {

void ReturnFreeMemory()
{
    malloc_trim(0);
}

}  // namespace trevolin::platform
