#!/usr/bin/python3
"""The game's warning boxes on a bare virtual X server (no window manager) of
the size SIZE, started by the caller in a mount namespace of its own (the
full disk is a small memory disk mounted there).
- The damaged-players notice, with the data folder at a long path: the box
  lies wholly inside the screen (its picture is left in OUTPUT_FOLDER), and
  SIGTERM, SIGINT (to the game's process group, as Ctrl-C in its terminal)
  and SIGHUP each end the game within a second with exit code 0, no box
  process left and the instance lock free; SIGKILL takes the box along.
- The box of a data folder on a full disk at the start: inside the screen
  too, and SIGTERM ends the game within a second with exit code 0.
The pictures are named after SIZE, or after SIZE and LOOK when given.
Usage: message_box_e2e.py GAME X11_WINDOW_TOOL OUTPUT_FOLDER SIZE [LOOK]"""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_screen import box_processes, check, check_new_start_runs, env, failures, fill_disk, mount_small_disk, setup, shot  # noqa: E402

game, tool, out, size = sys.argv[1:5]
look = size + ("-" + sys.argv[5] if len(sys.argv) > 5 else "")
screen_width, screen_height = (int(n) for n in size.split("x"))
home = setup(tool, out, "tortelune-boxes-", "box-")
# A data folder at a long path, so that the path of a file kept aside is long too.
data = os.path.join(home, "data", "a-rather-long-folder-for-the-saved-games-of-this-desktop-user")
folder = os.path.join(data, "Quillmark", "Games", "Tortelune")
env["XDG_DATA_HOME"] = data
NOTICE = "Tortelune: Some progress could not be recovered"
FULL_DISK = "Tortelune: progress cannot be saved"


def damage_players():
    players = os.path.join(folder, "players")
    for name in os.listdir(players) if os.path.isdir(players) else []:
        os.remove(os.path.join(players, name))
    os.makedirs(players, exist_ok=True)
    with open(os.path.join(players, "players.plrs.!"), "wb") as damaged:
        damaged.write(b"\x13\x37 not a players file at all " * 8)


def start(tag):
    """The game, leading a process group of its own as a game started from a terminal does."""
    stderr = open(os.path.join(home, tag + "-stderr.txt"), "w")
    return subprocess.Popen([game], env=env, stderr=stderr, start_new_session=True)


def box_geometry(title, timeout_ms):
    """The box's place and size on the screen, or None when no such window shows."""
    answer = subprocess.run([tool, title, str(timeout_ms), "any", "geometry"], env=env, capture_output=True,
                            text=True)
    for line in answer.stdout.splitlines():
        if line.startswith("GEOMETRY "):
            return [int(n) for n in line.split()[1:5]]
    return None


def check_inside(tag, geometry):
    x, y, width, height = geometry
    print("%s on %s: the box is %d x %d at (%d, %d)" % (tag, look, width, height, x, y))
    check(x >= 0 and y >= 0 and x + width <= screen_width and y + height <= screen_height,
          "%s on %s: the box (%d x %d at %d, %d) lies inside the screen" % (tag, look, width, height, x, y))


def end_by(process, tag, how):
    sent = time.time()
    if how == "SIGINT":
        os.killpg(process.pid, signal.SIGINT)
    else:
        process.send_signal(getattr(signal, how))
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    took = time.time() - sent
    print("%s: %s ended the game after %.2f s with exit code %d" % (tag, how, took, process.returncode))
    check(took < 1.0, "%s: %s ends the game within a second (took %.2f s)" % (tag, how, took))
    expected = -signal.SIGKILL if how == "SIGKILL" else 0
    check(process.returncode == expected, "%s: exit code %d after %s (was %d)" % (tag, expected, how,
                                                                                  process.returncode))
    # A killed game's box goes when the system tells its process that the game is gone.
    deadline = time.time() + 1.0
    while box_processes() and time.time() < deadline:
        time.sleep(0.02)
    check(not box_processes(), "%s: no box process outlives the game" % tag)
    check(box_geometry(NOTICE, 300) is None and box_geometry(FULL_DISK, 300) is None,
          "%s: no box is left on the screen" % tag)


# The damaged-players notice, ended by each signal in turn; a killed game
# takes its box along.
for how in ("SIGTERM", "SIGINT", "SIGHUP", "SIGKILL"):
    tag = "notice-" + how
    damage_players()
    process = start(tag)
    geometry = box_geometry(NOTICE, 60000)
    if not check(geometry is not None, "%s: the damaged-players notice shows within 60 s" % tag):
        process.kill()
        process.wait()
        continue
    check(len(box_processes()) > 0, "%s: the box is shown from a box process" % tag)
    if how == "SIGTERM":
        check_inside("the damaged-players notice", geometry)
        time.sleep(0.3)
        shot("players-damaged-" + look)
    end_by(process, tag, how)
    check_new_start_runs(game, tag)

# A full data disk at the start.
if check(mount_small_disk(data, "256k"), "a small memory disk is mounted as the data folder"):
    fill_disk(data)
    process = start("fulldisk")
    geometry = box_geometry(FULL_DISK, 60000)
    if check(geometry is not None, "full disk: the box shows within 60 s"):
        check_inside("the full-disk box", geometry)
        time.sleep(0.3)
        shot("disk-full-" + look)
        end_by(process, "full disk", "SIGTERM")
    else:
        process.kill()
        process.wait()

if failures:
    sys.exit(1)
print("message box run on %s passed" % look)
