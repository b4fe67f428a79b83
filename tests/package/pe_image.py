"""What a Windows executable's headers say about it: the header flags and subsystem version,
the DLLs it imports, and its version resource with the resource's language."""

import struct
from pathlib import Path

DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
TERMINAL_SERVER_AWARE = 0x8000
RT_VERSION = 16


class PeImage:
    def __init__(self, path):
        self.data = Path(path).read_bytes()
        d = self.data
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: not a PE image")
        sections, optional_size = struct.unpack_from("<H12xH", d, pe + 6)
        opt = pe + 24
        magic = struct.unpack_from("<H", d, opt)[0]
        self.pe32_plus = magic == 0x20B
        self.subsystem_version = struct.unpack_from("<HH", d, opt + 48)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", d, opt + 68)
        directories = opt + (112 if self.pe32_plus else 96)
        self.directories = [struct.unpack_from("<II", d, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            name, vsize, va, raw_size, raw = struct.unpack_from(
                "<8sIIII", d, opt + optional_size + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), va, max(vsize, raw_size), raw))

    def offset(self, rva):
        for _name, va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} is in no section")

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imported_dlls(self):
        rva, _size = self.directories[1]
        names, at = [], self.offset(rva)
        while True:
            thunks, _time, _chain, name, first = struct.unpack_from("<IIIII", self.data, at)
            if not (thunks or name or first):
                return names
            names.append(self.cstring(name))
            at += 20

    def _directory(self, at):
        """The entries of the resource directory at `at`: (id, offset, is_directory)."""
        base = self.offset(self.directories[2][0])
        named, ids = struct.unpack_from("<HH", self.data, base + at + 12)
        entries = []
        for i in range(named + ids):
            ident, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
            entries.append((ident, target & 0x7FFFFFFF, bool(target & 0x80000000)))
        return entries

    def version_resource(self):
        """(language, the VS_VERSIONINFO bytes) of the first version resource."""
        base = self.offset(self.directories[2][0])
        for ident, at, _ in self._directory(0):
            if ident == RT_VERSION:
                _name, at, _ = self._directory(at)[0]
                language, at, _ = self._directory(at)[0]
                rva, size = struct.unpack_from("<II", self.data, base + at)
                start = self.offset(rva)
                return language, self.data[start:start + size]
        raise ValueError("no version resource")

    def version_strings(self):
        """(language, {key: text}) of the version resource's string tables."""
        language, block = self.version_resource()
        strings = {}

        def walk(at, end):
            while at + 6 <= end:
                length, value_length, kind = struct.unpack_from("<HHH", block, at)
                if length == 0:
                    return
                key_end = at + 6
                while block[key_end:key_end + 2] != b"\0\0":
                    key_end += 2
                key = block[at + 6:key_end].decode("utf-16-le")
                value = (key_end + 2 + 3) & ~3
                if kind == 1 and value_length:
                    text = block[value:value + 2 * value_length].decode("utf-16-le")
                    strings[key] = text.rstrip("\0")
                children = (value + (2 * value_length if kind == 1 else value_length) + 3) & ~3
                walk(children, at + length)
                at = (at + length + 3) & ~3

        walk(0, len(block))
        return language, strings
