"""Checks the generated media against tools/art_manifest.md: every listed file exists under
its lower-case name, decodes, has the listed size and a height that its frame count divides;
sounds are readable; the whole media folder stays under its size budget."""

import os
import re
import sys
import wave

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
BUDGET_BYTES = 50 * 1024 * 1024


def main():
    from PIL import Image
    errors = []
    rows = 0
    listed = set()
    with open(os.path.join(ROOT, "tools", "art_manifest.md"), encoding="utf-8") as f:
        for line in f:
            m = re.match(r"\| `([^`]+)` \| (.*) \| (.*) \| (.*) \|$", line.strip())
            if not m:
                continue
            rows += 1
            rel, _purpose, size, layout = m.groups()
            listed.add(rel)
            path = os.path.join(ROOT, rel)
            if not os.path.isfile(path):
                errors.append("missing: " + rel)
                continue
            if rel.startswith("media/") and rel != rel.lower():
                errors.append("not lower case: " + rel)
            ext = os.path.splitext(rel)[1]
            if ext in (".png", ".jpg"):
                try:
                    with Image.open(path) as im:
                        im.load()
                        w, h = im.size
                except Exception as e:  # noqa: BLE001 - any decode failure is the finding
                    errors.append("does not decode: %s (%s)" % (rel, e))
                    continue
                sm = re.match(r"(\d+)×(\d+)", size)
                if sm and (int(sm.group(1)), int(sm.group(2))) != (w, h):
                    errors.append("size differs: %s is %d×%d, listed %s" % (rel, w, h, size))
                fm = re.match(r"(\d+) frames stacked vertically, (\d+)×(\d+) each", layout)
                if fm:
                    n, fw, fh = (int(x) for x in fm.groups())
                    if w != fw or h != n * fh:
                        errors.append("frames do not tile: %s" % rel)
            elif ext == ".wav":
                try:
                    with wave.open(path) as wv:
                        if wv.getnframes() == 0:
                            errors.append("empty sound: " + rel)
                except Exception as e:  # noqa: BLE001
                    errors.append("unreadable sound: %s (%s)" % (rel, e))
            elif ext == ".ogg":
                with open(path, "rb") as sf:
                    if sf.read(4) != b"OggS":
                        errors.append("not an Ogg file: " + rel)
    # Every file in the generated folders comes from a generator: a file that the manifest
    # does not list is a leftover of an older run (renamed or dropped art).
    for folder in ("media/images", "media/sounds", "media/music", "splash"):
        for base, _dirs, files in os.walk(os.path.join(ROOT, folder)):
            for name in files:
                rel = os.path.relpath(os.path.join(base, name), ROOT)
                if rel not in listed:
                    errors.append("not made by any generator (stale?): " + rel)
    total = 0
    for base, _dirs, files in os.walk(os.path.join(ROOT, "media")):
        for name in files:
            total += os.path.getsize(os.path.join(base, name))
    if total > BUDGET_BYTES:
        errors.append("media/ holds %d bytes, over the budget of %d" % (total, BUDGET_BYTES))
    if rows == 0:
        errors.append("the manifest lists no files")
    for e in errors:
        print(e)
    print("%d files checked, media/ %.1f MB" % (rows, total / 1048576.0))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
