#pragma once
// The desktop's URL opener for tests: keeps every address it is asked to
// open and says it opened it.

#include <string>
#include <vector>

#include "client/lobby/BrowserLauncher.h"

namespace tessaly {

class RecordingUrlOpener final : public UrlOpener {
public:
    bool openUrl(const std::string& address) override
    {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

} // namespace tessaly
