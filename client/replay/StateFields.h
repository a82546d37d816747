#pragma once
// Every field of a table record and of the session values, by name, in
// declared order: visit(name, field) for each. One list serves printing and
// presetting, so neither can forget a field, and the build keeps the lists
// complete: each must name as many fields as its record has data members
// (the most initialisers the record takes), so a field added to TableState
// or SessionValues and missing here fails to compile.

#include <cstddef>
#include <tuple>
#include <utility>

#include "client/table/ClientState.h"

namespace tessaly {
namespace state_fields {

// Converts to any member type, so brace-initialising a record with these
// never elides braces: the count of initialisers it takes is its count of
// data members.
struct AnyValue {
    template <class T>
    operator T() const;
};

template <class Record, std::size_t... I>
constexpr bool takesInitialisers(std::index_sequence<I...>)
{
    return requires { Record{(void(I), AnyValue{})...}; };
}

template <class Record, std::size_t N = 0>
constexpr std::size_t dataMemberCount()
{
    if constexpr (takesInitialisers<Record>(std::make_index_sequence<N + 1>{}))
        return dataMemberCount<Record, N + 1>();
    else
        return N;
}

template <class Record, class Member>
struct Field {
    const char* name;
    Member Record::*member;
};

} // namespace state_fields

#define TESSALY_FIELD(record, field) state_fields::Field<record, decltype(record::field)>{#field, &record::field}

inline constexpr auto kTableFields = std::tuple{
    TESSALY_FIELD(TableState, holeCardsDrawn),
    TESSALY_FIELD(TableState, dealStep),
    TESSALY_FIELD(TableState, dealing),
    TESSALY_FIELD(TableState, dealOrder),
    TESSALY_FIELD(TableState, minBuyIn),
    TESSALY_FIELD(TableState, maxBuyIn),
    TESSALY_FIELD(TableState, thisHandText),
    TESSALY_FIELD(TableState, lastHandText),
    TESSALY_FIELD(TableState, bringToFront),
    TESSALY_FIELD(TableState, bragOffered),
    TESSALY_FIELD(TableState, showLostOffered),
    TESSALY_FIELD(TableState, userWon),
    TESSALY_FIELD(TableState, historyPending),
    TESSALY_FIELD(TableState, historySeat),
    TESSALY_FIELD(TableState, actionLabelFade),
    TESSALY_FIELD(TableState, historyKind),
    TESSALY_FIELD(TableState, callAmount),
    TESSALY_FIELD(TableState, minRaiseTo),
    TESSALY_FIELD(TableState, actionArrived),
    TESSALY_FIELD(TableState, userToAct),
    TESSALY_FIELD(TableState, promptKind),
    TESSALY_FIELD(TableState, blindAmount),
    TESSALY_FIELD(TableState, promptSetUp),
    TESSALY_FIELD(TableState, autoPostBlinds),
    TESSALY_FIELD(TableState, autoMuckLosing),
    TESSALY_FIELD(TableState, sittingOut),
    TESSALY_FIELD(TableState, autoCheckFold),
    TESSALY_FIELD(TableState, allIn),
    TESSALY_FIELD(TableState, boardAnimation),
    TESSALY_FIELD(TableState, dealerSeat),
    TESSALY_FIELD(TableState, actingSeat),
    TESSALY_FIELD(TableState, blinkWord),
    TESSALY_FIELD(TableState, flopDrawn),
    TESSALY_FIELD(TableState, turnDrawn),
    TESSALY_FIELD(TableState, riverDrawn),
    TESSALY_FIELD(TableState, rake),
    TESSALY_FIELD(TableState, closed),
    TESSALY_FIELD(TableState, tableName),
    TESSALY_FIELD(TableState, stakesText),
    TESSALY_FIELD(TableState, gameType),
    TESSALY_FIELD(TableState, smallBlind),
    TESSALY_FIELD(TableState, bigBlind),
    TESSALY_FIELD(TableState, seatCount),
    TESSALY_FIELD(TableState, playersSeated),
    TESSALY_FIELD(TableState, averagePot),
    TESSALY_FIELD(TableState, board),
    TESSALY_FIELD(TableState, pots),
    TESSALY_FIELD(TableState, chatSender),
    TESSALY_FIELD(TableState, chatText),
    TESSALY_FIELD(TableState, chatQueue),
    TESSALY_FIELD(TableState, handEvents),
    TESSALY_FIELD(TableState, handHistory),
    TESSALY_FIELD(TableState, playersInHand),
    TESSALY_FIELD(TableState, handInProgress),
    TESSALY_FIELD(TableState, userSeatedHere),
    TESSALY_FIELD(TableState, seatOccupied),
    TESSALY_FIELD(TableState, stack),
    TESSALY_FIELD(TableState, playerName),
    TESSALY_FIELD(TableState, inFront),
    TESSALY_FIELD(TableState, raiseToCopy),
    TESSALY_FIELD(TableState, userSeat),
    TESSALY_FIELD(TableState, seatState),
    TESSALY_FIELD(TableState, ownCardsLive),
    TESSALY_FIELD(TableState, ownCards),
    TESSALY_FIELD(TableState, cardsShown),
    TESSALY_FIELD(TableState, ownCardSeat),
    TESSALY_FIELD(TableState, shownCards),
    TESSALY_FIELD(TableState, wonAmount),
    TESSALY_FIELD(TableState, winnerFrames),
    TESSALY_FIELD(TableState, turnWarned),
};

inline constexpr auto kSessionFields = std::tuple{
    TESSALY_FIELD(SessionValues, loggedIn),
    TESSALY_FIELD(SessionValues, screenName),
    TESSALY_FIELD(SessionValues, registrationDone),
    TESSALY_FIELD(SessionValues, playMoneyBalance),
    TESSALY_FIELD(SessionValues, balanceSecondAmount),
    TESSALY_FIELD(SessionValues, balanceArrived),
    TESSALY_FIELD(SessionValues, seatedSomewhere),
    TESSALY_FIELD(SessionValues, cashierEmail),
    TESSALY_FIELD(SessionValues, cashierAvailable),
    TESSALY_FIELD(SessionValues, cashierInAction),
    TESSALY_FIELD(SessionValues, cashierTotal),
    TESSALY_FIELD(SessionValues, cashierReplyState),
    TESSALY_FIELD(SessionValues, playerList),
    TESSALY_FIELD(SessionValues, playerListCount),
    TESSALY_FIELD(SessionValues, playerListReady),
    TESSALY_FIELD(SessionValues, tableCount),
    TESSALY_FIELD(SessionValues, tableListRequested),
    TESSALY_FIELD(SessionValues, tableListComplete),
    TESSALY_FIELD(SessionValues, serverTimeText),
    TESSALY_FIELD(SessionValues, liveUsers),
    TESSALY_FIELD(SessionValues, liveTables),
    TESSALY_FIELD(SessionValues, openTableNames),
    TESSALY_FIELD(SessionValues, pendingJoin),
    TESSALY_FIELD(SessionValues, pendingSeat),
    TESSALY_FIELD(SessionValues, smileysShown),
};

#undef TESSALY_FIELD

static_assert(std::tuple_size_v<decltype(kTableFields)> == state_fields::dataMemberCount<TableState>(),
              "kTableFields must name every field of TableState");
static_assert(std::tuple_size_v<decltype(kSessionFields)> == state_fields::dataMemberCount<SessionValues>(),
              "kSessionFields must name every field of SessionValues");

template <class Record, class Fields, class Visit>
void forEachField(Record& record, const Fields& fields, Visit&& visit)
{
    std::apply([&](const auto&... field) { (visit(field.name, record.*field.member), ...); }, fields);
}

template <class Table, class Visit>
void forEachTableField(Table& t, Visit&& visit)
{
    forEachField(t, kTableFields, visit);
}

template <class Session, class Visit>
void forEachSessionField(Session& s, Visit&& visit)
{
    forEachField(s, kSessionFields, visit);
}

} // namespace tessaly
