#!/usr/bin/python3
"""CPU of one client watching bot play at four tables.

Starts Xvfb with openbox, tessaly-house with bots at its built-in tables,
and the client; opens four table windows from the lobby (over AT-SPI and
xdotool, as a person would), lets the bots play for SECONDS (default 20),
and prints the client's CPU time as a share of one core. Every table
window still runs its 28 ms frame step; the goal is at most 10 %.
"""

import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "support"))
from desktop_session import House, Suite, click, control, open_table, wait_for  # noqa: E402

TABLES = ["Aldergrove", "Brackenridge", "Cinderfall", "Driftwood Bay"]


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def main():
    seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 20.0
    root = tempfile.mkdtemp(prefix="tessaly-bench-")
    suite = Suite(root)
    try:
        suite.start_desktop()
        house = House(suite, ["--bots", "3"])
        client = suite.start([os.path.join(os.environ["TESSALY_DIST_DIR"], "Tessaly")],
                             env=house.client_environment(suite), cwd=root, stderr=open(os.devnull, "w"))
        for name in TABLES:
            window = open_table(suite, name)
            click(suite, wait_for(lambda: control(window, "push button", "View Lobby"), 10, "View Lobby"))
        time.sleep(2)
        hz = os.sysconf("SC_CLK_TCK")
        before = cpu_ticks(client.pid)
        time.sleep(seconds)
        used = cpu_ticks(client.pid) - before
        print(f"four table windows watching bot play: {100.0 * used / (hz * seconds):.2f}% of one core "
              f"over {seconds:g} s ({used} ticks at {hz} Hz)")
        return 0
    finally:
        suite.close()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
