#!/usr/bin/env python3
"""End to end: the installed program, started from its menu entry's Exec line on a
private X server, as a user would use it.

1. First start with no settings: the window "Venturon" appears with the window
   class and icon the menu entry names, and shows the start-up calculation
   (100 mm: noise free, green status line).
2. The user types 70 into the diameter field and presses Enter: the status line
   turns to the core turbulence colour. Ctrl+Q ends the program with status 0,
   and it has written a 17-line CR LF settings file whose diameter line is " 70".
3. Second start: the diameter comes back (70 mm is calculated at start-up, so the
   status line shows the core turbulence colour at once); Ctrl+Q saves it again.
4. The About dialog is open (modal) when the main window gets the close request a
   window manager sends: the program must neither hang nor crash, and it must end
   with status 0 and a complete settings file, whether the request closes it at
   once or is refused until the dialog is dismissed.

Exits 77 (skipped) when Xvfb, xdotool or ImageMagick is missing.
"""

import argparse
import configparser
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from x11_session import Failure, XServer, missing_tools, wait_until

SKIPPED = 77

TITLE = "^Venturon$"
ABOUT_TITLE = "^About Venturon$"
CLIENT_SIZE = (415, 383)
DIAMETER_FIELD = (172, 25)  # centre of the diameter field (Text1) in the client area
ABOUT_LINK = (372, 208)  # centre of the "About" link
STATUS_LINE = (10, 362, 397, 13)  # x, y, width, height inside the status line (Label9)
NOISE_FREE = (160, 217, 136)  # 100 mm, default velocities
CORE_TURBULENCE = (255, 204, 204)  # 70 mm: the velocities scaled by (100/70)^2
NEW_DIAMETER = "70"
WINDOW_GREY = (224, 224, 224)


def log(text):
    print(text, flush=True)


class Program:
    """One run of the installed program."""

    def __init__(self, server, command, env, work, name):
        self.server = server
        self.name = name
        self.stderr_path = os.path.join(work, f"{name}.stderr")
        self.stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen(command, env=env, cwd=work, stdin=subprocess.DEVNULL,
                                        stdout=self.stderr, stderr=self.stderr)
        self.window = None
        self.origin = None

    def output(self):
        if not self.stderr.closed:
            self.stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace").strip()

    def check_alive(self):
        code = self.process.poll()
        if code is not None:
            raise Failure(f"{self.name}: the program ended early with status {code}:\n"
                          f"{self.output()}")

    def wait_for_main_window(self):
        self.window = self.server.wait_for_window(TITLE, alive=self.check_alive)
        x, y, width, height = self.server.geometry(self.window)
        if (width, height) != CLIENT_SIZE:
            raise Failure(f"{self.name}: main window is {width}x{height}, expected "
                          f"{CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
        self.origin = (x, y)
        self.server.focus(self.window)
        return self.window

    def at(self, point):
        return self.origin[0] + point[0], self.origin[1] + point[1]

    def wait_for_status_colour(self, colour, what, work, shot, timeout=15):
        x, y = self.at(STATUS_LINE[:2])
        path = os.path.join(work, f"{self.name}-{shot}.png")

        def shows_colour():
            self.check_alive()
            picture = self.server.screenshot(path)
            return picture if picture.share_of(colour, x, y, *STATUS_LINE[2:]) > 0.5 else None
        try:
            return wait_until(f"the status line to show {what} {colour}", shows_colour, timeout,
                              interval=0.2)
        except Failure as e:
            raise Failure(f"{self.name}: {e} (last screenshot: {path})") from None

    def wait_for_exit(self, timeout=15):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise Failure(f"{self.name}: the program did not end within {timeout} s") from None
        self.stderr.close()
        return code

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.stderr.close()


def read_settings(path):
    """The lines of a settings file, checking its framing: 17 lines, each ended by CR LF."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.endswith(b"\r\n"):
        raise Failure(f"{path} does not end with CR LF: {data!r}")
    lines = data[:-2].split(b"\r\n")
    if any(b"\n" in line or b"\r" in line for line in lines):
        raise Failure(f"{path} has a line not ended by CR LF: {data!r}")
    if len(lines) != 17:
        raise Failure(f"{path} has {len(lines)} lines, expected 17: {data!r}")
    return [line.decode("latin-1") for line in lines]


def desktop_entry(prefix, app_id):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(os.path.join(prefix, "share", "applications", f"{app_id}.desktop"),
                encoding="utf-8")
    return parser["Desktop Entry"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True, help="installation prefix to test")
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--work", help="folder for screenshots and logs (emptied first)")
    args = parser.parse_args()

    missing = missing_tools()
    if missing:
        log(f"Skipped: {', '.join(missing)} not found (scripts/setup installs them)")
        return SKIPPED

    prefix = os.path.abspath(args.prefix)
    work = os.path.abspath(args.work) if args.work else tempfile.mkdtemp(prefix="venturon-e2e-")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    home = os.path.join(work, "home")
    config_home = os.path.join(home, ".config")
    runtime_dir = os.path.join(work, "runtime")
    os.makedirs(config_home)
    os.makedirs(runtime_dir, mode=0o700)

    # The program is started the way the menu starts it: the entry's Exec line,
    # found on PATH (here the staged bin folder comes first).
    entry = desktop_entry(prefix, args.app_id)
    command = entry["Exec"].split()
    bin_dir = os.path.join(prefix, "bin")
    program_path = shutil.which(command[0], path=bin_dir)
    if program_path is None:
        raise Failure(f"Exec={entry['Exec']}: {command[0]} is not installed in {bin_dir}")

    # Where the settings may go: beside the program (its folder is writable, as the
    # staged one is for the user who built it) or in the user's configuration folder.
    # Exactly one of them must hold the file after the first run.
    beside_program = os.path.join(bin_dir, "venturon.ini")
    in_config = os.path.join(config_home, "venturon", "venturon.ini")
    for stale in (beside_program, in_config):
        if os.path.exists(stale):
            os.remove(stale)

    server = XServer()
    env = server.env()
    env.update(HOME=home, XDG_CONFIG_HOME=config_home, XDG_RUNTIME_DIR=runtime_dir,
               PATH=bin_dir + os.pathsep + env.get("PATH", ""), QT_QPA_PLATFORM="xcb",
               LC_ALL="C.UTF-8")
    for variable in ("QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI",
                     "QT_STYLE_OVERRIDE", "XDG_CONFIG_DIRS", "SESSION_MANAGER"):
        env.pop(variable, None)

    programs = []

    def start(name):
        program = Program(server, command, env, work, name)
        programs.append(program)
        return program

    started = time.monotonic()
    try:
        # 1 and 2: first start, a new diameter, Ctrl+Q.
        first = start("first-run")
        window = first.wait_for_main_window()
        wm_class = entry["StartupWMClass"]
        if window not in server.windows_of_class(f"^{wm_class}$") or \
                window not in server.windows_of_class(f"^{wm_class}$", classname=True):
            raise Failure(f"the main window's WM_CLASS is not {wm_class} (StartupWMClass)")
        icon_sizes = server.icon_sizes(window)
        if (48, 48) not in icon_sizes:
            raise Failure(f"the main window has no 48x48 icon (_NET_WM_ICON sizes: {icon_sizes})")
        log(f"first start: window {window} at {first.origin}, class {wm_class}, "
            f"icon sizes {icon_sizes}")

        picture = first.wait_for_status_colour(NOISE_FREE, "noise free", work, "start")
        x, y = first.origin
        colours = picture.colours(x, y, *CLIENT_SIZE)
        if len(colours) < 8 or picture.share_of(WINDOW_GREY, x, y, *CLIENT_SIZE) < 0.2:
            raise Failure(f"the window looks blank ({len(colours)} colours): {picture.path}")

        server.click(*first.at(DIAMETER_FIELD))
        server.key("ctrl+a")
        server.type(NEW_DIAMETER)
        server.key("Return")
        first.wait_for_status_colour(CORE_TURBULENCE, "core turbulence", work, "typed")
        log(f"typed {NEW_DIAMETER} + Enter: status line shows core turbulence {CORE_TURBULENCE}")

        server.key("ctrl+q")
        code = first.wait_for_exit()
        if code != 0:
            raise Failure(f"first run ended with status {code}:\n{first.output()}")
        present = [p for p in (beside_program, in_config) if os.path.exists(p)]
        if len(present) != 1:
            raise Failure(f"expected one settings file, found {present or 'none'}")
        settings_path = present[0]
        lines = read_settings(settings_path)
        if lines[1] != " " + NEW_DIAMETER:
            raise Failure(f"diameter line is {lines[1]!r}, expected ' {NEW_DIAMETER}'")
        log(f"Ctrl+Q: status 0, 17 CR LF lines in {settings_path}, line 2 {lines[1]!r}")

        # 3: the diameter comes back.
        second = start("second-run")
        second.wait_for_main_window()
        second.wait_for_status_colour(CORE_TURBULENCE, "core turbulence (70 mm restored)", work,
                                     "start")
        server.key("ctrl+q")
        code = second.wait_for_exit()
        if code != 0:
            raise Failure(f"second run ended with status {code}:\n{second.output()}")
        if read_settings(settings_path)[1] != " " + NEW_DIAMETER:
            raise Failure("the second run lost the diameter")
        log("second start: 70 mm restored and calculated; Ctrl+Q saved it again")

        # 4: a close request while the About dialog is modal.
        third = start("close-while-modal")
        window = third.wait_for_main_window()
        third.wait_for_status_colour(CORE_TURBULENCE, "core turbulence", work, "start")
        os.remove(settings_path)
        server.click(*third.at(ABOUT_LINK))
        about = server.wait_for_window(ABOUT_TITLE, alive=third.check_alive)
        server.screenshot(os.path.join(work, f"{third.name}-about.png"))
        server.request_close(window)
        try:
            code = third.process.wait(timeout=3)
            outcome = "the program closed at once"
        except subprocess.TimeoutExpired:
            # Refused while the dialog is modal: the program must still answer.
            third.check_alive()
            if not server.visible_windows(ABOUT_TITLE):
                raise Failure("the close request hid the About dialog but left the program "
                              "running")
            server.request_close(about)
            wait_until("the About dialog to close", lambda: not server.visible_windows(ABOUT_TITLE),
                       10)
            server.focus(window)
            server.key("ctrl+q")
            code = third.wait_for_exit()
            outcome = ("the request was refused while the dialog was modal; after closing "
                       "the dialog, Ctrl+Q ended the program")
        if code != 0:
            raise Failure(f"close while modal: status {code}:\n{third.output()}")
        if not os.path.exists(settings_path):
            raise Failure("close while modal: the settings file was not written")
        if read_settings(settings_path)[1] != " " + NEW_DIAMETER:
            raise Failure("close while modal: the diameter was not saved")
        log(f"close request while About was modal: {outcome}; status 0, settings written")
    except Failure as e:
        log(f"FAILED: {e}")
        for program in programs:
            output = program.output()
            if output:
                log(f"--- {program.name} output:\n{output}")
        return 1
    finally:
        for program in programs:
            program.kill()
        server.stop()
    log(f"passed in {time.monotonic() - started:.1f} s (screenshots in {work})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
