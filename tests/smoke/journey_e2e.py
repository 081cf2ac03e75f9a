#!/usr/bin/python3
"""The first visit of a new player, run with the real game and content under a
virtual X server (started by the caller): the loading scene and its click, the
new-player dialog (no cancel, OK disabled until a name is typed), a typed name
confirmed with Enter, the player selection greeting the player, the career
door and the map with the chef's guided hints, level 1 from START, the
menu's stop, and after a restart the offer to carry on with it. Screenshots
of each step are written into the output folder; the player file must hold
the new player.
The loading scene's click and the first frames need the real content loaded,
so the waits are generous.
Usage: journey_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_screen import (check, env, failures, in_game, mean, near_white_share, on_map,  # noqa: E402
                        question_frame, quit_game, run_tool, setup, shot, wait_for)

game, tool, out = sys.argv[1:4]
home = setup(tool, out, "tortelune-journey-")


def pink_button(image, box):
    """The middle of the deep pink of an OK button inside the box, or None."""
    left, top = box[0], box[1]
    region = image.crop(box)
    width = region.size[0]
    xs, ys = [], []
    for index, (r, g, b) in enumerate(region.getdata()):
        # The button's deep pink, not the red of a strawberry or a cherry.
        if 160 < r < 230 and g < 70 and 80 < b < 120 and b - g > 25:
            xs.append(index % width)
            ys.append(index // width)
    if len(xs) < 200:
        return None
    return left + sum(xs) // len(xs), top + sum(ys) // len(ys)


def reach_map_again():
    """A later start: the loading scene's click, the selection, the career door."""
    process = subprocess.Popen([game], env=env, stderr=subprocess.PIPE, text=True)
    wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120, 60)
    time.sleep(7)
    run_tool("click", "400", "300")
    again = wait_for(lambda image: near_white_share(image, (620, 300, 790, 560)) > 0.05, 90)
    check(again is not None, "after a restart the selection greets the player")
    time.sleep(1.5)
    run_tool("click", "335", "305")
    check(wait_for(on_map, 60, 0.1) is not None, "after a restart the career door leads to the map")
    time.sleep(2.5)
    return process


game_process = subprocess.Popen([game], env=env, stderr=subprocess.PIPE, text=True)
try:
    # The loading scene (night sky at the top), then its click once loaded.
    loading = wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120, 60)
    check(loading is not None, "the loading scene is shown")
    # A click while loading is remembered and acts once loading ends.
    time.sleep(7)
    run_tool("click", "400", "300")
    # First run: the name dialog over the shop, without a cancel button.
    # The name field's cream lies where the striped arcade door stands.
    dialog = wait_for(lambda image: min(mean(image, (440, 268, 530, 292))) > 215, 90)
    check(dialog is not None, "the name dialog is shown in the middle")
    # The dialog takes keys once its fade-in has ended.
    time.sleep(1.5)
    shot("journey-name-dialog")
    for key in ("A", "n", "n", "a"):
        run_tool("key", key)
        time.sleep(0.15)
    time.sleep(0.4)
    shot("journey-name-typed")
    run_tool("key", "return")
    # The name dialog has gone and the chef stands by the counter.
    selection = wait_for(lambda image: near_white_share(image, (620, 300, 790, 560)) > 0.05, 40)
    check(selection is not None, "the chef is in the selection scene")
    time.sleep(1.0)
    shot("journey-selection")
    # The chef's welcome hint points at the career door; its OK closes it.
    run_tool("click", "430", "213")
    time.sleep(1.5)
    # The player list, with the new player framed; OK closes it.
    run_tool("click", "110", "468")
    players = wait_for(lambda image: mean(image, (240, 150, 560, 450))[0] > 200, 40)
    check(players is not None, "the player list is shown")
    time.sleep(1.0)
    shot("journey-player-list")
    run_tool("click", "400", "470")
    time.sleep(2.0)
    # The career door leads to the map.
    run_tool("click", "335", "305")
    # The map's sky is blue where the shop's wallpaper was pink.
    reached = wait_for(lambda image: mean(image, (0, 60, 800, 160))[2] > mean(image, (0, 60, 800, 160))[0] + 10, 60, 0.1)
    check(reached is not None, "the career door leads to the map")
    chef = wait_for(lambda image: near_white_share(image, (600, 280, 800, 600)) > 0.06 or
                    near_white_share(image, (0, 280, 200, 600)) > 0.06, 40, 0.1)
    check(chef is not None, "the chef comes into the map")
    if chef:
        chef.save(os.path.join(out, "journey-map-chef.png"))
    # After the intro pan the first theme waits on page 1.
    time.sleep(8)
    image = shot("journey-map")
    # The chef's map hint closes; the map pans to the first theme and he asks for a click on START.
    button = pink_button(image, (140, 80, 540, 300))
    check(button is not None, "the chef's map hint has its OK")
    if button:
        run_tool("click", str(button[0]), str(button[1]))
    time.sleep(8)
    image = shot("journey-map-click-start")
    button = pink_button(image, (200, 100, 700, 400))
    check(button is not None, "the chef's START hint has its OK")
    if button:
        run_tool("click", str(button[0]), str(button[1]))
    time.sleep(3)
    # START plays level 1 at once (a new player has no level information).
    run_tool("click", "703", "567")
    check(wait_for(in_game, 40) is not None, "START starts level 1")
    # The customer's words get their OK once the board has filled.
    time.sleep(1)
    shot("journey-level1-intro")
    image = wait_for(lambda image: pink_button(image, (150, 120, 700, 330)) is not None, 30)
    button = pink_button(image, (150, 120, 700, 330)) if image else None
    check(button is not None, "the customer's words have their OK")
    if button:
        run_tool("click", str(button[0]), str(button[1]))
    time.sleep(2.5)
    shot("journey-level1")
    # The menu's stop, answered yes, keeps the level and goes back to the map.
    run_tool("click", "772", "504")
    time.sleep(1.5)
    run_tool("click", "400", "447")
    check(wait_for(question_frame, 10) is not None, "the menu's stop asks first")
    time.sleep(0.8)
    run_tool("click", "268", "353")
    check(wait_for(on_map, 30, 0.1) is not None, "the stop goes back to the map")
    time.sleep(2.5)
    shot("journey-map-after-stop")
    quit_game(game_process, "first start")
finally:
    if game_process.poll() is None:
        game_process.kill()
        game_process.wait()
errors = game_process.stderr.read()

# Started again, START offers to carry on with the stopped level.
game_process = reach_map_again()
try:
    run_tool("click", "703", "567")
    check(wait_for(question_frame, 20) is not None, "after a restart START offers to carry on")
    time.sleep(1.0)
    shot("journey-continue-offer")
    quit_game(game_process, "after the restart")
finally:
    if game_process.poll() is None:
        game_process.kill()
        game_process.wait()
errors += game_process.stderr.read()
players = os.path.join(home, "data", "Quillmark", "Games", "Tortelune", "players", "players.plrs.!")
check(os.path.isfile(players), "the players file is written")
log_folder = os.path.join(home, "data", "Quillmark", "Games", "Tortelune")
if failures:
    print(errors)
    sys.exit(1)
print("journey run passed; screenshots in " + out)
