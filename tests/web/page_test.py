"""The page in headless Chromium, driven as a user drives it.
    /usr/bin/python3 page_test.py PAGE.html PRESS_CASES.json [PageTest.test_x]
The press rows and control records come from the same C++ tables the
desktop tests use, written out as JSON."""
import contextlib
import functools
import http.server
import json
import os
import sys
import threading
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import chromium, open_page  # noqa: E402

PAGE = CASES = CODE_DIR = None
LABEL, COMBO, BUTTON = range(3)
WARNING_RGB = "rgb(192, 64, 0)"


def rgb(color):
    return f"rgb({color & 255}, {color >> 8 & 255}, {color >> 16 & 255})"


def luminance(css):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (int(x) for x in css[css.index("(") + 1:-1].split(",")[:3])
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def cli_code(name):
    """What the command line writes, as the page writes it: the same but
    for who signs it."""
    with open(os.path.join(CODE_DIR, name), encoding="utf-8") as f:
        return f.read().replace("Written by baud51-cli ",
                                "Written by the baud51 page ")


def contrast(a, b):
    high, low = sorted((luminance(a), luminance(b)), reverse=True)
    return (high + 0.05) / (low + 0.05)


class PageTest(unittest.TestCase):
    dark = False

    def setUp(self):
        self.browser = self.enterContext(chromium(dark=self.dark))
        open_page(self.browser, "file://" + PAGE)

    def el(self, name):
        return self.browser.find_element(By.ID, name)

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def type_into(self, combo, text):
        field = self.el(combo)
        field.click()
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(Keys.DELETE)
        if text:
            field.send_keys(text)

    def press(self, frequency, baud):
        self.type_into("Combo1", frequency)
        self.type_into("Combo2", baud)
        self.el("Command1").click()

    def results(self):
        return [self.el(name).get_attribute("textContent")
                for name in CASES["result_labels"]]

    def color(self, name):
        return self.js("return getComputedStyle(arguments[0]).color",
                       self.el(name))

    def test_records(self):
        px = CASES["twips_per_pixel"]
        client = self.browser.find_element(By.CSS_SELECTOR, "#Form1 .client")
        self.assertEqual([client.size["width"], client.size["height"]],
                         [round(t / px) for t in CASES["client"]])
        origin = client.location
        for record in CASES["records"]:
            with self.subTest(record["name"]):
                element = self.el(record["name"])
                box = element.find_element(By.XPATH, "..") \
                    if record["kind"] == COMBO else element
                self.assertEqual(
                    (box.location["x"] - origin["x"],
                     box.location["y"] - origin["y"]),
                    (round(record["left"] / px), round(record["top"] / px)))
                if not record["auto_size"]:
                    self.assertEqual(box.size["width"],
                                     round(record["width"] / px))
                shown = element.get_attribute(
                    "value" if record["kind"] == COMBO else "textContent")
                self.assertEqual(shown, record["text"])
                if record["kind"] == LABEL and record["fore"] is not None:
                    self.assertEqual(self.color(record["name"]),
                                     rgb(record["fore"]))
        self.assertIn("隶书", self.el("Label5").value_of_css_property(
            "font-family"))
        # The tab order is the records' tab indexes over those that take the
        # focus; the page starts on the first of them.
        order = [r["name"] for r in sorted(CASES["records"],
                                           key=lambda r: r["tab_index"])
                 if r["takes_focus"]]
        visited = [self.js("return document.activeElement.id")]
        for _ in order[1:]:
            self.browser.switch_to.active_element.send_keys(Keys.TAB)
            visited.append(self.js("return document.activeElement.id"))
        self.assertEqual(visited, order)

    def test_presses(self):
        for row in CASES["worked"]:
            with self.subTest(row["name"]):
                self.press(row["frequency"], row["baud"])
                self.assertEqual(self.results(), row["texts"])
                for label, warned in zip(("Label10", "Label11"),
                                         row["warnings"]):
                    self.assertEqual(self.color(label) == WARNING_RGB, warned)

    def test_combo_box(self):
        field = self.el("Combo1")
        listbox = self.el("Combo1-list")
        options = lambda: [o.text for o in listbox.find_elements(
            By.CSS_SELECTOR, "[role=option]")]
        field.click()
        field.send_keys(Keys.ALT, Keys.ARROW_DOWN)
        self.assertEqual(field.get_attribute("aria-expanded"), "true")
        self.assertEqual(options(), ["6", "11.0592", "12", "22.1184", "24"])
        # From the entry that is the field's text, one step down, then taken.
        field.send_keys(Keys.ARROW_DOWN)
        self.assertEqual(field.get_attribute("value"), "12")
        self.assertEqual(field.get_attribute("aria-activedescendant"),
                         "Combo1-list-2")
        field.send_keys(Keys.ENTER)
        self.assertEqual(field.get_attribute("aria-expanded"), "false")
        self.assertEqual(field.get_attribute("value"), "12")
        # Esc puts back what was there when the list opened.
        field.send_keys(Keys.ALT, Keys.ARROW_DOWN)
        field.send_keys(Keys.ARROW_DOWN, Keys.ARROW_DOWN, Keys.ESCAPE)
        self.assertEqual(field.get_attribute("value"), "12")
        self.assertFalse(listbox.is_displayed())
        # Arrows on the closed box step too; typing neither completes nor
        # filters.
        field.send_keys(Keys.ARROW_UP)
        self.assertEqual(field.get_attribute("value"), "11.0592")
        self.type_into("Combo1", "2")
        field.send_keys(Keys.ALT, Keys.ARROW_DOWN)
        self.assertEqual(field.get_attribute("value"), "2")
        self.assertEqual(len(options()), 5)
        # A click on the list button and an entry picks it, focus stays.
        field.send_keys(Keys.ESCAPE)
        self.browser.find_element(By.CSS_SELECTOR, "#Combo2 + .drop").click()
        self.el("Combo2-list-0").click()
        self.assertEqual(self.el("Combo2").get_attribute("value"), "600")
        self.assertEqual(self.js("return document.activeElement.id"), "Combo2")

    def test_errors(self):
        dialog = self.el("message")
        for row in CASES["failing"]:
            with self.subTest(row["name"]):
                self.press("11.0592", "9600")
                before = self.results()
                self.press(row["frequency"], row["baud"])
                self.assertTrue(self.js("return arguments[0].open", dialog))
                self.assertEqual(self.el("message-text").text, row["message"])
                # Enter on its 确定; the focus goes back to 计算.
                self.browser.switch_to.active_element.send_keys(Keys.ENTER)
                self.assertFalse(self.js("return arguments[0].open", dialog))
                self.assertEqual(self.js("return document.activeElement.id"),
                                 "Command1")
                if row["name"] != "timer 1 reload beyond 32 bits":
                    self.assertEqual(self.results(), before)
        self.press("12", "2400")
        self.assertEqual(self.results()[:2], ["F3", "FF64"])

    def test_exit(self):
        self.press("12", "9600")
        self.el("Command2").click()
        self.assertEqual(self.browser.find_elements(By.ID, "Form1"), [])
        ended = self.el("ended")
        self.assertTrue(ended.is_displayed())
        self.assertIn("程序已结束", ended.text)
        self.assertEqual(self.js("return document.activeElement.id"),
                         "restart")
        self.el("restart").click()
        self.assertFalse(ended.is_displayed())
        self.assertEqual(self.results(), ["FD", "FFDC", "0", "0"])
        self.assertEqual(self.el("Combo1").get_attribute("value"), "11.0592")
        self.assertEqual(len(self.browser.find_elements(
            By.CSS_SELECTOR, "#Combo1-list [role=option]")), 5)
        self.press("12", "9600")
        self.assertEqual(self.results()[0], "FD")

    def test_tooltips(self):
        hints = lambda: [(self.el(n).get_attribute("title"),
                          self.el(n).get_attribute("aria-description"))
                         for n in ("Label8", "Label10")]
        self.assertEqual(hints(), [("实际波特率 9600.00，误差 0.00%",) * 2,
                                   (" 0 %",) * 2])
        self.press("11.0592", "19200")
        self.assertEqual(hints(), [("实际波特率 14400.00，误差 -25.00%",) * 2,
                                   (" 33.3333333333333 %",) * 2])
        for name in CASES["result_labels"]:
            self.assertEqual(self.el(name).get_attribute("tabIndex"), "-1")

    def accessibility_tree(self):
        nodes = self.browser.execute_cdp_cmd("Accessibility.getFullAXTree",
                                             {})["nodes"]
        def value(node, key):
            return (node.get(key) or {}).get("value")
        return [(value(n, "role"), value(n, "name"),
                 next((value(p, "value") for p in n.get("properties", [])
                       if p["name"] == "live"), None))
                for n in nodes if not n.get("ignored")]

    def test_accessible(self):
        # What a reader hears: each field, its list button and each result
        # by its heading, the page's one heading, each row by its setting.
        tree = self.accessibility_tree()
        for expected in [("combobox", "晶振频率(MHz)", None),
                         ("combobox", "波特率", None),
                         ("button", "打开列表 晶振频率(MHz)", None),
                         ("button", "打开列表 波特率", None),
                         ("button", "计算", None), ("button", "退出", None),
                         ("status", "T1常数(Hex)", "polite"),
                         ("status", "T2误差%", "polite")]:
            self.assertIn(expected, tree)
        self.assertEqual(len([n for n in tree if n[0] == "heading"
                              and self.js("return document.querySelector("
                                          "'h1').textContent") == n[1]]), 1)
        self.assertEqual(len(self.browser.find_elements(By.TAG_NAME, "h1")),
                         1)
        self.press("11.0592", "19200")
        self.settings("11.0592 MHz，19200 波特")
        tree = self.accessibility_tree()
        self.assertIn(("status", "T1常数(Hex)", "polite"), tree)
        self.assertIn(("radio", "T1/1/12", None), tree)
        self.press("12", "0")
        self.assertIn(("dialog", "小工具1", None), self.accessibility_tree())

    def test_phone(self):
        # A phone's width with every family: no cell is off to the side, and
        # the page's own controls take a finger.
        self.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 390, "height": 844, "deviceScaleFactor": 1,
            "mobile": True})
        self.choose_chip("all")
        self.press("11.0592", "115200")
        self.settings("11.0592 MHz，115200 波特")
        width = self.js("return document.documentElement.clientWidth")
        self.assertEqual(width, 390)
        self.assertLessEqual(self.js(
            "return document.documentElement.scrollWidth"), width)
        self.assertLessEqual(self.js("""return Math.max(...[...document
            .querySelectorAll('#settings td, #app > .form')].map(
                e => e.getBoundingClientRect().right))"""), width)
        small = self.js("""return [...document.querySelectorAll(
            '#below button, #below select, #below input')].filter(e => {
              const box = e.getBoundingClientRect();
              return box.width < 24 || box.height < 24; }).length""")
        self.assertEqual(small, 0)
        # Narrower than the window, it is scaled as a whole to fit.
        self.browser.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": 320, "height": 640, "deviceScaleFactor": 1,
            "mobile": True})
        self.js("return new Promise(done => requestAnimationFrame(done))")
        self.assertLessEqual(self.js("""return document.querySelector(
            '#app > .form').getBoundingClientRect().right"""), 320)

    def test_dark(self):
        # The window's colours follow the scheme as it changes.
        self.browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {
            "features": [{"name": "prefers-color-scheme", "value": "dark"}]})
        self.press("11.0592", "19200")  # the warning colour on the grey
        window = self.js("return getComputedStyle(arguments[0])"
                         ".backgroundColor", self.browser.find_element(
                             By.CSS_SELECTOR, "#Form1 .client"))
        for record in CASES["records"]:
            if record["kind"] != LABEL:
                continue
            with self.subTest(record["name"]):
                back = window
                if record["back"] is not None:
                    back = rgb(record["back"])  # described, so it stays
                    self.assertEqual(self.el(record["name"])
                                     .value_of_css_property("background-color")
                                     .replace("rgba", "rgb")
                                     .replace(", 1)", ")"), back)
                # The warning colour on the results' grey keeps its own 4.0.
                required = 4.0 if record["name"] == "Label10" else 4.5
                self.assertGreaterEqual(
                    contrast(self.color(record["name"]), back), required)
        self.assertLess(luminance(window), 0.1)

    def settings(self, caption):
        """The rows below the window once it shows `caption`'s crystal."""
        self.wait_for("settings", caption)
        return self.js("""return [...arguments[0].tBodies[0].rows].map(
            row => [...row.cells].slice(1).map(cell => cell.textContent))""",
                       self.el("settings"))

    def choose_chip(self, name):
        """Picks the family called `name` (None: the classic settings;
        "all": every family)."""
        self.js("""const chip = arguments[0];
            chip.selectedIndex = arguments[1] == 'all' ?
              chip.options.length - 1 : arguments[1] ? [...chip.options]
              .findIndex(option => option.text.split(/[：:]/)[0] == arguments[1])
              : 0;
            chip.dispatchEvent(new Event('change'))""",
                self.el("chip"), name)

    def wait_for(self, name, text):
        for _ in range(100):
            if text in self.el(name).text:
                return
            self.js("return new Promise(done => setTimeout(done, 20))")
        self.fail(f"#{name} never showed {text}")

    def test_settings(self):
        # frequency, baud, chip entry, rows, first row, last row's end
        for frequency, baud, chip, count, first, last in (
                ("11.0592", "19200", None, 8,
                 ["1", "1", "12", "FD", "19200.00", "0.00 %", "精确"], "超出 2 %"),
                ("11.0592", "115200", "stc15", 8,
                 ["stc15:t2/12", "2", "-", "12", "FFFE", "115200.00",
                  "0.00 %", "精确"], "超出范围")):
            with self.subTest(f"{frequency} MHz {baud} {chip}"):
                self.choose_chip(chip)
                self.press(frequency, baud)
                rows = self.settings(f"{frequency} MHz，{baud} 波特")
                self.assertEqual((len(rows), rows[0], rows[-1][-1]),
                                 (count, first, last))
        # A failing press leaves the table as the last good one made it.
        shown = self.el("settings").get_attribute("innerHTML")
        self.press("12", "0")
        self.browser.switch_to.active_element.send_keys(Keys.ENTER)
        self.js("return new Promise(done => setTimeout(done, 50))")
        self.assertEqual(self.el("settings").get_attribute("innerHTML"), shown)

    def test_code(self):
        # In English the code is the command line's, comments and all.
        self.open_link("lang=en")
        # chip, crystal, rate, row chosen, the command line's code for it
        for chip, frequency, baud, row, code in (
                (None, "12", "9600", 0, "code_12_9600.c"),
                ("stc15", "11.0592", "115200", 4, "code_stc15_t1.c")):
            with self.subTest(code):
                self.choose_chip(chip)
                self.press(frequency, baud)
                self.settings(f"{frequency} MHz, {baud} baud")
                self.browser.find_elements(
                    By.CSS_SELECTOR, "#settings input[type=radio]")[row].click()
                self.assertEqual(self.el("code").get_attribute("textContent"),
                                 cli_code(code))
                self.el("copy").click()
                self.wait_for("copied", "Copied")
        # A row beyond the tolerance has no code, as on the command line.
        self.choose_chip(None)
        self.press("12", "9600")
        self.settings("12 MHz, 9600 baud")
        self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[-1].click()
        self.assertIn("writes no code for it", self.el("code").text)
        self.assertFalse(self.el("copy").is_enabled())

    def test_ticks(self):
        # The timers' section: the command line's best tick row and its
        # code; a period without its unit is refused in words.
        self.open_link("lang=en&period=250us")
        self.press("12", "9600")
        self.wait_for("ticks", "12 MHz, period 250.0000 us")
        best = self.js("""return [...arguments[0].tBodies[0].rows[0].cells]
            .slice(1).map(cell => cell.textContent)""", self.el("ticks"))
        self.assertEqual(best[:6], ["T0/2/12", "0", "2", "12", "06", "1"])
        expected = cli_code("tick_12_1ms.c")
        self.type_into("period", "1ms")
        self.el("period").send_keys(Keys.TAB)
        self.wait_for("ticks", "period 1.0000 ms")
        self.assertEqual(self.el("tick-code").get_attribute("textContent"),
                         expected)
        self.el("tick-copy").click()
        self.wait_for("tick-copied", "Copied")
        self.type_into("period", "10")
        self.el("period").send_keys(Keys.TAB)
        self.wait_for("ticks-message", "Period: could not read")
        self.assertFalse(self.el("tick-copy").is_enabled())

    def delay_code(self):
        return self.el("delay-code").get_attribute("textContent")

    def check_delay_cli(self):
        with open(os.path.join(CODE_DIR, "delay_11_0592_1ms.c"),
                  encoding="utf-8") as f:
            self.assertEqual(self.delay_code(), f.read())
        self.el("delay-copy").click()
        self.wait_for("delay-copied", "Copied")

    def check_delay_asm(self):
        with open(os.path.join(CODE_DIR, "delay_x2_1ms.asm"),
                  encoding="utf-8") as f:
            self.assertEqual(self.delay_code(), f.read())

    def check_delay_refused(self):
        self.assertIn("no delay for the Infineon XC800 core",
                      self.el("delay-message").text)
        self.assertEqual(self.delay_code(), "")
        self.assertFalse(self.el("delay-copy").is_enabled())

    def check_delay_timer(self):
        self.assertIn("jnb     0x8D,", self.delay_code())
        self.assertTrue(self.el("delay-copy").is_enabled())

    def check_delay_link(self):
        self.assertEqual(self.el("delay").get_attribute("value"), "2.5ms")
        self.assertIn("void delay_2_5ms(void) __naked", self.delay_code())
        self.assertEqual(self.link()["delay"], "2.5ms")
        # A time typed in: kept in the link; one without its unit refused.
        self.type_into("delay", "10")
        self.el("delay").send_keys(Keys.TAB)
        self.wait_for("delay-message", "“10”")
        self.assertIn("需要单位：s、ms、us 或 µs",
                      self.el("delay-message").text)
        self.assertEqual(self.link()["delay"], "10")

    def check_delay_markup(self):
        attack = "<img src=x onerror=window.ran=1>"
        self.assertIn(attack, self.el("delay-message").text)
        self.assertIsNone(self.js("return window.ran"))
        self.assertEqual(self.js("return document.querySelectorAll("
                                 "'#delay-section img').length"), 0)

    def test_delay(self):
        # The delay section: `baud51-cli delay`'s code for the window's
        # crystal and the chosen family, or why there is none.
        for name, fragment, shown, check in (
                ("cli_code", "lang=en&freq=11.0592&baud=9600", "Copy the "
                 "delay code", self.check_delay_cli),
                ("x2_assembly", "lang=en&freq=11.0592&baud=9600&chip=x2"
                 "&code=asm", "_delay_1ms", self.check_delay_asm),
                ("refused_family", "lang=en&freq=12&baud=9600&chip=xc886",
                 "writes no code", self.check_delay_refused),
                ("timer_paced", "lang=en&freq=12&baud=9600&chip=stc15",
                 "paced by Timer 0", self.check_delay_timer),
                ("link_keeps_delay", "freq=12&baud=9600&delay=2.5ms",
                 "延时", self.check_delay_link),
                ("markup_as_text", "freq=12&baud=9600&delay=" +
                 "%3Cimg%20src%3Dx%20onerror%3Dwindow.ran%3D1%3E",
                 "<img", self.check_delay_markup)):
            with self.subTest(name):
                self.open_link(fragment)
                self.wait_for("delay-section", shown)
                check()

    @contextlib.contextmanager
    def served(self):
        """The page's folder from a static web server: its address, and the
        paths asked for."""
        asked = []

        class Handler(http.server.SimpleHTTPRequestHandler):
            def log_message(self, *args):
                asked.append(self.path)

        handler = functools.partial(Handler, directory=os.path.dirname(PAGE))
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        try:
            yield (f"http://127.0.0.1:{server.server_port}/"
                   + os.path.basename(PAGE)), asked
        finally:
            server.shutdown()
            server.server_close()

    def open_link(self, fragment):
        """Opens the page afresh at `fragment`, as from a shared link."""
        self.browser.get("about:blank")
        open_page(self.browser, "file://" + PAGE + "#" + fragment)

    def link(self):
        return self.js("return Object.fromEntries(new URLSearchParams("
                       "location.hash.slice(1)))")

    def chosen(self):
        """The chosen row's cells (the setting first, with a family)."""
        return self.js("""return [...document.querySelector(
            '#settings input:checked').closest('tr').cells].slice(1)
            .map(cell => cell.textContent)""")

    def test_link(self):
        # Opened: the fields filled, 计算 pressed once, the choices taken;
        # peer and period kept, the unknown and malformed left alone.
        self.open_link("freq=12&baud=9600&chip=stc15&setting=stc15:t1/1s1"
                       "&code=asm&lang=zh&peer=ft232r&period=1.5&x=1&tol=zz")
        self.assertEqual(self.el("Combo1").get_attribute("value"), "12")
        self.assertEqual(self.results(), ["FD", "FFD9", " 7.8", " .16"])
        self.settings("12 MHz，9600 波特")
        self.assertEqual(self.chosen()[0], "stc15:t1/1s1")
        # The other end: its rate, the mismatch, the margin and the link.
        self.assertEqual(self.chosen()[-4:],
                         ["9600.00", "-0.16 %", "42.03 %", "可用"])
        self.assertTrue(self.el("code").text.startswith("; UART"))
        self.assertEqual(self.link(), {
            "freq": "12", "baud": "9600", "chip": "stc15", "peer": "ft232r",
            "period": "1.5", "setting": "stc15:t1/1s1", "lang": "zh",
            "code": "asm"})
        # Each choice writes the link, and the link gives them back.
        self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[0].click()
        self.js("""const code = document.getElementById('code-lang');
            code.selectedIndex = 0; code.dispatchEvent(new Event('change'))""")
        shared = self.link()
        self.assertEqual((shared["setting"], shared["code"]),
                         ("stc15:t2/12", "c"))
        self.open_link(self.js("return location.hash.slice(1)"))
        self.settings("12 MHz，9600 波特")
        self.assertEqual(self.link(), shared)
        self.assertEqual(self.chosen()[0], "stc15:t2/12")
        self.el("copy-link").click()
        self.wait_for("link-copied", "链接已复制")
        # Each mark in its own colour: a setting within 2 % whose link works.
        self.open_link("freq=20&baud=9600&peer=exact&setting=T1/1/12")
        self.settings("20 MHz")
        marks = self.js("""const cells = document.querySelector(
            '#settings input:checked').closest('tr').cells;
            return [document.body, cells[cells.length - 5],
                    cells[cells.length - 1]].map(
                cell => getComputedStyle(cell).color)""")
        self.assertEqual(len(set(marks)), 3)

    def test_link_markup(self):
        # A stranger's link: its markup stays text, and none of it runs.
        attack = {"freq": '<img src=x onerror="window.ran=1">',
                  "baud": "<script>window.ran=2</script>",
                  "chip": "<b>stc15</b>", "setting": "<svg onload=window.ran=3>",
                  "lang": "<i>en</i>", "peer": "\"><script>window.ran=4</script>"}
        self.open_link(self.js("return new URLSearchParams(arguments[0])"
                               ".toString()", attack))
        self.js("return new Promise(done => setTimeout(done, 100))")
        self.assertEqual(self.el("Combo1").get_attribute("value"),
                         attack["freq"])
        self.assertFalse(self.js("return document.getElementById('message')"
                                 ".open"))
        self.assertIn(attack["freq"], self.el("refusal").text)
        self.assertIsNone(self.js("return window.ran"))
        self.assertEqual(self.js("return document.querySelectorAll("
                                 "'body img, body b, body i, body svg,"
                                 " #below script').length"), 0)
        # A peer the page does not know is left out, as any unknown value.
        self.assertEqual(self.el("peer").get_attribute("value"), "不看对端")
        self.assertNotIn("peer", self.link())

    def test_strict_below(self):
        for typed, read in (("9,600", "9600"), ("115,200", "115200")):
            with self.subTest(typed):
                self.press("11.0592", typed.split(",")[0])
                window = self.results()
                self.press("11.0592", typed)
                # The window reads as described; below, no table and no code.
                self.assertEqual(self.results(), window)
                self.wait_for("refusal", typed)
                self.assertIn(f"请写 {read}。", self.el("refusal").text)
                self.assertFalse(self.el("results").is_displayed())
                self.assertEqual(self.link()["baud"], typed)

    def test_english_below(self):
        self.browser = self.enterContext(chromium(lang="en-US"))
        open_page(self.browser, "file://" + PAGE)
        self.press("12", "9600")
        rows = self.settings("12 MHz, 9600 baud")
        self.assertEqual(rows[0][-1], "within 0.2 %")
        self.assertIn("Timer 2 as baud-rate generator", self.el("code").text)
        self.assertEqual(self.el("below").get_attribute("lang"), "en")
        # The window stays Chinese.
        self.assertEqual(self.el("Command1").text, "计算")
        self.assertEqual(self.js("return document.documentElement.lang"),
                         "zh-CN")
        # The switch turns the area below, code comments included, Chinese.
        self.js("""const lang = document.getElementById('lang');
            lang.selectedIndex = 0; lang.dispatchEvent(new Event('change'))""")
        self.settings("12 MHz，9600 波特")
        self.assertIn("定时器 2 作波特率发生器", self.el("code").text)
        self.assertIn("每 1 ms 一个节拍",
                      self.el("tick-code").get_attribute("textContent"))
        self.assertEqual(self.link()["lang"], "zh")

    def test_assembly(self):
        # In English the page's assembly is `baud51-cli code --lang asm`'s.
        self.open_link("lang=en")
        self.press("12", "9600")
        self.settings("12 MHz, 9600 baud")
        self.js("""const code = document.getElementById('code-lang');
            code.selectedIndex = 1; code.dispatchEvent(new Event('change'))""")
        self.assertEqual(self.el("code").get_attribute("textContent"),
                         cli_code("code_12_9600.asm"))
        self.assertEqual(self.link()["code"], "asm")

    def test_working(self):
        self.press("11.0592", "9600")
        rows = self.settings("11.0592 MHz，9600 波特")
        row = next(i for i, cells in enumerate(rows)
                   if cells[:3] == ["1", "0", "12"])
        self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[row].click()
        self.assertEqual(self.el("working").text.splitlines(), [
            "TH1 = 256 − 11059200 × 2^0 / (32 × 12 × 9600) = 253 = 0xFD",
            "实际波特率 = 11059200 × 2^0 / (32 × 12 × (256 − 253)) = 9600.00",
            "误差 = (9600.00 − 9600) / 9600 = 0.00 %"])
        self.assertIn("“ 7.8”", self.el("window-note").text)

    def test_command_line_parts(self):
        # A tolerance of 10 % takes the +8.51 % row, which 2 % refuses.
        self.press("12", "9600")
        self.type_into("tolerance", "10")
        self.el("tolerance").send_keys(Keys.TAB)
        rows = self.settings("容差 10 %")
        self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[-1].click()
        self.assertEqual(rows[-1][-1], "10 % 以内")
        self.assertTrue(self.el("copy").is_enabled())
        self.el("rates-title").click()  # the box's toggle event comes later
        self.wait_for("rates", "9600")
        rates = self.js("""return [...document.querySelectorAll(
            '#rates tbody tr')].map(row => row.cells[0].textContent)""")
        self.assertEqual(len(rates), 17)
        self.el("crystals-go").click()
        first = self.js("""return [...document.querySelector(
            '#crystals tbody tr:nth-child(2)').cells].map(c => c.textContent)""")
        self.assertEqual(first[:4], ["1", "3.6864", "0.00 %", "精确"])

    def test_own_file(self):
        with open(PAGE, "rb") as page:
            html = page.read()
        self.assertLessEqual(len(html), 400 * 1024)
        self.assertTrue(html.startswith(b"\xef\xbb\xbf"))  # decoded sooner
        # ASCII throughout: Chromium decodes it fastest.
        self.assertTrue(html[3:].isascii())
        for outside in (rb"<script src", rb"<link(?![^>]*href=.(data:|#))",
                        rb"@import", rb"url\(http"):
            self.assertNotRegex(html, outside)
        # The same file from a static web server, which it asks for nothing
        # else, not even a /favicon.ico.
        with self.served() as (address, asked):
            open_page(self.browser, address)
            self.assertEqual(self.js(
                "return performance.getEntriesByName('baud51-ready').length"),
                1)
            self.press("12", "9600")
            self.assertEqual(self.results(), ["FD", "FFD9", " 7.8", " .16"])
            self.assertNotIn("/favicon.ico", asked)
            # Only the page's own scripts run: one written in later does not.
            self.assertIsNone(self.js("""const script =
                document.createElement('script');
                script.textContent = 'window.written = 1';
                document.head.append(script);
                return window.written;"""))

    def test_installable(self):
        # Served, the page installs, and once its worker has it, opens and
        # calculates with the network gone.
        with self.served() as (address, asked):
            open_page(self.browser, address)
            self.js("return navigator.serviceWorker.ready.then(() => 0)")
            self.assertEqual(self.browser.execute_cdp_cmd(
                "Page.getInstallabilityErrors", {})["installabilityErrors"],
                [])
            manifest = self.browser.execute_cdp_cmd("Page.getAppManifest", {})
            self.assertEqual(manifest["errors"], [])
            self.assertIn("/baud51-sw.js", asked)
        self.browser.execute_cdp_cmd("Network.enable", {})
        self.browser.execute_cdp_cmd("Network.emulateNetworkConditions", {
            "offline": True, "latency": 0, "downloadThroughput": -1,
            "uploadThroughput": -1})
        open_page(self.browser, address)
        self.press("12", "9600")
        self.assertEqual(self.results(), ["FD", "FFD9", " 7.8", " .16"])


def main():
    """Runs the tests named after the page and the cases, for this file and
    for the page's other test files, which share these globals."""
    global PAGE, CASES, CODE_DIR
    PAGE = os.path.abspath(sys.argv[1])
    with open(sys.argv[2], encoding="utf-8") as cases:
        CASES = json.load(cases)
    # The command line's code, written beside the cases by the build.
    CODE_DIR = os.path.dirname(os.path.abspath(sys.argv[2]))
    unittest.main(module="__main__", argv=[sys.argv[0]] + sys.argv[3:],
                  verbosity=2)


if __name__ == "__main__":
    main()
