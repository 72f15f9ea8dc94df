#!/usr/bin/env python3
"""Records the digest of a payload item, as 64 lower-case hex digits, the way the setup program
checks it (setup/engine/payload_integrity.h): the SHA-256 of the concatenated SHA-256 digests of
the item's consecutive 4 MiB pieces, in order (an empty item is one empty piece). The output file
is rewritten only when the digest changed.
    payload_digest.py <item> <output>"""
import hashlib
import sys

PIECE = 4 << 20


def payload_digest(path):
    outer = hashlib.sha256()
    with open(path, 'rb') as item:
        piece = item.read(PIECE)
        while True:
            outer.update(hashlib.sha256(piece).digest())
            piece = item.read(PIECE)
            if not piece:
                break
    return outer.hexdigest()


def main(item, output):
    digest = payload_digest(item)
    try:
        with open(output) as previous:
            if previous.read() == digest:
                return
    except OSError:
        pass
    with open(output, 'w') as recorded:
        recorded.write(digest)


if __name__ == '__main__':
    main(*sys.argv[1:3])
