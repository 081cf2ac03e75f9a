#!/usr/bin/python3
"""The second half of the whole journey (whole_journey_e2e.py runs it after the
first), run with the real game and content
under a virtual X server (started by the caller) and driven only through the
window, with screenshots of every step ("whole-" in the output folder):
- a returning player (written beforehand by the test tool MAKE_PLAYER): the
  help paged through, a changed setting kept with OK and the trophy cabinet
  from the selection; in a level the pause and its resume, and the menu with
  its help, settings, trophies and resume;
- the window's close box in the middle of the level, the quit question
  answered yes, and after a restart the offer to continue, taken: the level
  is back as it was left, and the setting still holds;
- a player one level before the end of the career, with a saved game of the
  last level far on (written by MAKE_PLAYER with the game's own save code):
  the offer to continue taken, the level won by reading the board from the
  screen, the results, the map's trophy, the game's end with the family
  picture and the chef's words, and the credits rolled to their end.
The game's sound goes through SDL's disk audio driver into a file, which is
listened to: music in the selection and the level, silence while paused,
the music back after the resume. The game's log may hold no warning or error.
Usage: whole_journey_part2.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR"""
import array
import math
import os
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

from PIL import ImageStat

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_player  # noqa: E402
from e2e_screen import (check, click, env, failures, grab, in_game, logged_problems, mean, near_white_share,  # noqa: E402
                        on_map, quit_game, setup, shot, wait_for)

# Where the game's dialogs put the left edge of their pink frame (at y 300):
# each dialog has its own width, so the edge tells which one is open.
FRAME_HELP = 106
FRAME_SETTINGS = 138
FRAME_TROPHIES = 48
FRAME_MENU = 188
FRAME_PAUSE = 174
FRAME_QUESTION = 126
FRAME_RESULTS = 96
FRAME_TROPHY_AWARDED = 136
FRAME_GAME_END = 148
FRAME_CREDITS = 80

# Selection scene.
SELECTION_CAREER = (335, 305)
SELECTION_HELP = (280, 466)
SELECTION_SETTINGS = (450, 466)
SELECTION_TROPHIES = (450, 522)
# Map and level information.
MAP_START = (703, 567)
INFO_START = (588, 475)
# Game scene.
PAUSE_BUTTON = (772, 452)
MENU_BUTTON = (772, 504)
MENU_RESUME = (400, 198)
MENU_HELP = (400, 258)
MENU_SETTINGS = (400, 318)
MENU_TROPHIES = (400, 378)
# Dialogs.
HELP_PREV = (170, 480)
HELP_NEXT = (630, 480)
HELP_OK = (400, 480)
SETTINGS_OK = (250, 439)
SETTINGS_CANCEL = (426, 439)
SETTINGS_MUSIC_PLUS = (620, 358)
TROPHIES_OK = (400, 538)
QUESTION_YES = (268, 353)
RESULTS_NEXT = (398, 542)
MUSIC_TRACK = (385, 350, 615, 366)
CUSTOMER_WORDS = (250, 120, 600, 300)
# The trophy card's OK (lower when its text takes two lines).
TROPHY_OK_BOX = (300, 400, 500, 480)

_game = ""
_make_player = ""
_source = ""
_home = ""


def frame_left(image, y=300):
    """The x of the leftmost pink dialog frame pixel on row y, or None."""
    for x in range(0, 400):
        r, g, b = image.getpixel((x, y))
        if abs(r - 203) < 14 and abs(g - 77) < 14 and abs(b - 114) < 14:
            return x
    return None


def closed(condition, text, seconds=10):
    """Waits for a dialog to have closed onto what `condition` looks for, and
    for its fade to end, so that the next click reaches the screen beneath."""
    check(wait_for(condition, seconds) is not None, text)
    time.sleep(1.2)


def dialog_is(edge):
    """A dialog's frame edge lies within a few pixels of its place in every scene."""
    def shown(image):
        left = frame_left(image)
        return left is not None and abs(left - edge) <= 4
    return shown


def no_dialog(image):
    return frame_left(image) is None


def selection(image):
    """The chef stands by the counter of the selection scene, not darkened."""
    return near_white_share(image, (620, 300, 790, 560)) > 0.05 and no_dialog(image)


def round_button_enabled(image, centre):
    """A round arrow button is green when enabled and grey when not."""
    x, y = centre
    r, g, b = mean(image, (x - 16, y + 6, x + 16, y + 16))
    return g > r + 20


def music_thumb_x(image):
    """The middle of the pink thumb on the music slider's track, or None."""
    left, top, right, bottom = MUSIC_TRACK
    xs = []
    for y in range(top, bottom, 2):
        for x in range(left, right):
            r, g, b = image.getpixel((x, y))
            if r > 200 and b > 100 and r - g > 60:
                xs.append(x)
    return sum(xs) / len(xs) if xs else None


def pink_button(image, box):
    """The middle of the deep pink of an OK button inside the box, or None.
    Only rows with a button's width of that pink count: a pink tile on the
    board is narrower."""
    left, top = box[0], box[1]
    region = image.crop(box)
    width = region.size[0]
    rows = {}
    for index, (r, g, b) in enumerate(region.getdata()):
        if 160 < r < 230 and g < 70 and 80 < b < 120 and b - g > 25:
            rows.setdefault(index // width, []).append(index % width)
    # The tallest band of such rows: a frame's pink edge is a thin one.
    bands, band, previous = [], [], None
    for y in sorted(y for y, xs in rows.items() if len(xs) >= 80):
        if previous is not None and y - previous > 2:
            bands.append(band)
            band = []
        band.append(y)
        previous = y
    bands.append(band)
    band = max(bands, key=len)
    if len(band) < 10:
        return None
    xs = [x for y in band for x in rows[y]]
    return left + sum(xs) // len(xs), top + sum(band) // len(band)


def steady_pink_button(box, seconds):
    """A pink OK button inside the box that stays where it is for half a
    second (not a pink tile falling through), or None."""
    end = time.time() + seconds
    while time.time() < end:
        first = pink_button(grab(), box)
        time.sleep(0.5)
        second = pink_button(grab(), box)
        if first and second and abs(first[0] - second[0]) < 3 and abs(first[1] - second[1]) < 3:
            return second
    return None


def stored_music_volume():
    """The music volume in the player's settings file, or None."""
    path = os.path.join(_home, "config", "Quillmark", "Games", "Tortelune", "settings.xml")
    if not os.path.isfile(path):
        return None
    for value in ElementTree.parse(path).getroot().iter("value"):
        if value.attrib.get("name") == "musicvolume":
            return int(value.attrib.get("data", "-1"))
    return None


def audio_mark():
    """How much sound the game has played so far: its sound goes to a file
    through SDL's disk audio driver (16-bit stereo at 44100 Hz)."""
    path = env.get("SDL_DISKAUDIOFILE", "")
    return os.path.getsize(path) if os.path.isfile(path) else 0


def audio_level(start, end):
    """The root mean square of the samples played between two marks, or None
    when nothing was played then."""
    start, end = start // 4 * 4, end // 4 * 4
    if end <= start:
        return None
    with open(env["SDL_DISKAUDIOFILE"], "rb") as sound:
        sound.seek(start)
        data = sound.read(end - start)
    samples = array.array("h", data)
    return math.sqrt(sum(value * value for value in samples) / len(samples)) if samples else None


def listen(seconds):
    """The level of what the game plays in the next seconds."""
    start = audio_mark()
    time.sleep(seconds)
    return audio_level(start, audio_mark())


def board_picture(image):
    return image.crop((340, 24, 740, 424))


def step(name, condition, text, seconds=20, settle=0.8):
    """Waits for the screen to show what `condition` looks for, lets the
    animation settle, writes the screenshot and checks it still shows it."""
    seen = wait_for(condition, seconds)
    time.sleep(settle)
    image = shot(name)
    check(seen is not None and condition(image), text)
    return image


def start_to_selection(tag):
    process = subprocess.Popen([_game], env=env, stderr=subprocess.PIPE, text=True)
    loading = wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120, 60)
    check(loading is not None, tag + ": the loading scene is shown")
    time.sleep(7)
    click(400, 300)
    check(wait_for(selection, 90) is not None, tag + ": the selection scene greets the player")
    time.sleep(1.5)
    return process


def selection_to_level(tag, continuing):
    """The career door, START, and either the offer to continue (taken) or
    the level information's Start; waits until the level is shown."""
    click(*SELECTION_CAREER)
    check(wait_for(on_map, 60, 0.1) is not None, tag + ": the career door leads to the map")
    time.sleep(2.5)
    click(*MAP_START)
    if continuing:
        step(tag + "-continue-offer", dialog_is(FRAME_QUESTION), tag + ": START offers to continue the level")
        click(*QUESTION_YES)
    else:
        check(wait_for(lambda image: not no_dialog(image), 20) is not None,
              tag + ": START opens the level information")
        time.sleep(1.0)
        click(*INFO_START)
    check(wait_for(in_game, 40) is not None, tag + ": the level is shown")


def quit_by_close_box(process, tag):
    quit_game(process, tag, lambda: step(tag + "-quit-question", dialog_is(FRAME_QUESTION),
                                        tag + ": the close box asks whether to quit", 10))


def finish(process):
    """Makes sure the process has ended; returns what it wrote on stderr."""
    if process.poll() is None:
        process.kill()
        process.wait()
    return process.stderr.read()


def page_through_help(tag, opener):
    click(*opener)
    first = step(tag + "-help-page1", dialog_is(FRAME_HELP), tag + ": the help opens")
    check(not round_button_enabled(first, HELP_PREV) and round_button_enabled(first, HELP_NEXT),
          tag + ": the help's first page can only go on")
    click(*HELP_NEXT)
    second = step(tag + "-help-page2", dialog_is(FRAME_HELP), tag + ": the help's next page shows", 5)
    check(round_button_enabled(second, HELP_PREV) and not round_button_enabled(second, HELP_NEXT),
          tag + ": the help's last page can only go back")
    check(ImageStat.Stat(board_picture(first)).mean != ImageStat.Stat(board_picture(second)).mean,
          tag + ": the help's pages differ")
    click(*HELP_PREV)
    back = wait_for(lambda image: not round_button_enabled(image, HELP_PREV), 5)
    check(back is not None, tag + ": the help goes back to its first page")
    click(*HELP_OK)


def returning_player():
    """Returns the board's tiles as the player left them, the music thumb's
    place and what the game wrote on stderr."""
    if subprocess.run([_make_player, _source, "Anna", "4", "trophies"], env=env).returncode != 0:
        check(False, "the returning player is written")
        return None, None, ""
    process = start_to_selection("returning")
    board = thumb = None
    try:
        shot("returning-selection")
        music = listen(2.0)
        check(music is not None and music > 50, "music plays in the selection (level %s)" % music)
        # The help, paged through, from the selection.
        page_through_help("selection", SELECTION_HELP)
        closed(selection, "the help's OK goes back to the selection")
        # The settings: the music a little louder, kept with OK.
        click(*SELECTION_SETTINGS)
        before = step("selection-settings", dialog_is(FRAME_SETTINGS), "the settings open from the selection")
        for _ in range(5):
            click(*SETTINGS_MUSIC_PLUS)
            time.sleep(0.3)
        time.sleep(0.5)
        changed = shot("selection-settings-changed")
        thumb = music_thumb_x(changed)
        check(thumb is not None and music_thumb_x(before) is not None and thumb > music_thumb_x(before) + 40,
              "the music slider's + moves its thumb to the right")
        click(*SETTINGS_OK)
        closed(selection, "the settings' OK closes them")
        check(stored_music_volume() not in (None, 50), "OK stores the changed music volume in the settings file")
        # The trophy cabinet, with the two trophies the player has.
        click(*SELECTION_TROPHIES)
        step("selection-trophies", dialog_is(FRAME_TROPHIES), "the trophy cabinet opens from the selection", settle=1.5)
        click(*TROPHIES_OK)
        closed(selection, "the trophy cabinet's OK closes it")
        shot("selection-after-dialogs")

        selection_to_level("returning", continuing=False)
        time.sleep(1)
        # The customer's words at the start; her OK lets the level begin.
        button = steady_pink_button(CUSTOMER_WORDS, 30)
        check(button is not None, "the customer's words have their OK")
        shot("level-intro")
        if button:
            click(*button)
        time.sleep(2.5)
        shot("level-play")
        # The pause covers the level; a click anywhere resumes it.
        playing = listen(1.5)
        check(playing is not None and playing > 50, "the level plays its music (level %s)" % playing)
        click(*PAUSE_BUTTON)
        step("level-pause", dialog_is(FRAME_PAUSE), "the pause button pauses the level")
        time.sleep(0.5)
        paused = listen(2.0)
        check(paused is not None and paused < 5, "the pause silences the game (level %s)" % paused)
        click(100, 560)
        step("level-resumed", lambda image: no_dialog(image) and in_game(image), "a click resumes the paused level", 10)
        time.sleep(0.5)
        resumed = listen(2.0)
        check(resumed is not None and resumed > 50, "the music comes back after the pause (level %s)" % resumed)
        # The menu, and from it the help, the settings and the trophies; each
        # closes back to the open menu.
        click(*MENU_BUTTON)
        step("level-menu", dialog_is(FRAME_MENU), "the menu button opens the menu")
        page_through_help("menu", MENU_HELP)
        closed(dialog_is(FRAME_MENU), "the help closes back to the menu")
        shot("menu-after-help")
        click(*MENU_SETTINGS)
        settings = step("menu-settings", dialog_is(FRAME_SETTINGS), "the settings open from the menu")
        check(thumb is not None and abs((music_thumb_x(settings) or 0) - thumb) < 6,
              "the settings in the level show the changed music volume")
        click(*SETTINGS_CANCEL)
        closed(dialog_is(FRAME_MENU), "the settings' Cancel goes back to the menu")
        shot("menu-after-settings")
        click(*MENU_TROPHIES)
        step("menu-trophies", dialog_is(FRAME_TROPHIES), "the trophy cabinet opens from the menu", settle=1.5)
        click(*TROPHIES_OK)
        closed(dialog_is(FRAME_MENU), "the trophy cabinet closes back to the menu")
        shot("menu-after-trophies")
        click(*MENU_RESUME)
        image = step("level-after-menu", lambda image: no_dialog(image) and in_game(image), "the menu's Resume plays on",
                     10, settle=2.0)
        board = board_cells(image)[0]
        # The window's close box in the middle of the level: yes saves it and quits.
        quit_by_close_box(process, "mid-level")
    finally:
        errors = finish(process)
    return board, thumb, errors


def continue_after_restart(board, thumb):
    process = start_to_selection("restarted")
    try:
        # The changed setting holds after the restart.
        click(*SELECTION_SETTINGS)
        settings = step("restarted-settings", dialog_is(FRAME_SETTINGS), "the settings open after the restart")
        check(thumb is not None and abs((music_thumb_x(settings) or 0) - thumb) < 6,
              "the changed music volume holds after a restart")
        click(*SETTINGS_CANCEL)
        closed(selection, "the settings' Cancel closes them")
        selection_to_level("restarted", continuing=True)
        time.sleep(2.5)
        image = shot("restarted-level-resumed")
        now = board_cells(image)[0]
        same = sum(1 for row in range(8) for column in range(8)
                   if board is not None and now[row][column] == board[row][column])
        check(same >= 60, "the resumed level shows the board as it was left (%d of 64 tiles alike)" % same)
        quit_by_close_box(process, "restarted")
    finally:
        errors = finish(process)
    return errors


def look_of(image, box):
    return ImageStat.Stat(image.crop(box)).mean


def alike(first, second):
    return sum(abs(a - b) for a, b in zip(first, second)) < 30


def board_cells(image):
    """The 8 x 8 tiles, each named by the index of its look in the returned
    list of looks (equal tiles, equal index), read from the middle of each cell."""
    looks, cells = [], []
    for row in range(8):
        line = []
        for column in range(8):
            x, y = 365 + 50 * column, 48 + 50 * row
            colour = look_of(image, (x - 15, y - 15, x + 15, y + 15))
            kind = next((index for index, look in enumerate(looks) if alike(colour, look)), None)
            if kind is None:
                looks.append(colour)
                kind = len(looks) - 1
            line.append(kind)
        cells.append(line)
    return cells, looks


results_shown = dialog_is(FRAME_RESULTS)


def last_level_and_game_end():
    if subprocess.run([_make_player, _source, "Zoe", "58", "advanced"], env=env).returncode != 0:
        check(False, "the player before the end of the career is written")
        return ""
    process = start_to_selection("last")
    try:
        shot("last-selection")
        selection_to_level("last", continuing=True)
        time.sleep(2.5)
        shot("last-level-resumed")
        moves = e2e_player.play_level(until=results_shown, seconds=180, log=print)["moves"]
        print("the last level took %d moves through the window" % moves)
        results = step("last-level-results", results_shown, "the last level ends in its results", 30, settle=0.5)
        # The reveal ends with its Next button.
        done = wait_for(lambda image: mean(image, (340, 528, 460, 556))[1] > mean(image, (340, 528, 460, 556))[0] + 15,
                        30)
        check(done is not None, "the results' reveal ends with Next")
        results = shot("last-level-results-done")
        check(results_shown(results), "the results stay until Next")
        click(*RESULTS_NEXT)
        # The map celebrates the finished theme and hands out the last trophy.
        check(wait_for(on_map, 30, 0.1) is not None, "Next goes back to the map")
        time.sleep(1.0)
        shot("last-map-celebration")
        trophy = step("last-map-trophy", dialog_is(FRAME_TROPHY_AWARDED), "the map hands out the career's last trophy",
                      30, settle=1.5)
        button = pink_button(trophy, TROPHY_OK_BOX)
        check(button is not None, "the trophy's card has its OK")
        if button:
            click(*button)
        # The end of the game: the family picture with confetti and the chef's words.
        step("game-end", dialog_is(FRAME_GAME_END), "the game's end opens over the selection", 30, settle=2.0)
        # The chef's words come in, then their OK.
        button = steady_pink_button((180, 80, 550, 250), 15)
        check(button is not None, "the chef's last words have their OK")
        shot("game-end-confetti")
        if button:
            click(*button)
        # The credits roll up and close by themselves; then the selection is back.
        step("credits-start", dialog_is(FRAME_CREDITS), "the chef's OK rolls the credits", 10, settle=1.0)
        time.sleep(12)
        step("credits-middle", dialog_is(FRAME_CREDITS), "the credits roll on", 5, settle=0)
        time.sleep(10)
        step("credits-end", dialog_is(FRAME_CREDITS), "the credits reach their end", 5, settle=0)
        step("after-credits", selection, "the credits close by themselves onto the selection", 30, settle=1.0)
        quit_by_close_box(process, "after-credits")
    finally:
        errors = finish(process)
    return errors


def part_two(game, tool, out, make_player, source):
    """Runs the whole second half; returns the list of failed checks."""
    global _game, _make_player, _source, _home
    _game, _make_player, _source = game, make_player, source
    _home = setup(tool, out, "tortelune-whole-2-", "whole-")
    # The game's sound, played through SDL's disk driver into a file, can be
    # listened to: music, the pause's silence.
    env.update(SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=os.path.join(_home, "sound.raw"))
    started = time.time()
    errors = ""
    board, thumb, more = returning_player()
    errors += more
    errors += continue_after_restart(board, thumb)
    errors += last_level_and_game_end()
    for line in logged_problems(_home):
        print("logged: " + line)
        check(False, "the game logs no warning or error: " + line)
    if os.path.isfile(env["SDL_DISKAUDIOFILE"]):
        os.remove(env["SDL_DISKAUDIOFILE"])
    print("part two took %.0f s" % (time.time() - started))
    if failures:
        print(errors)
    return list(failures)


if __name__ == "__main__":
    if len(sys.argv) < 6:
        print(__doc__)
        sys.exit(2)
    failed = part_two(*sys.argv[1:6])
    if failed:
        sys.exit(1)
    print("whole journey, part two, passed; screenshots in " + sys.argv[3])
