"""What the end-to-end tests of the real program share: an X server and a session bus of their
own, a prepared working folder with the delivered files, and the program found on the
accessibility bus with the few ways a screen reader uses it (find by role and name, press, read
a field). Not a test itself: the tests beside it import it.
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


def run(argv, usage, prefix, body):
    """Starts the program of argv[1] (the source tree is argv[2]) in a prepared folder under an X
    server and a session bus of its own, with accessibility on, and runs body(program, app_dir).
    Returns the test's exit status: 0, 2 for a wrong call, SKIP when a tool is missing."""
    if len(argv) != 3:
        print(usage)
        return 2
    executable, source_dir = argv[1], argv[2]
    for tool in ("Xvfb", "dbus-launch"):
        if shutil.which(tool) is None:
            print(tool + " is missing: skipped")
            return SKIP
    try:
        import pyatspi  # noqa: F401  (checked before the buses exist)
    except ImportError:
        print("python3-pyatspi is missing: skipped")
        return SKIP

    work = tempfile.mkdtemp(prefix=prefix)
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
        body(program, app_dir)
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


class Screen:
    """The program as a screen reader meets it on the accessibility bus."""

    def __init__(self, program):
        import pyatspi
        self.atspi = pyatspi
        self.program = program
        self.app = wait_for(self._application, "the program on the accessibility bus")

    def _application(self):
        if self.program.poll() is not None:
            raise AssertionError("the program ended early, with status %d" % self.program.returncode)
        for app in self.atspi.Registry.getDesktop(0):
            if app is not None and app.name == "skyvane":
                return app
        return None

    def find(self, role, name, root=None):
        return self.atspi.findDescendant(root or self.app, lambda n: n is not None and n.getRole() == role
                                         and n.name == name)

    def button(self, name, root=None):
        """The page buttons are page tabs to the bus; the other buttons push buttons."""
        return (self.find(self.atspi.ROLE_PAGE_TAB, name, root)
                or self.find(self.atspi.ROLE_PUSH_BUTTON, name, root))

    @staticmethod
    def press(node):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press") if "Press" in names else 0)

    def field_text(self, label, root=None):
        node = self.find(self.atspi.ROLE_TEXT, label, root)
        if node is None:
            return None
        text = node.queryText()
        return text.getText(0, text.characterCount)

    def selected(self, node):
        return node.getState().contains(self.atspi.STATE_SELECTED)
