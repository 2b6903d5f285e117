#!/usr/bin/env python3
"""Mutation runner: applies one textual mutation at a time, rebuilds only the tests that guard
the mutated file, runs them, restores the file and reports which mutations the tests caught.

    tools/mutate.py [--build-dir build] [--only N,M] [--timeout 120] [LIST ...]

Each LIST (default: every tools/mutations/*.txt) holds entries separated by blank lines:

    @ src/core/calls/CallHandler.cpp            the file, relative to the source tree
    - m_parts.msnList.rejects(calledMsn) ||      text that occurs exactly once in it
    + false ||                                   what replaces it

Several "-" (or "+") lines make a text of several lines; a "+" line with nothing after the
blank deletes the text.
An optional "= test_a test_b" line after the file names the tests to run instead of those that
tools/mutation-tests.txt maps the file's folder to. Lines starting with # are comments; the
comment right before an entry is its description.

A mutation is caught when a chosen test fails or times out, survived when all pass, and invalid
when it does not build (not counted). The file is always restored from a saved copy, also on
Ctrl-C or a failed build; a copy left by a killed run is put back at the next start.
"""
import argparse
import os
import pathlib
import re
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent


class Mutation:
    def __init__(self, number, source, line, path, original, replacement, tests, note):
        self.number = number
        self.source = source
        self.line = line
        self.path = path
        self.original = original
        self.replacement = replacement
        self.tests = tests
        self.note = note

    def where(self):
        return f"{self.source}:{self.line}"


def read_lists(files):
    mutations = []
    for list_file in files:
        note = ""
        entry = None

        def close():
            nonlocal entry
            if entry is not None:
                if not entry["-"] or "+" not in entry:
                    sys.exit(f"{list_file}:{entry['line']}: an entry needs '-' and '+' lines")
                mutations.append(Mutation(len(mutations) + 1, list_file.name, entry["line"],
                                          entry["path"], "\n".join(entry["-"]),
                                          "\n".join(entry["+"]), entry["tests"], entry["note"]))
            entry = None

        for number, raw in enumerate(list_file.read_text(encoding="utf-8").splitlines(), 1):
            if not raw.strip():
                close()
                note = ""
                continue
            if raw.startswith("#"):
                note = raw[1:].strip()
                continue
            kind, text = raw[0], raw[2:]
            if kind == "@":
                close()
                entry = {"path": text.strip(), "line": number, "note": note, "tests": None,
                         "-": []}
            elif entry is None:
                sys.exit(f"{list_file}:{number}: '{kind}' before '@ file'")
            elif kind == "=":
                entry["tests"] = text.split()
            elif kind == "-":
                entry["-"].append(text)
            elif kind == "+":
                entry.setdefault("+", []).append(text)
            else:
                sys.exit(f"{list_file}:{number}: unknown line kind '{kind}'")
        close()
    return mutations


def read_test_map(path):
    """Folder or file prefix -> test names; the longest prefix that fits a file wins."""
    mapping = []
    for raw in path.read_text(encoding="utf-8").splitlines():
        if raw.strip() and not raw.startswith("#"):
            prefix, tests = raw.split(":", 1)
            mapping.append((prefix.strip(), tests.split()))
    return sorted(mapping, key=lambda item: -len(item[0]))


def tests_for(mutation, mapping):
    if mutation.tests:
        return mutation.tests
    for prefix, tests in mapping:
        if mutation.path.startswith(prefix):
            return tests
    sys.exit(f"{mutation.where()}: no tests mapped for {mutation.path}")


class Restorer:
    """Keeps the original bytes of the file being mutated, on disk too, and puts them back."""

    def __init__(self, build_dir):
        self.saved = build_dir / "mutation-original"
        self.target_note = build_dir / "mutation-original.path"

    def restore_leftover(self):
        if self.saved.exists() and self.target_note.exists():
            target = pathlib.Path(self.target_note.read_text(encoding="utf-8"))
            target.write_bytes(self.saved.read_bytes())
            print(f"restored {target} from an interrupted run")
        self.forget()

    def keep(self, target):
        self.saved.write_bytes(target.read_bytes())
        self.target_note.write_text(str(target), encoding="utf-8")

    def restore(self):
        if self.saved.exists() and self.target_note.exists():
            target = pathlib.Path(self.target_note.read_text(encoding="utf-8"))
            target.write_bytes(self.saved.read_bytes())
        self.forget()

    def forget(self):
        for path in (self.saved, self.target_note):
            path.unlink(missing_ok=True)


def run(command, timeout=None):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout, check=False)


def try_mutation(mutation, tests, args, restorer):
    target = ROOT / mutation.path
    text = target.read_text(encoding="utf-8")
    if text.count(mutation.original) != 1:
        return "stale", f"text found {text.count(mutation.original)} times"
    restorer.keep(target)
    try:
        target.write_text(text.replace(mutation.original, mutation.replacement), encoding="utf-8")
        build = run(["cmake", "--build", str(args.build_dir), "-j", str(args.jobs), "--target",
                     *tests])
        if build.returncode != 0:
            return "invalid", build.stdout.strip().splitlines()[-1:]
        pattern = "^(" + "|".join(re.escape(name) for name in tests) + ")$"
        try:
            result = run(["ctest", "--test-dir", str(args.build_dir), "-R", pattern, "--timeout",
                          str(args.timeout), "-j", str(args.jobs)],
                         timeout=args.timeout * len(tests) + 60)
        except subprocess.TimeoutExpired:
            return "caught", "timed out"
        if result.returncode == 0:
            return "survived", ""
        failed = [line.split("-", 1)[-1].strip() for line in result.stdout.splitlines()
                  if re.match(r"\s*\d+ - ", line)]
        return "caught", " ".join(failed)
    finally:
        restorer.restore()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("lists", nargs="*", type=pathlib.Path)
    parser.add_argument("--build-dir", type=pathlib.Path, default=ROOT / "build")
    parser.add_argument("--map", type=pathlib.Path, default=ROOT / "tools/mutation-tests.txt")
    parser.add_argument("--only", help="comma-separated mutation numbers")
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--list", action="store_true", help="print the mutations and the tests")
    parser.add_argument("--check", action="store_true",
                        help="only tell which mutations no longer fit their file")
    args = parser.parse_args()
    args.build_dir = args.build_dir.resolve()
    lists = args.lists or sorted((ROOT / "tools/mutations").glob("*.txt"))
    mutations = read_lists(lists)
    mapping = read_test_map(args.map)
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutations = [m for m in mutations if m.number in wanted]

    if args.list:
        for m in mutations:
            print(f"{m.number:3} {m.where():28} {m.note}  [{' '.join(tests_for(m, mapping))}]")
        return 0
    if args.check:
        stale = [m for m in mutations
                 if (ROOT / m.path).read_text(encoding="utf-8").count(m.original) != 1]
        for m in stale:
            print(f"stale {m.number} {m.where()}: {m.note}")
        print(f"{len(mutations) - len(stale)} of {len(mutations)} mutations fit their files")
        return 1 if stale else 0
    if not (args.build_dir / "build.ninja").exists():
        sys.exit(f"{args.build_dir} is no configured build folder (cmake -G Ninja -B ...)")

    restorer = Restorer(args.build_dir)
    restorer.restore_leftover()
    # SIGTERM ends the run like Ctrl-C, through the restoring finally blocks.
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    counts = {"caught": 0, "survived": 0, "invalid": 0, "stale": 0}
    survivors = []
    built = set()
    try:
        for m in mutations:
            tests = tests_for(m, mapping)
            built.update(tests)
            started = time.monotonic()
            verdict, detail = try_mutation(m, tests, args, restorer)
            counts[verdict] += 1
            if verdict == "survived":
                survivors.append(m)
            print(f"{m.number:3} {verdict.upper():8} {m.where():28} {m.note or m.path}"
                  f"  ({time.monotonic() - started:.0f} s) {detail}", flush=True)
    except KeyboardInterrupt:
        print("interrupted; the mutated file is restored")
    finally:
        restorer.restore()
        # The targets still hold the last mutants until they are built from the restored files.
        if built:
            run(["cmake", "--build", str(args.build_dir), "-j", str(args.jobs), "--target",
                 *sorted(built)])

    judged = counts["caught"] + counts["survived"]
    score = 100.0 * counts["caught"] / judged if judged else 0.0
    print(f"\ncaught {counts['caught']}, survived {counts['survived']}, invalid "
          f"{counts['invalid']}, stale {counts['stale']}: score {score:.1f} %")
    for m in survivors:
        print(f"  survived {m.number}: {m.path}: '{m.original.strip()}' -> "
              f"'{m.replacement.strip()}'")
    return 0 if not survivors else 1


if __name__ == "__main__":
    sys.exit(main())
