#include "core/app/WindowMessages.h"

#include "core/base/FormatText.h"
#include "core/base/Language.h"
#include "core/device/ResultDescription.h"
#include "transport/quellink.h"

namespace trevolin::app {

std::string TextOr(const base::TextLookup& texts, std::string_view key, std::string_view english)
{
    std::string text = texts.Text(key);
    return text.empty() || text == base::Language::MissingText ? std::string(english) : text;
}

std::string WriteFailureText(const profiles::KeyboardWriteReport& write, const base::TextLookup& texts)
{
    using Stop = profiles::KeyboardWriteReport::Stop;
    if (write.stop == Stop::MacrosTooLong)
        return "the macros need " + std::to_string(write.bareSize) + " bytes but the keyboard holds " +
               std::to_string(write.capacity) + "; shorten or delete macros.";
    std::string text = write.problem.empty() ? device::DescribeResult(write.deviceResult, texts) : write.problem;
    if (!text.empty() && text.back() != '.')
        text += '.';
    if (const auto parts = profiles::DescribeWrittenParts(write); !parts.empty())
        text += " " + parts;
    return text;
}

std::string ApplyFailureText(const profiles::ApplyReport& report, const base::TextLookup& texts,
                             const std::string& profileFolder)
{
    using Refused = profiles::ApplyReport::Refused;
    if (report.refused == Refused::NotLoaded)
        return "Trevolin has not read the keyboard's keys, so nothing was written. The changes stay pending.";
    if (report.refused == Refused::DamagedMacros)
        return "The keyboard's damaged macro memory was kept, so nothing was written. The changes stay pending.";
    if (report.refused == Refused::ChangedElsewhere)
        return std::string(TextOr(texts, message::ApplyChangedElsewhere,
                                  "Another Trevolin program changed the keyboard after this window read it, so "
                                  "nothing was written. Your changes stay pending: press Apply again to write them "
                                  "over the other program's changes."));
    if (!report.write.ok)
        return base::FormatText(
            TextOr(texts, message::ApplyFailed,
                   "The changes did not reach the keyboard: %s They stay pending: press Apply to try "
                   "again."),
            WriteFailureText(report.write, texts));
    return base::FormatText(TextOr(texts, message::SaveFailed,
                                   "The keyboard has the changes, but the profile file in %s could not be saved."),
                            profileFolder);
}

AbsenceText DescribeAbsence(const device::DeviceProblem& problem, bool simulated, const base::TextLookup& texts)
{
    AbsenceText a;
    if (problem.code == QL_ERR_PERMISSION) {
        a.permission = true;
        a.sentence = TextOr(texts, message::NoPermission,
                            "The keyboard is connected, but this user may not open it. Install Trevolin's udev "
                            "rule, then unplug the keyboard and plug it in again.");
        if (!problem.sentence.empty())
            a.sentence += " (" + problem.sentence + ")";
        a.remedy = "sudo cp data/70-trevolin.rules /etc/udev/rules.d/ && sudo udevadm control --reload && sudo "
                   "udevadm trigger";
        return a;
    }
    a.sentence = simulated ? std::string("No keyboard found: the simulated keyboard is unplugged.")
                           : TextOr(texts, message::NoDevice, "No keyboard found. Connect the keyboard and try again.");
    if (!problem.sentence.empty())
        a.sentence += " (" + problem.sentence + ")";
    return a;
}

std::string OpenErrorText(KeyboardApp::OpenError error, const std::string& libraryName, const std::string& detail)
{
    switch (error) {
    case KeyboardApp::OpenError::None:
        return {};
    case KeyboardApp::OpenError::ExportMissing:
        return "the HID library " + libraryName + " lacks the entry point " + detail +
               "; it is not a Trevolin transport library";
    case KeyboardApp::OpenError::StartFailed:
        return "the HID library " + libraryName + " failed to start";
    case KeyboardApp::OpenError::LibraryMissing:
        break;
    }
    return "cannot load the HID library " + libraryName + ": " + detail;
}

}  // namespace trevolin::app
