#include "client/table/BettingRules.h"

#include <algorithm>
#include <cmath>

#include "client/table/BetPresets.h"
#include "client/ui/AmountText.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

// How close a typed amount must come to the user's chips plus bet to be
// taken as all of them: amounts travel as floats with two decimals.
constexpr double kAllInTolerance = 0.0009;

double parseDecimal(std::string_view text)
{
    const std::string copy(text);
    return strtodC(copy.c_str(), nullptr);
}

float seatValue(const PerSeat<float>& values, int seat)
{
    return isSeat(seat) ? values[static_cast<std::size_t>(seat)] : 0.0f;
}

} // namespace

const char* betOrRaiseWord(const TableState& table)
{
    const int seats = std::clamp(table.seatCount, 0, kSeatCount);
    for (int s = 0; s < seats; ++s)
        if (table.inFront[static_cast<std::size_t>(s)] != 0.0f)
            return "Raise";
    return "Bet";
}

std::string callLabel(float amount) { return "Call " + amountText(amount); }

std::string betToLabel(std::string_view word, float amount)
{
    return std::string(word) + " to " + amountText(amount);
}

std::string postSmallBlindLabel(float amount) { return "Post SB (" + amountText(amount) + ")"; }
std::string postBigBlindLabel(float amount) { return "Post BB (" + amountText(amount) + ")"; }
std::string allInBoxLabel(float amount) { return "All In " + amountText(amount); }
std::string allInSliderLabel(float amount) { return "All In  " + amountText(amount); }

float userStack(const TableState& table) { return seatValue(table.stack, table.userSeat); }
float userInFront(const TableState& table) { return seatValue(table.inFront, table.userSeat); }

bool isFixedLimit(int gameType) { return gameType != kGameNoLimit && gameType != kGamePotLimit; }

float sliderRange(const TableState& table)
{
    const float toStack = userStack(table) - table.minRaiseTo;
    if (table.gameType == kGameNoLimit)
        return toStack;
    if (table.gameType == kGamePotLimit) {
        float largestPot = 0.0f;
        for (float pot : table.pots)
            largestPot = std::max(largestPot, pot);
        return std::min(toStack, largestPot);
    }
    return 0.0f;
}

SliderAmounts sliderAmounts(float min, float max)
{
    SliderAmounts amounts{};
    for (int i = 0; i <= kSliderTop; ++i) {
        const float t = static_cast<float>(i) / 100.0f;
        const double f = std::pow(static_cast<double>(t), 1.5);
        const double q = std::floor(10.0 * f + 0.5) / 10.0;
        const double amount = (static_cast<double>(max) - min) * q + min;
        amounts[static_cast<std::size_t>(i)] = static_cast<float>(std::floor(amount * 100.0 + 0.5) / 100.0);
    }
    return amounts;
}

float sliderAmount(const TableState& table, int position)
{
    const int p = std::clamp(position, 0, kSliderTop);
    const float min = table.minRaiseTo;
    const SliderAmounts amounts = sliderAmounts(min, min + sliderRange(table));
    const float amount = amounts[static_cast<std::size_t>(p)];
    if (p == 0)
        return amount;
    // In between, whole small blinds; the minimum and the top stay exact.
    const float top = amounts[kSliderTop] + userInFront(table);
    if (amount == amounts[0] || amount == amounts[kSliderTop])
        return amount + userInFront(table);
    return roundedToStep(amount + userInFront(table), table.smallBlind, min, top);
}

std::optional<long> typedSliderPosition(double typed, const TableState& table)
{
    const double range = static_cast<double>(userStack(table)) - table.minRaiseTo;
    if (range == 0.0)
        return std::nullopt;
    // Kept within a long, far beyond the slider's ends, so the truncation
    // stays defined for any amount.
    const double position = (typed - table.minRaiseTo) / range * 100.0;
    if (std::isnan(position))
        return std::nullopt;
    return static_cast<long>(std::clamp(position, -1.0e9, 1.0e9));
}

double typedAmount(std::string_view boxText)
{
    std::size_t start = 0;
    while (start < boxText.size() && isSpaceC(boxText[start]))
        ++start;
    const std::string_view rest = boxText.substr(start);
    const std::size_t length = decimalNumberLength(rest);
    return length == 0 ? 0.0 : parseDecimal(rest.substr(0, length));
}

BetDecision decideBet(std::string_view boxText, const TableState& table)
{
    const std::optional<double> number = plainNumber(boxText);
    if (!number)
        return {BetOutcome::NotANumber, 0.0f};
    const double cap = static_cast<double>(userStack(table)) + userInFront(table);
    if (*number > cap + kAllInTolerance)
        return {BetOutcome::Insufficient, 0.0f};
    // Money is a float everywhere else: compared as one, a typed minimum
    // equals the minimum the server sent.
    const float v = static_cast<float>(*number);
    if (v >= table.minRaiseTo)
        return {BetOutcome::Raise, v};
    if (v > cap - kAllInTolerance && v < cap + kAllInTolerance)
        return {BetOutcome::AllIn, v};
    return {BetOutcome::BadAmount, v};
}

PromptControls promptControls(const TableState& table)
{
    PromptControls shown;
    const bool slider = !isFixedLimit(table.gameType);
    switch (table.promptKind) {
    case kPromptCheckOrBet:
    case kPromptCallOrRaise: {
        const bool check = table.promptKind == kPromptCheckOrBet;
        const float raiseTo = check ? table.minRaiseTo : table.raiseToCopy;
        shown.left = check ? std::string("Check") : callLabel(table.callAmount);
        shown.middle = betToLabel(betOrRaiseWord(table), raiseTo);
        shown.right = "Fold";
        if (slider)
            shown.boxText = amountText(raiseTo);
        break;
    }
    case kPromptCallOnly:
        shown.left = callLabel(table.callAmount);
        shown.middle = "All In";
        shown.right = "Fold";
        break;
    case kPromptAllInOrFold:
        shown.leftPost = "All In";
        shown.rightPost = "Fold";
        break;
    case kPromptBigBlind:
        shown.leftPost = postBigBlindLabel(table.blindAmount);
        shown.rightPost = "Sit Out";
        break;
    case kPromptSmallBlind:
        shown.leftPost = postSmallBlindLabel(table.blindAmount);
        shown.rightPost = "Sit Out";
        break;
    default: break;
    }
    return shown;
}

} // namespace tessaly
