#!/usr/bin/python3
"""Runs the real game with the real content under a virtual X server (started
by the caller, without a window manager), the way a player meets it.

Scenarios:
  normal      the splash, the loading scene, a click, then the window's close
              box and the quit question, answered by clicking "Yes"; a normal
              start and quit log no warning
  sigterm     the game is sent SIGTERM in the loading scene: it saves what a
              quit saves and ends at once, without a question
  unwritable  the data folder cannot be written: a message box says so once,
              with the system's reason; the game then runs on

MODE is the mode the settings ask for: "fullscreen" or "windowed" (a desktop
of at most 800 x 600 forces full screen). Screenshots of each step are
written into the output folder as PNG files named after the run.
Checks the window's real size and place, the picture's edges, where clicks
land, the exit code and the files the game wrote.
Usage: startup_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER WIDTHxHEIGHT MODE SCENARIO"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab, ImageStat

game, tool, out, screen, mode, scenario = sys.argv[1:7]
screen_width, screen_height = (int(value) for value in screen.split("x"))
run_name = "%s-%s-%s" % (screen, mode, scenario)
os.makedirs(out, exist_ok=True)
home = tempfile.mkdtemp(prefix="tortelune-e2e-")
for folder in ("config", "data", "run"):
    os.makedirs(os.path.join(home, folder), mode=0o700)
data_home = home + "/data"
if scenario == "unwritable":
    # A file where the data folder should be: not even root can write there.
    data_home = home + "/blocked"
    with open(data_home, "w") as blocker:
        blocker.write("not a folder")
config_folder = os.path.join(home, "config", "Quillmark", "Games", "Tortelune")
os.makedirs(config_folder)
with open(os.path.join(config_folder, "settings.xml"), "w") as settings:
    settings.write('<?xml version="1.0" encoding="UTF-8" ?>\n<settings>\n'
                   '  <value key="" name="fullscreen" type="number" data="%d" />\n</settings>\n'
                   % (1 if mode == "fullscreen" else 0))
# The dummy audio driver: a machine without a sound card is not what is tested here.
env = dict(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=data_home,
           XDG_RUNTIME_DIR=home + "/run", SDL_VIDEODRIVER="x11", SDL_AUDIODRIVER="dummy")
failures = []
step_number = [0]


def check(condition, text):
    if not condition:
        failures.append(text)
        print("FAILED: " + text)
    return condition


def run_tool(*arguments, title="Tortelune", timeout_ms=10000):
    return subprocess.run([tool, title, str(timeout_ms), "any", *arguments], env=env,
                          capture_output=True, text=True)


def window_geometry():
    result = run_tool("geometry")
    values = {}
    for line in result.stdout.splitlines():
        words = line.split()
        if words and words[0] in ("GEOMETRY", "ICON"):
            values[words[0]] = [int(word) for word in words[1:]]
    return values.get("GEOMETRY"), values.get("ICON")


def grab():
    return ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).convert("RGB")


def shot(name, image=None):
    step_number[0] += 1
    image = image or grab()
    image.save(os.path.join(out, "%s-%d-%s.png" % (run_name, step_number[0], name)))
    return image


class Picture:
    """The game's 800 x 600 picture inside its window on the screen."""

    def __init__(self, geometry):
        self.x, self.y, self.width, self.height = geometry
        self.scale = min(self.width / 800.0, self.height / 600.0)
        self.left = self.x + (self.width - 800 * self.scale) / 2
        self.top = self.y + (self.height - 600 * self.scale) / 2

    def to_screen(self, x, y):
        return int(self.left + x * self.scale), int(self.top + y * self.scale)

    def to_window(self, x, y):
        screen_x, screen_y = self.to_screen(x, y)
        return screen_x - self.x, screen_y - self.y

    def mean(self, image, box):
        left, top = self.to_screen(box[0], box[1])
        right, bottom = self.to_screen(box[2], box[3])
        return ImageStat.Stat(image.crop((left, top, max(right, left + 1), max(bottom, top + 1)))).mean


def wait_for(predicate, seconds):
    end = time.time() + seconds
    while time.time() < end:
        image = grab()
        if predicate(image):
            return image
        time.sleep(0.2)
    return None


def wait_for_shop_front(seconds):
    """True once the shop front (its sign board brown, not the night sky)
    stands still in the middle of the picture."""
    end = time.time() + seconds
    previous = None
    while time.time() < end:
        image = grab()
        middle = picture.mean(image, (250, 200, 550, 380))
        sign = picture.mean(image, (330, 310, 470, 335))
        if previous and sign[2] < 110 and all(abs(a - b) < 3 for a, b in zip(middle, previous)):
            return True
        previous = middle
        time.sleep(0.8)
    return False


def cream(colour):
    return colour[0] > 200 and colour[1] > 160 and colour[2] > 140


def night_sky(colour):
    # Blue above red: the shop's wallpaper, darkened behind the new player's
    # name dialog, is dark too but stays red.
    return colour[2] > 60 and colour[0] < 120 and colour[2] > colour[0]


def find_button(image, picture, wanted):
    """The centre (logical) of the first long run of button-coloured pixels
    in the lower half of the dialog area."""
    for y in range(300, 420, 4):
        run = []
        for x in range(100, 700, 2):
            if wanted(image.getpixel(picture.to_screen(x, y))):
                run.append(x)
            elif len(run) > 40:
                break
            else:
                run = []
        if len(run) > 40:
            return (run[0] + run[-1]) // 2, y
    return None


def pink_button(colour):
    return colour[0] > 180 and colour[1] < 110 and 70 < colour[2] < 160


# Standard error goes to a file: a pipe read only at the end would fill and
# stop the game.
stderr_path = os.path.join(home, "stderr.txt")
stderr_file = open(stderr_path, "w")
game_process = subprocess.Popen([game], env=env, stderr=stderr_file, text=True)
try:
    if scenario == "unwritable":
        # The message box comes before anything else, once.
        box = run_tool("geometry", title="Tortelune: progress cannot be saved", timeout_ms=20000)
        check(box.returncode == 0, "a message box tells that progress cannot be saved")
        time.sleep(0.5)
        shot("message-box")
        run_tool("key", "return", title="Tortelune: progress cannot be saved")
        time.sleep(1.0)
        again = run_tool("none", title="Tortelune: progress cannot be saved", timeout_ms=1500)
        check(again.returncode != 0, "the message box is shown once")

    geometry, icon = window_geometry()
    check(geometry is not None, "the game window is found")
    expected_full = mode == "fullscreen" or (screen_width <= 800 and screen_height <= 600)
    if geometry:
        if expected_full:
            check(geometry == [0, 0, screen_width, screen_height],
                  "full screen covers the whole %s screen (window at %s)" % (screen, geometry))
        else:
            check(geometry[2:] == [800, 600], "the window is 800 x 600 (was %s)" % geometry)
    check(icon is not None and icon[0] > 0 and icon[1] > 0, "the window has an icon (%s)" % icon)
    picture = Picture(geometry or [0, 0, screen_width, screen_height])

    # While the message box of an unwritable folder waits for its answer the
    # game plays on behind it, so how much of the splash and the loading scene
    # is left to see depends on the machine: the other runs check those.
    if scenario != "unwritable":
        # The splash: the cream cover, then the first picture (the logo, whose
        # dark moon disc reaches up to y 90) fading in over it, its corners in
        # the window's corners (nothing cut off).
        cover = wait_for(lambda image: cream(picture.mean(image, (0, 0, 800, 60))), 20)
        check(cover is not None, "the splash cover is shown")
        splash = wait_for(lambda image: night_sky(picture.mean(image, (370, 105, 430, 125))) and
                          cream(picture.mean(image, (0, 0, 800, 60))), 10)
        check(splash is not None, "the splash picture is shown")
        if splash:
            shot("splash", splash)
            for corner in ((0, 0, 20, 20), (780, 0, 800, 20), (0, 580, 20, 600), (780, 580, 800, 600)):
                check(cream(picture.mean(splash, corner)), "the splash reaches the corner %s" % (corner,))
        # The second picture (420 x 180, centred) stands alone on the cover: the
        # first (whose dark moon disc reaches up to y 90) has faded out.
        card = wait_for(lambda image: cream(picture.mean(image, (370, 105, 430, 125))) and
                        picture.mean(image, (300, 384, 500, 386))[2] < 120, 12)
        if check(card is not None, "the second splash picture stands alone on the cover"):
            shot("splash-second", card)

        # The loading scene: the night sky of the title picture, dark at the top.
        loading = wait_for(lambda image: night_sky(picture.mean(image, (0, 0, 800, 100))), 20)
        check(loading is not None, "the loading scene is shown")
        if loading:
            time.sleep(1.0)
            shot("loading")

    if scenario == "sigterm":
        time.sleep(1.0)
        game_process.send_signal(signal.SIGTERM)
        try:
            game_process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            shot("after-sigterm")
            check(False, "the game ends on SIGTERM")
    else:
        # Loaded: the picture has panned up to the shop front and stands
        # still; clicks count from then on.
        check(wait_for_shop_front(40), "the title pans to the shop front")
        time.sleep(1.0)
        shot("loaded")
        # A click anywhere zooms into the shop and opens the player selection.
        click_x, click_y = picture.to_window(400, 300)
        run_tool("click", str(click_x), str(click_y))
        time.sleep(4)
        selection = shot("selection")
        check(not night_sky(picture.mean(selection, (0, 0, 800, 100))), "the click left the loading scene")
        # The close box asks the quit question; a second close asks nothing more.
        run_tool("close")
        time.sleep(0.3)
        run_tool("close")
        time.sleep(1.2)
        question = shot("quit-question")
        check(game_process.poll() is None, "the game waits for the answer")
        yes = find_button(question, picture, pink_button)
        if check(yes is not None, "the quit question shows its yes button"):
            # A click on "Yes" where the player sees it: clicks land where they are aimed.
            run_tool("click", *(str(value) for value in picture.to_window(*yes)))
        try:
            game_process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            shot("after-yes")
            check(False, "the game ends after a click on yes")
finally:
    if game_process.poll() is None:
        game_process.kill()
        game_process.wait()
    stderr_file.close()
    stderr_text = open(stderr_path, errors="replace").read()

check(game_process.returncode == 0, "exit code 0 (was %s)" % game_process.returncode)
game_folder = os.path.join(data_home, "Quillmark", "Games", "Tortelune")
if scenario == "unwritable":
    check("progress cannot be saved" in stderr_text, "the unwritable folder is logged")
else:
    for path in ("players/players.plrs.!", "players/scores.xml.!", "_temp/gd.xml"):
        check(os.path.isfile(os.path.join(game_folder, path)), path + " is written")
settings_text = open(os.path.join(config_folder, "settings.xml")).read()
check("totalplayingtime" in settings_text, "the settings are written")

# A normal start and quit log no warning. A display without a window manager
# refuses the desktop full-screen size; the fallback says so.
logged = stderr_text
for log_file in glob.glob(os.path.join(game_folder, "_temp", "log", "*.log")):
    logged += open(log_file, errors="replace").read()
allowed = ("window: the display made the window", "window: full screen was not given its size")
warnings = [line for line in logged.splitlines()
            if (" WARNING " in line or " ERROR " in line) and not any(text in line for text in allowed)]
if scenario != "unwritable":
    check(not warnings, "no warning logged: %s" % warnings[:5])
if failures:
    print(stderr_text)
    print("the game's folders are kept in " + home)
    sys.exit(1)
shutil.rmtree(home, ignore_errors=True)
print("end-to-end run %s passed; screenshots in %s" % (run_name, out))
