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


def image(section, name, path, frames=1, **extra):
    return ("Image", section, name, path, frames, extra)


def sound(section, name, path, **extra):
    return ("Sound", section, name, path, 1, extra)


def stream(name, path, **extra):
    return ("Stream", "music", name, path, 1, extra)


def table():
    t = []
    t.append(image("splash", "ICON", "media/images/icon.png"))
    for name in ("MUSIC_SELECTION", "MUSIC_MAP", "MUSIC_GAME", "MUSIC_GAMEARCADE", "MUSIC_SHOP",
                 "MUSIC_LEVELEND", "MUSIC_FRENZY"):
        t.append(stream(name, "media/music/%s.ogg" % name[6:].lower()))
    # Loading scene (frame counts as the title artwork is drawn).
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
          image("preloading", "LOAD_CLICK_TEXT", load + "click_text.png"),
          image("preloading", "LOAD_BAR_EMPTY", load + "loading_bar_empty.png"),
          image("preloading", "LOAD_BAR_FULL", load + "loading_bar_full.png")]
    # Shared pieces.
    for snd in ("SOUND_BUTTON", "SOUND_DIALOG_SHOW", "SOUND_DIALOG_HIDE", "SOUND_DIALOGHINT_SHOW",
                "SOUND_DIALOGHINT_HIDE", "SOUND_SLIDER", "SOUND_TOOLACQUIRED", "SOUND_RANKUP",
                "SOUND_TROPHY_WON", "SOUND_TROPHY_ADDED"):
        t.append(sound("default", snd, "media/sounds/%s.ogg" % snd[6:].lower()))
    for sting in ("STING_LEVEL_START", "STING_LEVEL_FINISH", "STING_LEVEL_LOSE", "STING_THEMEFINISHED",
                  "STING_THEMENEW", "STING_TROPHY", "STING_LEVELSELECTION"):
        t.append(sound("default", sting, "media/sounds/%s.ogg" % sting.lower()))
    t += [image("default", "EIFFELTOWER", "media/images/dialogs/eiffeltower.png"),
          image("default", "TWINKLE_LARGE", "media/images/effects/twinkle_large.png"),
          image("default", "TWINKLE_SMALL", "media/images/effects/twinkle_small.png"),
          image("default", "FSH_QUIT", "media/images/fsh/button_quit.png", 4),
          image("default", "FSH_RESTORE", "media/images/fsh/button_restore.png", 4),
          image("default", "FSH_MINIMIZE", "media/images/fsh/button_minimize.png", 4)]
    # Dialog frames: the plain frame, the green (belt) frame, the hint bubble.
    pieces = ["tl", "t", "tr", "l", "c", "r", "bl", "b", "br"]
    for look, prefix in (("frame", "DIALOG_FRAME_"), ("frame_green", "DIALOG_ICE_"), ("hint", "DIALOG_HINT_"),
                         ("tooltip", "DIALOG_TOOLTIP_")):
        for p in pieces:
            t.append(image("dialogs", prefix + p.upper(), "media/images/dialogs/%s_%s.png" % (look, p)))
    for conn in ("top", "bottomleft", "bottomright", "left"):
        t.append(image("dialogs", "DIALOG_HINT_CONNECTOR_" + conn.upper(),
                       "media/images/dialogs/hint_connector_%s.png" % conn))
    t.append(image("dialogs", "DIALOG_DIM", "media/images/dialogs/dim.png"))
    for b in ("ok", "yes", "no", "cancel", "back", "next", "add", "remove", "changename", "start", "play",
              "continue", "restart", "resume", "stop", "quit", "menu", "help", "settings", "credits",
              "trophies", "tools", "shop", "buy", "arcade", "career"):
        t.append(image("dialogs", "BUTTON_" + b.upper(), "media/images/buttons/button_%s.png" % b, 4))
    for b in ("menu", "pause", "help", "info", "settings", "close", "next", "prev", "scroll_left",
              "scroll_right"):
        t.append(image("dialogs", "BUTTON_ROUND_" + b.upper(), "media/images/buttons/button_round_%s.png" % b, 4))
    for w in ("slider_track", "slider_thumb", "slider_inc", "slider_dec", "checkbox", "radio"):
        frames = 1 if w in ("slider_track",) else 4
        if w in ("checkbox", "radio"):
            frames = 8
        t.append(image("dialogs", "WIDGET_" + w.upper(), "media/images/widgets/%s.png" % w, frames))
    # Scene backgrounds.
    for section, name in (("sceneselection", "SELECTION_BACKGROUND"), ("scenemap", "MAP_BACKGROUND"),
                          ("scenegame", "GAME_BACKGROUND"), ("scenegame", "EXAM_BACKGROUND"),
                          ("scenetoolshop", "TOOLSHOP_BACKGROUND"), ("scenearcade", "ARCADE_BACKGROUND")):
        folder = section[5:] if section.startswith("scene") else section
        t.append(image(section, name, "media/images/%s/background.jpg" % folder
                       if name != "EXAM_BACKGROUND" else "media/images/game/exam_background.jpg"))
    # Tiles: one picture per ingredient (plus hover and unripe variants) and bonus.
    tiles = "media/images/game/tiles/"
    for name, flags in gd.INGREDIENTS:
        t.append(image("scenegame", name, tiles + "%s.png" % name))
        t.append(image("scenegame", name + "_HOVER", tiles + "%s_hover.png" % name))
        if flags.get("canBeUnripe"):
            t.append(image("scenegame", name + "_UNRIPE", tiles + "%s_unripe.png" % name))
            t.append(image("scenegame", name + "_UNRIPE_HOVER", tiles + "%s_unripe_hover.png" % name))
    for _name, word, _t, _x in gd.BONUSES:
        low = word.lower()
        t.append(image("scenegame", word, tiles + "%s.png" % low))
        t.append(image("scenegame", word + "_ARCADE", tiles + "%s_arcade.png" % low))
        t.append(image("scenegame", word + "_HOVER", tiles + "%s_hover.png" % low))
    pastries = "media/images/game/pastries/"
    for name, _title, _ings in gd.RECIPES:
        t.append(image("scenegame", name, pastries + "%s.png" % name))
    customers = "media/images/game/customers/"
    for key in gd.CUSTOMERS:
        low = key[len("CUSTOMER_"):].lower()
        for mood in ("CASUAL", "HAPPY", "ECSTATIC"):
            t.append(image("scenegame", "%s_%s" % (key, mood), customers + "%s_%s.png" % (low, mood.lower())))
    t.append(image("scenegame", "CUSTOMER_HENRI_ARCADE_GRIP", customers + "henri_arcade_grip.png"))
    # Tools: icon, large icon, slot button and shop button per tool.
    tools = "media/images/tools/"
    for i in range(len(gd.TOOLS)):
        t.append(image("tools", "TOOL_ICON%d" % i, tools + "icon%d.png" % i))
        t.append(image("tools", "TOOL_ICON%d_BIG" % i, tools + "icon%d_big.png" % i))
        t.append(image("tools", "TOOL_BUTTON%d" % i, tools + "button%d.png" % i, 4))
        t.append(image("tools", "TOOL_BUTTON%d_SHOP" % i, tools + "button%d_shop.png" % i, 4))
    # Trophies.
    trophies = "media/images/trophies/"
    for i in range(len(gd.TROPHIES)):
        t.append(image("trophies", "TROPHY_BUTTON%d" % i, trophies + "button%d.png" % i, 4))
        t.append(image("trophies", "TROPHY_BIG%d" % i, trophies + "big%d.png" % i))
    t.append(image("trophies", "TROPHY_LOCKED", trophies + "locked.png", 4))
    # Game sounds.
    for snd in ("SOUND_SWAP", "SOUND_INVALIDSWAP", "SOUND_MATCH3", "SOUND_MATCH4", "SOUND_MATCH5",
                "SOUND_MATCH6", "SOUND_MATCH7", "SOUND_MATCH_UNRIPE", "SOUND_MATCH_X3", "SOUND_MATCH_X5",
                "SOUND_FILLGRID", "SOUND_SHOWMATCHHINT", "SOUND_NEWLINE", "SOUND_PASTRYFINISHED",
                "SOUND_PASTRYCREATING", "SOUND_PASTRYHOP", "SOUND_ADDINGREDIENTSTORECIPE",
                "SOUND_ADDNEWPLATE", "SOUND_ADDQUALITYSTAR", "SOUND_GOALREACHED", "SOUND_FLASHGOAL",
                "SOUND_FRENZY_START", "SOUND_FRENZY_FLOATER", "SOUND_POWERUP", "SOUND_PAUSE",
                "SOUND_UNPAUSE", "SOUND_CLEARGRID_WON", "SOUND_CLEARGRID_LOST", "SOUND_CAKESDROPIN",
                "SOUND_CLICKTOFINISHPASTRY", "SOUND_PLATESTACK", "SOUND_TOOL_SLIDE", "SOUND_TOOL_SPARKLE",
                "SOUND_ZAPFRUIT", "SOUND_ZAPINGREDIENT", "SOUND_ZAPUNRIPE", "SOUND_BONUS_ZAP",
                "SOUND_BONUS_STAR", "SOUND_BONUS_FRUITPICKER", "SOUND_BONUS_CHOCOLATELOVER",
                "SOUND_BONUS_WORKDONE", "SOUND_BONUS_SECRET", "SOUND_BONUS_SECRETINCREASE",
                "SOUND_BONUS_UNRIPEZAP", "SOUND_BONUS_TOTALREFRESHSUCK", "SOUND_BONUS_TOTALREFRESHBLOW",
                "SOUND_ARCADE_ALERT", "SOUND_ARCADE_LEVELUP", "SOUND_ARCADE_PASTRYDONE",
                "SOUND_ARCADE_PASTRYFLUSH", "SOUND_ARCADESCENE_CURTAIN", "SOUND_CHARACTER",
                "SOUND_PASTRY_THEMESELECT"):
        t.append(sound("sounds", snd, "media/sounds/%s.ogg" % snd[6:].lower()))
    for i in range(1, 11):
        t.append(sound("sounds", "SOUND_COMBO%d" % i, "media/sounds/combo%d.ogg" % i))
    for name, flags in gd.INGREDIENTS:
        if flags.get("hasSound"):
            t.append(sound("sounds", "SOUND_" + name.upper(), "media/sounds/%s.ogg" % name))
    return t


def manifest_frames():
    """Frame counts that the art manifest states ("N frames stacked ...")."""
    path = os.path.join(ROOT, "tools", "art_manifest.md")
    frames = {}
    if not os.path.exists(path):
        return frames
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = re.search(r"((?:media|splash)/[a-z0-9_/.\-]+\.(?:png|jpg))", line)
            n = re.search(r"(\d+) frames", line)
            if m and n:
                frames[m.group(1)] = int(n.group(1))
    return frames


def attrs(**kw):
    return "".join(" %s=%s" % (k, quoteattr(str(v))) for k, v in kw.items())


def main():
    entries = table()
    from_manifest = manifest_frames()
    have = {s: [] for s, _ in SECTIONS}
    pending = []
    for kind, section, name, path, frames, extra in entries:
        if not os.path.isfile(os.path.join(ROOT, path)):
            pending.append((section, kind, name, path, frames))
            continue
        frames = from_manifest.get(path, frames)
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
    with open(os.path.join(ROOT, "media", "properties", "resources.xml"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write("\n".join(out) + "\n")
    with open(os.path.join(ROOT, "tools", "content", "pending_media.txt"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write("# Media that the layouts and the game data name but that do not exist yet.\n"
                "# section kind name file frames (frames stacked vertically)\n")
        for p in pending:
            f.write("%s %s %s %s %d\n" % p)
    print("resources.xml: %d entries, %d pending" % (sum(len(v) for v in have.values()) + len(fonts),
                                                      len(pending)))


if __name__ == "__main__":
    main()
