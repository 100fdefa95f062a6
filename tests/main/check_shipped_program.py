#!/usr/bin/env python3
"""Checks the 32-bit program as it is shipped, without running it.

  check_shipped_program.py EXE OBJDUMP [--gtest_output=xml:REPORT]

Reads the headers and imports through the toolchain's objdump and the
resources (manifest, version) from the file itself. Each check is one case of
the report, in the form the test run adds up; the exit code is non-zero when
one fails."""
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

# DLLs that every supported Windows has; nothing is shipped beside the program.
SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "kernel32.dll",
    "msi.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "psapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "uxtheme.dll", "version.dll", "wininet.dll", "ws2_32.dll",
}

# Loaded at their first call (cmake/delayload.cmake): the welcome page's first
# paint needs none of them, and each one loaded at start delays it.
LOADED_AT_FIRST_CALL = {"msi.dll", "shell32.dll", "wininet.dll"}

# Wide entry points the program may import although a narrow one exists.
ALLOWED_WIDE = {
    # The static C++ runtime loads its thread and exception helpers by wide name.
    "GetModuleHandleW": "static C++ runtime (thread and exception support)",
    "LoadLibraryW": "static C++ runtime (thread and exception support)",
}

# Wide entry points that have no narrow twin (no "...A" exists).
WIDE_ONLY = {
    "CommandLineToArgvW", "GdipCreateBitmapFromFile", "GdipLoadImageFromFile", "MultiByteToWideChar",
    "WideCharToMultiByte", "SysAllocString", "SysFreeString", "lstrlenW", "wcslen",
    "SleepConditionVariableSRW",  # no text in it: "SRW" names the lock kind
}

# Environment variables that steer the 64-bit test build only.
TEST_OVERRIDES = ["ORVANTO_REPOSITORY_URL", "ORVANTO_STARTUP_WAIT_MS", "ORVANTO_RECORD_FILE",
                  "ORVANTO_RUN_ACCOUNT_SID"]

VERSION = "15.0.0.774"
RT_VERSION, RT_MANIFEST = 16, 24


def objdump(tool, exe):
    return subprocess.run([tool, "-p", exe], check=True, capture_output=True, text=True).stdout


def imports(dump):
    """{dll: [entry names]} from objdump's import tables."""
    result, current = {}, None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            current = m.group(1).lower()
            result.setdefault(current, [])
            continue
        m = re.match(r"\s*[0-9a-f]+\s+[0-9a-f]+\s+([A-Za-z_]\w*)\s*$", line)
        if current and m:
            result[current].append(m.group(1))
        elif not line.strip():
            current = None if current and result[current] else current
    return result


class Resources:
    """The resource tree of a PE file: type -> name -> language -> data."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            vsize, va, rawsize, raw = struct.unpack_from("<IIII", data, table + i * 40 + 8)
            self.sections.append((va, max(vsize, rawsize), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return rva - va + raw
        raise ValueError("address outside every section")

    def entries(self, directory):
        base = self.offset(self.rva)
        named, numbered = struct.unpack_from("<12xHH", self.data, base + directory)
        for i in range(named + numbered):
            ident, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            yield ident, target

    def all(self, kind):
        """Every data block of one resource type."""
        for ident, target in self.entries(0):
            if ident != kind:
                continue
            for _, names in self.entries(target & 0x7FFFFFFF):
                for _, leaf in self.entries(names & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, self.offset(self.rva) + leaf)
                    at = self.offset(rva)
                    yield self.data[at:at + size]


def version_strings(block):
    """The string values of a version resource (UTF-16 key, value pairs)."""
    text = block.decode("utf-16-le", errors="replace")
    values = {}
    for key in ("FileVersion", "ProductVersion"):
        m = re.search(key + r"\x00+([^\x00]*)", text)
        if m:
            values[key] = m.group(1)
    return values


def main():
    exe, tool = sys.argv[1], sys.argv[2]
    report = None
    for arg in sys.argv[3:]:
        if arg.startswith("--gtest_output=xml:"):
            report = arg.split(":", 1)[1]
    data = open(exe, "rb").read()
    dump = objdump(tool, exe)
    table = imports(dump)
    resources = Resources(data)
    manifests = [m.decode("utf-8", errors="replace") for m in resources.all(RT_MANIFEST)]
    versions = [version_strings(v) for v in resources.all(RT_VERSION)]

    checks = []

    def check(name, problems):
        checks.append((name, problems))

    check("Pe32I386Gui", [
        p for p, ok in [
            ("not PE32 (pei-i386)", "file format pei-i386" in dump),
            ("optional header is not PE32", re.search(r"Magic\s+010b", dump) is not None),
            ("subsystem is not Windows GUI", re.search(r"Subsystem\s+00000002", dump) is not None),
        ] if not ok
    ])
    manifest = manifests[0] if len(manifests) == 1 else ""
    check("ManifestAdministratorAndCommonControls6", [
        p for p, ok in [
            ("not exactly one manifest", len(manifests) == 1),
            ("no requireAdministrator", re.search(r'level="requireAdministrator"', manifest) is not None),
            ("no common controls 6", re.search(
                r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"', manifest) is not None),
        ] if not ok
    ])
    check("ImportsOnlySystemDlls",
          ["imports %s, which Windows does not have" % dll for dll in sorted(table) if dll not in SYSTEM_DLLS]
          + (["no imports read"] if not table else []))
    check("LoadsAtStartNoDllTheFirstPageDoesWithout",
          ["loads %s at start" % dll for dll in sorted(table) if dll in LOADED_AT_FIRST_CALL])
    wide = sorted({name for names in table.values() for name in names
                   if name.endswith("W") and name not in WIDE_ONLY})
    check("NoWideEntryPointsBeyondTheKeptList",
          ["imports %s" % name for name in wide if name not in ALLOWED_WIDE])
    check("NoTestOverrideNames", [
        "contains %s" % name for name in TEST_OVERRIDES
        if name.encode() in data or name.encode("utf-16-le") in data
    ])
    version = versions[0] if len(versions) == 1 else {}
    check("VersionResource15_0_0_774", [
        "%s reads %r" % (key, version.get(key)) for key in ("FileVersion", "ProductVersion")
        if version.get(key) != VERSION
    ])

    failed = 0
    suite = ET.Element("testsuites", name="shipped_program")
    group = ET.SubElement(suite, "testsuite", name="ShippedProgram", tests=str(len(checks)))
    for name, problems in checks:
        case = ET.SubElement(group, "testcase", name=name, classname="ShippedProgram", status="run")
        if problems:
            failed += 1
            ET.SubElement(case, "failure", message="; ".join(problems))
            print("FAILED ShippedProgram.%s: %s" % (name, "; ".join(problems)))
        else:
            print("OK ShippedProgram.%s" % name)
    if report:
        ET.ElementTree(suite).write(report, encoding="utf-8", xml_declaration=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
