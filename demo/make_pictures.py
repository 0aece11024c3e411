#!/usr/bin/env python3
"""Draws the demo catalogue's pictures into demo/pictures/.

Everything is drawn from fixed random seeds with ImageMagick's convert, so running this
again gives the same pictures. Backgrounds are JPEG; sprites are 24-bit BMP so that their
magenta key (0xFF00FF) stays exact.

    demo/make_pictures.py              # all of them (several minutes)
    demo/make_pictures.py chart        # one group: sprites (first: the wallpapers use
                                       # them), fjord, clouds, chart, clock or stars
    demo/make_pictures.py --waypoints  # the star tour's stops for OrvikSaver.ini
"""

import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")
# /usr/bin first: the Debian package's convert, whatever else PATH may offer.
CONVERT = "/usr/bin/convert" if os.access("/usr/bin/convert", os.X_OK) else shutil.which("convert")
KEY = "#FF00FF"
JPEG = ["-strip", "-sampling-factor", "4:2:0", "-interlace", "none"]
SCRATCH = tempfile.mkdtemp(prefix="orvik-pictures-")


def font(*names):
    for name in names:
        found = subprocess.run(["fc-match", "-f", "%{file}", name], capture_output=True, text=True)
        if found.returncode == 0 and found.stdout:
            return found.stdout
    return "DejaVu-Sans"


FONT_BOLD = font("URW Gothic:style=Demi", "DejaVu Sans:style=Bold")
FONT_BOOK = font("URW Gothic:style=Book", "DejaVu Sans")


def convert(*args):
    subprocess.run([CONVERT, *[str(a) for a in args]], check=True)


STATE_WORDS = ("fill", "stroke", "stroke-width", "font", "font-size", "gravity", "text-antialias")


def draw(primitives):
    """-draw arguments for a list of MVG primitives, cut into pieces that fit one
    command-line argument (the system's policy forbids reading them from a file). Each
    piece starts with the drawing state that the earlier pieces left."""
    args, piece, size, state = [], [], 0, {}
    for line in primitives:
        if size > 60000:
            args += ["-draw", "\n".join(piece)]
            piece, size = [f"{k} {v}" for k, v in state.items()], 0
        words = line.split(" ")
        while len(words) > 1 and words[0] in STATE_WORDS:
            state[words[0]] = words[1]
            words = words[2:]
        piece.append(line)
        size += len(line) + 1
    if piece:
        args += ["-draw", "\n".join(piece)]
    return args


def scratch(name):
    return os.path.join(SCRATCH, name)


def out(name):
    return os.path.join(OUT, name)


def save_jpeg(source, name, quality=80):
    convert(source, *JPEG, "-quality", quality, out(name))


# --- colours ----------------------------------------------------------------------

def mix(a, b, f):
    f = min(1.0, max(0.0, f))
    return tuple(a[i] + (b[i] - a[i]) * f for i in range(3))


def rgb(c, alpha=None):
    r, g, b = (int(round(min(255, max(0, v)))) for v in c)
    return f"rgb({r},{g},{b})" if alpha is None else f"rgba({r},{g},{b},{alpha:.3f})"


def write_ppm(path, width, height, colour_at):
    """A small picture whose pixel (i, j) is colour_at(i, j); it is resized afterwards."""
    data = bytearray()
    for j in range(height):
        for i in range(width):
            data.extend(int(round(min(255, max(0, v)))) for v in colour_at(i, j))
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (width, height))
        f.write(bytes(data))


def write_pgm(path, width, height, value_at):
    data = bytes(int(round(min(255, max(0, value_at(i, j))))) for j in range(height) for i in range(width))
    with open(path, "wb") as f:
        f.write(b"P5 %d %d 255\n" % (width, height))
        f.write(data)


def field(path, width, height, grid_w, grid_h, colour_at):
    """A smooth picture of width x height: colour_at(x, y) sampled on a coarse grid and
    resized. x and y are the full-size coordinates of the grid cells' centres."""
    small = path + ".ppm"
    write_ppm(small, grid_w, grid_h,
              lambda i, j: colour_at((i + 0.5) * width / grid_w, (j + 0.5) * height / grid_h))
    convert(small, "-filter", "Triangle", "-resize", f"{width}x{height}!", path)


# --- the day's light ------------------------------------------------------------------

# hour: zenith, horizon, far ridge, middle ridge, near shore, water, night (0..1)
DAY = [
    (0.0, (8, 12, 38), (30, 40, 82), (32, 40, 70), (20, 26, 50), (9, 12, 26), (14, 20, 44), 1.0),
    (4.3, (12, 18, 52), (44, 50, 96), (36, 42, 76), (24, 28, 54), (11, 14, 30), (18, 24, 52), 0.9),
    (5.5, (44, 60, 118), (236, 150, 128), (112, 96, 132), (70, 64, 102), (32, 32, 56), (70, 66, 108), 0.3),
    (6.6, (70, 112, 178), (255, 196, 128), (142, 130, 154), (88, 90, 116), (40, 46, 62), (96, 104, 136), 0.0),
    (9.0, (58, 122, 204), (184, 216, 240), (122, 152, 184), (68, 108, 110), (38, 72, 58), (62, 112, 152), 0.0),
    (12.0, (38, 108, 212), (172, 212, 246), (126, 156, 192), (72, 118, 114), (42, 84, 58), (48, 108, 160), 0.0),
    (16.0, (50, 112, 200), (204, 216, 232), (130, 150, 178), (76, 110, 108), (44, 78, 56), (60, 110, 150), 0.0),
    (17.8, (62, 74, 146), (255, 156, 76), (152, 104, 122), (92, 62, 92), (44, 30, 50), (126, 84, 92), 0.0),
    (19.0, (30, 36, 94), (186, 92, 104), (82, 62, 102), (50, 40, 72), (24, 22, 40), (52, 42, 74), 0.4),
    (20.6, (12, 16, 46), (38, 44, 86), (34, 40, 72), (22, 27, 52), (10, 13, 28), (16, 22, 48), 0.9),
    (24.0, (8, 12, 38), (30, 40, 82), (32, 40, 70), (20, 26, 50), (9, 12, 26), (14, 20, 44), 1.0),
]


def light(hour):
    """The palette at an hour of the day, interpolated between the table's rows."""
    hour %= 24.0
    for a, b in zip(DAY, DAY[1:]):
        if a[0] <= hour <= b[0]:
            f = (hour - a[0]) / (b[0] - a[0])
            f = f * f * (3 - 2 * f)
            return {
                "zenith": mix(a[1], b[1], f), "horizon": mix(a[2], b[2], f),
                "far": mix(a[3], b[3], f), "mid": mix(a[4], b[4], f),
                "near": mix(a[5], b[5], f), "water": mix(a[6], b[6], f),
                "night": a[7] + (b[7] - a[7]) * f,
            }
    raise ValueError(hour)


# --- ridges -------------------------------------------------------------------------

def ridge(rng, segments, roughness, periodic, screen_segments):
    """Midpoint displacement: segments + 1 heights in 0..1 (first == last when periodic)."""
    h = [0.0] * (segments + 1)
    h[0] = rng.random()
    h[segments] = h[0] if periodic else rng.random()
    step, amplitude = segments, 1.0
    while step > 1:
        half = step // 2
        # shapes wider than a screen (a panorama's) stay low, or they would flatten the rest
        scale = amplitude if step <= screen_segments else amplitude * 0.3
        for i in range(half, segments, step):
            h[i] = (h[i - half] + h[i + half]) / 2 + (rng.random() - 0.5) * scale
        step = half
        if step <= screen_segments:
            amplitude *= roughness
    low, high = min(h), max(h)
    return [(v - low) / (high - low) for v in h]


def polygon(points):
    return "polygon " + " ".join(f"{x:.1f},{y:.1f}" for x, y in points)


# --- a landscape by the water ---------------------------------------------------------

class Landscape:
    """A fjord with three ridges, the sky, the sun or the moon, and the water's
    reflection. hour_at(x) gives the time of day of each column: a constant for a still
    picture, or one that runs along a panorama (periodic: the right edge meets the left)."""

    def __init__(self, width, height, hour_at, seed, periodic=False, period=None):
        self.w, self.h = width, height
        self.hour_at = hour_at
        self.periodic = periodic
        self.rng = random.Random(seed)
        self.water_y = int(height * 0.70)
        # (base, amplitude, segments, roughness) as shares of the height; far to near.
        span = period or width
        reach = 1  # segments must be a power of two
        while reach * 1024 < span:
            reach *= 2
        self.layers = [
            ("far", 0.50, 0.20, 64 * reach, 0.56),
            ("mid", 0.605, 0.13, 64 * reach, 0.52),
            ("near", 0.68, 0.055, 128 * reach, 0.50),
        ]
        self.heights = {}
        for name, base, amplitude, segments, roughness in self.layers:
            r = ridge(self.rng, segments, roughness, periodic, segments // reach)
            self.heights[name] = [(i * width / segments, height * (base - amplitude * v)) for i, v in enumerate(r)]

    def ridge_y(self, name, x):
        pts = self.heights[name]
        step = pts[1][0]
        i = min(len(pts) - 2, int(x / step))
        f = (x - pts[i][0]) / step
        return pts[i][1] + (pts[i + 1][1] - pts[i][1]) * f

    def sky(self, path):
        top = self.h * 0.05
        wy = self.water_y

        def colour(x, y):
            p = light(self.hour_at(x))
            f = max(0.0, (y - top) / (wy - top)) ** 1.4
            return mix(p["zenith"], p["horizon"], f)

        field(path, self.w, self.h, max(2, self.w // 48), 24, colour)

    def draw(self, path, bodies=(), houses=0):
        """bodies: (kind, x, y, radius) with kind "sun" or "moon"."""
        w, h, wy = self.w, self.h, self.water_y
        sky = scratch("sky.png")
        self.sky(sky)
        mvg = []
        # stars, only where the night has come
        for _ in range(int(w * h / 900)):
            x, y = self.rng.random() * w, self.rng.random() * wy * 0.85
            night = light(self.hour_at(x))["night"]
            v = self.rng.random() ** 3 * night
            if v > 0.05:
                r = 0.5 + 1.2 * v if v > 0.5 else 0.6
                mvg.append(f"fill {rgb((255, 250, 235), v)} circle {x:.1f},{y:.1f} {x + r:.1f},{y:.1f}")
        glow = []
        for kind, x, y, radius in bodies:
            p = light(self.hour_at(x))
            if kind == "sun":
                low = max(0.0, min(1.0, (y - h * 0.25) / (h * 0.25)))
                core = mix((255, 250, 228), (255, 200, 120), low)
                glow.append(f"fill {rgb(mix(core, (255, 150, 60), low))} circle {x},{y} {x + radius * 2.6},{y}")
                mvg.append(f"fill {rgb(core)} circle {x},{y} {x + radius},{y}")
            else:
                glow.append(f"fill {rgb((110, 120, 160))} circle {x},{y} {x + radius * 2.2},{y}")
                mvg.append(f"fill {rgb((246, 242, 224))} circle {x},{y} {x + radius},{y}")
                for cx, cy, cr in ((-0.3, -0.25, 0.22), (0.25, 0.1, 0.3), (-0.1, 0.4, 0.15), (0.35, -0.35, 0.12)):
                    mvg.append(f"fill {rgb((222, 220, 206))} circle {x + cx * radius},{y + cy * radius} "
                               f"{x + (cx + cr) * radius},{y + cy * radius}")
        canvas = scratch("canvas.png")
        if glow:
            glow_png = scratch("glow.png")
            convert("-size", f"{w}x{h}", "xc:black", *draw(glow),
                    "-blur", f"0x{max(8, h // 24)}", glow_png)
            convert(sky, glow_png, "-compose", "Screen", "-composite", canvas)
        else:
            shutil.copy(sky, canvas)
        convert(canvas, *draw(mvg or ["point 0,0"]), canvas)

        # ridges: a mask each, painted with colours that follow the hour and mist below
        for name, *_ in self.layers:
            mask_mvg = [f"fill white {polygon([(0, wy)] + self.heights[name] + [(w, wy)])}"]
            if name == "near" and houses:
                mask_mvg += self.house_shapes(houses)
            mask = scratch("mask.png")
            convert("-size", f"{w}x{h}", "xc:black", *draw(mask_mvg), mask)
            tops = min(y for _, y in self.heights[name])

            def colour(x, y, name=name, tops=tops):
                p = light(self.hour_at(x))
                mist = 0.45 if name == "far" else 0.25 if name == "mid" else 0.1
                f = max(0.0, (y - tops) / (wy - tops)) * mist
                return mix(p[name], p["horizon"], f)

            paint = scratch("paint.png")
            field(paint, w, h, max(2, w // 48), 16, colour)
            convert(canvas, paint, mask, "-composite", canvas)
        if houses:
            self.windows(canvas)

        # the water: the land and sky mirrored, darkened, smeared by the waves
        water = scratch("water.png")
        tint = scratch("tint.png")
        depth = h - wy
        field(tint, w, depth, max(2, w // 48), 8,
              lambda x, y: mix(light(self.hour_at(x))["water"], (0, 0, 0), y / depth * 0.35))
        virtual = ["-virtual-pixel", "tile"] if self.periodic else ["-virtual-pixel", "edge"]
        convert(canvas, "-crop", f"{w}x{wy}+0+0", "+repage", "-flip", "-crop", f"{w}x{depth}+0+0", "+repage",
                *virtual, "-motion-blur", f"0x{max(6, h // 60)}+0", "-motion-blur", f"0x{max(6, h // 60)}+180",
                tint, "-compose", "Blend", "-define", "compose:args=55", "-composite", water)
        ripples = []
        for _ in range(int(w * depth / 420)):
            y = wy + depth * self.rng.random() ** 1.6
            x = self.rng.random() * w
            length = (6 + 40 * self.rng.random()) * (0.4 + (y - wy) / depth)
            p = light(self.hour_at(x))
            bright = mix(p["horizon"], (255, 255, 255), 0.4)
            ripples.append(f"stroke {rgb(bright, 0.06 + 0.10 * self.rng.random())} line "
                           f"{x:.1f},{y - wy:.1f} {x + length:.1f},{y - wy:.1f}")
        for kind, bx, by, radius in bodies:  # a path of glints under the sun or the moon
            gl = (255, 220, 150) if kind == "sun" else (220, 225, 245)
            for _ in range(int(depth * 1.2)):
                y = depth * self.rng.random() ** 1.3
                spread = radius * (0.6 + 2.5 * y / depth)
                x = bx + (self.rng.random() - 0.5) * 2 * spread
                length = 4 + 22 * self.rng.random()
                ripples.append(f"stroke {rgb(gl, 0.25 + 0.35 * self.rng.random())} line "
                               f"{x:.1f},{y:.1f} {x + length:.1f},{y:.1f}")
        convert(water, *draw(["fill none", "stroke-width 1.2"] + ripples), water)
        convert(canvas, water, "-geometry", f"+0+{wy}", "-composite", path)

    def house_shapes(self, count):
        """Small houses on the near shore; they take the shore's colour."""
        shapes, self.lit = [], []
        w, h = self.w, self.h
        for i in range(count):
            x0 = (i + 0.15 + 0.7 * self.rng.random()) * w / count
            size = h * (0.012 + 0.01 * self.rng.random())
            for k in range(1 + self.rng.randrange(3)):
                x = x0 + k * size * 1.7
                if x + size > w:
                    break
                ground = max(self.ridge_y("near", x), self.ridge_y("near", x + size)) + size * 0.2
                top = ground - size
                shapes.append(f"fill white {polygon([(x, ground), (x, top), (x + size / 2, top - size * 0.6), (x + size, top), (x + size, ground)])}")
                self.lit.append((x + size * 0.3, top + size * 0.35, size * 0.28))
        return shapes

    def windows(self, canvas):
        mvg = []
        for x, y, s in self.lit:
            night = light(self.hour_at(x))["night"]
            if night > 0.25 and self.rng.random() < 0.85:
                mvg.append(f"fill {rgb((255, 206, 110), min(1.0, night + 0.1))} rectangle {x:.1f},{y:.1f} {x + s:.1f},{y + s:.1f}")
        if mvg:
            convert(canvas, *draw(mvg), canvas)


# --- slide show: the fjord from dawn to night -----------------------------------------

FRAMES = [  # hour, seed, sun or moon (x and y as shares of the frame), radius share
    (6.5, 11, ("sun", 0.30, 0.41, 0.040)),
    (12.0, 23, ("sun", 0.70, 0.14, 0.032)),
    (17.9, 37, ("sun", 0.58, 0.38, 0.042)),
    (0.5, 41, ("moon", 0.26, 0.18, 0.030)),
]


def slide_strip(width, height):
    frames = []
    for n, (hour, seed, (kind, sx, sy, sr)) in enumerate(FRAMES):
        frame = scratch(f"frame{n}.png")
        Landscape(width, height, lambda x, hour=hour: hour, seed).draw(
            frame, bodies=[(kind, sx * width, sy * height, sr * height)], houses=9)
        frames.append(frame)
    strip = scratch("strip.png")
    convert(*frames, "+append", strip)
    save_jpeg(strip, f"orvik-fjord-strip-{width}x{height}.jpg", 78)
    return frames


# --- clock: twenty-four hours along one shore -----------------------------------------

def clock_panorama(width, height, screen_width, name):
    # The view's left edge is at width x hour / 24; the screen's middle shows that hour.
    def hour_at(x):
        return ((x - screen_width / 2) / width * 24.0) % 24.0

    def x_of(hour):
        return (width * hour / 24.0 + screen_width / 2) % width

    bodies = [
        ("moon", x_of(0.0), height * 0.17, height * 0.032),
        ("sun", x_of(6.3), height * 0.47, height * 0.040),
        ("sun", x_of(12.0), height * 0.12, height * 0.032),
        ("sun", x_of(17.8), height * 0.46, height * 0.042),
    ]
    pano = scratch("pano.png")
    Landscape(width, height, hour_at, 53, periodic=True).draw(pano, bodies=bodies, houses=width // 420)
    save_jpeg(pano, name, 76)
    return pano


# --- drift: clouds that tile without a seam --------------------------------------------

def periodic_noise(path, width, height, cells_x, cells_y, seed, octaves, falloff=0.5, reduce=1):
    """Smooth noise that tiles: each octave is a random grid, resized as a 3 x 3 tiling of
    itself, of which the middle is kept; the octaves are added with falling weights.
    reduce > 1 makes it that many times smaller and enlarges the sum the same way."""
    if reduce > 1:
        small = scratch("noise-small.png")
        periodic_noise(small, width // reduce, height // reduce, cells_x, cells_y, seed, octaves, falloff)
        # a border of m pixels taken from the opposite edges keeps the enlargement seamless
        m, w, h = 4, width // reduce, height // reduce
        convert(small, "-virtual-pixel", "tile", "-define", f"distort:viewport={w + 2 * m}x{h + 2 * m}-{m}-{m}",
                "-distort", "SRT", "0", "+repage", "-filter", "Cubic",
                "-resize", f"{(w + 2 * m) * reduce}x{(h + 2 * m) * reduce}!",
                "-crop", f"{width}x{height}+{m * reduce}+{m * reduce}", "+repage", "-depth", "16", path)
        return
    rng = random.Random(seed)
    weights = [falloff ** o for o in range(octaves)]
    cmd = []
    for o in range(octaves):
        nx, ny = cells_x * 2 ** o, cells_y * 2 ** o
        grid = [[rng.random() * 255 for _ in range(nx)] for _ in range(ny)]
        small = scratch(f"noise{o}.pgm")
        write_pgm(small, 3 * nx, 3 * ny, lambda i, j: grid[j % ny][i % nx])
        layer = scratch(f"noise{o}.png")
        convert(small, "-filter", "Cubic", "-resize", f"{3 * width}x{3 * height}!",
                "-crop", f"{width}x{height}+{width}+{height}", "+repage", "-depth", "16", layer)
        weight = ["-evaluate", "multiply", f"{weights[o] / sum(weights):.4f}"]
        cmd += [layer, *weight] if o == 0 else ["(", layer, *weight, ")", "-compose", "Plus", "-composite"]
    convert(*cmd, "-auto-level", "-depth", "16", path)


def clut(path, stops, size=256):
    """A colour lookup strip from (position 0..1, colour) stops."""
    def colour(i, _):
        t = i / (size - 1)
        for (a, ca), (b, cb) in zip(stops, stops[1:]):
            if a <= t <= b:
                return mix(ca, cb, (t - a) / (b - a) if b > a else 0)
        return stops[-1][1]
    write_ppm(path, size, 1, colour)


def cloud_tile(size):
    noise = scratch("clouds.png")
    periodic_noise(noise, size, size, 3, 3, 7, 6)
    lut = scratch("clouds-lut.ppm")
    clut(lut, [(0.0, (46, 110, 200)), (0.42, (74, 140, 220)), (0.55, (150, 190, 236)),
               (0.68, (236, 242, 250)), (1.0, (255, 255, 255))])
    tile = scratch("tile.png")
    convert(noise, lut, "-clut", tile)
    save_jpeg(tile, f"orvik-clouds-tile-{size}.jpg", 82)
    return tile


# --- random hop: a sea chart of the Orvik islands -------------------------------------

def sea_chart(width, height):
    rng = random.Random(71)
    noise = scratch("chart-noise.png")
    layers = []
    for o, cells in enumerate((6, 13, 27, 55)):
        gw, gh = cells, max(2, round(cells * height / width))
        grid = [[rng.random() * 255 for _ in range(gw)] for _ in range(gh)]
        small = scratch(f"chart{o}.pgm")
        write_pgm(small, gw, gh, lambda i, j: grid[j][i])
        layer = scratch(f"chart{o}.png")
        convert(small, "-filter", "Cubic", "-resize", f"{width}x{height}!", "-depth", "16", layer)
        layers.append((layer, 0.55 ** o))
    total = sum(wt for _, wt in layers)
    cmd = [layers[0][0], "-evaluate", "multiply", f"{layers[0][1] / total:.4f}"]
    for layer, weight in layers[1:]:
        cmd += ["(", layer, "-evaluate", "multiply", f"{weight / total:.4f}", ")", "-compose", "Plus", "-composite"]
    convert(*cmd, "-auto-level", "-depth", "16", noise)

    # depth bands with thin contour lines, a dark coast line, then sand, grass, woods, rock
    lut_size = 1024
    land = 0.615

    def colour(i, _):
        t = i / (lut_size - 1)
        if t < land:
            base = mix((84, 138, 188), (208, 236, 246), (t / land) ** 1.6)
            for c in (0.30, 0.42, 0.51, 0.575):
                if abs(t - c) < 0.0026:
                    return mix(base, (50, 92, 140), 0.55)
            return base
        if t < land + 0.004:
            return (70, 62, 48)
        if t < land + 0.02:
            return (234, 214, 166)
        if t < 0.76:
            return mix((168, 196, 120), (112, 160, 92), (t - land - 0.02) / (0.76 - land - 0.02))
        if t < 0.88:
            return mix((86, 132, 80), (66, 104, 68), (t - 0.76) / 0.12)
        return mix((150, 140, 122), (236, 232, 224), (t - 0.88) / 0.12)

    lut = scratch("chart-lut.ppm")
    write_ppm(lut, lut_size, 1, colour)
    chart = scratch("chart.png")
    convert(noise, lut, "-clut", chart)

    # the grid of a chart, its frame, a few names and soundings
    mvg = ["fill none", "stroke rgba(40,70,110,0.28)", "stroke-width 1.4"]
    step = 300
    for x in range(step, width, step):
        mvg.append(f"line {x},0 {x},{height}")
    for y in range(step, height, step):
        mvg.append(f"line 0,{y} {width},{y}")
    mvg += ["stroke rgba(40,60,90,0.9)", "stroke-width 6", f"rectangle 10,10 {width - 10},{height - 10}",
            "stroke-width 2", f"rectangle 24,24 {width - 24},{height - 24}"]
    for x in range(24, width - 24, 60):
        mvg.append(f"line {x},14 {x},24")
        mvg.append(f"line {x},{height - 24} {x},{height - 14}")
    convert(chart, *draw(mvg), chart)

    # soundings where the water is, and a few names
    text = []
    points = [(rng.randrange(60, width - 60), rng.randrange(60, height - 60)) for _ in range(420)]
    depths = sample_gray(noise, points, width, height)
    for (x, y), v in zip(points, depths):
        if v < land * 255 - 8:
            metres = int((land * 255 - v) / 4) + 2
            text.append(f"text {x},{y} '{metres}'")
    names = ["ORVIK SOUND", "Tolvane Bay", "Kvasshamn", "The Narrows", "Storholm", "Outer Skerries", "Lysfjord"]
    spots = []
    for name in names:
        for _ in range(200):
            x, y = rng.randrange(150, width - 500), rng.randrange(150, height - 150)
            if all(abs(x - a) > 700 or abs(y - b) > 300 for a, b in spots):
                break
        spots.append((x, y))
    label = ["font " + repr(FONT_BOOK).replace('"', "'"), "fill rgba(40,70,110,0.75)", "font-size 16"] + text
    label += ["font " + repr(FONT_BOLD).replace('"', "'"), "fill rgba(34,52,82,0.85)", "font-size 30"]
    for name, (x, y) in zip(names, spots):
        label.append(f"text {x},{y} '{name}'")
    convert(chart, *draw(label), chart)
    save_jpeg(chart, f"orvik-chart-{width}x{height}.jpg", 78)
    return chart


def sample_gray(path, points, width, height):
    raw = scratch("gray.gray")
    convert(path, "-depth", "8", "gray:" + raw)
    with open(raw, "rb") as f:
        data = f.read()
    return [data[y * width + x] for x, y in points]


# --- waypoints: a chart of the northern stars -----------------------------------------

CONSTELLATIONS = [  # name, centre (shares of the chart), star offsets in pixels, lines
    ("The Lantern", (0.16, 0.24), [(-90, -120), (0, -160), (90, -120), (90, 40), (-90, 40), (0, 120)],
     [(0, 1), (1, 2), (2, 3), (3, 5), (5, 4), (4, 0), (0, 2)]),
    ("The Heron", (0.44, 0.18), [(-200, 60), (-120, 10), (-30, -30), (40, -120), (100, -150), (60, 40), (140, 120)],
     [(0, 1), (1, 2), (2, 3), (3, 4), (2, 5), (5, 6)]),
    ("Orvik's Boat", (0.78, 0.26), [(-180, 40), (-60, 90), (60, 90), (180, 40), (0, -40), (0, -170), (90, -80)],
     [(0, 1), (1, 2), (2, 3), (1, 4), (4, 5), (5, 6), (6, 4)]),
    ("The Anchor", (0.83, 0.68), [(0, -170), (0, -60), (-60, -60), (60, -60), (0, 100), (-110, 40), (110, 40)],
     [(0, 1), (2, 3), (1, 4), (4, 5), (4, 6)]),
    ("The Whale", (0.52, 0.72), [(-230, 0), (-120, -70), (0, -80), (120, -40), (200, -110), (210, 30), (60, 60), (-120, 50)],
     [(0, 1), (1, 2), (2, 3), (3, 4), (3, 5), (3, 6), (6, 7), (7, 0)]),
    ("The Twin Pines", (0.18, 0.74), [(-120, 120), (-120, -20), (-160, 40), (-80, 40), (60, 120), (60, -60), (20, 20), (100, 20), (-120, -110)],
     [(0, 1), (1, 8), (2, 1), (1, 3), (4, 5), (6, 5), (5, 7)]),
    ("The Crown", (0.34, 0.47), [(-140, 30), (-90, -60), (-40, 10), (0, -90), (40, 10), (90, -60), (140, 30)],
     [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (5, 6), (6, 0)]),
    ("The North Gate", (0.66, 0.47), [(-100, 110), (-100, -40), (-40, -120), (40, -120), (100, -40), (100, 110), (0, -10)],
     [(0, 1), (1, 2), (2, 3), (3, 4), (4, 5), (1, 6), (6, 4)]),
]
TOUR = [6, 1, 2, 7, 3, 4, 5, 0]  # the order in which the tour visits them


def star_chart(width, height, grid):
    """A chart that tiles without a seam (the tour may wrap around its edges): nebulae of
    periodic noise, a grid whose spacing divides the size, and stars drawn wrapped."""
    rng = random.Random(97)
    haze = scratch("stars-haze.png")
    periodic_noise(haze, width, height, 5, 3, 31, 5, 0.6, reduce=4)
    lut = scratch("stars-lut.ppm")
    clut(lut, [(0.0, (5, 8, 22)), (0.45, (12, 18, 44)), (0.70, (30, 34, 78)), (0.86, (62, 52, 104)),
               (1.0, (96, 80, 132))])
    sky = scratch("stars-sky.png")
    convert(haze, lut, "-clut", sky)

    def wrapped(x, y, reach):
        for dx in (-width, 0, width):
            for dy in (-height, 0, height):
                if -reach <= x + dx <= width + reach and -reach <= y + dy <= height + reach:
                    yield x + dx, y + dy

    mvg = ["fill none", "stroke rgba(110,140,200,0.16)", "stroke-width 1.3"]
    for x in range(0, width, grid):
        mvg.append(f"line {x},0 {x},{height}")
    for y in range(0, height, grid):
        mvg.append(f"line 0,{y} {width},{y}")
    mvg.append("stroke none")
    for _ in range(int(width * height / 650)):
        x, y = rng.random() * width, rng.random() * height
        v = rng.random() ** 3.5
        r = 0.5 + 1.5 * v ** 2
        tone = mix((255, 244, 226), (200, 220, 255), rng.random())
        for wx, wy in wrapped(x, y, 3):
            mvg.append(f"fill {rgb(tone, 0.35 + 0.65 * v)} circle {wx:.1f},{wy:.1f} {wx + r:.1f},{wy:.1f}")
    label_font = "font " + repr(FONT_BOOK).replace('"', "'")
    glow = []
    for name, (fx, fy), stars, lines in CONSTELLATIONS:
        ox, oy = fx * width, fy * height
        pts = [(ox + dx, oy + dy) for dx, dy in stars]
        mvg += ["fill none", "stroke rgba(150,190,255,0.55)", "stroke-width 2"]
        for a, b in lines:
            (x1, y1), (x2, y2) = pts[a], pts[b]
            mvg.append(f"line {x1:.0f},{y1:.0f} {x2:.0f},{y2:.0f}")
        mvg.append("stroke none")
        for x, y in pts:
            r = 4 + 3 * rng.random()
            mvg.append(f"fill rgb(255,250,236) circle {x:.0f},{y:.0f} {x + r:.0f},{y:.0f}")
            glow.append(f"fill rgb(150,170,255) circle {x:.0f},{y:.0f} {x + r * 3:.0f},{y:.0f}")
        bottom = max(y for _, y in pts)
        mvg += [label_font, "fill rgba(200,214,255,0.85)", "font-size 26"]
        mvg.append(f"text {ox - 13 * len(name) / 2 * 1.05:.0f},{bottom + 40:.0f} \"{name.upper()}\"")
    glow_png = scratch("starglow.png")
    convert("-size", f"{width}x{height}", "xc:black", *draw(glow), "-blur", "0x7", glow_png)
    chart = scratch("starchart.png")
    convert(sky, glow_png, "-compose", "Screen", "-composite", *draw(mvg), chart)
    save_jpeg(chart, f"orvik-stars-{width}x{height}.jpg", 78)
    return chart


def tour_waypoints(width, height, screen_w, screen_h, scale=1.0):
    """View origins that put each constellation in the middle of the screen, on a chart
    drawn at width x height and shown scaled by scale."""
    result = []
    for index in TOUR:
        _, (fx, fy), stars, _ = CONSTELLATIONS[index]
        mx = (fx * width + sum(dx for dx, _ in stars) / len(stars)) * scale
        my = (fy * height + sum(dy for _, dy in stars) / len(stars)) * scale
        width_s, height_s = round(width * scale), round(height * scale)
        result.append((int(mx - screen_w / 2) % width_s, int(my - screen_h / 2) % height_s))
    return result


# --- sprites: magenta stands for "transparent" -----------------------------------------

def keyed_sprite(drawing, size, name, matte):
    """Draws an antialiased picture on transparency, flattens its edges onto a matte
    colour close to the backgrounds it will stand on, and keys the rest to magenta."""
    w, h = size
    rgba = scratch("sprite-rgba.png")
    convert("-size", f"{w}x{h}", "xc:none", *drawing, rgba)
    flat = scratch("sprite-flat.png")
    convert(rgba, "-background", matte, "-alpha", "remove", "-alpha", "off", flat)
    mask = scratch("sprite-mask.png")
    convert(rgba, "-alpha", "extract", "-threshold", "40%", mask)
    convert("-size", f"{w}x{h}", f"xc:{KEY}", flat, mask, "-composite", "-alpha", "off",
            "-type", "TrueColor", "BMP3:" + out(name))
    # the key must be exact, and the corners are always transparent
    corner = subprocess.run([CONVERT, out(name), "-format", "%[pixel:p{0,0}]", "info:"],
                            capture_output=True, text=True, check=True).stdout
    if corner.strip().lower() not in ("srgb(255,0,255)", "magenta", "fuchsia", "#ff00ff"):
        raise SystemExit(f"{name}: corner is {corner}, not the magenta key")


def wordmark():
    w, h = 350, 120
    p = ["stroke none", "fill rgb(236,244,252)",
         # an emblem: a peak over two waves
         "polygon 18,80 52,22 86,80", "fill rgb(86,170,220)", "polygon 40,80 60,46 80,80",
         "fill none", "stroke rgb(236,244,252)", "stroke-width 5",
         "path 'M 14,94 Q 32,84 50,94 T 86,94'", "stroke rgb(86,170,220)",
         "path 'M 14,106 Q 32,96 50,106 T 86,106'",
         "stroke none", "fill rgb(236,244,252)", "font " + repr(FONT_BOLD).replace('"', "'"),
         "font-size 58", "text 104,82 'Tolvane'",
         "fill rgb(170,205,232)", "font " + repr(FONT_BOOK).replace('"', "'"), "font-size 19",
         "text 108,108 'S C R E E N   S A V E R'"]
    keyed_sprite(draw(p), (w, h), "orvik-wordmark.bmp", "rgb(20,26,44)")


def sun_sprite():
    s = 220
    c = s / 2
    p = ["stroke none", "fill rgb(255,214,90)"]
    for k in range(16):
        a = k * math.pi / 8
        long_ray = 1.0 if k % 2 == 0 else 0.78
        pts = [(c + math.cos(a - 0.09) * 62, c + math.sin(a - 0.09) * 62),
               (c + math.cos(a) * 104 * long_ray, c + math.sin(a) * 104 * long_ray),
               (c + math.cos(a + 0.09) * 62, c + math.sin(a + 0.09) * 62)]
        p.append(polygon(pts))
    p += ["fill rgb(255,236,150)", f"circle {c},{c} {c + 64},{c}",
          "fill rgb(255,246,196)", f"circle {c - 10},{c - 10} {c + 30},{c - 10}"]
    keyed_sprite(draw(p), (s, s), "orvik-sun.bmp", "rgb(190,214,240)")


def compass_rose():
    s = 240
    c = s / 2
    p = ["fill rgba(244,236,214,0.92)", "stroke rgb(50,70,100)", "stroke-width 2",
         f"circle {c},{c} {c + 100},{c}", "fill none", f"circle {c},{c} {c + 86},{c}"]
    for k in range(32):
        a = k * math.pi / 16
        r1 = 86 if k % 4 else 74
        p.append(f"line {c + math.cos(a) * r1:.1f},{c + math.sin(a) * r1:.1f} {c + math.cos(a) * 100:.1f},{c + math.sin(a) * 100:.1f}")
    for k in range(8):
        a = k * math.pi / 4 - math.pi / 2
        length = 96 if k % 2 == 0 else 58
        tip = (c + math.cos(a) * length, c + math.sin(a) * length)
        left = (c + math.cos(a - math.pi / 2) * 14, c + math.sin(a - math.pi / 2) * 14)
        right = (c + math.cos(a + math.pi / 2) * 14, c + math.sin(a + math.pi / 2) * 14)
        dark, light_ = ("rgb(40,62,96)", "rgb(200,172,110)") if k % 2 == 0 else ("rgb(90,110,140)", "rgb(230,214,170)")
        p += ["stroke rgb(40,60,90)", "stroke-width 1", f"fill {dark}", polygon([(c, c), tip, left]),
              f"fill {light_}", polygon([(c, c), tip, right])]
    p += ["fill rgb(160,40,40)", "stroke none", f"circle {c},{c} {c + 6},{c}",
          "font " + repr(FONT_BOLD).replace('"', "'"), "font-size 22", "fill rgb(150,36,36)",
          f"text {c - 8},{c - 101 + 2} 'N'"]
    keyed_sprite(draw(p), (s, s), "orvik-compass.bmp", "rgb(150,196,222)")


def clock_badge():
    s = 180
    c = s / 2
    p = ["stroke rgb(230,236,248)", "stroke-width 4", "fill rgb(24,34,66)", f"circle {c},{c} {c + 80},{c}",
         "stroke none", "fill rgb(255,206,92)", f"path 'M {c},{c - 64} A 64,64 0 0,1 {c},{c + 64} Z'",
         "fill rgb(255,240,186)", f"circle {c + 30},{c} {c + 46},{c}",
         "fill rgb(236,240,252)", f"circle {c - 28},{c} {c - 6},{c}",
         "fill rgb(24,34,66)", f"circle {c - 18},{c - 7} {c - 1},{c - 7}",
         "fill rgb(236,240,252)", f"circle {c - 40},{c - 36} {c - 38},{c - 36}",
         f"circle {c - 22},{c + 38} {c - 20.5},{c + 38}", f"circle {c - 50},{c + 22} {c - 48.5},{c + 22}"]
    for k in range(24):
        a = k * math.pi / 12
        r1 = 66 if k % 6 else 60
        p += ["stroke rgb(230,236,248)", "stroke-width 3" if k % 6 == 0 else "stroke-width 1.5",
              f"line {c + math.cos(a) * r1:.1f},{c + math.sin(a) * r1:.1f} {c + math.cos(a) * 75:.1f},{c + math.sin(a) * 75:.1f}"]
    keyed_sprite(draw(p), (s, s), "orvik-daybadge.bmp", "rgb(60,80,120)")


def reticle():
    s = 300
    c = s / 2
    p = ["fill none", "stroke rgb(150,214,255)", "stroke-width 3", f"circle {c},{c} {c + 120},{c}",
         "stroke-width 1.5", f"circle {c},{c} {c + 104},{c}", "stroke-width 3"]
    for a in (0, 90, 180, 270):
        r = math.radians(a)
        p.append(f"line {c + math.cos(r) * 132:.0f},{c + math.sin(r) * 132:.0f} {c + math.cos(r) * 92:.0f},{c + math.sin(r) * 92:.0f}")
    for a in range(0, 360, 15):
        r = math.radians(a)
        p += ["stroke-width 1.5", f"line {c + math.cos(r) * 120:.0f},{c + math.sin(r) * 120:.0f} {c + math.cos(r) * 112:.0f},{c + math.sin(r) * 112:.0f}"]
    keyed_sprite(draw(p), (s, s), "orvik-reticle.bmp", "rgb(16,22,48)")


# --- wallpapers: one still picture per type --------------------------------------------

def wallpaper(source, name, sprite=None, at=None, crop=None, size=(1600, 900)):
    w, h = size
    args = [source]
    if crop:
        args += ["-crop", crop, "+repage"]
    args += ["-resize", f"{w}x{h}^", "-gravity", "center", "-extent", f"{w}x{h}", "+gravity"]
    if sprite:
        args += ["(", out(sprite), "-transparent", KEY, ")", "-geometry", at, "-composite"]
    convert(*args, *JPEG, "-quality", 80, out(name))


SCREENS = ((1024, 768), (1366, 768), (1920, 1080), (2560, 1440))
STARS = (4000, 2400, 400)  # width, height, grid spacing
STARS_REFERENCE = 0.6  # the 1024 x 768 entry's copy, which the saver scales to other screens
CHART = (3600, 2400)
CHART_REFERENCE = (2304, 1536)


def reference_copy(source, size, name):
    convert(source, "-filter", "Lanczos", "-resize", f"{size[0]}x{size[1]}!", *JPEG, "-quality", 78, out(name))


def print_waypoints():
    width, height, _ = STARS
    for screen in SCREENS:
        scale = STARS_REFERENCE if screen == (1024, 768) else 1.0
        points = tour_waypoints(width, height, *screen, scale)
        print(f"{screen[0]}x{screen[1]}:", ",".join(f"{x},{y}" for x, y in points))


def main():
    if sys.argv[1:] == ["--waypoints"]:
        print_waypoints()
        return
    os.makedirs(OUT, exist_ok=True)
    only = sys.argv[1] if len(sys.argv) > 1 else ""
    want = lambda what: only in what
    if want("sprites"):
        wordmark(); sun_sprite(); compass_rose(); clock_badge(); reticle()
    if want("fjord"):
        for size in SCREENS:
            frames = slide_strip(*size)
            if size == (1920, 1080):
                wallpaper(frames[0], "orvik-fjord-wallpaper.jpg", "orvik-wordmark.bmp", "+1180+740")
    if want("clouds"):
        tile = cloud_tile(1024)
        tiled = scratch("tiled.png")
        convert("-size", "1600x900", "tile:" + tile, tiled)
        wallpaper(tiled, "orvik-clouds-wallpaper.jpg", "orvik-sun.bmp", "+1320+60")
    if want("chart"):
        chart = sea_chart(*CHART)
        reference_copy(chart, CHART_REFERENCE, f"orvik-chart-{CHART_REFERENCE[0]}x{CHART_REFERENCE[1]}.jpg")
        wallpaper(chart, "orvik-chart-wallpaper.jpg", "orvik-compass.bmp", "+50+610", crop="2400x1350+600+500")
    if want("clock"):
        clock_panorama(6144, 768, 1024, "orvik-day-6144x768.jpg")
        clock_panorama(9600, 1080, 1920, "orvik-day-9600x1080.jpg")
        clock_panorama(12800, 1440, 2560, "orvik-day-12800x1440.jpg")
        # late morning, from the 1024 x 768 panorama
        wallpaper(out("orvik-day-6144x768.jpg"), "orvik-day-wallpaper.jpg", "orvik-daybadge.bmp", "+1380+40",
                  crop="1366x768+2560+0")
    if want("stars"):
        width, height, grid = STARS
        chart = star_chart(width, height, grid)
        small = (round(width * STARS_REFERENCE), round(height * STARS_REFERENCE))
        reference_copy(chart, small, f"orvik-stars-{small[0]}x{small[1]}.jpg")
        wallpaper(chart, "orvik-stars-wallpaper.jpg", "orvik-reticle.bmp", "+650+300", crop="2400x1350+800+400")


if __name__ == "__main__":
    try:
        main()
    finally:
        shutil.rmtree(SCRATCH, ignore_errors=True)
