"""What the runs of the real game under a virtual X server share: a private
home for the game's folders, the screen grabbed and read, the window tool
that clicks and types, and the list of failed checks.
Call setup() first; the other functions use what it was given."""
import atexit
import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import ImageGrab, ImageStat

failures = []
env = {}
_tool = ""
_out = ""
_prefix = ""


def setup(tool, out, home_prefix, shot_prefix=""):
    """A fresh home with the config, data and runtime folders, which the
    game's environment (env) names; returns the home's path."""
    global _tool, _out, _prefix
    _tool, _out, _prefix = tool, out, shot_prefix
    os.makedirs(out, exist_ok=True)
    home = tempfile.mkdtemp(prefix=home_prefix)
    for folder in ("config", "data", "run"):
        os.makedirs(os.path.join(home, folder), mode=0o700)
    env.clear()
    env.update(os.environ, XDG_CONFIG_HOME=home + "/config", XDG_DATA_HOME=home + "/data",
               XDG_RUNTIME_DIR=home + "/run", SDL_VIDEODRIVER="x11")
    atexit.register(_leave_home, home)
    return home


def _leave_home(home):
    """A run that passed leaves nothing behind; a failed one keeps the game's
    folders and logs for a look."""
    if failures:
        print("the game's folders are kept in " + home)
    else:
        shutil.rmtree(home, ignore_errors=True)


def check(condition, text):
    if not condition:
        failures.append(text)
        print("FAILED: " + text)
    return condition


def box_processes():
    """The processes that show a message box (named so in their arguments)."""
    found = []
    for pid in os.listdir("/proc"):
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as cmdline:
                if cmdline.read().startswith(b"tortelune-message-box\0"):
                    found.append(pid)
        except (OSError, ValueError):
            pass
    return found


def mount_small_disk(folder, size):
    """Mounts a memory disk of `size` ("256k") on `folder` (made when missing),
    taken away again when the run ends, before its home is; False when it
    cannot be mounted. The caller runs in a mount namespace of its own."""
    os.makedirs(folder, exist_ok=True)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder]).returncode != 0:
        return False
    atexit.register(subprocess.run, ["umount", folder])
    return True


def fill_disk(folder):
    """Fills the disk that `folder` is on with a file "filler" in it, to the last byte."""
    with open(os.path.join(folder, "filler"), "wb", buffering=0) as filler:
        try:
            while True:
                filler.write(b"\0" * 4096)
        except OSError:
            pass


def check_new_start_runs(game, tag, stderr=subprocess.DEVNULL):
    """The instance lock went with the game: a new start (on SDL's dummy
    driver) takes it and runs, instead of handing over to a copy that is gone."""
    again = subprocess.Popen([game], env=dict(env, SDL_VIDEODRIVER="dummy"), stderr=stderr)
    time.sleep(3)
    check(again.poll() is None, "%sa new start takes the instance lock and runs (it ended with %s)"
          % (tag + ": " if tag else "", again.returncode))
    if again.poll() is None:
        again.send_signal(signal.SIGTERM)
        try:
            again.wait(timeout=20)
        except subprocess.TimeoutExpired:
            again.kill()
            again.wait()


def grab():
    return ImageGrab.grab(xdisplay=os.environ["DISPLAY"]).convert("RGB")


def shot(name):
    image = grab()
    image.save(os.path.join(_out, _prefix + name + ".png"))
    return image


def run_tool(*arguments, timeout_ms=10000):
    return subprocess.run([_tool, "Tortelune", str(timeout_ms), "any", *arguments], env=env).returncode


def click(x, y):
    run_tool("click", str(x), str(y))


def logged_problems(home):
    """The warnings and errors in the game's log under `home` (the one line
    that says a virtual server has no sound card left out), after checking
    that the game writes its log."""
    folder = os.path.join(home, "data", "Quillmark", "Games", "Tortelune", "_temp", "log")
    logged = []
    for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
        with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as lines:
            logged += [line.rstrip() for line in lines if (" WARNING " in line or " ERROR " in line)
                       and "No audio device" not in line]
    check(os.path.isdir(folder), "the game writes its log")
    return logged


def wait_for(predicate, seconds, step=0.2, source=None):
    """The first picture (from `source`, a grab of the screen by default) that
    `predicate` accepts within `seconds`, or None."""
    end = time.time() + seconds
    while time.time() < end:
        image = (source or grab)()
        if predicate(image):
            return image
        time.sleep(step)
    return None


def mean(image, box):
    return ImageStat.Stat(image.crop(box)).mean


def near_white_share(image, box):
    """The share of the box's pixels that are nearly white (the chef's jacket and toque)."""
    region = image.crop(box)
    pixels = list(region.getdata())
    return sum(1 for r, g, b in pixels if r > 240 and g > 240 and b > 235) / float(len(pixels))


def on_map(image):
    """The map's sky is blue above the hills."""
    sky = mean(image, (0, 60, 800, 160))
    return sky[2] > sky[0] + 10


def in_game(image):
    """The kitchen's warm wall where the map's sky was."""
    wall = mean(image, (0, 60, 800, 160))
    return wall[0] > wall[2] + 30


def question_frame(image):
    """The yes/no question's pink frame left of its text."""
    r, g, b = mean(image, (126, 240, 136, 380))
    return r > 190 and g < 150 and b > 110


def quit_game(process, tag, asked=None, seconds=20):
    """The window's close box and the quit question answered yes with Enter:
    the game must end with exit code 0. `asked`, when given, is called once
    the close box is clicked (to wait for the question and record it);
    otherwise the question's fade-in is waited out."""
    run_tool("close")
    if asked:
        asked()
    else:
        time.sleep(1.2)
    run_tool("key", "return")
    try:
        process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        check(False, tag + ": the game ends after the quit question's yes")
        process.kill()
        process.wait()
    check(process.returncode == 0, tag + ": exit code 0 (was %s)" % process.returncode)
