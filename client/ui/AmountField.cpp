#include "client/ui/AmountField.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

// The first `count` significant decimal digits of |value|, the last rounded
// to nearest, and the position of the decimal point relative to the first
// of them (the C library's ecvt).
void significantDigits(double value, int count, std::string& digits, int& point)
{
    if (value == 0) {
        digits.assign(static_cast<size_t>(count), '0');
        point = 0;
        return;
    }
    const std::string text = formatC("%.*e", count - 1, std::fabs(value));
    const size_t exponent = text.find('e');
    digits.clear();
    for (size_t i = 0; i < exponent; ++i) {
        if (text[i] != '.')
            digits.push_back(text[i]);
    }
    point = static_cast<int>(std::strtol(text.c_str() + exponent + 1, nullptr, 10)) + 1;
}

} // namespace

QString amountFieldText(double value, const AmountFieldFormat& format)
{
    if (!std::isfinite(value))
        value = 0;
    std::string digits;
    int point = 0;
    significantDigits(value, 6, digits, point);
    if (point + 2 > 6)
        significantDigits(value, point + 2, digits, point);

    QString integer;
    const int integerDigits = std::max(point, 0);
    for (int i = 0; i < integerDigits; ++i) {
        if (format.grouping && i > 0 && (integerDigits - i) % 3 == 0)
            integer += format.group;
        integer += QLatin1Char(digits[static_cast<size_t>(i)]);
    }
    QString fraction;
    for (int i = 0; i < 2; ++i) {
        // Below 0.01 the point lies left of the digits: zeros come first.
        const int at = integerDigits + i + std::min(point, 0);
        const bool leadingZero = point < 0 && i < -point;
        fraction += leadingZero || at >= static_cast<int>(digits.size()) ? QLatin1Char('0')
                                                                         : QLatin1Char(digits[static_cast<size_t>(at)]);
    }
    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    return sign + integer + format.decimal + fraction;
}

double amountFieldValue(const QString& text, const AmountFieldFormat& format)
{
    QString plain = text;
    if (format.group != format.decimal)
        plain.remove(format.group);
    plain.replace(format.decimal, QLatin1Char('.'));
    const std::string bytes = plain.toStdString();
    return strtodC(bytes.c_str(), nullptr);
}

AmountFieldEdit amountFieldKey(const AmountFieldState& state, AmountKey key, QChar digit,
                               const AmountFieldFormat& format)
{
    if (key == AmountKey::Insert)
        return {};
    AmountFieldEdit edit{true, state.text, std::min(state.selectionStart, state.selectionEnd), 0};
    QString& text = edit.text;
    int& caret = edit.caret;
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));

    const int end = std::clamp(std::max(state.selectionStart, state.selectionEnd), 0, static_cast<int>(text.size()));
    if (end > caret) {
        text.remove(caret, end - caret);
        text = amountFieldText(amountFieldValue(text, format), format);
        caret = std::min(caret, static_cast<int>(text.size()));
        if (key == AmountKey::Backspace || key == AmountKey::Delete) {
            edit.value = amountFieldValue(text, format);
            return edit;
        }
    }

    const int size = static_cast<int>(text.size());
    const int found = static_cast<int>(text.indexOf(format.decimal));
    const bool hasDecimal = found >= 0;
    const int point = hasDecimal ? found : size;   // no decimal character: all integer part
    const bool inFraction = caret > point;

    switch (key) {
    case AmountKey::Digit:
        if (!inFraction) {
            text.insert(caret, digit);
            ++caret;
        } else if (caret < size) {
            text[caret] = digit;
            ++caret;
        }
        break;
    case AmountKey::Decimal:
        if (!inFraction) {
            text.remove(caret, point - caret);
            if (!hasDecimal)
                text.insert(caret, format.decimal);
        }
        caret = (inFraction ? point : caret) + 1;
        break;
    case AmountKey::Backspace:
        if (!inFraction) {
            if (caret > 0) {
                text.remove(caret - 1, 1);
                --caret;
            }
        } else if (caret == point + 1) {
            caret = point;
            if (point > 0) {
                text.remove(point - 1, 1);
                --caret;
            }
        } else {
            text[caret - 1] = QLatin1Char('0');
            --caret;
        }
        break;
    case AmountKey::Delete:
        if (!inFraction && hasDecimal && caret == point) {
            caret = point + 1;
            if (caret < size)
                text[caret] = QLatin1Char('0');
        } else if (!inFraction) {
            if (caret < size)
                text.remove(caret, 1);
        } else if (caret < size) {
            text[caret] = QLatin1Char('0');
        }
        break;
    case AmountKey::Plus:
    case AmountKey::Insert:
        break;
    }
    caret = std::clamp(caret, 0, static_cast<int>(text.size()));
    edit.value = amountFieldValue(text, format);
    return edit;
}

} // namespace tessaly
