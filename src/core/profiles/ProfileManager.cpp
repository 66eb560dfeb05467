#include "core/profiles/ProfileManager.h"

#include <fmt/format.h>

namespace trevolin::profiles {

namespace {

constexpr std::string_view Extension = ".tvl";

}  // namespace

std::string ManagerRow::Folder() const
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

ManagerRow FileRow(std::string_view path)
{
    ManagerRow row;
    row.path = std::string(path);
    const size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() > Extension.size() && name.substr(name.size() - Extension.size()) == Extension)
        name.remove_suffix(Extension.size());
    row.name = std::string(name);
    return row;
}

ProfileManagerModel::ProfileManagerModel(const std::vector<std::string>& profileLabels, const std::string& profileFile,
                                         std::vector<ManagerRow> files, int activeProfile)
{
    for (size_t i = 0; i < profileLabels.size(); ++i)
        rows_.push_back({profileLabels[i], profileFile, static_cast<int>(i)});
    for (ManagerRow& file : files) {
        file.profile = -1;
        rows_.push_back(std::move(file));
    }
    if (activeProfile >= 0 && static_cast<size_t>(activeProfile) < profileLabels.size())
        ticked_ = static_cast<size_t>(activeProfile);
}

bool ProfileManagerModel::Tick(size_t row)
{
    if (row >= rows_.size() || !rows_[row].KeyboardRow())
        return false;
    if (ticked_ != row) {
        ticked_ = row;
        modified_ = true;
    }
    return true;
}

void ProfileManagerModel::AddFile(std::string_view path)
{
    rows_.push_back(FileRow(path));
    modified_ = true;
}

std::optional<size_t> ProfileManagerModel::Delete(size_t row)
{
    if (row >= rows_.size() || rows_[row].KeyboardRow())
        return std::nullopt;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    // The keyboard's rows come first and stay: a tick never moves.
    modified_ = true;
    return row < rows_.size() ? row : row - 1;
}

std::string ProfileManagerModel::SettingName(size_t row)
{
    return fmt::format("PROFILE{:02}", row);
}

ProfileManagerModel::ApplyPlan ProfileManagerModel::PlanApply() const
{
    ApplyPlan plan;
    for (size_t r = 0; r < rows_.size(); ++r)
        plan.settings.emplace_back(SettingName(r + 1), rows_[r].path);
    plan.settings.emplace_back(SettingName(0), std::to_string(rows_.size()));
    if (ticked_)
        plan.activate = rows_[*ticked_].profile;
    return plan;
}

void ProfileManagerModel::FollowSwitch(int profile)
{
    for (size_t r = 0; r < rows_.size(); ++r) {
        if (rows_[r].profile == profile)
            ticked_ = r;
    }
    modified_ = false;
}

}  // namespace trevolin::profiles
