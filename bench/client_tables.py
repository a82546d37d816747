#!/usr/bin/python3
"""CPU of one client watching bot play at four and at eight tables.

Starts Xvfb (1920 x 1080) with openbox, tessaly-house with bots at its
built-in tables, and the client; opens the table windows from the lobby as a
person would (they open side by side), lets the bots play for SECONDS
(default 20), and prints the client's CPU time as a share of one core.
Every table window still runs its 28 ms frame step and sends the screen
only what changed; the goals are 4 % for four tables and 8 % for eight.
Usage: client_tables.py [SECONDS] [TABLE COUNT ...] (default 4 8).

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
from desktop_session import (Failure, House, Suite, centre, click, control, table_row,  # noqa: E402
                             forget_table_places, open_table, wait_for, window_named, x_window, xdotool)

TABLES = ["Aldergrove", "Brackenridge", "Cinderfall", "Driftwood Bay", "Emberlight", "Foxhollow", "Glasswater",
          "Harrowgate High"]


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


def window_origin(suite, window):
    shown = subprocess.run(["xdotool", "getwindowgeometry", window], env=suite.env, capture_output=True, text=True)
    x, y = re.search(r"Position: (\d+),(\d+)", shown.stdout).groups()
    return int(x), int(y)


def measure_tables(count, seconds):
    tables = TABLES[:count]
    root = tempfile.mkdtemp(prefix="tessaly-bench-")
    suite = Suite(root)
    forget_table_places()
    try:
        suite.start_desktop("1920x1080")
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
            client = suite.start([program], env=env, cwd=root, stderr=open(os.path.join(root, f"client-{speech}.log"), "w"))
            lobby = wait_for(lambda: window_named(r"Welcome to"), 40, "the lobby")
            lobby_x, lobby_y = window_origin(suite, wait_for(lambda: x_window(suite, "Welcome to"), 10, "the lobby"))
            for name in tables:
                x, y = centre(wait_for(lambda: table_row(lobby, name), 15, name))
                rows[name] = (x - lobby_x, y - lobby_y)
            for name in tables:
                window = open_table(suite, name)
                click(suite, wait_for(lambda: control(window, "push button", "View Lobby"), 10, "View Lobby"))
            print(f"{count} table windows watching bot play, accessibility bridge on, speech {speech}: "
                  + measure(client, seconds))
            client.terminate()
            client.wait(10)
            wait_for(lambda: not x_window(suite, "Welcome to"), 10, "the client gone")
        os.remove(os.path.join(install, "keyboard.txt"))

        # The second client finds the windows where the first left them.
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")
        client = suite.start([program], env=env, cwd=root, stderr=subprocess.DEVNULL)
        wait_for(lambda: x_window(suite, "Welcome to"), 40, "the lobby")
        time.sleep(3)   # the table list fills on the lobby's next ticks
        for name in tables:
            lobby_window = x_window(suite, "Welcome to")
            xdotool(suite, "windowactivate", "--sync", lobby_window)
            time.sleep(1)   # the window manager restores it from the taskbar
            origin = window_origin(suite, lobby_window)
            x, y = origin[0] + rows[name][0], origin[1] + rows[name][1]
            xdotool(suite, "mousemove", str(x), str(y), "click", "--repeat", "2", "--delay", "80", "1")
            wait_for(lambda: x_window(suite, "Room: " + name), 15, f"the window of {name}")
        print(f"{count} table windows watching bot play, accessibility bridge off: " + measure(client, seconds))
    except Failure:
        # What the first client said, for the reason.
        with open(os.path.join(root, "client.log"), errors="replace") as log:
            print("".join(log.readlines()[-15:]))
        raise
    finally:
        suite.close()
        shutil.rmtree(root, ignore_errors=True)
        forget_table_places()


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 20.0
    counts = [int(n) for n in sys.argv[2:]] or [4, 8]
    for count in counts:
        measure_tables(count, seconds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
