"""Staging impossible: "C:\\缓存目录" a plain file, a full file system, or a folder that cannot
be written. Wine as root writes into read-only folders (so does Windows: the attribute does
not guard a folder), so the folder that cannot be written is a tmpfs mounted read-only at
the prefix's drive_c/缓存目录, and the full one a tmpfs filled to its last byte; both are
skipped, saying why, where mounting is refused."""

import shutil
import unittest

from hostile_driver import CACHE_DIR, GENERATED, HostileTest, Mount, fill_up


def remove_staging_folder():
    if CACHE_DIR.is_dir():
        shutil.rmtree(CACHE_DIR)
    elif CACHE_DIR.exists():
        CACHE_DIR.unlink()


class StagingImpossibleTest(HostileTest):
    def check_both_actions_fail_and_change_nothing(self):
        self.make_game()
        self.start()  # the window opens all the same, or this times out
        self.assert_both_fail_without_change()
        self.assert_outside_unchanged()
        self.close()

    def test_staging_folder_is_a_plain_file(self):
        remove_staging_folder()
        CACHE_DIR.write_bytes(b"not a folder")
        self.addCleanup(remove_staging_folder)
        self.check_both_actions_fail_and_change_nothing()
        self.assertEqual(CACHE_DIR.read_bytes(), b"not a folder")

    def test_staging_folder_cannot_be_written(self):
        Mount(self, CACHE_DIR, "1m", read_only=True)
        self.check_both_actions_fail_and_change_nothing()

    def test_staging_folder_is_full(self):
        Mount(self, CACHE_DIR, "1m")
        fill_up(CACHE_DIR)
        self.check_both_actions_fail_and_change_nothing()


class ReadOnlyAttributeTest(HostileTest):
    def test_read_only_staging_folder_is_written_all_the_same(self):
        CACHE_DIR.mkdir(exist_ok=True)
        self.lane.wine("attrib", "+r", "C:\\缓存目录")
        self.addCleanup(self.lane.wine, "attrib", "-r", "C:\\缓存目录")
        self.make_game()
        self.start()
        self.assertEqual((CACHE_DIR / "class1.zip").read_bytes(),
                         (GENERATED / "foreign.zip").read_bytes())
        self.assert_replaced()
        self.assert_outside_unchanged()
        self.close()


if __name__ == "__main__":
    unittest.main()
