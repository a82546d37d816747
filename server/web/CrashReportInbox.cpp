#include "server/web/CrashReportInbox.h"

#include "server/net/EscapedText.h"

#include <httplib.h>

#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>

namespace tessaly::house {
namespace {

namespace fs = std::filesystem;

bool safePartName(const std::string& name)
{
    if (name.empty() || name.size() > 64)
        return false;
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
            return false;
    return true;
}

bool writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
}

void answer(httplib::Response& res, int status, const std::string& text)
{
    res.status = status;
    res.set_content(text, "text/plain; charset=utf-8");
}

} // namespace

std::string crashFieldLine(const std::string& name, const std::string& value)
{
    return name + "=" + escapedText(value, true) + "\n";
}

std::string crashPartsProblem(const std::vector<FormPart>& parts)
{
    std::set<std::string> files;
    for (const FormPart& part : parts) {
        if (!safePartName(part.name))
            return "bad part name";
        if (!part.fileName.empty() && !files.insert(part.name).second)
            return "file part " + part.name + " given twice";
    }
    return {};
}

CrashReportInbox::CrashReportInbox(std::string folder) : folder_(std::move(folder)), random_(std::random_device{}())
{
}

std::string CrashReportInbox::newId()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    std::lock_guard lock(mutex_);
    char tail[16];
    std::snprintf(tail, sizeof tail, "-%08x", static_cast<unsigned>(random_() & 0xffffffffu));
    return std::string(stamp) + tail;
}

std::optional<std::string> CrashReportInbox::store(const std::vector<FormPart>& parts, std::string* error)
{
    std::error_code ec;
    fs::create_directories(folder_, ec);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string id = newId();
        const fs::path incoming = fs::path(folder_) / ("." + id);
        const fs::path done = fs::path(folder_) / id;
        if (fs::exists(done, ec) || !fs::create_directory(incoming, ec))
            continue;
        std::string fields;
        bool written = true;
        for (const FormPart& part : parts) {
            if (part.fileName.empty())
                fields += crashFieldLine(part.name, part.content);
            else
                written = written && writeFile(incoming / part.name, part.content);
        }
        written = written && writeFile(incoming / "fields.txt", fields);
        if (written) {
            fs::rename(incoming, done, ec);
            if (!ec)
                return id;
        }
        fs::remove_all(incoming, ec);
        break;
    }
    if (error)
        *error = "cannot store the report in " + folder_;
    return std::nullopt;
}

void addCrashReportRoute(httplib::Server& server, CrashReportInbox& inbox, std::size_t maxBytes)
{
    server.Post("/crash-report", [&inbox, maxBytes](const httplib::Request& req, httplib::Response& res,
                                                    const httplib::ContentReader& reader) {
        const std::string announced = req.get_header_value("Content-Length");
        std::size_t length = 0;
        const auto [end, parsed] = std::from_chars(announced.data(), announced.data() + announced.size(), length);
        if (parsed == std::errc::result_out_of_range || (parsed == std::errc() && length > maxBytes))
            return answer(res, 413, "The report is too large.\n");
        if (!req.is_multipart_form_data())
            return answer(res, 400, "A crash report is a multipart form.\n");

        std::vector<FormPart> parts;
        std::size_t received = 0;
        bool tooLarge = false;
        bool tooMany = false;
        const bool read = reader(
            [&](const httplib::MultipartFormData& header) {
                tooMany = parts.size() == kCrashReportMaxParts;
                parts.push_back({header.name, header.filename, {}});
                return !tooMany;
            },
            [&](const char* data, std::size_t size) {
                received += size;
                tooLarge = received > maxBytes;
                if (!tooLarge)
                    parts.back().content.append(data, size);
                return !tooLarge;
            });
        if (tooLarge)
            return answer(res, 413, "The report is too large.\n");
        if (tooMany)
            return answer(res, 400, "Too many parts.\n");
        if (!read || parts.empty())
            return answer(res, 400, "The form could not be read.\n");
        if (const std::string problem = crashPartsProblem(parts); !problem.empty())
            return answer(res, 400, "Bad request: " + problem + ".\n");
        std::string error;
        const std::optional<std::string> id = inbox.store(parts, &error);
        if (!id)
            return answer(res, 500, error + "\n");
        answer(res, 200, *id + "\n");
    });
}

} // namespace tessaly::house
