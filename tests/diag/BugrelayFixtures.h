#pragma once
// Shared by Bugrelay's tests: a client's folder with a crash's report and
// dump in it, a clock the test sets, and an upload that records each form
// and answers as told.

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/diag/CrashReportFiles.h"
#include "client/diag/bugrelay/WallClock.h"
#include "platform/web/HttpUpload.h"

namespace tessaly::testing {

inline const std::string kSampleReport =
    "Tessaly caused an Access Violation (0xc0000005) \r\nin module /opt/tessaly/Tessaly at 0033:00005555deadbeef.\r\n";
inline const std::string kSampleDump = std::string("MDMP\x93\xa7\0\0", 8) + std::string(4096, '\x2a');

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// A client's folder; crash() leaves a report and a dump beside it.
class ClientFolder {
public:
    std::filesystem::path path() const { return dir_.path().toStdString(); }
    std::string client() const { return (path() / "Tessaly").string(); }
    std::filesystem::path settings() const { return path() / "config" / "Bugrelay.conf"; }
    void crash(const std::string& report = kSampleReport, const std::string& dump = kSampleDump) const
    {
        writeFile(path() / kCrashReportFile, report);
        writeFile(path() / kCrashDumpFile, dump);
    }
    // The kept reports' folders.
    std::vector<std::filesystem::path> kept() const
    {
        std::vector<std::filesystem::path> folders;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(path() / kUnsentReportsFolder, error))
            folders.push_back(entry.path());
        return folders;
    }

private:
    QTemporaryDir dir_;
};

class ManualWallClock final : public WallClock {
public:
    std::int64_t now() const override { return time; }
    std::int64_t time = 1'780'000'000;
};

class RecordingUpload final : public HttpUpload {
public:
    HttpReply post(const HttpPostRequest& request) override
    {
        posted.push_back(request);
        return answer;
    }
    std::vector<HttpPostRequest> posted;
    HttpReply answer{true, 200, "20260601-120000-0badf00d\n", ""};
};

} // namespace tessaly::testing
