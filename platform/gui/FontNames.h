#pragma once
// The typefaces the windows name, mapped to the families installed with the
// suite: "MS Shell Dlg" and "Arial" to Liberation Sans (same metrics),
// "Verdana" to DejaVu Sans (its closest relative), a " Bold" suffix to the
// bold weight of the same family.

#include <string>
#include <string_view>

namespace tessaly {

struct InstalledFace {
    std::string family;
    bool bold = false;   // the face name itself asked for bold ("Verdana Bold")
};

InstalledFace installedFace(std::string_view face);

} // namespace tessaly
