#pragma once
// The program's own logic, bound to the events of MainWindow.

namespace korvanta {

// Creation-complete of MainWindow: finds the game and stages both archives.
void StartupStaging();
// Click of 按钮1 "替换(&Y)": installs the foreign-server icons.
void ReplaceAction();
// Click of 按钮2 "恢复(&N)": puts the stock icons back.
void RestoreAction();

} // namespace korvanta
