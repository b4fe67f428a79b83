"""The same program on every code page a player's Windows may have: 936 (Simplified Chinese),
950 (Traditional Chinese), 1252 (English) and 65001 (the UTF-8 option). The module runs on a
lane of each; the texts are read as UTF-16, so what is compared is what the player sees.
Screenshots of the window and of the success box are kept per code page."""

import json
import unittest

from korvanta_driver import (CACHE_DIR, DEFAULT_CAPTION, EDIT, GENERATED, LABEL, LABEL_TEXT,
                            REPLACE, RESTORE, SUCCESS, LaneTest, Game, foreign_files, game_files,
                            snapshot, stock_files)

# Characters of no code page but UTF-8: Thai, Hangul and one outside the BMP.
OUTSIDE_EVERY_CODE_PAGE = "ก한😀"


class CodePageTest(LaneTest):
    def setUp(self):
        super().setUp()
        self.code_page = json.loads(self.lane.inspector("codepage"))["acp"]

    def shot(self, what):
        return self.lane.screenshot(f"code-page-{self.code_page}-{what}.png")

    def swap(self, game_path):
        """A replace and a restore with the game at D:\\game_path, checked byte for byte."""
        game = Game(self.lane, game_path).install(stock_files()).register()
        own = game_files(stock_files())
        app = self.lane.start()
        main = app.wait_main()
        self.assertEqual(main.child(EDIT).text, game.windows_path)
        answer = app.answer(REPLACE, lambda box: self.shot("success"))
        self.assertEqual((answer.caption, answer.texts), (DEFAULT_CAPTION, [SUCCESS]))
        self.assertEqual((snapshot(game.icon_dir), snapshot(game.aside_dir)),
                         (foreign_files(), own))
        answer = app.answer(RESTORE)
        self.assertEqual((answer.caption, answer.texts), (DEFAULT_CAPTION, [SUCCESS]))
        self.assertEqual((snapshot(game.icon_dir), snapshot(game.aside_dir)),
                         (own, stock_files()))
        app.close()

    def test_texts_and_staging_folder(self):
        self.lane.clear_install_path()
        app = self.lane.start()
        main = app.wait_main()
        self.assertEqual(main.text, "Korvanta")
        self.assertEqual(main.child(LABEL).text, LABEL_TEXT)
        self.assertEqual(main.child(REPLACE).text, "替换(&Y)")
        self.assertEqual(main.child(RESTORE).text, "恢复(&N)")
        self.assertEqual(main.child(EDIT).text, "您的电脑未安装穿越火线")
        # The staging folder under its own name, with both archives whole.
        self.assertEqual((CACHE_DIR / "class1.zip").read_bytes(),
                         (GENERATED / "foreign.zip").read_bytes())
        self.assertEqual((CACHE_DIR / "class.zip").read_bytes(),
                         (GENERATED / "stock.zip").read_bytes())
        self.shot("window")
        answer = app.answer(REPLACE)
        self.assertEqual(answer.caption, DEFAULT_CAPTION)
        self.assertEqual(answer.texts, ["您的电脑未安装穿越火线"])
        app.close()

    def test_swap_with_the_game_under_a_chinese_path(self):
        self.swap("游戏\\穿越火线")

    def test_swap_with_the_game_under_characters_outside_the_code_page(self):
        self.swap(f"Games {OUTSIDE_EVERY_CODE_PAGE}\\CF")


if __name__ == "__main__":
    unittest.main()
