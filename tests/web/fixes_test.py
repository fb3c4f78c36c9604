"""The sections below the window as a new user meets them: fields read as
people type them, on a phone too, told to a reader; the tick rows chosen
and kept in the link; the link followed as it changes; the page's words.
    /usr/bin/python3 fixes_test.py PAGE.html PRESS_CASES.json [FixesTest.x]"""
import json
import os
import sys

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_test  # noqa: E402
from page_test import PageTest  # noqa: E402


class FixesTest(PageTest):
    # PageTest's own methods run in page_test.py, not again here.
    for name in [n for n in dir(PageTest) if n.startswith("test_")]:
        locals()[name] = None
    del name

    def retype(self, field, text):
        self.type_into(field, text)
        self.el(field).send_keys(Keys.TAB)

    def caption(self, table):
        return self.js("return arguments[0].caption.textContent",
                       self.el(table))

    def settle(self):
        self.js("return new Promise(done => setTimeout(done, 60))")

    def test_typed_fields(self):
        # field, typed, where it shows, what it shows there; the field
        # refused or not
        self.open_link("lang=en&freq=12&baud=9600")
        self.settings("12 MHz, 9600 baud")
        for name, field, typed, where, shown, refused in (
                ("blank_before_unit", "period", "10 ms", "ticks",
                 "period 10.0000 ms", False),
                ("blanks_around", "period", " 250us ", "ticks",
                 "period 250.0000 us", False),
                ("full_width_digit", "period", "\uff11ms", "ticks",
                 "period 1.0000 ms", False),
                ("full_width_unit", "delay", "2\uff4d\uff53", "delay-code",
                 "delay_2ms", False),
                ("decimal_comma_advice", "period", "1,5ms", "ticks-message",
                 "Write 1.5ms.", True),
                ("bare_number", "period", "10", "ticks-message",
                 "Period: could not read", True),
                ("percent_sign", "tolerance", "5%", "settings",
                 "tolerance 5 %", False),
                ("percent_blanks", "tolerance", " 3 % ", "settings",
                 "tolerance 3 %", False),
                ("tolerance_refused", "tolerance", "x", "refusal",
                 "Tolerance: could not read", True),
                ("rates_by_comma", "crystal-rates", "9600,115200", "crystals",
                 "9600 115200 baud", False),
                ("thousands_comma", "crystal-rates", "9,600 19200",
                 "crystals", "9600 19200 baud", False),
                ("rate_refused", "crystal-rates", "9600 fast",
                 "crystals-message", "could not read “fast”", True)):
            with self.subTest(name):
                self.retype(field, typed)
                if field == "crystal-rates":
                    self.el("crystals-go").click()
                self.wait_for(where, shown)
                self.assertEqual(
                    self.el(field).get_attribute("aria-invalid"),
                    "true" if refused else None)
                if refused:
                    line = self.el(field).get_attribute("aria-describedby")
                    self.assertIn(shown, self.el(line).text)
                    self.assertIn(self.el(line).get_attribute("role"),
                                  ("status", "alert"))
                    # Put right, for the next row.
                    self.retype(field, {"period": "1ms", "tolerance": "2",
                                        "crystal-rates": "9600"}[field])
                    if field == "crystal-rates":
                        self.el("crystals-go").click()
                    self.settle()
        # A phone's keyboard can type the units.
        for field in ("period", "delay"):
            self.assertIn(self.el(field).get_attribute("inputmode"),
                          (None, "text"))
        # Each button says what it does, in both languages.
        for lang in ("en", "zh"):
            self.open_link(f"lang={lang}&freq=12&baud=9600")
            self.settings("12 MHz")
            names = [n for role, n, _ in self.accessibility_tree()
                     if role == "button"]
            self.assertEqual(len(names), len(set(names)), names)
        self.assertIn(("button", "复制波特率代码", None),
                      self.accessibility_tree())
        self.assertIn(("button", "复制定时代码", None),
                      self.accessibility_tree())
        # A phone, every section open: the page never scrolls sideways.
        self.el("rates-title").click()
        self.wait_for("rates", "9600")
        self.el("crystals-go").click()
        self.wait_for("crystals", "MHz")
        for width in (390, 320):
            self.browser.execute_cdp_cmd(
                "Emulation.setDeviceMetricsOverride", {
                    "width": width, "height": 800, "deviceScaleFactor": 1,
                    "mobile": True})
            self.settle()
            with self.subTest(width=width):
                self.assertLessEqual(self.js(
                    "return document.documentElement.scrollWidth"), width)
                # No cell hidden in a scroller of its own.
                self.assertLessEqual(self.js("""return Math.max(...[
                    ...document.querySelectorAll('#below td')].map(
                    e => e.getBoundingClientRect().right))"""), width)

    def chosen_tick(self):
        return self.js("""const radio = document.querySelector(
            '#ticks input:checked');
            return radio && radio.closest('tr').cells[1].textContent""")

    def check_classic_first(self):
        # No family chosen: the classic 12-clock setting comes first.
        best = self.js("""return [...document.querySelector('#ticks tbody tr')
            .cells].map(cell => cell.textContent)""")
        self.assertEqual(best[4], "12")
        self.assertEqual(self.chosen_tick(), best[1])
        self.assertNotIn("AUXR", self.el("tick-code")
                         .get_attribute("textContent"))

    def check_tick_chosen(self):
        rows = self.browser.find_elements(
            By.CSS_SELECTOR, "#ticks input[type=radio]")
        label = rows[2].get_attribute("aria-label")
        best = self.el("tick-code").get_attribute("textContent")
        rows[2].click()
        self.settle()
        # Chosen in place: the focus stays on it, its code replaces the best's.
        self.assertEqual(self.js("return document.activeElement"), rows[2])
        self.assertNotEqual(self.el("tick-code").get_attribute("textContent"),
                            best)
        self.assertEqual(self.chosen_tick(), label)
        self.assertEqual(self.link()["tick"], label)
        # The link gives it back; the language and tolerance keep it.
        self.open_link(self.js("return location.hash.slice(1)"))
        self.settings("MHz")
        self.assertEqual(self.chosen_tick(), label)
        self.js("""const lang = document.getElementById('lang');
            lang.selectedIndex = 1; lang.dispatchEvent(new Event('change'))""")
        self.retype("tolerance", "3")
        self.settings("tolerance 3 %")
        self.assertEqual(self.chosen_tick(), label)
        self.assertEqual(self.link()["tol"], "3")
        # Rows written over, for every family's, are labelled afresh.
        self.js("""const chip = document.getElementById('chip');
            chip.selectedIndex = chip.options.length - 1;
            chip.dispatchEvent(new Event('change'))""")
        self.settle()
        self.assertTrue(self.js("""return [...document.querySelectorAll(
            '#ticks tbody tr')].every(row => row.querySelector('input')
            .getAttribute('aria-label') === row.cells[1].textContent)"""))

    def check_row_kept(self):
        row = self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[3]
        row.click()
        kept = row.get_attribute("aria-label")
        self.retype("tolerance", "4")
        self.settings("容差 4 %")
        self.js("""const lang = document.getElementById('lang');
            lang.selectedIndex = 1; lang.dispatchEvent(new Event('change'))""")
        self.settings("tolerance 4 %")
        self.assertEqual(self.js("return document.querySelector("
                                 "'#settings input:checked').ariaLabel"), kept)
        self.assertEqual((self.link()["setting"], self.link()["tol"]),
                         (kept, "4"))

    def check_hash_change(self):
        self.js("location.hash = 'freq=12&baud=4800&lang=en&tol=1'")
        self.settings("12 MHz, 4800 baud; tolerance 1 %")
        self.assertEqual(self.el("Combo2").get_attribute("value"), "4800")
        self.assertEqual(self.el("tolerance").get_attribute("value"), "1")

    def check_refused_link(self):
        self.wait_for("message-text", "")
        self.assertTrue(self.el("below").is_displayed())
        self.assertTrue(self.el("results").is_displayed())
        self.assertEqual(self.link()["freq"], "999999999999")
        self.assertNotIn(" 999999999999 MHz", self.caption("settings"))

    def check_words(self):
        code = self.el("code").get_attribute("textContent")
        self.assertIn("由 baud51 网页 ", code)
        self.assertNotIn("baud51-cli", code)
        chips = [o.text for o in self.browser.find_elements(
            By.CSS_SELECTOR, "#chip option")]
        self.assertIn("8052：经典 8052（12 时钟）", chips)
        self.assertIn("stc15：STC15（STC15F2K60S2 及同类）", chips)
        self.browser.find_elements(
            By.CSS_SELECTOR, "#settings input[type=radio]")[-1].click()
        self.assertIn("页面不为它写代码", self.el("code").text)
        with open(os.path.join(os.path.dirname(page_test.PAGE),
                               "baud51.webmanifest"), encoding="utf-8") as f:
            manifest = json.load(f)
        self.assertNotIn("小工具", manifest["short_name"])
        self.assertIn("波特率", manifest["short_name"])
        self.assertTrue(manifest["theme_color"])
        self.assertTrue(manifest["background_color"])

    def test_choices(self):
        for name, fragment, shown, check in (
                ("classic_tick_first", "lang=en&freq=11.0592&baud=9600",
                 "period 1.0000 ms", self.check_classic_first),
                ("tick_chosen_kept", "lang=zh&freq=12&baud=9600",
                 "周期 1.0000 ms", self.check_tick_chosen),
                ("row_kept", "freq=11.0592&baud=9600", "11.0592 MHz",
                 self.check_row_kept),
                ("hash_change", "freq=12&baud=9600", "12 MHz",
                 self.check_hash_change),
                ("refused_link", "freq=999999999999&baud=9600", "",
                 self.check_refused_link),
                ("page_words", "freq=12&baud=9600", "12 MHz",
                 self.check_words)):
            with self.subTest(name):
                self.open_link(fragment)
                if shown:
                    self.wait_for("below", shown)
                check()


if __name__ == "__main__":
    page_test.main()
