#!/usr/bin/env python3
"""Reads a .phhs file as TOML and replays every hand's actions from its
starting stacks: blinds, calls and raises-to come off the stacks, an
uncalled bet goes back at the end of its street, the winnings are added.
Exit 0 when every hand ends on its finishing stacks."""
import sys
import tomllib


def replay(hand):
    n = len(hand["starting_stacks"])
    blinds = list(hand["blinds_or_straddles"])
    if n == 2:
        blinds.reverse()
    stacks = list(hand["starting_stacks"])
    bets = [0.0] * n

    def pay_to(i, total):
        add = min(total - bets[i], stacks[i])
        stacks[i] -= add
        bets[i] += add

    def end_street():
        ordered = sorted(bets)
        top = ordered[-1]
        if n > 1 and bets.count(top) == 1 and ordered[-2] < top:
            stacks[bets.index(top)] += top - ordered[-2]
        bets[:] = [0.0] * n

    for i, blind in enumerate(blinds):
        if blind:
            pay_to(i, blind)
    for action in hand["actions"]:
        words = action.split()
        if words[0] == "d":
            if words[1] == "db":
                end_street()
            continue
        i = int(words[0][1:]) - 1
        if words[1] == "cc":
            pay_to(i, max(bets))
        elif words[1] == "cbr":
            pay_to(i, float(words[2]))
    end_street()
    return [s + w for s, w in zip(stacks, hand["winnings"])]


def main(path):
    with open(path, "rb") as f:
        document = tomllib.load(f)
    if not document:
        print(f"{path}: no hands")
        return 1
    failed = 0
    for name, hand in document.items():
        for field in ("variant", "antes", "blinds_or_straddles", "starting_stacks", "actions"):
            if field not in hand:
                print(f"{name}: no {field}")
                failed += 1
        final = replay(hand)
        if any(abs(a - b) > 0.005 for a, b in zip(final, hand["finishing_stacks"])):
            print(f"{name}: replayed {final}, finishing_stacks {hand['finishing_stacks']}")
            failed += 1
    print(f"{len(document)} hands, {failed} faults")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
