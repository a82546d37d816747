#pragma once
// Numbers in the "C" locale, whatever the user's locale is.
//
// Qt sets the process locale from the environment at start-up, so plain
// printf and strtod would write and read a decimal comma under, say, de_DE.
// Wire texts, files and the system's fixed display formats ("%g", "%.2f")
// must not change with the locale: they all go through these.

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// vsnprintf under the "C" locale.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vformatC(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

// strtod and strtol under the "C" locale (same leniency and end pointer).
double strtodC(const char* text, char** end);
long strtolC(const char* text, char** end);

// isspace in the "C" locale.
constexpr bool isSpaceC(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Length of the plain decimal number at the start of text: optional sign,
// digits, optional point and digits (a digit on at least one side), optional
// exponent; 0 when there is none. strtod's other forms (hexadecimal, "inf",
// "nan") are no numbers here.
std::size_t decimalNumberLength(std::string_view text);

} // namespace tessaly
