"""The window's fields as the area below reads them, in headless Chromium.
    /usr/bin/python3 refused_test.py PAGE.html PRESS_CASES.json RefusedTest.x
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_test  # noqa: E402
from page_test import PageTest  # noqa: E402


class RefusedTest(PageTest):
    def marks(self):
        return [(self.el(name).get_attribute("aria-invalid"),
                 self.el(name).get_attribute("aria-describedby"))
                for name in ("Combo1", "Combo2")]

    def test_refused_fields(self):
        # A field the window reads but the area below does not is marked,
        # and described by the refusal; the marks go once both are read.
        refused, clear = ("true", "refusal"), (None, None)
        for name, frequency, baud, shown, marks in (
                ("rate_refused", "11.0592", "9,600", "9,600",
                 [clear, refused]),
                ("crystal_refused", "11,0592", "9600", "11,0592",
                 [refused, clear]),
                ("both_refused", "11,0592", "9,600", "11,0592",
                 [refused, clear]),
                ("both_read", "12", "9600", None, [clear, clear])):
            with self.subTest(name):
                self.press(frequency, baud)
                if shown:
                    self.wait_for("refusal", shown)
                else:
                    self.settings("12 MHz")
                self.assertEqual(self.marks(), marks)


if __name__ == "__main__":
    page_test.main()
