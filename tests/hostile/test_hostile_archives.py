"""Damaged staged archives before the actions: the program overwrites its staged archives
only at start-up, so a test puts a damaged copy in their place once the window is up."""

import unittest

from hostile_driver import (CACHE_DIR, REPLACE, REPLACE_FAILED, RESTORE, RESTORE_FAILED,
                           HostileTest, cut_in_central_directory, foreign_archive, stock_archive,
                           with_bad_crc, with_entries_appended)


class DamagedForeignArchiveTest(HostileTest):
    def test_every_damaged_archive_is_rolled_back(self):
        self.make_game()
        self.start()
        good = foreign_archive()
        damaged = {
            # The last entry fails after every other file was written: the worst case.
            "bad CRC in the last entry": with_bad_crc(good, -1),
            "bad CRC in the first file": with_bad_crc(good, 1),
            "cut inside the central directory": cut_in_central_directory(good),
            "an entry that climbs out, at the end":
                with_entries_appended(good, [("class/../../../escape.tga", b"evil", 0x20)]),
            "a folder name without the folder attribute, at the end":
                with_entries_appended(good, [("class/zz/", b"", 0x20)]),
            "an empty file": b"",
            "not a ZIP": b"MZ" + good[2:4096],
        }
        for what, data in damaged.items():
            with self.subTest(what):
                self.reinstall()
                (CACHE_DIR / "class1.zip").write_bytes(data)
                self.assert_failure(self.click(REPLACE), REPLACE_FAILED)
                self.assertEqual(self.summary(), ("own", None))
                self.assert_outside_unchanged()
        # The same window goes on working once the archive is whole again.
        self.reinstall()
        (CACHE_DIR / "class1.zip").write_bytes(good)
        self.assert_replaced()
        self.assert_outside_unchanged()
        self.close()


class DamagedStockArchiveTest(HostileTest):
    def test_a_failed_restore_leaves_no_half_copy_to_restore_later(self):
        self.make_game()
        self.start()
        self.assert_success(self.click(REPLACE))
        # Half of the stock set is written before the damaged entry stops the extraction.
        (CACHE_DIR / "class.zip").write_bytes(with_bad_crc(stock_archive(), 160))
        self.assert_failure(self.click(RESTORE), RESTORE_FAILED)
        self.assertEqual(self.summary()[0], "own")
        self.assert_outside_unchanged()
        self.close()
        # As the message asks, the user tries again; start-up stages whole archives again.
        self.start()
        answer = self.click(RESTORE)
        self.assertIn(self.summary()[0], ("own", "stock"),
                      f"after {answer}, class holds a complete icon set")
        self.assert_outside_unchanged()
        self.close()


if __name__ == "__main__":
    unittest.main()
