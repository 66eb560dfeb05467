#include "gui/profiles/CTrevolin_DlgUpdate.h"

#include "gui/skin/SkinLayout.h"

#include "core/app/FirmwareUpdate.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>

namespace trevolin::gui {

namespace {

QString TextOf(const base::TextLookup& texts, std::string_view key)
{
    return QString::fromStdString(texts.Text(key));
}

}  // namespace

CTrevolin_DlgUpdate::CTrevolin_DlgUpdate(QString iniPath, const base::TextLookup& texts, base::Prompts& prompts,
                                         Window window, QWidget* parent)
    : CBaseDialog(std::move(iniPath), parent), texts_(texts), prompts_(prompts), window_(std::move(window))
{
    setObjectName(QStringLiteral("FirmwareUpdate"));
    setModal(true);
}

CPngButton* CTrevolin_DlgUpdate::Button(const std::string& skinKey) const
{
    const auto it = buttons_.find(skinKey);
    return it == buttons_.end() ? nullptr : it->second;
}

void CTrevolin_DlgUpdate::Tell(std::string_view key, const char* fallback, const QString& detail)
{
    std::string text = texts_.Text(key);
    if (text.empty())
        text = fallback;
    if (!detail.isEmpty())
        text += " " + detail.toStdString();
    prompts_.ShowMessage(key, text, base::Prompts::Style::Warning);
}

bool CTrevolin_DlgUpdate::Show()
{
    if (buttons_.empty()) {
        if (!InitSkin())
            return false;
        CPngButton::Sources sources;
        sources.normal = Picture(QStringLiteral("update_normal.jpg"));
        sources.hover = Picture(QStringLiteral("update_over.jpg"));
        sources.pressed = sources.hover;
        sources.disabled = sources.hover;
        sources.ticked = sources.hover;
        for (const char* key : {"CONTROL_OPENButton", "CONTROL_BACKUPButton", "CONTROL_CUPButton", "CONTROL_UPButton"}) {
            CPngButton* button = AddSkinButton(key, sources);
            button->KeepOnlyOwnPart();
            buttons_[key] = button;
        }
        title_ = AddTitle();
        file_ = new QLabel(this);
        file_->setObjectName(QStringLiteral("CONTROL_UPStatic"));
        static_cast<void>(SkinLayout::PlaceControl(*file_, Skin(), skin::SkinIni::ButtonInfo, "CONTROL_UPStatic"));
        file_->setWordWrap(true);
        file_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        file_->setFocusPolicy(Qt::TabFocus);
        connect(buttons_["CONTROL_OPENButton"], &QAbstractButton::clicked, this, [this] { OnOpen(); });
        connect(buttons_["CONTROL_UPButton"], &QAbstractButton::clicked, this, [this] { OnUpdate(); });
        connect(buttons_["CONTROL_CUPButton"], &QAbstractButton::clicked, this, [this] {
            Choose({});
            reject();
        });
        connect(buttons_["CONTROL_BACKUPButton"], &QAbstractButton::clicked, this, [this] {
            if (window_.backup)
                window_.backup();
        });
        setTabOrder(buttons_["CONTROL_OPENButton"], buttons_["CONTROL_BACKUPButton"]);
        setTabOrder(buttons_["CONTROL_BACKUPButton"], buttons_["CONTROL_CUPButton"]);
        setTabOrder(buttons_["CONTROL_CUPButton"], buttons_["CONTROL_UPButton"]);
    }
    Relabel();
    Choose(chosen_);
    show();
    return true;
}

void CTrevolin_DlgUpdate::Open()
{
    if (Show())
        exec();
}

void CTrevolin_DlgUpdate::Relabel()
{
    if (buttons_.empty())
        return;
    setWindowTitle(TextOf(texts_, "UPDATE_TITLE"));
    title_->setText(windowTitle());
    buttons_["CONTROL_OPENButton"]->setText(TextOf(texts_, "UPDATE_OPEN"));
    buttons_["CONTROL_BACKUPButton"]->setText(TextOf(texts_, "UPDATE_BACKUP"));
    buttons_["CONTROL_CUPButton"]->setText(TextOf(texts_, "UPDATE_CANCEL"));
    buttons_["CONTROL_UPButton"]->setText(TextOf(texts_, "UPDATE_START"));
    file_->setAccessibleName(TextOf(texts_, "UPDATE_FILE"));
}

void CTrevolin_DlgUpdate::Choose(const QString& path)
{
    chosen_ = path;
    if (file_)
        file_->setText(chosen_.isEmpty() ? TextOf(texts_, "UPDATE_NO_FILE") : QDir::toNativeSeparators(chosen_));
}

void CTrevolin_DlgUpdate::OnOpen()
{
    const QString folder = window_.packageFolder ? window_.packageFolder() : QDir::homePath();
    // Any program: the updater is whatever the keyboard's maker ships.
    Choose(QFileDialog::getOpenFileName(this, windowTitle(), folder, QString(), nullptr,
                                        QFileDialog::DontUseNativeDialog));
}

void CTrevolin_DlgUpdate::OnUpdate()
{
    // The file first: a keyboard in its update mode types nothing until an
    // updater has run, or it is plugged in again.
    if (app::CheckUpdater(chosen_.toStdString()) != app::UpdaterCheck::Ready) {
        Tell("UPDATE_CHOOSE_FILE", "Choose the updater program first: a file that can be run.");
        return;
    }
    const QString program = chosen_;
    const bool asked = window_.requestBootMode && window_.requestBootMode([this, program](bool ok) {
        if (!ok) {
            // The file stays chosen for another try.
            Tell("UPDATE_NO_BOOT", "The keyboard did not switch to its update mode. Try again.");
            return;
        }
        Choose({});
        // In its own folder, as updaters expect; the program's folder stays.
        if (!QProcess::startDetached(program, {}, QFileInfo(program).absolutePath())) {
            Tell("UPDATE_START_FAILED",
                 "The updater could not be started. Unplug the keyboard and plug it in again to type with it.",
                 QDir::toNativeSeparators(program));
            return;
        }
        reject();
    });
    if (!asked)
        Tell("PROFILE_SWITCH_REFUSED", "Trevolin is working with the keyboard. Try again in a moment.");
}

}  // namespace trevolin::gui
