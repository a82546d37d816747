#include "server/web/WebServer.h"

#include <httplib.h>

#include "server/web/CrashReportInbox.h"
#include "server/web/PackageSigner.h"

#include <cstring>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tessaly::house {
namespace {

constexpr const char* kSignatureSuffix = ".minisig";

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool safeName(const std::string& name)
{
    if (name.empty() || name.size() > 64)
        return false;
    for (char c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            return false;
    }
    return true;
}

} // namespace

std::string webFileFor(const std::string& root, const std::string& path, const std::string& pageParameter)
{
    namespace fs = std::filesystem;
    if (path.empty() || path[0] != '/')
        return {};
    std::string relative = path.substr(1);
    if (relative.empty())
        relative = "index.html";
    if (relative == "index.php") {
        relative = "index.html";
        if (safeName(pageParameter) && fs::is_regular_file(fs::path(root) / (pageParameter + ".php")))
            relative = pageParameter + ".php";
    }
    // Every part must be a plain name: no "..", no empty parts, no hidden files.
    std::size_t start = 0;
    while (start <= relative.size()) {
        const std::size_t slash = relative.find('/', start);
        const std::string part = relative.substr(start, slash - start);
        if (part.empty() || part[0] == '.' || part.find('\\') != std::string::npos)
            return {};
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    const fs::path file = fs::path(root) / relative;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        return {};
    return file.string();
}

const char* webContentType(const std::string& file)
{
    if (endsWith(file, ".html") || endsWith(file, ".php"))
        return "text/html; charset=utf-8";
    if (endsWith(file, ".zip"))
        return "application/zip";
    if (endsWith(file, ".png"))
        return "image/png";
    if (endsWith(file, ".jpg"))
        return "image/jpeg";
    return "text/plain; charset=utf-8";
}

WebServer::WebServer(std::string root, std::function<std::string()> status)
    : root_(std::move(root)), status_(std::move(status)), server_(std::make_unique<httplib::Server>())
{
    const auto serve = [this](const httplib::Request& req, httplib::Response& res) {
        if (req.path == "/serverstatus.php") {
            res.set_content(status_(), "text/html; charset=utf-8");
            return;
        }
        const std::string file = webFileFor(root_, req.path, req.get_param_value("page"));
        if (file.empty() && signer_ != nullptr && endsWith(req.path, kSignatureSuffix)) {
            const std::string package = req.path.substr(0, req.path.size() - std::strlen(kSignatureSuffix));
            if (const std::optional<std::string> signature = signer_->signatureFor(root_, package)) {
                res.set_content(*signature, "text/plain; charset=utf-8");
                return;
            }
        }
        if (file.empty()) {
            res.status = 404;
            res.set_content("Not found\n", "text/plain");
            return;
        }
        std::ifstream in(file, std::ios::binary);
        std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        res.set_content(std::move(body), webContentType(file));
    };
    server_->Get(".*", serve);
}

WebServer::~WebServer()
{
    stop();
}

void WebServer::acceptCrashReports(const std::string& folder)
{
    crashReports_ = std::make_unique<CrashReportInbox>(folder);
    addCrashReportRoute(*server_, *crashReports_);
}

int WebServer::start(const std::string& address, int port)
{
    const int bound = port == 0 ? server_->bind_to_any_port(address) : (server_->bind_to_port(address, port) ? port : -1);
    if (bound < 0)
        throw std::runtime_error("cannot listen on " + address + " port " + std::to_string(port) + " for the web");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    return bound;
}

void WebServer::stop()
{
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

} // namespace tessaly::house
