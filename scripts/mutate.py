# SPDX-License-Identifier: GPL-3.0-or-later
"""Proves the tests: breaks the product code on purpose, one change at a time,
rebuilds and runs the named ctest labels; every change must turn them red.

    python3 scripts/mutate.py MUTATIONS-FILE BUILD-DIR

Each line of the file reads
    FILE :: TEXT => REPLACEMENT :: LABEL|LABEL
and replaces the first TEXT in FILE ("{NL}" stands for a line break).
Lines starting with "#" are comments. Files are restored afterwards.
Paths are relative to the current folder (scripts/mutate.sh runs it from
the top of the tree).
"""
import os
import subprocess
import sys


def main(mutations, build):
    jobs = str(os.cpu_count() or 2)
    caught, missed = 0, []
    for line in open(mutations):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        path, change, labels = (part.strip() for part in line.split(" :: "))
        text, replacement = (part.replace("{NL}", "\n") for part in change.split(" => "))
        original = open(path).read()
        what = f"{path}: {text!r} -> {replacement!r}"
        if text not in original:
            missed.append(f"not found: {what}")
            print("ABSENT ", what, flush=True)
            continue
        try:
            open(path, "w").write(original.replace(text, replacement, 1))
            if subprocess.run(["cmake", "--build", build], capture_output=True).returncode:
                # A change that does not build proves nothing about the tests.
                missed.append(f"does not build: {what}")
                print("BROKEN ", what, flush=True)
                continue
            run = subprocess.run(["ctest", "--test-dir", build, "-L", labels, "-j", jobs,
                                  "--timeout", "120"], capture_output=True)
            if run.returncode == 0:
                missed.append(what)
                print("MISSED ", what, flush=True)
            else:
                caught += 1
                print("caught ", what, flush=True)
        finally:
            open(path, "w").write(original)
    subprocess.run(["cmake", "--build", build], capture_output=True)
    print(f"{caught} caught, {len(missed)} missed")
    return 1 if missed else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
