#!/usr/bin/python3
"""Runs the real game with the real content under a virtual X server (started
by the caller), the way a player meets it: the splash, the loading scene, a
click, then the window's close box and the quit question, answered yes.
Screenshots of each step are written into the output folder as PNG files.
Checks the exit code and the files the game wrote.
Usage: startup_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER"""
import os
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab, ImageStat

game, tool, out = sys.argv[1:4]
os.makedirs(out, exist_ok=True)
home = tempfile.mkdtemp(prefix="tortelune-e2e-")
for folder in ("config", "data", "run"):
    os.makedirs(os.path.join(home, folder), mode=0o700)
env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
           XDG_RUNTIME_DIR=home + "/run", SDL_VIDEODRIVER="x11")
failures = []


def check(condition, text):
    if not condition:
        failures.append(text)
        print("FAILED: " + text)


def shot(name):
    image = ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).convert("RGB")
    image.save(os.path.join(out, name + ".png"))
    return image


def run_tool(*arguments, timeout_ms=10000):
    return subprocess.run([tool, "Tortelune", str(timeout_ms), "any", *arguments], env=env).returncode


def wait_for(predicate, seconds):
    end = time.time() + seconds
    while time.time() < end:
        image = ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).convert("RGB")
        if predicate(image):
            return image
        time.sleep(0.2)
    return None


game_process = subprocess.Popen([game], env=env, stderr=subprocess.PIPE, text=True)
try:
    # The splash: the cream cover with the first picture on it (the desktop
    # is 800 x 600, so the game fills it).
    splash = wait_for(lambda image: ImageStat.Stat(image.crop((0, 0, 800, 100))).mean[0] > 200 and
                      ImageStat.Stat(image.crop((0, 0, 800, 100))).mean[2] > 150, 15)
    check(splash is not None, "the splash picture is shown")
    if splash:
        splash.save(os.path.join(out, "e2e-splash.png"))
    # The loading scene: the night sky of the title picture, dark at the top.
    loading = wait_for(lambda image: ImageStat.Stat(image.crop((0, 0, 800, 100))).mean[2] > 60 and
                       ImageStat.Stat(image.crop((0, 0, 800, 100))).mean[0] < 120, 20)
    check(loading is not None, "the loading scene is shown")
    if loading:
        # Past the transition's fade, with the bar and the birds.
        time.sleep(1.0)
        shot("e2e-loading")
    time.sleep(6)
    shot("e2e-loaded")
    # A click anywhere zooms into the shop and opens the player selection.
    run_tool("click", "400", "300")
    time.sleep(4)
    shot("e2e-selection")
    # The close box asks the quit question; a second close asks nothing more.
    run_tool("close")
    time.sleep(0.3)
    run_tool("close")
    time.sleep(1.2)
    shot("e2e-quit-question")
    check(game_process.poll() is None, "the game waits for the answer")
    run_tool("key", "return")
    try:
        game_process.wait(timeout=15)
    except subprocess.TimeoutExpired:
        check(False, "the game ends after the yes answer")
finally:
    if game_process.poll() is None:
        game_process.kill()
        game_process.wait()
errors = game_process.stderr.read()
check(game_process.returncode == 0, "exit code 0 (was %s)" % game_process.returncode)
game_folder = os.path.join(home, "data", "Quillmark", "Games", "Tortelune")
for path in ("players/players.plrs.!", "players/scores.xml.!", "_temp/gd.xml"):
    check(os.path.isfile(os.path.join(game_folder, path)), path + " is written")
settings = os.path.join(home, "config", "Quillmark", "Games", "Tortelune", "settings.xml")
check(os.path.isfile(settings) and "fullscreen" in open(settings).read(), "the settings are written")
if failures:
    print(errors)
    sys.exit(1)
print("end-to-end run passed; screenshots in " + out)
