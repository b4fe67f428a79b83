// The ZIP unit's glue: unit lookup, the progress event through the unit event mechanism and
// a handler's request to stop, with archives the test writes itself.
#include "shell/live_window.h"
#include "shell/shell.h"
#include "shell/window_loader.h"
#include "shell/zip_unit.h"
#include "program/main_window.h"
#include "tests/shell/child_scenario.h"
#include "tests/shell/handler_doubles.h"
#include "tests/shell/unit_window.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <zip.h>

#include <cstring>
#include <string>
#include <vector>

namespace korvanta {
namespace {

// A test window whose ZIP unit binds ExtractProgress.
constexpr int32_t kZipWindowId = 77;
constexpr UnitRef kTestZip{kZipWindowId, 1};
constexpr UnitRef kTestLabel{kZipWindowId, 2};

std::vector<int32_t> reports;
int stop_at_report = -1;     // give back 0 at this report
bool give_true = false;      // otherwise give back 1, or nothing at all
bool close_at_first = false; // the handler closes the window at its first report

HandlerReturn OnProgress(std::span<const int32_t> args) {
    reports.push_back(args.size() == 1 ? args[0] : -999);
    if (close_at_first && reports.size() == 1)
        DestroyWindow(UnitWindow({kZipWindowId, 0}));
    if (static_cast<int>(reports.size()) - 1 == stop_at_report)
        return {true, 0};
    if (give_true)
        return {true, 1};
    return {};
}

const EventBinding kZipEvents[] = {{.event = event::kExtractProgress, .valued = &OnProgress}};
const WindowProps kTestWindow{.title = "zip test", .position = 0};
const LabelProps kTestLabelProps{.text = "label"};
const UnitRecord kTestUnits[] = {
    {.type = UnitType::Window, .width = 200, .height = 150, .window = &kTestWindow},
    {.type = UnitType::Zip, .name = "ZIP压缩1", .bindings = kZipEvents},
    {.type = UnitType::Label,
     .name = "标签1",
     .width = 50,
     .height = 20,
     .flags = kUnitVisible,
     .label = &kTestLabelProps},
};
const WindowDescription kTestDescription{.id = kZipWindowId, .units = kTestUnits};
const WindowDescriptionEntry kTestEntry(kTestDescription);

std::string TempRoot() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(temp) + "korvanta-zip-" + std::to_string(GetCurrentProcessId()) + "-" +
           (info ? info->name() : "child");
}

void AddEntry(zipFile zf, const char *name, const std::string &data, uLong attributes) {
    zip_fileinfo info{};
    info.tmz_date = {54, 23, 7, 9, 0, 2009}; // 2009-01-09 07:23:54
    info.external_fa = attributes;
    zipOpenNewFileInZip(zf, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                        Z_DEFAULT_COMPRESSION);
    zipWriteInFileInZip(zf, data.data(), static_cast<unsigned>(data.size()));
    zipCloseFileInZip(zf);
}

class ZipUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        reports.clear();
        stop_at_report = -1;
        give_true = false;
        close_at_first = false;
        root_ = TempRoot();
        CreateDirectoryA(root_.c_str(), nullptr);
        archive_ = root_ + "\\icons.zip";
        destination_ = root_ + "\\out";
        zipFile zf = zipOpen(archive_.c_str(), APPEND_STATUS_CREATE);
        ASSERT_NE(zf, nullptr);
        AddEntry(zf, "pack/", "", 0x10);
        AddEntry(zf, "pack/a.txt", "alpha", 0x20);
        AddEntry(zf, "pack/b.txt", "bravo", 0x20);
        AddEntry(zf, "pack/c.txt", "charlie", 0x20);
        zipClose(zf, nullptr);
        ASSERT_TRUE(LoadWindow(kZipWindowId));
    }

    void TearDown() override {
        if (HWND w = UnitWindow({kZipWindowId, 0}))
            DestroyWindow(w);
        for (const char *f : {"a.txt", "b.txt", "c.txt"})
            DeleteFileA((destination_ + "\\pack\\" + f).c_str());
        RemoveDirectoryA((destination_ + "\\pack").c_str());
        RemoveDirectoryA(destination_.c_str());
        DeleteFileA(archive_.c_str());
        RemoveDirectoryA(root_.c_str());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    bool Extracted(const char *name) const {
        return GetFileAttributesA((destination_ + "\\pack\\" + name).c_str()) !=
               INVALID_FILE_ATTRIBUTES;
    }

    std::string root_, archive_, destination_;
};

TEST_F(ZipUnitTest, ReportsEveryEntryThenOneHundred) {
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_EQ(reports, (std::vector<int32_t>{0, 25, 50, 75, 100}));
    EXPECT_TRUE(Extracted("a.txt"));
    EXPECT_TRUE(Extracted("c.txt"));
}

TEST_F(ZipUnitTest, AHandlerGivingBackTrueLetsItRun) {
    give_true = true;
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_EQ(reports.size(), 5u);
    EXPECT_TRUE(Extracted("c.txt"));
}

TEST_F(ZipUnitTest, AHandlerGivingBackFalseStopsAfterThatEntry) {
    stop_at_report = 1; // after "pack/a.txt"
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_EQ(reports, (std::vector<int32_t>{0, 25})); // no final report after a stop
    EXPECT_TRUE(Extracted("a.txt"));
    EXPECT_FALSE(Extracted("b.txt"));
}

TEST_F(ZipUnitTest, StopAtTheFirstReportLeavesOnlyTheFirstEntry) {
    stop_at_report = 0;
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_EQ(reports, (std::vector<int32_t>{0}));
    EXPECT_NE(GetFileAttributesA((destination_ + "\\pack").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(Extracted("a.txt"));
}

TEST_F(ZipUnitTest, AbsentArgumentsGiveMinusOneWithoutAnyEvent) {
    EXPECT_EQ(ExtractArchive(kTestZip, nullptr, destination_.c_str()), -1);
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), nullptr), -1);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(GetFileAttributesA(destination_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ZipUnitTest, AMissingArchiveGivesMinusOneAndAReportOfZero) {
    const std::string missing = root_ + "\\missing.zip";
    EXPECT_EQ(ExtractArchive(kTestZip, missing.c_str(), destination_.c_str()), -1);
    EXPECT_EQ(reports, (std::vector<int32_t>{0}));
}

TEST_F(ZipUnitTest, NoEventsOnceTheWindowIsGoneButTheExtractionFinishes) {
    close_at_first = true;
    EXPECT_EQ(ExtractArchive(kTestZip, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_EQ(reports, (std::vector<int32_t>{0}));
    EXPECT_TRUE(Extracted("c.txt"));
    EXPECT_EQ(FindLiveWindow(kZipWindowId), nullptr);
}

TEST_F(ZipUnitTest, TheMainWindowsUnitHasNoHandlerAndRunsToTheEnd) {
    ASSERT_TRUE(LoadWindow(kMainWindowId));
    EXPECT_EQ(ExtractArchive(kZip1, archive_.c_str(), destination_.c_str()), 1);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(Extracted("c.txt"));
    DestroyWindow(UnitWindow(kMainWindow));
}

// --- units that cannot extract end the program ---------------------------------------------

const child_test::ChildScenarioEntry kNotLoaded("zip-not-loaded", [] {
    return RunProcess([]() -> int32_t {
        InitShell();
        ExtractArchive(kTestZip, "a.zip", "out");
        return 0;
    });
});

const child_test::ChildScenarioEntry kNotAZipUnit("zip-not-a-zip-unit", [] {
    return RunProcess([]() -> int32_t {
        InitShell();
        RunStartWindow(kZipWindowId);
        ExtractArchive(kTestLabel, "a.zip", "out");
        return 0;
    });
});

TEST(ZipUnitFatal, AUnitThatIsNotLoadedOrNotAZipUnit) {
    for (const char *scenario : {"zip-not-loaded", "zip-not-a-zip-unit"}) {
        child_test::FatalBoxReport r = child_test::RunFatalScenario(scenario);
        ASSERT_TRUE(r.box_found) << scenario;
        EXPECT_EQ(r.text, L"运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n");
        EXPECT_EQ(r.exit_code, 0xFFFFFFFFu) << scenario;
    }
}

} // namespace
} // namespace korvanta
