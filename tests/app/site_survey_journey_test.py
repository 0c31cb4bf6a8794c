#!/usr/bin/python3
"""A user's journey through the Site Survey page of the real program, under an X server of its
own, driven through the accessibility bus: the delivered world's networks are listed, one of them
is chosen and connected to, the editor that opens names the profile and takes its passphrase,
Apply shows Link Info where the link comes up, and the profile is in the profile list when the
page is shown again. Connecting with the profile from the list then applies it without a word.

Usage: site_survey_journey_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when Xvfb, dbus-launch or pyatspi are missing.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from accessibility_test import SKIP, prepare_folder, start_session_bus, start_x_server, wait_for  # noqa: E402

NETWORK = "Apartment-3B"
BSSID = "00:18:39:A2:17:5C"
PASSPHRASE = "tea and biscuits"
PROFILE = "Upstairs"


def journey(program):
    import pyatspi

    def application():
        if program.poll() is not None:
            raise AssertionError("the program ended early, with status %d" % program.returncode)
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "skyvane":
                return app
        return None

    app = wait_for(application, "the program on the accessibility bus")

    def find(role, name, root=None):
        return pyatspi.findDescendant(root or app, lambda n: n is not None and n.getRole() == role
                                      and n.name == name)

    def press(node):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)

    def button(name, root=None):
        return find(pyatspi.ROLE_PAGE_TAB, name, root) or find(pyatspi.ROLE_PUSH_BUTTON, name, root)

    def field_text(label, root=None):
        node = find(pyatspi.ROLE_TEXT, label, root)
        if node is None:
            return None
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def set_field(label, value, root):
        node = wait_for(lambda: find(pyatspi.ROLE_TEXT, label, root) or find(pyatspi.ROLE_PASSWORD_TEXT, label, root),
                        "the field " + label)
        assert node.queryEditableText().setTextContents(value), "could not set " + label

    def table(name):
        found = pyatspi.findDescendant(app, lambda n: n is not None and n.name == name and
                                       n.getRole() in (pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
                                                       pyatspi.ROLE_TABLE, pyatspi.ROLE_LIST))
        return found

    def rows(node):
        t = node.queryTable()
        return [[t.getAccessibleAt(r, c).name for c in range(t.nColumns)] for r in range(t.nRows)]

    def dialog(title):
        def found():
            for role in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW):
                node = find(role, title)
                if node is not None:
                    return node
            return None
        return wait_for(found, "the dialog " + title)

    def select_row(node, column, text):
        t = node.queryTable()
        for r in range(t.nRows):
            if t.getAccessibleAt(r, column).name == text:
                assert t.addRowSelection(r), "could not select " + text
                return r
        raise AssertionError(text + " is not listed: " + repr(rows(node)))

    # The networks in range, with the page's texts.
    press(wait_for(lambda: button("Site Survey"), "the Site Survey button"))
    networks = wait_for(lambda: table("Available Network"), "the network list")
    listed = wait_for(lambda: len(rows(networks)) >= 12 and rows(networks), "the delivered world's networks")
    by_ssid = {row[0]: row for row in listed}
    assert by_ssid[NETWORK] == [NETWORK, BSSID, by_ssid[NETWORK][2], "WPAPSK", "1"], repr(by_ssid[NETWORK])
    assert by_ssid["CornerCafe-Guest"][3:] == ["none", "11"], repr(by_ssid["CornerCafe-Guest"])
    assert by_ssid["Acme-Corp"][3:] == ["WPA2", "36"], repr(by_ssid["Acme-Corp"])
    print("networks listed:", ", ".join(sorted(by_ssid)))

    # Connect to one: the editor opens on it; name the profile, give the passphrase, apply.
    select_row(networks, 0, NETWORK)
    press(find(pyatspi.ROLE_PUSH_BUTTON, "Connect"))
    editor = dialog("Profile")
    assert field_text("SSID", editor) == NETWORK, field_text("SSID", editor)
    set_field("Profile Name", PROFILE, editor)
    press(wait_for(lambda: button("Config", editor), "the Config button"))
    passphrase = dialog("Define WPA PSK")
    set_field("Enter your WPA Passphrase.  The minimum length is 8 characters.", PASSPHRASE, passphrase)
    press(button("OK", passphrase))
    wait_for(lambda: find(pyatspi.ROLE_DIALOG, "Define WPA PSK") is None, "the passphrase dialog to close")
    press(button("Apply", editor))
    wait_for(lambda: find(pyatspi.ROLE_DIALOG, "Profile") is None, "the editor to close")

    # Link Info shows the new link once the adapter has joined.
    link_info = button("Link Info")
    wait_for(lambda: link_info.getState().contains(pyatspi.STATE_SELECTED), "Link Info shown")
    wait_for(lambda: field_text("SSID") == NETWORK, "the link to " + NETWORK)
    status = wait_for(lambda: (field_text("Status") or "").startswith("Associated") and field_text("Status"),
                      "the association")
    assert status == "Associated BSSID=" + BSSID.replace(":", "-"), status
    print("linked:", status)

    # The profile is in the list when the page is shown again; connecting with it asks nothing.
    press(button("Site Survey"))
    profiles = wait_for(lambda: table("Profile list"), "the profile list")
    wait_for(lambda: [PROFILE] in rows(profiles), "the profile " + PROFILE)
    select_row(profiles, 0, PROFILE)
    press(find(pyatspi.ROLE_PUSH_BUTTON, "Connect with profile"))
    wait_for(lambda: link_info.getState().contains(pyatspi.STATE_SELECTED), "Link Info shown again")
    assert find(pyatspi.ROLE_DIALOG, "Profile") is None, "the editor showed for a stored profile"
    print("journey done")


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
        import pyatspi  # noqa: F401
    except ImportError:
        print("python3-pyatspi is missing: skipped")
        return SKIP

    work = tempfile.mkdtemp(prefix="skyvane-journey.")
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
        journey(program)
        print("site survey journey passed")
        return 0
    finally:
        if program is not None and program.poll() is None:
            program.send_signal(signal.SIGTERM)
            try:
                program.wait(timeout=10)
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
        log = os.path.join(work, "program.log")
        if os.path.exists(log) and os.path.getsize(log) > 0:
            with open(log, encoding="utf-8", errors="replace") as f:
                sys.stdout.write("program.log:\n" + f.read()[-4000:])
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
