#include "core/skin/MaskRuns.h"

namespace trevolin::skin {

std::vector<MaskRun> InsideRuns(std::span<const uint32_t> row)
{
    std::vector<MaskRun> runs;
    const int width = static_cast<int>(row.size());
    int x = 0;
    while (x < width) {
        while (x < width && (row[x] & 0xFFFFFFu) == 0xFFFFFFu) {
            ++x;
        }
        const int start = x;
        while (x < width && (row[x] & 0xFFFFFFu) != 0xFFFFFFu) {
            ++x;
        }
        if (x > start) {
            runs.push_back({start, x});
        }
    }
    return runs;
}

}  // namespace trevolin::skin
