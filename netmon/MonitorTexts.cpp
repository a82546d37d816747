#include "netmon/MonitorTexts.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/icmp/IcmpEcho.h"

namespace tessaly::netmon {

int connectionQuality(int sent, int lost)
{
    return sent == 0 ? 100 : 100 - (lost * 100 / sent);
}

std::string ratingText(int quality)
{
    const char* word = quality >= 100 ? "Excellent" : quality >= 90 ? "Good" : quality >= 50 ? "Poor" : "Very Poor";
    return std::string(word) + " (" + number(quality) + "%)";
}

std::string ipStatusName(int status)
{
    static constexpr std::array<const char*, 23> kNames = {
        "IP_STATUS_BASE",          "IP_BUF_TOO_SMALL",         "IP_DEST_NET_UNREACHABLE", "IP_DEST_HOST_UNREACHABLE",
        "IP_DEST_PROT_UNREACHABLE", "IP_DEST_PORT_UNREACHABLE", "IP_NO_RESOURCES",         "IP_BAD_OPTION",
        "IP_HW_ERROR",             "IP_PACKET_TOO_BIG",        "IP_REQ_TIMED_OUT",        "IP_BAD_REQ",
        "IP_BAD_ROUTE",            "IP_TTL_EXPIRED_TRANSIT",   "IP_TTL_EXPIRED_REASSEM",  "IP_PARAM_PROBLEM",
        "IP_SOURCE_QUENCH",        "IP_OPTION_TOO_BIG",        "IP_BAD_DESTINATION",      "IP_ADDR_DELETED",
        "IP_SPEC_MTU_CHANGE",      "IP_MTU_CHANGE",            "IP_UNLOAD",
    };
    if (status < ipstatus::kBase || status > ipstatus::kLast)
        return {};
    return std::string(kNames[static_cast<std::size_t>(status - ipstatus::kBase)]) + " (" + number(status) + ")";
}

std::string echoFailureLine(int status)
{
    const std::string name = ipStatusName(status);
    return (name.empty() ? "Error " + number(status) : name) + "\n";
}

std::string failureText(int status)
{
    switch (status) {
    case ipstatus::kDestNetUnreachable: return "Net unreachable";
    case ipstatus::kDestHostUnreachable: return "Host unreachable";
    case ipstatus::kReqTimedOut: return "Timed out";
    default: return "Network error";
    }
}

std::string dottedAddress(std::uint32_t address)
{
    const auto* b = reinterpret_cast<const unsigned char*>(&address);
    return number(b[0]) + "." + number(b[1]) + "." + number(b[2]) + "." + number(b[3]);
}

std::string number(long long value)
{
    return std::to_string(value);
}

std::string milliseconds(std::uint32_t roundTripUs)
{
    return number(roundedMs(roundTripUs / 1000.0)) + " ms";
}

long long roundedMs(double ms)
{
    return std::llround(ms);
}

std::string fixedDecimals(double value, int decimals)
{
    std::array<char, 32> text{};
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals).ptr;
    return std::string(text.data(), end);
}

std::string tenths(double value)
{
    return fixedDecimals(value, 1);
}

std::string hostOfUrl(const std::string& url)
{
    std::string rest = url;
    if (const auto scheme = rest.find("://"); scheme != std::string::npos)
        rest.erase(0, scheme + 3);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = rest.rfind('@'); at != std::string::npos)
        rest.erase(0, at + 1);
    if (!rest.empty() && rest.front() == '[')
        return rest.substr(1, rest.find(']') - 1);
    return rest.substr(0, rest.find(':'));
}

} // namespace tessaly::netmon
