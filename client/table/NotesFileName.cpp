#include "client/table/NotesFileName.h"

#include "platform/sys/Utf8.h"

namespace tessaly {
namespace {

constexpr std::size_t kMaxFileName = 255;
constexpr std::size_t kFolderBytes = 200;
constexpr std::string_view kExtension = ".txt";

void appendEscape(std::string& out, unsigned char byte)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

bool needsEscape(unsigned char byte)
{
    constexpr std::string_view kForbidden = "/\\%<>:\"|?*";
    return byte < 0x20 || byte == 0x7F || kForbidden.find(static_cast<char>(byte)) != std::string_view::npos;
}

std::string escapedName(std::string_view name)
{
    if (name.empty())
        return "%";
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x80) {
            const std::size_t length = utf8SequenceLength(name, i);
            if (length == 0) {
                appendEscape(out, byte);
                ++i;
            } else {
                out.append(name.substr(i, length));
                i += length;
            }
            continue;
        }
        const bool dot = byte == '.' && (i == 0 || name[i - 1] == '.');
        if (dot || needsEscape(byte))
            appendEscape(out, byte);
        else
            out += static_cast<char>(byte);
        ++i;
    }
    return out;
}

// Where a folder may end: not inside an escape nor inside a UTF-8 sequence.
std::size_t folderCut(std::string_view escaped)
{
    std::size_t cut = kFolderBytes;
    while (cut > 0 && ((static_cast<unsigned char>(escaped[cut]) & 0xC0) == 0x80 || escaped[cut - 1] == '%' ||
                       (cut > 1 && escaped[cut - 2] == '%')))
        --cut;
    return cut;
}

} // namespace

std::string notesPath(std::string_view name)
{
    std::string path = std::string(kNotesDirectory) + '/';
    std::string rest = escapedName(name);
    while (rest.size() + kExtension.size() > kMaxFileName) {
        const std::size_t cut = folderCut(rest);
        path.append(rest, 0, cut).append("%/");
        rest.erase(0, cut);
        // No part starts with a dot, as if it began the name.
        if (rest.starts_with('.'))
            rest.replace(0, 1, "%2E");
    }
    path.append(rest).append(kExtension);
    return path;
}

} // namespace tessaly
