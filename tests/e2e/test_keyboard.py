"""Keyboard input as a player types it: real key presses through X, read back with the
inspector. The game is installed, so every action that runs ends in a message box."""

import unittest

from korvanta_driver import (DEFAULT_CAPTION, EDIT, REPLACE, RESTORE, WAIT_LIMIT, LaneTest,
                            Game, stock_files)


class KeyboardTest(LaneTest):
    def setUp(self):
        super().setUp()
        self.game = Game(self.lane).install(stock_files()).register()
        self.app = self.lane.start()
        self.main = self.app.wait_main()

    def focus(self):
        child = self.app.refresh().focused_child()
        return child.id if child else None

    def press(self, *keys):
        self.lane.key(self.main, *keys)

    def press_for_focus(self, key, expected):
        """Presses a key that moves the focus, and waits for the focus to reach `expected`.
        Returns the control the focus was last seen on: `expected`, or where it went instead
        ("not read" when the last look failed)."""
        self.press(key)
        seen = "not read"

        def arrived():
            nonlocal seen
            seen = "not read"
            seen = self.focus()
            return seen == expected

        try:
            self.lane.wait_for(arrived, WAIT_LIMIT, f"the focus on {expected} after {key}")
        except AssertionError:
            pass  # the caller's check shows where the focus was seen instead
        return seen

    def follow_focus(self, key, expected):
        """Presses a key once for each control in `expected`, each time waiting for the focus
        to reach that control; the controls it was seen on, up to the first one that was not
        the expected one."""
        seen = []
        for want in expected:
            seen.append(self.press_for_focus(key, want))
            if seen[-1] != want:
                break
        return seen

    def wait_active(self):
        """Once the box is gone, the main window has the keyboard again, without a click."""
        self.lane.wait_for(lambda: self.app.refresh().enabled and self.focus(), WAIT_LIMIT,
                            "focus back")

    def assert_no_box(self, seconds=1.5):
        self.lane.assert_never(self.lane.find_box, seconds, "a message box: no action may run")
        self.assertIsNone(self.lane.find_box(), "no action may run")

    def test_focus_starts_on_the_hidden_edit_box_and_tab_cycles(self):
        self.assertEqual(self.focus(), EDIT)
        seen = self.follow_focus("Tab", [REPLACE, RESTORE, EDIT])
        self.assertEqual(seen, [REPLACE, RESTORE, EDIT])
        seen = self.follow_focus("shift+Tab", [RESTORE, REPLACE, EDIT])
        self.assertEqual(seen, [RESTORE, REPLACE, EDIT])

    def test_enter_does_nothing_on_any_unit(self):
        for expected, following in ((EDIT, REPLACE), (REPLACE, RESTORE), (RESTORE, EDIT)):
            self.assertEqual(self.focus(), expected)
            self.press("Return")
            self.assert_no_box(1.0)
            self.press_for_focus("Tab", following)

    def test_space_on_a_focused_button_clicks_it(self):
        self.assertEqual(self.press_for_focus("Tab", REPLACE), REPLACE)
        self.press("space")
        box = self.app.message_box()
        self.assertEqual(box.text, DEFAULT_CAPTION)
        self.app.dismiss_box(box)
        self.assertTrue((self.game.aside_dir).is_dir(), "replace ran")

    def test_alt_y_and_alt_n_run_replace_and_restore(self):
        self.press("alt+y")
        self.app.dismiss_box()
        self.assertTrue(self.game.aside_dir.is_dir(), "replace moved the game's icons aside")
        self.wait_active()
        self.press("alt+n")
        self.app.dismiss_box()
        self.assertEqual(len(list(self.game.aside_dir.iterdir())), len(stock_files()),
                         "restore unpacked the stock copy")

    def test_other_alt_combinations_do_nothing(self):
        for keys in ("alt+shift+y", "ctrl+alt+y", "alt+q"):
            self.press(keys)
            self.assert_no_box()
        self.assertFalse(self.game.aside_dir.exists())

    def test_alt_y_while_the_box_is_up_does_nothing(self):
        self.press("alt+y")
        box = self.app.message_box()
        self.assertFalse(self.app.refresh().enabled, "the box disables the main window")
        self.press("alt+y")
        self.lane.assert_never(lambda: [b for b in self.lane.boxes() if b.hwnd != box.hwnd],
                                1.0, "a second message box")
        boxes = self.lane.boxes()
        self.assertEqual(len(boxes), 1)
        self.app.dismiss_box(box)
        self.assert_no_box()

    def test_escape_closes_with_exit_code_zero(self):
        self.press("Escape")
        self.assertEqual(self.app.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
