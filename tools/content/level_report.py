#!/usr/bin/python3
"""Prints the difficulty curve of the career and the arcade sets from the
committed level files: pastries, ingredient units to deliver, board kinds,
star goal against the most stars the pastries can give, bonuses and unripe
fruit. A designer's view of the data; nothing here is checked."""

import os
import xml.etree.ElementTree as ET

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def load(rel):
    return ET.parse(os.path.join(ROOT, rel)).getroot()


def node(root, name):
    for e in root:
        if e.get("id") == name:
            return e
    return None


def main():
    recipes = {}
    for r in node(load("media/levels/cookbook.xml"), "recipes"):
        recipes[r.get("id")] = sum(int(i.get("amount")) for i in node(r, "ingredients"))
    for list_file, title in (("media/levels/levels.xml", "career"), ("media/levels/arcade_levels.xml", "arcade")):
        print("%s\n%-4s %-12s %8s %6s %5s %5s %6s %-24s %s" % (title, "no", "theme", "pastries", "units",
              "kinds", "goal", "of max", "customer", "bonuses / unripe"))
        for n, entry in enumerate(node(load(list_file), "levels")):
            level = load(entry.get("fileName"))
            names = [r.get("type") for r in node(level, "recipes")]
            pastries = node(level, "pastries")
            count = int(pastries.get("start")) if pastries is not None else len(names)
            units = sum(recipes[r] for r in names)
            kinds = bonuses = 0
            unripe = []
            for i in node(level, "ingredients"):
                if "bonus" in i.get("name"):
                    bonuses += 1
                else:
                    kinds += 1
                    if i.get("unripeChance"):
                        unripe.append("%s %s%%" % (i.get("name"), i.get("unripeChance")))
            goal = int(node(level, "stars").get("goal"))
            print("%-4d %-12s %8d %6d %5d %5d %6d %-24s %d / %s" % (
                n + 1, node(level, "theme").get("name"), count, units, kinds, goal, 4 * count,
                node(level, "customer").get("name"), bonuses, ", ".join(unripe) or "-"))
        print()


if __name__ == "__main__":
    main()
