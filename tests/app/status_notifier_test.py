#!/usr/bin/python3
"""The real program under a status-notifier panel that starts after it, as at a login where the
autostart runs before the panel: the program starts without a notification area (its window
opens), then a watcher of the test's own appears on the session bus. The program's item must
register with it, carry the program's name, its icon in every drawn size and its menu; the
window, shown for want of a tray, stays as it was; the item opens the window again once it was
closed, registers again with a watcher that restarts, and its menu's "Exit" ends the program.

Usage: status_notifier_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when Xvfb, dbus-launch, xdotool or python3-gi are missing.
"""
import os
import shutil
import subprocess
import sys
import time

from desktop_session import SKIP, Screen, run, wait_for
from status_notifier import Watcher

TITLE = "Skyvane Configuration Utility"


def window_shown():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % TITLE],
                           capture_output=True, text=True)
    return found.returncode == 0 and found.stdout.strip() != ""


def main():
    if shutil.which("xdotool") is None:
        print("xdotool is missing: skipped")
        return SKIP
    try:
        from gi.repository import Gio  # noqa: F401
    except ImportError:
        print("python3-gi is missing: skipped")
        return SKIP

    def body(program, app_dir):
        wait_for(window_shown, "the window, shown for want of a tray")
        screen = Screen(program)  # the close button is pressed through the accessibility bus
        address = os.environ["DBUS_SESSION_BUS_ADDRESS"]

        watcher = Watcher(address)
        item = watcher.wait_for_items(1, program=program)
        assert item[0].startswith("org.kde.StatusNotifierItem-"), item
        properties = watcher.properties(item)
        assert properties["Id"] == "skyvane", properties["Id"]
        assert properties["Title"] == TITLE, properties["Title"]
        sizes = [(width, height) for width, height, _ in properties["IconPixmap"]]
        assert sizes == [(s, s) for s in (16, 22, 24, 32, 48, 64)], sizes
        for width, height, pixels in properties["IconPixmap"]:
            assert len(pixels) == width * height * 4, (width, len(pixels))
        assert properties["ToolTip"][2] == TITLE, properties["ToolTip"]
        menu = properties["Menu"]
        labels = [label for _, label in watcher.menu_layout(item, menu)]
        assert "Exit" in labels and "Start" in labels, labels

        # The tray has come: two status ticks later the window is still there.
        time.sleep(2.5)
        watcher.pump()
        assert window_shown(), "the window went away when the tray appeared"

        # Closed, it goes to the tray; the panel's left click brings it back.
        screen.press(wait_for(lambda: screen.button("Close"), "the close button"))
        wait_for(lambda: not window_shown(), "the window to close into the tray")
        assert program.poll() is None, "closing the window ended the program"
        watcher.call(item, "org.kde.StatusNotifierItem", "Activate", "(ii)", (0, 0))
        wait_for(window_shown, "the window, opened from the item")

        # The panel restarts: the item registers with the new watcher.
        watcher.close()
        watcher = Watcher(address)
        again = watcher.wait_for_items(1, program=program)
        assert again == item, again

        entries = dict((label, entry) for entry, label in watcher.menu_layout(item, menu))
        watcher.click(item, menu, entries["Exit"])
        status = wait_for(lambda: program.poll() is not None and (program.returncode,), "the end after Exit")
        assert status == (0,), "Exit ended the program with status %d" % status[0]
        print("status notifier test passed")

    return run(sys.argv, __doc__, "skyvane-sni.", body)


if __name__ == "__main__":
    sys.exit(main())
