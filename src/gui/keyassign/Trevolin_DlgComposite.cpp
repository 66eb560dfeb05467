#include "gui/keyassign/Trevolin_DlgComposite.h"

#include "gui/keyassign/CompositeShared.h"
#include "gui/keyassign/EventCellEditors.h"
#include "gui/skin/SkinLayout.h"
#include "gui/skin/SkinPictures.h"

#include "core/keyboard/KeyNames.h"
#include "core/keyboard/MacroKeyList.h"
#include "core/keys/KeyAction.h"
#include "core/keys/KeyCapture.h"
#include "core/keys/MediaFunctions.h"
#include "core/keys/RawAction.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <vector>

namespace trevolin::gui {

namespace {

using Page = profiles::KeyAssignmentDialogModel::Page;
using Source = profiles::KeyAssignmentDialogModel::Source;
using namespace composite;

constexpr std::array MouseTexts = {"IDS_KEYBOARD_MOU_LEFT", "IDS_KEYBOARD_MOU_RIGHT", "IDS_KEYBOARD_MOU_MIDDLE",
                                   "IDS_KEYBOARD_ROLL_UP", "IDS_KEYBOARD_ROLL_DOWN"};

}  // namespace

Trevolin_DlgComposite::Trevolin_DlgComposite(QString iniPath, app::KeyAssignmentSession& session,
                                             const base::TextLookup& texts, base::Prompts& prompts, Window window,
                                             QWidget* parent)
    : CBaseDialog(std::move(iniPath), parent), session_(session), texts_(texts), prompts_(prompts),
      window_(std::move(window))
{
    setObjectName(QStringLiteral("KeyAssignment"));
    setModal(true);
}

Trevolin_DlgComposite::~Trevolin_DlgComposite()
{
    qApp->removeEventFilter(this);
}

CPngButton* Trevolin_DlgComposite::Button(const std::string& skinKey) const
{
    const auto it = buttons_.find(skinKey);
    return it == buttons_.end() ? nullptr : it->second;
}

CPngButton* Trevolin_DlgComposite::AddButton(const std::string& skinKey)
{
    CPngButton* button = AddSkinButton(skinKey, {});
    buttons_[skinKey] = button;
    return button;
}

template <typename W>
W* Trevolin_DlgComposite::Place(W* widget, const std::string& skinKey)
{
    widget->setObjectName(QString::fromStdString(skinKey));
    static_cast<void>(SkinLayout::PlaceControl(*widget, Skin(), skin::SkinIni::ButtonInfo, skinKey));
    return widget;
}

void Trevolin_DlgComposite::LoadSets()
{
    // Each page has its set of pictures; the page's own tab is drawn chosen
    // in every picture of its set.
    const auto set = [this](const QString& prefix, bool withDisable) {
        CPngButton::Sources sources;
        sources.normal = Picture(prefix + QStringLiteral("_normal.jpg"));
        sources.hover = Picture(prefix + QStringLiteral("_over.jpg"));
        sources.pressed = Picture(prefix + QStringLiteral("_down.jpg"));
        sources.disabled = withDisable ? Picture(prefix + QStringLiteral("_disable.jpg")) : sources.normal;
        sources.ticked = sources.pressed;
        return sources;
    };
    sets_["key"] = set(QStringLiteral("key"), false);
    sets_["macro"] = set(QStringLiteral("macro"), true);
    sets_["macro2"] = set(QStringLiteral("macro2"), true);
    sets_["media"] = set(QStringLiteral("media"), false);
    sets_["function"] = set(QStringLiteral("function"), false);
}

bool Trevolin_DlgComposite::Show(const keyboard::KeyAssignmentTarget& target)
{
    std::string problem;
    if (!session_.Open(target, problem)) {
        prompts_.ShowMessage({}, "The key cannot be edited: " + problem + ".", base::Prompts::Style::Warning);
        return false;
    }
    if (buttons_.empty()) {
        if (!InitSkin())
            return false;
        for (const char* key : {"CONTROL_MASK", "CONTROL_TITLE", "CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA",
                                "CONTROL_FUNCTION", "CONTROL_CLEAR", "CONTROL_OSK", "CONTROL_APPLY", "CONTROL_CANCEL",
                                "CONTROL_OK"})
            AddButton(key);
        for (const char* key : MacroButtons)
            AddButton(key);
        buttons_["CONTROL_MASK"]->setEnabled(false);
        buttons_["CONTROL_MASK"]->setFocusPolicy(Qt::NoFocus);
        buttons_["CONTROL_MASK"]->lower();
        buttons_["CONTROL_TITLE"]->setFocusPolicy(Qt::NoFocus);
        // Left and upright beside the accent bar, a little larger.
        buttons_["CONTROL_TITLE"]->SetTextStyle(true, 12, QStringLiteral("DejaVu Sans"),
                                                {Qt::white, Qt::white, Qt::white, Qt::white, Qt::white}, 36);
        buttons_["CONTROL_TITLE"]->setAttribute(Qt::WA_TransparentForMouseEvents);

        heading_ = Place(new QLabel(this), "KEY_SETTING");
        keyLabel_ = Place(new QLabel(this), "TISHI_SINGLE_STATIC");
        keyField_ = Place(new QLineEdit(this), "FUNC_KEY_INPUT");
        keyField_->setReadOnly(true);
        QFont big = keyField_->font();
        big.setPixelSize(22);
        keyField_->setFont(big);
        keyboardSource_ = Place(new QRadioButton(this), "FUNC_KEY_RADIO_KB");
        keyboardSourceLabel_ = Place(new QLabel(this), "FUNC_KEY_RADIO_KB_STATIC");
        mouseSource_ = Place(new QRadioButton(this), "FUNC_KEY_RADIO_MOU");
        mouseSourceLabel_ = Place(new QLabel(this), "FUNC_KEY_RADIO_MOU_STATIC");
        keyboardSourceLabel_->setBuddy(keyboardSource_);
        mouseSourceLabel_->setBuddy(mouseSource_);
        mouseList_ = new QListWidget(this);
        mouseList_->setObjectName(QStringLiteral("MOUSE_LIST"));
        // Beside the source choices, within the page.
        mouseList_->setGeometry(QRect(mouseSourceLabel_->geometry().right() + 16, keyboardSource_->y(),
                                      buttons_["CONTROL_MASK"]->geometry().right() - mouseSourceLabel_->geometry().right() - 32,
                                      140));
        // Keys a desktop keeps for itself (Print Screen, the Windows key
        // under Wayland) never reach the field: they can be chosen here.
        keyListLabel_ = Place(new QLabel(this), "FUNC_KEY_LIST_STATIC");
        keyList_ = Place(new QComboBox(this), "FUNC_KEY_LIST");
        keyList_->setMaxVisibleItems(20);
        keyListLabel_->setBuddy(keyList_);
        connect(keyList_, qOverload<int>(&QComboBox::activated), this, [this](int position) {
            if (position >= 0)
                Captured(keyboard::MacroKeyScan(static_cast<size_t>(position)));
        });
        mediaLabel_ = Place(new QLabel(this), "MEDIA_SETTING_TISHI");
        mediaList_ = Place(new QListWidget(this), "FUNC_MEDIA_SELECT");
        functionLabel_ = Place(new QLabel(this), "FUNCTION_KEY_SETTING_TISHI");
        functionList_ = Place(new QListWidget(this), "FUNC_FUNCTION_SELECT");
        macroLabel_ = Place(new QLabel(this), "MARCO_NAME_SETTING");
        macroList_ = Place(new QComboBox(this), "FUNC_MACRO_LIST");
        macroList_->setEditable(true);
        macroList_->setInsertPolicy(QComboBox::NoInsert);
        macroList_->lineEdit()->setMaxLength(260);
        eventList_ = Place(new QTreeWidget(this), "FUNC_MACRO_LIST2");
        eventList_->setColumnCount(3);
        eventList_->setRootIsDecorated(false);
        eventList_->setUniformRowHeights(true);
        eventList_->setSelectionMode(QAbstractItemView::SingleSelection);
        eventList_->setAllColumnsShowFocus(true);
        recordDelay_ = Place(new QCheckBox(this), "FUNC_MACRO_RECORD_DELAY");
        recordDelayLabel_ = Place(new QLabel(this), "FUNC_MACRO_RECORD_DELAY2");
        recordDelayLabel_->setBuddy(recordDelay_);
        playCountLabel_ = Place(new QLabel(this), "FUNC_MACRO_CYCLES_PROMPT");
        playCount_ = Place(new QLineEdit(this), "FUNC_MACRO_CYCLES");
        playCount_->setValidator(new QIntValidator(0, 99999, playCount_));
        playCountLabel_->setBuddy(playCount_);
        for (QLabel* label : {heading_, keyLabel_, keyboardSourceLabel_, mouseSourceLabel_, keyListLabel_, mediaLabel_,
                              functionLabel_, macroLabel_, recordDelayLabel_, playCountLabel_}) {
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, QColor(0xE4, 0xE4, 0xE4));
            label->setPalette(palette);
            label->setWordWrap(label == heading_ || label == keyLabel_);
        }

        // The keyboard is taken only while the field has the focus.
        connect(qApp, &QApplication::focusChanged, this, [this] {
            if (isVisible())
                FollowGrab();
        });
        connect(buttons_["CONTROL_KEY"], &QAbstractButton::clicked, this, [this] { ChoosePage(Page::Key); });
        connect(buttons_["CONTROL_MACRO"], &QAbstractButton::clicked, this, [this] { ChoosePage(Page::Macro); });
        connect(buttons_["CONTROL_MEDIA"], &QAbstractButton::clicked, this, [this] { ChoosePage(Page::Media); });
        connect(buttons_["CONTROL_FUNCTION"], &QAbstractButton::clicked, this,
                [this] { ChoosePage(Page::Function); });
        connect(buttons_["CONTROL_CLEAR"], &QAbstractButton::clicked, this, [this] { OnClear(); });
        connect(buttons_["CONTROL_OSK"], &QAbstractButton::clicked, this, [this] { OnOsk(); });
        connect(buttons_["CONTROL_APPLY"], &QAbstractButton::clicked, this, [this] { static_cast<void>(OnApply()); });
        connect(buttons_["CONTROL_OK"], &QAbstractButton::clicked, this, [this] { OnOk(); });
        connect(buttons_["CONTROL_CANCEL"], &QAbstractButton::clicked, this, [this] { reject(); });
        connect(keyboardSource_, &QRadioButton::clicked, this, [this] {
            session_.Page().ChooseSource(Source::Keyboard);
            ShowKeySource();
            SetDirty();
        });
        connect(mouseSource_, &QRadioButton::clicked, this, [this] {
            session_.Page().ChooseSource(Source::Mouse);
            session_.Page().ChooseMouse(std::max(0, mouseList_->currentRow()));
            ShowKeySource();
            SetDirty();
        });
        // A row the user chooses, never one the program sets.
        const auto onRow = [this](QListWidget* list, std::function<void(int)> choose) {
            connect(list, &QListWidget::currentRowChanged, this, [this, choose = std::move(choose)](int row) {
                if (filling_ || row < 0)
                    return;
                choose(row);
                SetDirty();
            });
        };
        onRow(mouseList_, [this](int row) { session_.Page().ChooseMouse(row); });
        onRow(mediaList_, [this](int row) { session_.Page().ChooseMedia(row); });
        onRow(functionList_, [this](int row) { session_.Page().ChooseFunction(row); });
        connect(buttons_["FUNC_MACRO_ADD"], &QAbstractButton::clicked, this, [this] { OnAddMacro(); });
        connect(buttons_["FUNC_MACRO_DELETE"], &QAbstractButton::clicked, this, [this] { OnDeleteMacro(); });
        connect(macroList_, qOverload<int>(&QComboBox::activated), this, [this](int index) { OnMacroChosen(index); });
        connect(macroList_->lineEdit(), &QLineEdit::editingFinished, this, [this] { OnNameEdited(); });
        connect(buttons_["FUNC_MACRO_RECORD"], &QAbstractButton::clicked, this, [this] { OnRecord(); });
        connect(buttons_["FUNC_MACRO_DELETE2"], &QAbstractButton::clicked, this, [this] { OnDeleteEvent(); });
        connect(buttons_["FUNC_MACRO_CLEAR"], &QAbstractButton::clicked, this, [this] { OnClearEvents(); });
        connect(buttons_["FUNC_MACRO_UP_TOP"], &QAbstractButton::clicked, this,
                [this] { OnMove(macros::EventMove::Top); });
        connect(buttons_["FUNC_MACRO_UP"], &QAbstractButton::clicked, this, [this] { OnMove(macros::EventMove::Up); });
        connect(buttons_["FUNC_MACRO_DOWN"], &QAbstractButton::clicked, this,
                [this] { OnMove(macros::EventMove::Down); });
        connect(buttons_["FUNC_MACRO_DOWN_BOTTOM"], &QAbstractButton::clicked, this,
                [this] { OnMove(macros::EventMove::Bottom); });
        // Cells edit in place: a double click, F2, or Enter on the cell.
        QStringList keyNames;
        for (size_t i = 0; i < keyboard::MacroKeyCount; ++i)
            keyNames.push_back(QString::fromStdString(keyboard::KeyNameFromScan(texts_, keyboard::MacroKeyScan(i))));
        eventList_->setItemDelegate(new EventCellEditors(
            keyNames, {PressText(), ReleaseText()},
            [this](int row, int column, const QString& text, int position) {
                OnCellEdited(row, column, text, position);
            },
            // Typing a delay ends a recording (its keys would be recorded).
            [this] { StopRecording(); }, eventList_));
        eventList_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
        connect(eventList_, &QTreeWidget::itemActivated, this,
                [this](QTreeWidgetItem* item, int column) { eventList_->editItem(item, column); });
        connect(recordDelay_, &QCheckBox::clicked, this, [this](bool on) { session_.SetRecordDelay(on); });
        connect(playCount_, &QLineEdit::editingFinished, this, [this] { OnPlayCountEdited(); });
        // Tab goes through the pages' buttons, the page, then the dialog's
        // own buttons.
        const std::vector<QWidget*> order = {
            buttons_["CONTROL_KEY"], buttons_["CONTROL_MACRO"], buttons_["CONTROL_MEDIA"],
            buttons_["CONTROL_FUNCTION"], keyField_, keyboardSource_, mouseSource_, keyList_, mouseList_,
            mediaList_, functionList_, macroList_, buttons_["FUNC_MACRO_ADD"], buttons_["FUNC_MACRO_DELETE"],
            eventList_, recordDelay_, playCount_, buttons_["FUNC_MACRO_RECORD"], buttons_["FUNC_MACRO_DELETE2"],
            buttons_["FUNC_MACRO_CLEAR"], buttons_["FUNC_MACRO_UP_TOP"], buttons_["FUNC_MACRO_UP"],
            buttons_["FUNC_MACRO_DOWN"], buttons_["FUNC_MACRO_DOWN_BOTTOM"], buttons_["CONTROL_CLEAR"],
            buttons_["CONTROL_OSK"], buttons_["CONTROL_APPLY"], buttons_["CONTROL_CANCEL"], buttons_["CONTROL_OK"]};
        for (size_t i = 1; i < order.size(); ++i)
            setTabOrder(order[i - 1], order[i]);
    }
    LoadSets();

    // The lists, filled at every opening.
    filling_ = true;
    mouseList_->clear();
    for (const char* key : MouseTexts)
        mouseList_->addItem(TextOf(texts_, key));
    mediaList_->clear();
    for (uint32_t i = 0; i < keys::MediaFunctionCount; ++i)
        mediaList_->addItem(QString::fromStdString(keyboard::KeyNameFromScan(texts_, keys::MediaKeyCode(i))));
    keyList_->clear();
    for (size_t i = 0; i < keyboard::MacroKeyCount; ++i)
        keyList_->addItem(QString::fromStdString(keyboard::KeyNameFromScan(texts_, keyboard::MacroKeyScan(i))));
    keyList_->setCurrentIndex(-1);
    functionList_->clear();
    for (uint32_t i = 1; i <= keys::KeyboardFunctionCount; ++i)
        functionList_->addItem(TextOf(texts_, "FUNC_KEY_DESC" + std::to_string(i)));
    mouseList_->setCurrentRow(0);
    mediaList_->setCurrentRow(0);
    functionList_->setCurrentRow(0);
    filling_ = false;
    recordDelay_->setChecked(session_.RecordDelay());
    playCount_->setText(QStringLiteral("1"));
    keyField_->clear();
    LoadMacroList(std::nullopt);

    const bool macroOnly = session_.Page().MacroOnly();
    for (const char* key : {"CONTROL_KEY", "CONTROL_MEDIA", "CONTROL_FUNCTION", "CONTROL_CLEAR"})
        buttons_[key]->setEnabled(!macroOnly);
    ShowPage(true);
    Relabel();

    // Beside the key, where the program may place windows; centred for the
    // macro button.
    const QRect screen = (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                           : QRect(0, 0, 1920, 1080));
    const QRect key = window_.keyRect ? window_.keyRect(target.controlId) : QRect();
    const auto at = profiles::PlaceKeyAssignmentDialog({key.x(), key.y(), key.width(), key.height()}, width(), height(),
                                                       {screen.x(), screen.y(), screen.width(), screen.height()},
                                                       macroOnly || key.isNull());
    move(at.x, at.y);
    if (window_.showKeyDown)
        window_.showKeyDown(target.controlId, true);
    closing_ = false;
    qApp->installEventFilter(this);
    show();
    FollowGrab();
    return true;
}

bool Trevolin_DlgComposite::OpenForKey(const keyboard::KeyAssignmentTarget& target)
{
    if (!Show(target))
        return false;
    exec();
    return true;
}

void Trevolin_DlgComposite::Relabel()
{
    if (buttons_.empty())
        return;
    setWindowTitle(TextOf(texts_, "MAIN_CAPTION"));
    buttons_["CONTROL_TITLE"]->setText(windowTitle());
    buttons_["CONTROL_TITLE"]->SetMargins(-14, 0, 0, 0);
    const bool macroOnly = session_.IsOpen() && session_.Page().MacroOnly();
    heading_->setText(TextOf(texts_, macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI"));
    keyLabel_->setText(TextOf(texts_, "SINGLE_STATIC"));
    keyboardSourceLabel_->setText(TextOf(texts_, "IDS_MACRO_KB_KEY"));
    keyListLabel_->setText(TextOf(texts_, "SINGLE_KEY_LIST"));
    mouseSourceLabel_->setText(TextOf(texts_, "IDS_MACRO_MOU_KEY"));
    mediaLabel_->setText(TextOf(texts_, "MEDIA_EDIT_TISHI"));
    functionLabel_->setText(TextOf(texts_, "FUNCTION_TISHI"));
    macroLabel_->setText(TextOf(texts_, "MACRO_NAME_SETTING"));
    recordDelayLabel_->setText(TextOf(texts_, "RECORD_DELAY"));
    playCountLabel_->setText(TextOf(texts_, "MACRO_CYCLES"));
    const auto text = [this](const char* button, const char* key) { buttons_[button]->setText(TextOf(texts_, key)); };
    text("CONTROL_KEY", macroOnly ? "" : "SINGLE_KEY");
    text("CONTROL_MACRO", "MACRO_SETTING");
    text("CONTROL_MEDIA", macroOnly ? "" : "MULTI_MEDIA");
    text("CONTROL_FUNCTION", macroOnly ? "" : "FUNCTION_KEY");
    text("CONTROL_OK", "MACRO_OK");
    text("CONTROL_CANCEL", "MACRO_CANCLE");
    text("CONTROL_APPLY", "PROFILE_APPLY");
    text("FUNC_MACRO_DELETE2", "A_DELETE");
    text("FUNC_MACRO_CLEAR", "A_CLEAR");
    text("FUNC_MACRO_UP_TOP", "A_TOP");
    text("FUNC_MACRO_UP", "A_UP");
    text("FUNC_MACRO_DOWN", "A_DOWN");
    text("FUNC_MACRO_DOWN_BOTTOM", "A_BOTTOM");
    ShowRecordingState();
    buttons_["CONTROL_CLEAR"]->SetTipText(TextOf(texts_, "COMPOSITE_PROMPT_CLEAR"));
    buttons_["CONTROL_OSK"]->SetTipText(TextOf(texts_, "COMPOSITE_PROMPT_OSK"));
    eventList_->setHeaderLabels(
        {TextOf(texts_, "MACRO_KEYS_TISHI"), TextOf(texts_, "MACRO_ACTION_TISHI"), TextOf(texts_, "MACRO_DELAY_MS")});
    // Names a screen reader says.
    const auto name = [this](QWidget* widget, const char* key) { widget->setAccessibleName(TextOf(texts_, key)); };
    name(buttons_["CONTROL_KEY"], "SINGLE_KEY");
    name(buttons_["CONTROL_MEDIA"], "MULTI_MEDIA");
    name(buttons_["CONTROL_FUNCTION"], "FUNCTION_KEY");
    name(buttons_["CONTROL_MACRO"], "MACRO_SETTING");
    name(buttons_["CONTROL_CLEAR"], "COMPOSITE_PROMPT_CLEAR");
    name(buttons_["CONTROL_OSK"], "COMPOSITE_PROMPT_OSK");
    name(buttons_["FUNC_MACRO_ADD"], "ACC_MACRO_ADD");
    name(buttons_["FUNC_MACRO_DELETE"], "ACC_MACRO_DELETE");
    name(keyField_, "ACC_CAPTURED_KEY");
    name(keyboardSource_, "IDS_MACRO_KB_KEY");
    name(mouseSource_, "IDS_MACRO_MOU_KEY");
    name(mouseList_, "IDS_MACRO_MOU_KEY");
    name(keyList_, "SINGLE_KEY_LIST");
    name(keyList_->view(), "SINGLE_KEY_LIST");
    name(mediaList_, "MULTI_MEDIA");
    name(functionList_, "FUNCTION_KEY");
    name(macroList_, "MACRO_NAME_SETTING");
    name(macroList_->lineEdit(), "MACRO_NAME_SETTING");
    name(macroList_->view(), "MACRO_NAME_SETTING");
    // The page's panel says what the page is for.
    buttons_["CONTROL_MASK"]->setAccessibleName(heading_->text());
    name(eventList_, "ACC_MACRO_EVENTS");
    name(recordDelay_, "RECORD_DELAY");
    name(playCount_, "MACRO_CYCLES");
}

void Trevolin_DlgComposite::ShowPage(bool initial)
{
    profiles::KeyAssignmentDialogModel& page = session_.Page();
    const Page shown = page.ShownPage();
    const bool macroOnly = page.MacroOnly();
    const char* set = shown == Page::Macro ? "macro" : shown == Page::Media ? "media"
                                                  : shown == Page::Function ? "function"
                                                                            : "key";
    for (auto& [key, button] : buttons_) {
        const bool onlyMacroLook = macroOnly && (key == "CONTROL_KEY" || key == "CONTROL_MEDIA" ||
                                                 key == "CONTROL_FUNCTION" || key == "CONTROL_TITLE" ||
                                                 key == "CONTROL_CLEAR");
        button->SetSources(sets_[onlyMacroLook ? "macro2" : set]);
    }
    const std::map<Page, const char*> tabs = {
        {Page::Key, "CONTROL_KEY"}, {Page::Macro, "CONTROL_MACRO"}, {Page::Media, "CONTROL_MEDIA"},
        {Page::Function, "CONTROL_FUNCTION"}};
    for (const auto& [p, key] : tabs)
        buttons_[key]->SetTicked(p == shown);

    if (shown != Page::Macro && shown != Page::Key)
        StopRecording();
    if (shown == Page::Key)
        StopRecording();
    if (shown == Page::Macro && initial)
        LoadMacroList(session_.InitialMacro());
    else if (shown == Page::Macro && !SelectedMacro() && macroList_->count() > 0)
        LoadMacroList(0);
    if (initial) {
        filling_ = true;
        if (shown == Page::Media)
            mediaList_->setCurrentRow(page.MediaIndex());
        if (shown == Page::Function)
            functionList_->setCurrentRow(page.FunctionIndex());
        filling_ = false;
    }
    if (shown == Page::Key)
        ShowKeySource();

    const bool key = shown == Page::Key, macro = shown == Page::Macro, media = shown == Page::Media,
               function = shown == Page::Function;
    for (QWidget* w : std::initializer_list<QWidget*>{keyLabel_, keyField_, keyboardSource_, mouseSource_,
                                                      keyboardSourceLabel_, mouseSourceLabel_, mouseList_,
                                                      keyListLabel_, keyList_})
        w->setVisible(key);
    // The field takes the key pressed while it has the focus.
    if (key && keyField_->isEnabled())
        keyField_->setFocus(Qt::OtherFocusReason);
    mediaLabel_->setVisible(media);
    mediaList_->setVisible(media);
    functionLabel_->setVisible(function);
    functionList_->setVisible(function);
    for (QWidget* w : std::initializer_list<QWidget*>{macroLabel_, macroList_, eventList_, recordDelay_,
                                                      recordDelayLabel_, playCount_, playCountLabel_})
        w->setVisible(macro);
    for (const char* b : MacroButtons)
        buttons_[b]->setVisible(macro);
    buttons_["CONTROL_OSK"]->setVisible(key);
    if (macroOnly) {
        keyLabel_->hide();
        mediaLabel_->hide();
        functionLabel_->hide();
    }
    EnableEventControls();

    FollowGrab();
}

void Trevolin_DlgComposite::FollowGrab()
{
    // Keys the desktop would keep come to the dialog while a key is chosen
    // (X11; a Wayland compositor keeps them).
    const bool grab = session_.IsOpen() && session_.Page().ShownPage() == Page::Key &&
                      QGuiApplication::platformName() == QLatin1String("xcb") && isVisible() && keyField_->hasFocus();
    if (grab && !grabbing_)
        keyField_->grabKeyboard();
    else if (!grab && grabbing_)
        keyField_->releaseKeyboard();
    grabbing_ = grab;
}

void Trevolin_DlgComposite::ChoosePage(Page page)
{
    if (session_.Page().ChoosePage(page)) {
        ShowPage(false);
        SetDirty();
    }
}

void Trevolin_DlgComposite::ShowKeySource()
{
    const profiles::KeyAssignmentDialogModel& page = session_.Page();
    const bool mouse = page.KeySource() == Source::Mouse;
    keyboardSource_->setChecked(!mouse);
    mouseSource_->setChecked(mouse);
    keyField_->setEnabled(!mouse);
    mouseList_->setEnabled(mouse);
    filling_ = true;
    if (mouse)
        mouseList_->setCurrentRow(page.MousePosition());
    filling_ = false;
    const uint16_t code = page.CapturedKey();
    QString shown;
    if (!mouse && code != 0)
        shown = QString::fromStdString(keyboard::KeyNameFromScan(texts_, code));
    else if (!mouse && session_.InitialRawCode() && page.PageKind() == session_.InitialKind())
        // A code another program put on the key stays until something else
        // is chosen.
        shown = QString::fromStdString(keys::RawCodeText(*session_.InitialRawCode()));
    keyField_->setText(shown);
}

void Trevolin_DlgComposite::Captured(uint16_t keyCode)
{
    session_.Page().ChooseSource(Source::Keyboard);
    session_.Page().Capture(keyCode);
    ShowKeySource();
    SetDirty();
    // On to the buttons: the field would take the next key too.
    buttons_["CONTROL_OK"]->setFocus(Qt::TabFocusReason);
}

void Trevolin_DlgComposite::OnClear()
{
    session_.Page().Clear();
    ShowPage(false);
    keyField_->clear();
    SetDirty();
}

void Trevolin_DlgComposite::OnOsk()
{
    const QString found = QStandardPaths::findExecutable(oskProgram_);
    if (found.isEmpty() || !QProcess::startDetached(found, {})) {
        const std::string text = texts_.Text("COMPOSITE_OSK_MISSING");
        prompts_.ShowMessage("COMPOSITE_OSK_MISSING",
                             (text.empty() ? std::string("The on-screen keyboard program cannot be started:") : text) +
                                 " " + oskProgram_.toStdString(),
                             base::Prompts::Style::Warning);
    }
}

void Trevolin_DlgComposite::SetDirty()
{
    if (CPngButton* apply = Button("CONTROL_APPLY"))
        apply->setEnabled(session_.Dirty());
}

bool Trevolin_DlgComposite::OnApply()
{
    if (window_.idle && !window_.idle()) {
        const std::string text = texts_.Text("MAIN_BUSY");
        prompts_.ShowMessage("MAIN_BUSY", text.empty() ? "The keyboard is busy. Try again in a moment." : text,
                             base::Prompts::Style::Plain);
        return false;
    }
    StopRecording();
    // A cell being edited keeps what was typed.
    QWidget* editor = QApplication::focusWidget();
    while (editor && editor->parentWidget() && editor->parentWidget() != eventList_->viewport())
        editor = editor->parentWidget();
    if (editor && editor->parentWidget() == eventList_->viewport()) {
        emit eventList_->itemDelegate()->commitData(editor);
        emit eventList_->itemDelegate()->closeEditor(editor);
    }
    const std::optional<size_t> macro = SelectedMacro();
    const auto result = session_.Apply(static_cast<uint8_t>(std::clamp(playCount_->text().toInt(), 1, 255)));
    if (!result.macrosCommitted)
        prompts_.ShowMessage({}, "The macros could not be stored; the key was set.", base::Prompts::Style::Warning);
    if (!session_.IsOpen())
        return false;
    LoadMacroList(macro);
    SetDirty();
    return true;
}

void Trevolin_DlgComposite::OnOk()
{
    if (!OnApply())
        return;
    FinishClosing();
    accept();
}

void Trevolin_DlgComposite::reject()
{
    FinishClosing();
    QDialog::reject();
}

void Trevolin_DlgComposite::CancelDialog()
{
    if (isVisible())
        reject();
}

void Trevolin_DlgComposite::closeEvent(QCloseEvent* event)
{
    // The window manager's close and Alt+F4 are Cancel.
    FinishClosing();
    CBaseDialog::closeEvent(event);
}

void Trevolin_DlgComposite::FinishClosing()
{
    if (closing_)
        return;
    closing_ = true;
    StopRecording();
    qApp->removeEventFilter(this);
    if (grabbing_)
        keyField_->releaseKeyboard();
    grabbing_ = false;
    const auto target = session_.Target();
    session_.Close();
    eventList_->clear();
    macroList_->clear();
    if (window_.showKeyDown)
        window_.showKeyDown(target.controlId, false);
    // The page pictures are large: they go with the dialog.
    for (auto& [key, button] : buttons_)
        button->SetSources({});
    sets_.clear();
}

void Trevolin_DlgComposite::keyPressEvent(QKeyEvent* event)
{
    // Enter and Escape never close the dialog (macro edits would go with
    // it); an editor that wanted them has had them already.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

bool Trevolin_DlgComposite::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride &&
        type != QEvent::ContextMenu)
        return CBaseDialog::eventFilter(watched, event);
    if (!session_.IsOpen() || !isVisible())
        return false;
    const bool recording = session_.Recording();
    const bool capturing = session_.Page().ShownPage() == Page::Key;
    if (!recording && !capturing) {
        const int pressed = type == QEvent::KeyPress ? static_cast<QKeyEvent*>(event)->key() : 0;
        if (pressed == Qt::Key_F1 && window_.openHelp) {
            window_.openHelp();
            return true;
        }
        // Left and Right go from cell to cell of the event row (the row stays
        // selected), so that F2 or Enter edits the cell the user chose.
        if ((pressed == Qt::Key_Left || pressed == Qt::Key_Right) && watched == eventList_) {
            const QModelIndex current = eventList_->currentIndex();
            const int column = current.column() + (pressed == Qt::Key_Right ? 1 : -1);
            if (current.isValid() && column >= 0 && column < eventList_->columnCount())
                eventList_->selectionModel()->setCurrentIndex(current.sibling(current.row(), column),
                                                              QItemSelectionModel::NoUpdate);
            return true;
        }
        return false;
    }
    // X11 sends a context-menu event before the Menu key's press.
    if (type == QEvent::ContextMenu)
        return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::ShortcutOverride) {
        // Shortcuts do not fire first; the key comes as a key event.
        if (KeyCodeOf(*key) != 0)
            key->accept();
        return false;
    }
    // A key the filter takes goes no further, so it is seen once.
    if (recording) {
        const uint16_t code = KeyCodeOf(*key);
        const keys::CaptureVerdict verdict = keys::DecideCapture({code, type == QEvent::KeyPress, false}, true);
        if (verdict == keys::CaptureVerdict::PassOn)
            return false;
        RecordKey(*key);
        return true;
    }
    // Keys are taken by the field while it has the focus; elsewhere on the
    // page they do what they always do (Tab moves on, Space chooses).
    if (watched != keyField_)
        return false;
    const uint16_t code = KeyCodeOf(*key);
    const auto verdict = keys::DecideCapture(
        {code, type == QEvent::KeyPress, key->isAutoRepeat()}, session_.Page().KeySource() == Source::Keyboard);
    if (verdict == keys::CaptureVerdict::PassOn)
        return false;
    if (verdict == keys::CaptureVerdict::Capture)
        Captured(code);
    return true;
}

}  // namespace trevolin::gui
