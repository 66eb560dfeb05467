#include "core/profiles/MacroNameRecovery.h"

#include "core/macros/MacroPayload.h"
#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileHeader.h"
#include "core/profiles/ProfileLayout.h"
#include "core/profiles/ProfileStore.h"
#include "core/profiles/StoreMacroList.h"

#include <filesystem>
#include <mutex>
#include <new>
#include <span>
#include <vector>

namespace trevolin::profiles {

uint16_t RecoverMacroNames(std::string& imageBytes, const UserFolder& folder)
{
    const auto all = std::span(reinterpret_cast<uint8_t*>(imageBytes.data()), imageBytes.size());
    if (all.size() < FixedPartSize)
        return 0;
    const uint16_t count = ProfileHeader::Read(all).macroCount;
    if (count == 0 || all.size() < FixedPartSize + size_t{count} * MacroRecordSize)
        return 0;

    uint16_t recovered = 0;
    try {
        // Looked at only, never written: the profile file is replaced by the
        // caller afterwards.
        const std::string path = ProfileFilePath(folder, 0);
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return 0;
        ProfileStore file;
        std::vector<macros::Macro> known;
        {
            std::lock_guard guard(file.Lock());
            if (!ReadImageFile(file, path))
                return 0;
        }
        if (!ReadMacroList(file, known))
            return 0;

        for (size_t position = 0; position < count; ++position) {
            const auto record = all.subspan(FixedPartSize + position * MacroRecordSize, MacroRecordSize);
            macros::Macro macro = macros::Macro::Read(record);
            // The macro at the same position first: the keyboard's ids are
            // positions, while the file's may still be the older ids.
            std::vector<size_t> candidates;
            if (position < known.size())
                candidates.push_back(position);
            for (size_t k = 0; k < known.size(); ++k)
                if (k != position && known[k].id == macro.id)
                    candidates.push_back(k);
            for (const size_t k : candidates) {
                if (known[k].name.empty() || !macros::SameEventsOnKeyboard(known[k], macro))
                    continue;
                if (known[k].name != macro.name) {
                    macro.name = known[k].name;
                    macro.Write(record);
                    ++recovered;
                }
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        // The macros named so far keep their names; the rest keep the default ones.
    }
    return recovered;
}

}  // namespace trevolin::profiles
