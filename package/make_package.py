#!/usr/bin/env python3
"""Writes the release package: korvanta.exe and the texts for players, in a ZIP file whose
bytes depend only on its inputs.

Every entry has the same fixed time (the last commit's, or SOURCE_DATE_EPOCH), DOS as its
maker with no attributes, and the entries go in one fixed order, so two builds of the same
sources give the same file. The texts get CRLF line ends for Notepad; the guide is UTF-8 with
a byte-order mark, which Notepad reads right whatever the system's code page (GBK would read
right only on a Chinese Windows of code page 936).
"""
import argparse
import os
import subprocess
import sys
import time
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
# A time from before 1980 cannot be written into a ZIP entry.
FALLBACK_EPOCH = 1767225600  # 2026-01-01 00:00:00 UTC


def entry_epoch(source_root: Path) -> int:
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", str(source_root), "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        if out:
            return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        pass
    return FALLBACK_EPOCH


def windows_text(text: str, encoding: str) -> bytes:
    """The text with CRLF line ends in `encoding`; "utf-8-sig" puts the byte-order mark first."""
    text = text.replace("\r\n", "\n")
    # Strict: a character the encoding lacks must stop the build, not turn into '?'.
    return text.replace("\n", "\r\n").encode(encoding, errors="strict")


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--exe", required=True, type=Path)
    ap.add_argument("--version", required=True)
    ap.add_argument("--source", required=True, type=Path, help="the checkout")
    ap.add_argument("--out", required=True, type=Path)
    args = ap.parse_args()

    guide = (HERE / "README-zh.txt").read_text(encoding="utf-8").replace("@VERSION@", args.version)
    entries = [
        ("korvanta.exe", args.exe.read_bytes()),
        ("README-zh.txt", windows_text(guide, "utf-8-sig")),
        ("LICENSE.txt", windows_text((args.source / "LICENSE").read_text(encoding="utf-8"), "ascii")),
        ("THIRD-PARTY.txt",
         windows_text((HERE / "THIRD-PARTY.txt").read_text(encoding="utf-8"), "ascii")),
    ]
    stamp = time.gmtime(max(entry_epoch(args.source), 315532800))[:6]

    args.out.parent.mkdir(parents=True, exist_ok=True)
    partial = args.out.with_name(args.out.name + ".part")
    with zipfile.ZipFile(partial, "w") as zf:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS: no Unix permissions in the entry
            info.compress_type = zipfile.ZIP_DEFLATED
            zf.writestr(info, data, compresslevel=9)
            # writestr gives an entry without attributes rw------- (0o600 << 16); the central
            # directory, written at the close, takes the entry's fields as they are then.
            info.external_attr = 0
    partial.replace(args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
