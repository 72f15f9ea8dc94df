#!/usr/bin/env python3
"""Writes a file of pseudo-random bytes (the same bytes every run) for the payload benchmark.

Usage: make_payload_item.py <output file> <size in MiB>
"""
import random
import sys

random.seed(1)
with open(sys.argv[1], "wb") as output:
    output.write(random.randbytes(int(sys.argv[2]) << 20))
