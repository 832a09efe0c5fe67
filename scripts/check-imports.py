#!/usr/bin/env python3
"""Checks that the shipped 32-bit modules load on Windows XP SP3.

    scripts/check-imports.py BIN_FOLDER [--list] [--objdump TOOL]

Reads the import table of each shipped module in BIN_FOLDER (objdump -p) and
fails (exit 1) on an import that scripts/xp-missing-imports.txt names as
missing from Windows XP SP3, or on a DLL that list does not know. --list
prints every import, one "module: DLL!function" a line, and checks nothing.
"""
import argparse
import fnmatch
import os
import re
import subprocess
import sys

SHIPPED = ["toolhost.exe", "afxlite.dll", "vantor.dll", "vantres.dll", "QHTM.dll"]
LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xp-missing-imports.txt")


def read_list(path):
    """Sections of the list: {section name (lower case): [names or patterns]}."""
    sections = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            header = re.fullmatch(r"\[(.+)\]", line)
            if header:
                current = sections.setdefault(header.group(1).strip().lower(), [])
            elif current is None:
                sys.exit(f"{path}:{number}: a name before the first [section]")
            else:
                current.append(line)
    return sections


def matches(name, entries, fold_case=False):
    if fold_case:
        name = name.lower()
    for entry in entries:
        entry = entry.lower() if fold_case else entry
        if entry == name or (any(c in entry for c in "*?[") and fnmatch.fnmatchcase(name, entry)):
            return entry
    return None


def imports_of(objdump, module):
    """[(dll, function or '#ordinal')] of one module's import table."""
    out = subprocess.run([objdump, "-p", module], check=True, capture_output=True, text=True).stdout
    found = []
    dll = None
    for line in out.splitlines():
        name = re.match(r"\s*DLL Name: (\S+)", line)
        if name:
            dll = name.group(1)
            continue
        if dll is None:
            continue
        entry = re.match(r"\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)", line)
        if entry:
            function = entry.group(2)
            found.append((dll, "#" + entry.group(1) if function == "<none>" else function))
        elif not line.strip() or line.strip().startswith("vma:"):
            continue
        else:
            dll = None  # the import tables ended
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("bin")
    parser.add_argument("--list", action="store_true", help="print every import, check nothing")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = parser.parse_args()

    sections = read_list(LIST)
    absent = sections.pop("absent dlls", [])
    known = sections.pop("xp dlls", []) + [m.lower() for m in SHIPPED]

    failures = []
    for module in SHIPPED:
        path = os.path.join(args.bin, module)
        if not os.path.exists(path):
            failures.append(f"{module}: missing from {args.bin}")
            continue
        for dll, function in imports_of(args.objdump, path):
            if args.list:
                print(f"{module}: {dll}!{function}")
                continue
            if matches(dll, absent, fold_case=True):
                failures.append(f"{module}: imports {dll}!{function}; Windows XP SP3 has no {dll}")
            elif not matches(dll, known, fold_case=True):
                failures.append(f"{module}: imports from {dll}, which {os.path.basename(LIST)} does not know")
            else:
                entry = matches(function, sections.get(dll.lower(), []))
                if entry:
                    why = "" if entry == function else f" (listed as {entry})"
                    failures.append(f"{module}: imports {dll}!{function}, which Windows XP SP3 lacks{why}")
    if args.list:
        return 0
    for failure in failures:
        print("check-imports: " + failure, file=sys.stderr)
    if failures:
        return 1
    print(f"check-imports: {len(SHIPPED)} modules in {args.bin} import only what Windows XP SP3 has")
    return 0


if __name__ == "__main__":
    sys.exit(main())
