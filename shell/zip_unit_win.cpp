#include "shell/zip_unit.h"

#include "shell/events.h"
#include "base/fatal.h"
#include "shell/live_window.h"
#include "unzip/archive_extractor.h"
#include "unzip/progress.h"

namespace korvanta {
namespace {

// The unit's progress callback: the percentage as the unit's event; a handler that gives
// back 0 asks the walk to stop.
void RaiseProgress(uint32_t current, uint32_t total, ArchiveExtractor &extractor) {
    auto *unit = static_cast<LiveUnit *>(extractor.unit);
    if (!unit)
        return;
    const int32_t args[] = {ProgressPercent(current, total)};
    // A function unit has no window of its own; it lives as long as the window it is on.
    LiveWindow &window = *unit->owner;
    if (!IsWindow(window.hwnd))
        return;
    EventOutcome out = RaiseEvent(window.id(), unit->index, event::kExtractProgress, args);
    if (out.handler_ran && out.result.given && out.result.value == 0 && IsWindow(window.hwnd))
        extractor.RequestCancel();
}

} // namespace

int32_t ExtractArchive(UnitRef ref, const char *archive_path, const char *destination) {
    // Held for the whole call: a progress handler may close the window.
    std::shared_ptr<LiveWindow> window = FindLiveWindow(ref.window);
    if (!window || !IsWindow(window->hwnd) || ref.unit <= 0 ||
        ref.unit >= static_cast<int32_t>(window->units.size()) ||
        window->units[ref.unit]->record->type != UnitType::Zip)
        FatalError("指定窗口或窗口组件不存在或尚未载入", 0);
    ArchiveExtractor extractor(window->units[ref.unit].get());
    if (!archive_path || !destination)
        return -1;
    extractor.SetProgressCallback(&RaiseProgress);
    return extractor.ExtractAll(archive_path, destination);
}

} // namespace korvanta
