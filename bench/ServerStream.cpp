#include "bench/ServerStream.h"

#include <string>

namespace tessaly::bench {
namespace {

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    int below(int n)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t state_;
};

const char* const kNames[] = {"RiverRat", "SlowRoll", "AceKicker", "NutFlush", "Donkey42",
                              "FoldEquity", "TiltMaster", "ChipLeader", "Bluffalo", "Grinder"};
const char* const kChat[] = {"nice hand", "gl all", "ty", "wow, what a river", "lol",
                             "why would you call that", "ship it", "brb", "gg", "sick"};

std::string tableList()
{
    std::string line = "START_TABLE";
    for (int t = 0; t < 30; ++t) {
        line += "\tSB:\t1\tBB:\t2\tMINB:\t20\tMAXB:\t200\tT\tTable " + std::to_string(t) +
                "\tG\t1000\tM\t10\tS\t$1/$2 NL\tPR\t" + std::to_string(t % 10) + "\tVX:\t35\tWT\t0\tPF\t40\tHR\t80";
    }
    return line + "\tTE:\t12:34:56\t742\t30\tEND_TABLE";
}

void hand(std::vector<std::string>& out, Random& rnd, int t, int number)
{
    const std::string id = std::to_string(t);
    const int players = 3 + rnd.below(7);
    std::string newHand = "NEW_HAND:\tTable\t" + id + "\tPlayers\t" + std::to_string(players) + "\tSeats";
    for (int s = 0; s < players; ++s)
        newHand += "\t" + std::to_string(s) + "\t2002";
    out.push_back(newHand);
    out.push_back("SEND_MESSAGE:\tDealer\t" + id + "\t#" + std::to_string(number) + " hand starting");
    out.push_back("HISTORY_DEALER:\t" + id + "\t" + std::to_string(number % players));
    out.push_back("HISTORY_PACKET:\t" + id + "\t1\t10\t1");
    out.push_back("HISTORY_PACKET:\t" + id + "\t2\t10\t2");
    out.push_back("SEND_MESSAGE:\tDealer\t" + id + "\tDealing down hole cards");
    out.push_back("YOUR_CARD:\t" + id + "\t0\t" + std::to_string(rnd.below(52)) + "\t" + std::to_string(rnd.below(52)));
    for (int street = 0; street < 4; ++street) {
        if (street == 1)
            out.push_back("COMM_CARDS:\t" + id + "\t1004\t" + std::to_string(rnd.below(52)) + "\t" +
                          std::to_string(rnd.below(52)) + "\t" + std::to_string(rnd.below(52)));
        else if (street > 1)
            out.push_back("COMM_CARDS:\t" + id + "\t" + std::to_string(1003 + street) + "\t" + std::to_string(rnd.below(52)));
        for (int s = 0; s < players; ++s) {
            const std::string seat = std::to_string(s);
            out.push_back("HISTORY_ONBUTTON:\t" + id + "\t" + seat + "\t" + std::to_string(100 + rnd.below(900)));
            if (s == 0) {
                out.push_back("ACTION:\t" + id + "\t2\t4\t8");
                out.push_back("CLEAR_ACTION:\t" + id);
            }
            switch (rnd.below(4)) {
            case 0: out.push_back("HISTORY_PACKET:\t" + id + "\t" + seat + "\t6\t" + std::to_string(rnd.below(1000))); break;
            case 1: out.push_back("HISTORY_PACKET:\t" + id + "\t" + seat + "\t3\t4\t" + std::to_string(rnd.below(1000))); break;
            case 2: out.push_back("HISTORY_PACKET:\t" + id + "\t" + seat + "\t5\t12.50\t" + std::to_string(rnd.below(1000))); break;
            default: out.push_back("HISTORY_PACKET:\t" + id + "\t" + seat + "\t4\t" + std::to_string(rnd.below(1000))); break;
            }
            if (rnd.below(5) == 0)
                out.push_back(std::string("SEND_MESSAGE:\t") + kNames[rnd.below(10)] + "\t" + id + "\t" + kChat[rnd.below(10)]);
        }
        out.push_back("POTS:\t" + id + "\t2\t" + std::to_string(20 + rnd.below(500)) + "\t" + std::to_string(rnd.below(50)));
    }
    out.push_back("SOME_CARDS:\t" + id + "\t1\t" + std::to_string(rnd.below(52)) + "\t" + std::to_string(rnd.below(52)));
    out.push_back("SEND_MESSAGE:\tDealer\t" + id + "\t" + kNames[rnd.below(10)] + " wins the pot (" +
                  std::to_string(rnd.below(900)) + ")");
    out.push_back("USER_MONEY:\t" + id + "\t1\t" + std::to_string(rnd.below(2000)));
    out.push_back("HISTORY_CLEARTABLE:\t" + id);
}

} // namespace

std::vector<std::string> ServerStream::lines(std::size_t minLines, std::uint32_t seed)
{
    Random rnd(seed);
    std::vector<std::string> out;
    out.push_back("LOGIN_SUCCESS");
    int number = 1000;
    while (out.size() < minLines) {
        if (number % 200 == 0)
            out.push_back(tableList());
        hand(out, rnd, rnd.below(8), number++);
    }
    return out;
}

std::string ServerStream::bytes(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out.append(line).append("\r");
    return out;
}

} // namespace tessaly::bench
