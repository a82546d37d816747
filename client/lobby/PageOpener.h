#pragma once
// Opens a page of the room's web sites: its address from the configuration,
// a fresh BrowserLauncher for every page, as every page command builds one.

#include <string>

#include "client/lobby/BrowserLauncher.h"
#include "client/lobby/WebPages.h"
#include "client/net/ClientConfig.h"
#include "client/table/TablePages.h"

namespace tessaly {

class PageOpener final : public TablePages {
public:
    // browserProgram: TESSALY_BROWSER's program, or empty for the desktop's opener.
    PageOpener(ClientConfig config, UrlOpener& desktop, ProcessLauncher& launcher, std::string browserProgram);

    bool open(const WebPage& page) const { return openAddress(address(page)); }
    bool openAddress(const std::string& address) const;
    std::string address(const WebPage& page) const { return pageAddress(config_, page); }
    void openTellAFriend() const override { open(pages::TellAFriend); }

private:
    ClientConfig config_;
    UrlOpener& desktop_;
    ProcessLauncher& launcher_;
    std::string browserProgram_;
};

} // namespace tessaly
