#!/usr/bin/env python3
"""Types key combinations into an X display through the XTEST extension.

    DISPLAY=:90 scripts/xkeys.py move 400 300 'alt+c' n

Each argument is a combination such as "alt+c", "Escape" or "n" (X keysym
names joined with "+"), "move X Y", which puts the pointer there, "focus ID",
which gives a window the keyboard (there is no window manager to do it), or
"sleep SECONDS". Needs only libX11 and libXtst, which the X server packages
bring along.
"""
import ctypes
import ctypes.util
import sys
import time

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst") or "libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
x11.XRaiseWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]

ALIASES = {"alt": "Alt_L", "ctrl": "Control_L", "shift": "Shift_L"}


def keycode(display, name):
    sym = x11.XStringToKeysym(ALIASES.get(name.lower(), name).encode())
    if not sym:
        sys.exit(f"xkeys: unknown key {name!r}")
    code = x11.XKeysymToKeycode(display, sym)
    if not code:
        sys.exit(f"xkeys: no key code for {name!r}")
    return code


def press(display, combo):
    codes = [keycode(display, part) for part in combo.split("+")]
    for c in codes:
        xtst.XTestFakeKeyEvent(display, c, 1, 0)
        x11.XSync(display, 0)
        time.sleep(0.03)
    for c in reversed(codes):
        xtst.XTestFakeKeyEvent(display, c, 0, 0)
        x11.XSync(display, 0)
        time.sleep(0.03)
    time.sleep(0.15)


def main(args):
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("xkeys: cannot open the display")
    i = 0
    while i < len(args):
        a = args[i]
        if a == "move":
            xtst.XTestFakeMotionEvent(display, -1, int(args[i + 1]), int(args[i + 2]), 0)
            x11.XSync(display, 0)
            i += 3
        elif a == "focus":
            window = int(args[i + 1], 0)
            x11.XRaiseWindow(display, window)
            x11.XSetInputFocus(display, window, 2, 0)  # RevertToParent, CurrentTime
            x11.XSync(display, 0)
            time.sleep(0.2)
            i += 2
        elif a == "sleep":
            time.sleep(float(args[i + 1]))
            i += 2
        else:
            press(display, a)
            i += 1
    x11.XFlush(display)


if __name__ == "__main__":
    main(sys.argv[1:])
