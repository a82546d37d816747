// libFuzzer target: arbitrary server bytes through the line assembly and the
// dispatcher, with recording ports, checking that the state stays within its
// records' bounds.
//
// Input: byte 0 presets the window flags of every table (bit 0 check-or-fold,
// bit 1 automatic blinds, bit 2 prompt handled, bit 3 muck losing hands);
// byte 1 picks the chunk size; the rest is the byte stream.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "client/net/LineAssembler.h"
#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/ClientState.h"

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkBounds(const tessaly::ClientState& state)
{
    using namespace tessaly;
    require(state.session.playerListCount >= 0 && state.session.playerListCount <= kMaxPlayerListEntries);
    require(state.session.tableCount >= 0 && state.session.tableCount <= kTableCount);
    require(state.session.cashierEmail.size() <= 255 && state.session.serverTimeText.size() <= 127);
    for (const TableState& t : state.tables) {
        require(t.playersInHand.size() <= static_cast<std::size_t>(kSeatCount));
        require(t.dealOrder.size() <= static_cast<std::size_t>(3 * kSeatCount));
        for (const std::int32_t seat : t.playersInHand)
            require(isSeat(seat));
        for (const std::int32_t card : t.board)
            require(isCard(card));
        require(t.chatText.size() <= 1023 && t.chatSender.size() <= 255 && t.tableName.size() <= 127);
        require(t.chatQueue.size() <= kMaxWaitingChatLines);
        for (const auto& name : t.playerName)
            require(name.size() <= 255);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tessaly;
    if (size < 2)
        return 0;
    static ClientState state;
    state = ClientState{};
    for (TableState& t : state.tables) {
        t.autoCheckFold = data[0] & 1;
        t.autoPostBlinds = (data[0] >> 1) & 1;
        t.promptSetUp = (data[0] >> 2) & 1;
        t.autoMuckLosing = (data[0] >> 3) & 1;
        t.userSeat = data[0] >> 4;
    }
    const std::size_t chunk = 1 + data[1] * 23u % kReceiveChunkSize;
    data += 2;
    size -= 2;

    EffectRecorder effects;
    Dispatcher dispatcher(state, {effects, effects, effects, effects});
    LineAssembler assembler;
    const char* bytes = reinterpret_cast<const char*>(data);
    for (std::size_t at = 0; at < size; at += chunk) {
        const std::size_t n = size - at < chunk ? size - at : chunk;
        assembler.feed(bytes + at, n, [&](char* line, std::size_t) {
            dispatcher.dispatchLine(line);
            effects.clear();
        });
    }
    checkBounds(state);
    return 0;
}
