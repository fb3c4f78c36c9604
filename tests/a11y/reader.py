"""The screen reader's side: run inside a D-Bus session on an X display.

Activates the accessibility bus, starts the calculator with Qt's AT-SPI
bridge on, and uses it only through AT-SPI, as a screen reader would: it
finds the controls by their names, headings and descriptions, types into
the fields, presses the buttons and reads the results.

    /usr/bin/python3 reader.py PATH_TO_BAUD51

Exit status 0 when everything read as expected. Started by session.py,
which owns the display, the bus and the reaping of whatever is left.
"""

import os
import signal
import subprocess
import sys
import time

STEP_SECONDS = 15      # the longest any one wait may take
OVERALL_SECONDS = 90   # the whole conversation with the program

FREQUENCY_HEADING = "晶振频率(MHz)"
BAUD_HEADING = "波特率"
# What each result label shows, as its accessible description says.
RESULTS = ("T1常数(Hex)", "T1误差%", "T2常数(Hex)", "T2误差%")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, seconds=STEP_SECONDS):
    """Polls `probe` until it returns something true; fails after `seconds`."""
    deadline = time.monotonic() + seconds
    last_error = None
    while time.monotonic() < deadline:
        try:
            value = probe()
            if value:
                return value
        except Failure:
            raise
        except Exception as error:  # the tree changes under our feet
            last_error = error
        time.sleep(0.05)
    raise Failure(f"timed out waiting for {what}"
                  + (f" (last error: {last_error})" if last_error else ""))


def activate_accessibility_bus():
    # Qt looks for the bus when it starts; it must be there already.
    subprocess.run(["dbus-send", "--session", "--print-reply",
                    "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.a11y.Bus.GetAddress"],
                   check=True, stdout=subprocess.DEVNULL, timeout=STEP_SECONDS)


def fresh(accessible):
    """The accessible with nothing cached. Without a main loop here the
    program's change events are never read, so a cached name or list of
    children may be out of date."""
    accessible.clear_cache()
    return accessible


def descendants(root):
    """Every accessible below `root`, breadth first; a list's items are skipped."""
    queue = [root]
    while queue:
        node = queue.pop(0)
        for child in fresh(node):
            if child is None:
                continue
            yield child
            if child.getRoleName() != "list":
                queue.append(child)


def find(root, role, name=None, description=None):
    for node in descendants(root):
        if node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        if description is not None and node.description != description:
            continue
        return node
    return None


def find_application(pyatspi, pid):
    for application in fresh(pyatspi.Registry.getDesktop(0)):
        if application is not None and application.get_process_id() == pid:
            return application
    return None


def field_after_heading(pyatspi, window, heading):
    """The edit field of the combo box that is labelled by `heading`."""
    for combo in descendants(window):
        if combo.getRoleName() != "combo box":
            continue
        labels = [relation.getTarget(i).name
                  for relation in combo.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for i in range(relation.getNTargets())]
        if heading in labels:
            edit = find(combo, "text")
            check(edit is not None, f"the {heading} box has no edit field")
            check(edit.name == heading,
                  f"the {heading} field is announced as {edit.name!r}")
            return edit
    raise Failure(f"no combo box labelled {heading!r}")


def set_text(edit, text):
    edit.queryEditableText().setTextContents(text)
    wait_for(f"the field to read {text!r}",
             lambda: fresh(edit).queryText().getText(0, -1) == text)


def press(button):
    action = button.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    check("press" in names, f"{button.name!r} offers no press action: {names}")
    action.doAction(names.index("press"))


def result_names(labels):
    return tuple(fresh(label).name for label in labels)


def converse(pyatspi, program):
    try:
        application = wait_for("the program on the accessibility bus",
                               lambda: find_application(pyatspi, program.pid))
    except Failure as failure:
        desktop = fresh(pyatspi.Registry.getDesktop(0))
        seen = [(a.name, a.get_process_id()) for a in desktop if a is not None]
        raise Failure(f"{failure}; program pid {program.pid}, running "
                      f"{program.poll() is None}; the bus has {seen}")
    window = wait_for("the window", lambda: next(
        (c for c in fresh(application) if c is not None and c.name == "小工具1"),
        None))
    frequency = field_after_heading(pyatspi, window, FREQUENCY_HEADING)
    baud = field_after_heading(pyatspi, window, BAUD_HEADING)
    calculate = find(window, "push button", name="计算")
    leave = find(window, "push button", name="退出")
    check(calculate is not None and leave is not None,
          "the buttons are not announced by their captions")
    labels = []
    for description in RESULTS:
        label = find(window, "label", description=description)
        check(label is not None, f"no result label described as {description!r}")
        labels.append(label)
    check(result_names(labels) == ("FD", "0", "FFDC", "0"),
          f"the starting results read {result_names(labels)}")

    set_text(frequency, "12")
    set_text(baud, "9600")
    press(calculate)
    # A label's text is its name, leading space and all.
    expected = ("FD", " 7.8", "FFD9", " .16")
    try:
        wait_for(f"the results {expected}", lambda: result_names(labels) == expected)
    except Failure as failure:
        raise Failure(f"{failure}; they read {result_names(labels)}")
    print(f"12 MHz, 9600 baud reads {result_names(labels)}")

    set_text(baud, "0")
    press(calculate)
    message = wait_for("the error message", lambda: find(application, "label",
                                                         name="除数为零"))
    dialog = message.parent
    print(f"the error message reads {message.name!r} in a {dialog.getRoleName()}")
    close = find(dialog, "push button")
    check(close is not None, "the message has no button")
    press(close)
    wait_for("the message to close",
             lambda: find(application, "label", name="除数为零") is None)
    check(result_names(labels) == expected,
          f"a failed calculation changed the results to {result_names(labels)}")

    press(leave)
    try:
        status = program.wait(timeout=STEP_SECONDS)
    except subprocess.TimeoutExpired:
        raise Failure("the program still runs after 退出 was pressed")
    check(status == 0, f"the program ended with status {status}")
    print("退出 ended the program")


def give_up(*_):
    raise Failure(f"gave up after {OVERALL_SECONDS} s")


def main():
    program_path = sys.argv[1]
    signal.signal(signal.SIGALRM, give_up)
    signal.alarm(OVERALL_SECONDS)
    activate_accessibility_bus()
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([program_path], env=environment)
    try:
        import pyatspi  # only now: it connects to the bus activated above
        converse(pyatspi, program)
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        signal.alarm(0)
        if program.poll() is None:
            program.kill()
            program.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
