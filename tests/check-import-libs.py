#!/usr/bin/env python3
"""Checks the import libraries of Pinvale.dll against its export table, without Wine.

For each library: it names Pinvale.dll; it defines, for every export and nothing else,
the link symbol and its __imp_ pointer (on x86 with the stdcall decoration, _Name@N, as a
stdcall caller asks for it); and each import is by the undecorated name that the DLL
exports. Then the C89 host, linked with the MinGW library, imports every export from
Pinvale.dll by a name that the built DLL really exports.

usage: check-import-libs.py --objdump OBJDUMP --nm NM --def DEF --arch x86|x64
                            --dll DLL --host EXE LIB...
"""
import argparse
import re
import subprocess
import sys

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


def read_def(path):
    """(name, decorated name, ordinal) per export, as the export table lists them."""
    exports = []
    for line in open(path, encoding="utf-8"):
        m = re.match(r"\s*([A-Za-z_]\w*)(@\d+)?\s+@(\d+)", line.split(";")[0])
        if m:
            exports.append((m.group(1), m.group(1) + (m.group(2) or ""), int(m.group(3))))
    return exports


def section_bytes(objdump, library, section):
    """The contents of one section in each member of the library that has it."""
    contents = []
    dump = run(objdump, "-s", "-j", section, library)
    for member in re.split(r"\n(?=\S+\.o:)", dump):
        data = bytearray()
        for m in re.finditer(r"^ [0-9a-f]{4} ((?:[0-9a-f]{2,8} ?){1,4})", member, re.M):
            data += bytes.fromhex(m.group(1).replace(" ", ""))
        if data:
            contents.append(bytes(data))
    return contents


def import_names(objdump, library):
    """The names that the members import: .idata$6 holds a 2-byte hint, then the name."""
    return [data[2:].split(b"\0")[0].decode("ascii") for data in section_bytes(objdump, library, ".idata$6")]


def dll_names(objdump, library):
    """The DLL that the library imports from, as its .idata$7 sections name it."""
    return {data.split(b"\0")[0].decode("ascii") for data in section_bytes(objdump, library, ".idata$7")
            if b".dll" in data.lower()}


def check_library(args, exports, library):
    print("checking " + library)
    symbol = (lambda e: "_" + e[1]) if args.arch == "x86" else (lambda e: e[0])
    expected = {symbol(e) for e in exports}
    defined = {}
    for line in run(args.nm, "-g", library).splitlines():
        parts = line.split()
        if len(parts) == 3:
            defined.setdefault(parts[1], set()).add(parts[2])
    code = {s for s in defined.get("T", set())}
    pointers = {s[len("__imp_"):] for s in defined.get("I", set()) if s.startswith("__imp_")}
    if code != expected:
        fail(f"{library}: link symbols differ: missing {sorted(expected - code)}, extra {sorted(code - expected)}")
    if pointers != expected:
        fail(f"{library}: __imp_ symbols differ: missing {sorted(expected - pointers)}, "
             f"extra {sorted(pointers - expected)}")
    names = import_names(args.objdump, library)
    wanted = sorted(e[0] for e in exports)
    if sorted(names) != wanted:
        fail(f"{library}: imports by the names {sorted(names)}, the DLL exports {wanted}")
    if dll_names(args.objdump, library) != {"Pinvale.dll"}:
        fail(f"{library}: names the DLL(s) {sorted(dll_names(args.objdump, library))}, not Pinvale.dll")


def pe_imports(objdump, image, dll):
    """The names that the image imports from dll, from its import table."""
    dump = run(objdump, "-p", image)
    names, inside = [], False
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            inside = m.group(1).lower() == dll.lower()
            continue
        m = re.match(r"\s*[0-9a-f]+\s+(?:<none>\s+)?[0-9a-f]+\s+([A-Za-z_]\w*)\s*$", line)
        if inside and m:
            names.append(m.group(1))
    return names


def pe_exports(objdump, image):
    dump = run(objdump, "-p", image)
    table = re.search(r"\[Ordinal/Name Pointer\] Table\n(.*?)\n\n", dump + "\n\n", re.S)
    return {m.group(1) for m in re.finditer(r"\]\s+(\w+)", table.group(1))} if table else set()


def main():
    parser = argparse.ArgumentParser()
    for option in ("--objdump", "--nm", "--def", "--arch", "--dll", "--host"):
        parser.add_argument(option, required=True)
    parser.add_argument("libraries", nargs="+")
    args = parser.parse_args()
    exports = read_def(args.__dict__["def"])
    if not exports:
        fail("no exports read from " + args.__dict__["def"])
    for library in args.libraries:
        check_library(args, exports, library)

    print("checking what " + args.host + " imports")
    imported = set(pe_imports(args.objdump, args.host, "Pinvale.dll"))
    exported = pe_exports(args.objdump, args.dll)
    wanted = {e[0] for e in exports}
    if imported != wanted:
        fail(f"the C89 host imports {sorted(imported)} from Pinvale.dll, not every export")
    if not imported <= exported:
        fail(f"the C89 host imports {sorted(imported - exported)}, which Pinvale.dll does not export")
    if not failures:
        print("import libraries: %d exports checked" % len(exports))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
