#pragma once
// The desktop's URL opener (xdg-open and its kin) through Qt Gui.

#include "client/lobby/BrowserLauncher.h"

namespace tessaly {

class DesktopUrlOpener final : public UrlOpener {
public:
    bool openUrl(const std::string& address) override;
};

} // namespace tessaly
