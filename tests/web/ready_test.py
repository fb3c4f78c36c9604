"""The window answering before the page is drawn, in headless Chromium.
    /usr/bin/python3 ready_test.py PAGE.html PRESS_CASES.json ReadyTest.x
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_test  # noqa: E402
from browser import open_page  # noqa: E402
from page_test import PageTest  # noqa: E402

# Presses 计算 with arguments' crystal and rate as soon as the window's
# program has started: the markup after its script is parsed, and before
# any frame, since the page holds its first frame until then.
EARLY_PRESS = """
new MutationObserver(function(changes, observer) {
  const el = id => document.getElementById(id);
  if (!el('below')) return;
  observer.disconnect();
  el('Combo1').value = %r;
  el('Combo2').value = %r;
  el('Command1').click();
  window.earlyPress = {
    painted: performance.getEntriesByType('paint').length > 0,
    results: %s.map(id => el(id).textContent),
  };
}).observe(document, {childList: true, subtree: true});
"""


class ReadyTest(PageTest):
    def setUp(self):
        self.browser = self.enterContext(page_test.chromium())

    def scheme(self, dark):
        self.browser.execute_cdp_cmd("Emulation.setEmulatedMedia", {
            "features": [{"name": "prefers-color-scheme",
                          "value": "dark" if dark else "light"}]})

    def shown(self):
        return ([self.color(name) for name in page_test.CASES["result_labels"]],
                self.results())

    def test_early_press(self):
        # The colours a press gives before the first frame are painted
        # again with it, as the same press gives them later.
        for name, frequency, baud, dark in (
                ("warning_light", "11.0592", "19200", False),
                ("warning_dark", "11.0592", "19200", True)):
            with self.subTest(name):
                self.scheme(dark)
                script = self.browser.execute_cdp_cmd(
                    "Page.addScriptToEvaluateOnNewDocument",
                    {"source": EARLY_PRESS % (
                        frequency, baud,
                        list(page_test.CASES["result_labels"]))})
                open_page(self.browser, "file://" + page_test.PAGE)
                self.browser.execute_cdp_cmd(
                    "Page.removeScriptToEvaluateOnNewDocument", script)
                early = self.js("return window.earlyPress")
                self.assertFalse(early["painted"])
                colors, results = self.shown()
                self.assertEqual(early["results"], results)
                self.press("6", "1200")
                self.press(frequency, baud)
                self.assertEqual(self.shown(), (colors, results))


if __name__ == "__main__":
    page_test.main()
