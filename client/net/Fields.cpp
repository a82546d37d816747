#include "client/net/Fields.h"

#include <cfloat>
#include <cstdint>
#include <cstring>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

int readInt(const char* text)
{
    const char* p = text;
    while (isSpaceC(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{INT32_MAX} + 1;
    for (; isDigit(*p); ++p) {
        if (value < limit)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int>(value);
}

float readMoney(const char* text)
{
    // Find how much of the text has the decimal form, then let strtod read
    // exactly that much, so strtod's extra forms (hex, inf, nan) never apply.
    const char* start = text;
    while (isSpaceC(*start))
        ++start;
    const std::size_t length = decimalNumberLength(start);
    if (length == 0)
        return 0.0f;
    char buffer[128];
    double value;
    if (length < sizeof buffer) {
        std::memcpy(buffer, start, length);
        buffer[length] = '\0';
        value = strtodC(buffer, nullptr);
    } else {
        // An absurdly long number: strtod stops where the form ends anyway,
        // because hex needs "0x" and inf/nan need letters at the start.
        value = strtodC(start, nullptr);
    }
    if (value > FLT_MAX)
        return FLT_MAX;
    if (value < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(value);
}

LineFields::LineFields(char* line) : line_(line), end_(line + std::strlen(line)), cursor_(line) {}

// A cut written by an earlier read stands where a separator stood.
bool LineFields::isSeparator(const char* p) const
{
    return *p == '\t' || *p == '\n' || (*p == '\0' && p < end_);
}

const char* LineFields::first()
{
    cursor_ = line_;
    missing_ = false;
    return next();
}

const char* LineFields::next()
{
    char* p = cursor_;
    while (p < end_ && isSeparator(p))
        ++p;
    if (p == end_) {
        cursor_ = p;
        missing_ = true;
        return nullptr;
    }
    char* field = p;
    while (p < end_ && !isSeparator(p))
        ++p;
    if (p < end_)
        *p++ = '\0';
    cursor_ = p;
    return field;
}

int LineFields::nextInt()
{
    const char* field = next();
    return field ? readInt(field) : 0;
}

float LineFields::nextMoney()
{
    const char* field = next();
    return field ? readMoney(field) : 0.0f;
}

std::string_view LineFields::nextText()
{
    const char* field = next();
    return field ? std::string_view(field) : std::string_view();
}

bool startsWithKeyword(const char* line, std::string_view keyword)
{
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (line[i] == '\0' || lowerAscii(line[i]) != lowerAscii(keyword[i]))
            return false;
    }
    return true;
}

bool containsKeyword(const char* line, const char* keyword)
{
    return std::strstr(line, keyword) != nullptr;
}

} // namespace tessaly
