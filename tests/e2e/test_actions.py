"""Replace and restore end to end: the game on drive D: through the registry, clicks into
the real program, the message box read from the screen, folders compared file by file."""

import subprocess
import unittest

from pathlib import Path

from korvanta_driver import (CACHE_DIR, DEFAULT_CAPTION, DRIVE_C, KORVANTA, NO_BACKUP,
                            NOT_INSTALLED, PREFIX, REG_KEY, REG_VIEW, REPLACE, REPLACE_FAILED,
                            RESTORE, RESTORE_FAILED, SUCCESS, WAIT_LIMIT, LaneTest, Game,
                            Holder, foreign_files, game_files, snapshot, stock_files)


class ActionTest(LaneTest):
    game_path = "Games\\CF"
    registry_value = None

    def setUp(self):
        super().setUp()
        self.game = Game(self.lane, self.game_path)
        self.game.install(stock_files()).register(self.registry_value)
        self.own = game_files(stock_files())
        self.start()

    def start(self):
        self.app = self.lane.start()
        self.main = self.app.wait_main()

    def click(self, control_id):
        """A button click, and the message box it ends with: (caption, texts, icon kind,
        buttons)."""
        def main_disabled(box):
            self.assertFalse(self.app.refresh().enabled, "the box disables the main window")

        answer = self.app.answer(control_id, main_disabled)
        # A task-modal box gives the window back only once its own message loop has returned,
        # a moment after the box itself is gone.
        self.lane.wait_for(lambda: getattr(self.app.refresh(), "enabled", False), WAIT_LIMIT,
                            "the main window enabled again")
        self.assertTrue(self.app.main.enabled)
        return answer.caption, answer.texts, answer.icon, answer.buttons

    def assert_success(self, result):
        caption, texts, icon, buttons = result
        self.assertEqual((caption, texts, icon, len(buttons)),
                         (DEFAULT_CAPTION, [SUCCESS], None, 1))

    def state(self):
        return snapshot(self.game.icon_dir), snapshot(self.game.aside_dir)


class FreshInstallTest(ActionTest):
    def test_replace_then_restore(self):
        self.assert_success(self.click(REPLACE))
        self.assertEqual(self.state(), (foreign_files(), self.own))
        self.assert_success(self.click(RESTORE))
        self.assertEqual(self.state(), (self.own, stock_files()))

    def test_every_row_of_the_state_table(self):
        # Replace after a restore unpacked the foreign set over the game's own icons, and a
        # second restore threw them away for the stock copy.
        steps = [
            (REPLACE, (foreign_files(), self.own)),
            (REPLACE, (foreign_files(), self.own)),
            (RESTORE, (self.own, stock_files())),
            (REPLACE, (foreign_files(), self.own)),
            (RESTORE, (self.own, stock_files())),
            (RESTORE, (self.own, stock_files())),
        ]
        for n, (button, expected) in enumerate(steps):
            self.assert_success(self.click(button))
            self.assertEqual(self.state(), expected, f"step {n}")

    def test_restore_without_a_backup_changes_nothing(self):
        caption, texts, icon, _ = self.click(RESTORE)
        self.assertEqual((caption, texts, icon), (DEFAULT_CAPTION, [NO_BACKUP], "information"))
        self.assertEqual(self.state(), (self.own, None))

    def test_a_fast_double_click_runs_the_action_once(self):
        b = self.main.child(REPLACE)
        x, y = (b.rect[0] + b.rect[2]) // 2, (b.rect[1] + b.rect[3]) // 2
        self.lane.xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 60, 1)
        self.app.dismiss_box()
        self.lane.assert_never(self.lane.find_box, 2,
                                "a second box, which only a second run would show")
        self.assertIsNone(self.lane.find_box(), "a second run would show a second box")
        self.assertEqual(self.state(), (foreign_files(), self.own))

    def test_staged_archive_missing_keeps_the_games_icons(self):
        (CACHE_DIR / "class1.zip").unlink()
        caption, texts, icon, _ = self.click(REPLACE)
        self.assertTrue(texts[0].startswith(REPLACE_FAILED), texts)
        self.assertEqual(icon, "error")
        self.assertEqual(self.state(), (self.own, None))


class GameRunningTest(ActionTest):
    def held(self, folder, name):
        return Holder(self.lane, f"{self.game.windows_path}\\rez\\UI\\{folder}\\{name}")

    def test_replace_that_cannot_overwrite_reports_failure(self):
        self.click(REPLACE)
        before = self.state()
        holder = self.held("class", "BigClass_1.tga")
        caption, texts, icon, _ = self.click(REPLACE)
        holder.release()
        self.assertTrue(texts[0].startswith(REPLACE_FAILED), texts)
        self.assertEqual(icon, "error")
        self.assertEqual(snapshot(self.game.aside_dir), before[1], "set-aside icons untouched")

    def test_restore_with_a_held_file_keeps_the_games_icons_whole(self):
        self.click(REPLACE)
        holder = self.held("class", "BigClass_1.tga")
        caption, texts, icon, _ = self.click(RESTORE)
        holder.release()
        icons, aside = self.state()
        # Wine lets a folder with an open file in it be renamed, where Windows refuses; so
        # here the restore completes, and what is left is the renamed old folder.
        if texts == [SUCCESS]:
            self.assertIsNone(icon)
            self.assertEqual(icons, self.own)
            self.assertEqual(aside, stock_files())
        else:
            self.assertTrue(texts[0].startswith(RESTORE_FAILED), texts)
            self.assertEqual(icon, "error")
            self.assertIn(self.own, (icons, aside))


class PlainFileTest(ActionTest):
    # A plain file named class2 was taken for set-aside icons: restore deleted the game's icons
    # for it, and replace unpacked the foreign set over their only copy.
    def test_a_plain_file_is_never_a_backup(self):
        self.game.aside_dir.write_bytes(b"not a folder")
        caption, texts, icon, _ = self.click(RESTORE)
        self.assertEqual((texts, icon), ([NO_BACKUP], "information"))
        caption, texts, icon, _ = self.click(REPLACE)
        self.assertTrue(texts[0].startswith(REPLACE_FAILED), texts)
        self.assertEqual(icon, "error")
        self.assertEqual(snapshot(self.game.icon_dir), self.own)
        self.assertEqual(self.game.aside_dir.read_bytes(), b"not a folder")

    # A plain file named like a leftover of an earlier restore was deleted.
    def test_a_plain_file_named_like_a_leftover_is_passed_over(self):
        old = self.game.ui / "class.old"
        old.write_bytes(b"the player's own")
        self.assert_success(self.click(REPLACE))
        self.assert_success(self.click(RESTORE))
        self.assertEqual(old.read_bytes(), b"the player's own")
        self.assertEqual(self.state(), (self.own, stock_files()))
        self.assertFalse((self.game.ui / "class.old1").exists())


def tree(folder):
    """Every path below a folder, relative to it."""
    return sorted(p.relative_to(folder).as_posix() for p in Path(folder).rglob("*"))


def names(folder):
    return sorted(p.name for p in Path(folder).iterdir())


class NotInstalledTest(LaneTest):
    def program_drive_root(self):
        """The Unix folder Wine shows as the root of the drive korvanta.exe runs from, where
        paths without a drive letter land."""
        windows_path = self.lane.wine("winepath", "-w", KORVANTA).stdout.decode().strip()
        self.assertRegex(windows_path, r"^[A-Za-z]:\\")
        return (PREFIX / "dosdevices" / f"{windows_path[0].lower()}:").resolve()

    def places(self):
        """What the program must not create anything in: its own folder, the root of its
        drive, the top of drive C: beside the staging folder, and all of the game drive."""
        drive_c = [n for n in names(DRIVE_C) if n != CACHE_DIR.name]
        game_drive = (PREFIX / "dosdevices" / "d:").resolve()
        return (names(KORVANTA.parent), names(self.program_drive_root()), drive_c,
                tree(game_drive) if game_drive.is_dir() else None)

    def check_warning_and_nothing_created(self):
        before = self.places()
        app = self.lane.start()
        main = app.wait_main()
        for button in (REPLACE, RESTORE):
            answer = app.answer(button)
            self.assertEqual((answer.caption, answer.texts, answer.icon),
                             (DEFAULT_CAPTION, [NOT_INSTALLED], "warning"))
        self.assertEqual(app.close(), 0)
        self.assertEqual(self.places(), before)

    def test_no_key(self):
        self.lane.clear_install_path()
        self.check_warning_and_nothing_created()

    def test_empty_install_path(self):
        # An empty value names no game: "\rez\UI\class" would then land under the root of
        # the program's own drive.
        Game(self.lane, "Games\\CF").register("")
        query = self.lane.wine("reg", "query", REG_KEY, "/v", "InstallPath", REG_VIEW)
        self.assertRegex(query.stdout.decode(errors="replace"), r"InstallPath\s+REG_SZ\s*\r?\n")
        self.check_warning_and_nothing_created()

    def test_stale_path(self):
        game = Game(self.lane, "Games\\Gone")
        game.register()
        self.check_warning_and_nothing_created()
        self.assertFalse(game.root.exists())


class ChinesePathTest(ActionTest):
    game_path = "游戏\\穿越火线"

    def test_replace_then_restore(self):
        FreshInstallTest.test_replace_then_restore(self)


class TrailingBackslashTest(ActionTest):
    registry_value = "D:\\Games\\CF\\"

    def test_replace_then_restore(self):
        FreshInstallTest.test_replace_then_restore(self)


if __name__ == "__main__":
    unittest.main()
