"""Runs reader.py against the real program in a world of its own, then
removes that world.

    /usr/bin/python3 session.py PATH_TO_BAUD51

Starts Xvfb on a free display (-noreset, so the server stays up however
clients come and go), then reader.py under dbus-run-session with a private
runtime directory. Everything started here, and everything that starts in
turn, is ended and reaped before this exits: this process makes itself their
subreaper, so even the accessibility daemons, which outlive their parents,
come back to it.

Exit status: 0 passed, 1 failed, 77 a tool is missing (counted as skipped;
scripts/test installs them).
"""

import ctypes
import importlib.util
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SESSION_SECONDS = 120  # reader.py gives up after 90 s; this is the backstop
DISPLAY_SECONDS = 15
PR_SET_PDEATHSIG = 1
PR_SET_CHILD_SUBREAPER = 36

HERE = os.path.dirname(os.path.abspath(__file__))
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
libc = ctypes.CDLL(None, use_errno=True)


def missing_tools():
    missing = [tool for tool in ("Xvfb", "dbus-run-session", "dbus-send")
               if shutil.which(tool) is None]
    if not os.access(LAUNCHER, os.X_OK):
        missing.append(LAUNCHER)
    if sys.executable != "/usr/bin/python3" or \
            importlib.util.find_spec("pyatspi") is None:
        missing.append("pyatspi for /usr/bin/python3")
    return missing


def die_with_us():
    """In a child before exec: if this process is killed, so is the child."""
    libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def start_display(log):
    """Xvfb on the first free display, and that display's name."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-noreset", "-nolisten", "tcp",
         "-screen", "0", "1024x768x24"],
        pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log,
        stderr=log, preexec_fn=die_with_us)
    os.close(write_end)
    # Read up to the line feed: the server writes it separately and dies if
    # it cannot.
    text = b""
    deadline = time.monotonic() + DISPLAY_SECONDS
    while not text.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([read_end], [], [],
                                    max(0, deadline - time.monotonic()))
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            break
        text += chunk
    os.close(read_end)
    number = text.decode().strip()
    return server, (":" + number if text.endswith(b"\n") and number.isdigit()
                    else None)


def children():
    """Our children: what we started and every orphan from below it."""
    me = os.getpid()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                text = stat.read()
        except OSError:
            continue
        # The name in parentheses may hold anything; the fields after it don't.
        fields = text[text.rindex(")") + 2:].split()
        if int(fields[1]) == me:
            found.append((int(entry), text[text.index("(") + 1:text.rindex(")")]))
    return found


def reap():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def wait_until_gone(seconds, keep=()):
    """Reaps until nothing but `keep` is left, or `seconds` have passed."""
    deadline = time.monotonic() + seconds
    while True:
        reap()
        if all(pid in keep for pid, _ in children()):
            return
        if time.monotonic() >= deadline:
            return
        time.sleep(0.05)


def end_everything():
    for signal_number in (signal.SIGTERM, signal.SIGKILL):
        for pid, _ in children():
            try:
                os.kill(pid, signal_number)
            except ProcessLookupError:
                pass
        wait_until_gone(5)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: session.py PATH_TO_BAUD51")
    program = os.path.abspath(sys.argv[1])
    missing = missing_tools()
    if missing:
        print("SKIPPED: missing " + ", ".join(missing))
        return 77
    libc.prctl(PR_SET_CHILD_SUBREAPER, 1)
    # A polite stop (ctest's, a user's) still cleans up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    signal.signal(signal.SIGINT, lambda *_: sys.exit(1))

    home = tempfile.mkdtemp(prefix="baud51-a11y-")
    status = 1
    try:
        with open(os.path.join(home, "xvfb.log"), "w+") as log:
            server, display = start_display(log)
            if display is None:
                log.seek(0)
                print("FAILED: Xvfb did not start\n" + log.read())
                return 1
            environment = {k: v for k, v in os.environ.items()
                           if not k.startswith(("DBUS_", "AT_SPI_", "WAYLAND_"))}
            # Nothing of the user's session: its own runtime, cache and
            # settings directories, gone afterwards.
            environment.update(DISPLAY=display, XDG_RUNTIME_DIR=home,
                               XDG_CACHE_HOME=os.path.join(home, "cache"),
                               XDG_CONFIG_HOME=os.path.join(home, "config"))
            session = subprocess.Popen(
                ["dbus-run-session", "--", "/usr/bin/python3",
                 os.path.join(HERE, "reader.py"), program],
                env=environment, stdin=subprocess.DEVNULL,
                start_new_session=True, preexec_fn=die_with_us)
            try:
                status = session.wait(timeout=SESSION_SECONDS)
            except subprocess.TimeoutExpired:
                print(f"FAILED: no result after {SESSION_SECONDS} s")
                os.killpg(session.pid, signal.SIGKILL)
                session.wait()
            if status != 0:
                log.seek(0)
                print(f"display {display}, X server "
                      f"{'running' if server.poll() is None else 'gone'}; "
                      f"its log:\n{log.read()}")
            # The bus is gone with dbus-run-session and the daemons follow
            # it; the X server goes last, so none loses its display first.
            wait_until_gone(5, keep=(server.pid,))
    finally:
        end_everything()
        shutil.rmtree(home, ignore_errors=True)
    left = children()
    if left:
        print(f"FAILED: still running: {left}")
        return 1
    print("passed" if status == 0 else f"FAILED: reader.py exit status {status}")
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
