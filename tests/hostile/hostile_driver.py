"""What the hostile end-to-end tests share: the program's answers, the game installation with
files of the user's around its icon folders, the checks that nothing of the user's was lost,
mounted small or read-only file systems, and damaged copies of the staged archives.

Every wait is bounded: the program must show its window and each message box within the
lane's timeouts, and must end when closed.
"""

import errno
import functools
import hashlib
import io
import json
import os
import re
import shutil
import subprocess
import zipfile
from pathlib import Path

from korvanta_driver import (LANE, CACHE_DIR, DEFAULT_CAPTION, DRIVE_C, GENERATED, KORVANTA,
                            NO_BACKUP, NOT_INSTALLED, REPLACE, REPLACE_FAILED, RESTORE,
                            RESTORE_FAILED, SUCCESS, WAIT_LIMIT, Lane, LaneTest, Game,
                            Holder, Window, foreign_files, game_files, snapshot, stock_files)
# The icon each answer other than a failure comes with.
ICON_OF = {SUCCESS: None, NOT_INSTALLED: "warning", NO_BACKUP: "information"}

# The icon folders the actions may change; everything else of the game's must stay.
ICON_DIRS = ("rez/UI/class", "rez/UI/class2", "rez/UI/class.old")
# Files of the user's next to the icon folders, where a path that escapes would land.
USER_FILES = {"game.exe": b"MZ the game itself", "rez/UI/hud.dat": b"hud of the game",
              "rez/UI/class_readme.txt": b"next to the icons", "rez/version.txt": b"1.0"}


def digest_tree(root, skip=()):
    """Relative path -> content digest ("<dir>" for folders) below root, minus skipped trees."""
    root = Path(root)
    out = {}
    if not root.exists():
        return out
    for path in sorted(root.rglob("*")):
        rel = path.relative_to(root).as_posix()
        if any(rel == s or rel.startswith(s + "/") for s in skip):
            continue
        out[rel] = "<dir>" if path.is_dir() else hashlib.sha1(path.read_bytes()).hexdigest()
    return out


@functools.lru_cache(maxsize=None)
def known_set(which):
    """The files of the foreign or the stock set, read once per run."""
    return foreign_files() if which == "foreign" else stock_files()


def listing(folder):
    folder = Path(folder)
    return sorted(p.name for p in folder.iterdir()) if folder.is_dir() else None


class TolerantLane(Lane):
    """The lane, reading windows whose text is too long for the inspector: it cuts each
    window's record at 1024 bytes, inside the text when that is long (the edit box holding a
    64 KB game directory). Such a text is closed where it was cut and the record's missing
    fields take neutral values; the tests never look at that window."""

    DEFAULTS = {"style": 0, "exstyle": 0, "rect": [0, 0, 0, 0], "client": [0, 0, 0, 0],
                "enabled": False, "visible": False, "focus": False, "icon": None}

    def windows(self):
        raw = self.inspector("windows")
        try:
            records = json.loads(raw)
        except json.JSONDecodeError:
            records = json.loads(re.sub(
                r'"text":"([0-9a-f]*)(?=[^0-9a-f"])',
                lambda m: '"text":"' + m.group(1)[:len(m.group(1)) // 2 * 2] + '"', raw))
        return [Window(self.complete(r)) for r in records]

    def complete(self, record):
        for key, value in self.DEFAULTS.items():
            record.setdefault(key, value)
        record["children"] = [self.complete(c) for c in record.get("children", [])]
        return record


class HostileTest(LaneTest):
    """A test against the real program with a game installation of its own."""

    def setUp(self):
        self.lane = TolerantLane()
        self.addCleanup(self.lane.cleanup)

    def make_game(self, path_on_d="Games\\CF", registry_value=None, kind="REG_SZ",
                  drive_dir=None, drive_size=None):
        """The game on drive D: with its own icons and files of the user's around them;
        drive_size puts drive D: on a tmpfs of that size."""
        game = Game(self.lane, path_on_d, drive_dir=drive_dir)
        if drive_size:
            Mount(self, game.drive_dir, drive_size)
        game.install(stock_files())
        for rel, data in USER_FILES.items():
            path = game.root / rel
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
        (game.drive_dir / "user-notes.txt").write_bytes(b"a file of the user's on drive D:")
        if kind is not None:
            game.register(registry_value, kind)
        self.game = game
        self.own = game_files(stock_files())
        return game

    def outside(self):
        """What the actions must never change: the game drive outside the icon folders, the
        top of drive C: outside the staging folder, and the program's own folder."""
        game_rel = self.game.root.relative_to(self.game.drive_dir).as_posix()
        prefix = "" if game_rel == "." else game_rel + "/"
        drive_c = [n for n in listing(DRIVE_C) if n != CACHE_DIR.name]
        return (digest_tree(self.game.drive_dir, [prefix + d for d in ICON_DIRS]), drive_c,
                listing(KORVANTA.parent))

    def start(self):
        self.outside_before = self.outside()
        self.app = self.lane.start()
        self.main = self.app.wait_main()
        return self.app

    def click(self, control_id):
        return self.app.answer(control_id)

    def close(self):
        self.assertEqual(self.app.close(), 0, "the program ends normally after it all")

    def state(self):
        return snapshot(self.game.icon_dir), snapshot(self.game.aside_dir)

    def describe(self, files):
        """A folder's content in words: one of the known sets exactly, or what it holds."""
        if files is None:
            return None
        sets = (("own", self.own), ("foreign", known_set("foreign")), ("stock", known_set("stock")))
        for name, known in sets:
            if files == known:
                return name
        kinds = {"own": 0, "foreign": 0, "stock": 0, "other": 0}
        for name, data in files.items():
            kinds[next((k for k, known in sets if known.get(name) == data), "other")] += 1
        return f"{len(files)} files: " + ", ".join(f"{n} {k}" for k, n in kinds.items() if n)

    def summary(self):
        """(class, class2) in words."""
        return tuple(self.describe(files) for files in self.state())

    # --- the checks -------------------------------------------------------------------
    def assert_answer(self, answer, text, icon):
        self.assertEqual((answer.caption, answer.text, answer.icon, len(answer.buttons)),
                         (DEFAULT_CAPTION, text, icon, 1))

    def assert_success(self, answer):
        self.assert_answer(answer, SUCCESS, None)

    def assert_failure(self, answer, prefix):
        self.assert_answer(answer, prefix + self.game.windows_path + "\\rez\\UI\\class",
                           "error")

    def assert_any_answer(self, answer, failed_prefix):
        """One of the answers an action may give, each with its own icon: a failure when the
        text is none of the others."""
        if answer.text in ICON_OF:
            self.assert_answer(answer, answer.text, ICON_OF[answer.text])
        else:
            self.assert_failure(answer, failed_prefix)

    def assert_own_icons_kept(self):
        self.assertIn("own", self.summary(),
                      "the game's own icons are complete in class or class2")

    def assert_outside_unchanged(self):
        self.assertEqual(self.outside(), self.outside_before,
                         "nothing outside the icon folders and the staging folder changed")

    def assert_replaced(self):
        self.assert_success(self.click(REPLACE))
        self.assertEqual(self.summary(), ("foreign", "own"))

    def assert_restored(self):
        self.assert_success(self.click(RESTORE))
        self.assertEqual(self.summary(), ("own", "stock"))

    def assert_both_fail_without_change(self):
        """From a fresh installation: replace fails and changes nothing; from the state a
        replace leaves, made on disk, restore fails and changes nothing."""
        self.assert_failure(self.click(REPLACE), REPLACE_FAILED)
        self.assertEqual(self.summary(), ("own", None))
        self.as_after_replace()
        self.assert_failure(self.click(RESTORE), RESTORE_FAILED)
        self.assertEqual(self.summary(), ("foreign", "own"))

    # --- icon folders made on disk, while the program runs or before -------------------
    def reinstall(self):
        """A fresh installation again: only class, with the game's own icons."""
        for name in ("class", "class2", "class.old"):
            path = self.game.ui / name
            if path.is_dir():
                for p in path.iterdir():
                    p.chmod(0o644)
                shutil.rmtree(path)
            elif path.exists():
                path.unlink()
        self.game.install(stock_files())

    def as_after_replace(self):
        """class holds the foreign set and class2 the game's own icons, made on disk."""
        self.game.icon_dir.rename(self.game.aside_dir)
        self.game.icon_dir.mkdir()
        for name, data in foreign_files().items():
            (self.game.icon_dir / name).write_bytes(data)


# --- file systems ---------------------------------------------------------------------
class Mount:
    """A tmpfs mounted over a folder for one test, unmounted afterwards. The test is skipped,
    with the reason, where the machine refuses to mount (not root, or no mount rights)."""

    def __init__(self, test, folder, size, read_only=False):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        unmount(self.folder)
        options = f"size={size}" + (",ro" if read_only else "")
        result = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "korvanta-hostile",
                                 str(self.folder)], capture_output=True, timeout=WAIT_LIMIT)
        if result.returncode != 0:
            test.skipTest(f"cannot mount a tmpfs at {self.folder} to simulate this "
                          f"({result.stderr.decode(errors='replace').strip()})")
        test.addCleanup(unmount, self.folder)


def unmount(folder):
    folder = Path(folder)
    while os.path.ismount(folder):
        subprocess.run(["umount", "-l", str(folder)], capture_output=True, timeout=WAIT_LIMIT)


def fill_up(folder, name="filler.bin"):
    """Writes one file until the file system has no byte left."""
    with open(Path(folder) / name, "wb", buffering=0) as out:
        # Large blocks first, then small ones for what a large one no longer fits in.
        for chunk in (b"\0" * 65536, b"\0" * 512):
            try:
                while True:
                    out.write(chunk)
            except OSError as e:
                if e.errno != errno.ENOSPC:
                    raise


# --- damaged copies of the staged archives --------------------------------------------
# The fixed header fields these copies read or patch: name -> (offset, width), as the C++
# tests' layout tables (tests/support/zip_layout.cpp) list them.
LOCAL_FIELDS = {"crc": (14, 4)}
CENTRAL_FIELDS = {"crc": (16, 4), "name length": (28, 2), "extra length": (30, 2),
                  "comment length": (32, 2), "local header offset": (42, 4)}
CENTRAL_FIXED = 46
END_FIELDS = {"entries": (10, 2), "central directory offset": (16, 4)}


def zip_field(data, at, fields, name):
    """The little-endian value of a fixed field of the header that begins at `at`."""
    offset, width = fields[name]
    return int.from_bytes(data[at + offset:at + offset + width], "little")


def _central_offsets(data):
    end = data.rfind(b"PK\x05\x06")
    at = zip_field(data, end, END_FIELDS, "central directory offset")
    offsets = []
    for _ in range(zip_field(data, end, END_FIELDS, "entries")):
        offsets.append(at)
        at += CENTRAL_FIXED + sum(zip_field(data, at, CENTRAL_FIELDS, name) for name in
                                  ("name length", "extra length", "comment length"))
    return offsets, end


def with_bad_crc(data, index=-1):
    """The archive with one entry's CRC wrong in both headers (the data stays as it was)."""
    data = bytearray(data)
    central = _central_offsets(bytes(data))[0][index]
    local = zip_field(data, central, CENTRAL_FIELDS, "local header offset")
    for at, fields in ((central, CENTRAL_FIELDS), (local, LOCAL_FIELDS)):
        offset, width = fields["crc"]
        crc = zip_field(data, at, fields, "crc") ^ 0x5A5A5A5A
        data[at + offset:at + offset + width] = crc.to_bytes(width, "little")
    return bytes(data)


def cut_in_central_directory(data):
    offsets, end = _central_offsets(data)
    return data[:(offsets[0] + end) // 2]


def with_entries_appended(data, entries):
    """The archive with more entries after its own: (name, bytes, external attributes)."""
    out = io.BytesIO()
    with zipfile.ZipFile(io.BytesIO(data)) as src, zipfile.ZipFile(out, "w") as dst:
        for info in src.infolist():
            dst.writestr(info, src.read(info))
        for name, payload, attributes in entries:
            info = zipfile.ZipInfo(name, (2009, 1, 9, 7, 23, 54))
            info.external_attr = attributes
            info.compress_type = zipfile.ZIP_DEFLATED
            dst.writestr(info, payload)
    return out.getvalue()


def foreign_archive():
    return (GENERATED / "foreign.zip").read_bytes()


def stock_archive():
    return (GENERATED / "stock.zip").read_bytes()
