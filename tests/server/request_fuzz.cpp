// Any bytes from a client: the room must neither crash nor send a line the
// catalogue does not allow, and not one chip may appear or vanish.

#include "tests/server/ManualTimers.h"

#include "server/game/Room.h"
#include "server/net/LineFramer.h"

#include <cstdlib>
#include <cstdio>

namespace {

using namespace tessaly::house;

// Plain passwords: the slow hash would only slow the fuzzer down.
class PlainPasswords : public PasswordWork {
public:
    void hash(std::string password, std::function<void(std::string)> done) override { done(password); }
    void verify(std::string hash, std::string password, std::function<void(bool)> done) override
    {
        done(hash == password);
    }
};

std::vector<TableConfig> smallRoom()
{
    std::vector<TableConfig> tables = defaultRoom();
    tables.resize(3); // no limit, pot limit and fixed limit
    return tables;
}

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::ManualTimers clock;
    test::RecordingOutput output;
    AccountStore store(":memory:");
    PlainPasswords passwords;
    RoomSettings settings;
    settings.table.fast = true;
    settings.botsPerTable = 2;
    Room room(smallRoom(), settings, store, passwords, clock, output, RandomStream("fuzz"));
    room.startBots();
    store.create("fuzz", "fuzz@example.com", "pw", false);
    room.connected(1);
    room.connected(2);
    room.handle(1, "LOGIN:\tfuzz\tpw\r");

    // The first byte of each message picks the connection and how far the clock runs.
    LineFramer framer;
    std::vector<std::string> messages;
    framer.feed(std::string_view(reinterpret_cast<const char*>(data), size), messages);
    for (const std::string& m : messages) {
        const unsigned char pick = m.empty() ? 0 : static_cast<unsigned char>(m[0]);
        const ConnId conn = (pick & 1) ? 2 : 1;
        room.handle(conn, m.empty() ? m : m.substr(1));
        for (int i = 0; i < (pick >> 4); ++i)
            clock.step();
        if (pick == 0xff) {
            room.disconnected(conn);
            room.connected(conn);
        }
        const MoneyTotals t = store.totals();
        check(t.balances + room.chipsOnTables() == t.grants, "chips not conserved");
        check(output.faults.empty(), output.faults.empty() ? "" : output.faults.front().c_str());
    }
    room.shutdown();
    const MoneyTotals t = store.totals();
    check(t.balances == t.grants && t.seatStacks == 0, "chips not returned at shutdown");
    return 0;
}
