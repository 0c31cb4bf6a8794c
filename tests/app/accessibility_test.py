#!/usr/bin/python3
"""The real program under an X server of its own, driven through the accessibility bus as a screen
reader (or a test tool) sees it: every page button is found and pressed by its name, the pressed
one says it is selected, and value fields are read back by their labels.

Usage: accessibility_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when Xvfb, dbus-launch or pyatspi are missing.
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77


def start_x_server(log):
    """An X server on a display number of its own. Numbers are drawn well away from the low ones
    that desktops and other tools take (and sometimes tear down); a taken one is skipped."""
    import random
    for number in random.sample(range(300, 900), 20):
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=log)
        os.close(write_end)
        ready = b""
        while not ready.endswith(b"\n"):  # the number may come in more than one piece
            piece = os.read(read_end, 16)
            if not piece:
                break
            ready += piece
        os.close(read_end)
        if ready.strip():
            return server, ":" + ready.decode().strip()
        server.wait()
    raise RuntimeError("Xvfb did not start")


def start_session_bus(env):
    output = subprocess.run(["dbus-launch", "--sh-syntax"], env=env, capture_output=True, text=True,
                            check=True).stdout
    found = dict(re.findall(r"(DBUS_SESSION_BUS_ADDRESS|DBUS_SESSION_BUS_PID)='?([^';]+)'?;", output))
    return found["DBUS_SESSION_BUS_ADDRESS"], int(found["DBUS_SESSION_BUS_PID"])


def prepare_folder(source_dir, work):
    app = os.path.join(work, "app")
    shutil.copytree(os.path.join(source_dir, "resources", "run"), app)
    shutil.copytree(os.path.join(source_dir, "resources", "skin"), os.path.join(app, "skin"))
    settings = os.path.join(app, "a.cba")
    with open(settings, encoding="latin-1") as f:
        text = f.read()
    with open(settings, "w", encoding="latin-1") as f:  # no first-run country question here
        f.write(re.sub(r"(?m)^CountryDomain=.*$", "CountryDomain=3", text))
    return app


def wait_for(condition, what, timeout=30.0):
    end = time.time() + timeout
    while time.time() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError("timed out waiting for " + what)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    executable, source_dir = sys.argv[1], sys.argv[2]
    for tool in ("Xvfb", "dbus-launch"):
        if shutil.which(tool) is None:
            print(tool + " is missing: skipped")
            return SKIP
    try:
        import pyatspi  # noqa: F401  (checked before the buses exist; imported again below)
    except ImportError:
        print("python3-pyatspi is missing: skipped")
        return SKIP

    work = tempfile.mkdtemp(prefix="skyvane-a11y.")
    server = program = None
    bus_pid = None
    try:
        app_dir = prepare_folder(source_dir, work)
        server, display = start_x_server(open(os.path.join(work, "xvfb.log"), "w"))
        env = dict(os.environ)
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        env.update({"DISPLAY": display, "XDG_RUNTIME_DIR": runtime,
                    "XDG_CONFIG_HOME": os.path.join(work, "config"),
                    "XDG_DATA_HOME": os.path.join(work, "data"),
                    "WLANSIM_WORLD": os.path.join(app_dir, "wlansim.ini"),
                    "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_QPA_PLATFORM": "xcb"})
        env.pop("WLANSIM_TRACE", None)
        address, bus_pid = start_session_bus(env)
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ.update({"DISPLAY": display, "DBUS_SESSION_BUS_ADDRESS": address})

        program = subprocess.Popen([executable], cwd=app_dir, env=env, stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(work, "program.log"), "w"))
        check_program(program)
        check_end_during_a_slow_survey(program, os.path.join(app_dir, "wlansim.ini"))
        print("accessibility test passed")
        return 0
    finally:
        if program is not None and program.poll() is None:
            program.send_signal(signal.SIGTERM)
            try:
                status = program.wait(timeout=10)
                if status != 0:
                    print("the program ended with status", status)
            except subprocess.TimeoutExpired:
                program.kill()
        if bus_pid:
            try:
                os.kill(bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        if server is not None:
            server.terminate()
            server.wait()
        for name in ("program.log", "xvfb.log"):
            log = os.path.join(work, name)
            if os.path.exists(log) and os.path.getsize(log) > 0:
                with open(log, encoding="utf-8", errors="replace") as f:
                    sys.stdout.write(name + ":\n" + f.read()[-4000:])
        shutil.rmtree(work, ignore_errors=True)


def check_program(program):
    import pyatspi

    def application():
        if program.poll() is not None:
            raise AssertionError("the program ended early, with status %d" % program.returncode)
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "skyvane":
                return app
        return None

    app = wait_for(application, "the program on the accessibility bus")

    def find(role, name):
        def matches(node):
            return node is not None and node.getRole() == role and node.name == name
        found = pyatspi.findDescendant(app, matches)
        return found

    def button(name):
        # The page buttons are page tabs to the bus; the close button a push button.
        return find(pyatspi.ROLE_PAGE_TAB, name) or find(pyatspi.ROLE_PUSH_BUTTON, name)

    def press(node):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        index = names.index("Press") if "Press" in names else 0
        action.doAction(index)

    def field_text(label):
        node = find(pyatspi.ROLE_TEXT, label)
        if node is None:
            return None
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def checked(node):
        return node.getState().contains(pyatspi.STATE_SELECTED)

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
    app = next(a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "skyvane")

    def tab(name):
        return pyatspi.findDescendant(app, lambda n: n is not None and n.getRole() == pyatspi.ROLE_PAGE_TAB
                                      and n.name == name)

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
