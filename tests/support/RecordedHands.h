#pragma once
// Whole hands at table 3 as the house server sends them, for the hand
// events, the hand log and the hand histories. Ann sits at seat 0, Nimbus at
// seat 2 and Bo at seat 5, 10 chips each; blinds 0.10 and 0.20.
// Cards: (rank - 2) * 4 + suit, suits diamonds, hearts, clubs, spades.

#include <string>
#include <vector>

namespace tessaly::recorded {

struct Hand {
    const char* name;
    std::vector<std::string> lines;
};

inline std::vector<std::string> seating()
{
    // Table 3 is the fourth record of the table list.
    std::string list = "START_TABLE";
    for (const char* name : {"Elm", "Fir", "Oak", "Marsh"}) {
        list += std::string("\tSB:\t0.1\tBB:\t0.2\tMINB:\t4\tMAXB:\t20\tT\t") + name +
                "\tG\t1000\tM\t10\tS\t0.10/0.20\tPR\t3\tVX:\t0\tWT\t0\tPF\t0\tHR\t0";
    }
    return {
        list + "\tEND_TABLE",
        "JOINED_TABLE:\t3\t0\tAnn\t10",
        "JOINED_TABLE:\t3\t2\tNimbus\t10",
        "JOINED_TABLE:\t3\t5\tBo\t10",
    };
}

// The start every hand shares: number n, the three players dealt, the
// button at seat 0, the blinds of Nimbus (his stack after it given) and Bo,
// the deal.
inline std::vector<std::string> handStart(int n, const std::string& nimbusAfterBlind = "9.9")
{
    const std::string t = "\t3\t";
    return {
        "CLEAN_TABLE\t3",
        "SEND_MESSAGE:\tDealer" + t + std::to_string(n) + " hand starting",
        "NEW_HAND:\ttable\t3\tplayers\t3\tseats\t0\t2002\t2\t2002\t5\t2002",
        "HISTORY_DEALER:\t3\t0",
        "HISTORY_PACKET:\t3\t2\t10\t0.1",
        "USER_MONEY:\t3\t2\t" + nimbusAfterBlind,
        "SEND_MESSAGE:\tDealer\t3\tNimbus posts the small blind of 0.10",
        "HISTORY_PACKET:\t3\t5\t10\t0.2",
        "USER_MONEY:\t3\t5\t9.8",
        "SEND_MESSAGE:\tDealer\t3\tBo posts the big blind of 0.20",
        "SEND_MESSAGE:\tDealer\t3\tDealing down hole cards",
    };
}

inline std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Raise, call, fold; a bet on the flop that nobody calls.
inline Hand foldToABet()
{
    return {"fold to a bet", join(handStart(41), {
        "HISTORY_ONBUTTON:\t3\t0\t10",
        "HISTORY_PACKET:\t3\t0\t5\t0.6\t9.4",
        "HISTORY_PACKET:\t3\t2\t3\t0.6\t9.4",
        "HISTORY_PACKET:\t3\t5\t4\t9.8",
        "POTS:\t3\t1\t1.4",
        "COMM_CARDS:\t3\t1004\t28\t33\t27",
        "SEND_MESSAGE:\tDealer\t3\tThe flop: 9d Th 8s",
        "HISTORY_PACKET:\t3\t2\t6\t9.4",
        "HISTORY_PACKET:\t3\t0\t5\t1\t8.4",
        "HISTORY_PACKET:\t3\t2\t4\t9.4",
        "USER_MONEY:\t3\t0\t9.4",
        "SEND_MESSAGE:\tDealer\t3\tUncalled bet of 1 returned to Ann",
        "USER_MONEY:\t3\t0\t10.8",
        "POTS:\t3\t1\t0",
        "SEND_MESSAGE:\tDealer\t3\tAnn wins 1.40 chips",
    })};
}

// Nimbus, down to 4 chips, is all in before the flop; Bo and Ann go on to a side pot, the
// main pot is split and Bo takes the side pot at the showdown.
inline Hand allInSidePotSplit()
{
    return {"all-in, side pot, split pot, showdown", join(join({"USER_MONEY:\t3\t2\t4"}, handStart(42, "3.9")), {
        "HISTORY_PACKET:\t3\t0\t5\t1\t9",
        "HISTORY_PACKET:\t3\t2\t7\t4",
        "HISTORY_PACKET:\t3\t5\t3\t4\t6",
        "HISTORY_PACKET:\t3\t0\t3\t4\t6",
        "POTS:\t3\t1\t12",
        "COMM_CARDS:\t3\t1004\t28\t33\t27",
        "HISTORY_PACKET:\t3\t5\t5\t2\t4",
        "HISTORY_PACKET:\t3\t0\t3\t2\t4",
        "POTS:\t3\t2\t12\t4",
        "COMM_CARDS:\t3\t1005\t0",
        "HISTORY_PACKET:\t3\t5\t6\t4",
        "HISTORY_PACKET:\t3\t0\t6\t4",
        "COMM_CARDS:\t3\t1006\t51",
        "HISTORY_PACKET:\t3\t5\t6\t4",
        "HISTORY_PACKET:\t3\t0\t6\t4",
        "SOME_CARDS:\t3\t0\t36\t40",
        "SOME_CARDS:\t3\t2\t3\t7",
        "SOME_CARDS:\t3\t5\t37\t41",
        "SEND_MESSAGE:\tDealer\t3\tNimbus looses with high card",
        "SEND_MESSAGE:\tDealer\t3\tAnn wins 6 chips with a straight (main pot)",
        "SEND_MESSAGE:\tDealer\t3\tBo wins 6 chips with a straight (main pot)",
        "SEND_MESSAGE:\tDealer\t3\tBo wins 4 chips with a straight (side pot 1)",
        "USER_MONEY:\t3\t0\t10",
        "USER_MONEY:\t3\t5\t14",
        "POTS:\t3\t2\t0\t0",
    })};
}

// The big blind never comes: the hand is called off and the blind returned.
inline Hand cancelled()
{
    return {"cancelled", {
        "CLEAN_TABLE\t3",
        "SEND_MESSAGE:\tDealer\t3\t43 hand starting",
        "NEW_HAND:\ttable\t3\tplayers\t2\tseats\t0\t2002\t2\t2002",
        "HISTORY_DEALER:\t3\t0",
        "HISTORY_PACKET:\t3\t0\t10\t0.1",
        "USER_MONEY:\t3\t0\t9.9",
        "USER_MONEY:\t3\t0\t10",
        "SEND_MESSAGE:\tDealer\t3\tNot enough players: the hand is cancelled",
    }};
}

} // namespace tessaly::recorded
