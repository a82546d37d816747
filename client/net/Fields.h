#pragma once
// Reading the fields of a server line.
//
// A server line is tab-separated; the tokenizer also treats line feed as a
// separator and collapses runs of separators, so an empty field vanishes and
// every later field moves one place forward. Numbers are read leniently:
// text that is not a number reads as 0.

#include <string_view>

namespace tessaly {

// Leading white space, an optional sign, then digits up to the first
// non-digit; no number reads 0. Values beyond 32 bits saturate.
int readInt(const char* text);

// Decimal money: optional sign, digits, optional point and digits, optional
// exponent, read as far as the text follows that form; no number reads 0.0.
// Hexadecimal, "inf" and "nan" are not numbers here, and magnitudes beyond
// the float range saturate, so a stored amount is always finite.
float readMoney(const char* text);

// The fields of one line, taken apart in place. The buffer is cut as it is
// read: the first field read from the start writes a NUL after the keyword,
// so the keyword tests that follow see only the keyword. Reading again from
// the start yields the same fields.
class LineFields {
public:
    // line: NUL-terminated, without NUL bytes inside.
    explicit LineFields(char* line);

    // The line as the keyword tests see it: up to the first cut.
    const char* visible() const { return line_; }

    // Starts over at the first field (the keyword) and returns it, or
    // nullptr for a line without fields.
    const char* first();
    // The next field, or nullptr when the line is used up (then missing()).
    const char* next();

    int nextInt();
    float nextMoney();
    std::string_view nextText();
    void skip() { next(); }

    // A read since the last first() found no field: the line lacks fields
    // its keyword needs.
    bool missing() const { return missing_; }

private:
    bool isSeparator(const char* p) const;

    char* line_;
    char* end_;   // the line's own end; NULs before it are cuts
    char* cursor_;
    bool missing_ = false;
};

// Keyword tests. First group: at the very start of the line, over the
// keyword's length, without regard to ASCII letter case (never the user's
// locale). Second group: anywhere in the line, exact case.
bool startsWithKeyword(const char* line, std::string_view keyword);
bool containsKeyword(const char* line, const char* keyword);

} // namespace tessaly
