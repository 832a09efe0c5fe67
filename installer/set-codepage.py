#!/usr/bin/env python3
"""Declares the code page of an MSI package's strings.

wixl writes the strings in the code page of WINDOWS_LANGUAGE but leaves the
string pool's code page at 0 ("whatever the machine uses"), so a machine with
another ANSI code page would read the Chinese shortcut names as garbage. The
code page is the first 32-bit word of the _StringPool stream; this patches it
in place.
    set-codepage.py PACKAGE CODEPAGE
"""
import struct
import sys

END_OF_CHAIN = 0xFFFFFFFA


def stream_name(table):
    """A system table's stream name as the package stores it: a mark, then
    two name characters packed into each UTF-16 unit."""
    alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz._"
    out = "\u4840"
    i = 0
    while i < len(table):
        first = alphabet.index(table[i])
        if i + 1 < len(table):
            out += chr(0x3800 + first + (alphabet.index(table[i + 1]) << 6))
            i += 2
        else:
            out += chr(0x4800 + first)
            i += 1
    return out


def pool_offset(data):
    """File offset of the first byte of the _StringPool stream."""
    sector_size = 1 << struct.unpack_from("<H", data, 30)[0]
    mini_size = 1 << struct.unpack_from("<H", data, 32)[0]
    fat_sectors = struct.unpack_from("<I", data, 44)[0]
    dir_start = struct.unpack_from("<I", data, 48)[0]
    mini_cutoff = struct.unpack_from("<I", data, 56)[0]
    mini_fat_start = struct.unpack_from("<I", data, 60)[0]
    difat = struct.unpack_from("<109I", data, 76)
    if fat_sectors > 109:
        sys.exit("package too large for this tool")

    def sector_at(n):
        return 512 + n * sector_size

    fat = []
    for s in difat[:fat_sectors]:
        fat += struct.unpack_from("<%dI" % (sector_size // 4), data, sector_at(s))

    def chain(start):
        while start < END_OF_CHAIN:
            yield start
            start = fat[start]

    directory = b"".join(data[sector_at(s):sector_at(s) + sector_size] for s in chain(dir_start))
    wanted = stream_name("_StringPool")
    entries = []
    for i in range(len(directory) // 128):
        entry = directory[i * 128:(i + 1) * 128]
        length = struct.unpack_from("<H", entry, 64)[0]
        name = entry[:length].decode("utf-16-le").rstrip("\0")
        entries.append((name, struct.unpack_from("<I", entry, 116)[0], struct.unpack_from("<I", entry, 120)[0]))
    root_start = entries[0][1]
    for name, start, size in entries:
        if name != wanted:
            continue
        if size >= mini_cutoff:
            return sector_at(start)
        # A small stream lives in the mini stream, itself a chain of sectors.
        mini_offset = start * mini_size
        root_sectors = list(chain(root_start))
        return sector_at(root_sectors[mini_offset // sector_size]) + mini_offset % sector_size
    sys.exit("no string pool in the package")


def main():
    package, codepage = sys.argv[1], int(sys.argv[2])
    data = bytearray(open(package, "rb").read())
    offset = pool_offset(data)
    current = struct.unpack_from("<I", data, offset)[0]
    # The top bit says how wide string references are; keep it.
    if current & 0x7FFFFFFF not in (0, codepage):
        sys.exit("string pool already has code page %d" % (current & 0x7FFFFFFF))
    struct.pack_into("<I", data, offset, (current & 0x80000000) | codepage)
    open(package, "wb").write(data)


if __name__ == "__main__":
    main()
