#include "core/app/LightingPanelModel.h"

#include "core/app/WindowMessages.h"
#include "core/base/FormatText.h"
#include "core/device/ResultDescription.h"
#include "core/lighting/preview/PreviewTints.h"

#include <utility>

namespace trevolin::app {

LightingPanelModel::LightingPanelModel(KeyboardApp& app, const base::TextLookup& texts, PostToWindow toWindow,
                                       Show show, Tell tell)
    : app_(app), texts_(texts), toWindow_(std::move(toWindow)), show_(std::move(show)), tell_(std::move(tell))
{
}

LightingPanelModel::Change LightingPanelModel::Writes(std::function<int(lighting::LightingController&)> write) const
{
    return [this, write = std::move(write)](lighting::LightingController& c) {
        const int result = write(c);
        Outcome o;
        o.ok = result == device::ResultOk;
        if (!o.ok)
            o.problem = device::DescribeResult(result, texts_);
        return o;
    };
}

LightingPanelModel::Change LightingPanelModel::Saves(std::function<bool(lighting::LightingController&)> save)
{
    return [save = std::move(save)](lighting::LightingController& c) {
        Outcome o;
        o.ok = save(c);
        if (!o.ok)
            o.problem = "the user modes could not be written to their file";
        return o;
    };
}

std::shared_ptr<LightingSnapshot> LightingPanelModel::Snapshot() const
{
    auto s = std::make_shared<LightingSnapshot>();
    const lighting::LightingController& c = app_.Lighting();
    s->panel = c.View(texts_);
    s->mode = c.Mode();
    s->viewOn = c.LightingViewOn();
    for (size_t i = 0; i < s->tints.size(); ++i)
        s->tints[i] = app_.Tints().Get(lighting::preview::KeyOfButton(i));
    return s;
}

void LightingPanelModel::Post(Change change, std::string field)
{
    struct Done {
        Outcome outcome;
        std::shared_ptr<LightingSnapshot> snapshot;
    };
    static_cast<void>(app_.Post(
        [this, change = std::move(change)] {
            Done d;
            d.outcome = change(app_.Lighting());
            if (!d.outcome.ok) {
                // Shown as the keyboard holds it, not as it was meant.
                d.outcome.readBack = app_.Lighting().OnLightingChanged() == device::ResultOk;
            }
            d.snapshot = Snapshot();
            return d;
        },
        [this](Done d) {
            toWindow_([this, d = std::move(d)] {
                show_(*d.snapshot);
                // One message at a time: a slider dragged on a keyboard that
                // refuses every write would otherwise stack them up.
                if (d.outcome.ok || telling_)
                    return;
                telling_ = true;
                tell_(d.outcome.readBack ? message::LightFailed : message::LightUnread,
                      d.outcome.readBack
                          ? base::FormatText(TextOr(texts_, message::LightFailed,
                                                    "The keyboard did not take the lighting change: %s. The panel "
                                                    "shows what the keyboard holds now."),
                                             d.outcome.problem)
                          : base::FormatText(TextOr(texts_, message::LightUnread,
                                                    "The keyboard did not take the lighting change: %s. It could not "
                                                    "be read back either, so the panel may not show what it holds: "
                                                    "unplug it and plug it in again."),
                                             d.outcome.problem));
                telling_ = false;
            });
        },
        std::move(field)));
}

void LightingPanelModel::Refresh()
{
    Post([](lighting::LightingController&) { return Outcome{}; }, "lighting snapshot");
}

void LightingPanelModel::ChooseEffect(int listIndex)
{
    Post(Writes([listIndex](auto& c) { return c.EffectChanged(listIndex); }), "effect");
}

void LightingPanelModel::SetBrightness(int position)
{
    Post(Writes([position](auto& c) { return c.BrightnessChanged(position); }), "brightness");
}

void LightingPanelModel::SetSpeed(int position)
{
    Post(Writes([position](auto& c) { return c.SpeedChanged(position); }), "speed");
}

void LightingPanelModel::ChooseDirection(uint8_t direction)
{
    Post(Writes([direction](auto& c) { return c.DirectionChosen(direction); }), "direction");
}

void LightingPanelModel::ChooseColour(lighting::RgbColor colour)
{
    // A preset writes the same fields: the last of them stands.
    Post(Writes([colour](auto& c) { return c.ColourChosen(colour); }), "colour");
}

void LightingPanelModel::ToggleMulticolour()
{
    Post(Writes([](auto& c) { return c.MulticolourToggled(); }));
}

void LightingPanelModel::ChoosePreset(int preset)
{
    Post(Writes([preset](auto& c) { return c.PresetChosen(preset); }), "colour");
}

void LightingPanelModel::ChooseColourChoice(int colourChoice)
{
    Post(Writes([colourChoice](auto& c) { return c.ColourChoiceChosen(colourChoice); }), "colour choice");
}

void LightingPanelModel::ToggleLightingView()
{
    Post([this](lighting::LightingController& c) {
        const bool wasOn = c.LightingViewOn();
        // Refused only when the user kept the profile from being selected:
        // the question was the telling.
        static_cast<void>(c.ToggleLightingView());
        if (wasOn && !c.LightingViewOn())
            app_.Profiles().RefreshKeyButtons();
        return Outcome{};
    });
}

void LightingPanelModel::PaintKey(uint32_t controlId)
{
    Post(Writes([controlId](auto& c) { return c.PaintKey(controlId); }));
}

void LightingPanelModel::ChoosePaintColour(lighting::RgbColor colour)
{
    Post(Saves([colour](auto& c) { return c.Editor().ChangePaintColour(colour); }), "paint colour");
}

void LightingPanelModel::ChooseBaseColour(lighting::RgbColor colour)
{
    Post(Writes([colour](auto& c) { return c.Editor().ChangeBaseColour(colour); }), "base colour");
}

void LightingPanelModel::ChooseTool(int tool)
{
    Post(Saves([tool](auto& c) { return c.Editor().ChooseTool(tool); }));
}

void LightingPanelModel::ChooseUserMode(int userMode)
{
    Post(Writes([userMode](auto& c) { return c.Editor().ChooseUserMode(userMode); }), "user mode");
}

void LightingPanelModel::RenameUserMode(std::string name)
{
    Post(Saves([name = std::move(name)](auto& c) { return c.Editor().RenameUserMode(name); }), "user mode name");
}

std::string LightingPanelModel::EditNumberField(int field, std::string_view text)
{
    Post(
        [field, text = std::string(text)](lighting::LightingController& c) {
            static_cast<void>(c.NumberFieldEdited(field, text));
            return Outcome{};
        },
        "number field " + std::to_string(field));
    return lighting::ClampNumberField(text);
}

}  // namespace trevolin::app
