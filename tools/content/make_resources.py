#!/usr/bin/python3
"""Writes media/properties/resources.xml: every resource section the game
requests, with the images, fonts, sounds and music streams that the layouts
and the game data name.

The table below is the one list of resource names. An entry whose file does
not exist yet (art still to be drawn) is left out of resources.xml and listed
in tools/content/pending_media.txt with the file it expects, so that the art
and sound generators can fill the gap under the agreed name; rerunning this
script after they land picks the files up. Frame counts come from the art
manifest (tools/art_manifest.md) when it describes the file, else from the
table."""

import os
import re
import sys
from xml.sax.saxutils import quoteattr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_data as gd  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# Where the two outputs go: the repository, or the folder given as the first
# argument (the up-to-date test writes into a scratch folder).
OUT = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else ROOT

# Sections in the order the game first needs them, with what they hold.
SECTIONS = [
    ("splash", "the splash scene's own needs (removed by the loading scene)"),
    ("music", "music streams, played from disk"),
    ("preloading", "the loading scene: title artwork in four layers, birds, logo, loading bar"),
    ("default", "fonts, interface sounds, twinkles and the pieces every scene and dialog shares"),
    ("dialogs", "dialog frames, buttons and the pictures of the game's dialogs"),
    ("sceneselection", "the player-selection scene"),
    ("trophies", "trophy buttons and pictures"),
    ("scenegame", "the game scene: tiles, bonuses, pastries, customers, countertop, belt"),
    ("sounds", "game sounds"),
    ("tools", "tool icons and buttons"),
    ("scenemap", "the map of themes"),
    ("scenetoolshop", "the tool shop"),
    ("scenearcade", "the arcade scene"),
]

FONTS = [
    # resource name, font file, where it is used
    ("FONT_TITLE", "title"), ("FONT_HEADER", "header"), ("FONT_BUTTON", "button"),
    ("FONT_NUMBERS", "numbers"), ("FONT_DIALOG", "dialog"), ("FONT_DIALOGBOLD", "dialogbold"),
    ("FONT_SMALL", "small"),
    # Names the game code asks for, served by the faces above.
    ("FONT_TEXT_ITALIC", "dialog"), ("FONT_SCORE", "numbers"), ("FONT_COUNTER", "dialogbold"),
    ("FONT_FLOATER_MATCH", "numbers"), ("FONT_FLOATER_COMBO", "header"),
    ("FONT_GAMEEND_3", "title"), ("FONT_STARS_SMALL", "dialogbold"),
]


# Numbered variants the game builds from one key and a number; each plays the
# one recorded sound of its key.
NUMBERED_SOUNDS = {"SOUND_COMBO": range(1, 11), "SOUND_ADDQUALITYSTAR": range(0, 5),
                   "SOUND_PASTRYCREATING": range(1, 4), "SOUND_TOOL_SPARKLE": range(1, 3),
                   "SOUND_PASTRYFINISHED": range(1, 5)}
# Folders of the art whose pictures belong to one section when the table
# below does not name them.
FOLDER_SECTIONS = [("media/images/load/", "preloading"), ("media/images/dialogs/", "dialogs"),
                   ("media/images/buttons/", "dialogs"), ("media/images/widgets/", "dialogs"),
                   ("media/images/fsh/", "default"), ("media/images/effects/", "default"),
                   ("media/images/board/", "scenegame"), ("media/images/bonus/", "scenegame"),
                   ("media/images/game/", "scenegame"),
                   ("media/images/selection/", "sceneselection"), ("media/images/map/", "scenemap"),
                   ("media/images/toolshop/", "scenetoolshop"), ("media/images/arcade/", "scenearcade"),
                   ("media/images/tools/", "tools"), ("media/images/trophies/", "trophies")]


def image(section, name, path, frames=1, **extra):
    return ("Image", section, name, path, frames, extra)


def sound(section, name, path, **extra):
    return ("Sound", section, name, path, 1, extra)


def stream(name, path, **extra):
    return ("Stream", "music", name, path, 1, extra)


def table():
    """Resources the layouts and the data name, with the file expected when
    the art manifest does not say otherwise."""
    t = []
    t.append(image("splash", "ICON", "media/images/icon.png"))
    for name in ("MUSIC_SELECTION", "MUSIC_MAP", "MUSIC_GAME", "MUSIC_GAMEARCADE", "MUSIC_SHOP",
                 "MUSIC_LEVELEND", "MUSIC_FRENZY"):
        t.append(stream(name, "media/music/%s.ogg" % name[6:].lower()))
    load = "media/images/load/"
    for i in range(4):
        t.append(image("preloading", "LOAD_LAYER%d" % i, load + "layer%d.png" % i))
    t += [image("preloading", "LOAD_BIRD", load + "bird.png", 6),
          image("preloading", "LOAD_BIRD2", load + "bird2.png", 6),
          image("preloading", "LOAD_LOGO", load + "logo.png"),
          image("preloading", "LOAD_SMOKE", load + "smoke.png", 8),
          image("preloading", "LOAD_DOOR", load + "door.png", 4),
          image("preloading", "LOAD_HENRI", load + "henri.png", 8),
          image("preloading", "LOAD_PASTRY", load + "pastry.png", 6),
          image("preloading", "LOAD_CLICK_PLATE", load + "click_plate.png"),
          image("preloading", "LOAD_CLICK_TEXT", load + "click_text.png"),
          image("preloading", "LOAD_BAR_EMPTY", load + "loading_bar_empty.png"),
          image("preloading", "LOAD_BAR_FULL", load + "loading_bar_full.png")]
    t += [image("default", "EIFFELTOWER", "media/images/dialogs/eiffeltower.png"),
          image("default", "TWINKLE_LARGE", "media/images/effects/twinkle_large.png"),
          image("default", "TWINKLE_SMALL", "media/images/effects/twinkle_small.png"),
          image("default", "FSH_QUIT", "media/images/fsh/button_quit.png", 4),
          image("default", "FSH_RESTORE", "media/images/fsh/button_restore.png", 4),
          image("default", "FSH_MINIMIZE", "media/images/fsh/button_minimize.png", 4)]
    pieces = ["tl", "t", "tr", "l", "c", "r", "bl", "b", "br"]
    for look, prefix in (("frame", "DIALOG_FRAME_"), ("frame_green", "DIALOG_ICE_"), ("hint", "DIALOG_HINT_"),
                         ("tooltip", "DIALOG_TOOLTIP_")):
        for p in pieces:
            if look == "frame_green" and p == "c":
                continue  # the belt frame shares the plain frame's centre
            # Every dialog draws the frame's centre: it is never kept compressed.
            extra = {"compress": "false"} if prefix == "DIALOG_FRAME_" and p == "c" else {}
            t.append(image("dialogs", prefix + p.upper(), "media/images/dialogs/%s_%s.png" % (look, p), **extra))
    t.append(image("dialogs", "DIALOG_ICE_C", "media/images/dialogs/frame_c.png", compress="false"))
    for p in pieces:
        if p != "c":  # the speech bubble shares the hint frame's centre
            t.append(image("dialogs", "DIALOG_SPEECH_" + p.upper(), "media/images/dialogs/speech_%s.png" % p))
    for conn in ("top", "bottomleft", "bottomright", "left"):
        t.append(image("dialogs", "DIALOG_HINT_CONNECTOR_" + conn.upper(),
                       "media/images/dialogs/hint_connector_%s.png" % conn))
    t.append(image("dialogs", "DIALOG_DIM", "media/images/dialogs/dim.png"))
    for b in ("ok", "yes", "no", "cancel", "back", "next", "add", "remove", "changename", "start", "play",
              "continue", "restart", "resume", "stop", "quit", "menu", "help", "settings", "credits",
              "trophies", "tools", "shop", "buy", "arcade", "career"):
        t.append(image("dialogs", "BUTTON_" + b.upper(), "media/images/buttons/button_%s.png" % b, 4))
    for colour in ("raspberry", "caramel", "pistachio", "chocolate"):
        t.append(image("dialogs", "BUTTON_BLANK_" + colour.upper(),
                       "media/images/buttons/button_blank_%s.png" % colour, 4))
        t.append(image("dialogs", "BUTTON_SMALL_" + colour.upper(),
                       "media/images/buttons/button_small_%s.png" % colour, 4))
    for b in ("menu", "pause", "help", "info", "settings", "close", "next", "prev", "scroll_left",
              "scroll_right"):
        t.append(image("dialogs", "BUTTON_ROUND_" + b.upper(), "media/images/buttons/button_round_%s.png" % b, 4))
    for w, frames in (("slider_track", 1), ("slider_thumb", 4), ("slider_inc", 4), ("slider_dec", 4),
                      ("checkbox", 8), ("radio", 8)):
        t.append(image("dialogs", "WIDGET_" + w.upper(), "media/images/widgets/%s.png" % w, frames))
    for section, name in (("sceneselection", "SELECTION_BACKGROUND"), ("scenemap", "MAP_BACKGROUND"),
                          ("scenegame", "GAME_BACKGROUND"), ("scenegame", "EXAM_BACKGROUND"),
                          ("scenetoolshop", "TOOLSHOP_BACKGROUND"), ("scenearcade", "ARCADE_BACKGROUND")):
        path = "media/images/%s/background.jpg" % section[5:]
        if name == "EXAM_BACKGROUND":
            path = "media/images/game/exam_background.jpg"
        t.append(image(section, name, path))
    tiles = "media/images/board/"
    for name, flags in gd.INGREDIENTS:
        t.append(image("scenegame", name, tiles + "%s.png" % name))
        t.append(image("scenegame", name + "_HOVER", tiles + "%s_hover.png" % name))
        if flags.get("canBeUnripe"):
            t.append(image("scenegame", name + "_UNRIPE", tiles + "%s_unripe.png" % name))
            t.append(image("scenegame", name + "_UNRIPE_HOVER", tiles + "%s_unripe_hover.png" % name))
    # A bonus tile is one strip of four frames (normal, hovered, selected, fired).
    for _name, word, _t, _x in gd.BONUSES:
        low = word.lower()
        t.append(image("scenegame", word, "media/images/bonus/%s.png" % low))
        t.append(image("scenegame", word + "_ARCADE", "media/images/bonus/%s_arcade.png" % low))
    pastries = "media/images/game/pastries/"
    for name, _title, _ings in gd.RECIPES:
        t.append(image("scenegame", name, pastries + "%s.png" % name))
    customers = "media/images/game/customers/"
    for key in gd.CUSTOMERS:
        low = key[len("CUSTOMER_"):].lower()
        for mood in ("CASUAL", "HAPPY", "ECSTATIC"):
            t.append(image("scenegame", "%s_%s" % (key, mood), customers + "%s_%s.png" % (low, mood.lower())))
    t.append(image("scenegame", "CUSTOMER_HENRI_ARCADE_GRIP", customers + "henri_arcade_grip.png"))
    # The flag of the arcade's round display, the one its results show.
    t.append(image("scenegame", "ROUND_ICON", "media/images/dialogs/arcadeend_roundicon.png"))
    tools = "media/images/tools/"
    for i in range(len(gd.TOOLS)):
        t.append(image("tools", "TOOL_ICON%d" % i, tools + "icon%d.png" % i))
        t.append(image("tools", "TOOL_ICON%d_BIG" % i, tools + "icon%d_big.png" % i))
        t.append(image("tools", "TOOL_BUTTON%d" % i, tools + "button%d.png" % i, 4))
        t.append(image("tools", "TOOL_BUTTON%d_SHOP" % i, tools + "button%d_shop.png" % i, 4))
    trophies = "media/images/trophies/"
    for i in range(len(gd.TROPHIES)):
        t.append(image("trophies", "TROPHY_BUTTON%d" % i, trophies + "button%d.png" % i, 4))
        t.append(image("trophies", "TROPHY_BIG%d" % i, trophies + "big%d.png" % i))
    t.append(image("trophies", "TROPHY_LOCKED", trophies + "locked.png", 4))
    # The sounds the layouts cannot do without; the art manifest adds the rest.
    for snd in ("SOUND_BUTTON", "SOUND_DIALOG_SHOW", "SOUND_DIALOG_HIDE", "SOUND_DIALOGHINT_SHOW",
                "SOUND_DIALOGHINT_HIDE"):
        t.append(sound("default", snd, "media/sounds/%s.wav" % snd[6:].lower()))
    return t


def manifest_entries():
    """The art manifest's files by resource name: {name: (path, frames)}. A
    row names its resource when its purpose is the quoted name alone or when
    the quoted name is followed by a colon ("NAME": ...)."""
    path = os.path.join(ROOT, "tools", "art_manifest.md")
    entries = {}
    if not os.path.exists(path):
        return entries
    with open(path, encoding="utf-8") as f:
        for line in f:
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if len(cells) < 4 or not cells[0].startswith("`"):
                continue
            file_path = cells[0].strip("`")
            purpose, layout = cells[1], cells[3]
            m = re.match(r'^"([A-Za-z0-9_]+)"$', purpose) or re.search(r'"([A-Za-z0-9_]+)":', purpose)
            if not m:
                continue
            n = re.search(r"(\d+) frames", layout)
            entries.setdefault(m.group(1), (file_path, int(n.group(1)) if n else 1))
    return entries


def folder_section(path):
    for prefix, section in FOLDER_SECTIONS:
        if path.startswith(prefix):
            return section
    return None


def resolve():
    """The table, with files and frame counts from the art manifest, plus the
    manifest's other named files."""
    manifest = manifest_entries()
    entries = []
    named = set()
    for kind, section, name, path, frames, extra in table():
        if name in manifest:
            path, frames = manifest[name][0], manifest[name][1]
        entries.append((kind, section, name, path, frames, extra))
        named.add(name)
    for name, (path, frames) in sorted(manifest.items()):
        if name in named:
            continue
        if name.startswith("MUSIC_"):
            entries.append(("Stream", "music", name, path, 1, {}))
        elif name.startswith("SOUND_") or name.startswith("STING_"):
            variants = NUMBERED_SOUNDS.get(name)
            # A numbered variant with a recording of its own is listed by the manifest.
            names = [name] + [n for n in ("%s%d" % (name, i) for i in (variants or ())) if n not in manifest]
            for n in names:
                # Interface and game sounds are looked up in either section;
                # one file listed twice is loaded once.
                for section in ("default", "sounds"):
                    entries.append(("Sound", section, n, path, 1, {}))
        elif path.endswith(".png") or path.endswith(".jpg"):
            section = folder_section(path)
            if section:
                entries.append(("Image", section, name, path, frames, {}))
    return entries


def attrs(**kw):
    return "".join(" %s=%s" % (k, quoteattr(str(v))) for k, v in kw.items())


def main():
    entries = resolve()
    have = {s: [] for s, _ in SECTIONS}
    pending = []
    for kind, section, name, path, frames, extra in entries:
        if not os.path.isfile(os.path.join(ROOT, path)):
            pending.append((section, kind, name, path, frames))
            continue
        kw = {"file": path}
        if kind == "Image" and frames > 1:
            kw["nrofframes"] = frames
        kw.update(extra)
        have[section].append('            <%s id="%s"%s/>' % (kind, name, attrs(**kw)))
    fonts = []
    for name, face in FONTS:
        path = "media/fonts/%s.xml" % face
        if os.path.isfile(os.path.join(ROOT, path)):
            fonts.append('            <Font id="%s"%s/>' % (name, attrs(file=path)))
        else:
            pending.append(("default", "Font", name, path, 1))
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           "<!-- Resource sections. Generated by tools/content/make_resources.py from its",
           "     table; media still to be made are listed in tools/content/pending_media.txt. -->",
           "<root>", '    <Vector id="Sections">']
    for section, purpose in SECTIONS:
        out.append("        <!-- %s -->" % purpose)
        out.append('        <Section%s>' % attrs(name=section))
        if section in ("default", "scenegame", "preloading", "dialogs", "sceneselection", "scenemap",
                       "scenetoolshop", "scenearcade", "trophies"):
            # Fonts sharing a file are loaded once; listing them per section lets
            # each layout name its own section.
            out += fonts
        out += have[section]
        out.append("        </Section>")
    out += ["    </Vector>", "</root>"]
    os.makedirs(os.path.join(OUT, "media", "properties"), exist_ok=True)
    os.makedirs(os.path.join(OUT, "tools", "content"), exist_ok=True)
    with open(os.path.join(OUT, "media", "properties", "resources.xml"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write("\n".join(out) + "\n")
    with open(os.path.join(OUT, "tools", "content", "pending_media.txt"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write("# Media that the layouts and the game data name but that do not exist yet.\n"
                "# The file column is a suggestion: a row of tools/art_manifest.md whose purpose\n"
                "# begins with the quoted name (\"NAME\": ...) supplies the file and frame count.\n"
                "# section kind name file frames (frames stacked vertically)\n")
        for p in pending:
            f.write("%s %s %s %s %d\n" % p)
    print("resources.xml: %d entries, %d pending" % (sum(len(v) for v in have.values()) + len(fonts),
                                                      len(pending)))


if __name__ == "__main__":
    main()
