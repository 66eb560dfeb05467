#pragma once

#include <string>
#include <string_view>

namespace trevolin::base {

// Replaces a file's whole content so that a reader (or a crash) sees either
// the old content or the new one, never a mix: the new content goes to a
// temporary file in the same folder, is flushed to disk and then renamed
// over the file. A symbolic link is followed, so the link stays a link. The
// file keeps its permissions; a new file gets mode 0600, whatever the umask.
class AtomicFile {
public:
    // False when the content could not be written in full; the old file
    // is then untouched and no temporary file is left behind.
    [[nodiscard]] static bool Write(const std::string& path, std::string_view content);
    // The same for a file that must not exist yet: false, with the existing
    // file untouched, when there is one (or appears meanwhile). A symbolic
    // link counts as a file there and is not followed.
    [[nodiscard]] static bool Create(const std::string& path, std::string_view content);
};

}  // namespace trevolin::base
