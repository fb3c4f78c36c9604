"""Makes the page one self-contained file: the shell with the window's
markup, the program's JavaScript inlined, and its WebAssembly as base64 in
an element of its own that the HTML parser passes over as text and no
JavaScript parser reads. The program's icon is inlined too, as the page's
favicon. Beside the page
goes the web app manifest a served page links to, named as the page's title
names it, with the scalable icon.
    inline.py SHELL.html PROGRAM.js PROGRAM.wasm WINDOW.html ICON.png \
              ICON.svg PAGE.html MANIFEST.webmanifest"""
import base64
import json
import re
import sys


def data_url(path, kind):
    with open(path, "rb") as f:
        return f"data:{kind};base64," + base64.b64encode(f.read()).decode()


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
    shell, script, wasm, window, png, svg, out, manifest_out = sys.argv[1:]
    with open(window, encoding="utf-8") as f:
        markup = f.read()
    with open(shell, encoding="utf-8") as f:
        page = f.read()
    with open(script, encoding="utf-8") as f:
        code = f.read()
    with open(wasm, "rb") as f:
        program = base64.b64encode(f.read()).decode("ascii")
    if "</script" in code.lower():
        sys.exit(f"{script} would end its <script> element early")
    for mark, text in (("{{{ WASM }}}", program), ("{{{ SCRIPT }}}", code),
                       ("{{{ ICON }}}", data_url(png, "image/png")),
                       ("{{{ WINDOW }}}", markup)):
        if page.count(mark) != 1:
            sys.exit(f"{shell} must hold {mark} once")
        page = page.replace(mark, text)
    with open(out, "w", encoding="utf-8") as f:
        f.write(page)
    with open(manifest_out, "w", encoding="utf-8") as f:
        json.dump(manifest(page, svg), f, ensure_ascii=False, indent=1)
        f.write("\n")


if __name__ == "__main__":
    main()
