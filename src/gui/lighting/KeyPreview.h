#pragma once

#include "core/app/LightingPanelModel.h"
#include "core/lighting/preview/PreviewEngine.h"
#include "core/lighting/preview/SystemRandomSource.h"

#include <QColor>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

namespace trevolin::gui {

// The lighting on the on-screen keys: the per-key colours of effect 20 as
// the keyboard holds them, or the chosen effect animated by the preview
// engine, 20 frames a second. The frame timer is single-shot and started
// again after each frame, and it runs only while the window can be seen and
// the lighting view is on: hidden in the tray, the program does nothing per
// frame. Only keys whose tint changed are handed on.
class KeyPreview final : public QObject {
    Q_OBJECT
public:
    static constexpr int FramePeriodMs = 50;
    using Tint = std::optional<QColor>;
    // Button index (the preview's order) and its new tint.
    using TintChanged = std::function<void(size_t button, const Tint& tint)>;

    KeyPreview(QObject* parent, TintChanged tintChanged);

    void Show(const app::LightingSnapshot& lighting);
    void SetWindowShown(bool shown);

    bool Running() const { return timer_.isActive(); }
    const Tint& TintOf(size_t button) const { return tints_[button]; }
    // One frame now, as the timer would run it (tests, the benchmark).
    void RunFrame();

private:
    void Update();
    void SetTint(size_t button, const Tint& tint);
    void ClearAll();

    TintChanged tintChanged_;
    lighting::preview::SystemRandomSource random_;
    lighting::preview::PreviewEngine engine_{random_};
    lighting::preview::PreviewSettings settings_;
    QTimer timer_;
    bool viewOn_ = false;
    bool windowShown_ = false;
    bool perKey_ = false;  // effect 20: the keyboard's colours, no animation
    std::array<Tint, lighting::preview::PreviewButtonCount> tints_{};
    std::array<Tint, lighting::preview::PreviewButtonCount> perKeyTints_{};
};

}  // namespace trevolin::gui
