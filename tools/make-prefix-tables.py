#!/usr/bin/env python3
"""Builds the origin tables in data/prefix from the origin source data.

int.dat lists country calling codes with German country names; 00<cc>.dat lists the area
codes of one country (the national significant number's leading digits, without the trunk 0)
with their places. All files are "code;text" lines in Windows-1252 with CR LF.

The lookup reads a code as a number, so leading zeros are lost: "0342" and "342" are the same
code. Countries whose area codes keep a 0 inside the number (Italy) cannot be told apart from
their mobile ranges that way and get no national table.

Usage: make-prefix-tables.py [--source DIR] [--out DIR] [--check]
"""

import argparse
import pathlib
import sys
import unicodedata

REPO = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_SOURCE = REPO.parent / "shared" / "data" / "origin-source"
DEFAULT_OUT = REPO / "data" / "prefix"

# Calling codes whose national tables are written. Italy (39) is left out: its codes begin
# with the 0 that belongs to the number, which a numeric code cannot keep apart from the
# mobile and service ranges (+39 342... would read as Sondrio 0342).
NATIONAL = ["31", "32", "36", "41", "43", "44", "46", "48", "49"]

# The lookup takes at most 6 characters of "0" + national number, and at most 3 digits after
# the international "00".
MAX_AREA_DIGITS = 5
MAX_COUNTRY_DIGITS = 3

# Letters Windows-1252 lacks, where dropping the accent would read wrong.
SUBSTITUTES = {"ő": "ö", "Ő": "Ö", "ű": "ü", "Ű": "Ü", "ł": "l", "Ł": "L", "đ": "d", "Đ": "D"}


def to_cp1252(text, replaced):
    out = []
    for ch in text:
        try:
            ch.encode("cp1252")
            out.append(ch)
            continue
        except UnicodeEncodeError:
            pass
        sub = SUBSTITUTES.get(ch)
        if sub is None:
            base = "".join(c for c in unicodedata.normalize("NFKD", ch)
                           if not unicodedata.combining(c))
            try:
                base.encode("cp1252")
                sub = base if base else "?"
            except UnicodeEncodeError:
                sub = "?"
        replaced.setdefault(ch, sub)
        out.append(sub)
    return "".join(out).encode("cp1252")


def read_table(path, max_digits):
    entries = {}
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not line:
            continue
        code, sep, text = line.partition(";")
        if not sep or not code.isdigit() or not text:
            sys.exit(f"{path.name}:{number}: bad line {line!r}")
        if len(code.lstrip("0")) > max_digits:
            print(f"{path.name}: {code} is too long for the lookup, left out", file=sys.stderr)
            continue
        value = int(code)
        if value in entries and entries[value][1] != text:
            sys.exit(f"{path.name}: {entries[value][0]} and {code} are the same code")
        entries[value] = (code, text)
    return entries


def render(entries, replaced):
    body = b""
    for value in sorted(entries):
        body += str(value).encode("ascii") + b";" + to_cp1252(entries[value][1], replaced) + b"\r\n"
    return body


def build(source):
    replaced = {}
    files = {"int.dat": render(read_table(source / "countries-de.txt", MAX_COUNTRY_DIGITS),
                               replaced)}
    for cc in NATIONAL:
        table = read_table(source / f"national-{cc}.txt", MAX_AREA_DIGITS)
        files[f"00{cc}.dat"] = render(table, replaced)
    for ch, sub in sorted(replaced.items()):
        print(f"not in Windows-1252: {ch} U+{ord(ch):04X} written as {sub}", file=sys.stderr)
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", type=pathlib.Path, default=DEFAULT_SOURCE)
    parser.add_argument("--out", type=pathlib.Path, default=DEFAULT_OUT)
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out instead of writing")
    args = parser.parse_args()

    files = build(args.source)
    stale = []
    for name, body in sorted(files.items()):
        target = args.out / name
        if args.check:
            if not target.exists() or target.read_bytes() != body:
                stale.append(name)
        else:
            args.out.mkdir(parents=True, exist_ok=True)
            target.write_bytes(body)
            lines = body.count(b"\n")
            print(f"{name}: {lines} lines", file=sys.stderr)
    if stale:
        sys.exit("out of date: " + ", ".join(stale))


if __name__ == "__main__":
    main()
