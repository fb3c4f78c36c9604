"""The page's two programs in headless Chromium: the window answers before
the program below it is there, and that program then follows the window.
    /usr/bin/python3 split_test.py PAGE.html PRESS_CASES.json [SplitTest.x]
Each row gives the browser a script that runs before the page's own and
holds back, breaks or takes away part of what the page loads with."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_test  # noqa: E402
from browser import chromium  # noqa: E402

# The program below is the only one instantiated asynchronously.
HOLD_BELOW = """
window.heldBelow = [];
const instantiate = WebAssembly.instantiate;
WebAssembly.instantiate = (...args) => new Promise(done => heldBelow.push(
    () => done(instantiate.apply(WebAssembly, args))));
window.releaseBelow = () => heldBelow.splice(0).forEach(go => go());
"""
BREAK_BELOW = """
WebAssembly.instantiate = () => Promise.reject(new Error('broken'));
"""
# Its packed bytes cut short, before the page reads them.
CUT_BELOW = """
document.addEventListener('DOMContentLoaded', () => {
  const packed = document.getElementById('below-program');
  packed.textContent = packed.text.slice(0, packed.text.length >> 1);
});
"""

# Presses 计算 with 12 MHz and 9600 baud until the window shows their
# results; whether it did.
PRESS_UNTIL_ANSWERED = """
const el = id => document.getElementById(id);
for (let i = 0; i < 500; ++i) {
  if (el('Combo1') && el('Combo2') && el('Command1')) {
    el('Combo1').value = '12';
    el('Combo2').value = '9600';
    el('Command1').click();
    if (el('Label9').textContent === 'FFD9') return true;
  }
  await new Promise(next => setTimeout(next, 10));
}
return false;
"""


class SplitTest(unittest.TestCase):
    # Driven as the page's own tests drive it.
    el, js, type_into, press, results, settings, wait_for, link = (
        getattr(page_test.PageTest, name) for name in (
            "el", "js", "type_into", "press", "results", "settings",
            "wait_for", "link"))

    def setUp(self):
        self.browser = self.enterContext(chromium())

    def open_with(self, script):
        """Opens the page with `script` run first; the script's id."""
        self.browser.get("about:blank")
        added = self.browser.execute_cdp_cmd(
            "Page.addScriptToEvaluateOnNewDocument", {"source": script})
        self.browser.get("file://" + page_test.PAGE)
        return added["identifier"]

    def answered(self):
        return self.browser.execute_async_script(
            "const done = arguments[0]; (async () => {"
            + PRESS_UNTIL_ANSWERED + "})().then(done, done)")

    def ready(self):
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.js("return document.documentElement.dataset.ready"):
                return True
            time.sleep(0.02)
        return False

    def check_held(self):
        # Answered with the program below held back: the area below waits,
        # then shows the press, not what was typed since.
        self.assertTrue(self.answered())
        self.assertEqual(self.results(), ["FD", "FFD9", " 7.8", " .16"])
        self.assertFalse(self.el("below").is_displayed())
        self.type_into("Combo1", "11.0592")
        self.js("releaseBelow()")
        self.assertTrue(self.ready())
        self.settings("12 MHz，9600 波特")
        self.assertEqual(self.link()["freq"], "12")
        # And every press after it.
        self.press("11.0592", "19200")
        self.settings("11.0592 MHz，19200 波特")

    def check_broken(self):
        # The program below fails to unpack or to start: the page is ready
        # all the same, with the window alone, and says nothing.
        self.assertTrue(self.ready())
        self.assertTrue(self.answered())
        self.assertFalse(self.el("below").is_displayed())
        self.assertFalse(self.js(
            "return document.getElementById('message').open"))

    def test_two_programs(self):
        for name, script, check in (
                ("below held back", HOLD_BELOW, self.check_held),
                ("below broken", BREAK_BELOW, self.check_broken),
                ("below cut short", CUT_BELOW, self.check_broken)):
            with self.subTest(name):
                added = self.open_with(script)
                try:
                    check()
                finally:
                    self.browser.execute_cdp_cmd(
                        "Page.removeScriptToEvaluateOnNewDocument",
                        {"identifier": added})


if __name__ == "__main__":
    page_test.main()
