// The fault sweep: the real replace and restore code against real folders on a scratch game
// drive, with every file-system call they make failing in turn, once alone and once with
// every call after it (the drive went away). After each run the game's own icons must be
// whole, the message must tell the truth, nothing outside the icon folders may have changed,
// and the same action run again without faults must end as it would have from the start.
//
// Usage: faults_sweep [--sample N] [--seed S]
//   --sample N  run N failure points chosen at random (seeded) instead of every one
// The game drive comes from KORVANTA_SCRATCH_DRIVE (on-scratch-drive.sh).

#include "shell/content.h"
#include "shell/shell.h"
#include "shell/window_loader.h"
#include "program/handlers.h"
#include "program/main_window.h"
#include "host/handles.h"
#include "tests/faults/fault_seam.h"
#include "tests/support/files.h"
#include "tests/support/program_answers.h"
#include "tests/support/windows.h"
#include "tests/support/zip_entries.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace korvanta;
using namespace korvanta::test;

namespace {

using Files = std::map<std::string, std::string>; // name -> bytes, of one folder

constexpr char kMarker[] = "korvanta-game-own.txt";

struct SetFile {
    std::string bytes;
    FILETIME made; // the entry's DOS time as the extractor gives it
};
using SetFiles = std::map<std::string, SetFile>;

// Every file of a staged archive, by its name without the folder.
SetFiles ReadSet(const char *archive) {
    SetFiles files;
    for (const ZipEntry &entry : ReadZipEntries(archive).entries) {
        const size_t slash = entry.name.rfind('/');
        if (slash == std::string::npos || slash + 1 == entry.name.size())
            continue;
        SetFile file{entry.data, {}};
        DosDateTimeToFileTime(HIWORD(entry.dos_date_time), LOWORD(entry.dos_date_time), &file.made);
        files[entry.name.substr(slash + 1)] = std::move(file);
    }
    return files;
}

Files BytesOf(const SetFiles &set) {
    Files files;
    for (const auto &[name, file] : set)
        files[name] = file.bytes;
    return files;
}

void WriteFileAt(const std::string &path, const std::string &bytes, const FILETIME *made) {
    WriteAll(path, bytes);
    if (made) {
        FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        SetFileTime(file.get(), made, made, made);
    }
}

std::optional<Files> ReadFolder(const std::string &folder) {
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    Files files;
    for (const TreeEntry &entry : ListFolder(folder))
        files[entry.path] = ReadAll(folder + "\\" + entry.path);
    return files;
}

// Names, sizes and times of everything below a folder but what `skip` leaves out; a folder
// left out is not entered either.
std::map<std::string, std::string> Survey(const std::string &top, bool recursive,
                                          bool (*skip)(const std::string &)) {
    std::map<std::string, std::string> seen;
    const auto enter = [&](const std::string &folder) {
        return recursive && !(skip && skip(folder));
    };
    for (const TreeEntry &entry : ListTreeEntries(top, enter)) {
        if (skip && skip(entry.path))
            continue;
        seen[entry.path] =
            entry.is_folder() ? "dir"
                              : std::to_string(entry.size) + "@" + std::to_string(entry.write_time);
    }
    return seen;
}

bool IsIconFolder(const std::string &relative) {
    const std::string prefix = "CF\\rez\\UI\\class";
    return relative.compare(0, prefix.size(), prefix) == 0;
}

bool IsStagingFolder(const std::string &relative) {
    return relative == "缓存目录\\";
}

enum class Action { Replace, Restore };
enum class State { Fresh, Replaced, Restored, CutOff };
const char *ActionName(Action a) {
    return a == Action::Replace ? "replace" : "restore";
}
const char *StateName(State s) {
    static const char *const names[] = {"fresh install", "replaced", "restored", "restore cut off"};
    return names[static_cast<int>(s)];
}

struct Outcome {
    std::vector<ShownBox> boxes;
    std::optional<Files> icon, aside;
    bool outside_same = true;
};

class Sweep {
public:
    Sweep(std::string drive)
        : drive_(std::move(drive)), game_(drive_ + "\\CF"), ui_(game_ + "\\rez\\UI\\") {
        foreign_ = ReadSet("C:\\缓存目录\\class1.zip");
        stock_ = ReadSet("C:\\缓存目录\\class.zip");
        for (const auto &[name, file] : stock_)
            own_[name] = "game-own:" + name + std::string(name.size() * 7, '#');
        own_[kMarker] = "the game's own icons\n";
    }

    bool Ready() const { return !foreign_.empty() && !stock_.empty(); }
    const std::string &game() const { return game_; }

    void Reset(State state) {
        std::error_code ec;
        RemoveTree(game_);
        fs::create_directories(ui_ + "class", ec);
        WriteFileAt(game_ + "\\readme.txt", "the player's own file next to the game", nullptr);
        WriteFileAt(ui_ + "class_readme.txt", "next to the icons", nullptr);
        switch (state) {
        case State::Fresh:
            Write(ui_ + "class", own_);
            break;
        case State::Replaced:
            Write(ui_ + "class", foreign_);
            fs::create_directories(ui_ + "class2", ec);
            Write(ui_ + "class2", own_);
            break;
        case State::Restored:
            Write(ui_ + "class", own_);
            fs::create_directories(ui_ + "class2", ec);
            Write(ui_ + "class2", stock_);
            break;
        case State::CutOff: {
            // A restore that stopped while it unpacked the stock copy: the game's icons are
            // back, the stock copy is half there with its last file cut short, and the old
            // foreign folder was not yet deleted.
            Write(ui_ + "class", own_);
            fs::create_directories(ui_ + "class2", ec);
            fs::create_directories(ui_ + "class.old", ec);
            SetFiles part(stock_.begin(), std::next(stock_.begin(), long(stock_.size() / 2)));
            Write(ui_ + "class2", part);
            const auto &[name, cut] = *std::next(stock_.begin(), long(stock_.size() / 2));
            WriteFileAt(ui_ + "class2\\" + name, cut.bytes.substr(0, cut.bytes.size() / 3),
                        nullptr);
            SetFiles old(foreign_.begin(), std::next(foreign_.begin(), 2));
            Write(ui_ + "class.old", old);
            break;
        }
        }
        outside_ = Outside();
    }

    // Runs the action. What it left is for Observe, once the seam is disarmed: the sweep's
    // own reading goes through the seam as well.
    void Act(Action action) {
        TakeShownBoxes();
        if (action == Action::Replace)
            ReplaceAction();
        else
            RestoreAction();
    }

    Outcome Observe() const {
        Outcome out;
        out.boxes = TakeShownBoxes();
        out.icon = ReadFolder(ui_ + "class");
        out.aside = ReadFolder(ui_ + "class2");
        out.outside_same = Outside() == outside_;
        return out;
    }

    // The action and its outcome, with the seam disarmed.
    Outcome Run(Action action) {
        Act(action);
        return Observe();
    }

    bool Lost(const Outcome &o) const { return o.icon != own_ && o.aside != own_; }

    bool SuccessState(Action action, const Outcome &o) const {
        return action == Action::Replace ? o.icon == BytesOf(foreign_) && o.aside == own_
                                         : o.icon == own_ && o.aside == BytesOf(stock_);
    }

    // What is wrong with an outcome, or "" when it holds.
    std::string Judge(Action action, const Outcome &o, bool again) const {
        if (Lost(o))
            return "the game's own icons are lost";
        if (!o.outside_same)
            return "something outside the icon folders changed";
        if (o.boxes.size() != 1)
            return "shown " + std::to_string(o.boxes.size()) + " message boxes";
        const ShownBox &box = o.boxes[0];
        const UINT icon = box.flags & MB_ICONMASK;
        const bool success = box.text == kSuccess && icon == 0;
        const std::wstring_view failed =
            action == Action::Replace ? kReplaceFailed : kRestoreFailed;
        const bool failure = box.text.starts_with(failed) && icon == MB_ICONERROR;
        const bool no_backup =
            action == Action::Restore && box.text == kNoBackup && icon == MB_ICONASTERISK;
        if (success && !SuccessState(action, o))
            return "says success, but the folders are not as a success leaves them";
        if (!again)
            return success || failure || no_backup ? ""
                                                   : "an unexpected message: " + Utf8(box.text);
        // Run again without faults: it succeeds, or finds no backup with the icons in place.
        if (success || (no_backup && !o.aside && o.icon == own_))
            return "";
        return "the action run again without faults does not succeed: " + Utf8(box.text);
    }

private:
    void Write(const std::string &folder, const SetFiles &set) {
        for (const auto &[name, file] : set)
            WriteFileAt(folder + "\\" + name, file.bytes, &file.made);
    }
    void Write(const std::string &folder, const Files &files) {
        for (const auto &[name, bytes] : files)
            WriteFileAt(folder + "\\" + name, bytes, nullptr);
    }

    std::map<std::string, std::string> Outside() const {
        auto seen = Survey(drive_, true, &IsIconFolder);
        for (const auto &[name, what] : Survey("C:", false, &IsStagingFolder))
            seen["C:" + name] = "";
        for (const auto &[name, what] : Survey(fs::current_path().string(), false, nullptr))
            seen["here:" + name] = what;
        return seen;
    }

    std::string drive_, game_;
    std::string ui_; // with its separator
    SetFiles foreign_, stock_;
    Files own_;
    std::map<std::string, std::string> outside_;
};

struct Point {
    Action action;
    State state;
    uint32_t n;
    bool and_after;
};

DWORD ErrorFor(uint32_t n) {
    static const DWORD errors[] = {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED, ERROR_DISK_FULL};
    return errors[n % 3];
}

} // namespace

int main(int argc, char **argv) {
    long sample = 0;
    unsigned seed = 1;
    long only_call = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sample") == 0)
            sample = std::strtol(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (std::strcmp(argv[i], "--call") == 0)
            only_call = std::strtol(argv[i + 1], nullptr, 10);
    }
    const char *drive = std::getenv("KORVANTA_SCRATCH_DRIVE");
    if (!drive) {
        std::fprintf(stderr, "no KORVANTA_SCRATCH_DRIVE: run under on-scratch-drive.sh\n");
        return 2;
    }
    InitShell();
    std::string missing;
    if (!InstallFaultSeam(missing)) {
        std::fprintf(stderr, "the seam cannot reach: %s\n", missing.c_str());
        return 2;
    }
    // Loading the window runs start-up staging, which writes this program's sets.
    LoadWindow(kMainWindowId);
    Sweep sweep(drive);
    if (!sweep.Ready()) {
        std::fprintf(stderr, "the staged archives could not be read\n");
        return 2;
    }
    WriteContent(kEditBox1, sweep.game().c_str());

    int failures = 0;
    // Start-up staging first: whatever it leaves behind, a replace loses nothing.
    Arm({});
    StartupStaging();
    const uint32_t staging_calls = static_cast<uint32_t>(Disarm().size());
    std::printf("staging: K = %u\n", staging_calls);
    uint32_t points = 0, held = 0, lost = 0;
    for (uint32_t n = 1; n <= staging_calls; ++n) {
        for (bool and_after : {false, true}) {
            Arm({FileCall::Any, n, ErrorFor(n), and_after});
            StartupStaging();
            const auto calls = Disarm();
            WriteContent(kEditBox1, sweep.game().c_str());
            sweep.Reset(State::Fresh);
            const Outcome o = sweep.Run(Action::Replace);
            const std::string wrong = sweep.Judge(Action::Replace, o, false);
            ++points;
            lost += sweep.Lost(o);
            if (wrong.empty())
                ++held;
            else
                std::printf("staging, call %u%s (%s): %s\n", n, and_after ? " and after" : "",
                            n <= calls.size() ? FileCallName(calls[n - 1].call) : "?",
                            wrong.c_str());
            Arm({});
            StartupStaging();
            Disarm();
            WriteContent(kEditBox1, sweep.game().c_str());
        }
    }

    std::vector<Point> all;
    for (Action action : {Action::Replace, Action::Restore}) {
        for (State state : {State::Fresh, State::Replaced, State::Restored, State::CutOff}) {
            sweep.Reset(state);
            Arm({});
            sweep.Act(action);
            const auto calls = Disarm();
            const Outcome o = sweep.Observe();
            const std::string wrong = sweep.Judge(action, o, true);
            std::printf("%s from %s: K = %zu%s%s\n", ActionName(action), StateName(state),
                        calls.size(), wrong.empty() ? "" : ", without faults: ", wrong.c_str());
            failures += !wrong.empty();
            for (uint32_t n = 1; n <= calls.size(); ++n)
                for (bool and_after : {false, true})
                    all.push_back({action, state, n, and_after});
        }
    }
    if (only_call > 0)
        std::erase_if(all, [&](const Point &p) { return p.n != static_cast<uint32_t>(only_call); });
    if (sample > 0 && static_cast<size_t>(sample) < all.size()) {
        std::mt19937 random(seed);
        std::shuffle(all.begin(), all.end(), random);
        all.resize(static_cast<size_t>(sample));
    }

    for (const Point &p : all) {
        sweep.Reset(p.state);
        Arm({FileCall::Any, p.n, ErrorFor(p.n), p.and_after});
        sweep.Act(p.action);
        const auto calls = Disarm();
        const Outcome first = sweep.Observe();
        std::string wrong = sweep.Judge(p.action, first, false);
        bool gone = sweep.Lost(first);
        if (wrong.empty()) {
            const Outcome again = sweep.Run(p.action);
            wrong = sweep.Judge(p.action, again, true);
            if (!wrong.empty() && std::getenv("KORVANTA_SWEEP_TRACE")) {
                Arm({});
                sweep.Act(p.action);
                for (const CallRecord &r : Disarm())
                    std::printf("  %s %s\n", FileCallName(r.call), r.subject.c_str());
            }
            gone = gone || sweep.Lost(again);
        }
        ++points;
        lost += gone;
        if (wrong.empty()) {
            ++held;
            continue;
        }
        const CallRecord *call = p.n <= calls.size() ? &calls[p.n - 1] : nullptr;
        std::printf("%s from %s, call %u%s (%s %s): %s\n", ActionName(p.action), StateName(p.state),
                    p.n, p.and_after ? " and after" : "", call ? FileCallName(call->call) : "?",
                    call ? call->subject.c_str() : "", wrong.c_str());
    }
    std::printf("fault sweep: %u failure points, %u held, %u lost\n", points, held, lost);
    return failures == 0 && held == points ? 0 : 1;
}
