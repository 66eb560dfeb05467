#include "gui/profiles/CTrevolin_DlgProfile.h"

#include "gui/skin/SkinLayout.h"

#include "core/profiles/ImageFile.h"
#include "core/profiles/ProfileLayout.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace trevolin::gui {

namespace {

// At most this many files are read back from the settings.
constexpr size_t MaxFiles = 100;

QString TextOf(const base::TextLookup& texts, std::string_view key, const char* fallback)
{
    const std::string text = texts.Text(key);
    return QString::fromStdString(text.empty() ? std::string(fallback) : text);
}

}  // namespace

CTrevolin_DlgProfile::CTrevolin_DlgProfile(QString iniPath, const base::TextLookup& texts, base::Prompts& prompts,
                                           base::SettingsStore& settings, profiles::UserFolder folder, Window window,
                                           QWidget* parent)
    : CBaseDialog(std::move(iniPath), parent), texts_(texts), prompts_(prompts), settings_(settings),
      folder_(std::move(folder)), window_(std::move(window))
{
    setObjectName(QStringLiteral("ProfileManager"));
    setModal(true);
}

CPngButton* CTrevolin_DlgProfile::Button(const std::string& skinKey) const
{
    const auto it = buttons_.find(skinKey);
    return it == buttons_.end() ? nullptr : it->second;
}

void CTrevolin_DlgProfile::Tell(std::string_view key, const std::string& fallback)
{
    const std::string text = texts_.Text(key);
    prompts_.ShowMessage(key, text.empty() ? fallback : text, base::Prompts::Style::Warning);
}

bool CTrevolin_DlgProfile::Show()
{
    if (buttons_.empty()) {
        if (!InitSkin())
            return false;
        CPngButton::Sources sources;
        sources.normal = Picture(QStringLiteral("Profile_normal.jpg"));
        sources.hover = Picture(QStringLiteral("Profile_over.jpg"));
        sources.pressed = Picture(QStringLiteral("Profile_down.jpg"));
        sources.disabled = sources.pressed;
        sources.ticked = sources.normal;
        for (const char* key : {"FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL_CANCEL", "CONTROL_OK", "CONTROL2_APPLY"}) {
            CPngButton* button = AddSkinButton(key, sources);
            button->KeepOnlyOwnPart();
            buttons_[key] = button;
        }
        title_ = AddTitle();
        list_ = new QTreeWidget(this);
        list_->setObjectName(QStringLiteral("PROGRAM_LIST"));
        static_cast<void>(SkinLayout::PlaceControl(*list_, Skin(), skin::SkinIni::ButtonInfo, "PROGRAM_LIST"));
        list_->setColumnCount(3);
        list_->setRootIsDecorated(false);
        list_->setUniformRowHeights(true);
        list_->setAllColumnsShowFocus(true);
        list_->header()->setSectionsClickable(false);
        list_->setColumnWidth(0, 60);
        list_->setColumnWidth(1, 140);
        connect(buttons_["FUNC_ADD"], &QAbstractButton::clicked, this, [this] { OnAdd(); });
        connect(buttons_["FUNC_LOAD"], &QAbstractButton::clicked, this, [this] { OnLoad(); });
        connect(buttons_["FUNC_DELETE"], &QAbstractButton::clicked, this, [this] { OnDelete(); });
        connect(buttons_["CONTROL2_APPLY"], &QAbstractButton::clicked, this, [this] { static_cast<void>(OnApply()); });
        connect(buttons_["CONTROL_OK"], &QAbstractButton::clicked, this, [this] {
            if (OnApply())
                accept();
        });
        connect(buttons_["CONTROL_CANCEL"], &QAbstractButton::clicked, this, [this] { reject(); });
        // A tick the user sets (one row at most; only the keyboard's rows).
        connect(list_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
            if (filling_ || column != 0 || !model_)
                return;
            const auto row = static_cast<size_t>(list_->indexOfTopLevelItem(item));
            if (item->checkState(0) == Qt::Checked)
                model_->Tick(row);
            Showing(row);
            SetModified(model_->Modified());
        });
        setTabOrder(list_, buttons_["FUNC_ADD"]);
        setTabOrder(buttons_["FUNC_ADD"], buttons_["FUNC_LOAD"]);
        setTabOrder(buttons_["FUNC_LOAD"], buttons_["FUNC_DELETE"]);
        setTabOrder(buttons_["FUNC_DELETE"], buttons_["CONTROL_CANCEL"]);
        setTabOrder(buttons_["CONTROL_CANCEL"], buttons_["CONTROL_OK"]);
        setTabOrder(buttons_["CONTROL_OK"], buttons_["CONTROL2_APPLY"]);
    }
    Fill();
    Relabel();
    openCount_.store(1);
    show();
    list_->setFocus();
    return true;
}

void CTrevolin_DlgProfile::Open()
{
    if (Show())
        exec();
}

void CTrevolin_DlgProfile::Fill()
{
    // The files the manager kept, read back from the settings (only the
    // first hundred, and not the keyboard's own file).
    const std::string profileFile = profiles::ProfileFilePath(folder_, 0);
    std::vector<profiles::ManagerRow> files;
    const size_t count = std::min<size_t>(std::strtoul(settings_.ProfileString("PROFILE00", "0").c_str(), nullptr, 10),
                                          MaxFiles + profiles::ProfileCount());
    for (size_t r = 1; r <= count; ++r) {
        const std::string path = settings_.ProfileString(profiles::ProfileManagerModel::SettingName(r), "");
        if (!path.empty() && path != profileFile && files.size() < MaxFiles)
            files.push_back(profiles::FileRow(path));
    }
    std::vector<std::string> labels;
    for (const char* key : {"PROFILE_1", "PROFILE_2", "PROFILE_3"})
        labels.push_back(TextOf(texts_, key, key).toStdString());
    model_.emplace(labels, profileFile, std::move(files), window_.activeProfile ? window_.activeProfile() : -1);
    Showing(std::nullopt);
    SetModified(false);
}

void CTrevolin_DlgProfile::Showing(std::optional<size_t> select)
{
    filling_ = true;
    list_->clear();
    const auto& rows = model_->Rows();
    for (size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem(
            {QString(), QString::fromStdString(rows[r].name), QDir::toNativeSeparators(QString::fromStdString(rows[r].Folder()))});
        if (rows[r].KeyboardRow())
            item->setCheckState(0, model_->TickedRow() == r ? Qt::Checked : Qt::Unchecked);
        else
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        list_->addTopLevelItem(item);
    }
    if (select && *select < rows.size())
        list_->setCurrentItem(list_->topLevelItem(static_cast<int>(*select)));
    filling_ = false;
    if (CPngButton* remove = Button("FUNC_DELETE"))
        remove->setEnabled(rows.size() > static_cast<size_t>(profiles::ProfileCount()));
}

void CTrevolin_DlgProfile::Relabel()
{
    if (buttons_.empty())
        return;
    setWindowTitle(TextOf(texts_, "PROFILE_MANAGER", "Profiles"));
    title_->setText(windowTitle());
    const auto text = [this](const char* button, const char* key, const char* fallback) {
        buttons_[button]->setText(TextOf(texts_, key, fallback));
    };
    text("FUNC_ADD", "PROFILE_ADD", "Add");
    text("FUNC_LOAD", "PROFILE_LOAD", "Load");
    text("FUNC_DELETE", "PROFILE_DELETE", "Delete");
    text("CONTROL_OK", "PROFILE_OK", "OK");
    text("CONTROL_CANCEL", "PROFILE_CANCLE", "Cancel");
    text("CONTROL2_APPLY", "PROFILE_APPLY", "Apply");
    list_->setHeaderLabels({TextOf(texts_, "PROFILE_COL_ACTIVE", "Active"), TextOf(texts_, "PROFILE_COL_NAME", "Name"),
                            TextOf(texts_, "PROFILE_COL_PATH", "Folder")});
    list_->setAccessibleName(TextOf(texts_, "PROFILE_MANAGER", "Profiles"));
}

void CTrevolin_DlgProfile::SetModified(bool modified)
{
    modified_.store(modified);
    if (CPngButton* apply = Button("CONTROL2_APPLY"))
        apply->setEnabled(modified);
}

QString CTrevolin_DlgProfile::AskFile(bool save)
{
    if (!nextFile_.isEmpty())
        return std::exchange(nextFile_, QString());
    static_cast<void>(profiles::EnsureUserFolder(folder_));
    const QString folder = QString::fromStdString(folder_.path);
    const QString filter = QStringLiteral("(*.tvl)");
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    QString path = save ? QFileDialog::getSaveFileName(this, windowTitle(),
                                                       QDir(folder).filePath(TextOf(texts_, "PROFILE_NEW", "Profile") +
                                                                             QStringLiteral(".tvl")),
                                                       filter, nullptr, options)
                        : QFileDialog::getOpenFileName(this, windowTitle(), folder, filter, nullptr, options);
    if (save && !path.isEmpty() && !path.endsWith(QStringLiteral(".tvl")))
        path += QStringLiteral(".tvl");
    return path;
}

void CTrevolin_DlgProfile::OnAdd()
{
    const QString path = AskFile(true);
    if (path.isEmpty())
        return;
    // A new file holds the default profile; a file that could not be
    // written is said, and no row stands for it.
    if (!profiles::MakeDefaultImage(path.toStdString(), 0)) {
        Tell("PROFILE_ADD_FAILED", "The profile file could not be written: " + path.toStdString());
        return;
    }
    model_->AddFile(path.toStdString());
    Showing(model_->Rows().size() - 1);
    SetModified(model_->Modified());
}

void CTrevolin_DlgProfile::OnLoad()
{
    const QString path = AskFile(false);
    if (path.isEmpty())
        return;
    model_->AddFile(path.toStdString());
    Showing(model_->Rows().size() - 1);
    SetModified(model_->Modified());
}

void CTrevolin_DlgProfile::OnDelete()
{
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0)
        return;
    const auto next = model_->Delete(static_cast<size_t>(row));
    if (!next)
        return;  // the keyboard's own profiles stay
    Showing(next);
    SetModified(model_->Modified());
}

bool CTrevolin_DlgProfile::OnApply()
{
    if (!model_->Modified())
        return true;
    const auto plan = model_->PlanApply();
    for (const auto& [name, value] : plan.settings)
        static_cast<void>(settings_.SetProfileString(name, value));
    model_->Applied();
    SetModified(false);
    // The switch asks first about changes not yet on the keyboard.
    const int active = window_.activeProfile ? window_.activeProfile() : -1;
    if (plan.activate && *plan.activate != active && window_.selectProfile &&
        !window_.selectProfile(*plan.activate)) {
        Tell("PROFILE_SWITCH_REFUSED", "Trevolin is working with the keyboard. Try again in a moment.");
        return false;
    }
    return true;
}

void CTrevolin_DlgProfile::FollowSwitch(int profile)
{
    if (!model_ || !isVisible())
        return;
    model_->FollowSwitch(profile);
    Showing(static_cast<size_t>(std::max(0, profile)));
    SetModified(false);
}

void CTrevolin_DlgProfile::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && window_.openHelp) {
        window_.openHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CTrevolin_DlgProfile::done(int result)
{
    openCount_.store(0);
    SetModified(false);
    QDialog::done(result);
}

}  // namespace trevolin::gui
