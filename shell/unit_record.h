#pragma once
// The description of a program window: an ordered list of units, position 0 being the window
// itself. The list order is the z-order of the child units, the order of the mnemonic search
// and the tie-breaker of the Tab order; the units are created in reverse list order.
// Pure data: descriptions are constants of the program, built in code.

#include <cstdint>
#include <span>
#include <vector>

namespace korvanta {

enum class UnitType : int32_t { Window, Label, Button, EditBox, Zip };

// What a unit type does at run time.
enum class MnemonicAction { None, RaiseClick, FocusNext };
struct UnitTypeTraits {
    bool has_window = false; // false: a function unit, never on screen
    bool can_focus = false;
    MnemonicAction mnemonic = MnemonicAction::None;
    bool raises_events = false;
};
UnitTypeTraits TraitsOf(UnitType type);

// A colour property: a COLORREF value, or default (the system colour COLOR_BTNFACE).
using Colour = uint32_t;
inline constexpr Colour kDefaultColour = 0xFF000000u;

// Event indices. Events count per type from 0; the common events are negative.
namespace event {
inline constexpr int32_t kGotFocus = -7;
inline constexpr int32_t kLostFocus = -8;
inline constexpr int32_t kCreationComplete = 0; // window
inline constexpr int32_t kCloseRequest = 1;     // window, logical result
inline constexpr int32_t kDestroying = 2;       // window
inline constexpr int32_t kMoved = 3;            // window
inline constexpr int32_t kResized = 4;          // window
inline constexpr int32_t kActivated = 5;        // window
inline constexpr int32_t kDeactivated = 6;      // window
inline constexpr int32_t kIdle = 7;             // window: milliseconds idle, logical result
inline constexpr int32_t kFirstActivation = 8;  // window
inline constexpr int32_t kClick = 0;            // Button
inline constexpr int32_t kContentChanged = 0;   // EditBox
inline constexpr int32_t kExtractProgress = 1;  // ZIP: percentage, logical result
} // namespace event

// What a handler gives back: a value, and whether it gave one at all.
struct HandlerReturn {
    bool given = false;
    int32_t value = 0;
};
using PlainHandler = void (*)();
using ValueHandler = HandlerReturn (*)(std::span<const int32_t> args);

// Ties an event index of a unit to a handler. Handlers of the program's own events take no
// arguments and give nothing back (plain); events with arguments or a result use valued.
struct EventBinding {
    int32_t event = 0;
    PlainHandler plain = nullptr;
    ValueHandler valued = nullptr;
};

struct WindowProps {
    const char *title = "";
    int32_t border_style = 2; // 0 none, 1 sizable, 2 fixed, 3/4 tool window, 5/6 client edge
    Colour background = kDefaultColour;
    std::span<const uint8_t> picture;
    int32_t picture_mode = 1;
    std::span<const uint8_t> music;
    int32_t music_play_count = 0;
    bool control_button = true;
    bool maximise_button = false;
    bool minimise_button = false;
    int32_t position = 0; // 0 design place, 1 centred, 2 minimised, 3 maximised
    bool movable = true;
    // Icon resource of the module; its icon file goes into the executable's resources.
    const char *icon_resource = nullptr;
    bool enter_moves_focus = false;
    bool esc_closes = false;
    bool f1_opens_help = false;
    const char *help_file = "";
    int32_t help_context = 0;
    bool show_in_taskbar = true;
    bool drag_by_client_area = false;
    int32_t shape = 0;
    bool always_on_top = false;
    bool keep_caption_active = false;
    const char *class_name = "";
};

struct LabelProps {
    const char *text = "";
    int32_t effect = 0; // 0 plain, 1 relief, 2 sunken, 3 shadow
    int32_t border = 0; // 0 none, 6 gradient frame
    int32_t frame_width = 0;
    Colour frame_colours[3] = {kDefaultColour, kDefaultColour, kDefaultColour};
    std::span<const uint8_t> font; // a 60-byte LOGFONTA (face name in UTF-8), else the default font
    Colour text_colour = 0;
    Colour background = kDefaultColour;
    std::span<const uint8_t> picture;
    int32_t picture_mode = 1;
    int32_t gradient_background = 0; // 0 none, 1 horizontal, 2 vertical
    Colour gradient_colours[3] = {kDefaultColour, kDefaultColour, kDefaultColour};
    int32_t horizontal_alignment = 0; // 0 left, 1 centre, 2 right
    bool word_wrap = false;
    int32_t vertical_alignment = 0; // 0 top, 1 centre, 2 bottom
    const char *data_source = "";
    const char *data_column = "";
};

struct ButtonProps {
    const char *caption = "";
    int32_t type = 0;                 // 0 normal, 1 default button
    int32_t horizontal_alignment = 1; // 0 left, 1 centre, 2 right
    int32_t vertical_alignment = 1;   // 0 top, 1 centre, 2 bottom
    std::span<const uint8_t> picture;
    std::span<const uint8_t> font;
};

struct EditBoxProps {
    const char *content = "";
    int32_t border = 0; // 0 none, 1 sunken, 2 single line
    Colour text_colour = 0;
    Colour background = kDefaultColour;
    std::span<const uint8_t> font;
    bool hide_selection = true;
    int32_t max_length = 0;
    bool multiline = false;
    int32_t scroll_bars = 0; // 0 none, 1 horizontal, 2 vertical, 3 both
    int32_t alignment = 0;   // 0 left, 1 centre, 2 right
    int32_t input_mode = 0;  // 0 normal, 1 read-only, 2 password
    const char *password_char = "*";
    int32_t case_conversion = 0; // 0 none, 1 upper, 2 lower
    int32_t spin = 0;
    int32_t spin_min = 0;
    int32_t spin_max = 100;
    int32_t selection_start = 0;
    int32_t selection_length = 0;
    const char *data_source = "";
    const char *data_column = "";
};

// Unit flags.
inline constexpr uint32_t kUnitVisible = 1u << 0;
inline constexpr uint32_t kUnitDisabled = 1u << 1;
inline constexpr uint32_t kUnitTabStop = 1u << 2;

struct UnitRecord {
    UnitType type = UnitType::Window;
    const char *name = "";
    int32_t left = 0, top = 0, width = 0, height = 0;
    const char *tag = "";
    uint32_t flags = 0;
    int32_t tab_order = 0;
    int32_t mouse_pointer = 0; // 0: the class cursor; else a system cursor id (IDC_*)
    std::span<const EventBinding> bindings;
    // The properties of the unit's type; exactly the one that matches type is set.
    const WindowProps *window = nullptr;
    const LabelProps *label = nullptr;
    const ButtonProps *button = nullptr;
    const EditBoxProps *edit_box = nullptr;
};

struct WindowDescription {
    int32_t id = 0;
    std::span<const UnitRecord> units;
};

// A unit of a program window, as the program's own code names it.
struct UnitRef {
    int32_t window = 0;
    int32_t unit = 0;
};

// Window descriptions that the program holds as constants register themselves before start-up
// (a static WindowDescriptionEntry beside each); the shell reads them into its window table.
class WindowDescriptionEntry {
public:
    explicit WindowDescriptionEntry(const WindowDescription &description);
};
const std::vector<const WindowDescription *> &HeldWindowDescriptions();

// The caption that a unit's mnemonic is searched in, or null for types without one.
const char *CaptionOf(const UnitRecord &unit);

// True when every unit carries the properties of its type, its texts are UTF-8 and unit 0 is the
// window.
bool DescriptionIsConsistent(const WindowDescription &description);

} // namespace korvanta
