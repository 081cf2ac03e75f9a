#!/usr/bin/python3
"""The soak: minutes of scripted play in the real game, full screen, driven
only through its window; run by bench/soak.bash, which starts the virtual X
server (1024 x 768) and the window manager.

A returning player (hints off) starts levels from the map with START and
the level information's Start, plays them through the window, clicks the
results through (Next after a win, Restart or Stop after a loss) and goes
on until the time is up; then the game is closed with its quit question.
Meanwhile the game writes its frame record (TORTELUNE_FRAME_RECORD) and its
resident size is read from /proc every few seconds.

The player of tests/smoke/e2e_player.py reads the board from screen grabs
and plays it; where that module is not there, random swaps of neighbouring
tiles stand in for it (levels then end by the clock rather than by a win).

Report: frames over 25 ms outside loads and scene switches (target: none),
the peak resident size (VmHWM, target under 150 MB) and the curve of the
resident size (flat after the first level), the levels played.
Usage: soak.py GAME WINDOW_TOOL MAKE_PLAYER SOURCE_DIR OUTPUT_FOLDER [MINUTES]"""
import os
import random
import shutil
import subprocess
import sys
import threading
import time

from PIL import Image

game, tool, make_player, source, out = sys.argv[1:6]
minutes = float(sys.argv[6]) if len(sys.argv) > 6 else 10.0
sys.path.insert(0, os.path.join(source, "tests", "smoke"))
import e2e_screen  # noqa: E402

try:
    import e2e_player  # noqa: E402
except ImportError:
    e2e_player = None


def quiet_tool(*arguments, timeout_ms=10000):
    """The window tool without its report of the colour seen, once per click."""
    return subprocess.run([tool, "Tortelune", str(timeout_ms), "any", *arguments], env=e2e_screen.env,
                          stdout=subprocess.DEVNULL).returncode


e2e_screen.run_tool = quiet_tool

FRAME_LIMIT_MS = 25.0
PEAK_LIMIT_MB = 150.0
SAMPLE_SECONDS = 3.0
GAME_WIDTH, GAME_HEIGHT = 800, 600

# Game points (800 x 600) of the controls the soak uses.
LOADING_CLICK = (400, 300)
CAREER_DOOR = (335, 305)
MAP_START = (703, 567)
INFO_START = (588, 475)
RESULTS_NEXT = (400, 548)
RESULTS_RESTART = (300, 548)
RESULTS_MIDDLE = (400, 300)
BOARD = (340, 23, 740, 423)
COUNTERTOP = (248, 470)

started_at = time.time()
events = []


def note(text):
    line = "%7.1f s  %s" % (time.time() - started_at, text)
    events.append(line)
    print(line, flush=True)


# ---- the game's frame on the screen ---------------------------------------------------------------

class Frame:
    """Where the 800 x 600 picture lies in the window: scaled to fit and centred."""

    def __init__(self):
        self.x = self.y = self.left = self.top = 0
        self.scale = 1.0
        self.refresh()

    def refresh(self):
        result = subprocess.run([tool, "Tortelune", "10000", "any", "geometry"], env=e2e_screen.env,
                                stdout=subprocess.PIPE, text=True)
        for line in result.stdout.splitlines():
            if line.startswith("GEOMETRY"):
                x, y, width, height = (int(value) for value in line.split()[1:5])
                self.x, self.y = x, y
                self.scale = min(width / float(GAME_WIDTH), height / float(GAME_HEIGHT))
                self.left = (width - int(GAME_WIDTH * self.scale)) // 2
                self.top = (height - int(GAME_HEIGHT * self.scale)) // 2
                return True
        return False

    def window_point(self, x, y):
        return int(self.left + (x + 0.5) * self.scale), int(self.top + (y + 0.5) * self.scale)

    def screen_box(self):
        x, y = self.x + self.left, self.y + self.top
        return x, y, x + int(GAME_WIDTH * self.scale), y + int(GAME_HEIGHT * self.scale)


frame = None


def view():
    """The game's picture from a grab of the screen, at 800 x 600."""
    image = e2e_screen.grab().crop(frame.screen_box())
    if image.size != (GAME_WIDTH, GAME_HEIGHT):
        image = image.resize((GAME_WIDTH, GAME_HEIGHT), Image.BILINEAR)
    return image


def click(point):
    x, y = frame.window_point(*point)
    e2e_screen.run_tool("click", str(x), str(y))


def shot(name):
    view().save(os.path.join(out, "soak-" + name + ".png"))


def wait_for(predicate, seconds, step=0.25):
    return e2e_screen.wait_for(predicate, seconds, step, source=view)


mean = e2e_screen.mean


def loading_scene(image):
    top = mean(image, (0, 0, 800, 100))
    return top[2] > 60 and top[0] < 120


def selection_scene(image):
    return e2e_screen.near_white_share(image, (620, 300, 790, 560)) > 0.05


def level_information(image):
    """The level information's big pink frame at the dialog's left edge."""
    r, g, b = mean(image, (96, 200, 106, 400))
    return r > 190 and g < 150 and b > 110


def pink(colour):
    r, g, b = colour
    return r > 180 and g < 110 and b > 90


def results_shown(image):
    """The results card: its pink frame on both sides, cream between."""
    r, g, b = mean(image, (200, 250, 600, 300))
    return (pink(mean(image, (93, 150, 99, 450))) and pink(mean(image, (701, 150, 707, 450))) and
            r > 200 and g > 180 and b > 130)


def next_button(image):
    """The green Next of a won level's results."""
    r, g, b = mean(image, (350, 535, 450, 555))
    return g > r + 10 and g > 150


# ---- the process's memory and processor time -------------------------------------------------------

class Sampler(threading.Thread):
    def __init__(self, pid):
        super().__init__(daemon=True)
        self.pid = pid
        self.samples = []  # (seconds since start, VmRSS MB, VmHWM MB, processor seconds)
        self.stopped = threading.Event()

    def read(self):
        fields = {}
        with open("/proc/%d/status" % self.pid) as status:
            for line in status:
                name, _, value = line.partition(":")
                if name in ("VmRSS", "VmHWM"):
                    fields[name] = int(value.split()[0]) / 1024.0
        with open("/proc/%d/stat" % self.pid) as stat:
            parts = stat.read().rsplit(")", 1)[1].split()
        ticks = os.sysconf("SC_CLK_TCK")
        processor = (int(parts[11]) + int(parts[12])) / float(ticks)
        return fields["VmRSS"], fields["VmHWM"], processor

    def run(self):
        while not self.stopped.is_set():
            try:
                rss, hwm, processor = self.read()
            except (OSError, KeyError, IndexError, ValueError):
                return
            self.samples.append((time.time() - started_at, rss, hwm, processor))
            self.stopped.wait(SAMPLE_SECONDS)


# ---- playing ------------------------------------------------------------------------------------------

def random_swaps(until, seconds):
    """The stand-in player: swaps of random neighbours and, now and then, a
    click on the countertop (which boxes finished pastries and closes the
    customer's words), until `until(view)` holds or the time is up."""
    end = time.time() + seconds
    cell = (BOARD[2] - BOARD[0]) // 8
    swaps = 0
    while time.time() < end:
        image = view()
        if until(image):
            return True
        if swaps % 4 == 0:
            click(COUNTERTOP)
            time.sleep(0.3)
        column, row = random.randrange(7), random.randrange(8)
        x = BOARD[0] + column * cell + cell // 2
        y = BOARD[1] + row * cell + cell // 2
        click((x, y))
        time.sleep(0.1)
        click((x + cell, y))
        swaps += 1
        time.sleep(0.6)
    return False


def play(seconds):
    """Plays the level on the screen until its results show; True when they do."""
    if e2e_player is not None:
        e2e_player.frame(refresh=True)
        result = e2e_player.play_level(until=lambda image: results_shown(view()), seconds=seconds,
                                       log=lambda text: None)
        note("played: %d moves, %d bonuses, %d packagings, %d dismissed" %
             (result["moves"], result["bonuses"], result["packagings"], result["dismissed"]))
        return result["ended"]
    return random_swaps(results_shown, seconds)


def reach_map():
    if wait_for(loading_scene, 60) is None:
        note("the loading scene did not show")
    time.sleep(7)
    click(LOADING_CLICK)
    if wait_for(selection_scene, 90) is None:
        note("the selection scene did not show")
        shot("no-selection")
    time.sleep(1.5)
    click(CAREER_DOOR)
    reached = wait_for(e2e_screen.on_map, 60, 0.1)
    time.sleep(2.5)
    return reached is not None


def close_dialog(image):
    """Clicks a pink OK when one shows (a hint, a trophy), else presses Enter."""
    ok = e2e_player.pink_ok(image) if e2e_player is not None else None
    if ok:
        click(ok)
    else:
        e2e_screen.run_tool("key", "return")


def start_level_from_map():
    """START, then the level information's Start (or yes to carrying on with
    a stopped level). A hint or a celebration on the map may hold START
    back: its OK is clicked and START tried again."""
    for attempt in range(4):
        click(MAP_START)
        info = wait_for(lambda image: level_information(image) or e2e_screen.question_frame(image), 8)
        if info is None:
            shot("map-attempt-%d" % attempt)
            close_dialog(view())
            time.sleep(2.0)
            continue
        time.sleep(1.0)
        if e2e_screen.question_frame(info):
            click((268, 353))
        else:
            click(INFO_START)
        return wait_for(e2e_screen.in_game, 30) is not None
    return False


def click_results_through(level):
    """Cuts the reveal short, then Next after a win (back to the map) or
    Restart after a loss (the level again); the dialogs that come in between
    (rank up, trophies) are closed with their OK, or with Enter."""
    time.sleep(2.0)
    click(RESULTS_MIDDLE)
    time.sleep(2.5)
    if level <= 2:
        shot("results-%d" % level)
    restarted = False
    unknown = 0
    for _ in range(20):
        image = view()
        if e2e_screen.on_map(image):
            return "map"
        if results_shown(image):
            restarted = not next_button(image)
            click(RESULTS_RESTART if restarted else RESULTS_NEXT)
            time.sleep(3.0)
            continue
        if restarted and e2e_screen.in_game(image):
            return "game"
        unknown += 1
        # Neither results nor map for a while: a dialog (rank up, trophy) waits.
        if unknown % 2 == 0:
            close_dialog(image)
        time.sleep(1.5)
    return "stuck"


# ---- the run ------------------------------------------------------------------------------------------

os.makedirs(out, exist_ok=True)
home = e2e_screen.setup(tool, out, "tortelune-soak-")
record = os.path.join(out, "frames.txt")
e2e_screen.env["TORTELUNE_FRAME_RECORD"] = record
settings = os.path.join(home, "config", "Quillmark", "Games", "Tortelune")
os.makedirs(settings)
with open(os.path.join(settings, "settings.xml"), "w") as file:
    file.write('<?xml version="1.0" encoding="UTF-8" ?>\n<settings>\n'
               '  <value key="" name="fullscreen" type="number" data="1" />\n</settings>\n')
if subprocess.run([make_player, source, "Soak", "0"], env=e2e_screen.env).returncode != 0:
    print("soak: the returning player could not be written")
    sys.exit(1)
random.seed(1)
print("soak: %s minutes, player: %s" % (minutes, "e2e_player" if e2e_player else "random swaps (stand-in)"))

errors_file = open(os.path.join(out, "stderr.txt"), "w")
process = subprocess.Popen([game], env=e2e_screen.env, stderr=errors_file)
sampler = Sampler(process.pid)
sampler.start()
levels = 0
first_level_end = None
results_shown = 0
try:
    time.sleep(2)
    frame = Frame()
    note("window at %d,%d, picture scaled %.2f" % (frame.x, frame.y, frame.scale))
    if not reach_map():
        note("the map was not reached")
        shot("no-map")
    shot("map")
    play_until = started_at + minutes * 60
    where = "map"
    while time.time() < play_until:
        if where == "map":
            if not start_level_from_map():
                note("no level started from the map")
                shot("no-level")
                break
        levels += 1
        note("level %d started" % levels)
        time.sleep(3)
        if levels == 1:
            shot("level-start")
        ended = play(max(30, play_until - time.time()))
        if not ended:
            note("level %d: time is up before its results" % levels)
            break
        note("level %d: results" % levels)
        results_shown += 1
        if first_level_end is None:
            first_level_end = time.time() - started_at
        where = click_results_through(levels)
        note("after the results: %s" % where)
        if where == "stuck":
            shot("stuck-%d" % levels)
            break
    shot("end")
    # The close box asks; Return answers yes.
    e2e_screen.run_tool("close")
    time.sleep(1.2)
    e2e_screen.run_tool("key", "return")
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        note("the game did not end after the quit question")
finally:
    if process.poll() is None:
        process.kill()
        process.wait()
    sampler.stopped.set()
    sampler.join()

# ---- the report -----------------------------------------------------------------------------------------

# Each frame: ms from the first frame, its period (start to the next start),
# its work and the processor time of that work in ms, whether a load or a
# scene switch ran during it, and the KB of compressed pictures it unpacked.
frames = []
with open(record) as file:
    for line in file:
        parts = line.split()
        if len(parts) in (6, 7) and not line.startswith("#"):
            frames.append((int(parts[0]), int(parts[1]) / 1000.0, int(parts[2]) / 1000.0, int(parts[3]) / 1000.0,
                           parts[4] == "1", parts[5] == "1", int(parts[6]) if len(parts) == 7 else 0))


def excused(frame):
    return frame[4] or frame[5]


long_frames = [frame for frame in frames if frame[1] > FRAME_LIMIT_MS and not excused(frame)]
excused_long = sum(1 for frame in frames if frame[1] > FRAME_LIMIT_MS and excused(frame))
# The time between two frames reaching the screen: a frame's period plus
# the change of work from it to the next.
shown = [frames[i][1] + frames[i + 1][2] - frames[i][2] for i in range(len(frames) - 1)
         if not (excused(frames[i]) or excused(frames[i + 1]))]
with open(os.path.join(out, "memory.txt"), "w") as file:
    file.write("# seconds rss_mb hwm_mb processor_seconds\n")
    for sample in sampler.samples:
        file.write("%.1f %.1f %.1f %.2f\n" % sample)

print()
print("soak report (%s minutes, %s)" % (minutes, "e2e_player" if e2e_player else "random swaps"))
print("levels played: %d (results shown %d times)" % (levels, results_shown))
print("frames: %d; periods over %.0f ms: %d during loads or scene switches, %d elsewhere (target: none)" %
      (len(frames), FRAME_LIMIT_MS, excused_long, len(long_frames)))
computing = sum(1 for frame in long_frames if frame[3] > FRAME_LIMIT_MS)
waiting = sum(1 for frame in long_frames if frame[2] > FRAME_LIMIT_MS and frame[3] <= FRAME_LIMIT_MS)
print("  %d computed for over %.0f ms; %d worked over %.0f ms but mostly waited (the display, a file, "
      "the processor); %d worked briefly, then slept or handled messages too long" %
      (computing, FRAME_LIMIT_MS, waiting, FRAME_LIMIT_MS, len(long_frames) - computing - waiting))
for ms, period, work, processor, _, _, unpacked in long_frames[:30]:
    print("  long frame at %6.1f s: period %5.1f ms, work %5.1f ms, processor %5.1f ms%s" %
          (ms / 1000.0, period, work, processor, ", unpacked %d KB of pictures" % unpacked if unpacked else ""))
unpacking = [frame for frame in frames if frame[6] and not excused(frame)]
print("frames outside loads and switches that unpacked pictures: %d (%d KB)" %
      (len(unpacking), sum(frame[6] for frame in unpacking)))


def percentiles(values):
    values = sorted(values)
    if not values:
        return "none"
    return "median %4.1f ms, 99th percentile %4.1f ms, worst %5.1f ms" % (
        values[len(values) // 2], values[int(len(values) * 0.99)], values[-1])


quiet = [frame for frame in frames if not excused(frame)]
print("outside loads and switches: period    %s" % percentiles([frame[1] for frame in quiet]))
print("                            work      %s" % percentiles([frame[2] for frame in quiet]))
print("                            processor %s" % percentiles([frame[3] for frame in quiet]))
print("                            on screen %s; %d over %.0f ms" %
      (percentiles(shown), sum(1 for value in shown if value > FRAME_LIMIT_MS), FRAME_LIMIT_MS))
peak = max((sample[2] for sample in sampler.samples), default=0.0)
print("peak resident (VmHWM): %.1f MB (target under %.0f MB)" % (peak, PEAK_LIMIT_MB))
print("resident size (VmRSS) over time:")
for index, (seconds, rss, hwm, processor) in enumerate(sampler.samples):
    if index % 5 == 0 or index == len(sampler.samples) - 1:
        print("  %6.1f s  %6.1f MB" % (seconds, rss))
if first_level_end is not None:
    after = [rss for seconds, rss, _, _ in sampler.samples if seconds >= first_level_end]
    if after:
        print("after the first level (%.0f s): resident %.1f .. %.1f MB, last %.1f MB" %
              (first_level_end, min(after), max(after), after[-1]))
if len(sampler.samples) > 1:
    first, last = sampler.samples[0], sampler.samples[-1]
    print("processor: %.0f %% of a core on average" % (100.0 * (last[3] - first[3]) / (last[0] - first[0])))
print("events:")
for line in events:
    print("  " + line)
print("files: %s (frames.txt, memory.txt, soak-*.png)" % out)
# What the game logged amiss while it was played.
log_folder = os.path.join(home, "data", "Quillmark", "Games", "Tortelune", "_temp", "log")
logged = []
for name in sorted(os.listdir(log_folder)) if os.path.isdir(log_folder) else []:
    with open(os.path.join(log_folder, name), encoding="utf-8", errors="replace") as log:
        logged += [line.rstrip() for line in log if " WARNING " in line or " ERROR " in line]
print("the game's log: %d warnings or errors" % len(logged))
for line in logged[:10]:
    print("  " + line)
shutil.rmtree(home, ignore_errors=True)
met_frames = not long_frames
met_peak = peak < PEAK_LIMIT_MB
print("targets: no long frame outside loads: %s; peak resident under %.0f MB: %s" %
      ("met" if met_frames else "MISSED", PEAK_LIMIT_MB, "met" if met_peak else "MISSED"))
errors_file.close()
with open(os.path.join(out, "stderr.txt")) as file:
    errors = file.read()
if errors.strip():
    print("the game's standard error:\n" + errors[-2000:])
sys.exit(0 if met_frames and met_peak else 1)
