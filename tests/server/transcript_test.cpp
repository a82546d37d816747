// The house's behaviour pinned line by line: a seeded room with bots at
// every table runs on a manual clock while three scripted clients register,
// log in, sit down, play (blinds, calls, raises, all-ins, timeouts, a
// refused blind, re-buys), chat, watch, list the tables, leave, log in from
// another place and see the house close. Each connection's transcript is
// written by the server's own ConnectionLog and compared with
// tests/server/golden/. After an intended change in what the house sends,
// run the test with TESSALY_UPDATE_GOLDEN=1 to write the files anew and
// review their diff.

#include "ManualTimers.h"

#include "server/db/PasswordHash.h"
#include "server/game/Room.h"
#include "server/net/ConnectionLog.h"
#include "server/protocol/Catalogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tessaly::house {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A server line's fields, the keyword first.
std::vector<std::string> fieldsOf(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        out.push_back(field);
    return out;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The room's lines through one ConnectionLog per connection, as the game
// server writes them, with the time each line went on the manual clock.
class TranscriptOutput : public RoomOutput {
public:
    TranscriptOutput(test::ManualTimers& clock, fs::path dir) : clock_(clock), dir_(std::move(dir)) {}

    void open(ConnId conn)
    {
        logs_[conn] = std::make_unique<ConnectionLog>(dir_.string(), conn, "script");
        stamp(conn);
    }
    void received(ConnId conn, const std::string& line)
    {
        logs_.at(conn)->received(line);
        stamp(conn);
    }
    void note(ConnId conn, const std::string& text)
    {
        logs_.at(conn)->note(text);
        stamp(conn);
    }
    // The log's last line, "closed".
    void finish(ConnId conn)
    {
        if (logs_.erase(conn))
            stamp(conn);
    }
    bool isOpen(ConnId conn) const { return logs_.count(conn) > 0; }

    void send(ConnId conn, const std::string& line) override
    {
        // The lobby's list carries the wall clock's "HH:MM"; everything
        // else the house sends depends only on the seed and the script.
        std::string shown = line;
        if (const std::size_t te = shown.find("\tTE:\t"); shown.rfind("START_TABLE", 0) == 0 && te != std::string::npos)
            shown.replace(te + 5, shown.find('\t', te + 5) - te - 5, "--:--");
        if (const std::string why = catalogueError(line); !why.empty())
            faults.push_back(why + ": " + line);
        if (auto it = logs_.find(conn); it != logs_.end()) {
            it->second->sent(shown);
            stamp(conn);
        }
        if (onLine)
            onLine(conn, line);
    }
    void close(ConnId conn) override
    {
        if (onClose)
            onClose(conn);
    }

    // conn-N.txt with each line's wall-clock stamp replaced by the manual
    // clock's seconds since the start.
    std::string transcript(ConnId conn) const
    {
        std::istringstream in(readFile(dir_ / ("conn-" + std::to_string(conn) + ".txt")));
        const std::vector<long>& at = times_.at(conn);
        std::string out, line;
        std::size_t i = 0;
        for (; std::getline(in, line); ++i) {
            constexpr std::size_t kStamp = 23; // "YYYY-MM-DD HH:MM:SS.mmm"
            char time[32];
            const long ms = i < at.size() ? at[i] : -1;
            std::snprintf(time, sizeof time, "%6ld.%03ld", ms / 1000, ms % 1000);
            out += time + line.substr(std::min(kStamp, line.size())) + "\n";
        }
        EXPECT_EQ(i, at.size()) << "lines in the transcript of connection " << conn;
        return out;
    }

    std::function<void(ConnId, const std::string&)> onLine;
    std::function<void(ConnId)> onClose;
    std::vector<std::string> faults;

private:
    void stamp(ConnId conn)
    {
        times_[conn].push_back(static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(clock_.now().time_since_epoch()).count()));
    }

    test::ManualTimers& clock_;
    fs::path dir_;
    std::map<ConnId, std::unique_ptr<ConnectionLog>> logs_;
    std::map<ConnId, std::vector<long>> times_;
};

// A scripted person at a table: posts blinds, answers prompts after a
// moment's thought by a fixed rule, and sometimes lets the clock run out.
struct Player {
    enum class Style { Caller, Shover };
    std::string name;
    Style style = Style::Caller;
    int table = -1;
    int seat = -1;
    int prompts = 0;
    int blinds = 0;
    int rebuys = 0;
    int mucks = 0;
};

class Script {
public:
    static constexpr ConnId kAlice = 1, kBob = 2, kWatcher = 3, kAliceAgain = 4;

    Script(const fs::path& dir) : out_(clock_, dir)
    {
        RoomSettings settings; // normal pace, 20 s to act, three bots a table
        settings.table.mixEntropy = false;
        room_ = std::make_unique<Room>(defaultRoom(), settings, store_, passwords_, clock_, out_,
                                       RandomStream("transcript"));
        out_.onLine = [this](ConnId conn, const std::string& line) { react(conn, line); };
        out_.onClose = [this](ConnId conn) { clock_.after(0ms, [this, conn] { disconnect(conn); }); };
        players_[kAlice].name = "Alice";
        players_[kBob].name = "Bob";
        players_[kBob].style = Player::Style::Shover;
        players_[kAliceAgain].name = "Alice";
    }

    void run()
    {
        at(0ms, [this] {
            for (ConnId c : {kAlice, kBob, kWatcher})
                connect(c);
            room_->startBots();
        });
        say(100ms, kAlice, "REGISTER_PLAYER:\tAlice\tsecret1\talice@example.com\r");
        say(100ms, kBob, "REGISTER_PLAYER:\tBob\tsecret2\t bob@example.com \r");
        say(150ms, kWatcher, "REGISTER_PLAYER:\talice\tother\tcarol@example.com\r"); // the name is taken
        say(200ms, kAlice, "LOGIN:\tAlice\tsecret1\r");
        say(200ms, kBob, "LOGIN:\tBob\twrong\r");
        say(250ms, kBob, "LOGIN:\tBob\tsecret2\r");
        say(300ms, kWatcher, "LIST_TABLES");
        say(300ms, kWatcher, "WATCH_TABLE:\t0\r");
        say(400ms, kAlice, "ACCOUNT_BALANCE_PM:\tAlice\r");
        say(400ms, kAlice, "QUICK_CASHIER:\tAlice\r");
        say(500ms, kAlice, "REQUEST_PLAYERS:\t0\r");
        say(600ms, kAlice, "JOIN_GAME:\tAlice\t0\t9\t50.00\r"); // over the maximum
        say(700ms, kAlice, "JOIN_GAME:\tAlice\t0\t9\t8.00\r");
        say(800ms, kBob, "JOIN_GAME:\tBob\t0\t9\t2.00\r"); // Alice has the seat
        say(900ms, kBob, "JOIN_GAME:\tBob\t0\t5\t2.00\r");
        say(1000ms, kBob, "JOIN_GAME:\tBob\t1\t2\t5.00\r"); // one table at a time
        say(2min, kAlice, "SEND_MESSAGE:\tAlice\t0\tgood luck\tall\t");
        say(2min + 10ms, kBob, "SEND_MESSAGE:\tMallory\t0\tnot my name\t");
        for (int i = 0; i < 6; ++i)
            say(3min + i * 100ms, kBob, "SEND_MESSAGE:\tBob\t0\tline " + std::to_string(i) + "\t");
        say(4min, kAlice, "ENTROPY:\t0\t123456789\r");
        say(8min, kAlice, "DEAL_ME_OUT:\t0\r");
        say(10min, kAlice, "IM_BACK:\t0\r");
        say(12min, kAlice, "QUICK_CHIPS:\t0\t9\t1.00\r");
        say(12min + 1s, kAlice, "QUICK_CHIPS:\t0\t9\t10.00\r"); // over the maximum
        say(15min, kWatcher, "LIST_TABLES");
        say(15min, kWatcher, "REQUEST_PLAYERS:\t0\r");
        say(15min, kWatcher, "WATCH_TABLE:\t3\r");
        say(20min, kBob, "CLOSE_WINDOW:\t0\r");
        say(20min + 1s, kBob, "ACCOUNT_BALANCE_PM:\tBob\r");
        say(22min, kWatcher, "CLOSE_WINDOW:\t0\r");
        at(25min, [this] { connect(kAliceAgain); });
        say(25min + 100ms, kAliceAgain, "LOGIN:\tAlice\tsecret1\r"); // the first connection ends
        say(25min + 200ms, kAliceAgain, "RELOAD_MONEY\tAlice\r");
        say(25min + 300ms, kAliceAgain, "ACCOUNT_BALANCE_PM:\tAlice\r");
        say(30min, kWatcher, "CLOSE_WINDOW:\t3\r");
        say(61min, kWatcher, "LIST_TABLES");
        say(80min, kAliceAgain, "WATCH_TABLE:\t3\r");
        say(80min + 1s, kAliceAgain, "JOIN_GAME:\tAlice\t3\t0\t40.00\r");
        say(80min + 2s, kAliceAgain, "JOIN_GAME:\tAlice\t3\t1\t40.00\r");
        say(80min + 3s, kAliceAgain, "JOIN_GAME:\tAlice\t3\t2\t40.00\r");
        say(92min, kWatcher, "LIST_TABLES");
        say(92min, kWatcher, "REQUEST_PLAYERS:\t3\r");
        for (auto t : {10min, 30min, 60min, 90min, 95min})
            at(t, [this] { out_.note(kWatcher, statsText()); });
        at(95min, [this] { room_->shutdown(); });
        clock_.advance(96min);
        for (ConnId c : {kAlice, kBob, kWatcher, kAliceAgain})
            disconnect(c);
    }

    std::string transcript(ConnId conn) const { return out_.transcript(conn); }
    const std::vector<std::string>& faults() const { return out_.faults; }
    MoneyTotals totals() { return store_.totals(); }

private:
    void at(Millis when, std::function<void()> work) { clock_.after(when, std::move(work)); }
    void say(Millis when, ConnId conn, std::string line)
    {
        at(when, [this, conn, line = std::move(line)] { client(conn, line); });
    }
    void later(Millis delay, ConnId conn, std::string line)
    {
        clock_.after(delay, [this, conn, line = std::move(line)] { client(conn, line); });
    }
    void client(ConnId conn, const std::string& line)
    {
        if (!out_.isOpen(conn))
            return;
        out_.received(conn, line);
        room_->handle(conn, line);
    }
    void connect(ConnId conn)
    {
        out_.open(conn);
        room_->connected(conn);
    }
    void disconnect(ConnId conn)
    {
        if (!out_.isOpen(conn))
            return;
        room_->disconnected(conn);
        out_.finish(conn);
    }

    std::string statsText()
    {
        const RoomStats s = room_->stats();
        const MoneyTotals m = store_.totals();
        return "stats tables " + std::to_string(s.tables) + " live " + std::to_string(s.liveUsers) + " persons " +
               std::to_string(s.persons) + " bots " + std::to_string(s.seatedBots) + " hands " +
               std::to_string(s.hands) + " on tables " + std::to_string(room_->chipsOnTables()) + " balances " +
               std::to_string(m.balances) + " grants " + std::to_string(m.grants);
    }

    void react(ConnId conn, const std::string& line)
    {
        const auto it = players_.find(conn);
        const std::vector<std::string> f = fieldsOf(line);
        if (it == players_.end() || f.empty())
            return;
        Player& p = it->second;
        const std::string& kind = f[0];
        if (kind == "YOU_JOINED_TABLE:") {
            p.table = std::stoi(f[1]);
            p.seat = std::stoi(f[2]);
        } else if (kind == "GSB:" || kind == "GBB:") {
            ++p.blinds;
            if (p.style == Player::Style::Shover && p.blinds % 7 == 3)
                later(700ms, conn, "NO_POST:\t" + f[1] + "\r");
            else
                later(700ms, conn, (kind == "GSB:" ? "xPSB:\t" : "xPBB:\t") + f[1] + "\t" + std::to_string(p.seat) + "\r");
        } else if (kind == "ACTION:") {
            if (std::string reply = answer(p, f); !reply.empty())
                later(1200ms, conn, std::move(reply));
        } else if (kind == "YOU_BRAG:" && p.prompts % 2 == 1) {
            later(500ms, conn, "BRAG_OKAY:\t" + f[1] + "\r");
        } else if (kind == "MUCK_SHOW:" && ++p.mucks % 2 == 1) {
            later(500ms, conn, "SHOW_LOST:\t" + f[1] + "\t" + std::to_string(p.seat) + "\r");
        } else if (kind == "PLAYER_OUT:" && std::stoi(f[2]) == p.seat) {
            // Dealt out: the shover buys more chips a few times, the caller
            // comes back after a while.
            if (p.style == Player::Style::Caller) {
                later(30s, conn, "IM_BACK:\t" + f[1] + "\r");
            } else if (p.rebuys++ < 8) {
                later(3s, conn, "QUICK_CHIPS:\t" + f[1] + "\t" + std::to_string(p.seat) + "\t2.00\r");
                later(4s, conn, "IM_BACK:\t" + f[1] + "\r");
            }
        }
    }

    // The reply to "ACTION:"; an empty line lets the turn time out.
    static std::string answer(Player& p, const std::vector<std::string>& f)
    {
        const int n = ++p.prompts;
        const std::string reply = "REPLY:\t" + f[1] + "\t";
        if (p.style == Player::Style::Shover)
            return reply + "7\r";
        if (n % 11 == 5 || n % 11 == 6)
            return {}; // twice in a row: dealt out after the hand
        const int prompt = std::stoi(f[2]);
        if (n % 4 == 0 && (prompt == 0 || prompt == 2)) {
            const std::string& min = f[prompt == 0 ? 3 : 4];
            return reply + "5\t" + min + "\r";
        }
        if (n % 13 == 0)
            return reply + "4\r";
        return reply + (prompt == 0 ? "6\r" : prompt == 1 ? "7\r" : "3\r");
    }

    test::ManualTimers clock_;
    TranscriptOutput out_;
    AccountStore store_{":memory:"};
    InlinePasswordWork passwords_;
    std::unique_ptr<Room> room_;
    std::map<ConnId, Player> players_;
};

// The first line where two texts part, for a short failure message.
std::string firstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream e(expected), a(actual);
    std::string le, la;
    for (int n = 1;; ++n) {
        const bool he = static_cast<bool>(std::getline(e, le)), ha = static_cast<bool>(std::getline(a, la));
        if (!he && !ha)
            return "same lines, different bytes";
        if (le != la || he != ha)
            return "line " + std::to_string(n) + "\n  golden: " + (he ? le : "<end>") + "\n  now:    " + (ha ? la : "<end>");
    }
}

TEST(Transcript, SeededRoomSendsExactlyTheGoldenLines)
{
    const char* source = std::getenv("TESSALY_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const fs::path golden = fs::path(source) / "tests/server/golden";
    const fs::path work = fs::temp_directory_path() / ("tessaly-transcript-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work);

    Script script(work);
    script.run();
    EXPECT_TRUE(script.faults().empty()) << script.faults().front();
    // Every chip went home when the house closed.
    const MoneyTotals t = script.totals();
    EXPECT_EQ(t.seatStacks, 0);
    EXPECT_EQ(t.balances, t.grants);

    const bool update = std::getenv("TESSALY_UPDATE_GOLDEN") != nullptr;
    std::string all;
    for (ConnId c : {Script::kAlice, Script::kBob, Script::kWatcher, Script::kAliceAgain}) {
        const std::string file = "conn-" + std::to_string(c) + ".txt";
        const std::string now = script.transcript(c);
        all += now;
        if (update) {
            fs::create_directories(golden);
            std::ofstream(golden / file, std::ios::binary) << now;
            continue;
        }
        const std::string expected = readFile(golden / file);
        EXPECT_FALSE(expected.empty()) << "no golden " << (golden / file);
        if (expected != now) {
            std::ofstream(work / (file + ".now"), std::ios::binary) << now;
            ADD_FAILURE() << file << " differs from the golden one at " << firstDifference(expected, now)
                          << "\n  whole transcript: " << (work / (file + ".now"));
        }
    }
    // The script reaches what it is there for; a change of seed or script
    // that loses one of these needs a new script, not just new files.
    for (const char* wanted : {"(side pot 1)", "(main pot)", "Uncalled bet", "NO_POST", "Please slow down",
                               "You have logged in from another place", "house is closing", "YOU_BRAG:",
                               "MUCK_SHOW:", "SHOW_LOST:", "WAKEUP:", "PLAYER_OUT:", "GBB:", "REG_FAIL"}) {
        EXPECT_NE(all.find(wanted), std::string::npos) << wanted;
    }
    if (!HasFailure())
        fs::remove_all(work);
}

} // namespace
} // namespace tessaly::house
