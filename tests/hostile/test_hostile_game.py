"""The game running and the icon folders in odd shapes: files held open without sharing,
read-only and hidden files inside the folders, and "class" present as a plain file."""

import unittest

from hostile_driver import (NO_BACKUP, REPLACE, REPLACE_FAILED, RESTORE, RESTORE_FAILED, SUCCESS,
                           HostileTest, Holder)


class GameRunningTest(HostileTest):
    def setUp(self):
        super().setUp()
        self.make_game()

    def hold(self, folder, name):
        return Holder(self.lane, f"{self.game.windows_path}\\rez\\UI\\{folder}\\{name}")

    def assert_safe(self, answer, failed_text, done, before):
        """Either the action did its work and said so, or it said it failed and left the
        folders as they were; never a success that is not one."""
        if answer.text == SUCCESS:
            self.assert_success(answer)
            self.assertEqual(self.summary(), done, answer)
        else:
            self.assert_failure(answer, failed_text)
            self.assertEqual(self.summary(), before, answer)
        self.assert_own_icons_kept()
        self.assert_outside_unchanged()

    def test_replace_while_the_game_holds_one_of_its_icons(self):
        self.start()
        holder = self.hold("class", "class_50.tga")
        self.assert_safe(self.click(REPLACE), REPLACE_FAILED, ("foreign", "own"), ("own", None))
        holder.release()
        self.close()

    def test_restore_while_icons_in_both_folders_are_held(self):
        self.as_after_replace()
        self.start()
        holders = [self.hold("class", "class_50.tga"), self.hold("class2", "sclass_7.tga")]
        answer = self.click(RESTORE)
        for holder in holders:
            holder.release()
        # Windows refuses to rename a folder with an open file inside, Wine does not: either
        # the restore went through or it failed with the folders as they were.
        self.assert_safe(answer, RESTORE_FAILED, ("own", "stock"), ("foreign", "own"))
        self.close()


class AttributesTest(HostileTest):
    """Wine as root writes over read-only files but, like Windows, refuses to delete them
    (it looks at the file's mode), so these cases hold as root."""

    def setUp(self):
        super().setUp()
        self.make_game()

    def set_attributes(self, folder, name):
        path = f"{self.game.windows_path}\\rez\\UI\\{folder}\\{name}"
        # One flag per call: Wine's attrib applies only one of "+r +h".
        self.lane.wine("attrib", "+h", path)
        self.lane.wine("attrib", "+r", path)
        return path

    def attributes(self, path):
        """The attribute letters attrib shows before the path, such as "A HR"."""
        # The letters stand before the drive letter; the path after them is in the lane's code
        # page, which is not read at all.
        line = self.lane.wine("attrib", path).stdout
        letters = line[: line.index(b":\\") - 1]
        return set(letters.decode("ascii").replace(" ", "").strip())

    def test_read_only_hidden_game_icons_travel_with_their_folder(self):
        path = self.set_attributes("class", "Reject.tga")
        self.start()
        self.assert_replaced()
        self.assertLessEqual({"H", "R"}, self.attributes(path.replace("\\class\\", "\\class2\\")))
        self.assert_restored()
        self.assertLessEqual({"H", "R"}, self.attributes(path))
        self.assert_outside_unchanged()
        self.close()

    def test_a_read_only_file_in_the_installed_set_does_not_block_later_restores(self):
        self.start()
        self.assert_success(self.click(REPLACE))
        self.set_attributes("class", "BigClass_1.tga")
        self.assert_restored()
        # The read-only file stays in the old folder it was renamed with; it must not make a
        # later restore, or any after it, fail.
        for _ in range(2):
            self.assert_replaced()
            self.assert_restored()
        self.assert_outside_unchanged()
        self.close()


class PlainFileTest(HostileTest):
    def test_class_as_a_plain_file_is_never_lost(self):
        self.make_game()
        # A broken installation: "class" is a file, the icons are nowhere.
        for p in self.game.icon_dir.iterdir():
            p.unlink()
        self.game.icon_dir.rmdir()
        self.game.icon_dir.write_bytes(b"class is a file here")
        self.start()
        # A file is never taken for a folder of icons: replace refuses, restore finds nothing
        # set aside, and the file stays where it is.
        self.assert_failure(self.click(REPLACE), REPLACE_FAILED)
        self.assertEqual(self.game.icon_dir.read_bytes(), b"class is a file here")
        self.assert_answer(self.click(RESTORE), NO_BACKUP, "information")
        self.assertEqual(self.game.icon_dir.read_bytes(), b"class is a file here")
        self.assertFalse(self.game.aside_dir.exists())
        self.assert_outside_unchanged()
        self.close()


if __name__ == "__main__":
    unittest.main()
