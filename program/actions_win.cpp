#include "program/handlers.h"

#include "shell/content.h"
#include "shell/zip_unit.h"
#include "host/file_calls.h"
#include "host/file_ops.h"
#include "host/message_box.h"
#include "program/action_plan.h"
#include "program/folder_contents.h"
#include "program/game_paths.h"
#include "program/main_window.h"
#include "base/byte_block.h"

#include <windows.h>

#include <string>

namespace korvanta {
namespace {

constexpr int32_t kErrorIcon = MB_ICONERROR;          // 0x10
constexpr int32_t kWarningIcon = MB_ICONWARNING;      // 0x30
constexpr int32_t kInformationIcon = MB_ICONASTERISK; // 0x40

constexpr const char kReplaceFailed[] = "替换失败，请关闭游戏后重试。\r\n\r\n";
constexpr const char kRestoreFailed[] = "恢复失败，请关闭游戏后重试。\r\n\r\n";

// The game directory as 编辑框1 holds it now, followed by the suffix. Built afresh for every
// step, so nothing is cached between steps or clicks.
Text GamePath(const char *suffix) {
    Text root = ReadContent(kEditBox1);
    return Concat({root.get(), suffix});
}

void ShowFailure(const char *what) {
    Text message = Concat({what, GamePath(kIconDir).get()});
    ShowMessage(message.get(), kErrorIcon);
}

// Both actions change nothing unless the game's UI folder is really there: otherwise every
// path would be relative to the program's own folder and the icons would land beside it. A
// folder the platform will not answer for (a drive that is not ready) is not taken for a
// missing game.
bool GameInstalled(const char *failed) {
    switch (PlaceAt(GamePath(kUiDir).c_str())) {
    case Place::Folder:
        return true;
    case Place::Unknown:
        ShowFailure(failed);
        return false;
    case Place::Nothing:
    case Place::File:
        break;
    }
    ShowMessage("您的电脑未安装穿越火线", kWarningIcon);
    return false;
}

bool Move(const char *from_suffix, const char *to_suffix) {
    return MovePath(GamePath(from_suffix).c_str(), GamePath(to_suffix).c_str());
}

bool Delete(const char *suffix) {
    return DeleteTree(GamePath(suffix).c_str());
}

Place PlaceOf(const char *suffix) {
    return PlaceAt(GamePath(suffix).c_str());
}

HoldingOf HoldingAt(const char *suffix) {
    return [suffix] { return FolderHolding(GamePath(suffix).c_str()); };
}

// The suffix of a free name for the installed icon folder while it is being replaced:
// "class.old", or the next of "class.old1" to "class.old9" when an earlier leftover cannot be
// removed (a read-only file in it), so that such a leftover never blocks a restore. A
// leftover goes only when it holds nothing but the program's own copies; a plain file of
// such a name, or a folder with anything else in it, is passed over. Empty when none is free.
std::string FreeOldName() {
    for (int n = 0; n < 10; ++n) {
        std::string suffix = kOldIconDir;
        if (n > 0)
            suffix += static_cast<char>('0' + n);
        const Place place = PlaceOf(suffix.c_str());
        if (place == Place::Nothing)
            return suffix;
        if (place == Place::Folder && HoldingAt(suffix.c_str())() == Holding::OwnCopies &&
            Delete(suffix.c_str()))
            return suffix;
    }
    return {};
}

// The staged archive is usable only when start-up wrote it whole.
bool StagedWhole(const char *path, const ByteBlock &block) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!AttributeDataAt(path, data))
        return false;
    return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.nFileSizeHigh == 0 &&
           data.nFileSizeLow == static_cast<DWORD>(block.byte_count);
}

bool Unpack(const char *archive) {
    return ExtractArchive(kZip1, archive, GamePath(kUiDir).c_str()) == 1;
}

} // namespace

// Moves the game's icons aside and unpacks the foreign set in their place. Nothing the
// program could not make again is deleted or overwritten: when the icons cannot be moved
// aside nothing is unpacked, and when the unpacking fails after the move, the game's own
// icons are put back.
void ReplaceAction() {
    if (!GameInstalled(kReplaceFailed))
        return;
    if (!StagedWhole(kForeignArchive, ForeignSet)) {
        ShowFailure(kReplaceFailed);
        return;
    }
    bool moved = false;
    switch (PlanReplace(PlaceOf(kIconDir), PlaceOf(kAsideDir), HoldingAt(kIconDir),
                        HoldingAt(kAsideDir))) {
    case ReplaceStep::Refuse:
        ShowFailure(kReplaceFailed);
        return;
    case ReplaceStep::ClearAsideThenMove:
        // The set-aside folder holds a stock copy of the program's: it makes room.
        if (!Delete(kAsideDir)) {
            ShowFailure(kReplaceFailed);
            return;
        }
        [[fallthrough]];
    case ReplaceStep::MoveAside:
        if (!Move(kIconDir, kAsideDir)) {
            ShowFailure(kReplaceFailed);
            return;
        }
        moved = true;
        break;
    case ReplaceStep::UnpackOver:
        break;
    }
    if (!Unpack(kForeignArchive)) {
        if (moved) {
            Delete(kIconDir);
            Move(kAsideDir, kIconDir);
        }
        ShowFailure(kReplaceFailed);
        return;
    }
    ShowMessage("替换成功", 0);
}

// Puts the set-aside icons back and unpacks a fresh stock copy beside them. The installed
// icon folder is renamed out of the way first and deleted only once the set-aside icons are
// in place, so no icon folder is ever left half-deleted; and it is deleted only when it holds
// nothing but the program's own copies.
void RestoreAction() {
    if (!GameInstalled(kRestoreFailed))
        return;
    const Place icon = PlaceOf(kIconDir);
    const RestoreStep step =
        PlanRestore(icon, PlaceOf(kAsideDir), HoldingAt(kIconDir), HoldingAt(kAsideDir));
    if (step == RestoreStep::NoBackup) {
        ShowMessage("未找到备份的图标，游戏图标保持不变。", kInformationIcon);
        return;
    }
    // Without the whole stock archive the restore could not finish; leave everything as it is.
    if (step == RestoreStep::Refuse || !StagedWhole(kStockArchive, StockSet)) {
        ShowFailure(kRestoreFailed);
        return;
    }
    if (step == RestoreStep::SwapBack) {
        std::string old_name = FreeOldName();
        if (old_name.empty()) {
            ShowFailure(kRestoreFailed);
            return;
        }
        const bool renamed = icon != Place::Nothing;
        if (renamed && !Move(kIconDir, old_name.c_str())) {
            ShowFailure(kRestoreFailed);
            return;
        }
        if (!Move(kAsideDir, kIconDir)) {
            if (renamed)
                Move(old_name.c_str(), kIconDir);
            ShowFailure(kRestoreFailed);
            return;
        }
        // A file still in use keeps part of the old folder; it is removed next time.
        if (renamed)
            Delete(old_name.c_str());
    }
    if (!Unpack(kStockArchive)) {
        // Half a stock copy must not pass for set-aside icons at the next restore.
        Delete(kAsideDir);
        ShowFailure(kRestoreFailed);
        return;
    }
    // The replace's text, deliberately: both buttons report success with the same message.
    ShowMessage("替换成功", 0);
}

} // namespace korvanta
