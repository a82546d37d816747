#include "client/lobby/SettingsFile.h"

#include <fstream>
#include <iomanip>

namespace tessaly {
namespace {

constexpr const char* kShow = "show";
constexpr const char* kHide = "hide";

} // namespace

SettingsFile::SettingsFile(const std::filesystem::path& programDirectory)
    : path_(programDirectory / kSettingsFileName)
{
}

bool SettingsFile::writeWord(const char* word) const
{
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out << word;
    out.close();
    return !out.fail();
}

std::optional<std::string> SettingsFile::firstWord(const char* missing) const
{
    std::ifstream in(path_, std::ios::binary);
    if (!in.is_open()) {
        if (!writeWord(missing))
            return std::nullopt;
        in.open(path_, std::ios::binary);
        if (!in.is_open())
            return std::nullopt;
    }
    std::string word;
    in >> std::setw(128) >> word;
    return word;
}

bool SettingsFile::readAtStartup(bool current) const
{
    const std::optional<std::string> word = firstWord(kShow);
    if (!word)
        return current;
    if (*word == kShow)
        return true;
    writeWord(kHide);
    return false;
}

bool SettingsFile::toggleSmileys(bool current) const
{
    const std::optional<std::string> word = firstWord(kHide);
    if (!word)
        return current;
    const bool on = *word != kShow;
    if (!writeWord(on ? kShow : kHide))
        return current;
    return on;
}

} // namespace tessaly
