#!/usr/bin/env bash
# Bakes every bitmap font of the game (media/fonts/) and of the tests
# (tests/data/fonts/) from Debian's DejaVu fonts. Run by hand after changing a
# line; the outputs are committed. Each line: file name, face, pixel size,
# layers (top first). See tools/fonts.txt for what each font is for.
set -euo pipefail
cd "$(dirname "$0")/.."
DV=/usr/share/fonts/truetype/dejavu
BAKE="/usr/bin/python3 tools/bake_font.py"
CREAM_FILL="fill,top=#fffbef,mid=#fff1cf,bottom=#f3d394"
CHOCOLATE=#5b3219

bake() { local out=$1 name=$2 ttf=$3 size=$4; shift 4
  local layers=(); for l in "$@"; do layers+=(--layer "$l"); done
  $BAKE --ttf "$DV/$ttf" --size "$size" --name "$name" --out "$out" "${layers[@]}"
}

M=media/fonts
# Scene and dialog titles: cream face, chocolate outline, soft shadow.
bake $M title   DejaVuSans-Bold.ttf 40 "$CREAM_FILL" "outline,width=3,color=$CHOCOLATE" "shadow,dx=2,dy=3,blur=1,color=#70281008"
# Dialog headers.
bake $M header  DejaVuSans-Bold.ttf 26 "$CREAM_FILL" "outline,width=2,color=$CHOCOLATE" "shadow,dx=1,dy=2,blur=1,color=#60281008"
# Button captions.
bake $M button  DejaVuSans-Bold.ttf 20 "fill,top=#ffffff,bottom=#fbe7bd" "outline,width=2,color=$CHOCOLATE"
# Scores, counters and floaters: golden face.
bake $M numbers DejaVuSans-Bold.ttf 28 "fill,top=#fff6c2,mid=#ffd75a,bottom=#e99a1c" "outline,width=2,color=#4a2410" "shadow,dx=1,dy=2,blur=1,color=#70281008"
# Running text in dialogs and hints; a mask, so labels recolour it.
bake $M dialog      DejaVuSans.ttf      18 "mask,color=$CHOCOLATE"
bake $M dialogbold  DejaVuSans-Bold.ttf 18 "mask,color=$CHOCOLATE"
# Tool tips, small print, credits.
bake $M small       DejaVuSans.ttf      13 "mask,color=$CHOCOLATE"

T=tests/data/fonts
# Test fonts: a two-layer font (face over a padded outline) and a mask font.
bake $T testfont DejaVuSans.ttf 12 "fill,top=#ffffff,bottom=#ffffff" "outline,width=1,color=#202020"
bake $T testmask DejaVuSans.ttf 12 "mask,color=#ffffff"
