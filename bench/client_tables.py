#!/usr/bin/python3
"""CPU of one client watching bot play at four tables.

Starts Xvfb with openbox, tessaly-house with bots at its built-in tables,
and the client; opens four table windows from the lobby as a person would,
lets the bots play for SECONDS (default 20), and prints the client's CPU
time as a share of one core. Every table window still runs its 28 ms frame
step; the goal is at most 10 %.

Measured three times: with the accessibility bridge on (as for a screen
reader user; the tables are found and opened over AT-SPI), with "Speak
table events" off and then on (every event of the four hands spoken), and
without the bridge (as for everyone else; the first clients tell where the
lobby's rows are, and the measured one is driven by those positions alone).
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
from desktop_session import (House, Suite, centre, click, control, open_table, wait_for,  # noqa: E402
                             window_named, xdotool)

TABLES = ["Aldergrove", "Brackenridge", "Cinderfall", "Driftwood Bay"]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def measure(client, seconds):
    time.sleep(2)
    hz = os.sysconf("SC_CLK_TCK")
    before = cpu_ticks(client.pid)
    time.sleep(seconds)
    used = cpu_ticks(client.pid) - before
    return f"{100.0 * used / (hz * seconds):.2f}% of one core over {seconds:g} s ({used} ticks at {hz} Hz)"


def x_window(suite, pattern):
    """The X window whose title matches, found with xdotool: no accessibility needed."""
    found = subprocess.run(["xdotool", "search", "--name", pattern], env=suite.env, capture_output=True, text=True)
    return found.stdout.split()[0] if found.stdout.split() else None


def window_origin(suite, window):
    shown = subprocess.run(["xdotool", "getwindowgeometry", window], env=suite.env, capture_output=True, text=True)
    x, y = re.search(r"Position: (\d+),(\d+)", shown.stdout).groups()
    return int(x), int(y)


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 20.0
    root = tempfile.mkdtemp(prefix="tessaly-bench-")
    suite = Suite(root)
    try:
        suite.start_desktop()
        house = House(suite, ["--bots", "3"])
        # A copy of the install, whose keyboard.txt says whether the tables speak.
        install = os.path.join(root, "install")
        shutil.copytree(os.environ["TESSALY_DIST_DIR"], install, symlinks=True)
        program = os.path.join(install, "Tessaly")
        env = house.client_environment(suite)
        rows = {}
        for speech in ("off", "on"):
            with open(os.path.join(install, "keyboard.txt"), "w") as f:
                f.write(f"speak={speech}\n")
            client = suite.start([program], env=env, cwd=root, stderr=subprocess.DEVNULL)
            lobby = wait_for(lambda: window_named(r"Welcome to"), 15, "the lobby")
            lobby_x, lobby_y = window_origin(suite, wait_for(lambda: x_window(suite, "Welcome to"), 10, "the lobby"))
            for name in TABLES:
                x, y = centre(wait_for(lambda: control(lobby, "table cell", name), 15, name))
                rows[name] = (x - lobby_x, y - lobby_y)
            for name in TABLES:
                window = open_table(suite, name)
                click(suite, wait_for(lambda: control(window, "push button", "View Lobby"), 10, "View Lobby"))
            print(f"four table windows watching bot play, accessibility bridge on, speech {speech}: "
                  + measure(client, seconds))
            client.terminate()
            client.wait(10)
            wait_for(lambda: not x_window(suite, "Welcome to"), 10, "the client gone")
        os.remove(os.path.join(install, "keyboard.txt"))

        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")
        client = suite.start([program], env=env, cwd=root, stderr=subprocess.DEVNULL)
        wait_for(lambda: x_window(suite, "Welcome to"), 15, "the lobby")
        time.sleep(3)   # the table list fills on the lobby's next ticks
        for name in TABLES:
            lobby_window = x_window(suite, "Welcome to")
            xdotool(suite, "windowactivate", "--sync", lobby_window)
            time.sleep(1)   # the window manager restores it from the taskbar
            origin = window_origin(suite, lobby_window)
            x, y = origin[0] + rows[name][0], origin[1] + rows[name][1]
            xdotool(suite, "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1")
            wait_for(lambda: x_window(suite, "Room: " + name), 15, f"the window of {name}")
        print("four table windows watching bot play, accessibility bridge off: " + measure(client, seconds))
        return 0
    finally:
        suite.close()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
