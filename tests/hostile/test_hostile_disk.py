"""A full game drive: drive D: is a small tmpfs (mounted as root; skipped, saying why, where
mounting is refused), filled to the last byte before an action."""

import unittest

from hostile_driver import (LANE, REPLACE, REPLACE_FAILED, RESTORE, RESTORE_FAILED, SUCCESS,
                           HostileTest, fill_up)


class FullGameDriveTest(HostileTest):
    def setUp(self):
        super().setUp()
        # Room for the game's own icons and one set from the archives, not for two.
        self.make_game(drive_dir=LANE / "hostile-drive-d", drive_size="8m")

    def test_replace_on_a_full_drive_rolls_back(self):
        fill_up(self.game.drive_dir)
        self.start()
        self.assert_failure(self.click(REPLACE), REPLACE_FAILED)
        self.assertEqual(self.summary(), ("own", None))
        self.assert_outside_unchanged()
        self.close()

    def test_restore_on_a_full_drive_keeps_the_games_icons(self):
        self.start()
        self.assert_success(self.click(REPLACE))
        fill_up(self.game.drive_dir)
        self.outside_before = self.outside()
        answer = self.click(RESTORE)
        # Removing the foreign set frees room; whether the stock copy then fits decides the
        # answer, which must match what is on the disk.
        if answer.text == SUCCESS:
            self.assert_success(answer)
            self.assertEqual(self.summary(), ("own", "stock"))
        else:
            self.assert_failure(answer, RESTORE_FAILED)
            self.assertEqual(self.summary()[0], "own")
        self.assert_outside_unchanged()
        self.close()


if __name__ == "__main__":
    unittest.main()
