#pragma once
// The monitor's texts as pure rules: the connection quality and its rating,
// the IP status names of the debugger output, the route's failure texts and
// the dotted address.

#include <cstdint>
#include <string>

namespace tessaly::netmon {

// 100 - lost * 100 / sent, in integers cut toward zero; 100 before any echo.
int connectionQuality(int sent, int lost);

// "Excellent (100%)", "Good (95%)", "Poor (67%)", "Very Poor (40%)".
std::string ratingText(int quality);

// "IP_TTL_EXPIRED_TRANSIT (11013)" for the codes 11000 to 11022, else "".
std::string ipStatusName(int status);

// The debugger line of a failed echo, line break included:
// "IP_REQ_TIMED_OUT (11010)\n", or "Error 11050\n" for a code without a name.
std::string echoFailureLine(int status);

// What the route list shows for a failed hop: "Net unreachable",
// "Host unreachable", "Timed out", or "Network error".
std::string failureText(int status);

// "%i.%i.%i.%i" of an address in network byte order.
std::string dottedAddress(std::uint32_t address);

// "%i"; "%i ms" of a round trip in microseconds, rounded to the nearest
// millisecond.
std::string number(long long value);
std::string milliseconds(std::uint32_t roundTripUs);
// Milliseconds rounded to the nearest whole one, for the "%i" columns.
long long roundedMs(double ms);
// A value with this many decimals, rounded, with a point whatever the
// locale: "0.1" for 0.08 with one.
std::string fixedDecimals(double value, int decimals);
std::string tenths(double value);

// The host of a web address: "http://user@host:8580/path" gives "host".
std::string hostOfUrl(const std::string& url);

} // namespace tessaly::netmon
