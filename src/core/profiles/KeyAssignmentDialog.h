#pragma once

#include "core/profiles/KeyAssignment.h"

#include <array>
#include <cstdint>
#include <optional>

namespace trevolin::profiles {

// The key assignment dialog's decisions for one key, without widgets: the
// page shown, the key page's source and captured key, the lists' choices,
// and the entry Apply writes.
class KeyAssignmentDialogModel {
public:
    enum class Page { Key, Macro, Media, Function };
    enum class Source { Keyboard, Mouse };

    // Positions 0 to 4 of the mouse list.
    static constexpr std::array<uint16_t, 5> MouseKeyCodes = {0x171, 0x172, 0x173, 0x161, 0x162};

    struct Opening {
        uint16_t keyNumber = 0;
        bool macroOnly = false;  // opened by the macro button: the macro page alone
        uint16_t kind = 0;       // the entry's kind and value as the dialog opens
        uint32_t value = 0;
    };
    explicit KeyAssignmentDialogModel(const Opening& opening);

    Page ShownPage() const;
    // The kind Apply stores: 2, 4, 7, 8, or the entry's own until a page is
    // chosen.
    uint16_t PageKind() const { return pageKind_; }
    Source KeySource() const { return source_; }
    uint16_t CapturedKey() const { return capturedKey_; }
    int MousePosition() const { return mousePosition_; }
    int MediaIndex() const { return mediaIndex_; }
    int FunctionIndex() const { return functionIndex_; }
    // The macro to select when the macro page first shows: the entry's macro
    // id, 0 for the first macro.
    uint16_t InitialMacroId() const;
    bool MacroOnly() const { return opening_.macroOnly; }
    bool Dirty() const { return dirty_; }

    // The user: each returns whether the dialog changed.
    bool ChoosePage(Page page);
    void ChooseSource(Source source);
    void Capture(uint16_t keyCode);
    void ChooseMouse(int position);
    void ChooseMedia(int index);
    void ChooseFunction(int index);
    // Back to the keyboard's own function: the key page, empty.
    void Clear();

    // What the macro page holds when Apply runs.
    struct MacroChoice {
        bool listEmpty = true;
        uint16_t selectedId = 0;  // 0: none selected
        uint16_t firstId = 0;     // the list's first macro
        uint8_t playCount = 1;
    };
    // The entry Apply writes, or nothing when there is nothing to write: an
    // entry of a kind the dialog has no page for (a program to launch, a
    // text) is left as it is until the user chooses a page, instead of being
    // written back with its text released and value 0.
    std::optional<KeyChoice> ChoiceToApply(const MacroChoice& macro) const;
    void Applied() { dirty_ = false; }

private:
    Opening opening_;
    uint16_t pageKind_;
    Source source_ = Source::Keyboard;
    uint16_t capturedKey_ = 0;
    int mousePosition_ = 0;
    int mediaIndex_ = 0;
    int functionIndex_ = 0;
    bool pageChosen_ = false;
    bool dirty_ = false;
};

// Where the dialog opens, in screen coordinates: beside the key's button
// (right and below, right and above, left and below, left and above, the
// first that fits), centred for the macro button. Only where the program
// may place windows (X11); a Wayland compositor places dialogs itself.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};
ScreenPoint PlaceKeyAssignmentDialog(const ScreenRect& keyButton, int dialogWidth, int dialogHeight,
                                     const ScreenRect& screen, bool macroOnly);

}  // namespace trevolin::profiles
