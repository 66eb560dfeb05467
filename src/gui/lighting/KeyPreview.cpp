#include "gui/lighting/KeyPreview.h"

namespace trevolin::gui {

namespace lp = lighting::preview;

namespace {

constexpr uint8_t PerKeyEffect = 20;

}  // namespace

KeyPreview::KeyPreview(QObject* parent, TintChanged tintChanged)
    : QObject(parent), tintChanged_(std::move(tintChanged)), timer_(this)
{
    timer_.setSingleShot(true);
    timer_.setInterval(FramePeriodMs);
    // Started again after each frame: a slow frame stretches the period
    // instead of piling frames up.
    connect(&timer_, &QTimer::timeout, this, [this] {
        RunFrame();
        Update();
    });
}

void KeyPreview::Show(const app::LightingSnapshot& lighting)
{
    const lighting::LightMode& mode = lighting.mode;
    const lp::PreviewSettings settings{mode.mode, mode.direction, static_cast<uint8_t>(mode.multicolour ? 255 : 0),
                                       lp::TintColor{mode.colour.red, mode.colour.green, mode.colour.blue}};
    if (settings.mode != settings_.mode)
        engine_.RequestReset();
    settings_ = settings;
    viewOn_ = lighting.viewOn;
    perKey_ = settings.mode == PerKeyEffect;
    for (size_t i = 0; i < perKeyTints_.size(); ++i) {
        const auto& c = lighting.tints[i];
        perKeyTints_[i] = c ? Tint(QColor(c->red, c->green, c->blue)) : std::nullopt;
    }
    if (!viewOn_) {
        ClearAll();
    } else if (perKey_) {
        for (size_t i = 0; i < perKeyTints_.size(); ++i)
            SetTint(i, perKeyTints_[i]);
    }
    Update();
}

void KeyPreview::SetWindowShown(bool shown)
{
    windowShown_ = shown;
    Update();
}

void KeyPreview::Update()
{
    const bool animate = viewOn_ && !perKey_ && windowShown_;
    if (animate && !timer_.isActive())
        timer_.start();
    else if (!animate)
        timer_.stop();
}

void KeyPreview::RunFrame()
{
    if (!viewOn_ || perKey_)
        return;
    const lp::PreviewTints& frame = engine_.Frame(settings_, true);
    for (size_t i = 0; i < frame.size(); ++i) {
        switch (frame[i].change) {
        case lp::TintChange::Keep:
            break;
        case lp::TintChange::Clear:
            SetTint(i, std::nullopt);
            break;
        case lp::TintChange::Set:
            SetTint(i, QColor(frame[i].color.red, frame[i].color.green, frame[i].color.blue));
            break;
        }
    }
}

void KeyPreview::SetTint(size_t button, const Tint& tint)
{
    if (tints_[button] == tint)
        return;
    tints_[button] = tint;
    tintChanged_(button, tint);
}

void KeyPreview::ClearAll()
{
    for (size_t i = 0; i < tints_.size(); ++i)
        SetTint(i, std::nullopt);
}

}  // namespace trevolin::gui
