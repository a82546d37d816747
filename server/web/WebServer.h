#pragma once
// The web port: HTTP/1.1 on its own threads, serving the web root, the
// live server status page and, once asked to, the crash report inbox.

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace tessaly::house {

class CrashReportInbox;
class PackageSigner;

class WebServer {
public:
    // status: the text of "/serverstatus.php", called on the web threads.
    WebServer(std::string root, std::function<std::string()> status);
    ~WebServer();

    // Takes crash reports at "/crash-report" into the folder (CrashReportInbox).
    void acceptCrashReports(const std::string& folder);

    // Answers "<file>.minisig" with the signer's signature of the file, for
    // every file that has no signature file of its own beside it.
    void signFiles(const PackageSigner& signer) { signer_ = &signer; }

    // Binds (port 0: a free one) and serves on a thread; returns the port.
    int start(const std::string& address, int port);
    void stop();

private:
    std::string root_;
    std::function<std::string()> status_;
    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<CrashReportInbox> crashReports_;
    const PackageSigner* signer_ = nullptr;
    std::thread thread_;
};

// The file below root that a request path names, or empty when the path
// leaves the root or names no file. "/" is "index.html"; "/index.php" with
// "page=NAME" is "NAME.php" when that exists.
std::string webFileFor(const std::string& root, const std::string& path, const std::string& pageParameter);

// The content type by file name.
const char* webContentType(const std::string& file);

} // namespace tessaly::house
