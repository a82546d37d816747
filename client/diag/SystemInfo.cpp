#include "client/diag/SystemInfo.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <vector>

#include "client/diag/ProcFiles.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// Calls f(line) for each line of text.
template <class F>
void forEachLine(std::string_view text, F&& f)
{
    while (!text.empty()) {
        std::size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        if (!f(line))
            return;
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    }
}

// The value of a "key<tabs>: value" line of /proc/cpuinfo, or nullopt.
std::optional<std::string_view> cpuinfoValue(std::string_view line, std::string_view key)
{
    if (line.substr(0, key.size()) != key)
        return std::nullopt;
    std::string_view rest = line.substr(key.size());
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos || rest.substr(0, colon).find_first_not_of(" \t") != std::string_view::npos)
        return std::nullopt;
    rest.remove_prefix(colon + 1);
    // One blank separates the colon from the value; anything after it is the value's.
    if (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    return rest;
}

double parseDecimal(std::string_view text)
{
    double value = 0;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

bool hasWord(std::string_view words, std::string_view word)
{
    std::size_t at = 0;
    while (at < words.size()) {
        const std::size_t end = std::min(words.find_first_of(" \t", at), words.size());
        if (words.substr(at, end - at) == word)
            return true;
        at = end + 1;
    }
    return false;
}

unsigned hexValue(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X")
        text.remove_prefix(2);
    return static_cast<unsigned>(leadingNumber(text, 16));
}

std::string hex4(unsigned value)
{
    char text[8];
    const auto end = std::to_chars(text, text + sizeof text, value & 0xFFFF, 16).ptr;
    std::string digits(text, end);
    return std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
}

double cpufreqMaxMHz(const fs::path& root)
{
    std::error_code error;
    double best = 0;
    for (const auto& cpu : fs::directory_iterator(root / "sys/devices/system/cpu", error)) {
        const std::string kHz = readTextFile(cpu.path() / "cpufreq/cpuinfo_max_freq");
        best = std::max(best, parseDecimal(kHz) / 1000);
    }
    return best;
}

// The first display adapter: the DRM cards in number order.
std::string firstDisplayAdapter(const fs::path& root)
{
    std::vector<std::pair<unsigned, fs::path>> cards;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root / "sys/class/drm", error)) {
        const std::string name = entry.path().filename().string();
        std::size_t used = 0;
        if (name.rfind("card", 0) != 0)
            continue;
        const auto number = static_cast<unsigned>(leadingNumber(std::string_view(name).substr(4), 10, &used));
        if (used > 0 && used == name.size() - 4)
            cards.emplace_back(number, entry.path());
    }
    std::sort(cards.begin(), cards.end());
    for (const auto& [number, card] : cards) {
        const std::string vendor = readTextFile(card / "device/vendor");
        const std::string device = readTextFile(card / "device/device");
        if (!vendor.empty() && !device.empty()) {
            std::string ids = readTextFile(root / "usr/share/misc/pci.ids");
            if (ids.empty())
                ids = readTextFile(root / "usr/share/hwdata/pci.ids");
            return pciDeviceName(ids, hexValue(vendor), hexValue(device));
        }
        // A display that is not on PCI (a system-on-chip's): its driver's name.
        std::string driver;
        forEachLine(readTextFile(card / "device/uevent"), [&](std::string_view line) {
            if (line.rfind("DRIVER=", 0) == 0)
                driver = std::string(line.substr(7));
            return driver.empty();
        });
        if (!driver.empty())
            return driver;
    }
    return {};
}

std::string fixed2(double value)
{
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, result.ptr);
}

} // namespace

std::string readTextFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

KernelVersion parseKernelRelease(std::string_view release)
{
    KernelVersion version;
    unsigned* parts[] = {&version.major, &version.minor, &version.patch};
    for (unsigned* part : parts) {
        std::size_t used = 0;
        *part = static_cast<unsigned>(leadingNumber(release, 10, &used));
        if (used == 0 || used == release.size() || release[used] != '.') {
            break;
        }
        release.remove_prefix(used + 1);
    }
    return version;
}

std::string osReleasePrettyName(std::string_view osRelease)
{
    std::string name;
    forEachLine(osRelease, [&](std::string_view line) {
        constexpr std::string_view key = "PRETTY_NAME=";
        if (line.substr(0, key.size()) != key)
            return true;
        std::string_view value = line.substr(key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.remove_suffix(1);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
            const char quote = value.front();
            value = value.substr(1, value.size() - 2);
            for (std::size_t i = 0; i < value.size(); ++i) {
                if (quote == '"' && value[i] == '\\' && i + 1 < value.size())
                    ++i;   // a backslash escapes the next character
                name += value[i];
            }
        } else {
            name = std::string(value);
        }
        return false;
    });
    return name;
}

unsigned cpuListCount(std::string_view list)
{
    while (!list.empty() && (list.back() == '\n' || list.back() == ' '))
        list.remove_suffix(1);
    unsigned count = 0;
    while (!list.empty()) {
        const std::size_t comma = std::min(list.find(','), list.size());
        const std::string_view range = list.substr(0, comma);
        std::size_t used = 0;
        const std::uint64_t first = leadingNumber(range, 10, &used);
        if (used == 0)
            return 0;
        std::uint64_t last = first;
        if (used < range.size()) {
            std::size_t usedLast = 0;
            if (range[used] != '-')
                return 0;
            last = leadingNumber(range.substr(used + 1), 10, &usedLast);
            if (usedLast == 0 || used + 1 + usedLast != range.size() || last < first)
                return 0;
        }
        count += static_cast<unsigned>(last - first + 1);
        list.remove_prefix(comma == list.size() ? comma : comma + 1);
    }
    return count;
}

double cpuinfoMaxMHz(std::string_view cpuinfo)
{
    double best = 0;
    forEachLine(cpuinfo, [&](std::string_view line) {
        if (const auto value = cpuinfoValue(line, "cpu MHz"))
            best = std::max(best, parseDecimal(*value));
        return true;
    });
    return best;
}

std::string cpuModelName(std::string_view cpuinfo)
{
    std::string name;
    forEachLine(cpuinfo, [&](std::string_view line) {
        const auto value = cpuinfoValue(line, "model name");
        if (!value)
            return true;
        std::string_view v = *value;
        const std::size_t first = v.find_first_not_of('\t');
        const std::size_t last = v.find_last_not_of('\t');
        if (first != std::string_view::npos)
            name = std::string(v.substr(first, last - first + 1));
        return false;
    });
    return name;
}

std::string cpuFeatureText(std::string_view cpuinfo)
{
    std::string_view flags;
    bool found = false;
    forEachLine(cpuinfo, [&](std::string_view line) {
        if (auto value = cpuinfoValue(line, "flags"); value || (value = cpuinfoValue(line, "Features"))) {
            flags = *value;
            found = true;
        }
        return !found;
    });
    // x86 names its floating-point unit "fpu", ARM "fp".
    std::string text = hasWord(flags, "fpu") || hasWord(flags, "fp") ? "  FPU " : "  No FPU (!) ";
    constexpr std::pair<std::string_view, std::string_view> kFeatures[] = {
        {"3dnow", "3DNow "}, {"mmx", "MMX "}, {"sse", "SSE "}, {"sse2", "SSE2 "}, {"tsc", "RDTSC "}, {"pae", "PAE "},
    };
    for (const auto& [flag, shown] : kFeatures)
        if (hasWord(flags, flag))
            text += shown;
    return text;
}

std::string pciDeviceName(std::string_view pciIds, unsigned vendor, unsigned device)
{
    const std::string vendorKey = hex4(vendor);
    const std::string deviceKey = hex4(device);
    std::string vendorName;
    std::string deviceName;
    bool inVendor = false;
    forEachLine(pciIds, [&](std::string_view line) {
        if (line.empty() || line.front() == '#')
            return true;
        if (line.front() != '\t') {
            if (inVendor)
                return false;   // the vendor's devices have ended
            // "C 03  Display controller" starts the class list after the vendors.
            if (line.substr(0, 2) == "C ")
                return false;
            inVendor = line.substr(0, 4) == vendorKey && line.size() > 6;
            if (inVendor)
                vendorName = std::string(line.substr(6));
            return true;
        }
        if (inVendor && line.size() > 7 && line[1] != '\t' && line.substr(1, 4) == deviceKey) {
            deviceName = std::string(line.substr(7));
            return false;
        }
        return true;
    });
    if (vendorName.empty())
        return "Device " + vendorKey + ":" + deviceKey;
    return vendorName + " " + (deviceName.empty() ? "Device " + deviceKey : deviceName);
}

std::string versionText(const KernelVersion& kernel, std::string_view prettyName)
{
    // The Windows names ("- Windows XP " and the like) never match a Linux kernel.
    return "  " + std::to_string(kernel.major) + "." + std::to_string(kernel.minor) + " " + std::string(prettyName);
}

std::string processorCountText(unsigned count)
{
    return "  " + std::to_string(count);
}

std::string cpuTypeText(double megahertz, std::string_view modelName)
{
    return "  " + fixed2(megahertz / 1000) + " GHz " + std::string(modelName);
}

std::string memoryLoadText(unsigned percent)
{
    return "  " + std::to_string(percent) + "%";
}

std::string memoryAmountText(std::uint64_t freeBytes, std::uint64_t totalBytes)
{
    return "  " + std::to_string(mebibytesDown(freeBytes)) + " MB free out of " + std::to_string(mebibytesDown(totalBytes))
         + " MB";
}

SystemFacts readSystemFacts(const fs::path& root, std::uint64_t mappedBytes)
{
    SystemFacts facts;
    std::string release = readTextFile(root / "proc/sys/kernel/osrelease");
    while (!release.empty() && (release.back() == '\n' || release.back() == ' '))
        release.pop_back();
    facts.kernelRelease = release;
    facts.kernel = parseKernelRelease(release);
    std::string osRelease = readTextFile(root / "etc/os-release");
    if (osRelease.empty())
        osRelease = readTextFile(root / "usr/lib/os-release");
    facts.prettyName = osReleasePrettyName(osRelease);
    facts.processors = cpuListCount(readTextFile(root / "sys/devices/system/cpu/online"));
    const std::string cpuinfo = readTextFile(root / "proc/cpuinfo");
    facts.megahertz = cpufreqMaxMHz(root);
    if (facts.megahertz <= 0)
        facts.megahertz = cpuinfoMaxMHz(cpuinfo);
    facts.modelName = cpuModelName(cpuinfo);
    facts.features = cpuFeatureText(cpuinfo);
    facts.graphics = firstDisplayAdapter(root);
    facts.memory = memoryStatusOf(readTextFile(root / "proc/meminfo"), mappedBytes);
    return facts;
}

SystemInfoTexts systemInfoTexts(const SystemFacts& facts)
{
    SystemInfoTexts texts;
    texts.version = versionText(facts.kernel, facts.prettyName);
    texts.processors = processorCountText(facts.processors);
    texts.cpuType = cpuTypeText(facts.megahertz, facts.modelName);
    texts.features = facts.features;
    texts.memoryLoad = memoryLoadText(facts.memory.loadPercent);
    texts.physical = memoryAmountText(facts.memory.freePhysical, facts.memory.totalPhysical);
    texts.virtualMemory = memoryAmountText(facts.memory.freeVirtual, facts.memory.totalVirtual);
    texts.graphics = facts.graphics.empty() ? std::string() : "  " + facts.graphics;
    return texts;
}

} // namespace tessaly
