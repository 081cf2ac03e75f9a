"""A player of one level of the real game, through its window only: it reads
the board from screen grabs, swaps tiles with two clicks the way a player
does, fires bonus tiles, packages finished pastries with a click on the
countertop (or under the belt), clicks away the pink OK of hints and the
customer's words, and stops when a predicate on the screen holds or time runs out.

The board's place and cell size come from the game's own content (the game
scene's layout and tuning keys), and the tile pictures from the ingredient
book and the resource list: reference pictures are composed from media/ at
start, so they follow the content when it changes.

Works with the game in an 800 x 600 window anywhere on the screen and full
screen on a larger screen (the 800 x 600 frame scaled and centred, with
black bars where the aspect differs): the frame's place is computed from the
window's geometry, asked of the window tool when play_level starts (or
frame(refresh=True)). Career levels (countertop) and belt levels (arcade,
exams) are played alike: one click point below the belt's line on the
countertop packages on both.

Use, after e2e_screen.setup() and with the game's window on the screen:

    import e2e_player
    result = e2e_player.play_level(until=e2e_player.level_ended, seconds=300, log=print)
    # result == {"moves": swaps and bonuses fired, "bonuses": bonuses fired,
    #            "packagings": clicks that package (made every second move),
    #            "dismissed": pink OKs clicked, "ended": until() held,
    #            "image": the last grab (PIL, whole screen)}
    # A belt never ends while the player keeps up: play it for a while, then
    # wait (e2e_screen.wait_for(e2e_player.level_ended, ...)) for it to run over.

Other helpers others may use:
    frame()                  -> Frame: maps 800 x 600 game points to window and screen points
    game_view(image=None)    -> the grab cut to the game's frame and scaled to 800 x 600
    click_game(x, y)         -> a click at a game point (800 x 600 coordinates)
    read_board(view)         -> 8 x 8 list (rows of columns) of ingredient names, "bonus:<name>" or None
    find_swap(board)         -> ((c1, r1), (c2, r2), run length) of the best swap, or None
    pink_ok(view, box=None)  -> the game point of a pink OK button, or None
    level_ended(image)       -> True while a results dialog shows
    dialog_shown(image, id)  -> True while the centred dialog of that template shows (its frame's left side)
"""
import os
import re
import subprocess
import time
import xml.etree.ElementTree as ElementTree

from PIL import Image, ImageChops, ImageStat

import e2e_screen

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MEDIA = os.path.join(SOURCE, "media")
GAME_WIDTH, GAME_HEIGHT = 800, 600


# --- the game's content --------------------------------------------------------------------------

def _xml(name):
    return ElementTree.parse(os.path.join(MEDIA, "properties", name)).getroot()


class Content:
    """The board's geometry and the tile pictures, read from media/."""

    def __init__(self):
        keys = {}
        for element in _xml("default.xml").iter():
            if "id" in element.attrib and "value" in element.attrib:
                keys[element.attrib["id"]] = element.attrib["value"]
        self.keys = keys
        self.cell_width = int(keys["CELL_WIDTH"])
        self.cell_height = int(keys["CELL_HEIGHT"])
        self.columns = int(keys["GRID_WIDTH"])
        self.rows = int(keys["GRID_HEIGHT"])
        counter = [int(keys[k]) for k in ("COUNTERTOP_LEFT", "COUNTERTOP_TOP", "COUNTERTOP_RIGHT", "COUNTERTOP_BOTTOM")]
        conveyor_line = int(keys["CONVEYOR_LINE"])
        # One click on the countertop packages there; on conveyor levels any
        # click below the belt's line does (the countertop is hidden then).
        self.package_point = ((counter[0] + counter[2]) // 2, max((counter[1] + counter[3]) // 2, conveyor_line + 20))

        scene = None
        for element in _xml("dynamic.xml").iter():
            if element.attrib.get("id") == "SCENE_GAME":
                scene = element
                break
        if scene is None:
            raise RuntimeError("the game scene's layout is not in dynamic.xml")
        grid = back = None
        for element in scene.iter():
            if element.attrib.get("name") == "NODE_GRID":
                grid = element
            if element.attrib.get("name") == "BOARD_BACK":
                back = element
        # Tiles stand on the bottom of their cell: the grid node lies one cell lower.
        self.board_x = int(grid.attrib["x"])
        self.board_y = int(grid.attrib["y"]) - self.cell_height
        self.board_box = (self.board_x, self.board_y, self.board_x + self.columns * self.cell_width,
                          self.board_y + self.rows * self.cell_height)

        files = {}
        frames = {}
        for element in _xml("resources.xml").iter("Image"):
            files[element.attrib["id"]] = os.path.join(SOURCE, element.attrib["file"])
            frames[element.attrib["id"]] = int(element.attrib.get("nrofframes", "1"))
        back_image = Image.open(files[back.attrib["image"]]).convert("RGBA")
        # The board's own background under the cells (opaque where the tiles stand).
        offset = (self.board_x - int(back.attrib["x"]), self.board_y - int(back.attrib["y"]))
        self.background = back_image.crop((offset[0], offset[1], offset[0] + self.board_box[2] - self.board_box[0],
                                           offset[1] + self.board_box[3] - self.board_box[1]))

        book = ElementTree.parse(os.path.join(MEDIA, "levels", "ingredientbook.xml")).getroot()
        # (label, picture) for every way a tile can look: plain, under the
        # pointer, unripe, and each frame of a bonus (career and arcade look).
        self.pictures = []
        for ingredient in book.iter("Ingredient"):
            key = ingredient.attrib["id"]
            matching = ingredient.attrib.get("matching", "true") == "true"
            label = ingredient.attrib["name"] if matching else "bonus:" + ingredient.attrib["name"]
            for variant in ("", "_HOVER", "_UNRIPE", "_UNRIPE_HOVER", "_ARCADE"):
                if key + variant not in files:
                    continue
                strip = Image.open(files[key + variant]).convert("RGBA")
                count = frames.get(key + variant, 1)
                height = strip.size[1] // count
                for frame in range(count):
                    self.pictures.append((label, strip.crop((0, frame * height, strip.size[0], (frame + 1) * height))))
        if not self.pictures:
            raise RuntimeError("no tile pictures found in the content")
        self._references = None

    def references(self, scale=2):
        """For every tile look, the board filled with it, reduced by `scale`."""
        if self._references is None:
            size = (self.background.size[0] // scale, self.background.size[1] // scale)
            self._references = []
            for label, picture in self.pictures:
                board = self.background.copy()
                for column in range(self.columns):
                    for row in range(self.rows):
                        x = column * self.cell_width + (self.cell_width - picture.size[0]) // 2
                        y = row * self.cell_height + self.cell_height - picture.size[1]
                        board.alpha_composite(picture, (x, y))
                self._references.append((label, board.convert("RGB").resize(size, Image.BOX)))
        return self._references


_content = None


def content():
    global _content
    if _content is None:
        _content = Content()
    return _content


# --- the frame on the screen ----------------------------------------------------------------------

class Frame:
    """Where the game's 800 x 600 frame lies: in the window (for clicks) and on the screen (for grabs)."""

    def __init__(self, window_x, window_y, width, height):
        self.window = (window_x, window_y, width, height)
        # Scaled to fit, centred, with black bars where the aspect differs.
        self.scale = min(width / float(GAME_WIDTH), height / float(GAME_HEIGHT))
        self.width = int(GAME_WIDTH * self.scale)
        self.height = int(GAME_HEIGHT * self.scale)
        self.left = (width - self.width) // 2
        self.top = (height - self.height) // 2

    def to_window(self, x, y):
        return int(self.left + (x + 0.5) * self.scale), int(self.top + (y + 0.5) * self.scale)

    def screen_box(self):
        x = self.window[0] + self.left
        y = self.window[1] + self.top
        return x, y, x + self.width, y + self.height


_frame = None


def frame(refresh=False):
    global _frame
    if _frame is None or refresh:
        tool = e2e_screen._tool
        result = subprocess.run([tool, "Tortelune", "10000", "any", "geometry"], env=e2e_screen.env,
                                stdout=subprocess.PIPE, text=True)
        match = re.search(r"GEOMETRY (-?\d+) (-?\d+) (\d+) (\d+)", result.stdout)
        if not match:
            raise RuntimeError("the game's window was not found")
        _frame = Frame(*[int(v) for v in match.groups()])
    return _frame


def game_view(image=None):
    """The game's frame from a grab of the screen, at 800 x 600."""
    if image is None:
        image = e2e_screen.grab()
    box = frame().screen_box()
    view = image.crop(box)
    if view.size != (GAME_WIDTH, GAME_HEIGHT):
        view = view.resize((GAME_WIDTH, GAME_HEIGHT), Image.BILINEAR)
    return view


def click_game(x, y):
    wx, wy = frame().to_window(x, y)
    e2e_screen.run_tool("click", str(wx), str(wy))


# --- reading the board ------------------------------------------------------------------------------

# Mean difference per channel (0..255) above which a cell is taken as unknown:
# a tile moving, under a dialog or an effect.
UNKNOWN_ABOVE = 26


def read_board(view, scale=2):
    """The tiles on the board as labels (ingredient names, "bonus:<name>"),
    rows of columns; None where a cell matches no picture well."""
    c = content()
    board = view.crop(c.board_box)
    size = (board.size[0] // scale, board.size[1] // scale)
    board = board.resize(size, Image.BOX)
    best = [[(1e9, None)] * c.columns for _ in range(c.rows)]
    for label, reference in c.references(scale):
        # The difference averaged per cell, all three channels at once.
        cells = ImageChops.difference(board, reference).resize((c.columns, c.rows), Image.BOX)
        data = list(cells.getdata())
        for index, (r, g, b) in enumerate(data):
            value = (r + g + b) / 3.0
            row, column = divmod(index, c.columns)
            if value < best[row][column][0]:
                best[row][column] = (value, label)
    return [[label if value <= UNKNOWN_ABOVE else None for value, label in row] for row in best]


def _run_length(board, column, row):
    """The longest straight run through (column, row) of its ingredient."""
    label = board[row][column]
    if label is None or label.startswith("bonus:"):
        return 0
    rows, columns = len(board), len(board[0])
    longest = 0
    for dx, dy in ((1, 0), (0, 1)):
        length = 1
        for sign in (1, -1):
            x, y = column + sign * dx, row + sign * dy
            while 0 <= x < columns and 0 <= y < rows and board[y][x] == label:
                length += 1
                x, y = x + sign * dx, y + sign * dy
        longest = max(longest, length)
    return longest


def find_swap(board):
    """The swap of two neighbours that makes the longest run (ties: the one
    lowest on the board, which stirs the most tiles), or None."""
    rows, columns = len(board), len(board[0])
    best = None
    for row in range(rows):
        for column in range(columns):
            for to_column, to_row in ((column + 1, row), (column, row + 1)):
                if to_column >= columns or to_row >= rows:
                    continue
                a, b = board[row][column], board[to_row][to_column]
                if a is None or b is None or a == b or a.startswith("bonus:") or b.startswith("bonus:"):
                    continue
                board[row][column], board[to_row][to_column] = b, a
                length = max(_run_length(board, column, row), _run_length(board, to_column, to_row))
                board[row][column], board[to_row][to_column] = a, b
                if length >= 3:
                    value = (length, max(row, to_row))
                    if best is None or value > best[0]:
                        best = (value, (column, row), (to_column, to_row))
    if best is None:
        return None
    return best[1], best[2], best[0][0]


def cell_point(column, row):
    c = content()
    return (c.board_x + column * c.cell_width + c.cell_width // 2,
            c.board_y + row * c.cell_height + c.cell_height // 2)


# --- dialogs ------------------------------------------------------------------------------------------

def _is_button_pink(r, g, b):
    # The buttons' deep pink, not the red of a strawberry or a cherry.
    return 160 < r < 235 and g < 80 and 70 < b < 130 and b - g > 25


def _is_light_pink(r, g, b):
    return r > 225 and 90 < g < 200 and b > 130 and r - g > 35


def pink_ok(view, box=None):
    """The middle of a pink button (OK of hints, the customer's words and
    questions) as a game point, or None. A button is at least 90 pixels wide,
    which tells it from a pink bonus tile."""
    box = box or (0, 0, GAME_WIDTH, GAME_HEIGHT)
    region = view.crop(box).resize(((box[2] - box[0]) // 2, (box[3] - box[1]) // 2), Image.NEAREST)
    width, height = region.size
    data = list(region.getdata())
    runs = []
    for y in range(height):
        # Pink stretches on the row, joined across the button's white letters.
        xs = [x for x in range(width) if _is_button_pink(*data[y * width + x])]
        start = count = 0
        for index, x in enumerate(xs):
            if index == 0 or x - xs[index - 1] > 24:
                start, count = x, 0
            count += 1
            if index + 1 == len(xs) or xs[index + 1] - x > 24:
                if x + 1 - start >= 45 and count >= 0.6 * (x + 1 - start):
                    runs.append((y, start, x + 1))
    # Runs on neighbouring rows that overlap make one shape; a button is a
    # shape of at least 6 rows (12 pixels), narrower than a dialog's frame.
    shapes = []
    for run in runs:
        for shape in shapes:
            last = shape[-1]
            if 0 < run[0] - last[0] <= 2 and run[1] < last[2] and last[1] < run[2]:
                shape.append(run)
                break
        else:
            shapes.append([run])
    for shape in shapes:
        top, bottom = shape[0][0], shape[-1][0]
        left = min(run[1] for run in shape)
        right = max(run[2] for run in shape)
        if bottom - top < 5 or right - left > 140:
            continue
        # A button's pink brightens towards its top edge; a dialog's frame is flat.
        x = box[0] + left + right
        top_y = box[1] + 2 * top
        light = [sum(1 for y in range(max(0, top_y - 22), top_y + 1)
                     if _is_light_pink(*view.getpixel((x + dx, y)))) for dx in (-20, 20)]
        if min(light) >= 4:
            return x, box[1] + (top + bottom)
    return None


# --- the end of a level ----------------------------------------------------------------------------

# The results of a career level or an exam, and of an arcade run.
RESULT_DIALOGS = ("DIALOG_LEVEL_END", "DIALOG_ARCADE_END")


class DialogEdge:
    """A centred dialog's left side (top corner, edge, bottom corner) as its
    template and its painter's pictures put it on the screen."""

    def __init__(self, template, painters, files):
        width, height = int(template.attrib["width"]), int(template.attrib["height"])
        self.left = (GAME_WIDTH - width) // 2
        self.top = (GAME_HEIGHT - height) // 2
        keys = painters[template.attrib.get("painterid", "PAINTER_DEFAULT")]
        corner, edge, bottom = [Image.open(files[keys[i]]).convert("RGBA") for i in (0, 3, 6)]
        side = Image.new("RGBA", (corner.size[0], height))
        side.paste(corner, (0, 0))
        for y in range(corner.size[1], height - bottom.size[1], edge.size[1]):
            side.paste(edge, (0, y))
        side.paste(bottom, (0, height - bottom.size[1]))
        self.picture = side.convert("RGB")
        # Only what the frame covers fully; the rest shows what lies beneath.
        self.mask = side.getchannel("A").point(lambda a: 255 if a == 255 else 0)

    def shown(self, view):
        # A few pixels of rounding in the centring are allowed.
        width, height = self.picture.size
        best = 1e9
        for dx in range(-3, 4):
            for dy in range(-3, 4):
                x, y = self.left + dx, self.top + dy
                seen = view.crop((x, y, x + width, y + height))
                difference = ImageStat.Stat(ImageChops.difference(seen, self.picture), self.mask).mean
                best = min(best, sum(difference) / 3.0)
        return best < 12


_edges = {}


def _dialog_edge(dialog_id):
    if dialog_id not in _edges:
        files = {}
        for element in _xml("resources.xml").iter("Image"):
            files[element.attrib["id"]] = os.path.join(SOURCE, element.attrib["file"])
        root = _xml("dialogs.xml")
        painters = {}
        for element in root.iter():
            if "Painter" in element.tag and "id" in element.attrib:
                painters[element.attrib["id"]] = [value.attrib["value"] for value in element.iter("String")]
        templates = [element for element in root.iter() if element.attrib.get("id") == dialog_id]
        if not templates:
            raise RuntimeError("no dialog template " + dialog_id)
        _edges[dialog_id] = DialogEdge(templates[0], painters, files)
    return _edges[dialog_id]


def dialog_shown(image, dialog_id):
    """A centred dialog of the given template (e.g. "DIALOG_RANKUP") stands
    on the screen, its frame whole: judged by its left side."""
    return _dialog_edge(dialog_id).shown(game_view(image))


def level_ended(image):
    """A results dialog (career level, exam or arcade run) stands on the screen."""
    view = game_view(image)
    return any(_dialog_edge(dialog_id).shown(view) for dialog_id in RESULT_DIALOGS)


# --- playing ------------------------------------------------------------------------------------------

def play_level(until=None, seconds=300, log=print, package_every=2, settle=0.35):
    """Plays the level on the screen until `until(image)` holds for a grab of
    the whole screen, or `seconds` pass. Returns what was done."""
    c = content()
    frame(refresh=True)
    result = {"moves": 0, "bonuses": 0, "packagings": 0, "dismissed": 0, "ended": False, "image": None}
    end = time.time() + seconds
    previous = None
    since_package = 0
    covered_since = None
    while time.time() < end:
        image = e2e_screen.grab()
        result["image"] = image
        if until is not None and until(image):
            result["ended"] = True
            break
        view = game_view(image)
        board = read_board(view)
        unknown = sum(row.count(None) for row in board)
        if unknown:
            # Something lies over the board or tiles are moving: an OK to click?
            button = pink_ok(view)
            if button and (covered_since is not None and time.time() - covered_since > 0.6):
                log("player: clicks the pink button at %d,%d" % button)
                click_game(*button)
                result["dismissed"] += 1
                covered_since = None
                time.sleep(0.8)
                continue
            if covered_since is None:
                covered_since = time.time()
            previous = None
            time.sleep(0.15)
            continue
        covered_since = None
        # Still: the same board in two grabs a moment apart.
        if board != previous:
            previous = board
            time.sleep(settle)
            continue
        previous = None
        if since_package >= package_every:
            click_game(*c.package_point)
            result["packagings"] += 1
            since_package = 0
            time.sleep(0.2)
            continue
        swap = find_swap(board)
        bonuses = [(column, row) for row in range(c.rows) for column in range(c.columns)
                   if board[row][column].startswith("bonus:")]
        if bonuses and (swap is None or swap[2] < 4 and result["moves"] % 3 == 2):
            column, row = bonuses[-1]
            log("player: fires %s at %d,%d" % (board[row][column], column, row))
            click_game(*cell_point(column, row))
            result["bonuses"] += 1
            result["moves"] += 1
        elif swap:
            (c1, r1), (c2, r2), length = swap
            log("player: swaps %d,%d with %d,%d for a run of %d" % (c1, r1, c2, r2, length))
            click_game(*cell_point(c1, r1))
            time.sleep(0.1)
            click_game(*cell_point(c2, r2))
            result["moves"] += 1
        else:
            log("player: no swap on the board")
            time.sleep(1.0)
        since_package += 1
        time.sleep(0.3)
    return result
