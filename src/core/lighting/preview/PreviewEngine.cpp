#include "core/lighting/preview/PreviewEngine.h"

#include "core/lighting/preview/ColorWheel.h"
#include "core/lighting/preview/LevelCurves.h"
#include "core/lighting/preview/PreviewKeys.h"

#include <initializer_list>

namespace trevolin::lighting::preview {
namespace {

constexpr int Wheel = static_cast<int>(WheelSize);
constexpr int Pulse = static_cast<int>(PulseLength);
constexpr int Flash = static_cast<int>(FlashLength);
constexpr int BreathingCycle = static_cast<int>(BreathingLength);
constexpr int Columns = static_cast<int>(GridColumns);

// The row just below the grid: a front placed there enters the grid from
// below as it moves up.
constexpr uint8_t BelowGrid = 0x40;
constexpr uint8_t TopRow = 0x01;

// The rain and the ripple start below the middle of the letter block, the
// bounce at the top left; the bounce turns round at the last column.
constexpr size_t RainStartColumn = 9;
constexpr size_t RippleColumn = 9;
constexpr size_t BounceStartColumn = 1;
constexpr size_t BounceFarColumn = GridColumns - 1;

constexpr int StaticDiagonalRows = 11;
constexpr int ShowPairSteps = 31;  // pair lightings before the show's wave
constexpr int RainDrops = 3;
constexpr int SparklesPerFrame = 3;

bool Forward(const PreviewSettings& s)
{
    return s.direction != 0;
}

bool Multicolor(const PreviewSettings& s)
{
    return s.multicolor != 0;
}

// x moved by n in the direction, brought back into 0 to m - 1 whatever it
// was before (a phase may come from the other colour mode's longer cycle).
int Step(int x, int n, int m, bool forward)
{
    const int moved = forward ? x + n : x - n;
    return (moved % m + m) % m;
}

uint8_t RandomColorIndex(RandomSource& random)
{
    return static_cast<uint8_t>(random.Next() % 255);
}

}  // namespace

PreviewEngine::PreviewEngine(RandomSource& random) : random_(random), layout_(PreviewLayout::Instance())
{
    const uint8_t start = ButtonOfControl(key::U);
    for (size_t r = 0; r < GridRows; ++r) {
        for (size_t c = 0; c < GridColumns; ++c) {
            if (layout_.grid[r][c] == start && start != NoButton) {
                showStartRow_ = static_cast<uint8_t>(r);
                showStartColumn_ = static_cast<uint8_t>(c);
            }
        }
    }
    const uint8_t wait = ButtonOfControl(key::H);
    const uint8_t end = ButtonOfControl(key::KpPlus);
    showWaitCell_ = wait < PreviewButtonCount ? layout_.cellOfButton[wait] : NoCell;
    showEndCell_ = end < PreviewButtonCount ? layout_.cellOfButton[end] : NoCell;
}

const PreviewTints& PreviewEngine::Frame(const PreviewSettings& s, bool lightingViewOn)
{
    tints_.fill(KeyTint{});
    if (!lightingViewOn)
        return tints_;
    if (resetPending_) {
        Reset();
        resetPending_ = false;
    }

    switch (s.mode) {
    case 1:
        Wave(s);
        break;
    case 2:
        FlashWave(s);
        break;
    case 3:
        Snake(s);
        break;
    case 4:
        ColorCycle(s);
        break;
    case 5:
        Breathing(s);
        break;
    case 6:
        Static(s);
        break;
    case 10:
        Sparkle(s);
        break;
    case 11:
        RainbowPerKey();
        break;
    case 12:
        RowWave(s);
        break;
    case 13:
        Ripple(s);
        break;
    case 14:
        Show(s);
        break;
    case 15:
        Rain(s);
        break;
    case 16:
        Bounce(s);
        break;
    case 18:
        DiagonalWave(s);
        break;
    case 20:
        // The keys show their own colours, painted by the per-key editor.
        break;
    default:
        // 7, 8, 9 and 17 light the keyboard in ways the keys cannot show;
        // other numbers are no effect at all.
        ClearAll();
        break;
    }
    return tints_;
}

void PreviewEngine::Reset()
{
    rainSet_.Clear();
    bounceSet_.Clear();
    rainPlanes_.Clear();
    bouncePlanes_.Clear();
    rainPlanes_.OrColumn(RainStartColumn, BelowGrid);
    bouncePlanes_.OrColumn(BounceStartColumn, TopRow);
    counter_ = 0;
    showStage_ = 0;
    showColor_ = 0;
}

void PreviewEngine::Wave(const PreviewSettings& s)
{
    if (Multicolor(s)) {
        wavePhase_ = Step(wavePhase_, 9, Wheel, Forward(s));
        WheelAcrossGrid(wavePhase_, 9);
        return;
    }
    wavePhase_ = Step(wavePhase_, 7, Pulse, Forward(s));
    for (const auto& row : layout_.grid) {
        int x = wavePhase_;
        for (uint8_t button : row) {
            Tint(button, Scaled(s.color, PulseCurve()[static_cast<size_t>(x)]));
            x = (x + 7) % Pulse;
        }
    }
}

void PreviewEngine::FlashWave(const PreviewSettings& s)
{
    if (Multicolor(s)) {
        flashPhase_ = Step(flashPhase_, 4, Wheel, Forward(s));
        WheelAcrossGrid(flashPhase_, 5);
        return;
    }
    // The phase always advances; the direction is the sign of the step from
    // column to column, which turns the way the flashes travel.
    flashPhase_ = (flashPhase_ + 4) % Flash;
    for (const auto& row : layout_.grid) {
        int x = flashPhase_;
        for (uint8_t button : row) {
            x = Step(x, 5, Flash, Forward(s));
            Tint(button, Scaled(s.color, FlashCurve()[static_cast<size_t>(x)]));
        }
    }
}

void PreviewEngine::WheelAcrossGrid(int phase, int perColumn)
{
    for (const auto& row : layout_.grid) {
        int x = phase;
        for (uint8_t button : row) {
            Tint(button, WheelColor(static_cast<size_t>(x)));
            x = (x + perColumn) % Wheel;
        }
    }
}

void PreviewEngine::Snake(const PreviewSettings& s)
{
    const bool multicolor = Multicolor(s);
    const int cycle = multicolor ? Wheel : Pulse;
    snakePhase_ = Step(snakePhase_, 4, cycle, Forward(s));
    int x = snakePhase_;
    for (const Listing& listing : layout_.listings) {
        const auto at = static_cast<size_t>(x);
        Tint(listing.button, multicolor ? WheelColor(at) : Scaled(s.color, PulseCurve()[at]));
        x = (x + 5) % cycle;
    }
}

void PreviewEngine::ColorCycle(const PreviewSettings& s)
{
    cyclePhase_ = Step(cyclePhase_, 2, Wheel, Forward(s));
    const TintColor color = WheelColor(static_cast<size_t>(cyclePhase_));
    for (const auto& row : layout_.grid) {
        for (uint8_t button : row)
            Tint(button, color);
    }
}

void PreviewEngine::Breathing(const PreviewSettings& s)
{
    breathingPhase_ = (breathingPhase_ + 2) % BreathingCycle;
    const uint8_t level = BreathingCurve()[static_cast<size_t>(breathingPhase_)];
    for (size_t c = 0; c < GridColumns; ++c) {
        const TintColor color = Scaled(Multicolor(s) ? WheelColor(7 * c) : s.color, level);
        for (const auto& row : layout_.grid)
            Tint(row[c], color);
    }
}

void PreviewEngine::Static(const PreviewSettings& s)
{
    if (!Multicolor(s)) {
        for (const auto& row : layout_.grid) {
            for (uint8_t button : row)
                Tint(button, s.color);
        }
        return;
    }
    for (int r = 0; r < StaticDiagonalRows; ++r) {
        const TintColor color = WheelColor(static_cast<size_t>(128 - 12 * r));
        for (uint8_t button : layout_.diagonal[static_cast<size_t>(r)]) {
            if (CellOf(button) != NoCell)
                Tint(button, color);
        }
    }
}

void PreviewEngine::Sparkle(const PreviewSettings& s)
{
    random_.Seed(static_cast<uint32_t>(random_.NowSeconds()));
    for (int i = 0; i < SparklesPerFrame; ++i) {
        sparklePosition_ = (sparklePosition_ + 1) % ListingCount;
        const Listing& listing = layout_.listings[layout_.sparkleOrder[sparklePosition_]];
        rainSet_.Light(listing.cell, 255);
        rainSet_.SetColorIndex(listing.cell, RandomColorIndex(random_));
    }
    Display(rainSet_, CellsOf::Listing, s);
}

void PreviewEngine::RainbowPerKey()
{
    if (!rainbowReady_) {
        // Neighbouring listings start about a sixth of the wheel apart. A
        // start that comes to a full turn is 0: the wheel has no entry 192,
        // and stepping on from there would never wrap.
        int offset = 33;
        for (const Listing& listing : layout_.listings) {
            rainbowOffset_[listing.cell] = static_cast<uint8_t>(offset);
            offset += 33;
            if (offset >= Wheel)
                offset -= Wheel;
        }
        rainbowReady_ = true;
    }
    for (const Listing& listing : layout_.listings) {
        int offset = rainbowOffset_[listing.cell] + 3;
        if (offset >= Wheel)
            offset = 0;
        rainbowOffset_[listing.cell] = static_cast<uint8_t>(offset);
        Tint(listing.button, WheelColor(static_cast<size_t>(offset)));
    }
}

void PreviewEngine::RowWave(const PreviewSettings& s)
{
    rowPhase_ = Step(rowPhase_, 3, Wheel, Forward(s));
    for (size_t r = 0; r < GridRows; ++r) {
        const TintColor color = WheelColor(static_cast<size_t>(rowPhase_) + 32 * r);
        for (uint8_t button : layout_.grid[r])
            Tint(button, color);
    }
}

void PreviewEngine::Ripple(const PreviewSettings& s)
{
    if (!rippleSeeded_) {
        ripplePlanes_.OrColumn(RippleColumn, BelowGrid);
        rippleSeeded_ = true;
    }
    // When the middle column holds nothing but the top row, or nothing but
    // the row below the grid, every plane takes it: the ripple starts out
    // again in all directions.
    const uint8_t fronts = ripplePlanes_.Column(RippleColumn);
    if (fronts == TopRow)
        ripplePlanes_.SetColumn(RippleColumn, TopRow);
    else if (fronts == BelowGrid)
        ripplePlanes_.OrColumn(RippleColumn, BelowGrid);
    LightUp(ripplePlanes_, rippleSet_, s);
    ripplePlanes_.Spread();
    Display(rippleSet_, CellsOf::Listing, s);
}

void PreviewEngine::Show(const PreviewSettings& s)
{
    const bool multicolor = Multicolor(s);
    ++showColor_;
    switch (showStage_) {
    case 0:
        // The counter may come from another effect when no reset came
        // between; the script then starts from its first step.
        if (counter_ < 0 || counter_ >= static_cast<int>(ScriptSteps))
            counter_ = 0;
        for (uint8_t button : layout_.showScript[static_cast<size_t>(counter_)]) {
            if (button == NoButton)
                continue;
            if (multicolor)
                showColor_ = static_cast<uint8_t>(showColor_ + 11);
            LightShowKey(button, multicolor ? showColor_ : 0);
        }
        if (counter_ == static_cast<int>(ScriptSteps) - 1) {
            counter_ = 0;
            showStage_ = 1;
        } else {
            ++counter_;
        }
        break;
    case 1:
        if (counter_ >= 0 && counter_ < ShowPairSteps) {
            const KeyPair& pair = layout_.showPairs[static_cast<size_t>(counter_) % PairCount];
            for (uint8_t button : {pair.first, pair.second}) {
                if (multicolor)
                    showColor_ = static_cast<uint8_t>(showColor_ + 1);
                LightShowKey(button, multicolor ? showColor_ : 0);
            }
            ++counter_;
        } else if (showSet_.Level(showWaitCell_) == 0) {
            showStage_ = 2;
            counter_ = 0;
        }
        break;
    case 2:
        showPlanes_.OrColumn(showStartColumn_, static_cast<uint8_t>(1u << showStartRow_));
        showStage_ = 3;
        break;
    case 3:
        LightUp(showPlanes_, showSet_, s);
        showPlanes_.Spread();
        if (showSet_.Level(showEndCell_) != 0)
            showStage_ = 4;
        break;
    default:
        if (showSet_.Level(showEndCell_) == 0) {
            showStage_ = 0;
            counter_ = 0;
        }
        break;
    }
    Display(showSet_, CellsOf::Key, s);
}

void PreviewEngine::Rain(const PreviewSettings& s)
{
    int column = ((counter_ + 7) % Columns + Columns) % Columns;
    for (int i = 0; i < RainDrops; ++i) {
        column = (column + 3) % Columns;
        rainPlanes_.OrColumn(static_cast<size_t>(column), TopRow);
    }
    counter_ = column;
    LightUp(rainPlanes_, rainSet_, s);
    rainPlanes_.Fall();
    Display(rainSet_, CellsOf::Key, s);
}

void PreviewEngine::Bounce(const PreviewSettings& s)
{
    if (bouncePlanes_.Column(BounceStartColumn) == TopRow)
        bouncePlanes_.SetColumn(BounceStartColumn, TopRow);
    if (bouncePlanes_.Column(BounceFarColumn) == BelowGrid)
        bouncePlanes_.OrColumn(BounceFarColumn, BelowGrid);
    LightUp(bouncePlanes_, bounceSet_, s);
    bouncePlanes_.Spread();
    Display(bounceSet_, CellsOf::Key, s);
}

void PreviewEngine::DiagonalWave(const PreviewSettings& s)
{
    // Both ends of the cycle are kept in range even for a counter another
    // effect left odd.
    if (Forward(s)) {
        counter_ += 2;
        if (counter_ >= Wheel)
            counter_ = 0;
    } else {
        counter_ -= 2;
        if (counter_ < 0)
            counter_ = Wheel;
    }
    int x = counter_;
    for (const auto& row : layout_.diagonal) {
        x = (x + 21) % Wheel;
        const TintColor color = WheelColor(static_cast<size_t>(x));
        for (uint8_t button : row) {
            if (CellOf(button) != NoCell)
                Tint(button, color);
        }
    }
}

void PreviewEngine::LightUp(const WavePlanes& planes, CellSet& set, const PreviewSettings& s)
{
    random_.Seed(static_cast<uint32_t>(random_.NowSeconds()));
    const bool multicolor = Multicolor(s);
    for (size_t c = 0; c < GridColumns; ++c) {
        const uint8_t rows = planes.Column(c);
        if (rows == 0)
            continue;
        for (size_t r = 0; r < GridRows; ++r) {
            if (!(rows & (1u << r)))
                continue;
            const uint8_t cell = CellOf(layout_.grid[r][c]);
            if (cell == NoCell)
                continue;
            set.Light(cell, 255);
            if (multicolor)
                set.SetColorIndex(cell, RandomColorIndex(random_));
        }
    }
}

void PreviewEngine::Display(CellSet& set, CellsOf cells, const PreviewSettings& s)
{
    const bool multicolor = Multicolor(s);
    for (const Listing& listing : layout_.listings) {
        const uint8_t cell = cells == CellsOf::Listing ? listing.cell : CellOf(listing.button);
        const uint8_t level = set.Fade(cell);
        const TintColor color = multicolor ? TableColor(set.ColorIndex(cell)) : s.color;
        Tint(listing.button, Scaled(color, level));
    }
}

void PreviewEngine::LightShowKey(uint8_t button, uint8_t colorIndex)
{
    const uint8_t cell = CellOf(button);
    if (cell == NoCell)
        return;
    showSet_.Light(cell, 255);
    showSet_.SetColorIndex(cell, colorIndex);
}

uint8_t PreviewEngine::CellOf(uint8_t button) const
{
    return button < PreviewButtonCount ? layout_.cellOfButton[button] : NoCell;
}

void PreviewEngine::Tint(uint8_t button, TintColor color)
{
    if (button < PreviewButtonCount)
        tints_[button] = {TintChange::Set, color};
}

void PreviewEngine::ClearAll()
{
    tints_.fill(KeyTint{TintChange::Clear, {}});
}

}  // namespace trevolin::lighting::preview
