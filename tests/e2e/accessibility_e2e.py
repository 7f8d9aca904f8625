#!/usr/bin/env python3
"""End to end: the installed program as a screen reader sees it, through the
desktop's accessibility bus (AT-SPI), on a private X server and a private D-Bus
session.

1. Every control that takes the focus has a name; the seven input fields are
   named by their captions with their units.
2. The links are links that can be pressed: pressing "Options" through the
   accessibility action opens the options dialog, whose first choice has the
   focus; pressing its OK button through its action closes it again.
3. After a calculation the graph's description states the core limit, the
   chuffing limit and the required velocity at 20, 25, 30 and 35 Hz as the
   calculation gives them, and the status line announces the new verdict with
   a name-change event.

The script starts itself again inside `dbus-run-session` with the system's
python3, where pyatspi lives. Exits 77 (skipped) when Xvfb, dbus-run-session,
the AT-SPI bus launcher or pyatspi is missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from x11_session import Failure, XServer, wait_until

SKIPPED = 77
SYSTEM_PYTHON = "/usr/bin/python3"
BUS_LAUNCHERS = ("/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher")

FIELDS = ["Port Diameter - mm", "Flare Radius - mm", "Number of ports",
          "Required velocity at 20 Hz, m/s", "Required velocity at 25 Hz, m/s",
          "Required velocity at 30 Hz, m/s", "Required velocity at 35 Hz, m/s"]
LINKS = ["Change Units", "Options", "Simple", "About"]
# A 70 mm port with the start-up velocities rescaled by cruise control
# ((100/70)^2: 20.4, 28.5, 24.4 and 14.2 m/s) and the first start's allowances.
NEW_DIAMETER = "70"
CORE_70 = ["13.1", "13.1", "19.6", "24.1"]
CHUFFING_70 = ["24.9", "28.5", "39.6", "51.1"]
REQUIRED_70 = ["20.4", "28.5", "24.4", "14.2"]


def log(text):
    print(text, flush=True)


def bus_launcher():
    return next((p for p in BUS_LAUNCHERS if os.access(p, os.X_OK)), None)


def missing():
    lacking = [tool for tool in ("Xvfb", "dbus-run-session") if shutil.which(tool) is None]
    if bus_launcher() is None:
        lacking.append("at-spi-bus-launcher")
    if not os.access(SYSTEM_PYTHON, os.X_OK) or subprocess.run(
            [SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True).returncode != 0:
        lacking.append("pyatspi")
    return lacking


def four(values):
    return f"{values[0]}, {values[1]}, {values[2]} and {values[3]}"


class Screen:
    """The accessible tree of the running program, read with pyatspi."""

    def __init__(self, pyatspi):
        self.pyatspi = pyatspi
        self.events = []
        from gi.repository import GLib
        self.context = GLib.MainContext.default()
        pyatspi.Registry.registerEventListener(self.events.append,
                                               "object:property-change:accessible-name")

    def pump(self, seconds):
        """Lets the events of the bus arrive for a while."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while self.context.iteration(False):
                pass
            time.sleep(0.02)

    def application(self):
        for app in self.pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "venturon":
                return app
        return None

    def window(self, title):
        app = self.application()
        if app is None:
            return None
        for window in app:
            if window is not None and window.name == title and self.showing(window):
                return window
        return None

    def showing(self, node):
        return node.getState().contains(self.pyatspi.STATE_SHOWING)

    def nodes(self, root):
        found = [root]
        for child in root:
            if child is not None:
                found += self.nodes(child)
        return found

    def find(self, root, role, name):
        for node in self.nodes(root):
            if node.getRoleName() == role and node.name == name:
                return node
        raise Failure(f"no {role} named {name!r} in {root.name!r}")

    def press(self, node):
        action = node.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            raise Failure(f"{node.getRoleName()} {node.name!r} cannot be pressed: {names}")
        action.doAction(names.index("Press"))

    def unnamed_focusable(self, root):
        return [f"{n.getRoleName()} in {root.name!r}" for n in self.nodes(root)
                if self.showing(n) and n.getState().contains(self.pyatspi.STATE_FOCUSABLE)
                and not n.name.strip()]


def inside(args):
    """Runs inside the private D-Bus session, with the system's python3."""
    import pyatspi

    work = args.work
    launcher = subprocess.Popen([bus_launcher(), "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    server = XServer()
    program = None
    try:
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = server.env()
        env.update(HOME=os.path.join(work, "home"), XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb", LC_ALL="C.UTF-8",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_STYLE_OVERRIDE",
                         "SESSION_MANAGER"):
            env.pop(variable, None)
        log_file = open(os.path.join(work, "venturon.log"), "wb")
        program = subprocess.Popen([args.program], env=env, cwd=work, stdout=log_file,
                                   stderr=log_file, stdin=subprocess.DEVNULL)
        screen = Screen(pyatspi)

        main = wait_until("the main window on the accessibility bus",
                          lambda: screen.window("Venturon"), timeout=30)
        log("main window found on the accessibility bus")

        # 1. Names.
        unnamed = screen.unnamed_focusable(main)
        if unnamed:
            raise Failure(f"focusable controls without a name: {unnamed}")
        for field in FIELDS:
            screen.find(main, "text", field)
        log(f"the {len(FIELDS)} fields are named by their captions and units")

        # 2. Links: their role, and pressing one through its action.
        for link in LINKS:
            screen.find(main, "link", link)
        screen.press(screen.find(main, "link", "Options"))
        options = wait_until("the options dialog", lambda: screen.window("Venturon Options"),
                             timeout=15)
        unnamed = screen.unnamed_focusable(options)
        if unnamed:
            raise Failure(f"focusable controls without a name: {unnamed}")
        focused = [n for n in screen.nodes(options)
                   if n.getState().contains(pyatspi.STATE_FOCUSED)]
        if not focused or focused[0].getRoleName() != "radio button":
            raise Failure(f"the options dialog opened with the focus on "
                          f"{[(n.getRoleName(), n.name) for n in focused]}")
        screen.press(screen.find(options, "push button", "OK"))
        wait_until("the options dialog to close", lambda: not screen.window("Venturon Options"),
                   timeout=15)
        log("the links are links; Options opened and closed through the accessibility actions")

        # 3. A calculation: the graph's description and the status line's event.
        screen.pump(0.5)
        screen.events.clear()
        diameter = screen.find(main, "text", "Port Diameter - mm")
        diameter.queryEditableText().setTextContents(NEW_DIAMETER)
        screen.press(screen.find(main, "push button", "Calculate"))

        def verdict_announced():
            screen.pump(0.1)
            return [e for e in screen.events if e.source is not None and
                    e.source.getRoleName() == "label" and "Core Turbulence" in str(e.any_data)]
        wait_until("the status line to announce the new verdict", verdict_announced, timeout=15)
        graph = screen.find(main, "chart", "Velocity graph")
        expected = [f"core limit {four(CORE_70)} m/s", f"chuffing limit {four(CHUFFING_70)} m/s",
                    f"required velocity {four(REQUIRED_70)} m/s"]
        for part in expected:
            if part not in graph.description:
                raise Failure(f"the graph's description lacks {part!r}: {graph.description!r}")
        log(f"graph: {graph.description}")
        log("the status line announced the new verdict")
        return 0
    finally:
        if program is not None and program.poll() is None:
            program.terminate()
            try:
                program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                program.kill()
                program.wait()
        server.stop()
        launcher.terminate()
        launcher.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", help="installation prefix to test")
    parser.add_argument("--work", help="folder for the program's log (emptied first)")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    parser.add_argument("--program", help=argparse.SUPPRESS)
    args = parser.parse_args()

    if args.inside:
        try:
            return inside(args)
        except Failure as failure:
            log(f"FAILED: {failure}")
            return 1

    lacking = missing()
    if lacking:
        log(f"Skipped: {', '.join(lacking)} not found (scripts/setup installs them)")
        return SKIPPED
    program = os.path.join(os.path.abspath(args.prefix), "bin", "venturon")
    work = os.path.abspath(args.work) if args.work else tempfile.mkdtemp(prefix="venturon-a11y-")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    command = ["dbus-run-session", "--", SYSTEM_PYTHON, os.path.abspath(__file__), "--inside",
               "--program", program, "--work", work]
    started = time.monotonic()
    result = subprocess.run(command, timeout=170)
    log(f"{time.monotonic() - started:.1f} s")
    return result.returncode


if __name__ == "__main__":
    sys.exit(main())
