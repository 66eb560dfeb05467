#include "core/lighting/LightingRecord.h"

#include <algorithm>

namespace trevolin::lighting {

namespace {

constexpr uint8_t FlagOn = 0xFF;

RgbColor ColourAt(std::span<const uint8_t, LightingRecord::Size> record, size_t offset)
{
    return {record[offset], record[offset + 1], record[offset + 2]};
}

void PutColour(LightingRecord::Bytes& record, size_t offset, RgbColor colour)
{
    record[offset] = colour.red;
    record[offset + 1] = colour.green;
    record[offset + 2] = colour.blue;
}

uint8_t Flag(bool on)
{
    return on ? FlagOn : 0;
}

}  // namespace

uint16_t LightingRecord::Offset(int profile, uint8_t field)
{
    return static_cast<uint16_t>(profile * static_cast<int>(Size) + field);
}

void LightingRecord::Decode(std::span<const uint8_t, Size> record, LightMode& model)
{
    model.mode = record[Effect];
    model.brightness = std::min(record[Brightness], LightMode::MaxBrightness);
    model.speed = std::min(record[Speed], LightMode::MaxSpeed);
    model.direction = record[Direction];
    model.multicolour = record[Multicolour] != 0;
    model.colour = ColourAt(record, Colour);
    model.reportRate = std::min(record[ReportRate], LightMode::MaxReportRate);
    model.colourChoice = record[ColourChoice] <= LightMode::MaxColourChoice ? record[ColourChoice] : 0;
    if (record[TriggerChoice] <= 1)
        model.triggerChoice = record[TriggerChoice];
    model.secondColour = ColourAt(record, SecondColour);
    model.secondMulticolour = record[SecondMulticolour] != 0;
    model.thirdColour = ColourAt(record, ThirdColour);
    model.thirdMulticolour = record[ThirdMulticolour] != 0;
}

LightingRecord::Bytes LightingRecord::Encode(const LightMode& model)
{
    Bytes record{};
    record[Effect] = model.mode;
    record[Brightness] = model.brightness;
    record[Speed] = model.speed;
    record[Direction] = model.direction;
    record[Multicolour] = Flag(model.multicolour);
    PutColour(record, Colour, model.colour);
    record[ReportRate] = model.reportRate;
    record[ColourChoice] = model.colourChoice;
    record[TriggerChoice] = model.triggerChoice;
    PutColour(record, SecondColour, model.secondColour);
    record[SecondMulticolour] = Flag(model.secondMulticolour);
    PutColour(record, ThirdColour, model.thirdColour);
    record[ThirdMulticolour] = Flag(model.thirdMulticolour);
    return record;
}

}  // namespace trevolin::lighting
