#include "client/replay/Json.h"

#include "platform/sys/Utf8.h"

namespace tessaly::json {
namespace {

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
            const std::size_t length = utf8SequenceLength(text, i);
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

void write(std::string& out, const HandEventQueue& queue)
{
    out += '[';
    bool first = true;
    for (const HandEvent& event : queue.waiting()) {
        out += first ? "" : ", ";
        first = false;
        writeString(out, handEventText(event));
    }
    out += ']';
}

void write(std::string& out, const HandHistoryRecorder& recorder)
{
    out += '[';
    for (std::size_t i = 0; i < recorder.finished.size(); ++i)
        out += (i == 0 ? "" : ", ") + std::to_string(recorder.finished[i].hand);
    out += ']';
}

} // namespace tessaly::json
