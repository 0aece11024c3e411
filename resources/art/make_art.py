#!/usr/bin/env python3
"""Draws the program's pictures and writes them as the exact files the .rc names.

ImageMagick's `convert` draws and reduces colours; this script packs the pixels into
palette BMP and ICO files itself, so that the bit depths and palette sizes are exactly
the ones the program promises (8-bit BMP with a 256-entry palette, 4- and 8-bit icons
with AND masks). Run it from anywhere; the files land beside this script.

    python3 resources/art/make_art.py [--png FOLDER]   # --png also writes PNG previews
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = HERE

FONT_FOLDER = "/usr/share/fonts/truetype/dejavu"
SANS = os.path.join(FONT_FOLDER, "DejaVuSans.ttf")
SANS_BOLD = os.path.join(FONT_FOLDER, "DejaVuSans-Bold.ttf")
SANS_CONDENSED_BOLD = os.path.join(FONT_FOLDER, "DejaVuSansCondensed-Bold.ttf")

# The dialog face that the logo is drawn over; its soft edges are blended into it.
DIALOG_FACE = (0xF0, 0xF0, 0xF0)


def convert(args, stdin=None):
    result = subprocess.run(["convert"] + args, input=stdin, stdout=subprocess.PIPE, check=True)
    return result.stdout


def draw_rgba(width, height, args):
    """Runs a drawing on a transparent canvas and returns its RGBA bytes."""
    data = convert(["-size", f"{width}x{height}", "xc:none"] + args + ["-depth", "8", "rgba:-"])
    assert len(data) == width * height * 4, (len(data), width, height)
    return data


def reduce_colours(rgb_pixels, count, dither):
    """Maps a list of (r, g, b) to at most count colours; returns the mapped list."""
    if not rgb_pixels:
        return []
    distinct = set(rgb_pixels)
    if len(distinct) <= count:
        return list(rgb_pixels)
    # The pixels go through ImageMagick as one row, so that only the pixels that are
    # really drawn (not the transparent ones) decide the palette.
    raw = b"".join(bytes(p) for p in rgb_pixels)
    size = f"{len(rgb_pixels)}x1"
    dither_args = ["-dither", "FloydSteinberg"] if dither else ["+dither"]
    out = convert(["-size", size, "-depth", "8", "rgb:-"] + dither_args +
                  ["-colors", str(count), "-depth", "8", "rgb:-"], stdin=raw)
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


def reduce_image(rgb, width, height, count, dither):
    """Colour reduction of a whole picture (dithering needs the 2-D neighbourhood)."""
    dither_args = ["-dither", "FloydSteinberg"] if dither else ["+dither"]
    out = convert(["-size", f"{width}x{height}", "-depth", "8", "rgb:-"] + dither_args +
                  ["-colors", str(count), "-depth", "8", "rgb:-"], stdin=rgb)
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


def reduce_to_popular(rgb, width, height, count):
    """Keeps the count most frequent colours exactly (a white background stays white) and
    maps every other pixel, such as the soft edges of text, to the nearest of them."""
    pixels = [tuple(rgb[i:i + 3]) for i in range(0, len(rgb), 3)]
    frequency = {}
    for p in pixels:
        frequency[p] = frequency.get(p, 0) + 1
    if len(frequency) <= count:
        return pixels
    popular = sorted(frequency, key=lambda c: (-frequency[c], c))[:count]
    with tempfile.TemporaryDirectory() as folder:
        palette = os.path.join(folder, "palette.png")
        convert(["-size", f"{len(popular)}x1", "-depth", "8", "rgb:-", palette],
                stdin=b"".join(bytes(c) for c in popular))
        out = convert(["-size", f"{width}x{height}", "-depth", "8", "rgb:-", "+dither",
                       "-remap", palette, "-depth", "8", "rgb:-"], stdin=rgb)
    return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]


def palette_of(pixels, size):
    palette = sorted(set(pixels))
    assert len(palette) <= size, f"{len(palette)} colours do not fit a palette of {size}"
    palette += [(0, 0, 0)] * (size - len(palette))
    return palette


def packed_rows(indices, width, height, bits):
    """Bottom-up rows of palette indices, each padded to a multiple of 4 bytes."""
    rows = []
    per_byte = 8 // bits
    for y in reversed(range(height)):
        row = bytearray()
        for x0 in range(0, width, per_byte):
            value = 0
            for k in range(per_byte):
                x = x0 + k
                index = indices[y * width + x] if x < width else 0
                value |= index << (8 - bits * (k + 1))
            row.append(value)
        row += b"\0" * (-len(row) % 4)
        rows.append(bytes(row))
    return b"".join(rows)


def info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0,
                       colours, 0)


def palette_bytes(palette):
    return b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)


def write_bmp8(path, width, height, pixels):
    palette = palette_of(pixels, 256)
    index = {colour: i for i, colour in enumerate(palette)}
    bits = packed_rows([index[p] for p in pixels], width, height, 8)
    header = info_header(width, height, 8, 256, len(bits)) + palette_bytes(palette)
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset))
        f.write(header)
        f.write(bits)


def icon_image(width, height, rgba, bits, alpha_threshold=128, blend=None):
    """One ICO directory image: palette DIB of the given depth plus its AND mask."""
    colours = 1 << bits
    opaque = []
    for i in range(width * height):
        r, g, b, a = rgba[4 * i:4 * i + 4]
        if a < alpha_threshold:
            opaque.append(None)
        elif blend is not None:
            # Soft edges blended into the background the image is meant to sit on.
            opaque.append(tuple((c * a + bg * (255 - a)) // 255 for c, bg in zip((r, g, b), blend)))
        else:
            opaque.append((r, g, b))
    drawn = [p for p in opaque if p is not None]
    # Where the mask lets the background through, the colour must be black (the platform
    # combines the two by AND then XOR), so black always has a palette entry.
    black = (0, 0, 0)
    room = colours - 1 if any(p is None for p in opaque) else colours
    mapped = iter(reduce_colours(drawn, room, dither=False))
    pixels = [next(mapped) if p is not None else None for p in opaque]
    palette = palette_of([p for p in pixels if p is not None] + [black], colours)
    index = {colour: i for i, colour in enumerate(palette)}
    xor = packed_rows([index[p] if p is not None else index[black] for p in pixels], width,
                      height, bits)
    mask = packed_rows([1 if p is None else 0 for p in pixels], width, height, 1)
    header = info_header(width, height * 2, bits, colours, len(xor) + len(mask))
    return header + palette_bytes(palette) + xor + mask, colours


def write_ico(path, images):
    """images: list of (width, height, image bytes, colour count)."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for width, height, data, colours in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, colours % 256, 0, 1,
                               (colours - 1).bit_length(), len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + entries + b"".join(data for _, _, data, _ in images))


def rgb_of(rgba):
    return bytes(b for i, b in enumerate(rgba) if i % 4 != 3)


# ---------------------------------------------------------------------------------------
# The pictures


def text(font, size, colour, gravity, x, y, words, stroke=None):
    args = ["-font", font, "-pointsize", str(size), "-fill", colour, "-gravity", gravity]
    if stroke:
        args += ["-stroke", stroke[0], "-strokewidth", str(stroke[1])]
    else:
        args += ["-stroke", "none"]
    return args + ["-annotate", f"+{x}+{y}", words, "-gravity", "NorthWest", "-stroke", "none"]


def sunset_landscape(width, height, scale):
    """The evening lake that the preview placeholder and the program icon share."""
    s = scale

    def pts(*xy):
        return " ".join(f"{x * s:.1f},{y * s:.1f}" for x, y in zip(xy[0::2], xy[1::2]))

    horizon = 118
    return [
        # Sky: night blue above, a violet middle, warm light at the horizon.
        "(", "-size", f"{width}x{int(62 * s)}", "gradient:#101a4a-#6b4c93", ")",
        "-geometry", "+0+0", "-composite",
        "(", "-size", f"{width}x{int((horizon - 62) * s) + 1}", "gradient:#6b4c93-#f7a45c", ")",
        "-geometry", f"+0+{int(62 * s)}", "-composite",
        # Stars.
        "-fill", "#e8ecff",
        "-draw", " ".join(f"circle {x * s},{y * s} {x * s + 0.6 * s},{y * s}" for x, y in
                          [(18, 12), (52, 28), (88, 9), (131, 22), (203, 14), (226, 35),
                           (31, 47), (186, 40), (112, 44), (70, 55)]),
        # The sun with a soft glow.
        "(", "-size", f"{width}x{height}", "xc:none", "-fill", "#ffcf7a80",
        "-draw", f"circle {166 * s},{108 * s} {166 * s},{80 * s}", "-blur", f"0x{6 * s}", ")",
        "-composite",
        "-fill", "#ffe3a1", "-draw", f"circle {166 * s},{108 * s} {166 * s},{91 * s}",
        # Far, middle and near ridges.
        "-fill", "#7a5a9e",
        "-draw", "polygon " + pts(0, 100, 22, 88, 40, 95, 64, 78, 90, 96, 118, 86, 150, 104,
                                  176, 98, 204, 84, 240, 100, 240, horizon, 0, horizon),
        "-fill", "#4a3f7f",
        "-draw", "polygon " + pts(0, 108, 30, 100, 58, 110, 96, 97, 132, 112, 170, 108, 196,
                                  112, 240, 104, 240, horizon, 0, horizon),
        "-fill", "#232a5c",
        "-draw", "polygon " + pts(0, 113, 46, 106, 84, 116, 120, 118, 0, 118),
        "-draw", "polygon " + pts(150, 118, 190, 110, 222, 114, 240, 108, 240, 118),
        # Water, with the sun's reflection as broken bands.
        "(", "-size", f"{width}x{height - int(horizon * s)}", "gradient:#5a4a8a-#101634", ")",
        "-geometry", f"+0+{int(horizon * s)}", "-composite",
        "-fill", "#ffd58a",
        "-draw", " ".join(
            f"rectangle {(166 - w) * s},{y * s} {(166 + w) * s},{(y + 1.2) * s}"
            for w, y in [(16, 121), (12, 125), (14, 129), (9, 134), (10, 139), (6, 145),
                         (7, 151), (4, 158), (3, 166)]),
        "-fill", "#8f77b8",
        "-draw", " ".join(
            f"rectangle {x * s},{y * s} {(x + w) * s},{(y + 0.8) * s}"
            for x, y, w in [(24, 124, 30), (70, 131, 22), (12, 142, 18), (100, 150, 26),
                            (200, 127, 24), (210, 140, 16), (40, 160, 28), (190, 168, 20)]),
    ]


def hourglass(x, y, size):
    """A small white hourglass, top-left corner at (x, y), size pixels high."""
    w = size * 0.62
    h = size
    m = size * 0.08
    return [
        "-fill", "#ffffffd8", "-stroke", "none",
        "-draw", f"rectangle {x},{y} {x + w},{y + m}",
        "-draw", f"rectangle {x},{y + h - m} {x + w},{y + h}",
        "-fill", "none", "-stroke", "#ffffff", "-strokewidth", "1.2",
        "-draw", f"polyline {x + m},{y + m} {x + w / 2 - 0.8},{y + h / 2} {x + m},{y + h - m}",
        "-draw", f"polyline {x + w - m},{y + m} {x + w / 2 + 0.8},{y + h / 2} {x + w - m},"
                 f"{y + h - m}",
        "-stroke", "none", "-fill", "#ffd58a",
        "-draw", f"polygon {x + w * 0.3},{y + h * 0.28} {x + w * 0.7},{y + h * 0.28} "
                 f"{x + w / 2},{y + h * 0.47}",
        "-draw", f"polygon {x + w / 2},{y + h * 0.66} {x + w * 0.76},{y + h - m - 0.5} "
                 f"{x + w * 0.24},{y + h - m - 0.5}",
    ]


def preview_placeholder():
    width, height = 240, 180
    args = sunset_landscape(width, height, 1)
    args += text(SANS_BOLD, 30, "#00000060", "North", 1, 15, "Tolvane")
    args += text(SANS_BOLD, 30, "#ffffff", "North", 0, 13, "Tolvane")
    args += text(SANS, 13, "#00000060", "North", 1, 51, "Screen Saver")
    args += text(SANS, 13, "#fff2dc", "North", 0, 50, "Screen Saver")
    args += hourglass(218, 152, 20)
    rgba = draw_rgba(width, height, args)
    return width, height, reduce_image(rgb_of(rgba), width, height, 256, dither=True)


def logo_mark(width, height, cx, cy, r):
    """The maker's mark, a rising sun over a wave inside a disc centred on (cx, cy), as a
    layer composited over a canvas of width x height."""
    disc = f"circle {cx},{cy} {cx},{cy - r}"
    return [
        "(", "-size", f"{width}x{height}", "xc:none", "-stroke", "none",
        "-fill", "#f08c2e", "-draw", disc,
        "-fill", "#ffc24a",
        "-draw", f"circle {cx - r * 0.18},{cy - r * 0.18} {cx - r * 0.18},{cy - r * 0.72}",
        "-fill", "#1f3a8a",
        "-draw", f"path 'M {cx - r * 1.05},{cy + r * 0.15} "
                 f"Q {cx - r * 0.45},{cy - r * 0.35} {cx + r * 0.1},{cy + r * 0.2} "
                 f"T {cx + r * 1.05},{cy + r * 0.05} L {cx + r * 1.05},{cy + r * 1.05} "
                 f"L {cx - r * 1.05},{cy + r * 1.05} Z'",
        "(", "-size", f"{width}x{height}", "xc:none", "-fill", "white", "-draw", disc, ")",
        "-compose", "DstIn", "-composite", "-compose", "Over", ")", "-composite",
    ]


def notice():
    width, height = 320, 240
    args = ["-fill", "white", "-draw", f"rectangle 0,0 {width},{height}"]
    # The maker's logo at the top.
    args += logo_mark(width, height, 108, 34, 17)
    args += text(SANS_BOLD, 26, "#1f3a8a", "NorthWest", 132, 18, "Tolvane")
    args += ["-fill", "#d5d9e6", "-draw", "rectangle 24,68 296,69"]
    # A warning sign.
    args += ["-fill", "#f2b01e", "-stroke", "#8a5a00", "-strokewidth", "2",
             "-draw", "polygon 160,82 185,126 135,126", "-stroke", "none",
             "-fill", "#202020", "-draw", "roundrectangle 157.5,95 162.5,114 2,2",
             "-draw", "circle 160,120 160,117.6"]
    args += text(SANS_BOLD, 14, "#202020", "North", 0, 140, "The screen saver was not")
    args += text(SANS_BOLD, 14, "#202020", "North", 0, 158, "installed correctly.")
    args += text(SANS, 12, "#3a3a3a", "North", 0, 188, "Please reinstall")
    args += text(SANS, 12, "#3a3a3a", "North", 0, 204, "Tolvane Screen Saver.")
    rgba = draw_rgba(width, height, args)
    return width, height, reduce_to_popular(rgb_of(rgba), width, height, 256)


def logo_icon():
    """Icon 103: the logo for the dialog's corner, 72 x 32."""
    width, height = 72, 32
    scale = 4
    big = ["-size", f"{width * scale}x{height * scale}", "xc:none"]
    big += logo_mark(width * scale, height * scale, 9 * scale, 16 * scale, 8.5 * scale)
    big += text(SANS_CONDENSED_BOLD, 13 * scale, "#1f3a8a", "NorthWest", 19.5 * scale,
                7 * scale, "Tolvane")
    data = convert(big + ["-filter", "Box", "-resize", f"{width}x{height}!", "-depth", "8",
                          "rgba:-"])
    return icon_image(width, height, data, 4, alpha_threshold=70, blend=DIALOG_FACE)


def program_icon_rgba(size):
    """The program icon: the evening lake of the preview placeholder on a rounded tile,
    drawn large and reduced."""
    big = 256
    radius = 48 if size >= 32 else 56
    horizon = 160
    sun = 84 if size >= 32 else 100  # at 16 x 16 the sun has to carry the picture
    args = [
        "-size", f"{big}x{big}", "xc:none",
        "(", "-size", f"{big}x{horizon}", "gradient:#17205a-#f7a45c", ")",
        "-geometry", "+0+0", "-composite",
        "-fill", "#ffe3a1", "-draw", f"circle 128,{horizon} 128,{horizon - sun}",
        "-fill", "#4a3f7f",
        "-draw", f"polygon 0,120 40,96 84,134 120,116 150,140 196,104 256,132 256,{horizon} "
                 f"0,{horizon}",
        "(", "-size", f"{big}x{big - horizon}", "gradient:#5a4a8a-#101634", ")",
        "-geometry", f"+0+{horizon}", "-composite",
        "-fill", "#ffd58a",
        "-draw", " ".join(f"rectangle {128 - w},{y} {128 + w},{y + 9}"
                          for w, y in [(72, 168), (50, 188), (30, 208), (14, 228)]),
        # Round the tile off and give it a dark rim that holds on any background.
        "(", "-size", f"{big}x{big}", "xc:none", "-fill", "white",
        "-draw", f"roundrectangle 0,0 {big - 1},{big - 1} {radius},{radius}", ")",
        "-compose", "DstIn", "-composite", "-compose", "Over",
        "-fill", "none", "-stroke", "#0b1236", "-strokewidth", "12" if size >= 32 else "16",
        "-draw", f"roundrectangle 6,6 {big - 7},{big - 7} {radius - 6},{radius - 6}",
        "-stroke", "none",
    ]
    return convert(args + ["-filter", "Box", "-resize", f"{size}x{size}!", "-depth", "8",
                           "rgba:-"])


def program_icon():
    images = []
    for size in (16, 32):
        rgba = program_icon_rgba(size)
        for bits in (4, 8):
            data, colours = icon_image(size, size, rgba, bits)
            images.append((size, size, data, colours))
    return images


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--png", help="also write PNG previews into this folder")
    parser.add_argument("--only", nargs="*", help="bitmaps or icons to make (default: all)")
    options = parser.parse_args()

    if not shutil.which("convert"):
        sys.exit("make_art: ImageMagick's convert is needed")
    for font in (SANS, SANS_BOLD, SANS_CONDENSED_BOLD):
        if not os.path.exists(font):
            sys.exit(f"make_art: font {font} is needed (Debian: fonts-dejavu-core)")

    wanted = set(options.only or ["notice", "preview", "logo", "program"])
    if "preview" in wanted:
        width, height, pixels = preview_placeholder()
        write_bmp8(os.path.join(OUT, "preview_placeholder.bmp"), width, height, pixels)
    if "notice" in wanted:
        width, height, pixels = notice()
        write_bmp8(os.path.join(OUT, "notice.bmp"), width, height, pixels)
    if "logo" in wanted:
        data, colours = logo_icon()
        write_ico(os.path.join(OUT, "logo.ico"), [(72, 32, data, colours)])
    if "program" in wanted:
        write_ico(os.path.join(OUT, "program.ico"), program_icon())

    if options.png:
        os.makedirs(options.png, exist_ok=True)
        for name in ("preview_placeholder.bmp", "notice.bmp", "logo.ico", "program.ico"):
            source = os.path.join(OUT, name)
            if os.path.exists(source):
                stem = os.path.splitext(name)[0]
                subprocess.run(["convert", source, "-scale", "400%",
                                os.path.join(options.png, stem + "-%d.png")], check=True)


if __name__ == "__main__":
    main()
