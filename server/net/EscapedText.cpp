#include "server/net/EscapedText.h"

namespace tessaly::house {

std::string escapedText(std::string_view text, bool backslashToo)
{
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\' && backslashToo)
            out += "\\\\";
        else if (c < 32 || c == 127) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else
            out += ch;
    }
    return out;
}

} // namespace tessaly::house
