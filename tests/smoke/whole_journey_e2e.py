#!/usr/bin/python3
"""The player's journey through the real game and content under a virtual X
server (started by the caller), driven only through the window: the first
run with a new player whose name is typed, the map's guided start with the
chef's hints; then, the same player nearer the first rank (the score topped
up by MAKE_PLAYER between two runs, since one level does not reach it),
career level 1 played by the window player and won, its results with the
rank-up, the map's celebration and news, the shop's first tool, the arcade
door opening and an arcade run played to its results. Then the second half
(whole_journey_part2.py): a returning player's menus, the close box in a
level and its continue after a restart, the last level of the career won and
the game's end with the credits.
Screenshots of every step ("whole-*.png") are written into the output
folder; any warning or error in the game's log fails the run.
Usage: whole_journey_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR"""
import os
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_player  # noqa: E402
from e2e_screen import (check, click, env, failures, grab, in_game, logged_problems, mean, near_white_share,  # noqa: E402
                        on_map, quit_game, run_tool, setup, shot, wait_for)

PLAYER = "Anna"
# Where the steps click (game points of the 800 x 600 frame).
CAREER_DOOR = (335, 305)
ARCADE_DOOR = (525, 320)
MAP_START = (703, 567)
MAP_SHOP = (400, 567)
MAP_BACK = (96, 567)
SHOP_BACK = (100, 536)
ARCADE_BOWL0 = (250, 262)
RESULTS_NEXT = (400, 548)
# Hints and words stand above the scenes' own buttons at the bottom.
ABOVE_BUTTONS = (0, 0, 800, 530)

started = time.time()
processes = []


def log(text):
    print("%6.1f %s" % (time.time() - started, text))
    sys.stdout.flush()


def loading_shown(image):
    top = mean(image, (0, 0, 800, 100))
    return top[2] > 60 and top[0] < 120


def selection_shown(image):
    """The chef stands by the counter of the selection scene."""
    return near_white_share(image, (620, 300, 790, 560)) > 0.05


def start_game(tag):
    # The game's own output goes to a file: a full pipe would stall it.
    errors = open(os.path.join(out, "whole-game-output-%d.txt" % len(processes)), "w")
    process = subprocess.Popen([game], env=env, stdout=errors, stderr=subprocess.STDOUT)
    processes.append(process)
    check(wait_for(loading_shown, 60) is not None, tag + ": the loading scene is shown")
    # A click while loading is remembered and acts once loading ends.
    time.sleep(7)
    click(400, 300)
    return process


def click_pink(box, what, seconds=20):
    """Waits for a pink OK inside the box and clicks it."""
    image = wait_for(lambda image: e2e_player.pink_ok(image, box) is not None, seconds)
    button = e2e_player.pink_ok(image, box) if image else None
    check(button is not None, what + " has its OK")
    if button:
        click(*button)
    return button is not None


def first_visit():
    """A new player: the name dialog, a typed name, the selection's greeting."""
    dialog = wait_for(lambda image: min(mean(image, (440, 268, 530, 292))) > 215, 90)
    check(dialog is not None, "the name dialog is shown at the first run")
    time.sleep(1.5)
    shot("01-name-dialog")
    for key in PLAYER:
        run_tool("key", key)
        time.sleep(0.15)
    time.sleep(0.4)
    shot("02-name-typed")
    run_tool("key", "return")
    check(wait_for(selection_shown, 40) is not None, "the chef greets the new player")
    time.sleep(1.0)
    shot("03-selection")
    # The chef's welcome hint points at the career door; its OK closes it.
    click_pink(ABOVE_BUTTONS, "the chef's welcome")
    time.sleep(1.5)


def guided_start():
    """The career door and the map with the chef's hints, up to his ask for START."""
    click(*CAREER_DOOR)
    check(wait_for(on_map, 60, 0.1) is not None, "the career door leads to the map")
    # After the intro pan the first theme waits on page 1 and the chef speaks.
    click_pink(ABOVE_BUTTONS, "the chef's map hint", 30)
    time.sleep(0.5)
    shot("04-map-hint")
    wait_for(lambda image: e2e_player.pink_ok(image, ABOVE_BUTTONS) is not None, 20)
    time.sleep(0.5)
    shot("05-map-click-start")
    click_pink(ABOVE_BUTTONS, "the chef's START hint", 20)
    time.sleep(2)


def top_up_score():
    """The player, with the guided start behind her, a little below the first rank's score."""
    ranks = ElementTree.parse(os.path.join(source, "media", "properties", "ranks.xml")).getroot()
    first_rank = sorted(int(rank.attrib["score"]) for rank in ranks.iter("Rank"))[1]
    score = first_rank - 600
    written = subprocess.run([make_player, source, PLAYER, "-1", str(score)], env=env).returncode == 0
    check(written, "the player's score is topped up to %d" % score)


def returning_to_map(tag):
    check(wait_for(selection_shown, 90) is not None, tag + ": the selection greets the returning player")
    time.sleep(1.5)
    click(*CAREER_DOOR)
    check(wait_for(on_map, 60, 0.1) is not None, tag + ": the career door leads to the map")
    time.sleep(2.5)


def play_to_results(tag, seconds=240):
    result = e2e_player.play_level(until=e2e_player.level_ended, seconds=seconds, log=log)
    log("%s: %d moves, %d bonuses, %d packagings, %d dismissed" % (
        tag, result["moves"], result["bonuses"], result["packagings"], result["dismissed"]))
    check(result["ended"], tag + " is played to its results")
    return result


def next_shown(image):
    """The results' green Next button at the bottom of the dialog."""
    r, g, b = mean(image, (350, 536, 450, 556))
    return g > r + 10 and g > b + 30


def rank_up_shown(image):
    return e2e_player.dialog_shown(image, "DIALOG_RANKUP")


def level_one_with_rank_up():
    """START plays level 1 at once; the window player wins it; the results
    count up to the first rank, and the rank-up shows."""
    click(*MAP_START)
    check(wait_for(in_game, 40) is not None, "START starts level 1")
    time.sleep(1)
    shot("06-level1-intro")
    play_to_results("level 1")
    time.sleep(1.0)
    shot("07-level1-results")
    rank_up = wait_for(rank_up_shown, 40, 0.3)
    check(rank_up is not None, "the results bring a rank-up")
    time.sleep(1.0)
    shot("08-level1-rank-up")
    check(wait_for(next_shown, 40) is not None, "the results end with Next")
    time.sleep(1.0)
    shot("09-level1-results-revealed")
    click(*RESULTS_NEXT)
    check(wait_for(on_map, 40, 0.1) is not None, "Next leads back to the map")


def answer_hints(name, first, quiet=6, limit=8):
    """Clicks the OK of each hint, trophy or word as it comes, until none
    comes for `quiet` seconds; a screenshot of each before its OK. Returns
    how many there were."""
    count = 0
    while count < limit:
        image = wait_for(lambda image: e2e_player.pink_ok(image, ABOVE_BUTTONS) is not None, quiet)
        if image is None:
            break
        # Shown whole once its fade-in has ended.
        time.sleep(1.0)
        shot("%02d-%s-%d" % (first + count, name, count))
        click_pink(ABOVE_BUTTONS, name)
        count += 1
        time.sleep(1.0)
    return count


def map_celebration():
    """Back on the map after the first win: the new trophy, the chef's cheer
    for the next level, his news of the arcade set that opened and of the
    shop's tools: each waits for its OK."""
    news = answer_hints("map-news", 10)
    check(news >= 4, "the map shows the trophy, the cheer, the arcade's and the shop's news (%d shown)" % news)
    shot("19-map-after-news")


def first_tool():
    """The shop's welcome: the first tool, a present, is the player's."""
    click(*MAP_SHOP)
    check(wait_for(lambda image: e2e_player.pink_ok(image, ABOVE_BUTTONS) is not None, 30) is not None,
          "the shop welcomes the player")
    hints = answer_hints("shop-hint", 20)
    check(hints >= 2, "the shop gives the first tool and tells of the tools (%d hints)" % hints)
    time.sleep(1.0)
    shot("25-shop-first-tool")
    click(*SHOP_BACK)
    check(wait_for(on_map, 40, 0.1) is not None, "the shop's Back leads to the map")
    time.sleep(2.0)


def selection_wallpaper(image):
    """The selection scene's pink striped wallpaper at the top left."""
    r, g, b = mean(image, (0, 40, 120, 200))
    return r > 215 and 175 < g < 210 and 165 < b < 200


def wait_for_results(seconds):
    """The first grab that shows the level's results within `seconds`, or None.
    The last swap's cascade may still earn a trophy, whose dialog holds the
    belt until its OK: what asks for an OK on the way is clicked away."""
    end = time.time() + seconds
    while time.time() < end:
        image = grab()
        if e2e_player.level_ended(image):
            return image
        ok = e2e_player.pink_ok(e2e_player.game_view(image))
        if ok:
            log("clicks the pink button at %d,%d while the belt runs over" % ok)
            e2e_player.click_game(*ok)
        time.sleep(0.5)
    return None


def arcade_door_and_run():
    """Back to the selection, where the arcade door opens; an arcade run of
    the first set, played for a while, then left to the belt until its results."""
    click(*MAP_BACK)
    check(wait_for(selection_wallpaper, 40, 0.1) is not None, "Back leads from the map to the selection")
    for step in range(5):
        shot("30-arcade-door-%d" % step)
        time.sleep(0.5)
    time.sleep(2)
    shot("31-arcade-door-open")
    click(*ARCADE_DOOR)
    # The first visit: the chef's welcome to the arcade.
    click_pink(ABOVE_BUTTONS, "the chef's arcade welcome", 30)
    time.sleep(1)
    shot("32-arcade-scene")
    click(*ARCADE_BOWL0)
    time.sleep(2)
    shot("33-arcade-info")
    run_tool("key", "return")
    check(wait_for(in_game, 40) is not None, "the arcade set starts its run")
    time.sleep(2)
    shot("34-arcade-intro")
    # The belt never ends while pastries are boxed: after a while of play
    # the hands rest, and the belt runs over.
    result = e2e_player.play_level(until=e2e_player.level_ended, seconds=45, log=log)
    log("the arcade run: %d moves, %d bonuses, %d packagings, %d dismissed" % (
        result["moves"], result["bonuses"], result["packagings"], result["dismissed"]))
    check(result["moves"] > 5, "the arcade run is played")
    shot("35-arcade-played")
    ended = wait_for_results(300)
    log("the arcade run has ended")
    check(ended is not None, "the arcade run ends with its results")
    time.sleep(1)
    shot("36-arcade-results")
    time.sleep(6)
    shot("37-arcade-results-revealed")


def part_one():
    process = start_game("first run")
    first_visit()
    guided_start()
    quit_game(process, "first run")
    top_up_score()
    process = start_game("second run")
    returning_to_map("second run")
    level_one_with_rank_up()
    map_celebration()
    first_tool()
    arcade_door_and_run()
    quit_game(process, "second run")


def read_log_problems(home):
    logged = logged_problems(home)
    for line in logged:
        print("logged: " + line)
    check(not logged, "the journey logs no warning or error")


if __name__ == "__main__":
    game, tool, out, make_player, source = sys.argv[1:6]
    home = setup(tool, out, "tortelune-whole-", "whole-")
    try:
        part_one()
    finally:
        for process in processes:
            if process.poll() is None:
                process.kill()
                process.wait()
    read_log_problems(home)
    # The second half: a returning player's menus, the close box in a level
    # and its continue, the last level won and the game's end with the credits.
    import whole_journey_part2  # noqa: E402
    whole_journey_part2.part_two(game, tool, out, make_player, source)
    if failures:
        for index in range(len(processes)):
            with open(os.path.join(out, "whole-game-output-%d.txt" % index), errors="replace") as output:
                print(output.read()[-4000:])
        sys.exit(1)
    print("whole journey passed in %.0f s; screenshots in %s" % (time.time() - started, out))
