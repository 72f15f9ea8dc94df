#!/usr/bin/env python3
"""Marks the resource section (.rsrc) of a linked Windows program read-only.

GNU ld always marks .rsrc writable (the Microsoft linker makes it read-only). Windows charges every
writable page of a program to the process's private commit as soon as the program is mapped, since
each such page might need a copy of its own; a program carrying a 230 MB payload in writable
resources would count 230 MB of private bytes without touching them. Nothing writes to resources.

Usage: read_only_resources.py <program.exe>
"""
import struct
import sys

IMAGE_SCN_MEM_WRITE = 0x80000000
SECTION_HEADER_SIZE = 40
CHARACTERISTICS_OFFSET = 36


def main(path):
    with open(path, "r+b") as program:
        headers = program.read(4096)
        if headers[:2] != b"MZ":
            sys.exit(f"{path}: not a Windows program")
        pe = struct.unpack_from("<I", headers, 0x3C)[0]
        if headers[pe:pe + 4] != b"PE\0\0":
            sys.exit(f"{path}: no PE signature")
        section_count, = struct.unpack_from("<H", headers, pe + 6)
        optional_size, = struct.unpack_from("<H", headers, pe + 20)
        first_section = pe + 24 + optional_size
        for index in range(section_count):
            offset = first_section + index * SECTION_HEADER_SIZE
            if headers[offset:offset + 8].rstrip(b"\0") != b".rsrc":
                continue
            characteristics, = struct.unpack_from("<I", headers, offset + CHARACTERISTICS_OFFSET)
            if characteristics & IMAGE_SCN_MEM_WRITE:
                program.seek(offset + CHARACTERISTICS_OFFSET)
                program.write(struct.pack("<I", characteristics & ~IMAGE_SCN_MEM_WRITE))


if __name__ == "__main__":
    main(sys.argv[1])
