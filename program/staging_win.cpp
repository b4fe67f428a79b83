#include "program/handlers.h"

#include "shell/content.h"
#include "host/file_calls.h"
#include "host/file_ops.h"
#include "host/registry.h"
#include "program/game_paths.h"
#include "program/main_window.h"
#include "program/program_state.h"
#include "base/byte_block.h"

namespace korvanta {

// Runs once, before the window shows. No result is looked at and nothing is shown: a game
// that is not installed, or a staging directory that cannot be written, only shows later,
// when an action needs them.
void StartupStaging() {
    Text found =
        ReadRegistryText(kRootCodeLocalMachine, "SOFTWARE\\Tencent\\CrossFire\\InstallPath",
                         "您的电脑未安装穿越火线");
    GameRoot = std::move(found);
    WriteContent(kEditBox1, GameRoot.get());
    CreateFolderAt(kCacheDir);
    WriteBlocks(kForeignArchive, {&ForeignSet});
    WriteBlocks(kStockArchive, {&StockSet});
}

} // namespace korvanta
