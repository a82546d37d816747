#pragma once
// The house server's web part on a free loopback port, taking crash
// reports into a folder, for the crash sender's tests.

#include <filesystem>
#include <string>
#include <vector>

#include "server/web/WebServer.h"

namespace tessaly::testing {

class HouseInbox {
public:
    explicit HouseInbox(const std::filesystem::path& folder)
        : inbox_(folder / "crash-reports"), web_((folder / "www").string(), [] { return std::string(); })
    {
        web_.acceptCrashReports(inbox_.string());
        url_ = "http://127.0.0.1:" + std::to_string(web_.start("127.0.0.1", 0));
    }

    const std::string& url() const { return url_; }
    // The stored reports' folders.
    std::vector<std::filesystem::path> stored() const
    {
        std::vector<std::filesystem::path> reports;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(inbox_, error))
            reports.push_back(entry.path());
        return reports;
    }

private:
    std::filesystem::path inbox_;
    house::WebServer web_;
    std::string url_;
};

} // namespace tessaly::testing
