#include "core/profiles/KeyAssignmentDialog.h"

#include "core/keys/KeyAction.h"

#include <algorithm>

namespace trevolin::profiles {

namespace {

using keys::KeyAction;

}  // namespace

KeyAssignmentDialogModel::KeyAssignmentDialogModel(const Opening& opening)
    : opening_(opening),
      pageKind_(opening.macroOnly ? KeyAction::Macro : opening.kind)
{
    switch (pageKind_) {
    case KeyAction::Key: {
        capturedKey_ = static_cast<uint16_t>(opening.value);
        const auto mouse = std::find(MouseKeyCodes.begin(), MouseKeyCodes.end(), capturedKey_);
        if (mouse != MouseKeyCodes.end()) {
            source_ = Source::Mouse;
            mousePosition_ = static_cast<int>(mouse - MouseKeyCodes.begin());
            capturedKey_ = 0;
        }
        break;
    }
    case KeyAction::Media:
        mediaIndex_ = static_cast<int>(opening.value);
        break;
    case KeyAction::Function:
        functionIndex_ = static_cast<int>(opening.value);
        break;
    default:
        break;
    }
}

KeyAssignmentDialogModel::Page KeyAssignmentDialogModel::ShownPage() const
{
    switch (pageKind_) {
    case KeyAction::Macro:
        return Page::Macro;
    case KeyAction::Media:
        return Page::Media;
    case KeyAction::Function:
        return Page::Function;
    default:
        return Page::Key;
    }
}

uint16_t KeyAssignmentDialogModel::InitialMacroId() const
{
    return opening_.kind == KeyAction::Macro ? static_cast<uint16_t>(opening_.value & 0xFFFF) : 0;
}

bool KeyAssignmentDialogModel::ChoosePage(Page page)
{
    // The macro button's dialog has the macro page only.
    if (opening_.macroOnly && page != Page::Macro)
        return false;
    uint16_t kind = KeyAction::Key;
    switch (page) {
    case Page::Key:
        // A key at its default already shows the key page.
        if (pageKind_ == KeyAction::Key || pageKind_ == KeyAction::Default)
            return false;
        break;
    case Page::Macro:
        kind = KeyAction::Macro;
        break;
    case Page::Media:
        kind = KeyAction::Media;
        break;
    case Page::Function:
        kind = KeyAction::Function;
        break;
    }
    if (kind == pageKind_)
        return false;
    pageKind_ = kind;
    pageChosen_ = true;
    dirty_ = true;
    return true;
}

void KeyAssignmentDialogModel::ChooseSource(Source source)
{
    source_ = source;
    pageKind_ = KeyAction::Key;
    pageChosen_ = true;
    dirty_ = true;
}

void KeyAssignmentDialogModel::Capture(uint16_t keyCode)
{
    capturedKey_ = keyCode;
    pageKind_ = KeyAction::Key;
    pageChosen_ = true;
    dirty_ = true;
}

void KeyAssignmentDialogModel::ChooseMouse(int position)
{
    mousePosition_ = std::clamp(position, 0, static_cast<int>(MouseKeyCodes.size()) - 1);
    ChooseSource(Source::Mouse);
}

void KeyAssignmentDialogModel::ChooseMedia(int index)
{
    mediaIndex_ = std::max(index, 0);
    dirty_ = true;
}

void KeyAssignmentDialogModel::ChooseFunction(int index)
{
    functionIndex_ = std::max(index, 0);
    dirty_ = true;
}

void KeyAssignmentDialogModel::Clear()
{
    if (opening_.macroOnly)
        return;
    static_cast<void>(ChoosePage(Page::Key));
    pageKind_ = KeyAction::Default;
    capturedKey_ = 0;
    source_ = Source::Keyboard;
    pageChosen_ = true;
    dirty_ = true;
}

std::optional<KeyChoice> KeyAssignmentDialogModel::ChoiceToApply(const MacroChoice& macro) const
{
    KeyChoice choice;
    switch (pageKind_) {
    case KeyAction::Default:
        return choice;
    case KeyAction::Key:
        if (source_ == Source::Mouse) {
            choice.kind = KeyAction::Key;
            choice.value = MouseKeyCodes[static_cast<size_t>(mousePosition_)];
        } else if (capturedKey_ != 0) {
            choice.kind = KeyAction::Key;
            choice.value = capturedKey_;
        }
        return choice;
    case KeyAction::Macro: {
        if (macro.listEmpty)
            return choice;
        // Never id 0: the keyboard would play the first macro under a name
        // the key's tooltip does not show.
        const uint16_t id = macro.selectedId != 0 ? macro.selectedId : macro.firstId;
        if (id == 0)
            return choice;
        choice.kind = KeyAction::Macro;
        choice.value = id;
        choice.playCount = std::max<uint8_t>(macro.playCount, 1);
        return choice;
    }
    case KeyAction::Media:
        choice.kind = KeyAction::Media;
        choice.value = static_cast<uint32_t>(mediaIndex_);
        return choice;
    case KeyAction::Function:
        choice.kind = KeyAction::Function;
        choice.value = static_cast<uint32_t>(functionIndex_);
        return choice;
    default:
        // Disabled, launch a program, stop macro, a text: no page shows
        // them, so only a page the user chose replaces them.
        if (!pageChosen_)
            return std::nullopt;
        return choice;
    }
}

ScreenPoint PlaceKeyAssignmentDialog(const ScreenRect& key, int w, int h, const ScreenRect& screen, bool macroOnly)
{
    if (macroOnly)
        return {screen.x + (screen.width - w) / 2, screen.y + (screen.height - h) / 2};
    const int right = key.x + key.width;
    const int bottom = key.y + key.height;
    const int screenRight = screen.x + screen.width;
    const int screenBottom = screen.y + screen.height;
    const bool fitsRight = screenRight - right >= w;
    const bool fitsLeft = key.x - screen.x >= w;
    const bool fitsBelow = screenBottom - bottom >= h;
    const bool fitsAbove = key.y - screen.y >= h;
    if (fitsRight && fitsBelow)
        return {right, bottom};
    if (fitsRight && fitsAbove)
        return {right, key.y - h};
    if (fitsLeft && fitsBelow)
        return {key.x - w, bottom};
    if (fitsLeft && fitsAbove)
        return {key.x - w, key.y - h};
    // Beside the key nowhere: right of and below it as far as the screen
    // allows, so that OK and Cancel stay on the screen.
    return {std::max(screen.x, std::min(right, screenRight - w)),
            std::max(screen.y, std::min(bottom, screenBottom - h))};
}

}  // namespace trevolin::profiles
