"""A private X server (Xvfb) and the few things the end-to-end tests do with it:
find windows, type and click (xdotool), take screenshots (ImageMagick), and send
a window the close request a window manager sends (WM_DELETE_WINDOW, through
libX11), which xdotool of Debian 12 cannot do.
"""

import ctypes
import ctypes.util
import os
import select
import shutil
import subprocess
import time

TOOLS = ("Xvfb", "xdotool", "import", "convert")


def missing_tools():
    return [t for t in TOOLS if shutil.which(t) is None]


class Failure(Exception):
    pass


def wait_until(what, predicate, timeout, interval=0.1):
    """Polls predicate until it returns something true; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class XServer:
    """Xvfb on a display number it picks itself (-displayfd), so parallel runs never
    collide. The screen is 1024x768 at 96 dpi, 24-bit colour, no window manager."""

    def __init__(self, width=1024, height=768):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-dpi", "96", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        # Xvfb writes the number and then a line feed, and dies when the second write
        # fails: read the whole line before closing.
        text = b""
        deadline = time.monotonic() + 20
        try:
            while not text.endswith(b"\n") and time.monotonic() < deadline:
                ready, _, _ = select.select([read_end], [], [], deadline - time.monotonic())
                chunk = os.read(read_end, 64) if ready else b""
                if not chunk:
                    break
                text += chunk
        finally:
            os.close(read_end)
        number = text.decode().strip()
        if not number.isdigit():
            self.stop()
            raise Failure("Xvfb did not start")
        self.display = f":{number}"
        self._xlib = None

    def stop(self):
        if self._xlib:
            self._xlib.close()
            self._xlib = None
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("XAUTHORITY", None)
        return env

    def run(self, *args, timeout=20, check=True):
        """Runs an X client (xdotool, import, convert) on this display; its stdout."""
        try:
            done = subprocess.run(list(args), env=self.env(), capture_output=True,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{' '.join(args)} did not finish within {timeout} s") from None
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(args)} failed ({done.returncode}): "
                          f"{done.stderr.decode(errors='replace').strip()}")
        return done.stdout.decode(errors="replace")

    # --- windows -------------------------------------------------------------

    def visible_windows(self, name_regex):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", name_regex, check=False)
        return [int(w) for w in out.split()]

    def wait_for_window(self, name_regex, timeout=20, alive=None):
        """The one visible window whose title matches; alive() is asked meanwhile, so a
        program that dies is reported at once instead of after the timeout."""
        def found():
            if alive is not None:
                alive()
            windows = self.visible_windows(name_regex)
            return windows[0] if len(windows) == 1 else None
        return wait_until(f"a window titled {name_regex}", found, timeout)

    def windows_of_class(self, class_regex, classname=False):
        option = "--classname" if classname else "--class"
        out = self.run("xdotool", "search", option, class_regex, check=False)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """(x, y, width, height) of the window's client area on the screen."""
        values = {}
        for line in self.run("xdotool", "getwindowgeometry", "--shell", str(window)).split():
            key, _, value = line.partition("=")
            values[key] = int(value) if value.lstrip("-").isdigit() else value
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def focus(self, window):
        # No window manager gives focus here: set it as one would, then wait for it.
        self.run("xdotool", "windowfocus", str(window))
        wait_until(f"keyboard focus on window {window}",
                   lambda: self.run("xdotool", "getwindowfocus", check=False).strip()
                   == str(window), 10)

    def click(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def key(self, *keys):
        self.run("xdotool", "key", "--delay", "30", *keys)

    def type(self, text):
        self.run("xdotool", "type", "--delay", "30", text)

    def xlib(self):
        if self._xlib is None:
            self._xlib = _Xlib(self.display)
        return self._xlib

    def request_close(self, window):
        """What a window manager sends when the user clicks the title bar's close button."""
        self.xlib().send_delete_window(window)

    def icon_sizes(self, window):
        """The (width, height) of each picture in the window's _NET_WM_ICON property."""
        return self.xlib().icon_sizes(window)

    # --- pictures --------------------------------------------------------------

    def screenshot(self, path):
        self.run("import", "-window", "root", path)
        return Picture(self, path)


class Picture:
    """A screenshot on disk, read back as raw RGB through ImageMagick."""

    def __init__(self, server, path):
        self.server = server
        self.path = path

    def pixels(self, x, y, width, height):
        out = subprocess.run(
            ["convert", self.path, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
             "-depth", "8", "rgb:-"], capture_output=True, timeout=20, check=True).stdout
        if len(out) != width * height * 3:
            raise Failure(f"cannot read {width}x{height}+{x}+{y} of {self.path}")
        return [tuple(out[i:i + 3]) for i in range(0, len(out), 3)]

    def share_of(self, colour, x, y, width, height):
        pixels = self.pixels(x, y, width, height)
        return sum(1 for p in pixels if p == colour) / len(pixels)

    def colours(self, x, y, width, height):
        return set(self.pixels(x, y, width, height))


class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


class _Xlib:
    CLIENT_MESSAGE = 33

    def __init__(self, display):
        self.lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                        ctypes.c_long, ctypes.POINTER(_XEvent)]
        self.lib.XFlush.argtypes = [ctypes.c_void_p]
        self.lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.lib.XFree.argtypes = [ctypes.c_void_p]
        self.lib.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        self.dpy = self.lib.XOpenDisplay(display.encode())
        if not self.dpy:
            raise Failure(f"cannot open display {display} with libX11")

    def atom(self, name):
        return self.lib.XInternAtom(self.dpy, name.encode(), 0)

    def send_delete_window(self, window):
        event = _XEvent()
        event.xclient.type = self.CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self.atom("WM_PROTOCOLS")
        event.xclient.format = 32
        event.xclient.l[0] = self.atom("WM_DELETE_WINDOW")
        event.xclient.l[1] = 0  # CurrentTime
        if not self.lib.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(event)):
            raise Failure("XSendEvent failed")
        self.lib.XSync(self.dpy, 0)

    def icon_sizes(self, window):
        actual_type, actual_format = ctypes.c_ulong(), ctypes.c_int()
        count, remaining, data = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
        status = self.lib.XGetWindowProperty(
            self.dpy, window, self.atom("_NET_WM_ICON"), 0, 1 << 24, 0, 0,
            ctypes.byref(actual_type), ctypes.byref(actual_format), ctypes.byref(count),
            ctypes.byref(remaining), ctypes.byref(data))
        if status != 0 or not data.value:
            return []
        try:
            # Format 32 comes back as C longs: width, height, then width * height pixels.
            values = ctypes.cast(data, ctypes.POINTER(ctypes.c_ulong))[:count.value]
        finally:
            self.lib.XFree(data)
        sizes, i = [], 0
        while i + 2 <= len(values):
            w, h = values[i], values[i + 1]
            sizes.append((w, h))
            i += 2 + w * h
        return sizes

    def close(self):
        self.lib.XCloseDisplay(self.dpy)
