#pragma once

#include "core/lighting/preview/CellSet.h"
#include "core/lighting/preview/PreviewLayout.h"
#include "core/lighting/preview/PreviewSettings.h"
#include "core/lighting/preview/PreviewTints.h"
#include "core/lighting/preview/RandomSource.h"
#include "core/lighting/preview/WavePlanes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trevolin::lighting::preview {

// Animates the chosen effect on the on-screen keys, one frame per timer tick.
// Pure computation: the window paints what a frame returns and owns the timer.
class PreviewEngine {
public:
    explicit PreviewEngine(RandomSource& random);

    // One frame. With the lighting view off nothing moves and every button
    // keeps its tint. The result stays valid until the next call.
    const PreviewTints& Frame(const PreviewSettings& settings, bool lightingViewOn);

    // Choosing an effect restarts the rain, the bounce and the show on the
    // next frame that runs. A new engine starts with this pending.
    void RequestReset() { resetPending_ = true; }
    bool ResetPending() const { return resetPending_; }

private:
    void Reset();

    void Wave(const PreviewSettings& s);
    void FlashWave(const PreviewSettings& s);
    void WheelAcrossGrid(int phase, int perColumn);
    void Snake(const PreviewSettings& s);
    void ColorCycle(const PreviewSettings& s);
    void Breathing(const PreviewSettings& s);
    void Static(const PreviewSettings& s);
    void Sparkle(const PreviewSettings& s);
    void RainbowPerKey();
    void RowWave(const PreviewSettings& s);
    void Ripple(const PreviewSettings& s);
    void Show(const PreviewSettings& s);
    void Rain(const PreviewSettings& s);
    void Bounce(const PreviewSettings& s);
    void DiagonalWave(const PreviewSettings& s);

    enum class CellsOf { Listing, Key };

    void LightUp(const WavePlanes& planes, CellSet& set, const PreviewSettings& s);
    void Display(CellSet& set, CellsOf cells, const PreviewSettings& s);
    void LightShowKey(uint8_t button, uint8_t colorIndex);
    uint8_t CellOf(uint8_t button) const;

    void Tint(uint8_t button, TintColor color);
    void ClearAll();

    RandomSource& random_;
    const PreviewLayout& layout_;
    PreviewTints tints_{};
    bool resetPending_ = true;

    int wavePhase_ = 0;
    int flashPhase_ = 0;
    int snakePhase_ = 0;
    int cyclePhase_ = 0;
    int breathingPhase_ = 0;
    int rowPhase_ = 0;
    int counter_ = 0;  // shared by the show, the rain and the diagonal wave

    size_t sparklePosition_ = 0;

    bool rainbowReady_ = false;
    std::array<uint8_t, CellCount> rainbowOffset_{};

    bool rippleSeeded_ = false;

    int showStage_ = 0;
    uint8_t showColor_ = 0;

    CellSet bounceSet_{RainFade};
    CellSet rippleSet_{RippleFade};
    CellSet showSet_{ShowFade};
    CellSet rainSet_{RainFade};

    WavePlanes bouncePlanes_;
    WavePlanes ripplePlanes_;
    WavePlanes showPlanes_;
    WavePlanes rainPlanes_;

    // Where the show's wave starts, and the keys its stages wait for.
    uint8_t showStartRow_ = 0;
    uint8_t showStartColumn_ = 0;
    uint8_t showWaitCell_ = NoCell;
    uint8_t showEndCell_ = NoCell;
};

}  // namespace trevolin::lighting::preview
