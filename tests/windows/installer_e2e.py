#!/usr/bin/env python3
"""End to end on Windows (under Wine, on a private X server): the installer a user
downloads, used as a user would.

1. A fresh Wine prefix; the installer runs silently (/S) and puts venturon.exe,
   venturon-calc.exe and its uninstaller in C:\\Program Files\\Venturon, a
   Start-menu entry "Venturon" and the uninstall entry with the version.
2. The installed venturon.exe starts: its main window has the same client size
   as on Linux and shows the start-up verdict in the same colour; the screenshot
   stays in the work folder (main-window.png) for a person to look at.
3. The user types 70 into the diameter field, presses Enter (the status line
   turns to the core turbulence colour) and closes the window: venturon.ini is in
   %APPDATA%\\venturon, 17 lines ended by CR LF with the new diameter, and nothing
   was written beside the program.
4. The uninstaller, run silently, removes the programs, the folder, the Start-menu
   entry and the uninstall entry; the user's settings stay.
"""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from main_window_e2e import (CLIENT_SIZE, CORE_TURBULENCE, DIAMETER_FIELD, NOISE_FREE,
                             STATUS_LINE, WINDOW_GREY, read_settings)
from x11_session import Failure, XServer, missing_tools, wait_until

NEW_DIAMETER = "70"


def log(text):
    print(text, flush=True)


class Wine:
    """One Wine prefix of the test's own."""

    def __init__(self, prefix, display=None):
        self.prefix = prefix
        self.env = dict(os.environ)
        self.env.update(WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        for name in [n for n in self.env if n.startswith("QT_")]:
            del self.env[name]
        if display:
            self.env["DISPLAY"] = display
        else:
            self.env.pop("DISPLAY", None)

    def run(self, *args, timeout=120):
        done = subprocess.run(["wine", *args], env=self.env, capture_output=True,
                              timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace")

    def start(self, *args, log_path):
        out = open(log_path, "wb")
        return subprocess.Popen(["wine", *args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=out)

    def drive_c(self, *parts):
        return os.path.join(self.prefix, "drive_c", *parts)

    def registry(self, key):
        code, out = self.run("reg", "query", key)
        return out if code == 0 else None

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=60)


def user_folder(wine):
    users = [u for u in os.listdir(wine.drive_c("users")) if u not in ("Public", "public")]
    if len(users) != 1:
        raise Failure(f"expected one Wine user folder, found {users}")
    return wine.drive_c("users", users[0])


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for name, meaning in (("--installer", "the installer to try"),
                          ("--version", "the version it installs"),
                          ("--work", "folder for the prefix and screenshots")):
        parser.add_argument(name, required=True, help=meaning)
    return parser.parse_args()


def main():
    args = arguments()
    missing = missing_tools() + [t for t in ("wine", "wineserver") if not shutil.which(t)]
    if missing:
        raise Failure(f"{', '.join(missing)} not found (scripts/setup installs them)")
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)

    server = XServer()
    wine = Wine(os.path.join(work, "prefix"), server.display)
    started = time.monotonic()
    try:
        # 1. A fresh prefix, the fonts Qt's default GUI font maps to, a silent install.
        wine.run("wineboot", "-i")
        for font in ("tahoma.ttf", "tahomabd.ttf"):
            shutil.copy(os.path.join("/usr/share/wine/fonts", font),
                        wine.drive_c("windows", "Fonts"))
        code, _ = wine.run(os.path.abspath(args.installer), "/S")
        if code != 0:
            raise Failure(f"the installer ended with status {code}")
        folder = wine.drive_c("Program Files", "Venturon")
        for name in ("venturon.exe", "venturon-calc.exe", "Uninstall.exe", "Qt6Core.dll",
                     "platforms/qwindows.dll"):
            if not os.path.isfile(os.path.join(folder, name)):
                raise Failure(f"the installer did not install {name} into {folder}")
        menu = wine.drive_c("ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                            "Venturon")
        if not os.path.isfile(os.path.join(menu, "Venturon.lnk")):
            raise Failure(f"no Start-menu entry Venturon.lnk in {menu}")
        uninstall_key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Venturon"
        entry = wine.registry(uninstall_key) or ""
        if "DisplayVersion" not in entry or args.version not in entry:
            raise Failure(f"the uninstall entry lacks version {args.version}:\n{entry}")
        log(f"installed silently into {folder}; Start-menu entry and uninstall entry "
            f"(version {args.version}) present")

        # 2. The installed program starts on the X server.
        program = wine.start(r"C:\Program Files\Venturon\venturon.exe",
                             log_path=os.path.join(work, "venturon.log"))

        def alive():
            if program.poll() is not None:
                raise Failure(f"venturon.exe ended early with status {program.returncode}")
        window = server.wait_for_window("^Venturon$", timeout=60, alive=alive)
        x, y, width, height = server.geometry(window)
        if (width, height) != CLIENT_SIZE:
            raise Failure(f"main window is {width}x{height}, expected {CLIENT_SIZE} as on Linux")
        server.focus(window)

        def status_shows(colour, shot):
            path = os.path.join(work, shot)

            def check():
                alive()
                picture = server.screenshot(path)
                share = picture.share_of(colour, x + STATUS_LINE[0], y + STATUS_LINE[1],
                                         *STATUS_LINE[2:])
                return picture if share > 0.5 else None
            return wait_until(f"the status line in {colour} ({path})", check, 30, interval=0.3)

        picture = status_shows(NOISE_FREE, "start.png")
        colours = picture.colours(x, y, *CLIENT_SIZE)
        if len(colours) < 8 or picture.share_of(WINDOW_GREY, x, y, *CLIENT_SIZE) < 0.2:
            raise Failure(f"the window looks blank ({len(colours)} colours): {picture.path}")
        subprocess.run(["convert", picture.path, "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", os.path.join(work, "main-window.png")], check=True)
        log(f"venturon.exe shows its {width}x{height} main window, status line noise free: "
            f"{os.path.join(work, 'main-window.png')}")

        # 3. A new diameter, then the window is closed.
        server.click(x + DIAMETER_FIELD[0], y + DIAMETER_FIELD[1])
        server.key("ctrl+a")
        server.type(NEW_DIAMETER)
        server.key("Return")
        status_shows(CORE_TURBULENCE, "typed.png")
        server.request_close(window)
        try:
            code = program.wait(timeout=30)
        except subprocess.TimeoutExpired:
            program.kill()
            raise Failure("venturon.exe did not end after its window was closed") from None
        if code != 0:
            raise Failure(f"venturon.exe ended with status {code}")
        settings = os.path.join(user_folder(wine), "AppData", "Roaming", "venturon",
                                "venturon.ini")
        if not os.path.isfile(settings):
            raise Failure(f"no settings file at {settings}")
        lines = read_settings(settings)
        if lines[1] != " " + NEW_DIAMETER:
            raise Failure(f"diameter line is {lines[1]!r}, expected ' {NEW_DIAMETER}'")
        if os.path.exists(os.path.join(folder, "venturon.ini")):
            raise Failure("the installed program wrote its settings into Program Files")
        log(f"typed {NEW_DIAMETER}, closed: 17 CR LF lines in %APPDATA%\\venturon\\venturon.ini, "
            f"line 2 {lines[1]!r}")

        # 4. The uninstaller (it copies itself away and runs from there).
        code, _ = wine.run(os.path.join(folder, "Uninstall.exe"), "/S")
        wait_until("the uninstaller to remove the program folder",
                   lambda: not os.path.exists(folder), 60, interval=0.5)
        if os.path.exists(menu):
            raise Failure(f"the Start-menu entry is still there: {menu}")
        if wine.registry(uninstall_key) is not None:
            raise Failure("the uninstall entry is still in the registry")
        if not os.path.isfile(settings):
            raise Failure("the uninstaller removed the user's settings")
        log("uninstalled: program folder, Start-menu entry and uninstall entry gone; "
            "the user's settings kept")
    finally:
        wine.stop()
        server.stop()
        shutil.rmtree(wine.prefix, ignore_errors=True)
    log(f"passed in {time.monotonic() - started:.0f} s")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as e:
        print(f"FAILED: {e}", file=sys.stderr)
        sys.exit(1)
