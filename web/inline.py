"""Makes the page one self-contained file: the shell with the window's
markup and the window's program's JavaScript inlined. The WebAssembly of
the window's program, and the JavaScript and WebAssembly of the program
below it, go each in an element of its own that the HTML parser passes over
as text and no JavaScript parser reads: the window's as base64, which the
browser decodes natively as the window starts; the program below's gzipped,
seven bits a character, denser, decoded by script once the window answers.
The page unpacks them with a small program of its own (GUNZIP.wasm), as
base64 beside them. The program's icon is inlined too, as
the page's favicon. The page's policy lets only its own scripts run, named
by their digests, and the file is written as ASCII. Beside the page goes
the web app manifest a served page links to, named as the page's title
names it, with the scalable icon.
    inline.py SHELL.html GUNZIP.wasm PROGRAM.js PROGRAM.wasm BELOW.js \
              BELOW.wasm WINDOW.html ICON.png ICON.svg PAGE.html \
              MANIFEST.webmanifest"""
import base64
import gzip
import hashlib
import json
import re
import sys


def data_url(path, kind):
    with open(path, "rb") as f:
        return f"data:{kind};base64," + base64.b64encode(f.read()).decode()


# The characters the HTML parser would not pass on as they are in a
# script element's text: NUL, carriage return, and "<", which could end it;
# and DEL, which escapes them.
UNSAFE = (0x00, 0x0D, 0x3C, 0x7F)


def seven_bit(data):
    """`data` as ASCII text of seven bits a character, the first bits first,
    and zero bits after the last; an unsafe value comes as DEL and then
    itself with bit 6 flipped (see ascii_only).
    Denser than base64 (8/7 rather than 4/3 bytes a byte).
        bytes FF       -> characters 7F, 3F, 40
        bytes 00 01    -> characters 7F, 40, 7F, 40, 20
        no bytes       -> no characters"""
    out = []
    held = bits = 0
    for byte in data:
        held = held << 8 | byte
        bits += 8
        while bits >= 7:
            bits -= 7
            out.append(held >> bits)
            held &= (1 << bits) - 1
    if bits:
        out.append(held << (7 - bits))
    return "".join(chr(0x7F) + chr(v ^ 0x40) if v in UNSAFE else chr(v)
                   for v in out)


# An element whose text the HTML parser takes as it stands.
RAW_TEXT = re.compile(r"(<(script|style)\b[^>]*>.*?</\2>)", re.S | re.I)


def ascii_only(page):
    """`page` with each character beyond ASCII outside its scripts and
    styles written as a character reference; script and style text must be
    ASCII already. Chromium decodes a file as 8-bit text until its first
    character beyond Latin-1, and 16-bit from there on, and ASCII fastest:
    with the title's first Chinese character, the whole page took four
    times as long to decode.
        <b>计算</b>            -> <b>&#x8BA1;&#x7B97;</b>
        <script>"a"</script>  -> unchanged"""
    parts = RAW_TEXT.split(page)
    for i in range(0, len(parts), 3):
        parts[i] = re.sub(r"[^\x00-\x7f]", lambda c: f"&#x{ord(c[0]):X};",
                          parts[i])
    for raw in parts[1::3]:
        if not raw.isascii():
            sys.exit(f"beyond ASCII in a script or style: {raw[:60]}")
    return "".join(part for i, part in enumerate(parts) if i % 3 != 2)


def digests(page, *scripts):
    """The policy's sources for the page's own scripts: each inline script
    and each of `scripts`, the text the page later runs as one.
        <script>x</script> -> 'sha256-LXEWQrcmsEQBYnyp+6wy9chTD7GQPMTbAiWHF5IaSIE='"""
    texts = re.findall(r"<script>(.*?)</script>", page, re.S) + list(scripts)
    return " ".join(
        "'sha256-" + base64.b64encode(hashlib.sha256(
            text.encode("utf-8")).digest()).decode() + "'" for text in texts)


def gzipped(path):
    """With no time or name in the header: the same bytes give the same
    page."""
    with open(path, "rb") as f:
        return gzip.compress(f.read(), compresslevel=9, mtime=0)


def manifest(page, svg):
    title = re.search(r"<title>([^<]*)</title>", page).group(1)
    return {
        "name": title,
        # The title's second part says what the app is; the first is the
        # window's own name.
        "short_name": title.split(" · ")[-1],
        "lang": re.search(r'<html lang="([^"]*)"', page).group(1),
        "start_url": "baud51.html",
        "scope": "./",
        "display": "standalone",
        # The icon's own slate, and the page's light canvas while it opens.
        "theme_color": "#303838",
        "background_color": "#ffffff",
        "icons": [{"src": data_url(svg, "image/svg+xml"), "sizes": "any",
                   "type": "image/svg+xml"}],
    }


def main():
    (shell, gunzip, script, wasm, below_script, below_wasm, window, png, svg,
     out, manifest_out) = sys.argv[1:]
    with open(window, encoding="utf-8") as f:
        markup = f.read()
    with open(shell, encoding="utf-8") as f:
        page = f.read()
    with open(script, encoding="utf-8") as f:
        code = f.read()
    with open(gunzip, "rb") as f:
        unpacker = base64.b64encode(f.read()).decode("ascii")
    if "</script" in code.lower():
        sys.exit(f"{script} would end its <script> element early")
    with open(wasm, "rb") as f:
        program = base64.b64encode(f.read()).decode("ascii")
    below = [seven_bit(gzipped(path)) for path in (below_script, below_wasm)]
    for mark, text in (("{{{ WASM }}}", program), ("{{{ SCRIPT }}}", code),
                       ("{{{ GUNZIP }}}", unpacker),
                       ("{{{ BELOW_SCRIPT }}}", below[0]),
                       ("{{{ BELOW_WASM }}}", below[1]),
                       ("{{{ ICON }}}", data_url(png, "image/png")),
                       ("{{{ WINDOW }}}", markup)):
        if page.count(mark) != 1:
            sys.exit(f"{shell} must hold {mark} once")
        page = page.replace(mark, text)
    with open(below_script, encoding="utf-8") as f:
        page = page.replace("{{{ SCRIPT_DIGESTS }}}", digests(page, f.read()))
    # With a byte-order mark the browser knows the encoding from the first
    # bytes; without one, Chromium took twice as long to decode a file:
    # page, the bulk of it the program below's bytes.
    with open(out, "w", encoding="utf-8-sig") as f:
        f.write(ascii_only(page))
    with open(manifest_out, "w", encoding="utf-8") as f:
        json.dump(manifest(page, svg), f, ensure_ascii=False, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()
