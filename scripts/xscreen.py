"""Pixels of the X display, read without a screenshot program: what the start-up benchmark
and the start-up frames test poll every few milliseconds. DISPLAY names the display."""
import ctypes
import subprocess

_x11 = ctypes.CDLL("libX11.so.6")
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XGetImage.restype = ctypes.c_void_p
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.c_void_p]


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int)]


_display = _x11.XOpenDisplay(None)
_root = _x11.XDefaultRootWindow(_display)


def grab(x, y, width, height):
    """The screen's pixels in the rectangle, 4 bytes each: blue, green, red, unused."""
    image = _x11.XGetImage(_display, _root, x, y, width, height, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return b""
    header = _XImage.from_address(image)
    data = ctypes.string_at(header.data, header.bytes_per_line * header.height)
    _x11.XDestroyImage(image)
    return data


def colour(red, green, blue):
    """A colour as grab() stores it, to count with bytes.count()."""
    return bytes([blue, green, red])


def window_geometry(title, screen_width=1 << 16, screen_height=1 << 16):
    """X, Y, width and height of the first visible window whose title matches the regular
    expression, clipped to the screen; None while there is none."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                           capture_output=True, text=True).stdout.split()
    if not found:
        return None
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", found[0]],
                           capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
    x, y = max(int(values["X"]), 0), max(int(values["Y"]), 0)
    return (x, y, min(int(values["WIDTH"]), screen_width - x),
            min(int(values["HEIGHT"]), screen_height - y))


def windows_path(path):
    """What winepath -w prints for a Unix path, without starting Wine for it."""
    import os
    return "Z:" + os.path.abspath(path).replace("/", "\\")
