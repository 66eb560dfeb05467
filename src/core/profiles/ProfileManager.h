#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trevolin::profiles {

// One row of the profile manager: one of the keyboard's three profiles, or
// a profile file the user added or loaded.
struct ManagerRow {
    std::string name;  // the file name without folder and extension, or the profile's label
    std::string path;  // the file: a profile's is the program's profile file
    int profile = -1;  // 0 to 2 for the keyboard's profiles; -1 for a file

    // The folder of the file, ending with '/', as the list shows it.
    std::string Folder() const;
    bool KeyboardRow() const { return profile >= 0; }
    bool operator==(const ManagerRow&) const = default;
};

// The profile manager's list without widgets. Rows carry what they stand
// for: deleting a row never makes another row stand for another profile,
// the keyboard's rows cannot be deleted, and only they can be ticked (a
// file row has no profile index to activate).
class ProfileManagerModel {
public:
    // The keyboard's rows (one per label, all with the profile file), then
    // the files; the active profile's row is ticked.
    ProfileManagerModel(const std::vector<std::string>& profileLabels, const std::string& profileFile,
                        std::vector<ManagerRow> files, int activeProfile);

    const std::vector<ManagerRow>& Rows() const { return rows_; }
    std::optional<size_t> TickedRow() const { return ticked_; }
    // Mirrors the Apply button.
    bool Modified() const { return modified_; }

    // The user ticks a row; false (nothing changes) for a file row.
    bool Tick(size_t row);
    // Add and Load: a file row at the end.
    void AddFile(std::string_view path);
    // Removes a file row; the row to select afterwards (the next, or the
    // one before after the last). Nothing for a keyboard row or no row.
    std::optional<size_t> Delete(size_t row);

    // What Apply does: the settings entries to write (name, value) and the
    // profile to make active (none when no row is ticked).
    struct ApplyPlan {
        std::vector<std::pair<std::string, std::string>> settings;
        std::optional<int> activate;
    };
    ApplyPlan PlanApply() const;
    void Applied() { modified_ = false; }
    // A switch made elsewhere while the dialog is open: its row is ticked
    // and the dialog has nothing left to apply.
    void FollowSwitch(int profile);

    // The settings entry of row `row` (counted from 1): "PROFILE01"...
    static std::string SettingName(size_t row);

private:
    std::vector<ManagerRow> rows_;
    std::optional<size_t> ticked_;
    bool modified_ = false;
};

// A file's row from its path.
ManagerRow FileRow(std::string_view path);

}  // namespace trevolin::profiles
