#include "shell/keyboard_logic.h"

#include "base/platform_values.h"

#include <algorithm>

namespace korvanta {
using namespace win;

KeyName NameKey(uint32_t vk, bool ctrl_down, bool shift_down, bool alt_down) {
    KeyName key{vk, ctrl_down, shift_down, alt_down};
    if (vk >= kVkNumpad0 && vk <= kVkNumpad9)
        key.code = '0' + (vk - kVkNumpad0);
    if (vk == kVkControl || vk == kVkLControl || vk == kVkRControl)
        key.ctrl = false;
    if (vk == kVkShift || vk == kVkLShift || vk == kVkRShift)
        key.shift = false;
    if (vk == kVkMenu || vk == kVkLMenu || vk == kVkRMenu)
        key.alt = false;
    return key;
}

namespace {

bool InTabOrder(const UnitState &u) {
    return u.visible && u.enabled && u.tab_stop && TraitsOf(u.type).can_focus &&
           u.type != UnitType::Window;
}

bool Plain(const KeyName &key, uint32_t code) {
    return key.code == code && !key.ctrl && !key.shift && !key.alt;
}

bool IsLetterOrDigit(uint32_t code) {
    return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

} // namespace

std::vector<int> TabOrder(std::span<const UnitState> units) {
    std::vector<int> order;
    for (int i = 1; i < static_cast<int>(units.size()); ++i) {
        if (InTabOrder(units[i]))
            order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (units[a].tab_order != units[b].tab_order)
            return units[a].tab_order < units[b].tab_order;
        return a > b;
    });
    return order;
}

int FirstFocusUnit(std::span<const UnitState> units) {
    std::vector<int> order = TabOrder(units);
    return order.empty() ? -1 : order.front();
}

int NextInTabOrder(std::span<const UnitState> units, int current, bool backward) {
    std::vector<int> order = TabOrder(units);
    if (order.empty())
        return -1;
    auto at = std::find(order.begin(), order.end(), current);
    if (at == order.end())
        return backward ? order.back() : order.front();
    size_t i = static_cast<size_t>(at - order.begin());
    size_t n = order.size();
    return order[backward ? (i + n - 1) % n : (i + 1) % n];
}

int NextTabStopAfter(std::span<const UnitState> units, int unit) {
    int n = static_cast<int>(units.size());
    for (int step = 1; step < n; ++step) {
        int i = (unit + step) % n;
        if (InTabOrder(units[i]))
            return i;
    }
    return -1;
}

bool CaptionHasMnemonic(const char *caption, uint32_t key) {
    if (!caption)
        return false;
    // Captions are UTF-8, where every byte of a multi-byte character is 0x80 or above: a byte
    // 0x26 is always the ampersand itself, so a byte scan needs no double-byte walk, and a
    // letter or digit after it is a whole character of its own.
    for (const char *p = caption; *p; ++p) {
        if (*p != '&')
            continue;
        if (p[1] == '&') {
            ++p;
            continue;
        }
        if (p[1] != '\0' && static_cast<uint32_t>(static_cast<unsigned char>(Upper(p[1]))) == key)
            return true;
    }
    return false;
}

int FindMnemonicUnit(std::span<const UnitState> units, const KeyName &key) {
    if (!key.alt || key.ctrl || key.shift || !IsLetterOrDigit(key.code))
        return -1;
    for (int i = 0; i < static_cast<int>(units.size()); ++i) {
        const UnitState &u = units[i];
        if (!u.on_screen || !u.visible || !u.enabled)
            continue;
        if (TraitsOf(u.type).mnemonic == MnemonicAction::None)
            continue;
        if (CaptionHasMnemonic(u.caption, key.code))
            return i;
    }
    return -1;
}

KeyAction DecideKey(std::span<const UnitState> units, int focused, const KeyName &key,
                    const KeyOptions &options) {
    const UnitState *focus =
        focused >= 0 && focused < static_cast<int>(units.size()) ? &units[focused] : nullptr;
    const bool enter = Plain(key, kVkReturn);

    // The focused unit may claim the key for itself.
    if (enter && focus && focus->type == UnitType::EditBox && focus->multiline && !focus->read_only)
        return {KeyActionKind::PassOn, -1};

    if (key.code == kVkTab && !key.ctrl && !key.alt) {
        int next = NextInTabOrder(units, focused, key.shift);
        return next < 0 ? KeyAction{KeyActionKind::Nothing, -1}
                        : KeyAction{KeyActionKind::MoveFocus, next};
    }
    if (enter) {
        if (focus && focus->type == UnitType::Button && focus->enabled && focus->default_button)
            return {KeyActionKind::RaiseClick, focused};
        if (options.enter_moves_focus) {
            int next = NextInTabOrder(units, focused, false);
            return next < 0 ? KeyAction{KeyActionKind::Nothing, -1}
                            : KeyAction{KeyActionKind::MoveFocus, next};
        }
        for (int i = 0; i < static_cast<int>(units.size()); ++i) {
            const UnitState &u = units[i];
            if (u.type == UnitType::Button && u.enabled && u.default_button)
                return {KeyActionKind::RaiseClick, i};
        }
        // Consumed all the same: a single-line edit box would answer Enter with a beep.
        return {KeyActionKind::Nothing, -1};
    }
    if (Plain(key, kVkEscape))
        return options.esc_closes ? KeyAction{KeyActionKind::Close, -1} : KeyAction{};
    if (Plain(key, kVkF1))
        return options.f1_opens_help ? KeyAction{KeyActionKind::OpenHelp, -1} : KeyAction{};

    int found = FindMnemonicUnit(units, key);
    if (found >= 0) {
        if (TraitsOf(units[found].type).mnemonic == MnemonicAction::RaiseClick)
            return {KeyActionKind::RaiseClick, found};
        int next = NextTabStopAfter(units, found);
        return next < 0 ? KeyAction{KeyActionKind::Nothing, -1}
                        : KeyAction{KeyActionKind::MoveFocus, next};
    }
    return {};
}

} // namespace korvanta
