#!/usr/bin/env python3
"""Writes a file of pseudo-random bytes (the same bytes every run): large payload items for the
tests and benchmarks.

Usage: make_payload_item.py <output file> <size in MiB> [<program to start with>]

With a program, the output is that program followed by pseudo-random bytes up to the size. The
appended bytes lie after the program's last section (where a signed program keeps its signature
and a self-extracting one its archive): the loader maps only the sections the headers list and
never reads them, so the program still starts and runs as before, it just weighs more.
"""
import random
import sys

CHUNK = 16 << 20

random.seed(1)
size = int(sys.argv[2]) << 20
with open(sys.argv[1], "wb") as output:
    if len(sys.argv) > 3:
        with open(sys.argv[3], "rb") as program:
            output.write(program.read())
    while output.tell() < size:
        output.write(random.randbytes(min(CHUNK, size - output.tell())))
