// The events of a window and its units, through a test window that binds them all.
#include "shell/content.h"
#include "shell/events.h"
#include "shell/live_window.h"
#include "shell/message_dispatch.h"
#include "shell/shell.h"
#include "shell/window_loader.h"
#include "tests/shell/unit_window.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korvanta {
namespace {

constexpr int32_t kEventsWindowId = 78;
constexpr UnitRef kGo{kEventsWindowId, 1};
constexpr UnitRef kEdit{kEventsWindowId, 2};

std::vector<std::string> log;
bool refuse_close = false;
std::vector<int32_t> idle_args;

template <const char *Name> void Note() {
    log.emplace_back(Name);
}
constexpr char kCreate[] = "create", kMoved[] = "moved", kResized[] = "resized", kFirst[] = "first",
               kActivated[] = "activated", kDestroying[] = "destroying", kGoGot[] = "go got focus",
               kGoLost[] = "go lost focus", kGoClick[] = "go click", kChanged[] = "changed";

HandlerReturn OnCloseRequest(std::span<const int32_t>) {
    log.emplace_back("close request");
    return refuse_close ? HandlerReturn{true, 0} : HandlerReturn{};
}

HandlerReturn OnIdle(std::span<const int32_t> args) {
    idle_args.assign(args.begin(), args.end());
    PostMessageA(UnitWindow({kEventsWindowId, 0}), WM_CLOSE, 0, 0);
    return {true, 0};
}

const EventBinding kWindowEvents[] = {
    {event::kCreationComplete, &Note<kCreate>}, {event::kCloseRequest, nullptr, &OnCloseRequest},
    {event::kDestroying, &Note<kDestroying>},   {event::kMoved, &Note<kMoved>},
    {event::kResized, &Note<kResized>},         {event::kActivated, &Note<kActivated>},
    {event::kIdle, nullptr, &OnIdle},           {event::kFirstActivation, &Note<kFirst>},
};
const EventBinding kGoEvents[] = {
    {event::kClick, &Note<kGoClick>},
    {event::kGotFocus, &Note<kGoGot>},
    {event::kLostFocus, &Note<kGoLost>},
};
const EventBinding kEditEvents[] = {{event::kContentChanged, &Note<kChanged>}};

const WindowProps kProps{.title = "events", .position = 0};
const ButtonProps kGoProps{.caption = "&Go"};
const EditBoxProps kEditProps{};
const LabelProps kLabelProps{.text = "&Label"};
const UnitRecord kUnits[] = {
    {.type = UnitType::Window,
     .left = 10,
     .top = 10,
     .width = 300,
     .height = 200,
     .flags = kUnitVisible,
     .bindings = kWindowEvents,
     .window = &kProps},
    {.type = UnitType::Button,
     .left = 10,
     .top = 10,
     .width = 80,
     .height = 30,
     .flags = kUnitVisible | kUnitTabStop,
     .bindings = kGoEvents,
     .button = &kGoProps},
    {.type = UnitType::EditBox,
     .left = 10,
     .top = 50,
     .width = 80,
     .height = 20,
     .flags = kUnitVisible | kUnitTabStop,
     .bindings = kEditEvents,
     .edit_box = &kEditProps},
    {.type = UnitType::Label,
     .left = 10,
     .top = 80,
     .width = 80,
     .height = 20,
     .flags = kUnitVisible,
     .label = &kLabelProps},
};
const WindowDescription kDescription{.id = kEventsWindowId, .units = kUnits};
const WindowDescriptionEntry kEntry(kDescription);

size_t Find(const std::string &name) {
    return static_cast<size_t>(std::find(log.begin(), log.end(), name) - log.begin());
}
size_t Count(const std::string &name) {
    return static_cast<size_t>(std::count(log.begin(), log.end(), name));
}

class WindowEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.clear();
        idle_args.clear();
        refuse_close = false;
        ASSERT_TRUE(LoadWindow(kEventsWindowId));
        hwnd_ = UnitWindow({kEventsWindowId, 0});
    }
    void TearDown() override {
        refuse_close = false;
        if (IsWindow(hwnd_))
            DestroyWindow(hwnd_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
        }
    }
    HWND hwnd_ = nullptr;
};

TEST_F(WindowEventsTest, CreationEventsComeOnceAndInOrder) {
    // Creation made moves and sizes, but under suppression: nothing before creation-complete.
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "create");
    EXPECT_EQ(Count("create"), 1u);
    EXPECT_LT(Find("moved"), Find("resized"));
    EXPECT_LT(Find("resized"), log.size());
    EXPECT_EQ(Count("first"), 1u);
    EXPECT_LT(Find("first"), Find("activated"));
    EXPECT_LT(Find("activated"), log.size());
    // The window took the focus on activation and gave it to the first Tab stop (the later
    // of two equal keys): the edit box.
    EXPECT_EQ(GetFocus(), UnitWindow(kEdit));
}

TEST_F(WindowEventsTest, CloseRequestCanRefuseAndDestroyingFollowsAClose) {
    refuse_close = true;
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_EQ(Count("close request"), 1u);
    EXPECT_EQ(Count("destroying"), 0u);
    refuse_close = false;
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd_));
    EXPECT_EQ(Count("destroying"), 1u);
}

TEST_F(WindowEventsTest, AContentWriteRaisesContentChangedExactlyOnce) {
    log.clear();
    WriteContent(kEdit, "one");
    EXPECT_EQ(Count("changed"), 1u);
    WriteContent(kEdit, nullptr);
    EXPECT_EQ(Count("changed"), 2u);
    // A change the control makes itself reports as usual.
    SendMessageA(UnitWindow(kEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
    EXPECT_EQ(Count("changed"), 3u);
}

TEST_F(WindowEventsTest, UnitsRaiseFocusEvents) {
    log.clear();
    SetFocus(UnitWindow(kGo));
    EXPECT_EQ(log, (std::vector<std::string>{"go got focus"}));
    SetFocus(UnitWindow(kEdit));
    EXPECT_EQ(log, (std::vector<std::string>{"go got focus", "go lost focus"}));
}

TEST_F(WindowEventsTest, ALabelMnemonicMovesTheFocusToTheNextTabStop) {
    log.clear();
    // After the label (last in list order) the search wraps round to the button.
    PostMessageA(UnitWindow(kEdit), WM_SYSKEYDOWN, 'L', 1 | (1 << 29));
    DispatchPendingMessages();
    EXPECT_EQ(GetFocus(), UnitWindow(kGo));
    PostMessageA(UnitWindow(kGo), WM_SYSKEYDOWN, 'G', 1 | (1 << 29));
    DispatchPendingMessages();
    EXPECT_EQ(Count("go click"), 1u);
}

TEST_F(WindowEventsTest, TheLoopRaisesTheIdleEventWithTheTimeIdle) {
    RunMainLoop(); // the idle handler closes the window, which ends the loop
    ASSERT_EQ(idle_args.size(), 1u);
    EXPECT_GE(idle_args[0], 0);
    EXPECT_FALSE(IsWindow(hwnd_));
}

} // namespace
} // namespace korvanta
