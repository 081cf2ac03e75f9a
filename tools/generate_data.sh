#!/bin/sh
# Regenerates the game data (books, levels, catalogues, data texts) and the
# resource table. Deterministic; the outputs are committed.
set -e
cd "$(dirname "$0")/.."
/usr/bin/python3 tools/content/make_game_data.py
/usr/bin/python3 tools/content/make_resources.py
