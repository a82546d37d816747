#include "updater/EntryRules.h"

#include <sys/stat.h>

#include <array>

namespace tessaly::updater {
namespace {

constexpr std::uint32_t kMadeOnUnix = 3;

bool isDriveLetter(std::string_view component)
{
    return component.size() >= 2 && component[1] == ':' &&
           ((component[0] >= 'A' && component[0] <= 'Z') || (component[0] >= 'a' && component[0] <= 'z'));
}

std::optional<unsigned> unixMode(const EntryAttributes& attributes)
{
    if ((attributes.versionMadeBy >> 8) != kMadeOnUnix)
        return std::nullopt;
    const unsigned mode = attributes.externalAttributes >> 16;
    return mode == 0 ? std::nullopt : std::optional<unsigned>(mode);
}

} // namespace

std::optional<std::string> safeEntryPath(std::string_view name)
{
    if (name.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string slashed(name);
    for (char& c : slashed)
        if (c == '\\')
            c = '/';
    if (slashed.starts_with('/'))
        return std::nullopt;
    std::string path;
    std::string_view rest(slashed);
    bool first = true;
    while (!rest.empty()) {
        const std::size_t end = rest.find('/');
        const std::string_view component = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (component == "..")
            return std::nullopt;
        if (first && isDriveLetter(component))
            return std::nullopt;
        first = false;
        if (component.empty() || component == ".")
            continue;
        if (!path.empty())
            path += '/';
        path += component;
    }
    if (path.empty())
        return std::nullopt;
    return path;
}

bool isFolderEntry(std::string_view name)
{
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

bool isSymbolicLink(const EntryAttributes& attributes)
{
    const std::optional<unsigned> mode = unixMode(attributes);
    return mode && (*mode & S_IFMT) == S_IFLNK;
}

std::optional<unsigned> recordedPermissions(const EntryAttributes& attributes)
{
    const std::optional<unsigned> mode = unixMode(attributes);
    if (!mode || (*mode & 0777) == 0)
        return std::nullopt;
    return *mode & 0777;
}

bool isSuiteProgram(std::string_view path)
{
    constexpr std::array<std::string_view, 4> programs{"Tessaly", "Loomrise", "Linkscope", "Bugrelay"};
    for (const std::string_view program : programs)
        if (path == program)
            return true;
    return false;
}

unsigned fileModeFor(std::string_view path, std::optional<unsigned> recorded, std::optional<unsigned> replaced)
{
    unsigned mode = recorded ? *recorded : replaced ? (*replaced & 0777) : 0644u;
    if (isSuiteProgram(path))
        mode |= (mode & 0444) >> 2;   // r -> x for owner, group and others
    return mode;
}

std::optional<std::time_t> entryTimeToUnix(const EntryTime& time)
{
    if (time.month < 0 || time.month > 11 || time.day < 1 || time.day > 31 || time.hour < 0 || time.hour > 23 ||
        time.minute < 0 || time.minute > 59 || time.second < 0 || time.second > 61)
        return std::nullopt;
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;   // the archive does not say; the local rules do
    const std::time_t result = std::mktime(&local);
    if (result == static_cast<std::time_t>(-1))
        return std::nullopt;
    return result;
}

} // namespace tessaly::updater
