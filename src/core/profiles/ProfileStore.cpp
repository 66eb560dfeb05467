#include "core/profiles/ProfileStore.h"

#include <utility>

namespace trevolin::profiles {

ProfileStore::ProfileStore()
{
    // The default fixed part has the size a fixed part must have.
    static_cast<void>(image_.SetFixedPart(ProfileImage::DefaultFixedPart(0)));
}

void ProfileStore::ReleaseTexts()
{
    std::lock_guard guard(lock_);
    texts_.ClearAll();
}

void ProfileStore::ReleaseMacros()
{
    std::lock_guard guard(lock_);
    image_.ReleaseMacros();
}

void ProfileStore::ReleaseFixedPart()
{
    std::lock_guard guard(lock_);
    image_.ReleaseFixedPart();
}

void ProfileStore::Replace(ProfileImage&& image, TextTable&& texts)
{
    std::lock_guard guard(lock_);
    image_ = std::move(image);
    texts_ = std::move(texts);
}

}  // namespace trevolin::profiles
