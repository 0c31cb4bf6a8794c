#!/usr/bin/python3
"""A user's journey through the Site Survey page of the real program, under an X server of its
own, driven through the accessibility bus: the delivered world's networks are listed, one of them
is chosen and connected to, the editor that opens names the profile and takes its passphrase,
Apply shows Link Info where the link comes up, and the profile is in the profile list when the
page is shown again. Connecting with the profile from the list then applies it without a word.

Usage: site_survey_journey_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when Xvfb, dbus-launch or pyatspi are missing.
"""
import sys

from desktop_session import Screen, run, wait_for

NETWORK = "Apartment-3B"
BSSID = "00:18:39:A2:17:5C"
PASSPHRASE = "tea and biscuits"
PROFILE = "Upstairs"


def journey(program):
    import pyatspi
    screen = Screen(program)
    app, find, button, press, field_text = screen.app, screen.find, screen.button, screen.press, screen.field_text

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
    def body(program, app_dir):
        journey(program)
        print("site survey journey passed")
    return run(sys.argv, __doc__, "skyvane-journey.", body)


if __name__ == "__main__":
    sys.exit(main())
