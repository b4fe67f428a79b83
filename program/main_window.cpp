#include "program/main_window.h"

#include "base/platform_values.h"
#include "program/handlers.h"

namespace korvanta {
namespace {

constexpr Colour kBlack = win::Rgb(0x00, 0x00, 0x00);
constexpr Colour kGrey = win::Rgb(0x80, 0x80, 0x80);
constexpr Colour kWhite = win::Rgb(0xFF, 0xFF, 0xFF);

const WindowProps kWindow{
    .title = "Korvanta",
    .border_style = 2,
    .background = kDefaultColour,
    .picture_mode = 1,
    .music_play_count = 0,
    .control_button = true,
    .maximise_button = false,
    .minimise_button = false,
    .position = 1,
    .movable = true,
    .icon_resource = "DEFAULT_ICON",
    .enter_moves_focus = false,
    .esc_closes = true,
    .f1_opens_help = false,
    .help_file = "",
    .help_context = 0,
    .show_in_taskbar = true,
    .drag_by_client_area = false,
    .shape = 0,
    .always_on_top = false,
    .keep_caption_active = false,
    .class_name = "",
};

const LabelProps kLabel{
    .text = "  玩腻国服的小盆友们,来体验体验外服的,\r\n\r\n军衔图标吧。",
    .effect = 0,
    .border = 0,
    .frame_width = 8,
    .frame_colours = {kGrey, kWhite, kGrey},
    .text_colour = kBlack,
    .background = kDefaultColour,
    .picture_mode = 1,
    .gradient_background = 0,
    .gradient_colours = {kGrey, kWhite, kGrey},
    .horizontal_alignment = 0,
    .word_wrap = true,
    .vertical_alignment = 1,
};

const ButtonProps kRestoreButton{
    .caption = "恢复(&N)",
    .type = 0,
    .horizontal_alignment = 1,
    .vertical_alignment = 1,
};

const ButtonProps kReplaceButton{
    .caption = "替换(&Y)",
    .type = 0,
    .horizontal_alignment = 1,
    .vertical_alignment = 1,
};

const EditBoxProps kEditBox{
    .content = "",
    .border = 0,
    .text_colour = kBlack,
    .background = kDefaultColour,
    .hide_selection = true,
    .max_length = 0,
    .multiline = false,
    .scroll_bars = 0,
    .alignment = 1,
    .input_mode = 1,
    .password_char = "*",
    .case_conversion = 0,
    .spin = 0,
    .spin_min = 0,
    .spin_max = 100,
    .selection_start = 0,
    .selection_length = 0,
};

const EventBinding kWindowEvents[] = {
    {.event = event::kCreationComplete, .plain = &StartupStaging}};
const EventBinding kRestoreEvents[] = {{.event = event::kClick, .plain = &RestoreAction}};
const EventBinding kReplaceEvents[] = {{.event = event::kClick, .plain = &ReplaceAction}};

constexpr uint32_t kShown = kUnitVisible;
constexpr uint32_t kShownTabStop = kUnitVisible | kUnitTabStop;

const UnitRecord kUnits[] = {
    {.type = UnitType::Window,
     .name = "",
     .left = 50,
     .top = 50,
     .width = 276,
     .height = 201,
     .flags = kShown,
     .bindings = kWindowEvents,
     .window = &kWindow},
    {.type = UnitType::Label,
     .name = "标签1",
     .left = 16,
     .top = 24,
     .width = 232,
     .height = 48,
     .flags = kShown,
     .label = &kLabel},
    {.type = UnitType::Button,
     .name = "按钮2",
     .left = 144,
     .top = 104,
     .width = 96,
     .height = 48,
     .flags = kShownTabStop,
     .bindings = kRestoreEvents,
     .button = &kRestoreButton},
    {.type = UnitType::Button,
     .name = "按钮1",
     .left = 24,
     .top = 104,
     .width = 88,
     .height = 48,
     .flags = kShownTabStop,
     .bindings = kReplaceEvents,
     .button = &kReplaceButton},
    {.type = UnitType::Zip,
     .name = "ZIP压缩1",
     .left = 104,
     .top = 104,
     .width = 48,
     .height = 48,
     .flags = 0},
    {.type = UnitType::EditBox,
     .name = "编辑框1",
     .left = 0,
     .top = 216,
     .width = 272,
     .height = 16,
     .flags = kShownTabStop,
     .edit_box = &kEditBox},
};

} // namespace

const WindowDescription MainWindow{.id = kMainWindowId, .units = kUnits};

namespace {
const WindowDescriptionEntry kMainWindowEntry(MainWindow);
}

} // namespace korvanta
