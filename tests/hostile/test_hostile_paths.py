"""Odd InstallPath values: Chinese folders (one with a character whose second byte is "\\"),
a trailing backslash, a game so deep that the icon paths pass 260 bytes, a file, a drive
root, a value of the wrong type and one of 64 KB."""

import unittest

from korvanta_driver import EDIT, REG_VIEW
from hostile_driver import LANE, NOT_INSTALLED, REPLACE, RESTORE, HostileTest

# "奬" is 8A 5C in GBK: its second byte is a backslash.
CHINESE = "游戏\\穿越火线奬"


class RoundTripTest(HostileTest):
    def round_trip(self):
        self.start()
        self.assert_replaced()
        self.assert_restored()
        self.assert_outside_unchanged()
        self.close()

    def test_chinese_folders_with_a_backslash_trail_byte(self):
        self.make_game(CHINESE)
        self.round_trip()

    def test_chinese_folders_and_a_trailing_backslash(self):
        self.make_game(CHINESE, registry_value="D:\\" + CHINESE + "\\")
        self.round_trip()

    def test_drive_root(self):
        self.make_game("", registry_value="D:\\")
        self.round_trip()


class LongPathTest(HostileTest):
    def test_icon_paths_past_260_bytes_fail_without_loss(self):
        # 231 bytes of game directory: "...\rez\UI\class\BigClass_1.tga" is 259 bytes long,
        # "...\BigClass_10.tga" is 260.
        self.make_game("Games\\" + "L" * 222)
        self.assertEqual(len(self.game.windows_path), 231)
        self.start()
        # Restore cannot open the installed folder's files to learn whether they are the
        # program's own copies, so it does not throw them away: nothing changes.
        self.assert_both_fail_without_change()
        self.assert_outside_unchanged()
        self.close()


class NotAGameTest(HostileTest):
    def check_not_installed(self, game_directory):
        """The program took game_directory (its beginning, for a long one) from the registry
        and finds no game there."""
        self.start()
        self.assertTrue(self.main.child(EDIT).text.startswith(game_directory[:400]))
        for button in (REPLACE, RESTORE):
            self.assert_answer(self.click(button), NOT_INSTALLED, "warning")
        self.assertEqual(self.summary(), ("own", None))
        self.assert_outside_unchanged()
        self.close()

    def test_install_path_names_a_file(self):
        self.make_game(registry_value="D:\\Games\\CF\\game.exe")
        self.check_not_installed("D:\\Games\\CF\\game.exe")

    def test_install_path_of_the_wrong_type(self):
        # Only string values count: the game directory is not taken from a list of strings.
        self.make_game(kind="REG_MULTI_SZ")
        self.check_not_installed(NOT_INSTALLED)

    def test_install_path_of_64_kilobytes(self):
        self.make_game(kind=None)
        value = self.game.windows_path + "\\" + "x" * (65536 - len(self.game.windows_path) - 2)
        self.assertEqual(len(value), 65535)
        # A command line holds at most 32767 characters: the value goes in through a file.
        reg = LANE / "hostile-64k.reg"
        reg.write_text("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Tencent\\CrossFire]\r\n"
                       f"\"InstallPath\"=\"{value.replace(chr(92), chr(92) * 2)}\"\r\n",
                       encoding="ascii")
        self.addCleanup(reg.unlink)
        self.lane.wine("reg", "import", reg.name, REG_VIEW)
        stored = self.lane.wine("reg", "query", "HKLM\\Software\\Tencent\\CrossFire", "/v",
                                 "InstallPath", REG_VIEW).stdout
        self.assertIn(b"x" * 60000, stored)
        self.check_not_installed(value)


if __name__ == "__main__":
    unittest.main()
