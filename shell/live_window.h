#pragma once
// The run-time side of a loaded program window: one live record per window and per unit,
// kept in the registry of loaded windows from LoadWindow until the window is gone.

#include "shell/unit_record.h"
#include "shell/win_handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace korvanta {

struct LiveWindow;

// A unit's live object. Function units (ZIP) have one too, without a window of their own.
struct LiveUnit {
    LiveWindow *owner = nullptr;
    const UnitRecord *record = nullptr;
    int32_t index = 0;
    int32_t control_id = 0;
    HWND hwnd = nullptr;
    WNDPROC native_proc = nullptr; // the control class's own procedure, for subclassed units
    HCURSOR cursor = nullptr;      // null: the class cursor
    HFONT shown_font = nullptr;    // what WM_SETFONT gave the window layer's own classes
    UniqueFont font;               // only when the unit has a font description of its own
    UniqueBrush background;        // only when the background is not the default colour
    std::string content;           // EditBox: the content as last read or written
    bool writing = false;          // EditBox: a content write is in progress
};

struct LiveWindow {
    const WindowDescription *description = nullptr;
    HWND hwnd = nullptr;
    UniqueWindow hidden_owner;
    UniqueIcon icon;
    UniqueBrush background;
    std::vector<std::unique_ptr<LiveUnit>> units; // index = list position; [0] the window
    bool loaded = false;
    bool activated_once = false;
    int32_t remembered_focus = -1; // unit that had the focus at the last deactivation
    int32_t running_clicks = 0;    // click handlers of this window's buttons now running

    int32_t id() const { return description->id; }
    const WindowProps &props() const { return *description->units[0].window; }
};

// Registry of loaded windows. Records are shared so that a caller in the middle of an event
// can keep one alive while a handler destroys the window.
std::shared_ptr<LiveWindow> AddLiveWindow(const WindowDescription &description);
std::shared_ptr<LiveWindow> FindLiveWindow(int32_t window_id);
// The program window whose top-level window is `hwnd`, or null.
LiveWindow *FindLiveWindowByHwnd(HWND hwnd);
// Forgets the window (at WM_NCDESTROY) and releases its per-window resources.
void RemoveLiveWindow(LiveWindow *window);
// Every loaded window, for the idle step and the quit rule.
std::vector<std::shared_ptr<LiveWindow>> LiveWindows();

// The unit whose control is `hwnd`, in any loaded window; null for none.
LiveUnit *FindUnitByHwnd(HWND hwnd);
// The unit of `window` that holds the keyboard focus (the control or a child of it); -1.
int32_t FocusedUnit(const LiveWindow &window);

} // namespace korvanta
