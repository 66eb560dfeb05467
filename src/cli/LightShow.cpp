#include "cli/LightShow.h"

#include "core/lighting/EffectNames.h"

#include "cli/LightArguments.h"
#include "cli/ProfileNumber.h"
#include "core/keyboard/KeyByName.h"
#include "core/lighting/EffectCatalogue.h"
#include "core/lighting/PanelControls.h"

#include <fmt/format.h>

#include <string>
#include <vector>

namespace trevolin::cli {

namespace {

// The controls the effect uses, by the names the command line gives them.
std::vector<std::string> ControlsOf(int effect)
{
    const auto traits = lighting::FindEffect(effect);
    if (!traits)
        return {};
    std::vector<std::string> controls{"brightness"};
    if (traits->speed)
        controls.emplace_back("speed");
    if (traits->direction != lighting::DirectionKind::None)
        controls.emplace_back("direction");
    if (traits->colourGroup != lighting::ColourGroup::None) {
        controls.emplace_back("colour");
        controls.emplace_back("multicolour");
    }
    if (traits->colourChoice)
        controls.emplace_back("colour-choice");
    if (traits->userGroup)
        controls.emplace_back("per-key");
    return controls;
}

bool Uses(const std::vector<std::string>& controls, std::string_view control)
{
    for (const auto& c : controls) {
        if (c == control)
            return true;
    }
    return false;
}

}  // namespace

LightShow::LightShow(const lighting::LightingController& controller, const base::TextLookup& texts, int profile,
                     bool perKeyOffered, std::optional<lighting::ColourPage> keyColours)
    : controller_(controller),
      texts_(texts),
      profile_(profile),
      perKeyOffered_(perKeyOffered),
      keyColours_(std::move(keyColours))
{
}

void LightShow::PrintText(std::ostream& out) const
{
    const lighting::LightMode& mode = controller_.Mode();
    const auto controls = ControlsOf(mode.mode);
    const auto unused = [&](std::string_view control) {
        return Uses(controls, control) ? std::string() : std::string("   (not used by this effect)");
    };
    out << fmt::format("Profile            {}\n", ProfileNumberOf(profile_))
        << fmt::format("Effect             {}  {}{}\n", mode.mode, lighting::EffectName(texts_, mode.mode),
                       lighting::FindEffect(mode.mode) ? "" : "   (not handled by this program)")
        << fmt::format("Brightness         {}{}\n", mode.brightness, unused("brightness"))
        << fmt::format("Speed              {}{}\n", lighting::SliderMaxPosition - mode.speed, unused("speed"))
        << fmt::format("Direction          {}{}\n", DirectionName(mode.mode, mode.direction), unused("direction"))
        << fmt::format("Multicolour        {}{}\n", mode.multicolour ? "on" : "off", unused("multicolour"))
        << fmt::format("Colour             {} ({}){}\n", ColourNumbers(mode.colour), ColourHex(mode.colour),
                       unused("colour"))
        << fmt::format("Colour choice      {} ({}){}\n", mode.colourChoice, ColourChoiceName(mode.colourChoice),
                       unused("colour-choice"))
        << fmt::format("Report rate        {}\n", mode.reportRate);
    if (perKeyOffered_) {
        const auto& editor = controller_.Editor();
        const auto& settings = editor.Settings();
        const auto& names = editor.UserModeNames();
        const auto chosen = static_cast<size_t>(editor.ChosenUserMode());
        out << fmt::format("User mode          {}  {}\n", chosen, chosen < names.size() ? names[chosen] : "")
            << fmt::format("Brush              {} ({})\n", settings.tool,
                           settings.tool == 1 ? "paints with the base colour" : "paints with the paint colour")
            << fmt::format("Paint colour       {}\n", ColourNumbers(settings.paintColour))
            << fmt::format("Base colour        {}\n", ColourNumbers(settings.baseColour));
        if (keyColours_)
            out << "Key colours        'trevolinctl light page' lists them\n";
    }
    out << "Effects\n";
    for (const uint8_t effect : controller_.Effects().Effects())
        out << fmt::format("  {:>3}  {}\n", effect, lighting::EffectName(texts_, effect));
}

nlohmann::json LightShow::Json() const
{
    const lighting::LightMode& mode = controller_.Mode();
    nlohmann::json j;
    j["profile"] = profile_;
    j["profileNumber"] = ProfileNumberOf(profile_);
    j["effect"] = {{"number", mode.mode}, {"name", lighting::EffectName(texts_, mode.mode)}};
    j["controls"] = ControlsOf(mode.mode);
    j["brightness"] = mode.brightness;
    j["speed"] = lighting::SliderMaxPosition - mode.speed;
    j["direction"] = DirectionName(1, mode.direction);
    j["multicolour"] = mode.multicolour;
    j["colour"] = ColourHex(mode.colour);
    j["colourChoice"] = mode.colourChoice;
    j["reportRate"] = mode.reportRate;
    j["effects"] = nlohmann::json::array();
    for (const uint8_t effect : controller_.Effects().Effects())
        j["effects"].push_back({{"number", effect}, {"name", lighting::EffectName(texts_, effect)}});
    if (perKeyOffered_) {
        const auto& editor = controller_.Editor();
        const auto& settings = editor.Settings();
        nlohmann::json perKey;
        perKey["userMode"] = editor.ChosenUserMode();
        perKey["userModeNames"] = editor.UserModeNames();
        perKey["tool"] = settings.tool;
        perKey["paintColour"] = ColourHex(settings.paintColour);
        perKey["baseColour"] = ColourHex(settings.baseColour);
        if (keyColours_) {
            nlohmann::json keys = nlohmann::json::object();
            for (const keyboard::NamedKey& named : keyboard::KeyNameTable()) {
                const auto key = keyboard::FindKeyButton(named.controlId);
                const uint8_t light = key ? keyboard::LightPositionOf(*key) : keyboard::NoLight;
                if (keyboard::HasLight(light))
                    keys[std::string(named.name)] = ColourHex(keyColours_->At(light));
            }
            perKey["keys"] = std::move(keys);
        }
        j["perKey"] = std::move(perKey);
    }
    return j;
}

}  // namespace trevolin::cli
