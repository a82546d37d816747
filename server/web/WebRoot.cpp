#include "server/web/WebRoot.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <zip.h>

namespace tessaly::house {
namespace {

std::string page(const std::string& title, const std::string& body)
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
           " - Tessaly</title>\n<style>body{font-family:Verdana,sans-serif;background:#0b3d2e;color:#f4f1e8;"
           "max-width:44em;margin:3em auto;line-height:1.5}a{color:#ffd75e}h1{color:#ffd75e}</style></head>\n"
           "<body><h1>" +
           title + "</h1>\n" + body + "\n<p><a href=\"/\">Tessaly home</a></p></body></html>\n";
}

} // namespace

std::string zipArchive(const std::vector<WebFile>& entries)
{
    char name[] = "/tmp/tessaly-house-zip-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return {};
    ::close(fd);
    zipFile zip = zipOpen(name, APPEND_STATUS_CREATE);
    std::string out;
    if (zip) {
        for (const WebFile& e : entries) {
            zip_fileinfo info{};
            // 1 January 2024, noon: a fixed time keeps the packages identical.
            info.tmz_date = {0, 0, 12, 1, 0, 2024};
            zipOpenNewFileInZip(zip, e.path.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                e.path.back() == '/' ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION);
            if (!e.content.empty())
                zipWriteInFileInZip(zip, e.content.data(), static_cast<unsigned>(e.content.size()));
            zipCloseFileInZip(zip);
        }
        zipClose(zip, nullptr);
        std::ifstream in(name, std::ios::binary);
        out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::remove(name);
    return out;
}

std::vector<WebFile> defaultWebFiles()
{
    const std::string version = "6.7\r";
    return {
        {"upgrades/version.txt", version},
        {"upgrades/upgrade.txt", version},
        {"upgrades/Upgrade.zip",
         zipArchive({{"upgrade/", ""},
                     {"upgrade/full.txt", "Tessaly full upgrade package from the house server.\r\n"}})},
        {"upgrades/Incremental.zip",
         zipArchive({{"upgrade/incremental.txt", "Tessaly incremental upgrade package from the house server.\r\n"}})},
        {"index.html", page("Welcome to Tessaly",
                            "<p>Welcome to Tessaly, the play-money poker room. Good luck at the tables!</p>\n"
                            "<p>This is the house server's own web site: it serves the client's version files, "
                            "its upgrade packages and these pages.</p>")},
        {"contact_us.php", page("Contact us", "<p>Write to the house at support@tessaly.invalid. "
                                              "We answer every message within a day.</p>")},
        {"contactus.php", page("Help", "<p>Need help? Read the table rules in the client, or write to "
                                       "support@tessaly.invalid.</p>")},
        {"tellafriend.php", page("Tell a friend", "<p>Invite your friends to the tables: the play money is free "
                                                  "and so is the fun.</p>")},
        {"aboutus.php", page("About us", "<p>Tessaly is a play-money poker room for friends of Texas hold'em.</p>")},
        {"security.php", page("Security", "<p>Passwords are stored only as salted, slow hashes. "
                                          "No real money is ever at stake.</p>")},
        {"stickers.php", page("Banners", "<p>Show your support by displaying one of our banners on your site.</p>")},
        {"comingsoon.php", page("Coming soon", "<p>Sit &amp; Go and multi-table tournaments are coming soon.</p>")},
    };
}

bool prepareWebRoot(const std::string& root, std::string* error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    for (const WebFile& f : defaultWebFiles()) {
        const fs::path target = fs::path(root) / f.path;
        if (fs::exists(target, ec))
            continue;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary);
        out.write(f.content.data(), static_cast<std::streamsize>(f.content.size()));
        if (!out || f.content.empty()) {
            if (error)
                *error = "cannot write " + target.string();
            return false;
        }
    }
    return true;
}

} // namespace tessaly::house
