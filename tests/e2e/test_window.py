"""The main window as a player sees it: title, frame, units, centring, closing."""

import unittest

from korvanta_driver import (EDIT, LABEL, LABEL_TEXT, REPLACE, RESTORE, WS_CAPTION,
                            WS_CLIPCHILDREN, WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_SYSMENU,
                            WS_THICKFRAME, LaneTest)

SCREEN = (1024, 768)
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060


class MainWindowTest(LaneTest):
    def setUp(self):
        super().setUp()
        self.lane.clear_install_path()
        self.app = self.lane.start()
        self.main = self.app.wait_main()

    def test_frame_title_size_and_centring(self):
        main = self.main
        self.assertEqual(main.text, "Korvanta")
        self.assertEqual(main.size, (276, 201))
        self.assertEqual(main.rect[0], (SCREEN[0] - 276) // 2)
        self.assertEqual(main.rect[1], (SCREEN[1] - 201) // 2)
        self.assertEqual(main.style & (WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN),
                         WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN)
        self.assertEqual(main.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
        self.assertEqual(main.exstyle & 0x00000080, 0, "no tool window")
        self.lane.screenshot("window.png")

    def test_units_classes_ids_rectangles_and_texts(self):
        main = self.main
        ox, oy = main.client[0], main.client[1]

        def local(w):
            return (w.rect[0] - ox, w.rect[1] - oy, w.size[0], w.size[1])

        ids = sorted(c.id for c in main.children)
        self.assertEqual(ids, [EDIT, REPLACE, RESTORE, LABEL],
                         "edit 100, buttons 120/130, label 140; the ZIP unit has no window")
        edit, replace, restore, label = (main.child(i) for i in (EDIT, REPLACE, RESTORE, LABEL))

        self.assertEqual(replace.cls.lower(), "button")
        self.assertEqual(replace.text, "替换(&Y)")
        self.assertEqual(local(replace), (24, 104, 88, 48))
        self.assertEqual(restore.cls.lower(), "button")
        self.assertEqual(restore.text, "恢复(&N)")
        self.assertEqual(local(restore), (144, 104, 96, 48))
        for button in (replace, restore):
            self.assertTrue(button.visible and button.enabled)
            self.assertEqual(button.style & 0x0F, 0, "a plain push button, not a default one")

        self.assertNotIn(label.cls.lower(), ("button", "edit", "static"))
        self.assertEqual(local(label), (16, 24, 232, 48))
        self.assertEqual(label.text, LABEL_TEXT)

        self.assertEqual(edit.cls.lower(), "edit")
        self.assertTrue(edit.enabled)
        self.assertEqual(local(edit)[:3], (0, 216, 272))
        client_height = main.client[3] - main.client[1]
        self.assertGreaterEqual(216, client_height, "the edit box lies outside the client area")

    def test_label_paints_two_lines_top_left_in_black_on_the_button_face(self):
        label = self.main.child(LABEL)
        shot = self.lane.screenshot("label.png")
        rows = self.lane.pixels(shot, label.rect)
        face = self.lane.system_colour(15)  # COLOR_BTNFACE
        self.assertEqual((len(rows[0]), len(rows)), (232, 48))
        # Text pixels are dark (anti-aliased black); everything else is the button face.
        dark = [[sum(p) < 3 * 110 for p in row] for row in rows]
        # Black text anti-aliased on the face only ever darkens it.
        self.assertTrue(all(all(c <= f for c, f in zip(p, face)) for row in rows for p in row))
        background = sum(p == face for row in rows for p in row)
        self.assertGreater(background, 0.7 * 232 * 48, "an opaque label in the button face")
        bands, inside = [], False
        for y, row in enumerate(dark):
            if any(row) and not inside:
                bands.append([y, y])
            if any(row):
                bands[-1][1] = y
            inside = any(row)
        self.assertEqual(len(bands), 2, f"two lines of text, then nothing: {bands}")
        first, second = bands
        self.assertLessEqual(first[0], 4, "the text starts at the top, not centred")
        line = first[1] - first[0] + 1
        self.assertGreater(second[0] - first[1], line // 2, "an empty line between the lines")
        lefts = [min(x for y in range(a, b + 1) for x, d in enumerate(dark[y]) if d)
                 for a, b in bands]
        self.assertLessEqual(lefts[1], 3, "the second line starts at the left edge")
        self.assertGreaterEqual(lefts[0] - lefts[1], 4, "the first line is indented by two spaces")

    def test_close_message_ends_with_exit_code_zero(self):
        self.assertEqual(self.app.close(), 0)

    def test_close_box_ends_with_exit_code_zero(self):
        # The close box sends SC_CLOSE; without a window manager there is no frame to click.
        self.lane.post(self.main, WM_SYSCOMMAND, SC_CLOSE)
        self.assertEqual(self.app.wait_exit(), 0)


if __name__ == "__main__":
    unittest.main()
