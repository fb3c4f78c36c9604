"""Makes the page one self-contained file: the shell with the program's
JavaScript inlined, and its WebAssembly as base64 in an element of its own
that the HTML parser passes over as text and no JavaScript parser reads.
    inline.py SHELL.html PROGRAM.js PROGRAM.wasm PAGE.html"""
import base64
import sys


def main():
    shell, script, wasm, out = sys.argv[1:]
    with open(shell, encoding="utf-8") as f:
        page = f.read()
    with open(script, encoding="utf-8") as f:
        code = f.read()
    with open(wasm, "rb") as f:
        program = base64.b64encode(f.read()).decode("ascii")
    if "</script" in code.lower():
        sys.exit(f"{script} would end its <script> element early")
    for mark, text in (("{{{ WASM }}}", program), ("{{{ SCRIPT }}}", code)):
        if page.count(mark) != 1:
            sys.exit(f"{shell} must hold {mark} once")
        page = page.replace(mark, text)
    with open(out, "w", encoding="utf-8") as f:
        f.write(page)


if __name__ == "__main__":
    main()
