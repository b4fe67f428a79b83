#include "shell/events.h"

#include "base/fatal.h"
#include "shell/live_window.h"

namespace korvanta {
namespace {

int32_t suppression = 0;
UnitRef current_source;

// Restores the previous event source when a (possibly nested) handler returns.
class SourceScope {
public:
    explicit SourceScope(UnitRef source) : saved_(current_source) { current_source = source; }
    SourceScope(const SourceScope &) = delete;
    SourceScope &operator=(const SourceScope &) = delete;
    ~SourceScope() { current_source = saved_; }

private:
    UnitRef saved_;
};

const EventBinding *FindBinding(const UnitRecord &unit, int32_t event) {
    for (const EventBinding &b : unit.bindings) {
        if (b.event == event)
            return &b;
    }
    return nullptr;
}

} // namespace

void RaiseEventSuppression() {
    ++suppression;
}

void LowerEventSuppression() {
    --suppression;
}

bool EventsSuppressed() {
    return suppression > 0;
}

EventOutcome RaiseEvent(int32_t window_id, int32_t unit, int32_t event,
                        std::span<const int32_t> args) {
    if (EventsSuppressed())
        return {};
    // Held for the whole call: a handler may destroy the window under our feet.
    std::shared_ptr<LiveWindow> window = FindLiveWindow(window_id);
    if (!window)
        FatalError("未找到引发事件的窗口", 0);
    if (unit < 0 || unit >= static_cast<int32_t>(window->units.size()))
        FatalError("未找到引发事件的窗口组件", 0);
    const UnitRecord &record = *window->units[unit]->record;
    if (!TraitsOf(record.type).raises_events)
        FatalError("引发事件的窗口组件无效", 0);

    const EventBinding *binding = FindBinding(record, event);
    if (!binding || (!binding->plain && !binding->valued))
        return {};

    const bool click = record.type == UnitType::Button && event == event::kClick;
    if (click && window->running_clicks > 0)
        return {};

    EventOutcome outcome;
    outcome.handler_ran = true;
    SourceScope source({window_id, unit});
    if (click)
        ++window->running_clicks;
    if (binding->valued)
        outcome.result = binding->valued(args);
    else
        binding->plain();
    if (click)
        --window->running_clicks;
    return outcome;
}

UnitRef CurrentEventSource() {
    return current_source;
}

} // namespace korvanta
