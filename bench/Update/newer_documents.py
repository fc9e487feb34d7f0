#!/usr/bin/env python3
"""Marks the first COUNT documents of a tree file as changed: their document
date becomes a day in 2031, so an update from a base with this tree fetches
(or a package made against it installs) exactly those documents again.

    newer_documents.py TOMOIdx.dat COUNT [NUMBERS_FILE]

NUMBERS_FILE, when given, receives the changed document numbers, one a line.
"""
import re
import sys

# A record line's document number, size, kind and document date.
DOCUMENT_DATE = re.compile(rb'",(\d+),(\d+),([A-Z]),\d\d/\d\d/\d{4},')


def main():
    path, count = sys.argv[1], int(sys.argv[2])
    with open(path, 'rb') as tree:
        lines = tree.read().split(b'\r\n')
    changed = 0
    numbers = []
    for i, line in enumerate(lines):
        if changed >= count or not line.startswith(b'.'):
            continue
        newer, found = DOCUMENT_DATE.subn(rb'",\1,\2,\3,01/01/2031,', line, count=1)
        if found and int(DOCUMENT_DATE.search(line).group(1)) > 0:
            lines[i] = newer
            changed += 1
            numbers.append(int(DOCUMENT_DATE.search(line).group(1)))
    with open(path, 'wb') as tree:
        tree.write(b'\r\n'.join(lines))
    if len(sys.argv) > 3:
        with open(sys.argv[3], 'w') as listing:
            listing.writelines(f'{number}\n' for number in numbers)
    print(f'{changed} documents marked newer')


if __name__ == '__main__':
    main()
