"""The release package as a player gets it: unpacked into a folder of its own, its korvanta.exe
run under Wine against a game installation, replace and restore pressed, the window closed."""

import os
import sys
import unittest
import zipfile
from pathlib import Path

from korvanta_driver import (LANE, CACHE_DIR, DEFAULT_CAPTION, GENERATED, REG_VIEW, REPLACE,
                            RESTORE, SUCCESS, LaneTest, Game, foreign_files, game_files, snapshot,
                            stock_files)

PACKAGES = sorted(Path(os.environ["KORVANTA_PACKAGE_DIR"]).glob("korvanta-*-win32.zip"))
SUCCEEDED = (DEFAULT_CAPTION, [SUCCESS], None)


class PackageSmokeTest(LaneTest):
    def setUp(self):
        super().setUp()
        self.assertEqual(len(PACKAGES), 1, PACKAGES)
        self.folder = LANE / "unpacked-package"
        if self.folder.exists():
            for path in sorted(self.folder.rglob("*"), reverse=True):
                path.unlink() if path.is_file() else path.rmdir()
        with zipfile.ZipFile(PACKAGES[0]) as z:
            z.extractall(self.folder)
        self.game = Game(self.lane).install(stock_files()).register()

    def press(self, app, control_id):
        answer = app.answer(control_id)
        return answer.caption, answer.texts, answer.icon

    def test_replace_and_restore_with_the_packaged_exe(self):
        app = self.lane.start(self.folder / "korvanta.exe")
        app.wait_main()
        self.assertEqual((CACHE_DIR / "class1.zip").read_bytes(),
                         (GENERATED / "foreign.zip").read_bytes())
        self.assertEqual((CACHE_DIR / "class.zip").read_bytes(),
                         (GENERATED / "stock.zip").read_bytes())
        own = game_files(stock_files())
        self.assertEqual(self.press(app, REPLACE), SUCCEEDED)
        self.assertEqual((snapshot(self.game.icon_dir), snapshot(self.game.aside_dir)),
                         (foreign_files(), own))
        self.assertEqual(self.press(app, RESTORE), SUCCEEDED)
        self.assertEqual((snapshot(self.game.icon_dir), snapshot(self.game.aside_dir)),
                         (own, stock_files()))
        self.assertEqual(app.close(), 0)


if __name__ == "__main__":
    # The package holds the 32-bit executable, which a 64-bit lane cannot run.
    if REG_VIEW != "/reg:32":
        print("skipped: this machine cannot run 32-bit programs, and the package holds one")
        sys.exit(77)
    unittest.main(verbosity=2)
