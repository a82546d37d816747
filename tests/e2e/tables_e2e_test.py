#!/usr/bin/python3
"""Four tables at once on a 1920 x 1080 screen.

The real client opens four table windows from the lobby while bots play at
them: no two windows overlap and all stand on the screen. Then one window is
made 1.5 times as large with the window manager: its felt and the controls
below it (the chat and the navigation buttons) grow by as much, found by
position over AT-SPI, and a pixel probe finds the same picture at the
scaled places, read from a screenshot.

Run under dbus-run-session (ctest does); needs Xvfb, openbox, xdotool,
ImageMagick, at-spi2-core and python3-pyatspi.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop_session import (Failure, House, Suite, click, control, descendants, describe_windows,  # noqa: E402
                             forget_table_places, open_table, screenshot, wait_for, window_named, xdotool)

TABLES = ["Aldergrove", "Brackenridge", "Cinderfall", "Driftwood Bay"]
ZOOM = 1.5


def extents(accessible):
    e = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def mean_colour(path, x, y, width=1, height=1):
    """The mean colour of a rectangle of a screenshot, as 0-255 values."""
    shown = subprocess.run(["convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-resize", "1x1!",
                            "-format", "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]", "info:"],
                           capture_output=True, text=True, check=True)
    return tuple(int(v) for v in shown.stdout.split(","))


def close(a, b, tolerance=40):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def main():
    root = tempfile.mkdtemp(prefix="tessaly-tables-")
    suite = Suite(root)
    forget_table_places()
    try:
        suite.start_desktop("1920x1080")
        house = House(suite, ["--bots", "3"])
        suite.start([os.path.join(os.environ["TESSALY_DIST_DIR"], "Tessaly")], env=house.client_environment(suite),
                    cwd=root, stderr=subprocess.DEVNULL)
        windows = {}
        for name in TABLES:
            windows[name] = open_table(suite, name)
            click(suite, wait_for(lambda: control(windows[name], "push button", "View Lobby"), 10, "View Lobby"))
        lobby = wait_for(lambda: window_named(r"Welcome to"), 10, "the lobby")
        wait_for(lambda: any(c.name == "Tables waiting for you" for c in descendants(lobby)), 10,
                 "the lobby's queue list")

        frames = {name: extents(w) for name, w in windows.items()}
        for name, (x, y, width, height) in frames.items():
            print(f"{name}: {width} x {height} at {x}, {y}")
            if x < 0 or y < 0 or x + width > 1920 or y + height > 1080:
                raise Failure(f"{name} stands off the screen")
        names = list(frames)
        for i, a in enumerate(names):
            for b in names[i + 1:]:
                if overlap(frames[a], frames[b]):
                    raise Failure(f"{a} and {b} overlap: {frames[a]} {frames[b]}")

        # The first table, made 1.5 times as large by the window manager.
        name = TABLES[0]
        window = windows[name]
        before = frames[name]
        panel = {button: extents(control(window, "push button", button)) for button in ("View Lobby", "Leave Table")}
        found = subprocess.run(["xdotool", "search", "--name", "Room: " + name], env=suite.env,
                               capture_output=True, text=True).stdout.split()
        if not found:
            raise Failure("no X window for " + name)
        # In front of the lobby, and no button under the pointer.
        xdotool(suite, "windowactivate", "--sync", found[0])
        xdotool(suite, "mousemove", "1919", "1079")
        time.sleep(0.5)   # the next frames and the buttons' hover state
        shot_before = os.path.join(root, "before.png")
        screenshot(suite, shot_before)
        xdotool(suite, "windowmove", found[0], "0", "0")
        xdotool(suite, "windowsize", found[0], str(round(before[2] * ZOOM)), str(round(before[3] * ZOOM)))
        wait_for(lambda: abs(extents(window)[2] - before[2] * ZOOM) <= 2 and
                 abs(extents(window)[3] - before[3] * ZOOM) <= 2, 10, "the larger window")
        after = extents(window)
        wait_for(lambda: abs(extents(control(window, "push button", "Leave Table"))[2] -
                             panel["Leave Table"][2] * ZOOM) <= 2, 10, "the larger panel")
        for button, (bx, by, bw, bh) in panel.items():
            ax, ay, aw, ah = extents(control(window, "push button", button))
            expected = ((bx - before[0]) * ZOOM, (by - before[1]) * ZOOM, bw * ZOOM, bh * ZOOM)
            got = (ax - after[0], ay - after[1], aw, ah)
            print(f"{button}: {got} (expected {expected})")
            if any(abs(g - e) > 2 for g, e in zip(got, expected)):
                raise Failure(f"{button} did not grow with the window: {got}, expected {expected}")
        shot_after = os.path.join(root, "after.png")
        screenshot(suite, shot_after)
        # The table's wooden rim where no seat draws, then each button's face
        # as a whole (its mean colour: the lettering does not scale to whole
        # pixels).
        rim = (20, 290)
        was = mean_colour(shot_before, before[0] + rim[0], before[1] + rim[1])
        now = mean_colour(shot_after, after[0] + round(rim[0] * ZOOM), after[1] + round(rim[1] * ZOOM))
        print(f"rim: {was} -> {now}")
        if not close(was, now):
            raise Failure(f"the rim is not where the zoom puts it: {was} -> {now}")
        for button, (bx, by, bw, bh) in panel.items():
            ax, ay, aw, ah = extents(control(window, "push button", button))
            was = mean_colour(shot_before, bx, by, bw, bh)
            now = mean_colour(shot_after, ax, ay, aw, ah)
            print(f"{button} face: {was} -> {now}")
            if not close(was, now, 25):
                raise Failure(f"the face of {button} is not drawn at the zoom: {was} -> {now}")
        if os.environ.get("TESSALY_SHOTS_DIR"):
            shutil.copy(shot_after, os.path.join(os.environ["TESSALY_SHOTS_DIR"], "tables-e2e.png"))
        print("four tables side by side; one grown to 1.5 times with its panel")
        return 0
    except Failure:
        print(describe_windows())
        raise
    finally:
        suite.close()
        shutil.rmtree(root, ignore_errors=True)
        forget_table_places()


if __name__ == "__main__":
    sys.exit(main())
