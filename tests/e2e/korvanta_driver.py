"""The end-to-end driver: the real korvanta.exe under Wine on the lane's private display.

Every Wine call goes through tests/wine/wine-run, which owns the prefix and the display.
Windows are read with the project's inspector.exe; keyboard and mouse input comes from
xdotool on the same X display, so it travels the same way a player's input does.
"""

import json
import os
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

BUILD = Path(os.environ["KORVANTA_BUILD"])
SOURCE = Path(os.environ["KORVANTA_SOURCE"])
# The lane of the tree's pool this test runs on: tests/wine/wine-lane names it, so a module
# runs as `wine-lane BUILD/lanes exec python3 -m unittest MODULE` (CTest does this).
LANE = Path(os.environ["KORVANTA_LANE_DIR"])
WINE_RUN = SOURCE / "tests/wine/wine-run"
KORVANTA = Path(os.environ["KORVANTA_EXE"])
INSPECTOR = BUILD / "tests/e2e/inspector.exe"
GENERATED = BUILD / "payload/generated"
SCREENSHOTS = BUILD / "screenshots"
# How long a test waits for one thing (a window, a box, a program's end) before it calls that
# a hang and says what it waited for; a program run, which may itself wait for one thing, is
# given twice that. Set with every other limit in cmake/HangLimits.cmake.
WAIT_LIMIT = float(os.environ["KORVANTA_WAIT_LIMIT"])
RUN_LIMIT = 2 * WAIT_LIMIT

PREFIX = LANE / "prefix"
DRIVE_C = PREFIX / "drive_c"
CACHE_DIR = DRIVE_C / "缓存目录"
REG_KEY = r"HKLM\Software\Tencent\CrossFire"
# The registry view the program reads, as the lane sets it (tests/wine/wine-env.sh): the
# 32-bit one for korvanta.exe, the 64-bit one for the 64-bit test build of the same program.
REG_VIEW = os.environ["WINE_REG_VIEW"]

# The program's controls and what its message boxes say; a failure's text goes on with the
# icon folder's path.
EDIT, REPLACE, RESTORE, LABEL = 100, 120, 130, 140
DEFAULT_CAPTION = "信息："
SUCCESS = "替换成功"
REPLACE_FAILED = "替换失败，请关闭游戏后重试。\r\n\r\n"
RESTORE_FAILED = "恢复失败，请关闭游戏后重试。\r\n\r\n"
NOT_INSTALLED = "您的电脑未安装穿越火线"
NO_BACKUP = "未找到备份的图标，游戏图标保持不变。"
LABEL_TEXT = "  玩腻国服的小盆友们,来体验体验外服的,\r\n\r\n军衔图标吧。"

# Window messages and styles the tests look at.
WM_CLOSE = 0x0010
WS_CAPTION = 0x00C00000
WS_SYSMENU = 0x00080000
WS_CLIPCHILDREN = 0x02000000
WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000


# The inspector's exit codes; a negative one is the signal that ended it.
INSPECTOR_OK = 0
INSPECTOR_FOREGROUND_REFUSED = 1
INSPECTOR_BAD_ARGUMENTS = 2
INSPECTOR_NO_SUCH_WINDOW = 3
INSPECTOR_WINDOW_GONE = 4
INSPECTOR_INTERNAL_ERROR = 5  # with a line on stderr saying what failed
INSPECTOR_UNHANDLED_EXCEPTION = 6  # with a line on stderr naming the exception
INSPECTOR_EXIT_NAMES = {
    INSPECTOR_OK: "ok",
    INSPECTOR_FOREGROUND_REFUSED: "foreground refused",
    INSPECTOR_BAD_ARGUMENTS: "bad arguments",
    INSPECTOR_NO_SUCH_WINDOW: "no such window",
    INSPECTOR_WINDOW_GONE: "window gone",
    INSPECTOR_INTERNAL_ERROR: "internal error",
    INSPECTOR_UNHANDLED_EXCEPTION: "unhandled exception",
}
# The window a call names is not there: it never was, or it went away during the call.
WINDOW_MISSING = (INSPECTOR_NO_SUCH_WINDOW, INSPECTOR_WINDOW_GONE)
# Calls that only read are tried again, a few times, before a failure counts: a read may
# meet a window half created or half destroyed. Calls that act are never repeated blindly.
READING_VERBS = ("windows", "icon", "syscolor", "painted", "codepage")
READ_ATTEMPTS = 3
READ_RETRY_PAUSE = 0.2
# Calls that act on one window, named by its handle.
WINDOW_VERBS = ("click", "post", "send")

# How often waits look again.
POLL_INTERVAL = 0.1
# The calls the standing inspector ("inspector serve") refuses, as they last: each starts an
# inspector of its own. It takes every other call.
OWN_PROCESS_VERBS = ("hold", "run")
# What begins the standing inspector's last line of each answer: the exit code, then what the
# call says of a failure.
ANSWER_END = b"\x1e"

# How much of a failed call's command and output a report quotes.
REPORT_CHARS = 2000


def clip(text, limit=REPORT_CHARS):
    """The text, or its beginning and end with the count of characters left out between."""
    if len(text) <= limit:
        return text
    half = limit // 2
    return f"{text[:half]}\n[... {len(text) - 2 * half} characters left out ...]\n{text[-half:]}"


def exit_description(code, names=None):
    """How a process ended: its exit code, named when `names` knows it, or the signal."""
    if code is None:
        return "still running"
    if code < 0:
        try:
            return f"killed by {signal.Signals(-code).name} ({code})"
        except ValueError:
            return f"killed by signal {-code} ({code})"
    name = (names or {}).get(code)
    return f"exit code {code}" + (f" ({name})" if name else "")


class WineFailure(AssertionError):
    """A Wine call that failed, with everything needed to tell why from the report alone."""

    def __init__(self, command, returncode, stdout, stderr, names=None, timeout=None):
        self.command = command
        self.returncode = returncode
        self.stdout = stdout
        self.stderr = stderr
        self.timeout = timeout
        ended = (f"timed out after {timeout} s" if timeout is not None
                 else exit_description(returncode, names))
        super().__init__(
            f"{ended}\n"
            f"  command: {clip(shlex.join(map(str, command)))}\n"
            f"  stdout: {self.quote(stdout)}\n"
            f"  stderr: {self.quote(stderr)}")

    @staticmethod
    def quote(output):
        text = output.decode(errors="replace").rstrip()
        if not text:
            return "(empty)"
        text = clip(text)
        return text if "\n" not in text else "\n    " + text.replace("\n", "\n    ")


def shown_text(hex_text):
    """A text as the inspector hands it over: read as UTF-16, the characters on the screen
    whatever the lane's code page, and sent as hex of its UTF-8 bytes."""
    return bytes.fromhex(hex_text).decode("utf-8")


def display():
    """The lane's X display; its number is the first field of the lane's display file."""
    return ":" + (LANE / "display").read_text().split()[0]


class Window:
    def __init__(self, record):
        self.record = record
        self.hwnd = record["hwnd"]
        self.cls = record["class"]
        self.text = shown_text(record["text"])
        self.style = record["style"]
        self.exstyle = record["exstyle"]
        self.rect = record["rect"]
        self.client = record["client"]
        self.enabled = record["enabled"]
        self.visible = record["visible"]
        self.focus = record["focus"]
        self.id = record["id"]
        # The kind of system icon the control shows ("error", "warning", "information",
        # "question"; "unknown" for any other image), or None.
        self.icon = record.get("icon")
        self.children = [Window(c) for c in record.get("children", [])]

    def __repr__(self):
        return f"Window({self.cls!r}, {self.text!r}, hwnd={self.hwnd}, id={self.id})"

    @property
    def size(self):
        return (self.rect[2] - self.rect[0], self.rect[3] - self.rect[1])

    def child(self, control_id):
        for c in self.children:
            if c.id == control_id:
                return c
        raise KeyError(control_id)

    def focused_child(self):
        for c in self.children:
            if c.focus:
                return c
        return None


def box_icon(box):
    """The kind of icon a message box shows, or None; a list when it shows more than one."""
    kinds = [c.icon for c in box.children if c.cls.lower() == "static" and c.icon and c.visible]
    return kinds[0] if len(kinds) == 1 else (kinds or None)


class Answer:
    """The message box an action ended with."""

    def __init__(self, box):
        statics = [c for c in box.children if c.cls.lower() == "static"]
        self.caption = box.text
        self.texts = [c.text for c in statics if c.text]
        self.icon = box_icon(box)
        self.buttons = [c.text for c in box.children if c.cls.lower() == "button"]

    @property
    def text(self):
        return "\n".join(self.texts)

    def __repr__(self):
        return f"Answer({self.caption!r}, {self.texts!r}, icon={self.icon})"


class Ended(AssertionError):
    """What a wait looked for can no longer come: the program has ended."""


class Korvanta:
    """One running korvanta.exe."""

    def __init__(self, lane, process):
        self.lane = lane
        self.process = process
        self.main = None

    def wait_main(self, timeout=WAIT_LIMIT):
        """The visible main window, once it shows."""
        def shown():
            # A program that ended (a crash, a fatal error) is said at once, with its exit code.
            if self.process.poll() is not None:
                raise Ended(f"korvanta.exe ended ({exit_description(self.process.returncode)}) "
                            "before its main window showed")
            return self.lane.find_window("Korvanta")

        self.main = self.lane.wait_for(shown, timeout, "main window")
        return self.main

    def refresh(self):
        self.main = self.lane.find_window("Korvanta")
        return self.main

    def message_box(self, timeout=WAIT_LIMIT):
        """The visible message box, once it has its buttons: a box being built or torn down
        may be listed with only some of its controls."""
        def whole_box():
            box = self.lane.find_box()
            return box if box and any(c.cls.lower() == "button" for c in box.children) else None

        return self.lane.wait_for(whole_box, timeout, "message box")

    def answer(self, control_id, while_shown=None):
        """Clicks a button of the main window and reads the message box the action ends with,
        as an Answer; `while_shown`, given the box, runs before the box is dismissed."""
        self.lane.click(self.main.child(control_id))
        box = self.message_box()
        answer = Answer(box)
        if while_shown:
            while_shown(box)
        self.dismiss_box(box)
        return answer

    def dismiss_box(self, box=None, timeout=WAIT_LIMIT):
        box = box or self.message_box()
        ok = [c for c in box.children if c.cls.lower() == "button"][0]
        self.lane.click(ok)
        self.lane.wait_for(lambda: self.lane.find_box() is None, timeout, "box gone")

    def close(self, timeout=WAIT_LIMIT):
        if self.main is not None and self.process.poll() is None:
            self.lane.post(self.main, WM_CLOSE)
        return self.wait_exit(timeout)

    def wait_exit(self, timeout=WAIT_LIMIT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise AssertionError("korvanta.exe did not end in time")


class InspectorSession:
    """One inspector that stays up for a test and takes its calls a line at a time, so that a
    look costs a message, not a Wine process of its own. Started on the first call, and again
    after one that ended it; a call answers as the inspector's one-shot form would."""

    def __init__(self, env):
        self.env = env
        self.command = [str(WINE_RUN), str(LANE), str(INSPECTOR), "serve"]
        self.process = None
        self.err = None

    def start(self):
        # Its errors go to a file, like those of every other Wine call (Lane.wine says why).
        self.err = tempfile.TemporaryFile()
        self.process = subprocess.Popen(self.command, env=self.env, cwd=LANE,
                                        stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=self.err)

    def call(self, words, timeout, names=None):
        """The output of one call; raises a WineFailure when it fails, when the inspector ends
        on it or when no answer comes within the timeout (and then ends the inspector)."""
        if self.process is None:
            self.start()
        command = [*self.command, "<<<", *words]
        answer = b""
        try:
            self.process.stdin.write((" ".join(words) + "\n").encode())
            self.process.stdin.flush()
            deadline = time.monotonic() + timeout
            out = self.process.stdout.fileno()
            while not self.answered(answer):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([out], [], [], left)[0]:
                    _, stderr = self.stop(kill=True)
                    raise WineFailure(command, None, answer, stderr, timeout=timeout)
                chunk = os.read(out, 65536)
                if not chunk:
                    break
                answer += chunk
        except (BrokenPipeError, ConnectionResetError):
            pass
        if not self.answered(answer):
            returncode, stderr = self.stop()
            raise WineFailure(command, returncode, answer, stderr, names)
        output, _, last = answer[:-1].rpartition(ANSWER_END)
        code, _, said = last.rstrip(b"\r").partition(b" ")
        if int(code) != 0:
            raise WineFailure(command, int(code), output, said, names)
        return output

    @staticmethod
    def answered(answer):
        """Whether the bytes read so far end with an answer's last line."""
        if not answer.endswith(b"\n"):
            return False
        return answer[:-1].rpartition(b"\n")[2].startswith(ANSWER_END)

    def stop(self, kill=False):
        """Ends the inspector, at the end of its input or killed (at once with kill, else when
        it does not end then). Returns its exit code and what it wrote on stderr."""
        if self.process is None:
            return None, b""
        process, err = self.process, self.err
        self.process = self.err = None
        if kill:
            process.kill()
        try:
            process.stdin.close()
        except OSError:
            pass  # it ended, and what it had not read goes with it
        try:
            process.wait(WAIT_LIMIT)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(30)
        process.stdout.close()
        err.seek(0)
        stderr = err.read()
        err.close()
        return process.returncode, stderr


class Lane:
    """Game installation, registry and processes of one test."""

    def __init__(self):
        self.env = dict(os.environ)
        self.env["DISPLAY"] = display()
        self.env.pop("WINE_ENV_USE_DISPLAY", None)
        self.processes = []
        self.session = InspectorSession(self.env)

    # --- Wine and X -------------------------------------------------------------------
    def wine(self, *args, timeout=RUN_LIMIT, check=True, cwd=None, names=None):
        """A program under Wine, to its end. A failure (a non-zero exit with check, or no end
        within the timeout either way) raises a WineFailure; `names` names exit codes."""
        command = [str(WINE_RUN), str(LANE), *map(str, args)]
        # Output goes through files, not pipes: a Wine helper process started on the way
        # (the desktop, the server) would inherit a pipe and keep it open long after the
        # program itself has ended. No Wine program reads the test's own input.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                result = subprocess.run(command, env=self.env, cwd=cwd or LANE,
                                        stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                        timeout=timeout)
            except subprocess.TimeoutExpired:
                out.seek(0)
                err.seek(0)
                raise WineFailure(command, None, out.read(), err.read(),
                                  timeout=timeout) from None
            out.seek(0)
            err.seek(0)
            result.stdout, result.stderr = out.read(), err.read()
        if check and result.returncode != 0:
            raise WineFailure(command, result.returncode, result.stdout, result.stderr, names)
        return result

    def inspector(self, verb, *args, timeout=RUN_LIMIT, gone_ok=False):
        """The inspector's output. A reading call that fails is tried again; when every try
        fails, the last one's report is raised. A call that acts on a window that is not there
        raises saying so, or returns None when the caller has said that is fine (gone_ok)."""
        attempts = READ_ATTEMPTS if verb in READING_VERBS else 1
        for attempt in range(1, attempts + 1):
            try:
                if verb not in OWN_PROCESS_VERBS:
                    return self.session.call([verb, *map(str, args)], timeout,
                                             INSPECTOR_EXIT_NAMES).decode()
                return self.wine(INSPECTOR, verb, *args, timeout=timeout,
                                 names=INSPECTOR_EXIT_NAMES).stdout.decode()
            except WineFailure as failure:
                last = failure
            # Arguments the inspector refuses stay refused.
            if last.returncode == INSPECTOR_BAD_ARGUMENTS:
                break
            if attempt < attempts:
                time.sleep(READ_RETRY_PAUSE)
        if verb in WINDOW_VERBS and last.returncode in WINDOW_MISSING:
            if gone_ok:
                return None
            raise AssertionError(f"inspector {verb}: window {args[0]} is not there; "
                                 f"{last}") from None
        if attempt > 1:
            raise AssertionError(f"inspector {verb} failed {attempt} times; the last time: "
                                 f"{last}") from None
        raise last

    def click(self, window):
        """A button click, posted to a Window or a window handle."""
        self.inspector("click", getattr(window, "hwnd", window))

    def post(self, window, message, wparam=0, lparam=0, gone_ok=False):
        """A message posted to a Window or a window handle; True once posted, False when the
        window is gone and the caller said that is fine."""
        return self.inspector("post", getattr(window, "hwnd", window), message, wparam, lparam,
                              gone_ok=gone_ok) is not None

    def windows(self):
        return [Window(r) for r in json.loads(self.inspector("windows"))]

    def find_window(self, title):
        for w in self.windows():
            if w.text == title and w.visible:
                return w
        return None

    def boxes(self):
        """The message boxes on screen."""
        return [w for w in self.windows() if w.cls == "#32770" and w.visible]

    def find_box(self):
        boxes = self.boxes()
        return boxes[0] if boxes else None

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, capture_output=True,
                              timeout=WAIT_LIMIT, check=True).stdout.decode()

    def key(self, window, *keys):
        """Real key presses to the X window that shows `window`. Returns once they are sent:
        the caller waits for what they do."""
        xid = self.xdotool("search", "--onlyvisible", "--name", window.text).split()[0]
        self.xdotool("windowfocus", "--sync", xid)
        for k in keys:
            self.xdotool("key", "--clearmodifiers", k)

    def screenshot(self, name):
        """The screen once the program's windows have painted what they hold."""
        self.wait_for(lambda: self.inspector("painted").strip() == "true", WAIT_LIMIT,
                      "the windows painted")
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        path = SCREENSHOTS / name
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True,
                       timeout=WAIT_LIMIT)
        return path

    def pixels(self, shot, rect):
        """The RGB rows of a screen rectangle (left, top, right, bottom) of a screenshot."""
        left, top, right, bottom = rect
        width, height = right - left, bottom - top
        ppm = subprocess.run(["convert", str(shot), "-crop", f"{width}x{height}+{left}+{top}",
                              "+repage", "ppm:-"], capture_output=True, check=True,
                             timeout=WAIT_LIMIT).stdout
        # P6 header: magic, width, height, maximum, then the raw bytes.
        fields = ppm.split(maxsplit=4)
        w, h, data = int(fields[1]), int(fields[2]), fields[4]
        return [[tuple(data[(y * w + x) * 3:(y * w + x) * 3 + 3]) for x in range(w)]
                for y in range(h)]

    def system_colour(self, index):
        return tuple(json.loads(self.inspector("syscolor", str(index))))

    # --- waiting and watching ----------------------------------------------------------
    @staticmethod
    def wait_for(probe, timeout, what):
        """The probe's first true value. A probe that raises (a read that failed) has not seen
        it yet; at the deadline the failure names what was awaited and the last such error."""
        deadline = time.monotonic() + timeout
        error, last_failed = None, False
        while True:
            try:
                value = probe()
            except Ended:
                raise
            except Exception as e:  # any failed look is "not yet"
                error, last_failed = e, True
            else:
                if value:
                    return value
                last_failed = False
            now = time.monotonic()
            if now > deadline:
                said = f"timed out after {timeout} s waiting for {what}"
                if error is not None:
                    said += ("; the last look failed" if last_failed else
                             "; an earlier look failed") + f": {type(error).__name__}: {error}"
                raise AssertionError(said) from error
            time.sleep(min(POLL_INTERVAL, deadline - now + 0.01))

    @staticmethod
    def assert_never(probe, seconds, what):
        """Watches for `seconds`, looking again and again, that the probe never returns a true
        value (what must not happen); fails at once when it does, quoting what it saw. A look
        that raises is tolerated, but not a watch without one good look."""
        start = time.monotonic()
        end = start + seconds
        looked, error = False, None
        while True:
            began = time.monotonic()
            try:
                seen = probe()
            except Exception as e:  # a failed look saw nothing either way
                error = e
            else:
                looked = True
                if seen:
                    raise AssertionError(f"{what}, {began - start:.1f} s into a watch of "
                                         f"{seconds} s: {seen!r}")
            if time.monotonic() >= end:
                break
            time.sleep(min(POLL_INTERVAL, max(0.0, end - time.monotonic())))
        if not looked:
            raise AssertionError(f"could not look for {what} in {seconds} s: "
                                 f"{type(error).__name__}: {error}")

    # --- the game installation ----------------------------------------------------------
    def map_drive(self, letter, unix_dir):
        unix_dir = Path(unix_dir)
        unix_dir.mkdir(parents=True, exist_ok=True)
        link = PREFIX / "dosdevices" / f"{letter}:"
        if link.is_symlink() or link.exists():
            link.unlink()
        link.symlink_to(unix_dir)

    def set_install_path(self, value, kind="REG_SZ"):
        self.wine("reg", "add", REG_KEY, "/v", "InstallPath", "/t", kind, "/d", value, "/f",
                  REG_VIEW)

    def clear_install_path(self):
        self.wine("reg", "delete", REG_KEY, "/f", REG_VIEW, check=False)

    def start(self, exe=KORVANTA, *args):
        process = subprocess.Popen([str(WINE_RUN), str(LANE), str(exe), *map(str, args)],
                                   env=self.env, cwd=LANE, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return Korvanta(self, process)

    def cleanup(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait(10)
        # Leftover windows of a failed test must not confuse the next one. A window listed
        # here may belong to a process ended just above, and be gone by now.
        try:
            for w in self.windows():
                if w.text == "Korvanta" or w.cls == "#32770":
                    self.post(w, WM_CLOSE, gone_ok=True)
        finally:
            self.session.stop()


class LaneTest(unittest.TestCase):
    """A test with a lane of its own, cleaned up whatever happens."""

    def setUp(self):
        self.lane = Lane()
        self.addCleanup(self.lane.cleanup)


# --- game installations and icon folders ------------------------------------------------
GAME_MARKER = "korvanta-test-game-own.txt"


class Game:
    """A game installation on drive D:, mapped to a folder of the lane."""

    def __init__(self, lane, path_on_d="Games\\CF", drive_dir=None):
        self.lane = lane
        self.drive_dir = Path(drive_dir or LANE / "drive_d")
        if self.drive_dir.exists():
            shutil.rmtree(self.drive_dir)
        lane.map_drive("d", self.drive_dir)
        self.windows_path = "D:\\" + path_on_d
        self.root = self.drive_dir.joinpath(*[p for p in path_on_d.split("\\") if p])
        self.ui = self.root / "rez" / "UI"
        self.icon_dir = self.ui / "class"
        self.aside_dir = self.ui / "class2"

    def install(self, names):
        """The game's own icons: every given name, with content only they carry, and a marker."""
        self.icon_dir.mkdir(parents=True, exist_ok=True)
        for name in names:
            (self.icon_dir / name).write_bytes(b"game-own:" + name.encode())
        (self.icon_dir / GAME_MARKER).write_text("the game's own icons\n")
        return self

    def register(self, value=None, kind="REG_SZ"):
        self.lane.set_install_path(self.windows_path if value is None else value, kind)
        return self


def snapshot(folder):
    """Name -> bytes of every file directly in a folder, or None when it is not a folder."""
    folder = Path(folder)
    if not folder.is_dir():
        return None
    return {p.name: p.read_bytes() for p in sorted(folder.iterdir())}


def archive_files(archive):
    """Name -> bytes of every file entry of a generated archive, without its top folder."""
    import zipfile

    with zipfile.ZipFile(archive) as z:
        return {Path(i.filename).name: z.read(i) for i in z.infolist() if not i.is_dir()}


def foreign_files():
    return archive_files(GENERATED / "foreign.zip")


def stock_files():
    return archive_files(GENERATED / "stock.zip")


def game_files(names):
    files = {name: b"game-own:" + name.encode() for name in names}
    files[GAME_MARKER] = b"the game's own icons\n"
    return files


class Holder:
    """Another process that keeps a file open without sharing, as the running game does: until
    it is released, or for ten times the wait limit, so that it outlives any test that holds."""

    def __init__(self, lane, windows_path, ms=int(10 * WAIT_LIMIT * 1000)):
        command = [str(WINE_RUN), str(LANE), str(INSPECTOR), "hold", str(ms), windows_path]
        # Wine's own errors on, so that a start that fails says why.
        env = dict(lane.env, WINEDEBUG="-all,err+all")
        failures = []
        for attempt in range(1, READ_ATTEMPTS + 1):
            with tempfile.TemporaryFile() as err:
                self.process = subprocess.Popen(command, env=env, cwd=LANE,
                                                stdin=subprocess.DEVNULL,
                                                stdout=subprocess.PIPE, stderr=err)
                # The answer is one whole line, written at once.
                answered = select.select([self.process.stdout], [], [], WAIT_LIMIT)[0]
                line = self.process.stdout.readline() if answered else b""
                if b'"held":true' in line:
                    lane.processes.append(self.process)
                    return
                try:
                    self.process.wait(30 if answered else 0)
                except subprocess.TimeoutExpired:
                    self.process.kill()
                    self.process.wait(30)
                self.process.stdout.close()
                err.seek(0)
                failures.append(str(WineFailure(
                    command, self.process.returncode, line, err.read(), INSPECTOR_EXIT_NAMES,
                    timeout=None if answered else WAIT_LIMIT)))
            # The inspector answers before it ends; one that ended without a word never got as
            # far as the file (Wine may end a process while it starts) and holds nothing, so it
            # is started again. A refusal it did answer, or no answer in time, stands.
            if line or not answered:
                break
            if attempt < READ_ATTEMPTS:
                print(f"Holder: attempt {attempt} to hold {windows_path} ended without a word, "
                      f"so it is tried again: {failures[-1]}", file=sys.stderr)
        raise AssertionError(f"could not hold {windows_path}: " + "\n".join(
            f"attempt {n}: {failure}" for n, failure in enumerate(failures, 1)))

    def release(self):
        self.process.kill()
        self.process.wait(30)
        self.process.stdout.close()
