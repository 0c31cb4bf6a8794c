#!/usr/bin/python3
"""The real program as a native Wayland client under weston's headless backend, with a session
bus and a status-notifier panel of the test's own: it starts into the tray (no window), and a
second start, which cannot see the first one's window on Wayland, asks it over the session bus to
show its window, and ends. Screenshots (weston-screenshooter) show the window come; closed with
its close button (pressed through the accessibility bus) it goes, and a third start brings it
back again.

Usage: wayland_test.py SKYVANE_EXECUTABLE SOURCE_DIR
Exits 77 (skipped) when weston, weston-screenshooter, dbus-daemon, ImageMagick, Qt's Wayland
platform, python3-gi or pyatspi are missing, or weston cannot run here.
"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from desktop_session import SKIP, Screen, prepare_folder, wait_for
from status_notifier import Watcher

# The window (615 x 411) against the desktop's background: far more pixels than the panel's clock.
WINDOW_PIXELS = 100000


def missing_tools():
    for tool in ("weston", "weston-screenshooter", "dbus-daemon", "compare"):
        if shutil.which(tool) is None:
            return tool
    if not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so"):
        return "qt6-wayland"
    try:
        from gi.repository import Gio  # noqa: F401
        import pyatspi  # noqa: F401
    except ImportError:
        return "python3-gi or python3-pyatspi"
    return None


class Shots:
    """Screenshots of the compositor's output, numbered in the order they were taken."""

    def __init__(self, folder, env):
        self.folder, self.env, self.count = folder, env, 0
        os.mkdir(folder)

    def take(self):
        for old in glob.glob(os.path.join(self.folder, "wayland-screenshot-*.png")):
            os.remove(old)
        subprocess.run(["weston-screenshooter"], cwd=self.folder, env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        taken = glob.glob(os.path.join(self.folder, "wayland-screenshot-*.png"))
        assert len(taken) == 1, "weston-screenshooter wrote %r" % taken
        self.count += 1
        path = os.path.join(self.folder, "%02d.png" % self.count)
        os.rename(taken[0], path)
        return path


def differing_pixels(a, b):
    result = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return float(result.stderr.split()[0])


def start_session_bus(env):
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"], env=env,
                           stdout=subprocess.PIPE, text=True)
    return bus, bus.stdout.readline().strip()


def start_weston(env, work, socket):
    log = open(os.path.join(work, "weston.log"), "w")
    weston = subprocess.Popen(["weston", "--backend=headless-backend.so", "--use-pixman", "--socket=" + socket,
                               "--width=1024", "--height=768", "--idle-time=0",
                               "--debug"],  # --debug lets weston-screenshooter in
                              env=env, stdout=log, stderr=log)
    path = os.path.join(env["XDG_RUNTIME_DIR"], socket)
    end = time.time() + 15
    while time.time() < end and weston.poll() is None and not os.path.exists(path):
        time.sleep(0.05)
    return weston if os.path.exists(path) and weston.poll() is None else None


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    executable, source_dir = sys.argv[1], sys.argv[2]
    tool = missing_tools()
    if tool:
        print(tool + " is missing: skipped")
        return SKIP

    work = tempfile.mkdtemp(prefix="skyvane-wayland.")
    processes = []
    try:
        app_dir = prepare_folder(source_dir, work)
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        env = {key: value for key, value in os.environ.items() if key not in ("DISPLAY", "WAYLAND_DISPLAY")}
        env.update({"XDG_RUNTIME_DIR": runtime, "XDG_CONFIG_HOME": os.path.join(work, "config"),
                    "XDG_DATA_HOME": os.path.join(work, "data")})
        bus, address = start_session_bus(env)
        processes.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        socket = "skyvane-test-%d" % os.getpid()
        weston = start_weston(env, work, socket)
        if weston is None:
            print("weston cannot run here (see weston.log): skipped")
            with open(os.path.join(work, "weston.log"), encoding="utf-8", errors="replace") as f:
                sys.stdout.write(f.read()[-2000:])
            return SKIP
        processes.append(weston)
        env["WAYLAND_DISPLAY"] = socket
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address  # for the accessibility bus

        program_env = dict(env)
        program_env.update({"QT_QPA_PLATFORM": "wayland", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                            "WLANSIM_WORLD": os.path.join(app_dir, "wlansim.ini"),
                            # The desktop libraries behind Qt's Wayland platform keep allocations to the end.
                            "ASAN_OPTIONS": "detect_leaks=0"})
        program_env.pop("WLANSIM_TRACE", None)

        def start(name):
            return subprocess.Popen([executable], cwd=app_dir, env=program_env, stdout=subprocess.DEVNULL,
                                    stderr=open(os.path.join(work, name + ".log"), "w"))

        def second_start(name):
            second = start(name)
            processes.append(second)
            assert second.wait(timeout=60) == 0, "the %s ended with status %d" % (name, second.returncode)

        shots = Shots(os.path.join(work, "shots"), env)
        watcher = Watcher(address)  # the panel is there: the program starts into the tray
        program = start("program")
        processes.append(program)
        watcher.wait_for_items(1, program=program)
        # The desktop as it is without the window, once weston's shell has drawn its background
        # and panel (slower than the program, on a busy machine): two shots alike.
        shown_before = [shots.take()]

        def settled():
            shown_before.append(shots.take())
            return differing_pixels(shown_before[-2], shown_before[-1]) < WINDOW_PIXELS / 100

        wait_for(settled, "weston's desktop to settle")
        empty = shown_before[-1]

        def window_shown():
            return differing_pixels(empty, shots.take()) > WINDOW_PIXELS

        assert not window_shown(), "the window showed although a tray took the icon"

        second_start("second start")
        wait_for(window_shown, "the window, asked for by the second start")
        assert program.poll() is None, "the first instance ended"

        screen = Screen(program)
        screen.press(wait_for(lambda: screen.button("Close"), "the close button"))
        wait_for(lambda: not window_shown(), "the window to close into the tray")

        second_start("third start")
        wait_for(window_shown, "the window, asked for by the third start")

        program.send_signal(signal.SIGTERM)
        assert program.wait(timeout=30) == 0, "SIGTERM ended the program with status %d" % program.returncode
        print("wayland test passed")
        return 0
    finally:
        for process in reversed(processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        for name in ("program.log", "second start.log", "third start.log"):
            log = os.path.join(work, name)
            if os.path.exists(log) and os.path.getsize(log) > 0:
                with open(log, encoding="utf-8", errors="replace") as f:
                    sys.stdout.write(name + ":\n" + f.read()[-3000:])
        if os.environ.get("SKYVANE_KEEP_SHOTS"):
            print("screenshots kept in", os.path.join(work, "shots"))
            shutil.rmtree(app_dir, ignore_errors=True)
        else:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
