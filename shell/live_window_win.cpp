#include "shell/live_window.h"

#include <algorithm>

namespace korvanta {
namespace {

std::vector<std::shared_ptr<LiveWindow>> &Registry() {
    static std::vector<std::shared_ptr<LiveWindow>> windows;
    return windows;
}

} // namespace

std::shared_ptr<LiveWindow> AddLiveWindow(const WindowDescription &description) {
    auto window = std::make_shared<LiveWindow>();
    window->description = &description;
    for (size_t i = 0; i < description.units.size(); ++i) {
        auto unit = std::make_unique<LiveUnit>();
        unit->owner = window.get();
        unit->record = &description.units[i];
        unit->index = static_cast<int32_t>(i);
        window->units.push_back(std::move(unit));
    }
    Registry().push_back(window);
    return window;
}

std::shared_ptr<LiveWindow> FindLiveWindow(int32_t window_id) {
    for (const auto &w : Registry()) {
        if (w->id() == window_id)
            return w;
    }
    return nullptr;
}

LiveWindow *FindLiveWindowByHwnd(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    for (const auto &w : Registry()) {
        if (w->hwnd == hwnd)
            return w.get();
    }
    return nullptr;
}

void RemoveLiveWindow(LiveWindow *window) {
    auto &all = Registry();
    auto at =
        std::find_if(all.begin(), all.end(), [&](const auto &w) { return w.get() == window; });
    if (at == all.end())
        return;
    std::shared_ptr<LiveWindow> keep = *at; // released at the end of this scope at the latest
    all.erase(at);
    keep->hwnd = nullptr;
    keep->loaded = false;
    for (auto &unit : keep->units) {
        unit->hwnd = nullptr;
        unit->font.Close();
        unit->background.Close();
    }
    keep->icon.Close();
    keep->background.Close();
    keep->hidden_owner.Close();
}

std::vector<std::shared_ptr<LiveWindow>> LiveWindows() {
    return Registry();
}

LiveUnit *FindUnitByHwnd(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    for (const auto &w : Registry()) {
        for (const auto &u : w->units) {
            if (u->index > 0 && u->hwnd == hwnd)
                return u.get();
        }
    }
    return nullptr;
}

int32_t FocusedUnit(const LiveWindow &window) {
    HWND focus = GetFocus();
    if (!focus)
        return -1;
    for (const auto &u : window.units) {
        if (u->index > 0 && u->hwnd && (u->hwnd == focus || IsChild(u->hwnd, focus)))
            return u->index;
    }
    return -1;
}

} // namespace korvanta
