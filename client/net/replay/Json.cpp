#include "client/net/replay/Json.h"

namespace tessaly::json {
namespace {

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t utf8Sequence(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    std::uint32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void writeEscape(std::string& out, unsigned char c)
{
    static const char hex[] = "0123456789abcdef";
    out += "\\u00";
    out += hex[c >> 4];
    out += hex[c & 15];
}

} // namespace

void writeString(std::string& out, std::string_view text)
{
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8Sequence(text, i);
            if (length == 0) {
                writeEscape(out, c);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20)
                writeEscape(out, c);
            else
                out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
}

void write(std::string& out, const PlayerListEntry& entry)
{
    out += "{\"number\": ";
    write(out, entry.number);
    out += ", \"name\": ";
    write(out, entry.name);
    out += ", \"amount\": ";
    write(out, entry.amount);
    out += '}';
}

void write(std::string& out, const ChatLine& line)
{
    out += "{\"sender\": ";
    write(out, line.sender);
    out += ", \"text\": ";
    write(out, line.text);
    out += '}';
}

} // namespace tessaly::json
