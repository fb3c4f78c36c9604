#!/usr/bin/python3
"""Renders the program's compiled-in XPM icon as the desktop icons.

The PNG and SVG beside this script are its output and are committed, so the
Linux build needs no Python. Run it again after changing window/icon.xpm:
    dist/icons_from_xpm.py
The Windows build makes the program's 16-colour .ico with it:
    dist/icons_from_xpm.py --ico baud51.ico
"""
import pathlib
import re
import struct
import sys
import zlib

HERE = pathlib.Path(__file__).resolve().parent
XPM = HERE.parent / "window" / "icon.xpm"


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', path.read_text())
    width, height, colours, _ = (int(v) for v in rows[0].split())
    palette = {}
    for line in rows[1:1 + colours]:
        key, value = line[0], line.split()[-1]
        palette[key] = None if value == "None" else value
    pixels = rows[1 + colours:1 + colours + height]
    assert all(len(r) == width for r in pixels), "ragged XPM rows"
    return width, height, palette, pixels


def write_png(path, width, height, palette, pixels):
    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for key in row:
            colour = palette[key]
            if colour is None:
                raw += b"\0\0\0\0"
            else:
                raw += bytes.fromhex(colour[1:]) + b"\xff"

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(
            ">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                     chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
                     chunk(b"IEND", b""))


def write_svg(path, width, height, palette, pixels):
    # One rectangle per run of equal pixels keeps the file small.
    rects = []
    for y, row in enumerate(pixels):
        x = 0
        while x < width:
            end = x
            while end < width and row[end] == row[x]:
                end += 1
            colour = palette[row[x]]
            if colour is not None:
                rects.append(f'<rect x="{x}" y="{y}" width="{end - x}" '
                             f'height="1" fill="{colour}"/>')
            x = end
    path.write_text(
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" '
        f'height="{height}" viewBox="0 0 {width} {height}" '
        'shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n")


ICO_COLOURS = 16  # 4 bits a pixel: what Windows calls a 16-colour icon


def write_ico(path, width, height, palette, pixels):
    keys = [k for k, v in palette.items() if v is not None]
    assert len(keys) <= ICO_COLOURS, "more colours than a 4-bit icon holds"
    index = {k: i for i, k in enumerate(keys)}
    colours = b"".join(bytes.fromhex(palette[k][1:])[::-1] + b"\0"
                       for k in keys)  # RGBQUAD is blue, green, red, 0
    colours += b"\0\0\0\0" * (ICO_COLOURS - len(keys))

    def stride(bits):  # bitmap rows are padded to whole 32-bit words
        return (width * bits + 31) // 32 * 4

    colour_rows, mask_rows = b"", b""
    for row in reversed(pixels):  # bitmaps are stored bottom-up
        nibbles = [index.get(k, 0) for k in row] + [0] * (width % 2)
        line = bytes(nibbles[i] << 4 | nibbles[i + 1]
                     for i in range(0, len(nibbles), 2))
        colour_rows += line.ljust(stride(4), b"\0")
        bits = "".join("1" if palette[k] is None else "0" for k in row)
        bits = bits.ljust(stride(1) * 8, "0")
        mask_rows += int(bits, 2).to_bytes(stride(1), "big")
    # The height counts the colour bitmap and the transparency mask.
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0,
                         ICO_COLOURS, 0)
    image = header + colours + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", width, height, ICO_COLOURS, 0, 1, 4, len(image), 22)
    pathlib.Path(path).write_bytes(directory + image)


if __name__ == "__main__":
    image = read_xpm(XPM)
    if sys.argv[1:2] == ["--ico"] and len(sys.argv) == 3:
        write_ico(sys.argv[2], *image)
    elif len(sys.argv) == 1:
        write_png(HERE / "icon-32.png", *image)
        write_svg(HERE / "icon.svg", *image)
    else:
        sys.exit("usage: icons_from_xpm.py [--ico PATH]")
