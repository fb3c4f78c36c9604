#!/usr/bin/python3
"""Renders the program's compiled-in XPM icon as the desktop icons.

The PNG and SVG beside this script are its output and are committed, so a
build needs no Python. Run it again after changing app/icon.xpm:
    dist/icons_from_xpm.py
"""
import pathlib
import re
import struct
import zlib

HERE = pathlib.Path(__file__).resolve().parent
XPM = HERE.parent / "app" / "icon.xpm"


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


if __name__ == "__main__":
    image = read_xpm(XPM)
    write_png(HERE / "icon-32.png", *image)
    write_svg(HERE / "icon.svg", *image)
