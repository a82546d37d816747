#!/usr/bin/python3
"""A player who cannot see the screen plays three hands with Orca.

The real screen reader Orca runs on the session's accessibility bus. A user
logs in, opens a table from the lobby's list, takes a seat, buys in and
plays three hands against the house's bots, with the keyboard alone (keys
sent with xdotool; the accessibility tree is only read, to know when to
press). The client must find by itself that a screen reader is running and
speak the table's events. Orca's log must then hold what the player needs
to hear: the user's cards, the flop, another player's action, a turn prompt
with the amount to call, and the winner of a hand.

Orca runs headless: speech goes to no speech server (Orca still logs every
"SPEECH OUTPUT" to its debug file, written line by line), braille is off,
and Orca has a preferences folder and a runtime folder of its own. It is
started and stopped by its process id (never with --replace, which ends
every Orca of the user).

Run under dbus-run-session (ctest does); needs Xvfb, openbox, xdotool,
at-spi2-core, python3-pyatspi and orca.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from desktop_session import (Failure, Suite, describe_windows, house_with_one_table, showing_controls,  # noqa: E402
                             table_row, wait_for, window_named, xdotool)

DIST = os.environ["TESSALY_DIST_DIR"]
NAME = "listener"
PASSWORD = "secret77"
TABLE = "Testbed"
HANDS = 3

# No speech server and no braille; the debug log flushed at every line, so
# nothing is lost when Orca is stopped. --debug-file logs at every level,
# and describing each event's object costs Orca bus round trips enough to
# fall minutes behind on a busy machine: log only what Orca says, which is
# logged at the info level.
CUSTOMIZATIONS = """
import orca.debug
import orca.settings
orca.settings.speechServerFactory = None
orca.settings.enableBraille = False
orca.settings.enableBrailleMonitor = False
orca.debug.debugLevel = orca.debug.LEVEL_INFO
if orca.debug.debugFile is not None:
    orca.debug.debugFile.reconfigure(line_buffering=True)
"""


class Orca:
    def __init__(self, suite):
        self.prefs = os.path.join(suite.root, "orca-prefs")
        runtime = os.path.join(suite.root, "orca-runtime")
        os.makedirs(self.prefs)
        os.makedirs(runtime, mode=0o700)
        with open(os.path.join(self.prefs, "orca-customizations.py"), "w") as f:
            f.write(CUSTOMIZATIONS)
        self.log = os.path.join(suite.root, "orca.log")
        env = dict(suite.env, XDG_RUNTIME_DIR=runtime)
        self.process = suite.start(["orca", "-u", self.prefs, "--debug-file", self.log], env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def spoken(self):
        """Every text Orca said, in order, without the role it names first
        ("notification")."""
        if not os.path.exists(self.log):
            return []
        with open(self.log, errors="replace") as f:
            return [re.sub(r"^notification ", "", line) for line in re.findall(r"SPEECH OUTPUT: '(.*?)'\s*(?:[{\[]|$)", f.read(), re.M)]


def announce_screen_reader():
    """Says on the accessibility bus that a screen reader is on, as the
    desktop does when the user turns one on (Orca itself does not). Before
    Orca starts: Orca takes a change of the setting for its own and quits."""
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 5000, None)


def key(suite, *keys):
    xdotool(suite, "key", "--delay", "80", *keys)


def type_text(suite, text):
    xdotool(suite, "type", "--delay", "40", text)


def focused(window):
    """The control of the window that has the keyboard focus."""
    import pyatspi
    for role, name, accessible in showing_controls(window):
        try:
            if accessible.getState().contains(pyatspi.STATE_FOCUSED):
                return role, name
        except Exception:
            continue
    return None


def tab_to(suite, window, role, pattern, what, presses=40):
    """Tab until the focus is on the control; the tree is only read."""
    for _ in range(presses):
        now = focused(window)
        if now and re.fullmatch(role, now[0]) and re.fullmatch(pattern, now[1] or ""):
            return
        key(suite, "Tab")
        time.sleep(0.15)
    raise Failure(f"Tab never reached {what}; focus on {focused(window)}")


def main():
    root = tempfile.mkdtemp(prefix="tessaly-orca-")
    suite = Suite(root)
    orca = None
    try:
        suite.start_desktop()
        house = house_with_one_table(suite, TABLE)
        house.register(NAME, PASSWORD)
        announce_screen_reader()
        orca = Orca(suite)
        wait_for(lambda: orca.spoken() or os.path.getsize(orca.log) > 0 if os.path.exists(orca.log) else False, 30,
                 "Orca's debug log")

        def heard(pattern):
            return [line for line in orca.spoken() if re.search(pattern, line)]

        install = os.path.join(root, "install")
        shutil.copytree(DIST, install, symlinks=True)
        env = house.client_environment(suite)
        # The bridge is on because a screen reader runs, not because it is forced.
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")
        suite.start([os.path.join(install, "Tessaly")], env=env, cwd=root, stdout=subprocess.DEVNULL,
                    stderr=open(os.path.join(root, "client.err"), "w"))

        login = wait_for(lambda: window_named(r"Login to Tessaly"), 30, "the login dialog")
        wait_for(lambda: focused(login) is not None, 10, "the focus in the login dialog")
        tab_to(suite, login, "text", "ScreenName", "the screen name box")
        type_text(suite, NAME)
        tab_to(suite, login, "password text", "Password", "the password box")
        type_text(suite, PASSWORD)
        key(suite, "Return")

        lobby = wait_for(lambda: window_named(r"Welcome to.*" + NAME), 30, "the lobby greeting the user")
        tab_to(suite, lobby, "(tree )?table|tree", ".*", "the table list")
        wait_for(lambda: table_row(lobby, TABLE), 30, "the table in the list")
        key(suite, "Home")
        key(suite, "Return")
        table = wait_for(lambda: window_named(TABLE), 15, "the table's window")

        tab_to(suite, table, "push button", r"Seat \d+", "a free seat")
        key(suite, "space")
        buy_in = wait_for(lambda: window_named(r"Tessaly Buy-In Amount"), 15, "the buy-in dialog")
        time.sleep(1.5)   # the dialog fills in the cashier's figures on its next tick
        tab_to(suite, buy_in, "text", "Amount", "the amount box")
        key(suite, "ctrl+a")
        type_text(suite, "40")
        key(suite, "Return")

        deadline = time.monotonic() + 300
        while len(heard(r"^Your cards: ")) < HANDS or not heard(r" wins "):
            if time.monotonic() > deadline:
                raise Failure(f"{len(heard('^Your cards: '))} hands dealt to the user in time")
            names = [n for r, n, a in showing_controls(table) if r == "push button"]
            # Check or post the blind when asked, else fold: the chips last
            # three hands.
            if any(re.fullmatch(r"Check|Post [BS]B \(.*\)", n) for n in names):
                answer = "F2"
            elif "Fold" in names:
                answer = "F1"
            else:
                time.sleep(0.3)
                continue
            time.sleep(0.7)   # a button just changed ignores keys for half a second
            key(suite, answer)
            time.sleep(1.0)

        expected = {
            "the user's cards": r"^Your cards: \S",
            "the flop": r"^Flop: \S",
            "another player's action": r"^(?!You)\S+ (calls|checks|folds|bets|raises to)\b",
            "the turn prompt with the amount to call": r"^Your turn: call \d",
            "the winner": r" wins \d",
        }
        for what, pattern in expected.items():
            wait_for(lambda: heard(pattern), 20, f"Orca saying {what}")
            print(f"{what}: {heard(pattern)[0]!r}")
        print(f"Orca said {len(orca.spoken())} things; the table's three hands were heard")
        return 0
    except Failure:
        print(describe_windows())
        if orca is not None:
            print("Orca's last words:\n  " + "\n  ".join(orca.spoken()[-25:]))
        raise
    finally:
        if orca is not None and orca.process.poll() is None:
            orca.process.terminate()
            try:
                orca.process.wait(10)
            except subprocess.TimeoutExpired:
                orca.process.kill()
        suite.close()
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
