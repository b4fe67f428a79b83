"""Start-up: the game directory from the registry, and both archives staged on drive C:."""

import unittest

from korvanta_driver import CACHE_DIR, EDIT, GENERATED, NOT_INSTALLED, LaneTest, Game


class StagingTest(LaneTest):
    def start_and_read_edit(self):
        app = self.lane.start()
        main = app.wait_main()
        text = main.child(EDIT).text
        self.assertEqual(app.close(), 0)
        return text

    def assert_staged(self):
        self.assertEqual((CACHE_DIR / "class1.zip").read_bytes(),
                         (GENERATED / "foreign.zip").read_bytes())
        self.assertEqual((CACHE_DIR / "class.zip").read_bytes(),
                         (GENERATED / "stock.zip").read_bytes())

    def test_install_path_lands_in_the_edit_box_and_both_archives_are_staged(self):
        Game(self.lane).register()
        self.assertEqual(self.start_and_read_edit(), "D:\\Games\\CF")
        self.assert_staged()

    def test_without_the_key_the_edit_box_holds_the_notice(self):
        self.lane.clear_install_path()
        self.assertEqual(self.start_and_read_edit(), NOT_INSTALLED)
        self.assert_staged()

    def test_second_start_rewrites_longer_and_changed_staged_files(self):
        self.lane.clear_install_path()
        CACHE_DIR.mkdir(exist_ok=True)
        (CACHE_DIR / "class1.zip").write_bytes(b"x" * 4_000_000)
        (CACHE_DIR / "class.zip").write_bytes(b"stale")
        self.start_and_read_edit()
        self.assert_staged()
        self.start_and_read_edit()
        self.assert_staged()

    def test_a_plain_file_in_place_of_the_staging_directory_does_not_stop_the_start(self):
        self.lane.clear_install_path()
        if CACHE_DIR.is_dir():
            for p in CACHE_DIR.iterdir():
                p.unlink()
            CACHE_DIR.rmdir()
        CACHE_DIR.write_bytes(b"not a directory")
        try:
            self.assertEqual(self.start_and_read_edit(), NOT_INSTALLED)
            self.assertEqual(CACHE_DIR.read_bytes(), b"not a directory")
        finally:
            CACHE_DIR.unlink()


if __name__ == "__main__":
    unittest.main()
