#pragma once
// The rules of the amount edit field, apart from any widget: how a value is
// shown (integer digits, the decimal character, two fraction digits), how the
// text is read back, and what each editing key does to text and caret.

#include <QChar>
#include <QString>

namespace tessaly {

struct AmountFieldFormat {
    QChar decimal = QLatin1Char('.');   // first character of the locale's decimal separator
    QChar group = QLatin1Char(',');     // the locale's thousands separator
    bool grouping = false;              // insert it every three integer digits
};

// The value to six significant digits, the last rounded, cut after two
// fraction digits: 1234.5 -> "1234.50", 12.3456 -> "12.34", 0.5 -> ".50",
// 0 -> ".00". From 10,000 on, six digits would not reach the second fraction
// digit, so as many digits are taken as the integer part needs plus two.
QString amountFieldText(double value, const AmountFieldFormat& format);

// The text without grouping characters, the decimal character read as ".";
// 0 when nothing can be read.
double amountFieldValue(const QString& text, const AmountFieldFormat& format);

enum class AmountKey { Digit, Decimal, Plus, Backspace, Delete, Insert };

struct AmountFieldState {
    QString text;
    int selectionStart = 0;   // the caret when no text is selected
    int selectionEnd = 0;
};

struct AmountFieldEdit {
    bool changed = false;     // false: the key did nothing (text and selection stay)
    QString text;
    int caret = 0;
    double value = 0;
};

// One editing key; `digit` is the typed digit for AmountKey::Digit.
AmountFieldEdit amountFieldKey(const AmountFieldState& state, AmountKey key, QChar digit,
                               const AmountFieldFormat& format);

} // namespace tessaly
