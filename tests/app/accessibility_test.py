#!/usr/bin/python3
"""The real program under an X server of its own, driven through the accessibility bus as a screen
reader (or a test tool) sees it: every page button is found and pressed by its name, the pressed
one says it is selected, and value fields are read back by their labels.

Usage: accessibility_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when Xvfb, dbus-launch or pyatspi are missing.
"""
import os
import re
import signal
import sys
import time

from desktop_session import Screen, run, wait_for


def main():
    def body(program, app_dir):
        check_program(program)
        check_end_during_a_slow_survey(program, os.path.join(app_dir, "wlansim.ini"))
        print("accessibility test passed")
    return run(sys.argv, __doc__, "skyvane-a11y.", body)


def check_program(program):
    import pyatspi
    screen = Screen(program)
    app, button, press, field_text = screen.app, screen.button, screen.press, screen.field_text
    checked = screen.selected

    words = ["Link Info", "Configuration", "Encryption", "Site Survey", "About"]
    buttons = {word: wait_for(lambda w=word: button(w), "the " + word + " button") for word in words}
    assert button("Close") is not None, "the close button has no name"

    for word in words:
        press(buttons[word])
        wait_for(lambda w=word: checked(buttons[w]), word + " selected")
        others = [w for w in words if w != word and checked(buttons[w])]
        assert not others, "selected besides " + word + ": " + ", ".join(others)

    # The Link Info page refreshes itself every second: the delivered home network shows up there
    # once the adapter is up, and with it the adapter's information is in the window.
    press(buttons["Link Info"])
    ssid = wait_for(lambda: field_text("SSID"), "the SSID of the delivered home network")
    assert ssid == "Riverside-Home", "SSID field: " + repr(ssid)
    status = field_text("Status")
    assert status and status.startswith(("Associated BSSID=", "Scanning BSSID=")), "Status: " + repr(status)

    press(buttons["About"])  # the About page reads the adapter's information as it is shown
    mac = wait_for(lambda: field_text("MAC Address"), "the MAC address")
    assert re.fullmatch(r"([0-9A-F]{2}:){5}[0-9A-F]{2}", mac), "MAC address field: " + repr(mac)
    assert mac != "00:00:00:00:00:00", "the adapter's MAC address never arrived"

    # The settings pages: each control is found on the page that is shown by its name, or, for a
    # drop-down list (whose name is its current item), by the label it is labelled by.
    def labels_of(node):
        names = []
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
        return names

    def shown_control(name):
        def matches(node):
            if node is None or node.getRole() == pyatspi.ROLE_LABEL:
                return False
            if not node.getState().contains(pyatspi.STATE_SHOWING):
                return False
            return node.name == name or name in labels_of(node)
        return pyatspi.findDescendant(app, matches)

    settings_controls = {
        "Configuration": ["SSID", "Wireless Mode", "AdHoc Band", "Channel", "Power Mode", "Preamble",
                          "11B", "11G", "11GT", "11A", "11AT", "Extended Range", "Apply", "Cancel"],
        "Encryption": ["Auth. Mode", "Encryption", "Configuration", "Network Key 1", "Network Key 4",
                       "Key Length 1", "Key Length 4", "Default Key", "Key Format", "Apply", "Cancel"],
    }
    for word, names in settings_controls.items():
        press(buttons[word])
        wait_for(lambda w=word: checked(buttons[w]), word + " selected")
        for name in names:
            wait_for(lambda n=name: shown_control(n), "the control named " + name + " on " + word, 5)


def check_end_during_a_slow_survey(program, world):
    """A survey that takes four seconds runs away from the window: the window takes input meanwhile,
    and SIGTERM a second into it ends the program within a second."""
    import pyatspi
    with open(world, encoding="latin-1") as f:
        text = f.read()
    with open(world, "w", encoding="latin-1") as f:  # the library reads its world again when it changes
        f.write(re.sub(r"(?m)^SurveyDelayMs=.*$", "SurveyDelayMs=4000", text))
    screen = Screen(program)

    def tab(name):
        return screen.find(pyatspi.ROLE_PAGE_TAB, name)

    def press(node):
        node.queryAction().doAction(0)

    press(tab("Site Survey"))
    time.sleep(0.5)
    about = tab("About")
    press(about)  # input is handled while the adapter scans
    wait_for(lambda: about.getState().contains(pyatspi.STATE_SELECTED), "About selected during the survey", 2)
    time.sleep(0.5)
    sent = time.monotonic()
    program.send_signal(signal.SIGTERM)
    status = program.wait(timeout=10)
    took = time.monotonic() - sent
    assert status == 0, "the program ended with status %d" % status
    assert took <= 1.0, "the program took %.2f s to end after SIGTERM" % took
    print("ended %.2f s after SIGTERM during the survey" % took)


if __name__ == "__main__":
    sys.exit(main())
