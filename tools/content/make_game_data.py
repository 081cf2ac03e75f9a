#!/usr/bin/python3
"""Writes the game data: the books, the career and arcade level files with
their lists, the tool catalogue, ranks, trophies, hints and the texts that
name them (media/properties/text.xml). Deterministic: the same tables give the
same files byte for byte. Run from anywhere; paths are relative to the repo."""

import os
import sys
from xml.sax.saxutils import quoteattr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import game_data as gd  # noqa: E402

# Output root: the repository, or the folder given as the first argument (the
# test that keeps the committed files up to date writes into a scratch folder).
ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), "..", ".."))
LEVEL_DIR = os.path.join(ROOT, "media", "levels")
PROP_DIR = os.path.join(ROOT, "media", "properties")

LEVELS_PER_THEME = 4
EXAM_THEMES = {3: 0, 7: 1, 11: 2}
RECIPES = {name: (title, ingredients) for name, title, ingredients in gd.RECIPES}
BONUS_WORD = {name: word for name, word, _, _ in gd.BONUSES}


def attrs(**kw):
    return "".join(" %s=%s" % (k, quoteattr(str(v))) for k, v in kw.items())


def write(path, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    text = "\n".join(lines) + "\n"
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def header(comment):
    return ['<?xml version="1.0" encoding="UTF-8"?>', "<!-- %s -->" % comment, "<root>"]


# ---------------------------------------------------------------- books

def ingredient_book():
    out = header("Every ingredient and bonus a level may put on the board. "
                 "The id is the picture key in the section scenegame; "
                 "flags left out take their defaults (matching true, the rest false).")
    out.append('    <Vector id="ingredients">')
    for name, flags in gd.INGREDIENTS:
        kw = {"name": name}
        for key in ("canBeUnripe", "hasSound", "isFruit", "isChocolate", "isPastry", "isCream"):
            if flags.get(key):
                kw[key] = "true"
        out.append('        <Ingredient id="%s"%s/>' % (name, attrs(**kw)))
    out.append("        <!-- Bonus tiles never take part in runs of ingredients. -->")
    for name, word, _, _ in gd.BONUSES:
        out.append('        <Ingredient id="%s"%s/>' % (word, attrs(name=name, matching="false")))
    out += ["    </Vector>", "</root>"]
    return out


def recipe_quality(name):
    # Quality per unit of amount. A run of three delivers 1.0 per unit, so a
    # pastry baked from runs of three alone ends near two thirds of its
    # maximum (grade 3); longer runs lift it to the full grade 4.
    return "1.4"


def cookbook():
    out = header("Recipes: the id is also the picture key of the finished pastry in "
                 "the section scenegame. quality is per unit of amount: with 1.4 "
                 "runs of three give grade 3 and longer runs reach grade 4.")
    out.append('    <Vector id="recipes">')
    for name, _title, ingredients in gd.RECIPES:
        out.append('        <Recipe id="%s">' % name)
        out.append('            <Vector id="ingredients">')
        for ing, amount in ingredients:
            out.append("                <Ingredient%s/>" % attrs(name=ing, amount=amount))
        out.append("            </Vector>")
        out.append('            <Node id="quality"%s/>' % attrs(value=recipe_quality(name)))
        out.append("        </Recipe>")
    out += ["    </Vector>", "</root>"]
    return out


def customer_book():
    out = header("Customers: happy and ecstatic are the sums of pastry grades "
                 "(1..4 each) boxed in one click that make the customer smile or beam. "
                 "Eye positions are relative to the customer picture; hint is the screen "
                 "point of the speech bubble's lower left corner.")
    out.append('    <Vector id="customers">')
    for key, c in gd.CUSTOMERS.items():
        out.append('        <Customer id="%s"%s>' % (key, attrs(happy=c["happy"], ecstatic=c["ecstatic"])))
        out.append('            <Node id="casualEyes"%s/>' % attrs(x=118, y=92))
        out.append('            <Node id="happyEyes"%s/>' % attrs(x=118, y=90))
        out.append('            <Node id="ecstaticEyes"%s/>' % attrs(x=118, y=88))
        out.append('            <Node id="hint"%s/>' % attrs(x=c["hint"][0], y=c["hint"][1]))
        out.append("        </Customer>")
    out += ["    </Vector>", "</root>"]
    return out


# ---------------------------------------------------------------- levels

def introduced_ingredients(theme):
    """Ingredient kinds known by a theme: five at first, then one more in the
    themes that need cherry (1), lemon (2) and banana (6)."""
    known = ["egg", "cream", "strawberry", "biscuit", "chocolate"]
    if theme >= 1:
        known.append("cherry")
    if theme >= 2:
        known.append("lemon")
    if theme >= 6:
        known.append("banana")
    return known


# More kinds than this on an 8 x 8 board leave too few matches to be fun.
MAX_KINDS = 7


def board_kinds(theme):
    # Five kinds on the board early, six from the fourth theme, seven in the last four.
    if theme < 4:
        return 5
    if theme < 11:
        return 6
    return 7


CHOCOLATES = [name for name, flags in gd.INGREDIENTS if flags.get("isChocolate")]
CHOCOLATE_LOVER = "chocolate lover bonus"


def recipe_ingredients(recipes):
    return {ing for r in recipes for ing, _ in RECIPES[r][1]}


def fits_chocolate_lover(theme, recipes):
    """The chocolate lover turns the board into the level's chocolates: it
    belongs where the pastries ask for chocolate and every chocolate fits
    among the theme's kinds beside what the recipes need."""
    needed = recipe_ingredients(recipes)
    room = min(MAX_KINDS, max(board_kinds(theme), len(needed)))
    return bool(needed & set(CHOCOLATES)) and len(needed | set(CHOCOLATES)) <= room


def level_ingredients(theme, recipes, level_index, chocolate_lover=False):
    needed = []
    for r in recipes:
        for ing, _ in RECIPES[r][1]:
            if ing not in needed:
                needed.append(ing)
    # The chocolate lover lays the board out from the level's chocolates and
    # needs at least two of them; a level that offers it gets them all.
    wanted = list(needed)
    if chocolate_lover:
        needed += [ing for ing in CHOCOLATES if ing not in needed]
    order = [name for name, _ in gd.INGREDIENTS]
    needed.sort(key=order.index)
    kinds = max(board_kinds(theme), len(needed))
    fillers = [i for i in introduced_ingredients(theme) if i not in needed]
    # Fillers rotate with the level so neighbouring levels feel different.
    if fillers:
        shift = level_index % len(fillers)
        fillers = fillers[shift:] + fillers[:shift]
    chosen = needed + fillers[:max(0, kinds - len(needed))]
    chosen.sort(key=order.index)
    result = []
    for ing in chosen:
        weight = 20 if ing in wanted else 16
        unripe = 0
        # Unripe fruit comes one kind at a time: cherries from level 20, bananas from level 26.
        if ing == "cherry" and level_index >= 20:
            unripe = min(30, 10 + (level_index - 20))
        if ing == "banana" and level_index >= 26:
            unripe = min(30, 10 + (level_index - 26))
        result.append((ing, weight, unripe))
    return result


def level_bonuses(level_index, chocolate_lover=True):
    known = [(at, name) for name, at in gd.BONUS_INTRODUCED_AT.items()
             if at <= level_index and (chocolate_lover or name != CHOCOLATE_LOVER)]
    known.sort()
    # The six most recent bonuses; the newest is a little more frequent.
    recent = known[-6:]
    return [(name, 2 if at == recent[-1][0] else 1) for at, name in recent]


def level_file(index, theme, slot):
    tname, _title, customer, pool = gd.THEMES[theme]
    exam = theme in EXAM_THEMES
    lines = header("Career level %d: theme %s, level %d of 4. Generated by "
                   "tools/content/make_game_data.py." % (index + 1, tname, slot + 1))
    if exam:
        n = EXAM_THEMES[theme]
        recipes = list(pool)
        pastries = 5 + 2 * n + slot
        belt_time = 46000 - 4000 * n - 1000 * slot
        lines.append("    <!-- Exam: %d pastries on the belt, all must be boxed; the belt "
                     "takes %d s from end to end. -->" % (pastries, belt_time // 1000))
    else:
        count = 3 + theme // 2 + slot // 2
        recipes = [pool[(slot + i) % len(pool)] for i in range(count)]
    lines.append('    <Vector id="recipes">')
    for r in recipes:
        lines.append("        <Recipe%s/>" % attrs(type=r))
    lines.append("    </Vector>")
    lines.append('    <Vector id="ingredients">')
    bonuses = level_bonuses(index, fits_chocolate_lover(theme, recipes))
    lover = any(name == CHOCOLATE_LOVER for name, _ in bonuses)
    for ing, weight, unripe in level_ingredients(theme, recipes, index, lover):
        kw = dict(name=ing, distribution=weight)
        if unripe:
            kw["unripeChance"] = unripe
        lines.append("        <Ingredient%s/>" % attrs(**kw))
    for bonus, weight in bonuses:
        lines.append("        <Ingredient%s/>" % attrs(name=bonus, distribution=weight))
    lines.append("    </Vector>")
    lines.append('    <Node id="theme"%s/>' % attrs(name=tname, number=theme))
    lines.append('    <Node id="customer"%s/>' % attrs(name=customer))
    if exam:
        n = EXAM_THEMES[theme]
        lines.append('    <Node id="stars"%s/>' % attrs(goal=pastries, reward=(10, 15, 20)[n] + 2 * slot))
        lines.append('    <Node id="pastries"%s/>' % attrs(start=pastries, delta=2))
        lines.append('    <Node id="duration"%s/>' % attrs(time=belt_time, delta=0))
        lines.append('    <Node id="distance"%s/>' % attrs(start=120 - 10 * n, delta=0, deviation=10))
    else:
        # Goal: two stars a pastry at first (grade 2 on average), rising to
        # about three (grade 3) by the wedding.
        factor = 2.0 + 0.065 * theme + 0.05 * slot
        lines.append('    <Node id="stars"%s/>' % attrs(goal=int(round(len(recipes) * factor))))
    # Score multiplier tiles (x3, x5) from the third theme on.
    if theme >= 2:
        x3 = "1.0" if theme < 8 else "2.0"
        x5 = "0.0" if theme < 5 else "1.0"
        lines.append('    <Node id="percentage"%s/>' % attrs(x3=x3, x5=x5))
    lines.append("</root>")
    return lines


def arcade_file(index):
    name, pool = gd.ARCADE_SETS[index]
    lines = header("Arcade set %d (%s): an endless belt. Each round orders two more "
                   "pastries, the belt is 0.8 s quicker and plates come 5 px closer; "
                   "after 40 rounds a plate still takes 8 s or more to cross. "
                   "Generated by tools/content/make_game_data.py." % (index, name))
    lines.append('    <Vector id="recipes">')
    for r in pool:
        lines.append("        <Recipe%s/>" % attrs(type=r))
    lines.append("    </Vector>")
    lines.append('    <Vector id="ingredients">')
    theme = min(14, 3 + 2 * index)
    lover = fits_chocolate_lover(theme, pool)
    for ing, weight, unripe in level_ingredients(theme, pool, 8 + 8 * index, lover):
        kw = dict(name=ing, distribution=weight)
        if unripe:
            kw["unripeChance"] = unripe
        lines.append("        <Ingredient%s/>" % attrs(**kw))
    # The arcade offers only bonuses the player has met in the career.
    for bonus, _word, _title, _text in gd.BONUSES:
        if bonus == CHOCOLATE_LOVER and not lover:
            continue
        lines.append("        <Ingredient%s/>" % attrs(name=bonus, distribution=1))
    lines.append("    </Vector>")
    lines.append('    <Node id="theme"%s/>' % attrs(name="arcade", number=15))
    lines.append('    <Node id="customer"%s/>' % attrs(name="CUSTOMER_HENRI_ARCADE"))
    lines.append('    <Node id="stars"%s/>' % attrs(goal=0))
    lines.append('    <Node id="pastries"%s/>' % attrs(start=4 + index // 2, delta=2))
    lines.append('    <Node id="duration"%s/>' % attrs(time=50000 - 2000 * index, delta=800))
    lines.append('    <Node id="distance"%s/>' % attrs(start=130 - 5 * index, delta=5, deviation=15))
    lines.append('    <Node id="percentage"%s/>' % attrs(x3="2.0", x5="1.0"))
    lines.append("</root>")
    return lines


def level_lists():
    career = header("The career: 15 themes of 4 levels, in order.")
    career.append('    <Vector id="levels">')
    for index in range(len(gd.THEMES) * LEVELS_PER_THEME):
        theme, slot = divmod(index, LEVELS_PER_THEME)
        rel = "media/levels/career/level%02d.xml" % (index + 1)
        write(os.path.join(ROOT, rel), level_file(index, theme, slot))
        career.append("        <Level%s/>" % attrs(fileName=rel))
    career += ["    </Vector>", "</root>"]
    write(os.path.join(LEVEL_DIR, "levels.xml"), career)

    arcade = header("The arcade sets, in the order in which ranks unlock them.")
    arcade.append('    <Vector id="levels">')
    for index in range(len(gd.ARCADE_SETS)):
        rel = "media/levels/arcade/arcade%d.xml" % index
        write(os.path.join(ROOT, rel), arcade_file(index))
        arcade.append("        <Level%s/>" % attrs(fileName=rel))
    arcade += ["    </Vector>", "</root>"]
    write(os.path.join(LEVEL_DIR, "arcade_levels.xml"), arcade)


# ---------------------------------------------------------------- catalogues

def tools_file():
    out = header("The tool catalogue; a tool's id is its place in the list. Images "
                 "come from the section tools: icon, icon_BIG, button and button_SHOP. "
                 "Prices suit about 2-3 stars a pastry: a first tool after the first theme.")
    out.append('    <Vector id="tools">')
    for i, (_n, _d, _s, slot, level, price) in enumerate(gd.TOOLS):
        out.append("        <Tool%s/>" % attrs(
            name="TEXT_TOOL%d_NAME" % i, description="TEXT_TOOL%d_DESC" % i,
            descriptionshort="TEXT_TOOL%d_SHORT" % i, icon="TOOL_ICON%d" % i,
            button="TOOL_BUTTON%d" % i, price=price, slot=slot, level=level))
    out += ["    </Vector>", "</root>"]
    return out


def ranks_file():
    out = header("Ranks by total score, lowest first; the names and rewards are text keys.")
    out.append('    <Vector id="ranks">')
    for i, (_t, score, _r) in enumerate(gd.RANKS):
        out.append("        <Rank%s/>" % attrs(name="TEXT_RANK%d" % i, score=score,
                                              reward="TEXT_RANK%d_REWARD" % i))
    out += ["    </Vector>", "</root>"]
    return out


def trophies_file():
    out = header("The fifteen trophies in the order the game numbers them. Record 0: "
                 "the earned button on the trophy screen and its hint; record 1: the "
                 "large picture, name and description; record 2: the button of a "
                 "trophy not yet earned.")
    out.append('    <Boolean id="SAVE_NOT_SHOWN_AS_NEW" value="true"/>')
    out.append('    <Text id="TROPHY_SECTION" value="trophies"/>')
    out.append('    <Vector id="TROPHIES">')
    for i in range(len(gd.TROPHIES)):
        col, row = i % 5, i // 5
        x, y = 110 + col * 120, 150 + row * 120
        out.append("        <Trophy>")
        out.append('            <Vector id="trophyinfos">')
        out.append("                <Info%s/>" % attrs(x=x, y=y, image="TROPHY_BUTTON%d" % i,
                                                     headerId="TEXT_TROPHY%d_NAME" % i,
                                                     textId="TEXT_TROPHY%d_HINT" % i))
        out.append("                <Info%s/>" % attrs(image="TROPHY_BIG%d" % i,
                                                     headerId="TEXT_TROPHY%d_NAME" % i,
                                                     textId="TEXT_TROPHY%d_DESC" % i))
        out.append("                <Info%s/>" % attrs(x=x, y=y, image="TROPHY_LOCKED"))
        out.append("            </Vector>")
        out.append("        </Trophy>")
    out += ["    </Vector>", "</root>"]
    return out


def hint_line(name, place):
    kw = dict(place)
    return '        <Hint id="%s"%s/>' % (name, attrs(**kw))


def hints_file():
    out = header("Henri's hints. handx/handy: where the hand points; dialogx/dialogy: "
                 "the bubble (0 means the default place); width: the bubble's own width where the template's does not suit (wider: fewer lines; narrower: more); arrow and connector as the "
                 "hint dialog knows them. Texts are TEXT_ + the hint's name. modal=\"false\": "
                 "a click beside the bubble still reaches the screen (the counter's hints "
                 "ask for a click on it).")
    out.append('    <Vector id="hints">')
    for name, _text, place in gd.HINTS:
        out.append(hint_line(name, place))
    for _name, word, _title, _text in gd.BONUSES:
        out.append(hint_line("HINT_" + word, gd.BONUS_HINT_PLACEMENT))
    out += ["    </Vector>", "</root>"]
    return out


# ---------------------------------------------------------------- texts

def data_texts():
    t = []
    for i, (_n, title, _c, _p) in enumerate(gd.THEMES):
        t.append(("TEXT_THEME%d" % i, title))
    for i, (name, _p) in enumerate(gd.ARCADE_SETS):
        t.append(("TEXT_ARCADENAME%d" % i, name))
    for name, title, _ in gd.RECIPES:
        t.append(("TEXT_RECIPE_" + name.upper(), title))
    for _name, word, title, text in gd.BONUSES:
        t.append(("TEXT_" + word, title))
        t.append(("TEXT_HINT_" + word, text))
    for key, c in gd.CUSTOMERS.items():
        t.append((key, c["title"]))
        t.append((key + "_CASUAL", c["say_casual"]))
        t.append((key + "_HAPPY", c["say_happy"]))
        t.append((key + "_ECSTATIC", c["say_ecstatic"]))
        for n, text in enumerate(c["levels"]):
            t.append(("%s_LEVEL%d" % (key, n), text))
        t.append((key + "_WON0", c["won"]))
        t.append((key + "_LOSE0", c["lose"]))
    for i, (name, desc, short, _s, _l, _p) in enumerate(gd.TOOLS):
        t.append(("TEXT_TOOL%d_NAME" % i, name))
        t.append(("TEXT_TOOL%d_DESC" % i, desc))
        t.append(("TEXT_TOOL%d_SHORT" % i, short))
    for i, (title, _s, reward) in enumerate(gd.RANKS):
        t.append(("TEXT_RANK%d" % i, title))
        t.append(("TEXT_RANK%d_REWARD" % i, reward))
    for i, (name, hint, desc) in enumerate(gd.TROPHIES):
        t.append(("TEXT_TROPHY%d_NAME" % i, name))
        t.append(("TEXT_TROPHY%d_HINT" % i, hint))
        t.append(("TEXT_TROPHY%d_DESC" % i, desc))
    for name, text, _place in gd.HINTS:
        t.append(("TEXT_" + name, text))
    return t


def text_file():
    out = header("Texts about the game's data: themes, arcade sets, recipes, bonuses, "
                 "customers, tools, ranks, trophies and hints. Generated by "
                 "tools/content/make_game_data.py; the texts of scenes and dialogs "
                 "are in commontext.xml and dynamic.xml.")
    seen = set()
    for key, value in data_texts():
        if key in seen:
            raise SystemExit("text key defined twice: " + key)
        seen.add(key)
        out.append('    <Text id="%s"%s/>' % (key, attrs(value=value)))
    out.append("</root>")
    return out


def main():
    write(os.path.join(LEVEL_DIR, "ingredientbook.xml"), ingredient_book())
    write(os.path.join(LEVEL_DIR, "cookbook.xml"), cookbook())
    write(os.path.join(LEVEL_DIR, "customerbook.xml"), customer_book())
    level_lists()
    write(os.path.join(PROP_DIR, "tools.xml"), tools_file())
    write(os.path.join(PROP_DIR, "ranks.xml"), ranks_file())
    write(os.path.join(PROP_DIR, "trophies.xml"), trophies_file())
    write(os.path.join(PROP_DIR, "hints.xml"), hints_file())
    write(os.path.join(PROP_DIR, "text.xml"), text_file())


if __name__ == "__main__":
    main()
