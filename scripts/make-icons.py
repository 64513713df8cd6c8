#!/usr/bin/env python3
"""Writes the preset bar's four icon outlines into resources/icons/ in JUCE's
binary path format (the one Path::loadPathFromData reads):

    'n' or 'z'      winding rule (non-zero / even-odd), first byte
    'm' x y         start a sub-path
    'l' x y         line
    'q' x1 y1 x2 y2 quadratic curve
    'b' x1 y1 ... x3 y3   cubic curve
    'c'             close the sub-path
    'e'             end of the path

Coordinates are little-endian float32. The files are committed; run this
script again only after changing a shape below.

JUCE measures a path's bounds over all of its points, control points
included, so every control point stays inside the intended bounds.
"""

import pathlib
import struct


class PathWriter:
    def __init__(self):
        self.data = bytearray(b"n")

    def _points(self, marker, *coordinates):
        self.data += marker.encode("ascii")
        self.data += struct.pack("<%df" % len(coordinates), *coordinates)
        return self

    def move(self, x, y):
        return self._points("m", x, y)

    def line(self, x, y):
        return self._points("l", x, y)

    def quad(self, x1, y1, x2, y2):
        return self._points("q", x1, y1, x2, y2)

    def cubic(self, x1, y1, x2, y2, x3, y3):
        return self._points("b", x1, y1, x2, y2, x3, y3)

    def close(self):
        self.data += b"c"
        return self

    def finish(self):
        return bytes(self.data + b"e")


def undo_icon():
    """A thick arc that rises from the lower right, bends over its top at
    y = 8 and comes down to the left into an arrowhead whose tip sits at the
    lower left. Bounds: x 2 to 22.27, y 8 to 16; one closed shape."""
    p = PathWriter()
    p.move(22.27, 16.0)
    # outer edge of the arc, over the top
    p.cubic(21.6, 11.2, 17.9, 8.0, 13.5, 8.0)
    p.cubic(10.5, 8.0, 8.4, 10.0, 6.54, 11.2)
    # arrowhead: upper barb, tip at the lower left, lower barb
    p.line(5.23, 9.19)
    p.line(2.0, 15.6)
    p.line(9.17, 15.21)
    p.line(7.86, 13.2)
    # inner edge of the arc, back to the lower right
    p.cubic(9.37, 12.22, 11.2, 10.4, 13.5, 10.4)
    p.cubic(16.4, 10.4, 19.3, 12.6, 19.9, 16.0)
    p.close()
    return p.finish()


def save_icon():
    """A vertical arrow pointing down into an open tray. Bounds: 0 to 18 in
    both directions; two closed shapes."""
    p = PathWriter()
    # the arrow: shaft from the top, head ending above the tray's floor
    p.move(7.8, 0.0)
    p.line(10.2, 0.0)
    p.line(10.2, 7.6)
    p.line(13.4, 4.4)
    p.line(15.1, 6.1)
    p.line(9.0, 12.2)
    p.line(2.9, 6.1)
    p.line(4.6, 4.4)
    p.line(7.8, 7.6)
    p.close()
    # the tray: two walls and a floor with rounded outer corners, open at the top
    p.move(0.0, 10.0)
    p.line(2.4, 10.0)
    p.line(2.4, 15.6)
    p.line(15.6, 15.6)
    p.line(15.6, 10.0)
    p.line(18.0, 10.0)
    p.line(18.0, 16.0)
    p.quad(18.0, 18.0, 16.0, 18.0)
    p.line(2.0, 18.0)
    p.quad(0.0, 18.0, 0.0, 16.0)
    p.close()
    return p.finish()


def chevron(mirrored):
    """An open chevron pointing left, drawn as a stroke; mirrored about
    x = 4 it points right."""
    x = (lambda value: 8.0 - value) if mirrored else (lambda value: value)
    p = PathWriter()
    p.move(x(6.5), 15.5)
    p.line(x(2.33), 11.33)
    p.cubic(x(0.77), 9.77, x(0.77), 7.23, x(2.33), 5.67)
    p.line(x(6.5), 1.5)
    return p.finish()


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"
    folder.mkdir(parents=True, exist_ok=True)
    icons = {
        "UndoIcon.path": undo_icon(),
        "SaveIcon.path": save_icon(),
        "LeftIcon.path": chevron(mirrored=False),
        "RightIcon.path": chevron(mirrored=True),
    }
    for name, data in icons.items():
        (folder / name).write_bytes(data)
        print("%s: %d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
