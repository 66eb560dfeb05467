#include "core/lighting/preview/CellSet.h"

namespace trevolin::lighting::preview {
namespace {

uint8_t Less(uint8_t level, uint8_t step)
{
    return level > step ? static_cast<uint8_t>(level - step) : 0;
}

}  // namespace

void CellSet::Clear()
{
    colorIndex_.fill(0);
    level_.fill(0);
}

void CellSet::Light(uint8_t cell, uint8_t level)
{
    if (cell < CellCount)
        level_[cell] = level;
}

void CellSet::SetColorIndex(uint8_t cell, uint8_t colorIndex)
{
    if (cell < CellCount)
        colorIndex_[cell] = colorIndex;
}

uint8_t CellSet::Level(uint8_t cell) const
{
    return cell < CellCount ? level_[cell] : 0;
}

uint8_t CellSet::ColorIndex(uint8_t cell) const
{
    return cell < CellCount ? colorIndex_[cell] : 0;
}

uint8_t CellSet::Fade(uint8_t cell)
{
    if (cell >= CellCount)
        return 0;
    level_[cell] = Faded(level_[cell], rule_);
    return level_[cell];
}

uint8_t CellSet::Faded(uint8_t level, FadeRule rule)
{
    if (level >= 128)
        return Less(level, rule.high);
    if (level & 0x40)
        return Less(level, rule.middle);
    if (level & 0x20)
        return Less(level, rule.low);
    if (level > 16)
        return Less(level, 5);
    return Less(level, 1);
}

}  // namespace trevolin::lighting::preview
