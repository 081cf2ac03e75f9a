#!/usr/bin/python3
"""Regenerates the game data into a scratch folder and compares it with the
committed files: a table edited without rerunning the generator, or a
generator that is no longer deterministic, shows up as a difference."""

import filecmp
import os
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), "..", ".."))


def main():
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "content", "make_game_data.py"),
                        scratch], check=True)
        differ = []
        count = 0
        for dirpath, _dirs, files in os.walk(scratch):
            for f in files:
                made = os.path.join(dirpath, f)
                rel = os.path.relpath(made, scratch)
                count += 1
                committed = os.path.join(ROOT, rel)
                if not os.path.exists(committed) or not filecmp.cmp(made, committed, shallow=False):
                    differ.append(rel)
        for rel in sorted(differ):
            print("out of date: %s (run tools/content/make_game_data.py)" % rel)
        print("%d generated files, %d out of date" % (count, len(differ)))
        return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
