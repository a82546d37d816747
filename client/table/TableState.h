#pragma once
// What the client knows of one table: written by the dispatcher from the
// server's lines, read (and a few request flags written) by the table window
// on its timers. Records live for the whole process, whether a window for
// the table is open or not.
//
// Fields keep their protocol names. Flags are 32-bit 0/1 unless stated;
// money is float; per-seat arrays are indexed by seat 0 to 9.

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "client/net/Protocol.h"
#include "client/table/FixedText.h"
#include "client/table/HandEvents.h"
#include "client/table/HandHistory.h"

namespace tessaly {

class LineSender;

template <class T>
using PerSeat = std::array<T, kSeatCount>;

// One chat or dealer line as the server sent it, line breaks removed.
struct ChatLine {
    FixedText<256> sender;
    FixedText<1024> text;

    bool operator==(const ChatLine&) const = default;
};

// Lines that wait for the table window's next frame. A window takes them
// every 28 ms; a table without a window keeps only the newest ones.
inline constexpr std::size_t kMaxWaitingChatLines = 512;

// A winner's seat shows its amount this many frames (about two seconds).
inline constexpr std::int32_t kWinnerFrames = 72;

struct TableState {
    PerSeat<std::int32_t> holeCardsDrawn{};
    std::int32_t dealStep = 0;
    std::int32_t dealing = 0;
    std::vector<std::int32_t> dealOrder;
    float minBuyIn = 0.0f;
    float maxBuyIn = 0.0f;
    std::string thisHandText;
    std::string lastHandText;
    std::int32_t bringToFront = 0;
    std::int32_t bragOffered = 0;
    std::int32_t showLostOffered = 0;
    std::int32_t userWon = 0;
    std::int32_t historyPending = 0;
    std::int32_t historySeat = 0;
    PerSeat<std::int32_t> actionLabelFade = filled<std::int32_t>(255);
    std::int32_t historyKind = 0;
    float callAmount = 0.0f;
    float minRaiseTo = 0.0f;
    std::int32_t actionArrived = 0;
    std::int32_t userToAct = 0;
    std::int32_t promptKind = 0;
    float blindAmount = 0.0f;
    std::int32_t promptSetUp = 1;   // the window clears it when it opens
    std::int32_t autoPostBlinds = 0;
    std::int32_t autoMuckLosing = 0;
    std::int32_t sittingOut = 0;
    std::int32_t autoCheckFold = 0;
    PerSeat<std::int32_t> allIn{};
    std::array<std::int32_t, 3> boardAnimation{};
    std::int32_t dealerSeat = kNoSeat;
    std::int32_t actingSeat = kNoSeat;
    std::int16_t blinkWord = 0;
    std::int16_t flopDrawn = 0;
    std::int16_t turnDrawn = 0;
    std::int16_t riverDrawn = 0;
    float rake = 0.0f;
    std::int32_t closed = 0;
    FixedText<128> tableName;
    FixedText<128> stakesText;
    std::int16_t gameType = 0;
    float smallBlind = 0.0f;
    float bigBlind = 0.0f;
    std::int32_t seatCount = 0;
    std::int16_t playersSeated = 0;
    std::int32_t averagePot = 0;
    std::array<std::int32_t, 5> board = filled<std::int32_t, 5>(kNoCard);
    std::array<float, kMaxPots> pots{};
    FixedText<256> chatSender;
    FixedText<1024> chatText;
    // Every line since the window's last frame, oldest first; chatSender and
    // chatText are the newest of them.
    std::deque<ChatLine> chatQueue;
    // The hand's events since the window's last frame (HandEvents.h).
    HandEventQueue handEvents;
    // The hand being recorded and the finished ones the window writes out.
    HandHistoryRecorder handHistory;
    std::vector<std::int32_t> playersInHand;
    std::int32_t handInProgress = 0;
    std::int32_t userSeatedHere = 0;
    PerSeat<std::int32_t> seatOccupied{};
    PerSeat<float> stack{};
    PerSeat<FixedText<256>> playerName{};
    PerSeat<float> inFront{};
    float raiseToCopy = 0.0f;
    std::int32_t userSeat = 0;
    PerSeat<std::int32_t> seatState{};
    PerSeat<std::int16_t> ownCardsLive{};
    std::array<std::int16_t, 2> ownCards{};
    PerSeat<std::int16_t> cardsShown{};
    PerSeat<std::int16_t> ownCardSeat{};
    PerSeat<std::array<std::int16_t, 2>> shownCards{};
    // What each winner of the hand took, and the frames its seat still
    // shows it while the pot's chips move to it.
    PerSeat<float> wonAmount{};
    PerSeat<std::int32_t> winnerFrames{};
    // The server warned that the user's time to act runs out; shown at the
    // user's seat until the turn passes.
    std::int32_t turnWarned = 0;

    bool operator==(const TableState&) const = default;

    // Operations. A seat outside 0 to 9 changes nothing: the record has no
    // slot for it.

    // Prepares the table for a new hand: board, rake, pots, offers, board
    // slides, per-seat cards, bets and all-in flags, the hand's players, the
    // dealer and acting seats and the user's turn. Seats, names, stacks,
    // seat states, handInProgress, the description, dealOrder, the prompt
    // amounts and the chat stay.
    void reset();
    void clearBets();
    // state is accepted and not stored.
    void seatPlayer(int seat, std::string_view name, float stackAmount, float inFrontAmount, int state);
    // Only dealer and acting are stored.
    void setDealerAndActing(int phase, int dealer, int acting, float amount, int number, float pot);
    void playerReturned(int seat);
    void playerSatOut(int seat);
    void playerLeft(int seat);
    void setStack(int seat, float amount);
    void setBet(int seat, float inFrontAmount, float stackAmount);
    void setInFront(int seat, float amount);
    void fold(int seat, float stackAmount);
    // A seat seen acting in a hand whose deal this record missed (the
    // window opened mid-hand): it holds two cards, drawn without the deal.
    void holdsCards(int seat);
    void showCards(int seat, int card1, int card2);
    void setOwnCards(int seat, int card1, int card2);
    void addToHand(int seat);
    void showBlindPrompt(float amount, int kind);
    // Posts the blind of kind 100 (big) or 101 (small) for userSeat, with
    // the amount "0.00" the server expects.
    void autoPostBlind(LineSender& sender, int tableId, int kind) const;
    // Stores a chat line: the newest in chatSender and chatText, and at the
    // end of chatQueue, whose oldest line goes once it is full.
    void queueChatLine(std::string_view sender, std::string_view text);
    // An event of the running hand: queued for the hand log and recorded
    // for the hand history.
    void handEvent(HandEvent event);
    // Builds dealOrder when the dealer announces the deal: the hand's seats
    // in seat order starting after the dealer, three times over.
    void startDeal();

private:
    template <class T, std::size_t N = kSeatCount>
    static constexpr std::array<T, N> filled(T value)
    {
        std::array<T, N> a{};
        a.fill(value);
        return a;
    }
};

} // namespace tessaly
