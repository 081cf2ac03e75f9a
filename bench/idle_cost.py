#!/usr/bin/python3
"""What a still screen costs: the real game (a Release build), full screen on
the caller's virtual X server, with a returning player written beforehand by
MAKE_PLAYER. The loading scene once it has loaded, the player selection and
the map are each left to settle; then the game's processor time is read from
/proc/<pid>/stat (utime + stime) over SECONDS seconds, with its resident size
(VmRSS) and peak resident size (VmHWM) at the end. A screenshot of each
scene is written into OUTPUT_FOLDER ("idle-*.png").
Usage: idle_cost.py GAME X11_WINDOW_TOOL MAKE_PLAYER SOURCE_DIR OUTPUT_FOLDER [SECONDS]"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "smoke"))
from e2e_screen import env, grab, mean, near_white_share, on_map, run_tool, setup  # noqa: E402

game, tool, make_player, source, out = sys.argv[1:6]
seconds = float(sys.argv[6]) if len(sys.argv) > 6 else 10.0
home = setup(tool, out, "tortelune-idle-", "idle-")
ticks = os.sysconf("SC_CLK_TCK")


def frame():
    """The screen brought to the game's 800 x 600, so that the checks of the
    end-to-end runs apply at any screen size."""
    return grab().resize((800, 600))


def wait_for(predicate, timeout):
    end = time.time() + timeout
    while time.time() < end:
        image = frame()
        if predicate(image):
            return image
        time.sleep(0.2)
    return None


def click(x, y):
    """A click at a point of the game's 800 x 600 frame, wherever full screen shows it."""
    width, height = grab().size
    scale = min(width / 800.0, height / 600.0)
    left, top = (width - 800 * scale) / 2, (height - 600 * scale) / 2
    run_tool("click", str(int(left + (x + 0.5) * scale)), str(int(top + (y + 0.5) * scale)))


def processor_seconds(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime are the 14th and 15th fields; the text after ")" starts at the 3rd.
    return (int(fields[11]) + int(fields[12])) / float(ticks)


def memory_mb(pid):
    values = {}
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0]) / 1024.0
    return values


def measure(pid, name, settle):
    time.sleep(settle)
    frame().save(os.path.join(out, "idle-%s.png" % name))
    start_cpu, start = processor_seconds(pid), time.time()
    time.sleep(seconds)
    used = processor_seconds(pid) - start_cpu
    share = 100.0 * used / (time.time() - start)
    memory = memory_mb(pid)
    with open("/proc/%d/maps" % pid) as maps:
        driver = any(word in maps.read() for word in ("/dri/", "libLLVM", "libGLX_", "libEGL_"))
    print("%-10s idle %5.1f %% of a core   VmRSS %6.1f MB   VmHWM %6.1f MB   3D driver %s" %
          (name, share, memory["VmRSS"], memory["VmHWM"], "mapped" if driver else "not mapped"), flush=True)
    return share


config = os.path.join(home, "config", "Quillmark", "Games", "Tortelune")
os.makedirs(config)
with open(os.path.join(config, "settings.xml"), "w") as settings:
    settings.write('<?xml version="1.0" encoding="UTF-8" ?>\n<settings>\n'
                   '  <value key="" name="fullscreen" type="number" data="1" />\n</settings>\n')
subprocess.run([make_player, source, "Anna", "5"], env=env, check=True)

process = subprocess.Popen([game], env=env, stderr=subprocess.DEVNULL)
failed = []
try:
    loading = wait_for(lambda image: mean(image, (0, 0, 800, 100))[2] > 60 and mean(image, (0, 0, 800, 100))[0] < 120,
                       60)
    if loading is None:
        failed.append("no loading scene")
    else:
        # Loading ends within a few seconds; the scene then waits for a click.
        measure(process.pid, "loading", 8)
        click(400, 300)
        if wait_for(lambda image: near_white_share(image, (620, 300, 790, 560)) > 0.05, 90) is None:
            failed.append("no selection scene")
        else:
            measure(process.pid, "selection", 4)
            click(335, 305)
            if wait_for(on_map, 60) is None:
                failed.append("no map")
            else:
                measure(process.pid, "map", 6)
finally:
    process.terminate()
    try:
        process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
for text in failed:
    print("FAILED: " + text)
sys.exit(1 if failed else 0)
