#!/usr/bin/python3
"""A returning player around a level, run with the real game and content
under a virtual X server (started by the caller). The player (progress up to
level 5, hints off) is written beforehand by the test tool MAKE_PLAYER. On
the map START opens the level information; its Cancel and Esc keep the map;
its Start starts the level; after a few swaps the menu's stop (answered yes)
goes back to the map, where START offers to carry on with the level. The
game is quit and started again: the offer is there again, and taking it
resumes the level with its plates. Screenshots of each step are written into
the output folder.
Usage: level_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR"""
import os
import subprocess
import sys
import time

from PIL import ImageStat

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_screen import (check, click, env, failures, grab, in_game, logged_problems, mean, near_white_share,  # noqa: E402
                        on_map, question_frame, quit_game, run_tool, setup, shot, wait_for)

game, tool, out, make_player, source = sys.argv[1:6]
home = setup(tool, out, "tortelune-level-", "level-")


def dialog_frame(image):
    """A big pink dialog frame (level information) stands at the left edge of the dialog."""
    r, g, b = mean(image, (96, 200, 106, 400))
    return r > 190 and g < 150 and b > 110


def board_cell(column, row):
    """The middle of a cell of the 8 x 8 board."""
    return 365 + 50 * column, 48 + 50 * row


def plates_shown(image):
    """The plate stack beside the countertop: light plates before the brown cupboard."""
    pixels = list(image.crop((515, 452, 600, 474)).getdata())
    return sum(1 for r, g, b in pixels if r > 200 and g > 200 and b > 200) / float(len(pixels)) > 0.33


def trophy_frame(image):
    """The pink frame of "A new trophy!" left of its medal."""
    r, g, b = mean(image, (137, 240, 147, 380))
    return r > 190 and g < 150 and b > 110 and not question_frame(image)


def menu_button_lit(image):
    """The menu button is lit, not under the veil of a dialog."""
    return mean(image, (755, 490, 790, 520))[0] > 150


def close_trophies():
    """A lucky swap may earn a trophy (a long chain of combos), whose dialog
    holds the level until its OK; the level is played on once none is up."""
    for _ in range(4):
        image = wait_for(lambda image: menu_button_lit(image) or trophy_frame(image), 10)
        if image is None or menu_button_lit(image):
            return image is not None
        shot("trophy")
        time.sleep(1.0)
        click(*TROPHY_OK)
        time.sleep(1.5)
    return menu_button_lit(grab())


def print_game_output():
    """Each start of the game: whether it still runs, its exit code and its error output."""
    for process, path in started:
        print("game %s, exit code %s; its error output:" % ("running" if process.poll() is None else "ended",
                                                            process.returncode))
        with open(path, errors="replace") as written:
            print(written.read())


def stop_run(tag):
    """Ends the run at a step the rest depends on: what the game wrote and
    logged so far is printed, with the screen, so the cause can be seen."""
    shot("failed-" + tag)
    print_game_output()
    for line in logged_problems(home):
        print("logged: " + line)
    for process, _ in started:
        if process.poll() is None:
            process.kill()
            process.wait()
    raise SystemExit(1)


def gate(condition, text, tag):
    if not check(condition, text):
        stop_run(tag)


def start_and_reach_map(tag):
    path = os.path.join(home, tag + "-stderr.txt")
    with open(path, "w") as stderr:
        process = subprocess.Popen([game], env=env, stderr=stderr, text=True)
    started.append((process, path))
    loading = wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120, 60)
    gate(loading is not None, tag + ": the loading scene is shown", tag + "-loading")
    time.sleep(7)
    click(400, 300)
    selection = wait_for(lambda image: near_white_share(image, (620, 300, 790, 560)) > 0.05, 90)
    gate(selection is not None, tag + ": the selection scene greets the returning player", tag + "-selection")
    time.sleep(1.5)
    shot(tag + "-selection")
    click(335, 305)
    reached = wait_for(on_map, 60, 0.1)
    gate(reached is not None, tag + ": the career door leads to the map", tag + "-map")
    time.sleep(2.5)
    shot(tag + "-map")
    return process


MAP_START = (703, 567)
INFO_CANCEL = (208, 475)
INFO_START = (588, 475)
MENU_BUTTON = (772, 504)
MENU_STOP = (400, 447)
QUESTION_YES = (268, 353)
CUSTOMER_OK = (415, 220)
TROPHY_OK = (350, 430)
started = []

if subprocess.run([make_player, source, "Anna", "4"], env=env).returncode != 0:
    print("the returning player could not be written")
    sys.exit(1)

process = start_and_reach_map("first")
try:
    # START opens the level information of the next level; Cancel keeps the map.
    click(*MAP_START)
    info = wait_for(dialog_frame, 20)
    check(info is not None, "START opens the level information")
    time.sleep(1.0)
    shot("info")
    click(*INFO_CANCEL)
    time.sleep(1.5)
    image = shot("info-cancelled")
    check(on_map(image) and not dialog_frame(image), "Cancel closes the level information and keeps the map")
    # Esc does the same.
    click(*MAP_START)
    check(wait_for(dialog_frame, 20) is not None, "START opens the level information again")
    time.sleep(1.0)
    run_tool("key", "Escape")
    time.sleep(1.5)
    image = shot("info-escaped")
    check(on_map(image) and not dialog_frame(image), "Esc closes the level information and keeps the map")
    # Start starts the level.
    click(*MAP_START)
    check(wait_for(dialog_frame, 20) is not None, "START opens the level information a third time")
    time.sleep(1.0)
    click(*INFO_START)
    game_screen = wait_for(in_game, 30)
    check(game_screen is not None, "Start starts the level")
    time.sleep(3)
    shot("intro")
    # The customer's words at the start; her OK lets the level begin.
    click(*CUSTOMER_OK)
    time.sleep(2.5)
    before = shot("play")
    check(plates_shown(before), "the plate stack stands beside the countertop")
    # A few swaps of neighbouring tiles (a swap without a match swaps back).
    for column, row in ((0, 7), (3, 6), (5, 5), (2, 4), (6, 7)):
        click(*board_cell(column, row))
        time.sleep(0.3)
        click(*board_cell(column + 1, row))
        time.sleep(1.5)
    check(close_trophies(), "no dialog is left over the level after the swaps")
    after = shot("swapped")
    check(ImageStat.Stat(before.crop((340, 20, 740, 430))).mean != ImageStat.Stat(after.crop((340, 20, 740, 430))).mean,
          "the swaps change the board")
    # The menu's stop, answered yes: the level is kept and the map is back.
    click(*MENU_BUTTON)
    time.sleep(1.5)
    shot("menu")
    click(*MENU_STOP)
    question = wait_for(question_frame, 10)
    gate(question is not None, "the menu's stop asks first", "stop-question")
    time.sleep(0.8)
    shot("stop-question")
    click(*QUESTION_YES)
    gate(wait_for(on_map, 30, 0.1) is not None, "the stop goes back to the map", "map-after-stop")
    time.sleep(2.5)
    shot("map-after-stop")
    # START offers to carry on with the stopped level.
    click(*MAP_START)
    check(wait_for(question_frame, 20) is not None, "START offers to carry on after the stop")
    time.sleep(1.0)
    shot("continue-offer")
    quit_game(process, "first")
finally:
    if process.poll() is None:
        process.kill()
        process.wait()

# Started again, the offer is there; yes resumes the level as it was left.
process = start_and_reach_map("second")
try:
    click(*MAP_START)
    check(wait_for(question_frame, 20) is not None, "after a restart START offers to carry on")
    time.sleep(1.0)
    shot("continue-offer-after-restart")
    click(*QUESTION_YES)
    resumed = wait_for(in_game, 30)
    check(resumed is not None, "yes resumes the level")
    time.sleep(3.0)
    image = shot("resumed")
    check(plates_shown(image), "the resumed level shows its plate stack")
    quit_game(process, "second")
finally:
    if process.poll() is None:
        process.kill()
        process.wait()
# A normal session that plays a level logs nothing amiss. The virtual
# server has no sound card, so the one line that says so is expected.
logged = logged_problems(home)
for line in logged:
    print("logged: " + line)
check(not logged, "a session that plays a level logs no warning or error")
if failures:
    print_game_output()
    sys.exit(1)
print("level run passed; screenshots in " + out)
