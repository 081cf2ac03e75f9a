"""Runs every art and sound generator and writes tools/art_manifest.md.

Deterministic: every random choice uses a fixed seed, so a second run gives the same files."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import common  # noqa: E402

INTRO = """# Generated art and sound

Written by `tools/generate_all.sh` (do not edit by hand: the generators in `tools/art/` and
`tools/audio/` rewrite this list). Every path is relative to the repository root and lower
case. Frame layouts follow the sprites: frames of equal size stacked vertically, frame 0 on
top. Buttons have 4 frames (normal, over, pressed, disabled); switches 8 (unchecked
normal/over/pressed/disabled, then checked). Sizes were chosen for the 800 × 600 screen
where nothing else fixes them. Palette (RGB hex): cream FFF4E0, raspberry D8396A,
pistachio 93C566, caramel D8893A, chocolate 5C3322, outline 3E1F14.

Adding art: draw it in one of the `tools/art/gen_*.py` modules (or a new one listed in
`tools/art/generate_media.py`) with the helpers of `tools/art/common.py`, and save it with
`save_png` / `save_frames`, which also write its row here. Start the purpose with the
resource name in quotes followed by a colon ("NAME": what it is); the resource table
generator (`tools/content/make_resources.py`) then takes the file and its frame count from
this list. Run `tools/generate_all.sh`, then `/usr/bin/python3 tools/art/contact_sheet.py
build/contact` and look at the sheets and previews (ctest also writes them to the build
folder's `contact/`). The art check (`tools/art/check_media.py`, run by ctest) wants every
file under media/images, media/sounds, media/music and splash/ listed here, with the
listed size and frame layout.
"""


def main():
    only = set(sys.argv[1:])
    sys.path.insert(0, os.path.join(common.ROOT, "tools", "audio"))
    import importlib
    for name, module in (("ui", "gen_ui"), ("frontdoor", "gen_frontdoor"), ("board", "gen_board"),
                         ("pastries", "gen_pastries"), ("scenes", "gen_scenes"), ("customers", "gen_customers"),
                         ("gamescreen", "gen_gamescreen"), ("map", "gen_map"),
                         ("meter", "gen_meter"), ("hints", "gen_hints"), ("results", "gen_results"),
                         ("arcade", "gen_arcade"), ("help", "gen_help"), ("menus", "gen_menus"),
                         ("conveyor", "gen_conveyor"), ("selection", "gen_selection"),
                         ("toolshop", "gen_toolshop"), ("trophies", "gen_trophies"), ("effects", "gen_effects"),
                         ("audio", "gen_audio")):
        if only and name not in only:
            continue
        try:
            mod = importlib.import_module(module)
        except ImportError:
            continue
        print("generating", name)
        mod.main()
    if not only:
        common.manifest.write(os.path.join(common.ROOT, "tools", "art_manifest.md"), INTRO)


if __name__ == "__main__":
    main()
