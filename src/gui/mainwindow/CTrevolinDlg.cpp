#include "gui/mainwindow/CTrevolinDlg.h"

#include "core/base/FormatText.h"
#include "core/base/Language.h"
#include "core/app/MainWindowControls.h"
#include "core/base/ProgramVersion.h"
#include "core/app/WindowMessages.h"
#include "core/keyboard/KeyButtonState.h"
#include "core/keyboard/KeyClick.h"
#include "core/keyboard/KeyboardLayout.h"
#include "core/lighting/PanelControls.h"
#include "core/platform/FreeMemory.h"
#include "core/skin/MainSkin.h"
#include "core/skin/SkinIni.h"
#include "core/lighting/preview/PreviewTints.h"
#include "gui/lighting/CLightingPanel.h"
#include "gui/mainwindow/CNotice.h"
#include "gui/lighting/KeyPreview.h"
#include "gui/skin/CHyperLink.h"
#include "gui/skin/SkinLayout.h"
#include "gui/skin/SkinPictures.h"
#include "gui/tray/CTrayIcon.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QStandardPaths>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QPainter>
#include <QPushButton>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <optional>

namespace trevolin::gui {

namespace {

constexpr int BusyFramePeriodMs = 50;
constexpr int BusyShowDelayMs = 250;
// Below the notice: the gap and the "Read again" button.
constexpr int ReadAgainBand = 56;
constexpr QSize NoticeSize(640, 112);
constexpr std::string_view BusyKey = "CONTROL_JDTStatic";
// The keyboard's controls a missing keyboard disables besides the keys.
constexpr std::array KeyboardControls = {
    app::command::Apply,       app::command::Profile1,        app::command::Profile2,   app::command::Profile3,
    app::command::MacroButton, app::command::RestoreDefaults, app::control::ProfileName};
constexpr std::array WebControls = {1219u, 1220u, 1221u};

std::optional<QString> nextFileName;

}  // namespace

CTrevolinDlg::CTrevolinDlg(const base::Locations& locations, const base::TextLookup& texts, QWidget* parent)
    : CBaseDialog(QString::fromStdString(locations.MainSkinFile()), parent),
      locations_(locations),
      texts_(texts)
{
    // Popups belong to the window (Wayland places a popup by its parent).
    buttonMenu_.setParent(this, buttonMenu_.windowFlags());
    profileMenu_.setParent(this, profileMenu_.windowFlags());
    profileSubmenu_ = new QMenu(&buttonMenu_);
    languageSubmenu_ = new QMenu(&buttonMenu_);
    languageGroup_ = new QActionGroup(languageSubmenu_);
    busyTimer_.setInterval(BusyFramePeriodMs);
    connect(&busyTimer_, &QTimer::timeout, this, [this] {
        busyFrame_ = (busyFrame_ + 1) % static_cast<int>(busyFrames_.size());
        ShowBusyFrame();
    });
    // The indicator appears only for a sequence the user could wait on: a
    // quick one would only flash it, and cost the window two repaints.
    busyDelay_.setSingleShot(true);
    busyDelay_.setInterval(BusyShowDelayMs);
    connect(&busyDelay_, &QTimer::timeout, this, [this] {
        busyFrame_ = 0;
        ShowBusyFrame();
        busy_->show();
        busy_->raise();
        busyTimer_.start();
    });
}

CTrevolinDlg::~CTrevolinDlg() = default;

void CTrevolinDlg::SetNextFileName(const QString& name)
{
    nextFileName = name;
}

QString CTrevolinDlg::Text(std::string_view key) const
{
    return QString::fromStdString(texts_.Text(key));
}

bool CTrevolinDlg::Initialise()
{
    if (!InitSkin())
        return false;
    using skin::MainPicture;
    namespace ms = skin::main_skin;
    const auto load = [this](std::string_view name) { return Picture(QString::fromUtf8(name.data(), name.size())); };
    sources_.normal = load(ms::NormalPicture);
    sources_.hover = load(ms::OverPicture);
    sources_.pressed = load(ms::DownPicture);
    sources_.disabled = load(ms::DisablePicture);
    const QPixmap arrows = load(ms::ArrowPicture);
    flipOff_ = load(ms::Color0Picture);
    flipOn_ = load(ms::Color1Picture);
    for (const QPixmap* p : std::initializer_list<const QPixmap*>{&sources_.normal, &sources_.hover, &sources_.pressed,
                                                                  &sources_.disabled, &arrows, &flipOff_, &flipOn_}) {
        if (p->isNull())
            return false;
    }
    link_ = QString::fromStdString(Skin().String(skin::SkinIni::Screen, ms::LinkKey, ""));

    for (const std::string_view key : skin::MainCommandButtonKeys()) {
        // The Fn key comes with the keys below; a second button would lie
        // under it, nameless.
        if (key == "KEY_FN")
            continue;
        if (key == ms::LeftArrowKey || key == ms::RightArrowKey) {
            auto* arrow = new CPngButton(this);
            const bool left = key == ms::LeftArrowKey;
            const std::string_view down = left ? "DOWN_ARROW_LEFT1" : "DOWN_ARROW_RIGHT1";
            const std::string_view up = left ? "UP_ARROW_LEFT1" : "UP_ARROW_RIGHT1";
            static_cast<void>(SkinLayout::PlaceButtonWithFaceKey(*arrow, Skin(), skin::SkinIni::ButtonInfo, key,
                                                                 skin::SkinIni::ButtonInfo2, down, arrows));
            // The arrows point down without flip and up with it. Both faces
            // are cut where the down face lies: the up face is moved there.
            const auto downAt = Skin().Rect(skin::SkinIni::ButtonInfo2, down).rect;
            const auto upAt = Skin().Rect(skin::SkinIni::ButtonInfo2, up).rect;
            QPixmap upFace(arrows.size());
            upFace.setDevicePixelRatio(arrows.devicePixelRatio());
            upFace.fill(Qt::transparent);
            {
                QPainter painter(&upFace);
                painter.drawPixmap(QPoint(downAt.x - upAt.x, downAt.y - upAt.y), arrows);
            }
            arrow->SetOverride(arrows, upFace, true, false);
            arrow->setObjectName(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
            flipArrows_.push_back(arrow);
            continue;
        }
        AddButton(std::string(key), app::MainControlIdOf(key).value_or(0));
    }
    keyboard::ForEachKey(
        [this](keyboard::KeyRef key) {
            CPngButton* button = AddButton(keyboard::SkinNameOf(key), keyboard::ControlIdOf(key));
            keyButtons_.push_back(button);
            if (key.kind == keyboard::KeyKind::GKey) {
                // The bank label sits right of the key's own legend.
                button->SetTextStyle(true, 8, QStringLiteral("Arial Unicode MS"),
                                     {QColor(0x2f, 0xa8, 0xff), Qt::white, Qt::white, Qt::gray, Qt::white});
                button->SetMargins(-14, 0, 0, 0);
            }
        },
        keyboard::FnKeyVisit::Last);

    busy_ = new QLabel(this);
    static_cast<void>(SkinLayout::PlaceControl(*busy_, Skin(), skin::SkinIni::ButtonInfo, BusyKey));
    for (size_t i = 0; i < busyFrames_.size(); ++i) {
        // A missing frame leaves its picture empty; the indicator still turns.
        const QString frame = QStringLiteral("jdt%1.bmp").arg(i + 1);
        if (QFileInfo::exists(QString::fromStdString(locations_.SkinDirectory()) + frame))
            busyFrames_[i] = Picture(frame);
    }
    busy_->setScaledContents(true);
    busy_->hide();

    // Shown over the keyboard while there is none.
    // Drawn by the widgets themselves in the program's dark palette: a style
    // sheet would bring a second style engine (about a megabyte) along.
    noKeyboard_ = new CNotice(this);
    noKeyboard_->setAlignment(Qt::AlignCenter);
    noKeyboard_->setWordWrap(true);
    noKeyboard_->setMargin(12);
    QFont noticeFont(QStringLiteral("DejaVu Sans"));
    noticeFont.setPixelSize(15);
    noKeyboard_->setFont(noticeFont);
    noKeyboard_->setGeometry(QRect(QPoint(0, 0), NoticeSize));
    // Under the notice when the keyboard could not be read.
    readAgain_ = new QPushButton(this);
    QFont buttonFont = noticeFont;
    buttonFont.setPixelSize(14);
    readAgain_->setFont(buttonFont);
    readAgain_->setMinimumHeight(32);
    readAgain_->hide();
    connect(readAgain_, &QPushButton::clicked, this, [this] {
        if (model_)
            static_cast<void>(model_->ReadAgain());
    });

    if (CPngButton* version = Button(0)) {
        version->setText(QString());
        version->setEnabled(false);
    }
    for (const uint32_t web : WebControls) {
        // The maker's addresses are not known here.
        if (CPngButton* button = Button(web))
            button->hide();
    }
    if (CPngButton* indicator = Button(app::control::FlipIndicator))
        indicator->SetOverride(flipOff_, flipOn_, true, false);
    panel_ = new CLightingPanel(
        *this, Skin(), [this](const QString& name) { return Picture(name); }, texts_);
    preview_ =
        new KeyPreview(this, [this](size_t button, const std::optional<QColor>& tint) { ShowKeyTint(button, tint); });
    // Every button keeps only its own part of the whole-window pictures;
    // the window's background is the one whole picture that stays.
    for (CPngButton* button : findChildren<CPngButton*>())
        button->KeepOnlyOwnPart();
    sources_ = {};
    flipOff_ = QPixmap();
    flipOn_ = QPixmap();
    KeepBackgroundOnlyUnder(SeeThroughRegion());
    SkinPictures::Forget();
    Relabel();
    OrderFocus();
    SetKeyboardPresent(false);
    ShowKeyBank(false);
    return true;
}

CPngButton* CTrevolinDlg::AddButton(const std::string& skinKey, uint32_t controlId)
{
    auto* button = new CPngButton(this);
    CPngButton::Sources sources = sources_;
    if (const auto looks = skin::MainButtonPicturesOf(skinKey)) {
        const auto pick = [this](skin::MainPicture picture) -> const QPixmap& {
            switch (picture) {
            case skin::MainPicture::Over:
                return sources_.hover;
            case skin::MainPicture::Down:
                return sources_.pressed;
            case skin::MainPicture::Disable:
                return sources_.disabled;
            case skin::MainPicture::Normal:
                break;
            }
            return sources_.normal;
        };
        sources.hover = pick(looks->hover);
        sources.pressed = pick(looks->pressed);
        sources.disabled = pick(looks->disabled);
        sources.ticked = pick(looks->ticked);
    }
    static_cast<void>(SkinLayout::PlaceImageButton(*button, Skin(), skin::SkinIni::ButtonInfo, skinKey, sources));
    button->setObjectName(QString::fromStdString(skinKey));
    // A skin that leaves a button out disables it for good.
    keyPlaced_[controlId] = button->isEnabled();
    if (controlId != 0) {
        buttons_[controlId] = button;
        connect(button, &QAbstractButton::clicked, this, [this, controlId] { OnControl(controlId); });
    } else {
        buttons_.emplace(0, button);
    }
    return button;
}

CPngButton* CTrevolinDlg::Button(uint32_t controlId) const
{
    const auto it = buttons_.find(controlId);
    return it == buttons_.end() ? nullptr : it->second;
}

void CTrevolinDlg::Relabel()
{
    setWindowTitle(Text("MAIN_CAPTION"));
    const auto label = [this](uint32_t id, std::string_view key) {
        if (CPngButton* button = Button(id)) {
            button->SetTextStyle(
                true, id == app::command::Apply ? 10 : 9, QStringLiteral("Arial Unicode MS"),
                {QColor(0xe8, 0xec, 0xf2), Qt::white, Qt::white, QColor(0x6a, 0x70, 0x7c), QColor(0x2f, 0xa8, 0xff)});
            button->setText(Text(key));
        }
    };
    label(app::command::Profile1, "PROFILE_1");
    label(app::command::Profile2, "PROFILE_2");
    label(app::command::Profile3, "PROFILE_3");
    label(app::command::MacroButton, "PROFILE_MACRO");
    label(app::command::RestoreDefaults, "PROFILE_DEFAULT");
    label(app::command::Ok, "PROFILE_OK");
    label(app::command::Cancel, "PROFILE_CANCLE");
    label(app::command::Apply, "PROFILE_APPLY");
    const auto tip = [this](uint32_t id, std::string_view key) {
        if (CPngButton* button = Button(id))
            button->SetTipText(Text(key));
    };
    tip(app::control::Help, "MAIN_HELP_PROMPT");
    tip(app::command::Close, "MAIN_CLOSE_PROMPT");
    tip(app::control::Minimise, "MAIN_MINIMIZE_PROMPT");
    tip(app::control::ButtonMenu, "MAIN_MENU_PROMPT");
    if (CPngButton* name = Button(app::control::ProfileName)) {
        // The profile's name, level on its plate.
        name->SetTextStyle(true, 10, QStringLiteral("Arial Unicode MS"),
                           {Qt::white, QColor(255, 130, 0), QColor(255, 155, 4), QColor(127, 127, 127), Qt::white});
    }
    // Until the model says more (reading, or why there is none).
    if (noKeyboard_ && noKeyboard_->text().isEmpty())
        ShowNotice(texts_.Text("MAIN_NO_DEVICE_PROMPT"), Notice::Plain);
    BuildButtonMenu();
    NameControls();
    if (panel_)
        panel_->NameControls();
}

void CTrevolinDlg::BuildButtonMenu()
{
    // The profile submenu is made once and refilled: a new one at every
    // rebuild would stay behind as a child of the menu.
    buttonMenu_.clear();
    buttonMenu_.addAction(Text("MENU_1"), this, &CTrevolinDlg::Restore);
    buttonMenu_.addAction(Text("MENU_2"), this, &CTrevolinDlg::Backup);
    profileSubmenu_->clear();
    profileSubmenu_->setTitle(Text("MENU_6"));
    for (QAction* action : profileMenu_.actions())
        profileSubmenu_->addAction(action);
    buttonMenu_.addMenu(profileSubmenu_);
    languageSubmenu_->clear();
    languageSubmenu_->setTitle(Text("MENU_7"));
    for (int index = -1; index < static_cast<int>(base::Language::SupportedNames.size()); ++index) {
        const QString name = index < 0 ? Text("LANGUAGE_AUTOMATIC")
                                       : QString::fromUtf8(base::Language::SupportedNames[static_cast<size_t>(index)]);
        QAction* action = languageSubmenu_->addAction(name, this, [this, index] { emit LanguageChosen(index); });
        action->setCheckable(true);
        action->setChecked(index == languageChosen_);
        languageGroup_->addAction(action);
    }
    buttonMenu_.addMenu(languageSubmenu_);
    buttonMenu_.addSeparator();
    buttonMenu_.addAction(Text("MAIN_HELP_PROMPT"), this, &CTrevolinDlg::OpenHelp);
    buttonMenu_.addAction(Text("MENU_3"), this, &CTrevolinDlg::ShowAbout);
    buttonMenu_.addAction(Text("MENU_5"), this, [this] { emit UpdateDialogRequested(); });
    buttonMenu_.addSeparator();
    buttonMenu_.addAction(Text("MENU_4"), this, [this] {
        if (model_)
            model_->OnCommand(app::command::Exit);
    });
}

void CTrevolinDlg::ShowLanguageChoice(int chosen)
{
    languageChosen_ = chosen;
    for (QAction* action : languageSubmenu_->actions())
        action->setChecked(languageSubmenu_->actions().indexOf(action) - 1 == chosen);
}

void CTrevolinDlg::NameControls()
{
    for (const auto& [id, button] : buttons_) {
        if (id == 0) {
            button->setAccessibleName(QStringLiteral("Version"));
            continue;
        }
        button->setAccessibleName(QString::fromStdString(app::AccessibleNameOf(id, texts_, bankB_)));
    }
    for (CPngButton* arrow : flipArrows_)
        arrow->setAccessibleName(
            QString::fromStdString(app::TextOr(texts_, "ACC_ARROW", "Switch F1 to F4 and D1 to D6")));
    if (busy_)
        busy_->setAccessibleName(QString::fromStdString(app::TextOr(texts_, "ACC_BUSY", "Working with the keyboard")));
    if (readAgain_) {
        readAgain_->setText(QString::fromStdString(app::TextOr(texts_, app::message::ReadAgain, "Read again")));
        readAgain_->setAccessibleName(readAgain_->text());
    }
}

void CTrevolinDlg::OrderFocus()
{
    // Tab follows the window: top to bottom, then left to right, row by
    // row (a button up to half a key lower still counts as the same row);
    // the keyboard and the buttons around it first, then the lighting
    // panel's column.
    std::vector<QWidget*> order;
    for (CPngButton* button : findChildren<CPngButton*>(Qt::FindDirectChildrenOnly)) {
        if (!button->isHidden())
            order.push_back(button);
    }
    int panelLeft = width();
    if (panel_) {
        // Shown or hidden, as the effect decides later.
        for (const auto& [id, control] : panel_->Controls()) {
            order.push_back(control);
            panelLeft = std::min(panelLeft, control->geometry().x());
        }
    }
    constexpr int RowSlack = 12;
    std::stable_sort(order.begin(), order.end(), [panelLeft](const QWidget* a, const QWidget* b) {
        const bool panelA = a->geometry().x() >= panelLeft;
        const bool panelB = b->geometry().x() >= panelLeft;
        if (panelA != panelB)
            return panelB;
        const int rowA = a->geometry().center().y() / RowSlack;
        const int rowB = b->geometry().center().y() / RowSlack;
        if (rowA != rowB)
            return rowA < rowB;
        return a->geometry().x() < b->geometry().x();
    });
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void CTrevolinDlg::OnControl(uint32_t controlId)
{
    if (!model_)
        return;
    if (keyboard::FindKeyButton(controlId)) {
        model_->OnKeyClicked(controlId);
        return;
    }
    switch (controlId) {
    case app::control::ButtonMenu:
        // Under its button, whether it was clicked or pressed with Space.
        if (CPngButton* button = Button(app::control::ButtonMenu))
            buttonMenu_.popup(button->mapToGlobal(QPoint(0, button->height())));
        return;
    case app::control::ProfileName:
        emit ProfileManagerRequested();
        return;
    case app::control::Help:
        OpenHelp();
        return;
    case app::control::LogoLink:
        OpenLink(link_);
        return;
    case app::control::Minimise:
        // A window the tray brought back minimises to the task bar, like
        // any other; without a tray there is nowhere else.
        if (HasTray() && !shownFromTray_)
            HideWindow();
        else
            showMinimized();
        return;
    case app::command::MacroButton:
        emit KeyAssignmentRequested(keyboard::MacroOnlyControlId, keyboard::GKeyNumber(keyboard::GKeyCount - 1, bankB_),
                                    true);
        return;
    default:
        break;
    }
    if (const auto rate = lighting::ReportRateOfButton(controlId)) {
        model_->ChooseReportRate(*rate);
        return;
    }
    model_->OnCommand(controlId);
}

// --- The model's view ---------------------------------------------------------------

void CTrevolinDlg::ShowWindow()
{
    shownFromTray_ = HasTray();
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void CTrevolinDlg::HideWindow()
{
    shownFromTray_ = false;
    hide();
}

bool CTrevolinDlg::HasTray() const
{
    return tray_ && tray_->Created();
}

void CTrevolinDlg::CreateTray()
{
    if (tray_)
        static_cast<void>(tray_->AddTrayIcon());
}

void CTrevolinDlg::SetTrayPicture(int icon)
{
    if (tray_)
        tray_->SetTrayIcon(icon);
}

void CTrevolinDlg::SetBusy(bool busy)
{
    if (!busy_)
        return;
    busyShown_ = busy;
    // While the keyboard is being read the indicator keeps turning.
    busy = busy || reading_;
    if (busy) {
        if (!busyTimer_.isActive() && !busyDelay_.isActive())
            busyDelay_.start();
    } else {
        busyDelay_.stop();
        busyTimer_.stop();
        busy_->hide();
    }
}

void CTrevolinDlg::ShowBusyFrame()
{
    busy_->setPixmap(busyFrames_[static_cast<size_t>(busyFrame_)]);
}

void CTrevolinDlg::SetApplyEnabled(bool enabled)
{
    if (CPngButton* apply = Button(app::command::Apply))
        apply->setEnabled(enabled && present_);
}

void CTrevolinDlg::SetKeyboardPresent(bool present)
{
    // The keyboard's first read is done: what it allocated on the way goes
    // back once the window has shown it.
    if (present && !present_)
        QTimer::singleShot(0, this, [] { platform::ReturnFreeMemory(); });
    present_ = present;
    RefreshKeysEnabled();
    for (const uint32_t id : KeyboardControls) {
        if (CPngButton* button = Button(id))
            button->setEnabled(present && (id != app::command::Apply || (model_ && model_->ApplyPending())));
    }
    if (noKeyboard_) {
        if (present)
            noKeyboard_->hide();
        else if (!noKeyboard_->text().isEmpty())
            noKeyboard_->show();
        noKeyboard_->raise();
    }
    if (present && model_)
        model_->ShowFlip();
}

void CTrevolinDlg::RefreshKeysEnabled()
{
    for (const auto& [id, button] : buttons_) {
        const bool key =
            keyboard::FindKeyButton(id) || (id >= keyboard::FirstFlipPartner && id <= keyboard::LastFlipPartner);
        if (!key)
            continue;
        const auto placed = keyPlaced_.find(id);
        const auto available = keyAvailable_.find(id);
        button->setEnabled(
            keyboard::KeyButtonEnabled(id, {.keyboardPresent = present_,
                                            .placed = placed == keyPlaced_.end() || placed->second,
                                            .available = available == keyAvailable_.end() || available->second,
                                            .flipped = flipped_}));
    }
}

QRegion CTrevolinDlg::SeeThroughRegion() const
{
    // Every control but the buttons lets the window's picture show through
    // somewhere; the buttons' faces cover them whole.
    QRegion region;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<const CPngButton*>(child))
            region += child->geometry();
    }
    // The notice and the button under it, where they will stand.
    region += QRect((width() - NoticeSize.width()) / 2, (height() - NoticeSize.height()) / 2, NoticeSize.width(),
                    NoticeSize.height() + ReadAgainBand);
    return region;
}

void CTrevolinDlg::ShowNotice(const std::string& text, Notice kind)
{
    if (!noKeyboard_)
        return;
    reading_ = kind == Notice::Reading;
    // A fixed place for up to four lines: laying the text out to measure
    // it would load fonts a window hidden in the tray never needs.
    noKeyboard_->setText(QString::fromStdString(text));
    noKeyboard_->setGeometry((width() - NoticeSize.width()) / 2, (height() - NoticeSize.height()) / 2,
                             NoticeSize.width(), NoticeSize.height());
    noKeyboard_->setVisible(!text.empty() && !present_);
    noKeyboard_->raise();
    const bool offer = kind == Notice::ReadFailed && !text.empty();
    if (offer) {
        readAgain_->adjustSize();
        readAgain_->move((width() - readAgain_->width()) / 2, noKeyboard_->geometry().bottom() + 10);
    }
    const bool hadFocus = readAgain_->hasFocus();
    readAgain_->setVisible(offer);
    if (offer) {
        readAgain_->setAccessibleDescription(noKeyboard_->text());
        readAgain_->raise();
        if (isActiveWindow())
            readAgain_->setFocus(Qt::OtherFocusReason);
    } else if (hadFocus) {
        focusNextChild();
    }
    SetBusy(busyShown_);
}

void CTrevolinDlg::SetTrayTip(const std::string& tip)
{
    if (tray_)
        tray_->SetTip(QString::fromStdString(tip));
}

bool CTrevolinDlg::Notify(const std::string& text)
{
    return tray_ && tray_->Notify(QString::fromStdString(text));
}

void CTrevolinDlg::ShowActiveProfile(int profile)
{
    for (int p = 0; p < 3; ++p) {
        if (CPngButton* button = Button(app::command::Profile1 + static_cast<uint32_t>(p)))
            button->SetTicked(p == profile);
    }
}

void CTrevolinDlg::ShowProfileMenu(const profiles::ProfileMenu& menu)
{
    profileMenu_.clear();
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const auto& item = menu.items[i];
        if (item.separator) {
            profileMenu_.addSeparator();
            continue;
        }
        QAction* action = profileMenu_.addAction(QString::fromStdString(item.text));
        action->setCheckable(true);
        action->setChecked(i == menu.tickedPosition);
        const uint32_t id = item.id;
        connect(action, &QAction::triggered, this, [this, id] {
            if (model_)
                model_->OnCommand(id);
        });
    }
    if (CPngButton* name = Button(app::control::ProfileName)) {
        name->setText(QString::fromStdString(menu.profileName));
        name->SetTipText(QString::fromStdString(menu.tooltip));
    }
    BuildButtonMenu();
}

void CTrevolinDlg::ShowKeyBank(bool bankB)
{
    bankB_ = bankB;
    if (CPngButton* lock = Button(app::control::LockAb))
        lock->SetTicked(bankB);
    const auto ids = keyboard::GKeyControlIds();
    for (size_t g = 0; g < ids.size(); ++g) {
        if (CPngButton* button = Button(ids[g])) {
            button->setText(QString::fromStdString(app::GKeyLabel(g, bankB)));
            button->setAccessibleName(QString::fromStdString(app::AccessibleNameOf(ids[g], texts_, bankB)));
        }
    }
}

void CTrevolinDlg::ShowFlip(bool flipped)
{
    flipped_ = flipped;
    if (CPngButton* indicator = Button(app::control::FlipIndicator))
        indicator->ChooseOverride(true, flipped);
    for (CPngButton* arrow : flipArrows_)
        arrow->ChooseOverride(true, flipped);
    RefreshKeysEnabled();
}

void CTrevolinDlg::ShowReportRate(int rate)
{
    for (size_t i = 0; i < lighting::ReportRateButtons.size(); ++i) {
        if (CPngButton* button = Button(lighting::ReportRateButtons[i]))
            button->SetTicked(static_cast<int>(i) == rate);
    }
}

void CTrevolinDlg::ShowLighting(const app::LightingSnapshot& lighting)
{
    ShowReportRate(lighting.mode.reportRate);
    if (panel_)
        panel_->Show(lighting);
    if (preview_)
        preview_->Show(lighting);
}

void CTrevolinDlg::SetModel(app::MainWindowModel* model)
{
    model_ = model;
    if (panel_)
        panel_->SetModel(model ? &model->Lighting() : nullptr);
}

void CTrevolinDlg::ShowKeyTint(size_t button, const std::optional<QColor>& tint)
{
    if (CPngButton* key = Button(keyboard::ControlIdOf(lighting::preview::KeyOfButton(button))))
        key->SetTint(tint.value_or(QColor()), keyboard::KeyTintStrength);
}

void CTrevolinDlg::FollowVisibility()
{
    if (preview_)
        preview_->SetWindowShown(isVisible() && !isMinimized());
}

void CTrevolinDlg::showEvent(QShowEvent* event)
{
    CBaseDialog::showEvent(event);
    FollowVisibility();
}

void CTrevolinDlg::hideEvent(QHideEvent* event)
{
    CBaseDialog::hideEvent(event);
    FollowVisibility();
}

void CTrevolinDlg::changeEvent(QEvent* event)
{
    CBaseDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        FollowVisibility();
}

void CTrevolinDlg::OpenKeyAssignment(uint16_t controlId, uint16_t keyNumber, bool macroOnly)
{
    emit KeyAssignmentRequested(controlId, keyNumber, macroOnly);
}

bool CTrevolinDlg::CloseChildDialogs()
{
    if (about_)
        about_->close();
    // Closed as by Cancel: nothing they hold is written.
    for (const QPointer<QDialog>& dialog : childDialogs_) {
        if (dialog && dialog->isVisible())
            dialog->reject();
    }
    return true;
}

bool CTrevolinDlg::StartProgram(const std::string& program, const std::string& folder)
{
    // Nothing of the maker's runs against the simulated keyboard.
    if (simulated_)
        return false;
    const QString path = QString::fromStdString(program);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(path, {QStringLiteral("In the upgrade")}, QString::fromStdString(folder));
}

void CTrevolinDlg::EndProgram(int exitCode)
{
    emit ProgramEnded(exitCode);
}

// --- Key buttons (keyboard thread) ----------------------------------------------------

void CTrevolinDlg::ShowKeyLook(uint16_t controlId, const keys::KeyLook& look)
{
    queue_.Post([this, controlId, look] {
        CPngButton* button = Button(controlId);
        if (!button)
            return;
        button->SetTipText(QString::fromStdString(look.tooltip));
        button->SetTicked(look.assigned);
        keyAvailable_[controlId] = look.available;
        RefreshKeysEnabled();
    });
}

void CTrevolinDlg::EnableApply()
{
    queue_.Post([this] { SetApplyEnabled(true); });
}

// --- The user ---------------------------------------------------------------------------

bool CTrevolinDlg::eventFilter(QObject* watched, QEvent* event)
{
    // F1 in the about box opens the help page too.
    if (watched == about_ && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        OpenHelp();
        return true;
    }
    return CBaseDialog::eventFilter(watched, event);
}

void CTrevolinDlg::paintEvent(QPaintEvent* event)
{
    CBaseDialog::paintEvent(event);
    // TREVOLIN_TIMING: the benchmark reads when the first frame was drawn.
    if (!painted_) {
        painted_ = true;
        if (qEnvironmentVariableIsSet("TREVOLIN_TIMING"))
            std::fprintf(stderr, "trevolin: first frame at %lld ms\n",
                         static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
    }
}

void CTrevolinDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The window never closes by keyboard.
        event->accept();
        return;
    case Qt::Key_F1:
        OpenHelp();
        event->accept();
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

void CTrevolinDlg::closeEvent(QCloseEvent* event)
{
    // The window manager's close button hides; the program stays in the tray.
    event->ignore();
    if (model_)
        model_->OnCommand(app::command::Cancel);
}

void CTrevolinDlg::reject()
{
    // Esc reaches here past keyPressEvent only from child widgets; it does
    // not close the window either.
}

void CTrevolinDlg::ShowAbout()
{
    if (about_) {
        about_->raise();
        return;
    }
    auto* box = new QMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(Text("LANG_ABOUT_TITLE"));
    box->setText(Text("GUANYU_JIESHAO"));
    const QString version = QStringLiteral("Trevolin %1")
                                .arg(QString::fromUtf8(base::ProgramVersion().data(),
                                                       static_cast<qsizetype>(base::ProgramVersion().size())));
    box->setInformativeText(version + QStringLiteral("\n") + Text("GUANYU_BANQUAN"));
    box->setIconPixmap(windowIcon().pixmap(64, 64));
    // The skin's link (the help page), opened as any link of the skin is.
    if (!link_.isEmpty()) {
        auto* link = new CHyperLink(box);
        link->setObjectName(QStringLiteral("AboutLink"));
        link->SetLink(Text("MAIN_HELP_PROMPT"), link_);
        link->setAccessibleName(Text("MAIN_HELP_PROMPT"));
        if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
            grid->addWidget(link, grid->rowCount(), 1);
    }
    QPushButton* ok = box->addButton(QMessageBox::Ok);
    ok->setText(Text("LANG_ABOUT_OK"));
    box->setModal(false);
    box->installEventFilter(this);
    about_ = box;
    box->show();
}

void CTrevolinDlg::OpenHelp()
{
    const QString page = QString::fromStdString(locations_.HelpDirectory()) + QStringLiteral("index.html");
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        return;
    // No program to show web pages: say where the page is.
    const std::string text = base::FormatText(
        app::TextOr(texts_, app::message::HelpMissing, "No program to show web pages was found. The help is in %s."),
        page.toStdString());
    QMessageBox box(QMessageBox::Warning, Text("MAIN_CAPTION"), QString::fromStdString(text), QMessageBox::Ok, this);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.exec();
}

void CTrevolinDlg::OpenLink(const QString& target)
{
    if (target.isEmpty())
        return;
    const QUrl url(target);
    if (url.scheme().startsWith(QStringLiteral("http")))
        QDesktopServices::openUrl(url);
    else
        // A link within the program's own folder (its help page).
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(QDir(QString::fromStdString(locations_.ExeDirectory())).filePath(target)));
}

QString CTrevolinDlg::AskFileName(bool save)
{
    if (nextFileName) {
        const QString name = *nextFileName;
        nextFileName.reset();
        return name;
    }
    const QString filter = QStringLiteral("Trevolin profiles (*.tvl);;All files (*)");
    // The user's own folders, not the program's private data.
    const QString folder = lastFolder_.isEmpty() ? QDir::homePath() : lastFolder_;
    // The menu entry names the dialog, without its ellipsis.
    QString title = Text(save ? "MENU_2" : "MENU_1");
    if (title.endsWith(QStringLiteral("...")))
        title.chop(3);
    QString name;
    if (save) {
        name = QFileDialog::getSaveFileName(this, title, folder, filter);
        if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
            name += QStringLiteral(".tvl");
    } else {
        name = QFileDialog::getOpenFileName(this, title, folder, filter);
    }
    KeepQtHistoryPrivate();
    if (!name.isEmpty())
        lastFolder_ = QFileInfo(name).absolutePath();
    return name;
}

void CTrevolinDlg::KeepQtHistoryPrivate()
{
    // The file dialog keeps its recent folders in QtProject.conf, written
    // as readable by everyone; the folders a user keeps backups in are
    // nobody else's business.
    const QString history =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/QtProject.conf");
    if (QFileInfo::exists(history))
        QFile::setPermissions(history, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void CTrevolinDlg::Backup()
{
    const QString name = AskFileName(true);
    if (!name.isEmpty() && model_)
        static_cast<void>(model_->Backup(name.toStdString()));
}

void CTrevolinDlg::Restore()
{
    const QString name = AskFileName(false);
    if (!name.isEmpty() && model_)
        static_cast<void>(model_->Restore(name.toStdString()));
}

}  // namespace trevolin::gui
