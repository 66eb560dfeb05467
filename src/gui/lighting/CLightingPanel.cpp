#include "gui/lighting/CLightingPanel.h"

#include "core/app/MainWindowControls.h"
#include "core/app/WindowMessages.h"
#include "core/lighting/PanelControls.h"
#include "gui/lighting/CColourButton.h"
#include "gui/lighting/CImageSlider.h"
#include "gui/lighting/CPictureButton.h"
#include "gui/skin/SkinLayout.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFont>
#include <QPalette>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

namespace trevolin::gui {

namespace lc = lighting::control;

namespace {

constexpr std::array PictureButtons = {lc::DengStaPic, lc::BLFXLStaPic, lc::BLFXRStaPic, lc::HXsjsStaPic,
                                       lc::FYSJSStaPic, lc::HongPic,     lc::HuangPic,    lc::LvPic,
                                       lc::LanPic,      lc::USERgjStaPic1, lc::USERgjStaPic2};
constexpr std::array ColourButtons = {lc::HXysButton, lc::FYYSButton, lc::USERysButton, lc::USERjsButton};
constexpr std::array Sliders = {lc::LightSlider, lc::SpeedSlider};
// The number fields' longest text.
constexpr int NumberFieldLength = 3;
// A user mode's name as the list shows it.
constexpr int UserModeNameLength = 32;

template <size_t N>
bool IsOneOf(const std::array<uint16_t, N>& ids, uint16_t id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool IsPreset(uint16_t id)
{
    return std::any_of(lighting::ColourPresets().begin(), lighting::ColourPresets().end(),
                       [id](const lighting::ColourPreset& p) { return p.id == id; });
}

QColor ToQColor(lighting::RgbColor c)
{
    return QColor(c.red, c.green, c.blue);
}

lighting::RgbColor FromQColor(const QColor& c)
{
    return lighting::RgbColor{static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
                              static_cast<uint8_t>(c.blue())};
}

// The panel's text: the skin's face at the skin's sizes. Colours come from
// the program's dark palette; a style sheet would cost the panel a second
// style engine (about a megabyte) for the same look.
QFont PanelFont(int pixels, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

CLightingPanel::CLightingPanel(QWidget& window, const skin::SkinIni& skin, PictureLoader load,
                               const base::TextLookup& texts)
    : QObject(&window), window_(window), skin_(skin), load_(std::move(load)), texts_(texts)
{
    for (const lighting::PanelControlInfo& info : lighting::PanelControlTable()) {
        const uint16_t id = info.id;
        // The window has these: the report-rate buttons and the indicator.
        if (IsOneOf(lighting::ReportRateButtons, id) || id == lc::JDTStatic)
            continue;
        QWidget* control = nullptr;
        if (IsOneOf(PictureButtons, id) || IsPreset(id)) {
            auto* button = Add<CPictureButton>(id);
            button->setCheckable(!IsPreset(id));
            control = button;
        } else if (IsOneOf(ColourButtons, id)) {
            control = Add<CColourButton>(id);
        } else if (IsOneOf(Sliders, id)) {
            control = Add<CImageSlider>(id);
        } else if (id == lc::XGcombox || id == lc::UmCombo) {
            auto* list = Add<QComboBox>(id);
            list->setFont(PanelFont(13));
            // A step of the list by the wheel or an arrow key would write
            // to the keyboard: only a choice made in the open list counts.
            list->installEventFilter(this);
            list->setFocusPolicy(Qt::StrongFocus);
            if (id == lc::UmCombo) {
                list->setEditable(true);
                list->setInsertPolicy(QComboBox::NoInsert);
                list->lineEdit()->setMaxLength(UserModeNameLength);
            }
            control = list;
        } else if (IsOneOf(lighting::NumberFields, id)) {
            auto* field = Add<QLineEdit>(id);
            field->setFont(PanelFont(13));
            field->setMaxLength(NumberFieldLength + 1);
            field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            control = field;
        } else {
            auto* label = Add<QLabel>(id);
            label->setFont(PanelFont(id == lc::DengStatic ? 14 : 13, id == lc::DengStatic));
            if (id != lc::DengStatic) {
                // Labels a little quieter than the values beside them.
                QPalette quiet = label->palette();
                quiet.setColor(QPalette::WindowText, QColor(0xaa, 0xb2, 0xc0));
                label->setPalette(quiet);
            }
            control = label;
        }
        static_cast<void>(SkinLayout::PlaceControl(*control, skin_, skin::SkinIni::ButtonInfo, info.skinName));
        control->setObjectName(QString::fromUtf8(info.skinName.data(), static_cast<qsizetype>(info.skinName.size())));
        control->hide();
    }
    Connect();
}

template <class Widget>
Widget* CLightingPanel::Add(uint16_t id)
{
    auto* widget = new Widget(&window_);
    controls_[id] = widget;
    return widget;
}

QWidget* CLightingPanel::Control(uint16_t id) const
{
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QPixmap CLightingPanel::Load(const std::string& name)
{
    if (name.empty())
        return {};
    auto [at, added] = pictures_.try_emplace(name);
    if (added)
        at->second = load_(QString::fromStdString(name));
    return at->second;
}

void CLightingPanel::Connect()
{
    const auto button = [this](uint16_t id) { return static_cast<CPictureButton*>(Control(id)); };
    const auto colour = [this](uint16_t id) { return static_cast<CColourButton*>(Control(id)); };
    const auto act = [this](auto f) {
        return [this, f] {
            if (model_)
                f(*model_);
        };
    };
    connect(button(lc::DengStaPic), &QAbstractButton::clicked, this,
            act([](app::LightingPanelModel& m) { m.ToggleLightingView(); }));
    connect(button(lc::BLFXLStaPic), &QAbstractButton::clicked, this,
            act([](app::LightingPanelModel& m) { m.ChooseDirection(lighting::LightMode::DirectionLeft); }));
    connect(button(lc::BLFXRStaPic), &QAbstractButton::clicked, this,
            act([](app::LightingPanelModel& m) { m.ChooseDirection(lighting::LightMode::DirectionRight); }));
    for (const uint16_t id : {lc::HXsjsStaPic, lc::FYSJSStaPic})
        connect(button(id), &QAbstractButton::clicked, this,
                act([](app::LightingPanelModel& m) { m.ToggleMulticolour(); }));
    for (size_t c = 0; c < lighting::ColourChoicePictures.size(); ++c)
        connect(button(lighting::ColourChoicePictures[c]), &QAbstractButton::clicked, this,
                act([c](app::LightingPanelModel& m) { m.ChooseColourChoice(static_cast<int>(c)); }));
    for (size_t p = 0; p < lighting::PresetCount; ++p)
        connect(button(lighting::ColourPresets()[p].id), &QAbstractButton::clicked, this,
                act([p](app::LightingPanelModel& m) { m.ChoosePreset(static_cast<int>(p)); }));
    connect(button(lc::USERgjStaPic1), &QAbstractButton::clicked, this,
            act([](app::LightingPanelModel& m) { m.ChooseTool(0); }));
    connect(button(lc::USERgjStaPic2), &QAbstractButton::clicked, this,
            act([](app::LightingPanelModel& m) { m.ChooseTool(1); }));

    for (const uint16_t id : {lc::HXysButton, lc::FYYSButton})
        connect(colour(id), &CColourButton::ColourChosen, this, [this](const QColor& c) {
            if (model_)
                model_->ChooseColour(FromQColor(c));
        });
    connect(colour(lc::USERysButton), &CColourButton::ColourChosen, this, [this](const QColor& c) {
        if (model_)
            model_->ChoosePaintColour(FromQColor(c));
    });
    connect(colour(lc::USERjsButton), &CColourButton::ColourChosen, this, [this](const QColor& c) {
        if (model_)
            model_->ChooseBaseColour(FromQColor(c));
    });

    // Signals are blocked while a snapshot is shown: these are the user's.
    connect(static_cast<CImageSlider*>(Control(lc::LightSlider)), &QSlider::valueChanged, this, [this](int v) {
        if (model_)
            model_->SetBrightness(v);
    });
    connect(static_cast<CImageSlider*>(Control(lc::SpeedSlider)), &QSlider::valueChanged, this, [this](int v) {
        if (model_)
            model_->SetSpeed(v);
    });
    connect(static_cast<QComboBox*>(Control(lc::XGcombox)), &QComboBox::activated, this, [this](int index) {
        if (model_)
            model_->ChooseEffect(index);
    });
    auto* userModes = static_cast<QComboBox*>(Control(lc::UmCombo));
    connect(userModes, &QComboBox::activated, this, [this](int index) {
        if (model_)
            model_->ChooseUserMode(index);
    });
    connect(userModes->lineEdit(), &QLineEdit::textEdited, this, &CLightingPanel::RenameUserMode);
    for (size_t f = 0; f < lighting::NumberFields.size(); ++f) {
        auto* field = static_cast<QLineEdit*>(Control(lighting::NumberFields[f]));
        connect(field, &QLineEdit::textEdited, this, [this, field, f](const QString& text) {
            if (!model_)
                return;
            const QString shown =
                QString::fromStdString(model_->EditNumberField(static_cast<int>(f), text.toStdString()));
            if (shown != text)
                field->setText(shown);
        });
    }
}

void CLightingPanel::RenameUserMode(const QString& text)
{
    auto* list = static_cast<QComboBox*>(Control(lc::UmCombo));
    const int index = list->currentIndex();
    if (!model_ || index < 0)
        return;
    // The item's text only: taking the item out and back in would read the
    // mode's page from the keyboard at every keystroke.
    // Trimmed, and not while the field is empty (the user is typing a new
    // name); a line edit keeps line breaks out.
    const QString name = text.trimmed();
    if (name.isEmpty())
        return;
    const QSignalBlocker quiet(list);
    list->setItemText(index, name);
    model_->RenameUserMode(name.toStdString());
}

void CLightingPanel::ShowList(QComboBox& list, const std::vector<std::string>& entries, int selected)
{
    const QSignalBlocker quiet(&list);
    bool same = list.count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < list.count(); ++i)
        same = list.itemText(i).toStdString() == entries[static_cast<size_t>(i)];
    if (!same) {
        list.clear();
        for (const std::string& entry : entries)
            list.addItem(QString::fromStdString(entry));
    }
    list.setCurrentIndex(selected);
}

void CLightingPanel::PlaceDirectionGroup(const lighting::DirectionSkinNames& names)
{
    static_cast<void>(SkinLayout::PlaceControl(*Control(lc::BLFXStatic), skin_, skin::SkinIni::ButtonInfo, names.label));
    static_cast<void>(SkinLayout::PlaceControl(*Control(lc::BLFXLStaPic), skin_, skin::SkinIni::ButtonInfo, names.left));
    static_cast<void>(
        SkinLayout::PlaceControl(*Control(lc::BLFXRStaPic), skin_, skin::SkinIni::ButtonInfo, names.right));
}

void CLightingPanel::Show(const app::LightingSnapshot& lighting)
{
    const lighting::PanelView& panel = lighting.panel;
    const bool effectChanged = !shown_ || shown_->mode.mode != lighting.mode.mode;
    std::vector<QSignalBlocker> quiet;
    for (const auto& [id, control] : controls_)
        quiet.emplace_back(control);

    for (const auto& [id, text] : panel.labels) {
        if (auto* label = qobject_cast<QLabel*>(Control(id)))
            label->setText(QString::fromStdString(text));
    }
    for (const auto& [id, control] : controls_) {
        if (auto* button = qobject_cast<CPictureButton*>(control))
            button->SetPicture(Load(panel.Picture(id)));
    }
    const auto chosen = [&panel](uint16_t id) {
        const std::string picture = panel.Picture(id);
        return picture.find("down.") != std::string::npos || picture.find("ok.") != std::string::npos;
    };
    for (const uint16_t id : PictureButtons)
        static_cast<CPictureButton*>(Control(id))->setChecked(chosen(id));

    std::array<QPixmap, CImageSlider::Positions> brightness;
    std::array<QPixmap, CImageSlider::Positions> speed;
    for (int p = 0; p < CImageSlider::Positions; ++p) {
        brightness[static_cast<size_t>(p)] = Load(lighting::BrightnessPicture(p));
        speed[static_cast<size_t>(p)] = Load(lighting::SpeedPicture(p));
    }
    auto* brightnessSlider = static_cast<CImageSlider*>(Control(lc::LightSlider));
    auto* speedSlider = static_cast<CImageSlider*>(Control(lc::SpeedSlider));
    brightnessSlider->SetPictures(brightness);
    speedSlider->SetPictures(speed);
    // A drag in progress keeps its position: the snapshot may be one step
    // behind the user's hand.
    if (!brightnessSlider->isSliderDown())
        brightnessSlider->setValue(panel.brightnessPosition);
    if (!speedSlider->isSliderDown())
        speedSlider->setValue(panel.speedPosition);

    static_cast<CColourButton*>(Control(lc::HXysButton))->SetColour(ToQColor(panel.groupAColour));
    static_cast<CColourButton*>(Control(lc::FYYSButton))->SetColour(ToQColor(panel.groupBColour));
    static_cast<CColourButton*>(Control(lc::USERysButton))->SetColour(ToQColor(panel.paintColour));
    static_cast<CColourButton*>(Control(lc::USERjsButton))->SetColour(ToQColor(panel.baseColour));

    ShowList(*static_cast<QComboBox*>(Control(lc::XGcombox)), panel.effectNames, panel.selectedEffect);
    auto* userModes = static_cast<QComboBox*>(Control(lc::UmCombo));
    if (!userModes->lineEdit()->hasFocus())
        ShowList(*userModes, panel.userModeNames, panel.selectedUserMode);
    for (size_t f = 0; f < lighting::NumberFields.size(); ++f) {
        auto* field = static_cast<QLineEdit*>(Control(lighting::NumberFields[f]));
        if (!field->hasFocus())
            field->setText(QString::fromStdString(panel.numberFields[f]));
    }
    PlaceDirectionGroup(panel.directionGroup);

    QWidget* focused = window_.focusWidget();
    for (const auto& [id, control] : controls_)
        control->setVisible(panel.IsVisible(id));
    // A control that went away takes the focus with it: it moves on.
    if (focused && !focused->isVisible() && window_.isActiveWindow()) {
        if (QWidget* next = focused->nextInFocusChain(); next && next != focused)
            next->setFocus(Qt::TabFocusReason);
    }
    shown_ = lighting;
    // The direction pictures' names follow the effect.
    if (effectChanged)
        NameControls();
}

void CLightingPanel::NameControls()
{
    const int effect = shown_ ? shown_->mode.mode : 0;
    for (const auto& [id, control] : controls_) {
        const std::string name = app::PanelAccessibleNameOf(id, effect, texts_);
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            // On Linux a list's name is what it shows; what it is for is
            // its description, and the name of the list that opens.
            list->setAccessibleDescription(QString::fromStdString(name));
            list->view()->setAccessibleName(QString::fromStdString(name));
            if (list->lineEdit())
                list->lineEdit()->setAccessibleName(QString::fromStdString(name));
        }
        if (!name.empty())
            control->setAccessibleName(QString::fromStdString(name));
        else if (auto* label = qobject_cast<QLabel*>(control))
            control->setAccessibleName(label->text());
    }
    for (const uint16_t id : ColourButtons) {
        static_cast<CColourButton*>(Control(id))
            ->SetTexts(QString::fromStdString(app::TextOr(texts_, "ACC_COLOR_AUTOMATIC", "Automatic")),
                       QString::fromStdString(app::TextOr(texts_, "ACC_COLOR_OTHER", "Other...")));
    }
}

bool CLightingPanel::eventFilter(QObject* watched, QEvent* event)
{
    auto* list = qobject_cast<QComboBox*>(watched);
    if (!list)
        return false;
    if (event->type() == QEvent::Wheel)
        return true;
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::AltModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            // The user mode's name field keeps Home and End for the text.
            if (list->isEditable() && (key->key() == Qt::Key_Home || key->key() == Qt::Key_End))
                return false;
            list->showPopup();
            return true;
        default:
            return false;
        }
    }
    return false;
}

}  // namespace trevolin::gui
