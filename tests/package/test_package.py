"""The shipped executable's headers and the package's entries, read from the files themselves."""

import os
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

from pe_image import DYNAMIC_BASE, NX_COMPAT, TERMINAL_SERVER_AWARE, PeImage

EXE = Path(os.environ["KORVANTA_EXE"])
SOURCE = Path(os.environ["KORVANTA_SOURCE"])
# A program run that does not end in twice the tests' wait limit hangs (cmake/HangLimits.cmake).
RUN_LIMIT = 2 * float(os.environ["KORVANTA_WAIT_LIMIT"])
# DLLs the system always loads from its own folder, whatever the program's folder holds.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll", "gdi32.dll",
    "gdiplus.dll", "imagehlp.dll", "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll",
    "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "rpcrt4.dll",
    "sechost.dll", "setupapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "wldap32.dll", "ws2_32.dll",
}
LANG_CHINESE_PRC = 0x0804


class ShippedExe(unittest.TestCase):
    image = PeImage(EXE)

    def test_header_flags(self):
        flags = self.image.dll_characteristics
        for name, bit in (("ASLR", DYNAMIC_BASE), ("NX", NX_COMPAT),
                          ("terminal-server aware", TERMINAL_SERVER_AWARE)):
            self.assertTrue(flags & bit, f"{name} is not set ({flags:#06x})")
        if self.image.pe32_plus:
            self.skipTest("the subsystem version is the shipped 32-bit executable's")
        # A later subsystem version changes the frame metrics of the fixed-size window.
        self.assertEqual(self.image.subsystem_version, (4, 0))

    def test_imports_only_known_dlls(self):
        imported = {name.lower() for name in self.image.imported_dlls()}
        self.assertTrue(imported)
        self.assertEqual(imported - KNOWN_DLLS, set())

    def test_version_resource_in_chinese(self):
        language, strings = self.image.version_strings()
        self.assertEqual(language, LANG_CHINESE_PRC)
        self.assertEqual(strings["FileDescription"], "穿越火线军衔图标切换工具")
        self.assertEqual(strings["LegalCopyright"], "Copyright © 2026 The Korvanta authors")
        self.assertEqual(strings["OriginalFilename"], "korvanta.exe")


class PackageEntries(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with tempfile.TemporaryDirectory() as tmp:
            out = Path(tmp) / "korvanta-test-win32.zip"
            subprocess.run([sys.executable, SOURCE / "package/make_package.py", "--exe", EXE,
                            "--version", "0.0.0", "--source", SOURCE, "--out", out],
                           check=True, timeout=RUN_LIMIT)
            with zipfile.ZipFile(out) as z:
                cls.entries = z.infolist()
                cls.contents = {e.filename: z.read(e) for e in cls.entries}

    def test_entries_in_order_without_attributes(self):
        self.assertEqual([e.filename for e in self.entries],
                         ["korvanta.exe", "README-zh.txt", "LICENSE.txt", "THIRD-PARTY.txt"])
        for e in self.entries:
            self.assertEqual((e.create_system, e.external_attr), (0, 0), e.filename)
        self.assertEqual(self.contents["korvanta.exe"], EXE.read_bytes())

    def test_guide_is_utf8_with_a_byte_order_mark_and_crlf_lines(self):
        # Notepad reads a UTF-8 file with the mark right on every code page; GBK only on 936.
        guide = self.contents["README-zh.txt"]
        self.assertEqual(guide[:3], b"\xef\xbb\xbf")
        body = guide[3:]
        self.assertNotIn(b"\xef\xbb\xbf", body)
        lines = body.split(b"\r\n")
        self.assertGreater(len(lines), 10)
        self.assertFalse([n for n, line in enumerate(lines, 1) if b"\n" in line or b"\r" in line],
                         "line ends other than CRLF")
        source = (SOURCE / "package/README-zh.txt").read_text(encoding="utf-8")
        self.assertEqual(body.decode("utf-8"),
                         source.replace("@VERSION@", "0.0.0").replace("\n", "\r\n"))


class Signing(unittest.TestCase):
    """The release's signing step with a throwaway certificate made here."""

    def test_signed_exe_verifies_and_comes_back_to_the_unsigned_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            tmp = Path(tmp)
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                            "-keyout", tmp / "key.pem", "-out", tmp / "cert.pem", "-days", "2",
                            "-subj", "/CN=Korvanta test signer"],
                           check=True, capture_output=True, timeout=RUN_LIMIT)
            signed = []
            for name in ("a.exe", "b.exe"):
                subprocess.run([SOURCE / "package/sign-exe.sh", tmp / "cert.pem",
                                tmp / "key.pem", "1765000000", EXE, tmp / name],
                               check=True, timeout=RUN_LIMIT)
                signed.append((tmp / name).read_bytes())
            self.assertNotEqual(signed[0], EXE.read_bytes())
            self.assertEqual(signed[0], signed[1], "the same time gives the same signature")
            verify = subprocess.run(["osslsigncode", "verify", "-CAfile", tmp / "cert.pem",
                                     "-in", tmp / "a.exe"], capture_output=True, timeout=RUN_LIMIT)
            self.assertEqual(verify.returncode, 0, verify.stdout.decode(errors="replace"))
            subprocess.run(["osslsigncode", "remove-signature", "-in", tmp / "a.exe",
                            "-out", tmp / "unsigned.exe"],
                           check=True, capture_output=True, timeout=RUN_LIMIT)
            self.assertEqual((tmp / "unsigned.exe").read_bytes(), EXE.read_bytes())


if __name__ == "__main__":
    unittest.main()
