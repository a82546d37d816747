#include "client/lobby/BrowserLauncher.h"

#include <cstdlib>

namespace tessaly {

BrowserLauncher::BrowserLauncher(UrlOpener& desktop, ProcessLauncher& launcher, std::string browserProgram)
    : desktop_(desktop), launcher_(launcher), browserProgram_(std::move(browserProgram))
{
}

std::string BrowserLauncher::browserFromEnvironment()
{
    const char* program = std::getenv("TESSALY_BROWSER");
    return program != nullptr ? program : "";
}

bool BrowserLauncher::open(const std::string& address)
{
    if (!browserProgram_.empty())
        return launcher_.start(browserProgram_, {address});
    return desktop_.openUrl(address);
}

} // namespace tessaly
