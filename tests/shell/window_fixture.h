#pragma once
// MainWindow loaded in the test process, with recording doubles for its handlers.

#include "shell/live_window.h"
#include "shell/window_loader.h"
#include "program/main_window.h"
#include "tests/shell/handler_doubles.h"
#include "tests/shell/unit_window.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace korvanta {

class MainWindowTest : public ::testing::Test {
protected:
    // Hooks for the creation-complete handler go in before the load.
    virtual void BeforeLoad() {}

    void SetUp() override {
        doubles::ResetHandlers();
        BeforeLoad();
        ASSERT_TRUE(LoadWindow(kMainWindowId));
    }

    void TearDown() override {
        if (HWND w = Hwnd(kMainWindow))
            DestroyWindow(w);
        doubles::ResetHandlers();
        // The end of the last window may have left a quit message for the next test.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message != WM_QUIT)
                DispatchMessageW(&msg);
        }
    }

    static HWND Hwnd(UnitRef unit) { return UnitWindow(unit); }
};

} // namespace korvanta
