#!/usr/bin/python3
"""The real client plays poker against the real house server.

On a virtual X display with a window manager, a new user logs in, opens a
table, says "hello :)" in its chat (the log shows the smile as a picture),
takes a free seat with a buy-in, and plays at least ten hands by
answering every prompt through the real controls: checks when free, else
calls; folds one hand; types one raise into the amount box; posts the
blinds by hand once and then with "Auto Post Blind"; re-buys once (and again
whenever it has lost every chip, as the server then deals it out); sits
out and comes back; leaves. The controls are found by their accessible
names over AT-SPI and clicked with xdotool, as a person would.

Before leaving, the table's hand log must hold every action the house sent
(every bet, call, check, fold and all-in, by seat, in order).

Then the house server is stopped and its database must hold, to the cent,
what the hands said: the account's balance is what it started with, less
what was brought to the table, plus the stack the server last reported. The
hand histories the client wrote (one per hand the user was dealt into)
replay from their starting to their finishing stacks, and the user's wins
and losses in them add up to the same balance.

Run under dbus-run-session (ctest does); needs Xvfb, openbox, xdotool,
at-spi2-core and python3-pyatspi.
"""

import os
import re
import shutil
import signal
import sqlite3
import subprocess
import sys
import tempfile
import time
import tomllib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "table"))
from phh_replay import replay  # noqa: E402
from desktop_session import (Failure, Suite, click, control, describe_windows, house_with_one_table, log_in,  # noqa: E402
                             open_table, screenshot, showing, showing_controls, type_into, wait_for,
                             window_named, xdotool)

DIST = os.environ["TESSALY_DIST_DIR"]
NAME = "e2eplayer"
PASSWORD = "secret77"
TABLE = "Testbed"
STARTING_BALANCE = 1000.0
BUY_IN = 40.0
HANDS_TO_PLAY = 10


class Transcript:
    """What the house server sent to, and heard from, the client."""

    def __init__(self, log):
        self.log = log

    def client_file(self):
        # The client's connection is the one that logged in as the player.
        for name in sorted(os.listdir(self.log)):
            if name.endswith(".txt"):
                with open(os.path.join(self.log, name), errors="replace") as f:
                    if f"LOGIN:\\t{NAME}" in f.read():
                        return os.path.join(self.log, name)
        return None

    def lines(self, direction):
        path = self.client_file()
        if path is None:
            return []
        result = []
        with open(path, errors="replace") as f:
            for line in f:
                # The server may be halfway through the last line.
                if not line.endswith("\n"):
                    break
                parts = line.rstrip("\n").split(" ", 3)
                if len(parts) == 4 and parts[2] == direction:
                    result.append(parts[3].replace("\\t", "\t").replace("\\r", ""))
        return result

    # The server writes what it heard with "<" and what it sent with ">".
    def sent(self):
        """What the client sent."""
        return self.lines("<")

    def received(self):
        """What the client received."""
        return self.lines(">")

    def heard(self, prefix):
        return [line for line in self.received() if line.startswith(prefix)]


def money(text):
    return round(float(text) * 100)


def last_stack(lines, table, seat):
    """The stack the server last reported for the seat, in cents."""
    stack = None
    for line in lines:
        f = line.split("\t")
        if len(f) < 3 or f[1] != str(table) or f[2] != str(seat):
            continue
        key = f[0]
        if key in ("YOU_JOINED_TABLE:",) and len(f) > 4:
            stack = money(f[4])
        elif key in ("USER_MONEY:", "HISTORY_ONBUTTON:") and len(f) > 3:
            stack = money(f[3])
        elif key == "HISTORY_PACKET:" and len(f) > 4:
            kind = int(f[3])
            if kind in (3, 5) and len(f) > 5:
                stack = money(f[5])
            elif kind in (4, 6, 8):
                stack = money(f[4])
            elif kind == 7:
                stack = 0
    return stack


# What the hand log says for each action kind of "HISTORY_PACKET:".
ACTION_WORDS = {"3": r"calls", "4": r"folds", "5": r"(bets|raises to)", "6": r"checks", "7": r"goes all-in for"}


def missing_from_log(log_text, received, table):
    """The actions the house sent that the hand log does not show, in order."""
    lines = log_text.splitlines()
    at = 0
    missing = []
    for line in received:
        f = line.split("\t")
        if f[0] != "HISTORY_PACKET:" or len(f) < 4 or f[1] != str(table) or f[3] not in ACTION_WORDS:
            continue
        pattern = re.compile(rf"seat {int(f[2]) + 1} (\(.*\) )?{ACTION_WORDS[f[3]]}")
        found = next((i for i in range(at, len(lines)) if pattern.match(lines[i])), None)
        if found is None:
            missing.append(line)
        else:
            at = found + 1
    return missing


def history_net(folder, name):
    """The hands of the histories and the user's net result over them, in
    cents; raises Failure when a hand does not replay to its finishing stacks."""
    hands = 0
    net = 0
    for file in sorted(os.listdir(folder)):
        with open(os.path.join(folder, file), "rb") as f:
            document = tomllib.load(f)
        for key, hand in document.items():
            final = replay(hand)
            if any(abs(a - b) > 0.005 for a, b in zip(final, hand["finishing_stacks"])):
                raise Failure(f"hand history {key} replays to {final}, not {hand['finishing_stacks']}")
            i = hand["players"].index(name)
            net += money(str(hand["finishing_stacks"][i])) - money(str(hand["starting_stacks"][i]))
            hands += 1
    return hands, net


# ---- the game ---------------------------------------------------------------

class Player:
    """Answers prompts through the table window's controls."""

    def __init__(self, suite, transcript, table_window):
        self.suite = suite
        self.transcript = transcript
        self.window = table_window
        self.done = set()

    def visible(self, role, pattern):
        return control(self.window, role, pattern)

    def press(self, role, pattern, what):
        click(self.suite, wait_for(lambda: self.visible(role, pattern), 15, what))

    def act(self):
        """Answers the prompt on screen, if any. True when it answered."""
        shown = showing_controls(self.window)

        def find(role, pattern):
            return next((a for r, n, a in shown if r == role and re.fullmatch(pattern, n)), None)

        def press(accessible, pattern):
            # The prompt may have changed since the look: a post button takes
            # the place of the action buttons, so check the button again.
            if showing(accessible) and re.fullmatch(pattern, accessible.name or ""):
                click(self.suite, accessible)

        post = find("push button", r"Post [BS]B \(.*\)")
        if post is not None:
            press(post, r"Post [BS]B \(.*\)")
            self.done.add("posted by hand")
            return True
        check = find("push button", r"Check")
        call = find("push button", r"Call .*")
        raise_button = find("push button", r"(Bet|Raise) to .*")
        amount = find("text", r"Amount")
        if "raised" not in self.done and raise_button is not None and amount is not None and \
                self.hands_played() >= 2:
            minimum = re.search(r"to (\S+)", raise_button.name).group(1)
            raises = self.raises_sent()
            type_into(self.suite, amount, minimum)
            press(wait_for(lambda: self.visible("push button", r"(Bet|Raise) to .*"), 5, "Raise"), r"(Bet|Raise) to .*")
            # A button whose amount has just changed ignores clicks for half a
            # second (the misclick guard): the raise counts once it was sent,
            # else the next look at the prompt tries again.
            try:
                wait_for(lambda: self.raises_sent() > raises, 2, "the raise sent")
                self.done.add("raised")
            except Failure:
                pass
            return True
        if "folded" not in self.done and call is not None and self.hands_played() >= 3:
            press(find("push button", r"Fold"), r"Fold")
            self.done.add("folded")
            return True
        for answer, pattern in ((check, r"Check"), (call, r"Call .*"), (find("push button", r"All In"), r"All In")):
            if answer is not None:
                press(answer, pattern)
                return True
        return False

    def raises_sent(self):
        return sum(1 for line in self.transcript.sent() if line.startswith("REPLY:") and line.split("\t")[2:3] == ["5"])

    def hands_played(self):
        return len(self.transcript.heard("YOUR_CARD:"))


def main():
    root = tempfile.mkdtemp(prefix="tessaly-play-")
    suite = Suite(root)
    transcript = None
    try:
        suite.start_desktop()
        house = house_with_one_table(suite, TABLE)
        house.register(NAME, PASSWORD)
        transcript = Transcript(house.log)

        # The client runs from a copy of the install, started from elsewhere.
        install = os.path.join(root, "install")
        shutil.copytree(DIST, install, symlinks=True)
        client_errors = open(os.path.join(root, "client.err"), "w")
        client = suite.start([os.path.join(install, "Tessaly")], env=house.client_environment(suite), cwd=root,
                             stdout=subprocess.DEVNULL, stderr=client_errors)

        log_in(suite, NAME, PASSWORD)
        wait_for(lambda: transcript.heard("LOGIN_SUCCESS"), 15, "LOGIN_SUCCESS")
        table_window = open_table(suite, TABLE)
        wait_for(lambda: any(line.startswith("WATCH_TABLE:") for line in transcript.sent()), 10, "WATCH_TABLE:")
        player = Player(suite, transcript, table_window)

        # A chat line with a smiley: the house relays it, and the log shows the
        # text with the smile's picture (an object in the log's text).
        type_into(suite, wait_for(lambda: control(table_window, "text", "Chat"), 10, "the chat input"), "hello :)")
        xdotool(suite, "key", "Return")
        wait_for(lambda: any(line.startswith("SEND_MESSAGE:") for line in transcript.sent()), 10, "SEND_MESSAGE:")
        chat_log = wait_for(lambda: control(table_window, "text", "Chat log"), 10, "the chat log")
        wait_for(lambda: f"{NAME}: hello \ufffc" in chat_log.queryText().getText(0, -1), 10,
                 "the chat line with its picture in the log")

        # A free seat and a buy-in for less than the maximum, so a re-buy fits.
        seat_button = wait_for(lambda: control(table_window, "push button", r"Seat \d+"), 20, "a free seat")
        seat = int(seat_button.name.split()[1]) - 1
        click(suite, seat_button)
        buy_in = wait_for(lambda: window_named(r"Tessaly Buy-In Amount"), 15, "the buy-in dialog")
        wait_for(lambda: transcript.heard("RQC:"), 10, "the cashier's figures")
        time.sleep(1.0)   # the dialog shows them on its next 600 ms tick
        type_into(suite, control(buy_in, "text", "Amount"), "%g" % BUY_IN)
        click(suite, control(buy_in, "push button", "OK"))
        wait_for(lambda: transcript.heard("YOU_JOINED_TABLE:"), 15, "YOU_JOINED_TABLE:")

        def table_id():
            return int(transcript.heard("YOU_JOINED_TABLE:")[-1].split("\t")[1])

        def sent_count(prefix):
            return sum(1 for line in transcript.sent() if line.startswith(prefix))

        def stack():
            return last_stack(transcript.received(), table_id(), seat) or 0

        rebought = []   # what was brought to the table after the buy-in
        deadline = time.monotonic() + 420

        def rebuy_and_return():
            """Twenty more chips through "Get More Chips", then "I am back" once the table has them."""
            answered = len(transcript.heard("RQC:"))
            asked = sent_count("QUICK_CHIPS:")
            player.press("push button", "Get More Chips", "Get More Chips")
            rebuy = wait_for(lambda: window_named(r"Tessaly Quick Rebuy"), 10, "the re-buy dialog")
            wait_for(lambda: len(transcript.heard("RQC:")) > answered, 10, "the cashier's figures")
            time.sleep(1.0)   # the dialog shows them on its next 400 ms tick
            type_into(suite, control(rebuy, "text", "Amount"), "20")
            click(suite, control(rebuy, "push button", "OK"))
            wait_for(lambda: sent_count("QUICK_CHIPS:") > asked, 10, "QUICK_CHIPS:")
            rebought.append(money("20"))
            # Out of the hand, the chips reach the table at once.
            wait_for(lambda: stack() > 0, 15, "the re-bought chips at the table")
            back = sent_count("IM_BACK:")
            click(suite, wait_for(lambda: player.visible("push button", "I am back"), 10, '"I am back"'))
            wait_for(lambda: sent_count("IM_BACK:") > back, 10, "IM_BACK:")

        def play_until(condition, what, rebuy_when_broke=True):
            while not condition():
                if time.monotonic() > deadline:
                    raise Failure(f"{what}: only {player.hands_played()} hands played; done: {sorted(player.done)}")
                if player.act():
                    time.sleep(0.3)
                elif rebuy_when_broke and stack() == 0 and player.visible("push button", "I am back"):
                    # Every chip lost: the server has dealt the user out.
                    rebuy_and_return()
                else:
                    time.sleep(0.1)

        def sit_out():
            """Deal Me Out, then play on until a hand is dealt without the user."""
            mine = f"PLAYER_OUT:\t{table_id()}\t{seat}"
            before = len(transcript.heard(mine))
            asked = sent_count("DEAL_ME_OUT:")
            player.press("push button", "Deal Me Out", "the Deal Me Out option")
            wait_for(lambda: sent_count("DEAL_ME_OUT:") > asked, 10, "DEAL_ME_OUT:")
            # Going broke on the way out deals the user out too: no re-buy here,
            # or the user would be back in a hand before the caller's next step.
            play_until(lambda: len(transcript.heard(mine)) > before, "PLAYER_OUT: for the user's seat",
                       rebuy_when_broke=False)
            # The hand that was running plays to its end; the next is dealt without the user.
            hands = len(transcript.heard("NEW_HAND:"))
            play_until(lambda: len(transcript.heard("NEW_HAND:")) > hands, "a hand dealt without the user",
                       rebuy_when_broke=False)

        play_until(lambda: "posted by hand" in player.done, "a blind to post")
        player.press("push button", "Auto Post Blind", "the Auto Post Blind option")
        player.done.add("auto post")

        # Out of the game, so no prompt brings the table in front of the dialog.
        play_until(lambda: player.hands_played() >= 5 and 0 < stack() <= money("80"),
                   "a stack that leaves room for a re-buy")
        sit_out()
        rebuy_and_return()

        play_until(lambda: player.hands_played() >= HANDS_TO_PLAY and {"raised", "folded"} <= player.done,
                   f"{HANDS_TO_PLAY} hands with a raise and a fold")
        replies = [line.split("\t") for line in transcript.sent() if line.startswith("REPLY:")]
        for code, what in (("5", "a raise"), ("4", "a fold"), ("3", "a call"), ("6", "a check")):
            if not any(len(r) > 2 and r[2] == code for r in replies):
                raise Failure(f"the client never sent {what}")
        if not any("xPBB:" in l or "xPSB:" in l for l in transcript.sent()):
            raise Failure("no blind was posted")

        # Out of the next hand first, so leaving folds nothing.
        sit_out()
        hand_log = wait_for(lambda: control(table_window, "text", "Hand log"), 10, "the hand log")
        missing = missing_from_log(hand_log.queryText().getText(0, -1), transcript.received(), table_id())
        if missing:
            raise Failure(f"the hand log lacks {len(missing)} actions the house sent, first {missing[0]!r}")
        player.press("push button", "Leave Table", "Leave Table")
        wait_for(lambda: any(l.startswith("CLOSE_WINDOW:") for l in transcript.sent()), 15, "CLOSE_WINDOW:")
        final_stack = stack()
        client.terminate()
        client.wait(10)

        house.process.send_signal(signal.SIGTERM)
        if house.process.wait(30) != 0:
            raise Failure(f"the house server's books did not balance (exit {house.process.returncode})")
        db = sqlite3.connect(os.path.join(house.data, "house.db"))
        balance = db.execute("SELECT balance FROM accounts WHERE name = ?", (NAME,)).fetchone()[0]
        expected = money(STARTING_BALANCE) - money(BUY_IN) - sum(rebought) + final_stack
        print(f"hands played {player.hands_played()}, re-buys {len(rebought)}, stack at leaving {final_stack / 100:.2f}, "
              f"balance {balance / 100:.2f}, expected {expected / 100:.2f}")
        if balance != expected:
            raise Failure(f"balance {balance} cents, the hands say {expected}")
        hands, net = history_net(os.path.join(root, "data", "Tessaly", "hand-histories", TABLE), NAME)
        print(f"hand histories: {hands} hands, the user's net {net / 100:.2f}")
        if hands != player.hands_played():
            raise Failure(f"{hands} hand histories for {player.hands_played()} hands dealt")
        if net != final_stack - money(BUY_IN) - sum(rebought):
            raise Failure(f"the histories net {net} cents, the books {final_stack - money(BUY_IN) - sum(rebought)}")
        print("1 passed, 0 failed")
        return 0
    except Failure as failure:
        print("FAILED:", failure)
        print(describe_windows())
        if os.environ.get("TESSALY_KEEP_E2E") is not None:
            screenshot(suite, os.path.join(root, "failure.png"))
        path = transcript.client_file() if transcript is not None else None
        if path is not None:
            with open(path, errors="replace") as f:
                print("the client's connection, last lines:\n" + "".join(f.readlines()[-40:]))
        return 1
    finally:
        suite.close()
        if os.environ.get("TESSALY_KEEP_E2E") is None:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
