#pragma once
// The betting rules of the table window, apart from any widget: the labels
// of the action controls, the raise slider's amounts, the check of a typed
// amount, what a bet or raise sends, and which controls a prompt shows.
// Every number is read and written in the "C" locale.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "client/table/PlainNumber.h"
#include "client/table/TableState.h"

namespace tessaly {

// --- Labels. Every amount follows the amount-text rule: two decimals when
// the amount has cents, else the short "%g" form.

// "Raise" when any seat of the table has a bet in front of it, else "Bet".
const char* betOrRaiseWord(const TableState& table);
std::string callLabel(float amount);                          // "Call 2.50"
std::string betToLabel(std::string_view word, float amount);  // "Raise to 8"
std::string postSmallBlindLabel(float amount);                // "Post SB (0.50)"
std::string postBigBlindLabel(float amount);                  // "Post BB (1)"
std::string allInBoxLabel(float amount);                      // "All In 100", a typed amount
std::string allInSliderLabel(float amount);                   // "All In  100", two blanks: the slider

// The user's chips and bet at this table; 0 when userSeat names no seat.
float userStack(const TableState& table);
float userInFront(const TableState& table);

// --- The raise slider: 101 positions, 0 to 100.

inline constexpr int kSliderTop = 100;
using SliderAmounts = std::array<float, kSliderTop + 1>;

// Fixed limit is every game type other than no limit and pot limit.
bool isFixedLimit(int gameType);

// How far above the minimum the slider reaches: no limit, the user's stack
// less the minimum; pot limit, that or the largest pot, whichever is
// smaller; fixed limit, 0.
float sliderRange(const TableState& table);

// Position i holds min + (max - min) * q, q being (i / 100)^1.5 rounded to
// tenths, the amount rounded to cents: positions 0 to 13 give the minimum,
// 14 the first tenth.
SliderAmounts sliderAmounts(float min, float max);

// The amount of a slider position for the pending prompt: the table's entry
// from minRaiseTo to minRaiseTo + range; any position but 0 adds the user's
// own bet, so the top is everything the user has (at no limit). Between the
// ends the amounts are rounded to the table's small blind.
float sliderAmount(const TableState& table, int position);

// The slider position of a typed amount: (v - min) / (stack - min) * 100,
// truncated toward zero and not clamped (over 100 when v is more than the
// stack). None when the user's stack equals the minimum: the slider then
// stays where it is.
std::optional<long> typedSliderPosition(double typed, const TableState& table);

// The typed amount as the box's text reads (a leading number; 0 when none).
double typedAmount(std::string_view boxText);

// --- Bet or raise.

enum class BetOutcome {
    NotANumber,     // "Incorrect number value!"
    Insufficient,   // "Insufficient funds for that bet"
    Raise,          // REPLY 5 with the amount
    AllIn,          // REPLY 7: the whole stack, short of the minimum
    BadAmount,      // "Incorrect bet amount\r\n"
};

struct BetDecision {
    BetOutcome outcome = BetOutcome::NotANumber;
    float amount = 0.0f;   // the typed amount (Raise)
};

inline constexpr const char* kNotANumberMessage = "Incorrect number value!";
inline constexpr const char* kInsufficientMessage = "Insufficient funds for that bet";
inline constexpr const char* kBadAmountMessage = "Incorrect bet amount\r\n";
inline constexpr const char* kBetCaption = "Tessaly";

// What the bet or raise button does with the box's text: more than the
// user's chips plus bet (cap) by 0.0009 is refused; the minimum raise-to or
// more is a raise; within 0.0009 of the cap, an all-in short of the minimum.
BetDecision decideBet(std::string_view boxText, const TableState& table);

// --- Which controls a prompt shows.

struct PromptControls {
    // The caption of each shown button; nullopt: hidden.
    std::optional<std::string> left;        // 1021
    std::optional<std::string> middle;      // 1022
    std::optional<std::string> right;       // 1023
    std::optional<std::string> leftPost;    // 1046
    std::optional<std::string> rightPost;   // 1047
    // The slider and the amount box, with the text the box starts with.
    std::optional<std::string> boxText;
};

// The controls of the table's pending prompt (promptKind, the amounts, the
// game type). An unknown kind shows nothing.
PromptControls promptControls(const TableState& table);

} // namespace tessaly
