#include "cli/KeyTarget.h"

#include "core/keyboard/KeyByName.h"
#include "core/keyboard/KeyboardLayout.h"

namespace trevolin::cli {

namespace {

KeyTarget GTarget(size_t gIndex, int bank)
{
    KeyTarget t;
    t.name = "G" + std::to_string(gIndex + 1);
    t.keyNumber = keyboard::GKeyNumber(gIndex, bank == 1);
    t.gKey = true;
    t.gIndex = gIndex;
    t.bank = bank;
    return t;
}

}  // namespace

std::vector<KeyTarget> AllKeyTargets()
{
    std::vector<KeyTarget> targets;
    const auto layout = keyboard::LayoutKeys();
    for (size_t i = 0; i < layout.size(); ++i) {
        KeyTarget t;
        t.name = std::string(keyboard::NameOfKey({keyboard::KeyKind::Layout, static_cast<uint8_t>(i)}));
        t.keyNumber = layout[i].keyNumber;
        t.scan = layout[i].scan;
        targets.push_back(t);
    }
    for (int bank = 0; bank < 2; ++bank)
        for (size_t g = 0; g < keyboard::GKeyCount; ++g)
            targets.push_back(GTarget(g, bank));
    return targets;
}

std::optional<KeyTarget> FindKeyTarget(std::string_view name, std::string_view bank, std::string& error)
{
    const auto key = keyboard::KeyByName(name);
    if (!key || key->kind == keyboard::KeyKind::Fn) {
        // Which keys can be reassigned depends on the keyboard's key map;
        // the caller names them.
        error = "'" + std::string(name) + "' is not a key that can be reassigned";
        return std::nullopt;
    }
    if (key->kind == keyboard::KeyKind::Layout) {
        if (!bank.empty()) {
            error = "--bank is only for the G keys";
            return std::nullopt;
        }
        KeyTarget t;
        t.name = std::string(keyboard::NameOfKey(*key));
        t.keyNumber = keyboard::LayoutKeys()[key->index].keyNumber;
        t.scan = keyboard::LayoutKeys()[key->index].scan;
        return t;
    }
    int b = 0;
    if (bank == "b" || bank == "B" || bank == "2")
        b = 1;
    else if (!bank.empty() && bank != "a" && bank != "A" && bank != "1") {
        error = "--bank takes a or b (1 or 2), not \"" + std::string(bank) + "\"";
        return std::nullopt;
    }
    return GTarget(key->index, b);
}

}  // namespace trevolin::cli
