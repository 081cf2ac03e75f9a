#!/usr/bin/python3
"""A level ended from outside, run with the real game and content under a
virtual X server (started by the caller). A returning player (written by the
test tool MAKE_PLAYER) starts the next level from the map; in the middle of
it the game gets SIGHUP (a closed terminal), or its X server is killed (a
logout, a crashed server; the caller passes the server's process id in
XVFB_PID). Either way the game ends within 5 s, the level is saved as a quit
saves it, and the instance lock is free: a new start runs.
With "fulldisk" the data folder is a small memory disk (the caller runs the
script in a mount namespace of its own) that fills up in the middle of the
level; SIGTERM then ends the game within a second without a box to click,
the players file unchanged byte for byte and the loss told on standard error.
Usage: level_interrupt_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER MAKE_PLAYER SOURCE_DIR hangup|displaylost|fulldisk"""
import glob
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e_player  # noqa: E402
from e2e_screen import box_processes, check, check_new_start_runs, click, env, failures, fill_disk, in_game, mount_small_disk, near_white_share, on_map, mean, setup, shot, wait_for  # noqa: E402

game, tool, out, make_player, source, scenario = sys.argv[1:7]
home = setup(tool, out, "tortelune-interrupt-", "interrupt-" + scenario + "-")
folder = os.path.join(home, "data", "Quillmark", "Games", "Tortelune")
stderr_path = os.path.join(home, "stderr.txt")


def dialog_frame(image):
    """The level information's pink frame at the left edge of the dialog."""
    r, g, b = mean(image, (96, 200, 106, 400))
    return r > 190 and g < 150 and b > 110


def saved_level_time():
    """The newest modification time of a saved level of any player, or 0."""
    return max([os.path.getmtime(path) for path in glob.glob(folder + "/savegames/*/LEVEL.sav*")] or [0])


def stop(text):
    check(False, text)
    with open(stderr_path, errors="replace") as written:
        print("the game's error output:\n" + written.read())
    if process.poll() is None:
        process.kill()
        process.wait()
    sys.exit(1)


if scenario == "fulldisk" and not mount_small_disk(folder, "8m"):
    print("FAILED: a small memory disk cannot be mounted as the data folder")
    sys.exit(1)
if subprocess.run([make_player, source, "Anna", "4"], env=env).returncode != 0:
    print("the returning player could not be written")
    sys.exit(1)

with open(stderr_path, "w") as stderr:
    process = subprocess.Popen([game], env=env, stderr=stderr)
# Loading, a click, the selection, the career door, the map, the level information, its Start.
if wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120, 60) is None:
    stop("the loading scene is shown")
time.sleep(7)
click(400, 300)
if wait_for(lambda image: near_white_share(image, (620, 300, 790, 560)) > 0.05, 90) is None:
    stop("the selection scene greets the returning player")
time.sleep(1.5)
click(335, 305)
if wait_for(on_map, 60, 0.1) is None:
    stop("the career door leads to the map")
time.sleep(2.5)
click(703, 567)
if wait_for(dialog_frame, 20) is None:
    stop("START opens the level information")
time.sleep(1.0)
click(588, 475)
if wait_for(in_game, 30) is None:
    stop("Start starts the level")
time.sleep(3)
# The customer's words: each OK clicked until none is left, and the level plays.
quiet = 0
for _ in range(30):
    ok = e2e_player.pink_ok(e2e_player.game_view())
    if ok:
        e2e_player.click_game(*ok)
        quiet = 0
    else:
        quiet += 1
        if quiet >= 4:
            break
    time.sleep(1.0)
shot("playing")
before = saved_level_time()

players_file = folder + "/players/players.plrs.!"
if scenario == "fulldisk":
    with open(players_file, "rb") as players:
        players_before = players.read()
    fill_disk(folder)
    process.send_signal(signal.SIGTERM)
elif scenario == "hangup":
    process.send_signal(signal.SIGHUP)
else:
    os.kill(int(os.environ["XVFB_PID"]), signal.SIGKILL)
interrupted = time.time()
try:
    process.wait(timeout=5)
except subprocess.TimeoutExpired:
    stop("the game ends within 5 s after the %s" % {"hangup": "SIGHUP", "fulldisk": "SIGTERM"}.get(
        scenario, "X server's end"))
took = time.time() - interrupted
print("%s: the game ended after %.2f s with exit code %d" % (scenario, took, process.returncode))
if scenario == "fulldisk":
    check(took < 1.0, "on a full disk SIGTERM ends the game within a second (took %.2f s)" % took)
    check(process.returncode == 0, "exit code 0 after SIGTERM on a full disk (was %d)" % process.returncode)
    with open(players_file, "rb") as players:
        check(players.read() == players_before, "the players file is unchanged byte for byte")
    with open(stderr_path, errors="replace") as written:
        told = written.read()
    check("Tortelune: progress cannot be saved" in told and "the players" in told,
          "standard error tells what could not be saved")
    check(not box_processes(), "no box process outlives the game")
    os.remove(os.path.join(folder, "filler"))
else:
    if scenario == "hangup":
        check(process.returncode == 0, "exit code 0 after SIGHUP (was %d)" % process.returncode)
    check(saved_level_time() > before, "the running level is saved")
    check(os.path.isfile(folder + "/players/players.plrs.!"), "the players are saved")
    check(os.path.isfile(folder + "/_temp/gd.xml"), "the statistics are saved")

# The lock went with the game.
with open(os.path.join(home, "again-stderr.txt"), "w") as stderr:
    check_new_start_runs(game, "", stderr)
if failures:
    with open(stderr_path, errors="replace") as written:
        print("the game's error output:\n" + written.read())
    sys.exit(1)
print("level interrupt run %s passed" % scenario)
