#pragma once
// Opens a page of the room's web sites in the user's browser: the desktop's
// URL opener, or, when TESSALY_BROWSER names a program, that program with
// the page address as its one argument (tests and kiosk set-ups use it).
// A failure shows nothing.

#include <string>

#include "platform/sys/Process.h"

namespace tessaly {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool openUrl(const std::string& address) = 0;
};

class BrowserLauncher {
public:
    // browserProgram: empty for the desktop's opener.
    BrowserLauncher(UrlOpener& desktop, ProcessLauncher& launcher, std::string browserProgram);

    // TESSALY_BROWSER, or empty.
    static std::string browserFromEnvironment();

    bool open(const std::string& address);

private:
    UrlOpener& desktop_;
    ProcessLauncher& launcher_;
    std::string browserProgram_;
};

} // namespace tessaly
