#!/usr/bin/env python3
"""Checks every declaration of the library's exports against the export table.

The public header include/pinvale.h must declare exactly the exports of library/Pinvale.def,
each with as many parameters as its x86 decoration says (bytes / 4). The header is then the
reference for the parameters' names, order and kinds (pointer-sized or 32-bit) and for the
kind of result, and these must agree with it:
  - the library's own declarations of its exports (--sources),
  - every declaration in the code blocks of docs/host.md: C (```c), VBA 7 (```vb) and
    C# (```csharp); each language must declare every export.
VBA declarations must be `Declare PtrSafe`, pass every parameter ByVal and name the library
"Pinvale.dll"; C# declarations must import "Pinvale.dll" with CallingConvention.StdCall and
CharSet.Unicode.

usage: check-host-doc.py --def DEF --header HEADER --doc DOC [--sources FILE...]
"""
import argparse
import re
import sys

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


class Decl:
    def __init__(self, name, result, params, where):
        self.name, self.result, self.params, self.where = name, result, params, where

    def signature(self):
        return "%s %s(%s)" % (self.result, self.name, ", ".join("%s %s" % (k, n) for n, k in self.params))


def read_def(path):
    exports = {}
    for line in open(path, encoding="utf-8"):
        m = re.match(r"\s*([A-Za-z_]\w*)@(\d+)\s+@\d+", line.split(";")[0])
        if m:
            exports[m.group(1)] = int(m.group(2)) // 4
    return exports


# --- C and C++ ---------------------------------------------------------------------------

C_POINTERS = {"PinvaleJob", "PinvaleWindow", "HWND", "HANDLE", "LPCWSTR", "LPWSTR", "PVOID", "LPVOID"}
C_INT32 = {"int", "unsigned int", "unsigned", "signed int", "std::int32_t", "std::uint32_t", "int32_t",
           "uint32_t", "PinvaleBool32", "LONG", "ULONG", "DWORD", "UINT", "INT", "BOOL"}


def c_kind(type_text, where):
    t = " ".join(type_text.replace("*", " * ").split())
    if "*" in t:
        return "ptr"
    t = " ".join(w for w in t.split() if w not in ("const", "volatile", "extern", '"C"', "static", "inline"))
    if t in C_POINTERS:
        return "ptr"
    if t in C_INT32:
        return "i32"
    if t == "void":
        return "void"
    fail("%s: unknown type %r" % (where, type_text))
    return "?"


def c_declarations(text, where):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    text = re.sub(r"//[^\n]*", " ", text)
    text = "\n".join(line for line in text.splitlines() if not line.lstrip().startswith("#"))
    decls = []
    # Prototypes end with ";", definitions with "{".
    for m in re.finditer(r"(?:^|(?<=[;{}]))([^;{}()]*?)\b(?:__stdcall|PINVALE_API|WINAPI)\s+(\w+)\s*"
                         r"\(([^()]*)\)\s*(?=[;{])", text):
        name = m.group(2)
        here = "%s: %s" % (where, name)
        result = c_kind(m.group(1).replace('extern "C"', " "), here)
        params = []
        body = " ".join(m.group(3).split())
        if body not in ("", "void"):
            for param in body.split(","):
                pm = re.match(r"^(.*?)([A-Za-z_]\w*)$", param.strip())
                if not pm or not pm.group(1).strip():
                    fail("%s: parameter %r has no name" % (here, param.strip()))
                    continue
                params.append((pm.group(2), c_kind(pm.group(1), here)))
        decls.append(Decl(name, result, params, where))
    return decls


# --- VBA 7 -------------------------------------------------------------------------------

VBA_KINDS = {"LongPtr": "ptr", "Long": "i32"}


def vba_declarations(text, where):
    text = re.sub(r"[ \t]_[ \t]*\r?\n[ \t]*", " ", text)  # line continuations
    decls = []
    for line in text.splitlines():
        line = line.split("'")[0].strip()
        if not re.search(r"\bDeclare\b", line):
            continue
        m = re.match(r'^(?:(?:Public|Private)\s+)?Declare\s+(PtrSafe\s+)?(Function|Sub)\s+(\w+)\s+Lib\s+"([^"]+)"'
                     r'(?:\s+Alias\s+"([^"]+)")?\s*\((.*)\)(?:\s+As\s+(\w+))?$', line)
        if not m:
            fail("%s: cannot read the declaration %r" % (where, line))
            continue
        name = m.group(5) or m.group(3)
        here = "%s: %s" % (where, name)
        if not m.group(1):
            fail("%s: not Declare PtrSafe (VBA 7)" % here)
        if m.group(4).lower() != "pinvale.dll":
            continue
        if m.group(4) != "Pinvale.dll":
            fail('%s: Lib "%s", not "Pinvale.dll"' % (here, m.group(4)))
        if m.group(2) == "Sub":
            result = "void"
            if m.group(7):
                fail("%s: a Sub with a result type" % here)
        else:
            result = VBA_KINDS.get(m.group(7) or "Variant")
            if result is None:
                fail("%s: result As %s is neither Long nor LongPtr" % (here, m.group(7)))
        params = []
        for param in filter(None, (p.strip() for p in m.group(6).split(","))):
            pm = re.match(r"^(ByVal\s+|ByRef\s+)?(\w+)\s+As\s+(\w+)$", param)
            if not pm:
                fail("%s: cannot read the parameter %r" % (here, param))
                continue
            if not pm.group(1) or pm.group(1).strip() != "ByVal":
                fail("%s: parameter %s is not passed ByVal" % (here, pm.group(2)))
            kind = VBA_KINDS.get(pm.group(3))
            if kind is None:
                fail("%s: parameter %s As %s is neither Long nor LongPtr" % (here, pm.group(2), pm.group(3)))
            params.append((pm.group(2), kind))
        decls.append(Decl(name, result, params, where))
    return decls


# --- C# ----------------------------------------------------------------------------------

CS_KINDS = {"IntPtr": "ptr", "UIntPtr": "ptr", "string": "ptr", "String": "ptr", "int": "i32", "uint": "i32",
            "Int32": "i32", "UInt32": "i32", "void": "void"}


def csharp_declarations(text, where):
    text = re.sub(r"//[^\n]*", " ", text)
    decls = []
    for m in re.finditer(r"((?:\[[^\[\]]*(?:\([^()]*\))?[^\[\]]*\]\s*)*)((?:(?:public|private|internal|static|"
                         r"extern|unsafe)\s+)*extern\s+(?:(?:public|private|internal|static|unsafe)\s+)*)"
                         r"(\w+)\s+(\w+)\s*\(([^()]*)\)\s*;", text):
        attributes, result_type, name, body = m.group(1), m.group(3), m.group(4), m.group(5)
        dll = re.search(r'DllImport\(\s*"([^"]+)"(.*)\)', attributes, re.S)
        here = "%s: %s" % (where, name)
        if not dll:
            fail("%s: extern without [DllImport]" % here)
            continue
        if dll.group(1).lower() != "pinvale.dll":
            continue
        options = dll.group(2)
        entry = re.search(r'EntryPoint\s*=\s*"(\w+)"', options)
        name = entry.group(1) if entry else name
        here = "%s: %s" % (where, name)
        if dll.group(1) != "Pinvale.dll":
            fail('%s: DllImport("%s"), not "Pinvale.dll"' % (here, dll.group(1)))
        if not re.search(r"CallingConvention\s*=\s*CallingConvention\.StdCall", options):
            fail("%s: no CallingConvention = CallingConvention.StdCall" % here)
        if not re.search(r"CharSet\s*=\s*CharSet\.Unicode", options):
            fail("%s: no CharSet = CharSet.Unicode" % here)
        result = CS_KINDS.get(result_type)
        if result is None:
            fail("%s: unknown result type %s" % (here, result_type))
        params = []
        for param in filter(None, (p.strip() for p in body.split(","))):
            param = re.sub(r"\[[^\]]*\]", " ", param).split()
            if len(param) != 2:
                fail("%s: cannot read the parameter %r (ref, out and in pass addresses)" % (here, " ".join(param)))
                continue
            kind = CS_KINDS.get(param[0])
            if kind is None or kind == "void":
                fail("%s: parameter %s has the unknown type %s" % (here, param[1], param[0]))
            params.append((param[1], kind))
        decls.append(Decl(name, result, params, where))
    return decls


# --- The checks --------------------------------------------------------------------------

def code_blocks(doc):
    return [(m.group(1), m.group(2), doc[:m.start()].count("\n") + 1)
            for m in re.finditer(r"^ *```(\w*)[^\n]*\n(.*?)^ *```", doc, re.M | re.S)]


def check_against(reference, decls, label, complete):
    seen = {}
    for d in decls:
        where = "%s (%s)" % (label, d.where)
        ref = reference.get(d.name)
        if ref is None:
            fail("%s: %s is no export of the library" % (where, d.name))
            continue
        if d.name in seen:
            fail("%s: %s is declared twice" % (where, d.name))
        seen[d.name] = d
        if [n for n, _ in d.params] != [n for n, _ in ref.params]:
            fail("%s: %s has the parameters %s; the header has %s" %
                 (where, d.name, [n for n, _ in d.params], [n for n, _ in ref.params]))
        elif d.params != ref.params or d.result != ref.result:
            fail("%s: %s is %s; the header has %s" % (where, d.name, d.signature(), ref.signature()))
    if complete:
        for name in sorted(set(reference) - set(seen)):
            fail("%s: no declaration of %s" % (label, name))
    return len(seen)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--def", dest="def_file", required=True)
    parser.add_argument("--header", required=True)
    parser.add_argument("--doc", required=True)
    parser.add_argument("--sources", nargs="*", default=[])
    args = parser.parse_args()

    exports = read_def(args.def_file)
    if not exports:
        fail("no exports read from " + args.def_file)
    header = {}
    for d in c_declarations(open(args.header, encoding="utf-8").read(), args.header):
        if d.name in header:
            fail("%s: %s is declared twice" % (args.header, d.name))
        header[d.name] = d
    for name in sorted(set(exports) - set(header)):
        fail("%s: no prototype of the export %s" % (args.header, name))
    for name in sorted(set(header) - set(exports)):
        fail("%s: %s is no export of the library" % (args.header, name))
    for name, d in header.items():
        if name in exports and len(d.params) != exports[name]:
            fail("%s: %s has %d parameters; the export table's decoration says %d" %
                 (args.header, name, len(d.params), exports[name]))
    reference = {n: d for n, d in header.items() if n in exports}

    for source in args.sources:
        count = check_against(reference, c_declarations(open(source, encoding="utf-8").read(), source), source, False)
        print("%s: %d declarations checked" % (source, count))

    doc = open(args.doc, encoding="utf-8").read()
    languages = {"c": ("C", c_declarations), "vb": ("VBA", vba_declarations), "vba": ("VBA", vba_declarations),
                 "csharp": ("C#", csharp_declarations), "cs": ("C#", csharp_declarations)}
    found = {"C": [], "VBA": [], "C#": []}
    for language, body, line in code_blocks(doc):
        if language.lower() in languages:
            label, parse = languages[language.lower()]
            found[label] += parse(body, "%s line %d" % (args.doc, line))
    for label, decls in found.items():
        count = check_against(reference, decls, "%s declarations" % label, True)
        print("%s declarations: %d checked" % (label, count))
    if not failures:
        print("header, library sources and %s agree with %s" % (args.doc, args.def_file))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
