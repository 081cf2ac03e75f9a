#!/usr/bin/python3
"""Regenerates the game data and the resource table into a scratch folder and
compares them with the committed files: a table edited, or art added, without
rerunning tools/generate_data.sh, or a generator that is no longer
deterministic, shows up as a difference."""

import filecmp
import os
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), "..", ".."))


def main():
    with tempfile.TemporaryDirectory() as scratch:
        for script in ("make_game_data.py", "make_resources.py"):
            subprocess.run([sys.executable, os.path.join(ROOT, "tools", "content", script), scratch],
                           check=True, stdout=subprocess.DEVNULL)
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
            print("out of date: %s (run tools/generate_data.sh)" % rel)
        print("%d generated files, %d out of date" % (count, len(differ)))
        return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
