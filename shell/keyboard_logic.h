#pragma once
// The keyboard rules of a program window over its unit records: key names, the Tab order,
// the first focused unit, the mnemonic search and what a key does. Pure: the Win32 layer
// fills in the units' run-time state and carries out the decision.

#include "shell/unit_record.h"

#include <cstdint>
#include <span>
#include <vector>

namespace korvanta {

// A key code with its modifiers.
struct KeyName {
    uint32_t code = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    friend bool operator==(const KeyName &, const KeyName &) = default;
};

// Keypad digits become the digits '0'-'9'; a modifier key carries no modifier of its own kind.
KeyName NameKey(uint32_t virtual_key, bool ctrl_down, bool shift_down, bool alt_down);

// A unit as the keyboard rules see it at one moment.
struct UnitState {
    UnitType type = UnitType::Window;
    bool on_screen = false; // it has a window that is shown on the screen
    bool visible = false;   // its own visible state
    bool enabled = false;
    bool tab_stop = false;
    int32_t tab_order = 0;
    const char *caption = nullptr;
    bool default_button = false;
    bool multiline = false;
    bool read_only = false;
};

// Units that take part in Tab traversal, by tab order key; on equal keys the unit later in
// list order comes first. Unit 0, the window itself, never takes part.
std::vector<int> TabOrder(std::span<const UnitState> units);

// Where the focus goes when the window gets it and no unit is remembered; -1 for none.
int FirstFocusUnit(std::span<const UnitState> units);

// The next (or previous) unit of the Tab order after `current`, wrapping at both ends. From a
// unit outside the order, forward starts at the first and backward at the last; -1 for none.
int NextInTabOrder(std::span<const UnitState> units, int current, bool backward);

// The first unit after `unit` in list order that is in the Tab order, wrapping; -1 for none.
int NextTabStopAfter(std::span<const UnitState> units, int unit);

// True when the caption has "&" followed by the key; letters match in either case and "&&"
// stands for a literal ampersand.
bool CaptionHasMnemonic(const char *caption, uint32_t key);

// The first unit in list order whose mnemonic is the key (Alt with a letter or digit, no
// Ctrl, no Shift); -1 for none.
int FindMnemonicUnit(std::span<const UnitState> units, const KeyName &key);

struct KeyOptions {
    bool enter_moves_focus = false;
    bool esc_closes = false;
    bool f1_opens_help = false; // and the help file exists
};

enum class KeyActionKind {
    PassOn,     // not consumed: translate and dispatch as usual
    Nothing,    // consumed without any effect
    MoveFocus,  // consumed: focus to `unit`
    RaiseClick, // consumed: raise the click event of `unit`
    Close,      // consumed: WM_CLOSE to the window
    OpenHelp,   // consumed: help at the window's help context
};
struct KeyAction {
    KeyActionKind kind = KeyActionKind::PassOn;
    int unit = -1;
    friend bool operator==(const KeyAction &, const KeyAction &) = default;
};

// What a key-down does before the focused control (`focused`, -1 for none) sees it.
KeyAction DecideKey(std::span<const UnitState> units, int focused, const KeyName &key,
                    const KeyOptions &options);

} // namespace korvanta
