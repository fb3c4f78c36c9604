"""Headless Chromium for the page's tests, screenshots and benchmarks.
Debian's chromium and chromium-driver through python3-selenium; as root the
sandbox cannot start, so it is off, and every run gets a profile of its own
that nothing outside the run touches. The browser's language is Chinese
unless asked otherwise, since the page below the window follows it."""
import contextlib
import shutil
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
READY_SECONDS = 20


@contextlib.contextmanager
def chromium(dark=False, width=800, height=600, lang="zh-CN"):
    profile = tempfile.mkdtemp(prefix="baud51-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless", "--no-sandbox", "--disable-gpu",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     f"--user-data-dir={profile}",
                     f"--window-size={width},{height}", f"--lang={lang}"):
        options.add_argument(argument)
    options.add_experimental_option("prefs", {"intl.accept_languages": lang})
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    try:
        scheme = "dark" if dark else "light"
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"features": [
            {"name": "prefers-color-scheme", "value": scheme}]})
        # Whatever the page's policy refuses, open_page reports.
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {
            "source": "addEventListener('securitypolicyviolation', e => "
                      "(window.baud51Refused = window.baud51Refused || [])"
                      ".push(e.violatedDirective + ' ' + e.blockedURI))"})
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def open_page(driver, url):
    """Loads `url` and waits until the page says the window is ready and
    its first frame, which gives the first focus, is drawn."""
    driver.get(url)
    deadline = time.monotonic() + READY_SECONDS
    while time.monotonic() < deadline:
        if driver.execute_script(
                "return document.documentElement.dataset.ready === '1'"):
            driver.execute_script(
                "return new Promise(done => requestAnimationFrame(done))")
            refused = driver.execute_script("return window.baud51Refused")
            if refused:
                raise AssertionError(f"{url}: its policy refused {refused}")
            return
        time.sleep(0.02)
    raise AssertionError(f"{url} never became ready")
