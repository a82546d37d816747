#include "platform/gui/FontNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tessaly {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kFamilies{{
    {"MS Shell Dlg", "Liberation Sans"},
    {"MS Shell Dlg 2", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Microsoft Sans Serif", "Liberation Sans"},
    {"Arial", "Liberation Sans"},
    {"Tahoma", "DejaVu Sans"},
    {"Verdana", "DejaVu Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"System", "Liberation Sans"},
}};

} // namespace

InstalledFace installedFace(std::string_view face)
{
    InstalledFace result;
    constexpr std::string_view kBold = " Bold";
    if (face.size() > kBold.size() && sameName(face.substr(face.size() - kBold.size()), kBold)) {
        result.bold = true;
        face.remove_suffix(kBold.size());
    }
    for (const auto& [windows, installed] : kFamilies) {
        if (sameName(face, windows)) {
            result.family = installed;
            return result;
        }
    }
    // Anything else is left to fontconfig's own substitution.
    result.family = face.empty() ? std::string("Liberation Sans") : std::string(face);
    return result;
}

} // namespace tessaly
