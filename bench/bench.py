"""Korvanta's benchmark: every figure against its baseline, in alternating rounds.

Each round re-creates the game installation on drive D:, runs driver.exe once under the
benchmark's Wine prefix (korvanta.exe, then its Win32 baselines) and then Info-ZIP's unzip
natively on the same staged archive. The table gives, per figure, the medians and the
minimum, median and maximum of the per-round ratio Korvanta / baseline, for the wall time
and for the CPU time (the program's and the Wine server's together).

Drive D: and the folder start-up stages the archives in live in memory (tmpfs): on this
virtual machine's disk every file operation under Wine slows down from round to round, for
the baselines alike, and the figures would measure the disk. --on-disk keeps them in the
build folder instead.

Usage: python3 bench/bench.py --build build/windows [--rounds 7] [--poll-ms 1] [--on-disk]
                              [--korvanta another/korvanta.exe]
"""

import argparse
import csv
import filecmp
import hashlib
import json
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import zipfile
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
WINE_CTL = SOURCE / "tests/wine/wine-ctl"
WINE_RUN = SOURCE / "tests/wine/wine-run"
REG_KEY = r"HKLM\Software\Tencent\CrossFire"
GAME_ON_D = r"D:\Games\CF"
MEMORY = Path("/dev/shm")


def windows_path(path):
    """Wine's drive Z: is the Unix root."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def tree_loader(build):
    """The Wine loader of the tree's programs, as its lanes have it: wine, or wine64 for the
    64-bit tree of a machine that cannot run 32-bit programs."""
    loader = build / "lanes/loader"
    return loader.read_text().strip() if loader.exists() else "wine"


class Bench:
    """The prefix, display and drive D: of the benchmark, apart from the test lanes'."""

    def __init__(self, build, on_disk=False):
        self.build = build
        self.loader = tree_loader(build)
        self.sixty_four = self.loader.endswith("wine64")
        self.dir = build / "perf"
        self.prefix = self.dir / "prefix"
        if on_disk or not MEMORY.is_dir():
            self.files = self.dir / "files"
        else:
            tag = hashlib.sha1(str(self.dir).encode()).hexdigest()[:12]
            self.files = MEMORY / f"korvanta-bench-{tag}"
        self.drive_d = self.files / "drive_d"
        self.game_ui = self.drive_d / "Games/CF/rez/UI"
        self.cache = self.prefix / "drive_c/缓存目录"
        self.staged = self.cache / "class1.zip"

    def start(self):
        self.dir.mkdir(parents=True, exist_ok=True)
        (self.dir / "loader").write_text(self.loader + "\n")
        subprocess.run([str(WINE_CTL), "start", str(self.dir)], check=True,
                       stdout=subprocess.DEVNULL)
        self.drive_d.mkdir(parents=True, exist_ok=True)
        self.place(self.prefix / "dosdevices/d:", self.drive_d)
        # The folder start-up writes both archives into, beside drive D:.
        self.place(self.cache, fresh_folder(self.files / "cache"))
        self.wine("reg", "add", REG_KEY, "/v", "InstallPath", "/t", "REG_SZ", "/d", GAME_ON_D,
                  "/f", "/reg:64" if self.sixty_four else "/reg:32")

    @staticmethod
    def place(link, target):
        if link.is_symlink() or link.is_file():
            link.unlink()
        elif link.exists():
            shutil.rmtree(link)
        link.symlink_to(target)

    def stop(self):
        subprocess.run([str(WINE_CTL), "stop", str(self.dir)], check=False,
                       stdout=subprocess.DEVNULL)
        if self.files.is_relative_to(MEMORY):
            shutil.rmtree(self.files, ignore_errors=True)

    def wine(self, *args, check=True):
        # wine reg prefers a reg.exe in the current directory: run from the benchmark's folder.
        return subprocess.run([str(WINE_RUN), str(self.dir), *map(str, args)], cwd=self.dir,
                              capture_output=True, check=check, timeout=600)


def unpack(archive, folder):
    """The files of an archive's top folder, flat, as plain files to copy from."""
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)
    with zipfile.ZipFile(archive) as z:
        for info in z.infolist():
            if not info.is_dir():
                (folder / Path(info.filename).name).write_bytes(z.read(info))
    return folder


def fresh_folder(path):
    if path.exists():
        shutil.rmtree(path)
    path.mkdir(parents=True)
    return path


class Rounds:
    def __init__(self, bench, build, korvanta, poll_ms):
        self.bench = bench
        self.build = build
        self.korvanta = korvanta
        self.poll_ms = poll_ms
        gen = build / "payload/generated"
        d = bench.drive_d
        self.foreign = unpack(gen / "foreign.zip", d / "src/foreign")
        self.stock = unpack(gen / "stock.zip", d / "src/stock")
        self.copy_root = d / "copy"
        self.native_out = bench.files / "native-unzip"
        self.expected_native = len(list(self.foreign.iterdir()))

    def fresh_game(self):
        """A fresh installation: only rez\\UI\\class, holding the game's own (stock) icons."""
        shutil.rmtree(self.bench.drive_d / "Games", ignore_errors=True)
        shutil.copytree(self.stock, self.bench.game_ui / "class")
        fresh_folder(self.copy_root)
        for name in ("class", "class2", "aside"):
            (self.copy_root / name).mkdir()

    def driver(self, baseline_first=False):
        b = self.build
        out = self.bench.wine(
            b / "bench/driver.exe", "--korvanta", windows_path(self.korvanta),
            "--ole-window", windows_path(b / "bench/ole_window.exe"),
            "--game", GAME_ON_D, "--copy-root", r"D:\copy", "--foreign", r"D:\src\foreign",
            "--stock", r"D:\src\stock", "--poll-ms", self.poll_ms,
            "--order", "baseline-first" if baseline_first else "korvanta-first", check=False)
        lines = out.stdout.decode(errors="replace").strip().splitlines()
        result = json.loads(lines[-1]) if lines and lines[-1].startswith("{") else {}
        if out.returncode != 0 or "error" in result or not result:
            why = result.get("error") or out.stderr.decode(errors="replace")[-2000:]
            raise SystemExit(f"bench: driver.exe failed: {why}")
        return result

    def native_unzip(self):
        """Info-ZIP on Linux, no Wine in between: its start as a process is in the figure."""
        fresh_folder(self.native_out)
        args = ["unzip", "-o", "-q", str(self.bench.staged), "-d", str(self.native_out)]
        start = time.perf_counter()
        subprocess.run(args, check=True)
        ms = (time.perf_counter() - start) * 1000
        got = len(list((self.native_out / "class").iterdir()))
        if got != self.expected_native:
            raise SystemExit(f"bench: unzip gave {got} files")
        return ms

    def run(self, n):
        runs = []
        for i in range(n):
            self.fresh_game()
            # A B, then B A: a drift over the round (a warming cache, a neighbour's load)
            # falls on both sides alike.
            baseline_first = i % 2 == 1
            if baseline_first:
                native = self.native_unzip()
            r = self.driver(baseline_first)
            r["native_unzip_ms"] = native if baseline_first else self.native_unzip()
            runs.append(r)
            print(f"round {i + 1}/{n}: start-up {r['startup_ms']:.0f} ms "
                  f"(OLE window {r['ole_startup_ms']:.0f}), replace {r['replace_ms']:.0f} ms "
                  f"(copy {r['copy_foreign_ms']:.0f}), restore {r['restore_ms']:.0f} ms "
                  f"(delete and copy {r['delete_copy_stock_ms']:.0f})", file=sys.stderr)
        return runs


def spread(values):
    return min(values), statistics.median(values), max(values)


def ratio_row(name, unit, a, b, baseline):
    ratios = [x / y for x, y in zip(a, b)]
    return {"figure": name, "unit": unit, "korvanta": spread(a), "baseline_name": baseline,
            "baseline": spread(b), "ratio": spread(ratios)}


def timed_row(name, runs, key, base_key, baseline):
    return ratio_row(name, "ms", [r[key + "_ms"] for r in runs],
                     [r[base_key + "_ms"] for r in runs], baseline)


def cpu(run, key):
    return run[key + "_cpu_ms"] + run[key + "_server_cpu_ms"]


def cpu_row(runs, key, base_key, baseline):
    """The same figure in CPU time: the program's and the Wine server's together."""
    return ratio_row("  CPU, program + server", "ms", [cpu(r, key) for r in runs],
                     [cpu(r, base_key) for r in runs], baseline)


def fixed_row(name, unit, values, baseline_name, baseline_value):
    ratios = [v / baseline_value for v in values]
    return {"figure": name, "unit": unit, "korvanta": spread(values),
            "baseline_name": baseline_name, "baseline": (baseline_value,) * 3,
            "ratio": spread(ratios)}


def rows(runs, build, exe, staged):
    gen = build / "payload/generated"
    # The staged file is the embedded block written out: the archive the build generated.
    if not filecmp.cmp(staged, gen / "foreign.zip", shallow=False):
        raise SystemExit(f"bench: {staged} is not the build's foreign.zip")
    with zipfile.ZipFile(staged) as z:
        largest = max(z.infolist(), key=lambda i: i.file_size)
    archives = (gen / "foreign.zip").stat().st_size + (gen / "stock.zip").stat().st_size
    window_exe = build / "bench/ole_window.exe"
    kib = 1024
    growth = [(r["replace_peak_bytes"] - r["replace_before_bytes"]) / kib for r in runs]
    staging = [r["startup_ms"] - r["ole_startup_ms"] for r in runs]
    ole = "OLE window, same manifest+controls"
    copy = "CopyFileA x322 (Wine)"
    delete_copy = "rename+DeleteFileA x322+CopyFileA x324"
    return [
        timed_row("start-up to visible window", runs, "startup", "ole_startup", ole),
        cpu_row(runs, "startup", "ole_startup", ole),
        {"figure": "  difference: own start-up", "unit": "ms", "korvanta": spread(staging),
         "baseline_name": "(difference)", "baseline": None, "ratio": None},
        timed_row("replace, click to box", runs, "replace", "copy_foreign", copy),
        cpu_row(runs, "replace", "copy_foreign", copy),
        timed_row("replace, click to box", runs, "replace", "native_unzip",
                  "unzip -o -q (Linux, no Wine)"),
        timed_row("restore, click to box", runs, "restore", "delete_copy_stock", delete_copy),
        cpu_row(runs, "restore", "delete_copy_stock", delete_copy),
        fixed_row("memory, replace peak - idle", "KiB", growth,
                  f"largest entry ({Path(largest.filename).name})", largest.file_size / kib),
        fixed_row("size, exe - both archives", "KiB", [(exe_size(exe) - archives) / kib],
                  "ole_window.exe", exe_size(window_exe) / kib),
        fixed_row("  the same, stripped", "KiB", [(exe_size(exe, True) - archives) / kib],
                  "ole_window.exe, stripped", exe_size(window_exe, True) / kib),
    ]


def exe_size(exe, stripped=False):
    """Bytes of the file; stripped: without the symbols and the static libraries' debug
    information, which the loader never maps."""
    if not stripped:
        return exe.stat().st_size
    with tempfile.TemporaryDirectory() as tmp:
        copy = Path(tmp) / exe.name
        strip = "i686-w64-mingw32-strip"
        if subprocess.run(["file", "-b", str(exe)], capture_output=True,
                          text=True).stdout.startswith("PE32+"):
            strip = "x86_64-w64-mingw32-strip"
        subprocess.run([strip, "-o", str(copy), str(exe)], check=True)
        return copy.stat().st_size


def fmt(value):
    return "-" if value is None else (f"{value:.0f}" if abs(value) >= 100 else f"{value:.1f}")


def print_table(table, n, where):
    print(f"\nKorvanta benchmark: {n} alternating rounds; ratio = Korvanta / baseline per round;"
          f" files {where}")
    if n < 7:
        print("(fewer than 7 rounds: a quick look, not a measurement)")
    head = (f"{'figure':<29}{'unit':>5}{'Korvanta med':>13}  {'baseline':<40}{'base med':>9}"
            f"{'ratio min':>11}{'med':>7}{'max':>7}")
    print(head)
    print("-" * len(head))
    for row in table:
        base = row["baseline"][1] if row["baseline"] else None
        ratio = row["ratio"] or (None, None, None)
        print(f"{row['figure']:<29}{row['unit']:>5}{fmt(row['korvanta'][1]):>13}  "
              f"{row['baseline_name']:<40}{fmt(base):>9}"
              f"{fmt2(ratio[0]):>11}{fmt2(ratio[1]):>7}{fmt2(ratio[2]):>7}")


def print_cpu(runs):
    """Where the CPU time of an action goes: the program's own and the Wine server's."""
    for action, base, name in (("replace", "copy_foreign", "copy"),
                               ("restore", "delete_copy_stock", "delete and copy")):
        med = {k: statistics.median(r[k] for r in runs)
               for k in (f"{action}_cpu_ms", f"{action}_server_cpu_ms", f"{base}_cpu_ms",
                         f"{base}_server_cpu_ms")}
        print(f"{action}: median CPU korvanta.exe {med[f'{action}_cpu_ms']:.0f} ms + wineserver "
              f"{med[f'{action}_server_cpu_ms']:.0f} ms; {name}: driver.exe "
              f"{med[f'{base}_cpu_ms']:.0f} ms + wineserver {med[f'{base}_server_cpu_ms']:.0f} ms")


def print_drift(runs):
    """Round by round, so that a figure that grows over the run shows."""
    for key in ("replace", "copy_foreign", "restore", "delete_copy_stock"):
        print(f"{key + ' by round:':<26}" + " ".join(f"{r[key + '_ms']:5.0f}" for r in runs))


def fmt2(value):
    return "-" if value is None else f"{value:.2f}"


def write_csv(table, runs, out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    with open(out_dir / "summary.csv", "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["figure", "unit", "korvanta_min", "korvanta_median", "korvanta_max",
                    "baseline", "baseline_min", "baseline_median", "baseline_max",
                    "ratio_min", "ratio_median", "ratio_max", "rounds"])
        for row in table:
            base = row["baseline"] or ("", "", "")
            ratio = row["ratio"] or ("", "", "")
            w.writerow([row["figure"].strip(), row["unit"], *row["korvanta"],
                        row["baseline_name"], *base, *ratio, len(runs)])
    with open(out_dir / "runs.csv", "w", newline="") as f:
        w = csv.DictWriter(f, fieldnames=list(runs[0].keys()))
        w.writeheader()
        w.writerows(runs)
    return out_dir / "summary.csv"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", type=Path, required=True)
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--poll-ms", type=int, default=1)
    parser.add_argument("--korvanta", type=Path, help="another build of the program to time")
    parser.add_argument("--on-disk", action="store_true",
                        help="keep drive D: and the staging folder on disk, not in memory")
    args = parser.parse_args()
    build = args.build.resolve()
    korvanta = Path(args.korvanta or (build / "korvanta-exe.txt").read_text().strip()).resolve()
    if args.rounds < 1:
        raise SystemExit("bench: at least one round")

    bench = Bench(build, args.on_disk)
    bench.start()
    try:
        rounds = Rounds(bench, build, korvanta, args.poll_ms)
        runs = rounds.run(args.rounds)
        table = rows(runs, build, korvanta, bench.staged)
    finally:
        bench.stop()
    in_memory = bench.files.is_relative_to(MEMORY)
    print_table(table, len(runs), "in memory (tmpfs)" if in_memory else "on disk")
    print_cpu(runs)
    print_drift(runs)
    print(f"\nCSV: {write_csv(table, runs, build / 'bench-results')}")


if __name__ == "__main__":
    main()
