#include "server/protocol/Catalogue.h"

#include <cctype>
#include <functional>
#include <map>
#include <vector>

namespace tessaly::house {
namespace {

bool isInteger(std::string_view f)
{
    std::size_t i = (!f.empty() && f[0] == '-') ? 1 : 0;
    if (i >= f.size())
        return false;
    for (; i < f.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(f[i])))
            return false;
    }
    return true;
}

bool isMoney(std::string_view f)
{
    const std::size_t dot = f.find('.');
    const std::string_view whole = f.substr(0, dot);
    if (whole.empty() || !isInteger(whole))
        return false;
    if (dot == std::string_view::npos)
        return true;
    const std::string_view frac = f.substr(dot + 1);
    if (frac.empty())
        return false;
    for (char c : frac) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

class Fields {
public:
    explicit Fields(std::vector<std::string_view> f) : f_(std::move(f)) {}

    bool more() const { return at_ < f_.size(); }
    std::size_t left() const { return f_.size() - at_; }
    std::string_view next()
    {
        if (!more()) {
            fail("missing field");
            return {};
        }
        return f_[at_++];
    }

    long integer(long lo, long hi, const char* what)
    {
        const std::string_view f = next();
        if (!isInteger(f))
            return fail(std::string(what) + " is not an integer");
        const long v = std::stol(std::string(f));
        if (v < lo || v > hi)
            return fail(std::string(what) + " out of range");
        return v;
    }
    long table() { return integer(0, 49, "table id"); }
    long seat() { return integer(0, 9, "seat"); }
    void seatOrNone()
    {
        const long s = integer(0, 69, "seat");
        if (s > 9 && s != 69)
            fail("seat out of range");
    }
    void card()
    {
        const long c = integer(0, 69, "card");
        if (c > 51 && c != 69)
            fail("card out of range");
    }
    void money(const char* what)
    {
        if (!isMoney(next()))
            fail(std::string(what) + " is not an amount");
    }
    void text(std::size_t maxLength, const char* what)
    {
        if (next().size() > maxLength)
            fail(std::string(what) + " too long");
    }
    void label() { next(); }
    void key(std::string_view expected)
    {
        if (next() != expected)
            fail("expected key " + std::string(expected));
    }

    long fail(std::string why)
    {
        if (error_.empty())
            error_ = std::move(why);
        at_ = f_.size();
        return 0;
    }
    std::string finish()
    {
        if (error_.empty() && more())
            error_ = "extra fields";
        return error_;
    }
    bool failed() const { return !error_.empty(); }

private:
    std::vector<std::string_view> f_;
    std::size_t at_ = 0;
    std::string error_;
};

void tableList(Fields& f)
{
    int records = 0;
    bool time = false;
    for (;;) {
        if (!f.more())
            return void(f.fail("no END_TABLE"));
        const std::string_view key = f.next();
        if (key == "END_TABLE")
            break;
        if (key == "TE:") {
            f.text(127, "server time");
            f.integer(0, 1000000, "live users");
            f.integer(0, 50, "tables");
            time = true;
            continue;
        }
        if (key != "SB:")
            return void(f.fail("record does not start with SB:"));
        f.money("small blind");
        f.key("BB:"), f.money("big blind");
        f.key("MINB:"), f.money("minimum buy-in");
        f.key("MAXB:"), f.money("maximum buy-in");
        f.key("T"), f.text(127, "table name");
        f.key("G"), f.integer(1000, 1002, "game type");
        f.key("M");
        const long seats = f.integer(6, 10, "seats");
        if (seats != 6 && seats != 10)
            f.fail("seats must be 6 or 10");
        f.key("S"), f.text(127, "stakes");
        f.key("PR"), f.integer(0, 10, "players");
        f.key("VX:"), f.integer(0, 2000000000, "average pot");
        f.key("WT"), f.integer(0, 1000, "waiting");
        f.key("PF"), f.integer(0, 100, "players per flop");
        f.key("HR"), f.integer(0, 100000, "hands per hour");
        if (++records > 50)
            return void(f.fail("more than 50 tables"));
        if (f.failed())
            return;
    }
    if (!time)
        f.fail("no TE: entry");
}

void init(Fields& f)
{
    f.label(), f.table();
    f.label(), f.integer(1001, 1010, "phase");
    f.label(), f.seatOrNone();
    f.label();
    const long n = f.integer(0, 10, "player count");
    f.label(), f.seatOrNone();
    f.label();
    for (int i = 0; i < 5; ++i)
        f.card();
    f.label(), f.money("amount");
    f.label(), f.integer(0, 1000000, "number");
    f.label(), f.money("pot");
    for (long i = 0; i < n && !f.failed(); ++i) {
        f.label(), f.text(255, "name");
        f.label(), f.money("stack");
        f.label(), f.money("in front");
        f.label(), f.seat();
        f.label(), f.integer(2002, 2004, "seat state");
    }
}

void action(Fields& f)
{
    f.table();
    switch (f.integer(0, 22, "prompt kind")) {
    case 0:
        f.money("minimum bet");
        break;
    case 2:
        f.money("to call"), f.money("minimum raise");
        break;
    case 22:
        f.money("to call");
        break;
    case 1:
        break;
    default:
        f.fail("prompt kind");
    }
}

void history(Fields& f)
{
    f.table(), f.seat();
    switch (f.integer(3, 10, "history kind")) {
    case 3:
    case 5:
        f.money("in front"), f.money("stack");
        break;
    case 7:
    case 10:
        f.money("in front");
        break;
    case 4:
    case 6:
    case 8:
        f.money("stack");
        break;
    default:
        f.fail("history kind");
    }
}

void board(Fields& f)
{
    f.table();
    const long code = f.integer(1004, 1006, "board code");
    for (int i = 0; i < (code == 1004 ? 3 : 1); ++i)
        f.card();
}

using Rule = std::function<void(Fields&)>;

const std::map<std::string_view, Rule>& rules()
{
    const auto t = [](Fields& f) { f.table(); };
    const auto ts = [](Fields& f) { f.table(), f.seat(); };
    const auto tsCards = [](Fields& f) { f.table(), f.seat(), f.card(), f.card(); };
    const auto none = [](Fields&) {};
    const auto text = [](Fields& f) { f.text(4000, "text"); };
    const auto seatName = [](Fields& f) { f.table(), f.seat(), f.text(255, "name"), f.money("stack"); };
    const auto blind = [](Fields& f) { f.table(), f.money("blind"); };
    static const std::map<std::string_view, Rule> r{
        {"RQC:", [](Fields& f) { f.text(255, "e-mail"), f.money("available"), f.money("in play"), f.money("total"); }},
        {"LIST:",
         [](Fields& f) {
             const long n = f.integer(0, 10, "player count");
             for (long i = 0; i < n && !f.failed(); ++i)
                 f.text(127, "number"), f.text(255, "name"), f.text(127, "amount");
         }},
        {"CLEAN_TABLE", t},
        {"SM:", text},
        {"CA:", text},
        {"PRD:", ts},
        {"CLEAR_ACTION:", t},
        {"MUCK_SHOW:", t},
        {"WAKEUP:", t},
        {"YOU_WIN:", t},
        {"YOU_BRAG:", t},
        {"PLAYER_OUT:", ts},
        {"LEFT_GAME:", ts},
        {"POTS:",
         [](Fields& f) {
             f.table();
             const long n = f.integer(0, 10, "pot count");
             for (long i = 0; i < n; ++i)
                 f.money("pot");
         }},
        {"YOUR_CARD:", tsCards},
        {"NEW_HAND:",
         [](Fields& f) {
             f.label(), f.table(), f.label();
             const long n = f.integer(1, 10, "player count");
             f.label();
             for (long i = 0; i < n; ++i)
                 f.seat(), f.integer(2002, 2004, "seat state");
         }},
        {"INIT:", init},
        {"ACTION:", action},
        {"GBB:", blind},
        {"GSB:", blind},
        {"USER_MONEY:", [](Fields& f) { f.table(), f.seat(), f.money("stack"); }},
        {"HISTORY_PACKET:", history},
        {"SOME_CARDS:", tsCards},
        {"JOINED_TABLE:", seatName},
        {"YOU_JOINED_TABLE:", seatName},
        {"HISTORY_CLEARTABLE:", t},
        {"COMM_CARDS:", board},
        {"HISTORY_DEALER:", ts},
        {"HISTORY_ONBUTTON:", [](Fields& f) { f.table(), f.seat(), f.money("stack"); }},
        {"INIT_EMPTY:", t},
        {"YOUR_MONEY_PM:", [](Fields& f) { f.money("balance"), f.money("second amount"); }},
        {"LOGIN_FAIL", none},
        {"LOGIN_SUCCESS", none},
        {"START_TABLE", tableList},
        {"REG_SUCCESS", none},
        {"REG_EMAIL", none},
        {"REG_FAIL", none},
        {"SEND_MESSAGE:", [](Fields& f) { f.text(255, "sender"), f.table(), f.text(1023, "message"); }},
    };
    return r;
}

} // namespace

std::string catalogueError(std::string_view line)
{
    if (line.empty() || line.back() != '\r')
        return "no carriage return at the end";
    line.remove_suffix(1);
    if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return "carriage return, line feed or NUL inside the line";
    if (line.size() > 49999)
        return "line too long";
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            break;
        start = tab + 1;
    }
    for (std::string_view p : parts) {
        if (p.empty())
            return "empty field";
    }
    const auto rule = rules().find(parts.front());
    if (rule == rules().end())
        return "unknown keyword " + std::string(parts.front());
    Fields fields(std::vector<std::string_view>(parts.begin() + 1, parts.end()));
    rule->second(fields);
    return fields.finish();
}

} // namespace tessaly::house
