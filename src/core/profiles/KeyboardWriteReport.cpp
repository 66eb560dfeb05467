#include "core/profiles/KeyboardWriteReport.h"

#include "core/device/ReportExchange.h"

namespace trevolin::profiles {

namespace {

std::string KeysOf(const std::vector<int>& profiles)
{
    std::string text = profiles.size() == 1 ? "the keys of profile " : "the keys of profiles ";
    for (size_t i = 0; i < profiles.size(); ++i) {
        if (i > 0)
            text += i + 1 == profiles.size() ? " and " : ", ";
        // People count the profiles from 1, as the window's buttons do.
        text += std::to_string(profiles[i] + 1);
    }
    return text;
}

std::string List(bool macroArea, const std::vector<int>& profiles)
{
    std::string text = macroArea ? "the macro area" : "";
    if (!profiles.empty())
        text += (text.empty() ? "" : ", ") + KeysOf(profiles);
    return text;
}

}  // namespace

std::string DescribeWrittenParts(const KeyboardWriteReport& report)
{
    if (report.ok || report.stop != KeyboardWriteReport::Stop::None ||
        report.blockResults.size() != report.profilesWritten.size())
        return {};
    // Every part is sent whatever became of the one before, so each has its
    // own result.
    const bool macroAreaWritten = report.macroAreaResult == device::ResultOk;
    std::vector<int> written, notWritten;
    for (size_t i = 0; i < report.profilesWritten.size(); ++i)
        (report.blockResults[i] == device::ResultOk ? written : notWritten).push_back(report.profilesWritten[i]);
    const std::string done = List(macroAreaWritten, written);
    const std::string missing = List(!macroAreaWritten, notWritten);
    if (missing.empty())
        return {};
    return "Written: " + (done.empty() ? std::string("nothing") : done) +
           ". Not written (the keyboard may hold a part of it): " + missing + ".";
}

}  // namespace trevolin::profiles
