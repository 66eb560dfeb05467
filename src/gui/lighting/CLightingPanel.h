#pragma once

#include "core/app/LightingPanelModel.h"
#include "core/base/TextLookup.h"
#include "core/skin/SkinIni.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QPixmap>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace trevolin::gui {

class CColourButton;
class CImageSlider;
class CPictureButton;

// The lighting panel of the main window: its labels, pictures, lists,
// sliders, colour pickers and number fields, placed where the skin says.
// It shows what a snapshot of the keyboard thread holds and passes on what
// the user does; a refresh never reads as a user's change (signals are
// blocked while it runs), so showing the keyboard's state never writes it
// back. The report-rate buttons and the progress indicator are the
// window's own.
class CLightingPanel final : public QObject {
    Q_OBJECT
public:
    using PictureLoader = std::function<QPixmap(const QString& name)>;

    CLightingPanel(QWidget& window, const skin::SkinIni& skin, PictureLoader load, const base::TextLookup& texts);

    void SetModel(app::LightingPanelModel* model) { model_ = model; }
    void Show(const app::LightingSnapshot& lighting);
    // Names every control for screen readers, in the current language.
    void NameControls();

    // For tests and the focus order.
    QWidget* Control(uint16_t id) const;
    const std::map<uint16_t, QWidget*>& Controls() const { return controls_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class Widget>
    Widget* Add(uint16_t id);
    void Connect();
    QPixmap Load(const std::string& name);
    void ShowList(QComboBox& list, const std::vector<std::string>& entries, int selected);
    void PlaceDirectionGroup(const lighting::DirectionSkinNames& names);
    void RenameUserMode(const QString& text);

    QWidget& window_;
    const skin::SkinIni& skin_;
    PictureLoader load_;
    const base::TextLookup& texts_;
    app::LightingPanelModel* model_ = nullptr;
    std::map<uint16_t, QWidget*> controls_;
    std::map<std::string, QPixmap> pictures_;
    std::optional<app::LightingSnapshot> shown_;
};

}  // namespace trevolin::gui
