"""The page's speed in headless Chromium, against a bare page:
    /usr/bin/python3 bench/web/page_bench.py build/web/web/baud51.html
Ready: navigation start to performance.mark("baud51-ready"), the page and
bare.html (one label, the same mark) loaded alternately from disk, each in
a fresh tab of one browser. One press: 计算 clicked from script, from the
click to its return, when every label has been written. Medians."""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tests", "web"))
from browser import chromium, open_page  # noqa: E402

RUNS = 21
PRESSES = 500
READY = ("return performance.getEntriesByName('baud51-ready')[0].startTime")
PRESS = """
const button = document.getElementById('Command1');
const times = [];
for (let i = 0; i < arguments[0]; ++i) {
  const start = performance.now();
  button.click();
  times.push(performance.now() - start);
}
return times;"""


def ready_ms(driver, url):
    driver.switch_to.new_window("tab")
    open_page(driver, url)
    value = driver.execute_script(READY)
    driver.close()
    driver.switch_to.window(driver.window_handles[0])
    return value


def main():
    page = "file://" + os.path.abspath(sys.argv[1])
    bare = "file://" + os.path.join(os.path.dirname(os.path.abspath(
        __file__)), "bare.html")
    with chromium() as driver:
        ready_ms(driver, page)  # the first load pays for the disk cache
        times = {page: [], bare: []}
        for _ in range(RUNS):
            for url in (page, bare):
                times[url].append(ready_ms(driver, url))
        page_ms, bare_ms = (statistics.median(times[u]) for u in (page, bare))
        print(f"ready: page {page_ms:.1f} ms, bare page {bare_ms:.1f} ms, "
              f"ratio {page_ms / bare_ms:.2f} (goal at most 1.5)")
        open_page(driver, page)
        presses = driver.execute_script(PRESS, PRESSES)
        print(f"one press of 计算: median {statistics.median(presses):.3f} ms"
              f" over {PRESSES} (goal under 1 ms)")


if __name__ == "__main__":
    main()
