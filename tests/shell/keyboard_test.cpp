// The keyboard of MainWindow through the real message loop: key messages are posted one at a
// time, each after the previous one has been handled, and the focus is noted in between.
#include "shell/events.h"
#include "shell/message_dispatch.h"
#include "shell/shell.h"
#include "tests/shell/window_fixture.h"

#include <string>
#include <vector>

namespace korvanta {
namespace {

enum Mod { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

struct KeyStep {
    UINT vk;
    int mods = kNone;
    UnitRef target{}; // window 0: whatever has the focus
    bool with_key_up = false;
    bool up_only = false; // just the release of the key
};

struct Observation {
    HWND focus;
    int replace;
    int restore;
    bool window_alive;
    int syschars;      // WM_SYSCHAR messages the thread has fetched so far
    int menu_commands; // SC_KEYMENU commands sent so far: the system's menu keyboard mode
};

// Counts the WM_SYSCHAR messages that TranslateMessage made and the loop fetched, and the
// SC_KEYMENU commands with which DefWindowProc enters the menu.
int syschars_fetched = 0;
int menu_commands_sent = 0;
LRESULT CALLBACK CountSysChars(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == PM_REMOVE && reinterpret_cast<MSG *>(lp)->message == WM_SYSCHAR)
        ++syschars_fetched;
    return CallNextHookEx(nullptr, code, wp, lp);
}
LRESULT CALLBACK CountMenuCommands(int code, WPARAM wp, LPARAM lp) {
    auto *call = reinterpret_cast<CWPSTRUCT *>(lp);
    if (code == HC_ACTION && call->message == WM_SYSCOMMAND &&
        (call->wParam & 0xFFF0) == SC_KEYMENU)
        ++menu_commands_sent;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// A helper window outside the program: each of its ticks notes what the previous key did
// and posts the next key, so that every key is handled by the loop before the next is sent.
class KeyScript {
public:
    explicit KeyScript(std::vector<KeyStep> steps) : steps_(std::move(steps)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KeyScriptProbe";
        RegisterClassA(&wc);
        probe_ = CreateWindowA("KeyScriptProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(probe_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        syschars_fetched = 0;
        menu_commands_sent = 0;
        hook_ = SetWindowsHookExA(WH_GETMESSAGE, &CountSysChars, nullptr, GetCurrentThreadId());
        call_hook_ =
            SetWindowsHookExA(WH_CALLWNDPROC, &CountMenuCommands, nullptr, GetCurrentThreadId());
    }
    ~KeyScript() {
        UnhookWindowsHookEx(call_hook_);
        UnhookWindowsHookEx(hook_);
        DestroyWindow(probe_);
        SetModifiers(kNone);
    }

    // Runs the steps inside RunMainLoop; the window is closed after the last one (unless a
    // key closed it already), which ends the loop.
    std::vector<Observation> Run() {
        PostMessageA(probe_, WM_APP, 0, 0);
        RunMainLoop();
        return seen_;
    }

private:
    static void SetModifiers(int mods) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = (mods & kShift) ? 0x80 : 0;
        state[VK_CONTROL] = (mods & kCtrl) ? 0x80 : 0;
        state[VK_MENU] = (mods & kAlt) ? 0x80 : 0;
        SetKeyboardState(state);
    }

    void Tick() {
        HWND main = UnitWindow(kMainWindow);
        seen_.push_back({GetFocus(), doubles::handler_log.replace, doubles::handler_log.restore,
                         main != nullptr, syschars_fetched, menu_commands_sent});
        if (!main)
            return; // the loop ends by itself once the window is gone
        if (next_ == steps_.size()) {
            SetModifiers(kNone);
            PostMessageA(main, WM_CLOSE, 0, 0);
            return;
        }
        const KeyStep &step = steps_[next_++];
        SetModifiers(step.mods);
        HWND target = step.target.window ? UnitWindow(step.target) : GetFocus();
        const bool alt = step.mods & kAlt;
        const UINT down = alt && !(step.mods & kCtrl) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        const LPARAM lp = 1 | (alt ? (1 << 29) : 0);
        if (!step.up_only)
            PostMessageA(target, down, step.vk, lp);
        if (step.with_key_up || step.up_only)
            PostMessageA(target, down == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, step.vk,
                         lp | (1u << 30) | (1u << 31));
        PostMessageA(probe_, WM_APP, 0, 0);
    }

    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_APP) {
            reinterpret_cast<KeyScript *>(GetWindowLongPtrA(h, GWLP_USERDATA))->Tick();
            return 0;
        }
        return DefWindowProcA(h, m, wp, lp);
    }

    std::vector<KeyStep> steps_;
    size_t next_ = 0;
    HWND probe_ = nullptr;
    HHOOK hook_ = nullptr;
    HHOOK call_hook_ = nullptr;
    std::vector<Observation> seen_;
};

class KeyboardTest : public MainWindowTest {
protected:
    std::vector<HWND> Focuses(const std::vector<Observation> &seen) {
        std::vector<HWND> out;
        for (const Observation &o : seen)
            out.push_back(o.focus);
        return out;
    }
    HWND edit() { return Hwnd(kEditBox1); }
    HWND b1() { return Hwnd(kButton1); }
    HWND b2() { return Hwnd(kButton2); }
};

TEST_F(KeyboardTest, TabCyclesForwardAndShiftTabBack) {
    HWND e = edit(), one = b1(), two = b2();
    KeyScript script(
        {{VK_TAB}, {VK_TAB}, {VK_TAB}, {VK_TAB, kShift}, {VK_TAB, kShift}, {VK_TAB, kShift}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(Focuses(seen), (std::vector<HWND>{e, one, two, e, two, one, e}));
    EXPECT_EQ(UnitWindow(kMainWindow), nullptr); // closed after the script: the loop ended
    EXPECT_EQ(doubles::handler_log.replace + doubles::handler_log.restore, 0);
}

TEST_F(KeyboardTest, EnterDoesNothingOnAnyUnit) {
    HWND e = edit(), one = b1(), two = b2();
    KeyScript script({{VK_RETURN, kNone, {}, true},
                      {VK_TAB},
                      {VK_RETURN, kNone, {}, true},
                      {VK_TAB},
                      {VK_RETURN, kNone, {}, true}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(Focuses(seen), (std::vector<HWND>{e, e, one, one, two, two}));
    EXPECT_TRUE(seen[5].window_alive);
    EXPECT_EQ(doubles::handler_log.replace + doubles::handler_log.restore, 0);
}

TEST_F(KeyboardTest, EscClosesTheWindow) {
    KeyScript script({{VK_ESCAPE}, {VK_TAB}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 2u); // the loop ended after Esc; the Tab never went out
    EXPECT_FALSE(seen[1].window_alive);
    EXPECT_EQ(FindLiveWindow(kMainWindowId), nullptr);
}

TEST_F(KeyboardTest, AltYAndAltNRaiseTheClicksWithoutPressingTheButtons) {
    bool pushed = true;
    HWND focus_inside = nullptr;
    doubles::on_replace = [&] {
        pushed = (SendMessageA(UnitWindow(kButton1), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        focus_inside = GetFocus();
    };
    HWND e = edit();
    KeyScript script({{'Y', kAlt, {}, true}, {'N', kAlt, {}, true}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].replace, 1);
    EXPECT_EQ(seen[1].restore, 0);
    EXPECT_EQ(seen[2].restore, 1);
    EXPECT_EQ(seen[2].replace, 1);
    EXPECT_FALSE(pushed);
    EXPECT_EQ(focus_inside, e);
    EXPECT_EQ(seen[2].focus, e); // the focus stays where it was
}

TEST_F(KeyboardTest, OtherAltCombinationsDoNothing) {
    KeyScript script({{'Y', kAlt | kShift, {}, true},
                      {'Y', kAlt | kCtrl, {}, true},
                      {'Q', kAlt, {}, true},
                      {'N', kCtrl, {}, true},
                      {'Y', kNone, {}, true}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_TRUE(seen[5].window_alive);
    EXPECT_EQ(seen[5].replace, 0);
    EXPECT_EQ(seen[5].restore, 0);
}

// Fault: after a mnemonic, releasing Alt entered the system menu, and a translated
// WM_SYSCHAR made the system beep.
TEST_F(KeyboardTest, AConsumedMnemonicMakesNoSysCharAndNoMenu) {
    // Alt down, Y down, Alt released before Y: the order in which fingers often leave them.
    KeyScript script({{VK_MENU, kAlt},
                      {'Y', kAlt},
                      {VK_MENU, kAlt, {}, false, true},
                      {'Y', kNone, {}, false, true}, // 4
                      {VK_MENU, kAlt},
                      {'Q', kAlt, {}, true},
                      {VK_MENU, kAlt, {}, false, true},
                      {VK_MENU, kAlt},
                      {VK_MENU, kAlt, {}, false, true}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 10u);
    EXPECT_EQ(seen[4].replace, 1);
    EXPECT_EQ(seen[4].syschars, 0);      // nothing for DefWindowProc to beep about
    EXPECT_EQ(seen[4].menu_commands, 0); // releasing Alt after Alt+Y enters no menu
    // The checks can see both: an unknown mnemonic is translated and goes on to the system's
    // menu search, and Alt pressed alone enters the menu as everywhere.
    EXPECT_EQ(seen[7].syschars, 1);
    EXPECT_EQ(seen[7].menu_commands, 1);
    EXPECT_EQ(seen[9].menu_commands, 2);
}

TEST_F(KeyboardTest, SpaceOnAFocusedButtonClicksIt) {
    KeyScript script(
        {{VK_TAB}, {VK_SPACE, kNone, {}, true}, {VK_TAB}, {VK_SPACE, kNone, {}, true}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[2].replace, 1);
    EXPECT_EQ(seen[4].restore, 1);
}

TEST_F(KeyboardTest, KeysForADisabledTargetSkipTheInspection) {
    EnableWindow(b2(), FALSE);
    KeyScript script({{VK_ESCAPE, kNone, kButton2}, {'Y', kAlt, kButton2}, {VK_ESCAPE}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_TRUE(seen[1].window_alive);
    EXPECT_EQ(seen[2].replace, 0);
    EXPECT_FALSE(seen[3].window_alive); // Esc to an enabled target closes
}

TEST_F(KeyboardTest, MnemonicsPassOverDisabledButtons) {
    EnableWindow(b1(), FALSE);
    KeyScript script({{'Y', kAlt}, {'N', kAlt}});
    std::vector<Observation> seen = script.Run();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].replace, 0);
    EXPECT_EQ(seen[2].restore, 1);
}

TEST_F(KeyboardTest, FocusComesBackToTheUnitThatHadItBeforeDeactivation) {
    SendMessageA(Hwnd(kMainWindow), WM_ACTIVATE, WA_ACTIVE, 0);
    SetFocus(b2());
    // Deactivation remembers 按钮2; the next focus on the window itself passes it on there.
    SendMessageA(Hwnd(kMainWindow), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(Hwnd(kMainWindow));
    EXPECT_EQ(GetFocus(), b2());
}

// Fault: a click that arrived while an action was still running (from the message loop of
// its final box, or a second key press) started the action again inside itself.
TEST_F(KeyboardTest, AClickWhileAClickHandlerRunsIsDropped) {
    int nested_replace = -1, nested_restore = -1;
    doubles::on_replace = [&] {
        if (doubles::handler_log.replace > 1)
            return;
        // The user clicks both buttons and types Alt+Y while the action is busy.
        SendMessageA(UnitWindow(kButton1), BM_CLICK, 0, 0);
        SendMessageA(UnitWindow(kButton2), BM_CLICK, 0, 0);
        PostMessageA(GetFocus(), WM_SYSKEYDOWN, 'Y', 1 | (1 << 29));
        DispatchPendingMessages();
        nested_replace = doubles::handler_log.replace;
        nested_restore = doubles::handler_log.restore;
    };
    SendMessageA(b1(), BM_CLICK, 0, 0);
    EXPECT_EQ(nested_replace, 1);
    EXPECT_EQ(nested_restore, 0);
    // Once it has returned, clicks run again.
    SendMessageA(b2(), BM_CLICK, 0, 0);
    SendMessageA(b1(), BM_CLICK, 0, 0);
    EXPECT_EQ(doubles::handler_log.restore, 1);
    EXPECT_EQ(doubles::handler_log.replace, 2);
}

} // namespace
} // namespace korvanta
