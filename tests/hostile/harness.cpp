#include "tests/hostile/harness.h"

#include "shell/live_window.h"
#include "shell/window_loader.h"
#include "shell/zip_unit.h"
#include "tests/shell/unit_window.h"

#include <cstdio>
#include <span>

namespace korvanta::test {
namespace {

constexpr int32_t kHarnessWindowId = 91;
constexpr UnitRef kHarnessZip{kHarnessWindowId, 1};

std::vector<int32_t> *recording = nullptr;

HandlerReturn OnProgress(std::span<const int32_t> args) {
    if (recording)
        recording->push_back(args.size() == 1 ? args[0] : -999);
    return {};
}

const EventBinding kZipEvents[] = {{.event = event::kExtractProgress, .valued = &OnProgress}};
const WindowProps kHarnessWindow{.title = "hostile harness", .position = 0};
const UnitRecord kHarnessUnits[] = {
    {.type = UnitType::Window, .width = 200, .height = 120, .window = &kHarnessWindow},
    {.type = UnitType::Zip, .name = "ZIP压缩1", .bindings = kZipEvents},
};
const WindowDescription kHarnessDescription{.id = kHarnessWindowId, .units = kHarnessUnits};
const WindowDescriptionEntry kHarnessEntry(kHarnessDescription);

} // namespace

void LoadHarnessWindow() {
    if (!UnitWindow({kHarnessWindowId, 0}))
        LoadWindow(kHarnessWindowId);
}

void CloseHarnessWindow() {
    if (HWND window = UnitWindow({kHarnessWindowId, 0}))
        DestroyWindow(window);
    // The last program window going away posts a quit message; it must not linger.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

Extraction RunExtraction(const std::string &archive, const std::string &destination) {
    LoadHarnessWindow();
    Extraction out;
    recording = &out.reports;
    out.result = ExtractArchive(kHarnessZip, archive.c_str(), destination.c_str());
    recording = nullptr;
    return out;
}

Watchdog::Watchdog(DWORD bound_ms)
    : bound_ms_(bound_ms), changed_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, &Watchdog::Watch, this, 0, nullptr)) {}

Watchdog::~Watchdog() {
    InterlockedExchange(&stop_, 1);
    SetEvent(changed_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
}

void Watchdog::Arm(std::string what) {
    what_ = std::move(what);
    InterlockedExchange(&armed_, 1);
    SetEvent(changed_.get());
}

void Watchdog::Disarm() {
    InterlockedExchange(&armed_, 0);
    SetEvent(changed_.get());
}

DWORD WINAPI Watchdog::Watch(void *self) {
    auto &dog = *static_cast<Watchdog *>(self);
    while (!dog.stop_) {
        // Every Arm and Disarm wakes the wait, so a bound runs from the latest Arm.
        const DWORD wait = dog.armed_ ? dog.bound_ms_ : INFINITE;
        if (WaitForSingleObject(dog.changed_.get(), wait) == WAIT_TIMEOUT && dog.armed_ &&
            !dog.stop_) {
            std::fprintf(stderr, "\nno answer within %lu ms: %s\n",
                         static_cast<unsigned long>(dog.bound_ms_), dog.what_.c_str());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

} // namespace korvanta::test
