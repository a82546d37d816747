#include "client/net/RefusedUpdate.h"

#include <charconv>
#include <vector>

namespace tessaly {

std::string versionNumberText(double number)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, number);
    return std::string(text, result.ptr);
}

std::string refusedUpdateMarker(const AnnouncedVersions& versions)
{
    return versionNumberText(versions.version) + " " + versionNumberText(versions.upgrade) + "\n";
}

std::optional<AnnouncedVersions> announcedVersionsFrom(std::string_view commandLine)
{
    std::vector<double> numbers;
    while (!commandLine.empty()) {
        const std::size_t blank = commandLine.find(' ');
        const std::string_view word = commandLine.substr(0, blank);
        double number = 0.0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
        if (!word.empty() && error == std::errc() && end == word.data() + word.size())
            numbers.push_back(number);
        if (blank == std::string_view::npos)
            break;
        commandLine.remove_prefix(blank + 1);
    }
    if (numbers.size() != 2)
        return std::nullopt;
    return AnnouncedVersions{numbers[0], numbers[1]};
}

} // namespace tessaly
