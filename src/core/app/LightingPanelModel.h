#pragma once

#include "core/app/KeyboardApp.h"
#include "core/base/TextLookup.h"
#include "core/lighting/KeyTints.h"
#include "core/lighting/LightMode.h"
#include "core/lighting/PanelView.h"
#include "core/lighting/RgbColor.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace trevolin::app {

// What the window shows of the lighting, taken on the keyboard thread after
// a change: the panel, the light mode the preview animates, and the key
// buttons' per-key colour tints (indexed as the preview's buttons).
struct LightingSnapshot {
    lighting::PanelView panel;
    lighting::LightMode mode;
    bool viewOn = false;
    std::array<std::optional<lighting::RgbColor>, lighting::KeyTints::ButtonCount> tints{};
};

// The lighting panel's side of the main window: every change the user makes
// goes to the keyboard thread at once, in the order made; a change of one
// field that is still waiting behind another sequence is replaced by the
// next change of that field (a dragged slider sends only where it ends up).
// The window never waits: after each change the keyboard thread takes a
// snapshot for it. A change the keyboard did not take is followed by a
// read-back, so that the panel shows what the keyboard holds, and is told.
class LightingPanelModel {
public:
    using PostToWindow = std::function<void(std::function<void()>)>;
    using Show = std::function<void(const LightingSnapshot&)>;
    using Tell = std::function<void(std::string_view key, const std::string& text)>;

    // `show` and `tell` run on the window's thread, through `toWindow`.
    LightingPanelModel(KeyboardApp& app, const base::TextLookup& texts, PostToWindow toWindow, Show show, Tell tell);

    // Shows the lighting as the keyboard thread has it now.
    void Refresh();

    void ChooseEffect(int listIndex);
    void SetBrightness(int position);
    // The slider's position; the speed is 4 minus it.
    void SetSpeed(int position);
    void ChooseDirection(uint8_t direction);
    void ChooseColour(lighting::RgbColor colour);
    void ToggleMulticolour();
    void ChoosePreset(int preset);
    void ChooseColourChoice(int colourChoice);
    // Turning off redraws the key buttons with their assignments.
    void ToggleLightingView();
    void PaintKey(uint32_t controlId);
    void ChoosePaintColour(lighting::RgbColor colour);
    void ChooseBaseColour(lighting::RgbColor colour);
    void ChooseTool(int tool);
    void ChooseUserMode(int userMode);
    void RenameUserMode(std::string name);
    // What the field shows now; the model follows on the keyboard thread.
    std::string EditNumberField(int field, std::string_view text);

private:
    struct Outcome {
        bool ok = true;
        std::string problem;  // what went wrong, in a clause
        bool readBack = true;  // after a failure: the keyboard's lighting was read again
    };
    using Change = std::function<Outcome(lighting::LightingController&)>;
    Change Writes(std::function<int(lighting::LightingController&)> write) const;
    static Change Saves(std::function<bool(lighting::LightingController&)> save);

    // `field` empty: never replaced by a later change.
    void Post(Change change, std::string field = {});
    std::shared_ptr<LightingSnapshot> Snapshot() const;

    KeyboardApp& app_;
    const base::TextLookup& texts_;
    PostToWindow toWindow_;
    Show show_;
    Tell tell_;
    bool telling_ = false;  // window thread: a failure is being told
};

}  // namespace trevolin::app
