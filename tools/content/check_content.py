#!/usr/bin/python3
"""Content check: reads the game's property files, resources, books and
levels the way the game does and reports every broken reference.

Errors (exit status 1), among them:
  - an XML file under media/ or splash/ that does not parse;
  - a tuning key missing, defined twice or defined with the wrong type;
  - a file named by a resource, a font layer, a level list or splash
    branding that does not exist under exactly that lower-case path;
  - a level whose recipes, ingredients, customer or theme the books lack,
    or that lacks a key the level reader needs;
  - a text key used by a layout or by the game data that no property file
    defines;
  - a resource section that the game requests and resources.xml lacks;
  - a picture, font or sound that the data or a layout names and that its
    resource section lacks.

Usage: check_content.py [repository root]
"""

import os
import re
import sys
import xml.etree.ElementTree as ET

STARTUP_FILES = ["dialogs.xml", "default.xml", "dynamic.xml", "commontext.xml", "text.xml"]
SECTION_NODES = ("setups", "templates", "dialogs", "scenes")
VALUE_TAGS = ("Integer", "Double", "Float", "Boolean", "String", "Text")
# Sections the start-up and the scenes request by name.
REQUIRED_SECTIONS = ["splash", "music", "preloading", "default", "dialogs", "sceneselection",
                     "trophies", "scenegame", "sounds", "tools", "scenemap",
                     "scenetoolshop", "scenearcade"]
THEMES = ["cake", "birthday", "flan", "exam1", "lamour", "chocolate", "tropical", "exam2",
          "redfruit", "desserts", "bonbons", "exam3", "extravagant", "contest", "wedding"]
TEXT_KEY = re.compile(r"^C?TEXT_[A-Z0-9_]+$")
BONUS_NAMES = ["star +1 bonus", "star +5 bonus", "block zap bonus", "row zap bonus",
               "column zap bonus", "unripe zap bonus", "fruit picker bonus",
               "chocolate lover bonus", "work done bonus", "secret bonus",
               "super secret bonus", "random zap bonus", "total refresh bonus"]
# Hints the game asks for by name (bonus hints are added from the ingredient book).
HINT_NAMES = ["HINT_WELCOME", "HINT_SHOPFIRST", "HINT_SHOPSECOND", "HINT_SHOPFIRST2",
              "HINT_ARCADEFIRST", "HINT_RANKMETER", "HINT_TOOLSSELECT", "HINT_TOOLS",
              "HINT_SWAP", "HINT_BONUSMETER", "HINT_UNRIPECHERRY", "HINT_UNRIPEBANANA",
              "HINT_ARCADE", "HINT_COUNTERTOP_FULL", "HINT_PASTRY1", "HINT_PASTRY3",
              "HINT_SHOP", "HINT_CLICK_START", "HINT_LEVELSELECTION", "HINT_FIRSTLEVEL",
              "HINT_FIRSTTHEME", "HINT_ARCADEUNLOCK", "HINT_EXAM1_UNLOCKED",
              "HINT_EXAM1_FINISHED", "HINT_EXAM3_UNLOCKED", "HINT_EXAM3_FINISHED"]
SCENES = ["SCENE_SPLASH", "SCENE_LOAD", "SCENE_SELECTION", "SCENE_MAP", "SCENE_GAME",
          "SCENE_TOOLSHOP", "SCENE_ARCADE"]
TEMPLATES = ["DEFAULT_TOOLTIP", "DEFAULT_FSH", "ARCADE_PAINTER", "HINTHENRI_PAINTER"]
TRANSITIONS = ["TRANSITION_DEFAULT", "TRANSITION_LOAD", "TRANSITION_SPLASH"]


class Report:
    def __init__(self):
        self.errors = []
        self.warnings = []

    def error(self, msg):
        self.errors.append(msg)

    def warn(self, msg):
        self.warnings.append(msg)


def name_of(elem):
    return elem.get("id", "")


def children(elem):
    return list(elem)


def child(elem, name):
    """The named child of a node: an element with that id, or an attribute.
    A later element of the same name replaces an earlier one, as in the game."""
    found = None
    for c in elem:
        if name_of(c) == name:
            found = c
    if found is not None:
        return found
    if elem.tag not in VALUE_TAGS and elem.tag != "Vector" and name in elem.attrib and name != "id":
        return elem.attrib[name]
    return None


def text_of(entry):
    """The text of an entry: an attribute value, or a value element's text."""
    if entry is None:
        return None
    if isinstance(entry, str):
        return entry
    if entry.tag in VALUE_TAGS:
        if entry.text is not None and entry.text != "":
            return entry.text
        return entry.get("value", "")
    return None


def value(elem, name):
    return text_of(child(elem, name))


def parse_int(text):
    if text is None:
        return None
    t = text.strip()
    try:
        if t.startswith("#"):
            return int(t[1:], 16)
        if t.lower().startswith("0x"):
            return int(t[2:], 16)
        return int(t, 10)
    except ValueError:
        return None


class Content:
    def __init__(self, root, report):
        self.root = root
        self.report = report
        self.trees = {}

    def path(self, rel):
        return os.path.join(self.root, rel)

    def parse(self, rel):
        if rel in self.trees:
            return self.trees[rel]
        full = self.path(rel)
        try:
            tree = ET.parse(full).getroot()
        except (ET.ParseError, OSError) as e:
            self.report.error("%s: cannot be read as XML (%s)" % (rel, e))
            tree = None
        self.trees[rel] = tree
        return tree

    def exists_exact(self, rel, what):
        """A file named by data exists under exactly that path, in lower case."""
        norm = rel.replace("\\", "/")
        while "//" in norm:
            norm = norm.replace("//", "/")
        norm = norm.replace("./", "").lstrip("/")
        if norm != norm.lower():
            self.report.error("%s: file name %r is not lower case" % (what, rel))
        if not os.path.isfile(self.path(norm)):
            self.report.error("%s: file %r does not exist" % (what, norm))
            return False
        return True


def check_all_xml_parses(c):
    for top in ("media", "splash"):
        base = c.path(top)
        for dirpath, _dirs, files in os.walk(base):
            for f in sorted(files):
                if f.endswith(".xml"):
                    c.parse(os.path.relpath(os.path.join(dirpath, f), c.root))


def startup_entries(c):
    """Typed entries that the setup store merges into the global properties,
    per file, in merge order: top level, then the "setups" and "properties"
    sections."""
    entries = []
    sections = {}
    for f in STARTUP_FILES:
        rel = "media/properties/" + f
        tree = c.parse(rel)
        if tree is None:
            continue
        for e in tree:
            n = name_of(e)
            if n in SECTION_NODES or n == "properties":
                sections.setdefault(n, []).append((rel, e))
                if n in ("setups", "properties"):
                    entries += [(rel, x) for x in e]
                continue
            entries.append((rel, e))
    return entries, sections


def check_tuning(c, entries):
    keys = []
    with open(c.path("tools/content/tuning_keys.txt")) as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                k, t = line.split()
                keys.append((k, t))
    by_name = {}
    for rel, e in entries:
        by_name.setdefault(name_of(e), []).append((rel, e))
    for k, t in keys:
        defs = by_name.get(k, [])
        if not defs:
            c.report.error("tuning key %s is not defined" % k)
            continue
        if len(defs) > 1:
            c.report.error("tuning key %s is defined %d times (%s)"
                           % (k, len(defs), ", ".join(r for r, _ in defs)))
        rel, e = defs[-1]
        if e.tag != t:
            c.report.error("tuning key %s in %s is a %s, not a %s" % (k, rel, e.tag, t))
        text = text_of(e)
        if t == "Integer" and parse_int(text) is None:
            c.report.error("tuning key %s in %s has no integer value: %r" % (k, rel, text))
        if t == "Float":
            try:
                float(text)
            except (TypeError, ValueError):
                c.report.error("tuning key %s in %s has no number: %r" % (k, rel, text))
    return len(keys)


def collect_texts(entries):
    return {name_of(e) for _rel, e in entries if e.tag == "Text"}


def collect_typed(entries, tag):
    return {name_of(e): text_of(e) for _rel, e in entries if e.tag == tag}


def walk(elem):
    yield elem
    for x in elem:
        yield from walk(x)


def check_layout_texts(c, sections, texts):
    """Every text key a layout names (as textid, text or a key-shaped value) exists."""
    used = set()
    for name in ("setups", "templates", "dialogs", "scenes"):
        for rel, sec in sections.get(name, []):
            for e in walk(sec):
                for attr, v in e.attrib.items():
                    if attr in ("textid", "tooltip") or TEXT_KEY.match(v or ""):
                        used.add((rel, v))
                if e.tag in ("String", "Text") and TEXT_KEY.match(text_of(e) or ""):
                    used.add((rel, text_of(e)))
    for rel, key in sorted(used):
        if key not in texts:
            c.report.error("%s: text key %s is not defined" % (rel, key))


def layout_pictures(sections):
    """Pictures that layouts name: sprites ("image" with "section"), scene
    backgrounds and painter pieces."""
    pictures = []
    for name in ("setups", "templates", "dialogs", "scenes"):
        for rel, sec in sections.get(name, []):
            for e in walk(sec):
                section = e.get("section")
                if e.get("image") and section:
                    pictures.append((section, e.get("image"), rel))
                if e.get("scenebackground") and section:
                    pictures.append((section, e.get("scenebackground"), rel))
                images = child(e, "images") if e.tag not in VALUE_TAGS and e.tag != "Vector" else None
                if section and images is not None and not isinstance(images, str):
                    for v in images:
                        if text_of(v):
                            pictures.append((section, text_of(v), rel))
    return pictures


def check_layout_fonts_and_sounds(c, sections, resources):
    """Fonts and sounds that layouts name must be resources of their section
    (both exist from the start, unlike some pictures)."""
    for name in ("setups", "templates", "dialogs", "scenes"):
        for rel, sec in sections.get(name, []):
            for e in walk(sec):
                font, section = e.get("font"), e.get("section")
                if font and section and resources.get(section, {}).get(font) != "Font":
                    c.report.error("%s: font %s is not a font of the resource section %s"
                                   % (rel, font, section))
                for key in ("clicksound", "disabledsound", "oversound"):
                    snd = e.get(key)
                    if snd and resources.get(e.get("soundsection", ""), {}).get(snd) != "Sound":
                        c.report.error("%s: %s %s is not a sound of the resource section %r"
                                       % (rel, key, snd, e.get("soundsection", "")))


def check_definitions(c, sections, nodes):
    defined = {}
    for name in ("templates", "dialogs", "scenes", "setups"):
        for _rel, sec in sections.get(name, []):
            for e in sec:
                defined.setdefault(name, set()).add(name_of(e))
    for s in SCENES + TRANSITIONS:
        if s not in defined.get("scenes", set()):
            c.report.error("scene %s is not defined" % s)
    for t in TEMPLATES:
        if t not in defined.get("templates", set()) and t not in defined.get("setups", set()) \
                and t not in nodes:
            c.report.error("template %s is not defined" % t)
    if "DIALOG_YESNO" not in defined.get("dialogs", set()) and \
            "DIALOG_YESNO" not in defined.get("templates", set()):
        c.report.error("dialog DIALOG_YESNO is not defined")


def check_resources(c):
    """Returns {section: {resource name: kind}}."""
    rel = "media/properties/resources.xml"
    tree = c.parse(rel)
    result = {}
    if tree is None:
        return result
    secs = child(tree, "Sections")
    if secs is None or isinstance(secs, str) or secs.tag != "Vector":
        c.report.error("%s: no vector Sections" % rel)
        return result
    for sec in secs:
        sname = value(sec, "name")
        if not sname:
            c.report.error("%s: a section without a name" % rel)
            continue
        if sname in result:
            c.report.error("%s: section %s is declared twice" % (rel, sname))
        objects = result.setdefault(sname, {})
        for r in sec:
            if r.tag in VALUE_TAGS or r.tag == "Vector":
                continue
            rname = name_of(r)
            if r.tag not in ("Image", "Font", "Sound", "Stream"):
                c.report.error("%s: %s/%s has the unknown kind %s" % (rel, sname, rname, r.tag))
                continue
            objects[rname] = r.tag
            what = "%s: %s/%s" % (rel, sname, rname)
            f = value(r, "file")
            mask = value(r, "mask")
            if not f and not mask:
                c.report.error("%s names no file" % what)
            if f:
                if c.exists_exact(f, what):
                    if r.tag == "Font":
                        check_font(c, f, what)
                    elif r.tag == "Image":
                        check_frames(c, f, parse_int(value(r, "nrofframes")) or 1, what)
            if mask:
                c.exists_exact(mask, what + " (mask)")
            frames = value(r, "nrofframes")
            if frames is not None and (parse_int(frames) or 0) < 1:
                c.report.error("%s has a frame count of %r" % (what, frames))
    for s in REQUIRED_SECTIONS:
        if s not in result:
            c.report.error("%s: the section %s that the game requests is missing" % (rel, s))
    return result


def png_size(path):
    """Width and height from a PNG's header, or None when it is not a PNG."""
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return int.from_bytes(head[16:20], "big"), int.from_bytes(head[20:24], "big")


def check_frames(c, rel, frames, what):
    """A picture of n frames stacked vertically must split into n equal rows."""
    if not rel.endswith(".png"):
        return
    size = png_size(c.path(rel))
    if size is None:
        c.report.error("%s: %s is not a PNG picture" % (what, rel))
    elif frames > 1 and size[1] % frames != 0:
        c.report.error("%s: %s is %d pixels high, not a whole number of %d frames"
                       % (what, rel, size[1], frames))


def check_font(c, rel, what):
    tree = c.parse(rel)
    if tree is None:
        return
    font = child(tree, "font")
    if font is None or isinstance(font, str):
        c.report.error("%s: font file %s has no node font" % (what, rel))
        return
    # The layers may sit inside the font node or beside it.
    layers = child(font, "layers")
    if layers is None:
        layers = child(tree, "layers")
    if layers is None or isinstance(layers, str) or layers.tag != "Vector" or len(layers) == 0:
        c.report.error("%s: font file %s has no layers" % (what, rel))
        return
    base = os.path.dirname(rel)
    for layer in layers:
        for key in ("image", "mask"):
            v = value(layer, key)
            if v:
                c.exists_exact(base + "/" + v, "%s: layer of %s" % (what, rel))


def load_books(c):
    books = {"recipes": {}, "ingredients": {}, "customers": set()}
    tree = c.parse("media/levels/ingredientbook.xml")
    if tree is not None:
        vec = child(tree, "ingredients")
        for e in (vec if vec is not None and not isinstance(vec, str) else []):
            n = value(e, "name")
            if not n:
                c.report.error("ingredientbook.xml: entry %s has no name" % name_of(e))
                continue
            if n in books["ingredients"]:
                c.report.error("ingredientbook.xml: %s is listed twice" % n)
            books["ingredients"][n] = (name_of(e), (value(e, "canBeUnripe") or "false") != "false")
    for b in BONUS_NAMES:
        if b not in books["ingredients"]:
            c.report.error("ingredientbook.xml: bonus %r is missing" % b)
    tree = c.parse("media/levels/cookbook.xml")
    if tree is not None:
        vec = child(tree, "recipes")
        for e in (vec if vec is not None and not isinstance(vec, str) else []):
            n = name_of(e)
            if e.tag != "Recipe":
                c.report.error("cookbook.xml: %s is a %s, not a Recipe" % (n, e.tag))
            ings = []
            iv = child(e, "ingredients")
            for i in (iv if iv is not None and not isinstance(iv, str) else []):
                ing, amount = value(i, "name"), parse_int(value(i, "amount"))
                if ing not in books["ingredients"]:
                    c.report.error("cookbook.xml: recipe %s needs the unknown ingredient %r" % (n, ing))
                if not amount or amount < 1:
                    c.report.error("cookbook.xml: recipe %s has no amount for %r" % (n, ing))
                ings.append(ing)
            if not ings:
                c.report.error("cookbook.xml: recipe %s has no ingredients" % n)
            if len(set(ings)) > 4:
                c.report.error("cookbook.xml: recipe %s needs more than four kinds" % n)
            books["recipes"][n] = ings
    tree = c.parse("media/levels/customerbook.xml")
    if tree is not None:
        vec = child(tree, "customers")
        for e in (vec if vec is not None and not isinstance(vec, str) else []):
            n = name_of(e)
            for key in ("happy", "ecstatic"):
                if parse_int(value(e, key)) is None:
                    c.report.error("customerbook.xml: %s has no %s" % (n, key))
            for key in ("casualEyes", "happyEyes", "ecstaticEyes"):
                node = child(e, key)
                if node is None or isinstance(node, str) or value(node, "x") is None \
                        or value(node, "y") is None:
                    c.report.error("customerbook.xml: %s has no %s with x and y" % (n, key))
            books["customers"].add(n)
    for needed in ("CUSTOMER_HENRI", "CUSTOMER_HENRI_EXAM", "CUSTOMER_SINGER",
                   "CUSTOMER_HENRI_ARCADE", "CUSTOMER_HENRI_MARRIAGE"):
        if needed not in books["customers"]:
            c.report.error("customerbook.xml: %s is missing" % needed)
    return books


def check_level_list(c, rel, books, career):
    tree = c.parse(rel)
    levels = []
    if tree is None:
        return levels
    vec = child(tree, "levels")
    if vec is None or isinstance(vec, str) or vec.tag != "Vector":
        c.report.error("%s: no vector levels" % rel)
        return levels
    for i, e in enumerate(vec):
        f = value(e, "fileName")
        if not f:
            c.report.error("%s: entry %d has no fileName" % (rel, i))
            continue
        if not c.exists_exact(f, "%s entry %d" % (rel, i)):
            continue
        levels.append(check_level(c, f, books, career, i))
    return levels


def check_level(c, rel, books, career, index):
    tree = c.parse(rel)
    info = {"file": rel, "recipes": [], "ingredients": [], "theme": None, "customer": None}
    if tree is None:
        return info
    rv = child(tree, "recipes")
    for e in (rv if rv is not None and not isinstance(rv, str) else []):
        t = value(e, "type")
        if t not in books["recipes"]:
            c.report.error("%s: unknown recipe %r" % (rel, t))
        info["recipes"].append(t)
    if not info["recipes"]:
        c.report.error("%s: no recipes" % rel)
    iv = child(tree, "ingredients")
    names = []
    for e in (iv if iv is not None and not isinstance(iv, str) else []):
        n = value(e, "name")
        d = parse_int(value(e, "distribution"))
        if n not in books["ingredients"]:
            c.report.error("%s: unknown ingredient %r" % (rel, n))
        if d is None or d < 0:
            c.report.error("%s: ingredient %r has no distribution" % (rel, n))
        u = value(e, "unripeChance")
        if u is not None and parse_int(u) and n in books["ingredients"] and not books["ingredients"][n][1]:
            c.report.error("%s: %r cannot be unripe but has an unripe chance" % (rel, n))
        names.append(n)
    info["ingredients"] = names
    for r in info["recipes"]:
        for ing in books["recipes"].get(r, []):
            if ing not in names:
                c.report.error("%s: recipe %s needs %s, which the board never deals" % (rel, r, ing))
    plain = [n for n in names if "bonus" not in (n or "")]
    if len(plain) < 4:
        c.report.error("%s: fewer than four kinds of ingredient on the board" % rel)
    theme = child(tree, "theme")
    customer = child(tree, "customer")
    stars = child(tree, "stars")
    for key, node, subs in (("theme", theme, ("name", "number")), ("customer", customer, ("name",)),
                            ("stars", stars, ("goal",))):
        if node is None or isinstance(node, str):
            c.report.error("%s: no node %s" % (rel, key))
            continue
        for s in subs:
            if value(node, s) is None:
                c.report.error("%s: %s has no %s" % (rel, key, s))
    if customer is not None and not isinstance(customer, str):
        cn = value(customer, "name")
        info["customer"] = cn
        if cn not in books["customers"]:
            c.report.error("%s: unknown customer %r" % (rel, cn))
    if theme is not None and not isinstance(theme, str):
        tn = value(theme, "name")
        info["theme"] = tn
        if career:
            expected = THEMES[index // 4] if index // 4 < len(THEMES) else None
            if tn != expected:
                c.report.error("%s: theme %r, expected %r" % (rel, tn, expected))
            if parse_int(value(theme, "number")) != index // 4:
                c.report.error("%s: theme number is not %d" % (rel, index // 4))
    exam = tn_is_exam = info["theme"] in ("exam1", "exam2", "exam3")
    if (exam and career) or not career:
        for group, keys in (("pastries", ("start", "delta")), ("duration", ("time", "delta")),
                            ("distance", ("start", "delta", "deviation"))):
            node = child(tree, group)
            if node is None or isinstance(node, str):
                c.report.error("%s: a belt level without %s" % (rel, group))
            else:
                for k in keys:
                    if parse_int(value(node, k)) is None:
                        c.report.error("%s: %s has no %s" % (rel, group, k))
    if tn_is_exam and stars is not None and not isinstance(stars, str) and value(stars, "reward") is None:
        c.report.error("%s: an exam without reward stars" % rel)
    return info


def check_catalogues(c, texts, resources):
    used_texts = set()
    pictures = []  # (section, name, where)
    tree = c.parse("media/properties/tools.xml")
    if tree is not None:
        vec = child(tree, "tools")
        tools = list(vec) if vec is not None and not isinstance(vec, str) else []
        if len(tools) != 14:
            c.report.error("tools.xml: %d tools, the game needs 14" % len(tools))
        for i, t in enumerate(tools):
            if t.tag != "Tool":
                c.report.error("tools.xml: entry %d is not a Tool" % i)
            for k in ("name", "description", "descriptionshort"):
                used_texts.add(("tools.xml", value(t, k)))
            if value(t, "slot") not in ("A", "B"):
                c.report.error("tools.xml: tool %d has slot %r" % (i, value(t, "slot")))
            if value(t, "level") not in ("1", "2"):
                c.report.error("tools.xml: tool %d has level %r" % (i, value(t, "level")))
            if parse_int(value(t, "price")) is None:
                c.report.error("tools.xml: tool %d has no price" % i)
            icon, button = value(t, "icon"), value(t, "button")
            for n in (icon, (icon or "") + "_BIG", button, (button or "") + "_SHOP"):
                pictures.append(("tools", n, "tools.xml"))
        if len(tools) > 6 and parse_int(value(tools[6], "price")) != 0:
            c.report.error("tools.xml: tool 6 is a gift and must cost 0")
    tree = c.parse("media/properties/ranks.xml")
    if tree is not None:
        vec = child(tree, "ranks")
        ranks = list(vec) if vec is not None and not isinstance(vec, str) else []
        if len(ranks) < 10:
            c.report.error("ranks.xml: %d ranks, the game names rank 9" % len(ranks))
        last = None
        for i, r in enumerate(ranks):
            used_texts.add(("ranks.xml", value(r, "name")))
            used_texts.add(("ranks.xml", value(r, "reward")))
            s = parse_int(value(r, "score"))
            if s is None or (last is not None and s <= last):
                c.report.error("ranks.xml: rank %d's score does not rise" % i)
            last = s
    tree = c.parse("media/properties/trophies.xml")
    if tree is not None:
        vec = child(tree, "TROPHIES")
        trophies = list(vec) if vec is not None and not isinstance(vec, str) else []
        if len(trophies) != 15:
            c.report.error("trophies.xml: %d trophies, the game needs 15" % len(trophies))
        section = value(tree, "TROPHY_SECTION") or ""
        for i, t in enumerate(trophies):
            infos = child(t, "trophyinfos")
            infos = list(infos) if infos is not None and not isinstance(infos, str) else []
            if len(infos) < 3:
                c.report.error("trophies.xml: trophy %d has %d records, needs 3" % (i, len(infos)))
            for info in infos:
                for k in ("headerId", "textId"):
                    if value(info, k):
                        used_texts.add(("trophies.xml", value(info, k)))
                if value(info, "image"):
                    pictures.append((value(info, "section") or section, value(info, "image"),
                                     "trophies.xml"))
    tree = c.parse("media/properties/hints.xml")
    hint_names = set()
    if tree is not None:
        vec = child(tree, "hints")
        for h in (vec if vec is not None and not isinstance(vec, str) else []):
            if h.tag != "Hint":
                c.report.error("hints.xml: %s is not a Hint" % name_of(h))
            hint_names.add(name_of(h))
            used_texts.add(("hints.xml", "TEXT_" + name_of(h)))
            for k in ("arrow",):
                if value(h, k) not in (None, "topleft", "topright", "bottomleft", "bottomright", "auto"):
                    c.report.error("hints.xml: %s has arrow %r" % (name_of(h), value(h, k)))
            for key, limit in (("handx", 800), ("handy", 600), ("dialogx", 800), ("dialogy", 600)):
                n = parse_int(value(h, key) or "0")
                if n is None or n < 0 or n > limit:
                    c.report.error("hints.xml: %s has %s %r, off the 800 x 600 screen"
                                   % (name_of(h), key, value(h, key)))
            if value(h, "connector") not in (None, "top", "bottomleft", "bottomright"):
                c.report.error("hints.xml: %s has connector %r" % (name_of(h), value(h, "connector")))
    for n in HINT_NAMES:
        if n not in hint_names:
            c.report.error("hints.xml: hint %s is missing" % n)
    partners = c.path("media/properties/partners.xml")
    if os.path.exists(partners):
        c.parse("media/properties/partners.xml")
    for where, key in sorted(used_texts, key=lambda x: (x[0], x[1] or "")):
        if not key or key not in texts:
            c.report.error("%s: text key %r is not defined" % (where, key))
    return hint_names, pictures


def check_data_texts_and_pictures(c, books, levels, arcade, texts, hint_names, pictures):
    for name, (word, can_be_unripe) in books["ingredients"].items():
        if "bonus" in name:
            for key in ("TEXT_" + word, "TEXT_HINT_" + word):
                if key not in texts:
                    c.report.error("ingredientbook.xml: text key %s is not defined" % key)
            if "HINT_" + word not in hint_names:
                c.report.error("hints.xml: the bonus hint HINT_%s is missing" % word)
            pictures.append(("scenegame", word, "ingredientbook.xml"))
            pictures.append(("scenegame", word + "_ARCADE", "ingredientbook.xml"))
        else:
            pictures.append(("scenegame", word, "ingredientbook.xml"))
            pictures.append(("scenegame", word + "_HOVER", "ingredientbook.xml"))
            if can_be_unripe:
                pictures.append(("scenegame", word + "_UNRIPE", "ingredientbook.xml"))
                pictures.append(("scenegame", word + "_UNRIPE_HOVER", "ingredientbook.xml"))
    for r in books["recipes"]:
        pictures.append(("scenegame", r, "cookbook.xml"))
    for i in range(len(THEMES)):
        if "TEXT_THEME%d" % i not in texts:
            c.report.error("text key TEXT_THEME%d is not defined" % i)
    for i in range(len(arcade)):
        if "TEXT_ARCADENAME%d" % i not in texts:
            c.report.error("text key TEXT_ARCADENAME%d is not defined" % i)
    per_customer = {}
    for idx, lv in enumerate(levels + arcade):
        cn = lv.get("customer")
        if cn:
            per_customer.setdefault(cn, set()).add(lv.get("theme"))
    for cn, themes in sorted(per_customer.items()):
        keys = [cn + s for s in ("_CASUAL", "_HAPPY", "_ECSTATIC", "_WON0", "_LOSE0")]
        count = 12 if cn == "CUSTOMER_HENRI_EXAM" else 4
        keys += ["%s_LEVEL%d" % (cn, n) for n in range(count)]
        for k in keys:
            if k not in texts:
                c.report.error("customerbook.xml: text key %s is not defined" % k)
        for mood in ("_CASUAL", "_HAPPY", "_ECSTATIC"):
            pictures.append(("scenegame", cn + mood, "customerbook.xml"))


def check_splash(c):
    rel = "splash/branding.xml"
    if not os.path.exists(c.path(rel)):
        c.report.error("%s does not exist" % rel)
        return
    tree = c.parse(rel)
    if tree is None:
        return
    for e in walk(tree):
        for attr, v in e.attrib.items():
            if attr in ("file", "image", "fileName") and v:
                c.exists_exact(v if v.startswith("splash/") or v.startswith("media/") else "splash/" + v,
                               rel)


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    report = Report()
    c = Content(root, report)
    check_all_xml_parses(c)
    entries, sections = startup_entries(c)
    tuning_count = check_tuning(c, entries)
    texts = collect_texts(entries)
    nodes = {name_of(e) for _r, e in entries if e.tag not in VALUE_TAGS and e.tag != "Vector"}
    for k in ("GAME_NAME", "GAME_ID", "PLAYERS_VERSION", "HIGHSCORES_VERSION"):
        if not collect_typed(entries, "String").get(k):
            report.error("the String %s is not defined" % k)
    for prefix, numbers in (("POINTS_MATCH", range(3, 8)), ("POINTS_COMBO", range(1, 11)),
                            ("POINTS_PASTRY", range(1, 4))):
        ints = collect_typed(entries, "Integer")
        for n in numbers:
            if "%s%d" % (prefix, n) not in ints:
                report.error("the Integer %s%d is not defined" % (prefix, n))
    floats = collect_typed(entries, "Float")
    for n in range(3, 8):
        if "QUALITY_MATCH%d" % n not in floats:
            report.error("the Float QUALITY_MATCH%d is not defined" % n)
    check_layout_texts(c, sections, texts)
    check_definitions(c, sections, nodes)
    resources = check_resources(c)
    check_layout_fonts_and_sounds(c, sections, resources)
    books = load_books(c)
    levels = check_level_list(c, "media/levels/levels.xml", books, True)
    if len(levels) != 60:
        report.error("levels.xml: %d career levels, the game has 60" % len(levels))
    arcade = check_level_list(c, "media/levels/arcade_levels.xml", books, False)
    if len(arcade) != 6:
        report.error("arcade_levels.xml: %d arcade sets, the game has 6" % len(arcade))
    hint_names, pictures = check_catalogues(c, texts, resources)
    check_data_texts_and_pictures(c, books, levels, arcade, texts, hint_names, pictures)
    check_splash(c)
    pictures += layout_pictures(sections)
    missing = sorted({(s, n, w) for s, n, w in pictures if n and n not in resources.get(s, {})})
    for s, n, w in missing:
        report.error("%s: picture %s is not in the resource section %s" % (w, n, s))

    for w in report.warnings:
        print("warning: " + w)
    for e in report.errors:
        print("error: " + e)
    print("content check: %d tuning keys, %d text keys, %d career levels, %d arcade sets, "
          "%d resource sections; %d errors, %d warnings"
          % (tuning_count, len(texts), len(levels), len(arcade), len(resources),
             len(report.errors), len(report.warnings)))
    return 1 if report.errors else 0


if __name__ == "__main__":
    sys.exit(main())
