#include "core/device/ResultDescription.h"

#include "core/device/ReportExchange.h"

namespace trevolin::device {

namespace {

std::string WithoutFullStop(std::string text)
{
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

std::string DescribeResult(int result, const base::TextLookup& texts)
{
    switch (result) {
    case ResultOk:
        return "done";
    case ResultNoDevice: {
        // A language file without the text answers with a marker or nothing.
        const std::string text = WithoutFullStop(texts.Text("MAIN_NO_DEVICE_PROMPT"));
        return text.empty() || text.front() == '#' ? "the keyboard is not connected" : text;
    }
    case ResultWriteRefused:
        return "the HID library could not send the request to the keyboard";
    case ResultNoReply:
        return "the keyboard did not answer, although the request was sent three times";
    case ResultRefused:
        return "the keyboard refused the request as one it cannot read";
    case ResultBusy:
        // Status 0xFE comes with a well-formed request the keyboard will not
        // carry out, such as one that reaches outside an area.
        return "the keyboard refused to carry out the request (for instance one that reaches outside the area it "
               "names)";
    case ResultBadBlock:
        return "the request asked for something outside what the keyboard allows, so nothing was sent";
    case ResultRejected:
        return "the request is not one the program can carry out here, so nothing was sent";
    case ResultReadBackFailed:
        return "the keyboard's information block could not be read";
    }
    return "the keyboard operation failed in an unexpected way (result " + std::to_string(result) + ")";
}

}  // namespace trevolin::device
