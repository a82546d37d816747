#include "client/lobby/PageOpener.h"

namespace tessaly {

PageOpener::PageOpener(ClientConfig config, UrlOpener& desktop, ProcessLauncher& launcher,
                       std::string browserProgram)
    : config_(std::move(config)), desktop_(desktop), launcher_(launcher), browserProgram_(std::move(browserProgram))
{
}

bool PageOpener::openAddress(const std::string& address) const
{
    BrowserLauncher launcher(desktop_, launcher_, browserProgram_);
    return launcher.open(address);
}

} // namespace tessaly
