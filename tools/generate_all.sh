#!/bin/sh
# Regenerates every generated content file (art, sound, fonts, data) from the scripts in tools/.
# The outputs are committed; playing the game needs none of these tools.
# Needs Debian's python3 with python3-cairo, python3-pil, python3-numpy, and vorbis-tools.
set -e
cd "$(dirname "$0")/.."
PY=/usr/bin/python3
# Art and sound first: the resource table of the data step picks up what exists.
$PY tools/art/generate_media.py
for script in tools/bake_all_fonts.sh tools/generate_data.sh; do
    if [ -x "$script" ]; then "$script"; fi
done
echo "media generated; contact sheets: $PY tools/art/contact_sheet.py build/contact"
