#include "server/game/BotCrew.h"

#include <algorithm>

namespace tessaly::house {
namespace {

constexpr int kCrewPauseMin = 3000;
constexpr int kCrewPauseMax = 12000;

const char* const kBotNames[] = {
    "Marlowe",  "Tinsel",   "Quarry",   "Bramble",  "Juniper",  "Corvid",   "Pebble",   "Rook",
    "Saffron",  "Thistle",  "Ember",    "Wicket",   "Nimbus",   "Cobble",   "Fennel",   "Harrow",
    "Larkspur", "Mossy",    "Oberon",   "Puddle",   "Quill",    "Russet",   "Sorrel",   "Tumble",
    "Umber",    "Vesper",   "Willow",   "Yarrow",   "Zephyr",   "Acorn",    "Birch",    "Clover",
    "Dapple",   "Eider",    "Flint",    "Garnet",   "Hazel",    "Indigo",   "Jasper",   "Kestrel",
    "Linden",   "Maple",    "Nettle",   "Onyx",     "Pippin",   "Quince",   "Rowan",    "Sable",
    "Tansy",    "Upton",    "Vale",     "Wren",     "Xander",   "Yew",      "Zinnia",   "Alder",
    "Basil",    "Cedar",    "Dusk",     "Elm",      "Fable",    "Gale",     "Heath",    "Ivy",
};

} // namespace

BotCrew::BotCrew(const std::vector<std::unique_ptr<Table>>& tables, CrewSettings settings, AccountStore& accounts,
                 Timers& timers, const RandomStream& random)
    : tables_(tables), settings_(settings), accounts_(accounts), timers_(timers), styles_(random),
      random_(random.derive("crew")), crewTimer_(timers)
{
}

int BotCrew::wanted(const Table& table) const
{
    // One chair stays free for a person.
    return std::min(settings_.botsPerTable, table.config().seats - 1);
}

bool BotCrew::seated(AccountId account) const
{
    return std::any_of(tables_.begin(), tables_.end(), [account](const auto& t) { return t->seatOf(account); });
}

void BotCrew::start()
{
    if (settings_.botsPerTable <= 0)
        return;
    ensureBots();
    // The room opens with every table dealing: one bot each at once here and
    // one more from the first round of fillTables; the rest trickle in.
    for (const auto& t : tables_) {
        if (t->botCount() < wanted(*t))
            seatBot(*t);
    }
    fillTables();
}

void BotCrew::stop()
{
    stopped_ = true;
    crewTimer_.stop();
}

void BotCrew::ensureBots()
{
    const int wanted = static_cast<int>(tables_.size()) * settings_.botsPerTable + std::min(8, settings_.botsPerTable * 2);
    const int named = static_cast<int>(std::size(kBotNames));
    for (int i = 0; i < wanted; ++i) {
        std::string name = kBotNames[i % named];
        if (i >= named)
            name += std::to_string(i / named + 1);
        std::optional<Account> a = accounts_.find(name);
        if (!a) {
            if (accounts_.create(name, "", "", true) != CreateResult::Created)
                continue; // a person has the name
            a = accounts_.find(name);
        }
        if (!a || !a->bot)
            continue;
        RandomStream style = styles_.derive("style " + name);
        bots_.push_back({a->id, a->name, BotStyle{style.unit(), style.unit()}, 0});
    }
}

void BotCrew::fillTables()
{
    if (stopped_)
        return;
    bool missing = false;
    for (const auto& t : tables_) {
        const int target = wanted(*t);
        if (t->botCount() < target) {
            seatBot(*t);
            missing = missing || t->botCount() < target;
        }
    }
    // Bots trickle in, one per table and pause, as players would.
    const Millis next = settings_.fast ? Millis(0) : Millis(random_.between(kCrewPauseMin, kCrewPauseMax));
    crewTimer_.start(missing ? next : Millis(std::max(kCrewPauseMax, static_cast<int>(next.count()))),
                     [this] { fillTables(); });
}

void BotCrew::seatBot(Table& table)
{
    std::vector<Bot*> idle;
    for (Bot& b : bots_) {
        if (!seated(b.account))
            idle.push_back(&b);
    }
    const auto seat = table.freeSeat(random_);
    if (idle.empty() || !seat)
        return;
    Bot& bot = *idle[random_.uniform(static_cast<std::uint32_t>(idle.size()))];
    const TableConfig& c = table.config();
    const Chips steps = std::max<Chips>(1, (c.maxBuyIn - c.minBuyIn) / c.bigBlind);
    const Chips buyIn = c.minBuyIn + c.bigBlind * static_cast<Chips>(random_.uniform(static_cast<std::uint32_t>(steps + 1)));
    accounts_.reload(bot.account, 0, std::max(settings_.reloadTarget, 2 * c.maxBuyIn));
    Sitter who;
    who.account = bot.account;
    who.name = bot.name;
    who.style = bot.style;
    bot.sitOutHands = 0;
    table.join(who, *seat, std::min(buyIn, c.maxBuyIn));
}

void BotCrew::tableIdle(int table)
{
    if (stopped_ || bots_.empty() || !waking_.insert(table).second)
        return;
    const Millis delay = settings_.fast ? Millis(0) : Millis(random_.between(kCrewPauseMin, kCrewPauseMax));
    timers_.after(delay, [this, table] { wakeTable(table); });
}

void BotCrew::wakeTable(int id)
{
    waking_.erase(id);
    if (stopped_)
        return;
    // No hands are dealt here, so bots that sat out come back now, and an
    // empty chair gets a bot.
    Table& table = *tables_[static_cast<std::size_t>(id)];
    for (AccountId bot : table.bots()) {
        if (table.sittingOut(bot))
            table.imBack(bot);
    }
    if (table.botCount() < wanted(table))
        seatBot(table);
}

void BotCrew::handEnded(Table& table)
{
    if (stopped_)
        return;
    for (AccountId id : table.bots()) {
        auto bot = std::find_if(bots_.begin(), bots_.end(), [id](const Bot& b) { return b.account == id; });
        if (bot == bots_.end())
            continue;
        const auto say = [&](BotMood mood) {
            if (const std::string line = botChat(mood, random_); !line.empty())
                table.chat(bot->name, line);
        };
        const Chips stack = table.stackOf(id);
        if (stack <= 0) {
            // Busted: buys more chips or goes.
            if (random_.chance(0.6)) {
                const Chips amount = table.config().maxBuyIn;
                accounts_.reload(id, 0, std::max(settings_.reloadTarget, 2 * amount));
                if (const auto seat = table.seatOf(id); seat && table.quickChips(id, *seat, amount))
                    table.imBack(id);
            } else {
                say(BotMood::Leaving);
                table.leave(id);
            }
            continue;
        }
        if (table.sittingOut(id)) {
            if (--bot->sitOutHands <= 0)
                table.imBack(id);
            continue;
        }
        if (random_.chance(0.008)) {
            say(BotMood::Leaving);
            table.leave(id);
        } else if (random_.chance(0.01)) {
            say(BotMood::SittingOut);
            bot->sitOutHands = random_.between(2, 6);
            table.dealMeOut(id);
        } else {
            say(BotMood::Idle);
        }
    }
}

} // namespace tessaly::house
