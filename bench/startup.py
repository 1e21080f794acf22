#!/usr/bin/env python3
"""Times programs from process start until their main window is mapped on an X display.

The programs run in alternation (A, B, C, A, B, C, ...) so that drift in the machine's
load touches all of them alike; the first rounds are warm-ups and are not counted.
The map is seen as a MapNotify event on the root window (no window manager runs, so a
top-level window is viewable once mapped); no polling, so the resolution is well under
a millisecond. Only libX11 is needed, through ctypes.

usage: startup.py [--rounds N] [--warmup N] --program LABEL TITLE EXECUTABLE [--program ...]
The first program is the baseline: every other one is reported as a ratio of medians to it.
"""
import argparse
import ctypes
import ctypes.util
import os
import select
import statistics
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
TIMEOUT_S = 20.0


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    # XEvent is a union padded to 24 longs; only the map event is read.
    _fields_ = [("type", ctypes.c_int), ("xmap", MapEvent), ("pad", ctypes.c_long * 24)]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Display:
    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        self.x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        # A window may vanish between its map and the name query (its process killed);
        # Xlib's default handler would end this driver on that BadWindow.
        self.ignore_errors = ERROR_HANDLER(lambda display, error: 0)
        self.x.XSetErrorHandler(self.ignore_errors)
        self.dpy = self.x.XOpenDisplay(None)
        if not self.dpy:
            sys.exit(f"startup.py: cannot open display {os.environ.get('DISPLAY')!r}")
        self.x.XSelectInput(self.dpy, self.x.XDefaultRootWindow(self.dpy), SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XSync(self.dpy, 0)
        self.fd = self.x.XConnectionNumber(self.dpy)

    def name(self, window):
        text = ctypes.c_char_p()
        if not self.x.XFetchName(self.dpy, window, ctypes.byref(text)) or not text.value:
            return ""
        value = text.value.decode("utf-8", "replace")
        self.x.XFree(text)
        return value

    def drain(self):
        event = XEvent()
        self.x.XSync(self.dpy, 0)
        while self.x.XPending(self.dpy):
            self.x.XNextEvent(self.dpy, ctypes.byref(event))

    def wait_for_map(self, title, deadline):
        """Returns the time a window whose name starts with title was mapped, or None."""
        event = XEvent()
        while True:
            while self.x.XPending(self.dpy):
                self.x.XNextEvent(self.dpy, ctypes.byref(event))
                if event.type == MAP_NOTIFY:
                    now = time.perf_counter()
                    if self.name(event.xmap.window).startswith(title):
                        return now
            left = deadline - time.perf_counter()
            if left <= 0:
                return None
            select.select([self.fd], [], [], left)


def time_once(display, title, executable):
    display.drain()
    start = time.perf_counter()
    process = subprocess.Popen([executable], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    mapped = display.wait_for_map(title, start + TIMEOUT_S)
    process.terminate()
    process.wait()
    if mapped is None:
        sys.exit(f"startup.py: no window named {title!r} from {executable} within {TIMEOUT_S:.0f} s")
    return (mapped - start) * 1000.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=15)
    parser.add_argument("--warmup", type=int, default=2)
    parser.add_argument("--program", nargs=3, action="append", required=True,
                        metavar=("LABEL", "TITLE", "EXECUTABLE"))
    args = parser.parse_args()
    display = Display()
    times = {label: [] for label, _, _ in args.program}
    for round_no in range(args.warmup + args.rounds):
        for label, title, executable in args.program:
            elapsed = time_once(display, title, executable)
            if round_no >= args.warmup:
                times[label].append(elapsed)
    baseline = statistics.median(times[args.program[0][0]])
    print(f"{'program':<24}{'median ms':>10}{'min':>8}{'max':>8}{'ratio':>8}")
    for label, _, _ in args.program:
        median = statistics.median(times[label])
        print(f"{label:<24}{median:>10.1f}{min(times[label]):>8.1f}{max(times[label]):>8.1f}"
              f"{median / baseline:>8.2f}")


if __name__ == "__main__":
    main()
