#include "core/macros/MacroListEditor.h"

#include "core/base/FormatText.h"
#include "core/keyboard/MacroKeyList.h"
#include "core/macros/MacroEventSpec.h"
#include "core/macros/MacroList.h"
#include "core/macros/MacroNameRule.h"
#include "core/macros/MacroText.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace trevolin::macros {

namespace {

using Status = MacroEditResult::Status;

// The name field takes at most this many characters before the record cuts it.
constexpr size_t TypedNameLength = 260;

MacroEditResult Refused(Status status, std::string message)
{
    MacroEditResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}


}  // namespace

MacroListEditor::MacroListEditor(std::vector<Macro> list, const base::TextLookup& texts, platform::Clock& clock)
    : list_(std::move(list)),
      texts_(texts),
      clock_(clock)
{
    for (Macro& m : list_)
        m.isNew = 0;
}

void MacroListEditor::Select(std::optional<size_t> position)
{
    selected_ = position && *position < list_.size() ? position : std::nullopt;
}

std::optional<size_t> MacroListEditor::Find(std::string_view reference) const
{
    return FindMacroByIdOrName(list_, reference);
}

MacroEditResult MacroListEditor::CheckName(std::u16string_view name)
{
    if (std::string problem = MacroNameProblem(name); !problem.empty())
        return Refused(Status::BadName, problem + ".");
    return {};
}

MacroEditResult MacroListEditor::CheckEvents(std::span<const MacroEvent> events)
{
    if (events.size() > Macro::MaxEvents)
        return Refused(Status::TooManyEvents, "a macro holds at most " + std::to_string(Macro::MaxEvents) + " events.");
    return {};
}

MacroEditResult MacroListEditor::TooMany() const
{
    return Refused(Status::TooManyMacros, base::FormatText(texts_.Text(MacroErrMaxKey), int(MaxMacroCount)));
}

bool MacroListEditor::NameTaken(std::u16string_view name, std::optional<size_t> except) const
{
    for (size_t i = 0; i < list_.size(); ++i)
        if (i != except && list_[i].name == name)
            return true;
    return false;
}

Macro* MacroListEditor::At(size_t position)
{
    return position < list_.size() ? &list_[position] : nullptr;
}

MacroEditResult MacroListEditor::Add(std::u16string_view name, uint8_t playCount, std::vector<MacroEvent> events)
{
    if (MacroEditResult checked = CheckName(name); !checked.Changed())
        return checked;
    if (MacroEditResult checked = CheckEvents(events); !checked.Changed())
        return checked;
    if (list_.size() >= MaxMacroCount)
        return TooMany();
    if (NameTaken(name, std::nullopt))
        return Refused(Status::NameTaken, "a macro named \"" + Utf16ToUtf8(name) + "\" exists already.");
    auto created = NewMacro(list_, name);
    if (!created)
        return Refused(Status::NoFreeId, "every macro id is taken.");
    created->playCount = std::max<uint8_t>(playCount, 1);
    created->events = std::move(events);
    list_.push_back(std::move(*created));
    selected_ = list_.size() - 1;
    dirty_ = true;
    MacroEditResult result;
    result.position = list_.size() - 1;
    return result;
}

MacroEditResult MacroListEditor::Rename(size_t position, std::u16string_view name)
{
    if (position >= list_.size())
        return Refused(Status::NoSuchMacro, {});
    if (MacroEditResult checked = CheckName(name); !checked.Changed())
        return checked;
    if (NameTaken(name, position))
        return Refused(Status::NameTaken, "a macro named \"" + Utf16ToUtf8(name) + "\" exists already.");
    list_[position].name = CutMacroName(name);
    dirty_ = true;
    MacroEditResult result;
    result.position = position;
    return result;
}

std::u16string MacroListEditor::NextDefaultName(std::optional<size_t> except)
{
    if (!except || *except >= list_.size())
        return counter_.NextName(list_, texts_, clock_);
    // The macro being renamed is set aside, as if its name were not there.
    const auto it = list_.begin() + static_cast<std::ptrdiff_t>(*except);
    std::rotate(it, it + 1, list_.end());
    std::u16string name = counter_.NextName(std::span(list_).first(list_.size() - 1), texts_, clock_);
    std::rotate(it, list_.end() - 1, list_.end());
    return name;
}

MacroEditResult MacroListEditor::AddNew()
{
    if (list_.size() >= MaxMacroCount)
        return TooMany();
    const std::u16string name = NextDefaultName(std::nullopt);
    auto created = NewMacro(list_, name);
    if (!created)
        return Refused(Status::NoFreeId, "every macro id is taken.");
    list_.push_back(std::move(*created));
    selected_ = list_.size() - 1;
    dirty_ = true;
    MacroEditResult result;
    result.position = list_.size() - 1;
    return result;
}

MacroEditResult MacroListEditor::FinishNameEdit(std::u16string_view typed)
{
    const std::u16string text = CutMacroName(typed.substr(0, TypedNameLength));
    if (list_.empty()) {
        std::u16string name = text.empty() ? NextDefaultName(std::nullopt) : text;
        auto created = NewMacro(list_, name);
        if (!created)
            return Refused(Status::NoFreeId, {});
        list_.insert(list_.begin(), std::move(*created));
        selected_ = 0;
        dirty_ = true;
        return {};
    }
    if (!selected_ || text.empty())
        return {};
    const size_t position = *selected_;
    if (MacroEditResult checked = CheckName(text); !checked.Changed())
        return checked;
    for (size_t i = 0; i < list_.size(); ++i) {
        if (i != position && list_[i].name.size() == text.size() && StartsWithCaseless(list_[i].name, text))
            return Refused(Status::NameTaken, texts_.Text(MacroSameNameKey));
    }
    if (list_[position].name != text) {
        list_[position].name = text;
        dirty_ = true;
    }
    MacroEditResult result;
    result.position = position;
    return result;
}

bool MacroListEditor::DeleteNeedsConfirmation(size_t position, const std::function<bool(uint16_t)>& keysPlay) const
{
    if (position >= list_.size() || list_[position].isNew != 0)
        return false;
    return keysPlay && keysPlay(list_[position].id);
}

bool MacroListEditor::Delete(size_t position)
{
    if (position >= list_.size())
        return false;
    list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(position));
    if (list_.empty())
        selected_.reset();
    else
        selected_ = position == 0 ? 0 : position - 1;
    dirty_ = true;
    return true;
}

uint8_t MacroListEditor::SetPlayCount(size_t position, int64_t typed)
{
    Macro* macro = At(position);
    if (macro == nullptr)
        return 0;
    macro->playCount = static_cast<uint8_t>(std::clamp<int64_t>(typed, 1, 255));
    dirty_ = true;
    return macro->playCount;
}

std::optional<size_t> MacroListEditor::AddEvent(size_t position, MacroEvent event, const EventInsert& how)
{
    Macro* macro = At(position);
    if (macro == nullptr || macro->events.size() >= Macro::MaxEvents)
        return std::nullopt;
    auto& rows = macro->events;
    if (how.recording && !how.recordDelay)
        event.delayMs = FixedRecordDelayMs;
    if (event.action > MacroEvent::Release)
        event.action = MacroEvent::Press;
    const size_t row = how.afterRow && *how.afterRow < rows.size() ? *how.afterRow + 1 : rows.size();
    if (!how.keepDelay) {
        if (row == 0)
            event.delayMs = 0;
        else
            std::swap(event.delayMs, rows[row - 1].delayMs);
    }
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(row), event);
    dirty_ = true;
    return row;
}

bool MacroListEditor::DeleteEvent(size_t position, size_t row)
{
    Macro* macro = At(position);
    if (macro == nullptr || row >= macro->events.size())
        return false;
    macro->events.erase(macro->events.begin() + static_cast<std::ptrdiff_t>(row));
    dirty_ = true;
    return true;
}

bool MacroListEditor::ClearEvents(size_t position)
{
    Macro* macro = At(position);
    if (macro == nullptr || macro->events.empty())
        return false;
    macro->events.clear();
    dirty_ = true;
    return true;
}

std::optional<size_t> MacroListEditor::MoveEvent(size_t position, size_t row, EventMove move)
{
    Macro* macro = At(position);
    if (macro == nullptr || row >= macro->events.size())
        return std::nullopt;
    auto& rows = macro->events;
    size_t to = row;
    switch (move) {
    case EventMove::Top:
        to = 0;
        break;
    case EventMove::Up:
        to = row == 0 ? 0 : row - 1;
        break;
    case EventMove::Down:
        to = std::min(row + 1, rows.size() - 1);
        break;
    case EventMove::Bottom:
        to = rows.size() - 1;
        break;
    }
    const auto from = rows.begin() + static_cast<std::ptrdiff_t>(row);
    const auto target = rows.begin() + static_cast<std::ptrdiff_t>(to);
    if (to < row)
        std::rotate(target, from, from + 1);
    else
        std::rotate(from, from + 1, target + 1);
    dirty_ = true;
    return to;
}

MacroEditResult MacroListEditor::SetEventDelay(size_t position, size_t row, uint64_t typedMs)
{
    Macro* macro = At(position);
    if (macro == nullptr || row >= macro->events.size())
        return Refused(Status::NoSuchMacro, {});
    MacroEditResult result;
    result.position = position;
    if (typedMs > MaxEventDelayMs) {
        result.status = Status::DelayCapped;
        result.message = base::FormatText(texts_.Text(MacroDelayMaxKey), int(MaxEventDelayMs));
        typedMs = MaxEventDelayMs;
    }
    macro->events[row].delayMs = static_cast<uint32_t>(typedMs / 10 * 10);
    dirty_ = true;
    return result;
}

bool MacroListEditor::SetEventKey(size_t position, size_t row, size_t keyListPosition)
{
    Macro* macro = At(position);
    if (macro == nullptr || row >= macro->events.size() || keyListPosition >= keyboard::MacroKeyCount)
        return false;
    const uint16_t keyCode = keyboard::MacroKeyScan(keyListPosition);
    if (keyCode == 0 || keyCode == macro->events[row].keyCode)
        return false;
    macro->events[row].keyCode = keyCode;
    dirty_ = true;
    return true;
}

bool MacroListEditor::SetEventAction(size_t position, size_t row, uint16_t action)
{
    Macro* macro = At(position);
    if (macro == nullptr || row >= macro->events.size() || action > MacroEvent::Release ||
        macro->events[row].action == action)
        return false;
    macro->events[row].action = action;
    dirty_ = true;
    return true;
}

}  // namespace trevolin::macros
