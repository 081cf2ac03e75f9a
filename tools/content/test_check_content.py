#!/usr/bin/python3
"""Self-test of the content check: a copy of the game's data passes, and each
kind of fault planted in a copy is reported as an error."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
CHECK = os.path.join(ROOT, "tools", "content", "check_content.py")

SECTIONS = ["splash", "music", "preloading", "default", "dialogs", "sceneselection", "trophies",
            "scenegame", "sounds", "tools", "scenemap", "scenetoolshop", "scenearcade"]


def small_resources():
    """The game's sections with their pictures, fonts and sounds, all pointing
    at three fixture files; music is left out."""
    real = ET.parse(os.path.join(ROOT, "media", "properties", "resources.xml")).getroot()
    lines = ['<root>', '<Vector id="Sections">']
    for section in real.find("Vector"):
        lines.append('<Section name="%s">' % section.get("name"))
        for r in section:
            if r.tag == "Font":
                lines.append('<Font id="%s" file="media/fonts/dialog.xml"/>' % r.get("id"))
            elif r.tag == "Sound":
                lines.append('<Sound id="%s" file="media/sounds/fixture.wav"/>' % r.get("id"))
            elif r.tag == "Image":
                lines.append('<Image id="%s" file="media/images/fixture.png"/>' % r.get("id"))
        lines.append('</Section>')
    lines += ['</Vector>', '</root>']
    return "\n".join(lines) + "\n"


class ContentCheckTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        for rel in ("media/properties", "media/levels"):
            shutil.copytree(os.path.join(ROOT, rel), os.path.join(self.tmp, rel))
        os.makedirs(os.path.join(self.tmp, "media", "fonts"))
        for f in ("dialog.xml", "dialog_0_mask.png"):
            shutil.copy(os.path.join(ROOT, "media", "fonts", f), os.path.join(self.tmp, "media", "fonts", f))
        os.makedirs(os.path.join(self.tmp, "tools", "content"))
        shutil.copy(os.path.join(ROOT, "tools", "content", "tuning_keys.txt"),
                    os.path.join(self.tmp, "tools", "content"))
        os.makedirs(os.path.join(self.tmp, "media", "sounds"))
        os.makedirs(os.path.join(self.tmp, "media", "images"))
        shutil.copy(os.path.join(ROOT, "media", "images", "icon.png"), self.path("media/images/fixture.png"))
        os.makedirs(os.path.join(self.tmp, "splash"))
        shutil.copy(os.path.join(ROOT, "splash", "branding.xml"), self.path("splash/branding.xml"))
        self.write("media/sounds/fixture.wav", "")
        self.write("media/properties/resources.xml", small_resources())

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def path(self, rel):
        return os.path.join(self.tmp, rel)

    def read(self, rel):
        with open(self.path(rel), encoding="utf-8") as f:
            return f.read()

    def write(self, rel, text):
        with open(self.path(rel), "w", encoding="utf-8") as f:
            f.write(text)

    def replace(self, rel, old, new, count=1):
        text = self.read(rel)
        self.assertIn(old, text, "fixture text not found in %s" % rel)
        self.write(rel, text.replace(old, new, count))

    def run_check(self):
        p = subprocess.run([sys.executable, CHECK, self.tmp], capture_output=True, text=True)
        errors = [l for l in p.stdout.splitlines() if l.startswith("error: ")]
        return p.returncode, errors

    def assertReports(self, pattern):
        code, errors = self.run_check()
        self.assertEqual(code, 1, "the check passed although %r was planted" % pattern)
        self.assertTrue(any(re.search(pattern, e) for e in errors),
                        "no error matching %r in:\n%s" % (pattern, "\n".join(errors)))

    def test_game_data_passes(self):
        code, errors = self.run_check()
        self.assertEqual(code, 0, "\n".join(errors))

    def test_missing_tuning_key(self):
        self.replace("media/properties/default.xml", '<Integer id="SWAP_DURATION" value="220"/>', "")
        self.assertReports(r"tuning key SWAP_DURATION is not defined")

    def test_tuning_key_defined_twice(self):
        self.replace("media/properties/text.xml", "</root>",
                     '<Integer id="GRID_WIDTH" value="9"/>\n</root>')
        self.assertReports(r"tuning key GRID_WIDTH is defined 2 times")

    def test_tuning_key_of_wrong_type(self):
        self.replace("media/properties/default.xml", '<Integer id="CELL_WIDTH" value="50"/>',
                     '<Float id="CELL_WIDTH" value="50"/>')
        self.assertReports(r"tuning key CELL_WIDTH .* is a Float, not a Integer")

    def test_tuning_key_without_number(self):
        self.replace("media/properties/default.xml", '<Integer id="GRID_HEIGHT" value="8"/>',
                     '<Integer id="GRID_HEIGHT" value="eight"/>')
        self.assertReports(r"tuning key GRID_HEIGHT .* no integer value")

    def test_hexadecimal_numbers_are_accepted(self):
        self.replace("media/properties/default.xml", '<Integer id="GRID_HEIGHT" value="8"/>',
                     '<Integer id="GRID_HEIGHT" value="0x8"/>')
        self.replace("media/properties/default.xml", '<Integer id="GRID_WIDTH" value="8"/>',
                     '<Integer id="GRID_WIDTH" value="#8"/>')
        code, errors = self.run_check()
        self.assertEqual(code, 0, "\n".join(errors))

    def test_unparsable_xml(self):
        self.replace("media/levels/cookbook.xml", "</root>", "</rot>")
        self.assertReports(r"cookbook.xml: cannot be read as XML")

    def test_level_with_unknown_recipe(self):
        self.replace("media/levels/career/level01.xml", 'type="strawberrycake"', 'type="mudpie"')
        self.assertReports(r"level01.xml: unknown recipe 'mudpie'")

    def test_level_missing_an_ingredient_its_recipe_needs(self):
        self.replace("media/levels/career/level01.xml", '<Ingredient name="egg" distribution="20"/>', "")
        self.assertReports(r"level01.xml: recipe \w+ needs egg")

    def test_level_with_unknown_customer(self):
        self.replace("media/levels/career/level02.xml", 'name="CUSTOMER_HENRI"', 'name="CUSTOMER_NOBODY"')
        self.assertReports(r"level02.xml: unknown customer")

    def test_unripe_chance_on_an_ingredient_that_cannot_be_unripe(self):
        self.replace("media/levels/career/level01.xml", '<Ingredient name="egg" distribution="20"/>',
                     '<Ingredient name="egg" distribution="20" unripeChance="10"/>')
        self.assertReports(r"'egg' cannot be unripe")

    def test_exam_without_belt_settings(self):
        text = self.read("media/levels/career/level13.xml")
        self.write("media/levels/career/level13.xml", re.sub(r'\s*<Node id="duration"[^>]*/>', "", text))
        self.assertReports(r"level13.xml: a belt level without duration")

    def test_level_list_naming_a_missing_file(self):
        os.remove(self.path("media/levels/career/level07.xml"))
        self.assertReports(r"file 'media/levels/career/level07.xml' does not exist")

    def test_resource_file_in_upper_case(self):
        self.replace("media/properties/resources.xml", 'file="media/fonts/dialog.xml"',
                     'file="media/fonts/Dialog.xml"')
        self.assertReports(r"is not lower case")

    def test_picture_that_does_not_split_into_its_frames(self):
        shutil.copy(os.path.join(ROOT, "media", "images", "icon.png"), self.path("media/fonts/icon.png"))
        self.replace("media/properties/resources.xml", '<Section name="splash">',
                     '<Section name="splash"><Image id="ICON" file="media/fonts/icon.png" nrofframes="7"/>')
        self.assertReports(r"icon.png is 64 pixels high, not a whole number of 7 frames")

    def test_picture_named_by_the_data_but_not_a_resource(self):
        self.replace("media/properties/resources.xml", '<Image id="cherry_UNRIPE" ', '<Image id="cherry_GREEN" ')
        self.assertReports(r"picture cherry_UNRIPE is not in the resource section scenegame")

    def test_picture_named_by_a_layout_but_not_a_resource(self):
        self.replace("media/properties/dynamic.xml", 'image="LOAD_LOGO"', 'image="LOAD_LOGO_OLD"')
        self.assertReports(r"dynamic.xml: picture LOAD_LOGO_OLD is not in the resource section preloading")

    def test_layout_font_missing_from_its_section(self):
        self.replace("media/properties/dialogs.xml", 'font="FONT_HEADER" section="default"',
                     'font="FONT_HEADER" section="dialogs_typo"')
        self.assertReports(r"font FONT_HEADER is not a font of the resource section dialogs_typo")

    def test_button_sound_missing(self):
        self.replace("media/properties/dialogs.xml", 'clicksound="SOUND_BUTTON" soundsection="default"/>',
                     'clicksound="SOUND_BUTTON_TYPO" soundsection="default"/>')
        self.assertReports(r"clicksound SOUND_BUTTON_TYPO is not a sound")

    def test_font_layer_image_missing(self):
        os.remove(self.path("media/fonts/dialog_0_mask.png"))
        self.assertReports(r"layer of media/fonts/dialog.xml: file 'media/fonts/dialog_0_mask.png'")

    def test_missing_resource_section(self):
        self.replace("media/properties/resources.xml", '<Section name="sounds">', '<Section name="noises">')
        self.assertReports(r"the section sounds that the game requests is missing")

    def test_text_key_of_a_tool_missing(self):
        self.replace("media/properties/text.xml", 'id="TEXT_TOOL3_NAME"', 'id="TEXT_TOOL3_NAMES"')
        self.assertReports(r"tools.xml: text key 'TEXT_TOOL3_NAME' is not defined")

    def test_text_key_of_a_layout_missing(self):
        self.replace("media/properties/commontext.xml", 'id="TEXT_LOADING"', 'id="TEXT_LOADING_OLD"')
        self.assertReports(r"text key TEXT_LOADING is not defined")

    def test_customer_text_missing(self):
        self.replace("media/properties/text.xml", 'id="CUSTOMER_HENRI_EXAM_LEVEL11"', 'id="X"')
        self.assertReports(r"CUSTOMER_HENRI_EXAM_LEVEL11 is not defined")

    def test_missing_hint(self):
        text = self.read("media/properties/hints.xml")
        self.write("media/properties/hints.xml", re.sub(r'\s*<Hint id="HINT_SWAP"[^>]*/>', "", text))
        self.assertReports(r"hint HINT_SWAP is missing")

    def test_hint_pointing_off_screen(self):
        text = self.read("media/properties/hints.xml")
        self.write("media/properties/hints.xml",
                   re.sub(r'(<Hint id="HINT_SWAP" handx=")\d+', r'\g<1>900', text))
        self.assertReports(r"HINT_SWAP has handx '900', off the 800 x 600 screen")

    def test_missing_scene(self):
        self.replace("media/properties/dynamic.xml", 'id="SCENE_MAP"', 'id="SCENE_MAPS"')
        self.assertReports(r"scene SCENE_MAP is not defined")

    def test_gift_tool_with_a_price(self):
        text = self.read("media/properties/tools.xml")
        lines = text.split("\n")
        tool_lines = [i for i, l in enumerate(lines) if "<Tool " in l]
        lines[tool_lines[6]] = lines[tool_lines[6]].replace('price="0"', 'price="5"')
        self.write("media/properties/tools.xml", "\n".join(lines))
        self.assertReports(r"tool 6 is a gift")


if __name__ == "__main__":
    unittest.main()
